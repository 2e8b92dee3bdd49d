// The small text routines: path joining, fixed-width texts, and the parser's cuts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

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
  const auto join = [](const AnsiString& folder, const char* name) { return JoinPath(folder, name) + "|"; };
  EXPECT_EQ(join("/a/\0x"s, "n") + join("/data/logs", "a.qel") + join("/data/logs/", "a") + join("", "a") +
                join("/", "a") + join("/data/a\\", "b:c") + join("C:", "a"),
            "/a/\0xn|/data/logs/a.qel|/data/logs/a|/a|/a|/data/a\\/b:c|C:/a|"s);
}

TEST(PadString, PadsOnEitherSideOrCuts)
{
  const auto pad = [](const char* text, char fill, int width, bool right) {
    return PadString(text, fill, width, right) + "|";
  };
  EXPECT_EQ(pad("ab", ' ', 5, false) + pad("ab", ' ', 5, true) + pad("abcdef", ' ', 3, false) +
                pad("abcdef", ' ', 3, true) + pad("abc", '*', 3, true) + pad("", '-', 2, true) +
                pad("abc", ' ', 0, true) + pad("abc", ' ', -4, true) + pad("ab", '\0', 5, true) +
                pad("ab", '\0', 4, false),
            "   ab|ab   |abc|abc|abc|--|||ab\0\0\0|\0\0ab|"s);
}

// The cuts in the order the parser makes them, each giving the part cut and what is left.
TEST(TextCuts, AWordEndsAtTheFirstBlankAHeadIsTheFirstCharacters)
{
  AnsiString text = "F1011000    12.5   Engine speed ";
  std::string seen;
  const auto head = [&](int n) { seen += BQELunit::CutHead(text, n) + "|" + text + "\n"; };
  const auto word = [&] { seen += BQELunit::CutWord(text) + "|" + text + "\n"; };
  head(8), head(0), head(-2), head(3), word(), word(), word(), head(100), head(3);
  text = "12.5\tname";
  word(), word();
  EXPECT_EQ(seen, "F1011000|    12.5   Engine speed \n|    12.5   Engine speed \n|    12.5   Engine speed \n"
                  "   | 12.5   Engine speed \n|12.5   Engine speed \n12.5|  Engine speed \n| Engine speed \n"
                  " Engine speed |\n|\n12.5\tname|\n|\n");
}

TEST(CleanNumber, KeepsDigitsMinusAndTheSeparator)
{
  const char saved = DecimalSeparator;
  std::string all;
  for (const char separator : {'.', ','}) {
    DecimalSeparator = separator;
    for (const AnsiString& text : {"1,5"s, "1.5"s, "-2.5E3 kg"s, "\xC0\xFF 7\0"s + "8", "abc"s})
      all += BQELunit::CleanNumber(text) + "|";
  }
  DecimalSeparator = saved;
  EXPECT_EQ(all, "1.5|1.5|-2.53|78||1,5|1,5|-2,53|78||");
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
      double slow = 0, fast = 0;
      bool slowOk = false;
      try {
        const AnsiString clean = BQELunit::CleanNumber(word);
        slowOk = !clean.empty() && std::isfinite(slow = StrToFloat(clean));
      } catch (const EConvertError&) {
      }
      ASSERT_EQ(ReadValueWord(word, fast), slowOk) << word;
      numbers += slowOk;
      ASSERT_TRUE(!slowOk || std::memcmp(&fast, &slow, sizeof fast) == 0) << word;
    }
  }
  EXPECT_GT(numbers, 1000);  // the words are not all rejected
  double value = 0;
  EXPECT_FALSE(ReadValueWord(std::string(400, '9'), value));
  EXPECT_TRUE(ReadValueWord(std::string(100, '1'), value));  // the long way
  DecimalSeparator = saved;
}

}  // namespace
