#pragma once
// TUpDown: two arrow buttons that step Position by 1 within Min..Max and write it into the
// associated control (a read-only edit the user cannot type into). The Up and Down keys in that
// control step it too. Position set by the program is kept within Min..Max and written as well.
#include <QPointer>

#include "Controls.h"

class QToolButton;
class UpDownKeys;

class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent* AOwner);

  int Min() const { return min_; }
  void SetMin(int min);
  int Max() const { return max_; }
  void SetMax(int max);
  int Position() const { return position_; }
  void SetPosition(int position);

  // The control that shows the position; the up-down takes its height.
  TWinControl* Associate() const;
  void SetAssociate(TWinControl* control);

protected:
  void Resized() override;

private:
  friend class UpDownKeys;
  void Step(int delta);
  void WritePosition();

  QToolButton* up_;
  QToolButton* down_;
  UpDownKeys* keys_;  // watches the associate's keys
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  TWinControl* associate_ = nullptr;
  QPointer<QWidget> associateWidget_;  // tells whether the associate still exists
};
