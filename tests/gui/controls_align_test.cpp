#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "support/FormTest.h"

namespace {

// A borderless, bevel-less container of a known size, as MainPanel is.
class AlignTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    host = PlacePanel(form.get(), 0, 0, 200, 100);
  }

  TPanel* Child(TAlign align, int width, int height, TPanel* parent = nullptr)
  {
    TPanel* panel = Place<TPanel>(parent ? parent : host, 0, 0, width, height);
    panel->SetAlign(align);
    return panel;
  }

  // The bounds of each control, "left,top width x height", one after the other.
  static std::string Layout(const std::vector<TControl*>& controls)
  {
    std::string dump;
    for (const TControl* c : controls)
      dump += std::to_string(c->Left()) + "," + std::to_string(c->Top()) + " " + std::to_string(c->Width()) + "x" +
              std::to_string(c->Height()) + "; ";
    return dump;
  }

  TPanel* host = nullptr;
};

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
  EXPECT_EQ(Layout({top1, top2, bottom, left1, left2, right, client}),
            "0,0 200x10; 0,10 200x20; 0,85 200x15; 0,30 30x55; 30,30 5x55; 160,30 40x55; 35,30 125x55; ");
}

TEST_F(AlignTest, BottomControlsStackUpwardsAndFollowAResizeHiddenOrRealigned)
{
  // The fault box, its splitter above it, the legend taking the rest.
  TPanel* faultBox = Child(alBottom, 10, 30);
  TPanel* splitter = Child(alBottom, 10, 8);
  TPanel* legend = Child(alClient, 10, 10);
  EXPECT_EQ(Layout({faultBox, splitter, legend}), "0,70 200x30; 0,62 200x8; 0,0 200x62; ");
  faultBox->SetHeight(50);  // a splitter drag: the others follow at once
  EXPECT_EQ(Layout({faultBox, splitter, legend}), "0,50 200x50; 0,42 200x8; 0,0 200x42; ");
  // Hidden aligned controls take no room until shown again.
  faultBox->Hide();
  EXPECT_EQ(Layout({splitter, legend}), "0,92 200x8; 0,0 200x92; ");
  faultBox->Show();
  // Not aligned any more: it stays where it was; aligned again, it takes its edge.
  splitter->SetAlign(alNone);
  EXPECT_EQ(Layout({faultBox, splitter, legend}), "0,50 200x50; 0,42 200x8; 0,0 200x50; ");
  splitter->SetAlign(alTop);
  EXPECT_EQ(Layout({faultBox, splitter, legend}), "0,50 200x50; 0,0 200x8; 0,8 200x42; ");
  // Freed, or moved to another parent: it leaves the layout.
  delete faultBox;
  EXPECT_EQ(Layout({splitter, legend}), "0,0 200x8; 0,8 200x92; ");
  TPanel* other = PlacePanel(form.get(), 0, 0, 50, 60);
  splitter->SetParent(other);
  EXPECT_EQ(Layout({splitter, legend}), "0,0 50x8; 0,0 200x100; ");
  EXPECT_EQ(splitter->Widget()->parentWidget(), other->Widget());
}

TEST_F(AlignTest, BorderWidthAndBevelInsetTheChildren)
{
  host->SetBorderWidth(5);
  TPanel* client = Child(alClient, 10, 10);
  EXPECT_EQ(host->ClientWidth(), 190);
  EXPECT_EQ(host->ClientHeight(), 90);
  EXPECT_EQ(Layout({client}), "0,0 190x90; ");
  EXPECT_EQ(client->Widget()->geometry(), QRect(5, 5, 190, 90));
  host->SetBorderWidth(10);  // later: the children move and shrink
  EXPECT_EQ(client->Widget()->geometry(), QRect(10, 10, 180, 80));
  // A bevel keeps aligned children inside but is part of the client area.
  host->SetBorderWidth(0);
  host->SetBevelOuter(bvRaised);
  EXPECT_EQ(host->ClientWidth(), 200);
  EXPECT_EQ(Layout({client}), "1,1 198x98; ");
}

TEST_F(AlignTest, OnResizeRunsAtOnceAfterTheChildrenAreRealigned)
{
  // Hidden and parentless controls too; a move alone is no resize.
  TPanel loose(nullptr);
  loose.Hide();
  int calls = 0;
  loose.OnResize = [&](TObject* sender) {
    EXPECT_EQ(sender, &loose);
    ++calls;
  };
  loose.SetWidth(300);
  loose.SetBounds(7, 8, 300, 41);
  loose.SetClientHeight(10);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(loose.Height(), 10);

  // The child's own OnResize runs inside the realignment, before the parent's.
  TPanel* client = Child(alClient, 10, 10);
  std::vector<std::string> seen;
  host->OnResize = [&](TObject*) { seen.push_back("host sees client " + std::to_string(client->Width())); };
  client->OnResize = [&](TObject*) { seen.push_back("client sees host " + std::to_string(host->Width())); };
  host->SetWidth(321);
  EXPECT_EQ(seen, (std::vector<std::string>{"client sees host 321", "host sees client 321"}));
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
  EXPECT_EQ(Layout({bar, chart}), "0,60 300x40; 0,0 300x60; ");
}

}  // namespace
