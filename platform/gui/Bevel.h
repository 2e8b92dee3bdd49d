#pragma once
// TBevel: a lowered box drawn on its parent; four pixels high it reads as an etched line.
#include "Controls.h"

class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);

protected:
  bool PaintWidget(QWidget* widget) override;
};
