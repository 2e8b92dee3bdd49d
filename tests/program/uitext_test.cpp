// The texts the user reads: the UI text table's rules (id range, language choice, text 42,
// code pages, blanks) and the Help page's lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "CodePage.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"
#include "texts/HelpText.h"

namespace {

constexpr int Russian = 0, English = 1, German = 2;

AnsiString Text(BQELunit& unit, int language, int id, Byte speedInHz = 1)
{
  unit.Language = language;
  unit.SpeedInHz = speedInHz;
  AnsiString out = "left over";
  AnsiString& result = unit.GetUiText(id, out);
  EXPECT_EQ(&result, &out);
  return out;
}

bool HasByteFrom(const AnsiString& s, unsigned char lowest)
{
  return std::ranges::any_of(s, [lowest](char c) { return static_cast<unsigned char>(c) >= lowest; });
}

// "leading,trailing" blanks.
std::string Blanks(const AnsiString& s)
{
  const size_t first = s.find_first_not_of(' '), last = s.find_last_not_of(' ');
  return first == AnsiString::npos ? "all" : std::to_string(first) + "," + std::to_string(s.size() - 1 - last);
}

// Over every id and beyond: text exactly where defined; any language but 0 and 1 is German;
// Russian in Windows-1251 with a Cyrillic letter in each; German plain ASCII but the erase
// marker; no language adds or drops a blank at either end; the speed option changes text 42
// only, to its frame-period label, where the other holds the unit of text 43.
TEST(UiText, RulesOverEveryIdAndLanguage)
{
  BQELunit unit;
  for (int id : {-1, INT_MIN, INT_MAX, 110, 1000})
    for (int language : {Russian, English, German, 7})
      EXPECT_EQ(Text(unit, language, id), "") << id;
  for (int id = 0; id <= 109; ++id) {
    SCOPED_TRACE(id);
    const bool defined = id != 66 && id != 99;
    const AnsiString english = Text(unit, English, id), russian = Text(unit, Russian, id),
                     german = Text(unit, German, id);
    EXPECT_EQ(english.empty(), !defined);
    for (int other : {7, -1, 255})
      EXPECT_EQ(Text(unit, other, id), german);
    EXPECT_FALSE(IsUtf8WithHighBytes(russian));
    EXPECT_EQ(HasByteFrom(russian, 0xC0), defined);
    EXPECT_EQ(HasByteFrom(german, 0x80), id == 92);
    EXPECT_EQ(Blanks(russian), Blanks(english));
    EXPECT_EQ(Blanks(german), Blanks(english));
    for (int language : {Russian, English, German}) {
      const AnsiString hz = Text(unit, language, id, 1), period = Text(unit, language, id, 0);
      EXPECT_EQ(hz == period, id != 42);
      const AnsiString unitName = Text(unit, language, 43);
      EXPECT_TRUE(id != 42 ||
                  (hz.find(unitName) != AnsiString::npos && period.find(unitName) == AnsiString::npos));
    }
  }
}

// The blanks others join numbers and names with, and a few rows byte for byte (the language
// names, and the one German text beyond ASCII) so a converter passing UTF-8 through cannot hide.
TEST(UiText, BlanksOfJoinedTextsAndTellingRows)
{
  BQELunit unit;
  std::string blanks;
  for (int id : {1, 2, 69, 70, 79, 103})
    blanks += Blanks(Text(unit, English, id)) + " ";
  EXPECT_EQ(blanks, "0,1 0,0 0,1 3,1 13,0 1,0 ");
  EXPECT_EQ(Text(unit, English, 2).substr(0, 5), ",   F");
  EXPECT_EQ(Text(unit, Russian, 63) + "|" + Text(unit, English, 63) + "|" + Text(unit, German, 63),
            "\xD0\xF3\xF1\xF1\xEA\xE8\xE9|English|Deutsch");
  EXPECT_EQ(Text(unit, Russian, 92) + "|" + Text(unit, German, 92),
            "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!|L\xF6sche Fehler!");
}

TEST(HelpText, EachLanguageHasItsLinesPaddedToOneWidthInCodePageBytes)
{
  for (const auto& [language, count] : {std::pair{0, 116u}, {1, 113u}, {2, 113u}, {5, 113u}}) {
    SCOPED_TRACE(language);
    const std::vector<AnsiString>& lines = HelpTextLines(language);
    ASSERT_EQ(lines.size(), count);
    AnsiString all;
    for (const AnsiString& line : lines) {
      EXPECT_EQ(line.size(), 107u) << line;
      EXPECT_EQ(line.find('?'), AnsiString::npos) << line;  // a letter the code page lacks
      all += line;
    }
    EXPECT_EQ(lines[0].substr(102), "---  ");  // the title is a heading: dashes to column 105
    EXPECT_EQ(all.find_first_of("\xC0\xE0\xEE\xF2") != AnsiString::npos, language == 0);
    EXPECT_FALSE(IsUtf8WithHighBytes(all));
  }
}

}  // namespace
