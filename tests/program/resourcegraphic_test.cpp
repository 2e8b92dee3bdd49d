// Pictures from the program's resource table: a missing name leaves the graphic alone, a
// present one hands the graphic exactly the resource's bytes.
#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "Bitmap.h"
#include "Resources.h"
#include "app/ResourceGraphic.h"
#include "support/TestApp.h"

namespace {

// Keeps what it was asked to load.
class RecordingGraphic : public TGraphic {
public:
  void LoadFromStream(TStream& stream) override
  {
    ++loads;
    char buffer[4096];
    for (int32_t n; (n = stream.Read(buffer, sizeof buffer)) > 0;)
      bytes.append(buffer, static_cast<size_t>(n));
  }
  int loads = 0;
  std::string bytes;
};

// A missing name, or bytes that are no picture (the dictionary is text), leave the bitmap as it
// was, and building a window goes on without it; a present resource is read whole, whatever the
// case of its name.
TEST(LoadResourceGraphic, AMissingResourceOrNoPictureLeavesTheGraphicAPresentOneIsReadWhole)
{
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(2);
  bitmap.OnChange = [] { ADD_FAILURE() << "changed"; };
  LoadResourceGraphic(&bitmap, "no such picture");
  EXPECT_THROW(LoadResourceGraphic(&bitmap, "dictred"), EInvalidGraphic);
  LoadResourceGraphicOrNone(&bitmap, "dictred");
  EXPECT_EQ(bitmap.Width() * 10 + bitmap.Height(), 32);
  LoadResourceGraphic(nullptr, "dictred");

  const ResourceEntry* entry = FindResource("dictred", "RT_RCDATA");
  ASSERT_NE(entry, nullptr);
  RecordingGraphic recorder;
  LoadResourceGraphic(&recorder, "DictRed");
  EXPECT_EQ(recorder.loads, 1);
  EXPECT_EQ(recorder.bytes, std::string(reinterpret_cast<const char*>(entry->Data), entry->Size));
}

// Every picture of the window at the size its control is laid out for (the small glyphs fit a
// button one text-edit high). A button glyph must keep a margin of its transparent colour, the
// bottom-left pixel's, all round, or the colour key would eat into the drawing; and it must be
// one image wide, since a glyph as wide as a whole number of heights holds several looks.
TEST(LoadResourceGraphic, EveryPictureOfTheWindowLoadsAtItsSize)
{
  std::string sizes;
  for (const char* name :
       {"flagr", "flage", "flagd", "flagr2", "flage2", "flagd2", "openfile", "prev", "next", "paste", "clear",
        "moveup", "movedown", "delete", "chartstyle1", "chartstyle2", "chartstyle3"}) {
    TBitmap bitmap;
    LoadResourceGraphic(&bitmap, name);
    const int width = bitmap.Width(), height = bitmap.Height();
    sizes += std::to_string(width) + "x" + std::to_string(height) + " ";
    if (std::string(name).starts_with("chartstyle"))
      continue;
    SCOPED_TRACE(name);
    EXPECT_TRUE(width == height || width % height != 0);
    const QImage& image = bitmap.Image();
    const QRgb key = image.pixel(0, height - 1);
    int borderDrawn = 0, drawn = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const bool isDrawn = image.pixel(x, y) != key;
        drawn += isDrawn;
        borderDrawn += isDrawn && (x == 0 || y == 0 || x == width - 1 || y == height - 1);
      }
    EXPECT_EQ(borderDrawn, 0);
    EXPECT_GT(drawn, width * height / 5);
  }
  EXPECT_EQ(sizes, "72x56 72x56 72x56 40x40 40x40 40x40 40x40 40x40 40x40 40x40 18x18 18x18 18x18 18x18 100x50 "
                   "100x50 100x50 ");
}

}  // namespace
