#pragma once
// The line records of the parsed log, made in large chunks: a log has millions of them, and one
// allocation each would cost a heap header per record and an allocator call per line. Records
// are built in place; BQELunit::ClearDataCells destroys them and then gives the chunks back.
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
    if (used_ == ChunkRecords)
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

  // 4 MiB: few enough chunks for a 1 GB log, and a chunk's untouched pages take no memory.
  static constexpr size_t ChunkRecords = size_t{1} << 16;

private:
  using Chunk = std::unique_ptr<std::byte[]>;
  void AddChunk();
  LDataCell* At(size_t chunk, size_t slot) const;

  std::vector<Chunk> chunks_;
  size_t used_ = ChunkRecords;  // records made in the last chunk
};
