// Colours: the program's byte order, and system colours resolved from the theme when drawn.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include "support/GraphicsTestSupport.h"

namespace {

class ColorsTest : public ::testing::Test {
protected:
  void SetUp() override { saved = QGuiApplication::palette(); }
  void TearDown() override { QGuiApplication::setPalette(saved); }

  QPalette saved;
};

TEST_F(ColorsTest, RedIsTheLowByte)
{
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(ToQColor(0x0080FF), QColor(255, 128, 0));
  EXPECT_EQ(ColorToRGB(0xC0DCC0), 0xC0DCC0);
}

TEST_F(ColorsTest, SystemColoursFollowTheCurrentPalette)
{
  QPalette palette = saved;
  palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
  palette.setColor(QPalette::ToolTipBase, QColor(0x44, 0x55, 0x66));
  palette.setColor(QPalette::Text, QColor(0x01, 0x02, 0x03));
  palette.setColor(QPalette::Base, QColor(0xFA, 0xFB, 0xFC));
  palette.setColor(QPalette::Highlight, QColor(0x10, 0x20, 0xF0));
  palette.setColor(QPalette::HighlightedText, QColor(0xF1, 0xF2, 0xF3));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x332211);
  EXPECT_EQ(ColorToRGB(clInfoBk), 0x665544);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x030201);
  EXPECT_EQ(ColorToRGB(SystemColor(5)), 0xFCFBFA);   // window
  EXPECT_EQ(ColorToRGB(SystemColor(13)), 0xF02010);  // highlight
  EXPECT_EQ(ColorToRGB(SystemColor(14)), 0xF3F2F1);  // highlighted text

  TBitmap bitmap;
  Fill(bitmap, 4, 4, clInfoBk);
  EXPECT_EQ(PixelAt(bitmap, 1, 1), 0x665544);

  // A brush keeps the system colour itself, so the next drawing follows a new theme.
  palette.setColor(QPalette::ToolTipBase, QColor(0x77, 0x88, 0x99));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(bitmap.Canvas()->Brush()->Color(), clInfoBk);
  bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
  EXPECT_EQ(PixelAt(bitmap, 1, 1), 0x998877);
}

TEST_F(ColorsTest, UnknownSystemColourIsBlack)
{
  EXPECT_EQ(ColorToRGB(SystemColor(200)), 0);
}

}  // namespace
