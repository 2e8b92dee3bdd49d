// BQELunit::ParseLogText: the current log file into line records, parameters and messages,
// then the links between records of one kind, the ECU family from the file name, the statuses,
// the fault intervals and the values of the chart.
#include <algorithm>
#include <climits>
#include <new>
#include <unordered_map>
#include <vector>

#include "Exceptions.h"
#include "FlagScope.h"
#include "FreeMemory.h"
#include "IgnoreFailure.h"
#include "Memo.h"
#include "app/Qelunit.h"
#include "log/LogLineParser.h"

namespace {

enum ParseStages {
  StageRead = 1,
  StageAnalyse,
  StageLink,
  StageChartState,
  StageLists,
  StageFamily,
  StageChart,
};

// The progress window over a parse when the option asks for it, hidden again on every way out.
class ParseProgressShown {
public:
  explicit ParseProgressShown(BQELunit& unit, int stages) : unit_(unit.ShowProgress ? &unit : nullptr)
  {
    if (unit_)
      unit_->ShowProgressWindow(stages);
  }
  ~ParseProgressShown()
  {
    if (unit_)
      unit_->HideProgressWindow();
  }
  ParseProgressShown(const ParseProgressShown&) = delete;
  ParseProgressShown& operator=(const ParseProgressShown&) = delete;

private:
  BQELunit* unit_;
};

}  // namespace

void BQELunit::ParseLogText()
{
  // The progress window lets messages run while a parse works; a parse started from one of
  // them would free the records under this one.
  if (ParseRunning)
    return;
  bool complete;
  {
    const FlagScope running(ParseRunning);
    complete = ParseLogStages();
  }
  // Drawn once the records stand and the progress window is gone; a parse broken off leaves
  // the last pictures.
  if (complete) {
    DrawChart();
    DrawValuePanels();
    DrawErrorPanel();
    ShowZoomStatus();
  }
}

bool BQELunit::ParseLogStages()
{
  // The reading speed this log was recorded at: the frame period it is timed with.
  DetectExchangeSpeed();
  ClearParseResults();
  AbortFlag = 0;
  ParseFailed = 0;

  // The window lets the user break the parse off.
  const ParseProgressShown shown(*this, 6);

  ParseStageStarts(StageRead);
  if (LoadLogText()) {
    try {
      ParseStageStarts(StageAnalyse);
      const MemoStore& store = TextMemo->Store();
      LogLineParser parser(*this);
      const int64_t count = store.Count();
      // Nearly every line makes a record: the list takes its room once instead of doubling
      // (without the room it still grows as it needs to).
      IgnoreFailure([&] { DataCells->Reserve(static_cast<int>(std::min<int64_t>(count, INT_MAX))); });
      for (int64_t i = 0; i < count; ++i) {
        if (i % ProgressEvery == 0 && ParseAborted(count, i))
          break;
        parser.Parse(store.Line(i), i);
      }
    } catch (...) {
      // The records made so far stay, but the parse is not taken for complete.
      ParseFailed = 1;
    }
  }

  // The Text page's readout names the caret in the text now shown (or in none).
  ShowCaretPosition();
  // The items follow the parameters, also of a parse broken off: it may have made new ones.
  RefreshMaskNames();

  ParseStageStarts(StageLink);
  LinkDataCells();

  ParseStageStarts(StageChartState);
  if (!AbortFlag) {
    // A new log is shown whole, from its start.
    ResetChartView();
    for (int i = 0; i < StatusCells->Count(); ++i)
      if (LStatusCell* status = StatusCells->Get(i))
        status->State = 0;
  }
  ParseStageStarts(StageLists);
  if (!AbortFlag)
    FillChannelList();
  if (!AbortFlag)
    FillStatusList();
  ParseStageStarts(StageFamily);
  if (!AbortFlag)
    ChooseEcuFamilyAndMask();
  ParseStageStarts(StageChart);
  // Each step looks at the flag inside too: on a long log each takes up to a second.
  if (!AbortFlag)
    MapStatusesToData();
  if (!AbortFlag)
    BuildErrorIntervals();
  if (!AbortFlag)
    CalcValueRange();
  const bool complete = !AbortFlag;
  if (complete) {
    CalcCursorValues();
    if (!ParseFailed)
      ReparseNeeded = 0;
  }
  if (ParseFailed)
    ReparseNeeded = 1;
  return complete;
}

void BQELunit::ClearParseResults()
{
  ClearDataCells();
  ClearErrorCells();
  // Nothing may point into the freed records, even when this parse is broken off.
  CursorDataCell = nullptr;
  CursorFaultInterval = nullptr;
  CursorCaretPos = -1;
  CursorChains.Clear();
  for (TStringList* list : {BadValueLines, ShortRestLines, ShortLines, BadKeyLines, OtherLines})
    if (list)
      list->Clear();
  // The records of a big log leave the heap's pages behind; a smaller log would keep them.
  ReturnFreeMemory();
}

// False, with the text view emptied, when there is no file to read or the user broke the load
// off: the view never shows another log than the one the records belong to. A file too big
// for the memory is no missing file: that parse failed. The load goes in pieces, so that the
// progress window is served and its Break taken while a long log is read.
bool BQELunit::LoadLogText()
{
  try {
    if (LogFileName.empty())
      throw EFOpenError("no log file");
    MemoLoadStep step;
    if (ShowProgress)
      step = [this](int64_t done, int64_t total) { return ParseGoesOn(done, total); };
    if (TextMemo->Lines()->LoadFromFile(LogFileName, step))
      return true;
  } catch (const std::bad_alloc&) {
    ParseFailed = 1;
  } catch (...) {
  }
  IgnoreFailure([&] { TextMemo->Lines()->Clear(); });
  return false;
}

// Every record gets the next and previous record of its kind, in one pass over the list
// with the last record of each kind at hand.
void BQELunit::LinkDataCells()
{
  const int count = DataCells->Count();
  if (count < 2)
    return;
  constexpr int32_t DirectKinds = 4096;  // kinds -1 to 4094, parameter ids as made here
  std::vector<LDataCell*> lastDirect;
  std::unordered_map<int32_t, LDataCell*> lastOther;
  for (int i = 0; i < count; ++i) {
    if (i % ProgressEvery == 0 && ParseAborted(count - 1, i))
      return;
    LDataCell* cell = DataCells->Get(i);
    if (!cell)
      continue;
    const int64_t slot = static_cast<int64_t>(cell->Kind) + 1;
    LDataCell** last;
    if (slot >= 0 && slot < DirectKinds) {
      if (static_cast<size_t>(slot) >= lastDirect.size())
        lastDirect.resize(static_cast<size_t>(slot) + 1, nullptr);
      last = &lastDirect[static_cast<size_t>(slot)];
    } else {
      last = &lastOther[cell->Kind];
    }
    if (*last) {
      (*last)->Next = cell;
      cell->Prev = *last;
    }
    *last = cell;
  }
}

void BQELunit::ParseStageStarts(int stage)
{
  ParseStage = stage;
  if (!ShowProgress)
    return;
  if (Progress) {
    // Texts of stages 1 to 7: "Reading LOG-file", "Analising LOG-file", then 94 to 98.
    static constexpr int StageTexts[] = {89, 90, 94, 95, 96, 97, 98};
    AnsiString text;
    ShowProgressStep(GetUiText(StageTexts[stage - 1], text), 7, stage);
  }
  if (ProgressHook)
    ProgressHook(*this, stage, 0, -1);
}

bool BQELunit::ParseAborted(int64_t max, int64_t position)
{
  if (!ShowProgress || !ParseRunning)
    return false;
  ShowProgressPosition(max, position);
  if (ProgressHook)
    ProgressHook(*this, ParseStage, max, position);
  return AbortFlag != 0;
}
