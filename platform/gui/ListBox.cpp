#include "ListBox.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "Colors.h"
#include "Guard.h"

namespace {

constexpr TColor WindowColor = SystemColor(5);
constexpr TColor SelectedBrush = SystemColor(13);  // highlight
constexpr TColor SelectedText = SystemColor(14);   // highlighted text

}  // namespace

// The widget: a scroll area whose viewport the list paints line by line. Mouse, wheel, hint and
// menu events of the viewport reach the control as the host widget's own do.
class ListBoxView final : public ScrollHostWidget<QAbstractScrollArea, ViewportEvents::MouseWheelHintAndMenu> {
public:
  explicit ListBoxView(TListBox* list) : ScrollHostWidget(list)
  {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
  }

protected:
  void paintEvent(QPaintEvent*) override
  {
    if (TListBox* list = List())
      list->PaintLines(viewport());
  }

  void mousePressEvent(QMouseEvent* event) override
  {
    TListBox* list = List();
    if (list && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
      list->PressAt(event->position().toPoint().y());
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

  void mouseMoveEvent(QMouseEvent* event) override
  {
    TListBox* list = List();
    if (list && event->buttons().testFlag(Qt::LeftButton))
      list->DragTo(event->position().toPoint().y());
  }

  void keyPressEvent(QKeyEvent* event) override
  {
    TListBox* list = List();
    if (!list || !list->KeyPress(event))
      QAbstractScrollArea::keyPressEvent(event);
  }

  void focusInEvent(QFocusEvent* event) override
  {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
  }

  void focusOutEvent(QFocusEvent* event) override
  {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
  }

  void scrollContentsBy(int, int) override { viewport()->update(); }

private:
  TListBox* List() const { return static_cast<TListBox*>(control_); }
};

TListBox::TListBox(TComponent* AOwner)
    : TWinControl(AOwner, new ListBoxView(this)), items_(std::make_unique<TListBoxStrings>(*this))
{
  canvas_.SetTarget(&surface_);
  SetColor(WindowColor);
  SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox()
{
  canvas_.SetTarget(nullptr);
}

QScrollBar* TListBox::ScrollBar() const
{
  return static_cast<QAbstractScrollArea*>(Widget())->verticalScrollBar();
}

int TListBox::ItemHeight() const
{
  return std::max(1, QFontMetrics(Font()->QtFont()).height());
}

int TListBox::PageRows() const
{
  // From the stored bounds, not the viewport: a hidden list has not laid its viewport out.
  const int frame = static_cast<QAbstractScrollArea*>(Widget())->frameWidth();
  return std::max(1, (Height() - 2 * frame) / ItemHeight());
}

void TListBox::UpdateScrollRange()
{
  if (updating_)
    return;
  QScrollBar* bar = ScrollBar();
  const int rows = PageRows();
  bar->setRange(0, std::max(0, items_->Count() - rows));
  bar->setPageStep(rows);
  bar->setSingleStep(1);
  Widget()->update();
}

QMargins TListBox::NonClientMargins() const
{
  const auto* area = static_cast<QAbstractScrollArea*>(Widget());
  const QRect client = area->viewport()->geometry();
  return QMargins(std::max(0, client.left()), std::max(0, client.top()),
                  std::max(0, area->width() - client.right() - 1),
                  std::max(0, area->height() - client.bottom() - 1));
}

void TListBox::Resized()
{
  UpdateScrollRange();
  TWinControl::Resized();
}

void TListBox::FontChanged()
{
  TWinControl::FontChanged();
  UpdateScrollRange();
}

void TListBox::SetStyle(TListBoxStyle style)
{
  style_ = style;
  Widget()->update();
}

// ---- lines and selection ----

void TListBox::LineInserted(int index)
{
  if (itemIndex_ >= index)
    ++itemIndex_;
  UpdateScrollRange();
}

void TListBox::LineDeleted(int index)
{
  if (itemIndex_ == index)
    itemIndex_ = -1;
  else if (itemIndex_ > index)
    --itemIndex_;
  UpdateScrollRange();
}

void TListBox::LinesReplaced()
{
  itemIndex_ = -1;
  UpdateScrollRange();
}

void TListBox::LinesChanged()
{
  Widget()->update();
}

void TListBox::SetUpdating(bool updating)
{
  updating_ = updating;
  UpdateScrollRange();
}

void TListBox::SetItemIndex(int index)
{
  if (index < 0 || index >= items_->Count()) {
    itemIndex_ = -1;
    Widget()->update();
    return;
  }
  SelectAndShow(index);
}

void TListBox::SelectAndShow(int index)
{
  itemIndex_ = index;
  const int top = TopIndex();
  const int rows = PageRows();
  if (index < top)
    SetTopIndex(index);
  else if (index >= top + rows)
    SetTopIndex(index - rows + 1);
  Widget()->update();
}

int TListBox::TopIndex() const
{
  return ScrollBar()->value();
}

void TListBox::SetTopIndex(int index)
{
  ScrollBar()->setValue(index);  // the bar keeps it inside its range
}

void TListBox::PressAt(int y)
{
  const int row = y >= 0 ? TopIndex() + y / ItemHeight() : -1;
  if (row >= 0 && row < items_->Count())
    SelectAndShow(row);
  else
    SetItemIndex(-1);  // below the last line: no line is acted on
}

void TListBox::DragTo(int y)
{
  const int count = items_->Count();
  if (count == 0)
    return;
  const int rows = PageRows();
  const int offset = y < 0 ? -1 : std::min(rows, y / ItemHeight());
  SelectAndShow(std::clamp(TopIndex() + offset, 0, count - 1));
}

bool TListBox::KeyPress(const QKeyEvent* event)
{
  const int count = items_->Count();
  const int rows = PageRows();
  int target;
  switch (event->key()) {
  case Qt::Key_Up: target = itemIndex_ - 1; break;
  case Qt::Key_Down: target = itemIndex_ + 1; break;
  case Qt::Key_PageUp: target = itemIndex_ - (rows - 1); break;
  case Qt::Key_PageDown: target = itemIndex_ + (rows - 1); break;
  case Qt::Key_Home: target = 0; break;
  case Qt::Key_End: target = count - 1; break;
  default: return false;
  }
  if (count > 0)
    SelectAndShow(std::clamp(target, 0, count - 1));
  return true;
}

// ---- painting ----

void TListBox::PaintLines(QWidget* viewport)
{
  const QSize size = viewport->size();
  if (size.isEmpty())
    return;
  if (surface_.size() != size) {
    canvas_.EndPainting();
    surface_ = QImage(size, QImage::Format_RGB32);
    canvas_.SetTarget(&surface_);
  }
  const bool focused = Widget()->hasFocus();
  const int height = ItemHeight();
  int row = TopIndex();
  int y = 0;
  canvas_.Font()->Assign(Font());
  for (; row < items_->Count() && y < size.height(); ++row, y += height) {
    const TRect rect{0, y, size.width(), y + height};
    const bool selected = row == itemIndex_;
    TOwnerDrawState state;
    if (selected)
      state << odSelected;
    if (selected && focused)
      state << odFocused;
    // The brush and font colour are set afresh for each line; a handler changes only its own.
    canvas_.Brush()->SetColor(selected ? SelectedBrush : Color());
    canvas_.Font()->SetColor(selected ? SelectedText : Font()->Color());
    canvas_.SetCodePage(CodePage());
    if (style_ == lbOwnerDrawFixed && OnDrawItem) {
      const TDrawItemEvent handler = OnDrawItem;
      Guarded(this, [&] { handler(this, row, rect, state); });
    } else {
      canvas_.TextRect(rect, rect.left + 2, rect.top, items_->Get(row));
    }
  }
  if (y < size.height()) {
    canvas_.Brush()->SetColor(Color());
    canvas_.FillRect(TRect{0, y, size.width(), size.height()});
  }
  QPainter painter(viewport);
  painter.drawImage(QPoint(0, 0), surface_);
  const int selectedRow = itemIndex_ - TopIndex();
  if (focused && itemIndex_ >= 0 && selectedRow >= 0 && selectedRow * height < size.height()) {
    QStyleOptionFocusRect option;
    option.initFrom(viewport);
    option.rect = QRect(0, selectedRow * height, size.width(), height);
    option.backgroundColor = ToQColor(SelectedBrush);
    viewport->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, viewport);
  }
}
