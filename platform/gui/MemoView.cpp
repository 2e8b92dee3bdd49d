#include "MemoView.h"

#include <algorithm>
#include <climits>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "CodePage.h"
#include "MemoLineText.h"
#include "TextBoundary.h"

namespace {

int ClampToInt(int64_t value)
{
  return static_cast<int>(std::clamp<int64_t>(value, 0, INT_MAX));
}

}  // namespace

MemoView::MemoView(QWidget* parent) : QAbstractScrollArea(parent)
{
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setFocusPolicy(Qt::StrongFocus);
  setLayoutDirection(Qt::LeftToRight);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  UpdateMetrics();
  UpdateScrollBars();
}

MemoLineText MemoView::Decode(int64_t viewLine, bool forScreen) const
{
  return MemoLineText::Decode(store_.ViewLine(viewLine), codePage_, forScreen);
}

QString MemoView::ScreenText(int64_t viewLine) const
{
  return Decode(viewLine, true).text;
}

void MemoView::TextChanged(bool replaced)
{
  widestCells_ = store_.MaxLineLength();
  goalCell_ = -1;
  if (replaced) {
    caret_ = anchor_ = 0;
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
  } else {
    const int64_t length = store_.TextLength();
    caret_ = std::min(caret_, length);
    anchor_ = std::min(anchor_, length);
    UpdateScrollBars();
  }
  viewport()->update();
}

void MemoView::Select(int64_t anchor, int64_t caret)
{
  const int64_t length = store_.TextLength();
  anchor_ = std::clamp<int64_t>(anchor, 0, length);
  caret_ = std::clamp<int64_t>(caret, 0, length);
  goalCell_ = -1;
  EnsureCaretVisible();
  RestartBlink();
  viewport()->update();
}

void MemoView::ScrollLines(int64_t lines)
{
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(ClampToInt(bar->value() + std::clamp<int64_t>(lines, -INT_MAX, INT_MAX)));
}

void MemoView::SetHideSelection(bool hide)
{
  hideSelection_ = hide;
  viewport()->update();
}

void MemoView::SelectionRange(int64_t& from, int64_t& to) const
{
  from = std::min(anchor_, caret_);
  to = std::max(anchor_, caret_);
}

QString MemoView::SelectedText() const
{
  int64_t from, to;
  SelectionRange(from, to);
  QString out;
  for (int64_t line = store_.LineOf(from); from < to && line < store_.ViewLineCount(); ++line) {
    const int64_t start = store_.LineStart(line);
    const int64_t length = store_.LineLength(line);
    const MemoLineText text = Decode(line, false);
    const int a = text.indexOfByte[static_cast<size_t>(std::clamp<int64_t>(from - start, 0, length))];
    const int b = text.indexOfByte[static_cast<size_t>(std::clamp<int64_t>(to - start, 0, length))];
    out += text.text.mid(a, b - a);
    if (to > start + length && line + 1 < store_.ViewLineCount())
      out += QLatin1Char('\n');
    if (to <= start + length + 2)
      break;
  }
  return out;
}

// ---- geometry ----

void MemoView::UpdateMetrics()
{
  // The cells need a fixed-pitch font; any other gives way to the system's, at its size.
  gridFont_ = font();
  if (!QFontInfo(gridFont_).fixedPitch()) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (gridFont_.pixelSize() > 0)
      fixed.setPixelSize(gridFont_.pixelSize());
    else
      fixed.setPointSizeF(gridFont_.pointSizeF());
    fixed.setBold(gridFont_.bold());
    gridFont_ = fixed;
  }
  const QFontMetricsF metrics(gridFont_);
  // Glyphs of a fixed-pitch font advance by the same, possibly fractional, width.
  cellWidth_ = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('0')));
  const QFontMetrics whole(gridFont_);
  lineHeight_ = std::max(1, whole.height());
  ascent_ = whole.ascent();
}

int MemoView::VisibleLines() const
{
  return std::max(1, viewport()->height() / lineHeight_);
}

int MemoView::VisibleColumns() const
{
  return std::max(1, static_cast<int>(viewport()->width() / cellWidth_));
}

void MemoView::UpdateScrollBars()
{
  const int rows = VisibleLines();
  QScrollBar* vbar = verticalScrollBar();
  vbar->setRange(0, ClampToInt(store_.ViewLineCount() - rows));
  vbar->setPageStep(rows);
  vbar->setSingleStep(1);
  // One cell more than the widest line, for the caret behind its last character.
  const int columns = VisibleColumns();
  QScrollBar* hbar = horizontalScrollBar();
  hbar->setRange(0, ClampToInt(widestCells_ + 1 - columns));
  hbar->setPageStep(columns);
  hbar->setSingleStep(1);
}

void MemoView::EnsureCaretVisible()
{
  const int64_t line = store_.LineOf(caret_);
  QScrollBar* vbar = verticalScrollBar();
  const int rows = VisibleLines();
  if (line < vbar->value())
    vbar->setValue(ClampToInt(line));
  else if (line >= vbar->value() + rows)
    vbar->setValue(ClampToInt(line - rows + 1));

  const MemoLineText text = Decode(line, true);
  const int64_t column = std::min(caret_ - store_.LineStart(line), store_.LineLength(line));
  const int cell = text.indexOfByte[static_cast<size_t>(column)];
  if (text.text.size() > widestCells_) {
    widestCells_ = text.text.size();
    UpdateScrollBars();
  }
  // Sideways the view jumps by a third of its width, so that the caret does not sit at the edge.
  QScrollBar* hbar = horizontalScrollBar();
  const int columns = VisibleColumns();
  if (cell < hbar->value())
    hbar->setValue(std::max(0, cell - columns / 3));
  else if (cell >= hbar->value() + columns)
    hbar->setValue(cell - columns + 1 + columns / 3);
}

int64_t MemoView::LineAt(int y) const
{
  const int row = y >= 0 ? y / lineHeight_ : -1 - (-y - 1) / lineHeight_;
  return std::clamp<int64_t>(int64_t{verticalScrollBar()->value()} + row, 0, store_.ViewLineCount() - 1);
}

int64_t MemoView::PositionAt(QPoint point) const
{
  const int64_t line = LineAt(point.y());
  const int cell = std::max(0, horizontalScrollBar()->value() + qRound(point.x() / cellWidth_));
  return store_.LineStart(line) + Decode(line, true).ByteNearCell(cell);
}

std::pair<int64_t, int64_t> MemoView::WordAround(int64_t viewLine, int64_t byte) const
{
  const std::string_view bytes = store_.ViewLine(viewLine);
  const auto size = static_cast<int64_t>(bytes.size());
  if (byte < 0 || byte >= size)
    return {byte, byte};
  // Letters, digits and the underscore of the text's code page make words; in a line shown as
  // UTF-8 each byte of a multi-byte character counts as a letter, so no character is split.
  const bool utf8 = IsUtf8WithHighBytes(bytes);
  // The code page the line is shown in: a log stays Windows-1251 in every language.
  const int codePage = codePage_ ? codePage_ : DisplayCodePage();
  enum Kind { Word, Blank, Other };
  auto kind = [&](int64_t i) {
    const auto ch = static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
    if (ch == '_' || (utf8 && ch >= 0x80) || QChar::isLetterOrNumber(AnsiCharToUnicode(ch, codePage)))
      return Word;
    return ch == ' ' || ch == '\t' ? Blank : Other;
  };
  const Kind under = kind(byte);
  if (under == Other)  // a sign stands alone
    return {byte, byte + 1};
  // A run is bounded, so that a double click in a line of millions of letters stays quick.
  constexpr int64_t MaxRun = 4096;
  int64_t from = byte, to = byte + 1;
  while (from > 0 && byte - from < MaxRun && kind(from - 1) == under)
    --from;
  while (to < size && to - byte < MaxRun && kind(to) == under)
    ++to;
  return {from, to};
}

// ---- caret ----

void MemoView::MoveCaret(int64_t position, bool extend)
{
  caret_ = std::clamp<int64_t>(position, 0, store_.TextLength());
  if (!extend)
    anchor_ = caret_;
  EnsureCaretVisible();
  RestartBlink();
  viewport()->update();
}

int64_t MemoView::VerticalMove(int64_t lines)
{
  const int64_t line = store_.LineOf(caret_);
  if (goalCell_ < 0) {
    const int64_t column = std::min(caret_ - store_.LineStart(line), store_.LineLength(line));
    goalCell_ = Decode(line, true).indexOfByte[static_cast<size_t>(column)];
  }
  const int64_t target = std::clamp<int64_t>(line + lines, 0, store_.ViewLineCount() - 1);
  return store_.LineStart(target) + Decode(target, true).ByteNearCell(goalCell_);
}

void MemoView::RestartBlink()
{
  caretShown_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (hasFocus() && flash > 0)
    blink_.start(flash / 2, this);
  else
    blink_.stop();
}

void MemoView::timerEvent(QTimerEvent* event)
{
  if (event->timerId() != blink_.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  caretShown_ = !caretShown_;
  const int64_t row = store_.LineOf(caret_) - verticalScrollBar()->value();
  if (row >= 0 && row < VisibleLines() + 1)
    viewport()->update(0, static_cast<int>(row) * lineHeight_, viewport()->width(), lineHeight_);
}

// ---- events ----

void MemoView::keyPressEvent(QKeyEvent* event)
{
  if (event->matches(QKeySequence::Copy)) {
    if (caret_ != anchor_)
      QApplication::clipboard()->setText(SelectedText());
    return;
  }
  const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
  const bool control = event->modifiers().testFlag(Qt::ControlModifier);
  const int64_t line = store_.LineOf(caret_);
  const int64_t start = store_.LineStart(line);
  const int64_t length = store_.LineLength(line);
  const int column = static_cast<int>(std::min(caret_ - start, length));
  int64_t target;
  bool vertical = false;
  switch (event->key()) {
  case Qt::Key_Left:
    if (column > 0)
      target = start + Decode(line, false).PrevChar(column);
    else
      target = line > 0 ? start - 2 : 0;  // the end of the line before
    break;
  case Qt::Key_Right:
    if (column < length)
      target = start + Decode(line, false).NextChar(column);
    else
      target = line + 1 < store_.ViewLineCount() ? store_.LineStart(line + 1) : caret_;
    break;
  case Qt::Key_Up:
  case Qt::Key_Down:
    target = VerticalMove(event->key() == Qt::Key_Up ? -1 : 1);
    vertical = true;
    break;
  case Qt::Key_PageUp:
  case Qt::Key_PageDown: {
    const int page = event->key() == Qt::Key_PageUp ? -VisibleLines() : VisibleLines();
    target = VerticalMove(page);
    ScrollLines(page);
    vertical = true;
    break;
  }
  case Qt::Key_Home: target = control ? 0 : start; break;
  case Qt::Key_End: target = control ? store_.TextLength() : start + length; break;
  default: event->ignore(); return;
  }
  if (!vertical)
    goalCell_ = -1;
  MoveCaret(target, extend);
}

void MemoView::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  goalCell_ = -1;
  dragging_ = true;
  MoveCaret(PositionAt(event->position().toPoint()), event->modifiers().testFlag(Qt::ShiftModifier));
}

void MemoView::mouseMoveEvent(QMouseEvent* event)
{
  if (dragging_ && event->buttons().testFlag(Qt::LeftButton))
    MoveCaret(PositionAt(event->position().toPoint()), true);
}

void MemoView::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton)
    dragging_ = false;
}

void MemoView::mouseDoubleClickEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  // The character under the pointer, not the nearest gap as a click takes.
  const QPoint point = event->position().toPoint();
  const int64_t line = LineAt(point.y());
  const int cell = std::max(0, horizontalScrollBar()->value() + static_cast<int>(point.x() / cellWidth_));
  const MemoLineText text = Decode(line, true);
  int byte = text.ByteNearCell(cell);
  if (byte > 0 && (byte == text.Length() || text.indexOfByte[static_cast<size_t>(byte)] > cell))
    byte = text.PrevChar(byte);
  const auto [from, to] = WordAround(line, byte);
  const int64_t start = store_.LineStart(line);
  goalCell_ = -1;
  dragging_ = false;
  anchor_ = start + from;
  MoveCaret(start + to, true);
}

void MemoView::focusInEvent(QFocusEvent* event)
{
  QAbstractScrollArea::focusInEvent(event);
  RestartBlink();
  viewport()->update();
}

void MemoView::focusOutEvent(QFocusEvent* event)
{
  QAbstractScrollArea::focusOutEvent(event);
  blink_.stop();
  dragging_ = false;
  viewport()->update();
}

void MemoView::resizeEvent(QResizeEvent* event)
{
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void MemoView::SetCodePage(int codePage)
{
  codePage_ = codePage;
  viewport()->update();
}

void MemoView::changeEvent(QEvent* event)
{
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    UpdateMetrics();
    UpdateScrollBars();
    viewport()->update();
  }
}

void MemoView::scrollContentsBy(int, int)
{
  viewport()->update();
}

void MemoView::paintEvent(QPaintEvent* event)
{
  QPainter painter(viewport());
  const QRect area = event->rect();
  painter.fillRect(area, palette().color(QPalette::Base));
  painter.setFont(gridFont_);

  int64_t from, to;
  SelectionRange(from, to);
  const bool showSelection = from < to && (!hideSelection_ || hasFocus());
  const QColor textColor = palette().color(QPalette::Active, QPalette::Text);
  const QColor highlight = palette().color(QPalette::Active, QPalette::Highlight);
  const QColor highlightedText = palette().color(QPalette::Active, QPalette::HighlightedText);

  const int64_t first = verticalScrollBar()->value();
  const int left = horizontalScrollBar()->value();
  const int columns = VisibleColumns() + 2;
  const int width = viewport()->width();
  const int64_t caretLine = store_.LineOf(caret_);
  bool wider = false;
  for (int row = area.top() / lineHeight_; row <= area.bottom() / lineHeight_; ++row) {
    const int64_t line = first + row;
    if (line >= store_.ViewLineCount())
      break;
    const int y = row * lineHeight_;
    const MemoLineText text = Decode(line, true);
    if (text.text.size() > widestCells_) {
      widestCells_ = text.text.size();
      wider = true;
    }
    const QString shown = text.text.mid(left, columns);
    painter.setPen(textColor);
    painter.drawText(QPointF(0, y + ascent_), shown);

    const int64_t start = store_.LineStart(line);
    const int64_t length = store_.LineLength(line);
    if (showSelection && from <= start + length && to > start) {
      int a = text.indexOfByte[static_cast<size_t>(std::clamp<int64_t>(from - start, 0, length))];
      int b = text.indexOfByte[static_cast<size_t>(std::clamp<int64_t>(to - start, 0, length))];
      // A selected line break shows as one cell behind the line.
      if (to > start + length && line + 1 < store_.ViewLineCount())
        ++b;
      if (a < b) {
        const QRectF band((a - left) * cellWidth_, y, (b - a) * cellWidth_, lineHeight_);
        painter.save();
        painter.setClipRect(band);
        painter.fillRect(band, highlight);
        painter.setPen(highlightedText);
        painter.drawText(QPointF(0, y + ascent_), shown);
        painter.restore();
      }
    }
    if (line == caretLine && hasFocus() && caretShown_) {
      const int64_t column = std::min(caret_ - start, length);
      const qreal x = (text.indexOfByte[static_cast<size_t>(column)] - left) * cellWidth_;
      if (x >= 0 && x < width)
        painter.fillRect(QRectF(x, y, 1, lineHeight_), textColor);
    }
  }
  if (wider)
    UpdateScrollBars();
}
