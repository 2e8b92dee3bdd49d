#include "log/LogLineParser.h"

#include "Exceptions.h"
#include "Numbers.h"
#include "TextUtils.h"
#include "app/Qelunit.h"
#include "log/ValueWord.h"

namespace {

constexpr std::string_view ActualHeader = "Actual errors:";
constexpr std::string_view PostHeader = "Post errors:";
constexpr std::string_view BlockMark = "F10E";
constexpr int EraseMarkerMargin = 250;  // ms before and after an erase marker
constexpr int LineNumberWidth = 7;

// Without the leading bytes of code 32 or less; bytes 0x80 and up are letters.
std::string_view TrimLeftView(std::string_view text)
{
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32)
    ++i;
  return text.substr(i);
}

// Blanks among the first `count` characters.
int BlanksIn(std::string_view text, size_t count)
{
  int blanks = 0;
  for (size_t i = 0; i < count && i < text.size(); ++i)
    blanks += text[i] == ' ';
  return blanks;
}

// A blank among characters 1 to 4 unless all four are blanks, or among characters 5 to 8.
bool IsBadKey(std::string_view key)
{
  const int head = BlanksIn(key, 4);
  return (head > 0 && head < 4) || BlanksIn(key.substr(4), 4) > 0;
}

}  // namespace

LogLineParser::LogLineParser(BQELunit& unit)
    : unit_(unit), oldAlgorithm_(unit.OldErrorAlgorithm != 0), channels_(unit)
{
  unit.GetUiText(91, indexText_);
  unit.GetUiText(92, eraseText_);
  eraseShared_ = SharedText(eraseText_);
}

void LogLineParser::Parse(std::string_view line, int64_t number)
{
  if (oldAlgorithm_)
    ParseOld(line, number);
  else
    ParseNew(line, number);
  position_ += static_cast<int64_t>(line.size()) + 2;
}

bool LogLineParser::IsSectionHeader(std::string_view line)
{
  if (line == ActualHeader)
    sign_ = 1.0;
  else if (line == PostHeader)
    sign_ = -1.0;
  else
    return false;
  return true;
}

void LogLineParser::ParseOld(std::string_view line, int64_t number)
{
  if (IsSectionHeader(line)) {
    inSection_ = true;
  } else if (!inSection_) {
    ParseGeneral(line, number);
  } else if (line.size() < 9) {
    inSection_ = false;
    time_ += unit_.FrameTimeStep(line);
  } else {
    AddRecord(SharedText(), KindFault, sign_, texts_.Get(line));
  }
}

void LogLineParser::ParseNew(std::string_view line, int64_t number)
{
  const bool blockMark = line.substr(0, BlockMark.size()) == BlockMark;
  if (!inBlock_) {
    if (!blockMark) {
      ParseGeneral(line, number);
      return;
    }
    inBlock_ = true;
    blockWithoutHeader_ = true;
    time_ += unit_.FrameTimeStep(line);
    blockStartPosition_ = position_ + static_cast<int64_t>(line.size()) + 2;
    blockStartTime_ = time_;
  } else if (blockMark) {
    time_ += unit_.FrameTimeStep(line);
  } else if (IsSectionHeader(line)) {
    inSection_ = true;
    blockWithoutHeader_ = false;
  } else if (inSection_) {
    if (line.size() < 9) {
      inSection_ = false;
      time_ += unit_.FrameTimeStep(line);
    } else {
      AddRecord(SharedText(), KindFault, sign_, texts_.Get(line));
    }
  } else {
    // The block ends at its first line of another shape; a block that had no section says
    // so with a marker halfway through it.
    inBlock_ = false;
    if (blockWithoutHeader_)
      AddRecord(blockStartPosition_ + (position_ - blockStartPosition_) / 2,
                blockStartTime_ + (time_ - blockStartTime_) / 2, SharedText(), KindFault, 0.0, SharedText());
    ParseGeneral(line, number);
  }
}

void LogLineParser::ParseGeneral(std::string_view line, int64_t number)
{
  if (line.size() < 8) {
    AddMessage(*unit_.ShortLines, line, number);
    time_ += unit_.TextLinePeriod;
    return;
  }
  if (line.size() == 8) {  // a frame mark
    time_ += unit_.FrameTimeStep(line);
    return;
  }
  const std::string_view key = line.substr(0, 8);
  const uint64_t packed = KeyTable::Pack(key);
  KeyInfo* info = keys_.Find(packed);
  if (!info)
    info = &NewKey(packed, key);
  if (info->Bad) {
    AddMessage(*unit_.BadKeyLines, line, number);
    time_ += unit_.TextLinePeriod;
    return;
  }
  time_ += info->Step;

  const std::string_view rest = line.substr(8);
  if (rest.size() < 4) {
    AddMessage(*unit_.ShortRestLines, line, number);
  } else if (rest.size() == 4) {
    if (rest == "    ")
      AddRecord(StatusCode(*info), KindStatus, 0.0, SharedText());
    else
      AddMessage(*unit_.OtherLines, line, number);
  } else {
    const std::string_view trimmed = TrimLeftView(rest);
    const size_t lead = rest.size() - trimmed.size();
    if (lead == 4 && trimmed == eraseText_) {
      time_ += EraseMarkerMargin;
      AddRecord(info->Key, KindEraseMarker, 0.0, eraseShared_);
      time_ += EraseMarkerMargin;
    } else if (lead == 4) {
      ParseValue(*info, trimmed, line, number);
    } else if (lead == 5) {
      AddRecord(StatusCode(*info), KindStatus, 0.0, StatusText(*info, trimmed));
    } else {
      AddMessage(*unit_.OtherLines, line, number);
    }
  }
}

KeyInfo& LogLineParser::NewKey(uint64_t packed, std::string_view key)
{
  KeyInfo& info = keys_.Add(packed);
  info.Key = texts_.Get(key);
  info.Bad = IsBadKey(key);
  info.Step = unit_.FrameTimeStep(key);
  return info;
}

const SharedText& LogLineParser::StatusCode(KeyInfo& key)
{
  if (key.StatusCode.IsEmpty())
    key.StatusCode = texts_.Get(key.Key.Str().substr(0, 6));
  return key.StatusCode;
}

const SharedText& LogLineParser::StatusText(KeyInfo& key, std::string_view text)
{
  if (!key.HasStatusText || key.StatusText.Str() != text) {
    key.StatusText = texts_.Get(text);
    key.HasStatusText = true;
  }
  return key.StatusText;
}

// A value word, then the name. A word that reads as no finite number files the line away
// before any parameter is made for it.
void LogLineParser::ParseValue(KeyInfo& key, std::string_view trimmedRest, std::string_view line, int64_t number)
{
  const size_t blank = trimmedRest.find(' ');
  const std::string_view word = trimmedRest.substr(0, blank);
  const std::string_view name =
      blank == std::string_view::npos ? std::string_view() : TrimLeftView(trimmedRest.substr(blank + 1));
  double value = 0.0;
  if (!ReadValueWord(word, value)) {
    AddMessage(*unit_.BadValueLines, line, number);
    return;
  }
  // A key carries the same name line after line; the name is looked up when it changes.
  if (!key.Channel || key.Channel->Name.Str() != name) {
    try {
      key.Channel = &channels_.FindOrAdd(name);
    } catch (const Exception&) {
      // No id left. Out of memory is no bad value: it goes on up and ends the parse.
      AddMessage(*unit_.BadValueLines, line, number);
      return;
    }
  }
  AddRecord(key.Key, key.Channel->Id, value, key.Channel->Name);
}

void LogLineParser::AddRecord(int64_t position, int64_t time, const SharedText& code, int32_t kind, double value,
                              const SharedText& text)
{
  LDataCell* cell = unit_.DataCellPool.New();
  cell->TextPos = position;
  cell->Time = time;
  cell->Code = code;
  cell->Kind = kind;
  cell->Value = value;
  cell->Text = text;
  try {
    cell->Index = unit_.DataCells->Add(cell);
  } catch (...) {
    // Only listed records are ever cleared.
    unit_.DataCellPool.DropLast();
    throw;
  }
}

void LogLineParser::AddMessage(TStringList& list, std::string_view line, int64_t number)
{
  // Padded to the column, never cut: a long log has line numbers of more digits.
  AnsiString digits = IntToStr(number);
  if (digits.size() < LineNumberWidth)
    digits = PadString(digits, ' ', LineNumberWidth, true);
  AnsiString message;
  message.reserve(indexText_.size() + digits.size() + line.size() + 10);
  message.append(indexText_).append(digits).append(":   [ ").append(line).append(" ]");
  list.Add(message);
}
