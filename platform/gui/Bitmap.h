#pragma once
// Pictures: the graphic base a resource loads into, and the off-screen bitmap with its canvas.
#include <cstdint>
#include <functional>

#include <QImage>

#include "Canvas.h"
#include "Exceptions.h"
#include "Stream.h"

class EInvalidGraphic : public Exception {
public:
  explicit EInvalidGraphic(const std::string& message) : Exception(message) {}
};

class TGraphic {
public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;
  virtual ~TGraphic() = default;

  // Reads the picture from the stream's position to its end. EInvalidGraphic when the bytes are
  // no picture; the graphic is then unchanged.
  virtual void LoadFromStream(TStream& stream) = 0;

  // Runs after the picture changed (loaded, resized, drawn on), for the control showing it.
  std::function<void()> OnChange;

protected:
  void Changed()
  {
    if (OnChange)
      OnChange();
  }
};

// Pixels at a device-pixel ratio of 1, whatever the screen: the program's geometry is in them.
class TBitmap : public TGraphic {
public:
  TBitmap();
  ~TBitmap() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Resizing keeps the pixels that still fit; new ones are white.
  void SetWidth(int width);
  void SetHeight(int height);
  TCanvas* Canvas() { return &canvas_; }
  // Counts the changes of the pixels (drawing, size, loading): a copy taken at one count is
  // still the picture while the count stays.
  uint64_t ChangeCount() const { return changes_; }

  // Any format Qt reads; the program's resources are BMP files.
  void LoadFromStream(TStream& stream) override;

  // The pixels, for the layer (JPEG export, controls showing the picture).
  const QImage& Image();

private:
  void Resize(int width, int height);

  int width_ = 0;  // kept apart from the image, which has no pixels while either is 0
  int height_ = 0;
  uint64_t changes_ = 0;
  QImage image_;
  TCanvas canvas_;  // after image_: it stops painting before the image goes
};
