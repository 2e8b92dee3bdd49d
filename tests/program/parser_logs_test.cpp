// Whole logs: the committed samples and logs of the generator, which writes every shape the
// recorder writes; a clean one must come through without a single unrecognised line.
#include <sstream>
#include <string>

#include "program/ParserTestSupport.h"
#include "tools/loggen_core.h"

namespace {

class ParserLogs : public ParserTest {
protected:
  std::string Generated(loggen::Family family, double badRate, uint64_t size = 200000)
  {
    loggen::Options options;
    options.family = family;
    options.bad_rate = badRate;
    options.size = size;
    options.seed = 7;
    std::ostringstream out;
    loggen::Generate(out, options);
    return out.str();
  }

  int CountKind(int32_t kind) const
  {
    int n = 0;
    for (int i = 0; i < Records(); ++i)
      n += Cell(i).Kind == kind;
    return n;
  }
};

TEST_F(ParserLogs, CleanGeneratedLogHasNoUnrecognisedLine)
{
  for (loggen::Family family : {loggen::Family::QEL, loggen::Family::PMS, loggen::Family::LH}) {
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
    }
  }
}

TEST_F(ParserLogs, NoErrorMarkersOnlyUnderTheNewAlgorithm)
{
  const std::string log = Generated(loggen::Family::QEL, 0.0);
  Parse(log);
  int markers = 0;
  for (int i = 0; i < Records(); ++i)
    markers += Cell(i).Kind == KindFault && Cell(i).Value == 0.0;
  EXPECT_GT(markers, 0);
  unit.OldErrorAlgorithm = 1;
  Parse(log);
  for (int i = 0; i < Records(); ++i)
    EXPECT_FALSE(Cell(i).Kind == KindFault && Cell(i).Value == 0.0);
}

TEST_F(ParserLogs, GeneratedBadLinesFillEveryList)
{
  Parse(Generated(loggen::Family::PMS, 0.05));
  EXPECT_GT(unit.ShortLines->Count(), 0);
  EXPECT_GT(unit.BadKeyLines->Count(), 0);
  EXPECT_GT(unit.ShortRestLines->Count(), 0);
  EXPECT_GT(unit.BadValueLines->Count(), 0);
  EXPECT_GT(unit.OtherLines->Count(), 0);
  EXPECT_LT(Unrecognised(), unit.TextMemo->Lines()->Count() / 10);
}

TEST_F(ParserLogs, CommittedSamplesParse)
{
  const std::string samples = std::string(DRAVOLIN_TEST_DATA) + "/../../samples/";
  struct Sample {
    const char* name;
    int family;
  };
  for (const Sample& sample : {Sample{"Q5_sample.qel", 1}, Sample{"P7_sample.qel", 2}, Sample{"LH_sample.txt", 3}}) {
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

} // namespace
