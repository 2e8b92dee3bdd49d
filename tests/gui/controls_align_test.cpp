#include <memory>
#include <vector>

#include "ExtCtrls.h"
#include "support/GuiTest.h"
#include "StdCtrls.h"

namespace {

// A borderless, bevel-less container of a known size, as MainPanel is.
class AlignTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    host = std::make_unique<TPanel>(nullptr);
    host->SetBevelOuter(bvNone);
    host->SetBounds(0, 0, 200, 100);
  }

  TPanel* Child(TAlign align, int width, int height)
  {
    auto* panel = new TPanel(host.get());
    panel->SetBounds(0, 0, width, height);
    panel->SetParent(host.get());
    panel->SetAlign(align);
    return panel;
  }

  std::unique_ptr<TPanel> host;
};

struct Bounds {
  int left, top, width, height;
  bool operator==(const Bounds&) const = default;
};

Bounds Of(const TControl* c)
{
  return Bounds{c->Left(), c->Top(), c->Width(), c->Height()};
}

void PrintTo(const Bounds& b, std::ostream* os)
{
  *os << "(" << b.left << ", " << b.top << ", " << b.width << " x " << b.height << ")";
}

TEST_F(AlignTest, EdgeAlignedControlsStackInCreationOrderAndClientTakesTheRest)
{
  // The client control comes first: creation order matters only among the same edge.
  TPanel* client = Child(alClient, 10, 10);
  TPanel* top1 = Child(alTop, 10, 10);
  TPanel* top2 = Child(alTop, 10, 20);
  TPanel* bottom = Child(alBottom, 10, 15);
  TPanel* left1 = Child(alLeft, 30, 10);
  TPanel* left2 = Child(alLeft, 5, 10);
  TPanel* right = Child(alRight, 40, 10);

  EXPECT_EQ(Of(top1), (Bounds{0, 0, 200, 10}));
  EXPECT_EQ(Of(top2), (Bounds{0, 10, 200, 20}));
  EXPECT_EQ(Of(bottom), (Bounds{0, 85, 200, 15}));
  EXPECT_EQ(Of(left1), (Bounds{0, 30, 30, 55}));
  EXPECT_EQ(Of(left2), (Bounds{30, 30, 5, 55}));
  EXPECT_EQ(Of(right), (Bounds{160, 30, 40, 55}));
  EXPECT_EQ(Of(client), (Bounds{35, 30, 125, 55}));
}

TEST_F(AlignTest, ASecondBottomControlLiesAboveTheFirstLikeASplitter)
{
  TPanel* faultBox = Child(alBottom, 10, 30);
  TPanel* splitter = Child(alBottom, 10, 8);
  TPanel* legend = Child(alClient, 10, 10);
  EXPECT_EQ(Of(faultBox), (Bounds{0, 70, 200, 30}));
  EXPECT_EQ(Of(splitter), (Bounds{0, 62, 200, 8}));
  EXPECT_EQ(Of(legend), (Bounds{0, 0, 200, 62}));

  // The fault box grows (a splitter drag): the others follow at once.
  faultBox->SetHeight(50);
  EXPECT_EQ(Of(faultBox), (Bounds{0, 50, 200, 50}));
  EXPECT_EQ(Of(splitter), (Bounds{0, 42, 200, 8}));
  EXPECT_EQ(Of(legend), (Bounds{0, 0, 200, 42}));
}

TEST_F(AlignTest, HiddenAlignedControlsTakeNoSpaceUntilShown)
{
  TPanel* top = Child(alTop, 10, 25);
  TPanel* client = Child(alClient, 10, 10);
  top->Hide();
  EXPECT_EQ(Of(client), (Bounds{0, 0, 200, 100}));
  top->Show();
  EXPECT_EQ(Of(client), (Bounds{0, 25, 200, 75}));
}

TEST_F(AlignTest, BorderWidthInsetsTheClientAreaAndTheChildWidgets)
{
  host->SetBorderWidth(5);
  TPanel* client = Child(alClient, 10, 10);
  EXPECT_EQ(host->ClientWidth(), 190);
  EXPECT_EQ(host->ClientHeight(), 90);
  EXPECT_EQ(Of(client), (Bounds{0, 0, 190, 90}));
  EXPECT_EQ(client->Widget()->geometry(), QRect(5, 5, 190, 90));

  // Changing the border later moves and resizes the children.
  host->SetBorderWidth(10);
  EXPECT_EQ(Of(client), (Bounds{0, 0, 180, 80}));
  EXPECT_EQ(client->Widget()->geometry(), QRect(10, 10, 180, 80));
}

TEST_F(AlignTest, APanelsBevelKeepsAlignedChildrenInsideButIsPartOfTheClientArea)
{
  host->SetBevelOuter(bvRaised);
  TPanel* client = Child(alClient, 10, 10);
  EXPECT_EQ(host->ClientWidth(), 200);
  EXPECT_EQ(Of(client), (Bounds{1, 1, 198, 98}));
}

TEST_F(AlignTest, OnResizeRunsAtOnceForHiddenAndParentlessControls)
{
  TPanel loose(nullptr);
  loose.Hide();
  int calls = 0;
  loose.OnResize = [&](TObject* sender) {
    EXPECT_EQ(sender, &loose);
    ++calls;
  };
  loose.SetWidth(300);
  EXPECT_EQ(calls, 1);
  loose.SetBounds(7, 8, 300, 41);  // moved, not resized
  EXPECT_EQ(calls, 1);
  loose.SetClientHeight(10);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(loose.Height(), 10);
}

TEST_F(AlignTest, OnResizeSeesTheChildrenAlreadyRealigned)
{
  TPanel* client = Child(alClient, 10, 10);
  std::vector<int> seen;
  host->OnResize = [&](TObject*) { seen.push_back(client->Width()); };
  std::vector<int> childSeen;
  client->OnResize = [&](TObject*) { childSeen.push_back(host->Width()); };
  host->SetWidth(321);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], 321);
  // The child's own OnResize ran inside the realignment, before the parent's.
  EXPECT_EQ(childSeen, std::vector<int>{321});
}

TEST_F(AlignTest, AResizeHandlerThatResizesItsControlSettlesTheLayout)
{
  // As the chart status bar: its OnResize makes it taller when it gets wider.
  TPanel* bar = Child(alBottom, 10, 20);
  TPanel* chart = Child(alClient, 10, 10);
  bar->OnResize = [bar](TObject*) {
    if (bar->Width() > 250)
      bar->SetHeight(40);
  };
  host->SetWidth(300);
  EXPECT_EQ(Of(bar), (Bounds{0, 60, 300, 40}));
  EXPECT_EQ(Of(chart), (Bounds{0, 0, 300, 60}));
}

TEST_F(AlignTest, ChangingAlignmentOrRemovingAControlRealignsTheRest)
{
  TPanel* top = Child(alTop, 10, 30);
  TPanel* client = Child(alClient, 10, 10);
  top->SetAlign(alNone);
  EXPECT_EQ(Of(client), (Bounds{0, 0, 200, 100}));
  EXPECT_EQ(Of(top), (Bounds{0, 0, 200, 30}));  // keeps where it was
  top->SetAlign(alBottom);
  EXPECT_EQ(Of(top), (Bounds{0, 70, 200, 30}));
  EXPECT_EQ(Of(client), (Bounds{0, 0, 200, 70}));
  delete top;
  EXPECT_EQ(Of(client), (Bounds{0, 0, 200, 100}));
}

TEST_F(AlignTest, AControlMovedToAnotherParentLeavesTheOldLayout)
{
  TPanel* top = Child(alTop, 10, 30);
  TPanel* client = Child(alClient, 10, 10);
  TPanel other(nullptr);
  other.SetBevelOuter(bvNone);
  other.SetBounds(0, 0, 50, 60);
  top->SetParent(&other);
  EXPECT_EQ(Of(client), (Bounds{0, 0, 200, 100}));
  EXPECT_EQ(Of(top), (Bounds{0, 0, 50, 30}));
  EXPECT_EQ(top->Widget()->parentWidget(), other.Widget());
  top->SetParent(nullptr);
  delete top;  // owned by host; freeing it must leave host's list
}

}  // namespace
