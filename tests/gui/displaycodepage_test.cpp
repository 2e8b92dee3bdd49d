// Texts crossing into Qt: the display code page, the controls that follow it, file names.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <string>

#include "ComCtrls.h"
#include "StdCtrls.h"
#include "TextBoundary.h"
#include "support/FormTest.h"
#include "support/InputTestSupport.h"

namespace {

// Bytes that are UTF-8 only in part are code-page text; typed text gets one "?" for each
// character the code page lacks (a character outside the basic plane, a lone surrogate). Every
// byte survives display and read-back; a file name comes back as the file system's bytes.
TEST(TextBoundary, BytesShowByTheDisplayCodePageUnlessTheyAreUtf8AndComeBackWhole)
{
  const std::tuple<std::string, int, int, const char*> cases[] = {
      {"\xCF\xF0\xE8\xE2\xE5\xF2", 1251, 0, "Привет"},
      {"\xDC\x62\x65r", 1252, 0, "Über"},
      {"\xDC\x62\x65r", 1251, 0, "Ьber"},
      {"\xDC\x62\x65r", 1251, 1252, "Über"},
      {"\xC3\x9C\x62\x65r", 1251, 0, "Über"},
      {"\xC3\x9C\x62\x65r", 1252, 1251, "Über"},
      {"/home/\xD0\x9E\xD1\x82.qel", 1251, 0, "/home/От.qel"},
      {"\xC3\x9C\xFC", 1252, 0, "Ãœü"}};
  for (const auto& [bytes, display, own, shown] : cases) {
    SetDisplayCodePage(display);
    EXPECT_EQ(ToQString(bytes, own), QString::fromUtf8(shown)) << shown << " " << display;
  }
  SetDisplayCodePage(1251);
  EXPECT_EQ(FromQString(QString::fromUtf8("Привет")) + "|" + FromQString(QString::fromUtf8("Straße")) + "|" +
                FromQString(QString::fromUtf8("Straße"), 1252) + "|" +
                FromQString(QString::fromUtf8("a\xF0\x9F\x98\x80z")) + "|" +
                FromQString(QStringLiteral("x") + QChar(0xD800)),
            "\xCF\xF0\xE8\xE2\xE5\xF2|Stra?e|Stra\xDF\x65|a?z|x?");
  std::string all;
  for (int b = 1; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  for (int codePage : {1252, 1251}) {
    SetDisplayCodePage(codePage);
    EXPECT_EQ(FromQString(ToQString(all)), all) << codePage;
  }
  const AnsiString name = "/tmp/\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 1.qel";  // UTF-8 on disk
  EXPECT_EQ(FileNameToQString(name), QString::fromUtf8("/tmp/Отчёт 1.qel"));
  EXPECT_EQ(QStringToFileName(FileNameToQString(name)), name);
  EXPECT_EQ(QStringToFileName(QString::fromUtf8("/tmp/Über")), "/tmp/\xC3\x9C\x62\x65r");
}

// "Größe" in Windows-1252; the same bytes read as Windows-1251 are "GrцЯe".
const AnsiString Groesse1252 = "Gr\xF6\xDF\x65";
const QString AsGerman = QString::fromUtf8("Größe");
const QString AsCyrillic = QString::fromUtf8("GrцЯe");

// Texts already on screen when the interface language (and with it the display code page)
// changes: the form's title and a control of each kind showing the same bytes.
class DisplayCodePageTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    SetDisplayCodePage(1251);
    form->SetCaption(Groesse1252);
    label = Place<TLabel>(0, 0, 10, 10);
    label->SetAutoSize(true);
    label->SetCaption(Groesse1252);
    combo = Place<TComboBox>(0, 20, 100, 20);
    combo->Items()->Add("plain");
    combo->Items()->Add(Groesse1252);
    Place<TButton>(0, 50, 80, 20)->SetCaption(Groesse1252);
    Place<TGroupBox>(0, 80, 80, 40)->SetCaption(Groesse1252);
    auto* pages = Place<TPageControl>(0, 130, 200, 80);
    auto* sheet = new TTabSheet(pages);
    sheet->SetPageControl(pages);
    sheet->SetCaption(Groesse1252);
    edit = Place<TEdit>(0, 220, 80, 20);
    edit->SetText(Groesse1252);
  }
  void TearDown() override
  {
    FormTest::TearDown();
    SetDisplayCodePage(1251);
  }

  QString LabelText() const { return static_cast<QLabel*>(label->Widget())->text(); }
  // Every text on screen, the combo box's first item left out.
  std::vector<QString> Shown() const
  {
    std::vector<QString> shown{form->Widget()->windowTitle(),
                               LabelText(),
                               static_cast<QComboBox*>(combo->Widget())->itemText(1),
                               form->Widget()->findChild<QPushButton*>()->text(),
                               form->Widget()->findChild<QGroupBox*>()->title(),
                               form->Widget()->findChild<QTabBar*>()->tabText(0),
                               static_cast<QLineEdit*>(edit->Widget())->text()};
    return shown;
  }
  // The width a self-sizing label takes for text in its font.
  int TextWidth(const QString& text) const
  {
    return QFontMetrics(label->Font()->QtFont())
        .boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, text)
        .width();
  }

  TLabel* label = nullptr;
  TComboBox* combo = nullptr;
  TEdit* edit = nullptr;
};

// What the user typed over set bytes stays as typed; a control's own code page stays.
TEST_F(DisplayCodePageTest, ShownTextsFollowEveryChangeOfTheDisplayCodePage)
{
  TEdit* typedOver = Place<TEdit>(0, 250, 80, 20);
  typedOver->SetText(Groesse1252);
  auto* typed = static_cast<QLineEdit*>(typedOver->Widget());
  PressKey(typed, Qt::Key_End);
  TypeText(typed, QStringLiteral("n"));
  auto* german = Place<TLabel>(0, 280, 80, 20);
  german->SetCodePage(1252);
  german->SetCaption(Groesse1252);
  const QString germanShown = static_cast<QLabel*>(german->Widget())->text();
  EXPECT_EQ(Shown(), std::vector<QString>(7, AsCyrillic));
  EXPECT_EQ(label->Width(), TextWidth(AsCyrillic));
  for (int codePage : {1252, 1251}) {
    SetDisplayCodePage(codePage);
    const QString expected = codePage == 1252 ? AsGerman : AsCyrillic;
    EXPECT_EQ(Shown(), std::vector<QString>(7, expected)) << codePage;
    EXPECT_EQ(label->Width(), TextWidth(expected));
    EXPECT_EQ(static_cast<QComboBox*>(combo->Widget())->itemText(0), QStringLiteral("plain"));
    EXPECT_EQ(label->Caption() + combo->Items()->Get(1) + edit->Text(), Groesse1252 + Groesse1252 + Groesse1252);
    EXPECT_EQ(typed->text(), AsCyrillic + "n");
    EXPECT_EQ(static_cast<QLabel*>(german->Widget())->text(), AsGerman);
  }
  EXPECT_EQ(germanShown, AsGerman);
}

// The combo box freed may not have been visited yet.
TEST_F(DisplayCodePageTest, AHandlerThatFreesControlsDuringTheChangeIsSafe)
{
  TLabel* doomed = Place<TLabel>(0, 300, 10, 10);
  doomed->SetCaption(Groesse1252);
  label->OnResize = [&](TObject*) {
    delete combo;
    combo = nullptr;
    delete doomed;
    doomed = nullptr;
    label->OnResize = nullptr;
  };
  SetDisplayCodePage(1252);
  EXPECT_EQ(combo, nullptr);
  EXPECT_EQ(LabelText(), AsGerman);
  EXPECT_EQ(form->Widget()->windowTitle(), AsGerman);
}

}  // namespace
