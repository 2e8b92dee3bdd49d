#pragma once
// TForm: a top-level window. Width and Height are the outer size: the client size plus a fixed
// nominal frame, so sizes computed for the class library's windows give the same client sizes.
#include "Controls.h"
#include "Set.h"

class QEventLoop;
class TForm;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
using TBorderStyle = TFormBorderStyle;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = Set<TBorderIcon>;

enum TFormStyle { fsNormal, fsStayOnTop };

// Where a form goes each time it is shown.
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter };

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Limits of a form's outer size; 0 means none.
class TSizeConstraints {
public:
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int width);
  int MinHeight() const { return minHeight_; }
  void SetMinHeight(int height);

private:
  friend class TForm;
  explicit TSizeConstraints(TForm* form) : form_(form) {}

  TForm* form_;
  int minWidth_ = 0;
  int minHeight_ = 0;
};

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  TSizeConstraints* Constraints() { return &constraints_; }
  // Forms here never scroll; the program only ever turns this off.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool autoScroll) { autoScroll_ = autoScroll; }

  // Throws EInvalidOperation when the form is hidden or disabled.
  void SetFocus() override;

  // As the close box: OnCloseQuery may refuse, then OnClose decides; closing the main form
  // ends the application. A modal form ends its loop with mrCancel instead.
  void Close();
  // Shows the form with the other windows blocked and runs a loop until ModalResult is set
  // (closing gives mrCancel); then hides it. Throws EInvalidOperation for a visible form.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result);
  // Frees the form from the message loop, after the current handler has returned.
  void Release();
  // Hides the form and has the display take it off the screen now, not when the message loop
  // next turns: for long work that follows before it does.
  void HideAtOnce();

  // Each time code makes the form visible (not when the user restores it).
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

protected:
  bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base) override;
  QMargins NonClientMargins() const override;
  QPoint ClientOriginInWidget() const override;
  void ApplyGeometry() override;
  void VisibleChanged() override;
  void TextChanged() override;
  void ConstrainSize(int& width, int& height) const override;

private:
  friend class TSizeConstraints;
  // The nominal window frame, caption included.
  QMargins Frame() const;
  bool Sizeable() const { return borderStyle_ == bsSizeable; }
  void ApplyWindowFlags();
  void ShowWindow();
  void PlaceByPosition();
  bool CloseQuery();
  bool CloseModal();

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TFormStyle formStyle_ = fsNormal;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TSizeConstraints constraints_;
  bool autoScroll_ = true;
  TModalResult modalResult_ = mrNone;
  QEventLoop* modalLoop_ = nullptr;
  bool reshowing_ = false;
  bool placing_ = false;
};

// The form a control sits on (the form itself for a form), or null.
TForm* GetParentForm(const TControl* control);
