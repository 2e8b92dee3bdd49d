// The opening end to end, through the real window and the window system: started with a log,
// then the open dialog, the recent list, previous and next, the clipboard and F3 both ways.
// After each step the state is dumped and a picture goes to
// <build>/screenshots/opening/NN-step.png for the eye.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>
#include <functional>
#include <map>

#include "Bitmap.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Memo.h"
#include "PageControl.h"
#include "support/DialogDriver.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

namespace fs = std::filesystem;
using OpeningScreens = ProgramStart;

// The first `lines` lines of a sample log, CR LF as the recorder writes them.
std::string Sample(const char* name, int lines = 1000)
{
  std::string all = ScratchFolder::Read(std::string(DRAVOLIN_TEST_DATA) + "/../../samples/" + name), head;
  for (size_t at = 0; lines-- > 0 && at < all.size();) {
    const size_t end = std::min(all.find('\n', at), all.size() - 1);
    head += all.substr(at, end + 1 - at);
    at = end + 1;
  }
  return head;
}

TEST_F(OpeningScreens, EveryWayOfOpeningShowsTheLogOnTheChartAndF3CarriesTheMoment)
{
  const fs::path shots =
      fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots" / "opening";
  fs::remove_all(shots);
  fs::create_directories(shots);
  fs::create_directories(folder / "logs"), fs::create_directories(folder / "other");
  folder.Write("logs/Q5_a.qel", Sample("Q5_sample.qel", 120));
  folder.Write("logs/Q5_b.qel", Sample("Q5_sample.qel"));
  folder.Write("logs/Q5_c.qel", Sample("Q5_sample.qel", 200));
  folder.Write("other/P7_sample.qel", Sample("P7_sample.qel"));
  folder.Write("other/LH_sample.txt", Sample("LH_sample.txt"));

  CommandLineScope commandLine{{folder / "logs/Q5_b.qel"}};
  BQELunit& u = Start();
  form->SetWindowState(wsNormal);
  form->SetBounds(0, 0, 1100, 760);
  ShowFirstChartMask(u);
  ASSERT_TRUE(RunLoopUntil([&] { return u.TickCount > 10 && !u.ParseRunning; }, 20000));
  form->SetFocus();
  ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));

  auto click = [](TControl* control) { window_input::Click(control->Widget(), QPoint(10, 10)); };
  auto key = [&](int qtKey) {
    form->SetFocus();
    RunLoopUntil([&] { return form->Widget()->isActiveWindow(); });
    window_input::Key(form->Widget(), qtKey);
  };
  DialogDriver driver;
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"started", [] {}},
      {"open-dialog",
       [&] {
         driver.Then<QFileDialog>([&](QFileDialog* d) {
           d->setDirectory(QString::fromStdString(folder / "other"));
           d->findChild<QLineEdit*>("fileNameEdit")->setText("P7_sample.qel");
           static_cast<QDialog*>(d)->accept();
         });
         click(u.OpenButton);
       }},
      {"recent-second-entry",
       [&] {
         // The list drops down under a click; the key moves to the second entry and takes it.
         auto* combo = static_cast<QComboBox*>(u.RecentCombo->Widget());
         window_input::Click(combo, QPoint(20, combo->height() / 2));
         ASSERT_TRUE(RunLoopUntil([&] { return combo->view()->isVisible(); }));
         window_input::Key(combo->view(), Qt::Key_Down);
         window_input::Key(combo->view(), Qt::Key_Return);
       }},
      {"previous", [&] { click(u.PrevButton); }},
      {"previous-wraps", [&] { click(u.PrevButton); }},
      {"next-wraps", [&] { click(u.NextButton); }},
      {"next", [&] { click(u.NextButton); }},
      {"paste",
       [&] {
         QGuiApplication::clipboard()->setText(QString::fromStdString(folder / "other/LH_sample.txt\n"));
         click(u.PasteButton);
       }},
      {"f3-to-text", [&] { key(Qt::Key_F3); }},
      {"caret-further-down-zoom-4",
       [&] {
         u.ZoomX = 4.0;
         u.TextMemo->SetSelStart(u.TextMemo->GetTextLen() * 2 / 3);
         u.TextMemo->SetSelLength(0);
       }},
      {"f3-to-chart", [&] { key(Qt::Key_F3); }},
      {"f3-back-to-text", [&] { key(Qt::Key_F3); }},
  };
  // The chart's picture, one letter for each different one: each log is drawn once parsed, the
  // same log alike.
  std::map<size_t, char> pictures;
  auto picture = [&] {
    const QImage& image = u.ChartBitmap->Image();
    const size_t hash = qHashBits(image.constBits(), static_cast<size_t>(image.sizeInBytes()));
    return pictures.emplace(hash, static_cast<char>('A' + pictures.size())).first->second;
  };
  // The page, the log, its records, the recent list (names in the test's folder), the text's
  // selection, the cursor time and the chart's picture.
  auto state = [&] {
    auto local = [&](std::string name) {
      return name.starts_with(folder.Path()) ? name.substr(folder.Path().size() + 1) : name;
    };
    std::string recent;
    for (int i = 0; i < u.RecentCombo->Items()->Count(); ++i)
      recent += local(u.RecentCombo->Items()->Get(i)) + (i == u.RecentCombo->ItemIndex() ? "* " : " ");
    TTabSheet* page = u.PageControl->ActivePage();
    return std::string(page == u.ChartPage  ? "chart "
                       : page == u.TextPage ? "text "
                                            : "options ") +
           local(u.LogFileName) + " " + std::to_string(u.DataCells->Count()) + " | " + recent + "| " +
           std::to_string(u.TextMemo->SelStart()) + "+" + std::to_string(u.TextMemo->SelLength()) + " " +
           std::to_string(u.CursorTime) + " " + std::to_string(u.PanX) + " " + picture() + "\n";
  };
  std::string seen;
  int number = 0;
  for (const auto& [name, step] : steps) {
    step();
    RunLoopFor(50);
    seen += std::string(name) + ": " + state();
    const QImage shot = form->Widget()->grab().toImage();
    EXPECT_TRUE(
        shot.save(QString::fromStdString(shots.string()) + QString::asprintf("/%02d-%s.png", ++number, name)));
  }
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(
      seen,
      "started: chart logs/Q5_b.qel 236 | logs/Q5_b.qel* | 0+0 0 0 A\n"
      "open-dialog: chart other/P7_sample.qel 231 | other/P7_sample.qel* logs/Q5_b.qel | 0+0 0 0 B\n"
      "recent-second-entry: chart logs/Q5_b.qel 236 | logs/Q5_b.qel* other/P7_sample.qel | 0+0 0 0 A\n"
      "previous: chart logs/Q5_a.qel 104 | logs/Q5_a.qel* other/P7_sample.qel | 0+0 0 0 C\n"
      "previous-wraps: chart logs/Q5_c.qel 179 | logs/Q5_c.qel* other/P7_sample.qel | 0+0 0 0 D\n"
      "next-wraps: chart logs/Q5_a.qel 104 | logs/Q5_a.qel* other/P7_sample.qel | 0+0 0 0 C\n"
      "next: chart logs/Q5_b.qel 236 | logs/Q5_b.qel* other/P7_sample.qel | 0+0 0 0 A\n"
      "paste: chart other/LH_sample.txt 195 | other/LH_sample.txt* logs/Q5_b.qel | 0+0 0 0 E\n"
      // No record at the cursor's time 0: F3 only shows the text.
      "f3-to-text: text other/LH_sample.txt 195 | other/LH_sample.txt* logs/Q5_b.qel | 0+0 0 0 E\n"
      "caret-further-down-zoom-4: text other/LH_sample.txt 195 | other/LH_sample.txt* logs/Q5_b.qel | 4668+0 0 0 "
      "E\n"
      "f3-to-chart: chart other/LH_sample.txt 195 | other/LH_sample.txt* logs/Q5_b.qel | 4668+0 3652 1612 F\n"
      "f3-back-to-text: text other/LH_sample.txt 195 | other/LH_sample.txt* logs/Q5_b.qel | 4667+6 3652 1612 F\n");
}

}  // namespace
