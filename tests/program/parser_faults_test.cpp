// Fault sections under both algorithms: F10E blocks with their sections and no-errors
// markers (new), sections anywhere (old). Times with T = 7 for a text line and F = 50 for a frame.
#include "program/ParserTestSupport.h"

namespace {

const std::string A = "P0130 O2 sensor";  // 15 bytes and CR LF
const std::string B = "P0300 Misfire";    // 13

const ScriptCase Cases[] = {
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

class ParserFaults : public ParserTwoPeriods {};

TEST_F(ParserFaults, ScriptedLogsGiveTheirRecords)
{
  for (const ScriptCase& c : Cases)
    Check(c);
}

}  // namespace
