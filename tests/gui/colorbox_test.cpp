#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QTimer>
#include <memory>

#include "ColorBox.h"
#include "Colors.h"
#include "ExtCtrls.h"
#include "support/GuiTest.h"
#include "support/InputTestSupport.h"

namespace {

// A row's colour box, as the mask editor makes it.
class ColorBoxTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    box = new TColorBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 125, 0);
    form->Show();
  }

  QComboBox* Combo() const { return static_cast<QComboBox*>(box->Widget()); }
  void AddCustom() { box->SetStyle(box->Style() << cbCustomColor); }
  // The colour of the swatch shown for an entry.
  QRgb Swatch(int index) const
  {
    return Combo()->itemIcon(index).pixmap(Combo()->iconSize()).toImage().pixel(4, 4) | 0xFF000000u;
  }
  // Answers the colour dialog the user opens with `colour` (accepted) or with a cancel.
  void AnswerColourDialog(QColor colour, bool accept)
  {
    auto* poll = new QTimer(form->Widget());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, colour, accept, this] {
      auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      if (!dialog)
        return;
      poll->deleteLater();
      dialogModalDepth = Application->ModalDepth();
      dialog->setCurrentColor(colour);
      if (accept)
        dialog->accept();
      else
        dialog->reject();
    });
    poll->start(10);
  }

  std::unique_ptr<TForm> form;
  TColorBox* box = nullptr;
  int dialogModalDepth = -1;
};

TEST_F(ColorBoxTest, TheDefaultListHoldsStandardExtendedAndSystemColours)
{
  EXPECT_TRUE(box->Style().Contains(cbStandardColors));
  EXPECT_TRUE(box->Style().Contains(cbExtendedColors));
  EXPECT_TRUE(box->Style().Contains(cbSystemColors));
  EXPECT_FALSE(box->Style().Contains(cbCustomColor));
  EXPECT_EQ(Combo()->count(), 16 + 4 + 30);
  EXPECT_EQ(box->Selected(), 0x000000);
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("clBlack"));
  EXPECT_EQ(Combo()->itemText(9), QStringLiteral("clRed"));
  EXPECT_EQ(Swatch(9), qRgb(255, 0, 0));  // 0x0000FF: red in the low byte
  EXPECT_EQ(Combo()->itemText(16), QStringLiteral("clMoneyGreen"));
  EXPECT_EQ(Swatch(16), qRgb(0xC0, 0xDC, 0xC0));
}

TEST_F(ColorBoxTest, AListedColourSelectsItsEntrySystemColoursIncluded)
{
  box->SetSelected(0xFF0000);
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("clBlue"));
  EXPECT_EQ(box->Selected(), 0xFF0000);
  box->SetSelected(clBtnFace);  // kept as the system colour, not its present RGB
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("clBtnFace"));
  EXPECT_EQ(box->Selected(), clBtnFace);
  EXPECT_EQ(Swatch(Combo()->currentIndex()), ToQColor(clBtnFace).rgb());
}

TEST_F(ColorBoxTest, AnUnlistedColourGoesIntoTheCustomEntryAndReadsBackEqual)
{
  AddCustom();
  EXPECT_EQ(Combo()->itemText(0), QStringLiteral("Custom..."));
  box->SetSelected(0x123456);
  EXPECT_EQ(Combo()->currentIndex(), 0);
  EXPECT_EQ(box->Selected(), 0x123456);
  EXPECT_EQ(Swatch(0), qRgb(0x56, 0x34, 0x12));
  // A listed colour still selects its own entry, not the custom one.
  box->SetSelected(0x000000);
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("clBlack"));
}

TEST_F(ColorBoxTest, AColourSetBeforeTheCustomEntryIsAddedLandsInIt)
{
  // The mask editor sets the colour first and adds the custom entry to the style after.
  box->SetSelected(0x654321);
  EXPECT_EQ(box->Selected(), 0x654321);
  EXPECT_EQ(Combo()->currentIndex(), -1);
  AddCustom();
  EXPECT_EQ(Combo()->currentIndex(), 0);
  EXPECT_EQ(box->Selected(), 0x654321);
  AddCustom();  // the rows are shown again: nothing changes
  EXPECT_EQ(box->Selected(), 0x654321);
}

TEST_F(ColorBoxTest, TheUserPicksAListedColour)
{
  AddCustom();
  box->SetSelected(0x0000FF);
  PressKey(Combo(), Qt::Key_Down);
  EXPECT_EQ(box->Selected(), 0x00FF00);  // clLime follows clRed
  PickInOpenList(Combo(), 16);           // clWhite, after the custom entry
  EXPECT_EQ(box->Selected(), 0xFFFFFF);
}

TEST_F(ColorBoxTest, CustomOpensAColourDialogWhoseColourIsTaken)
{
  AddCustom();
  box->SetSelected(0x0000FF);
  AnswerColourDialog(QColor(0x10, 0x20, 0x30), true);
  PickInOpenList(Combo(), 0);
  EXPECT_EQ(dialogModalDepth, 1);  // counted as a modal loop
  EXPECT_EQ(box->Selected(), 0x302010);
  EXPECT_EQ(Combo()->currentIndex(), 0);
  EXPECT_EQ(Swatch(0), qRgb(0x10, 0x20, 0x30));
}

TEST_F(ColorBoxTest, ACancelledColourDialogGoesBackToTheColourBefore)
{
  AddCustom();
  box->SetSelected(0x00FFFF);
  AnswerColourDialog(QColor(0x10, 0x20, 0x30), false);
  PickInOpenList(Combo(), 0);
  EXPECT_EQ(box->Selected(), 0x00FFFF);
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("clYellow"));
}

}  // namespace
