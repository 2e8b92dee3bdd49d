// The analysis report streamed in pieces: a report of a large log is several times the log's
// size, so it is never held whole, and its lines are formatted straight into the piece.
#include <cstring>
#include <memory>
#include <string_view>

#include "FileReplacement.h"
#include "Paths.h"
#include "app/Qelunit.h"
#include "log/ReportLine.h"

namespace {

constexpr size_t PieceSize = size_t{1} << 20;

// Lines gathered into pieces of PieceSize bytes for the writer; once the writer refuses a
// piece nothing more is written.
class ReportPieces {
public:
  explicit ReportPieces(const std::function<bool(const char*, size_t)>& write)
      : write_(write), data_(new char[PieceSize])
  {
  }

  // Room for size more bytes at the end of the piece (size at most PieceSize); nullptr once
  // writing failed.
  char* Room(size_t size)
  {
    if (used_ + size > PieceSize && !Flush())
      return nullptr;
    return ok_ ? data_.get() + used_ : nullptr;
  }
  void Filled(const char* end) { used_ = static_cast<size_t>(end - data_.get()); }

  // The bytes, then CR LF; a text longer than a piece goes to the writer by itself.
  bool Line(std::string_view text, char* start = nullptr)
  {
    if (!start && !(start = Room(0)))
      return false;
    const size_t used = static_cast<size_t>(start - data_.get());
    if (used + text.size() + 2 <= PieceSize) {
      if (!text.empty())
        std::memcpy(start, text.data(), text.size());
      std::memcpy(start + text.size(), "\r\n", 2);
      Filled(start + text.size() + 2);
      return true;
    }
    Filled(start);
    if (!Flush())
      return false;
    if (text.size() + 2 > PieceSize)
      return Send(text.data(), text.size()) && Send("\r\n", 2);
    return Line(text);
  }
  bool Lines(int count)
  {
    for (int i = 0; i < count; ++i)
      if (!Line({}))
        return false;
    return true;
  }

  bool Flush()
  {
    const size_t used = used_;
    used_ = 0;
    return used == 0 || Send(data_.get(), used);
  }

private:
  bool Send(const char* data, size_t size)
  {
    ok_ = ok_ && write_(data, size);
    return ok_;
  }

  const std::function<bool(const char*, size_t)>& write_;
  std::unique_ptr<char[]> data_;
  size_t used_ = 0;
  bool ok_ = true;
};

// The progress window over the write when asked for, hidden again on every way out.
class ReportProgressShown {
public:
  ReportProgressShown(BQELunit& unit, bool shown, const AnsiString& fileName) : unit_(shown ? &unit : nullptr)
  {
    if (!unit_)
      return;
    unit_->ShowProgressWindow(0);
    unit_->ShowProgressStep(ExtractFileName(fileName), 0, 0);
  }
  ~ReportProgressShown()
  {
    if (unit_)
      unit_->HideProgressWindow();
  }
  ReportProgressShown(const ReportProgressShown&) = delete;
  ReportProgressShown& operator=(const ReportProgressShown&) = delete;

private:
  BQELunit* unit_;
};

}  // namespace

int BQELunit::ReportProgressRecords = 200000;

bool BQELunit::StreamAnalysisReport(const std::function<bool(const char*, size_t)>& write, bool withProgress)
{
  ReportPieces out(write);
  AnsiString text;
  const std::string_view separator(
      "----------------------------------------------------------------------------------");
  if (ParseFailed && !out.Line(GetPartialReadText(text)))
    return false;

  // The unrecognised lines, a section for each list that has any.
  const std::pair<TStringList*, int> sections[] = {
      {ShortLines, 79}, {BadKeyLines, 80}, {ShortRestLines, 81}, {BadValueLines, 82}, {OtherLines, 83}};
  for (const auto& [list, heading] : sections) {
    if (!list || list->Count() == 0)
      continue;
    if (!out.Line(separator) || !out.Line(GetUiText(heading, text)) || !out.Line(separator) || !out.Lines(1))
      return false;
    for (int i = 0; i < list->Count(); ++i)
      if (!out.Line(list->Strings(i)))
        return false;
    if (!out.Lines(3))
      return false;
  }

  if (!out.Lines(2) || !out.Line(separator) || !out.Line(GetUiText(84, text)) || !out.Line(separator) ||
      !out.Lines(2) || !out.Line(GetUiText(85, text)) || !out.Lines(2))
    return false;

  const int count = DataCells ? DataCells->Count() : 0;
  for (int i = 0; i < count; ++i) {
    if (withProgress && i % ProgressEvery == 0) {
      ShowProgressPosition(count, i);
      if (ProgressHook)
        ProgressHook(*this, 0, count, i);
      if (AbortFlag)
        return false;
    }
    const LDataCell* cell = DataCells->Get(i);
    if (!cell)
      continue;
    const AnsiString& cellText = cell->Text.Str();
    const size_t most = ReportLineHeadRoom + cellText.size() + 2;
    char* start = out.Room(most <= PieceSize ? most : ReportLineHeadRoom);
    if (!start || !out.Line(cellText, FormatReportLineHead(start, *cell)))
      return false;
  }
  return out.Flush();
}

BQELunit::ReportWrite BQELunit::WriteAnalysisReport(const AnsiString& fileName, AnsiString& reason)
{
  reason.clear();
  const int records = DataCells ? DataCells->Count() : 0;
  const bool withProgress = ShowProgress && records >= ReportProgressRecords;
  const ReportProgressShown shown(*this, withProgress, fileName);
  AbortFlag = 0;

  FileReplacement file(fileName);
  bool complete = false;
  try {
    complete =
        !file.Failed() &&
        StreamAnalysisReport([&](const char* data, size_t size) { return file.Write(data, size); }, withProgress);
  } catch (const std::exception& failure) {
    // Out of memory, say: the old file stays.
    file.Abandon();
    reason = failure.what();
    return ReportWrite::Failed;
  }
  if (complete && file.Commit())
    return ReportWrite::Written;
  file.Abandon();
  if (!file.Failed() && AbortFlag)
    return ReportWrite::Broken;
  reason = file.Reason();
  return ReportWrite::Failed;
}
