#include <QImage>
#include <vector>

#include "Colors.h"
#include "StatusBar.h"
#include "support/FormTest.h"

namespace {

// A status bar on a shown, bevel-less 400 × 200 page.
class StatusBarTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    page = PlacePanel(form.get(), 0, 0, 400, 200);
    bar = new TStatusBar(page);
    bar->SetParent(page);
    form->Show();
  }

  void TearDown() override
  {
    // Paints still queued run in the main loop after the test's own variables are gone.
    bar->OnDrawPanel = nullptr;
    FormTest::TearDown();
  }

  // The chart page's bar: four text panels and an owner-drawn fifth.
  void AddChartPanels()
  {
    bar->Panels()->BeginUpdate();
    for (int width : {30, 30, 50, 30, 10})
      bar->Panels()->Add()->SetWidth(width);
    bar->Panels()->Items(4)->SetStyle(psOwnerDraw);
    bar->Panels()->EndUpdate();
  }

  QImage Shot() { return bar->Widget()->grab().toImage(); }

  // Pixels inside r that differ from the bar's face colour.
  static int Marked(const QImage& image, const TRect& r)
  {
    const QRgb face = ToQColor(clBtnFace).rgb();
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        count += image.pixel(x, y) != face;
    return count;
  }

  TPanel* page = nullptr;
  TStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, LiesAlongTheBottomAndTakesAnyHeight)
{
  EXPECT_GT(bar->Height(), 0);
  EXPECT_EQ(bar->Top(), 200 - bar->Height());
  EXPECT_EQ(bar->Width(), 400);
  int resizes = 0;
  bar->OnResize = [&](TObject*) { ++resizes; };
  bar->SetHeight(3 * 22);
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(bar->Top(), 200 - 66);
  EXPECT_EQ(Shot().height(), 66);
}

TEST_F(StatusBarTest, AnOwnerDrawnPanelSpansTheBarAndDrawsWithAFreshCanvas)
{
  bar->SetHeight(60);
  AddChartPanels();
  // Measuring left the canvas bold; each panel paint starts from the bar's own font again.
  bar->Canvas()->Font()->SetStyle(fsBold);
  std::vector<TStatusPanel*> panels;
  TRect rect;
  TFontStyles style = fsBold;
  TColor brush = 0;
  bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const TRect& r) {
    EXPECT_EQ(sender, bar);
    panels.push_back(panel);
    rect = r;
    TCanvas* canvas = sender->Canvas();
    style = canvas->Font()->Style();
    brush = canvas->Brush()->Color();
    canvas->Brush()->SetColor(0x0000FF);
    canvas->FillRect(Rect(r.left, r.top, r.left + 6, r.top + 6));
    // A line run past the bottom is cut off there.
    canvas->Pen()->SetColor(0xFF0000);
    canvas->MoveTo(r.left + 10, r.top);
    canvas->LineTo(r.left + 10, r.bottom + 100);
  };
  const QImage shot = Shot();
  ASSERT_EQ(panels, std::vector<TStatusPanel*>{bar->Panels()->Items(4)});
  EXPECT_EQ(rect.left, 30 + 30 + 50 + 30 + 1);  // inside the frame
  EXPECT_LE(rect.top, 1);
  EXPECT_GE(rect.bottom, 59);
  EXPECT_GE(rect.right, 398);  // the last panel reaches the end whatever its width
  EXPECT_EQ(style, 0u);
  EXPECT_EQ(brush, clBtnFace);
  EXPECT_EQ(shot.pixel(rect.left + 2, rect.top + 2), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(rect.left + 10, 58), qRgb(0, 0, 255));
  EXPECT_EQ(shot.size(), QSize(400, 60));
}

TEST_F(StatusBarTest, TextPanelsShowTheirTexts)
{
  bar->SetHeight(30);
  AddChartPanels();
  bar->Panels()->Items(0)->SetText("X: 1.00");
  EXPECT_EQ(bar->Panels()->Items(0)->Text(), "X: 1.00");
  EXPECT_EQ(bar->Panels()->Items(1)->Width(), 30);
  const QImage shot = Shot();
  // Inside the frames: a panel of width 30 keeps 2 pixels of gap and 1 of frame on each side.
  EXPECT_GT(Marked(shot, Rect(1, 1, 27, 29)), 0);
  EXPECT_EQ(Marked(shot, Rect(31, 1, 57, 29)), 0);  // the empty second panel
  EXPECT_THROW(bar->Panels()->Items(5), EListError);
  EXPECT_THROW(bar->Panels()->Items(-1), EListError);
}

TEST_F(StatusBarTest, WithoutPanelsTheSimpleTextShows)
{
  const int height = bar->Height();
  const TRect inside = Rect(2, 2, 398, height - 2);
  EXPECT_EQ(Marked(Shot(), inside), 0);
  bar->SetSimpleText("line: 1   column: 1");
  EXPECT_GT(Marked(Shot(), inside), 0);
}

TEST_F(StatusBarTest, TheCanvasMeasuresInTheBarsFontOutsidePainting)
{
  const AnsiString name = "Engine on   ";
  const int before = bar->Canvas()->TextWidth(name);
  EXPECT_GT(before, 0);
  TFont big;
  big.SetName("Verdana");
  big.SetSize(20);
  bar->Font()->Assign(&big);
  const int after = bar->Canvas()->TextWidth(name);
  EXPECT_GT(after, before);
  bar->Canvas()->Font()->SetStyle(fsBold);
  EXPECT_GE(bar->Canvas()->TextWidth(name), after);
  // Drawing outside painting has nowhere to go and does no harm.
  bar->Canvas()->FillRect(Rect(0, 0, 10, 10));
}

}  // namespace
