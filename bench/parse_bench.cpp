// parse_bench <log> [--old] [--language N] [--speed HZ] [--window | --no-progress]: parses a
// log with the real central object and prints what it found and how long it took, one
// "name: value" a line. The speed stands for the one detected from the recorder's logs when
// none lies beside the log. By default the parse runs headless but reports its stages as with
// the progress option on; --window parses in the program's main window with the progress window
// shown, --no-progress with the option off (then only parse_text_ms is measured).
// --pump-every-look (with --window) serves the window at every look the parse takes, as the
// parse did before the window was served at most every 30 ms.
// --then LOG parses a second log after the first and prints then_rss_mb, what the process holds
// after it: against a run that parses LOG alone, what the first log left behind.
// --break-at STAGE[:MS] (with --window) presses Break MS milliseconds (default 0) after the
// stage starts, from a timer as the user's click would come, and prints break_ms: from the
// moment the timer was due to the return of the parse.
//
//   load_ms   from the start of the parse to the log in the text view
//   parse_ms  the walk over the lines and the links (stages 2 and 3)
//   total_ms  both
//   parse_text_ms  the whole parse, from its call to its return
//   scan_ms   the file read into one buffer and its line breaks counted with memchr, the
//             least any reader of the file has to do (same run, same file, before the parse)
//   value_range_ms  CalcValueRange once more on the parsed log
//   cursor_ms       one CalcCursorValues with the cursor in the middle of the log
//   close_ms        the central object deleted, as the window's close does: settings saved,
//                   records, lists and text view freed
//   digest    a hash of every record, link, parameter, fault interval, message and of the text
//             view, so that a faster parse can be shown to give the same results
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>
#include <QTimer>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "ComboBox.h"
#include "CommandLine.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Memo.h"
#include "MemoView.h"
#include "app/Progress.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"

namespace {

using bench::Clock;
using bench::Ms;

Clock::time_point loaded, linked;
bool loadSeen = false, linkSeen = false;

// The parse says when each stage starts: the walk (2) once the text view is loaded, the
// chart state (4) once the records are linked.
int breakStage = 0, breakDelayMs = 0;
Clock::time_point breakDue;
bool breakArmed = false;

void MarkStages(BQELunit& unit, int stage, int64_t, int64_t position)
{
  if (position >= 0)
    return;
  if (stage == breakStage && !breakArmed) {
    breakArmed = true;
    breakDue = Clock::now() + std::chrono::milliseconds(breakDelayMs);
    QTimer::singleShot(breakDelayMs, [&unit] { unit.Progress->AbortClick(nullptr); });
  }
  if (stage == 2 && !loadSeen) {
    loadSeen = true;
    loaded = Clock::now();
  } else if (stage == 4 && !linkSeen) {
    linkSeen = true;
    linked = Clock::now();
  }
}

long long ScanLines(const std::string& file, double& ms)
{
  const auto start = Clock::now();
  const std::string bytes = bench::ReadWholeFile(file);
  long long lines = 0;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
    ++lines;
    ++p;
  }
  ms = Ms(start, Clock::now());
  return lines;
}

// FNV-1a over everything the parse produced, in list order.
class Digest {
public:
  void Bytes(const void* data, size_t size)
  {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
      hash_ = (hash_ ^ p[i]) * 0x100000001b3ull;
  }
  template <class T>
  void Value(const T& value)
  {
    Bytes(&value, sizeof value);
  }
  void Text(std::string_view text)
  {
    Value(text.size());
    Bytes(text.data(), text.size());
  }
  uint64_t Hash() const { return hash_; }

private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

uint64_t DigestOf(const BQELunit& unit, const MemoStore* store)
{
  Digest d;
  const int count = unit.DataCells->Count();
  d.Value(count);
  for (int i = 0; i < count; ++i) {
    const LDataCell& cell = *unit.DataCells->Get(i);
    d.Value(cell.Index);
    d.Value(cell.TextPos);
    d.Value(cell.Time);
    d.Text(cell.Code.Str());
    d.Value(cell.Kind);
    d.Value(cell.Value);
    d.Text(cell.Text.Str());
    d.Value(cell.Next ? cell.Next->Index : -1);
    d.Value(cell.Prev ? cell.Prev->Index : -1);
  }
  for (int i = 0; i < unit.TypeCells->Count(); ++i) {
    const LTypeCell& type = *unit.TypeCells->Get(i);
    d.Value(type.Id);
    d.Text(type.NameRu);
    d.Text(type.NameEn);
    d.Text(type.NameDe);
  }
  for (int i = 0; i < unit.ErrorCells->Count(); ++i) {
    const LErrorCell& interval = *unit.ErrorCells->Get(i);
    d.Value(interval.Time);
    d.Value(interval.HasActual + 2 * interval.HasPost + 4 * interval.Erase + 8 * interval.Changed);
    for (const TStringList* list : {interval.Codes, interval.Kinds})
      for (int k = 0; list && k < list->Count(); ++k)
        d.Text(list->Strings(k));
  }
  for (const TStringList* list :
       {unit.ShortLines, unit.BadKeyLines, unit.ShortRestLines, unit.BadValueLines, unit.OtherLines}) {
    d.Value(list->Count());
    for (int i = 0; i < list->Count(); ++i)
      d.Text(list->Strings(i));
  }
  if (store) {
    d.Value(store->Count());
    for (int64_t i = 0; i < store->ViewLineCount(); ++i)
      d.Value(store->LineStart(i));
    d.Text(store->Text());
  }
  return d.Hash();
}

int Usage()
{
  std::fprintf(stderr, "usage: parse_bench <log> [--old] [--language 0|1|2] [--speed 16..50] [--window | "
                       "--no-progress] [--then LOG]\n"
                       "                   [--pump-every-look] [--break-at 1..7[:MS]]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
    return Usage();
  const std::string file = argv[1];
  bool oldAlgorithm = false;
  int language = 1;
  int speed = 45;
  bool window = false, progress = true, pumpEveryLook = false;
  std::string then;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--old")
      oldAlgorithm = true;
    else if (arg == "--language" && i + 1 < argc)
      language = std::atoi(argv[++i]);
    else if (arg == "--speed" && i + 1 < argc)
      speed = std::atoi(argv[++i]);
    else if (arg == "--window")
      window = true;
    else if (arg == "--no-progress")
      progress = false;
    else if (arg == "--then" && i + 1 < argc)
      then = argv[++i];
    else if (arg == "--pump-every-look")
      pumpEveryLook = true;
    else if (arg == "--break-at" && i + 1 < argc)
      std::sscanf(argv[++i], "%d:%d", &breakStage, &breakDelayMs);
    else
      return Usage();
  }
  if (speed < 16 || speed > 50 || (window && !progress) || ((breakStage || pumpEveryLook) && !window) ||
      breakStage < 0 || breakStage > 7)
    return Usage();

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  // Settings come from, and go to, a folder of this run only.
  const std::string data = bench::MakeScratchFolder("parse-bench-XXXXXX");
  if (data.empty())
    return 1;
  SetDataFolderForTests(data);
  BQELunit* unit = nullptr;
  TQELMainForm* form = nullptr;
  if (window) {
    // The desktop entries of the file type go to the scratch folder too, and the start timer
    // opens nothing of its own.
    setenv("XDG_DATA_HOME", (data + "/desktop").c_str(), 1);
    char name[] = "parse_bench";
    char* own[] = {name, nullptr};
    InitCommandLine(1, own);
    form = new TQELMainForm(Application);
    form->SetBounds(0, 0, 1200, 800);
    form->Show();
    unit = gQELunit;
    if (!unit)
      return 1;
    if (unit->StartTimer)
      unit->StartTimer->SetEnabled(false);
    if (pumpEveryLook)
      unit->Progress->PumpInterval = std::chrono::steady_clock::duration::zero();
  } else {
    unit = new BQELunit;
  }
  unit->Language = language;
  unit->OldErrorAlgorithm = oldAlgorithm ? 1 : 0;
  unit->ReadingSpeed = speed;
  unit->ShowProgress = progress ? 1 : 0;
  unit->LogFileName = file;
  unit->ProgressHook = MarkStages;

  // The chart shows the first built-in mask, as after a first start, so that the value range
  // and the cursor have items to work on.
  TComboBox chartMasks(nullptr);
  TComboBox* ownCombo = unit->ChartMaskCombo;
  for (int i = 0; i < unit->MaskCells->Count(); ++i)
    chartMasks.Items()->Add(unit->MaskName(unit->MaskCells->Get(i)));
  chartMasks.SetItemIndex(0);
  unit->ChartMaskCombo = &chartMasks;
  unit->ChartMaskIndex = 0;

  // Twice: the first read brings the file into the page cache for the scan and the parse
  // alike. Both go before the parse, so that its peak memory stays its own.
  double scanMs = 0;
  ScanLines(file, scanMs);
  ScanLines(file, scanMs);

  const auto start = Clock::now();
  unit->ParseLogText();
  const auto end = Clock::now();
  if (!loadSeen)
    loaded = end;  // nothing was walked: the file could not be read
  if (!linkSeen)
    linked = end;

  long long values = 0, statuses = 0, actual = 0, post = 0, erase = 0, noErrors = 0;
  for (int i = 0; i < unit->DataCells->Count(); ++i) {
    const LDataCell& cell = *unit->DataCells->Get(i);
    if (cell.Kind >= 2)
      ++values;
    else if (cell.Kind == KindStatus)
      ++statuses;
    else if (cell.Kind == KindEraseMarker)
      ++erase;
    else if (cell.Value > 0)
      ++actual;
    else if (cell.Value < 0)
      ++post;
    else
      ++noErrors;
  }
  const auto* view = qobject_cast<const MemoView*>(unit->TextMemo->Widget());
  const int records = unit->DataCells->Count();

  std::printf("lines: %lld\n", static_cast<long long>(view ? view->Store().Count() : 0));
  std::printf("records: %d\n", records);
  std::printf("values: %lld\n", values);
  std::printf("statuses: %lld\n", statuses);
  std::printf("faults_actual: %lld\n", actual);
  std::printf("faults_post: %lld\n", post);
  std::printf("erase_markers: %lld\n", erase);
  std::printf("no_error_markers: %lld\n", noErrors);
  std::printf("parameters: %d\n", unit->TypeCells->Count());
  std::printf("short: %d\n", unit->ShortLines->Count());
  std::printf("bad_key: %d\n", unit->BadKeyLines->Count());
  std::printf("short_rest: %d\n", unit->ShortRestLines->Count());
  std::printf("bad_value: %d\n", unit->BadValueLines->Count());
  std::printf("other: %d\n", unit->OtherLines->Count());
  std::printf("end_time_ms: %lld\n",
              static_cast<long long>(records > 0 ? unit->DataCells->Get(records - 1)->Time : 0));
  std::printf("frame_period_ms: %d\n", unit->FramePeriod);
  std::printf("load_ms: %.1f\n", Ms(start, loaded));
  std::printf("parse_ms: %.1f\n", Ms(loaded, linked));
  std::printf("total_ms: %.1f\n", Ms(start, linked));
  std::printf("parse_text_ms: %.1f\n", Ms(start, end));
  if (breakStage)
    std::printf("break_ms: %.1f\n", breakArmed ? Ms(breakDue, end) : -1.0);
  std::printf("scan_ms: %.1f\n", scanMs);
  std::printf("fault_intervals: %d\n", unit->ErrorCells->Count());

  const auto rangeStart = Clock::now();
  unit->CalcValueRange();
  const auto rangeEnd = Clock::now();
  unit->CursorTime = unit->TimeSpan / 2;
  unit->CalcCursorValues();
  const auto cursorEnd = Clock::now();
  std::printf("value_range_ms: %.1f\n", Ms(rangeStart, rangeEnd));
  std::printf("cursor_ms: %.3f\n", Ms(rangeEnd, cursorEnd));
  std::printf("peak_rss_mb: %.1f\n", bench::PeakRssMb());
  std::printf("digest: %016llx\n",
              static_cast<unsigned long long>(DigestOf(*unit, view ? &view->Store() : nullptr)));
  if (!then.empty()) {
    unit->LogFileName = then;
    unit->ParseLogText();
    std::printf("then_records: %d\n", unit->DataCells->Count());
    std::printf("then_rss_mb: %.1f\n", bench::CurrentRssMb());
  }
  unit->ChartMaskCombo = ownCombo;
  const auto closeStart = Clock::now();
  delete unit;
  std::printf("close_ms: %.1f\n", Ms(closeStart, Clock::now()));
  if (form) {
    gQELunit = nullptr;
    delete form;
  }
  std::error_code ignored;
  std::filesystem::remove_all(data, ignored);
  return 0;
}
