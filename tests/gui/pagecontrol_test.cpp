#include <QTabBar>
#include <memory>
#include <string>
#include <vector>

#include "PageControl.h"
#include "Panel.h"
#include "support/GuiTest.h"
#include "support/WindowInput.h"

namespace {

using Log = std::vector<std::string>;

// A shown form with a page control of three sheets (border width 5, as the program's); a
// focusable panel stands for an edit on the first sheet.
class PageControlTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 400);
    pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(0, 22, 400, 300);
    for (const char* caption : {"Options", "Text", "Chart"}) {
      auto* sheet = new TTabSheet(pages);
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
      sheet->SetBorderWidth(5);
      sheets.push_back(sheet);
    }
    edit = new TPanel(sheets[0]);
    edit->SetParent(sheets[0]);
    edit->SetBounds(10, 10, 60, 20);
    form->Show();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }

  QTabBar* Tabs() { return pages->Widget()->findChild<QTabBar*>(); }
  void ClickTab(int index) { window_input::Click(Tabs(), Tabs()->tabRect(index).center()); }
  std::string NameOf(const TTabSheet* sheet)
  {
    for (size_t i = 0; i < sheets.size(); ++i)
      if (sheets[i] == sheet)
        return std::to_string(i);
    return "none";
  }

  std::unique_ptr<TForm> form;
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  TPanel* edit = nullptr;
  Log log;
};

TEST_F(PageControlTest, TheFirstSheetIsActiveAndCodeChangesFireNoOnChange)
{
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(sheets[2]->PageControl(), pages);
  EXPECT_EQ(Tabs()->count(), 3);
  EXPECT_EQ(Tabs()->tabText(2), "Chart");
  pages->OnChange = [&](TObject*) { log.push_back("change"); };

  pages->SetActivePage(sheets[2]);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(Tabs()->currentIndex(), 2);
  EXPECT_TRUE(sheets[2]->Widget()->isVisible());
  EXPECT_FALSE(sheets[0]->Widget()->isVisible());
  EXPECT_FALSE(sheets[1]->Widget()->isVisible());
  pages->SetActivePage(sheets[1]);
  EXPECT_TRUE(log.empty());

  // The user picking the tab already active changes nothing either.
  ClickTab(1);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
}

TEST_F(PageControlTest, SheetsFillTheAreaUnderTheTabsAndAlignInsideTheirBorder)
{
  TTabSheet* sheet = sheets[0];
  const int tabBottom = Tabs()->geometry().bottom() + 1;
  EXPECT_GE(sheet->Top(), tabBottom);
  EXPECT_GT(sheet->Width(), 390);
  EXPECT_LE(sheet->Left() + sheet->Width(), 400);
  EXPECT_LE(sheet->Top() + sheet->Height(), 300);
  EXPECT_EQ(sheet->ClientWidth(), sheet->Width() - 10);

  auto* filler = new TPanel(sheet);
  filler->SetParent(sheet);
  filler->SetAlign(alClient);
  EXPECT_EQ(filler->Width(), sheet->ClientWidth());
  EXPECT_EQ(filler->Height(), sheet->ClientHeight());
  // The page control grows: the active sheet and its children follow at once.
  pages->SetWidth(500);
  EXPECT_EQ(filler->Width(), sheet->Width() - 10);
  EXPECT_GT(sheet->Width(), 490);
}

TEST_F(PageControlTest, AUserPickLeavesTheOldSheetShowsTheNewOneThenChanges)
{
  edit->OnExit = [&](TObject*) { log.push_back("exit, active " + NameOf(pages->ActivePage())); };
  sheets[2]->OnResize = [&](TObject*) {
    log.push_back("resize 2, active " + NameOf(pages->ActivePage()) + (sheets[2]->Visible() ? ", shown" : ""));
  };
  pages->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, pages);
    log.push_back("change, active " + NameOf(pages->ActivePage()) +
                  (sheets[0]->Visible() ? ", old shown" : ", old hidden"));
  };
  edit->SetFocus();
  ASSERT_TRUE(edit->Focused());

  ClickTab(2);
  EXPECT_EQ(log, (Log{"exit, active 0", "resize 2, active 0, shown", "change, active 2, old hidden"}));
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_TRUE(pages->Focused());  // the tab row took the focus
}

TEST_F(PageControlTest, ActivePageInCodeStillMovesTheFocusOutOfTheOldSheet)
{
  edit->OnExit = [&](TObject*) { log.push_back("exit"); };
  pages->OnChange = [&](TObject*) { log.push_back("change"); };
  edit->SetFocus();
  pages->SetActivePage(sheets[1]);
  EXPECT_EQ(log, Log{"exit"});
  EXPECT_FALSE(edit->Focused());
}

TEST_F(PageControlTest, AFreedSheetTakesItsTabAlong)
{
  pages->SetActivePage(sheets[2]);
  delete sheets[1];
  ASSERT_EQ(Tabs()->count(), 2);
  EXPECT_EQ(Tabs()->tabText(1), "Chart");
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(Tabs()->currentIndex(), 1);
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  ClickTab(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  // The active sheet freed: the remaining one takes its place, without an event.
  delete sheets[0];
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_TRUE(sheets[2]->Widget()->isVisible());
  EXPECT_EQ(changes, 1);
}

// A sheet of the program's own kind whose showing fails.
class FailingSheet : public TTabSheet {
public:
  using TTabSheet::TTabSheet;
  bool fail = false;

protected:
  void VisibleChanged() override
  {
    TTabSheet::VisibleChanged();
    if (fail && Visible())
      throw EInvalidOperation("the sheet cannot show");
  }
};

TEST_F(PageControlTest, AFailureWhileTheUserPicksATabReachesHandleException)
{
  auto* failing = new FailingSheet(pages);
  failing->SetPageControl(pages);
  failing->fail = true;
  pages->OnChange = [&](TObject*) { log.push_back("change"); };
  ClickTab(3);
  ASSERT_EQ(exceptions, std::vector<std::string>{"the sheet cannot show"});
  EXPECT_EQ(exceptionSenders[0], pages);
  EXPECT_TRUE(log.empty());  // the pick broke off before its OnChange
  // The control goes on working.
  failing->fail = false;
  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(log, Log{"change"});
}

}  // namespace
