#include "Buttons.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

namespace {

// The glyph's pixels with its transparent colour cleared; a picture with an alpha channel of
// its own keeps it.
QImage WithTransparency(const QImage& glyph)
{
  if (glyph.hasAlphaChannel())
    return glyph;
  QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = image.pixel(0, image.height() - 1) | 0xFF000000u;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] | 0xFF000000u) == transparent)
        line[x] = 0;
  }
  return image;
}

}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner)
{
  glyph_.OnChange = [this] { GlyphChanged(); };
}

void TBitBtn::GlyphChanged()
{
  const QImage& source = glyph_.Image();
  if (source.isNull()) {
    Button()->setIcon(QIcon());
    return;
  }
  const QImage image = WithTransparency(source);
  const int height = image.height();
  const int count = image.width() % height == 0 ? image.width() / height : 1;
  const int width = image.width() / count;
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(image.copy(0, 0, width, height)), QIcon::Normal);
  if (count >= 2)
    icon.addPixmap(QPixmap::fromImage(image.copy(width, 0, width, height)), QIcon::Disabled);
  Button()->setIcon(icon);
  Button()->setIconSize(QSize(width, height));
}
