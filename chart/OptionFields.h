#pragma once
// The central object's options and the change flags that edits of them raise.
#include <cstdint>

#include "Types.h"

struct OptionFields {
  // Options (chart/Options.cpp). Time steps in ms of a text line and of a frame; the reading
  // speed in Hz; spans of F5 to F8 in seconds; where the value window floats from the mouse;
  // the switches and chart styles (1 straight, 0 steps).
  int TextLinePeriod = 10;
  int FramePeriod = 22;
  int32_t ReadingSpeed = 45;
  int32_t ZoomSeconds[4] = {10, 30, 180, 600};
  TPoint ValueWindowOffset = {50, 3};
  Byte EnableYZoom = 0;
  // Long operations show their progress (and can be broken off).
  Byte ShowProgress = 1;
  // Fault sections count anywhere, not only inside an F10E block.
  Byte OldErrorAlgorithm = 0;
  Byte MultiLineStatuses = 1;
  Byte ParamChartStyle = 1;
  Byte StatusChartStyle = 1;
  // The reading speed is typed in Hz (else the frame period in ms).
  Byte SpeedInHz = 1;
  // Options no control shows: the channel list shows only channels marked shown; colour of
  // the line through an absent status; chart page splitters; one recent entry per folder.
  Byte HideUnusedChannels = 1;
  TColor AbsentStatusColor = 0x008080;
  int32_t LegendHeightPercent = 30;
  int32_t LeftColumnWidth = 300;
  Byte RecentOnePerFolder = 1;
  // Selected entry of the chart's and of the editor's mask combo.
  int32_t ChartMaskIndex = 0;
  int32_t EditorMaskIndex = 0;
  // Change flags: the Options tab shows the fields (until then the read-back reads nothing);
  // the log must be parsed again before the chart is shown; the statuses must be mapped to
  // the log again; a mask was added, renamed or deleted (the chart's combo is refilled).
  Byte EditorRowsValid = 0;
  Byte ReparseNeeded = 0;
  Byte StatusesChanged = 0;
  Byte MasksChanged = 0;
};
