// The chart drawn where the window asks for it: after a parse, on showing the Chart page (a
// style change redraws, a speed change parses first), after a resize and a language switch;
// never from inside a parse.
#include <QImage>
#include <QTabBar>

#include "Application.h"
#include "Bitmap.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "Edit.h"
#include "PageControl.h"
#include "PaintBox.h"
#include "RadioButton.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

class ChartWiring : public ProgramStart {
protected:
  // Started with a log shown on the Chart page, in a window of a known size.
  BQELunit& Started()
  {
    BQELunit& u = Start();
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, 900, 640);
    ShowFirstChartMask(u);
    u.OpenLogFile(folder.Write(
        "Q5_a.qel", ScratchFolder::Read(std::string(DRAVOLIN_TEST_DATA) + "/../../samples/Q5_sample.qel")));
    return u;
  }
  // The picture emptied, so that a drawing shows.
  static void Blank(BQELunit& u)
  {
    u.ChartBitmap->Canvas()->Brush()->SetColor(0);
    u.ChartBitmap->Canvas()->FillRect(Rect(0, 0, u.ChartBitmap->Width(), u.ChartBitmap->Height()));
  }
  // Drawn since: the margins have their colour again; and the picture's width.
  static std::string Drawn(BQELunit& u)
  {
    const QImage& image = u.ChartBitmap->Image();
    return (image.pixel(2, 2) != qRgb(0, 0, 0) ? "drawn " : "blank ") + std::to_string(image.width());
  }
  static void Tab(TPageControl* pages, int index)
  {
    auto* tabs = pages->Widget()->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    window_input::Click(tabs, tabs->tabRect(index).center());
  }
};

int Parses = 0;

// Back on the Chart page after a style change the chart is drawn again from the same records;
// after a change of the reading speed the log is parsed first.
TEST_F(ChartWiring, APageChangeRedrawsAfterAStyleChangeAndParsesAfterASpeedChange)
{
  BQELunit& u = Started();
  u.ShowProgress = 1;
  u.ProgressHook = [](BQELunit&, int stage, int64_t, int64_t at) { Parses += stage == 1 && at < 0; };
  std::string seen;
  for (const auto& change : {+[](BQELunit& unit) { unit.ParamStyleRadio2->SetChecked(true); },
                             +[](BQELunit& unit) { unit.FramePeriodEdit->SetText("20"); }}) {
    Tab(u.PageControl, 0);
    change(u);
    Blank(u);
    Parses = 0;
    Tab(u.PageControl, 2);
    seen += Drawn(u) + " parses " + std::to_string(Parses) + "|";
  }
  u.ProgressHook = nullptr;
  const std::string width = std::to_string(u.ChartPaintBox->Width());
  EXPECT_EQ(seen, "drawn " + width + " parses 0|drawn " + width + " parses 1|");
  EXPECT_EQ(u.ParamChartStyle, 0);
  // The status bar's readouts follow each drawing: the zoom of the view drawn.
  u.ZoomX = 2.0;
  Tab(u.PageControl, 0);
  Tab(u.PageControl, 2);
  EXPECT_EQ(u.ChartStatusBar->Panels()->Items(0)->Text(), "X: 2.00");
}

std::string DuringParse;

// Drawn again at its new size after a resize; a resize while a parse runs is drawn once the
// parse has ended, even when it was broken off.
TEST_F(ChartWiring, AResizeDrawsTheChartNeverInsideAParse)
{
  BQELunit& u = Started();
  std::string seen;
  Blank(u);
  form->SetBounds(0, 0, 1000, 700);
  seen += Drawn(u) + " " + std::to_string(u.ChartPaintBox->Width()) + "|";

  Blank(u);
  u.ShowProgress = 1;
  u.ProgressHook = [](BQELunit& unit, int stage, int64_t, int64_t) {
    if (stage != 3 || unit.AbortFlag)
      return;
    // As the progress window's pump delivers it.
    unit.Owner->SetBounds(0, 0, 800, 600);
    Application->ProcessMessages();
    DuringParse = Drawn(unit) + " " + std::to_string(unit.ChartPaintBox->Width());
    unit.AbortFlag = 1;
  };
  u.ParseLogText();
  seen += DuringParse + "|" + Drawn(u) + "|";
  RunLoopFor(50);
  seen += Drawn(u) + " " + std::to_string(u.ChartPaintBox->Width());
  u.ProgressHook = nullptr;
  EXPECT_EQ(seen, "drawn 660 660|blank 660 460|blank 660|drawn 460 460");
}

}  // namespace
