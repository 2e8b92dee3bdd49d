// Fault sections under both algorithms: F10E blocks with their sections and no-errors
// markers (new), sections anywhere (old).
#include <string>

#include "program/ParserTestSupport.h"

namespace {

class ParserFaults : public ParserTwoPeriods {
protected:
  // Position of line `n` of a log whose lines are given.
  static int64_t PositionOf(const std::vector<std::string>& lines, size_t n)
  {
    int64_t position = 0;
    for (size_t i = 0; i < n; ++i)
      position += static_cast<int64_t>(lines[i].size()) + 2;
    return position;
  }

  static std::string Join(const std::vector<std::string>& lines)
  {
    std::string log;
    for (const std::string& line : lines)
      log += line + "\r\n";
    return log;
  }
};

const std::string CodeA = "P0130 O2 sensor circuit";
const std::string CodeB = "P0300 Random misfire detected";

TEST_F(ParserFaults, BlockWithBothSections)
{
  const std::vector<std::string> lines = {"F10E0000", "Actual errors:", CodeA, CodeB, "",
                                          "Post errors:", CodeA, "", "F1000001", "F1011000    1 A"};
  Parse(Join(lines));
  ASSERT_EQ(Records(), 4);
  const double signs[] = {1.0, 1.0, -1.0};
  const std::string texts[] = {CodeA, CodeB, CodeA};
  const size_t lineOf[] = {2, 3, 6};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Cell(i).Kind, KindFault);
    EXPECT_EQ(Cell(i).Code, "");
    EXPECT_EQ(Cell(i).Value, signs[i]);
    EXPECT_EQ(Cell(i).Text, texts[i]);
    EXPECT_EQ(Cell(i).TextPos, PositionOf(lines, lineOf[i]));
  }
  // F10E a frame; headers and fault lines nothing; each closing empty line a text line.
  EXPECT_EQ(Cell(0).Time, F);
  EXPECT_EQ(Cell(2).Time, F + T);
  EXPECT_EQ(Cell(3).Time, F + T + T + F + F);
  EXPECT_EQ(Unrecognised(), 0);
}

TEST_F(ParserFaults, BlockWithoutSectionAddsOneMarkerHalfwayThrough)
{
  const std::vector<std::string> lines = {"F1000001", "F10E0000", "F10E0000", "F10E0000", "F1011000    1 A"};
  Parse(Join(lines));
  ASSERT_EQ(Records(), 2);
  const LDataCell& marker = Cell(0);
  EXPECT_EQ(marker.Kind, KindFault);
  EXPECT_EQ(marker.Value, 0.0);
  EXPECT_EQ(marker.Code, "");
  EXPECT_EQ(marker.Text, "");
  // The block starts after its first line (time 2F) and ends at line 4 (time 4F).
  EXPECT_EQ(marker.Time, 3 * F);
  EXPECT_EQ(marker.TextPos, (PositionOf(lines, 2) + PositionOf(lines, 4)) / 2);
  EXPECT_EQ(Cell(1).Time, 5 * F);
}

TEST_F(ParserFaults, BlockOpenAtTheEndAddsNoMarker)
{
  Parse("F10E0000\r\nF10E0000\r\n");
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(Unrecognised(), 0);
}

TEST_F(ParserFaults, FaultLinesCountOnlyInsideABlock)
{
  Parse("Actual errors:\r\n" + CodeA + "\r\n");
  EXPECT_EQ(Records(), 0);
  // "Actual e" and "P0130 O2" both hold a blank in the wrong place of a key.
  EXPECT_EQ(Lines(*unit.BadKeyLines),
            (std::vector<AnsiString>{Message("0      ", "Actual errors:"), Message("1      ", CodeA)}));
}

TEST_F(ParserFaults, SectionClosesAtAShortLineAndTheBlockAtTheNextOther)
{
  // "F1000001" is shorter than 9: it closes the section with a frame step and is no frame
  // mark of its own; the value line after it ends the block.
  Parse("F10E0000\r\nPost errors:\r\n" + CodeA + "\r\nF1000001\r\nF1011000    1 A\r\n" + CodeB + "\r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Value, -1.0);
  EXPECT_GE(Cell(1).Kind, 2);
  EXPECT_EQ(Cell(1).Time, 3 * F);
  // After the block a fault line is just a line with a bad key.
  EXPECT_EQ(unit.BadKeyLines->Count(), 1);
}

TEST_F(ParserFaults, BlockMarkInsideASectionOnlyStepsTheTime)
{
  Parse("F10E0000\r\nActual errors:\r\n" + CodeA + "\r\nF10E0001\r\n" + CodeB + "\r\n\r\nF1000001\r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Time, F);
  EXPECT_EQ(Cell(1).Time, 2 * F);
  EXPECT_EQ(Cell(1).Value, 1.0);
}

TEST_F(ParserFaults, OldAlgorithmTakesSectionsAnywhere)
{
  unit.OldErrorAlgorithm = 1;
  Parse("Actual errors:\r\n" + CodeA + "\r\n" +
        "Post errors:\r\n" + CodeB + "\r\n" +  // a header inside a section turns the sign
        "F1000001\r\n" +                      // closes it with a frame step
        "F10E0000\r\n" +                      // only a frame mark here
        "F1011000    1 A\r\n");
  ASSERT_EQ(Records(), 3);
  EXPECT_EQ(Cell(0).Value, 1.0);
  EXPECT_EQ(Cell(0).Text, CodeA);
  EXPECT_EQ(Cell(1).Value, -1.0);
  EXPECT_EQ(Cell(1).Time, 0);
  EXPECT_EQ(Cell(2).Time, 3 * F);
  EXPECT_EQ(Unrecognised(), 0);
}

TEST_F(ParserFaults, OldAlgorithmClosesWithTheWholeShortLineAsKey)
{
  unit.OldErrorAlgorithm = 1;
  Parse("Post errors:\r\n" + CodeA + "\r\nF1\r\nF1011000    1 A\r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(1).Time, T + F);
  EXPECT_EQ(unit.ShortLines->Count(), 0);
}

} // namespace
