#include "CheckBox.h"

#include <QCheckBox>
#include <QStyle>
#include <algorithm>

#include "TextBoundary.h"

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QCheckBox>(this))
{
  SetBounds(0, 0, 97, hintHeight_.Start(Box()->sizeHint().height()));
}

QCheckBox* TCheckBox::Box() const
{
  return static_cast<QCheckBox*>(Widget());
}

bool TCheckBox::Checked() const
{
  return Box()->isChecked();
}

void TCheckBox::SetChecked(bool checked)
{
  Box()->setChecked(checked);
}

void TCheckBox::ApplyGeometry()
{
  TWinControl::ApplyGeometry();
  QWidget* box = Widget();
  const int indicatorWidth = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
  const int indicatorHeight = box->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box);
  const QRect set = box->geometry();
  const int width = std::max(set.width(), indicatorWidth);
  const int height = std::max(set.height(), indicatorHeight);
  if (width == set.width() && height == set.height())
    return;
  // Grown about the centre of the bounds that were set.
  box->setGeometry(set.x() - (width - set.width()) / 2, set.y() - (height - set.height()) / 2, width, height);
}

void TCheckBox::TextChanged()
{
  Box()->setText(ToQString(Text(), CodePage()));
}

void TCheckBox::FontChanged()
{
  TWinControl::FontChanged();
  hintHeight_.Follow(*this, Box()->sizeHint().height());
}
