// BQELunit::DrawValuePanels and LegendPaint: the legend (a row per item of the chart mask: colour
// box with the eye when drawn, value at the cursor, name) and the floating value window (the
// same rows for the items listed at the cursor).
#include <algorithm>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Colors.h"
#include "Numbers.h"
#include "PaintBox.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "TextBoundary.h"
#include "app/Qelunit.h"
#include "app/ResourceGraphic.h"
#include "chart/ChartValues.h"
#include "chart/PanelRows.h"

namespace {

constexpr TColor LegendColor = 0xC0DCC0;
constexpr TColor BoxFrameColor = 0xFFFFFF;
constexpr TColor LineColor = 0x000000;
constexpr int ActiveTextId = 100;
constexpr size_t MeasuredTextsKept = 4096;

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
  const TFont& font = *canvas.Font();
  std::string key =
      font.Name() + '\n' + std::to_string(font.Height()) + ',' + std::to_string(font.Style()) + '\n' + text;
  auto found = PanelTextWidths.find(key);
  if (found == PanelTextWidths.end()) {
    if (PanelTextWidths.size() >= MeasuredTextsKept)
      PanelTextWidths.clear();
    found = PanelTextWidths.emplace(std::move(key), canvas.TextWidth(text)).first;
  }
  PanelValueWidth = std::max(PanelValueWidth, found->second);
}

void BQELunit::DrawPanelValue(TCanvas& canvas, int32_t row, int32_t width, TColor background,
                              const AnsiString& text)
{
  const PanelRow r = PanelRowAt(*this, row, width);
  canvas.Brush()->SetColor(background);
  canvas.TextRect(r.Value, r.Value.left, r.Value.top, text);
}

void BQELunit::DrawPanelRow(TCanvas& canvas, const LTypeCell& item, int32_t row, int32_t width, TColor background,
                            bool framed, const AnsiString& value)
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
  DrawPanelValue(canvas, row, width, background, value);
  canvas.Brush()->SetColor(background);
  const AnsiString name = ChannelName(&item);
  // A status's name comes from the log: Windows-1251 whatever the language.
  canvas.SetCodePage(IsStatus(item) ? LogCodePage : 0);
  canvas.TextRect(r.Name, r.Name.left, r.Name.top, name);
  canvas.SetCodePage(0);
  if (IsStatus(item) && !item.Present) {
    canvas.Pen()->SetColor(AbsentStatusColor);
    canvas.Pen()->SetWidth(2);
    canvas.Pen()->SetStyle(psSolid);
    const int y = r.Name.top + TextHeight / 2;
    canvas.MoveTo(r.Name.left, y);
    canvas.LineTo(r.Name.left + canvas.TextWidth(name), y);
  }
}

// Everything a picture shows but the value texts: sizes, columns, colours, font, and each row's
// item as drawn.
std::string BQELunit::PanelLayout(TCanvas& canvas, const LMaskCell& mask, bool window, int32_t width,
                                  int32_t height)
{
  std::string key;
  auto add = [&key](int64_t n) { key += std::to_string(n) + ','; };
  for (int64_t n :
       {int64_t{width}, int64_t{height}, int64_t{TextHeight}, int64_t{PanelValueWidth}, int64_t{PanelInset},
        int64_t{PanelRowSpacing}, int64_t{PanelBoxWidth}, int64_t{ColorToRGB(AbsentStatusColor)},
        int64_t{ColorToRGB(window ? clInfoBk : LegendColor)}, int64_t{canvas.Font()->Height()},
        int64_t{canvas.Font()->Style()}, int64_t{ColorToRGB(canvas.Font()->Color())}})
    add(n);
  // Names are shown in the display's code page, which the language sets.
  add(DisplayCodePage());
  key += canvas.Font()->Name() + '\n';
  for (int32_t i = 0; i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (!item) {
      key += "-\n";
      continue;
    }
    for (int64_t n : {int64_t{IsStatus(*item)}, int64_t{item->Chart}, int64_t{item->Cursor},
                      int64_t{item->Present}, int64_t{ColorToRGB(item->Color)}})
      add(n);
    key += ChannelName(item) + '\n';
  }
  return key;
}

// The rows of the picture: all of it when its layout changed, else the value cells whose text
// changed. Legend rows stand at their item's index; value-window rows count the listed items.
void BQELunit::DrawPanelPicture(TBitmap& picture, PanelPictureMemo& memo, const LMaskCell& mask, bool window,
                                int32_t width, int32_t height)
{
  TCanvas& canvas = *picture.Canvas();
  const TColor background = window ? clInfoBk : LegendColor;
  std::string layout = PanelLayout(canvas, mask, window, width, height);
  std::vector<AnsiString> values;
  for (int32_t i = 0; i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (window && !(item && item->Cursor))
      continue;
    values.push_back(item ? PanelValueText(*item) : AnsiString());
  }
  const bool whole = layout != memo.Layout || values.size() != memo.Values.size();
  memo.Layout.clear();  // a failure on the way leaves a picture to be drawn whole
  if (whole) {
    canvas.Brush()->SetColor(background);
    canvas.FillRect(Rect(0, 0, width, height));
    canvas.Pen()->SetColor(LineColor);
    canvas.Pen()->SetWidth(1);
    for (int32_t i = 0, row = 0; i < mask.Items->Count(); ++i) {
      const LTypeCell* item = mask.Items->Get(i);
      if (window && !(item && item->Cursor))
        continue;
      if (item)
        DrawPanelRow(canvas, *item, row, width, background, !window, values[static_cast<size_t>(row)]);
      ++row;
    }
  } else {
    for (size_t row = 0; row < values.size(); ++row)
      if (values[row] != memo.Values[row])
        DrawPanelValue(canvas, static_cast<int32_t>(row), width, background, values[row]);
  }
  memo.Values = std::move(values);
  memo.Layout = std::move(layout);
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
    if (!EyeBitmap) {
      EyeBitmap = new TBitmap;
      LoadResourceGraphicOrNone(EyeBitmap, "glaz");
    }
    DrawPanelPicture(*LegendBitmap, LegendMemo, *mask, false, LegendWidth, LegendHeight);

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
    DrawPanelPicture(*ValueWindowBitmap, ValueWindowMemo, *mask, true, ValueWindowWidth, ValueWindowHeight);
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
