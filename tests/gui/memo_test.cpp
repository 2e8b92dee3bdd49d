#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QScrollBar>
#include <stdexcept>
#include <string>
#include <vector>

#include "Memo.h"
#include "support/FormTest.h"
#include "support/ScratchFolder.h"

namespace {

// A read-only memo filling a shown form, as the program's text view.
class MemoTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    memo = Place<TMemo>(0, 0, 500, 300);
    memo->SetScrollBars(ssBoth);
    memo->SetReadOnly(true);
    memo->SetHideSelection(false);
    form->Show();
    form->Widget()->show();  // the window itself, so that the view lays out its scroll bars
  }

  QScrollBar* VerticalBar() const
  {
    return static_cast<QAbstractScrollArea*>(memo->Widget())->verticalScrollBar();
  }
  void Key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false)
  {
    QKeyEvent event(type, key, modifiers, QString(), repeat);
    QCoreApplication::sendEvent(memo->Widget(), &event);
  }
  // Selection start and length, the selected text, and the caret as line:column.
  std::string Selection() const
  {
    return std::to_string(memo->SelStart()) + "+" + std::to_string(memo->SelLength()) + " \"" + memo->SelText() +
           "\" " + std::to_string(memo->CaretPos().y) + ":" + std::to_string(memo->CaretPos().x);
  }

  TMemo* memo = nullptr;
};

}  // namespace

// Line starts are each line's length plus 2, summed, as the parser counts them; and back, a
// position inside a CR LF pair belongs to the line before it. Ctrl+End goes to the empty line
// after a final break.
TEST_F(MemoTest, PositionsCountEveryBreakAsCrLfWhateverTheFileUsed)
{
  ScratchFolder dir;
  memo->Lines()->LoadFromFile(dir.Write("log.qel", "abc\ndefg\r\r\nxy"));
  EXPECT_EQ(memo->Text(), "abc\r\ndefg\r\n\r\nxy");
  EXPECT_EQ(memo->GetTextLen(), 15);
  std::vector<int> starts, lines;
  for (int line = 0; line <= 4; ++line)
    starts.push_back(memo->LineIndex(line));
  for (int position : {3, 4, 5, 12, 15, 1000})
    lines.push_back(memo->LineFromChar(position));
  EXPECT_EQ(starts, (std::vector<int>{0, 5, 11, 13, -1}));
  EXPECT_EQ(lines, (std::vector<int>{0, 0, 1, 2, 3, 3}));

  memo->SetText("first\nlast\n");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  memo->SetSelStart(memo->GetTextLen() - 2);
  EXPECT_EQ(Selection(), "11+0 \"\" 1:4");
  Key(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Selection(), "13+0 \"\" 2:0");
  EXPECT_EQ(memo->LineIndex(-1), 13);
  EXPECT_EQ(memo->LineIndex(2), 13);
}

// The caret, and so the caret line, is the moving end of the selection: its end when set by
// code, its start when Shift+Up selected backwards. Positions past the text are clamped.
TEST_F(MemoTest, SelectionSetByCodeAndTheCaretLineFollowsTheMovingEnd)
{
  memo->SetText("abc\ndefg\nhij");
  memo->SetSelStart(2);
  memo->SetSelLength(5);
  EXPECT_EQ(Selection(), "2+5 \"c\r\nde\" 1:2");
  EXPECT_EQ(memo->LineIndex(-1), 5);
  EXPECT_EQ(memo->LineFromChar(-1), 0);
  memo->SetSelStart(13);
  Key(QEvent::KeyPress, Qt::Key_Up, Qt::ShiftModifier);
  Key(QEvent::KeyPress, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(Selection(), "2+11 \"c\r\ndefg\r\nhi\" 0:2");
  EXPECT_EQ(memo->LineIndex(-1), 0);
  memo->SetSelStart(100);
  memo->SetSelLength(3);
  EXPECT_EQ(Selection(), "14+0 \"\" 2:3");
}

// The help page is cleared and added line by line, then shown from the top; the chart-to-text
// placement puts the caret 250 characters on, then back at the line: each brought into view.
TEST_F(MemoTest, LineScrollGoesToTheEndsAndPlacingTheCaretBringsItIntoView)
{
  memo->SetText("old\ntext\n");
  memo->Lines()->Clear();
  for (int i = 0; i < 400; ++i)
    memo->Lines()->Add("F1011000    " + std::to_string(i));
  EXPECT_EQ(memo->Text().substr(0, 31), "F1011000    0\r\nF1011000    1\r\nF");
  QScrollBar* bar = VerticalBar();
  const int rows = bar->pageStep();
  ASSERT_GT(rows, 3);
  ASSERT_LT(rows, 100);
  memo->LineScroll(memo->Lines()->Count());
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(bar->value() + rows, 401);  // the empty line after the final break is the last
  memo->LineScroll(-memo->Lines()->Count());
  EXPECT_EQ(bar->value(), 0);

  const int line = 200;
  const int position = memo->LineIndex(line);
  const int below = memo->LineFromChar(position + 250);
  ASSERT_GT(below, line + 10);
  memo->SetSelStart(position + 250);
  memo->SetSelLength(1);
  EXPECT_LE(bar->value(), below);
  EXPECT_GT(bar->value() + rows, below);
  memo->SetSelStart(position);
  memo->SetSelLength(6);
  EXPECT_LE(bar->value(), line);
  EXPECT_GT(bar->value() + rows, line);
  EXPECT_EQ(memo->SelText(), "F10110");
  memo->SetSelStart(1);
  EXPECT_EQ(bar->value(), 0);
}

// Auto-repeated releases are no OnKeyUp; client coordinates start at the text area's corner; a
// handler's exception reaches Application->HandleException.
TEST_F(MemoTest, KeyUpAndMouseMoveReachTheProgramThroughTheGuard)
{
  memo->SetText("abc\ndef\n");
  std::vector<Word> keys;
  memo->OnKeyUp = [&](TObject* sender, Word& key, TShiftState) {
    EXPECT_EQ(sender, memo);
    keys.push_back(key);
  };
  Key(QEvent::KeyPress, Qt::Key_Down);
  Key(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, true);
  Key(QEvent::KeyRelease, Qt::Key_Down);
  EXPECT_EQ(keys, std::vector<Word>{0x28});  // VK_DOWN
  EXPECT_EQ(memo->SelStart(), 5);

  QWidget* viewport = static_cast<QAbstractScrollArea*>(memo->Widget())->viewport();
  std::vector<TPoint> moves;
  memo->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
    moves.push_back(TPoint{x, y});
    throw std::runtime_error("from the handler");
  };
  SendMouse(viewport, QEvent::MouseMove, QPoint(7, 9), Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(std::to_string(moves[0].x) + "," + std::to_string(moves[0].y), "7,9");
  EXPECT_EQ(exceptions, std::vector<std::string>{"from the handler"});
  EXPECT_EQ(memo->ClientWidth(), viewport->width());
  EXPECT_EQ(memo->ClientHeight(), viewport->height());
}
