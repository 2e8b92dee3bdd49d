// The chart's grid steps and first lines, against the cases of a hand reckoning and against the
// plain loops that count from zero.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "chart/ChartGrid.h"

namespace {

// Counting from 0 a step at a time, down while the top is below, else up while it is above.
double FirstValueByLoop(int64_t top, double step)
{
  double g = 0.0;
  if (top < 0)
    while (static_cast<double>(top) < g)
      g -= step;
  else
    while (static_cast<double>(top) > g)
      g += step;
  return g;
}

double FirstTimeByLoop(int64_t from, double step)
{
  double t = 0.0;
  while (static_cast<double>(from) > t)
    t += step;
  return t;
}

TEST(ChartGridTest, StepsOfHandReckonedCasesAndAtMostFifteenLinesOnAnyScale)
{
  // Visible ranges 0..4123 and 0..25, spans of 20 s and 9.9 s.
  EXPECT_EQ(ValueGridStep(412.3), 500);
  EXPECT_EQ(ValueGridStep(2.5), 2.5);
  EXPECT_EQ(ValueGridStep(2.0), 2.0);
  EXPECT_EQ(ValueGridStep(1.99), 1);
  EXPECT_EQ(ValueGridStep(-40), 1);
  EXPECT_EQ(TimeGridStep(2000), 2500);
  EXPECT_EQ(TimeGridStep(990), 1000);
  EXPECT_EQ(TimeGridStep(0), 100);
  // Past the old tables' last entries the pattern goes on.
  EXPECT_EQ(ValueGridStep(1600), 2500);
  EXPECT_EQ(ValueGridStep(2.1e8), 2.5e8);
  EXPECT_EQ(TimeGridStep(1.4e6), 2.5e6);
  EXPECT_EQ(TimeGridStep(1.2e7), 1e7);

  // A tenth of the span per raw step: the snapped step leaves 10 * raw / step lines, never more
  // than 15 past the smallest steps (the value step of 1 is for spans below 20), and a wider span never gets a
  // finer step.
  double lastValue = 0;
  double lastTime = 0;
  for (double raw = 0.01; raw < 1e18; raw *= 1.01) {
    const double value = ValueGridStep(raw);
    const double time = TimeGridStep(raw);
    ASSERT_GE(value, lastValue) << raw;
    ASSERT_GE(time, lastTime) << raw;
    lastValue = value;
    lastTime = time;
    if (raw >= 2) {
      ASSERT_LE(10 * raw / value, 15.0) << raw;
    }
    ASSERT_LE(10 * raw / time, 15.0) << raw;
  }
}

TEST(ChartGridTest, FirstLinesByDivisionEqualTheLoops)
{
  std::mt19937_64 random(5);
  const double steps[] = {1, 2.5, 5, 10, 25, 50, 100, 250, 500, 1000, 2500, 1e6};
  for (int round = 0; round < 5000; ++round) {
    const int64_t top = std::uniform_int_distribution<int64_t>(-30000, 30000)(random);
    const double step = steps[round % 12];
    ASSERT_EQ(FirstValueGridLine(top, step), FirstValueByLoop(top, step)) << top << ' ' << step;
    ASSERT_EQ(FirstTimeGridLine(top, step), FirstTimeByLoop(top, step)) << top << ' ' << step;
    // A kept raw step, a tenth of a span of 20 to 30, is no binary fraction: the loop's sum would
    // drift, so the reference counts in tenths.
    const int tenths = std::uniform_int_distribution<int>(20, 30)(random);
    int64_t g = 0;
    if (top < 0)
      while (10 * top < g)
        g -= tenths;
    else
      while (10 * top > g)
        g += tenths;
    ASSERT_EQ(std::round(FirstValueGridLine(top, 0.1 * tenths) * 10), g) << top << ' ' << tenths;
  }
}

}  // namespace
