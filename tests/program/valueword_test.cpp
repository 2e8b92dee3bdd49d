// Value words of many digits: the parser reads most words by integer arithmetic and the others
// the long way; either way each must read to the very double StrToFloat makes of the cleaned word.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "Numbers.h"
#include "app/Qelunit.h"
#include "log/ValueWord.h"

namespace {

class ValueWordDigits : public testing::Test {
protected:
  void SetUp() override { saved = DecimalSeparator; }
  void TearDown() override { DecimalSeparator = saved; }
  char saved = '.';
};

// Beyond what the generated words below reach: 30 digits, 40 leading zeros, a negative zero, no
// digit before or after the point, an exponent the cleaning drops. What the cleaning cannot make
// a number of reads as none, with either separator.
TEST_F(ValueWordDigits, EdgesReadAsStrToFloatReadsTheCleanedWord)
{
  DecimalSeparator = '.';
  for (const std::string word :
       {"0.00000000000000000000001", "123456789012345678901234567890",
        "00000000000000000000000000000000000000012.5", "-0", "-.5", "7.", "1e5x3", "-0.000"}) {
    double value = 0;
    ASSERT_TRUE(ReadValueWord(word, value)) << word;
    EXPECT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(StrToFloat(BQELunit::CleanNumber(word))))
        << word;
  }
  for (const char separator : {'.', ','}) {
    DecimalSeparator = separator;
    for (const char* word : {"", "-", ".", ",", "-.", "x", "1.2.3", "1,2.3", "1-2", "--1", "1-", "-1-"}) {
      double value = 7;
      EXPECT_FALSE(ReadValueWord(word, value)) << word;
    }
  }
}

// Words made from a known number: the bytes from_chars reads ("-", digits, "." as the point)
// are known beside the word, which spells its point as "." or "," and carries bytes the
// cleaning drops. Mantissas crowd around 2^53 and the decimals around 22, where the integer
// reading hands over to from_chars; each separator setting reads both points.
TEST_F(ValueWordDigits, GeneratedWordsReadBitForBitAsFromCharsReadsTheirDigits)
{
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
}

}  // namespace
