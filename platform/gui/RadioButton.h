#pragma once
// TRadioButton: checking one unchecks the other radio buttons of the same parent, whether the
// user or the program checks it; the program may also uncheck one, leaving none checked. Until
// the program gives it a height, the height is Qt's size hint for the font.
#include "Controls.h"
#include "HintHeight.h"

class QRadioButton;

class TRadioButton : public TWinControl {
public:
  explicit TRadioButton(TComponent* AOwner);

  bool Checked() const;
  void SetChecked(bool checked);

protected:
  void TextChanged() override;
  void FontChanged() override;

private:
  QRadioButton* Radio() const;

  HintHeight hintHeight_;
};
