#include "trade/core/large_block_allocator.h"

#include <sys/mman.h>

#include <cstdlib>

void* AllocateLargeBlock(size_t bytes) {
  const size_t rounded = (bytes + kLargeBlock - 1) / kLargeBlock * kLargeBlock;
  if (rounded < bytes) throw std::bad_alloc();
  void* block = std::aligned_alloc(kLargeBlock, rounded);
  if (!block) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  madvise(block, rounded, MADV_HUGEPAGE);  // a hint; refused, the pages stay small
#endif
  return block;
}

void FreeLargeBlock(void* block) noexcept { std::free(block); }
