#include "WinControl.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>

#include "Exceptions.h"
#include "Form.h"
#include "Guard.h"
#include "Keys.h"

TWinControl::TWinControl(TComponent* AOwner, QWidget* widget) : TControl(AOwner, widget)
{
}

TWinControl::~TWinControl()
{
  BeginDestruction();
  // The parent frees its children, the newest first; each leaves the list as it goes.
  while (!controls_.empty())
    delete controls_.back();
}

void TWinControl::InsertControl(TControl* control)
{
  controls_.push_back(control);
}

void TWinControl::RemoveControl(TControl* control)
{
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (control->align_ != alNone && control->visible_)
    Realign();
}

bool TWinControl::Contains(const TControl* control) const
{
  return std::find(controls_.begin(), controls_.end(), control) != controls_.end();
}

void TWinControl::SetBorderWidth(int width)
{
  width = std::max(0, width);
  if (width == borderWidth_)
    return;
  borderWidth_ = width;
  ApplyChildGeometry();
  Realign();
  Invalidate();
}

QMargins TWinControl::NonClientMargins() const
{
  return QMargins(borderWidth_, borderWidth_, borderWidth_, borderWidth_);
}

int TWinControl::ClientWidth() const
{
  const QMargins m = NonClientMargins();
  return std::max(0, Width() - m.left() - m.right());
}

int TWinControl::ClientHeight() const
{
  const QMargins m = NonClientMargins();
  return std::max(0, Height() - m.top() - m.bottom());
}

QPoint TWinControl::ClientOriginInWidget() const
{
  const QMargins m = NonClientMargins();
  return QPoint(m.left(), m.top());
}

TRect TWinControl::AlignRect() const
{
  return TRect{0, 0, ClientWidth(), ClientHeight()};
}

void TWinControl::ApplyChildGeometry()
{
  for (TControl* control : controls_)
    control->ApplyGeometry();
}

void TWinControl::Resized()
{
  Realign();
  TControl::Resized();
}

void TWinControl::Realign()
{
  if (Destroying())
    return;
  if (aligning_) {
    realignPending_ = true;
    return;
  }
  aligning_ = true;
  // A handler that moves an aligned control during a pass asks for another pass; a few passes
  // settle any layout that settles at all.
  for (int pass = 0; pass < 8; ++pass) {
    realignPending_ = false;
    AlignControls();
    if (!realignPending_)
      break;
  }
  aligning_ = false;
}

void TWinControl::AlignControls()
{
  TRect rect = AlignRect();
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* control : controls_)
      if (control->align_ == align && control->visible_)
        list.push_back(control);
    for (TControl* c : list) {
      // A resize handler of an earlier control may have freed or changed this one.
      if (!Contains(c) || c->align_ != align || !c->visible_)
        continue;
      const int width = rect.right - rect.left;
      const int height = rect.bottom - rect.top;
      const int ownWidth = c->width_;
      const int ownHeight = c->height_;
      switch (align) {
      case alTop:
        c->SetBoundsFrom(rect.left, rect.top, width, ownHeight, false);
        rect.top += ownHeight;
        break;
      case alBottom:
        c->SetBoundsFrom(rect.left, rect.bottom - ownHeight, width, ownHeight, false);
        rect.bottom -= ownHeight;
        break;
      case alLeft:
        c->SetBoundsFrom(rect.left, rect.top, ownWidth, height, false);
        rect.left += ownWidth;
        break;
      case alRight:
        c->SetBoundsFrom(rect.right - ownWidth, rect.top, ownWidth, height, false);
        rect.right -= ownWidth;
        break;
      default: c->SetBoundsFrom(rect.left, rect.top, width, height, false); break;
      }
    }
  }
}

void TWinControl::FontChanged()
{
  TControl::FontChanged();
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i]->parentFont_)
      controls_[i]->AdoptParentFont();
}

void TWinControl::ColorChanged()
{
  TControl::ColorChanged();
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i]->parentColor_)
      controls_[i]->ColorChanged();
}

bool TWinControl::CanFocus() const
{
  const TForm* form = GetParentForm(this);
  if (!form)
    return false;
  for (const TControl* control = this; control != form; control = control->Parent())
    if (!control->Visible() || !control->Enabled())
      return false;
  return true;
}

void TWinControl::SetFocus()
{
  if (!CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FocusWidget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const
{
  const QWidget* focus = QApplication::focusWidget();
  return focus && focus == FocusWidget();
}

bool TWinControl::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  switch (event->type()) {
  case QEvent::KeyRelease: {
    // The Qt handling may free this control (a button clicked by the space key).
    const QPointer<QWidget> alive(Widget());
    const bool result = base(widget, event);
    if (!alive) {
      event->accept();
      return true;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() || !OnKeyUp)
      return result;
    Word code = VirtualKeyFromQt(key->key());
    FireEvent(OnKeyUp, this, code, ShiftStateFromQt(key->modifiers(), Qt::NoButton));
    // Only the focused control hears a key; Qt must not hand it on to the parent.
    event->accept();
    return true;
  }
  case QEvent::FocusOut: {
    const QPointer<QWidget> alive(Widget());
    const bool result = base(widget, event);
    if (!alive)
      return result;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
      return result;
    // Qt names the new focus widget before it tells the old one.
    const QWidget* next = QApplication::focusWidget();
    if (next && next->window() == widget->window() && next != Widget() && !Widget()->isAncestorOf(next))
      FireEvent(OnExit, this);
    return result;
  }
  default: return TControl::WidgetEvent(widget, event, base);
  }
}
