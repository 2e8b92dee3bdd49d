// The line grammar: which record or which list each shape of line ends in, the fields of the
// records, and the messages of the lists.
#include <string>

#include "Numbers.h"
#include "log/LogLineParser.h"
#include "program/ParserTestSupport.h"

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

const std::pair<std::string, std::string> LineCases[] = {
    {"F101", "short"},
    {"", "short"},
    {"F10\0"s, "short"},
    {"F1 11000    12.5 Load", "bad key"},  // a blank in characters 1 to 4
    {"F1011 00    12.5 Load", "bad key"},  // in 5 to 8
    {"F1011000 12", "short rest"},         // three characters after the key
    {"F1011000ABCD", "other"},             // four, not blanks
    {"F1011000  12.5 Load", "other"},      // a lead of 2
    {"F1011000      12.5 Load", "other"},  // a lead of 6
    {"F1011000" + "\xE0\xE0\xE0\xE0"s + "5 x", "other"},
    {"F1140000   Erase Errors", "other"},  // the erase text at a lead of 3
    {"F1140000      Erase Errors", "other"},
    {"F1000001", "none"},  // a frame mark
    {"F1021000    ", "1 0 'F10210' ''"},
    {"F1021501     Warm-up  ", "1 0 'F10215' 'Warm-up  '"},        // trailing blanks kept
    {"F1140000     Erase Errors", "1 0 'F11400' 'Erase Errors'"},  // a lead of 5: a status
    {"F1021000     " + Umlauts, "1 0 'F10210' '" + Umlauts + "'"},
    {"F1140000    Erase Errors", "-1 0 'F1140000' 'Erase Errors'"},
    {"F1011200    92       Engine speed  ", "value 92 'F1011200' 'Engine speed  '"},
    {"F1011000    12.5", "value 12.5 'F1011000' ''"},
    {"F1011000    13.5   ", "value 13.5 'F1011000' ''"},
    {V("850", Rpm), "value 850 'F1011000' '" + Rpm + "'"},
    {"F1011000\0\0\0\0"s + "12.5 Na\0me"s, "value 12.5 'F1011000' 'Na\0me'"s},  // NUL: a byte like any other
    {"F1011000    1\0"s + "2 X"s, "value 12 'F1011000' 'X'"},                   // trimmed where controls are
    // Either point in every locale; letters go, so an exponent has no effect.
    {V("12.5", "A"), "value 12.5 'F1011000' 'A'"},
    {V("-0,25", "A"), "value -0.25 'F1011000' 'A'"},
    {V("2E3", "A"), "value 23 'F1011000' 'A'"},
    {V("7.", "A"), "value 7 'F1011000' 'A'"},
    {"F1011000    " + Rpm, "bad value"},  // a word of letters only
    {V("abc", "Load"), "bad value"},
    {V("-", "Only dash"), "bad value"},
    {V("1-2", "Inner dash"), "bad value"},
    {V("1.2.3", "Two points"), "bad value"},
    {V(std::string(400, '9'), "Huge"), "bad value"},  // beyond a double
};

TEST_F(ParserLines, EachShapeOfLineGivesItsRecordOrList)
{
  const char saved = DecimalSeparator;
  for (char separator : {'.', ','}) {
    DecimalSeparator = separator;
    for (const auto& [line, outcome] : LineCases)
      EXPECT_EQ(Outcome(line), outcome) << line << " with " << separator;
  }
  DecimalSeparator = saved;
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
  const std::string lines[] = {"F1140000    Erase Errors",
                               "F1140000    \xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!",
                               "F1140000    L\xF6sche Fehler!"};
  for (const auto& [language, line] : {std::pair{Russian, 1}, {English, 0}, {German, 2}}) {
    unit.Language = language;
    Parse(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n");
    ASSERT_EQ(Records(), 1);
    EXPECT_EQ(std::to_string(Cell(0).Kind) + " " + Cell(0).Text.Str(), "-1 " + lines[line].substr(12));
    EXPECT_EQ(unit.BadValueLines->Count(), 2);
  }
}

// CR, LF, LF CR and none at the end each count two characters.
TEST_F(ParserLines, MixedLineEndsCountTwoCharactersEach)
{
  Parse("F1011000    1 A\nF1011000    2 A\rF1011000    3 A\n\rF1011000    4 A");
  EXPECT_EQ(Brief(), "2@22 1 'A' 0\n2@44 2 'A' 17\n2@66 3 'A' 34\n2@88 4 'A' 51\n");
  EXPECT_EQ(unit.TextMemo->Text().substr(51, 15), "F1011000    4 A");
}

}  // namespace
