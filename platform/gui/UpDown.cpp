#include "UpDown.h"

#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>

#include "Guard.h"

// Steps the up-down by the arrow keys pressed in its associate.
class UpDownKeys : public QObject {
public:
  UpDownKeys(TUpDown* upDown, QObject* parent) : QObject(parent), upDown_(upDown) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down) {
        Guarded(upDown_, [&] { upDown_->Step(key == Qt::Key_Up ? 1 : -1); });
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

private:
  TUpDown* upDown_;
};

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow)
{
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QWidget>(this))
{
  up_ = ArrowButton(Widget(), Qt::UpArrow);
  down_ = ArrowButton(Widget(), Qt::DownArrow);
  keys_ = new UpDownKeys(this, Widget());
  QObject::connect(up_, &QToolButton::clicked, up_, [this] { Guarded(this, [this] { Step(1); }); });
  QObject::connect(down_, &QToolButton::clicked, down_, [this] { Guarded(this, [this] { Step(-1); }); });
  SetBounds(0, 0, 17, 25);
}

void TUpDown::Resized()
{
  const int upper = Height() / 2;
  up_->setGeometry(0, 0, Width(), upper);
  down_->setGeometry(0, upper, Width(), Height() - upper);
  TWinControl::Resized();
}

void TUpDown::SetMin(int min)
{
  min_ = min;
  SetPosition(position_);
}

void TUpDown::SetMax(int max)
{
  max_ = max;
  SetPosition(position_);
}

void TUpDown::SetPosition(int position)
{
  if (min_ <= max_)
    position = std::clamp(position, min_, max_);
  position_ = position;
  WritePosition();
}

void TUpDown::Step(int delta)
{
  SetPosition(position_ + delta);
}

TWinControl* TUpDown::Associate() const
{
  // A control being freed has already left its widget.
  return associateWidget_ && ControlOfWidget(associateWidget_) == associate_ ? associate_ : nullptr;
}

void TUpDown::SetAssociate(TWinControl* control)
{
  if (QWidget* old = associateWidget_.data())
    old->removeEventFilter(keys_);
  associate_ = control;
  associateWidget_ = control ? control->Widget() : nullptr;
  if (!control)
    return;
  control->Widget()->installEventFilter(keys_);
  SetHeight(control->Height());
  WritePosition();
}

void TUpDown::WritePosition()
{
  if (TWinControl* associate = Associate())
    associate->SetText(std::to_string(position_));
}
