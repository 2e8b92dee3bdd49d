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
  // Presses the keys in turn and tells where the caret went after each, as "line:column", with
  // the anchor after a slash where it is elsewhere.
  std::string Keys(std::initializer_list<std::pair<int, Qt::KeyboardModifiers>> keys)
  {
    std::string where;
    auto at = [this](int64_t position) {
      const int64_t line = view->Store().LineOf(position);
      return std::to_string(line) + ":" + std::to_string(position - Start(line));
    };
    for (auto [key, modifiers] : keys) {
      QKeyEvent event(QEvent::KeyPress, key, modifiers);
      QApplication::sendEvent(view.get(), &event);
      where += " " + at(view->Caret()) + (view->Anchor() == view->Caret() ? "" : "/" + at(view->Anchor()));
    }
    return where;
  }
  void Mouse(QEvent::Type type, int cell, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    const QPointF at(cell * QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char('0')) + 1,
                     row * QFontMetrics(view->font()).height() + 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(view->viewport(), &event);
  }
  int64_t Start(int64_t line) const { return view->Store().LineStart(line); }
  std::pair<int64_t, int64_t> Selection() const { return {view->Anchor(), view->Caret()}; }

  std::unique_ptr<MemoView> view;
};

constexpr Qt::KeyboardModifiers None = Qt::NoModifier, Shift = Qt::ShiftModifier, Ctrl = Qt::ControlModifier;

// "Привет" in 1251, "Grüße" in UTF-8, "über" in 1252 (octal escapes where a hex digit follows).
const char kMixed[] = "\xCF\xF0\xE8\xE2\xE5\xF2 1251\nGr\xC3\xBC\303\237e utf8\n\374ber\na\tb\xC3\xBC\tc\n";

}  // namespace

// Tab stops every 8 cells; a two-byte UTF-8 letter fills one cell; an invisible character keeps
// its cell.
TEST_F(MemoViewTest, EachLineIsDecodedByTheDisplayRule)
{
  Load(kMixed + std::string("x\0y\x98z\xADw", 7));
  EXPECT_EQ(view->ScreenText(0), QString::fromUtf8("Привет 1251"));
  EXPECT_EQ(view->ScreenText(1), QString::fromUtf8("Grüße utf8"));
  EXPECT_EQ(view->ScreenText(2), QString::fromUtf8("ьber"));  // as a Russian desktop shows it
  EXPECT_EQ(view->ScreenText(3), QString::fromUtf8("a       bü      c"));
  EXPECT_EQ(view->ScreenText(4), QString::fromUtf8("x\xEF\xBF\xBDy\xEF\xBF\xBDz-w"));
  SetDisplayCodePage(1252);
  EXPECT_EQ(view->ScreenText(0), QString::fromUtf8("Ïðèâåò 1251"));
  EXPECT_EQ(view->ScreenText(2), QString::fromUtf8("über"));
}

TEST_F(MemoViewTest, CopyGivesTheSelectedBytesDecodedWithTabsAndLineBreaks)
{
  Load(kMixed);
  view->Select(Start(0) + 7, Start(3) + 5);  // from "1251" to the middle of "bü"
  EXPECT_EQ(view->SelectedText(), QString::fromUtf8("1251\nGrüße utf8\nьber\na\tbü"));
  Keys({{Qt::Key_C, Ctrl}});
  EXPECT_EQ(QApplication::clipboard()->text(), view->SelectedText());
  view->Select(Start(1) + 3, Start(1) + 4);  // the second byte of "ü" only
  EXPECT_EQ(view->SelectedText(), QString::fromUtf8("ü"));
}

// Left and right step over whole characters and across line breaks; up and down keep the column
// they came from; Shift extends from the anchor.
TEST_F(MemoViewTest, KeysMoveByWholeCharactersAndLinesAndShiftExtends)
{
  Load(kMixed);
  view->Select(Start(1), Start(1));
  EXPECT_EQ(Keys({{Qt::Key_Right, None},
                  {Qt::Key_Right, None},
                  {Qt::Key_Right, None},
                  {Qt::Key_Left, None},
                  {Qt::Key_Home, None},
                  {Qt::Key_Left, None},
                  {Qt::Key_Right, None},
                  {Qt::Key_End, None}}),
            " 1:1 1:2 1:4 1:2 1:0 0:11 1:0 1:12");
  Load("abcdef\nab\nabcdef\n");
  view->Select(4, 4);
  EXPECT_EQ(Keys({{Qt::Key_Down, None}, {Qt::Key_Down, Shift}, {Qt::Key_End, Ctrl | Shift}, {Qt::Key_Home, Ctrl}}),
            " 1:2 2:4/1:2 3:0/1:2 0:0");
}

TEST_F(MemoViewTest, ClickPlacesTheCaretAndShiftDragSelects)
{
  Load("0123456789\nabcdefghij\nABCDEFGHIJ\n");
  using Pair = std::pair<int64_t, int64_t>;
  Mouse(QEvent::MouseButtonPress, 3, 1);
  Mouse(QEvent::MouseButtonRelease, 3, 1);
  EXPECT_EQ(Selection(), Pair(Start(1) + 3, Start(1) + 3));
  Mouse(QEvent::MouseButtonPress, 5, 2, Qt::ShiftModifier);
  EXPECT_EQ(Selection(), Pair(Start(1) + 3, Start(2) + 5));
  Mouse(QEvent::MouseMove, 1, 0, Qt::ShiftModifier);  // dragged up, the caret follows
  EXPECT_EQ(Selection(), Pair(Start(1) + 3, 1));
  Mouse(QEvent::MouseButtonRelease, 1, 0);
  Mouse(QEvent::MouseMove, 8, 2);  // no button held: nothing moves
  EXPECT_EQ(Selection(), Pair(Start(1) + 3, 1));
}

// Scrolling leaves the caret alone; lines wider on screen than in bytes widen the range when
// they are painted.
TEST_F(MemoViewTest, SelectingScrollsTheCaretIntoViewAndLineScrollStopsAtTheEnds)
{
  std::string text;
  for (int i = 0; i < 1000; ++i)
    text += "line " + std::to_string(i) + "\n";
  Load(text + std::string(500, 'w'));
  QScrollBar* vbar = view->verticalScrollBar();
  QScrollBar* hbar = view->horizontalScrollBar();
  const int rows = vbar->pageStep();
  view->Select(Start(600), Start(600) + 2);
  EXPECT_LE(vbar->value(), 600);
  EXPECT_GT(vbar->value() + rows, 600);
  view->ScrollLines(-1000);
  EXPECT_EQ(vbar->value(), 0);
  view->ScrollLines(1001);
  EXPECT_EQ(vbar->value(), 1001 - rows);
  EXPECT_EQ(vbar->maximum(), 1001 - rows);
  EXPECT_EQ(view->Caret(), Start(600) + 2);
  view->Select(view->Store().TextLength(), view->Store().TextLength());
  EXPECT_GT(hbar->value(), 0);
  EXPECT_LE(hbar->value(), 500);
  EXPECT_GT(hbar->value() + hbar->pageStep(), 500);
  view->Select(Start(1000), Start(1000));
  EXPECT_EQ(hbar->value(), 0);

  Load("short\n" + std::string(20, '\t') + "x");
  EXPECT_EQ(hbar->maximum(), 0);  // 21 bytes fit the view
  view->viewport()->grab();       // paints the lines in view
  EXPECT_EQ(hbar->maximum() + hbar->pageStep(), 20 * 8 + 1 + 1);
}
