// The options of the Common page: their defaults, and the page as a view of the fields.
#include "chart/Options.h"

#include <algorithm>

#include "CheckBox.h"
#include "Edit.h"
#include "Exceptions.h"
#include "Numbers.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "log/ReadingSpeed.h"

namespace {

int32_t ClampOffset(int32_t offset)
{
  return std::clamp(offset, -MaxValueWindowOffset, MaxValueWindowOffset);
}

int32_t CorrectTextLinePeriod(int32_t ms)
{
  return ms < 1 ? DefaultTextLinePeriod : std::min(ms, MaxTextLinePeriod);
}

int32_t CorrectZoomSeconds(int key, int32_t seconds)
{
  return seconds < 1 ? DefaultZoomSeconds[key] : seconds;
}

void ShowNumber(TEdit* edit, int32_t value)
{
  edit->SetText(IntToStr(value));
}

// The edit's integer; a text that is none shows `current` again and gives false.
bool ReadNumber(TEdit* edit, int32_t current, int32_t& out)
{
  try {
    out = StrToInt(edit->Text());
    return true;
  } catch (const EConvertError&) {
    ShowNumber(edit, current);
    return false;
  }
}

Byte ReadCheck(const TCheckBox* check)
{
  return check->Checked() ? 1 : 0;
}

}  // namespace

void BQELunit::SetDefaultOptions()
{
  TextLinePeriod = DefaultTextLinePeriod;
  FramePeriod = DefaultFramePeriod;
  ReadingSpeed = DefaultReadingSpeed;
  std::copy(std::begin(DefaultZoomSeconds), std::end(DefaultZoomSeconds), ZoomSeconds);
  ValueWindowOffset = {DefaultValueWindowX, DefaultValueWindowY};
  EnableYZoom = 0;
  ShowProgress = 1;
  OldErrorAlgorithm = 0;
  MultiLineStatuses = 1;
  ParamChartStyle = 1;
  StatusChartStyle = 1;

  Language = 1;
  SpeedInHz = 1;
  HideUnusedChannels = 1;
  AbsentStatusColor = 0x008080;
  LegendHeightPercent = 30;
  LeftColumnWidth = 300;
  ChartMaskIndex = 0;
  EditorMaskIndex = 0;
  EcuFamily = 0;
  LogFileName.clear();
  AbortFlag = 0;
  RecentOnePerFolder = 1;
  SiblingIndex = 0;
  EditorRowsValid = 0;
  ReparseNeeded = 0;
  StatusesChanged = 0;
  MasksChanged = 0;

  // The chart state, as before any log.
  ResetChartView();
  ValueMin = ValueMax = 0.0;
  TimeSpan = 0;
  LegendRow = -1;
  PanelRowSpacing = 10;
  PanelInset = 10;
  PanelBoxWidth = 30;
  PanelValueWidth = 0;
  TextHeight = 10;
  CursorCaretPos = -1;
}

void BQELunit::CorrectOptions()
{
  TextLinePeriod = CorrectTextLinePeriod(TextLinePeriod);
  if (FramePeriod < 1)
    FramePeriod = DefaultFramePeriod;
  ReadingSpeed = ClampReadingSpeed(ReadingSpeed);
  for (int i = 0; i < 4; ++i)
    ZoomSeconds[i] = CorrectZoomSeconds(i, ZoomSeconds[i]);
  ValueWindowOffset = {ClampOffset(ValueWindowOffset.x), ClampOffset(ValueWindowOffset.y)};
}

void BQELunit::ShowOptionsAndMaskRows()
{
  // The settings reader corrected the fields already; this also covers fields set otherwise.
  CorrectOptions();

  if (CommonBox) {
    ShowNumber(TextLinePeriodEdit, TextLinePeriod);
    // In ms the edit shows the frame period, which is no speed.
    if (SpeedInHz)
      ShowReadingSpeed(ReadingSpeed);
    else
      ShowNumber(FramePeriodEdit, FramePeriod);
    TEdit* const zoomEdits[4] = {ZoomF5Edit, ZoomF6Edit, ZoomF7Edit, ZoomF8Edit};
    for (int i = 0; i < 4; ++i)
      ShowNumber(zoomEdits[i], ZoomSeconds[i]);
    ShowNumber(ValueWindowXEdit, ValueWindowOffset.x);
    ShowNumber(ValueWindowYEdit, ValueWindowOffset.y);

    EnableYZoomCheck->SetChecked(EnableYZoom != 0);
    ShowProgressCheck->SetChecked(ShowProgress != 0);
    OldErrorAlgorithmCheck->SetChecked(OldErrorAlgorithm != 0);
    MultiLineStatusesCheck->SetChecked(MultiLineStatuses != 0);
    ParamStyleRadio1->SetChecked(ParamChartStyle == 1);
    ParamStyleRadio2->SetChecked(ParamChartStyle == 0);
    StatusStyleRadio1->SetChecked(StatusChartStyle == 1);
    StatusStyleRadio2->SetChecked(StatusChartStyle == 0);
  }

  ShowEditorMask();
}

void BQELunit::ReadOptionsAndMaskRows()
{
  // Until the Options tab was first filled its controls hold nothing of the fields.
  if (!EditorRowsValid)
    return;

  if (CommonBox) {
    int32_t value = 0;
    if (ReadNumber(TextLinePeriodEdit, TextLinePeriod, value)) {
      value = CorrectTextLinePeriod(value);
      if (value != TextLinePeriod) {
        TextLinePeriod = value;
        ReparseNeeded = 1;
      }
    }
    // The edit holds Hz: by now the constructor has set SpeedInHz.
    if (ReadNumber(FramePeriodEdit, ReadingSpeed, value)) {
      if (ClampReadingSpeed(value) != ReadingSpeed)
        ReparseNeeded = 1;
      TakeReadingSpeed(value, FramePeriodEdit);
    }
    TEdit* const zoomEdits[4] = {ZoomF5Edit, ZoomF6Edit, ZoomF7Edit, ZoomF8Edit};
    for (int i = 0; i < 4; ++i)
      if (ReadNumber(zoomEdits[i], ZoomSeconds[i], value)) {
        ZoomSeconds[i] = CorrectZoomSeconds(i, value);
        if (ZoomSeconds[i] != value)
          ShowNumber(zoomEdits[i], ZoomSeconds[i]);
      }
    if (ReadNumber(ValueWindowXEdit, ValueWindowOffset.x, value))
      ValueWindowOffset.x = ClampOffset(value);
    if (ReadNumber(ValueWindowYEdit, ValueWindowOffset.y, value))
      ValueWindowOffset.y = ClampOffset(value);

    EnableYZoom = ReadCheck(EnableYZoomCheck);
    ShowProgress = ReadCheck(ShowProgressCheck);
    const Byte oldErrors = ReadCheck(OldErrorAlgorithmCheck);
    if (oldErrors != OldErrorAlgorithm) {
      OldErrorAlgorithm = oldErrors;
      ReparseNeeded = 1;
    }
    MultiLineStatuses = ReadCheck(MultiLineStatusesCheck);
    ParamChartStyle = ParamStyleRadio1->Checked() ? 1 : 0;
    StatusChartStyle = StatusStyleRadio1->Checked() ? 1 : 0;
  }

  ReadEditorMask();
}
