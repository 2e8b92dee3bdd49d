#include <QRubberBand>
#include <string>
#include <vector>

#include "Panel.h"
#include "Splitter.h"
#include "support/FormTest.h"

namespace {

// A bevel-less 400 × 200 area: a column on the left (width 150), the splitter beside it (width
// 8, MinSize 100) and a client panel taking the rest, as the chart page has.
class SplitterTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    area = PlacePanel(form.get(), 0, 0, 400, 200);
    column = Aligned(area, alLeft, 150);
    splitter = new TSplitter(column);  // owned by the column, placed on the area
    splitter->SetParent(area);
    splitter->SetAlign(alLeft);
    splitter->SetBeveled(true);
    splitter->SetWidth(8);
    splitter->SetResizeStyle(rsPattern);
    splitter->SetAutoSnap(false);
    splitter->SetMinSize(100);
    splitter->SetLeft(1000);
    client = Aligned(area, alClient, 0);
    splitter->OnMoved = [this](TObject* sender) { moved.push_back(sender == splitter ? column->Width() : -1); };
    form->Show();
  }

  TPanel* Aligned(TWinControl* parent, TAlign align, int size)
  {
    TPanel* panel = PlacePanel(parent, 0, 0, size, size);
    panel->SetAlign(align);
    return panel;
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

  TPanel* area = nullptr;
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
  QRubberBand* line = area->Widget()->findChild<QRubberBand*>();
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isVisible());
  EXPECT_EQ(line->geometry(), QRect(210, 0, 8, 200));
  SendMouse(splitter->Widget(), QEvent::MouseButtonRelease, QPoint(64, 100), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(State(), "210 | 210 | 218 182 | 210");  // OnMoved once, after the new width
  EXPECT_EQ(area->Widget()->findChild<QRubberBand*>(), nullptr);
}

TEST_F(SplitterTest, MinSizeHoldsOnBothSidesAndAutoSnapClosesTheColumnBelowIt)
{
  // {dx, auto-snap, the state after}: the client keeps MinSize too (400 − 8 − 100 = 292);
  // a click without a move, or a drag at the limit, reports nothing.
  const struct {
    int dx;
    bool autoSnap;
    const char* state;
  } drags[] = {
      {1000, false, "292 | 292 | 300 100 | 292"},
      {-1000, false, "100 | 100 | 108 292 | 292 100"},
      {-30, false, "100 | 100 | 108 292 | 292 100"},
      {0, false, "100 | 100 | 108 292 | 292 100"},
      {-40, true, "0 | 0 | 8 392 | 292 100 0"},
      {120, true, "120 | 120 | 128 272 | 292 100 0 120"},  // closed, it still opens again
      {-20, true, "0 | 0 | 8 392 | 292 100 0 120 0"},      // MinSize itself snaps
  };
  for (const auto& drag : drags) {
    splitter->SetAutoSnap(drag.autoSnap);
    Drag(splitter, drag.dx, 0);
    EXPECT_EQ(State(), drag.state) << drag.dx;
  }
}

TEST_F(SplitterTest, ABottomSplitterResizesTheBoxBelowIt)
{
  // The left column of the chart page: a legend on top, the fault box at the bottom and the
  // splitter created after the fault box, so that it lies above it.
  column->SetWidth(300);
  TPanel* legend = Aligned(column, alClient, 0);
  TPanel* faults = Aligned(column, alBottom, 60);
  auto* bar = new TSplitter(column);
  bar->SetParent(column);
  bar->SetAlign(alBottom);
  bar->SetHeight(8);
  bar->SetAutoSnap(false);
  std::vector<int> heights;
  bar->OnMoved = [&](TObject*) { heights.push_back(faults->Height()); };
  EXPECT_EQ(bar->Top(), 200 - 60 - 8);
  Drag(bar, 0, -40);
  EXPECT_EQ(heights, std::vector<int>{100});
  EXPECT_EQ(std::vector<int>({faults->Top(), bar->Top(), legend->Height()}), std::vector<int>({100, 92, 92}));
}

}  // namespace
