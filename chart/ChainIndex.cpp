#include "chart/ChainIndex.h"

#include <algorithm>
#include <limits>

namespace {

// Kinds met in a log: the three record kinds below 2 and parameter ids from 2 up; looked up
// directly, any other kind by a search of the few kinds asked for.
constexpr int32_t DirectKinds = 4096;

}  // namespace

LDataCell* FirstOfKind(const TPtrList<LDataCell>& records, int32_t kind)
{
  for (int32_t i = 0; i < records.Count(); ++i) {
    LDataCell* cell = records.Get(i);
    if (cell && cell->Kind == kind)
      return cell;
  }
  return nullptr;
}

LDataCell* ReachAlongLinks(LDataCell* first, int64_t time)
{
  LDataCell* cell = first;
  if (!cell)
    return nullptr;
  while (cell->Next && cell->Next->Time <= time)
    cell = cell->Next;
  return cell->Time <= time ? cell : nullptr;
}

void BChainIndex::Clear()
{
  chains_.clear();
  count_ = 0;
  firstRecord_ = nullptr;
  lastRecord_ = nullptr;
}

void BChainIndex::Follow(const TPtrList<LDataCell>& records)
{
  const int32_t count = records.Count();
  const LDataCell* first = count > 0 ? records.Get(0) : nullptr;
  const LDataCell* last = count > 0 ? records.Get(count - 1) : nullptr;
  if (count == count_ && first == firstRecord_ && last == lastRecord_)
    return;
  Clear();
  count_ = count;
  firstRecord_ = first;
  lastRecord_ = last;
}

bool BChainIndex::Add(const TPtrList<LDataCell>& records, const std::vector<int32_t>& kinds, const Step& goOn)
{
  Follow(records);
  std::vector<Chain> added;
  for (int32_t kind : kinds) {
    if (Find(kind) || std::any_of(added.begin(), added.end(), [&](const Chain& c) { return c.kind == kind; }))
      continue;
    Chain chain;
    chain.kind = kind;
    chain.usable = true;
    chain.listOrder = true;
    added.push_back(chain);
  }
  if (added.empty())
    return true;

  // The parser links the records of a kind in list order. One pass over the list then meets
  // every chain in its own order, and reads the records where they lie in memory instead of
  // hopping along the links. A chain whose links run otherwise is walked along them after.
  std::vector<int32_t> slotOf(DirectKinds, -1);
  for (size_t m = 0; m < added.size(); ++m)
    if (added[m].kind >= -1 && added[m].kind < DirectKinds - 1)
      slotOf[static_cast<size_t>(added[m].kind + 1)] = static_cast<int32_t>(m);
  std::vector<const LDataCell*> firsts(added.size(), nullptr);
  std::vector<const LDataCell*> lasts(added.size(), nullptr);
  std::vector<int64_t> lengths(added.size(), 0);
  std::vector<int64_t> latest(added.size(), std::numeric_limits<int64_t>::min());
  const int32_t count = records.Count();
  for (int32_t i = 0; i < count; ++i) {
    if (goOn && i % StepEvery == 0 && !goOn(i, count))
      return false;
    const LDataCell* cell = records.Get(i);
    if (!cell)
      continue;
    int32_t slot = -1;
    if (cell->Kind >= -1 && cell->Kind < DirectKinds - 1) {
      slot = slotOf[static_cast<size_t>(cell->Kind + 1)];
    } else {
      const auto it =
          std::find_if(added.begin(), added.end(), [&](const Chain& c) { return c.kind == cell->Kind; });
      if (it != added.end())
        slot = static_cast<int32_t>(it - added.begin());
    }
    if (slot < 0)
      continue;
    const size_t m = static_cast<size_t>(slot);
    Chain& chain = added[m];
    if (!firsts[m])
      firsts[m] = cell;
    if (!chain.listOrder)
      continue;
    if (lasts[m] && lasts[m]->Next != cell) {
      chain.listOrder = false;
      continue;
    }
    const int64_t position = lengths[m]++;
    if (position > 0)
      latest[m] = std::max(latest[m], cell->Time);
    if (position % Spacing == 0) {
      chain.marks.push_back(i);
      chain.upTo.push_back(latest[m]);
    }
    lasts[m] = cell;
  }
  for (size_t m = 0; m < added.size(); ++m) {
    if (added[m].listOrder && lasts[m] && lasts[m]->Next)
      added[m].listOrder = false;
    chains_.push_back(added[m].listOrder ? std::move(added[m]) : Build(records, added[m].kind, firsts[m]));
  }
  return true;
}

BChainIndex::Chain BChainIndex::Build(const TPtrList<LDataCell>& records, int32_t kind, const LDataCell* first)
{
  Chain chain;
  chain.kind = kind;
  chain.usable = true;
  int64_t latest = std::numeric_limits<int64_t>::min();
  int64_t position = 0;
  for (const LDataCell* cell = first; cell; cell = cell->Next, ++position) {
    // A chain longer than the list loops: leave it to the caller's own walk.
    const bool placed = cell->Index >= 0 && cell->Index < records.Count() && records.Get(cell->Index) == cell;
    if (position >= records.Count() || (position % Spacing == 0 && !placed)) {
      chain.usable = false;
      chain.marks.clear();
      chain.upTo.clear();
      return chain;
    }
    if (position > 0)
      latest = std::max(latest, cell->Time);
    if (position % Spacing == 0) {
      chain.marks.push_back(cell->Index);
      chain.upTo.push_back(latest);
    }
  }
  return chain;
}

const BChainIndex::Chain* BChainIndex::Find(int32_t kind) const
{
  for (const Chain& chain : chains_)
    if (chain.kind == kind)
      return &chain;
  return nullptr;
}

LDataCell* BChainIndex::At(const TPtrList<LDataCell>& records, int32_t position, int32_t kind)
{
  if (position < 0 || position >= records.Count())
    return nullptr;
  LDataCell* cell = records.Get(position);
  return cell && cell->Kind == kind ? cell : nullptr;
}

bool BChainIndex::InListOrder(int32_t kind) const
{
  const Chain* chain = Find(kind);
  return chain && chain->usable && chain->listOrder;
}

bool BChainIndex::First(const TPtrList<LDataCell>& records, int32_t kind, LDataCell*& out) const
{
  const Chain* chain = Find(kind);
  if (!chain || !chain->usable)
    return false;
  if (chain->marks.empty()) {
    out = nullptr;
    return true;
  }
  LDataCell* first = At(records, chain->marks.front(), kind);
  if (!first)
    return false;
  out = first;
  return true;
}

bool BChainIndex::Reach(const TPtrList<LDataCell>& records, int32_t kind, int64_t time, LDataCell*& out) const
{
  const Chain* chain = Find(kind);
  if (!chain || !chain->usable)
    return false;
  if (chain->marks.empty()) {
    out = nullptr;
    return true;
  }
  // The walk passes a mark exactly when no record between the first and that mark is after
  // `time`: the last such mark is where it would be, and the rest is a few steps.
  const auto after = std::upper_bound(chain->upTo.begin(), chain->upTo.end(), time);
  const size_t mark = static_cast<size_t>(after - chain->upTo.begin()) - 1;
  LDataCell* cell = At(records, chain->marks[mark], kind);
  if (!cell)
    return false;
  out = ReachAlongLinks(cell, time);
  return true;
}
