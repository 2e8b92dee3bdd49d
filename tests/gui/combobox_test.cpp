// Drop-down lists: of texts (the program's bytes), and of colours.
#include "support/ControlTest.h"

namespace {

// A drop-down list on a shown form with the main panel's font, every OnChange recorded with the
// selection it saw; and a row's colour box, as the mask editor makes it.
class ComboBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    form->Font()->SetName("Verdana");
    form->Font()->SetSize(10);
    combo = Place<TComboBox>(10, 10, 200, 0);
    combo->SetStyle(csDropDownList);
    combo->OnChange = [this](TObject* sender) { changes.push_back(sender == combo ? combo->ItemIndex() : -9); };
    box = Place<TColorBox>(10, 50, 125, 0);
    form->Show();
  }

  void Fill(std::initializer_list<const char*> texts)
  {
    for (const char* text : texts)
      combo->Items()->Add(text);
  }
  QComboBox* Box() const { return static_cast<QComboBox*>(combo->Widget()); }
  // True when the combo box took the wheel.
  bool Wheel(int delta)
  {
    QWheelEvent wheel(QPointF(5, 5), QPointF(Box()->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Box(), &wheel);
    return wheel.isAccepted();
  }

  QComboBox* Combo() const { return static_cast<QComboBox*>(box->Widget()); }
  // The custom entry is added to the style after the colour is set.
  void AddCustom() { box->SetStyle(box->Style() << cbCustomColor); }
  // The colour of an entry's swatch, and what the box shows.
  QRgb Swatch(int index) const
  {
    return Combo()->itemIcon(index).pixmap(Combo()->iconSize()).toImage().pixel(4, 4) | 0xFF000000u;
  }
  std::string Shown() const
  {
    return Combo()->currentText().toStdString() + " " + std::to_string(box->Selected());
  }

  TComboBox* combo = nullptr;
  std::vector<int> changes;
  TColorBox* box = nullptr;
};

TEST_F(ComboBoxTest, TheProgramsChangesSelectNothingByThemselvesAndFireNoChange)
{
  Fill({"a", "b", "c"});
  EXPECT_EQ(combo->ItemIndex(), -1);  // Qt would select the first item added
  combo->SetItemIndex(2);
  combo->Items()->Insert(0, "top");  // the selection follows its item
  combo->Items()->Put(3, "C");
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(Box()->currentText(), QStringLiteral("C"));
  combo->Items()->Move(3, 0);
  combo->SetItemIndex(0);
  combo->Items()->Delete(0);  // the selected item goes: no selection
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_THROW(combo->Items()->Insert(4, "x"), EListError);
  combo->Items()->Insert(3, "end");  // the end is a valid place to insert
  EXPECT_EQ(Box()->itemText(3), QStringLiteral("end"));
  combo->SetItemIndex(1);
  combo->Items()->Clear();
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(Box()->count(), 0);
  EXPECT_TRUE(changes.empty());
}

TEST_F(ComboBoxTest, TheUsersWheelWithFocusKeysAndPicksFireOnChange)
{
  Fill({"a", "b", "c"});
  combo->SetItemIndex(0);
  EXPECT_FALSE(Wheel(-120));  // without the focus the wheel is the parent's (a scrolling page)
  ShowActive();
  combo->SetFocus();
  EXPECT_TRUE(Wheel(-120));
  PressKey(Box(), Qt::Key_Down);
  PressKey(Box(), Qt::Key_End);
  PressKey(Box(), Qt::Key_Down);  // already the last: nothing picked
  PickInOpenList(Box(), 1);
  PickInOpenList(Box(), 1);  // the entry on top of the recent list, chosen again
  EXPECT_FALSE(Box()->view()->isVisible());
  EXPECT_EQ(changes, (std::vector<int>{1, 2, 1, 1}));
}

// A real wheel over the list while the focus is elsewhere: Qt would hand the focus to the list
// first, so the list must not take it from the wheel. With the focus before, the wheel picks.
TEST_F(ComboBoxTest, TheWindowsWheelPicksOnlyWhenTheListHadTheFocusBefore)
{
  Fill({"a", "b", "c"});
  combo->SetItemIndex(0);
  auto* edit = Place<TEdit>(10, 100, 100, 0);
  ShowActive();
  edit->SetFocus();
  window_input::Wheel(Box(), QPoint(5, 5), -120);
  EXPECT_TRUE(edit->Widget()->hasFocus());
  EXPECT_EQ(combo->ItemIndex(), 0);
  combo->SetFocus();
  window_input::Wheel(Box(), QPoint(5, 5), -120);
  EXPECT_EQ(changes, std::vector<int>{1});
}

TEST_F(ComboBoxTest, AHandlerMayRearrangeTheItemsWithoutFurtherEvents)
{
  // Choosing a recent file: move it to the top and select the top.
  Fill({"x", "y", "z"});
  combo->SetItemIndex(0);
  combo->OnChange = [this](TObject*) {
    const int picked = combo->ItemIndex();
    changes.push_back(picked);
    combo->SetItemIndex(0);
    combo->Items()->Move(picked, 0);
    combo->SetItemIndex(0);
  };
  PickInOpenList(Box(), 2);
  EXPECT_EQ(changes, std::vector<int>{2});
  EXPECT_EQ(combo->Items()->Get(0) + combo->Items()->Get(1), "zx");
  EXPECT_EQ(combo->ItemIndex(), 0);
}

using ColorBoxTest = ComboBoxTest;

TEST_F(ColorBoxTest, ListedColoursSelectTheirEntryAndOthersTheCustomOne)
{
  EXPECT_EQ(Shown(), "clBlack 0");
  EXPECT_EQ(Swatch(Combo()->findText(QStringLiteral("clRed"))), qRgb(255, 0, 0));  // red is the low byte
  box->SetSelected(clBtnFace);  // kept as the system colour, not its present RGB
  EXPECT_EQ(Shown(), "clBtnFace " + std::to_string(clBtnFace));
  box->SetSelected(0x654321);  // no entry for it yet
  EXPECT_EQ(Combo()->currentIndex(), -1);
  AddCustom();
  EXPECT_EQ(Shown(), "Custom... " + std::to_string(0x654321));
  box->SetSelected(0x123456);
  EXPECT_EQ(Shown(), "Custom... " + std::to_string(0x123456));
  EXPECT_EQ(Swatch(0), qRgb(0x56, 0x34, 0x12));
}

TEST_F(ColorBoxTest, TheUserPicksAListedColourOrOneInTheColourDialog)
{
  AddCustom();
  box->SetSelected(0x0000FF);
  PressKey(Combo(), Qt::Key_Down);
  EXPECT_EQ(Shown(), "clLime " + std::to_string(0x00FF00));
  PickInOpenList(Combo(), 16);  // after the custom entry
  EXPECT_EQ(Shown(), "clWhite " + std::to_string(0xFFFFFF));
  // "Custom..." opens the dialog, a modal loop; cancelled, the colour before stays.
  for (const bool accept : {false, true}) {
    int depth = -1;
    DialogDriver driver;
    driver.Then<QColorDialog>([&](QColorDialog* dialog) {
      depth = Application->ModalDepth();
      dialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
      accept ? dialog->accept() : dialog->reject();
    });
    PickInOpenList(Combo(), 0);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(depth, 1);
    if (!accept) {
      EXPECT_EQ(Shown(), "clWhite " + std::to_string(0xFFFFFF));
    }
  }
  EXPECT_EQ(Shown(), "Custom... " + std::to_string(0x302010));
  EXPECT_EQ(Swatch(0), qRgb(0x10, 0x20, 0x30));
}

}  // namespace
