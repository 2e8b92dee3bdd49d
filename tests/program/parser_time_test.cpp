// The running time of a parse: which lines step it by the frame period (F = 50), which by the
// text-line period (T = 7), and that it never wraps on long logs.
#include "program/ParserTestSupport.h"

namespace {

class ParserTime : public ParserTwoPeriods {};

TEST_F(ParserTime, FrameTimeStepLooksAtTheBlanksOfTheFirstEightCharactersOnly)
{
  unit.FramePeriod = F;  // asked without a parse, which would set it from the reading speed
  const std::pair<const char*, int> cases[] = {
      {"F1000001", F}, {"F1000001 tail with blanks", F},
      {"F100000", T},  {"", T},
      {"F10 0001", T}, {"F1000 01", T},
      {"    0001", T}, {"F100\t001", F},
  };
  for (const auto& [line, step] : cases)
    EXPECT_EQ(unit.FrameTimeStep(line), step) << line;
}

// Each record takes the time after its own line's step.
const ScriptCase Cases[] = {
    // frame mark F, frame mark with a blank T, good key F, four blanks then a good half T, short T,
    // bad key T, short rest only the key's step F, other F, status F.
    {"lines step by their kind of key",
     0,
     {"F1000001", "F1 00001", "F1011000    1 A", "    1011    2 A", "x", "F1 11000    3 A", "F1011000 1",
      "F1011000ABCD", "F1021000    "},
     "2@107 1 'A' 20\n2@114 2 'A' 37\n1@278 0 '' 100\n",
     4},
    {"the erase marker sits in the middle of 500 ms",
     0,
     {"F1140000    Erase Errors", "F1011000    1 A"},
     "-1@300 0 'Erase Errors' 0\n2@600 1 'A' 26\n",
     0},
    {"a bad value line still takes the key's step",
     0,
     {"F1011000    x A", "F1011000    1 A"},
     "2@100 1 'A' 17\n",
     1},
};

TEST_F(ParserTime, ScriptedLogsGiveTheirTimes)
{
  for (const ScriptCase& c : Cases)
    Check(c);
}

// The frame period follows the reading speed, detected or kept, at the start of every parse.
TEST_F(ParserTime, FramePeriodComesFromTheReadingSpeed)
{
  unit.ReadingSpeed = 16;
  unit.FramePeriod = 1;
  Parse("F1011000    1 A\r\n");
  EXPECT_EQ(unit.FramePeriod, 62);
  EXPECT_EQ(Brief(), "2@62 1 'A' 0\n");
}

// A long log at a slow speed runs past 2^31 ms; times and midpoints stay exact.
TEST_F(ParserTime, TimesAndMidpointsAreSixtyFourBit)
{
  unit.TextLinePeriod = 2000000000;
  Parse("x\r\n"                  // 2e9
        "F10E 000\r\n"           // the block opens at 4e9 (a blank: text-line step)
        "F10E 000\r\n"           // 6e9
        "F10E 000\r\n"           // 8e9
        "    1011    5 A\r\n");  // ends the block: marker at 6e9, value at 10e9
  EXPECT_EQ(Brief(), "0@6000000000 0 '' 23\n2@10000000000 5 'A' 33\n");
}

}  // namespace
