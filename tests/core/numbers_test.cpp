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

AnsiString Fixed(double value, int digits)
{
  return FloatToStrF(value, ffFixed, 10, digits);
}

TEST(IntToStr, SignsAndExtremes)
{
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-17), "-17");
  EXPECT_EQ(IntToStr(INT_MIN), "-2147483648");
  EXPECT_EQ(IntToStr(INT64_MAX), "9223372036854775807");
}

TEST(StrToInt, AcceptsBlanksSignsAndFullRange)
{
  EXPECT_EQ(StrToInt("4"), 4);
  EXPECT_EQ(StrToInt("  4"), 4);
  EXPECT_EQ(StrToInt("+12"), 12);
  EXPECT_EQ(StrToInt("-0"), 0);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
  EXPECT_EQ(StrToInt("00000000000000000000000042"), 42);
}

TEST(StrToInt, RejectsEverythingElse)
{
  for (const char* text : {"", " ", "-", "+", "4 ", "4a", "a4", "1.0", "- 4", "--4", "+-4", "2147483648", "-2147483649",
                           "99999999999999999999", "$1F", "0x10", "\t4", "4\n"})
    EXPECT_THROW(StrToInt(text), EConvertError) << '"' << text << '"';
  EXPECT_THROW(StrToInt(AnsiString("1\0" "2", 3)), EConvertError);
}

TEST(StrToFloat, ReadsWithTheCurrentSeparator)
{
  SeparatorScope dot('.');
  EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-0.25"), -0.25);
  EXPECT_DOUBLE_EQ(StrToFloat("12"), 12);
  EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloat("5."), 5);
  EXPECT_DOUBLE_EQ(StrToFloat(" +3.5 "), 3.5);
  EXPECT_DOUBLE_EQ(StrToFloat("1.5E3"), 1500);
  EXPECT_DOUBLE_EQ(StrToFloat("2e-2"), 0.02);
  EXPECT_THROW(StrToFloat("1,5"), EConvertError);

  SeparatorScope comma(',');
  EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-9876,9876"), -9876.9876);
  EXPECT_THROW(StrToFloat("1.5"), EConvertError);
}

TEST(StrToFloat, RejectsWhatCleaningCanLeave)
{
  SeparatorScope comma(',');
  for (const char* text : {"", "-", ",", "-,", "1-2", "1,2,3", "--1", "1-", "1e", "1e+", "E5", "inf", "nan", "0x1p3",
                           "1 2", "1e999"})
    EXPECT_THROW(StrToFloat(text), EConvertError) << '"' << text << '"';
}

TEST(FloatToStrF, RoundsExactTiesAwayFromZero)
{
  SeparatorScope dot('.');
  EXPECT_EQ(Fixed(0.125, 2), "0.13");    // exact tie: printf would give 0.12
  EXPECT_EQ(Fixed(-0.125, 2), "-0.13");
  EXPECT_EQ(Fixed(0.375, 2), "0.38");
  EXPECT_EQ(Fixed(2.5, 0), "3");
  EXPECT_EQ(Fixed(-2.5, 0), "-3");
  EXPECT_EQ(Fixed(0.5, 0), "1");
  EXPECT_EQ(Fixed(1.0625, 3), "1.063");
  EXPECT_EQ(Fixed(9.995, 2), "9.99");    // really 9.99499999...
  EXPECT_EQ(Fixed(2.675, 2), "2.67");    // really 2.67499999...
  EXPECT_EQ(Fixed(1.005, 2), "1.00");    // really 1.00499999...
  EXPECT_EQ(Fixed(0.155, 2), "0.15");    // really 0.15499999...
  EXPECT_EQ(Fixed(99.995, 2), "100.00"); // really 99.99500000000000454747
}

TEST(FloatToStrF, FixedLayout)
{
  SeparatorScope dot('.');
  EXPECT_EQ(Fixed(0, 2), "0.00");
  EXPECT_EQ(Fixed(3, 0), "3");
  EXPECT_EQ(Fixed(-9876.9876, 2), "-9876.99");
  EXPECT_EQ(Fixed(12.5, 3), "12.500");
  EXPECT_EQ(Fixed(1e-300, 2), "0.00");
  EXPECT_EQ(Fixed(std::numeric_limits<double>::denorm_min(), 3), "0.000");
  EXPECT_EQ(Fixed(9999999999.0, 2), "9999999999.00");  // ten integer digits stay fixed
}

TEST(FloatToStrF, NoNegativeZero)
{
  SeparatorScope dot('.');
  EXPECT_EQ(Fixed(-0.0, 2), "0.00");
  EXPECT_EQ(Fixed(-0.004, 2), "0.00");
  EXPECT_EQ(Fixed(-0.4, 0), "0");
  EXPECT_EQ(Fixed(-0.005, 2), "-0.01");  // 0.005000000000000000104 rounds away
}

TEST(FloatToStrF, ExponentFormPastPrecision)
{
  SeparatorScope dot('.');
  EXPECT_EQ(Fixed(1.5e20, 2), "1.5E20");
  EXPECT_EQ(Fixed(-1.5e20, 2), "-1.5E20");
  EXPECT_EQ(Fixed(1e10, 2), "1E10");
  EXPECT_EQ(Fixed(12345678901.0, 2), "1.23456789E10");  // ten significant digits, trailing zero dropped
  EXPECT_EQ(Fixed(12345678905.0, 0), "1.234567891E10"); // exact tie at the tenth digit: away
  EXPECT_EQ(Fixed(9999999999.996, 2), "1E10");          // rounding carries into an eleventh digit
  EXPECT_EQ(Fixed(1e300, 2), "1E300");
  EXPECT_EQ(FloatToStrF(123.0, ffFixed, 2, 1), "1.2E2");
  SeparatorScope comma(',');
  EXPECT_EQ(Fixed(2.5e15, 0), "2,5E15");
}

TEST(FloatToStrF, UsesTheSeparatorAndSpecialValues)
{
  SeparatorScope comma(',');
  EXPECT_EQ(Fixed(3.14159, 2), "3,14");
  EXPECT_EQ(Fixed(std::nan(""), 2), "NAN");
  EXPECT_EQ(Fixed(HUGE_VAL, 2), "INF");
  EXPECT_EQ(Fixed(-HUGE_VAL, 2), "-INF");
}

TEST(FloatToStrF, ReadsBackWhatItWrites)
{
  SeparatorScope comma(',');
  for (double v : {0.01, -123.45, 6543.21, 1e9 + 0.5})
    EXPECT_DOUBLE_EQ(StrToFloat(Fixed(v, 2)), std::round(v * 100) / 100) << v;
}

TEST(CheckedArithmetic, TruncThrowsOutsideTheIntRange)
{
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(2147483647.9), INT_MAX);
  EXPECT_EQ(Trunc(-2147483648.9), INT_MIN);
  EXPECT_THROW(Trunc(2147483648.0), EInvalidOp);
  EXPECT_THROW(Trunc(-2147483649.0), EInvalidOp);
  EXPECT_THROW(Trunc(std::nan("")), EInvalidOp);
  EXPECT_THROW(Trunc(HUGE_VAL), EInvalidOp);
  EXPECT_THROW(Trunc(-HUGE_VAL), EInvalidOp);
}

TEST(CheckedArithmetic, DivisionsThrowInsteadOfFaulting)
{
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
