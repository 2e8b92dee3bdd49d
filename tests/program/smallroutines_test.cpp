// The small text routines: path joining, fixed-width texts, and the parser's cuts.
#include <gtest/gtest.h>

#include <string>

#include <cmath>
#include <cstring>
#include <random>

#include "Exceptions.h"
#include "Numbers.h"
#include "app/Qelunit.h"
#include "app/SmallRoutines.h"
#include "log/ValueWord.h"

namespace {

using namespace std::string_literals;

TEST(JoinPath, OneSeparatorBetweenFolderAndName)
{
  // '\\' and ':' are a name's bytes, no separator; the folder ends at its first NUL.
  const AnsiString cases[][3] = {{"/a/\0x"s, "n", "/a/\0xn"s},
                                 {"/data/logs", "a.qel", "/data/logs/a.qel"},
                                 {"/data/logs/", "a.qel", "/data/logs/a.qel"},
                                 {"", "a.qel", "/a.qel"},
                                 {"/", "a.qel", "/a.qel"},
                                 {"/data/a\\", "b:c", "/data/a\\/b:c"},
                                 {"C:", "a.qel", "C:/a.qel"}};
  for (const auto& c : cases)
    EXPECT_EQ(JoinPath(c[0], c[1]), c[2]) << c[0];
}

TEST(PadString, PadsOnEitherSideOrCuts)
{
  const struct {
    AnsiString text;
    char fill;
    int width;
    bool right;
    AnsiString out;
  } cases[] = {{"ab", ' ', 5, false, "   ab"},   {"ab", ' ', 5, true, "ab   "}, {"abcdef", ' ', 3, false, "abc"},
               {"abcdef", ' ', 3, true, "abc"},  {"abc", '*', 3, true, "abc"},  {"", '-', 2, true, "--"},
               {"abc", ' ', 0, true, ""},        {"abc", ' ', -4, true, ""},    {"ab", '\0', 5, true, "ab\0\0\0"s},
               {"ab", '\0', 4, false, "\0\0ab"s}};
  for (const auto& c : cases)
    EXPECT_EQ(PadString(c.text, c.fill, c.width, c.right), c.out) << c.text << ' ' << c.width;
}

TEST(CutHead, TakesTheFirstCharacters)
{
  AnsiString text = "F1011000    12.5";
  EXPECT_EQ(BQELunit::CutHead(text, 8), "F1011000");
  EXPECT_EQ(text, "    12.5");
  EXPECT_EQ(BQELunit::CutHead(text, 100), "    12.5");
  EXPECT_EQ(text, "");
  EXPECT_EQ(BQELunit::CutHead(text, 3), "");
  EXPECT_EQ(text, "");
  text = "abc";
  EXPECT_EQ(BQELunit::CutHead(text, 0), "");
  EXPECT_EQ(BQELunit::CutHead(text, -2), "");
  EXPECT_EQ(text, "abc");
}

TEST(CutWord, TakesTheWordBeforeTheFirstBlank)
{
  AnsiString text = "12.5   Engine speed ";
  EXPECT_EQ(BQELunit::CutWord(text), "12.5");
  EXPECT_EQ(text, "  Engine speed ");
  EXPECT_EQ(BQELunit::CutWord(text), "");  // a leading blank goes alone
  EXPECT_EQ(text, " Engine speed ");
  text = "12.5\tname";
  EXPECT_EQ(BQELunit::CutWord(text), "12.5\tname");  // only the blank splits
  EXPECT_EQ(text, "");
  EXPECT_EQ(BQELunit::CutWord(text), "");
  EXPECT_EQ(text, "");
}

TEST(CleanNumber, KeepsDigitsMinusAndTheSeparator)
{
  const char saved = DecimalSeparator;
  DecimalSeparator = '.';
  EXPECT_EQ(BQELunit::CleanNumber("1,5"), "1.5");
  EXPECT_EQ(BQELunit::CleanNumber("-2.5E3 kg"), "-2.53");
  EXPECT_EQ(BQELunit::CleanNumber("\xC0\xFF 7\0"
                                  "8"s),
            "78");
  EXPECT_EQ(BQELunit::CleanNumber("abc"), "");
  DecimalSeparator = ',';
  EXPECT_EQ(BQELunit::CleanNumber("1.5"), "1,5");
  EXPECT_EQ(BQELunit::CleanNumber("1,5"), "1,5");
  DecimalSeparator = saved;
}

// The parser reads value words in place; it must read each exactly as CleanNumber followed by
// StrToFloat does, or fail where they fail.
TEST(ReadValueWord, AgreesWithCleanNumberAndStrToFloat)
{
  const char saved = DecimalSeparator;
  const std::string alphabet = "0123456789-.,eE+ x\xC0\0'"s;
  std::mt19937 random(5);
  int numbers = 0;
  for (char separator : {'.', ',', '\''}) {
    DecimalSeparator = separator;
    for (int n = 0; n < 20000; ++n) {
      std::string word(random() % 12, ' ');
      for (char& c : word)
        c = alphabet[random() % alphabet.size()];
      double slow = 0;
      bool slowOk = false;
      try {
        const AnsiString clean = BQELunit::CleanNumber(word);
        slowOk = !clean.empty() && std::isfinite(slow = StrToFloat(clean));
      } catch (const EConvertError&) {
      }
      double fast = 0;
      ASSERT_EQ(ReadValueWord(word, fast), slowOk) << word;
      if (slowOk) {
        ++numbers;
        ASSERT_EQ(std::memcmp(&fast, &slow, sizeof fast), 0) << word;
      }
    }
  }
  EXPECT_GT(numbers, 1000);  // the words are not all rejected
  double value = 0;
  EXPECT_FALSE(ReadValueWord(std::string(400, '9'), value));
  EXPECT_TRUE(ReadValueWord(std::string(100, '1'), value));  // the long way
  DecimalSeparator = saved;
}

}  // namespace
