#pragma once
// Drawing with the pixel rules of the old Windows graphics the program's geometry is written for:
// no smoothing, right and bottom edges of rectangles exclusive, a line without its end pixel,
// text placed by the top of its character cell.
#include <functional>
#include <memory>

#include <QImage>

#include "Font.h"
#include "PenBrush.h"
#include "System.h"
#include "Types.h"

class QPainter;
class TBitmap;

class TCanvas {
public:
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Kept between drawings.
  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }
  TFont* Font() { return &font_; }

  void FillRect(const TRect& r);   // brush colour
  void FrameRect(const TRect& r);  // one pixel wide, just inside r, in the brush colour
  void MoveTo(int x, int y);
  // From the pen position to (x, y), which becomes the pen position. A pen of width 1 leaves
  // out the end pixel and draws psDot as 3 pixels on, 3 in the brush colour; a wider pen is
  // always solid, with round ends.
  void LineTo(int x, int y);
  // Fills r with the brush, then draws the text in the font's colour with the top-left of its
  // character cell at (x, y), clipped to r.
  void TextRect(const TRect& r, int x, int y, const AnsiString& text);
  int TextWidth(const AnsiString& text) const;
  int TextHeight(const AnsiString& text) const;  // the font's cell height (ascent + descent)
  // The code page the texts' bytes are decoded in; 0 follows the display code page. A log's
  // texts are Windows-1251 whatever the interface language.
  int CodePage() const { return codePage_; }
  void SetCodePage(int codePage) { codePage_ = codePage; }
  // The bitmap at its own size; its transparent pixels (alpha) let the canvas show through.
  void Draw(int x, int y, TBitmap* bitmap);
  // Copies src of the source canvas into dest, stretched when the sizes differ.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);

  // The pixels the canvas draws on, owned by a bitmap or a control; drawing without one does
  // nothing. The image must be 32-bit RGB. The canvas keeps a painter open on it between
  // drawings, so its owner calls EndPainting (or SetTarget again) before it resizes, replaces
  // or frees the image or opens a painter of its own on it. Reading the pixels needs neither.
  void SetTarget(QImage* image);
  QImage* Target() const { return target_; }
  void EndPainting();

  // Runs after every drawing, so that a control can show what was drawn.
  std::function<void()> OnChange;

private:
  // Opened on first use and kept open until a drawing that writes pixels itself (a line) or
  // the owner ends it; null without pixels to draw on.
  QPainter* Painter();
  void Changed();
  void ThinLine(int x1, int y1, int x2, int y2);
  void WideLine(int x1, int y1, int x2, int y2);

  QImage* target_ = nullptr;
  std::unique_ptr<QPainter> painter_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint penPos_;
  int codePage_ = 0;
};

// Copies w × h pixels from (sx, sy) of the source to (x, y) of the destination, unchanged.
void BitBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* source, int sx, int sy);
