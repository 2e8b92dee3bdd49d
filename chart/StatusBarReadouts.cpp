// The chart's status bar: zoom factors, cursor time and value in panels 0 to 3, and in panel 4
// the names of the chart mask's statuses, black while on at the cursor, grey while off, struck
// through when the log has none; wrapped onto more lines when the option asks for it.
#include "ComCtrls.h"
#include "ComboBox.h"
#include "Numbers.h"
#include "Paths.h"
#include "app/Qelunit.h"

namespace {

constexpr TColor StatusOnColor = 0x000000;
constexpr TColor StatusOffColor = 0x808080;
constexpr TColor PartReadColor = 0x0000FF;
constexpr int NamesPanel = 4;
// Each name is followed by these blanks.
const AnsiString NameGap = "   ";

// Lays the status items of the mask out in rows of `width` pixels, each name with its gap,
// and calls place(item, x, row) for each; gives the number of rows. A name wider than the row
// takes a row of its own. The bar's height and its drawing both come from here, so the bar is
// as tall as the rows drawn.
template <class Place>
int LayOutStatusNames(TCanvas& canvas, const LMaskCell& mask, int width, Place&& place)
{
  int rows = 1;
  int x = 0;
  // Status names come from the log: Windows-1251 whatever the language, measured and drawn so.
  const int codePage = canvas.CodePage();
  canvas.SetCodePage(LogCodePage);
  for (int32_t i = 0; mask.Items && i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (!item || item->Id != StatusItemId)
      continue;
    const int w = canvas.TextWidth(item->NameRu + NameGap);
    if (width < x + w) {
      if (x != 0)
        ++rows;
      x = 0;
    }
    place(*item, x, rows - 1);
    x += w;
  }
  canvas.SetCodePage(codePage);
  return rows;
}

// The bar's canvas in bold while it lives, its own style again after.
class BoldScope {
public:
  explicit BoldScope(TCanvas& canvas) : font_(*canvas.Font()), style_(font_.Style()) { font_.SetStyle(fsBold); }
  ~BoldScope() { font_.SetStyle(style_); }
  BoldScope(const BoldScope&) = delete;
  BoldScope& operator=(const BoldScope&) = delete;

private:
  TFont& font_;
  TFontStyles style_;
};

}  // namespace

bool BQELunit::StatusNamesShowable(LMaskCell*& mask)
{
  return !ParseFailed && ChartMask(mask) && mask && FileExists(LogFileName);
}

void BQELunit::ShowZoomStatus()
{
  if (!ChartStatusBar)
    return;
  AnsiString seconds;
  TStatusPanels* panels = ChartStatusBar->Panels();
  // One repaint at the end, and only when a text changed.
  panels->BeginUpdate();
  panels->Items(0)->SetText("X: " + FloatToStrF(ZoomX, ffFixed, 10, 2));
  panels->Items(1)->SetText("Y: " + FloatToStrF(ZoomY, ffFixed, 10, 2));
  panels->Items(2)->SetText(FloatToStrF(CursorTimeExact * 0.001, ffFixed, 10, 3) + GetUiText(103, seconds));
  panels->Items(3)->SetText(FloatToStrF(CursorValue, ffFixed, 10, 0));
  panels->EndUpdate();

  // The names panel: repainted when what it shows changed.
  AnsiString shown = ParseFailed ? "!" : "";
  LMaskCell* mask = nullptr;
  if (StatusNamesShowable(mask))
    for (int32_t i = 0; mask->Items && i < mask->Items->Count(); ++i)
      if (const LTypeCell* item = mask->Items->Get(i); item && item->Id == StatusItemId)
        shown += item->NameRu + (item->CursorValue > 0 ? "+" : "-") + (item->Present ? "p" : "a") + "\n";
  shown += "|" + IntToStr(Language);
  if (shown != StatusNamesShown) {
    StatusNamesShown = shown;
    ChartStatusBar->Invalidate();
  }
}

int BQELunit::FitStatusNames()
{
  const int unit = ChartMaskCombo ? ChartMaskCombo->Height() : 0;
  LMaskCell* mask = nullptr;
  if (!MultiLineStatuses || !ChartStatusBar || !StatusNamesShowable(mask))
    return unit;
  TCanvas& canvas = *ChartStatusBar->Canvas();
  const BoldScope bold(canvas);
  const int rows = LayOutStatusNames(canvas, *mask, ChartStatusBar->PanelRect(NamesPanel).Width(),
                                     [](const LTypeCell&, int, int) {});
  return unit * rows;
}

void BQELunit::StatusBarDrawPanel(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& R)
{
  TCanvas& canvas = *StatusBar->Canvas();
  LMaskCell* mask = nullptr;
  if (ParseFailed) {
    // Until a complete parse: the chart shows only what was read.
    AnsiString text;
    const BoldScope bold(canvas);
    canvas.Font()->SetColor(PartReadColor);
    canvas.TextRect(R, R.left + 2, R.top + 2, GetPartReadText(text));
    return;
  }
  if (!StatusNamesShowable(mask)) {
    canvas.TextRect(R, R.left + (R.bottom - R.top), R.top + 2, Panel->Text());
    return;
  }
  const BoldScope bold(canvas);
  const int unit = ChartMaskCombo->Height();
  // The same width as FitStatusNames measures with: the panel's rectangle is R.
  LayOutStatusNames(canvas, *mask, R.Width(), [&](const LTypeCell& item, int x, int row) {
    const int left = R.left + x;
    const int top = R.top + row * unit;
    canvas.Font()->SetColor(item.CursorValue > 0 ? StatusOnColor : StatusOffColor);
    canvas.TextRect(Rect(left, top, R.right, R.bottom), left, top + 2, item.NameRu + NameGap);
    if (!item.Present) {
      TPen* pen = canvas.Pen();
      pen->SetColor(AbsentStatusColor);
      pen->SetWidth(2);
      pen->SetStyle(psSolid);
      const int y = top + canvas.TextHeight(item.NameRu) / 2 + 2;
      canvas.MoveTo(left, y);
      canvas.LineTo(left + canvas.TextWidth(item.NameRu), y);
    }
  });
}
