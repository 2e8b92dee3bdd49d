// The line grammar: which record or which list each shape of line ends in, and the fields
// of the records.
#include <cmath>
#include <string>

#include "Numbers.h"
#include "log/LogLineParser.h"
#include "program/ParserTestSupport.h"

namespace {

class ParserLines : public ParserTest {};

TEST_F(ParserLines, EachUnrecognisedKindGoesToItsListWithItsMessage)
{
  Parse("F101\r\n"                     // 0: shorter than 8
        "F1 11000    12.5 Load\r\n"    // 1: blank in characters 1 to 4
        "F1011 00    12.5 Load\r\n"    // 2: blank in characters 5 to 8
        "F1011000 12\r\n"              // 3: three characters after the key
        "F1011000    abc Load\r\n"     // 4: value word without digits
        "F1011000ABCD\r\n"             // 5: four characters, not blanks
        "F1011000  12.5 Load\r\n"      // 6: lead of 2
        "F1011000      12.5 Load\r\n"  // 7: lead of 6
        "\r\n"                         // 8: empty
        "F1140000   Erase Errors\r\n"       // 9: the erase text at a lead of 3
        "F1140000      Erase Errors\r\n");  // 10: and at a lead of 6
  EXPECT_EQ(Lines(*unit.ShortLines),
            (std::vector<AnsiString>{Message("0      ", "F101"), Message("8      ", "")}));
  EXPECT_EQ(Lines(*unit.BadKeyLines), (std::vector<AnsiString>{Message("1      ", "F1 11000    12.5 Load"),
                                                              Message("2      ", "F1011 00    12.5 Load")}));
  EXPECT_EQ(Lines(*unit.ShortRestLines), std::vector<AnsiString>{Message("3      ", "F1011000 12")});
  EXPECT_EQ(Lines(*unit.BadValueLines), std::vector<AnsiString>{Message("4      ", "F1011000    abc Load")});
  EXPECT_EQ(Lines(*unit.OtherLines),
            (std::vector<AnsiString>{Message("5      ", "F1011000ABCD"), Message("6      ", "F1011000  12.5 Load"),
                                     Message("7      ", "F1011000      12.5 Load"),
                                     Message("9      ", "F1140000   Erase Errors"),
                                     Message("10     ", "F1140000      Erase Errors")}));
  EXPECT_EQ(Records(), 0);
}

TEST_F(ParserLines, MessageHeadFollowsTheLanguage)
{
  unit.Language = German;
  Parse("1234\r\n");
  EXPECT_EQ(Lines(*unit.ShortLines), std::vector<AnsiString>{"Index 0      :   [ 1234 ]"});
}

// A log of ten million lines prints its line numbers whole.
TEST_F(ParserLines, LineNumbersOfMoreThanSevenDigitsAreNeverCut)
{
  LogLineParser parser(unit);
  parser.Parse("1234", 12);
  parser.Parse("1234", 1234567);
  parser.Parse("1234", 12345678);
  parser.Parse("1234", 9876543210LL);
  EXPECT_EQ(Lines(*unit.ShortLines),
            (std::vector<AnsiString>{Message("12     ", "1234"), Message("1234567", "1234"),
                                     Message("12345678", "1234"), Message("9876543210", "1234")}));
}

TEST_F(ParserLines, StatusValueAndMarkerRecordsCarryTheirFields)
{
  Parse("F1021000    \r\n"                 // status without text
        "F1021501     Warm-up  \r\n"       // status with text, trailing blanks kept
        "F1011200    92       Engine speed  \r\n"
        "F1140000    Erase Errors\r\n"
        "F1140000     Erase Errors\r\n"    // lead 5: a status, not the marker
        "F1000001\r\n");                   // frame mark: no record
  ASSERT_EQ(Records(), 5);
  EXPECT_EQ(Cell(0).Code, "F10210");
  EXPECT_EQ(Cell(0).Kind, KindStatus);
  EXPECT_EQ(Cell(0).Text, "");
  EXPECT_EQ(Cell(1).Code, "F10215");
  EXPECT_EQ(Cell(1).Kind, KindStatus);
  EXPECT_EQ(Cell(1).Text, "Warm-up  ");
  EXPECT_EQ(Cell(2).Code, "F1011200");
  EXPECT_GE(Cell(2).Kind, 2);
  EXPECT_EQ(Cell(2).Value, 92.0);
  EXPECT_EQ(Cell(2).Text, "Engine speed  ");
  EXPECT_EQ(Cell(3).Code, "F1140000");
  EXPECT_EQ(Cell(3).Kind, KindEraseMarker);
  EXPECT_EQ(Cell(3).Value, 0.0);
  EXPECT_EQ(Cell(3).Text, "Erase Errors");
  EXPECT_EQ(Cell(4).Code, "F11400");
  EXPECT_EQ(Cell(4).Kind, KindStatus);
  EXPECT_EQ(Cell(4).Text, "Erase Errors");
  for (int i = 0; i < Records(); ++i)
    EXPECT_EQ(Cell(i).Index, i);
  EXPECT_EQ(Unrecognised(), 0);
}

TEST_F(ParserLines, EraseMarkerIsReadInTheCurrentLanguageOnly)
{
  const std::string russian = "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!";  // cp1251
  const std::string german = "L\xF6sche Fehler!";                                           // cp1252
  const std::string lines[] = {"F1140000    Erase Errors", "F1140000    " + russian, "F1140000    " + german};
  const std::string log = lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n";
  const int64_t positions[] = {0, static_cast<int64_t>(lines[0].size() + 2),
                               static_cast<int64_t>(lines[0].size() + lines[1].size() + 4)};
  const int lineOf[] = {1, 0, 2};  // by language
  for (int language : {Russian, English, German}) {
    unit.Language = language;
    Parse(log);
    ASSERT_EQ(Records(), 1) << language;
    EXPECT_EQ(Cell(0).Kind, KindEraseMarker);
    EXPECT_EQ(Cell(0).TextPos, positions[lineOf[language]]);
    // The markers of the other languages are value lines whose word has no digits.
    EXPECT_EQ(unit.BadValueLines->Count(), 2);
  }
}

TEST_F(ParserLines, ValueWordReadsWithEitherPointInEveryLocale)
{
  const char saved = DecimalSeparator;
  for (char separator : {'.', ','}) {
    DecimalSeparator = separator;
    Parse(ValueLine("F1011000", "12.5", "A") + "\r\n" + ValueLine("F1011000", "-0,25", "A") + "\r\n" +
          ValueLine("F1011000", "2E3", "A") + "\r\n" + ValueLine("F1011000", "7.", "A") + "\r\n");
    ASSERT_EQ(Records(), 4) << separator;
    EXPECT_EQ(Cell(0).Value, 12.5);
    EXPECT_EQ(Cell(1).Value, -0.25);
    EXPECT_EQ(Cell(2).Value, 23.0);  // letters go, so an exponent has no effect
    EXPECT_EQ(Cell(3).Value, 7.0);
  }
  DecimalSeparator = saved;
}

TEST_F(ParserLines, BadValuesMakeNoParameter)
{
  const std::string huge(400, '9');  // beyond the range of a double
  Parse(ValueLine("F1011000", "-", "Only dash") + "\r\n" + ValueLine("F1011000", "1-2", "Inner dash") + "\r\n" +
        ValueLine("F1011000", "1.2.3", "Two points") + "\r\n" + ValueLine("F1011000", huge, "Huge") + "\r\n" +
        ValueLine("F1011000", "n/a", "Letters") + "\r\n");
  EXPECT_EQ(unit.BadValueLines->Count(), 5);
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(unit.TypeCells->Count(), 0);
}

TEST_F(ParserLines, ValueWithoutNameMakesAParameterWithEmptyNames)
{
  Parse("F1011000    12.5\r\nF1011000    13.5   \r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Text, "");
  EXPECT_EQ(Cell(1).Text, "");
  EXPECT_EQ(Cell(0).Kind, Cell(1).Kind);
  const LTypeCell* channel = Channel(Cell(0).Kind);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->NameRu, "");
  EXPECT_EQ(channel->NameEn, "");
  EXPECT_EQ(channel->NameDe, "");
}

// Bytes 0xC0 to 0xFF are letters, never blanks: they are neither trimmed nor split at.
TEST_F(ParserLines, CyrillicAndGermanBytesAreLetters)
{
  const std::string rpm = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // cp1251
  const std::string umlauts = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF";
  Parse(ValueLine("F1011000", "850", rpm) + "\r\n" +
        "F1011000    " + rpm + "\r\n" +                    // lead 4, word of letters only
        "F1021000     " + umlauts + "\r\n" +               // status text
        "F1011000" + "\xE0\xE0\xE0\xE0" + "5 x" + "\r\n");  // lead 0: other
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Text, rpm);
  EXPECT_EQ(Cell(0).Value, 850.0);
  EXPECT_EQ(Cell(1).Text, umlauts);
  EXPECT_EQ(unit.BadValueLines->Count(), 1);
  EXPECT_EQ(unit.OtherLines->Count(), 1);
}

// A NUL is a byte like any other: it ends nothing, and it is trimmed where control
// characters are.
TEST_F(ParserLines, NulIsAnOrdinaryByte)
{
  using namespace std::string_literals;
  Parse("F1011000\0\0\0\0"s + "12.5 Na\0me\r\n"s +  // lead of four NULs, NUL inside the name
        "F1011000    1\0"s + "2 X\r\n"s +           // NUL inside the value word is deleted
        "F10\0"s + "\r\n"s);                        // a short line holding a NUL
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Value, 12.5);
  EXPECT_EQ(Cell(0).Text, "Na\0me"s);
  EXPECT_EQ(Cell(1).Value, 12.0);
  EXPECT_EQ(Lines(*unit.ShortLines), std::vector<AnsiString>{Message("2      ", "F10\0"s)});
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

} // namespace
