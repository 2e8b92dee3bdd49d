#include <QLineEdit>
#include <memory>

#include "Edit.h"
#include "ExtCtrls.h"
#include "TextBoundary.h"
#include "support/FormTest.h"
#include "support/InputTestSupport.h"

namespace {

// An edit on a panel with the main panel's font.
class EditTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 0, 0, 400, 300);
    panel->Font()->SetName("Verdana");
    panel->Font()->SetSize(10);
    edit = new TEdit(panel);
    edit->SetParent(panel);
  }
  void TearDown() override
  {
    SetDisplayCodePage(1251);
    FormTest::TearDown();
  }

  QLineEdit* Line() const { return static_cast<QLineEdit*>(edit->Widget()); }

  TPanel* panel = nullptr;
  TEdit* edit = nullptr;
};

const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in Windows-1251

TEST_F(EditTest, HeightFollowsTheFontAndCannotBeSetOtherwise)
{
  const int height = edit->Height();
  EXPECT_EQ(height, Line()->sizeHint().height());
  EXPECT_EQ(Line()->height(), height);
  edit->SetBounds(5, 6, 200, 3);  // the layouts set only position and width
  EXPECT_EQ(edit->Left(), 5);
  EXPECT_EQ(edit->Width(), 200);
  EXPECT_EQ(edit->Height(), height);
  panel->Font()->SetSize(16);  // inherited at once
  EXPECT_GT(edit->Height(), height);
  EXPECT_EQ(Line()->height(), edit->Height());
}

TEST_F(EditTest, TypedTextComesBackInTheEditsCodePage)
{
  edit->SetCodePage(1252);
  TypeText(Line(), QString::fromUtf8("Grüße Ж"));
  EXPECT_EQ(edit->Text(), "Gr\xFC\xDF"
                          "e ?");  // 1252 has no Cyrillic
  edit->SetText("");
  edit->SetCodePage(1251);
  TypeText(Line(), QString::fromUtf8("Привет ü"));
  EXPECT_EQ(edit->Text(), kPrivet1251 + " ?");
  // Without a code page of its own the edit follows the display.
  edit->SetText("");
  edit->SetCodePage(0);
  SetDisplayCodePage(1252);
  TypeText(Line(), QString::fromUtf8("ü"));
  EXPECT_EQ(edit->Text(), "\xFC");
}

TEST_F(EditTest, BytesSetByTheProgramComeBackUnchangedUntilTheUserTypes)
{
  // UTF-8 bytes show as UTF-8 and are not re-encoded into the code page on the way back.
  const std::string utf8 = "Gr\xC3\xBC\xC3\x9F"
                           "e";
  edit->SetCodePage(1252);
  edit->SetText(utf8);
  EXPECT_EQ(Line()->text(), QString::fromUtf8("Grüße"));
  EXPECT_EQ(edit->Text(), utf8);
  // Once the user changes the text, what is there is encoded.
  PressKey(Line(), Qt::Key_End);
  TypeText(Line(), QStringLiteral("n"));
  EXPECT_EQ(edit->Text(), "Gr\xFC\xDF"
                          "en");
  // Setting the same bytes again shows them again.
  edit->SetText(utf8);
  EXPECT_EQ(edit->Text(), utf8);
}

TEST_F(EditTest, ACodePageChangeShowsTheSetBytesAnew)
{
  edit->SetCodePage(1251);
  edit->SetText("\xDC"
                "ber");
  EXPECT_EQ(Line()->text(), QString::fromUtf8("Ьber"));
  edit->SetCodePage(1252);
  EXPECT_EQ(Line()->text(), QString::fromUtf8("Über"));
  EXPECT_EQ(edit->Text(), "\xDC"
                          "ber");
}

TEST_F(EditTest, AReadOnlyEditTakesNoTyping)
{
  edit->SetText("2");
  edit->SetReadOnly(true);
  EXPECT_TRUE(edit->ReadOnly());
  TypeText(Line(), QStringLiteral("7"));
  PressKey(Line(), Qt::Key_Backspace);
  EXPECT_EQ(edit->Text(), "2");
  // The program still writes it.
  edit->SetText("3");
  EXPECT_EQ(edit->Text(), "3");
}

}  // namespace
