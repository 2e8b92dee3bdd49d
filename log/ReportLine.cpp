#include "log/ReportLine.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "Numbers.h"

namespace {

// A number of its own width, or blanks after it up to width.
char* LeftInField(char* out, const char* text, size_t length, size_t width)
{
  std::memcpy(out, text, length);
  out += length;
  if (length < width) {
    std::memset(out, ' ', width - length);
    out += width - length;
  }
  return out;
}

// Blanks before a number up to width, or the number of its own width.
char* RightInField(char* out, const char* text, size_t length, size_t width)
{
  if (length < width) {
    std::memset(out, ' ', width - length);
    out += width - length;
  }
  std::memcpy(out, text, length);
  return out + length;
}

// Exactly width bytes: the text cut to width, or blanks after it.
char* CutLeft(char* out, const AnsiString& text, size_t width)
{
  const size_t length = text.size() < width ? text.size() : width;
  std::memcpy(out, text.data(), length);
  std::memset(out + length, ' ', width - length);
  return out + width;
}

template <class Integer>
size_t Decimal(char (&buffer)[24], Integer value)
{
  return static_cast<size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}

char* Literal(char* out, const char* text, size_t length)
{
  std::memcpy(out, text, length);
  return out + length;
}

template <size_t N>
char* Literal(char* out, const char (&text)[N])
{
  return Literal(out, text, N - 1);
}

char* Copy(char* out, const AnsiString& text)
{
  return Literal(out, text.data(), text.size());
}

}  // namespace

char* FormatFixedTwoDecimals(char* out, double value)
{
  // Hundredths as an integer, when the product leaves no doubt about the rounding: away from
  // a half by far more than its own rounding error (an ulp of 1e12 is 1.2e-4). Beyond ten
  // integer digits, near a half, and for NaN and infinities, the library routine decides.
  const double magnitude = std::fabs(value);
  if (magnitude < 1e10) {
    const double hundredths = magnitude * 100.0;
    const double whole = std::floor(hundredths);
    const double fraction = hundredths - whole;
    if (std::fabs(fraction - 0.5) > 1e-3) {
      const auto rounded = static_cast<int64_t>(whole) + (fraction > 0.5 ? 1 : 0);
      if (rounded < 1000000000000) {
        if (value < 0 && rounded != 0)
          *out++ = '-';
        out = std::to_chars(out, out + 24, rounded / 100).ptr;
        *out++ = DecimalSeparator;
        const auto cents = static_cast<int>(rounded % 100);
        *out++ = static_cast<char>('0' + cents / 10);
        *out++ = static_cast<char>('0' + cents % 10);
        return out;
      }
    }
  }
  return Copy(out, FloatToStrF(value, ffFixed, 10, 2));
}

char* FormatReportLineHead(char* out, const LDataCell& cell)
{
  char number[24];
  out = LeftInField(out, number, Decimal(number, cell.Index), 7);
  out = Literal(out, ": [ ");
  out = RightInField(out, number, Decimal(number, cell.TextPos), 8);
  out = Literal(out, "   ");
  out = CutLeft(out, cell.Code.Str(), 8);
  // The time keeps its column's width, as every field but the numbers that grow with a log.
  const size_t timeLength = Decimal(number, cell.Time);
  out = timeLength <= 12 ? RightInField(out, number, timeLength, 12) : Literal(out, number, 12);
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
    char value[32];
    const size_t length = static_cast<size_t>(FormatFixedTwoDecimals(value, cell.Value) - value);
    out = RightInField(out, value, length, 12);
  }
  }
  return Literal(out, "   ");
}
