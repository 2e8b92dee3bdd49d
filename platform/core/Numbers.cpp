#include "Numbers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <langinfo.h>
#include <locale.h>

#include "Exceptions.h"

namespace {

char ReadLocaleDecimalSeparator()
{
  locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0))
    return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  // A separator of more than one byte (not expressible in one char) falls back to '.'.
  char separator = (radix && radix[0] && !radix[1]) ? radix[0] : '.';
  freelocale(locale);
  return separator;
}

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

[[noreturn]] void ThrowNotInteger(const AnsiString& text)
{
  throw EConvertError("'" + text + "' is not a valid integer value");
}

[[noreturn]] void ThrowNotFloat(const AnsiString& text)
{
  throw EConvertError("'" + text + "' is not a valid floating point value");
}

// Number of binary digits after the point in a finite non-zero double; its exact decimal
// expansion has exactly as many decimals.
int FractionBits(double magnitude)
{
  int exponent;
  double mantissa = std::frexp(magnitude, &exponent);  // magnitude = mantissa * 2^exponent
  auto bits = static_cast<uint64_t>(std::ldexp(mantissa, 53));
  return std::max(53 - exponent - std::countr_zero(bits), 0);
}

// A non-negative number as its decimal digits with the count of integer digits among them.
struct Decimal {
  std::string digits;
  int integerDigits;
};

Decimal ToFixed(double magnitude, int decimals)
{
  char buffer[512];  // 309 integer digits at most, and never more than 53 decimals here
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  size_t point = text.find('.');
  Decimal decimal{text, static_cast<int>(point == std::string::npos ? text.size() : point)};
  if (point != std::string::npos)
    decimal.digits.erase(point, 1);
  return decimal;
}

// Keeps the first `keep` digits, rounding half away from zero on the dropped ones.
void RoundDigits(Decimal& decimal, size_t keep)
{
  if (keep >= decimal.digits.size())
    return;
  bool up = decimal.digits[keep] >= '5';
  decimal.digits.resize(keep);
  if (!up)
    return;
  for (size_t i = keep; i-- > 0;) {
    if (decimal.digits[i] != '9') {
      ++decimal.digits[i];
      return;
    }
    decimal.digits[i] = '0';
  }
  decimal.digits.insert(decimal.digits.begin(), '1');
  ++decimal.integerDigits;
}

AnsiString ExponentForm(double magnitude, int precision)
{
  Decimal decimal = ToFixed(magnitude, FractionBits(magnitude));  // exact
  RoundDigits(decimal, static_cast<size_t>(precision));
  std::string& digits = decimal.digits;
  size_t last = digits.find_last_not_of('0');
  digits.resize(last == std::string::npos ? 1 : last + 1);
  AnsiString text(1, digits[0]);
  if (digits.size() > 1)
    text += DecimalSeparator + digits.substr(1);
  int exponent = decimal.integerDigits - 1;
  return text + "E" + IntToStr(exponent);
}

}  // namespace

char DecimalSeparator = ReadLocaleDecimalSeparator();

AnsiString IntToStr(int64_t value)
{
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return AnsiString(buffer, result.ptr);
}

int StrToInt(const AnsiString& text)
{
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ')
    ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  if (i == n)
    ThrowNotInteger(text);
  int64_t value = 0;
  for (; i < n; ++i) {
    if (!IsDigit(text[i]))
      ThrowNotInteger(text);
    value = value * 10 + (text[i] - '0');
    if (value > -static_cast<int64_t>(INT_MIN))
      ThrowNotInteger(text);
  }
  if (negative)
    value = -value;
  if (value > INT_MAX)
    ThrowNotInteger(text);
  return static_cast<int>(value);
}

double StrToFloat(const AnsiString& text)
{
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ')
    ++i;
  while (end > i && text[end - 1] == ' ')
    --end;
  // Rebuilt in the one form std::from_chars reads: '-' only, '.' as the point.
  std::string plain;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-')
      plain.push_back('-');
    ++i;
  }
  int mantissaDigits = 0;
  bool point = false;
  for (; i < end; ++i) {
    if (IsDigit(text[i])) {
      plain.push_back(text[i]);
      ++mantissaDigits;
    } else if (text[i] == DecimalSeparator && !point) {
      plain.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0)
    ThrowNotFloat(text);
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    plain.push_back('e');
    if (++i < end && (text[i] == '+' || text[i] == '-')) {
      if (text[i] == '-')
        plain.push_back('-');
      ++i;
    }
    int exponentDigits = 0;
    for (; i < end && IsDigit(text[i]); ++i, ++exponentDigits)
      plain.push_back(text[i]);
    if (exponentDigits == 0)
      ThrowNotFloat(text);
  }
  if (i != end)
    ThrowNotFloat(text);
  double value = 0;
  const char* last = plain.data() + plain.size();
  auto result = std::from_chars(plain.data(), last, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != last)
    ThrowNotFloat(text);  // also a value beyond the double range
  return value;
}

AnsiString FloatToStrF(double value, TFloatFormat, int precision, int digits)
{
  if (std::isnan(value))
    return "NAN";
  if (std::isinf(value))
    return value < 0 ? "-INF" : "INF";
  precision = std::clamp(precision, 1, 18);
  digits = std::clamp(digits, 0, 18);
  double magnitude = std::fabs(value);

  // Only a value with exactly digits + 1 binary fraction bits can end in an exact tie at the
  // rounding position; to_chars rounds ties to even, so that case is expanded exactly and
  // rounded here. Otherwise to_chars' correctly rounded result is the same as half away.
  int fractionBits = magnitude == 0 ? 0 : FractionBits(magnitude);
  Decimal decimal = ToFixed(magnitude, fractionBits == digits + 1 ? fractionBits : digits);
  RoundDigits(decimal, static_cast<size_t>(decimal.integerDigits + digits));

  AnsiString text;
  if (decimal.integerDigits > precision) {
    text = ExponentForm(magnitude, precision);
  } else {
    text = decimal.digits.substr(0, decimal.integerDigits);
    if (digits > 0)
      text += DecimalSeparator + decimal.digits.substr(decimal.integerDigits);
  }
  // No "-0.00": the sign goes with a result that rounds to zero.
  bool zero = decimal.digits.find_first_not_of('0') == std::string::npos;
  return value < 0 && !zero ? "-" + text : text;
}

int Trunc(double value)
{
  // NaN fails both comparisons.
  if (!(value > -2147483649.0 && value < 2147483648.0))
    throw EInvalidOp("Invalid floating point operation");
  return static_cast<int>(value);
}

int IntDiv(int a, int b)
{
  if (b == 0)
    throw EDivByZero("Division by zero");
  if (a == INT_MIN && b == -1)
    throw EIntError("Integer overflow");
  return a / b;
}

double FDiv(double a, double b)
{
  if (b == 0)
    throw EZeroDivide("Floating point division by zero");
  return a / b;
}
