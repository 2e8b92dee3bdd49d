#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "Exceptions.h"
#include "Numbers.h"

namespace {

struct SeparatorScope {
  explicit SeparatorScope(char separator) { DecimalSeparator = separator; }
  ~SeparatorScope() { DecimalSeparator = saved; }
  const char saved = DecimalSeparator;
};

// What a conversion gives for each text, space-separated, "!" where it throws EConvertError.
template <class Convert>
std::string Results(std::initializer_list<AnsiString> texts, Convert convert)
{
  std::string results;
  for (const AnsiString& text : texts) {
    try {
      std::ostringstream out;
      out.precision(10);
      out << convert(text);
      results += (results.empty() ? "" : " ") + out.str();
    } catch (const EConvertError&) {
      results += (results.empty() ? "!" : " !");
    }
  }
  return results;
}

TEST(StrToInt, AcceptsBlanksSignsAndTheFullRangeAndRejectsEverythingElse)
{
  EXPECT_EQ(IntToStr(0) + " " + IntToStr(-17) + " " + IntToStr(INT_MIN) + " " + IntToStr(INT64_MAX),
            "0 -17 -2147483648 9223372036854775807");
  const AnsiString withNul("1\0\x32", 3);
  EXPECT_EQ(Results({"  4", "+12",  "-0",  "2147483647", "-2147483648", "00000000000000000000000042",
                     "",    " ",    "-",   "4 ",         "4a",          "1.0",
                     "- 4", "--4",  "+-4", "2147483648", "-2147483649", "99999999999999999999",
                     "$1F", "0x10", "\t4", withNul},
                    StrToInt),
            "4 12 0 2147483647 -2147483648 42 ! ! ! ! ! ! ! ! ! ! ! ! ! ! ! !");
}

TEST(StrToFloat, ReadsWithTheCurrentSeparatorOnly)
{
  SeparatorScope dot('.');
  EXPECT_EQ(Results({"-0.25", ".5", "5.", " +3.5 ", "1.5E3", "2e-2", "1,5"}, StrToFloat),
            "-0.25 0.5 5 3.5 1500 0.02 !");
  SeparatorScope comma(',');
  EXPECT_EQ(Results({"-9876,9876", "1.5", "", "-", ",", "1-2", "1,2,3", "--1", "1e", "1e+", "E5", "inf", "nan",
                     "0x1p3", "1 2", "1e999"},
                    StrToFloat),
            "-9876.9876 ! ! ! ! ! ! ! ! ! ! ! ! ! ! !");
}

// Exact ties round away from zero (printf gives 0.12 for 0.125); 9.995 is 9.99499999...
TEST(FloatToStrF, FixedRoundingLayoutAndExponentForm)
{
  SeparatorScope dot('.');
  std::string shown;
  const std::pair<double, int> cases[] = {
      {0.125, 2},         {-0.125, 2},         {2.5, 0},    {1.0625, 3},       {9.995, 2},
      {1.005, 2},         {99.995, 2},         {12.5, 3},   {9999999999.0, 2}, {4.9e-324, 3},
      {-0.004, 2},        {-0.4, 0},           {-0.005, 2}, {-1.5e20, 2},      {12345678901.0, 2},
      {12345678905.0, 0}, {9999999999.996, 2}, {NAN, 2},    {-HUGE_VAL, 2}};
  for (auto [value, digits] : cases)
    shown += FloatToStrF(value, ffFixed, 10, digits) + " ";
  EXPECT_EQ(shown + FloatToStrF(123.0, ffFixed, 2, 1),
            "0.13 -0.13 3 1.063 9.99 1.00 100.00 12.500 9999999999.00 0.000 0.00 0 -0.01 -1.5E20 1.23456789E10 "
            "1.234567891E10 1E10 NAN -INF 1.2E2");

  SeparatorScope comma(',');
  EXPECT_EQ(FloatToStrF(3.14159, ffFixed, 10, 2), "3,14");
  EXPECT_EQ(FloatToStrF(2.5e15, ffFixed, 10, 0), "2,5E15");
  for (double v : {0.01, -123.45, 6543.21, 1e9 + 0.5})
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStrF(v, ffFixed, 10, 2)), std::round(v * 100) / 100) << v;
}

TEST(CheckedArithmetic, TruncAndDivisionsThrowInsteadOfFaulting)
{
  EXPECT_EQ(std::vector<int>({Trunc(-2.9), Trunc(2147483647.9), Trunc(-2147483648.9), IntDiv(-7, 2)}),
            std::vector<int>({-2, INT_MAX, INT_MIN, -3}));
  for (double outside : {2147483648.0, -2147483649.0, std::nan(""), HUGE_VAL})
    EXPECT_THROW(Trunc(outside), EInvalidOp) << outside;
  EXPECT_THROW(IntDiv(1, 0), EDivByZero);
  EXPECT_THROW(IntDiv(INT_MIN, -1), EIntError);
  EXPECT_DOUBLE_EQ(FDiv(1, 4), 0.25);
  EXPECT_THROW(FDiv(0, -0.0), EZeroDivide);
  EXPECT_THROW(IntDiv(1, 0), Exception);  // reachable through the catch-alls' common base
}

}  // namespace
