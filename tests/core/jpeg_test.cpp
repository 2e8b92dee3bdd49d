#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

#include "Jpeg.h"
#include "support/ScratchFolder.h"

namespace {

struct Decoded {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  std::vector<uint8_t> Pixels;
};

struct DecodeErrors {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
};

void DecodeFailed(j_common_ptr cinfo)
{
  std::longjmp(reinterpret_cast<DecodeErrors*>(cinfo->err)->Jump, 1);
}

// Decodes with libjpeg itself; false when the bytes are no valid JPEG.
bool Decode(const std::vector<uint8_t>& bytes, Decoded& out)
{
  jpeg_decompress_struct cinfo;
  DecodeErrors errors;
  cinfo.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = DecodeFailed;
  if (setjmp(errors.Jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.Width = static_cast<int>(cinfo.output_width);
  out.Height = static_cast<int>(cinfo.output_height);
  out.Components = cinfo.output_components;
  out.Pixels.resize(static_cast<size_t>(out.Width) * out.Height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out.Pixels.data() + static_cast<size_t>(cinfo.output_scanline) * out.Width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

// Left half red, right half blue, rows padded past the pixels with bytes that must be ignored.
struct TestImage {
  static constexpr int Width = 64, Height = 48, Stride = Width * 3 + 7;
  std::vector<uint8_t> Pixels = std::vector<uint8_t>(static_cast<size_t>(Stride) * Height, 0x55);
  TestImage()
  {
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) {
        uint8_t* p = &Pixels[static_cast<size_t>(y) * Stride + x * 3];
        p[0] = x < Width / 2 ? 220 : 20;
        p[1] = 20;
        p[2] = x < Width / 2 ? 20 : 220;
      }
  }
};

void ExpectColour(const Decoded& d, int x, int y, int r, int g, int b)
{
  const uint8_t* p = &d.Pixels[(static_cast<size_t>(y) * d.Width + x) * 3];
  EXPECT_NEAR(p[0], r, 16) << "red at " << x << "," << y;
  EXPECT_NEAR(p[1], g, 16) << "green at " << x << "," << y;
  EXPECT_NEAR(p[2], b, 16) << "blue at " << x << "," << y;
}

} // namespace

TEST(Jpeg, EncodedImageDecodesToTheSameSizeAndColours)
{
  TestImage image;
  const std::vector<uint8_t> bytes = EncodeJpegRgb(image.Pixels.data(), image.Width, image.Height, image.Stride, 100);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  Decoded d;
  ASSERT_TRUE(Decode(bytes, d));
  EXPECT_EQ(d.Width, image.Width);
  EXPECT_EQ(d.Height, image.Height);
  EXPECT_EQ(d.Components, 3);
  ExpectColour(d, 8, 24, 220, 20, 20);
  ExpectColour(d, 56, 24, 20, 20, 220);
  ExpectColour(d, 8, 0, 220, 20, 20);
  ExpectColour(d, 56, 47, 20, 20, 220);
}

TEST(Jpeg, QualityReachesTheEncoder)
{
  // Noise compresses badly, so the quality shows in the size.
  const int w = 32, h = 32;
  std::vector<uint8_t> noise(static_cast<size_t>(w) * h * 3);
  uint32_t seed = 12345;
  for (uint8_t& b : noise) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  const size_t high = EncodeJpegRgb(noise.data(), w, h, w * 3, 100).size();
  const size_t low = EncodeJpegRgb(noise.data(), w, h, w * 3, 10).size();
  EXPECT_GT(low, 0u);
  EXPECT_GT(high, low * 2);
  EXPECT_EQ(EncodeJpegRgb(noise.data(), w, h, w * 3, 1000).size(), high) << "quality clamped to 100";
}

TEST(Jpeg, InvalidInputGivesNoBytes)
{
  TestImage image;
  EXPECT_TRUE(EncodeJpegRgb(nullptr, 4, 4, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(image.Pixels.data(), 0, 4, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(image.Pixels.data(), 4, -1, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(image.Pixels.data(), 4, 4, 11, 90).empty()) << "stride shorter than a row";
  EXPECT_TRUE(EncodeJpegRgb(image.Pixels.data(), 70000, 1, 70000 * 3, 90).empty());
}

TEST(Jpeg, SaveWritesTheEncodedBytes)
{
  ScratchFolder dir;
  TestImage image;
  const std::string name = dir / "dravolin.jpg";
  ASSERT_TRUE(SaveJpegRgbToFile(name, image.Pixels.data(), image.Width, image.Height, image.Stride, 100));
  const std::vector<uint8_t> expected = EncodeJpegRgb(image.Pixels.data(), image.Width, image.Height, image.Stride, 100);
  const std::string written = ScratchFolder::Read(name);
  EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.end()), expected);

  EXPECT_FALSE(SaveJpegRgbToFile(dir / "missing/x.jpg", image.Pixels.data(), image.Width, image.Height, image.Stride, 100));
  EXPECT_FALSE(SaveJpegRgbToFile("/dev/full", image.Pixels.data(), image.Width, image.Height, image.Stride, 100));
}
