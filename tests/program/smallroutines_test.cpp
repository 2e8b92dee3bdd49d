// The small text routines: path joining, fixed-width texts, the parser's cuts, and value words
// read in place exactly as CleanNumber and StrToFloat read them, in random and generated words.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "Exceptions.h"
#include "Numbers.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/Qelunit.h"
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

// Words made from a known number: the bytes from_chars reads ("-", digits, "." as the point)
// are known beside the word, which spells its point as "." or "," and carries bytes the
// cleaning drops. Mantissas crowd around 2^53 and the decimals around 22, where the integer
// reading hands over to from_chars; each separator setting reads both points.
TEST(ValueWordDigits, GeneratedWordsReadBitForBitAsFromCharsReadsTheirDigits)
{
  const char saved = DecimalSeparator;
  std::mt19937_64 random(2024);
  auto pick = [&random](uint64_t n) { return random() % n; };
  const std::string noise = "xV%+e_/";
  int readByIntegers = 0, readLongWay = 0;
  for (const char separator : {'.', ','}) {
    DecimalSeparator = separator;
    for (int n = 0; n < 200000; ++n) {
      uint64_t mantissa = 0;
      switch (pick(4)) {
      case 0: mantissa = (uint64_t{1} << 53) - 50 + pick(100); break;
      case 1: mantissa = random() >> pick(64); break;
      case 2: mantissa = pick(100000); break;
      default: mantissa = random(); break;
      }
      std::string digits = std::string(pick(4) == 0 ? pick(12) : 0, '0') + std::to_string(mantissa) +
                           std::string(pick(4) == 0 ? pick(8) : 0, '0');
      const size_t decimals =
          pick(3) == 0 ? pick(digits.size() + 1) : std::min<size_t>(digits.size(), 18 + pick(8));
      const size_t point = digits.size() - decimals;
      const bool hasPoint = decimals > 0 || pick(8) == 0;
      const bool negative = pick(3) == 0;
      std::string plain = negative ? "-" : "";
      std::string word = plain;
      for (size_t i = 0; i <= digits.size(); ++i) {
        if (i == point && hasPoint) {
          plain += '.';
          word += pick(2) ? '.' : ',';
        }
        if (pick(30) == 0)
          word += noise[pick(noise.size())];
        if (i < digits.size()) {
          plain += digits[i];
          word += digits[i];
        }
      }
      double expected = 0;
      const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
      ASSERT_TRUE(result.ec == std::errc() && result.ptr == plain.data() + plain.size()) << plain;
      double value = 0;
      ASSERT_TRUE(ReadValueWord(word, value)) << word;
      ASSERT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(expected))
          << word << " reads as " << value << ", from_chars reads " << plain << " as " << expected;
      uint64_t whole = 0;  // the digits as one integer, when they fit
      const bool fits = std::from_chars(digits.data(), digits.data() + digits.size(), whole).ec == std::errc();
      const bool exact = fits && whole <= (uint64_t{1} << 53) && decimals < 23;
      ++(exact && word.size() <= 64 ? readByIntegers : readLongWay);
    }
  }
  // Both readings had their share.
  EXPECT_GT(readByIntegers, 50000);
  EXPECT_GT(readLongWay, 50000);
  DecimalSeparator = saved;
}

}  // namespace
