#include "log/DataCellPool.h"

#include <cstdint>

namespace {

constexpr size_t ChunkBytes = BDataCellPool::ChunkRecords * sizeof(LDataCell);

bool InChunk(const std::byte* chunk, const LDataCell* cell)
{
  const auto at = reinterpret_cast<uintptr_t>(cell);
  const auto begin = reinterpret_cast<uintptr_t>(chunk);
  return at >= begin && at - begin < ChunkBytes;
}

} // namespace

LDataCell* BDataCellPool::At(size_t chunk, size_t slot) const
{
  return reinterpret_cast<LDataCell*>(chunks_[chunk].get() + slot * sizeof(LDataCell));
}

void BDataCellPool::AddChunk()
{
  // Not zeroed: pages are touched only as records are made in them.
  chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(ChunkBytes));
  used_ = 0;
}

void BDataCellPool::DropLast()
{
  if (chunks_.empty() || used_ == 0)
    return;
  --used_;
  At(chunks_.size() - 1, used_)->~LDataCell();
}

bool BDataCellPool::Owns(const LDataCell* cell) const
{
  for (const Chunk& chunk : chunks_)
    if (cell && InChunk(chunk.get(), cell))
      return true;
  return false;
}

void BDataCellPool::Release()
{
  chunks_.clear();
  chunks_.shrink_to_fit();
  used_ = ChunkRecords;
}
