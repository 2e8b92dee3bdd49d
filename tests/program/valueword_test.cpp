// Value words of many digits: the parser reads most words by integer arithmetic and the others
// the long way; either way each must read to the very double StrToFloat makes of the cleaned word.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "Numbers.h"
#include "app/Qelunit.h"
#include "log/ValueWord.h"

namespace {

class ValueWordDigits : public testing::Test {
protected:
  void SetUp() override
  {
    saved = DecimalSeparator;
    DecimalSeparator = '.';
  }
  void TearDown() override { DecimalSeparator = saved; }

  // Both readings, bit for bit.
  static testing::AssertionResult ReadsAlike(const std::string& word)
  {
    const double expected = StrToFloat(BQELunit::CleanNumber(word));
    double value = 0;
    if (!ReadValueWord(word, value))
      return testing::AssertionFailure() << word << " reads as no number";
    if (std::memcmp(&value, &expected, sizeof value) != 0)
      return testing::AssertionFailure() << word << " reads as " << value << ", not " << expected;
    return testing::AssertionSuccess();
  }

  char saved = '.';
};

TEST_F(ValueWordDigits, EdgesOfTheExactReadingReadAsStrToFloatReadsThem)
{
  for (const std::string word : {
           "9007199254740992",          // 2^53, the largest integer taken as it is
           "9007199254740993",          // one more: rounds to even, the long way
           "9007199254740991.5",        // too many digits for the integer: the long way
           "900719925474099.2",
           "0.0000000000000000000001",  // 22 decimals, an exact power of ten
           "0.00000000000000000000001", // 23: the long way
           "123456789012345678901234567890",
           "00000000000000000000000000000000000000012.5",  // leading zeros cost nothing
           "0.1", "0.3", "2.675", "-0", "-0.0", "-.5", "7.", "1e5x3",
       })
    EXPECT_TRUE(ReadsAlike(word));
  double value = 1;
  ASSERT_TRUE(ReadValueWord("-0.000", value));
  EXPECT_TRUE(std::signbit(value));  // a negative zero stays one
}

TEST_F(ValueWordDigits, RandomDecimalsOfUpToThirtyDigitsReadAsStrToFloatReadsThem)
{
  std::mt19937_64 random(17);
  for (int n = 0; n < 50000; ++n) {
    const int digits = 1 + static_cast<int>(random() % 30);
    std::string word = random() % 4 == 0 ? "-" : "";
    const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 2)) - 1;  // -1: none
    for (int i = 0; i < digits; ++i) {
      if (i == point)
        word += random() % 2 ? '.' : ',';
      word += static_cast<char>('0' + random() % 10);
    }
    if (point == digits)
      word += '.';
    ASSERT_TRUE(ReadsAlike(word));
  }
}

} // namespace
