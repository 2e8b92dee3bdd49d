#include "log/ValueWord.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "Exceptions.h"
#include "Numbers.h"
#include "app/Qelunit.h"

namespace {

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

// The rare long word, or a separator that is itself a digit or "-", takes the long way.
bool ReadSlowly(std::string_view word, double& value)
{
  try {
    const AnsiString clean = BQELunit::CleanNumber(AnsiString(word));
    if (clean.empty())
      return false;
    value = StrToFloat(clean);
    return std::isfinite(value);
  } catch (const EConvertError&) {
    return false;
  }
}

// Most value words are a few digits with a point: their digits make an integer a double holds
// exactly, and one division by an exact power of ten then rounds just as from_chars rounds the
// decimal itself. Any other word takes from_chars.
constexpr uint64_t ExactMantissa = uint64_t{1} << 53;
constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

bool ReadValueWord(std::string_view word, double& value)
{
  const char separator = DecimalSeparator;
  char plain[64];
  if (word.size() > sizeof plain || IsDigit(separator) || separator == '-')
    return ReadSlowly(word, value);
  // Cleaned as CleanNumber cleans, then checked as StrToFloat checks what remains: an
  // optional "-", digits with at most one separator (as "."), at least one digit.
  size_t length = 0;
  int digits = 0;
  bool point = false;
  uint64_t mantissa = 0;  // the digits as one integer, while it stays exact
  size_t decimals = 0;    // digits after the point
  for (const char c : word) {
    if (IsDigit(c)) {
      plain[length++] = c;
      ++digits;
      if (mantissa <= ExactMantissa) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
        decimals += point;
      }
    } else if (c == '.' || c == ',' || c == separator) {
      if (point)
        return false;
      point = true;
      plain[length++] = '.';
    } else if (c == '-') {
      if (length > 0)
        return false;
      plain[length++] = '-';
    }
  }
  if (digits == 0)
    return false;
  if (mantissa <= ExactMantissa && decimals < std::size(ExactPowersOfTen)) {
    value = static_cast<double>(mantissa) / ExactPowersOfTen[decimals];
    if (plain[0] == '-')
      value = -value;
    return true;
  }
  const auto result = std::from_chars(plain, plain + length, value, std::chars_format::general);
  return result.ec == std::errc() && result.ptr == plain + length && std::isfinite(value);
}
