#pragma once
// Defaults and bounds of the options edited on the Common page.
#include <cstdint>

constexpr int32_t DefaultTextLinePeriod = 10;  // ms
constexpr int32_t DefaultFramePeriod = 22;     // ms
constexpr int32_t DefaultReadingSpeed = 45;    // Hz
// Spans of the zoom keys F5 to F8, in seconds.
constexpr int32_t DefaultZoomSeconds[4] = {10, 30, 180, 600};
// Where the value window floats, relative to the mouse, in pixels.
constexpr int32_t DefaultValueWindowX = 50;
constexpr int32_t DefaultValueWindowY = 3;

// A second per text line is far beyond any recording already; larger steps only push the
// times of a long log out of the chart's 32-bit range.
constexpr int32_t MaxTextLinePeriod = 1000;
// Beyond any screen; it keeps mouse position plus offset inside int.
constexpr int32_t MaxValueWindowOffset = 10000;
