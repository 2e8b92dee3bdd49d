#pragma once
// Per-block summaries of the chart mask's parameters over the line records, so that a drawing
// costs the pixels on screen rather than the records in the log: for every block of records
// (256 of them, and blocks of 4, 16, ... of those) the time of its first and last record and,
// for each parameter, the least and greatest value and the first and last value. Built in one
// pass over the records once per parse and mask (keyed on the chart's data generation), and only
// usable where the records are in time order and a parameter's chain joins its records in list
// order, as the parser makes them.
#include <cstdint>
#include <vector>

#include "PtrList.h"
#include "log/Records.h"

class BChartSummary {
public:
  struct Entry {
    double Min;
    double Max;
    double First;  // NaN: no record of the parameter in the block
    double Last;
  };
  static constexpr int32_t BlockSize = 256;  // LevelShift counts on both
  static constexpr int32_t Fanout = 4;

  void Clear();
  // Builds the summaries of these kinds unless they are built for this generation.
  void Follow(uint64_t generation, const TPtrList<LDataCell>& records, const std::vector<int32_t>& kinds);

  // Whether the records are all there and in time order.
  bool TimeOrdered() const { return timeOrdered_; }
  // The kind's slot in the entries; -1 when the kind is not summarised or cannot be used (its
  // chain out of list order, or a value that is no number or too large to scale).
  int32_t Slot(int32_t kind) const
  {
    return kind >= -1 && kind + 1 < static_cast<int32_t>(slotOf_.size()) ? slotOf_[static_cast<size_t>(kind + 1)]
                                                                         : -1;
  }
  int32_t Slots() const { return static_cast<int32_t>(kinds_.size()); }

  // Levels of blocks: level l holds blocks of BlockSize * Fanout^l records.
  int32_t Levels() const { return static_cast<int32_t>(levels_.size()); }
  static int64_t LevelSize(int32_t level) { return int64_t{1} << LevelShift(level); }
  static int32_t LevelShift(int32_t level) { return 8 + 2 * level; }
  // The entries of block b of a level, one a slot; its first and last record's times.
  const Entry* Entries(int32_t level, int64_t block) const;
  int64_t FirstTime(int32_t level, int64_t block) const;
  int64_t LastTime(int32_t level, int64_t block) const;

  // Memory held, for the benchmark.
  size_t Bytes() const;

private:
  struct Level {
    std::vector<Entry> entries;  // blocks x slots
    std::vector<int64_t> firstTimes;
    std::vector<int64_t> lastTimes;
  };

  bool built_ = false;
  uint64_t generation_ = 0;
  bool timeOrdered_ = false;
  std::vector<int32_t> kinds_;
  std::vector<bool> usable_;
  std::vector<int32_t> slotOf_;  // by kind + 1: the slot of a usable kind, else -1
  std::vector<Level> levels_;
};
