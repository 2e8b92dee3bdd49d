#pragma once
// A JPEG picture made from a bitmap and written to a file.
#include <cstdint>
#include <vector>

#include <QImage>

#include "System.h"

class TBitmap;

class TJPEGImage {
public:
  // Takes a copy of the bitmap's pixels.
  void Assign(TBitmap* bitmap);

  int CompressionQuality() const { return quality_; }
  void SetCompressionQuality(int quality);  // 1..100

  // Encodes the pixels (baseline JPEG); EInvalidGraphic when there are none or encoding fails.
  void Compress();
  // Compresses first when the pixels or the quality changed since. The file holds the old
  // picture or the whole new one, never a part: a failure throws with the system's reason
  // (ReplaceFileContents).
  void SaveToFile(const AnsiString& fileName);

private:
  QImage pixels_;
  int quality_ = 90;
  std::vector<uint8_t> compressed_;
};
