#pragma once
// TStatusBar: a row of sunken panels, of any height, at the bottom of its parent. Text panels
// show their text; owner-drawn panels are painted by OnDrawPanel on the bar's Canvas, in a
// rectangle that spans the bar's height; whatever is drawn beyond the bar is cut off. A bar
// without panels shows SimpleText. Outside painting the Canvas measures text in the bar's font.
#include <functional>
#include <memory>
#include <vector>

#include <QImage>

#include "Canvas.h"
#include "Controls.h"

class TStatusBar;
class TStatusPanels;

enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel {
public:
  const AnsiString& Text() const { return text_; }
  void SetText(const AnsiString& text);
  // The last panel reaches to the bar's right end whatever its width.
  int Width() const { return width_; }
  void SetWidth(int width);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle style);

private:
  friend class TStatusPanels;
  friend class TStatusBar;
  explicit TStatusPanel(TStatusPanels* owner) : owner_(owner) {}

  TStatusPanels* owner_;
  AnsiString text_;
  int width_ = 50;
  TStatusPanelStyle style_ = psText;
};

class TStatusPanels {
public:
  TStatusPanel* Add();
  int Count() const { return static_cast<int>(items_.size()); }
  // Throws EListError for an index out of range.
  TStatusPanel* Items(int index) const;
  // Changes between the two repaint the bar once, at the end.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

private:
  friend class TStatusBar;
  friend class TStatusPanel;
  explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
  void Changed();

  TStatusBar* bar_;
  std::vector<std::unique_ptr<TStatusPanel>> items_;
  int updateCount_ = 0;
  bool changed_ = false;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* AOwner);

  TStatusPanels* Panels() { return &panels_; }
  const AnsiString& SimpleText() const { return simpleText_; }
  void SetSimpleText(const AnsiString& text);
  // While OnDrawPanel runs it draws on the bar, with the bar's font and the button-face brush
  // set before each panel; at other times it only measures.
  TCanvas* Canvas() { return &canvas_; }

  TDrawPanelEvent OnDrawPanel;

  // Inside the sunken frame of panel `index`, or of the simple text when index is -1: the
  // rectangle OnDrawPanel gets.
  TRect PanelRect(int index) const;

protected:
  bool PaintWidget(QWidget* widget) override;
  void FontChanged() override;

private:
  // Background, sunken frames and the texts of text panels.
  void PaintPanels(QImage& image) const;

  TStatusPanels panels_{this};
  AnsiString simpleText_;
  QImage surface_;  // the bar is painted here first, so that OnDrawPanel can use a TCanvas
  TCanvas canvas_;
};
