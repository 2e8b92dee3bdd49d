#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "Exceptions.h"
#include "Numbers.h"

namespace {

// Sets DecimalSeparator for one test and restores it afterwards.
class SeparatorScope {
public:
  explicit SeparatorScope(char separator) : saved_(DecimalSeparator) { DecimalSeparator = separator; }
  ~SeparatorScope() { DecimalSeparator = saved_; }

private:
  char saved_;
};

TEST(IntToStr, SignsAndExtremes)
{
  EXPECT_EQ(IntToStr(0) + " " + IntToStr(-17) + " " + IntToStr(INT_MIN) + " " + IntToStr(INT64_MAX),
            "0 -17 -2147483648 9223372036854775807");
}

TEST(StrToInt, AcceptsBlanksSignsAndTheFullRangeAndRejectsEverythingElse)
{
  const std::pair<const char*, int> good[] = {{"4", 4},
                                              {"  4", 4},
                                              {"+12", 12},
                                              {"-0", 0},
                                              {"007", 7},
                                              {"2147483647", INT_MAX},
                                              {"-2147483648", INT_MIN},
                                              {"00000000000000000000000042", 42}};
  for (const auto& [text, value] : good)
    EXPECT_EQ(StrToInt(text), value) << text;
  for (const char* text : {"", " ", "-", "+", "4 ", "4a", "a4", "1.0", "- 4", "--4", "+-4", "2147483648",
                           "-2147483649", "99999999999999999999", "$1F", "0x10", "\t4", "4\n"})
    EXPECT_THROW(StrToInt(text), EConvertError) << '"' << text << '"';
  EXPECT_THROW(StrToInt(AnsiString("1\0"
                                   "2",
                                   3)),
               EConvertError);
}

TEST(StrToFloat, ReadsWithTheCurrentSeparatorOnly)
{
  SeparatorScope dot('.');
  const std::pair<const char*, double> good[] = {{"1.5", 1.5}, {"-0.25", -0.25}, {"12", 12},      {".5", 0.5},
                                                 {"5.", 5},    {" +3.5 ", 3.5},  {"1.5E3", 1500}, {"2e-2", 0.02}};
  for (const auto& [text, value] : good)
    EXPECT_DOUBLE_EQ(StrToFloat(text), value) << text;
  EXPECT_THROW(StrToFloat("1,5"), EConvertError);

  SeparatorScope comma(',');
  EXPECT_DOUBLE_EQ(StrToFloat("-9876,9876"), -9876.9876);
  for (const char* text : {"1.5", "", "-", ",", "-,", "1-2", "1,2,3", "--1", "1-", "1e", "1e+", "E5", "inf", "nan",
                           "0x1p3", "1 2", "1e999"})
    EXPECT_THROW(StrToFloat(text), EConvertError) << '"' << text << '"';
}

// Exact ties round away from zero (printf would give 0.12 for 0.125); values just below a tie
// (9.995 is 9.99499999...) round down; no negative zero; past the precision the exponent form.
TEST(FloatToStrF, FixedRoundingLayoutAndExponentForm)
{
  SeparatorScope dot('.');
  struct Case {
    double value;
    int precision, digits;
    const char* text;
  };
  const Case cases[] = {
      {0.125, 10, 2, "0.13"},
      {-0.125, 10, 2, "-0.13"},
      {0.375, 10, 2, "0.38"},
      {2.5, 10, 0, "3"},
      {-2.5, 10, 0, "-3"},
      {0.5, 10, 0, "1"},
      {1.0625, 10, 3, "1.063"},
      {9.995, 10, 2, "9.99"},
      {2.675, 10, 2, "2.67"},
      {1.005, 10, 2, "1.00"},
      {0.155, 10, 2, "0.15"},
      {99.995, 10, 2, "100.00"},
      {0, 10, 2, "0.00"},
      {3, 10, 0, "3"},
      {-9876.9876, 10, 2, "-9876.99"},
      {12.5, 10, 3, "12.500"},
      {1e-300, 10, 2, "0.00"},
      {9999999999.0, 10, 2, "9999999999.00"},
      {std::numeric_limits<double>::denorm_min(), 10, 3, "0.000"},
      {-0.0, 10, 2, "0.00"},
      {-0.004, 10, 2, "0.00"},
      {-0.4, 10, 0, "0"},
      {-0.005, 10, 2, "-0.01"},
      {1.5e20, 10, 2, "1.5E20"},
      {-1.5e20, 10, 2, "-1.5E20"},
      {1e10, 10, 2, "1E10"},
      {12345678901.0, 10, 2, "1.23456789E10"},
      {12345678905.0, 10, 0, "1.234567891E10"},  // an exact tie at the tenth digit: away
      {9999999999.996, 10, 2, "1E10"},           // rounding carries into an eleventh digit
      {1e300, 10, 2, "1E300"},
      {123.0, 2, 1, "1.2E2"},
      {std::nan(""), 10, 2, "NAN"},
      {HUGE_VAL, 10, 2, "INF"},
      {-HUGE_VAL, 10, 2, "-INF"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToStrF(c.value, ffFixed, c.precision, c.digits), c.text) << c.value;

  SeparatorScope comma(',');
  EXPECT_EQ(FloatToStrF(3.14159, ffFixed, 10, 2), "3,14");
  EXPECT_EQ(FloatToStrF(2.5e15, ffFixed, 10, 0), "2,5E15");
  for (double v : {0.01, -123.45, 6543.21, 1e9 + 0.5})
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStrF(v, ffFixed, 10, 2)), std::round(v * 100) / 100) << v;
}

TEST(CheckedArithmetic, TruncAndDivisionsThrowInsteadOfFaulting)
{
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(2147483647.9), INT_MAX);
  EXPECT_EQ(Trunc(-2147483648.9), INT_MIN);
  for (double outside : {2147483648.0, -2147483649.0, std::nan(""), HUGE_VAL, -HUGE_VAL})
    EXPECT_THROW(Trunc(outside), EInvalidOp) << outside;
  EXPECT_EQ(IntDiv(7, 2), 3);
  EXPECT_EQ(IntDiv(-7, 2), -3);
  EXPECT_EQ(IntDiv(INT_MIN, 1), INT_MIN);
  EXPECT_THROW(IntDiv(1, 0), EDivByZero);
  EXPECT_THROW(IntDiv(INT_MIN, -1), EIntError);
  EXPECT_DOUBLE_EQ(FDiv(1, 4), 0.25);
  EXPECT_THROW(FDiv(1, 0), EZeroDivide);
  EXPECT_THROW(FDiv(0, -0.0), EZeroDivide);
  // All of them are reachable through the catch-alls' common base.
  EXPECT_THROW(IntDiv(1, 0), Exception);
  EXPECT_THROW(Trunc(HUGE_VAL), Exception);
}

}  // namespace
