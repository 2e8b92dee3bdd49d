#pragma once
// The bounds of the chart's zoom and pan, shared by the mouse, the zoom keys and the layout.
#include <algorithm>
#include <cmath>
#include <cstdint>

// Zoomed sizes stay within this many pixels, so that the 32-bit zoomed size, the pan and every
// pixel offset computed from them keep far from overflowing.
constexpr double MaxZoomedSize = 1 << 30;

// At least 1; at most what keeps a plot of `plot` pixels within MaxZoomedSize. A zoom that is no
// number is 1.
inline double ClampZoom(double zoom, int32_t plot)
{
  const double cap = std::max(1.0, MaxZoomedSize / std::max(plot, 1));
  return zoom >= 1.0 ? std::min(zoom, cap) : 1.0;
}

// The plot of `plot` pixels zoomed; the zoom is clamped.
inline int32_t ZoomedSize(int32_t plot, double zoom)
{
  return static_cast<int32_t>(std::max(plot, 0) * ClampZoom(zoom, plot));
}

// A pan truncated and kept inside the zoomed plot: at most zoomed - plot, then at least 0.
inline int32_t ClampPan(double pan, int32_t plot, int32_t zoomed)
{
  if (std::isnan(pan))
    return 0;
  pan = std::min(std::trunc(pan), static_cast<double>(zoomed) - plot);
  return pan > 0.0 ? static_cast<int32_t>(pan) : 0;
}

// The pan as a share of the zoomed size, in %, which a resize keeps.
inline double PanPercent(int32_t pan, int32_t zoomed)
{
  return zoomed > 0 ? pan * 100.0 / zoomed : 0.0;
}
