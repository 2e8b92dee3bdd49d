#include "Colors.h"

#include <iterator>

#include <QGuiApplication>
#include <QPalette>

namespace {

struct SystemColorRole {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// Windows system colour indexes 0..30 (25 is unused there) and the palette entry that plays
// the same part in a Qt theme. The button face is the dialog background, which Qt calls Window.
constexpr SystemColorRole SystemColors[] = {
    {QPalette::Active, QPalette::Button},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark},             // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Inactive, QPalette::Button},         // 11 inactive border
    {QPalette::Active, QPalette::Mid},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlighted text
    {QPalette::Active, QPalette::Window},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 info background
    {QPalette::Active, QPalette::Window},           // 25 (unused)
    {QPalette::Active, QPalette::Link},             // 26 hot light
    {QPalette::Active, QPalette::Highlight},        // 27 active caption gradient
    {QPalette::Inactive, QPalette::Mid},            // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    {QPalette::Active, QPalette::Window},           // 30 menu bar
};

TColor FromQColor(const QColor& c)
{
  return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

}  // namespace

TColor ColorToRGB(TColor color)
{
  if (color >= 0)
    return color;
  const uint32_t index = static_cast<uint32_t>(color) & 0xFFu;  // the top bit marks a system colour
  if (index >= std::size(SystemColors))
    return 0;  // no such system colour: black, as Windows answers
  const SystemColorRole& entry = SystemColors[index];
  const QPalette palette = QGuiApplication::palette();
  return FromQColor(palette.color(entry.group, entry.role));
}

QColor ToQColor(TColor color)
{
  const TColor rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
