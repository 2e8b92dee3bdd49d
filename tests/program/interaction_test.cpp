// The chart under the user's hand, on the shown main form with input through the window system:
// cursor, crosshair and value window, drags, double click, the zoom keys, the legend, the
// splitters and the status bar. Each scene is saved to <build>/screenshots/chart/NAME.png.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>

#include "Bitmap.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Mouse.h"
#include "StdCtrls.h"
#include "support/Records.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

using window_input::Mouse;

class ChartInteraction : public ProgramStart {
protected:
  void SetUp() override
  {
    unit.Language = 1, unit.ApplyLanguage(), form->SetFocus();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }
  // A log of `span` ms on a plot of 1000 x 500 pixels: "P2" every second (its second modulo
  // 50) and "KEYON" on from 20 s to 40 s, both in the shown mask "Chart" and its value window.
  void ShowLog(int64_t span, int extraItems = 0)
  {
    unit.LogFileName = folder.Write("chart.qel", "text\r\n");
    AddItem(unit.TypeCells, 2, "P2");
    AddStatus(unit, "KEYON")->Label = "F10118";
    for (int64_t t = 0; t < span; t += 1000) {
      AddLine(unit, 2, t, static_cast<double>(t / 1000 % 50));
      AddLine(unit, KindStatus, t, 0.0, t >= 20000 && t < 40000 ? "KEYON" : "", "F10118");
    }
    AddLine(unit, 2, span, 7.0), LinkLines(unit);
    mask = AddMask(unit, "Chart");
    AddItem(mask->Items, 2, "P2")->Cursor = 1;
    AddItem(mask->Items, StatusItemId, "KEYON")->Cursor = 1;
    for (int i = 0; i < extraItems; ++i)
      AddItem(mask->Items, 1000 + i, "X" + std::to_string(i));
    unit.ChartMaskCombo->Items()->Clear(), unit.ChartMaskCombo->Items()->Add("Chart");
    unit.ChartMaskCombo->SetItemIndex(0), unit.ChartMaskIndex = 0, unit.CalcValueRange();
    for (int i = 0; i < 3; ++i) {
      form->SetClientWidth(form->ClientWidth() + 1065 - unit.ChartPaintBox->Width());
      form->SetClientHeight(form->ClientHeight() + 550 - unit.ChartPaintBox->Height());
    }
    unit.CalcCursorValues(), unit.DrawChart(), unit.DrawValuePanels(), unit.DrawErrorPanel();
    unit.ShowZoomStatus(), Settle();
    ASSERT_EQ(std::pair(unit.PlotWidth, unit.PlotHeight), std::pair(1000, 500));
  }

  QWidget* Chart() { return unit.ChartPaintBox->Widget(); }
  void Settle()
  {
    for (int i = 0; i < 3; ++i)
      QCoreApplication::processEvents();
  }
  void Move(int x, int y, Qt::MouseButtons held = Qt::NoButton)
  {
    Mouse(Chart(), QEvent::MouseMove, QPoint(x, y), Qt::NoButton, held, 10), Settle();
  }
  void Drag(Qt::MouseButton button, QPoint from, QPoint to)
  {
    window_input::Press(Chart(), from, button), Move(to.x(), to.y(), button);
    window_input::Release(Chart(), to, button), Settle();
  }
  // Panels 0 to 2 (3 also when `all`), or those with the pan and its shares.
  std::string Readouts(bool all = false)
  {
    std::string s;
    for (int i = 0; i < (all ? 4 : 3); ++i)
      s += (i ? "|" : "") + unit.ChartStatusBar->Panels()->Items(i)->Text();
    return s;
  }
  std::string View()
  {
    char s[160];
    std::snprintf(s, sizeof s, "%s pan %d,%d %.2f%%,%.2f%%; ", Readouts().c_str(), unit.PanX, unit.PanY,
                  unit.PanPercentX, unit.PanPercentY);
    return s;
  }
  std::string Flags()
  {
    return std::to_string(mask->Items->Get(0)->Chart) + std::to_string(mask->Items->Get(1)->Chart) + " ";
  }
  QImage Surface() { return *unit.ChartPaintBox->Canvas()->Target(); }
  // What the window system shows of the paint box (only what was repainted reaches it), as
  // far as the screen reaches.
  QImage OnScreen()
  {
    const QPoint at = Chart()->mapTo(Chart()->window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(Chart()->window()->winId(), at.x(), at.y(), Chart()->width(), Chart()->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }
  void Shot(const std::string& name)
  {
    static const std::filesystem::path shots = [] {
      auto path =
          std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots/chart";
      std::filesystem::create_directories(path);
      std::printf("chart screenshots in %s\n", path.c_str());
      return path;
    }();
    Settle(), form->Widget()->grab().save(QString::fromStdString((shots / (name + ".png")).string()));
  }

  BQELunit& unit = Start();
  LMaskCell* mask = nullptr;
};

// A move shows the cursor's time and value, the dotted crosshair and the value window beside
// the pointer; outside the plot the crosshair's line of that direction goes, the window too.
TEST_F(ChartInteraction, MovesShowTheCrosshairTheValueWindowAndTheReadouts)
{
  ShowLog(123450);
  Move(160, 100);
  EXPECT_EQ(Readouts(true), "X: 1.00|Y: 1.00|12.345 sec.|" + std::to_string(unit.CursorValue));
  QImage screen = Surface();
  const QImage picture = unit.ChartBitmap->Image(), window = unit.ValueWindowBitmap->Image();
  ASSERT_GT(window.width(), 0);
  EXPECT_EQ(screen.copy(210, 103, window.width(), window.height()), window);
  EXPECT_EQ(screen.pixel(160, 5) & 0xFFFFFF, 0xFF00FFu);
  EXPECT_EQ(screen.pixel(60, 100) & 0xFFFFFF, 0xFF00FFu);
  EXPECT_EQ(screen.pixel(600, 300), picture.pixel(600, 300));
  Shot("move");

  Move(20, 100);
  screen = Surface();
  // The column where the vertical line was, but for the horizontal line's pixel on it.
  EXPECT_EQ(screen.copy(160, 0, 1, 100), picture.copy(160, 0, 1, 100));
  EXPECT_EQ(screen.copy(160, 101, 1, 400), picture.copy(160, 101, 1, 400));
  EXPECT_EQ(screen.copy(210, 103, window.width(), window.height()),
            picture.copy(210, 103, window.width(), window.height()));
  EXPECT_EQ(screen.pixel(96, 100) & 0xFFFFFF, 0xFF00FFu);
  Shot("move-left-of-plot");
}

// After any run of moves, drags and mask changes the paint box holds what a whole new paint
// gives, and the window system shows the same: the small repaints missed nothing.
TEST_F(ChartInteraction, CursorLayersMatchAWholePaint)
{
  ShowLog(100000);
  std::mt19937 random(7);
  for (int round = 0; round < 120; ++round) {
    const int x = static_cast<int>(random() % 1100), y = static_cast<int>(random() % 520);
    if (round % 17 == 0)
      mask->UnderCursor = !mask->UnderCursor;
    if (round % 23 == 5)
      Drag(Qt::RightButton, QPoint(x, y), QPoint(x + 7, y));
    else
      Move(x, y);
    // The screen may be narrower than the window.
    const QImage layered = Surface(), shown = OnScreen();
    ASSERT_EQ(shown, layered.copy(0, 0, shown.width(), shown.height())) << round;
    unit.ChartScreen.Valid = false, unit.ChartPaint(nullptr);
    ASSERT_EQ(Surface(), layered) << round;
  }
  // A new generation of data repaints the whole: nothing of the old screen survives.
  unit.ChartPaintBox->Canvas()->Pen()->SetColor(0x123456);
  unit.ChartPaintBox->Canvas()->MoveTo(1, 1), unit.ChartPaintBox->Canvas()->LineTo(1, 40);
  unit.DropChartCaches(), unit.ChartPaint(nullptr);
  EXPECT_EQ(Surface().pixel(1, 20), unit.ChartBitmap->Image().pixel(1, 20));
}

// Left drags pan, right drags zoom around the press point (Y only when enabled), a double click
// shows all; a drag pans or zooms only when its button went down on the chart; the pan's
// share follows every zoom.
TEST_F(ChartInteraction, DragsPanAndZoomOnlyFromAPressOnTheChart)
{
  ShowLog(100000);
  std::string seen;
  Drag(Qt::LeftButton, {500, 200}, {400, 200}), seen += View();
  Drag(Qt::RightButton, {500, 200}, {550, 200}), seen += View();
  Drag(Qt::LeftButton, {500, 200}, {450, 230}), seen += View();
  // Qt sends held buttons only to where they went down; other window systems may not (a
  // dialog closed by a double click over the chart): here the handler is called so.
  unit.ChartMouseMove(nullptr, {ssLeft}, 700, 200), unit.ChartMouseMove(nullptr, {ssRight}, 900, 200);
  seen += View();
  Drag(Qt::RightButton, {500, 200}, {300, 200}), seen += View();
  unit.EnableYZoom = 1, Drag(Qt::RightButton, {500, 200}, {500, 150}), seen += View();
  Shot("zoomed-x-and-y");
  unit.EnableYZoom = 0, Drag(Qt::RightButton, {500, 200}, {500, 100}), seen += View();
  window_input::DoubleClick(Chart(), {300, 300}), Settle(), seen += View();
  EXPECT_EQ(seen, "X: 1.00|Y: 1.00|34.000 sec. pan 0,0 0.00%,0.00%; "
                  "X: 2.00|Y: 1.00|46.500 sec. pan 440,0 22.00%,0.00%; "
                  "X: 2.00|Y: 1.00|44.000 sec. pan 490,0 24.50%,0.00%; "
                  "X: 2.00|Y: 1.00|66.500 sec. pan 490,0 24.50%,0.00%; "
                  "X: 1.00|Y: 1.00|24.000 sec. pan 0,0 0.00%,0.00%; "
                  "X: 1.00|Y: 2.00|44.000 sec. pan 0,195 0.00%,19.50%; "
                  "X: 1.00|Y: 2.00|44.000 sec. pan 0,195 0.00%,19.50%; "
                  "X: 1.00|Y: 1.00|24.000 sec. pan 0,0 0.00%,0.00%; ");
  Shot("double-click");
}

// However far the drag, the zoomed plot stays within 2^30 pixels and the pan inside it.
TEST_F(ChartInteraction, ZoomStopsAtItsCap)
{
  ShowLog(100000);
  // Far beyond any screen, where the window system sends no pointer: the handler directly.
  window_input::Press(Chart(), {60, 200}, Qt::RightButton);
  for (int step = 0; step < 2; ++step)
    unit.ChartMouseMove(nullptr, {ssRight}, 1 << 30, 200), Settle();
  window_input::Release(Chart(), {60, 200}, Qt::RightButton), Settle();
  EXPECT_LE(unit.ZoomedWidth, 1 << 30);
  EXPECT_GE(unit.ZoomedWidth, (1 << 30) - 1);
  EXPECT_EQ(Readouts().substr(0, 13), "X: 1073741.82");
  EXPECT_TRUE(unit.PanX >= 0 && unit.PanX <= unit.ZoomedWidth - unit.PlotWidth) << unit.PanX;
}

// F5 to F8 show their seconds around the cursor and ask for the pointer at the plot's middle;
// a span below 1 counts as its default; nothing without a shown log or a time span.
TEST_F(ChartInteraction, ZoomKeysShowTheirSecondsAroundTheCursor)
{
  ShowLog(100000);
  std::string seen;
  const auto key = [&](int qtKey) {
    ::Mouse->SetCursorPos(TPoint{5000, 5000});
    window_input::Key(form->Widget(), qtKey), Settle();
    const TPoint pointer = ::Mouse->CursorPos(), origin = unit.ChartPaintBox->ClientOrigin();
    seen += Readouts().substr(0, Readouts().rfind('|')) + View().substr(View().find(" pan")) +
            (pointer.x == 5000 && pointer.y == 5000
                 ? std::string("-")
                 : std::to_string(pointer.x - origin.x) + "," + std::to_string(pointer.y - origin.y)) +
            "\n";
  };
  Move(560, 200), key(Qt::Key_F5);
  Shot("f5");
  key(Qt::Key_F8);
  Shot("f8");
  Move(60, 200), key(Qt::Key_F5), key(Qt::Key_F8);
  Move(560, 200), unit.ZoomSeconds[0] = 0, unit.ZoomSeconds[1] = -3, key(Qt::Key_F5), key(Qt::Key_F6),
                  key(Qt::Key_F8);
  unit.LogFileName = "", key(Qt::Key_F5);
  unit.LogFileName = folder / "chart.qel", unit.TimeSpan = 0, key(Qt::Key_F7);
  unit.TimeSpan = 100000, unit.PageControl->SetActivePage(unit.TextPage), key(Qt::Key_F7);
  EXPECT_EQ(seen, "X: 10.00|Y: 1.00 pan 4500,0 45.00%,0.00%; 560,255\n"
                  "X: 1.00|Y: 1.00 pan 0,0 0.00%,0.00%; 560,255\n"
                  "X: 10.00|Y: 1.00 pan 0,0 0.00%,0.00%; 560,255\n"
                  "X: 1.00|Y: 1.00 pan 0,0 0.00%,0.00%; 560,255\n"
                  "X: 10.00|Y: 1.00 pan 4500,0 45.00%,0.00%; 560,255\n"
                  "X: 3.33|Y: 1.00 pan 1166,0 34.98%,0.00%; 560,255\n"
                  "X: 1.00|Y: 1.00 pan 0,0 0.00%,0.00%; 560,255\n"
                  "X: 1.00|Y: 1.00 pan 0,0 0.00%,0.00%; -\n"
                  "X: 1.00|Y: 1.00 pan 0,0 0.00%,0.00%; -\n"
                  "X: 1.00|Y: 1.00 pan 0,0 0.00%,0.00%; -\n");
}

// A click toggles the row under the pointer at the click, rows as the legend drew them (not
// as the bold fault panel measured last), also after a wheel scroll under a still pointer;
// a click between rows toggles nothing.
TEST_F(ChartInteraction, LegendClickTogglesTheRowUnderThePointer)
{
  ShowLog(100000, 40);
  QWidget* legend = unit.LegendPaintBox->Widget();
  const int pitch = unit.LegendRowHeight + unit.PanelRowSpacing, middle = unit.LegendRowHeight / 2;
  const auto row = [&](int r) { return QPoint(100, pitch * r + unit.PanelRowSpacing + middle); };
  std::string seen = Flags();
  window_input::Click(legend, row(0)), seen += Flags();
  window_input::Click(legend, QPoint(100, pitch + unit.PanelRowSpacing / 2)), seen += Flags();
  unit.TextHeight = unit.LegendRowHeight + 20, window_input::Click(legend, row(1)), seen += Flags();
  Shot("legend-click");
  Mouse(legend, QEvent::MouseMove, row(0), Qt::NoButton, Qt::NoButton);
  const QPoint still = legend->mapTo(legend->window(), row(0));
  unit.LegendScrollBox->VertScrollBar()->SetPosition(pitch), Settle();
  window_input::Click(legend, legend->mapFrom(legend->window(), still)), seen += Flags();
  EXPECT_EQ(seen, "11 01 01 00 01 ");
}

// Both splitters store what they moved; the chart follows the column's width.
TEST_F(ChartInteraction, SplittersStoreTheColumnAndTheFaultPanelShare)
{
  ShowLog(100000);
  const auto drag = [&](TControl* splitter, QPoint by) {
    const QPoint middle(splitter->Width() / 2, splitter->Height() / 2);
    window_input::Press(splitter->Widget(), middle);
    Mouse(splitter->Widget(), QEvent::MouseMove, middle + by, Qt::NoButton, Qt::LeftButton);
    window_input::Release(splitter->Widget(), middle + by), Settle();
  };
  drag(unit.LegendSplitter, {0, -60});
  EXPECT_NE(unit.LegendHeightPercent, 30);
  EXPECT_EQ(unit.LegendHeightPercent, unit.FaultScrollBox->Height() * 100 / unit.ChartColumnPanel->ClientHeight());
  const int column = unit.LeftColumnWidth;
  drag(unit.ChartSplitter, {100, 0});
  EXPECT_EQ(std::to_string(unit.LeftColumnWidth - column) + " " + std::to_string(unit.PlotWidth), "100 900");
  Shot("splitters");
}

// The status names wrap onto as many lines as the bar is tall, black while on at the cursor;
// the bar repaints only for a change of what it shows; a parse that broke down is told in red
// until a whole one.
TEST_F(ChartInteraction, StatusBarShowsTheNamesAndTheStateOfTheLog)
{
  ShowLog(100000);
  for (int i = 0; i < 12; ++i)
    AddItem(mask->Items, StatusItemId, "STATUSNAME" + std::to_string(i));
  const int unitHeight = unit.ChartMaskCombo->Height();
  const auto bar = [&] {
    Settle();
    return unit.ChartStatusBar->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  // Bands of pixel rows of panel 4 holding text, and whether a pixel is (nearly) r, g, b.
  const auto look = [&](int r, int g, int b) {
    const QImage image = bar();
    const TRect panel = unit.ChartStatusBar->PanelRect(4);
    int bands = 0, found = 0;
    bool before = false;
    for (int y = panel.top; y < panel.bottom; ++y) {
      bool text = false;
      for (int x = panel.left; x < panel.right; ++x) {
        const QRgb p = image.pixel(x, y);
        text |= qGray(p) < 150;
        found |= std::abs(qRed(p) - r) < 40 && std::abs(qGreen(p) - g) < 40 && std::abs(qBlue(p) - b) < 40;
      }
      bands += text && !before;
      before = text;
    }
    return std::pair{bands, found != 0};
  };
  // At every width the bar is as many combo heights tall as the lines of names it draws, all
  // of them seen in a bar made taller for the count.
  unit.CalcValueRange();
  std::string seen;
  int most = 0;
  for (int width : {1300, 1150, 1000, 850, 700}) {
    form->SetClientWidth(width), Move(360, 200);
    const int height = unit.ChartStatusBar->Height();
    const TNotifyEvent resize = unit.ChartStatusBar->OnResize;
    unit.ChartStatusBar->OnResize = nullptr, unit.ChartStatusBar->SetHeight(400);
    const auto [bands, black] = look(0, 0, 0);
    unit.ChartStatusBar->SetHeight(height), unit.ChartStatusBar->OnResize = resize;
    seen += std::to_string(height - bands * unitHeight) + (black ? "+" : "-") + " ";
    most = std::max(most, bands);
  }
  EXPECT_GE(most, 3);
  Shot("status-names-on");
  Move(61, 200), seen += look(0, 0, 0).second ? "+ " : "- ";
  unit.MultiLineStatuses = 0, unit.CalcValueRange(),
  seen += std::to_string(unit.ChartStatusBar->Height() / unitHeight);
  EXPECT_EQ(seen, "0+ 0+ 0+ 0+ 0+ - 1");

  struct Paints : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override { return count += e->type() == QEvent::Paint, false; }
  } paints;
  unit.ChartStatusBar->Widget()->installEventFilter(&paints);
  unit.ChartMouseMove(nullptr, {}, 300, 200), Settle(), paints.count = 0;
  unit.ChartMouseMove(nullptr, {}, 300, 200), Settle();
  EXPECT_EQ(paints.count, 0);

  unit.ParseFailed = 1, unit.ShowZoomStatus();
  EXPECT_EQ(look(255, 0, 0), std::pair(1, true));
  Shot("part-read");
  unit.ParseFailed = 0, unit.ShowZoomStatus();
  EXPECT_FALSE(look(255, 0, 0).second);
  std::set<std::string> notes;
  for (int language : {0, 1, 2}) {
    AnsiString text;
    unit.Language = language, notes.insert(unit.GetPartReadText(text));
  }
  EXPECT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes.count(""), 0u);
}

// While a parse runs the handlers that read the log leave everything as it was.
TEST_F(ChartInteraction, NothingMovesWhileAParseRuns)
{
  ShowLog(100000);
  Move(300, 200);
  const std::string before = View() + Flags();
  unit.ParseRunning = 1;
  Drag(Qt::RightButton, {300, 200}, {500, 100}), Move(700, 300);
  window_input::DoubleClick(Chart(), {400, 300}), window_input::Key(form->Widget(), Qt::Key_F5);
  window_input::Click(unit.LegendPaintBox->Widget(), QPoint(100, 15)), Settle();
  unit.ParseRunning = 0;
  EXPECT_EQ(View() + Flags(), before);
}
}  // namespace
