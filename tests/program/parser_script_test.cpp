// Scripted logs and the records they give: which lines step the running time by the frame period
// (F = 50) and which by the text-line period (T = 7), and the fault sections under both
// algorithms: F10E blocks with their sections and no-errors markers (new), sections anywhere (old).
#include <string>
#include <vector>

#include "program/ParserTestSupport.h"

namespace {

constexpr int T = 7;   // text-line period, far from the frame period so a time tells its steps
constexpr int F = 50;  // frame period at 20 Hz

const std::string A = "P0130 O2 sensor";  // 15 bytes and CR LF
const std::string B = "P0300 Misfire";    // 13

struct ScriptCase {
  const char* what;
  Byte oldAlgorithm;
  std::vector<std::string> lines;  // each ended by CR LF
  const char* brief;               // ParserTest::Brief
  int unrecognised;
};

const ScriptCase Cases[] = {
    // Each record takes the time after its own line's step. Frame mark F, frame mark with a
    // blank T, good key F, four blanks then a good half T, short T, bad key T, short rest only
    // the key's step F, other F, status F.
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
    // F10E a frame; headers and fault lines nothing; each closing empty line a text line.
    {"a block with both sections",
     0,
     {"F10E0000", "Actual errors:", A, B, "", "Post errors:", A, "", "F1000001", "F1011000    1 A"},
     "0@50 1 'P0130 O2 sensor' 26\n0@50 1 'P0300 Misfire' 43\n0@57 -1 'P0130 O2 sensor' 74\n2@164 1 'A' 103\n",
     0},
    // The block starts after its first line (time 2F, position 20), ends at line 4 (4F, 40).
    {"a block without a section adds one marker halfway through",
     0,
     {"F1000001", "F10E0000", "F10E0000", "F10E0000", "F1011000    1 A"},
     "0@150 0 '' 30\n2@250 1 'A' 40\n",
     0},
    {"a block open at the end adds no marker", 0, {"F10E0000", "F10E0000"}, "", 0},
    // "Actual e" and "P0130 O2" both hold a blank in the wrong place of a key.
    {"fault lines count only inside a block", 0, {"Actual errors:", A}, "", 2},
    // "F1000001" is shorter than 9: it closes the section with a frame step and is no frame mark
    // of its own; the value line after it ends the block; after it B is a line with a bad key.
    {"a section closes at a short line and the block at the next other",
     0,
     {"F10E0000", "Post errors:", A, "F1000001", "F1011000    1 A", B},
     "0@50 -1 'P0130 O2 sensor' 24\n2@150 1 'A' 51\n",
     1},
    {"a block mark inside a section only steps the time",
     0,
     {"F10E0000", "Actual errors:", A, "F10E0001", B, "", "F1000001"},
     "0@50 1 'P0130 O2 sensor' 26\n0@100 1 'P0300 Misfire' 53\n",
     0},
    // A header inside a section turns the sign; F10E is only a frame mark here.
    {"the old algorithm takes sections anywhere",
     1,
     {"Actual errors:", A, "Post errors:", B, "F1000001", "F10E0000", "F1011000    1 A"},
     "0@0 1 'P0130 O2 sensor' 16\n0@0 -1 'P0300 Misfire' 47\n2@150 1 'A' 82\n",
     0},
    {"the old algorithm closes with the whole short line as the key",
     1,
     {"Post errors:", A, "F1", "F1011000    1 A"},
     "0@0 -1 'P0130 O2 sensor' 14\n2@57 1 'A' 35\n",
     0},
};

class ParserScripts : public ParserTest {
protected:
  void SetUp() override
  {
    ParserTest::SetUp();
    unit.TextLinePeriod = T;
    unit.ReadingSpeed = 20;
  }
};

TEST_F(ParserScripts, ScriptedLogsGiveTheirRecordsAndTimes)
{
  for (const ScriptCase& c : Cases) {
    SCOPED_TRACE(c.what);
    std::string log;
    for (const std::string& line : c.lines)
      log += line + "\r\n";
    unit.OldErrorAlgorithm = c.oldAlgorithm;
    Parse(log);
    EXPECT_EQ(Brief(), c.brief);
    EXPECT_EQ(Unrecognised(), c.unrecognised);
  }
}

// Only the blanks of the first eight characters decide.
TEST_F(ParserScripts, FrameTimeStepOfEachLine)
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

// The frame period follows the reading speed at the start of every parse; a long log at a slow
// speed runs past 2^31 ms, and times and midpoints stay exact.
TEST_F(ParserScripts, FramePeriodFromTheSpeedAndSixtyFourBitTimes)
{
  unit.ReadingSpeed = 16;
  unit.FramePeriod = 1;
  Parse("F1011000    1 A\r\n");
  EXPECT_EQ(Brief(), "2@62 1 'A' 0\n");
  unit.TextLinePeriod = 2000000000;
  Parse("x\r\n"                  // 2e9
        "F10E 000\r\n"           // the block opens at 4e9 (a blank: text-line step)
        "F10E 000\r\n"           // 6e9
        "F10E 000\r\n"           // 8e9
        "    1011    5 A\r\n");  // ends the block: marker at 6e9, value at 10e9
  EXPECT_EQ(Brief(), "0@6000000000 0 '' 23\n2@10000000000 5 'A' 33\n");
}

}  // namespace
