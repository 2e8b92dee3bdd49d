// The Text page on the shown main form: find, the ends of the text, the readout, F3 both ways.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <random>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "MemoView.h"
#include "Mouse.h"
#include "StdCtrls.h"
#include "support/Records.h"
#include "support/Screenshots.h"
#include "support/StartTestSupport.h"

namespace {
class TextPage : public ProgramStart {
protected:
  void SetUp() override
  {
    unit.Language = 1, unit.ApplyLanguage(), form->SetFocus();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }
  // Finds `word` ("": the edit as it is); "start+length " of the selection after.
  std::string Find(bool down, const std::string& word = "")
  {
    (down ? unit.FindDownRadio : unit.FindUpRadio)->SetChecked(true);
    if (!word.empty())
      unit.FindEdit->SetText(word);
    unit.FindButtonClick(nullptr);
    return Sel() + " ";
  }
  std::string Sel() { return std::to_string(memo->SelStart()) + "+" + std::to_string(memo->SelLength()); }
  std::string Readout() { return unit.TextStatusBar->SimpleText() + "|"; }
  BQELunit& unit = Start();
  TMemo* memo = unit.TextMemo;
};
// Random texts, words and selections (an empty edit takes the selection). Down: the first match
// after the selection start, else one on; up: the last match ending at or before it.
TEST_F(TextPage, FindAgreesWithAPlainSearchBothWays)
{
  std::mt19937 random(13);
  for (int round = 0; round < 4000; ++round) {
    std::string text, word, shown;
    for (int n = random() % 60; n > 0; --n)
      text += "ab\n"[random() % 3];
    for (int n = 1 + random() % 3; n > 0; --n)
      word += "ab\r\n"[random() % 4];
    memo->SetText(text), shown = memo->Text();
    const size_t start = random() % (shown.size() + 1),
                 length = std::min<size_t>(random() % 3, shown.size() - start);
    memo->SetSelStart(start), memo->SetSelLength(length), unit.FindEdit->SetText(round % 4 ? word : "");
    const std::string sought = round % 4 ? word : shown.substr(start, length);
    const bool down = random() % 2;
    const size_t from = std::min(start + 1, shown.size()), none = std::string::npos;
    const size_t at = sought.empty() ? none
                      : down         ? shown.find(sought, from)
                             : (start >= sought.size() ? shown.rfind(sought, start - sought.size()) : none);
    const std::string expected = at != none ? std::to_string(at) + "+" + std::to_string(sought.size())
                                 : down     ? std::to_string(from) + "+0"
                                            : std::to_string(start) + "+" + std::to_string(length);
    ASSERT_EQ(Find(down), expected + " ") << text << "|" << sought << "|" << start << "+" << length << down;
  }
}
// Down creeps to the end and stays; up searches the whole head, across any border, and finds the
// second of two in a row; the readout follows. Typed text is sought as the display code page's
// bytes and as UTF-8, the nearest first; a character the code page lacks is no "?".
TEST_F(TextPage, FindWalksToTheEndsOverAnyBorderInBothEncodings)
{
  memo->SetText("a-a-a");
  std::string seen = Find(true, "a"), x(70000, 'x');
  for (int press = 0; press < 3; ++press)
    seen += Find(true);
  for (const auto& [text, caret] : {std::pair{x.substr(0, 10) + "ab" + x.substr(0, 438), 450},
                                    {x.substr(0, 199) + "ab" + x, 400},
                                    {x.substr(0, 4462) + "ab" + x, 70000}})
    memo->SetText(text), memo->SetSelStart(caret), seen += Find(false, "ab");
  memo->SetText("foofoo"), memo->SetSelStart(6), seen += Find(false, "foo"), seen += Readout();
  memo->SetText("?? \xEF\xF0 \xD0\xBF\xD1\x80 \xEF\xF0"), memo->SetSelStart(5);
  auto* line = static_cast<QLineEdit*>(unit.FindEdit->Widget());
  line->setText(QString::fromUtf8("\xD0\xBF\xD1\x80"));
  for (bool down : {true, true, false, false})
    seen += Find(down);
  line->setText(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC")), memo->SetSelStart(13);
  EXPECT_EQ(seen + Find(false), "2+1 4+1 5+0 5+0 10+2 199+2 4462+2 3+3 line: 1   column: 4   shift in text = 3|"
                                "6+4 11+2 6+4 3+2 13+0 ");
}
// Start and end stay inside short texts (end: before a final break); the readout counts line,
// column and offset from the selection start, the same for LF and CR LF files.
TEST_F(TextPage, TheEndsStayInsideShortTextsAndTheReadoutTakesTheSelectionStart)
{
  std::string seen;
  Word key = 0;
  for (const char* text : {"", "a", "ab\r\n", "ab\r\ncd"}) {
    memo->SetText(text), unit.TextStartButtonClick(nullptr), seen += std::to_string(memo->SelStart());
    unit.TextEndButtonClick(nullptr), seen += Readout();
  }
  for (const char* text : {"ab\ncd\nef\n", "ab\r\ncd\r\nef\r\n"}) {
    memo->Lines()->LoadFromFile(folder.Write("t.qel", text)), memo->SetSelStart(5), memo->SetSelLength(5);
    unit.TextMemoKeyUp(nullptr, key, {}), seen += Readout();
  }
  EXPECT_EQ(seen, "0line: 1   column: 1   shift in text = 0|1line: 1   column: 2   shift in text = 1|"
                  "1line: 1   column: 3   shift in text = 2|1line: 2   column: 3   shift in text = 6|"
                  "line: 2   column: 2   shift in text = 5|line: 2   column: 2   shift in text = 5|");

  // Without the pointer over the text, the readout follows a language switch, a new log and a
  // cleared history.
  seen.clear();
  AnsiString german, afterSwitch;
  unit.Language = 2, unit.ApplyLanguage(), afterSwitch = Readout(), unit.GetUiText(69, german);
  EXPECT_TRUE(afterSwitch.starts_with(german + "2") && afterSwitch.ends_with("= 5|")) << afterSwitch;
  unit.Language = 1, unit.OpenLogFile(folder.Write("u.qel", "F1000001\r\n")), seen += Readout();
  memo->SetSelStart(3), unit.ClearHistoryButtonClick(nullptr), seen += Readout();
  EXPECT_EQ(seen, "line: 1   column: 1   shift in text = 0|line: 1   column: 1   shift in text = 0|");
}
// A log's text is Windows-1251 in every language: in German it shows, and is sought, as
// Cyrillic, not as the Latin letters the same bytes are in Windows-1252.
TEST_F(TextPage, InGermanTheLogStaysCyrillic)
{
  unit.Language = 2, unit.ApplyLanguage();
  memo->SetText("F1011200 \xCF\xF0\xE8\xE2\xE5\xF2 \xD6\xFC");
  EXPECT_EQ(qobject_cast<MemoView*>(memo->Widget())->ScreenText(0), QString::fromUtf8("F1011200 Привет Ць"));
  static_cast<QLineEdit*>(unit.FindEdit->Widget())->setText(QString::fromUtf8("ивет"));
  EXPECT_EQ(Find(true), "11+4 ");
  unit.PageControl->SetActivePage(unit.TextPage);
  SaveScreenshot(form->Widget()->grab().toImage(), "faults", "text-page-de");
}

// F3 from the text: the moment between two records 100 000 lines apart, the view centred and
// clamped, the pointer on the cursor; before the first record or without a log only the page.
// Back from the chart: the cursor's line selected, clamped at the end, or only the page.
TEST_F(TextPage, F3CarriesTheMomentBetweenTextAndChart)
{
  std::unique_ptr<TComboBox> combo;
  AddItem(ChooseNewChartMask(unit, combo)->Items, 2, "P2");
  std::string text, seen;
  for (int i = 0; i < 100000; ++i)
    text += "unrecognised line\r\n";
  memo->SetText(text += "the last line\r\n"), unit.LogFileName = folder.Write("f3.qel", text);
  AddLine(unit, 2, 0, 1.0, "", "", 10), AddLine(unit, 2, 2000000, 2.0, "", "", 1900010), unit.CalcValueRange();
  // The chart is drawn at each F3: its plot 1000 × 200.
  unit.ChartPaintBox->SetAlign(alNone), unit.ChartPaintBox->SetBounds(0, 0, 1065, 250);
  unit.PlotWidth = 1000, unit.PlotHeight = 200, unit.ZoomX = 4.0;
  const auto f3 = [&](TTabSheet* page, int64_t caret) {
    unit.PageControl->SetActivePage(page);
    page == unit.TextPage ? memo->SetSelStart(caret) : void(unit.CursorCaretPos = caret);
    Mouse->SetCursorPos(unit.ChartPaintBox->ClientOrigin()), unit.ToggleTextChartActionExecute(nullptr);
    const TPoint pointer = Mouse->CursorPos(), origin = unit.ChartPaintBox->ClientOrigin();
    seen += (unit.PageControl->ActivePage() == unit.ChartPage ? "chart " : "text ") +
            std::to_string(unit.CursorTime) + " " + std::to_string(unit.PanX) + " " +
            std::to_string(pointer.x - origin.x) + "," + std::to_string(pointer.y - origin.y) + " " + Sel() +
            (memo->Focused() ? " f|" : "|");
  };
  for (int64_t caret : {950010, 10, 1900011, 0})
    f3(unit.TextPage, caret);
  unit.CursorTime = 7, unit.LogFileName = "", f3(unit.TextPage, 950010);
  for (int64_t caret : std::initializer_list<int64_t>{950010, static_cast<int64_t>(text.size()) - 3, -1})
    f3(unit.ChartPage, caret);
  EXPECT_EQ(seen,
            "chart 1000000 1500 560,105 950010+0|chart 0 0 60,105 10+0|chart 2000000 3000 1060,105 1900011+0|"
            "chart 2000000 3000 0,0 0+0|chart 7 3000 0,0 950010+0|text 7 3000 0,0 950010+6 f|"
            "text 7 3000 0,0 1900012+3 f|text 7 3000 0,0 1900012+3 f|");
}
}  // namespace
