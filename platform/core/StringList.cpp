#include "StringList.h"

#include <algorithm>

#include "Exceptions.h"
#include "FileStream.h"
#include "Numbers.h"
#include "TextUtils.h"

// ---- TStrings ----

int TStrings::Add(const AnsiString& s)
{
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::IndexOf(const AnsiString& s) const
{
  for (int i = 0, n = Count(); i < n; ++i)
    if (CompareStrings(Get(i), s) == 0)
      return i;
  return -1;
}

void TStrings::Move(int from, int to)
{
  int count = Count();
  if (from < 0 || from >= count)
    IndexError(from);
  if (to < 0 || to >= count)
    IndexError(to);
  if (from == to)
    return;
  BeginUpdate();
  try {
    AnsiString s = Get(from);
    Delete(from);
    Insert(to, s);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromFile(const AnsiString& fileName)
{
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TStrings::LoadFromStream(TStream& stream)
{
  // What the stream held when reading began: a file another program appends to is not followed.
  AnsiString bytes;
  char chunk[65536];
  for (int64_t left = stream.Size() - stream.Position(); left > 0;) {
    const int32_t got = stream.Read(chunk, static_cast<int32_t>(std::min<int64_t>(left, sizeof chunk)));
    if (got <= 0)
      break;
    bytes.append(chunk, static_cast<size_t>(got));
    left -= got;
  }
  SetText(bytes);
}

void TStrings::SaveToFile(const AnsiString& fileName) const
{
  AnsiString text = Text();
  TFileStream stream(fileName, fmCreate);
  // Written in pieces so that a text beyond 2 GB still fits the stream's 32-bit counts.
  constexpr size_t Piece = 1 << 30;
  for (size_t done = 0; done < text.size(); done += Piece) {
    size_t count = std::min(Piece, text.size() - done);
    stream.WriteBuffer(text.data() + done, static_cast<int32_t>(count));
  }
  if (!stream.Close())
    throw EWriteError("Cannot write file " + fileName);
}

AnsiString TStrings::Text() const
{
  AnsiString text;
  for (int i = 0, n = Count(); i < n; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(const AnsiString& text)
{
  std::vector<AnsiString> lines = SplitLines(text);
  BeginUpdate();
  try {
    Clear();
    for (const AnsiString& line : lines)
      Add(line);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::BeginUpdate()
{
  if (updateCount_++ == 0)
    SetUpdateState(true);
}

void TStrings::EndUpdate()
{
  if (updateCount_ > 0 && --updateCount_ == 0)
    SetUpdateState(false);
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const
{
  return AnsiCompareText(a, b);
}

void TStrings::IndexError(int index)
{
  throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

std::vector<AnsiString> TStrings::SplitLines(const AnsiString& text)
{
  std::vector<AnsiString> lines;
  size_t start = 0, n = text.size();
  while (start < n) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == AnsiString::npos) {
      lines.emplace_back(text, start);
      break;
    }
    lines.emplace_back(text, start, end - start);
    start = end + (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

// ---- TStringList ----

AnsiString TStringList::Get(int index) const
{
  CheckIndex(index);
  return items_[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const AnsiString& s)
{
  CheckUnsorted();
  CheckIndex(index);
  items_[static_cast<size_t>(index)] = s;
}

void TStringList::Insert(int index, const AnsiString& s)
{
  CheckUnsorted();
  if (index < 0 || index > Count())
    IndexError(index);
  items_.insert(items_.begin() + index, s);
}

void TStringList::Delete(int index)
{
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

void TStringList::Move(int from, int to)
{
  CheckUnsorted();
  CheckIndex(from);
  CheckIndex(to);
  auto first = items_.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else if (from > to)
    std::rotate(first + to, first + from, first + from + 1);
}

int TStringList::Add(const AnsiString& s)
{
  if (!sorted_) {
    items_.push_back(s);
    return Count() - 1;
  }
  int index;
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore)
      return index;
    if (duplicates_ == dupError)
      throw EListError("String list does not allow duplicates");
  }
  items_.insert(items_.begin() + index, s);
  return index;
}

int TStringList::IndexOf(const AnsiString& s) const
{
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::SetText(const AnsiString& text)
{
  std::vector<AnsiString> lines = SplitLines(text);
  if (!sorted_) {
    items_ = std::move(lines);
    return;
  }
  // Sorted: built aside with the same rules, so that a duplicate error leaves the list as it was.
  TStringList sorted;
  sorted.sorted_ = true;
  sorted.duplicates_ = duplicates_;
  sorted.caseSensitive_ = caseSensitive_;
  sorted.caseDistinct_ = caseDistinct_;
  for (const AnsiString& line : lines)
    sorted.Add(line);
  items_.swap(sorted.items_);
}

bool TStringList::Find(const AnsiString& s, int& index) const
{
  if (!sorted_) {
    auto it =
        std::find_if(items_.begin(), items_.end(), [&](const AnsiString& item) { return SameText(item, s); });
    index = static_cast<int>(it - items_.begin());
    return it != items_.end();
  }
  // The first position whose text is not below s.
  auto it =
      std::lower_bound(items_.begin(), items_.end(), s, [this](const AnsiString& item, const AnsiString& key) {
        return CompareStrings(item, key) < 0;
      });
  index = static_cast<int>(it - items_.begin());
  return it != items_.end() && CompareStrings(*it, s) == 0;
}

void TStringList::SetSorted(bool sorted)
{
  if (sorted && !sorted_)
    Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
  if (caseSensitive == caseSensitive_)
    return;
  caseSensitive_ = caseSensitive;
  if (sorted_)
    Sort();
}

void TStringList::SetCaseDistinct(bool caseDistinct)
{
  if (caseDistinct == caseDistinct_)
    return;
  caseDistinct_ = caseDistinct;
  if (sorted_)
    Sort();
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const
{
  if (caseSensitive_)
    return a.compare(b);  // byte order, unsigned
  const int order = AnsiCompareText(a, b);
  if (order != 0 || !caseDistinct_)
    return order;
  return a.compare(b);
}

void TStringList::CheckIndex(int index) const
{
  if (index < 0 || index >= Count())
    IndexError(index);
}

void TStringList::CheckUnsorted() const
{
  if (sorted_)
    throw EListError("Operation not allowed on sorted list");
}

bool TStringList::SameText(const AnsiString& a, const AnsiString& b) const
{
  return caseSensitive_ || caseDistinct_ ? a == b : AnsiSameText(a, b);
}

void TStringList::Sort()
{
  // Lines put in order already (a list filled from a sorted source) cost one pass.
  const auto less = [this](const AnsiString& a, const AnsiString& b) { return CompareStrings(a, b) < 0; };
  if (std::is_sorted(items_.begin(), items_.end(), less))
    return;
  std::stable_sort(items_.begin(), items_.end(), less);
}
