// What every control shares: alignment in its parent, ownership and freeing, stacking,
// enabling, the inherited font, and a panel's painting.
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "support/FormTest.h"

namespace {

// A borderless, bevel-less 200 × 100 container, as MainPanel is.
class AlignTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    host = PlacePanel(form.get(), 0, 0, 200, 100);
  }

  TPanel* Child(TAlign align, int width, int height)
  {
    TPanel* panel = Place<TPanel>(host, 0, 0, width, height);
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
  faultBox->Hide();  // hidden aligned controls take no room until shown again
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

TEST_F(AlignTest, OnResizeRunsAtOnceAfterTheChildrenAreRealignedAndMaySettleTheLayout)
{
  // Hidden and parentless controls too; a move alone is no resize.
  TPanel loose(nullptr);
  loose.Hide();
  int calls = 0;
  loose.OnResize = [&](TObject* sender) { calls += sender == &loose; };
  loose.SetWidth(300);
  loose.SetBounds(7, 8, 300, 41);
  loose.SetClientHeight(10);
  EXPECT_EQ(calls, 2);

  // The child's own OnResize runs inside the realignment, before the parent's.
  TPanel* bar = Child(alBottom, 10, 20);
  TPanel* client = Child(alClient, 10, 10);
  std::vector<std::string> seen;
  host->OnResize = [&](TObject*) { seen.push_back("host sees client " + std::to_string(client->Width())); };
  client->OnResize = [&](TObject*) { seen.push_back("client sees host " + std::to_string(host->Width())); };
  // As the chart status bar: taller when wider.
  bar->OnResize = [bar](TObject*) {
    if (bar->Width() > 250)
      bar->SetHeight(40);
  };
  host->SetWidth(300);
  EXPECT_EQ(seen.front(), "client sees host 300");
  EXPECT_EQ(seen.back(), "host sees client 300");
  EXPECT_EQ(Layout({bar, client}), "0,60 300x40; 0,0 300x60; ");
}

// Counts its own destruction.
class ProbePanel : public TPanel {
public:
  ProbePanel(TComponent* owner, int* deaths) : TPanel(owner), deaths_(deaths) {}
  ~ProbePanel() override { ++*deaths_; }

private:
  int* deaths_;
};

using ControlModelTest = AlignTest;

TEST_F(ControlModelTest, OwnerAndParentEachFreeWhatIsTheirsOnceAndForgetWhatWentBefore)
{
  int deaths = 0;
  auto owner = std::make_unique<ProbePanel>(nullptr, &deaths);
  TPanel* elsewhere = PlacePanel(form.get(), 0, 0, 100, 100);
  // Owned by one panel, placed on another (as the chart splitter): the owner frees it, and
  // the parent no longer lists it.
  auto* splitter = new ProbePanel(owner.get(), &deaths);
  splitter->SetParent(elsewhere);
  splitter->SetAlign(alLeft);
  const QPointer<QWidget> splitterWidget(splitter->Widget());
  // A parent frees its children, which their owner then forgets.
  auto* parent = new ProbePanel(nullptr, &deaths);
  auto* child = new ProbePanel(owner.get(), &deaths);
  new ProbePanel(owner.get(), &deaths);  // owned only
  child->SetParent(parent);
  delete parent;  // as deleting MainPanel frees every control below it
  EXPECT_EQ(deaths, 2);
  // A control freed alone (a mask row) leaves its parent's layout.
  auto* row = new ProbePanel(elsewhere, &deaths);
  row->SetParent(elsewhere);
  row->SetAlign(alTop);
  row->SetHeight(20);
  TPanel* rest = Child(alClient, 10, 10);
  rest->SetParent(elsewhere);
  EXPECT_EQ(rest->Top(), 20);
  delete row;
  EXPECT_EQ(rest->Top(), 0);
  owner.reset();
  EXPECT_EQ(deaths, 6);
  EXPECT_TRUE(splitterWidget.isNull());
  elsewhere->SetWidth(400);  // realigning touches nothing freed
  EXPECT_EQ(elsewhere->Widget()->children().size(), 1);
}

TEST_F(ControlModelTest, GraphicControlsStayUnderWindowedSiblings)
{
  // The hover bar is created first, the row's name label later, on the same spot, and a
  // windowed row control beside them.
  TPanel* bar = Place<TPanel>(host, 0, 10, 200, 20);
  auto* label = Place<TLabel>(host, 5, 12, 100, 15);
  label->SetCaption("Engine speed");
  TPanel* edit = Place<TPanel>(host, 150, 10, 40, 20);
  form->Show();
  const auto at = [&](QPoint p) { return ControlOfWidget(host->Widget()->childAt(p)); };
  const QPoint overlap(20, 15);
  EXPECT_EQ(at(overlap), bar);
  bar->SendToBack();  // the back of the windowed children: still over the label...
  EXPECT_EQ(at(overlap), bar);
  EXPECT_EQ(at(QPoint(160, 15)), edit);  // ...but under the other windowed child
  edit->SendToBack();
  bar->BringToFront();
  EXPECT_EQ(at(QPoint(160, 15)), bar);
  label->BringToFront();  // still under windowed controls
  EXPECT_EQ(at(overlap), bar);
  bar->SetColor(0x0000FF);  // and on screen the bar's colour covers the label
  EXPECT_EQ(host->Widget()->grab().toImage().pixelColor(overlap), QColor(255, 0, 0));
  bar->Hide();
  EXPECT_EQ(at(overlap), label);
}

TEST_F(ControlModelTest, DisablingAParentDisablesEveryControlBelowIt)
{
  TPanel* inner = Place<TPanel>(host, 0, 0, 50, 50);
  auto* label = Place<TLabel>(inner, 0, 0, 20, 20);
  form->Show();
  int downs = 0;
  inner->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  host->SetEnabled(false);
  EXPECT_FALSE(label->Widget()->isEnabled());
  EXPECT_TRUE(inner->Enabled());  // the control's own flag is untouched
  EXPECT_FALSE(inner->CanFocus());
  EXPECT_THROW(inner->SetFocus(), EInvalidOperation);
  SendMouse(inner->Widget(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
  host->SetEnabled(true);
  SendMouse(inner->Widget(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(downs, 1);
}

TEST_F(ControlModelTest, ChildrenFollowTheParentFontUntilTheirOwnChanges)
{
  host->Font()->SetName("Verdana");
  host->Font()->SetSize(10);
  auto* header = Place<TLabel>(host, 0, 0, 10, 10);
  auto* plain = Place<TLabel>(host, 0, 20, 10, 10);
  // "Font style plus bold" on the copy of the inherited font.
  header->Font()->SetStyle(header->Font()->Style() | fsBold);
  EXPECT_FALSE(header->ParentFont());
  EXPECT_EQ(header->Font()->Name(), "Verdana");
  EXPECT_TRUE(header->Widget()->font().bold());
  host->Font()->SetSize(12);
  EXPECT_EQ(plain->Font()->Size(), 12);
  EXPECT_EQ(header->Font()->Size(), 10);
  EXPECT_EQ(plain->Widget()->font().pixelSize(), host->Widget()->font().pixelSize());
  host->Font()->SetSize(14);  // and again
  EXPECT_EQ(plain->Font()->Size(), 14);
}

TEST_F(ControlModelTest, APanelPaintsItsColourAndItsBevel)
{
  TPanel* bar = Place<TPanel>(host, 0, 0, 40, 20);
  bar->SetColor(0xC0DCC0);  // 0x00BBGGRR
  const auto pixels = [&] {
    const QImage image = bar->Widget()->grab().toImage();
    return std::vector<QColor>{image.pixelColor(0, 10), image.pixelColor(20, 10), image.pixelColor(39, 10)};
  };
  const QColor face(0xC0, 0xDC, 0xC0);
  const std::vector<QColor> raised = pixels();
  EXPECT_EQ(raised[1], face);
  EXPECT_NE(raised[0], face);  // the default raised bevel's edges differ from the face
  EXPECT_NE(raised[2], face);
  bar->SetBevelOuter(bvNone);
  EXPECT_EQ(pixels(), std::vector<QColor>(3, face));
}

}  // namespace
