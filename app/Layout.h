#pragma once
// Shared by the layouts: edges of a control in its parent's client coordinates, and the width a
// check box or radio button needs for its caption.
#include <algorithm>

#include "Canvas.h"
#include "Control.h"

namespace layout {

inline int Right(const TControl* control)
{
  return control->Left() + control->Width();
}

inline int Bottom(const TControl* control)
{
  return control->Top() + control->Height();
}

// At least `least`, and room for the indicator (about as wide as the box is high) and the
// caption: the Linux fonts run wider than the widths the layouts give.
inline int CaptionedWidth(const TControl* box, int least)
{
  TCanvas canvas;
  canvas.Font()->Assign(box->Font());
  return std::max(least, canvas.TextWidth(box->Caption()) + box->Height() + 4);
}

}  // namespace layout
