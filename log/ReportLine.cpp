#include "log/ReportLine.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "Numbers.h"

namespace {

// A report holds tens of millions of numbers: digits go straight into their columns, two at a
// time, and blanks are laid down in fixed-size stores before them.
constexpr char DigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                              "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                              "8081828384858687888990919293949596979899";

int DigitCount(uint64_t value)
{
  int count = 1;
  for (; value >= 10000; value /= 10000)
    count += 4;
  return count + (value >= 10) + (value >= 100) + (value >= 1000);
}

// The digits of value, ending at end.
void DigitsBefore(char* end, uint64_t value)
{
  while (value >= 100) {
    end -= 2;
    std::memcpy(end, DigitPairs + 2 * (value % 100), 2);
    value /= 100;
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, DigitPairs + 2 * value, 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
}

// A number in its column of Width: after blanks (right) or before them; a longer number takes
// its own width. Negative numbers, which no record holds, go through the library.
template <size_t Width>
char* NumberInColumn(char* out, int64_t value, bool right)
{
  std::memset(out, ' ', Width);
  if (value < 0) {
    char text[24];
    const auto length = static_cast<size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
    const size_t start = right && length < Width ? Width - length : 0;
    std::memcpy(out + start, text, length);
    return out + (start + length > Width ? start + length : Width);
  }
  const auto length = static_cast<size_t>(DigitCount(static_cast<uint64_t>(value)));
  const size_t end = right && length < Width ? Width : length;
  DigitsBefore(out + end, static_cast<uint64_t>(value));
  return out + (end > Width ? end : Width);
}

// The code in its column of 8: cut to 8, or blanks after it.
char* CodeInColumn(char* out, const AnsiString& code)
{
  std::memset(out, ' ', 8);
  std::memcpy(out, code.data(), code.size() < 8 ? code.size() : 8);
  return out + 8;
}

template <size_t N>
char* Literal(char* out, const char (&text)[N])
{
  std::memcpy(out, text, N - 1);
  return out + N - 1;
}

// Hundredths of the value as an integer when the product leaves no doubt about the rounding:
// away from a half by far more than its own rounding error (an ulp of 1e12 is 1.2e-4), and
// within ten integer digits. Otherwise -1: the library routine decides.
int64_t Hundredths(double value)
{
  const double magnitude = std::fabs(value);
  if (!(magnitude < 1e10))  // NaN too
    return -1;
  const double hundredths = magnitude * 100.0;
  const double whole = std::floor(hundredths);
  const double fraction = hundredths - whole;
  if (std::fabs(fraction - 0.5) <= 1e-3)
    return -1;
  const auto rounded = static_cast<int64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  return rounded < 1000000000000 ? rounded : -1;
}

// The value's fixed-point text of Hundredths ending at end; returns its start.
char* FixedBefore(char* end, int64_t rounded, bool negative)
{
  end -= 3;
  end[0] = DecimalSeparator;
  std::memcpy(end + 1, DigitPairs + 2 * (rounded % 100), 2);
  const auto whole = static_cast<uint64_t>(rounded / 100);
  end -= DigitCount(whole);
  DigitsBefore(end + DigitCount(whole), whole);
  if (negative && rounded != 0)
    *--end = '-';
  return end;
}

int FixedLength(int64_t rounded, bool negative)
{
  return DigitCount(static_cast<uint64_t>(rounded / 100)) + 3 + (negative && rounded != 0);
}

}  // namespace

char* FormatFixedTwoDecimals(char* out, double value)
{
  const int64_t rounded = Hundredths(value);
  if (rounded < 0) {
    const AnsiString text = FloatToStrF(value, ffFixed, 10, 2);
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
  }
  const int length = FixedLength(rounded, value < 0);
  FixedBefore(out + length, rounded, value < 0);
  return out + length;
}

char* FormatReportLineHead(char* out, const LDataCell& cell)
{
  out = NumberInColumn<7>(out, cell.Index, false);
  out = Literal(out, ": [ ");
  out = NumberInColumn<8>(out, cell.TextPos, true);
  out = Literal(out, "   ");
  out = CodeInColumn(out, cell.Code.Str());
  // The time keeps its column's width, as every field but the numbers that grow with a log.
  if (cell.Time >= 0 && cell.Time < 1000000000000) {
    out = NumberInColumn<12>(out, cell.Time, true);
  } else {
    char text[24];
    const auto length = static_cast<size_t>(std::to_chars(text, text + sizeof text, cell.Time).ptr - text);
    std::memset(out, ' ', 12);
    std::memcpy(out + (length < 12 ? 12 - length : 0), text, length < 12 ? length : 12);
    out += 12;
  }
  out = Literal(out, " msec ] ");
  switch (cell.Kind) {
  case KindFault:
    out = Literal(out, " -ERROR-    ");
    if (cell.Value > 0)
      out = Literal(out, "actual      ");
    else if (cell.Value < 0)
      out = Literal(out, "post        ");
    else
      out = Literal(out, "            ");
    break;
  case KindEraseMarker: out = Literal(out, " -CLEAR-                "); break;
  case KindStatus: out = Literal(out, " -STATUS-               "); break;
  default: {
    out = Literal(out, "            ");
    std::memset(out, ' ', 12);
    const bool negative = cell.Value < 0;
    const int64_t rounded = Hundredths(cell.Value);
    if (rounded >= 0 && FixedLength(rounded, negative) <= 12) {
      FixedBefore(out + 12, rounded, negative);
      out += 12;
    } else {
      char text[32];
      const auto length = static_cast<size_t>(FormatFixedTwoDecimals(text, cell.Value) - text);
      std::memcpy(out + (length < 12 ? 12 - length : 0), text, length);
      out += length < 12 ? 12 : length;
    }
  }
  }
  return Literal(out, "   ");
}
