#include "trade/core/large_block_allocator.h"

#include <sys/mman.h>

#include <cstdlib>

void* AllocateLargeBlock(size_t bytes) {
  const size_t rounded = (bytes + kLargeBlock - 1) / kLargeBlock * kLargeBlock;
  if (rounded < bytes) throw std::bad_alloc();
  void* block = std::aligned_alloc(kLargeBlock, rounded);
  if (!block) throw std::bad_alloc();
    // The block's pages are made present in one call rather than faulted in
    // one by one as the rows are written. Huge pages are not asked for: where
    // the kernel compacts memory for them on the spot, a fresh block on a busy
    // machine stalled the reply that first wrote it for up to ten times its
    // usual time. Refused (an older kernel), the pages fault in as before.
#ifdef MADV_POPULATE_WRITE
  madvise(block, rounded, MADV_POPULATE_WRITE);
#endif
  return block;
}

void FreeLargeBlock(void* block) noexcept { std::free(block); }
