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
    {ValueLine("F1011000", "850", Rpm), "value 850 'F1011000' '" + Rpm + "'"},
    {"F1011000\0\0\0\0"s + "12.5 Na\0me"s, "value 12.5 'F1011000' 'Na\0me'"s},  // NUL: a byte like any other
    {"F1011000    1\0"s + "2 X"s, "value 12 'F1011000' 'X'"},                   // trimmed where controls are
    // Either point in every locale; letters go, so an exponent has no effect.
    {ValueLine("F1011000", "12.5", "A"), "value 12.5 'F1011000' 'A'"},
    {ValueLine("F1011000", "-0,25", "A"), "value -0.25 'F1011000' 'A'"},
    {ValueLine("F1011000", "2E3", "A"), "value 23 'F1011000' 'A'"},
    {ValueLine("F1011000", "7.", "A"), "value 7 'F1011000' 'A'"},
    {"F1011000    " + Rpm, "bad value"},  // a word of letters only
    {ValueLine("F1011000", "abc", "Load"), "bad value"},
    {ValueLine("F1011000", "-", "Only dash"), "bad value"},
    {ValueLine("F1011000", "1-2", "Inner dash"), "bad value"},
    {ValueLine("F1011000", "1.2.3", "Two points"), "bad value"},
    {ValueLine("F1011000", std::string(400, '9'), "Huge"), "bad value"},  // beyond a double
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

TEST_F(ParserLines, MessagesNumberTheLinesAndFollowTheLanguage)
{
  Parse("F101\r\nF1011000    1 A\r\n\r\nF1 11000    12.5 Load\r\n");
  EXPECT_EQ(Lines(*unit.ShortLines),
            (std::vector<AnsiString>{Message("0      ", "F101"), Message("2      ", "")}));
  EXPECT_EQ(Lines(*unit.BadKeyLines), std::vector<AnsiString>{Message("3      ", "F1 11000    12.5 Load")});
  unit.Language = German;
  Parse("1234\r\n");
  EXPECT_EQ(Lines(*unit.ShortLines), std::vector<AnsiString>{"Index 0      :   [ 1234 ]"});

  // A log of ten million lines prints its line numbers whole.
  unit.Language = English;
  unit.ShortLines->Clear();
  LogLineParser parser(unit);
  for (int64_t number : {12LL, 1234567LL, 12345678LL, 9876543210LL})
    parser.Parse("1234", number);
  EXPECT_EQ(Lines(*unit.ShortLines),
            (std::vector<AnsiString>{Message("12     ", "1234"), Message("1234567", "1234"),
                                     Message("12345678", "1234"), Message("9876543210", "1234")}));
}

TEST_F(ParserLines, EraseMarkerIsReadInTheCurrentLanguageOnly)
{
  const std::string lines[] = {"F1140000    Erase Errors",
                               "F1140000    \xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!",
                               "F1140000    L\xF6sche Fehler!"};
  const int64_t positions[] = {0, static_cast<int64_t>(lines[0].size() + 2),
                               static_cast<int64_t>(lines[0].size() + lines[1].size() + 4)};
  const int lineOf[] = {1, 0, 2};  // by language
  for (int language : {Russian, English, German}) {
    unit.Language = language;
    Parse(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n");
    ASSERT_EQ(Records(), 1) << language;
    EXPECT_EQ(Cell(0).Kind, KindEraseMarker);
    EXPECT_EQ(Cell(0).TextPos, positions[lineOf[language]]);
    EXPECT_EQ(unit.BadValueLines->Count(), 2);  // the others' markers: words without digits
  }
}

TEST_F(ParserLines, MixedLineEndsCountTwoCharactersEach)
{
  const std::string lines[] = {"F1011000    1 A", "F1011000    2 A", "F1011000    3 A", "F1011000    4 A"};
  Parse(lines[0] + "\n" + lines[1] + "\r" + lines[2] + "\n\r" + lines[3]);
  ASSERT_EQ(Records(), 4);
  const AnsiString text = unit.TextMemo->Text();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Cell(i).TextPos, i * static_cast<int64_t>(lines[0].size() + 2));
    EXPECT_EQ(text.substr(static_cast<size_t>(Cell(i).TextPos), lines[i].size()), lines[i]);
    EXPECT_EQ(Cell(i).Value, i + 1.0);
  }
}

}  // namespace
