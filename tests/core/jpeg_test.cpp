// The encoder's pixels and colours are read back through the picture export's test, which decodes
// what it wrote (with rows padded past the pixels).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Jpeg.h"
#include "support/ScratchFolder.h"

// Noise compresses badly, so the quality shows in the size. The file holds what the encoder gives.
TEST(Jpeg, QualityReachesTheEncoderTheFileHoldsItsBytesAndInvalidInputGivesNone)
{
  const int w = 32, h = 32;
  std::vector<uint8_t> noise(static_cast<size_t>(w) * h * 3);
  uint32_t seed = 12345;
  for (uint8_t& b : noise)
    b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  const std::vector<uint8_t> bytes = EncodeJpegRgb(noise.data(), w, h, w * 3, 100);
  const size_t low = EncodeJpegRgb(noise.data(), w, h, w * 3, 10).size();
  EXPECT_GT(low, 0u);
  EXPECT_GT(bytes.size(), low * 2);
  EXPECT_EQ(EncodeJpegRgb(noise.data(), w, h, w * 3, 1000), bytes) << "quality clamped to 100";

  ScratchFolder dir;
  ASSERT_TRUE(SaveJpegRgbToFile(dir / "dravolin.jpg", noise.data(), w, h, w * 3, 100));
  EXPECT_EQ(ScratchFolder::Read(dir / "dravolin.jpg"), std::string(bytes.begin(), bytes.end()));
  EXPECT_FALSE(SaveJpegRgbToFile(dir / "missing/x.jpg", noise.data(), w, h, w * 3, 100));
  EXPECT_FALSE(SaveJpegRgbToFile("/dev/full", noise.data(), w, h, w * 3, 100));

  EXPECT_TRUE(EncodeJpegRgb(nullptr, 4, 4, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 0, 4, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 4, -1, 12, 90).empty());
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 4, 4, 11, 90).empty()) << "stride shorter than a row";
  EXPECT_TRUE(EncodeJpegRgb(noise.data(), 70000, 1, 70000 * 3, 90).empty());
}
