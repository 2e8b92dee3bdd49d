#pragma once
// TPanel: a container that paints its colour, an optional raised bevel and a centred caption.
#include "Controls.h"

enum TBevelCut { bvNone, bvRaised };

class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent* AOwner);

  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut bevel);

protected:
  bool PaintWidget(QWidget* widget) override;
  // Aligned children stay inside the bevel.
  TRect AlignRect() const override;
  void TextChanged() override { Invalidate(); }

private:
  int BevelWidth() const { return bevelOuter_ == bvNone ? 0 : 1; }

  TBevelCut bevelOuter_ = bvRaised;
};
