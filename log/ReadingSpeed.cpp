// The time base's reading speed: typed into either speed edit, or detected for each log from
// the recorder's own logs beside it.
#include "log/ReadingSpeed.h"

#include "Edit.h"
#include "Exceptions.h"
#include "Numbers.h"
#include "PageControl.h"
#include "app/Qelunit.h"
#include "log/RecorderLog.h"

namespace {

// The typed speed within bounds; a text that is no number counts as 0, so it becomes the lowest.
int32_t TypedSpeed(const TEdit& edit)
{
  int32_t hz = 0;
  try {
    hz = StrToInt(edit.Text());
  } catch (const EConvertError&) {
  }
  return ClampReadingSpeed(hz);
}

void ShowNumber(TEdit* edit, int32_t value)
{
  if (edit)
    edit->SetText(IntToStr(value));
}

}  // namespace

int BQELunit::ParseIntAfterLabel(const AnsiString& line, const AnsiString& label)
{
  // The two characters after the label and one separator, counted from the start of the line.
  const size_t at = label.size() + 1;
  try {
    return StrToInt(at < line.size() ? line.substr(at, 2) : AnsiString());
  } catch (const EConvertError&) {
    return -1;
  }
}

void BQELunit::TakeReadingSpeed(int32_t hz, const TEdit* readFrom)
{
  ReadingSpeed = ClampReadingSpeed(hz);
  FramePeriod = FramePeriodOf(ReadingSpeed);
  ShowReadingSpeed(ReadingSpeed, readFrom);
}

void BQELunit::ShowReadingSpeed(int32_t hz, const TEdit* readFrom)
{
  for (TEdit* edit : {SpeedEdit, FramePeriodEdit})
    if (edit != readFrom)
      ShowNumber(edit, hz);
}

void BQELunit::DetectExchangeSpeed()
{
  const int detected = FindRecorderLogSpeed(LogFileName);
  TakeReadingSpeed(detected > 0 ? detected : ReadingSpeed);
  // A detected speed is the log's own: typing another would be undone by the next parse.
  if (SpeedEdit)
    SpeedEdit->SetEnabled(detected <= 0);
}

void BQELunit::ReadingSpeedEditExit(TObject* Sender)
{
  if (!SpeedEdit)
    return;
  // The speed times the parse that runs; a new one is taken once it has ended.
  if (ParseRunning) {
    WhenParseEnds([this, Sender] { ReadingSpeedEditExit(Sender); });
    return;
  }
  const int32_t hz = TypedSpeed(*SpeedEdit);
  if (hz != ReadingSpeed)
    ReparseNeeded = 1;
  TakeReadingSpeed(hz);

  // On the chart the new speed shows at once; elsewhere the page change acts on the flags.
  if (!PageControl || !ChartPage || PageControl->ActivePage() != ChartPage)
    return;
  ShowEditsOnChart();
}

void BQELunit::FramePeriodEditExit(TObject*)
{
  // Only the two edits agree at once; the options read-back stores the speed.
  if (!FramePeriodEdit)
    return;
  ShowReadingSpeed(TypedSpeed(*FramePeriodEdit));
}
