#pragma once
// TControl: bounds, alignment, visibility, texts, font and colour, mouse events. The model is
// described in Controls.h.
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "Component.h"
#include "Events.h"
#include "Font.h"
#include "HostWidget.h"
#include "System.h"
#include "Types.h"

class QContextMenuEvent;
class QMouseEvent;
class QWheelEvent;
class TPopupMenu;
class TWinControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
public:
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  // Bounds in the parent's client coordinates.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  void SetBounds(int left, int top, int width, int height);

  // The client area: the bounds without any frame or border.
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  void SetClientWidth(int width) { SetWidth(width + width_ - ClientWidth()); }
  void SetClientHeight(int height) { SetHeight(height + height_ - ClientHeight()); }
  // Screen position of the client area's top-left corner.
  TPoint ClientOrigin() const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // A control's own flag; a disabled parent also blocks its children's input.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Caption and Text are the same text.
  virtual AnsiString Text() const { return text_; }
  virtual void SetText(const AnsiString& text);
  AnsiString Caption() const { return Text(); }
  void SetCaption(const AnsiString& caption) { SetText(caption); }

  // The code page of this control's texts when they are not UTF-8; 0 follows the display.
  int CodePage() const { return codePage_; }
  void SetCodePage(int codePage);

  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& hint) { hint_ = hint; }
  // Until set, a control shows hints when its parent does.
  bool ShowHint() const;
  void SetShowHint(bool show);

  // Until the font is changed, a control uses a copy of its parent's font.
  TFont* Font() { return &font_; }
  const TFont* Font() const { return &font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);

  TColor Color() const;
  void SetColor(TColor color);

  // The menu a right click (or the menu key) opens over the control; not owned by it.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  // Windowed controls stay above every graphic control of the same parent.
  void BringToFront();
  void SendToBack();

  void Repaint();
  void Invalidate();

  QWidget* Widget() const { return widget_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  // The pointer came onto the control.
  TNotifyEvent OnMouseEnter;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnResize;

protected:
  // The control owns widget; the widget must be linked to this control (HostWidget).
  TControl(TComponent* AOwner, QWidget* widget);

  virtual bool IsWindowed() const { return false; }

  // Qt's events of the control's widget (or of its parts). The default turns mouse events
  // into the control's events and runs the Qt handling for everything else.
  virtual bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base);
  // Paints the widget instead of Qt; false leaves painting to Qt.
  virtual bool PaintWidget(QWidget*) { return false; }
  // Where client coordinates start inside the widget.
  virtual QPoint ClientOriginInWidget() const { return QPoint(0, 0); }

  // Pushes the stored bounds to the widget.
  virtual void ApplyGeometry();
  // After every size change: a container realigns its children; then OnResize.
  virtual void Resized();
  virtual void TextChanged() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void VisibleChanged();
  // Left button released over the control after a press on it.
  virtual void MouseClick() { Click(); }
  void Click();

  // Controls whose default colour is their parent's (labels).
  void SetParentColor(bool parentColor);
  // Takes bounds the window system chose (a resized window) without pushing them back.
  void AdoptBounds(int left, int top, int width, int height);
  // Size limits of the control (forms' constraints).
  virtual void ConstrainSize(int&, int&) const {}
  // From here on no event reaches the control and no realignment runs.
  void BeginDestruction();
  bool Destroying() const { return destroying_; }

private:
  friend class TWinControl;
  friend bool DispatchWidgetEvent(TControl*, QWidget*, QEvent*, BaseEventFn);
  friend void RedecodeControlTexts();

  void SetBoundsFrom(int left, int top, int width, int height, bool requestAlign);
  // Colours of font and background into the widget's palette.
  void ApplyPalette();
  void ApplyVisibility();
  void AdoptParentFont();
  QWidget* LowestWindowedSibling() const;
  bool MouseEvent(QWidget* widget, QMouseEvent* event, BaseEventFn base);
  bool WheelEvent(QWidget* widget, QWheelEvent* event, BaseEventFn base);
  bool ToolTipEvent(QWidget* widget, QEvent* event);
  bool ContextMenuEvent(QWidget* widget, QContextMenuEvent* event, BaseEventFn base);
  QPoint ToClient(const QPointF& global) const;

  QPointer<QWidget> widget_;
  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  AnsiString text_;
  int codePage_ = 0;
  AnsiString hint_;
  bool showHint_ = false;
  TPopupMenu* popupMenu_ = nullptr;
  bool parentShowHint_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool adoptingFont_ = false;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  bool leftPressed_ = false;
  bool destroying_ = false;
};

// Every live control that follows the display code page (CodePage 0) decodes its texts anew, and
// every widget repaints; for a change of the display code page.
void RedecodeControlTexts();

// A control without a window of its own (labels, bevels, paint boxes): it lies under every
// windowed sibling.
class TGraphicControl : public TControl {
protected:
  TGraphicControl(TComponent* AOwner, QWidget* widget) : TControl(AOwner, widget) {}
};
