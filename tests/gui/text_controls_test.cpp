// Labels, one-line edits, and the up-down that drives one.
#include "support/ControlTest.h"

namespace {

// A label, an up-down and an edit, in the order the program builds the thickness pair, on a
// panel with the main panel's font.
class TextControlsTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 0, 0, 400, 300);
    panel->Font()->SetName("Verdana");
    panel->Font()->SetSize(10);
    label = Place<TLabel>(panel, 0, 0, 10, 10);
    upDown = Place<TUpDown>(panel, 200, 0, 17, 21);
    edit = Place<TEdit>(panel, 0, 0, 100, 0);
  }

  int LineHeight() const { return QFontMetrics(label->Font()->QtFont()).height(); }
  QLabel* Qt() const { return static_cast<QLabel*>(label->Widget()); }
  QSize Size() const { return QSize(label->Width(), label->Height()); }
  QLineEdit* Line() const { return static_cast<QLineEdit*>(edit->Widget()); }

  DisplayCodePageScope codePage{1251};
  TPanel* panel = nullptr;
  TLabel* label = nullptr;
  TUpDown* upDown = nullptr;
  TEdit* edit = nullptr;
};
using LabelTest = TextControlsTest;
using EditTest = TextControlsTest;

TEST_F(LabelTest, AutoSizeIsTheRoomQtNeedsForTheCaptionAtOnce)
{
  label->SetCaption("\xC3\xE5\xF0\xF6");  // "Герц" in Windows-1251
  EXPECT_EQ(Qt()->text(), QString::fromUtf8("Герц"));
  label->SetCodePage(1252);  // a German edit's label carries its own code page
  EXPECT_EQ(Qt()->text(), QString::fromUtf8("Ãåðö"));
  label->SetCaption(" ");
  const QSize blank = Size();
  EXPECT_FALSE(blank.isEmpty());
  label->SetCaption("");  // an empty caption keeps the size of a blank
  EXPECT_EQ(Size(), blank);
  // Plain text, tags and ampersand included; every kind of line break breaks the line.
  label->SetCaption("<b>x</b> & y\r\ntwo\rthree");
  EXPECT_EQ(Qt()->text(), QStringLiteral("<b>x</b> & y\ntwo\nthree"));
  EXPECT_EQ(Qt()->textFormat(), Qt::PlainText);
  EXPECT_EQ(Size(), Qt()->sizeHint());
  EXPECT_GE(label->Height(), 3 * LineHeight());
  const int before = label->Height();
  label->Font()->SetSize(16);  // a bigger font resizes it at once too
  EXPECT_GT(label->Height(), before);
  label->SetAutoSize(false);
  label->SetBounds(5, 6, 390, 20);
  label->SetCaption("a much longer caption than the label is wide, much longer indeed, yes");
  EXPECT_EQ(Size(), QSize(390, 20));
}

TEST_F(LabelTest, WordWrapGrowsTheHeightForTheWidthOrShrinksToOneLine)
{
  // As the message window: set up without auto-size, then auto-size on.
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetTransparent(true);
  label->SetLayout(tlTop);
  label->SetBounds(0, 0, 150, 100);
  label->SetCaption("A name of this kind already exists in the list of parameters, please choose another");
  label->SetAutoSize(true);
  EXPECT_EQ(label->Width(), 150);
  EXPECT_GE(label->Height(), 3 * LineHeight());
  EXPECT_EQ(label->Height(), Qt()->heightForWidth(150));
  label->SetCaption("Short");  // one line: as wide as the text
  const QSize oneLine = Size();
  EXPECT_LT(oneLine.width(), 150);
  label->SetWordWrap(false);
  EXPECT_EQ(Size(), oneLine);
}

TEST_F(EditTest, BytesSetByTheProgramComeBackUnchangedUntilTheUserTypesThenInTheCodePage)
{
  // UTF-8 bytes show as UTF-8 and are not re-encoded into the code page on the way back.
  const std::string utf8 = "\303\234ber";
  edit->SetCodePage(1252);
  edit->SetText(utf8);
  EXPECT_EQ(Line()->text(), QString::fromUtf8("Über"));
  EXPECT_EQ(edit->Text(), utf8);
  PressKey(Line(), Qt::Key_End);
  TypeText(Line(), QStringLiteral("n"));  // once the user changes the text, it is encoded
  EXPECT_EQ(edit->Text(), "\334bern");
  // Set bytes are shown anew when the code page changes.
  edit->SetText("\334ber");
  edit->SetCodePage(1251);
  EXPECT_EQ(Line()->text(), QString::fromUtf8("Ьber"));
  EXPECT_EQ(edit->Text(), "\334ber");
  // Typed text comes back in the edit's code page, or the display's (here 1252) for 0.
  SetDisplayCodePage(1252);
  for (auto [own, typed, bytes] :
       {std::tuple{1252, "Grüße Ж", "Gr\374\337e ?"}, std::tuple{1251, "Привет ü", "\xCF\xF0\xE8\xE2\xE5\xF2 ?"},
        std::tuple{0, "ü", "\xFC"}}) {
    edit->SetText("");
    edit->SetCodePage(own);
    TypeText(Line(), QString::fromUtf8(typed));
    EXPECT_EQ(edit->Text(), bytes) << typed;
  }
}

// The thickness pair: a read-only edit driven by an up-down within 1..5.
class UpDownTest : public TextControlsTest {
protected:
  void SetUp() override
  {
    TextControlsTest::SetUp();
    upDown->SetPosition(2);
    upDown->SetMin(1);
    upDown->SetMax(5);
    edit->SetReadOnly(true);
    upDown->SetAssociate(edit);
  }
  void Arrow(Qt::ArrowType type, int times)
  {
    for (QToolButton* button : upDown->Widget()->findChildren<QToolButton*>())
      for (int i = 0; button->arrowType() == type && i < times; ++i)
        button->click();
  }
  // The position and the edit's text.
  std::string State() const { return std::to_string(upDown->Position()) + " " + edit->Text(); }
};

TEST_F(UpDownTest, ArrowsKeysAndTheProgramStepWithinMinAndMaxAndWriteTheEdit)
{
  EXPECT_EQ(State(), "2 2");
  EXPECT_EQ(upDown->Height(), edit->Height());
  Arrow(Qt::UpArrow, 5);
  EXPECT_EQ(State(), "5 5");
  Arrow(Qt::DownArrow, 1);
  EXPECT_EQ(State(), "4 4");
  Arrow(Qt::DownArrow, 6);
  EXPECT_EQ(State(), "1 1");
  PressKey(Line(), Qt::Key_Up);  // the arrow keys in the edit step it, typing does nothing
  PressKey(Line(), Qt::Key_Up);
  EXPECT_EQ(State(), "3 3");
  PressKey(Line(), Qt::Key_Down);
  TypeText(Line(), QStringLiteral("9"));
  EXPECT_EQ(State(), "2 2");
  upDown->SetPosition(9);  // a thickness from the settings beyond the range
  EXPECT_EQ(State(), "5 5");
  upDown->SetPosition(0);
  EXPECT_EQ(State(), "1 1");
  delete edit;  // a freed edit is no longer written
  EXPECT_EQ(upDown->Associate(), nullptr);
  Arrow(Qt::UpArrow, 1);
  EXPECT_EQ(upDown->Position(), 2);
}

}  // namespace
