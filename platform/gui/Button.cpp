#include "Button.h"

#include <QMouseEvent>
#include <QPushButton>

#include "Form.h"
#include "Guard.h"
#include "TextBoundary.h"

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QPushButton>(this))
{
  Button()->setAutoDefault(false);
  QObject::connect(Button(), &QPushButton::clicked, Button(), [this] { Guarded(this, [this] { Clicked(); }); });
  SetBounds(0, 0, 75, hintHeight_.Start(Button()->sizeHint().height()));
}

QPushButton* TButton::Button() const
{
  return static_cast<QPushButton*>(Widget());
}

void TButton::Clicked()
{
  if (modalResult_ != mrNone)
    if (TForm* form = GetParentForm(this))
      form->SetModalResult(modalResult_);
  Click();
}

bool TButton::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  // The press takes the focus before anything else happens, as the window system's buttons do;
  // Qt gives it only for presses that come from the window system.
  if (event->type() == QEvent::MouseButtonPress && widget->isEnabled() &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && (widget->focusPolicy() & Qt::ClickFocus))
    widget->setFocus(Qt::MouseFocusReason);
  return TWinControl::WidgetEvent(widget, event, base);
}

void TButton::TextChanged()
{
  Button()->setText(ToQString(Text(), CodePage()));
}

void TButton::FontChanged()
{
  TWinControl::FontChanged();
  hintHeight_.Follow(*this, Button()->sizeHint().height());
}
