#pragma once
// TCheckBox: a box with a caption. Bounds smaller than the style's check indicator (the rows'
// 13 × 13 boxes) keep their centre: the box shows the whole indicator around it, while
// Left/Top/Width/Height stay as set. Until the program gives it a height, the height is Qt's
// size hint for the font.
#include "Controls.h"
#include "HintHeight.h"

class QCheckBox;

class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* AOwner);

  bool Checked() const;
  void SetChecked(bool checked);

protected:
  void ApplyGeometry() override;
  void TextChanged() override;
  void FontChanged() override;

private:
  QCheckBox* Box() const;

  HintHeight hintHeight_;
};
