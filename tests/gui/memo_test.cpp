#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QScrollBar>
#include <stdexcept>
#include <string>
#include <vector>

#include "Memo.h"
#include "support/GuiTest.h"
#include "support/ScratchFolder.h"

namespace {

class MemoTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 300);
    memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetAlign(alClient);
    memo->SetScrollBars(ssBoth);
    memo->SetReadOnly(true);
    memo->SetHideSelection(false);
    memo->Font()->SetName("Lucida Console");
    memo->Font()->SetSize(10);
    form->Show();
    form->Widget()->show();  // the window itself, so that the view lays out its scroll bars
  }
  void TearDown() override
  {
    form.reset();
    GuiTest::TearDown();
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
  std::unique_ptr<TForm> form;
  TMemo* memo = nullptr;
};

}  // namespace

TEST_F(MemoTest, PositionsCountEveryBreakAsCrLfWhateverTheFileUsed)
{
  ScratchFolder dir;
  memo->Lines()->LoadFromFile(dir.Write("log.qel", "abc\ndefg\r\r\nxy"));
  ASSERT_EQ(memo->Lines()->Count(), 4);
  EXPECT_EQ(memo->Lines()->Strings(1), "defg");
  EXPECT_EQ(memo->Text(), "abc\r\ndefg\r\n\r\nxy");
  EXPECT_EQ(memo->GetTextLen(), 15);

  // Line starts: each line's length plus 2, summed, as the parser counts them; and back, a
  // position inside a CR LF pair belongs to the line before it.
  std::vector<int> starts, lines;
  for (int line = 0; line <= 4; ++line)
    starts.push_back(memo->LineIndex(line));
  for (int position : {3, 4, 5, 12, 15, 1000})
    lines.push_back(memo->LineFromChar(position));
  EXPECT_EQ(starts, (std::vector<int>{0, 5, 11, 13, -1}));
  EXPECT_EQ(lines, (std::vector<int>{0, 0, 1, 2, 3, 3}));
}

TEST_F(MemoTest, TheEndButtonsCaretLandsBeforeTheFinalBreak)
{
  memo->SetText("first\nlast\n");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(memo->GetTextLen(), 13);
  memo->LineScroll(memo->Lines()->Count());
  memo->SetSelStart(memo->GetTextLen() - 2);
  EXPECT_EQ(memo->CaretPos().y, 1);
  EXPECT_EQ(memo->CaretPos().x, 4);
  // The empty line after the final break is where Ctrl+End goes.
  Key(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(memo->SelStart(), 13);
  EXPECT_EQ(memo->LineIndex(-1), 13);
  EXPECT_EQ(memo->LineIndex(2), 13);
}

TEST_F(MemoTest, SelectionSetByCodeAndTheCaretLineFollowsTheMovingEnd)
{
  memo->SetText("abc\ndefg\nhij");
  memo->SetSelStart(2);
  memo->SetSelLength(5);
  EXPECT_EQ(memo->SelStart(), 2);
  EXPECT_EQ(memo->SelLength(), 5);
  EXPECT_EQ(memo->SelText(), "c\r\nde");
  EXPECT_EQ(memo->LineIndex(-1), 5);  // the caret is at 7, on line 1, while SelStart is on line 0
  EXPECT_EQ(memo->LineFromChar(-1), 0);
  EXPECT_EQ(memo->CaretPos().y, 1);
  EXPECT_EQ(memo->CaretPos().x, 2);

  // Selecting backwards with the keyboard: the caret, and so the caret line, is the start.
  memo->SetSelStart(13);
  Key(QEvent::KeyPress, Qt::Key_Up, Qt::ShiftModifier);
  Key(QEvent::KeyPress, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(memo->SelStart(), 2);
  EXPECT_EQ(memo->SelLength(), 11);
  EXPECT_EQ(memo->LineIndex(-1), 0);
  EXPECT_EQ(memo->SelText(), "c\r\ndefg\r\nhi");

  // Positions past the text are clamped, never an error.
  memo->SetSelStart(100);
  EXPECT_EQ(memo->SelStart(), memo->GetTextLen());
  memo->SetSelLength(3);
  EXPECT_EQ(memo->SelLength(), 0);
  EXPECT_EQ(memo->SelText(), "");
}

TEST_F(MemoTest, LineScrollGoesToTheEndsAndPlacingTheCaretBringsItIntoView)
{
  std::string text;
  for (int i = 0; i < 400; ++i)
    text += "F1011000    " + std::to_string(i) + "\n";
  memo->SetText(text);
  QScrollBar* bar = VerticalBar();
  const int rows = bar->pageStep();
  ASSERT_GT(rows, 3);
  ASSERT_LT(rows, 100);

  memo->LineScroll(memo->Lines()->Count());
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(bar->value() + rows, 401);  // the empty line after the final break is the last
  memo->LineScroll(-memo->Lines()->Count());
  EXPECT_EQ(bar->value(), 0);

  // The chart-to-text placement: caret 250 characters on, then back at the line.
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
}

TEST_F(MemoTest, HelpPageClearAddThenTopOfTheText)
{
  memo->SetText("old\ntext\n");
  memo->Lines()->Clear();
  for (const char* line : {"Help", "", "F3 switches text and chart"})
    memo->Lines()->Add(line);
  for (int i = 0; i < 100; ++i)
    memo->Lines()->Add("line " + std::to_string(i));
  EXPECT_EQ(memo->Text().substr(0, 40), "Help\r\n\r\nF3 switches text and chart\r\nline");
  EXPECT_EQ(memo->GetTextLen(), 6 + 2 + 28 + 10 * 8 + 90 * 9);
  memo->LineScroll(50);
  ASSERT_GT(VerticalBar()->value(), 0);
  memo->SetSelStart(1);
  memo->SetSelLength(1);
  EXPECT_EQ(memo->SelText(), "e");
  EXPECT_EQ(VerticalBar()->value(), 0);
}

TEST_F(MemoTest, KeyUpAndMouseMoveReachTheProgramThroughTheGuard)
{
  memo->SetText("abc\ndef\n");
  std::vector<Word> keys;
  memo->OnKeyUp = [&](TObject* sender, Word& key, TShiftState) {
    EXPECT_EQ(sender, memo);
    keys.push_back(key);
  };
  Key(QEvent::KeyPress, Qt::Key_Down);
  Key(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, true);  // auto-repeat: no OnKeyUp
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
  EXPECT_EQ(moves[0].x, 7);  // client coordinates start at the text area's corner
  EXPECT_EQ(moves[0].y, 9);
  EXPECT_EQ(exceptions, std::vector<std::string>{"from the handler"});
  EXPECT_EQ(memo->ClientWidth(), viewport->width());
  EXPECT_EQ(memo->ClientHeight(), viewport->height());
}
