#include "RadioButton.h"

#include <QRadioButton>

#include "TextBoundary.h"

// Qt's auto-exclusive radio buttons are the class library's rule: siblings on the same parent
// widget, which is where the layer puts the children of one parent control.
TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QRadioButton>(this))
{
  SetBounds(0, 0, 113, hintHeight_.Start(Radio()->sizeHint().height()));
}

QRadioButton* TRadioButton::Radio() const
{
  return static_cast<QRadioButton*>(Widget());
}

bool TRadioButton::Checked() const
{
  return Radio()->isChecked();
}

void TRadioButton::SetChecked(bool checked)
{
  if (checked) {
    Radio()->setChecked(true);
    return;
  }
  // Qt refuses to uncheck the checked button of an exclusive group; the program may.
  Radio()->setAutoExclusive(false);
  Radio()->setChecked(false);
  Radio()->setAutoExclusive(true);
}

void TRadioButton::TextChanged()
{
  Radio()->setText(ToQString(Text(), CodePage()));
}

void TRadioButton::FontChanged()
{
  TWinControl::FontChanged();
  hintHeight_.Follow(*this, Radio()->sizeHint().height());
}
