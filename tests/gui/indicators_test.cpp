// What shows progress and state: the pie gauge and the status bar.
#include "support/ControlTest.h"
#include "support/Screenshots.h"

namespace {

TEST(GaugePercent, TruncatesAndIsZeroWithoutAMaximum)
{
  // {progress, maximum, percent}; 100 × progress does not fit an int in the last.
  const int rows[][3] = {{2, 3, 66}, {1, 3, 33}, {100, 100, 100}, {0, 0, 0}, {5, 0, 0}, {30000000, 40000000, 75}};
  for (const auto& row : rows)
    EXPECT_EQ(GaugePercent(row[0], row[1]), row[2]) << row[0] << " of " << row[1];
}

// The progress window's main gauge: 200 × 200 on a shown form, white, navy pie.
class GaugeTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    gauge = Place<TCGauge>(0, 0, 200, 200);
    gauge->SetBorderStyle(bsNone);
    gauge->SetBackColor(0xFFFFFF);
    gauge->SetKind(gkPie);
    gauge->SetForeColor(0x800000);
    form->Show();
  }

  // The points at 1, 5, 7 and 11 o'clock, on the outline and outside it: navy, white or other.
  std::string Pie(int maximum, int progress)
  {
    gauge->SetMaxValue(maximum);
    gauge->SetProgress(progress);
    const QImage shot = gauge->Widget()->grab().toImage();
    std::string pie;
    for (const QPoint p :
         {QPoint(150, 50), QPoint(150, 150), QPoint(50, 150), QPoint(85, 30), QPoint(100, 0), QPoint(2, 2)})
      pie += shot.pixel(p) == qRgb(0, 0, 0x80) ? 'N' : shot.pixel(p) == qRgb(255, 255, 255) ? '.' : '?';
    return pie;
  }

  TCGauge* gauge = nullptr;
};

TEST_F(GaugeTest, ProgressStaysWithinTheMaximumAndFillsThePieClockwiseFromTwelve)
{
  // {maximum, progress set, the pie and the progress read}; the first is the parser's gauge; at
  // 85 % the last sixth stays white.
  const std::tuple<int, int, const char*> rows[] = {{0, 5, "....N? 0"},
                                                    {100, 150, "NNNNN? 100"},
                                                    {40, -3, "....N? 0"},
                                                    {7, 6, "NNN.N? 6"},
                                                    {100, 25, "N...N? 25"}};
  for (const auto& [maximum, set, expected] : rows) {
    const std::string pie = Pie(maximum, set);
    EXPECT_EQ(pie + " " + std::to_string(gauge->Progress()), expected) << maximum << " " << set;
  }
}

// The percentage lies inside the circle at every value and size, "100%" whole. The text is red
// here, so its (smoothed) pixels tell from the pie's white and navy and the grey around: none
// may lie outside the circle, and at 14 % some lie inside.
TEST_F(GaugeTest, ThePercentageFitsInsideThePie)
{
  gauge->Font()->SetColor(0x0000FF);
  // The progress window's two pies are about 56 and 28 pixels wide.
  for (const int size : {28, 56, 80}) {
    gauge->SetBounds(0, 0, size, size);
    for (const int percent : {14, 100}) {
      gauge->SetMaxValue(100);
      gauge->SetProgress(percent);
      const QImage shot = gauge->Widget()->grab().toImage();
      SaveScreenshot(shot, "faults", "gauge-" + std::to_string(size) + "-" + std::to_string(percent));
      const double radius = (size - 1) / 2.0;
      int inside = 0, outside = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const QColor pixel = shot.pixelColor(x, y);
          if (pixel.red() - std::max(pixel.green(), pixel.blue()) < 40)
            continue;
          const double dx = x - radius, dy = y - radius;
          ++(dx * dx + dy * dy <= radius * radius ? inside : outside);
        }
      EXPECT_TRUE((inside > 0 || percent == 100) && outside == 0)
          << size << " px at " << percent << "%: " << inside << " " << outside;
    }
  }
}

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
    bar->OnDrawPanel = nullptr;  // paints still queued run after the test's variables are gone
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
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        count += image.pixel(x, y) != ToQColor(clBtnFace).rgb();
    return count;
  }

  TPanel* page = nullptr;
  TStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, TextPanelsShowTheirTextsAndAnOwnerDrawnOneSpansTheBarWithAFreshCanvas)
{
  bar->SetSimpleText("line: 1   column: 1");  // without panels the simple text shows
  EXPECT_GT(Marked(Shot(), Rect(2, 2, 398, bar->Height() - 2)), 0);
  bar->SetHeight(60);
  EXPECT_EQ(bar->Top(), 140);  // along the bottom, at any height
  AddChartPanels();
  bar->Panels()->Items(0)->SetText("X: 1.00");
  // Measuring left the canvas bold; each panel paint starts from the bar's own font again.
  bar->Canvas()->Font()->SetStyle(fsBold);
  std::vector<TStatusPanel*> panels;
  TRect rect;
  TFontStyles style = fsBold;
  TColor brush = 0;
  bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const TRect& r) {
    panels.push_back(sender == bar ? panel : nullptr);
    rect = r;
    TCanvas* canvas = sender->Canvas();
    style = canvas->Font()->Style();
    brush = canvas->Brush()->Color();
    canvas->Brush()->SetColor(0x0000FF);
    canvas->FillRect(Rect(r.left, r.top, r.left + 6, r.top + 6));
    canvas->Pen()->SetColor(0xFF0000);  // a line run past the bottom is cut off there
    canvas->MoveTo(r.left + 10, r.top);
    canvas->LineTo(r.left + 10, r.bottom + 100);
  };
  const QImage shot = Shot();
  // Inside the frames: a panel of width 30 keeps 2 pixels of gap and 1 of frame on each side.
  EXPECT_GT(Marked(shot, Rect(1, 1, 27, 59)), 0);
  EXPECT_EQ(Marked(shot, Rect(31, 1, 57, 59)), 0);  // the empty second panel
  ASSERT_EQ(panels, std::vector<TStatusPanel*>{bar->Panels()->Items(4)});
  EXPECT_EQ(rect.left, 30 + 30 + 50 + 30 + 1);  // inside the frame
  EXPECT_LE(rect.top, 1);
  EXPECT_GE(rect.bottom, 59);
  EXPECT_GE(rect.right, 398);  // the last panel reaches the end whatever its width
  EXPECT_EQ(style, 0u);
  EXPECT_EQ(brush, clBtnFace);
  EXPECT_EQ(shot.pixel(rect.left + 2, rect.top + 2), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(rect.left + 10, 58), qRgb(0, 0, 255));
}

}  // namespace
