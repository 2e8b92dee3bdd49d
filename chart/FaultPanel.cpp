// BQELunit::DrawErrorPanel and ErrorPanelPaint: the fault codes of the interval at the cursor,
// one bold row each in the colour of its kind, or one green line saying there are none or
// that none could be read.
#include <algorithm>

#include "Bitmap.h"
#include "PaintBox.h"
#include "Panel.h"
#include "Paths.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "chart/PanelRows.h"

namespace {

constexpr TColor PanelColor = 0xFFFFFF;
constexpr TColor LineColor = 0x000000;
constexpr TColor MessageColor = 0x008000;
constexpr int NoErrorsTextId = 101;
constexpr int UnreadErrorsTextId = 102;

// Actual, post, test and deleted faults; any other kind keeps the colour it finds.
bool KindColor(const AnsiString& kind, TColor& color)
{
  struct KindEntry {
    const char* kind;
    TColor color;
  };
  static constexpr KindEntry Kinds[] = {{"A", 0x0000FF}, {"P", 0x800000}, {"T", 0x008000}, {"D", 0x008080}};
  for (const KindEntry& k : Kinds)
    if (kind == k.kind) {
      color = k.color;
      return true;
    }
  return false;
}

}  // namespace

void BQELunit::DrawErrorPanel()
{
  // A running parse frees the fault intervals: the last picture stays.
  if (!ReadyFlag || ParseRunning)
    return;
  try {
    TCanvas& canvas = *FaultPanelBitmap->Canvas();
    canvas.Font()->Assign(MainPanel->Font());
    canvas.Font()->SetStyle(canvas.Font()->Style() | fsBold);
    TextHeight = canvas.TextHeight("ABCypg");
    FaultPanelWidth = FaultScrollBox->ClientWidth();
    const LErrorCell* fault = CursorFaultInterval;
    const int32_t codes = fault && fault->Codes ? fault->Codes->Count() : 0;
    FaultPanelHeight = PanelPictureHeight(*this, TextHeight, std::max(codes, 1));
    FaultPaintBox->SetWidth(FaultPanelWidth);
    FaultPaintBox->SetHeight(FaultPanelHeight);
    FaultPanelBitmap->SetWidth(FaultPanelWidth);
    FaultPanelBitmap->SetHeight(FaultPanelHeight);
    if (LogFileName.empty()) {
      // No log: the box shrinks to nothing and nothing is painted.
      FaultPaintBox->SetWidth(0);
      FaultPaintBox->SetHeight(0);
      return;
    }
    canvas.Brush()->SetColor(PanelColor);
    canvas.FillRect(Rect(0, 0, FaultPanelWidth, FaultPanelHeight));
    canvas.Pen()->SetColor(LineColor);
    canvas.Pen()->SetWidth(1);

    auto line = [&](int32_t row, const AnsiString& text) {
      const int32_t top = PanelRowTop(*this, TextHeight, row);
      canvas.TextRect(Rect(PanelInset, top, FaultPanelWidth - PanelInset, top + TextHeight), PanelInset, top,
                      text);
    };
    if (codes > 0) {
      for (int32_t i = 0; i < codes; ++i) {
        TColor color = canvas.Font()->Color();
        if (fault->Kinds && i < fault->Kinds->Count() && KindColor(fault->Kinds->Get(i), color))
          canvas.Font()->SetColor(color);
        line(i, fault->Codes->Get(i));
      }
    } else if (fault || FileExists(LogFileName)) {
      AnsiString text;
      canvas.Font()->SetColor(MessageColor);
      line(0, GetUiText(fault ? NoErrorsTextId : UnreadErrorsTextId, text));
    }
  } catch (...) {
    // What was drawn so far is shown.
  }
  try {
    ErrorPanelPaint(FaultPaintBox);
  } catch (...) {
  }
}

void BQELunit::ErrorPanelPaint(TObject* /*Sender*/)
{
  if (!ReadyFlag)
    return;
  BitBlt(FaultPaintBox->Canvas(), 0, 0, FaultPanelWidth, FaultPanelHeight, FaultPanelBitmap->Canvas(), 0, 0);
}
