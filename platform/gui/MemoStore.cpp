#include "MemoStore.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "FileStream.h"

namespace {

// Next occurrence of c at or after p, or end.
char* Find(char* p, char* end, char c)
{
  void* hit = std::memchr(p, c, static_cast<size_t>(end - p));
  return hit ? static_cast<char*>(hit) : end;
}

bool IsBreak(char c)
{
  return c == '\r' || c == '\n';
}

// Bytes of work between two calls of a load's step: a few milliseconds.
constexpr int64_t StepBytes = int64_t{4} << 20;

}  // namespace

// The caller's step, called at most once every StepBytes of work; none for a text set in code.
class MemoStore::Steps {
public:
  explicit Steps(const MemoLoadStep* step = nullptr, int64_t total = 0) : step_(step), total_(total) {}
  bool Wanted() const { return step_ && *step_; }
  // False when the caller broke the load off. done counts from the start of the whole load.
  bool At(int64_t done)
  {
    if (done < next_ || !Wanted())
      return true;
    next_ = done + StepBytes;
    return (*step_)(std::min(done, total_), total_);
  }

private:
  const MemoLoadStep* step_;
  int64_t total_;
  int64_t next_ = 0;
};

bool MemoStore::LoadFromFile(const AnsiString& fileName, const MemoLoadStep& step)
{
  AnsiString bytes;
  TFileStream stream(fileName, fmOpenRead);
  const auto size = static_cast<size_t>(stream.Size());
  // Read, lines counted, lines split: three passes over the bytes.
  Steps steps(&step, 3 * static_cast<int64_t>(size));
  // Room for the CR that a file with LF breaks gains per line, so that it grows in place.
  bytes.reserve(size + size / 4);
  // In pieces when someone waits on the steps; else in the largest reads there are. The
  // buffer grows a piece at a time: zeroing a whole gigabyte at once takes a second.
  const size_t piece = steps.Wanted() ? static_cast<size_t>(StepBytes) : size_t{1} << 30;
  // No more than the size found at the open: a log another program appends to is read as it
  // was then, not followed for as long as it grows.
  size_t filled = 0;
  while (filled < size) {
    bytes.resize(filled + std::min(size - filled, piece));
    const int32_t got = stream.Read(bytes.data() + filled, static_cast<int32_t>(bytes.size() - filled));
    if (got <= 0)
      break;
    filled += static_cast<size_t>(got);
    if (!steps.At(static_cast<int64_t>(filled)))
      return false;
  }
  bytes.resize(filled);
  return Adopt(std::move(bytes), steps);
}

void MemoStore::SetText(std::string_view text)
{
  Steps none;
  Adopt(AnsiString(text), none);
}

// One pass finds the lines and turns LF CR into CR LF in place; a text with single-byte breaks
// then gets a second pass, from the end, that widens each of them to CR LF. The first pass
// already notes where each line will start once every break is two bytes. False, with nothing
// changed, when the steps broke it off; the steps count on from the bytes read.
bool MemoStore::Adopt(AnsiString bytes, Steps& steps)
{
  char* data = bytes.data();
  char* end = data + bytes.size();
  const auto read = static_cast<int64_t>(bytes.size());
  size_t lineFeeds = 0;
  for (char* p = data; (p = Find(p, end, '\n')) < end; ++p) {
    ++lineFeeds;
    if (!steps.At(read + (p - data)))
      return false;
  }
  MemoLineStarts<uint16_t> starts;
  starts.Reserve(lineFeeds + 2);

  int64_t singles = 0;
  int64_t maxLength = 0;
  bool finalBreak = false;
  // The next LF and CR are looked up only once the scan has passed them, so a file with one
  // kind of break is read once.
  char* nextLf = Find(data, end, '\n');
  char* nextCr = Find(data, end, '\r');
  for (char* p = data; p < end;) {
    if (!steps.At(2 * read + (p - data)))
      return false;
    if (nextLf < p)
      nextLf = Find(p, end, '\n');
    if (nextCr < p)
      nextCr = Find(p, end, '\r');
    char* brk = std::min(nextLf, nextCr);
    starts.Push((p - data) + singles);
    maxLength = std::max<int64_t>(maxLength, brk - p);
    finalBreak = brk < end;
    if (!finalBreak)
      break;
    p = brk + 1;
    if (p < end && IsBreak(*p) && *p != *brk) {  // CR LF or LF CR
      brk[0] = '\r';
      brk[1] = '\n';
      ++p;
    } else {
      ++singles;
    }
  }

  const auto count = static_cast<int64_t>(starts.Size());
  if (singles > 0) {
    const auto size = static_cast<int64_t>(bytes.size());
    bytes.resize(static_cast<size_t>(size + singles));
    data = bytes.data();
    // From the last line back, each line moves up by the single breaks before it. A line's
    // break is the one or two break bytes before the next line's start, and it is two bytes
    // exactly when they are CR LF: a single LF after a single CR would have paired with it.
    int64_t before = singles;
    int64_t next = size;
    for (int64_t i = count - 1; i >= 0; --i) {
      // The text is half moved: a break now drops it, and the old text stays.
      if (!steps.At(3 * read + (size - next)))
        return false;
      int64_t breakLength = 0;
      if (i < count - 1 || finalBreak)
        breakLength = next >= 2 && data[next - 2] == '\r' && data[next - 1] == '\n' ? 2 : 1;
      if (breakLength == 1)
        --before;
      const int64_t target = starts[static_cast<size_t>(i)];
      const int64_t start = target - before;
      const int64_t length = next - breakLength - start;
      std::memmove(data + target, data + start, static_cast<size_t>(length));
      if (breakLength > 0) {
        data[target + length] = '\r';
        data[target + length + 1] = '\n';
      }
      next = start;
    }
  }
  starts.Push(count == 0 ? 0 : static_cast<int64_t>(bytes.size()) + (finalBreak ? 0 : 2));

  text_ = std::move(bytes);
  starts_ = std::move(starts);
  maxLength_ = maxLength;
  return true;
}

std::string_view MemoStore::Line(int64_t index) const
{
  const size_t i = static_cast<size_t>(index);
  const int64_t start = starts_[i];
  return std::string_view(text_).substr(static_cast<size_t>(start),
                                        static_cast<size_t>(starts_[i + 1] - start - 2));
}

// Built beside the old index: an edit that runs out of memory on the way leaves the old text
// with its old index.
MemoLineStarts<uint16_t> MemoStore::Restarted(size_t keep, size_t from, int64_t delta) const
{
  MemoLineStarts<uint16_t> starts = starts_;
  starts.Truncate(keep);
  for (size_t k = from; k < starts_.Size(); ++k)
    starts.Push(starts_[k] + delta);
  return starts;
}

void MemoStore::Put(int64_t index, std::string_view s)
{
  const size_t i = static_cast<size_t>(index);
  const int64_t length = LineLength(index);
  auto starts = Restarted(i + 1, i + 1, static_cast<int64_t>(s.size()) - length);
  text_.replace(static_cast<size_t>(starts_[i]), static_cast<size_t>(length), s);
  starts_ = std::move(starts);
  if (static_cast<int64_t>(s.size()) >= maxLength_)
    maxLength_ = static_cast<int64_t>(s.size());
  else if (length == maxLength_)
    Remeasure();
}

void MemoStore::Insert(int64_t index, std::string_view s)
{
  const size_t i = static_cast<size_t>(index);
  const auto step = static_cast<int64_t>(s.size()) + 2;
  if (Count() == 0) {
    MemoLineStarts<uint16_t> starts;
    starts.Push(0);
    starts.Push(step);
    text_ = AnsiString(s).append("\r\n");
    starts_ = std::move(starts);
  } else if (index < Count()) {
    // The new line starts where line i did; line i and all after it move down.
    auto starts = Restarted(i + 1, i, step);
    text_.insert(static_cast<size_t>(starts_[i]), AnsiString(s).append("\r\n"));
    starts_ = std::move(starts);
  } else {
    // Appended: the line goes where the last entry says a next line begins.
    const int64_t start = starts_.Back();
    const size_t size = text_.size();
    text_.append(start == TextLength() ? AnsiString(s).append("\r\n") : AnsiString("\r\n").append(s));
    try {
      starts_.Push(start + step);
    } catch (...) {
      text_.resize(size);
      throw;
    }
  }
  maxLength_ = std::max(maxLength_, static_cast<int64_t>(s.size()));
}

void MemoStore::Delete(int64_t index)
{
  if (Count() == 1) {
    Clear();
    return;
  }
  const size_t i = static_cast<size_t>(index);
  const int64_t length = LineLength(index);
  const int64_t start = starts_[i];
  const int64_t next = starts_[i + 1];
  if (next > TextLength()) {
    // The last line of a text without a final break: the break before it goes with it.
    text_.erase(static_cast<size_t>(start - 2));
    starts_.Truncate(starts_.Size() - 1);
  } else {
    auto starts = Restarted(i, i + 1, start - next);
    text_.erase(static_cast<size_t>(start), static_cast<size_t>(next - start));
    starts_ = std::move(starts);
  }
  if (length == maxLength_)
    Remeasure();
}

// The room of a large text and of its index goes back: assigning an empty string would keep
// the text's buffer, clearing the index would keep its room.
void MemoStore::Clear()
{
  MemoLineStarts<uint16_t> starts;
  starts.Push(0);
  AnsiString().swap(text_);
  starts_ = std::move(starts);
  maxLength_ = 0;
}

void MemoStore::Remeasure()
{
  maxLength_ = 0;
  for (size_t k = 1; k < starts_.Size(); ++k)
    maxLength_ = std::max(maxLength_, starts_[k] - starts_[k - 1] - 2);
}

int64_t MemoStore::ViewLineCount() const
{
  const bool finalBreak = Count() > 0 && starts_.Back() == TextLength();
  return Count() + (finalBreak || Count() == 0 ? 1 : 0);
}

int64_t MemoStore::LineLength(int64_t viewLine) const
{
  if (viewLine >= Count())
    return 0;
  const size_t i = static_cast<size_t>(viewLine);
  return starts_[i + 1] - starts_[i] - 2;
}

std::string_view MemoStore::ViewLine(int64_t viewLine) const
{
  return viewLine < Count() ? Line(viewLine) : std::string_view();
}

int64_t MemoStore::LineOf(int64_t position) const
{
  position = std::clamp<int64_t>(position, 0, TextLength());
  // The last view line whose start is not after the position.
  int64_t low = 0, high = ViewLineCount();
  while (high - low > 1) {
    const int64_t middle = low + (high - low) / 2;
    if (starts_[static_cast<size_t>(middle)] <= position)
      low = middle;
    else
      high = middle;
  }
  return low;
}

int64_t MemoStore::PositionOf(int64_t viewLine, int64_t column) const
{
  return LineStart(viewLine) + std::clamp<int64_t>(column, 0, LineLength(viewLine));
}

AnsiString MemoStore::Range(int64_t from, int64_t to) const
{
  const int64_t length = TextLength();
  from = std::clamp<int64_t>(from, 0, length);
  to = std::clamp<int64_t>(to, 0, length);
  return from < to ? text_.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)) : AnsiString();
}
