#include "Image.h"

#include <QPainter>

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner, new HostWidget<QWidget>(this))
{
  picture_.bitmap_.OnChange = [this] { PictureChanged(); };
  SetBounds(0, 0, 105, 105);
}

void TImage::SetAutoSize(bool autoSize)
{
  autoSize_ = autoSize;
  PictureChanged();
}

void TImage::PictureChanged()
{
  TBitmap& bitmap = picture_.bitmap_;
  // An empty picture leaves the size alone, as the class library does.
  if (autoSize_ && bitmap.Width() > 0 && bitmap.Height() > 0)
    SetBounds(Left(), Top(), bitmap.Width(), bitmap.Height());
  Invalidate();
}

bool TImage::PaintWidget(QWidget* widget)
{
  const QImage& image = picture_.bitmap_.Image();
  if (!image.isNull()) {
    QPainter painter(widget);
    painter.drawImage(QPoint(0, 0), image);
  }
  return true;
}
