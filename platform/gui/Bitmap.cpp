#include "Bitmap.h"

#include <QPainter>

#include <algorithm>
#include <vector>

TBitmap::TBitmap()
{
  canvas_.SetTarget(&image_);
  canvas_.OnChange = [this] {
    ++changes_;
    Changed();
  };
}

TBitmap::~TBitmap()
{
  canvas_.SetTarget(nullptr);
}

void TBitmap::SetWidth(int width)
{
  Resize(width, Height());
}

void TBitmap::SetHeight(int height)
{
  Resize(Width(), height);
}

void TBitmap::Resize(int width, int height)
{
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_)
    return;
  canvas_.EndPainting();
  QImage resized;
  if (width > 0 && height > 0) {
    resized = QImage(width, height, image_.isNull() ? QImage::Format_RGB32 : image_.format());
    if (resized.isNull())
      throw EInvalidGraphic("Not enough memory for a bitmap of that size");
    resized.fill(Qt::white);
    if (!image_.isNull()) {
      QPainter painter(&resized);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.drawImage(QPoint(0, 0), image_);
    }
  }
  image_ = resized;
  width_ = width;
  height_ = height;
  canvas_.SetTarget(&image_);
  ++changes_;
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream)
{
  std::vector<uchar> bytes;
  uchar chunk[65536];
  for (;;) {
    const int32_t n = stream.Read(chunk, sizeof chunk);
    if (n <= 0)
      break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  QImage loaded;
  if (!loaded.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
    throw EInvalidGraphic("Bitmap image is not valid");
  loaded = loaded.convertToFormat(loaded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                           : QImage::Format_RGB32);
  loaded.setDevicePixelRatio(1.0);
  canvas_.EndPainting();
  image_ = loaded;
  width_ = image_.width();
  height_ = image_.height();
  canvas_.SetTarget(&image_);
  ++changes_;
  Changed();
}

const QImage& TBitmap::Image()
{
  canvas_.EndPainting();
  return image_;
}
