#include "log/DataCellPool.h"

#include <bit>
#include <cstdint>

size_t BDataCellPool::RecordsIn(size_t chunk)
{
  constexpr size_t Doublings = std::bit_width(ChunkRecords / FirstChunkRecords) - 1;
  return chunk >= Doublings ? ChunkRecords : FirstChunkRecords << chunk;
}

size_t BDataCellPool::Capacity() const
{
  size_t records = 0;
  for (size_t i = 0; i < chunks_.size(); ++i)
    records += RecordsIn(i);
  return records;
}

void BDataCellPool::AddChunk()
{
  const size_t records = RecordsIn(chunks_.size());
  // Not zeroed: pages are touched only as records are made in them.
  chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(records * sizeof(LDataCell)));
  used_ = 0;
  size_ = records;
}

void BDataCellPool::DropLast()
{
  if (chunks_.empty() || used_ == 0)
    return;
  --used_;
  reinterpret_cast<LDataCell*>(chunks_.back().get() + used_ * sizeof(LDataCell))->~LDataCell();
}

bool BDataCellPool::Owns(const LDataCell* cell) const
{
  const auto at = reinterpret_cast<uintptr_t>(cell);
  for (size_t i = 0; i < chunks_.size(); ++i) {
    const auto begin = reinterpret_cast<uintptr_t>(chunks_[i].get());
    if (cell && at >= begin && at - begin < RecordsIn(i) * sizeof(LDataCell))
      return true;
  }
  return false;
}

void BDataCellPool::Release()
{
  chunks_.clear();
  chunks_.shrink_to_fit();
  used_ = size_ = 0;
}
