// Fonts: the program's sizes in points and pixels, and the installed look-alikes they map to.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "support/GraphicsTestSupport.h"

namespace {

TEST(Font, NewFontIsMsSansSerifOfElevenPixels)
{
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_EQ(font.QtFont().pixelSize(), 11);
  EXPECT_EQ(QFontInfo(font.QtFont()).family(), "DejaVu Sans");
}

TEST(Font, PointsBecomePixelsAtNinetySixDotsPerInch)
{
  TFont font;
  font.SetName("Verdana");
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -13);
  EXPECT_EQ(font.Size(), 10);
  EXPECT_EQ(font.QtFont().pixelSize(), 13);  // the cached Qt font follows the change
  font.SetHeight(-11);
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
}

TEST(Font, WindowsFamiliesMapToInstalledLookAlikes)
{
  TFont font;
  font.SetName("verdana");  // names compare without regard to case
  EXPECT_EQ(QFontInfo(font.QtFont()).family(), "DejaVu Sans");
  font.SetName("Lucida Console");
  EXPECT_EQ(QFontInfo(font.QtFont()).family(), "DejaVu Sans Mono");
  const QFontMetrics metrics(font.QtFont());
  EXPECT_EQ(metrics.horizontalAdvance("iii"), metrics.horizontalAdvance("WWW"));
}

TEST(Font, PositiveHeightIsTheCellHeight)
{
  TFont font;
  font.SetHeight(20);
  const int cell = QFontMetrics(font.QtFont()).height();
  EXPECT_GE(cell, 19);
  EXPECT_LE(cell, 21);
}

TEST(Font, HeightZeroIsTheDefaultSize)
{
  TFont reference;
  reference.SetName("Verdana");
  const int defaultCell = QFontMetrics(reference.QtFont()).height();
  TFont font;
  font.SetName("Verdana");
  font.SetSize(14);
  font.SetHeight(0);
  EXPECT_EQ(font.Height(), 0);
  EXPECT_EQ(font.QtFont().pixelSize(), 11);
  EXPECT_EQ(QFontMetrics(font.QtFont()).height(), defaultCell);
  font.SetSize(14);
  font.SetSize(0);  // the same through points
  EXPECT_EQ(font.QtFont().pixelSize(), 11);
}

TEST(Font, AssignCopiesEverythingAndTellsTheOwner)
{
  TFont panel;
  panel.SetName("Verdana");
  panel.SetSize(10);
  panel.SetColor(0x808080);
  int panelChanges = 0;
  panel.OnChange = [&] { ++panelChanges; };

  TFont copy;
  int changes = 0;
  copy.OnChange = [&] { ++changes; };
  copy.Assign(&panel);
  copy.SetStyle(copy.Style() | fsBold);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(copy.Name(), "Verdana");
  EXPECT_EQ(copy.Height(), -13);
  EXPECT_EQ(copy.Color(), 0x808080);
  EXPECT_TRUE(copy.QtFont().bold());
  EXPECT_FALSE(panel.QtFont().bold());  // the copy is on its own
  EXPECT_EQ(panelChanges, 0);
}

}  // namespace
