#include <memory>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "MemoView.h"
#include "TextBoundary.h"
#include "support/GuiTest.h"

namespace {

class MemoViewTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    SetDisplayCodePage(1251);
    view = std::make_unique<MemoView>();
    view->resize(400, 200);
    view->show();
  }
  void TearDown() override
  {
    SetDisplayCodePage(1251);
    view.reset();
    GuiTest::TearDown();
  }

  void Load(const std::string& bytes)
  {
    view->Store().SetText(bytes);
    view->TextChanged(true);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(view.get(), &event);
  }
  void Mouse(QEvent::Type type, int cell, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    const QFontMetricsF metrics(view->font());
    const QPointF at(cell * metrics.horizontalAdvance(QLatin1Char('0')) + 1,
                     row * QFontMetrics(view->font()).height() + 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(view->viewport(), &event);
  }
  int64_t Start(int64_t line) const { return view->Store().LineStart(line); }

  std::unique_ptr<MemoView> view;
};

const char kMixed[] = "\xCF\xF0\xE8\xE2\xE5\xF2 1251\n"  // "Привет" in 1251
                      "Gr\xC3\xBC\xC3\x9F"
                      "e utf8\n"  // "Grüße" in UTF-8
                      "\xFC"
                      "ber\n"  // "über" in 1252
                      "a\tb\xC3\xBC\tc\n";

}  // namespace

TEST_F(MemoViewTest, EachLineIsDecodedByTheDisplayRule)
{
  Load(kMixed);
  EXPECT_EQ(view->ScreenText(0), QString::fromUtf8("Привет 1251"));
  EXPECT_EQ(view->ScreenText(1), QString::fromUtf8("Grüße utf8"));
  EXPECT_EQ(view->ScreenText(2), QString::fromUtf8("ьber"));  // as a Russian desktop shows it
  SetDisplayCodePage(1252);
  EXPECT_EQ(view->ScreenText(0), QString::fromUtf8("Ïðèâåò 1251"));
  EXPECT_EQ(view->ScreenText(2), QString::fromUtf8("über"));
  // Tab stops every 8 cells; a two-byte UTF-8 letter fills one cell.
  EXPECT_EQ(view->ScreenText(3), QString::fromUtf8("a       bü      c"));
}

TEST_F(MemoViewTest, InvisibleCharactersKeepTheirCell)
{
  Load(std::string("x\0y\x98z\xADw", 7));
  EXPECT_EQ(view->ScreenText(0), QString::fromUtf8("x\xEF\xBF\xBDy\xEF\xBF\xBDz-w"));
}

TEST_F(MemoViewTest, CopyGivesTheSelectedBytesDecodedWithTabsAndLineBreaks)
{
  Load(kMixed);
  view->Select(Start(0) + 7, Start(3) + 5);  // from "1251" to the middle of "bü"
  EXPECT_EQ(view->SelectedText(), QString::fromUtf8("1251\nGrüße utf8\nьber\na\tbü"));
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), view->SelectedText());

  view->Select(Start(1) + 3, Start(1) + 4);  // the second byte of "ü" only
  EXPECT_EQ(view->SelectedText(), QString::fromUtf8("ü"));
}

TEST_F(MemoViewTest, ArrowsStepOverWholeCharactersAndAcrossLineBreaks)
{
  Load(kMixed);
  view->Select(Start(1), Start(1));
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  EXPECT_EQ(view->Caret(), Start(1) + 4);  // G, r, and the two bytes of ü
  Key(Qt::Key_Left);
  EXPECT_EQ(view->Caret(), Start(1) + 2);
  Key(Qt::Key_Home);
  Key(Qt::Key_Left);
  EXPECT_EQ(view->Caret(), Start(0) + 11);  // end of the line above, before its CR LF
  Key(Qt::Key_Right);
  EXPECT_EQ(view->Caret(), Start(1));
  Key(Qt::Key_End);
  EXPECT_EQ(view->Caret(), Start(1) + 12);
  EXPECT_EQ(view->Anchor(), view->Caret());
}

TEST_F(MemoViewTest, UpAndDownKeepTheColumnAndShiftExtendsFromTheAnchor)
{
  Load("abcdef\nab\nabcdef\n");
  view->Select(4, 4);
  Key(Qt::Key_Down);
  EXPECT_EQ(view->Caret(), Start(1) + 2);  // the short line's end
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(view->Caret(), Start(2) + 4);  // back to the column it came from
  EXPECT_EQ(view->Anchor(), Start(1) + 2);
  Key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(view->Caret(), view->Store().TextLength());
  EXPECT_EQ(view->Anchor(), Start(1) + 2);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(view->Caret(), 0);
  EXPECT_EQ(view->Anchor(), 0);
}

TEST_F(MemoViewTest, ClickPlacesTheCaretAndShiftDragSelects)
{
  Load("0123456789\nabcdefghij\nABCDEFGHIJ\n");
  Mouse(QEvent::MouseButtonPress, 3, 1);
  Mouse(QEvent::MouseButtonRelease, 3, 1);
  EXPECT_EQ(view->Caret(), Start(1) + 3);
  EXPECT_EQ(view->Anchor(), Start(1) + 3);

  Mouse(QEvent::MouseButtonPress, 5, 2, Qt::ShiftModifier);
  EXPECT_EQ(view->Anchor(), Start(1) + 3);
  EXPECT_EQ(view->Caret(), Start(2) + 5);
  Mouse(QEvent::MouseMove, 1, 0, Qt::ShiftModifier);  // dragged up, the caret follows
  EXPECT_EQ(view->Caret(), 1);
  Mouse(QEvent::MouseButtonRelease, 1, 0);
  Mouse(QEvent::MouseMove, 8, 2);  // no button held: nothing moves
  EXPECT_EQ(view->Caret(), 1);
  EXPECT_EQ(view->Anchor(), Start(1) + 3);
}

TEST_F(MemoViewTest, SelectingScrollsTheCaretIntoViewAndLineScrollStopsAtTheEnds)
{
  std::string text;
  for (int i = 0; i < 1000; ++i)
    text += "line " + std::to_string(i) + "\n";
  text += std::string(500, 'w');
  Load(text);
  QScrollBar* vbar = view->verticalScrollBar();
  QScrollBar* hbar = view->horizontalScrollBar();
  const int rows = vbar->pageStep();

  view->Select(Start(600), Start(600) + 2);
  EXPECT_LE(vbar->value(), 600);
  EXPECT_GT(vbar->value() + rows, 600);
  view->ScrollLines(-1000);
  EXPECT_EQ(vbar->value(), 0);
  view->ScrollLines(1001);
  EXPECT_EQ(vbar->value(), vbar->maximum());
  EXPECT_EQ(vbar->maximum(), 1001 - rows);
  EXPECT_EQ(view->Caret(), Start(600) + 2);  // scrolling leaves the caret alone

  view->Select(view->Store().TextLength(), view->Store().TextLength());
  EXPECT_GT(hbar->value(), 0);
  EXPECT_LE(hbar->value(), 500);
  EXPECT_GT(hbar->value() + hbar->pageStep(), 500);
  view->Select(Start(1000), Start(1000));
  EXPECT_EQ(hbar->value(), 0);
}

TEST_F(MemoViewTest, LinesWiderOnScreenThanInBytesWidenTheScrollRangeWhenShown)
{
  Load("short\n" + std::string(20, '\t') + "x");
  QScrollBar* hbar = view->horizontalScrollBar();
  EXPECT_EQ(hbar->maximum(), 0);  // 21 bytes fit the view
  view->viewport()->grab();       // paints the lines in view
  EXPECT_EQ(hbar->maximum() + hbar->pageStep(), 20 * 8 + 1 + 1);
}

TEST_F(MemoViewTest, ANewTextStartsAtTheTopAndAnEditKeepsWhatStillExists)
{
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "row\n";
  Load(text);
  view->Select(Start(90), Start(95));
  ASSERT_GT(view->verticalScrollBar()->value(), 0);

  view->Store().Delete(50);
  view->TextChanged(false);
  EXPECT_EQ(view->Anchor(), 90 * 5);  // positions stay numbers; the text moved under them
  EXPECT_EQ(view->Caret(), 95 * 5);

  view->Store().SetText("ab\n");
  view->TextChanged(false);
  EXPECT_EQ(view->Caret(), 4);  // clamped to the shorter text
  Load("x");
  EXPECT_EQ(view->Caret(), 0);
  EXPECT_EQ(view->Anchor(), 0);
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
}
