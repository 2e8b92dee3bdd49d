#include "ListItems.h"

#include <algorithm>

#include "ListBox.h"
#include "TextUtils.h"

namespace {

bool Before(const AnsiString& a, const AnsiString& b)
{
  return AnsiCompareText(a, b) < 0;
}

}  // namespace

void TListBoxStrings::CheckIndex(int index, int limit) const
{
  if (index < 0 || index >= limit)
    IndexError(index);
}

AnsiString TListBoxStrings::Get(int index) const
{
  CheckIndex(index, Count());
  return lines_[static_cast<size_t>(index)];
}

void TListBoxStrings::Put(int index, const AnsiString& s)
{
  CheckIndex(index, Count());
  lines_[static_cast<size_t>(index)] = s;
  listBox_.LinesChanged();
}

void TListBoxStrings::Insert(int index, const AnsiString& s)
{
  CheckIndex(index, Count() + 1);
  lines_.insert(lines_.begin() + index, s);
  listBox_.LineInserted(index);
}

void TListBoxStrings::Delete(int index)
{
  CheckIndex(index, Count());
  lines_.erase(lines_.begin() + index);
  listBox_.LineDeleted(index);
}

void TListBoxStrings::Clear()
{
  lines_.clear();
  listBox_.LinesReplaced();
}

int TListBoxStrings::Add(const AnsiString& s)
{
  if (!sorted_)
    return TStrings::Add(s);
  const int index = static_cast<int>(std::upper_bound(lines_.begin(), lines_.end(), s, Before) - lines_.begin());
  Insert(index, s);
  return index;
}

void TListBoxStrings::SetUpdateState(bool updating)
{
  listBox_.SetUpdating(updating);
}

void TListBoxStrings::SetSorted(bool sorted)
{
  if (sorted == sorted_)
    return;
  sorted_ = sorted;
  if (sorted_ && !std::is_sorted(lines_.begin(), lines_.end(), Before)) {
    std::stable_sort(lines_.begin(), lines_.end(), Before);
    listBox_.LinesReplaced();
  }
}
