#include <QGroupBox>
#include <QRadioButton>
#include <memory>

#include "ExtCtrls.h"
#include "GroupBox.h"
#include "support/GuiTest.h"
#include "RadioButton.h"

namespace {

// Two radio buttons on a panel, two in a group box on the same panel.
class RadioButtonTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    panel = std::make_unique<TPanel>(nullptr);
    panel->SetBounds(0, 0, 400, 300);
    up = Make(panel.get());
    down = Make(panel.get());
    group = new TGroupBox(panel.get());
    group->SetParent(panel.get());
    group->SetBounds(8, 100, 300, 90);
    style1 = Make(group);
    style2 = Make(group);
  }

  static TRadioButton* Make(TWinControl* parent)
  {
    auto* radio = new TRadioButton(parent);
    radio->SetParent(parent);
    return radio;
  }
  static QRadioButton* Radio(TRadioButton* radio) { return static_cast<QRadioButton*>(radio->Widget()); }

  std::unique_ptr<TPanel> panel;
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
