// Whole logs: the committed samples and logs of the generator, which writes every shape the
// recorder writes; a clean one must come through the parser without a single unrecognised line,
// and one with bad lines fills every list.
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "program/ParserTestSupport.h"
#include "tools/loggen_core.h"

namespace {

using loggen::Family;

std::string Generated(Family family, double badRate, uint64_t size = 200000, uint64_t seed = 7)
{
  std::ostringstream out;
  const uint64_t reported = loggen::Generate(out, {size, seed, family, badRate});
  EXPECT_EQ(reported, out.str().size());
  return out.str();
}

class ParserLogs : public ParserTest {
protected:
  // Whether the records hold faults, no-errors markers, statuses and erase markers ("1" or "0"
  // each), and whether their times never go back.
  std::string Seen() const
  {
    bool seen[4] = {}, ordered = true;
    for (int i = 0; i < Records(); ++i) {
      const LDataCell& c = Cell(i);
      seen[0] |= c.Kind == KindFault && c.Value != 0.0;
      seen[1] |= c.Kind == KindFault && c.Value == 0.0;
      seen[2] |= c.Kind == KindStatus;
      seen[3] |= c.Kind == KindEraseMarker;
      ordered &= i == 0 || c.Time >= Cell(i - 1).Time;
    }
    return std::string() + "01"[seen[0]] + "01"[seen[1]] + "01"[seen[2]] + "01"[seen[3]] + "01"[ordered];
  }
  std::map<AnsiString, std::vector<double>> Series() const
  {
    std::map<AnsiString, std::vector<double>> series;
    for (int i = 0; i < Records(); ++i)
      if (Cell(i).Kind >= 2)
        series[Cell(i).Text.Str()].push_back(Cell(i).Value);
    return series;
  }
};

// No-errors markers come only from the new algorithm's blocks. Bad lines too end in CR LF.
TEST_F(ParserLogs, GeneratedLogsCleanAndWithBadLines)
{
  for (Family family : {Family::QEL, Family::PMS, Family::LH}) {
    const std::string clean = Generated(family, 0.0);
    for (Byte oldAlgorithm : {0, 1}) {
      SCOPED_TRACE(std::string(loggen::FamilyWord(family)) + (oldAlgorithm ? " old" : " new"));
      unit.OldErrorAlgorithm = oldAlgorithm;
      Parse(clean);
      EXPECT_EQ(Unrecognised(), 0);
      EXPECT_GT(Records(), unit.TextMemo->Lines()->Count() / 2);
      EXPECT_EQ(Seen(), oldAlgorithm ? "10111" : "11111");
      EXPECT_FALSE(Series().contains(""));
      EXPECT_EQ(Series().contains("MAP, mbar"), family == Family::PMS);  // each family its own parameters
    }
    const std::string bad = Generated(family, 0.05, 100000, 13);
    Parse(bad);
    const int lines = unit.TextMemo->Lines()->Count();
    EXPECT_EQ(std::count(bad.begin(), bad.end(), '\r') + std::count(bad.begin(), bad.end(), '\n'), 2 * lines);
    for (const TStringList* list :
         {unit.ShortLines, unit.BadKeyLines, unit.ShortRestLines, unit.BadValueLines, unit.OtherLines})
      EXPECT_GT(list->Count(), 0);
    EXPECT_GT(Unrecognised(), lines / 50);
    EXPECT_LT(Unrecognised(), lines / 10);
  }
}

TEST_F(ParserLogs, CommittedSamplesParse)
{
  const std::string samples = std::string(DRAVOLIN_TEST_DATA) + "/../../samples/";
  for (const auto& [name, family] : {std::pair{"Q5_sample.qel", 1}, {"P7_sample.qel", 2}, {"LH_sample.txt", 3}}) {
    SCOPED_TRACE(name);
    unit.LogFileName = samples + name;
    unit.ParseLogText();
    const int lines = unit.TextMemo->Lines()->Count();
    ASSERT_GT(lines, 100);
    EXPECT_EQ(unit.EcuFamily, family);
    EXPECT_GT(Records(), lines / 2);
    EXPECT_GE(unit.TypeCells->Count(), 8);
    EXPECT_EQ(Seen().substr(2, 1) + Seen().substr(4), "11");  // statuses, times in order
    EXPECT_LT(Unrecognised(), lines / 10);
  }
}

// The same seed gives the same log; the log stops at the first line end reaching the size; the
// family comes from the file's name, not its folder's.
TEST(LogGenerator, SeedSizeAndFamily)
{
  EXPECT_EQ(Generated(Family::PMS, 0.01, 50000, 7), Generated(Family::PMS, 0.01, 50000, 7));
  EXPECT_NE(Generated(Family::PMS, 0.01, 50000, 7), Generated(Family::PMS, 0.01, 50000, 8));
  EXPECT_EQ(Generated(Family::QEL, 0.0, 0, 1), "");
  for (uint64_t size : {1u, 5000u, 123457u}) {
    const std::string text = Generated(Family::LH, 0.02, size, 3);
    ASSERT_TRUE(text.size() >= size && text.ends_with("\r\n"));
    const size_t previousEnd = text.size() < 3 ? std::string::npos : text.rfind("\r\n", text.size() - 3);
    EXPECT_LT(previousEnd == std::string::npos ? 0 : previousEnd + 2, size) << "a whole line too many";
  }
  std::string families;
  for (const char* name : {"samples/sample_QEL.qel", "/tmp/x/run_PMS_2.qel", "C:\\LOGS\\sample_LH.txt",
                           "lh0101.txt", "/a/Q5_0001.qel", "/a/X7_0001.qel", "/QEL/4123.qel"}) {
    const auto family = loggen::FamilyFromFileName(name);
    families += family ? loggen::FamilyWord(*family) + std::string(" ") : "- ";
  }
  EXPECT_EQ(families, "QEL PMS LH LH QEL PMS - ");
}

}  // namespace
