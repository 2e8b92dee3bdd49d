// The start: the constructor's last steps, and the timer that opens the program's own command
// line once the window has had a second to come up.
#include "CodePage.h"
#include "CommandLine.h"
#include "FlagScope.h"
#include "IgnoreFailure.h"
#include "Timer.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "log/ReadingSpeed.h"

namespace {

constexpr int StartTimerInterval = 100;  // ms
// The tick after this many opens the command line's log, about 1.1 s after the start.
constexpr int StartTicksBeforeOpening = 10;

}  // namespace

void BQELunit::StartUp()
{
  if (Owner)
    RegisterFileType();
  ReadyFlag = 1;

  // A Russian system always starts in Russian, whatever the settings hold.
  if (GetOEMCP() == 866 && GetACP() == 1251)
    Language = 0;
  // The frame timing is edited in Hz from the first filling of the Options page on: filled in
  // ms, the page's first read-back would take the frame period for the speed.
  SpeedInHz = 1;
  ApplyLanguage();

  TickCount = 0;
  if (Owner) {
    StartTimer = new TTimer(Owner);
    StartTimer->SetInterval(StartTimerInterval);
    StartTimer->OnTimer = Bind(&BQELunit::StartTimerTimer);
    StartTimer->SetEnabled(true);
  }

  ReadingSpeed = ClampReadingSpeed(ReadingSpeed);
  IgnoreFailure([&] { ShowReadingSpeed(ReadingSpeed); });
}

void BQELunit::StopStartTimer()
{
  if (StartTimer)
    StartTimer->SetEnabled(false);
  delete StartTimer;
  StartTimer = nullptr;
}

void BQELunit::StartTimerTimer(TObject*)
{
  // A log opened by hand in the first second may still be parsing under the progress window,
  // which lets this tick run: the command line waits for a tick after that parse.
  if (ParseRunning)
    return;
  const FlagScope busy(BusyFlag);

  ++TickCount;
  if (TickCount > StartTicksBeforeOpening) {
    if (StartTimer)
      StartTimer->SetEnabled(false);
    SplitCommandLine(GetCommandLineArguments());
  }
}
