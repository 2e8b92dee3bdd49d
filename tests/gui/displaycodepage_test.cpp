#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <memory>

#include "ComCtrls.h"
#include "StdCtrls.h"
#include "TextBoundary.h"
#include "support/GuiTest.h"
#include "support/InputTestSupport.h"

namespace {

// "Größe" in Windows-1252; the same bytes read as Windows-1251 are "GrцЯe".
const AnsiString kGroesse1252 = "Gr\xF6\xDF"
                                "e";
const QString kAsGerman = QString::fromUtf8("Größe");
const QString kAsCyrillic = QString::fromUtf8("GrцЯe");

// Texts already on screen when the interface language (and with it the display code page)
// changes.
class DisplayCodePageTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    SetDisplayCodePage(1251);
    form = std::make_unique<TForm>(nullptr);
    form->SetCaption(kGroesse1252);
    label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetAutoSize(true);
    label->SetCaption(kGroesse1252);
    combo = new TComboBox(form.get());
    combo->SetParent(form.get());
    combo->Items()->Add("plain");
    combo->Items()->Add(kGroesse1252);
  }
  void TearDown() override
  {
    form.reset();
    SetDisplayCodePage(1251);
    GuiTest::TearDown();
  }

  QString LabelText() const { return static_cast<QLabel*>(label->Widget())->text(); }
  QString ComboItem() const { return static_cast<QComboBox*>(combo->Widget())->itemText(1); }
  QString Title() const { return form->Widget()->windowTitle(); }
  // The width a self-sizing label takes for text in its font.
  int TextWidth(const QString& text) const
  {
    return QFontMetrics(label->Font()->QtFont())
        .boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, text)
        .width();
  }

  std::unique_ptr<TForm> form;
  TLabel* label = nullptr;
  TComboBox* combo = nullptr;
};

// A label that sizes itself measures the new text; setting the same bytes again changes nothing;
// the bytes themselves never change.
TEST_F(DisplayCodePageTest, ShownTextsFollowEveryChangeOfTheDisplayCodePage)
{
  const auto shown = [&] { return std::vector<QString>{LabelText(), ComboItem(), Title()}; };
  EXPECT_EQ(shown(), std::vector<QString>(3, kAsCyrillic));
  EXPECT_EQ(label->Width(), TextWidth(kAsCyrillic));
  SetDisplayCodePage(1252);
  EXPECT_EQ(shown(), std::vector<QString>(3, kAsGerman));
  EXPECT_EQ(static_cast<QComboBox*>(combo->Widget())->itemText(0), QStringLiteral("plain"));
  EXPECT_EQ(label->Width(), TextWidth(kAsGerman));
  label->SetCaption(kGroesse1252);
  form->SetCaption(kGroesse1252);
  EXPECT_EQ(shown(), std::vector<QString>(3, kAsGerman));
  SetDisplayCodePage(1251);
  EXPECT_EQ(shown(), std::vector<QString>(3, kAsCyrillic));
  EXPECT_EQ(label->Width(), TextWidth(kAsCyrillic));
  EXPECT_EQ(label->Caption(), kGroesse1252);
  EXPECT_EQ(combo->Items()->Get(1), kGroesse1252);
}

TEST_F(DisplayCodePageTest, ButtonsGroupsTabsAndEditsFollowButOwnCodePagesStay)
{
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  button->SetCaption(kGroesse1252);
  auto* group = new TGroupBox(form.get());
  group->SetParent(form.get());
  group->SetCaption(kGroesse1252);
  auto* pages = new TPageControl(form.get());
  pages->SetParent(form.get());
  auto* sheet = new TTabSheet(pages);
  sheet->SetPageControl(pages);
  sheet->SetCaption(kGroesse1252);
  auto* setEdit = new TEdit(form.get());
  setEdit->SetParent(form.get());
  setEdit->SetText(kGroesse1252);
  auto* typedEdit = new TEdit(form.get());
  typedEdit->SetParent(form.get());
  typedEdit->SetText(kGroesse1252);
  auto* typedLine = static_cast<QLineEdit*>(typedEdit->Widget());
  PressKey(typedLine, Qt::Key_End);
  TypeText(typedLine, QStringLiteral("n"));
  auto* german = new TLabel(form.get());  // like the name editor's German edit
  german->SetParent(form.get());
  german->SetCodePage(1252);
  german->SetCaption(kGroesse1252);

  const auto shown = [&] {
    return std::vector<QString>{
        static_cast<QPushButton*>(button->Widget())->text(), static_cast<QGroupBox*>(group->Widget())->title(),
        pages->Widget()->findChild<QTabBar*>()->tabText(0), static_cast<QLineEdit*>(setEdit->Widget())->text()};
  };
  EXPECT_EQ(shown(), std::vector<QString>(4, kAsCyrillic));
  EXPECT_EQ(typedLine->text(), kAsCyrillic + "n");
  EXPECT_EQ(static_cast<QLabel*>(german->Widget())->text(), kAsGerman);

  SetDisplayCodePage(1252);
  EXPECT_EQ(shown(), std::vector<QString>(4, kAsGerman));
  // The set bytes come back unchanged; what the user typed over them is left as typed.
  EXPECT_EQ(setEdit->Text(), kGroesse1252);
  EXPECT_EQ(typedLine->text(), kAsCyrillic + "n");
  EXPECT_EQ(static_cast<QLabel*>(german->Widget())->text(), kAsGerman);

  SetDisplayCodePage(1251);
  EXPECT_EQ(shown(), std::vector<QString>(4, kAsCyrillic));
  EXPECT_EQ(setEdit->Text(), kGroesse1252);
  EXPECT_EQ(static_cast<QLabel*>(german->Widget())->text(), kAsGerman);
}

TEST_F(DisplayCodePageTest, AHandlerThatFreesControlsDuringTheChangeIsSafe)
{
  // A self-sizing label's OnResize runs while texts are decoded anew; here it frees the combo
  // (whose widget may not have been visited yet) and a label of its own.
  auto* doomed = new TLabel(form.get());
  doomed->SetParent(form.get());
  doomed->SetCaption(kGroesse1252);
  label->OnResize = [&](TObject*) {
    delete combo;
    combo = nullptr;
    delete doomed;
    doomed = nullptr;
    label->OnResize = nullptr;
  };
  SetDisplayCodePage(1252);
  EXPECT_EQ(combo, nullptr);
  EXPECT_EQ(LabelText(), kAsGerman);
  EXPECT_EQ(Title(), kAsGerman);
}

}  // namespace
