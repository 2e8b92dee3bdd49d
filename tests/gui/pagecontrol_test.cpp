#include "support/ControlTest.h"

namespace {

// A page control of three sheets (border width 5, as the program's) on an active form; a
// focusable panel stands for an edit on the first sheet.
class PageControlTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    pages = Place<TPageControl>(0, 22, 400, 300);
    for (const char* caption : {"Options", "Text", "Chart"}) {
      auto* sheet = new TTabSheet(pages);
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
      sheet->SetBorderWidth(5);
      sheets.push_back(sheet);
    }
    edit = Place<TPanel>(sheets[0], 10, 10, 60, 20);
    edit->OnExit = [this](TObject*) { log.push_back("exit, active " + Active()); };
    pages->OnChange = [this](TObject* sender) {
      log.push_back(std::string(sender == pages ? "change" : "?") + ", active " + Active());
    };
    ShowActive();
  }

  QTabBar* Tabs() { return pages->Widget()->findChild<QTabBar*>(); }
  void ClickTab(int index) { window_input::Click(Tabs(), Tabs()->tabRect(index).center()); }
  // The active sheet, the visible ones and the tab row, e.g. "2 shown 2 tab 2 of 3".
  std::string Active()
  {
    std::string state;
    for (size_t i = 0; i < sheets.size(); ++i)
      state += sheets[i] == pages->ActivePage() ? std::to_string(i) : "";
    state += " shown";
    for (size_t i = 0; i < sheets.size(); ++i)
      state += sheets[i] && sheets[i]->Widget()->isVisible() ? " " + std::to_string(i) : "";
    return state + " tab " + std::to_string(Tabs()->currentIndex()) + " of " + std::to_string(Tabs()->count());
  }

  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  TPanel* edit = nullptr;
  Log log;
};

TEST_F(PageControlTest, TheFirstSheetIsActiveAndChangesInCodeFireNoOnChangeButLeaveTheOldSheet)
{
  EXPECT_EQ(Active(), "0 shown 0 tab 0 of 3");
  edit->SetFocus();
  pages->SetActivePage(sheets[2]);
  EXPECT_EQ(Active(), "2 shown 2 tab 2 of 3");
  pages->SetActivePage(sheets[1]);
  ClickTab(1);  // the user picking the tab already active changes nothing either
  EXPECT_EQ(log, Log{"exit, active 0 shown 0 tab 0 of 3"});
  EXPECT_EQ(Active(), "1 shown 1 tab 1 of 3");
}

TEST_F(PageControlTest, AUserPickLeavesTheOldSheetShowsTheNewOneThenChanges)
{
  sheets[2]->OnResize = [&](TObject*) { log.push_back("resize 2, active " + Active()); };
  edit->SetFocus();
  ClickTab(2);
  EXPECT_EQ(log, (Log{"exit, active 0 shown 0 tab 0 of 3", "resize 2, active 0 shown 0 2 tab 2 of 3",
                      "change, active 2 shown 2 tab 2 of 3"}));
  EXPECT_TRUE(pages->Focused());  // the tab row took the focus
}

TEST_F(PageControlTest, AFreedSheetTakesItsTabAlong)
{
  pages->SetActivePage(sheets[2]);
  delete sheets[1];
  sheets[1] = nullptr;
  EXPECT_EQ(Active(), "2 shown 2 tab 1 of 2");
  ClickTab(0);
  // The active sheet freed: the remaining one takes its place, without an event.
  delete sheets[0];
  sheets[0] = nullptr;
  EXPECT_EQ(Active(), "2 shown 2 tab 0 of 1");
  EXPECT_EQ(log, Log{"change, active 0 shown 0 tab 0 of 2"});
}

}  // namespace
