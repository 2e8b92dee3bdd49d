// The line grammar: which record or list each shape of line ends in, with its fields and
// messages; which lines step the running time by the frame period (F = 50) and which by the
// text-line period (T = 7); the fault sections under both algorithms: F10E blocks with their
// sections and no-errors markers (new), sections anywhere (old). And whole logs of the generator,
// which writes every shape the recorder writes: a clean one must come through the parser without a
// single unrecognised line, and one with bad lines fills every list.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Numbers.h"
#include "log/LogLineParser.h"
#include "program/ParserTestSupport.h"
#include "tools/loggen_core.h"

namespace {

using namespace std::string_literals;

class ParserLines : public ParserTest {
protected:
  // What one line parsed alone gives: "kind value 'code' 'text'" ("value" for a parameter's
  // kind), the list that took it, or "none".
  std::string Outcome(const std::string& line)
  {
    Parse(line + "\r\n");
    if (Records() == 1) {
      const LDataCell& c = Cell(0);
      std::ostringstream out;
      out << (c.Kind >= 2 ? "value" : std::to_string(c.Kind)) << ' ' << c.Value << " '" << c.Code.Str() << "' '"
          << c.Text.Str() << "'";
      return out.str();
    }
    const std::pair<const char*, TStringList*> lists[] = {{"short", unit.ShortLines},
                                                          {"bad key", unit.BadKeyLines},
                                                          {"short rest", unit.ShortRestLines},
                                                          {"bad value", unit.BadValueLines},
                                                          {"other", unit.OtherLines}};
    std::string outcome = Records() ? "records " + std::to_string(Records()) : "";
    for (const auto& [name, list] : lists)
      outcome += std::string(list->Count() ? name : "") + (list->Count() > 1 ? " twice" : "");
    return outcome.empty() ? "none" : outcome;
  }
};

const std::string Rpm = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";      // cp1251: bytes 0xC0 to 0xFF are letters
const std::string Umlauts = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF";  // cp1252

std::string V(const std::string& value, const std::string& name)
{
  return "F1011000    " + value + " " + name;
}

// Value words themselves are the value-word test's; here what the line makes of them.
// clang-format off
const std::pair<std::string, std::string> LineCases[] = {
    {"F101", "short"}, {"", "short"}, {"F10\0"s, "short"},
    {"F1 11000    12.5 Load", "bad key"},  // a blank in characters 1 to 4
    {"F1011 00    12.5 Load", "bad key"},  // in 5 to 8
    {"F1011000 12", "short rest"},         // three characters after the key
    {"F1011000ABCD", "other"},             // four, not blanks
    {"F1011000  12.5 Load", "other"},      // a lead of 2
    {"F1011000      12.5 Load", "other"},  // a lead of 6
    {"F1011000" + "\xE0\xE0\xE0\xE0"s + "5 x", "other"},
    {"F1140000   Erase Errors", "other"},  // the erase text at a lead of 3
    {"F1140000      Erase Errors", "other"}, {"F1000001", "none"},  // a frame mark
    {"F1021000    ", "1 0 'F10210' ''"},
    {"F1021501     Warm-up  ", "1 0 'F10215' 'Warm-up  '"},        // trailing blanks kept
    {"F1140000     Erase Errors", "1 0 'F11400' 'Erase Errors'"},  // a lead of 5: a status
    {"F1021000     " + Umlauts, "1 0 'F10210' '" + Umlauts + "'"},
    {"F1140000    Erase Errors", "-1 0 'F1140000' 'Erase Errors'"},
    {"F1011200    92       Engine speed  ", "value 92 'F1011200' 'Engine speed  '"},
    {"F1011000    12.5", "value 12.5 'F1011000' ''"}, {"F1011000    13.5   ", "value 13.5 'F1011000' ''"},
    {V("850", Rpm), "value 850 'F1011000' '" + Rpm + "'"},
    {"F1011000\0\0\0\0"s + "12.5 Na\0me"s, "value 12.5 'F1011000' 'Na\0me'"s},  // NUL: a byte like any other
    {"F1011000    1\0"s + "2 X"s, "value 12 'F1011000' 'X'"},                   // trimmed where controls are
    {V("-0,25", "A"), "value -0.25 'F1011000' 'A'"},  // either point in every locale
    {V("2E3", "A"), "value 23 'F1011000' 'A'"},       // letters go, so an exponent has no effect
    {"F1011000    " + Rpm, "bad value"},              // a word of letters only
    {V("abc", "Load"), "bad value"}, {V(std::string(400, '9'), "Huge"), "bad value"}};  // beyond a double
// clang-format on

TEST_F(ParserLines, EachShapeOfLineGivesItsRecordOrList)
{
  for (const auto& [line, outcome] : LineCases)  // the decimal separator is the value word test's
    EXPECT_EQ(Outcome(line), outcome) << line;
  // A, Engine speed, the empty name, Rpm, Na\0me and X: bad values make none.
  EXPECT_EQ(unit.TypeCells->Count(), 6);
}

// The lists number their lines whole (a log of ten million lines too), in the user's language.
TEST_F(ParserLines, MessagesNumberTheLinesAndFollowTheLanguage)
{
  Parse("F101\r\nF1011000    1 A\r\n\r\nF1 11000    12.5 Load\r\n");
  EXPECT_EQ(Joined(unit.ShortLines) + "|" + Joined(unit.BadKeyLines),
            "index 0      :   [ F101 ]|index 2      :   [  ]|index 3      :   [ F1 11000    12.5 Load ]");
  unit.Language = German;
  Parse("1234\r\n");
  EXPECT_EQ(Joined(unit.ShortLines), "Index 0      :   [ 1234 ]");
  unit.Language = English;
  unit.ShortLines->Clear();
  LogLineParser parser(unit);
  for (int64_t number : {12LL, 1234567LL, 12345678LL, 9876543210LL})
    parser.Parse("1", number);
  EXPECT_EQ(Joined(unit.ShortLines), "index 12     :   [ 1 ]|index 1234567:   [ 1 ]|index 12345678:   [ 1 ]|"
                                     "index 9876543210:   [ 1 ]");
}

// The others' markers are words without digits: bad values.
TEST_F(ParserLines, EraseMarkerIsReadInTheCurrentLanguageOnly)
{
  const std::string lines[] = {"F1140000    \xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!",
                               "F1140000    Erase Errors", "F1140000    L\xF6sche Fehler!"};
  for (unit.Language = Russian; unit.Language <= German; ++unit.Language) {
    Parse(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n");
    ASSERT_EQ(Records(), 1);
    EXPECT_EQ(std::to_string(Cell(0).Kind) + " " + Cell(0).Text.Str(), "-1 " + lines[unit.Language].substr(12));
    EXPECT_EQ(unit.BadValueLines->Count(), 2);
  }
}

// CR, LF, LF CR and none at the end each count two characters.
TEST_F(ParserLines, MixedLineEndsCountTwoCharactersEach)
{
  Parse("F1011000    1 A\nF1011000    2 A\rF1011000    3 A\n\rF1011000    4 A");
  EXPECT_EQ(DumpLines(unit), "0 2@22 1 'F1011000' 'A' 0 <- >1\n1 2@44 2 'F1011000' 'A' 17 <0 >2\n2 2@66 3 "
                             "'F1011000' 'A' 34 <1 >3\n3 2@88 4 'F1011000' 'A' 51 <2 >-\n");
  EXPECT_EQ(unit.TextMemo->Text().substr(51, 15), "F1011000    4 A");
}

constexpr int T = 7;   // text-line period, far from the frame period so a time tells its steps
constexpr int F = 50;  // frame period at 20 Hz

// A = "P0130 O2 sensor" (15 bytes and CR LF), B = "P0300 Misfire" (13).
struct ScriptCase {
  const char* what;
  Byte oldAlgorithm;
  std::string lines;  // split at '|', each ended by CR LF
  const char* dump;   // DumpLines
  int unrecognised;
};

const ScriptCase Cases[] = {
    // Each record takes the time after its own line's step. Frame mark F, frame mark with a
    // blank T, good key F, four blanks then a good half T, short T, bad key T, short rest only
    // the key's step F, other F, status F.
    {"lines step by their kind of key", 0,
     "F1000001|F1 00001|F1011000    1 A|    1011    2 A|x|F1 11000    3 A|F1011000 1|F1011000ABCD|F1021000    ",
     "0 2@107 1 'F1011000' 'A' 20 <- >1\n1 2@114 2 '    1011' 'A' 37 <0 >-\n2 1@278 0 'F10210' '' 100 <- >-\n", 4},
    {"the erase marker sits in the middle of 500 ms", 0, "F1140000    Erase Errors|F1011000    1 A",
     "0 -1@300 0 'F1140000' 'Erase Errors' 0 <- >-\n1 2@600 1 'F1011000' 'A' 26 <- >-\n", 0},
    {"a bad value line still takes the key's step", 0, "F1011000    x A|F1011000    1 A",
     "0 2@100 1 'F1011000' 'A' 17 <- >-\n", 1},
    // F10E a frame; headers and fault lines nothing; each closing empty line a text line.
    {"a block with both sections", 0, "F10E0000|Actual errors:|A|B||Post errors:|A||F1000001|F1011000    1 A",
     "0 0@50 1 '' 'P0130 O2 sensor' 26 <- >1\n1 0@50 1 '' 'P0300 Misfire' 43 <0 >2\n2 0@57 -1 '' 'P0130 O2 "
     "sensor' 74 <1 >-\n3 2@164 1 'F1011000' 'A' 103 <- >-\n",
     0},
    // The block starts after its first line (time 2F, position 20), ends at line 4 (4F, 40).
    {"a block without a section adds one marker halfway through", 0,
     "F1000001|F10E0000|F10E0000|F10E0000|F1011000    1 A",
     "0 0@150 0 '' '' 30 <- >-\n1 2@250 1 'F1011000' 'A' 40 <- >-\n", 0},
    {"a block open at the end adds no marker", 0, "F10E0000|F10E0000", "", 0},
    // "Actual e" and "P0130 O2" both hold a blank in the wrong place of a key.
    {"fault lines count only inside a block", 0, "Actual errors:|A", "", 2},
    // "F1000001" is shorter than 9: it closes the section with a frame step and is no frame mark
    // of its own; the value line after it ends the block; after it B is a line with a bad key.
    {"a section closes at a short line and the block at the next other", 0,
     "F10E0000|Post errors:|A|F1000001|F1011000    1 A|B",
     "0 0@50 -1 '' 'P0130 O2 sensor' 24 <- >-\n1 2@150 1 'F1011000' 'A' 51 <- >-\n", 1},
    {"a block mark inside a section only steps the time", 0, "F10E0000|Actual errors:|A|F10E0001|B||F1000001",
     "0 0@50 1 '' 'P0130 O2 sensor' 26 <- >1\n1 0@100 1 '' 'P0300 Misfire' 53 <0 >-\n", 0},
    // A header inside a section turns the sign; F10E is only a frame mark here.
    {"the old algorithm takes sections anywhere", 1,
     "Actual errors:|A|Post errors:|B|F1000001|F10E0000|F1011000    1 A",
     "0 0@0 1 '' 'P0130 O2 sensor' 16 <- >1\n1 0@0 -1 '' 'P0300 Misfire' 47 <0 >-\n2 2@150 1 'F1011000' 'A' 82 <- "
     ">-\n",
     0},
    {"the old algorithm closes with the whole short line as the key", 1, "Post errors:|A|F1|F1011000    1 A",
     "0 0@0 -1 '' 'P0130 O2 sensor' 14 <- >-\n1 2@57 1 'F1011000' 'A' 35 <- >-\n", 0},
};

TEST_F(ParserLines, ScriptedLogsGiveTheirRecordsAndTimes)
{
  unit.TextLinePeriod = T;
  unit.ReadingSpeed = 20;
  for (const ScriptCase& c : Cases) {
    SCOPED_TRACE(c.what);
    std::string log;
    for (size_t at = 0, end = 0; end != std::string::npos; at = end + 1) {
      end = c.lines.find('|', at);
      const std::string line = c.lines.substr(at, end - at);
      log += (line == "A" ? "P0130 O2 sensor" : line == "B" ? "P0300 Misfire" : line) + "\r\n";
    }
    unit.OldErrorAlgorithm = c.oldAlgorithm;
    Parse(log);
    EXPECT_EQ(DumpLines(unit), c.dump);
    EXPECT_EQ(Unrecognised(), c.unrecognised);
  }
}

// The frame period follows the reading speed at the start of every parse; a long log at a slow
// speed runs past 2^31 ms, and times and midpoints stay exact.
TEST_F(ParserLines, FramePeriodFromTheSpeedAndSixtyFourBitTimes)
{
  unit.ReadingSpeed = 16;
  unit.FramePeriod = 1;
  Parse("F1011000    1 A\r\n");
  EXPECT_EQ(DumpLines(unit), "0 2@62 1 'F1011000' 'A' 0 <- >-\n");
  unit.TextLinePeriod = 2000000000;
  Parse("x\r\n"                  // 2e9
        "F10E 000\r\n"           // the block opens at 4e9 (a blank: text-line step)
        "F10E 000\r\n"           // 6e9
        "F10E 000\r\n"           // 8e9
        "    1011    5 A\r\n");  // ends the block: marker at 6e9, value at 10e9
  EXPECT_EQ(DumpLines(unit), "0 0@6000000000 0 '' '' 23 <- >-\n1 2@10000000000 5 '    1011' 'A' 33 <- >-\n");
}

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

// The same seed gives the same log; the log stops at the first line end reaching the size.
TEST(LogGenerator, SeedAndSize)
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
}

}  // namespace
