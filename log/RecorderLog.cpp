#include "log/RecorderLog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FileSearch.h"
#include "FileStream.h"
#include "Paths.h"
#include "app/Qelunit.h"

namespace {

// The labels of a speed line, in the order they are tried ("Скорость обмена" in Windows-1251).
const std::array<AnsiString, 3> SpeedLabels = {"\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xEE\xE1\xEC\xE5\xED\xE0",
                                               "Speed", "Geschwindigkeit"};
const AnsiString AnyLogMark = "Log: ";
// The label rule looks no further into a line than the longest label, a separator and two digits.
constexpr size_t LineHeadBytes = 15 + 3;
constexpr int32_t BlockBytes = 64 * 1024;

// The raw name counts only as a whole file name: "1.bin" must not match inside "21.bin".
bool EndsBeforeFileName(char c)
{
  return c == '\\' || c == '/' || c == ':' || c == ' ';
}

// Looks for one text in a line that arrives in pieces, keeping only the last bytes of the line
// that a match across two pieces (and the byte before it) can need.
class PieceSearch {
public:
  PieceSearch(const AnsiString& text, bool wholeName) : text_(text), wholeName_(wholeName) {}

  void StartLine()
  {
    found_ = false;
    tail_.clear();
    seen_ = 0;
  }

  void Feed(std::string_view piece)
  {
    if (found_ || piece.empty())
      return;
    // Matches that begin in the kept tail end within the first bytes of this piece. One at the
    // tail's very start lies wholly in bytes already searched, unless the line starts there.
    const size_t reach = std::min(piece.size(), text_.empty() ? 0 : text_.size() - 1);
    const AnsiString joint = tail_ + AnsiString(piece.substr(0, reach));
    found_ = Search(joint, seen_ == tail_.size(), {}) || Search(piece, seen_ == 0, tail_);

    seen_ += piece.size();
    if (piece.size() >= text_.size())
      tail_.assign(piece.substr(piece.size() - text_.size()));
    else {
      tail_.append(piece);
      tail_.erase(0, tail_.size() - std::min(tail_.size(), text_.size()));
    }
  }

  bool Found() const { return found_; }

private:
  // A match in `bytes`; before their first byte come the line's start (atLineStart) or the
  // bytes `before`.
  bool Search(std::string_view bytes, bool atLineStart, std::string_view before) const
  {
    for (size_t at = bytes.find(text_); at != std::string_view::npos; at = bytes.find(text_, at + 1)) {
      const bool nameStart = at > 0 ? EndsBeforeFileName(bytes[at - 1])
                                    : atLineStart || (!before.empty() && EndsBeforeFileName(before.back()));
      if (!wholeName_ || nameStart)
        return true;
    }
    return false;
  }

  AnsiString text_;
  bool wholeName_;
  bool found_ = false;
  AnsiString tail_;  // the line's last bytes so far, at most the text's length
  size_t seen_ = 0;  // bytes of the line so far
};

// Follows the lines of one recorder log and applies the rule to each as it ends.
class RecorderLogScan {
public:
  explicit RecorderLogScan(const AnsiString& rawName) : rawName_(rawName, true), anyLog_(AnyLogMark, false)
  {
    for (const AnsiString& label : SpeedLabels)
      labels_.emplace_back(label, false);
  }

  void Feed(std::string_view piece)
  {
    if (head_.size() < LineHeadBytes)
      head_.append(piece.substr(0, LineHeadBytes - head_.size()));
    rawName_.Feed(piece);
    anyLog_.Feed(piece);
    for (PieceSearch& label : labels_)
      label.Feed(piece);
    open_ = true;
  }

  // False once the raw-file speed is known.
  bool EndLine()
  {
    const int above = SpeedAbove();
    if (rawName_.Found() && above > 0) {
      speeds_.RawFileSpeed = above;
      return false;
    }
    if (anyLog_.Found() && speeds_.AnyLogSpeed == 0)
      speeds_.AnyLogSpeed = above;
    above2_ = above1_;
    above1_ = LabelSpeed();
    head_.clear();
    rawName_.StartLine();
    anyLog_.StartLine();
    for (PieceSearch& label : labels_)
      label.StartLine();
    open_ = false;
    return true;
  }

  bool LineOpen() const { return open_; }
  const RecorderLogSpeeds& Speeds() const { return speeds_; }

private:
  // The first label the line holds decides alone; a number that is not positive gives nothing.
  int LabelSpeed() const
  {
    for (size_t i = 0; i < SpeedLabels.size(); ++i)
      if (labels_[i].Found()) {
        const int speed = BQELunit::ParseIntAfterLabel(head_, SpeedLabels[i]);
        return speed > 0 ? speed : 0;
      }
    return 0;
  }

  int SpeedAbove() const { return above1_ > 0 ? above1_ : above2_; }

  PieceSearch rawName_;
  PieceSearch anyLog_;
  std::vector<PieceSearch> labels_;
  AnsiString head_;  // the line's first bytes, as far as the label rule reads
  int above1_ = 0;   // label speed of the line above, 0 for none
  int above2_ = 0;   // and of the line above that
  bool open_ = false;
  RecorderLogSpeeds speeds_;
};

}  // namespace

RecorderLogSpeeds ScanRecorderLog(const AnsiString& fileName, const AnsiString& rawName)
{
  TFileStream file(fileName, fmOpenRead);
  RecorderLogScan scan(rawName);
  std::vector<char> block(BlockBytes);
  bool afterCr = false;  // a CR ended the last block: an LF opening this one belongs to it
  for (int32_t count; (count = file.Read(block.data(), BlockBytes)) > 0;) {
    std::string_view rest(block.data(), static_cast<size_t>(count));
    if (afterCr && rest.front() == '\n')
      rest.remove_prefix(1);
    afterCr = false;
    while (!rest.empty()) {
      const size_t end = rest.find_first_of("\r\n");
      scan.Feed(rest.substr(0, end));
      if (end == std::string_view::npos)
        break;
      if (!scan.EndLine())
        return scan.Speeds();
      size_t next = end + 1;
      if (rest[end] == '\r') {
        if (next < rest.size() && rest[next] == '\n')
          ++next;
        else if (next == rest.size())
          afterCr = true;
      }
      rest.remove_prefix(next);
    }
  }
  if (scan.LineOpen())
    scan.EndLine();
  return scan.Speeds();
}

int FindRecorderLogSpeed(const AnsiString& logFileName)
{
  const AnsiString folder = ExtractFilePath(logFileName);
  // With no folder there is no log to look beside: the pattern would name the root folder.
  if (folder.empty())
    return 0;
  const AnsiString pattern = JoinPath(folder, "log*.txt");
  const AnsiString rawName = ChangeFileExt(ExtractFileName(logFileName), ".bin");

  int anyLogSpeed = 0;
  TSearchRec entry;
  for (int rc = FindFirst(pattern, faAnyFile, entry); rc == 0; rc = FindNext(entry)) {
    if (entry.Attr & faDirectory)
      continue;
    const AnsiString fileName = JoinPath(folder, entry.Name);
    // Regular files only: a pipe or a device of that name would never end.
    if (!FileExists(fileName))
      continue;
    try {
      const RecorderLogSpeeds speeds = ScanRecorderLog(fileName, rawName);
      if (speeds.RawFileSpeed > 0) {
        FindClose(entry);
        return speeds.RawFileSpeed;
      }
      if (anyLogSpeed == 0)
        anyLogSpeed = speeds.AnyLogSpeed;
    } catch (...) {
      // An unreadable file gives nothing; the next one may.
    }
  }
  FindClose(entry);
  return anyLogSpeed;
}
