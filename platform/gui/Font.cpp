#include "Font.h"

#include <QFontMetrics>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int PixelsPerInch = 96;
// 8 points, the class library's default size, which a height of 0 asks for.
constexpr int DefaultHeight = -11;

// Windows' MulDiv: a × b ÷ c rounded half away from zero.
int MulDiv(int a, int b, int c)
{
  return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

bool SameAsciiText(std::string_view a, std::string_view b)
{
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// The fonts the program names are Windows fonts; these installed families have close metrics.
struct FontSubstitute {
  std::string_view name;
  const char* family;
  QFont::StyleHint hint;
};

constexpr FontSubstitute Substitutes[] = {
    {"Verdana", "DejaVu Sans", QFont::SansSerif},
    {"MS Sans Serif", "DejaVu Sans", QFont::SansSerif},
    {"Lucida Console", "DejaVu Sans Mono", QFont::TypeWriter},
};

}  // namespace

int TFont::Size() const
{
  return -MulDiv(height_, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
  SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetName(const AnsiString& name)
{
  name_ = name;
  Changed();
}

void TFont::SetHeight(int pixels)
{
  height_ = pixels;
  Changed();
}

void TFont::SetStyle(TFontStyles style)
{
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color)
{
  color_ = color;
  Changed();
}

void TFont::Assign(const TFont* source)
{
  if (source == nullptr || source == this)
    return;
  name_ = source->name_;
  height_ = source->height_;
  style_ = source->style_;
  color_ = source->color_;
  Changed();
}

void TFont::Changed()
{
  qtFont_.reset();
  if (OnChange)
    OnChange();
}

const QFont& TFont::QtFont() const
{
  if (qtFont_)
    return *qtFont_;
  QFont font;
  font.setFamily(QString::fromLatin1(name_.data(), static_cast<qsizetype>(name_.size())));
  for (const FontSubstitute& s : Substitutes) {
    if (SameAsciiText(name_, s.name)) {
      font.setFamily(QString::fromLatin1(s.family));
      font.setStyleHint(s.hint);
      break;
    }
  }
  font.setBold((style_ & fsBold) != 0);
  if (height_ > 0) {
    // A cell height: scale a measured reference size so that ascent + descent come out right.
    constexpr int Reference = 100;
    font.setPixelSize(Reference);
    const int cell = std::max(1, QFontMetrics(font).height());
    font.setPixelSize(std::max(1, MulDiv(height_, Reference, cell)));
  } else {
    font.setPixelSize(std::max(1, -(height_ == 0 ? DefaultHeight : height_)));
  }
  qtFont_ = font;
  return *qtFont_;
}
