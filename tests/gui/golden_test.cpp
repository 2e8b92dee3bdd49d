// The golden-picture support: a drawing with both pinned system colours and text in the pinned
// fonts matches its golden, and any changed pixel or size fails with the pictures written.
#include <QFileInfo>

#include "Bitmap.h"
#include "support/Golden.h"
#include "support/GraphicsTestSupport.h"

namespace {

class GoldenSupport : public GoldenTest {
protected:
  // Plain and bold text on the dialog and tooltip colours.
  void Draw(TBitmap& bitmap)
  {
    Fill(bitmap, 120, 44, clBtnFace);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Font()->SetName("MS Sans Serif");
    canvas.Brush()->SetColor(clInfoBk);
    canvas.TextRect(Rect(2, 2, 118, 20), 4, 4, "ABCypg 12.34");
    canvas.Font()->SetStyle(fsBold);
    canvas.Font()->SetColor(0x0000FF);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.TextRect(Rect(2, 22, 118, 42), 4, 24, "P0101 bold");
  }
};

TEST_F(GoldenSupport, DrawingMatchesItsGoldenAndAnyChangeFailsWithThePicturesWritten)
{
  TBitmap bitmap;
  Draw(bitmap);
  EXPECT_EQ(PixelAt(bitmap, 0, 0), 0xF0F0F0) << "clBtnFace is pinned";
  EXPECT_EQ(PixelAt(bitmap, 3, 3), 0xE1FFFF) << "clInfoBk is pinned";
  EXPECT_TRUE(MatchesGolden(bitmap, "golden_support"));
  if (std::getenv("DRAVOLIN_UPDATE_GOLDENS"))
    return;

  const std::string out = DRAVOLIN_GOLDEN_OUTPUT;
  QFile::remove(QString::fromStdString(out + "/golden_support.diff.png"));
  bitmap.Canvas()->Brush()->SetColor(0x123456);
  bitmap.Canvas()->FillRect(Rect(60, 30, 61, 31));
  const ::testing::AssertionResult changed = MatchesGolden(bitmap, "golden_support");
  EXPECT_FALSE(changed);
  EXPECT_NE(std::string(changed.message()).find("1 pixels differ"), std::string::npos) << changed.message();
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(out + "/golden_support.diff.png")));
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(out + "/golden_support.actual.png")));

  bitmap.SetWidth(121);
  EXPECT_FALSE(MatchesGolden(bitmap, "golden_support"));
  EXPECT_FALSE(MatchesGolden(bitmap, "no_such_golden"));
}

}  // namespace
