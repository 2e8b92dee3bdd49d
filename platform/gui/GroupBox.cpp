#include "GroupBox.h"

#include <QGroupBox>

#include "TextBoundary.h"

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QGroupBox>(this))
{
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::TextChanged()
{
  static_cast<QGroupBox*>(Widget())->setTitle(ToQString(Text(), CodePage()));
}
