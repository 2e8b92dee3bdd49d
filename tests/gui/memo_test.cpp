// The text view: the memo and the view that shows its store.
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QScrollBar>
#include <string>
#include <vector>

#include "Memo.h"
#include "MemoView.h"
#include "TextBoundary.h"
#include "support/FormTest.h"
#include "support/ScratchFolder.h"
#include "support/WindowInput.h"

namespace {

// A read-only memo filling a shown form, as the program's text view.
class MemoTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    SetDisplayCodePage(1251);
    memo = Place<TMemo>(0, 0, 500, 300);
    memo->SetScrollBars(ssBoth);
    memo->SetReadOnly(true);
    memo->SetHideSelection(false);
    // A fixed-pitch font, so that the view draws its cells with this font's metrics.
    memo->Font()->SetName(QFontDatabase::systemFont(QFontDatabase::FixedFont).family().toStdString());
    view = static_cast<MemoView*>(memo->Widget());
    form->Show();
    form->Widget()->show();  // the window itself, so that the view lays out its scroll bars
  }
  void TearDown() override
  {
    FormTest::TearDown();
    SetDisplayCodePage(1251);
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(view, &event);
  }
  // The caret as line:column, with the anchor after a slash where it is elsewhere.
  std::string Where()
  {
    auto at = [this](int64_t position) {
      const int64_t line = view->Store().LineOf(position);
      return std::to_string(line) + ":" + std::to_string(position - view->Store().LineStart(line));
    };
    return at(view->Caret()) + (view->Anchor() == view->Caret() ? "" : "/" + at(view->Anchor()));
  }
  // Presses the keys in turn and tells where the caret went after each.
  std::string Keys(std::initializer_list<QKeyCombination> keys)
  {
    std::string where;
    for (QKeyCombination key : keys) {
      Key(key.key(), key.keyboardModifiers());
      where += " " + Where();
    }
    return where;
  }
  void Mouse(QEvent::Type type, int cell, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    const QPointF at(cell * QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char('0')) + 1,
                     (row + 0.5) * QFontMetrics(view->font()).lineSpacing());
    SendMouse(view->viewport(), type, at.toPoint(), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
  }

  // Where the middle of a cell of a row of the view lies.
  QPoint CellPoint(int cell, int row)
  {
    return QPointF((cell + 0.5) * QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char('0')),
                   (row + 0.5) * QFontMetrics(view->font()).lineSpacing())
        .toPoint();
  }

  TMemo* memo = nullptr;
  MemoView* view = nullptr;
};

constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier, Ctrl = Qt::ControlModifier;

// "Привет" in 1251, "Grüße" in UTF-8, "über" in 1252 (octal escapes where a hex digit follows).
const char Mixed[] = "\xCF\xF0\xE8\xE2\xE5\xF2 1251\nGr\xC3\xBC\303\237e utf8\n\374ber\na\tb\xC3\xBC\tc\n";

}  // namespace

// As the parser counts them; a position inside a CR LF belongs to the line before it; the caret
// is the moving end of the selection.
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

  memo->SetSelStart(2);
  memo->SetSelLength(5);
  EXPECT_EQ(memo->SelText(), "c\r\nde");
  EXPECT_EQ(Where() + " " + std::to_string(memo->LineIndex(-1)) + " " + std::to_string(memo->LineFromChar(-1)) +
                " " + std::to_string(memo->CaretPos().y) + ":" + std::to_string(memo->CaretPos().x),
            "1:2/0:2 5 0 1:2");
  memo->SetSelStart(100);
  memo->SetSelLength(3);
  EXPECT_EQ(std::to_string(memo->SelStart()) + "+" + std::to_string(memo->SelLength()), "15+0");
}

// Tab stops every 8 cells; a copy of part of a character gives the whole character.
TEST_F(MemoTest, EachLineIsDecodedByTheDisplayRuleAndCopiedAsShown)
{
  memo->SetText(Mixed + std::string("x\0y\x98z\xADw", 7));
  std::vector<QString> shown;
  for (int line = 0; line < 5; ++line)
    shown.push_back(view->ScreenText(line));
  EXPECT_EQ(shown, (std::vector<QString>{QString::fromUtf8("Привет 1251"), QString::fromUtf8("Grüße utf8"),
                                         QString::fromUtf8("ьber"), QString::fromUtf8("a       bü      c"),
                                         QString::fromUtf8("x\xEF\xBF\xBDy\xEF\xBF\xBDz-w")}));
  const int64_t line3 = view->Store().LineStart(3);
  view->Select(7, line3 + 5);  // from "1251" to the middle of "bü"
  Key(Qt::Key_C, Ctrl);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("1251\nGrüße utf8\nьber\na\tbü"));
  view->Select(line3 + 4, line3 + 5);  // the second byte of "ü" only
  EXPECT_EQ(view->SelectedText(), QString::fromUtf8("ü"));
  SetDisplayCodePage(1252);
  EXPECT_EQ(view->ScreenText(0) + view->ScreenText(2), QString::fromUtf8("Ïðèâåò 1251über"));
}

// Up and down keep the column they came from; a move with no button held selects nothing.
TEST_F(MemoTest, KeysAndClicksMoveTheCaretByWholeCharactersAndLines)
{
  memo->SetText(Mixed);
  view->Select(view->Store().LineStart(1), view->Store().LineStart(1));
  EXPECT_EQ(Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Home, Qt::Key_Left,
                  Qt::Key_Right, Qt::Key_End}),
            " 1:1 1:2 1:4 1:2 1:0 0:11 1:0 1:12");
  memo->SetText("abcdef\nab\nabcdef\n");
  view->Select(4, 4);
  EXPECT_EQ(Keys({Qt::Key_Down, Shift | Qt::Key_Down, Shift | Qt::Key_Up, Shift | Qt::Key_Up,
                  Ctrl | Shift | Qt::Key_End, Ctrl | Qt::Key_Home, Ctrl | Qt::Key_End}),
            " 1:2 2:4/1:2 1:2 0:4/1:2 3:0/1:2 0:0 3:0");
  EXPECT_EQ(memo->LineIndex(-1), 20);

  memo->SetText("0123456789\nabcdefghij\nABCDEFGHIJ\n");
  Mouse(QEvent::MouseButtonPress, 3, 1);
  Mouse(QEvent::MouseButtonRelease, 3, 1);
  std::string where = Where();
  Mouse(QEvent::MouseButtonPress, 5, 2, Shift);
  where += " " + Where();
  Mouse(QEvent::MouseMove, 1, 0, Shift);
  where += " " + Where();
  Mouse(QEvent::MouseButtonRelease, 1, 0);
  Mouse(QEvent::MouseMove, 5, 2);
  EXPECT_EQ(where + " " + Where(), "1:3 2:5/1:3 0:1/1:3 0:1/1:3");
}

// The chart-to-text placement puts the caret 250 characters on, then back at the line; lines
// wider on screen than in bytes widen the range once painted.
TEST_F(MemoTest, LineScrollGoesToTheEndsAndPlacingTheCaretBringsItIntoView)
{
  memo->Lines()->Clear();
  for (int i = 0; i < 400; ++i)
    memo->Lines()->Add("F1011000    " + std::to_string(i));
  memo->Lines()->Add(std::string(500, 'w'));
  QScrollBar* bar = view->verticalScrollBar();
  QScrollBar* hbar = view->horizontalScrollBar();
  const int rows = bar->pageStep();
  ASSERT_GT(rows, 3);
  ASSERT_LT(rows, 100);
  memo->LineScroll(memo->Lines()->Count());
  EXPECT_EQ(bar->value(), 402 - rows);
  EXPECT_EQ(bar->maximum(), 402 - rows);
  memo->LineScroll(-memo->Lines()->Count());
  EXPECT_EQ(bar->value(), 0);

  const int position = memo->LineIndex(200);
  const int below = memo->LineFromChar(position + 250);
  ASSERT_GT(below, 210);
  for (auto [at, line] : {std::pair{position + 250, below}, {position, 200}}) {
    memo->SetSelStart(at);
    memo->SetSelLength(6);
    EXPECT_LE(bar->value(), line);
    EXPECT_GT(bar->value() + rows, line);
  }
  EXPECT_EQ(memo->SelText(), "F10110");
  memo->SetSelStart(memo->LineIndex(400) + 500);
  EXPECT_GT(hbar->value(), 0);
  EXPECT_GT(hbar->value() + hbar->pageStep(), 500);
  memo->SetSelStart(0);
  EXPECT_EQ(bar->value() + hbar->value(), 0);
  EXPECT_EQ(QSize(memo->ClientWidth(), memo->ClientHeight()), view->viewport()->size());

  memo->SetText("short\n" + std::string(20, '\t') + "x");
  EXPECT_EQ(hbar->maximum(), 0);  // 21 bytes fit the view
  view->viewport()->grab();       // paints the lines in view
  EXPECT_EQ(hbar->maximum() + hbar->pageStep(), 20 * 8 + 1 + 1);
}

// Through the window system, as a user's double click comes: a word of the code page's letters,
// digits and underscores; a run of blanks; a sign alone; a UTF-8 line by whole characters.
TEST_F(MemoTest, DoubleClickSelectsTheWordUnderThePointer)
{
  memo->SetText("\xCF\xF0\xE8\xE2\xE5\xF2,\xA8\xEB\xEA\xE0_2 (x)  \tend\n"
                "Gr\xC3\xBC\xC3\x9F"
                "e utf8\n\n");
  struct Case {
    int cell, row;
    const char* selected;  // UTF-8
  } const cases[] = {
      {0, 0, "Привет"}, {5, 0, "Привет"}, {6, 0, ","},     {7, 0, "Ёлка_2"}, {12, 0, "Ёлка_2"},
      {13, 0, " "},     {14, 0, "("},     {15, 0, "x"},    {17, 0, "  \t"},  {23, 0, "  \t"},
      {24, 0, "end"},   {40, 0, "end"},   {2, 1, "Grüße"}, {4, 1, "Grüße"},  {0, 2, ""},
  };
  window_input::Press(view->viewport(), CellPoint(30, 1));  // the focus, and no double click yet
  window_input::Release(view->viewport(), CellPoint(30, 1));
  std::string got, expected;
  for (const Case& c : cases) {
    window_input::DoubleClick(view->viewport(), CellPoint(c.cell, c.row));
    got += std::to_string(c.cell) + "," + std::to_string(c.row) + "=" + view->SelectedText().toStdString() + " ";
    expected += std::to_string(c.cell) + "," + std::to_string(c.row) + "=" + c.selected + " ";
  }
  EXPECT_EQ(got, expected);
  EXPECT_EQ(view->Caret(), view->Store().LineStart(2));
  // A memo of its own code page takes its words in it, whatever the display's: "Ё" (0xA8) is
  // a letter in Windows-1251, a diaeresis in Windows-1252.
  SetDisplayCodePage(1252);
  memo->SetCodePage(1251);
  window_input::DoubleClick(view->viewport(), CellPoint(9, 0));
  const std::string inOwn = view->SelectedText().toStdString();
  SetDisplayCodePage(1251);
  EXPECT_EQ(inOwn, "Ёлка_2");
}
