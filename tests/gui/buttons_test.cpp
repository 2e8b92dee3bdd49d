#include <QIcon>
#include <QPushButton>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Button.h"
#include "Buttons.h"
#include "Edit.h"
#include "ExtCtrls.h"
#include "support/GuiTest.h"
#include "support/InputTestSupport.h"

namespace {

QPushButton* Push(TButton* button)
{
  return static_cast<QPushButton*>(button->Widget());
}

class ButtonsTest : public GuiTest {
protected:
  static void Click(TButton* button)
  {
    const QPoint centre(button->Width() / 2, button->Height() / 2);
    SendMouse(button->Widget(), QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    SendMouse(button->Widget(), QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
  }
};

// A glyph of `count` square images of side 8: image i is filled with colours[i], and the
// bottom-left pixel and a frame of one pixel around each image are white (transparent).
void PaintGlyph(TBitmap* glyph, const std::vector<TColor>& colours)
{
  glyph->SetWidth(8 * static_cast<int>(colours.size()));
  glyph->SetHeight(8);
  TCanvas* canvas = glyph->Canvas();
  canvas->Brush()->SetColor(0xFFFFFF);
  canvas->FillRect(Rect(0, 0, glyph->Width(), 8));
  for (size_t i = 0; i < colours.size(); ++i) {
    canvas->Brush()->SetColor(colours[i]);
    const int left = 8 * static_cast<int>(i);
    canvas->FillRect(Rect(left + 1, 1, left + 7, 7));
  }
}

TEST_F(ButtonsTest, AClickedButtonTakesTheFocusSoTheEditsOnExitRunsFirst)
{
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  auto* button = new TBitBtn(&form);
  button->SetParent(&form);
  button->SetBounds(150, 10, 40, 40);
  std::vector<std::string> log;
  edit->OnExit = [&](TObject*) { log.push_back("exit"); };
  button->OnClick = [&](TObject*) { log.push_back("click"); };
  form.Show();
  ASSERT_TRUE(RunLoopUntil([&] { return form.Widget()->isActiveWindow(); }));
  edit->SetFocus();
  Click(button);
  EXPECT_EQ(log, (std::vector<std::string>{"exit", "click"}));
  EXPECT_TRUE(button->Focused());
  // A disabled button neither takes the focus nor clicks.
  edit->SetFocus();
  button->SetEnabled(false);
  Click(button);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(ButtonsTest, OneClickFiresOnClickOnceByMouseAndByKeyboard)
{
  TPanel panel(nullptr);
  auto* button = new TButton(&panel);
  button->SetParent(&panel);
  int clicks = 0;
  button->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, button);
    ++clicks;
  };
  Click(button);
  EXPECT_EQ(clicks, 1);
  PressKey(button->Widget(), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonsTest, AButtonFreedByItsOwnClickIsLeftAlone)
{
  // The click comes from Qt's handling of the release, which the layer runs before its own
  // part of the event; nothing of the freed button may be touched after it.
  TPanel panel(nullptr);
  int panelEvents = 0;
  panel.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++panelEvents; };
  panel.OnClick = [&](TObject*) { ++panelEvents; };
  panel.OnKeyUp = [&](TObject*, Word&, TShiftState) { ++panelEvents; };
  std::vector<std::string> log;
  const auto freedOnClick = [&] {
    auto* button = new TButton(&panel);
    button->SetParent(&panel);
    button->OnClick = [&log, button](TObject*) {
      log.push_back("click");
      delete button;
    };
    button->OnMouseDown = [&log](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("down"); };
    button->OnKeyUp = [&log](TObject*, Word&, TShiftState) { log.push_back("key up"); };
    return button;
  };

  TButton* clicked = freedOnClick();
  Click(clicked);
  EXPECT_EQ(log, (std::vector<std::string>{"down", "click"}));

  log.clear();
  TButton* keyed = freedOnClick();
  PressKey(keyed->Widget(), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(log, std::vector<std::string>{"click"});  // no key up from a freed button

  EXPECT_EQ(panel.Widget()->findChildren<QPushButton*>().size(), 0);
  EXPECT_EQ(panelEvents, 0);  // and nothing handed on to the parent
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(ButtonsTest, AButtonsModalResultEndsShowModalWithIt)
{
  TForm dialog(nullptr);
  auto* plain = new TButton(&dialog);
  plain->SetParent(&dialog);
  auto* cancel = new TButton(&dialog);
  cancel->SetParent(&dialog);
  cancel->SetModalResult(mrCancel);
  auto* ok = new TButton(&dialog);
  ok->SetParent(&dialog);
  ok->SetModalResult(mrOk);
  EXPECT_EQ(plain->ModalResult(), mrNone);
  int okClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  TTimer timer(&dialog);
  timer.SetInterval(10);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 1) {
      Click(plain);  // no result: the loop goes on
    } else {
      timer.SetEnabled(false);
      EXPECT_TRUE(dialog.Widget()->isVisible());
      Click(ok);
    }
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(okClicks, 1);
  EXPECT_FALSE(dialog.Visible());
  // The same form again, closed by the other button.
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    Click(cancel);
  };
  timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST_F(ButtonsTest, DefaultHeightIsQtsHintAndFollowsTheFontUntilSet)
{
  TPanel panel(nullptr);
  auto* button = new TButton(&panel);
  EXPECT_EQ(button->Width(), 75);
  EXPECT_EQ(button->Height(), Push(button)->sizeHint().height());
  panel.Font()->SetSize(20);
  button->SetParent(&panel);  // takes the parent's bigger font
  EXPECT_EQ(button->Height(), Push(button)->sizeHint().height());
  button->SetHeight(25);
  panel.Font()->SetSize(8);
  EXPECT_EQ(button->Height(), 25);
}

TEST_F(ButtonsTest, AGlyphOfTwoImagesGivesTheNormalAndTheDisabledLook)
{
  TPanel panel(nullptr);
  auto* button = new TBitBtn(&panel);
  button->SetParent(&panel);
  PaintGlyph(button->Glyph(), {0x0000FF, 0xFF0000});  // red, then blue
  EXPECT_EQ(Push(button)->iconSize(), QSize(8, 8));
  const QIcon icon = Push(button)->icon();
  const QImage normal = icon.pixmap(QSize(8, 8), 1.0, QIcon::Normal).toImage();
  const QImage disabled = icon.pixmap(QSize(8, 8), 1.0, QIcon::Disabled).toImage();
  ASSERT_EQ(normal.size(), QSize(8, 8));
  EXPECT_EQ(normal.pixel(4, 4), qRgb(255, 0, 0));
  EXPECT_EQ(disabled.pixel(4, 4), qRgb(0, 0, 255));
  // The bottom-left colour (white) is transparent, inside the image too.
  EXPECT_EQ(qAlpha(normal.pixel(0, 7)), 0);
  EXPECT_EQ(qAlpha(normal.pixel(7, 0)), 0);
  EXPECT_EQ(qAlpha(normal.pixel(4, 4)), 255);
}

TEST_F(ButtonsTest, AOneImageGlyphIsCentredAtItsOwnSizeAndGreyedWhenDisabled)
{
  TPanel panel(nullptr);
  panel.SetBounds(0, 0, 200, 200);
  auto* button = new TBitBtn(&panel);
  button->SetParent(&panel);
  button->SetBounds(0, 0, 60, 50);
  TBitmap* glyph = button->Glyph();
  glyph->SetWidth(24);
  glyph->SetHeight(20);  // not a multiple: one image
  glyph->Canvas()->Brush()->SetColor(0x00FF00);
  glyph->Canvas()->FillRect(Rect(0, 0, 24, 20));
  glyph->Canvas()->Brush()->SetColor(0xFFFFFF);
  glyph->Canvas()->FillRect(Rect(0, 19, 1, 20));  // the transparent colour: one pixel only
  EXPECT_EQ(Push(button)->iconSize(), QSize(24, 20));
  const QImage shot = button->Widget()->grab().toImage();
  QRect green;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixel(x, y) == qRgb(0, 255, 0))
        green |= QRect(x, y, 1, 1);
  EXPECT_EQ(green.size(), QSize(24, 20));
  EXPECT_LE(std::abs(green.center().x() - 30), 2);
  EXPECT_LE(std::abs(green.center().y() - 25), 2);
  // Qt derives the disabled look from the one image.
  const QIcon icon = Push(button)->icon();
  const QImage disabled = icon.pixmap(QSize(24, 20), 1.0, QIcon::Disabled).toImage();
  EXPECT_NE(disabled.pixel(10, 10), qRgb(0, 255, 0));
  EXPECT_EQ(qAlpha(disabled.pixel(10, 10)), 255);
}

}  // namespace
