#pragma once
// The line records of the parsed log, made in large chunks: a log has millions of them, and one
// allocation each would cost a heap header per record and an allocator call per line. Records
// are built in place; BQELunit::ClearDataCells destroys them and then gives the chunks back.
// The first chunk is small and each next one twice the last, up to the largest: a short log
// takes little memory and little time to set up.
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "log/Records.h"

class BDataCellPool {
public:
  BDataCellPool() = default;
  BDataCellPool(const BDataCellPool&) = delete;
  BDataCellPool& operator=(const BDataCellPool&) = delete;

  // A new record with the defaults of LDataCell; std::bad_alloc when no chunk can be had.
  LDataCell* New()
  {
    if (used_ == size_)
      AddChunk();
    return new (chunks_.back().get() + used_++ * sizeof(LDataCell)) LDataCell;
  }
  // Destroys the record that New made last, for one that could not be listed.
  void DropLast();
  // Whether the record was made here.
  bool Owns(const LDataCell* cell) const;
  // Gives every chunk back; the records made here must have been destroyed first.
  void Release();

  size_t ChunkCount() const { return chunks_.size(); }

  // Records the chunks hold in all.
  size_t Capacity() const;

  // The largest chunk, 4 MiB: few enough chunks for a 1 GB log, and a chunk's untouched pages
  // take no memory. The first chunk holds 64 KiB.
  static constexpr size_t ChunkRecords = size_t{1} << 16;
  static constexpr size_t FirstChunkRecords = size_t{1} << 10;

private:
  using Chunk = std::unique_ptr<std::byte[]>;
  void AddChunk();
  static size_t RecordsIn(size_t chunk);

  std::vector<Chunk> chunks_;
  size_t used_ = 0;  // records made in the last chunk
  size_t size_ = 0;  // records the last chunk holds
};
