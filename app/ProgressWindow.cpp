// The central object's reach to its progress window, for the long operations outside app/.
#include <climits>

#include "IgnoreFailure.h"
#include "app/Progress.h"
#include "app/Qelunit.h"

void BQELunit::ShowProgressWindow(int secondMax)
{
  if (!Progress)
    return;
  AnsiString caption, buttonText;
  Progress->WindowCaption = GetUiText(78, caption);
  Progress->ButtonText = GetUiText(105, buttonText);
  Progress->SetProgress(0, 0, secondMax, 0, true);
  Progress->Show(true);
}

void BQELunit::HideProgressWindow() noexcept
{
  if (Progress)
    IgnoreFailure([&] { Progress->Show(false); });
}

void BQELunit::ShowProgressStep(const AnsiString& text, int steps, int step)
{
  if (!Progress)
    return;
  Progress->SetSecondProgress(steps, step);
  Progress->SetText(text);
}

void BQELunit::ShowProgressPosition(int64_t max, int64_t position)
{
  if (!Progress)
    return;
  // The gauge counts in int: a longer operation is shown to scale.
  const int64_t scale = max / INT_MAX + 1;
  Progress->SetMainProgress(static_cast<int>(max / scale), static_cast<int>(position / scale));
}
