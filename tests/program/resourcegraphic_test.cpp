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
// was; building a window goes on without it.
TEST(LoadResourceGraphic, AMissingResourceOrNoPictureLeavesTheGraphicAsItWas)
{
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(2);
  int changes = 0;
  bitmap.OnChange = [&] { ++changes; };
  LoadResourceGraphic(&bitmap, "no such picture");
  EXPECT_THROW(LoadResourceGraphic(&bitmap, "dictred"), EInvalidGraphic);
  LoadResourceGraphicOrNone(&bitmap, "dictred");
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(changes, 0);
  LoadResourceGraphic(nullptr, "dictred");
}

TEST(LoadResourceGraphic, APresentResourceIsReadWholeWhateverTheCaseOfItsName)
{
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
  struct Case {
    const char* name;
    int width, height;
    bool glyph;
  };
  const Case cases[] = {
      {"flagr", 72, 56, true},         {"flage", 72, 56, true},         {"flagd", 72, 56, true},
      {"flagr2", 40, 40, true},        {"flage2", 40, 40, true},        {"flagd2", 40, 40, true},
      {"openfile", 40, 40, true},      {"prev", 40, 40, true},          {"next", 40, 40, true},
      {"paste", 40, 40, true},         {"clear", 18, 18, true},         {"moveup", 18, 18, true},
      {"movedown", 18, 18, true},      {"delete", 18, 18, true},        {"chartstyle1", 100, 50, false},
      {"chartstyle2", 100, 50, false}, {"chartstyle3", 100, 50, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap bitmap;
    LoadResourceGraphic(&bitmap, c.name);
    ASSERT_EQ(bitmap.Width(), c.width);
    ASSERT_EQ(bitmap.Height(), c.height);
    if (!c.glyph)
      continue;
    EXPECT_TRUE(c.width == c.height || c.width % c.height != 0);
    const QImage& image = bitmap.Image();
    const QRgb key = image.pixel(0, c.height - 1);
    int borderDrawn = 0, drawn = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const bool isDrawn = image.pixel(x, y) != key;
        drawn += isDrawn;
        borderDrawn += isDrawn && (x == 0 || y == 0 || x == c.width - 1 || y == c.height - 1);
      }
    EXPECT_EQ(borderDrawn, 0);
    EXPECT_GT(drawn, c.width * c.height / 5);
  }
}

}  // namespace
