#pragma once
// The inverse block sort. A big block's table does not fit the caches, and the one walk through
// it waits on memory at every byte, so big blocks are walked as many short chains at once.
#include <cstdint>

namespace zzip {

// The plain walk: one step per byte, from the primary row backwards through the block.
void UnsortPlain(const uint8_t* last, int n, int primary, uint8_t* out);

// The same bytes, walked from every markStep-th row (counted from the primary) up to the next
// marked row, many walks at once, the pieces then put in order from the primary's. markStep is a
// power of two, at least 2.
void UnsortChained(const uint8_t* last, int n, int primary, uint8_t* out, uint32_t markStep);

}  // namespace zzip
