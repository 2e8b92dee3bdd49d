// The whole window, end to end: started as the program starts, with a sample log on its command
// line, then driven through the window system (tabs, flags, sizes, F-keys). After each step a
// picture of the window goes to <build>/screenshots/window/ as NN-step.png, for the eye; the test
// asks that none is blank and that each step that changed something shows a change.
#include <QImage>
#include <QTabBar>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "Buttons.h"
#include "ComCtrls.h"
#include "StdCtrls.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

using WindowScreens = ProgramStart;

TEST_F(WindowScreens, EveryTabLanguageSizeAndKeyShowsAWholeWindow)
{
  const std::filesystem::path shots =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots" / "window";
  std::filesystem::remove_all(shots);
  std::filesystem::create_directories(shots);
  CommandLineScope commandLine{{std::string(DRAVOLIN_TEST_DATA) + "/../../samples/Q5_sample.qel"}};
  BQELunit& u = Start();
  ASSERT_TRUE(RunLoopUntil([&] { return u.TickCount > 10 && !u.ParseRunning; }, 20000));
  ASSERT_GT(u.DataCells->Count(), 0);

  auto tab = [](TPageControl* pages, int index) {
    auto* tabs = pages->Widget()->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    window_input::Click(tabs, tabs->tabRect(index).center());
  };
  auto click = [](TControl* control) { window_input::Click(control->Widget(), QPoint(10, 10)); };
  auto keys = [&](TWinControl* focus) {
    focus->SetFocus();
    for (int key : {Qt::Key_F3, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F10, Qt::Key_F12})
      window_input::Key(form->Widget(), key);
  };
  auto resize = [&](int width, int height) {
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, width, height);
  };
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"started", [] {}},
      {"options-mask", [&] { tab(u.PageControl, 0); }},
      {"options-common", [&] { tab(u.OptionsPageControl, 1); }},
      {"options-help", [&] { tab(u.OptionsPageControl, 2); }},
      {"text", [&] { tab(u.PageControl, 1); }},
      {"chart", [&] { tab(u.PageControl, 2); }},
      {"options", [&] { tab(u.PageControl, 0); }},
      {"options-mask-again", [&] { tab(u.OptionsPageControl, 0); }},
      {"language-button-1", [&] { click(u.LanguageButton); }},
      {"language-button-2", [&] { click(u.LanguageButton); }},
      {"language-button-3", [&] { click(u.LanguageButton); }},
      {"options-common-again", [&] { tab(u.OptionsPageControl, 1); }},
      {"flag-russian", [&] { click(u.RussianButton); }},
      {"flag-english", [&] { click(u.EnglishButton); }},
      {"flag-german", [&] { click(u.GermanButton); }},
      {"size-800x600", [&] { resize(800, 600); }},
      {"size-1600x1000", [&] { resize(1600, 1000); }},
      {"text-german", [&] { tab(u.PageControl, 1); }},
      {"keys-in-memo", [&] { keys(u.TextMemo); }},
      {"keys-in-edit", [&] { keys(u.FindEdit); }},
      {"chart-german", [&] { tab(u.PageControl, 2); }},
      {"keys-in-combo", [&] { keys(u.ChartMaskCombo); }},
  };
  // What a step must show changed: another page, language or size.
  auto state = [&] {
    return std::tuple(u.PageControl->ActivePage(), u.OptionsPageControl->ActivePage(), u.Language, form->Width());
  };
  QImage previous;
  int number = 0;
  for (const auto& [name, step] : steps) {
    const auto before = state();
    step();
    RunLoopFor(50);
    const QImage shot = form->Widget()->grab().toImage();
    EXPECT_TRUE(
        shot.save(QString::fromStdString(shots.string()) + QString::asprintf("/%02d-%s.png", ++number, name)));
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 7)
      for (int x = 0; x < shot.width(); x += 7)
        colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 8u) << name << " is blank";
    EXPECT_TRUE(state() == before || shot != previous) << name << " changed nothing";
    previous = shot;
  }
}

}  // namespace
