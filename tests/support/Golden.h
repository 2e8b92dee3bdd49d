#pragma once
// Golden pictures: a drawing compared pixel for pixel with a PNG under tests/data/golden/.
//
//   class LegendGolden : public GoldenTest {};      // pins the look before the test draws
//   EXPECT_TRUE(MatchesGolden(bitmap, "legend_rows"));
//
// A mismatch writes <name>.actual.png and <name>.diff.png (differing pixels red over a faded
// copy of the golden) into the build tree's golden-out/ folder and fails with their paths.
// DRAVOLIN_UPDATE_GOLDENS=1 in the environment writes the actual picture as the new golden
// instead (look at it before committing).
//
// Goldens depend on the code only. Before main, every test program linking this support points
// fontconfig at the build tree's golden-fonts.conf: the DejaVu files of fonts-dejavu-core and
// nothing else, grey antialiasing with slight hinting, no sub-pixel order, no embedded bitmaps;
// and the desktop's own settings (its name, scale factors) are cleared, so Qt follows that file.
// PinGoldenLook() sets fixed application palette colours (clBtnFace, clInfoBk and the rest) and
// checks that "DejaVu Sans" really is the family drawn. What remains is the FreeType and Qt
// versions of the machine: a golden made on another distribution may differ in text pixels.
#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "Graphics.h"

// Sets the fixed palette (idempotent); fails the running test when DejaVu Sans is missing.
void PinGoldenLook();

class GoldenTest : public ::testing::Test {
protected:
  void SetUp() override { PinGoldenLook(); }
};

// name: the golden's file name without ".png" (letters, digits, '_' and '-').
::testing::AssertionResult MatchesGolden(const QImage& image, const std::string& name);
::testing::AssertionResult MatchesGolden(TBitmap& bitmap, const std::string& name);
