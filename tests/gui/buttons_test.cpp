// Push buttons, picture buttons, check boxes and radio buttons.
#include "support/ControlTest.h"

namespace {

class ButtonsTest : public FormTest {
protected:
  static QPushButton* Push(TButton* button) { return static_cast<QPushButton*>(button->Widget()); }
  static void Click(TControl* button)
  {
    const QPoint centre(button->Width() / 2, button->Height() / 2);
    SendMouse(button->Widget(), QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    SendMouse(button->Widget(), QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
  }
};

TEST_F(ButtonsTest, AClickTakesTheFocusFirstAndFiresOnceByMouseOrKeyNeverWhenDisabled)
{
  auto* edit = Place<TEdit>(0, 0, 100, 20);
  auto* button = Place<TBitBtn>(150, 10, 40, 40);
  Log log;
  edit->OnExit = [&](TObject*) { log.push_back("exit"); };
  button->OnClick = [&](TObject* sender) { log.push_back(sender == button ? "click" : "other"); };
  ShowActive();
  edit->SetFocus();
  Click(button);  // the edit's OnExit runs before the click
  EXPECT_TRUE(button->Focused());
  PressKey(button->Widget(), Qt::Key_Space, QStringLiteral(" "));
  edit->SetFocus();
  button->SetEnabled(false);
  Click(button);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(log, (Log{"exit", "click", "click"}));
}

TEST_F(ButtonsTest, AButtonFreedByItsOwnClickIsLeftAlone)
{
  // The click comes from Qt's handling of the release, before the layer's own part of the
  // event; nothing of the freed button may be touched after it, nor the parent be told.
  TPanel* panel = PlacePanel(form.get(), 0, 0, 200, 100);
  int panelEvents = 0;
  panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++panelEvents; };
  panel->OnClick = [&](TObject*) { ++panelEvents; };
  panel->OnKeyUp = [&](TObject*, Word&, TShiftState) { ++panelEvents; };
  Log log;
  const auto freedOnClick = [&] {
    auto* button = Place<TButton>(panel, 0, 0, 75, 25);
    button->OnClick = [&log, button](TObject*) {
      log.push_back("click");
      delete button;
    };
    button->OnMouseDown = [&log](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("down"); };
    button->OnKeyUp = [&log](TObject*, Word&, TShiftState) { log.push_back("key up"); };
    return button;
  };
  Click(freedOnClick());
  PressKey(freedOnClick()->Widget(), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(log, (Log{"down", "click", "click"}));
  EXPECT_TRUE(panel->Widget()->findChildren<QPushButton*>().isEmpty() && panelEvents == 0 && exceptions.empty());
}

TEST_F(ButtonsTest, AButtonsModalResultEndsShowModalWithIt)
{
  TForm dialog(nullptr);
  auto* plain = Place<TButton>(&dialog, 0, 0, 75, 25);
  auto* cancel = Place<TButton>(&dialog, 0, 30, 75, 25);
  auto* ok = Place<TButton>(&dialog, 0, 60, 75, 25);
  cancel->SetModalResult(mrCancel);
  ok->SetModalResult(mrOk);
  TTimer timer(&dialog);
  timer.SetInterval(10);
  std::vector<TButton*> clicks = {plain, ok, cancel};  // the plain button's click ends nothing
  timer.OnTimer = [&](TObject*) {
    if (!clicks.empty()) {
      Click(clicks.front());
      clicks.erase(clicks.begin());
    }
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(clicks.size() == 1 && !dialog.Visible());
  EXPECT_EQ(dialog.ShowModal(), mrCancel);  // the same form again, closed by the other button
  timer.SetEnabled(false);
}

TEST_F(ButtonsTest, AGlyphsBottomLeftColourIsTransparentAndASecondImageIsTheDisabledLook)
{
  auto* button = Place<TBitBtn>(0, 0, 60, 50);
  TCanvas* canvas = button->Glyph()->Canvas();
  const auto fill = [&](TColor color, int left, int top, int right, int bottom) {
    canvas->Brush()->SetColor(color);
    canvas->FillRect(Rect(left, top, right, bottom));
  };
  // Two images of 8 × 8, red and blue inside a white frame.
  button->Glyph()->SetWidth(16);
  button->Glyph()->SetHeight(8);
  fill(0xFFFFFF, 0, 0, 16, 8);
  fill(0x0000FF, 1, 1, 7, 7);
  fill(0xFF0000, 9, 1, 15, 7);
  const QImage normal = Push(button)->icon().pixmap(QSize(8, 8), 1.0, QIcon::Normal).toImage();
  const QImage disabled = Push(button)->icon().pixmap(QSize(8, 8), 1.0, QIcon::Disabled).toImage();
  EXPECT_EQ(Push(button)->iconSize(), QSize(8, 8));
  EXPECT_EQ(std::vector<QRgb>({normal.pixel(4, 4), disabled.pixel(4, 4), QRgb(qAlpha(normal.pixel(7, 0)))}),
            std::vector<QRgb>({qRgb(255, 0, 0), qRgb(0, 0, 255), 0}));

  // One green image (24 × 20 is no row of squares) whose bottom-left pixel alone is white:
  // shown whole at its own size, centred on the button.
  button->Glyph()->SetWidth(24);
  button->Glyph()->SetHeight(20);
  fill(0x00FF00, 0, 0, 24, 20);
  fill(0xFFFFFF, 0, 19, 1, 20);
  const QImage shot = button->Widget()->grab().toImage();
  QRect green;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixel(x, y) == qRgb(0, 255, 0))
        green |= QRect(x, y, 1, 1);
  EXPECT_EQ(green.size(), QSize(24, 20));
  EXPECT_LE(std::abs(green.center().x() - 30) + std::abs(green.center().y() - 25), 2);
}

TEST_F(ButtonsTest, ACheckBoxSmallerThanItsIndicatorGrowsAboutItsCentre)
{
  auto* check = Place<TCheckBox>(100, 50, 7, 7);  // smaller than any style's indicator
  QWidget* box = check->Widget();
  const QRect shown = box->geometry();
  EXPECT_EQ(QSize(check->Width(), check->Height()), QSize(7, 7));
  EXPECT_GT(shown.width(), 7);
  EXPECT_LE(std::abs(2 * shown.x() + shown.width() - 207) + std::abs(2 * shown.y() + shown.height() - 107), 2);
  check->SetBounds(10, 20, 400, 30);
  EXPECT_EQ(box->geometry(), QRect(10, 20, 400, 30));
}

TEST_F(ButtonsTest, RadioButtonsAreExclusivePerParentAndTheProgramMayUncheckThem)
{
  TPanel* panel = PlacePanel(form.get(), 0, 0, 400, 300);
  TRadioButton* radios[4] = {Place<TRadioButton>(panel, 0, 0, 100, 20),
                             Place<TRadioButton>(panel, 0, 30, 100, 20)};
  auto* group = Place<TGroupBox>(panel, 8, 100, 300, 90);
  radios[2] = Place<TRadioButton>(group, 10, 3, 20, 20);
  radios[3] = Place<TRadioButton>(group, 0, 30, 100, 20);
  const auto state = [&] {
    std::string s;
    for (TRadioButton* radio : radios)
      s += radio->Checked() ? '1' : '0';
    return s;
  };
  radios[1]->SetChecked(true);
  radios[2]->SetChecked(true);
  radios[0]->SetChecked(true);
  EXPECT_EQ(state(), "1010");
  static_cast<QRadioButton*>(radios[3]->Widget())->click();  // the user's click, the same rule
  EXPECT_EQ(state(), "1001");
  radios[3]->SetChecked(false);  // a style that is neither: both of the group unchecked
  EXPECT_EQ(state(), "1000");
  radios[2]->SetChecked(true);
  radios[3]->SetChecked(true);
  EXPECT_EQ(state(), "1001");
  // A group box's children count from its corner.
  EXPECT_EQ(radios[2]->Widget()->geometry(), QRect(10, 3, 20, 20));
}

}  // namespace
