#include "CustomComboBox.h"

#include <QComboBox>
#include <QEvent>

#include "Guard.h"

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QComboBox>(this))
{
  Combo()->setMaxVisibleItems(8);
  // Qt's default lets the wheel take the focus before the wheel is handled, so a notch over the
  // list would pick while the user's focus was elsewhere: the focus comes by click and Tab only.
  Combo()->setFocusPolicy(Qt::StrongFocus);
  // Qt's activated is the user's pick, the same item included; the program's changes emit
  // only currentIndexChanged, which nothing here listens to.
  QObject::connect(Combo(), &QComboBox::activated, Combo(),
                   [this](int index) { Guarded(this, [&] { UserPicked(index); }); });
  FontChanged();
  SetBounds(0, 0, 145, fontHeight_);
}

QComboBox* TCustomComboBox::Combo() const
{
  return static_cast<QComboBox*>(Widget());
}

bool TCustomComboBox::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  if (event->type() == QEvent::Wheel && !widget->hasFocus()) {
    event->ignore();
    return false;
  }
  return TWinControl::WidgetEvent(widget, event, base);
}

void TCustomComboBox::FontChanged()
{
  TWinControl::FontChanged();
  fontHeight_ = Combo()->sizeHint().height();
  SetHeight(fontHeight_);
}

void TCustomComboBox::ConstrainSize(int&, int& height) const
{
  height = fontHeight_;
}
