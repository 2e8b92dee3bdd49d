#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <string>
#include <vector>

#include "Jpeg.h"
#include "support/ScratchFolder.h"

namespace {

// Decodes with libjpeg itself (whose default error handler ends the test program on bytes that
// are no JPEG): "width x height x components", then the colour at each point asked for, each
// channel + for high (near 220) or - for low (near 20).
std::string Decoded(const std::vector<uint8_t>& bytes, const std::vector<std::pair<int, int>>& points)
{
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const int width = static_cast<int>(cinfo.output_width);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * cinfo.output_height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) * width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  std::string text = std::to_string(width) + "x" + std::to_string(cinfo.output_height) + "x" +
                     std::to_string(cinfo.output_components);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  for (auto [x, y] : points) {
    text += ' ';
    for (int c = 0; c < 3; ++c) {
      const int value = pixels[(static_cast<size_t>(y) * width + x) * 3 + c];
      text += std::abs(value - 220) <= 16 ? '+' : std::abs(value - 20) <= 16 ? '-' : '?';
    }
  }
  return text;
}

}  // namespace

// Left half red, right half blue, rows padded past the pixels with bytes that must be ignored.
// The file holds what the encoder gives; a failed write is reported.
TEST(Jpeg, EncodedImageDecodesToTheSameSizeAndColoursAndIsSavedAsIs)
{
  constexpr int Width = 64, Height = 48, Stride = Width * 3 + 7;
  std::vector<uint8_t> image(static_cast<size_t>(Stride) * Height, 0x55);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      uint8_t* p = &image[static_cast<size_t>(y) * Stride + x * 3];
      p[0] = x < Width / 2 ? 220 : 20;
      p[1] = 20;
      p[2] = x < Width / 2 ? 20 : 220;
    }
  const std::vector<uint8_t> bytes = EncodeJpegRgb(image.data(), Width, Height, Stride, 100);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(Decoded(bytes, {{8, 24}, {56, 24}, {8, 0}, {56, 47}}), "64x48x3 +-- --+ +-- --+");

  ScratchFolder dir;
  const std::string name = dir / "dravolin.jpg";
  ASSERT_TRUE(SaveJpegRgbToFile(name, image.data(), Width, Height, Stride, 100));
  EXPECT_EQ(ScratchFolder::Read(name), std::string(bytes.begin(), bytes.end()));
  EXPECT_FALSE(SaveJpegRgbToFile(dir / "missing/x.jpg", image.data(), Width, Height, Stride, 100));
  EXPECT_FALSE(SaveJpegRgbToFile("/dev/full", image.data(), Width, Height, Stride, 100));
}

TEST(Jpeg, QualityReachesTheEncoderAndInvalidInputGivesNoBytes)
{
  // Noise compresses badly, so the quality shows in the size.
  const int w = 32, h = 32;
  std::vector<uint8_t> noise(static_cast<size_t>(w) * h * 3);
  uint32_t seed = 12345;
  for (uint8_t& b : noise)
    b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  const size_t high = EncodeJpegRgb(noise.data(), w, h, w * 3, 100).size();
  const size_t low = EncodeJpegRgb(noise.data(), w, h, w * 3, 10).size();
  EXPECT_GT(low, 0u);
  EXPECT_GT(high, low * 2);
  EXPECT_EQ(EncodeJpegRgb(noise.data(), w, h, w * 3, 1000).size(), high) << "quality clamped to 100";

  EXPECT_TRUE(EncodeJpegRgb(nullptr, 4, 4, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 0, 4, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 4, -1, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 4, 4, 11, 90).empty()) << "stride shorter than a row";
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 70000, 1, 70000 * 3, 90).empty());
}
