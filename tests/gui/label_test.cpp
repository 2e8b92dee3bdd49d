#include <QFontMetrics>
#include <QLabel>
#include <memory>

#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "support/FormTest.h"

namespace {

// A label on a panel with the main panel's font.
class LabelTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 0, 0, 400, 300);
    panel->Font()->SetName("Verdana");
    panel->Font()->SetSize(10);
    label = new TLabel(panel);
    label->SetParent(panel);
  }

  QFontMetrics Metrics() const { return QFontMetrics(label->Font()->QtFont()); }
  QLabel* Qt() const { return static_cast<QLabel*>(label->Widget()); }

  TPanel* panel = nullptr;
  TLabel* label = nullptr;
};

TEST_F(LabelTest, AutoSizeFollowsTheCaptionAtOnce)
{
  // Exactly the room Qt needs to draw the caption, read right after setting it.
  label->SetCaption("Hz");
  const int narrow = label->Width();
  EXPECT_EQ(QSize(narrow, label->Height()), Qt()->sizeHint());
  EXPECT_GE(label->Height(), Metrics().height());
  label->SetCaption("All parametrs");
  EXPECT_GT(label->Width(), narrow);
  EXPECT_EQ(QSize(label->Width(), label->Height()), Qt()->sizeHint());
  // A bigger font resizes it at once too.
  const int before = label->Height();
  label->Font()->SetSize(16);
  EXPECT_GT(label->Height(), before);
}

TEST_F(LabelTest, AnEmptyCaptionKeepsTheSizeOfABlank)
{
  label->SetCaption(" ");
  const QSize blank(label->Width(), label->Height());
  EXPECT_GT(blank.width(), 0);
  EXPECT_GT(blank.height(), 0);
  label->SetCaption("x");
  label->SetCaption("");
  EXPECT_EQ(QSize(label->Width(), label->Height()), blank);
}

TEST_F(LabelTest, WithoutAutoSizeTheBoundsStay)
{
  label->SetAutoSize(false);
  label->SetBounds(5, 6, 390, 20);
  label->SetCaption("a much longer caption than the label is wide, much longer indeed, yes");
  EXPECT_EQ(label->Width(), 390);
  EXPECT_EQ(label->Height(), 20);
}

TEST_F(LabelTest, WordWrapGrowsTheHeightForTheWidth)
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
  EXPECT_GE(label->Height(), 3 * Metrics().height());
  // The height Qt needs to draw the wrapped text in that width.
  EXPECT_EQ(label->Height(), Qt()->heightForWidth(150));

  // A caption that fits on one line makes the label as wide as the text.
  label->SetCaption("Short");
  label->SetWordWrap(false);
  const QSize oneLine(label->Width(), label->Height());
  label->SetWordWrap(true);
  EXPECT_EQ(QSize(label->Width(), label->Height()), oneLine);
  EXPECT_LT(label->Width(), 150);
}

TEST_F(LabelTest, CaptionsArePlainTextWithoutMnemonicsOrMarkup)
{
  label->SetCaption("<b>x</b> & y");
  EXPECT_EQ(Qt()->textFormat(), Qt::PlainText);
  EXPECT_EQ(Qt()->text(), QStringLiteral("<b>x</b> & y"));
  // Measured as the literal text, tags and ampersand included.
  EXPECT_EQ(QSize(label->Width(), label->Height()), Qt()->sizeHint());
  EXPECT_GT(label->Width(), Metrics().horizontalAdvance(QStringLiteral("x  y")) * 2);
  EXPECT_EQ(Qt()->buddy(), nullptr);
}

TEST_F(LabelTest, CaptionBytesAreDecodedByTheDisplayRule)
{
  label->SetCaption("\xC3\xE5\xF0\xF6");  // "Герц" in Windows-1251
  EXPECT_EQ(Qt()->text(), QString::fromUtf8("Герц"));
  // A German edit's label carries its own code page.
  label->SetCodePage(1252);
  EXPECT_EQ(Qt()->text(), QString::fromUtf8("Ãåðö"));
  // Line breaks of any kind break the line.
  label->SetCaption("one\r\ntwo\rthree");
  EXPECT_EQ(Qt()->text(), QStringLiteral("one\ntwo\nthree"));
  EXPECT_EQ(QSize(label->Width(), label->Height()), Qt()->sizeHint());
  EXPECT_GE(label->Height(), 3 * Metrics().height());
}

TEST_F(LabelTest, ColourFollowsTheParentUntilSetAndTransparencyShowsTheParent)
{
  panel->SetColor(0xC0DCC0);
  EXPECT_EQ(label->Color(), 0xC0DCC0);
  EXPECT_TRUE(Qt()->autoFillBackground());
  label->SetTransparent(true);
  EXPECT_FALSE(Qt()->autoFillBackground());
  label->SetColor(0x0000FF);
  panel->SetColor(0xFFFFFF);
  EXPECT_EQ(label->Color(), 0x0000FF);
}

}  // namespace
