// Fonts (sizes in points and pixels, the installed look-alikes) and colours (the program's byte
// order, system colours resolved from the theme when drawn).
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

#include "support/GraphicsTestSupport.h"

namespace {

TEST(Font, PointsAndPixelsAtNinetySixDotsPerInchWithZeroTheDefault)
{
  TFont font;
  EXPECT_EQ(font.Height(), -11);  // 8 points
  font.SetName("Verdana");
  const int defaultCell = QFontMetrics(font.QtFont()).height();
  // {points set, height read, Qt's pixel size}; 10 points are 13.33 pixels.
  const int rows[][3] = {{10, -13, 13}, {9, -12, 12}, {0, 0, 11}};
  for (const auto& row : rows) {
    font.SetSize(row[0]);
    EXPECT_EQ(font.Height(), row[1]) << row[0];
    EXPECT_EQ(font.QtFont().pixelSize(), row[2]) << row[0];  // the cached Qt font follows
  }
  EXPECT_EQ(QFontMetrics(font.QtFont()).height(), defaultCell);
  font.SetHeight(-13);
  EXPECT_EQ(font.Size(), 10);
  font.SetHeight(20);  // positive: the cell height
  EXPECT_NEAR(QFontMetrics(font.QtFont()).height(), 20, 1);
}

TEST(Font, WindowsFamiliesMapToInstalledLookAlikesWhateverTheCase)
{
  const char* rows[][2] = {
      {"MS Sans Serif", "DejaVu Sans"}, {"verdana", "DejaVu Sans"}, {"LUCIDA CONSOLE", "DejaVu Sans Mono"}};
  TFont font;
  for (const auto& row : rows) {
    font.SetName(row[0]);
    EXPECT_EQ(QFontInfo(font.QtFont()).family(), row[1]) << row[0];
  }
  const QFontMetrics metrics(font.QtFont());
  EXPECT_EQ(metrics.horizontalAdvance("iii"), metrics.horizontalAdvance("WWW"));
}

class ColorsTest : public ::testing::Test {
protected:
  void TearDown() override { QGuiApplication::setPalette(saved); }

  QPalette saved = QGuiApplication::palette();
};

TEST_F(ColorsTest, RedIsTheLowByteAndSystemColoursAreThePalettesOfTheMoment)
{
  EXPECT_EQ(ToQColor(0x0080FF), QColor(255, 128, 0));
  EXPECT_EQ(ColorToRGB(SystemColor(200)), 0);  // no such system colour: black
  QPalette palette = saved;
  palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
  palette.setColor(QPalette::ToolTipBase, QColor(0x44, 0x55, 0x66));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x332211);
  EXPECT_EQ(ColorToRGB(clInfoBk), 0x665544);
}

}  // namespace
