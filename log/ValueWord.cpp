#include "log/ValueWord.h"

#include <charconv>
#include <cmath>

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

} // namespace

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
  for (const char c : word) {
    if (IsDigit(c)) {
      plain[length++] = c;
      ++digits;
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
  const auto result = std::from_chars(plain, plain + length, value, std::chars_format::general);
  return result.ec == std::errc() && result.ptr == plain + length && std::isfinite(value);
}
