#include <QComboBox>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "ComboBox.h"
#include "ExtCtrls.h"
#include "support/FormTest.h"
#include "support/InputTestSupport.h"

namespace {

// A drop-down list on a shown form, with the main panel's font; every OnChange is recorded
// with the selection it saw.
class ComboBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    form->Font()->SetName("Verdana");
    form->Font()->SetSize(10);
    combo = Place<TComboBox>(10, 10, 200, 0);
    combo->SetStyle(csDropDownList);
    combo->SetDropDownCount(12);
    combo->OnChange = [this](TObject* sender) {
      EXPECT_EQ(sender, combo);
      changes.push_back(combo->ItemIndex());
    };
    form->Show();
  }

  void Fill(std::initializer_list<const char*> texts)
  {
    for (const char* text : texts)
      combo->Items()->Add(text);
  }
  QComboBox* Box() const { return static_cast<QComboBox*>(combo->Widget()); }
  void Wheel(int delta)
  {
    const QPoint p(5, 5);
    QWheelEvent wheel(QPointF(p), QPointF(Box()->mapToGlobal(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Box(), &wheel);
    wheelAccepted = wheel.isAccepted();
  }

  TComboBox* combo = nullptr;
  std::vector<int> changes;
  bool wheelAccepted = false;
};

TEST_F(ComboBoxTest, TheProgramsChangesSelectNothingByThemselvesAndFireNoChange)
{
  EXPECT_EQ(combo->DropDownCount(), 12);
  Fill({"a", "b", "c"});
  EXPECT_EQ(combo->ItemIndex(), -1);  // Qt would select the first item added
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->Items()->Insert(0, "top");  // the selection follows its item
  EXPECT_EQ(combo->ItemIndex(), 3);
  combo->Items()->Put(3, "C");
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(Box()->currentText(), QStringLiteral("C"));
  combo->Items()->Move(3, 0);
  combo->SetItemIndex(0);
  combo->Items()->Delete(0);  // the selected item goes: no selection
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->SetItemIndex(7);  // no such item
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->SetItemIndex(1);
  combo->Items()->Clear();
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_TRUE(changes.empty());
}

TEST_F(ComboBoxTest, KeysOfTheUserChangeThePickWithOnChange)
{
  Fill({"a", "b", "c"});
  combo->SetItemIndex(0);
  PressKey(Box(), Qt::Key_Down);
  PressKey(Box(), Qt::Key_End);
  PressKey(Box(), Qt::Key_Down);  // already the last: nothing picked
  EXPECT_EQ(changes, (std::vector<int>{1, 2}));
}

TEST_F(ComboBoxTest, PickingInTheOpenListFiresAlsoForTheItemAlreadySelected)
{
  Fill({"first.qel", "second.qel"});
  combo->SetItemIndex(0);
  PickInOpenList(Box(), 1);
  EXPECT_EQ(changes, std::vector<int>{1});
  PickInOpenList(Box(), 1);  // the entry on top of the recent list, chosen again
  EXPECT_EQ(changes, (std::vector<int>{1, 1}));
  EXPECT_FALSE(Box()->view()->isVisible());
}

TEST_F(ComboBoxTest, AHandlerMayRearrangeTheItemsWithoutFurtherEvents)
{
  // Choosing a recent file: move it to the top and select the top.
  Fill({"x", "y", "z"});
  combo->SetItemIndex(0);
  combo->OnChange = [this](TObject*) {
    changes.push_back(combo->ItemIndex());
    const int picked = combo->ItemIndex();
    combo->SetItemIndex(0);
    combo->Items()->Move(picked, 0);
    combo->SetItemIndex(0);
  };
  PickInOpenList(Box(), 2);
  EXPECT_EQ(changes, std::vector<int>{2});
  EXPECT_EQ(combo->Items()->Get(0), "z");
  EXPECT_EQ(combo->Items()->Get(1), "x");
  EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(ComboBoxTest, TheWheelOverAClosedComboWithoutFocusIsLeftToTheParent)
{
  Fill({"a", "b", "c"});
  combo->SetItemIndex(0);
  Wheel(-120);
  EXPECT_FALSE(wheelAccepted);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_TRUE(changes.empty());
  // With the focus the wheel picks, as a user action.
  ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  combo->SetFocus();
  Wheel(-120);
  EXPECT_TRUE(wheelAccepted);
  EXPECT_EQ(changes, std::vector<int>{1});
}

TEST_F(ComboBoxTest, ItemsAreTheProgramsBytesShownThroughTheCodePage)
{
  const std::string maska = "\xCC\xE0\xF1\xEA\xE0";  // "Маска" in Windows-1251
  combo->SetCodePage(1251);
  combo->Items()->Add(maska);
  EXPECT_EQ(Box()->itemText(0), QString::fromUtf8("Маска"));
  EXPECT_EQ(combo->Items()->Get(0), maska);
  EXPECT_EQ(combo->Items()->IndexOf(maska), 0);
  combo->SetCodePage(1252);
  EXPECT_EQ(Box()->itemText(0), QString::fromUtf8("Ìàñêà"));
  EXPECT_EQ(combo->Items()->Get(0), maska);
}

TEST_F(ComboBoxTest, TheItemsAdapterChecksItsIndexes)
{
  Fill({"a", "b"});
  TStrings* items = combo->Items();
  EXPECT_THROW(items->Get(-1), EListError);
  EXPECT_THROW(items->Get(2), EListError);
  EXPECT_THROW(items->Put(2, "x"), EListError);
  EXPECT_THROW(items->Delete(2), EListError);
  EXPECT_THROW(items->Insert(3, "x"), EListError);
  EXPECT_THROW(items->Move(0, 2), EListError);
  EXPECT_EQ(items->Count(), 2);
  EXPECT_EQ(Box()->count(), 2);
  items->Insert(2, "c");  // the end is a valid place to insert
  EXPECT_EQ(items->Get(2), "c");
  EXPECT_EQ(Box()->itemText(2), QStringLiteral("c"));
}

TEST_F(ComboBoxTest, HeightFollowsTheFontAndCannotBeSetOtherwise)
{
  const int height = combo->Height();
  EXPECT_EQ(height, Box()->sizeHint().height());
  combo->SetBounds(0, 0, 250, 100);
  EXPECT_EQ(combo->Height(), height);
  EXPECT_EQ(Box()->height(), height);
  form->Font()->SetSize(18);
  EXPECT_GT(combo->Height(), height);
}

}  // namespace
