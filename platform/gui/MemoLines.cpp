#include "MemoLines.h"

#include <algorithm>
#include <climits>
#include <utility>

TMemoStrings::TMemoStrings(MemoStore& store, std::function<void(bool)> changed)
    : store_(store), changed_(std::move(changed))
{
}

int TMemoStrings::Count() const
{
  return static_cast<int>(std::min<int64_t>(store_.Count(), INT_MAX));
}

void TMemoStrings::CheckIndex(int index, int limit) const
{
  if (index < 0 || index >= limit)
    IndexError(index);
}

AnsiString TMemoStrings::Get(int index) const
{
  CheckIndex(index, Count());
  return AnsiString(store_.Line(index));
}

void TMemoStrings::Put(int index, const AnsiString& s)
{
  CheckIndex(index, Count());
  store_.Put(index, s);
  Changed(false);
}

void TMemoStrings::Insert(int index, const AnsiString& s)
{
  CheckIndex(index, Count() + 1);
  store_.Insert(index, s);
  Changed(false);
}

void TMemoStrings::Delete(int index)
{
  CheckIndex(index, Count());
  store_.Delete(index);
  Changed(false);
}

void TMemoStrings::Clear()
{
  store_.Clear();
  Changed(true);
}

void TMemoStrings::SetText(const AnsiString& text)
{
  store_.SetText(text);
  Changed(true);
}

void TMemoStrings::LoadFromFile(const AnsiString& fileName)
{
  store_.LoadFromFile(fileName);
  Changed(true);
}

bool TMemoStrings::LoadFromFile(const AnsiString& fileName, const MemoLoadStep& step)
{
  if (!store_.LoadFromFile(fileName, step))
    return false;
  Changed(true);
  return true;
}

void TMemoStrings::SetUpdateState(bool updating)
{
  updating_ = updating;
  if (!updating && pending_) {
    pending_ = false;
    const bool replaced = std::exchange(pendingReplaced_, false);
    if (changed_)
      changed_(replaced);
  }
}

void TMemoStrings::Changed(bool replaced)
{
  if (updating_) {
    pending_ = true;
    pendingReplaced_ = pendingReplaced_ || replaced;
  } else if (changed_) {
    changed_(replaced);
  }
}
