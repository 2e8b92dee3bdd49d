#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <memory>

#include "Edit.h"
#include "ExtCtrls.h"
#include "UpDown.h"
#include "support/FormTest.h"
#include "support/InputTestSupport.h"

namespace {

// The thickness pair: a read-only edit driven by an up-down within 1..5, built in the order the
// program builds it.
class UpDownTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 0, 0, 400, 300);
    upDown = new TUpDown(panel);
    upDown->SetParent(panel);
    upDown->SetPosition(2);
    upDown->SetMin(1);
    upDown->SetMax(5);
    edit = new TEdit(panel);
    edit->SetParent(panel);
    edit->SetReadOnly(true);
    upDown->SetAssociate(edit);
  }

  QToolButton* Arrow(Qt::ArrowType type) const
  {
    for (QToolButton* button : upDown->Widget()->findChildren<QToolButton*>())
      if (button->arrowType() == type)
        return button;
    return nullptr;
  }

  TPanel* panel = nullptr;
  TUpDown* upDown = nullptr;
  TEdit* edit = nullptr;
};

TEST_F(UpDownTest, AssociatingWritesThePositionAndTakesTheEditsHeight)
{
  EXPECT_EQ(edit->Text(), "2");
  EXPECT_EQ(upDown->Position(), 2);
  EXPECT_EQ(upDown->Associate(), edit);
  EXPECT_EQ(upDown->Height(), edit->Height());
}

TEST_F(UpDownTest, ClicksStepWithinMinAndMaxAndWriteTheEdit)
{
  QToolButton* up = Arrow(Qt::UpArrow);
  QToolButton* down = Arrow(Qt::DownArrow);
  ASSERT_TRUE(up && down);
  for (int i = 0; i < 5; ++i)
    up->click();
  EXPECT_EQ(upDown->Position(), 5);
  EXPECT_EQ(edit->Text(), "5");
  down->click();
  EXPECT_EQ(edit->Text(), "4");
  for (int i = 0; i < 6; ++i)
    down->click();
  EXPECT_EQ(upDown->Position(), 1);
  EXPECT_EQ(edit->Text(), "1");
  // The arrows share the up-down's height, the upper one above.
  upDown->SetBounds(50, 10, 17, 24);
  EXPECT_EQ(up->geometry(), QRect(0, 0, 17, 12));
  EXPECT_EQ(down->geometry(), QRect(0, 12, 17, 12));
}

TEST_F(UpDownTest, ThePositionSetByTheProgramIsKeptInRangeAndWritten)
{
  upDown->SetPosition(4);
  EXPECT_EQ(edit->Text(), "4");
  upDown->SetPosition(9);  // a thickness from the settings beyond the range
  EXPECT_EQ(upDown->Position(), 5);
  EXPECT_EQ(edit->Text(), "5");
  upDown->SetPosition(0);
  EXPECT_EQ(upDown->Position(), 1);
  EXPECT_EQ(edit->Text(), "1");
}

TEST_F(UpDownTest, ArrowKeysInTheEditStepItButTypingDoesNothing)
{
  auto* line = static_cast<QLineEdit*>(edit->Widget());
  PressKey(line, Qt::Key_Up);
  PressKey(line, Qt::Key_Up);
  EXPECT_EQ(upDown->Position(), 4);
  EXPECT_EQ(edit->Text(), "4");
  PressKey(line, Qt::Key_Down);
  EXPECT_EQ(edit->Text(), "3");
  TypeText(line, QStringLiteral("9"));
  EXPECT_EQ(edit->Text(), "3");
}

TEST_F(UpDownTest, AFreedEditIsNoLongerWritten)
{
  delete edit;
  EXPECT_EQ(upDown->Associate(), nullptr);
  Arrow(Qt::UpArrow)->click();  // must not touch the freed edit
  EXPECT_EQ(upDown->Position(), 3);
}

}  // namespace
