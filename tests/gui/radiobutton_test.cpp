#include <QGroupBox>
#include <QRadioButton>

#include "GroupBox.h"
#include "RadioButton.h"
#include "support/FormTest.h"

namespace {

// Two radio buttons on a panel, two in a group box on the same panel.
class RadioButtonTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 0, 0, 400, 300);
    up = Place<TRadioButton>(panel, 0, 0, 100, 20);
    down = Place<TRadioButton>(panel, 0, 30, 100, 20);
    group = Place<TGroupBox>(panel, 8, 100, 300, 90);
    style1 = Place<TRadioButton>(group, 0, 0, 100, 20);
    style2 = Place<TRadioButton>(group, 0, 30, 100, 20);
  }

  static QRadioButton* Radio(TRadioButton* radio) { return static_cast<QRadioButton*>(radio->Widget()); }

  TPanel* panel = nullptr;
  TRadioButton* up = nullptr;
  TRadioButton* down = nullptr;
  TGroupBox* group = nullptr;
  TRadioButton* style1 = nullptr;
  TRadioButton* style2 = nullptr;
};

TEST_F(RadioButtonTest, CheckingOneUnchecksItsSiblingsOfTheSameParentOnly)
{
  down->SetChecked(true);
  style1->SetChecked(true);
  EXPECT_TRUE(down->Checked());
  EXPECT_TRUE(style1->Checked());
  up->SetChecked(true);
  EXPECT_TRUE(up->Checked());
  EXPECT_FALSE(down->Checked());
  EXPECT_TRUE(style1->Checked());  // another parent
  // The user's click follows the same rule.
  Radio(style2)->click();
  EXPECT_TRUE(style2->Checked());
  EXPECT_FALSE(style1->Checked());
  EXPECT_TRUE(up->Checked());
}

TEST_F(RadioButtonTest, TheProgramMayUncheckTheCheckedOne)
{
  // A style that is neither 1 nor 0 leaves both radios of its group unchecked.
  style1->SetChecked(true);
  style1->SetChecked(false);
  style2->SetChecked(false);
  EXPECT_FALSE(style1->Checked());
  EXPECT_FALSE(style2->Checked());
  // Still exclusive afterwards.
  style1->SetChecked(true);
  style2->SetChecked(true);
  EXPECT_FALSE(style1->Checked());
  EXPECT_TRUE(style2->Checked());
}

TEST_F(RadioButtonTest, GroupChildrenCountFromTheBoxCornerWithTheCaptionBand)
{
  group->SetCaption("  Status chart style  ");
  auto* box = static_cast<QGroupBox*>(group->Widget());
  EXPECT_EQ(box->title(), QStringLiteral("  Status chart style  "));
  style1->SetBounds(10, 3, 20, 20);
  EXPECT_EQ(Radio(style1)->geometry(), QRect(10, 3, 20, 20));
  EXPECT_EQ(Radio(style1)->parentWidget(), box);
  EXPECT_EQ(group->ClientWidth(), 300);
  EXPECT_EQ(group->ClientHeight(), 90);
  // Hidden after the layout, with its children.
  group->Hide();
  EXPECT_FALSE(box->isVisible());
  EXPECT_FALSE(Radio(style1)->isVisibleTo(panel->Widget()));
}

}  // namespace
