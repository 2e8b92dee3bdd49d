// The UI text table's rules: id range, language choice, text 42, code pages and the blanks.
#include <gtest/gtest.h>

#include <climits>
#include <string_view>

#include "CodePage.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

constexpr int Russian = 0;
constexpr int English = 1;
constexpr int German = 2;

AnsiString Text(BQELunit& unit, int language, int id)
{
  unit.Language = language;
  AnsiString out;
  return unit.GetUiText(id, out);
}

bool IsDefined(int id)
{
  return id != 66 && id != 99;
}

size_t LeadingBlanks(const AnsiString& s)
{
  size_t n = 0;
  while (n < s.size() && s[n] == ' ')
    ++n;
  return n;
}

size_t TrailingBlanks(const AnsiString& s)
{
  size_t n = 0;
  while (n < s.size() && s[s.size() - 1 - n] == ' ')
    ++n;
  return n;
}

// True when some lead byte is followed by as many continuation bytes as it announces,
// i.e. the text would pass for UTF-8 somewhere instead of being single-byte code-page text.
bool HoldsUtf8Sequence(std::string_view s)
{
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    size_t follow = lead >= 0xC2 && lead <= 0xDF   ? 1
                    : lead >= 0xE0 && lead <= 0xEF ? 2
                    : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                   : 0;
    if (follow == 0 || i + follow >= s.size())
      continue;
    bool all = true;
    for (size_t k = 1; k <= follow; ++k) {
      const unsigned char c = static_cast<unsigned char>(s[i + k]);
      if (c < 0x80 || c > 0xBF)
        all = false;
    }
    if (all)
      return true;
  }
  return false;
}

bool IsAscii(std::string_view s)
{
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  return true;
}

TEST(UiText, IdsWithoutTextGiveEmptyStringInEveryLanguage)
{
  BQELunit unit;
  const int ids[] = {66, 99, 110, -1, INT_MIN, INT_MAX, 1000};
  for (int language : {Russian, English, German, 7})
    for (int id : ids) {
      unit.Language = language;
      AnsiString out = "left over";
      AnsiString& result = unit.GetUiText(id, out);
      EXPECT_EQ(&result, &out) << "id " << id;
      EXPECT_TRUE(out.empty()) << "language " << language << " id " << id;
    }
}

// Over every id: text exactly where defined; any language but 0 and 1 is German; Russian in
// Windows-1251 with a Cyrillic letter in each; German plain ASCII but the erase marker; and no
// language adds or drops a blank at either end.
TEST(UiText, RulesOverEveryIdAndLanguage)
{
  BQELunit unit;
  for (int id = 0; id <= 109; ++id) {
    SCOPED_TRACE(id);
    const AnsiString russian = Text(unit, Russian, id), english = Text(unit, English, id),
                     german = Text(unit, German, id);
    for (const AnsiString* text : {&russian, &english, &german})
      EXPECT_EQ(text->empty(), !IsDefined(id));
    for (int other : {7, -1, 255})
      EXPECT_EQ(Text(unit, other, id), german);
    EXPECT_FALSE(HoldsUtf8Sequence(russian));
    bool cyrillic = false;
    for (char c : russian)
      cyrillic |= static_cast<unsigned char>(c) >= 0xC0;
    EXPECT_EQ(cyrillic, IsDefined(id));
    EXPECT_EQ(IsAscii(german), id != 92);
    for (const AnsiString* other : {&russian, &german}) {
      EXPECT_EQ(LeadingBlanks(*other), LeadingBlanks(english));
      EXPECT_EQ(TrailingBlanks(*other), TrailingBlanks(english));
    }
  }
}

TEST(UiText, Text42FollowsSpeedInHzAtTheMomentOfTheCall)
{
  BQELunit unit;
  unit.SpeedInHz = 1;
  EXPECT_EQ(Text(unit, Russian, 42), Utf8ToAnsi("скорость чтения, Гц   ( 16...50 )", 1251));
  EXPECT_EQ(Text(unit, English, 42), "reading speed, Hz   ( 16...50 )");
  EXPECT_EQ(Text(unit, German, 42), "Lesegeschwindigkeit, Hz   ( 16...50 )");
  unit.SpeedInHz = 0;
  EXPECT_EQ(Text(unit, Russian, 42), Utf8ToAnsi("мсек в 'большом' временном интервале", 1251));
  EXPECT_EQ(Text(unit, English, 42), "msec in 'large' time interval");
  EXPECT_EQ(Text(unit, German, 42), "millisekunden in einem groben zeitintervall");
  // The option chooses only between the two texts of 42.
  EXPECT_EQ(Text(unit, English, 41), "msec in 'small' time interval");
  EXPECT_EQ(Text(unit, English, 43), "Hz");
}

// The blanks of texts that others join to numbers and names.
TEST(UiText, BlanksOfJoinedTexts)
{
  struct Blanks {
    int id;
    size_t leading, trailing;
  };
  const Blanks table[] = {{1, 0, 1}, {69, 0, 1}, {70, 3, 1}, {79, 13, 0}, {103, 1, 0}};
  BQELunit unit;
  for (const Blanks& b : table) {
    const AnsiString text = Text(unit, English, b.id);
    EXPECT_EQ(LeadingBlanks(text), b.leading) << b.id;
    EXPECT_EQ(TrailingBlanks(text), b.trailing) << b.id;
  }
  EXPECT_EQ(Text(unit, English, 2).substr(0, 5), ",   F");
}

// A few rows byte for byte: a file filter, the language names, and the one German text with a
// letter beyond ASCII; the Russian spelled out so a converter passing UTF-8 through cannot hide.
TEST(UiText, TellingRowsByteForByte)
{
  struct Row {
    int id;
    const char* russian;  // Windows-1251
    const char* english;
    const char* german;  // Windows-1252
  };
  const Row rows[] = {
      {63, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9", "English", "Deutsch"},
      {88, "\xD4\xE0\xE9\xEB \xF1 \xE8\xE7\xEE\xE1\xF0\xE0\xE6\xE5\xED\xE8\xE5\xEC *.jpg|*.jpg",
       "Image file *.jpg|*.jpg", "Bild datei *.jpg|*.jpg"},
      {92, "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!", "Erase Errors", "L\xF6sche Fehler!"},
      {105, "\xCF\xF0\xE5\xF0\xE2\xE0\xF2\xFC", "Break", "Abbrechen"},
  };
  BQELunit unit;
  for (const Row& row : rows) {
    EXPECT_EQ(Text(unit, Russian, row.id), row.russian) << row.id;
    EXPECT_EQ(Text(unit, English, row.id), row.english) << row.id;
    EXPECT_EQ(Text(unit, German, row.id), row.german) << row.id;
  }
}

}  // namespace
