// What every control shares: alignment in its parent (and the splitter that moves it),
// ownership and freeing, stacking, enabling and the inherited font.
#include "support/ControlTest.h"

namespace {

// A borderless, bevel-less 200 × 100 container, as MainPanel is.
class AlignTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    host = PlacePanel(form.get(), 0, 0, 200, 100);
  }

  // A bevel-less panel aligned in parent (the host unless told).
  TPanel* Child(TAlign align, int width, int height, TWinControl* parent = nullptr)
  {
    TPanel* panel = PlacePanel(parent ? parent : host, 0, 0, width, height);
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
  splitter->SetParent(PlacePanel(form.get(), 0, 0, 50, 60));
  EXPECT_EQ(Layout({splitter, legend}), "0,0 50x8; 0,0 200x100; ");
}

TEST_F(AlignTest, OnResizeRunsAtOnceAfterTheChildrenAreRealignedAndMaySettleTheLayout)
{
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
  EXPECT_EQ(seen.front() + ", " + seen.back() + ": " + Layout({bar, client}),
            "client sees host 300, host sees client 300: 0,60 300x40; 0,0 300x60; ");
}

using ControlModelTest = AlignTest;

TEST_F(ControlModelTest, OwnerAndParentEachFreeWhatIsTheirsOnceAndForgetWhatWentBefore)
{
  using ProbePanel = Probe<TPanel>;
  auto owner = std::make_unique<ProbePanel>(nullptr);
  TPanel* elsewhere = PlacePanel(form.get(), 0, 0, 100, 100);
  // Owned by one panel, placed on another (as the chart splitter): the owner frees it, and
  // the parent no longer lists it.
  auto* splitter = new ProbePanel(owner.get());
  splitter->SetParent(elsewhere);
  splitter->SetAlign(alLeft);
  const QPointer<QWidget> splitterWidget(splitter->Widget());
  // A parent frees its children, which their owner then forgets.
  auto* parent = new ProbePanel(nullptr);
  auto* child = new ProbePanel(owner.get());
  new ProbePanel(owner.get());  // owned only
  child->SetParent(parent);
  delete parent;  // as deleting MainPanel frees every control below it
  EXPECT_EQ(ProbePanel::deaths, 2);
  owner.reset();
  elsewhere->SetWidth(400);  // realigning touches nothing freed
  EXPECT_TRUE(ProbePanel::deaths == 5 && splitterWidget.isNull() && elsewhere->Widget()->children().isEmpty());
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

TEST_F(ControlModelTest, ChildrenFollowTheParentFontUntilTheirOwnChanges)
{
  host->Font()->SetName("Verdana");
  host->Font()->SetSize(10);
  auto* header = Place<TLabel>(host, 0, 0, 10, 10);
  auto* plain = Place<TLabel>(host, 0, 20, 10, 10);
  // "Font style plus bold" on the copy of the inherited font.
  header->Font()->SetStyle(header->Font()->Style() | fsBold);
  EXPECT_TRUE(!header->ParentFont() && header->Widget()->font().bold());
  EXPECT_EQ(header->Font()->Name(), "Verdana");
  host->Font()->SetSize(12);
  EXPECT_EQ(plain->Font()->Size() * 100 + header->Font()->Size(), 1210);
  EXPECT_EQ(plain->Widget()->font().pixelSize(), host->Widget()->font().pixelSize());
}

// The host made 400 × 200: a column on the left (width 150), the splitter beside it (width 8,
// MinSize 100) and a client panel taking the rest, as the chart page has.
class SplitterTest : public AlignTest {
protected:
  void SetUp() override
  {
    AlignTest::SetUp();
    host->SetBounds(0, 0, 400, 200);
    column = Child(alLeft, 150, 0);
    splitter = new TSplitter(column);  // owned by the column, placed on the host
    splitter->SetParent(host);
    splitter->SetAlign(alLeft);
    splitter->SetBeveled(true);
    splitter->SetWidth(8);
    splitter->SetResizeStyle(rsPattern);
    splitter->SetAutoSnap(false);
    splitter->SetMinSize(100);
    splitter->SetLeft(1000);
    client = Child(alClient, 0, 0);
    splitter->OnMoved = [this](TObject* sender) { moved.push_back(sender == splitter ? column->Width() : -1); };
    form->Show();
  }
  // Presses on the bar, moves by (dx, dy) in two steps, and releases unless told not to.
  void Drag(TSplitter* bar, int dx, int dy, bool release = true)
  {
    const QPoint down(bar->Width() / 2, bar->Height() / 2);
    const QPoint to = down + QPoint(dx, dy);
    SendMouse(bar->Widget(), QEvent::MouseButtonPress, down, Qt::LeftButton, Qt::LeftButton);
    SendMouse(bar->Widget(), QEvent::MouseMove, down + QPoint(dx / 2, dy / 2), Qt::NoButton, Qt::LeftButton);
    SendMouse(bar->Widget(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    if (release)
      SendMouse(bar->Widget(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  // "column width | splitter left | client left width | the widths OnMoved saw".
  std::string State()
  {
    std::string state = std::to_string(column->Width()) + " | " + std::to_string(splitter->Left()) + " | " +
                        std::to_string(client->Left()) + " " + std::to_string(client->Width()) + " |";
    for (int width : moved)
      state += " " + std::to_string(width);
    return state;
  }

  TPanel* column = nullptr;
  TSplitter* splitter = nullptr;
  TPanel* client = nullptr;
  std::vector<int> moved;
};

TEST_F(SplitterTest, ADragShowsALineAndResizesTheColumnOnRelease)
{
  EXPECT_EQ(State(), "150 | 150 | 158 242 |");  // beside the column it is created after
  Drag(splitter, 60, 7, false);
  EXPECT_EQ(State(), "150 | 150 | 158 242 |");  // while the button is held only the line moves
  QRubberBand* line = host->Widget()->findChild<QRubberBand*>();
  ASSERT_TRUE(line && line->isVisible());
  EXPECT_EQ(line->geometry(), QRect(210, 0, 8, 200));
  SendMouse(splitter->Widget(), QEvent::MouseButtonRelease, QPoint(64, 100), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(State(), "210 | 210 | 218 182 | 210");  // OnMoved once, after the new width
  EXPECT_EQ(host->Widget()->findChild<QRubberBand*>(), nullptr);
}

TEST_F(SplitterTest, MinSizeHoldsOnBothSidesAndAutoSnapClosesTheColumnBelowIt)
{
  // {dx, auto-snap, the state after}: the client keeps MinSize too (400 − 8 − 100 = 292);
  // a click without a move, or a drag at the limit, reports nothing.
  const std::tuple<int, bool, const char*> drags[] = {
      {1000, false, "292 | 292 | 300 100 | 292"},
      {-1000, false, "100 | 100 | 108 292 | 292 100"},
      {-30, false, "100 | 100 | 108 292 | 292 100"},
      {0, false, "100 | 100 | 108 292 | 292 100"},
      {-40, true, "0 | 0 | 8 392 | 292 100 0"},
      {120, true, "120 | 120 | 128 272 | 292 100 0 120"},  // closed, it still opens again
      {-20, true, "0 | 0 | 8 392 | 292 100 0 120 0"},      // MinSize itself snaps
  };
  for (const auto& [dx, autoSnap, state] : drags) {
    splitter->SetAutoSnap(autoSnap);
    Drag(splitter, dx, 0);
    EXPECT_EQ(State(), state) << dx;
  }
}

TEST_F(SplitterTest, ABottomSplitterResizesTheBoxBelowIt)
{
  // The left column of the chart page: a legend on top, the fault box at the bottom and the
  // splitter created after the fault box, so that it lies above it.
  column->SetWidth(300);
  TPanel* legend = Child(alClient, 0, 0, column);
  TPanel* faults = Child(alBottom, 0, 60, column);
  auto* bar = new TSplitter(column);
  bar->SetParent(column);
  bar->SetAlign(alBottom);
  bar->SetHeight(8);
  bar->SetAutoSnap(false);
  std::vector<int> heights;
  bar->OnMoved = [&](TObject*) { heights.push_back(faults->Height()); };
  const int top = bar->Top();
  Drag(bar, 0, -40);
  EXPECT_EQ(std::vector<int>({top, heights.at(0), faults->Top(), bar->Top(), legend->Height()}),
            std::vector<int>({200 - 60 - 8, 100, 100, 92, 92}));
}

}  // namespace
