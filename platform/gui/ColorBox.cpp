#include "ColorBox.h"

#include <QColorDialog>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

#include "Application.h"
#include "Colors.h"

namespace {

// The colours by the names of their constants, as the list shows them.
constexpr struct {
  TColor color;
  const char* name;
} Standard[] =
    {
        {0x000000, "clBlack"},  {0x000080, "clMaroon"},  {0x008000, "clGreen"}, {0x008080, "clOlive"},
        {0x800000, "clNavy"},   {0x800080, "clPurple"},  {0x808000, "clTeal"},  {0x808080, "clGray"},
        {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"},     {0x00FF00, "clLime"},  {0x00FFFF, "clYellow"},
        {0xFF0000, "clBlue"},   {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"},  {0xFFFFFF, "clWhite"},
},
  Extended[] =
      {
          {0xC0DCC0, "clMoneyGreen"},
          {0xF0CAA6, "clSkyBlue"},
          {0xF0FBFF, "clCream"},
          {0xA4A0A0, "clMedGray"},
},
  System[] = {
      {SystemColor(0), "clScrollBar"},
      {SystemColor(1), "clBackground"},
      {SystemColor(2), "clActiveCaption"},
      {SystemColor(3), "clInactiveCaption"},
      {SystemColor(4), "clMenu"},
      {SystemColor(5), "clWindow"},
      {SystemColor(6), "clWindowFrame"},
      {SystemColor(7), "clMenuText"},
      {SystemColor(8), "clWindowText"},
      {SystemColor(9), "clCaptionText"},
      {SystemColor(10), "clActiveBorder"},
      {SystemColor(11), "clInactiveBorder"},
      {SystemColor(12), "clAppWorkSpace"},
      {SystemColor(13), "clHighlight"},
      {SystemColor(14), "clHighlightText"},
      {SystemColor(15), "clBtnFace"},
      {SystemColor(16), "clBtnShadow"},
      {SystemColor(17), "clGrayText"},
      {SystemColor(18), "clBtnText"},
      {SystemColor(19), "clInactiveCaptionText"},
      {SystemColor(20), "clBtnHighlight"},
      {SystemColor(21), "cl3DDkShadow"},
      {SystemColor(22), "cl3DLight"},
      {SystemColor(23), "clInfoText"},
      {SystemColor(24), "clInfoBk"},
      {SystemColor(26), "clHotLight"},
      {SystemColor(27), "clGradientActiveCaption"},
      {SystemColor(28), "clGradientInactiveCaption"},
      {SystemColor(29), "clMenuHighlight"},
      {SystemColor(30), "clMenuBar"},
};

QIcon Swatch(TColor color, QSize size)
{
  QPixmap pixmap(size);
  pixmap.fill(ToQColor(color));
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
  return QIcon(pixmap);
}

TColor FromQColor(const QColor& c)
{
  return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

}  // namespace

TColorBox::TColorBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
  Populate();
}

void TColorBox::SetStyle(TColorBoxStyle style)
{
  if (style == style_)
    return;
  style_ = style;
  Populate();
}

void TColorBox::Populate()
{
  entries_.clear();
  if (HasCustom())
    entries_.push_back({custom_, "Custom..."});
  if (style_.Contains(cbStandardColors))
    for (const auto& c : Standard)
      entries_.push_back({c.color, c.name});
  if (style_.Contains(cbExtendedColors))
    for (const auto& c : Extended)
      entries_.push_back({c.color, c.name});
  if (style_.Contains(cbSystemColors))
    for (const auto& c : System)
      entries_.push_back({c.color, c.name});
  QComboBox* combo = Combo();
  combo->clear();
  for (const Entry& entry : entries_)
    combo->addItem(Swatch(entry.color, combo->iconSize()), QString::fromLatin1(entry.name));
  Select(selected_);
}

void TColorBox::SetSelected(TColor color)
{
  selected_ = color;
  Select(color);
}

void TColorBox::Select(TColor color)
{
  for (size_t i = HasCustom() ? 1 : 0; i < entries_.size(); ++i)
    if (entries_[i].color == color) {
      Combo()->setCurrentIndex(static_cast<int>(i));
      return;
    }
  if (HasCustom()) {
    SetCustomColor(color);
    Combo()->setCurrentIndex(0);
  } else {
    Combo()->setCurrentIndex(-1);
  }
}

void TColorBox::SetCustomColor(TColor color)
{
  custom_ = color;
  entries_[0].color = color;
  Combo()->setItemIcon(0, Swatch(color, Combo()->iconSize()));
}

void TColorBox::UserPicked(int index)
{
  if (index < 0 || index >= static_cast<int>(entries_.size()))
    return;
  if (HasCustom() && index == 0)
    PickCustomColor();
  else
    selected_ = entries_[static_cast<size_t>(index)].color;
}

void TColorBox::PickCustomColor()
{
  // The dialog's loop may free this box, or its form and the dialog with it.
  const QPointer<QWidget> alive(Widget());
  const QPointer<QColorDialog> dialog = new QColorDialog(ToQColor(custom_), Widget()->window());
  int result = QDialog::Rejected;
  if (!Application->CloseAsked()) {
    ModalLoopScope modal;
    result = dialog->exec();
  }
  if (!dialog)
    return;
  const QColor picked = dialog->selectedColor();
  delete dialog.data();
  if (!alive)
    return;
  if (result == QDialog::Accepted && picked.isValid()) {
    selected_ = FromQColor(picked);
    SetCustomColor(selected_);
    Combo()->setCurrentIndex(0);
  } else {
    Select(selected_);  // cancelled: back to the colour selected before
  }
}
