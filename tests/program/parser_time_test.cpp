// The running time of a parse: which lines step it by the frame period, which by the
// text-line period, and that it never wraps on long logs.
#include <string>

#include "program/ParserTestSupport.h"

namespace {

class ParserTime : public ParserTwoPeriods {
protected:
  // FrameTimeStep is asked without a parse, which would set it from the reading speed.
  void SetUp() override
  {
    ParserTwoPeriods::SetUp();
    unit.FramePeriod = F;
  }
};

TEST_F(ParserTime, FrameTimeStepLooksAtTheFirstEightCharactersOnly)
{
  EXPECT_EQ(unit.FrameTimeStep("F1000001"), F);
  EXPECT_EQ(unit.FrameTimeStep("F1000001 tail with blanks"), F);
  EXPECT_EQ(unit.FrameTimeStep("F100000"), T);    // fewer than 8
  EXPECT_EQ(unit.FrameTimeStep(""), T);
  EXPECT_EQ(unit.FrameTimeStep("F10 0001"), T);   // blank in 1 to 4
  EXPECT_EQ(unit.FrameTimeStep("F1000 01"), T);   // blank in 5 to 8
  EXPECT_EQ(unit.FrameTimeStep("    0001"), T);
  EXPECT_EQ(unit.FrameTimeStep("F100\t001"), F);  // only the blank counts
}

// Each record takes the time after its own line's step.
TEST_F(ParserTime, LinesStepByTheirKindOfKey)
{
  Parse("F1000001\r\n"               // frame mark: F
        "F1 00001\r\n"               // frame mark with a blank: T
        "F1011000    1 A\r\n"        // good key: F
        "    1011    2 A\r\n"        // four blanks then a good half: accepted, T
        "x\r\n"                      // short: T
        "F1 11000    3 A\r\n"        // bad key: T
        "F1011000 1\r\n"             // short rest: the key's step only, F
        "F1011000ABCD\r\n"           // other: F
        "F1021000    \r\n");         // status: F
  ASSERT_EQ(Records(), 3);
  EXPECT_EQ(Cell(0).Time, F + T + F);
  EXPECT_EQ(Cell(1).Time, F + T + F + T);
  EXPECT_EQ(Cell(1).Code, "    1011");
  EXPECT_EQ(Cell(2).Time, F + T + F + T + T + T + F + F + F);
}

TEST_F(ParserTime, EraseMarkerSitsInTheMiddleOfFiveHundredMilliseconds)
{
  Parse("F1140000    Erase Errors\r\nF1011000    1 A\r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Time, F + 250);
  EXPECT_EQ(Cell(1).Time, F + 500 + F);
}

TEST_F(ParserTime, BadValueLineStillTakesTheKeyStep)
{
  Parse("F1011000    x A\r\nF1011000    1 A\r\n");
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Cell(0).Time, 2 * F);
}

// The frame period follows the reading speed, detected or kept, at the start of every parse.
TEST_F(ParserTime, FramePeriodComesFromTheReadingSpeed)
{
  unit.ReadingSpeed = 16;
  unit.FramePeriod = 1;
  Parse("F1011000    1 A\r\n");
  EXPECT_EQ(unit.FramePeriod, 62);
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Cell(0).Time, 62);
}

// A long log at a slow speed runs past 2^31 ms; times and midpoints stay exact.
TEST_F(ParserTime, TimesAndMidpointsAreSixtyFourBit)
{
  unit.TextLinePeriod = 2000000000;
  Parse("x\r\n"                     // 2e9
        "F10E 000\r\n"              // the block opens at 4e9 (a blank: text-line step)
        "F10E 000\r\n"              // 6e9
        "F10E 000\r\n"              // 8e9
        "    1011    5 A\r\n");     // ends the block: marker at 6e9, value at 10e9
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Kind, KindFault);
  EXPECT_EQ(Cell(0).Time, 6000000000LL);
  EXPECT_EQ(Cell(1).Time, 10000000000LL);
}

} // namespace
