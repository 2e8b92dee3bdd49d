#pragma once
// The widget of a memo: paints only the lines in view, each decoded when painted, on a grid
// of fixed-pitch cells (no wrap, tab stops of 8). It never edits, but shows a caret that the
// keyboard and the mouse move and that drags a selection, as a read-only edit control does.
// Logs of hundreds of MB stay as bytes in the store; nothing here grows with the text.
#include <cstdint>
#include <utility>

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include "MemoStore.h"

struct MemoLineText;

class MemoView : public QAbstractScrollArea {
  Q_OBJECT

public:
  explicit MemoView(QWidget* parent = nullptr);

  MemoStore& Store() { return store_; }
  const MemoStore& Store() const { return store_; }
  // To be called after the store changed: a replaced text is shown from its top with the caret
  // at 0; after a line edit the caret and the selection keep what still lies in the text.
  void TextChanged(bool replaced);

  // Positions as the store counts them. The caret is the moving end of the selection.
  int64_t Caret() const { return caret_; }
  int64_t Anchor() const { return anchor_; }
  // Selects from anchor to caret, both clamped to the text, and scrolls the caret into view.
  void Select(int64_t anchor, int64_t caret);
  // Scrolls by whole lines; the view stops at the first line and at the last page.
  void ScrollLines(int64_t lines);
  // A hidden selection shows only while the view has the focus.
  void SetHideSelection(bool hide);
  // The code page the bytes are shown in; 0 follows the display code page.
  void SetCodePage(int codePage);

  // A line as it is painted: decoded, tabs expanded, one QChar per cell.
  QString ScreenText(int64_t viewLine) const;
  // The selection as it goes to the clipboard: each line decoded, lines joined by "\n".
  QString SelectedText() const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

private:
  MemoLineText Decode(int64_t viewLine, bool forScreen) const;
  void UpdateMetrics();
  void UpdateScrollBars();
  int VisibleLines() const;
  int VisibleColumns() const;
  void MoveCaret(int64_t position, bool extend);
  void EnsureCaretVisible();
  int64_t LineAt(int y) const;
  int64_t PositionAt(QPoint point) const;
  // The bytes of a line around `byte` that a double click selects, as [from, to).
  std::pair<int64_t, int64_t> WordAround(int64_t viewLine, int64_t byte) const;
  int64_t VerticalMove(int64_t lines);
  void RestartBlink();
  void SelectionRange(int64_t& from, int64_t& to) const;

  MemoStore store_;
  int64_t caret_ = 0;
  int64_t anchor_ = 0;
  bool hideSelection_ = true;
  int codePage_ = 0;
  // Cell the caret keeps to while it moves up and down; -1 when it should take its own.
  int goalCell_ = -1;
  // Horizontal extent in cells: the longest line in bytes, or more once a line with tabs shows.
  int64_t widestCells_ = 0;
  // The font the lines are painted in: the widget's, or a fixed-pitch one of its size.
  QFont gridFont_;
  qreal cellWidth_ = 8;
  int lineHeight_ = 16;
  int ascent_ = 12;
  bool dragging_ = false;
  bool caretShown_ = true;
  QBasicTimer blink_;
};
