#include <QRubberBand>
#include <memory>

#include "Panel.h"
#include "Splitter.h"
#include "support/GuiTest.h"

namespace {

// A shown form with a bevel-less 400 × 200 area: a column on the left (width 150), the splitter
// beside it (width 8, MinSize 100) and a client panel taking the rest, as the chart page has.
class SplitterTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 300);
    area = Panel(form.get(), alNone);
    area->SetBounds(0, 0, 400, 200);
    column = Panel(area, alLeft);
    column->SetWidth(150);
    splitter = new TSplitter(column);  // owned by the column, placed on the area
    splitter->SetParent(area);
    splitter->SetAlign(alLeft);
    splitter->SetBeveled(true);
    splitter->SetWidth(8);
    splitter->SetResizeStyle(rsPattern);
    splitter->SetAutoSnap(false);
    splitter->SetMinSize(100);
    splitter->SetLeft(1000);
    client = Panel(area, alClient);
    splitter->OnMoved = [this](TObject* sender) {
      EXPECT_EQ(sender, splitter);
      moved.push_back(column->Width());
    };
    form->Show();
  }

  TPanel* Panel(TWinControl* parent, TAlign align)
  {
    auto* panel = new TPanel(parent);
    panel->SetParent(parent);
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(align);
    return panel;
  }

  // Presses on the bar, moves by (dx, dy) in two steps, and releases unless told not to.
  void Drag(TSplitter* bar, int dx, int dy, bool release = true)
  {
    QWidget* widget = bar->Widget();
    const QPoint down(bar->Width() / 2, bar->Height() / 2);
    const QPoint to = down + QPoint(dx, dy);
    SendMouse(widget, QEvent::MouseButtonPress, down, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, down + QPoint(dx / 2, dy / 2), Qt::NoButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    if (release)
      SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }

  QRubberBand* Line(TWinControl* parent) { return parent->Widget()->findChild<QRubberBand*>(); }

  std::unique_ptr<TForm> form;
  TPanel* area = nullptr;
  TPanel* column = nullptr;
  TSplitter* splitter = nullptr;
  TPanel* client = nullptr;
  std::vector<int> moved;  // the column's width each time OnMoved ran
};

TEST_F(SplitterTest, SitsBesideTheColumnItIsCreatedAfter)
{
  EXPECT_EQ(splitter->Left(), 150);
  EXPECT_EQ(splitter->Height(), 200);
  EXPECT_EQ(client->Left(), 158);
}

TEST_F(SplitterTest, ADragShowsALineAndResizesTheColumnOnRelease)
{
  Drag(splitter, 60, 7, false);
  // While the button is held only the line moves.
  EXPECT_EQ(column->Width(), 150);
  EXPECT_TRUE(moved.empty());
  QRubberBand* line = Line(area);
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isVisible());
  EXPECT_EQ(line->geometry(), QRect(210, 0, 8, 200));

  SendMouse(splitter->Widget(), QEvent::MouseButtonRelease, QPoint(64, 100), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(column->Width(), 210);
  EXPECT_EQ(splitter->Left(), 210);
  EXPECT_EQ(client->Left(), 218);
  // Once, after the column had its new width.
  EXPECT_EQ(moved, std::vector<int>{210});
  EXPECT_EQ(Line(area), nullptr);
}

TEST_F(SplitterTest, MinSizeHoldsOnBothSides)
{
  // The client panel keeps MinSize: 400 − 8 − 100 = 292 at most for the column.
  Drag(splitter, 1000, 0);
  EXPECT_EQ(column->Width(), 292);
  EXPECT_EQ(client->Width(), 100);
  Drag(splitter, -1000, 0);
  EXPECT_EQ(column->Width(), 100);
  EXPECT_EQ(moved, (std::vector<int>{292, 100}));
  // Already at the limit: nothing changes and nothing is reported.
  Drag(splitter, -30, 0);
  EXPECT_EQ(column->Width(), 100);
  EXPECT_EQ(moved.size(), 2u);
}

TEST_F(SplitterTest, AClickWithoutMovingReportsNothing)
{
  Drag(splitter, 0, 0);
  EXPECT_EQ(column->Width(), 150);
  EXPECT_TRUE(moved.empty());
}

TEST_F(SplitterTest, AutoSnapClosesTheColumnBelowMinSize)
{
  splitter->SetAutoSnap(true);
  Drag(splitter, -60, 0);
  EXPECT_EQ(column->Width(), 0);
  // Closed, it is still the splitter's neighbour and opens again.
  Drag(splitter, 120, 0);
  EXPECT_EQ(column->Width(), 120);
}

TEST_F(SplitterTest, ABottomSplitterResizesTheBoxBelowIt)
{
  // The left column of the chart page: a legend on top, the fault box at the bottom and the
  // splitter created after the fault box, so that it lies above it.
  column->SetWidth(300);
  TPanel* legend = Panel(column, alClient);
  TPanel* faults = Panel(column, alBottom);
  faults->SetHeight(60);
  auto* bar = new TSplitter(column);
  bar->SetParent(column);
  bar->SetAlign(alBottom);
  bar->SetHeight(8);
  bar->SetAutoSnap(false);
  int barMoves = 0;
  bar->OnMoved = [&](TObject*) {
    ++barMoves;
    EXPECT_EQ(faults->Height(), 100);
  };
  EXPECT_EQ(bar->Top(), 200 - 60 - 8);

  Drag(bar, 0, -40);
  EXPECT_EQ(faults->Height(), 100);
  EXPECT_EQ(faults->Top(), 100);
  EXPECT_EQ(bar->Top(), 92);
  EXPECT_EQ(legend->Height(), 92);
  EXPECT_EQ(barMoves, 1);
}

}  // namespace
