#include <QImage>
#include <memory>

#include "Colors.h"
#include "Gauges.h"
#include "support/GuiTest.h"

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
class GaugeTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 300);
    gauge = new TCGauge(form.get());
    gauge->SetParent(form.get());
    gauge->SetBorderStyle(bsNone);
    gauge->SetBackColor(0xFFFFFF);
    gauge->SetKind(gkPie);
    gauge->SetForeColor(0x800000);
    gauge->SetBounds(0, 0, 200, 200);
    form->Show();
  }

  QImage Shot() { return gauge->Widget()->grab().toImage(); }

  static constexpr QRgb kNavy = qRgb(0, 0, 0x80);
  static constexpr QRgb kWhite = qRgb(255, 255, 255);

  std::unique_ptr<TForm> form;
  TCGauge* gauge = nullptr;
};

TEST_F(GaugeTest, ProgressStaysWithinTheMaximum)
{
  gauge->SetMaxValue(0);  // the parser's gauge
  gauge->SetProgress(5);
  EXPECT_EQ(gauge->Progress(), 0);
  gauge->SetMaxValue(100);
  gauge->SetProgress(150);
  EXPECT_EQ(gauge->Progress(), 100);
  gauge->SetMaxValue(40);
  EXPECT_EQ(gauge->Progress(), 40);
  gauge->SetProgress(-3);
  EXPECT_EQ(gauge->Progress(), 0);
}

TEST_F(GaugeTest, AQuarterFillsTheQuadrantRightOfTwelveOClock)
{
  gauge->SetMaxValue(100);
  gauge->SetProgress(25);
  const QImage shot = Shot();
  EXPECT_EQ(shot.pixel(150, 50), kNavy);   // 12 to 3 o'clock
  EXPECT_EQ(shot.pixel(150, 150), kWhite);
  EXPECT_EQ(shot.pixel(50, 150), kWhite);
  EXPECT_EQ(shot.pixel(50, 50), kWhite);
  EXPECT_EQ(shot.pixel(100, 0), kNavy);    // the outline
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
