#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <string>
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

// The decoded colour at (x, y), each channel + for high (near 220) or - for low (near 20).
std::string ColourAt(const Decoded& d, int x, int y)
{
  std::string colour;
  for (int c = 0; c < 3; ++c) {
    const int value = d.Pixels[(static_cast<size_t>(y) * d.Width + x) * 3 + c];
    colour += std::abs(value - 220) <= 16 ? '+' : std::abs(value - 20) <= 16 ? '-' : '?';
  }
  return colour;
}

}  // namespace

// The file holds what the encoder gives; a failed write is reported.
TEST(Jpeg, EncodedImageDecodesToTheSameSizeAndColoursAndIsSavedAsIs)
{
  ScratchFolder dir;
  TestImage image;
  const std::vector<uint8_t> bytes =
      EncodeJpegRgb(image.Pixels.data(), image.Width, image.Height, image.Stride, 100);
  Decoded d;
  ASSERT_TRUE(Decode(bytes, d));
  EXPECT_EQ(std::to_string(d.Width) + "x" + std::to_string(d.Height) + "x" + std::to_string(d.Components),
            "64x48x3");
  EXPECT_EQ(ColourAt(d, 8, 24) + " " + ColourAt(d, 56, 24) + " " + ColourAt(d, 8, 0) + " " + ColourAt(d, 56, 47),
            "+-- --+ +-- --+");

  const std::string name = dir / "dravolin.jpg";
  ASSERT_TRUE(SaveJpegRgbToFile(name, image.Pixels.data(), image.Width, image.Height, image.Stride, 100));
  EXPECT_EQ(ScratchFolder::Read(name), std::string(bytes.begin(), bytes.end()));
  EXPECT_FALSE(
      SaveJpegRgbToFile(dir / "missing/x.jpg", image.Pixels.data(), image.Width, image.Height, image.Stride, 100));
  EXPECT_FALSE(SaveJpegRgbToFile("/dev/full", image.Pixels.data(), image.Width, image.Height, image.Stride, 100));
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
