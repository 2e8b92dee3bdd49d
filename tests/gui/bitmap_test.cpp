// Bitmaps, the JPEG export read back, and the controls that show pictures: paint box and image.
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>
#include <vector>

#include "Image.h"
#include "JpegImage.h"
#include "MemoryStream.h"
#include "PaintBox.h"
#include "support/FormTest.h"
#include "support/GraphicsTestSupport.h"

namespace {

using Rows = std::vector<std::vector<TColor>>;

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor White = 0xFFFFFF;
constexpr TColor PanelColor = 0x00C000;

TColor ColorOf(QRgb p)
{
  return static_cast<TColor>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

// Loads a BMP file of the given rows (top row first), as Qt writes one, from a stream that holds
// other bytes before it.
void LoadBmp(TBitmap& bitmap, const Rows& rows)
{
  QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, ToQColor(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]).rgb());
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  TMemoryStream stream;
  stream.WriteBuffer("\xEE\xEE\xEE", 3);
  stream.WriteBuffer(bytes.constData(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(3);
  bitmap.LoadFromStream(stream);
}

Rows Pixels(TBitmap& bitmap)
{
  Rows rows(static_cast<size_t>(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      rows[static_cast<size_t>(y)].push_back(PixelAt(bitmap, x, y));
  return rows;
}

// New pixels are white, the old ones stay, and the canvas follows the new image.
TEST(Bitmap, SizeCanBeSetOneSideAtATimeAndResizingKeepsThePixels)
{
  TBitmap bitmap;
  bitmap.SetWidth(2);
  EXPECT_EQ(bitmap.Height(), 0);
  bitmap.SetHeight(1);
  bitmap.Canvas()->Brush()->SetColor(Red);
  bitmap.Canvas()->FillRect(Rect(0, 0, 2, 1));
  bitmap.SetWidth(3);
  bitmap.SetHeight(2);
  EXPECT_EQ(Pixels(bitmap), (Rows{{Red, Red, White}, {White, White, White}}));
  bitmap.SetWidth(1);
  bitmap.Canvas()->FillRect(Rect(0, 0, 100, 100));
  EXPECT_EQ(Pixels(bitmap), (Rows{{Red}, {Red}}));
}

// Sizes that are no multiple of the 16-pixel blocks; drawing after the assignment changes nothing.
TEST(Bitmap, JpegExportDecodesToTheBitmapsSizeAndColours)
{
  TBitmap bitmap;
  const TColor colours[] = {Red, 0x00C000, Blue, 0xC0DCC0};
  Fill(bitmap, 66, 38, Red);
  for (int q = 1; q < 4; ++q) {
    bitmap.Canvas()->Brush()->SetColor(colours[q]);
    bitmap.Canvas()->FillRect(Rect(q % 2 * 33, q / 2 * 19, q % 2 * 33 + 33, q / 2 * 19 + 19));
  }
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  bitmap.Canvas()->FillRect(Rect(0, 0, 66, 38));
  jpeg.SetCompressionQuality(100);
  jpeg.Compress();
  QTemporaryDir dir;
  const AnsiString name = (dir.path() + "/chart.jpg").toStdString();
  jpeg.SaveToFile(name);
  QImage decoded;
  ASSERT_TRUE(decoded.load(QString::fromStdString(name), "JPEG"));
  EXPECT_EQ(decoded.size(), QSize(66, 38));
  for (int q = 0; q < 4; ++q) {
    const QRgb p = decoded.pixel(q % 2 * 49 + 8, q / 2 * 21 + 8);
    const QColor c = ToQColor(colours[q]);
    EXPECT_LE(std::abs(qRed(p) - c.red()) + std::abs(qGreen(p) - c.green()) + std::abs(qBlue(p) - c.blue()), 16)
        << q;
  }
  EXPECT_THROW(jpeg.SaveToFile((dir.path() + "/no/such/folder/x.jpg").toStdString()), Exception);
  TBitmap none;
  jpeg.Assign(&none);
  EXPECT_THROW(jpeg.Compress(), EInvalidGraphic);
}

// A shown form with a green panel; the paint box at (20, 10), 100 × 60, on the panel.
class PaintBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 0, 0, 300, 200);
    panel->SetColor(PanelColor);
    box = Place<TPaintBox>(panel, 20, 10, 100, 60);
    ShowActive();
  }

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

  TPanel* panel = nullptr;
  TPaintBox* box = nullptr;
};

// Drawn from a mouse handler, say, with no paint running; OnPaint draws over the picture.
TEST_F(PaintBoxTest, DrawingOutsideOnPaintIsShownAndCopiedBack)
{
  box->Canvas()->Brush()->SetColor(Red);
  box->Canvas()->FillRect(Rect(0, 0, 100, 60));
  EXPECT_EQ(Copied(50, 30), Red);
  int paints = 0;
  box->OnPaint = [&](TObject* sender) {
    EXPECT_EQ(sender, box);
    ++paints;
    box->Canvas()->Pen()->SetColor(0xFF00FF);
    box->Canvas()->MoveTo(50, 0);
    box->Canvas()->LineTo(50, 60);
  };
  const QImage shown = box->Widget()->grab().toImage();
  EXPECT_GE(paints, 1);
  EXPECT_EQ((std::vector<TColor>{ColorOf(shown.pixel(50, 30)), ColorOf(shown.pixel(10, 30)), Copied(50, 30),
                                 Copied(10, 30)}),
            (std::vector<TColor>{0xFF00FF, Red, 0xFF00FF, Red}));
  RunLoopFor(50);
  const int settled = paints;
  RunLoopFor(100);
  EXPECT_EQ(paints, settled);
}

// An aligned paint box (the chart's) takes its parent's client area.
TEST_F(PaintBoxTest, ResizingKeepsThePixelsThatFitAndFillsTheRestWithTheParentColour)
{
  box->Canvas()->Brush()->SetColor(Blue);
  box->Canvas()->FillRect(Rect(0, 0, 100, 60));
  box->SetBounds(20, 10, 150, 80);
  box->Canvas()->FillRect(Rect(140, 70, 150, 80));
  EXPECT_EQ((std::vector<TColor>{Copied(99, 59), Copied(120, 30), Copied(50, 70), Copied(149, 79)}),
            (std::vector<TColor>{Blue, PanelColor, PanelColor, Blue}));
  box->SetAlign(alClient);
  EXPECT_EQ(QSize(box->Width(), box->Height()), QSize(300, 200));
  box->Canvas()->FillRect(Rect(290, 190, 300, 200));
  EXPECT_EQ(Copied(299, 199), Blue);
  const QPoint origin = box->Widget()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(QPoint(box->ClientOrigin().x, box->ClientOrigin().y), origin);
}

// Nothing loaded, the size stays; without AutoSize the picture shows at the top-left.
TEST_F(PaintBoxTest, AnAutoSizedImageTakesTheSizeOfThePictureLoadedIntoIt)
{
  auto* image = Place<TImage>(panel, 40, 50, 20, 20);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 20);
  auto* fixed = Place<TImage>(panel, 100, 50, 30, 30);
  for (TImage* each : {image, fixed})
    LoadBmp(*each->Picture()->Bitmap(), {{Red, 0x00FF00, Blue}, {White, 0x000000, White}});
  EXPECT_EQ((std::vector<int>{image->Left(), image->Top(), image->Width(), image->Height(), fixed->Width()}),
            (std::vector<int>{40, 50, 3, 2, 30}));
  const QImage shown = image->Widget()->grab().toImage();
  EXPECT_EQ(ColorOf(shown.pixel(0, 0)), Red);
  EXPECT_EQ(ColorOf(shown.pixel(1, 1)), 0x000000);
  EXPECT_EQ(ColorOf(fixed->Widget()->grab().toImage().pixel(2, 0)), Blue);
}

}  // namespace
