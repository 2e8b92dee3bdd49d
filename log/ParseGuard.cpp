// Work that must not run inside a parse: the progress window lets messages through while the
// records are being made, so handlers that change the log model wait for the parse to end.
#include "Application.h"
#include "app/Qelunit.h"

void BQELunit::WhenParseEnds(std::function<void()> work)
{
  if (!ParseRunning) {
    work();
    return;
  }
  // Deferred work runs only from the main loop, never from a pump, so never inside a parse.
  Application->Defer([alive = std::weak_ptr<int>(LifeToken), work = std::move(work)] {
    if (!alive.expired())
      work();
  });
}
