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

constexpr Family Families[] = {Family::QEL, Family::PMS, Family::LH};

std::string Generated(Family family, double badRate, uint64_t size = 200000, uint64_t seed = 7)
{
  loggen::Options options;
  options.family = family;
  options.bad_rate = badRate;
  options.size = size;
  options.seed = seed;
  std::ostringstream out;
  const uint64_t reported = loggen::Generate(out, options);
  EXPECT_EQ(reported, out.str().size());
  return out.str();
}

class ParserLogs : public ParserTest {
protected:
  int CountKind(int32_t kind) const
  {
    int n = 0;
    for (int i = 0; i < Records(); ++i)
      n += Cell(i).Kind == kind;
    return n;
  }

  // The values of the parse by parameter name.
  std::map<AnsiString, std::vector<double>> Series() const
  {
    std::map<AnsiString, std::vector<double>> series;
    for (int i = 0; i < Records(); ++i)
      if (Cell(i).Kind >= 2)
        series[Cell(i).Text.Str()].push_back(Cell(i).Value);
    return series;
  }
};

// No-errors markers come only from the new algorithm's blocks.
TEST_F(ParserLogs, CleanGeneratedLogHasNoUnrecognisedLine)
{
  for (Family family : Families) {
    const std::string log = Generated(family, 0.0);
    for (Byte oldAlgorithm : {0, 1}) {
      unit.OldErrorAlgorithm = oldAlgorithm;
      Parse(log);
      const auto lines = unit.TextMemo->Lines()->Count();
      SCOPED_TRACE(std::string(loggen::FamilyWord(family)) + (oldAlgorithm ? " old" : " new"));
      EXPECT_EQ(Unrecognised(), 0);
      EXPECT_GT(Records(), lines / 2);
      EXPECT_GT(CountKind(KindStatus), 0);
      EXPECT_GT(CountKind(KindFault), 0);
      EXPECT_GT(CountKind(KindEraseMarker), 0);
      EXPECT_GT(Cell(Records() - 1).Time, 0);
      int markers = 0;
      for (int i = 0; i < Records(); ++i)
        markers += Cell(i).Kind == KindFault && Cell(i).Value == 0.0;
      EXPECT_EQ(markers > 0, !oldAlgorithm);
      for (const auto& [name, values] : Series())
        EXPECT_FALSE(name.empty());
    }
  }
}

// Bad lines too end in CR LF: no bare CR or LF anywhere.
TEST_F(ParserLogs, GeneratedBadLinesFillEveryList)
{
  for (Family family : Families) {
    SCOPED_TRACE(loggen::FamilyWord(family));
    const std::string log = Generated(family, 0.05, 100000, 13);
    Parse(log);
    const int lines = unit.TextMemo->Lines()->Count();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\r'), lines);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), lines);
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
  struct Sample {
    const char* name;
    int family;
  };
  for (const Sample& sample :
       {Sample{"Q5_sample.qel", 1}, Sample{"P7_sample.qel", 2}, Sample{"LH_sample.txt", 3}}) {
    SCOPED_TRACE(sample.name);
    unit.LogFileName = samples + sample.name;
    unit.ParseLogText();
    const int lines = unit.TextMemo->Lines()->Count();
    ASSERT_GT(lines, 100);
    EXPECT_EQ(unit.EcuFamily, sample.family);
    EXPECT_GT(Records(), lines / 2);
    EXPECT_GE(unit.TypeCells->Count(), 8);
    EXPECT_GT(CountKind(KindStatus), 0);
    EXPECT_LT(Unrecognised(), lines / 10);
    for (int i = 1; i < Records(); ++i)
      ASSERT_GE(Cell(i).Time, Cell(i - 1).Time);
  }
}

// ---- the generator itself ----

TEST(LogGenerator, SameSeedSameLogOtherSeedOtherLog)
{
  for (Family family : Families) {
    const std::string a = Generated(family, 0.01, 50000, 7);
    EXPECT_EQ(a, Generated(family, 0.01, 50000, 7));
    EXPECT_NE(a, Generated(family, 0.01, 50000, 8));
  }
}

TEST(LogGenerator, StopsAtTheFirstLineEndReachingTheSize)
{
  EXPECT_EQ(Generated(Family::QEL, 0.0, 0, 1), "");
  for (uint64_t size : {1u, 5000u, 123457u}) {
    const std::string text = Generated(Family::LH, 0.02, size, 3);
    ASSERT_GE(text.size(), size);
    ASSERT_TRUE(text.ends_with("\r\n"));
    const size_t previousEnd = text.size() < 3 ? std::string::npos : text.rfind("\r\n", text.size() - 3);
    EXPECT_LT(previousEnd == std::string::npos ? 0 : previousEnd + 2, size) << "a whole line too many";
  }
}

TEST(LogGenerator, FamilyFromFileName)
{
  EXPECT_EQ(loggen::FamilyFromFileName("samples/sample_QEL.qel"), Family::QEL);
  EXPECT_EQ(loggen::FamilyFromFileName("/tmp/x/run_PMS_2.qel"), Family::PMS);
  EXPECT_EQ(loggen::FamilyFromFileName("C:\\LOGS\\sample_LH.txt"), Family::LH);
  EXPECT_EQ(loggen::FamilyFromFileName("lh0101.txt"), Family::LH);
  EXPECT_EQ(loggen::FamilyFromFileName("/a/Q5_0001.qel"), Family::QEL);
  EXPECT_EQ(loggen::FamilyFromFileName("/a/X7_0001.qel"), Family::PMS);
  EXPECT_EQ(loggen::FamilyFromFileName("/QEL/4123.qel"), std::nullopt);  // a folder's word does not count
}

// Each family has parameters of its own; the engine warms up steadily and is driven.
class LogGeneratorParsed : public ParserLogs {};

TEST_F(LogGeneratorParsed, FamilyChoosesItsParametersAndTheEngineRuns)
{
  const std::string rpm = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";                               // cp1251
  const std::string coolant = "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6";  // cp1251
  Parse(Generated(Family::PMS, 0.0, 30000, 1));
  EXPECT_TRUE(Series().contains("MAP, mbar"));
  Parse(Generated(Family::LH, 0.0, 30000, 1));
  EXPECT_TRUE(Series().contains("LMM Voltage"));
  EXPECT_FALSE(Series().contains("MAP, mbar"));
  Parse(Generated(Family::QEL, 0.0, 400000, 17));
  auto series = Series();
  EXPECT_FALSE(series.contains("MAP, mbar"));
  const std::vector<double>& heat = series[coolant];
  const std::vector<double>& speed = series[rpm];
  ASSERT_GT(heat.size(), 100u);
  ASSERT_GT(speed.size(), 100u);
  EXPECT_GT(heat.back(), heat.front() + 10.0);
  for (size_t i = 1; i < heat.size(); ++i)
    ASSERT_NEAR(heat[i], heat[i - 1], 1.0) << i;
  EXPECT_LT(*std::min_element(speed.begin() + 10, speed.end()), 1300.0);
  EXPECT_GT(*std::max_element(speed.begin(), speed.end()), 2500.0);
}

}  // namespace
