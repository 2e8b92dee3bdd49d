// BQELunit::DrawValuePanels and LegendPaint: the legend (a row per item of the chart mask: colour
// box with the eye when drawn, value at the cursor, name) and the floating value window (the
// same rows for the items listed at the cursor).
#include <algorithm>

#include "Bitmap.h"
#include "Numbers.h"
#include "PaintBox.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"
#include "app/ResourceGraphic.h"
#include "chart/ChartValues.h"
#include "chart/PanelRows.h"

namespace {

constexpr TColor LegendColor = 0xC0DCC0;
constexpr TColor BoxFrameColor = 0xFFFFFF;
constexpr TColor LineColor = 0x000000;
constexpr int ActiveTextId = 100;

bool IsStatus(const LTypeCell& item)
{
  return item.Id == StatusItemId;
}

// A status the log never switches has nothing to draw in its colour.
bool DrawnInColour(const LTypeCell& item)
{
  return item.Chart && (!IsStatus(item) || item.Present);
}

}  // namespace

AnsiString BQELunit::PanelValueText(const LTypeCell& item)
{
  AnsiString text;
  if (item.CursorValue == NoValue)
    return "-";
  if (IsStatus(item))
    return item.CursorValue > 0 ? GetUiText(ActiveTextId, text) : text;
  return FloatToStrF(item.CursorValue, ffFixed, 10, 2);
}

// What the value column must hold: a parameter's number as formatted even without a value, a
// status's longest text.
void BQELunit::MeasurePanelValue(TCanvas& canvas, const LTypeCell& item)
{
  AnsiString text;
  if (IsStatus(item))
    GetUiText(ActiveTextId, text);
  else
    text = FloatToStrF(item.CursorValue, ffFixed, 10, 2);
  PanelValueWidth = std::max(PanelValueWidth, canvas.TextWidth(text));
}

void BQELunit::DrawPanelRow(TCanvas& canvas, const LTypeCell& item, int32_t row, int32_t width, TColor background,
                            bool framed)
{
  const PanelRow r = PanelRowAt(*this, row, width);
  canvas.Brush()->SetColor(DrawnInColour(item) ? item.Color : background);
  canvas.FillRect(r.Box);
  if (framed) {
    canvas.Brush()->SetColor(BoxFrameColor);
    canvas.FrameRect(r.Box);
    if (item.Chart && EyeBitmap)
      canvas.Draw(r.Box.left + (PanelBoxWidth - EyeBitmap->Width()) / 2,
                  r.Box.top + (TextHeight - EyeBitmap->Height()) / 2, EyeBitmap);
  }
  canvas.Brush()->SetColor(background);
  canvas.TextRect(r.Value, r.Value.left, r.Value.top, PanelValueText(item));
  const AnsiString name = ChannelName(&item);
  canvas.TextRect(r.Name, r.Name.left, r.Name.top, name);
  if (IsStatus(item) && !item.Present) {
    canvas.Pen()->SetColor(AbsentStatusColor);
    canvas.Pen()->SetWidth(2);
    canvas.Pen()->SetStyle(psSolid);
    const int y = r.Name.top + TextHeight / 2;
    canvas.MoveTo(r.Name.left, y);
    canvas.LineTo(r.Name.left + canvas.TextWidth(name), y);
  }
}

void BQELunit::DrawValuePanels()
{
  // A running parse frees and rebuilds what the rows show: the last pictures stay.
  if (!ReadyFlag || ParseRunning)
    return;
  LMaskCell* mask = nullptr;
  if (!ChartMask(mask) || !mask || !mask->Items)
    return;
  try {
    TCanvas& legend = *LegendBitmap->Canvas();
    legend.Font()->Assign(MainPanel->Font());
    TextHeight = legend.TextHeight("ABCypg");
    // The legend's hit test needs the height drawn here, whatever panel measured last.
    LegendRowHeight = TextHeight;
    const int32_t count = mask->Items->Count();
    LegendWidth = LegendScrollBox->ClientWidth();
    for (int32_t i = 0; i < count; ++i)
      if (const LTypeCell* item = mask->Items->Get(i))
        MeasurePanelValue(legend, *item);
    LegendHeight = PanelPictureHeight(*this, TextHeight, count);
    LegendPaintBox->SetWidth(LegendWidth);
    LegendPaintBox->SetHeight(LegendHeight);
    LegendBitmap->SetWidth(LegendWidth);
    LegendBitmap->SetHeight(LegendHeight);
    legend.Brush()->SetColor(LegendColor);
    legend.FillRect(Rect(0, 0, LegendWidth, LegendHeight));
    legend.Pen()->SetColor(LineColor);
    legend.Pen()->SetWidth(1);
    if (!EyeBitmap) {
      EyeBitmap = new TBitmap;
      LoadResourceGraphicOrNone(EyeBitmap, "glaz");
    }
    for (int32_t i = 0; i < count; ++i)
      if (const LTypeCell* item = mask->Items->Get(i))
        DrawPanelRow(legend, *item, i, LegendWidth, LegendColor, true);

    // The value window keeps the picture's own font; its rows follow the legend's spacing.
    TCanvas& window = *ValueWindowBitmap->Canvas();
    int32_t listed = 0;
    for (int32_t i = 0; i < count; ++i)
      if (const LTypeCell* item = mask->Items->Get(i); item && item->Cursor) {
        MeasurePanelValue(window, *item);
        ++listed;
      }
    ValueWindowWidth = LegendWidth;
    ValueWindowHeight = PanelPictureHeight(*this, TextHeight, listed);
    ValueWindowBitmap->SetWidth(ValueWindowWidth);
    ValueWindowBitmap->SetHeight(ValueWindowHeight);
    window.Brush()->SetColor(clInfoBk);
    window.FillRect(Rect(0, 0, ValueWindowWidth, ValueWindowHeight));
    window.Pen()->SetColor(LineColor);
    window.Pen()->SetWidth(1);
    for (int32_t i = 0, row = 0; i < count; ++i)
      if (const LTypeCell* item = mask->Items->Get(i); item && item->Cursor)
        DrawPanelRow(window, *item, row++, ValueWindowWidth, clInfoBk, false);
  } catch (...) {
    // What was drawn so far is shown.
  }
  try {
    LegendPaint(LegendPaintBox);
  } catch (...) {
  }
}

void BQELunit::LegendPaint(TObject* /*Sender*/)
{
  if (!ReadyFlag)
    return;
  BitBlt(LegendPaintBox->Canvas(), 0, 0, LegendWidth, LegendHeight, LegendBitmap->Canvas(), 0, 0);
}
