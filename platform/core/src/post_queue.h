// The one queue of posts and cross-thread calls that the user-interface
// thread drains (private to window.cpp): any number of producers, one
// consumer, unbounded, first in first out.
//
// A producer claims a cell with one compare-and-swap on the tail index and
// publishes it with one store; the consumer reads cells in order and takes
// no lock, so posting never waits for the drain nor the drain for posters.
// Cells live in blocks that the consumer hands back for reuse: a steady
// stream allocates nothing and touches no new pages.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/types.h"
#include "spin_wait.h"

namespace platform::detail {

struct QueuedItem {
  UINT kind = 0;  // neither 0 nor PostQueue::kPad; its meaning is the caller's
  UINT message = 0;
  HWND hwnd = nullptr;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class PostQueue {
 public:
  static constexpr UINT kPad = ~0u;  // fills cells no item uses

  PostQueue() : tailBlock_(new Block), headBlock_(tailBlock_.load()) {}
  PostQueue(const PostQueue&) = delete;
  PostQueue& operator=(const PostQueue&) = delete;

  // Any thread: queues one item, or two that the consumer pops back to back
  // (two share one cache line, so they cross to the consumer together).
  // Items are visible to Pop once this returns; the first cell's
  // publication is sequentially consistent, so a producer that then reads
  // the consumer's state and a consumer that sets its state and then calls
  // Ready() cannot both miss each other.
  void Push(const QueuedItem* items, unsigned count) {
    Block* spare = nullptr;
    uint64_t tail = tail_.load(std::memory_order_acquire);
    for (unsigned spins = 0;; ++spins) {
      const uint64_t offset = tail % kLap;
      if (offset == kCells) {
        // The producer that took the block's last cell is linking the next.
        Backoff(spins);
        tail = tail_.load(std::memory_order_acquire);
        continue;
      }
      // A pair starts on an even cell; what does not fit in this block
      // leaves the rest of it as padding.
      const uint64_t pad = count == 2 ? offset & 1 : 0;
      const bool fits = offset + pad + count <= kCells;
      const uint64_t take = fits ? pad + count : kCells - offset;
      const bool last = offset + take == kCells;
      if (last && !spare) spare = TakeBlock();
      Block* block = tailBlock_.load(std::memory_order_acquire);
      if (!tail_.compare_exchange_weak(tail, tail + take, std::memory_order_acq_rel,
                                       std::memory_order_acquire)) {
        continue;
      }
      if (last) {
        // Linked before the block's last cell is published: the consumer
        // follows `next` only after reading that cell.
        tailBlock_.store(spare, std::memory_order_release);
        tail_.store(tail + take + 1, std::memory_order_release);
        block->next.store(spare, std::memory_order_release);
        spare = nullptr;
      }
      Cell* cells = &block->cells[offset];
      if (!fits) {
        for (uint64_t i = 0; i < take; ++i) cells[i].kind.store(kPad, std::memory_order_seq_cst);
        tail = tail_.load(std::memory_order_acquire);
        continue;
      }
      if (pad) cells[0].kind.store(kPad, std::memory_order_seq_cst);
      cells += pad;
      for (unsigned i = count; i-- > 0;) {
        cells[i].message = items[i].message;
        cells[i].hwnd = items[i].hwnd;
        cells[i].wParam = items[i].wParam;
        cells[i].lParam = items[i].lParam;
        cells[i].kind.store(items[i].kind,
                            i ? std::memory_order_release : std::memory_order_seq_cst);
      }
      if (spare) GiveBack(spare);
      return;
    }
  }

  // Consumer only: takes the oldest item when it has been published.
  bool Pop(QueuedItem& out) {
    for (;;) {
      Cell& cell = headBlock_->cells[head_ % kLap];
      const UINT kind = cell.kind.load(std::memory_order_acquire);
      if (!kind) return false;
      out.kind = kind;
      out.message = cell.message;
      out.hwnd = cell.hwnd;
      out.wParam = cell.wParam;
      out.lParam = cell.lParam;
      if (++head_ % kLap == kCells) {
        Block* next = headBlock_->next.load(std::memory_order_acquire);
        GiveBack(headBlock_);
        headBlock_ = next;
        ++head_;
      }
      if (kind != kPad) return true;
    }
  }

  // Consumer only: whether the oldest cell is published, by an item or by
  // padding that a Pop skips (sequentially consistent).
  bool Ready() const {
    return headBlock_->cells[head_ % kLap].kind.load(std::memory_order_seq_cst) != 0;
  }

 private:
  static constexpr uint64_t kLap = 1024;
  static constexpr uint64_t kCells = kLap - 1;  // the last index of a lap means "next block coming"
  static constexpr size_t kSpareBlocks = 32;    // kept for reuse beyond a burst (1 MB)

  struct Cell {
    std::atomic<UINT> kind{0};
    UINT message = 0;
    HWND hwnd = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };
  static_assert(sizeof(Cell) == 32, "two cells to a cache line");

  struct alignas(64) Block {
    Cell cells[kCells];
    std::atomic<Block*> next{nullptr};
  };

  static void Backoff(unsigned spins) {
    if (spins < 64) {
      CpuRelax();
    } else {
      std::this_thread::yield();
    }
  }

  Block* TakeBlock() {
    {
      std::lock_guard<std::mutex> lock(spareMutex_);
      if (!spare_.empty()) {
        Block* block = spare_.back();
        spare_.pop_back();
        return block;
      }
    }
    return new Block;
  }

  // The block's cells are all consumed (or it was never linked): no
  // producer writes to it any more.
  void GiveBack(Block* block) {
    for (Cell& cell : block->cells) cell.kind.store(0, std::memory_order_relaxed);
    block->next.store(nullptr, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(spareMutex_);
    if (spare_.size() < kSpareBlocks) {
      spare_.push_back(block);
    } else {
      delete block;
    }
  }

  // Producers' side.
  alignas(64) std::atomic<uint64_t> tail_{0};
  std::atomic<Block*> tailBlock_;
  // Consumer's side.
  alignas(64) Block* headBlock_;
  uint64_t head_ = 0;

  alignas(64) std::mutex spareMutex_;
  std::vector<Block*> spare_;
};

}  // namespace platform::detail
