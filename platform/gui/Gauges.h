#pragma once
// TCGauge: progress drawn as a pie (or a bar) with the percentage written in the middle. The pie
// is an ellipse in BackColor outlined in ForeColor, filled in ForeColor from 12 o'clock
// clockwise for the part done.
#include "Controls.h"
#include "Form.h"

enum TGaugeKind { gkHorizontalBar, gkPie };

// The whole percent of maxValue that progress reached, truncated; 0 when maxValue is not positive.
int GaugePercent(int progress, int maxValue);

class TCGauge : public TGraphicControl {
public:
  explicit TCGauge(TComponent* AOwner);

  // bsSingle (the default) draws a one-pixel frame around the gauge; bsNone does not.
  void SetBorderStyle(TBorderStyle style);
  void SetKind(TGaugeKind kind);
  void SetBackColor(TColor color);
  void SetForeColor(TColor color);
  int MaxValue() const { return maxValue_; }
  // Lowers Progress when it lies above the new maximum.
  void SetMaxValue(int value);
  int Progress() const { return progress_; }
  // Kept within 0 .. MaxValue.
  void SetProgress(int value);

protected:
  bool PaintWidget(QWidget* widget) override;

private:
  bool frame_ = true;
  TGaugeKind kind_ = gkHorizontalBar;
  TColor backColor_ = 0xFFFFFF;
  TColor foreColor_ = 0x000000;
  int maxValue_ = 100;
  int progress_ = 0;
};
