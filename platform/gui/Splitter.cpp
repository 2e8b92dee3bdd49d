#include "Splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>

#include "Colors.h"
#include "Guard.h"

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner, new HostWidget<QWidget>(this))
{
  SetParentColor(true);
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
}

TSplitter::~TSplitter()
{
  delete line_.data();
}

void TSplitter::SetBeveled(bool beveled)
{
  beveled_ = beveled;
  Invalidate();
}

void TSplitter::SetMinSize(int size)
{
  minSize_ = std::max(0, size);
}

std::vector<TControl*> TSplitter::Siblings() const
{
  std::vector<TControl*> siblings;
  const QWidget* host = Widget()->parentWidget();
  if (!host || !Parent())
    return siblings;
  for (QObject* child : host->children()) {
    TControl* control = ControlOfWidget(child);
    if (control && control->Parent() == Parent())
      siblings.push_back(control);
  }
  return siblings;
}

// The visible, enabled sibling that touches the bar's edge on the far side from the centre.
TControl* TSplitter::FindNeighbour() const
{
  int x = Left();
  int y = Top();
  switch (Align()) {
  case alLeft: --x; break;
  case alRight: x += Width(); break;
  case alTop: --y; break;
  case alBottom: y += Height(); break;
  default: return nullptr;
  }
  for (TControl* control : Siblings()) {
    if (control == this || !control->Visible() || !control->Enabled())
      continue;
    int left = control->Left();
    int right = left + control->Width();
    int top = control->Top();
    int bottom = top + control->Height();
    // A control closed to nothing still lies beside the bar.
    const bool before = Align() == alLeft || Align() == alTop;
    if (right == left) {
      if (before)
        --left;
      else
        ++right;
    }
    if (bottom == top) {
      if (before)
        --top;
      else
        ++bottom;
    }
    if (x >= left && x < right && y >= top && y < bottom)
      return control;
  }
  return nullptr;
}

int TSplitter::SizeOf(const TControl* control) const
{
  return Sideways() ? control->Width() : control->Height();
}

QPoint TSplitter::MouseInParent(QPoint global) const
{
  const QWidget* host = Widget()->parentWidget();
  return host ? host->mapFromGlobal(global) : global;
}

void TSplitter::StartDrag(QPoint mouse)
{
  neighbour_ = FindNeighbour();
  neighbourWidget_ = neighbour_ ? neighbour_->Widget() : nullptr;
  if (!neighbour_)
    return;
  downPos_ = mouse;
  startSize_ = SizeOf(neighbour_);
  newSize_ = startSize_;
  // What is left for the rest of the parent must not fall below MinSize either.
  const bool sideways = Sideways();
  maxSize_ = (sideways ? Parent()->ClientWidth() : Parent()->ClientHeight()) - minSize_ + startSize_;
  for (const TControl* control : Siblings()) {
    if (!control->Visible())
      continue;
    const TAlign align = control->Align();
    if (sideways && (align == alLeft || align == alRight))
      maxSize_ -= control->Width();
    else if (!sideways && (align == alTop || align == alBottom))
      maxSize_ -= control->Height();
  }
  if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern)
    ShowLine(newSize_);
}

int TSplitter::SizeFor(QPoint mouse) const
{
  const QPoint moved = mouse - downPos_;
  const int split = Sideways() ? moved.x() : moved.y();
  // Towards the centre the neighbour grows.
  const bool growsWithSplit = Align() == alLeft || Align() == alTop;
  const int wanted = startSize_ + (growsWithSplit ? split : -split);
  int size = wanted < minSize_ ? minSize_ : std::min(wanted, maxSize_);
  if (autoSnap_ && size <= minSize_)
    size = 0;
  return size;
}

void TSplitter::ShowLine(int size)
{
  QWidget* host = Widget()->parentWidget();
  if (!host)
    return;
  if (!line_)
    line_ = new QRubberBand(QRubberBand::Line, host);
  const int shift = size - startSize_;
  const bool growsWithSplit = Align() == alLeft || Align() == alTop;
  const int offset = growsWithSplit ? shift : -shift;
  const QRect bar = Widget()->geometry();
  line_->setGeometry(Sideways() ? bar.translated(offset, 0) : bar.translated(0, offset));
  line_->show();
  line_->raise();
}

void TSplitter::Drag(QPoint mouse)
{
  const int size = SizeFor(mouse);
  if (size == newSize_)
    return;
  newSize_ = size;
  if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) {
    ShowLine(size);
  } else if (resizeStyle_ == rsUpdate) {
    if (Resize(size))
      FireEvent(OnMoved, this);
  }
}

void TSplitter::EndDrag()
{
  delete line_.data();
  const bool changed = Resize(newSize_);
  neighbour_ = nullptr;
  if (changed)
    FireEvent(OnMoved, this);
}

bool TSplitter::Resize(int size)
{
  if (!neighbour_ || !neighbourWidget_ || SizeOf(neighbour_) == size)
    return false;
  TControl* c = neighbour_;
  switch (Align()) {
  case alLeft: c->SetWidth(size); break;
  case alRight: c->SetBounds(c->Left() + c->Width() - size, c->Top(), size, c->Height()); break;
  case alTop: c->SetHeight(size); break;
  default: c->SetBounds(c->Left(), c->Top() + c->Height() - size, c->Width(), size); break;
  }
  return true;
}

bool TSplitter::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  const QPointer<QWidget> alive(widget);
  const bool result = TGraphicControl::WidgetEvent(widget, event, base);
  if (!alive)
    return result;
  switch (event->type()) {
  case QEvent::Enter: widget->setCursor(Sideways() ? Qt::SplitHCursor : Qt::SplitVCursor); break;
  case QEvent::MouseButtonPress:
  case QEvent::MouseMove:
  case QEvent::MouseButtonRelease: {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = MouseInParent(mouse->globalPosition().toPoint());
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
      StartDrag(at);
    else if (neighbour_ && event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton))
      Drag(at);
    else if (neighbour_ && event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
      EndDrag();
    break;
  }
  default: break;
  }
  return result;
}

bool TSplitter::PaintWidget(QWidget* widget)
{
  QPainter painter(widget);
  const QRect area = widget->rect();
  painter.fillRect(area, ToQColor(Color()));
  if (beveled_ && area.width() > 2 && area.height() > 2) {
    // A raised ridge along the bar: light on the leading edge, dark on the trailing one.
    const QColor highlight = ToQColor(SystemColor(20));
    const QColor shadow = ToQColor(SystemColor(16));
    if (Sideways()) {
      painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), highlight);
      painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), shadow);
    } else {
      painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), highlight);
      painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), shadow);
    }
  }
  return true;
}
