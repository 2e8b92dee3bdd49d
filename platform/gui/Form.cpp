#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "Application.h"
#include "Exceptions.h"
#include "Guard.h"
#include "TabOrder.h"
#include "TextBoundary.h"

namespace {

// The class library's window frame at 96 dpi: a border on every side and a caption bar.
constexpr int CaptionHeight = 19;
constexpr int SizeableBorder = 4;
constexpr int FixedBorder = 3;

// Size of a new form built in code.
constexpr int DefaultWidth = 320;
constexpr int DefaultHeight = 240;

}  // namespace

void TSizeConstraints::SetMinWidth(int width)
{
  minWidth_ = std::max(0, width);
  form_->SetBounds(form_->Left(), form_->Top(), form_->Width(), form_->Height());
  form_->ApplyGeometry();
}

void TSizeConstraints::SetMinHeight(int height)
{
  minHeight_ = std::max(0, height);
  form_->SetBounds(form_->Left(), form_->Top(), form_->Width(), form_->Height());
  form_->ApplyGeometry();
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner, new FormWidget(this)), constraints_(this)
{
  // A form is hidden until shown, and keeps its own font.
  SetVisible(false);
  SetParentFont(false);
  Widget()->setAutoFillBackground(true);
  ApplyWindowFlags();
  SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

TForm::~TForm()
{
  if (modalLoop_)
    modalLoop_->exit();
}

QMargins TForm::Frame() const
{
  if (borderStyle_ == bsNone)
    return QMargins();
  const int border = Sizeable() ? SizeableBorder : FixedBorder;
  return QMargins(border, border + CaptionHeight, border, border);
}

QMargins TForm::NonClientMargins() const
{
  return Frame() + TWinControl::NonClientMargins();
}

QPoint TForm::ClientOriginInWidget() const
{
  // The widget is the window's inside; only the border width lies between it and the client.
  return QPoint(BorderWidth(), BorderWidth());
}

void TForm::ConstrainSize(int& width, int& height) const
{
  width = std::max(width, constraints_.MinWidth());
  height = std::max(height, constraints_.MinHeight());
}

void TForm::ApplyGeometry()
{
  QWidget* widget = Widget();
  const QMargins frame = Frame();
  const QSize inside(std::max(0, Width() - frame.left() - frame.right()),
                     std::max(0, Height() - frame.top() - frame.bottom()));
  if (Sizeable()) {
    widget->setMinimumSize(std::max(0, constraints_.MinWidth() - frame.left() - frame.right()),
                           std::max(0, constraints_.MinHeight() - frame.top() - frame.bottom()));
    widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    widget->setFixedSize(inside);
  }
  placing_ = true;
  widget->move(Left(), Top());
  widget->resize(inside);
  placing_ = false;
}

void TForm::SetBorderStyle(TFormBorderStyle style)
{
  if (style == borderStyle_)
    return;
  borderStyle_ = style;
  ApplyWindowFlags();
  ApplyGeometry();
  // The frame changed, so the client area did.
  ApplyChildGeometry();
  Realign();
}

void TForm::SetBorderIcons(TBorderIcons icons)
{
  borderIcons_ = icons;
  ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle style)
{
  formStyle_ = style;
  ApplyWindowFlags();
}

void TForm::ApplyWindowFlags()
{
  Qt::WindowFlags flags = borderStyle_ == bsDialog ? Qt::Dialog : Qt::Window;
  if (borderStyle_ == bsNone) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_.Contains(biSystemMenu)) {
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (borderStyle_ != bsDialog && borderIcons_.Contains(biMinimize))
        flags |= Qt::WindowMinimizeButtonHint;
      if (borderStyle_ != bsDialog && borderIcons_.Contains(biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    }
  }
  if (formStyle_ == fsStayOnTop)
    flags |= Qt::WindowStaysOnTopHint;
  QWidget* widget = Widget();
  if (widget->windowFlags() == flags)
    return;
  // Qt hides a window whose flags change; show it again without a second OnShow.
  const bool shown = widget->isVisible();
  widget->setWindowFlags(flags);
  if (shown) {
    reshowing_ = true;
    ShowWindow();
    reshowing_ = false;
  }
}

TWindowState TForm::WindowState() const
{
  const Qt::WindowStates state = Widget()->windowState();
  if (!Widget()->isVisible())
    return windowState_;
  if (state & Qt::WindowMinimized)
    return wsMinimized;
  if (state & Qt::WindowMaximized)
    return wsMaximized;
  return wsNormal;
}

void TForm::SetWindowState(TWindowState state)
{
  windowState_ = state;
  if (Widget()->isVisible())
    ShowWindow();
}

void TForm::ShowWindow()
{
  QWidget* widget = Widget();
  switch (windowState_) {
  case wsMaximized: widget->showMaximized(); break;
  case wsMinimized: widget->showMinimized(); break;
  default: widget->showNormal(); break;
  }
}

void TForm::PlaceByPosition()
{
  const TForm* main = Application->MainForm();
  QRect area;
  if (position_ == poMainFormCenter && main && main != this) {
    area = QRect(main->Left(), main->Top(), main->Width(), main->Height());
  } else if (position_ == poScreenCenter || position_ == poMainFormCenter) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
      return;
    area = screen->geometry();
  } else {
    return;
  }
  SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(), Height());
}

void TForm::VisibleChanged()
{
  QWidget* widget = Widget();
  if (!Visible()) {
    widget->hide();
    return;
  }
  PlaceByPosition();
  ApplyGeometry();
  // Keep secondary windows over the main form on desktops that honour it.
  const TForm* main = Application->MainForm();
  if (main && main != this && main->Widget()->windowHandle()) {
    widget->winId();
    widget->windowHandle()->setTransientParent(main->Widget()->windowHandle());
  }
  placing_ = true;
  ShowWindow();
  placing_ = false;
}

void TForm::TextChanged()
{
  // "[*]" is Qt's modification marker; doubled, it shows as itself, so the title stays exact.
  Widget()->setWindowTitle(ToQString(Text(), CodePage()).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void TForm::SetFocus()
{
  if (!Visible() || !Enabled())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  QWidget* widget = Widget();
  widget->activateWindow();
  if (!widget->focusWidget())
    widget->setFocus(Qt::OtherFocusReason);
}

bool TForm::CloseQuery()
{
  bool canClose = true;
  FireEvent(OnCloseQuery, this, canClose);
  return canClose;
}

void TForm::Close()
{
  if (modalLoop_) {
    SetModalResult(mrCancel);
    return;
  }
  const QPointer<QWidget> alive(Widget());
  if (!CloseQuery() || !alive)
    return;
  TCloseAction action = caHide;
  FireEvent(OnClose, this, action);
  if (!alive || action == caNone)
    return;
  if (Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
  case caFree: Release(); break;
  case caMinimize: Widget()->showMinimized(); break;
  default: Hide(); break;
  }
}

void TForm::HideAtOnce()
{
  Hide();
  QGuiApplication::sync();
}

void TForm::SetModalResult(TModalResult result)
{
  modalResult_ = result;
  if (modalLoop_ && result != mrNone)
    modalLoop_->exit();
}

bool TForm::CloseModal()
{
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    FireEvent(OnClose, this, action);
  }
  if (action == caNone) {
    modalResult_ = mrNone;
    return false;
  }
  if (action == caFree)
    Release();
  return true;
}

TModalResult TForm::ShowModal()
{
  if (Visible() || modalLoop_)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (Application->CloseAsked())
    return mrCancel;
  QWidget* widget = Widget();
  const QPointer<QWidget> alive(widget);
  modalResult_ = mrNone;
  widget->setWindowModality(Qt::ApplicationModal);
  ModalLoopScope modal;
  QEventLoop loop;
  modalLoop_ = &loop;
  Show();
  for (;;) {
    if (alive && modalResult_ == mrNone && !Application->Terminated())
      loop.exec();
    if (!alive)
      return mrCancel;  // freed inside its own loop
    if (Application->Terminated()) {
      modalResult_ = mrCancel;
      break;
    }
    if (modalResult_ != mrNone && CloseModal())
      break;
    if (!alive)
      return mrCancel;
  }
  modalLoop_ = nullptr;
  Hide();
  widget->setWindowModality(Qt::NonModal);
  return modalResult_;
}

void TForm::Release()
{
  const QPointer<QWidget> widget(Widget());
  QMetaObject::invokeMethod(
      qApp, [widget] { delete ControlOfWidget(widget.data()); }, Qt::QueuedConnection);
}

bool TForm::WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base)
{
  switch (event->type()) {
  case QEvent::Close:
    // Forms answer close requests themselves (OnCloseQuery, OnClose, ModalResult).
    event->ignore();
    Close();
    return true;
  case QEvent::Show: {
    const bool result = base(widget, event);
    if (!event->spontaneous() && !reshowing_)
      FireEvent(OnShow, this);
    return result;
  }
  case QEvent::Resize: {
    // The window system (the user, a maximised state) chose a size: take it as the outer size.
    const bool result = base(widget, event);
    const QMargins frame = Frame();
    AdoptBounds(Left(), Top(), widget->width() + frame.left() + frame.right(),
                widget->height() + frame.top() + frame.bottom());
    return result;
  }
  case QEvent::Move: {
    // Moves that echo our own placing pass through frame-less positions while Qt learns the
    // frame; only later moves (by the user or the window manager) are taken.
    const bool result = base(widget, event);
    if (!placing_)
      AdoptBounds(widget->x(), widget->y(), Width(), Height());
    return result;
  }
  default: return TWinControl::WidgetEvent(widget, event, base);
  }
}

TForm* GetParentForm(const TControl* control)
{
  while (control && control->Parent())
    control = control->Parent();
  return const_cast<TForm*>(dynamic_cast<const TForm*>(control));
}
