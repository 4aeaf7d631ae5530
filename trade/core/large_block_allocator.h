// The allocator of the trade store's long lists and of the scanned reply:
// blocks of 2 MiB and more are aligned to 2 MiB (where the kernel gives huge
// pages unasked, it can) and have their pages made present when they are
// allocated, in one call, so the first reply written into a fresh block of a
// hundred thousand records does not take a page fault every few rows.
// Smaller blocks come from the ordinary heap.
#pragma once
#include <cstddef>
#include <new>

// The large-block side; bytes is at least kLargeBlock.
void* AllocateLargeBlock(size_t bytes);
void FreeLargeBlock(void* block) noexcept;
constexpr size_t kLargeBlock = size_t{2} << 20;

template <class T>
struct SLargeBlockAllocator {
  using value_type = T;
  SLargeBlockAllocator() = default;
  template <class U>
  SLargeBlockAllocator(const SLargeBlockAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlock) return static_cast<T*>(AllocateLargeBlock(bytes));
    return static_cast<T*>(::operator new(bytes));
  }
  void deallocate(T* p, size_t n) noexcept {
    if (n * sizeof(T) >= kLargeBlock) {
      FreeLargeBlock(p);
    } else {
      ::operator delete(p);
    }
  }
  friend bool operator==(const SLargeBlockAllocator&, const SLargeBlockAllocator&) { return true; }
};
