#include "chart/ChartSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double NoValueHere = std::numeric_limits<double>::quiet_NaN();
// Values beyond this, times any factor and plus any offset, still make a number.
constexpr double LargestScalable = 1e290;

BChartSummary::Entry EmptyEntry()
{
  return {HUGE_VAL, -HUGE_VAL, NoValueHere, NoValueHere};
}

void Merge(BChartSummary::Entry& into, const BChartSummary::Entry& from)
{
  if (std::isnan(from.First))
    return;
  if (std::isnan(into.First))
    into.First = from.First;
  into.Last = from.Last;
  into.Min = std::min(into.Min, from.Min);
  into.Max = std::max(into.Max, from.Max);
}

}  // namespace

void BChartSummary::Clear()
{
  built_ = false;
  kinds_.clear();
  usable_.clear();
  slotOf_.clear();
  levels_.clear();
}

const BChartSummary::Entry* BChartSummary::Entries(int32_t level, int64_t block) const
{
  return levels_[static_cast<size_t>(level)].entries.data() + block * static_cast<int64_t>(kinds_.size());
}

int64_t BChartSummary::FirstTime(int32_t level, int64_t block) const
{
  return levels_[static_cast<size_t>(level)].firstTimes[static_cast<size_t>(block)];
}

int64_t BChartSummary::LastTime(int32_t level, int64_t block) const
{
  return levels_[static_cast<size_t>(level)].lastTimes[static_cast<size_t>(block)];
}

size_t BChartSummary::Bytes() const
{
  size_t bytes = 0;
  for (const Level& level : levels_)
    bytes +=
        level.entries.capacity() * sizeof(Entry) + (level.firstTimes.capacity() + level.lastTimes.capacity()) * 8;
  return bytes;
}

void BChartSummary::Follow(uint64_t generation, const TPtrList<LDataCell>& records,
                           const std::vector<int32_t>& kinds)
{
  std::vector<int32_t> wanted;
  for (int32_t kind : kinds)
    if (std::find(wanted.begin(), wanted.end(), kind) == wanted.end())
      wanted.push_back(kind);
  if (built_ && generation == generation_ && wanted == kinds_)
    return;
  Clear();
  built_ = true;
  generation_ = generation;
  kinds_ = wanted;
  usable_.assign(kinds_.size(), true);
  timeOrdered_ = true;

  // Kinds met in a log are small numbers: looked up directly.
  int32_t largest = 0;
  for (int32_t kind : kinds_)
    largest = std::max(largest, kind);
  std::vector<int32_t> slotOf(static_cast<size_t>(largest) + 2, -1);
  for (size_t s = 0; s < kinds_.size(); ++s)
    if (kinds_[s] >= -1)
      slotOf[static_cast<size_t>(kinds_[s] + 1)] = static_cast<int32_t>(s);

  const size_t slots = kinds_.size();
  const int64_t count = records.Count();
  Level base;
  const int64_t blocks = (count + BlockSize - 1) / BlockSize;
  base.entries.assign(static_cast<size_t>(blocks) * slots, EmptyEntry());
  base.firstTimes.resize(static_cast<size_t>(blocks));
  base.lastTimes.resize(static_cast<size_t>(blocks));
  std::vector<const LDataCell*> lastOfSlot(slots, nullptr);
  int64_t latest = std::numeric_limits<int64_t>::min();
  for (int64_t i = 0; i < count; ++i) {
    const LDataCell* cell = records.Get(static_cast<int32_t>(i));
    if (!cell) {
      timeOrdered_ = false;
      break;
    }
    if (cell->Time < latest)
      timeOrdered_ = false;
    latest = cell->Time;
    const int64_t block = i / BlockSize;
    if (i % BlockSize == 0)
      base.firstTimes[static_cast<size_t>(block)] = cell->Time;
    base.lastTimes[static_cast<size_t>(block)] = cell->Time;
    if (cell->Kind < -1 || cell->Kind > largest)
      continue;
    const int32_t slot = slotOf[static_cast<size_t>(cell->Kind + 1)];
    if (slot < 0)
      continue;
    const auto s = static_cast<size_t>(slot);
    if ((lastOfSlot[s] ? lastOfSlot[s]->Next != cell : cell->Prev != nullptr) ||
        !(std::fabs(cell->Value) <= LargestScalable))
      usable_[s] = false;
    lastOfSlot[s] = cell;
    const double v = cell->Value;
    Merge(base.entries[static_cast<size_t>(block) * slots + s], Entry{v, v, v, v});
  }
  for (size_t s = 0; s < slots; ++s)
    if (lastOfSlot[s] && lastOfSlot[s]->Next)
      usable_[s] = false;
  slotOf_.assign(slotOf.size(), -1);
  for (size_t s = 0; s < slots; ++s)
    if (usable_[s] && kinds_[s] >= -1)
      slotOf_[static_cast<size_t>(kinds_[s] + 1)] = static_cast<int32_t>(s);
  if (!timeOrdered_) {
    levels_.clear();
    return;
  }
  levels_.push_back(std::move(base));

  // Each level sums Fanout blocks of the one below, while there is more than one block.
  while (levels_.back().firstTimes.size() > 1) {
    const Level& below = levels_.back();
    const size_t under = below.firstTimes.size();
    const size_t n = (under + Fanout - 1) / Fanout;
    Level level;
    level.entries.assign(n * slots, EmptyEntry());
    level.firstTimes.resize(n);
    level.lastTimes.resize(n);
    for (size_t b = 0; b < n; ++b) {
      const size_t from = b * Fanout;
      const size_t to = std::min(under, from + Fanout);
      level.firstTimes[b] = below.firstTimes[from];
      level.lastTimes[b] = below.lastTimes[to - 1];
      for (size_t u = from; u < to; ++u)
        for (size_t s = 0; s < slots; ++s)
          Merge(level.entries[b * slots + s], below.entries[u * slots + s]);
    }
    levels_.push_back(std::move(level));
  }
}
