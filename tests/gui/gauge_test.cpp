#include <QImage>

#include "Colors.h"
#include "Gauges.h"
#include "support/FormTest.h"

namespace {

TEST(GaugePercent, TruncatesAndIsZeroWithoutAMaximum)
{
  EXPECT_EQ(GaugePercent(2, 3), 66);
  EXPECT_EQ(GaugePercent(1, 3), 33);
  EXPECT_EQ(GaugePercent(100, 100), 100);
  EXPECT_EQ(GaugePercent(0, 0), 0);
  EXPECT_EQ(GaugePercent(5, 0), 0);
  // 100 × progress does not fit an int here.
  EXPECT_EQ(GaugePercent(30000000, 40000000), 75);
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

  QImage Shot() { return gauge->Widget()->grab().toImage(); }

  static constexpr QRgb kNavy = qRgb(0, 0, 0x80);
  static constexpr QRgb kWhite = qRgb(255, 255, 255);

  TCGauge* gauge = nullptr;
};

TEST_F(GaugeTest, ProgressStaysWithinTheMaximum)
{
  // {maximum, progress set (or -1 to keep), progress read}; the first is the parser's gauge.
  const int steps[][3] = {{0, 5, 0}, {100, 150, 100}, {40, -1, 40}, {40, -3, 0}};
  for (const auto& step : steps) {
    gauge->SetMaxValue(step[0]);
    if (step[1] != -1)
      gauge->SetProgress(step[1]);
    EXPECT_EQ(gauge->Progress(), step[2]) << step[0] << " " << step[1];
  }
}

TEST_F(GaugeTest, AQuarterFillsTheQuadrantRightOfTwelveOClock)
{
  gauge->SetMaxValue(100);
  gauge->SetProgress(25);
  const QImage shot = Shot();
  EXPECT_EQ(shot.pixel(150, 50), kNavy);  // 12 to 3 o'clock
  EXPECT_EQ(shot.pixel(150, 150), kWhite);
  EXPECT_EQ(shot.pixel(50, 150), kWhite);
  EXPECT_EQ(shot.pixel(50, 50), kWhite);
  EXPECT_EQ(shot.pixel(100, 0), kNavy);  // the outline
  EXPECT_EQ(shot.pixel(0, 100), kNavy);
  EXPECT_EQ(shot.pixel(2, 2), ToQColor(form->Color()).rgb());  // outside the ellipse
  // "25%" in the middle, dark on the white part.
  int dark = 0;
  for (int y = 80; y < 120; ++y)
    for (int x = 60; x < 140; ++x) {
      const QRgb p = shot.pixel(x, y);
      dark += qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80;
    }
  EXPECT_GT(dark, 0);
}

TEST_F(GaugeTest, EmptyAndFullPies)
{
  gauge->SetMaxValue(0);
  EXPECT_EQ(Shot().pixel(150, 50), kWhite);
  gauge->SetMaxValue(7);
  gauge->SetProgress(7);
  const QImage full = Shot();
  EXPECT_EQ(full.pixel(50, 50), kNavy);
  EXPECT_EQ(full.pixel(50, 150), kNavy);
  gauge->SetProgress(6);  // 85 %: the last sixth of the circle stays white
  const QImage most = Shot();
  EXPECT_EQ(most.pixel(50, 150), kNavy);
  EXPECT_EQ(most.pixel(85, 30), kWhite);
}

}  // namespace
