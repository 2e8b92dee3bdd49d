#pragma once
// TImage: a picture shown at its own size at the control's top-left corner. With AutoSize the
// control takes the picture's size whenever the picture changes.
#include "Bitmap.h"
#include "Controls.h"

class TImage;

// The picture of an image: a bitmap the program loads into.
class TPicture {
public:
  TBitmap* Bitmap() { return &bitmap_; }

private:
  friend class TImage;
  TPicture() = default;

  TBitmap bitmap_;
};

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* AOwner);

  TPicture* Picture() { return &picture_; }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);

protected:
  bool PaintWidget(QWidget* widget) override;

private:
  void PictureChanged();

  TPicture picture_;
  bool autoSize_ = false;
};
