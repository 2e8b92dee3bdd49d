#include "JpegImage.h"

#include "Bitmap.h"
#include "FileReplacement.h"
#include "Jpeg.h"

void TJPEGImage::Assign(TBitmap* bitmap)
{
  pixels_ = bitmap != nullptr ? bitmap->Image() : QImage();
  compressed_.clear();
}

void TJPEGImage::SetCompressionQuality(int quality)
{
  quality_ = quality;
  compressed_.clear();
}

void TJPEGImage::Compress()
{
  compressed_.clear();
  if (pixels_.isNull())
    throw EInvalidGraphic("JPEG image has no pixels");
  const QImage rgb = pixels_.convertToFormat(QImage::Format_RGB888);
  compressed_ =
      EncodeJpegRgb(rgb.constBits(), rgb.width(), rgb.height(), static_cast<int>(rgb.bytesPerLine()), quality_);
  if (compressed_.empty())
    throw EInvalidGraphic("JPEG image could not be encoded");
}

void TJPEGImage::SaveToFile(const AnsiString& fileName)
{
  if (compressed_.empty())
    Compress();
  ReplaceFileContents(fileName, compressed_.data(), compressed_.size());
}
