#pragma once
// Number conversions with the class library's rules, and the checked arithmetic that replaces
// the hardware exceptions the program relies on.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "System.h"

// The locale's decimal separator, read once at start-up; tests may change it.
extern char DecimalSeparator;

enum TFloatFormat { ffFixed };

AnsiString IntToStr(int64_t value);

// Leading blanks, an optional sign and decimal digits in the 32-bit range, nothing after;
// anything else throws EConvertError.
int StrToInt(const AnsiString& text);

// Blanks around, optional sign, digits with at most one DecimalSeparator, optional exponent
// ("E", optional sign, digits); anything else throws EConvertError.
double StrToFloat(const AnsiString& text);

// Fixed notation with `digits` decimals and DecimalSeparator, rounded half away from zero on the
// exact value. With more than `precision` integer digits: "1.5E20" form with `precision`
// significant digits. NaN and infinities give "NAN", "INF", "-INF".
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits);

// A 64-bit position or coordinate for an int field, held at the int range's ends.
inline int ClampToInt(int64_t value)
{
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Truncation toward zero held at the ends of Int's range, for drawing that must go on whatever
// the numbers: false, with out unchanged, for NaN and infinities.
template <class Int>
bool SaturatedTrunc(double value, Int& out)
{
  if (!std::isfinite(value))
    return false;
  constexpr double Low = static_cast<double>(std::numeric_limits<Int>::min());  // a power of two
  if (value <= Low)
    out = std::numeric_limits<Int>::min();
  else if (value >= -Low)
    out = std::numeric_limits<Int>::max();
  else
    out = static_cast<Int>(value);
  return true;
}

// Truncation toward zero; EInvalidOp for NaN, infinities and results outside the int range.
int Trunc(double value);
// Integer division toward zero; EDivByZero when b is 0, EIntError for INT_MIN / -1.
int IntDiv(int a, int b);
// EZeroDivide when b is 0.
double FDiv(double a, double b);
