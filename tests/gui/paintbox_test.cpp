#include <QBuffer>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Image.h"
#include "MemoryStream.h"
#include "PaintBox.h"
#include "Panel.h"
#include "support/GuiTest.h"
#include "support/WindowInput.h"

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kPanelColor = 0x00C000;

TColor ColorOf(QRgb p)
{
  return static_cast<TColor>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

// A shown form with a green panel; the paint box at (20, 10), 100 × 60, on the panel.
class PaintBoxTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBevelOuter(bvNone);
    panel->SetColor(kPanelColor);
    panel->SetBounds(0, 0, 300, 200);
    box = new TPaintBox(panel);
    box->SetParent(panel);
    box->SetBounds(20, 10, 100, 60);
    form->Show();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }

  // What the paint box shows on screen: a repaint of it, OnPaint included.
  QImage Shown() { return box->Widget()->grab().toImage(); }

  // The paint box's pixels as copied through CopyRect, as the picture export does.
  TColor Copied(int x, int y)
  {
    TBitmap bitmap;
    bitmap.SetWidth(box->Width());
    bitmap.SetHeight(box->Height());
    bitmap.Canvas()->CopyRect(Rect(0, 0, box->Width(), box->Height()), box->Canvas(),
                              Rect(0, 0, box->Width(), box->Height()));
    return ColorOf(bitmap.Image().pixel(x, y));
  }

  std::unique_ptr<TForm> form;
  TPanel* panel = nullptr;
  TPaintBox* box = nullptr;
  std::vector<std::string> log;
};

TEST_F(PaintBoxTest, DrawingOutsideOnPaintIsShownAndCopiedBack)
{
  // Drawn from a mouse handler, say: no paint is running.
  box->Canvas()->Brush()->SetColor(kRed);
  box->Canvas()->FillRect(Rect(0, 0, 100, 60));
  EXPECT_EQ(Copied(50, 30), kRed);

  // Every repaint runs OnPaint, which draws over the picture; the screen and the copy agree.
  int paints = 0;
  box->OnPaint = [&](TObject* sender) {
    EXPECT_EQ(sender, box);
    ++paints;
    TCanvas* canvas = box->Canvas();
    canvas->Pen()->SetColor(kMagenta);
    canvas->MoveTo(50, 0);
    canvas->LineTo(50, 60);
  };
  const QImage shown = Shown();
  EXPECT_GE(paints, 1);
  EXPECT_EQ(ColorOf(shown.pixel(50, 30)), kMagenta);
  EXPECT_EQ(ColorOf(shown.pixel(10, 30)), kRed);
  EXPECT_EQ(Copied(50, 30), kMagenta);
  EXPECT_EQ(Copied(10, 30), kRed);

  // Drawing inside OnPaint asks for no further repaint: the loop goes quiet.
  RunLoopFor(50);
  const int settled = paints;
  RunLoopFor(100);
  EXPECT_EQ(paints, settled);
}

TEST_F(PaintBoxTest, ResizingKeepsThePixelsThatFitAndFillsTheRestWithTheParentColour)
{
  box->Canvas()->Brush()->SetColor(kBlue);
  box->Canvas()->FillRect(Rect(0, 0, 100, 60));
  box->SetBounds(20, 10, 150, 80);
  EXPECT_EQ(Copied(99, 59), kBlue);
  EXPECT_EQ(Copied(120, 30), kPanelColor);
  EXPECT_EQ(Copied(50, 70), kPanelColor);
  // The canvas draws on the new picture at once.
  box->Canvas()->FillRect(Rect(140, 70, 150, 80));
  EXPECT_EQ(Copied(149, 79), kBlue);

  // An aligned paint box (the chart's) takes its parent's client area, picture included.
  box->SetAlign(alClient);
  EXPECT_EQ(box->Width(), 300);
  EXPECT_EQ(box->Height(), 200);
  box->Canvas()->FillRect(Rect(290, 190, 300, 200));
  EXPECT_EQ(Copied(299, 199), kBlue);
}

TEST_F(PaintBoxTest, AHeldButtonKeepsTheMouseAndClickNeedsReleaseOverTheBox)
{
  QWidget* w = box->Widget();
  box->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int x, int y) {
    log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  // Moves with no button held (the pointer reaching the press point) are left out.
  box->OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
    if (!shift.Contains(ssLeft) && !shift.Contains(ssRight))
      return;
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y) + (shift.Contains(ssLeft) ? " left" : "") +
                  (shift.Contains(ssRight) ? " right" : ""));
  };
  box->OnClick = [&](TObject*) { log.push_back("click"); };

  // Pressed on the box, moved off it (over the panel) and released there: the box hears it all,
  // in its own coordinates, and no click results.
  window_input::Press(w, QPoint(10, 10));
  window_input::Mouse(w, QEvent::MouseMove, QPoint(150, 20), Qt::NoButton, Qt::LeftButton);
  window_input::Release(w, QPoint(150, 20));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,10", "move 150,20 left"}));
  log.clear();

  // Pressed on the panel and released over the box: no click either.
  window_input::Press(panel->Widget(), QPoint(200, 150));
  window_input::Release(w, QPoint(10, 10));
  EXPECT_TRUE(log.empty());
  log.clear();

  // Pressed and released on the box: a click. The right button is reported in moves, not clicked.
  window_input::Click(w, QPoint(30, 40));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 30,40", "click"}));
  log.clear();
  window_input::Press(w, QPoint(30, 40), Qt::RightButton);
  window_input::Mouse(w, QEvent::MouseMove, QPoint(-5, 45), Qt::NoButton, Qt::RightButton);
  window_input::Release(w, QPoint(-5, 45), Qt::RightButton);
  EXPECT_EQ(log, (std::vector<std::string>{"down 1 30,40", "move -5,45 right"}));
}

TEST_F(PaintBoxTest, DoubleClickAndClientOrigin)
{
  int doubles = 0;
  box->OnDblClick = [&](TObject*) { ++doubles; };
  window_input::DoubleClick(box->Widget(), QPoint(5, 5));
  EXPECT_EQ(doubles, 1);
  const QPoint origin = box->Widget()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(box->ClientOrigin().x, origin.x());
  EXPECT_EQ(box->ClientOrigin().y, origin.y());
  EXPECT_EQ(origin - panel->Widget()->mapToGlobal(QPoint(0, 0)), QPoint(20, 10));
}

// A 3 × 2 BMP: red, green, blue over white, black, white.
void LoadPicture(TBitmap* bitmap)
{
  QImage image(3, 2, QImage::Format_RGB32);
  image.setPixel(0, 0, qRgb(255, 0, 0));
  image.setPixel(1, 0, qRgb(0, 255, 0));
  image.setPixel(2, 0, qRgb(0, 0, 255));
  image.setPixel(0, 1, qRgb(255, 255, 255));
  image.setPixel(1, 1, qRgb(0, 0, 0));
  image.setPixel(2, 1, qRgb(255, 255, 255));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(image.save(&buffer, "BMP"));
  TMemoryStream stream;
  stream.WriteBuffer(bytes.constData(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  bitmap->LoadFromStream(stream);
}

TEST_F(PaintBoxTest, AnAutoSizedImageTakesTheSizeOfThePictureLoadedIntoIt)
{
  auto* image = new TImage(panel);
  image->SetParent(panel);
  image->SetBounds(40, 50, 20, 20);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 20);  // nothing loaded yet: the size stays
  LoadPicture(image->Picture()->Bitmap());
  EXPECT_EQ(image->Left(), 40);
  EXPECT_EQ(image->Top(), 50);
  EXPECT_EQ(image->Width(), 3);
  EXPECT_EQ(image->Height(), 2);
  const QImage shown = image->Widget()->grab().toImage();
  EXPECT_EQ(ColorOf(shown.pixel(0, 0)), kRed);
  EXPECT_EQ(ColorOf(shown.pixel(1, 1)), 0x000000);

  // Without AutoSize the control keeps its bounds and shows the picture at its top-left.
  auto* fixed = new TImage(panel);
  fixed->SetParent(panel);
  fixed->SetBounds(100, 50, 30, 30);
  LoadPicture(fixed->Picture()->Bitmap());
  EXPECT_EQ(fixed->Width(), 30);
  EXPECT_EQ(ColorOf(fixed->Widget()->grab().toImage().pixel(2, 0)), kBlue);
}

}  // namespace
