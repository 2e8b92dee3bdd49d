#include "ScrollBox.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "Guard.h"

namespace {

constexpr int LineStep = 8;  // pixels per arrow click, and per wheel line when nobody handles it

}  // namespace

// The widget the children live on, moved inside the viewport as the box scrolls. Its mouse and
// wheel events are the box's; a child that is added, removed, moved, resized, shown or hidden
// brings the scroll range up to date.
class ScrollBoxContent : public QWidget {
public:
  ScrollBoxContent(QWidget* parent, TScrollBox* box) : QWidget(parent), box_(box) {}
  void Detach() { box_ = nullptr; }

protected:
  bool event(QEvent* event) override
  {
    switch (event->type()) {
    case QEvent::ChildAdded: static_cast<QChildEvent*>(event)->child()->installEventFilter(this); [[fallthrough]];
    case QEvent::ChildRemoved:
      if (box_)
        box_->RequestUpdate();
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
      if (box_)
        return DispatchWidgetEvent(box_, this, event, &Base);
      break;
    default: break;
    }
    return QWidget::event(event);
  }

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
      if (box_ && watched->parent() == this)
        box_->RequestUpdate();
      break;
    default: break;
    }
    return false;
  }

private:
  // What the box does when its handlers leave an event alone: a wheel scrolls the box.
  static bool Base(QWidget* widget, QEvent* event)
  {
    auto* content = static_cast<ScrollBoxContent*>(widget);
    if (event->type() == QEvent::Wheel && content->box_) {
      content->box_->Wheel(static_cast<QWheelEvent*>(event));
      return true;
    }
    return content->QWidget::event(event);
  }

  TScrollBox* box_;
};

int TControlScrollBar::Position() const
{
  box_->UpdateScrollBars();
  return vertical_ ? box_->posY_ : box_->posX_;
}

void TControlScrollBar::SetPosition(int position)
{
  box_->UpdateScrollBars();
  (vertical_ ? box_->vertBar_ : box_->horzBar_)->setValue(position);
}

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QFrame>(this))
{
  frame_ = static_cast<QFrame*>(Widget());
  frame_->setAutoFillBackground(true);
  viewport_ = new QWidget(frame_);
  content_ = new ScrollBoxContent(viewport_, this);
  content_->setMouseTracking(true);
  horzBar_ = new QScrollBar(Qt::Horizontal, frame_);
  vertBar_ = new QScrollBar(Qt::Vertical, frame_);
  for (QScrollBar* bar : {horzBar_, vertBar_}) {
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setSingleStep(LineStep);
    bar->hide();
    QObject::connect(bar, &QScrollBar::valueChanged, content_, [this] { Guarded(this, [this] { Scrolled(); }); });
  }
  SetBorderStyle(bsSingle);
  SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox()
{
  // The children go next; their leaving must not reach a box that is half gone.
  BeginDestruction();
  content_->Detach();
  for (QScrollBar* bar : {horzBar_, vertBar_})
    QObject::disconnect(bar, nullptr, content_, nullptr);
}

void TScrollBox::SetBorderStyle(TBorderStyle style)
{
  singleFrame_ = style != bsNone;
  frame_->setFrameStyle(singleFrame_ ? (QFrame::WinPanel | QFrame::Sunken) : QFrame::NoFrame);
  UpdateScrollBars();
  Realign();
}

std::vector<TControl*> TScrollBox::Children() const
{
  std::vector<TControl*> children;
  for (QObject* child : content_->children()) {
    TControl* control = ControlOfWidget(child);
    if (control && control->Parent() == this)
      children.push_back(control);
  }
  return children;
}

int TScrollBox::BarExtent() const
{
  return vertBar_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vertBar_);
}

TScrollBox::Layout TScrollBox::ComputeLayout() const
{
  Layout layout;
  const int frame = frame_->frameWidth();
  layout.inset = TWinControl::NonClientMargins() + QMargins(frame, frame, frame, frame);
  // Aligned children follow the range rather than make it.
  for (const TControl* child : Children()) {
    if (!child->Visible() || child->Align() != alNone)
      continue;
    layout.rangeWidth = std::max(layout.rangeWidth, child->Left() + child->Width() + posX_);
    layout.rangeHeight = std::max(layout.rangeHeight, child->Top() + child->Height() + posY_);
  }
  const int width = std::max(0, Width() - layout.inset.left() - layout.inset.right());
  const int height = std::max(0, Height() - layout.inset.top() - layout.inset.bottom());
  const int extent = BarExtent();
  // One bar can make the other necessary.
  layout.vertical = layout.rangeHeight > height;
  layout.horizontal = layout.rangeWidth > width;
  if (layout.vertical && !layout.horizontal)
    layout.horizontal = layout.rangeWidth > width - extent;
  if (layout.horizontal && !layout.vertical)
    layout.vertical = layout.rangeHeight > height - extent;
  layout.clientWidth = std::max(0, width - (layout.vertical ? extent : 0));
  layout.clientHeight = std::max(0, height - (layout.horizontal ? extent : 0));
  return layout;
}

QMargins TScrollBox::NonClientMargins() const
{
  const Layout layout = ComputeLayout();
  QMargins margins = layout.inset;
  if (layout.vertical)
    margins.setRight(margins.right() + BarExtent());
  if (layout.horizontal)
    margins.setBottom(margins.bottom() + BarExtent());
  return margins;
}

TRect TScrollBox::AlignRect() const
{
  const Layout layout = ComputeLayout();
  return TRect{-posX_, -posY_, -posX_ + std::max(layout.rangeWidth, layout.clientWidth),
               -posY_ + std::max(layout.rangeHeight, layout.clientHeight)};
}

QWidget* TScrollBox::ChildHost() const
{
  return content_;
}

QPoint TScrollBox::ChildOrigin() const
{
  return QPoint(posX_, posY_);
}

void TScrollBox::UpdateScrollBars()
{
  if (updating_ || Destroying())
    return;
  updating_ = true;
  updatePending_ = false;
  const Layout layout = ComputeLayout();
  const int extent = BarExtent();
  const int left = layout.inset.left();
  const int top = layout.inset.top();
  viewport_->setGeometry(left, top, layout.clientWidth, layout.clientHeight);
  horzBar_->setGeometry(left, top + layout.clientHeight, layout.clientWidth, extent);
  vertBar_->setGeometry(left + layout.clientWidth, top, extent, layout.clientHeight);
  horzBar_->setVisible(layout.horizontal);
  vertBar_->setVisible(layout.vertical);
  horzBar_->setPageStep(std::max(1, layout.clientWidth));
  vertBar_->setPageStep(std::max(1, layout.clientHeight));
  // A smaller range pulls the position back, which scrolls the children (Scrolled).
  horzBar_->setRange(0, std::max(0, layout.rangeWidth - layout.clientWidth));
  vertBar_->setRange(0, std::max(0, layout.rangeHeight - layout.clientHeight));
  const QSize oldContent = content_->size();
  content_->setGeometry(-posX_, -posY_, std::max(layout.rangeWidth, layout.clientWidth),
                        std::max(layout.rangeHeight, layout.clientHeight));
  updating_ = false;
  // A bar that came or went (or a new range) changed the area the aligned children share.
  if (content_->size() != oldContent)
    Realign();
}

void TScrollBox::RequestUpdate()
{
  if (updatePending_ || Destroying())
    return;
  updatePending_ = true;
  QMetaObject::invokeMethod(
      content_,
      [this] {
        if (updatePending_)
          UpdateScrollBars();
      },
      Qt::QueuedConnection);
}

void TScrollBox::Scrolled()
{
  const int dx = horzBar_->value() - posX_;
  const int dy = vertBar_->value() - posY_;
  if (dx == 0 && dy == 0)
    return;
  posX_ += dx;
  posY_ += dy;
  // The children keep their place in the content, so their visible-area bounds change.
  for (TControl* child : Children())
    child->SetBounds(child->Left() - dx, child->Top() - dy, child->Width(), child->Height());
  content_->move(-posX_, -posY_);
}

void TScrollBox::Wheel(QWheelEvent* event)
{
  UpdateScrollBars();
  const QPoint delta = event->angleDelta();
  QScrollBar* bar = std::abs(delta.x()) > std::abs(delta.y()) ? horzBar_ : vertBar_;
  // The bar scrolls by the desktop's wheel lines, as in Qt's own scroll areas.
  QCoreApplication::sendEvent(bar, event);
  // Taken either way, also by a bar at its end: the box must not hear it again through its frame.
  event->accept();
}

void TScrollBox::Resized()
{
  UpdateScrollBars();
  TWinControl::Resized();
}

bool TScrollBox::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  // Changes made while the box was not on screen may not have reached the bars.
  if (event->type() == QEvent::Show && widget == Widget())
    UpdateScrollBars();
  return TWinControl::WidgetEvent(widget, event, base);
}
