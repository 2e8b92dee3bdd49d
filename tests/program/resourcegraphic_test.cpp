// Pictures from the program's resource table: a missing name leaves the graphic alone, a
// present one hands the graphic exactly the resource's bytes.
#include <gtest/gtest.h>

#include <string>

#include "Bitmap.h"
#include "Resources.h"
#include "app/ResourceGraphic.h"
#include "program/ProgramTestApp.h"

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

TEST(LoadResourceGraphic, AMissingResourceLeavesTheGraphicAsItWas)
{
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(2);
  int changes = 0;
  bitmap.OnChange = [&] { ++changes; };
  LoadResourceGraphic(&bitmap, "no such picture");
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(changes, 0);

  RecordingGraphic recorder;
  LoadResourceGraphic(&recorder, "flagr-missing");
  EXPECT_EQ(recorder.loads, 0);
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

TEST(LoadResourceGraphic, BytesThatAreNoPictureLeaveTheBitmapUnchanged)
{
  // The dictionary is text, not a picture; building a window goes on without it.
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(2);
  EXPECT_THROW(LoadResourceGraphic(&bitmap, "dictred"), EInvalidGraphic);
  LoadResourceGraphicOrNone(&bitmap, "dictred");
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
}

}  // namespace
