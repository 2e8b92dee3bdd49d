// Bitmaps: sizes, loading BMP files from streams, and the JPEG export read back.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "JpegImage.h"
#include "MemoryStream.h"
#include "support/GraphicsTestSupport.h"

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kWhite = 0xFFFFFF;

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A 24-bit BMP file; rows given top first as 0x00BBGGRR colours.
std::vector<uint8_t> MakeBmp(const std::vector<std::vector<TColor>>& rows)
{
  const uint32_t width = static_cast<uint32_t>(rows[0].size());
  const uint32_t height = static_cast<uint32_t>(rows.size());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  std::vector<uint8_t> out{'B', 'M'};
  Put32(out, 54 + stride * height);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);  // positive: stored bottom row first
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, stride * height);
  Put32(out, 3780);
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (uint32_t r = height; r-- > 0;) {
    for (TColor c : rows[r]) {
      out.push_back((c >> 16) & 0xFF);  // blue, green, red
      out.push_back((c >> 8) & 0xFF);
      out.push_back(c & 0xFF);
    }
    out.resize(out.size() + (stride - width * 3), 0);
  }
  return out;
}

void Write(TMemoryStream& stream, const std::vector<uint8_t>& bytes)
{
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

TEST(Bitmap, SizeCanBeSetOneSideAtATimeAndResizingKeepsThePixels)
{
  TBitmap bitmap;
  EXPECT_EQ(bitmap.Width(), 0);
  bitmap.SetWidth(5);
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Height(), 0);
  bitmap.SetHeight(4);
  EXPECT_EQ(PixelAt(bitmap, 4, 3), kWhite);

  bitmap.Canvas()->Brush()->SetColor(kRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 5, 4));
  bitmap.SetWidth(8);
  bitmap.SetHeight(6);
  EXPECT_EQ(PixelAt(bitmap, 4, 3), kRed);
  EXPECT_EQ(PixelAt(bitmap, 5, 0), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 0, 4), kWhite);
  EXPECT_EQ(bitmap.Image().devicePixelRatio(), 1.0);

  bitmap.SetWidth(2);
  EXPECT_EQ(bitmap.Image().width(), 2);
  EXPECT_EQ(PixelAt(bitmap, 1, 1), kRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 100, 100));  // the canvas follows the new image
  EXPECT_EQ(PixelAt(bitmap, 1, 5), kRed);
}

TEST(Bitmap, LoadsABmpFileFromTheStreamPosition)
{
  const TColor odd = 0x204080;
  TMemoryStream stream;
  Write(stream, {0xEE, 0xEE, 0xEE});  // bytes before the picture are not read
  Write(stream, MakeBmp({{kRed, 0x00FF00, kBlue}, {kWhite, 0x000000, odd}}));
  stream.SetPosition(3);

  TBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&] { ++changes; };
  bitmap.LoadFromStream(stream);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(PixelAt(bitmap, 0, 0), kRed);
  EXPECT_EQ(PixelAt(bitmap, 1, 0), 0x00FF00);
  EXPECT_EQ(PixelAt(bitmap, 2, 0), kBlue);
  EXPECT_EQ(PixelAt(bitmap, 0, 1), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 2, 1), odd);
  EXPECT_EQ(bitmap.Image().devicePixelRatio(), 1.0);

  bitmap.Canvas()->Brush()->SetColor(kBlue);
  bitmap.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(PixelAt(bitmap, 0, 0), kBlue);
}

TEST(Bitmap, BytesThatAreNoPictureThrowAndLeaveTheBitmapAlone)
{
  TBitmap bitmap;
  Fill(bitmap, 4, 4, kRed);
  TMemoryStream stream;
  Write(stream, {'B', 'M', 1, 2, 3, 4, 5});
  stream.SetPosition(0);
  EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(PixelAt(bitmap, 3, 3), kRed);
}

class JpegTest : public ::testing::Test {
protected:
  // Four quadrants of distinct colours.
  void Paint(TBitmap& bitmap, int w, int h)
  {
    Fill(bitmap, w, h, kRed);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetColor(0x00C000);
    c->FillRect(Rect(w / 2, 0, w, h / 2));
    c->Brush()->SetColor(kBlue);
    c->FillRect(Rect(0, h / 2, w / 2, h));
    c->Brush()->SetColor(0xC0DCC0);
    c->FillRect(Rect(w / 2, h / 2, w, h));
  }

  static bool Near(QRgb p, TColor c)
  {
    return std::abs(qRed(p) - (c & 0xFF)) <= 8 && std::abs(qGreen(p) - ((c >> 8) & 0xFF)) <= 8 &&
           std::abs(qBlue(p) - ((c >> 16) & 0xFF)) <= 8;
  }

  QTemporaryDir dir;
};

TEST_F(JpegTest, ExportedPictureDecodesToTheBitmapsSizeAndColours)
{
  TBitmap bitmap;
  Paint(bitmap, 66, 38);  // sizes that are no multiple of the 16-pixel blocks
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  bitmap.Canvas()->Brush()->SetColor(kWhite);  // drawing after the assignment changes nothing
  bitmap.Canvas()->FillRect(Rect(0, 0, 66, 38));
  jpeg.SetCompressionQuality(100);
  jpeg.Compress();
  const AnsiString name = (dir.path() + "/chart.jpg").toStdString();
  jpeg.SaveToFile(name);

  QImage decoded;
  ASSERT_TRUE(decoded.load(QString::fromStdString(name), "JPEG"));
  EXPECT_EQ(decoded.width(), 66);
  EXPECT_EQ(decoded.height(), 38);
  EXPECT_TRUE(Near(decoded.pixel(8, 8), kRed));
  EXPECT_TRUE(Near(decoded.pixel(57, 8), 0x00C000));
  EXPECT_TRUE(Near(decoded.pixel(8, 29), kBlue));
  EXPECT_TRUE(Near(decoded.pixel(57, 29), 0xC0DCC0));
}

TEST_F(JpegTest, FailuresThrow)
{
  TJPEGImage empty;
  TBitmap none;
  empty.Assign(&none);
  EXPECT_THROW(empty.Compress(), EInvalidGraphic);

  TBitmap bitmap;
  Paint(bitmap, 8, 8);
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  EXPECT_THROW(jpeg.SaveToFile((dir.path() + "/no/such/folder/x.jpg").toStdString()), Exception);
}

}  // namespace
