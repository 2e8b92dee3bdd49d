#include "Control.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "Colors.h"
#include "Exceptions.h"
#include "Guard.h"
#include "Keys.h"
#include "Menus.h"
#include "TextBoundary.h"
#include "WinControl.h"

namespace {

bool ButtonOf(Qt::MouseButton qt, TMouseButton& button)
{
  switch (qt) {
  case Qt::LeftButton: button = mbLeft; return true;
  case Qt::RightButton: button = mbRight; return true;
  case Qt::MiddleButton: button = mbMiddle; return true;
  default: return false;
  }
}

// Hints are plain text: escaped inside a paragraph that keeps line breaks and blanks.
QString PlainToolTip(const QString& text)
{
  return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// A hint wider than the screen would be cut off at its edge: each line too wide is broken after
// its last blank that fits, or anywhere when a word alone is too wide, so every line fits width.
QString FitToolTipLines(const QString& text, int width)
{
  const QFontMetrics metrics(QToolTip::font());
  QStringList lines;
  for (QString rest : text.split(QLatin1Char('\n'))) {
    while (rest.size() > 1 && metrics.horizontalAdvance(rest) > width) {
      // The longest head that fits, at least one character.
      qsizetype low = 1, high = rest.size() - 1;
      while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        metrics.horizontalAdvance(rest.left(mid)) <= width ? low = mid : high = mid - 1;
      }
      const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), low - 1);
      qsizetype cut = blank > 0 ? blank + 1 : low;
      if (cut > 1 && rest[cut - 1].isHighSurrogate())
        --cut;
      lines << rest.left(cut);
      rest = rest.mid(cut);
    }
    lines << rest;
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

bool DispatchWidgetEvent(TControl* control, QWidget* widget, QEvent* event, BaseEventFn base)
{
  try {
    return control->WidgetEvent(widget, event, base);
  } catch (...) {
    HandleGuardedException(control);
    return true;
  }
}

TControl* ControlOfWidget(const QObject* widget)
{
  const auto* link = dynamic_cast<const WidgetLink*>(widget);
  return link ? link->LinkedControl() : nullptr;
}

void RedecodeControlTexts()
{
  // A control's texts may run its handlers (a label that sizes itself fires OnResize), and those
  // may free or create widgets: the walk goes over guarded pointers taken first.
  const QWidgetList all = QApplication::allWidgets();
  std::vector<QPointer<QWidget>> widgets(all.begin(), all.end());
  for (const QPointer<QWidget>& widget : widgets) {
    if (!widget)
      continue;
    widget->update();  // drawn texts (panels, lists, memos, canvases) decode as they paint
    TControl* control = ControlOfWidget(widget.data());
    if (control && control->codePage_ == 0 && !control->destroying_)
      control->TextChanged();
  }
}

TControl::TControl(TComponent* AOwner, QWidget* widget) : TComponent(AOwner), widget_(widget)
{
  widget->setMouseTracking(true);
  font_.OnChange = [this] {
    if (!adoptingFont_)
      parentFont_ = false;
    FontChanged();
  };
  TControl::FontChanged();
}

TControl::~TControl()
{
  BeginDestruction();
  if (parent_)
    parent_->RemoveControl(this);
  delete widget_.data();
}

void TControl::BeginDestruction()
{
  destroying_ = true;
  if (auto* link = dynamic_cast<WidgetLink*>(widget_.data()))
    link->UnlinkControl();
}

void TControl::SetParent(TWinControl* parent)
{
  if (parent == parent_)
    return;
  if (parent == this)
    throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_)
    parent_->RemoveControl(this);
  parent_ = parent;
  widget_->setParent(parent ? parent->ChildHost() : nullptr);
  if (parent_)
    parent_->InsertControl(this);
  BringToFront();
  if (parentFont_)
    AdoptParentFont();
  if (parentColor_)
    ColorChanged();
  ApplyGeometry();
  ApplyVisibility();
  if (parent_ && align_ != alNone && visible_)
    parent_->Realign();
}

void TControl::SetAlign(TAlign align)
{
  if (align == align_)
    return;
  align_ = align;
  if (parent_ && visible_)
    parent_->Realign();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
  SetBoundsFrom(left, top, width, height, true);
}

void TControl::SetBoundsFrom(int left, int top, int width, int height, bool requestAlign)
{
  width = std::max(0, width);
  height = std::max(0, height);
  ConstrainSize(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_)
    return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyGeometry();
  if (resized)
    Resized();
  // An aligned control that changed on its own gets its place from the parent again.
  if (requestAlign && parent_ && align_ != alNone && visible_)
    parent_->Realign();
}

void TControl::AdoptBounds(int left, int top, int width, int height)
{
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized)
    Resized();
}

void TControl::ApplyGeometry()
{
  const QPoint origin = parent_ ? parent_->ChildOrigin() : QPoint();
  widget_->setGeometry(origin.x() + left_, origin.y() + top_, width_, height_);
}

void TControl::Resized()
{
  if (!destroying_)
    FireEvent(OnResize, this);
}

TPoint TControl::ClientOrigin() const
{
  const QPoint p = widget_->mapToGlobal(ClientOriginInWidget());
  return TPoint{p.x(), p.y()};
}

void TControl::SetVisible(bool visible)
{
  if (visible == visible_)
    return;
  visible_ = visible;
  VisibleChanged();
}

void TControl::VisibleChanged()
{
  ApplyVisibility();
  if (parent_ && align_ != alNone)
    parent_->Realign();
}

void TControl::ApplyVisibility()
{
  // A control without a parent has nowhere to show.
  widget_->setVisible(visible_ && parent_ != nullptr);
}

void TControl::SetEnabled(bool enabled)
{
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  widget_->setEnabled(enabled);
}

void TControl::SetText(const AnsiString& text)
{
  if (text == text_)
    return;
  text_ = text;
  TextChanged();
}

void TControl::SetCodePage(int codePage)
{
  codePage_ = codePage;
  TextChanged();
}

bool TControl::ShowHint() const
{
  const TControl* control = this;
  while (control->parentShowHint_ && control->parent_)
    control = control->parent_;
  return control->showHint_;
}

void TControl::SetShowHint(bool show)
{
  showHint_ = show;
  parentShowHint_ = false;
}

void TControl::SetParentFont(bool parentFont)
{
  parentFont_ = parentFont;
  if (parentFont_ && parent_)
    AdoptParentFont();
}

void TControl::AdoptParentFont()
{
  if (!parent_)
    return;
  adoptingFont_ = true;
  font_.Assign(parent_->Font());
  adoptingFont_ = false;
}

void TControl::FontChanged()
{
  widget_->setFont(font_.QtFont());
  ApplyPalette();
}

TColor TControl::Color() const
{
  return parentColor_ && parent_ ? parent_->Color() : color_;
}

void TControl::SetColor(TColor color)
{
  color_ = color;
  parentColor_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool parentColor)
{
  parentColor_ = parentColor;
  ColorChanged();
}

void TControl::ColorChanged()
{
  ApplyPalette();
  widget_->update();
}

void TControl::ApplyPalette()
{
  // Only the roles set here are the control's own; the disabled group keeps Qt's grey text.
  QPalette palette;
  const QColor text = ToQColor(font_.Color());
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::ButtonText, text);
  }
  palette.setColor(QPalette::Window, ToQColor(Color()));
  widget_->setPalette(palette);
}

QWidget* TControl::LowestWindowedSibling() const
{
  const QWidget* host = widget_->parentWidget();
  if (!host)
    return nullptr;
  for (QObject* child : host->children()) {  // bottom of the stack first
    if (child == widget_)
      continue;
    const TControl* control = ControlOfWidget(child);
    if (control && control->parent_ == parent_ && control->IsWindowed())
      return static_cast<QWidget*>(child);
  }
  return nullptr;
}

void TControl::BringToFront()
{
  QWidget* windowed = parent_ && !IsWindowed() ? LowestWindowedSibling() : nullptr;
  if (windowed)
    widget_->stackUnder(windowed);
  else
    widget_->raise();
}

void TControl::SendToBack()
{
  if (parent_ && IsWindowed()) {
    // The back of the windowed band is still above every graphic control.
    if (QWidget* windowed = LowestWindowedSibling())
      widget_->stackUnder(windowed);
    else
      widget_->raise();
  } else {
    widget_->lower();
  }
}

void TControl::Repaint()
{
  widget_->repaint();
}

void TControl::Invalidate()
{
  widget_->update();
}

void TControl::Click()
{
  FireEvent(OnClick, this);
}

QPoint TControl::ToClient(const QPointF& global) const
{
  return widget_->mapFromGlobal(global.toPoint()) - ClientOriginInWidget();
}

bool TControl::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  switch (event->type()) {
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonRelease:
  case QEvent::MouseButtonDblClick:
  case QEvent::MouseMove:
    if (!widget->isEnabled())
      return base(widget, event);
    return MouseEvent(widget, static_cast<QMouseEvent*>(event), base);
  case QEvent::Wheel:
    if (!widget->isEnabled())
      return base(widget, event);
    return WheelEvent(widget, static_cast<QWheelEvent*>(event), base);
  case QEvent::Enter:
    if (widget == widget_ && widget->isEnabled()) {
      const QPointer<QWidget> alive(widget_);
      FireEvent(OnMouseEnter, this);
      if (!alive)
        return true;
    }
    return base(widget, event);
  case QEvent::ToolTip: return ToolTipEvent(widget, event);
  case QEvent::ContextMenu: return ContextMenuEvent(widget, static_cast<QContextMenuEvent*>(event), base);
  case QEvent::Paint: return PaintWidget(widget) || base(widget, event);
  default: return base(widget, event);
  }
}

bool TControl::MouseEvent(QWidget* widget, QMouseEvent* event, BaseEventFn base)
{
  // The widget's own handling first, as the class library lets the window act before the event.
  // It may emit a signal whose handler frees this control (a button's click), so whether the
  // control survived is known only through a guard taken before.
  const QPointer<QWidget> alive(widget_);
  base(widget, event);
  if (!alive) {
    event->accept();
    return true;
  }
  const QPoint p = ToClient(event->globalPosition());
  TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  TMouseButton button = mbLeft;
  switch (event->type()) {
  case QEvent::MouseButtonPress:
    if (!ButtonOf(event->button(), button))
      break;
    if (button == mbLeft)
      leftPressed_ = true;
    FireEvent(OnMouseDown, this, button, shift, p.x(), p.y());
    break;
  case QEvent::MouseButtonDblClick:
    // The second press of a double click: OnDblClick, then OnMouseDown with ssDouble, no click.
    if (!ButtonOf(event->button(), button))
      break;
    if (button == mbLeft) {
      leftPressed_ = false;
      FireEvent(OnDblClick, this);
      if (!alive)
        return true;
    }
    shift << ssDouble;
    FireEvent(OnMouseDown, this, button, shift, p.x(), p.y());
    break;
  case QEvent::MouseButtonRelease:
    if (event->button() == Qt::LeftButton && leftPressed_) {
      leftPressed_ = false;
      if (p.x() >= 0 && p.y() >= 0 && p.x() < ClientWidth() && p.y() < ClientHeight())
        MouseClick();
    }
    break;
  default: FireEvent(OnMouseMove, this, shift, p.x(), p.y()); break;
  }
  // The control took the event; Qt must not hand it on to the parent as well (nor to a
  // parent of a control a handler has just freed).
  event->accept();
  return true;
}

bool TControl::WheelEvent(QWidget* widget, QWheelEvent* event, BaseEventFn base)
{
  const int delta = event->angleDelta().y();
  if (!OnMouseWheel || delta == 0)
    return base(widget, event);
  const QPointer<QWidget> alive(widget_);
  const QPoint global = event->globalPosition().toPoint();
  bool handled = false;
  FireEvent(OnMouseWheel, this, ShiftStateFromQt(event->modifiers(), event->buttons()), delta,
            TPoint{global.x(), global.y()}, handled);
  if (handled || !alive) {
    event->accept();
    return true;
  }
  return base(widget, event);
}

bool TControl::ToolTipEvent(QWidget* widget, QEvent* event)
{
  // The class library shows the part of a hint before the first "|".
  const AnsiString shortHint = hint_.substr(0, hint_.find('|'));
  if (ShowHint() && !shortHint.empty()) {
    const QPoint at = static_cast<QHelpEvent*>(event)->globalPos();
    // Room for the tip's frame and margins on the screen under the pointer.
    const QScreen* screen = QGuiApplication::screenAt(at) ? QGuiApplication::screenAt(at) : widget->screen();
    const int room = screen->availableGeometry().width() - 32;
    QToolTip::showText(at, PlainToolTip(FitToolTipLines(ToQString(shortHint, codePage_), room)), widget);
  } else {
    QToolTip::hideText();
    event->ignore();
  }
  return true;
}

bool TControl::ContextMenuEvent(QWidget* widget, QContextMenuEvent* event, BaseEventFn base)
{
  // Qt sends this after the right button's press (or release, by platform) has reached the
  // control, so a list has already selected the line under the pointer. A control without a
  // menu lets its parent's open.
  if (!popupMenu_ || !widget->isEnabled())
    return base(widget, event);
  const QPoint at = event->globalPos();
  popupMenu_->Popup(at.x(), at.y());
  event->accept();
  return true;
}
