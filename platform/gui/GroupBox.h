#pragma once
// TGroupBox: a frame with a caption around its children. The children's Left/Top count from the
// box's top-left corner, the caption's band included.
#include "Controls.h"

class TGroupBox : public TWinControl {
public:
  explicit TGroupBox(TComponent* AOwner);

protected:
  void TextChanged() override;
};
