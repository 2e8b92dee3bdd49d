#include <QCheckBox>
#include <QStyle>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "CheckBox.h"
#include "ExtCtrls.h"
#include "support/FormTest.h"

namespace {

class CheckBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    check = new TCheckBox(form.get());
    check->SetParent(form.get());
  }

  QCheckBox* Box() const { return static_cast<QCheckBox*>(check->Widget()); }

  TCheckBox* check = nullptr;
};

TEST_F(CheckBoxTest, ASmallBoxKeepsItsCentreAndShowsTheWholeIndicator)
{
  const int indicatorWidth = Box()->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, Box());
  const int indicatorHeight = Box()->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, Box());
  // The rows' boxes: 13 × 13 without a caption.
  check->SetBounds(100, 50, 13, 13);
  EXPECT_EQ(check->Width(), 13);
  EXPECT_EQ(check->Height(), 13);
  const QRect shown = Box()->geometry();
  EXPECT_EQ(shown.width(), std::max(13, indicatorWidth));
  EXPECT_EQ(shown.height(), std::max(13, indicatorHeight));
  // Centre 106.5, 56.5 within half a pixel.
  EXPECT_LE(std::abs(2 * shown.x() + shown.width() - 213), 1);
  EXPECT_LE(std::abs(2 * shown.y() + shown.height() - 113), 1);
  // A box as large as the indicator or larger is shown as set.
  check->SetBounds(10, 20, 400, 30);
  EXPECT_EQ(Box()->geometry(), QRect(10, 20, 400, 30));
}

}  // namespace
