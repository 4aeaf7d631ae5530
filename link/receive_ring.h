// Batches of received bodies on their way from the receive thread to the
// window on the user-interface thread, so that the receive thread reads the
// next batch while the window handles this one.
//
// A batch keeps the frame storage its bodies were read into until the
// window is done with them; the reader goes on in the storage of a batch
// already handled, so no body is copied on the way. Guarantees:
// - bodies reach the window one at a time, in the order they came;
// - a body stays valid until its handler returns;
// - while a body's handler runs (a message box, any nested loop), no
//   further body is delivered, as when each body crossed by a blocking
//   send;
// - the receive thread waits only when every batch is still with the
//   window, and Interrupt ends that wait.
// The window learns of waiting batches from a doorbell that the caller
// rings (a posted message), once per run of batches, not per batch.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/quote_frame.h"

namespace quotelink {

struct ReceivedBody {
  const char* body;
  uint32_t length;
};

class ReceiveRing {
 public:
  // Enough for the receive thread to run ahead over the window's wake-ups;
  // each batch holds at most one read-ahead block of bodies.
  static constexpr size_t kBatches = 4;

  // Room for every body that the reader's read-ahead block can hold, so
  // that passing a batch never allocates a list.
  explicit ReceiveRing(size_t readAheadBytes);
  ReceiveRing(const ReceiveRing&) = delete;
  ReceiveRing& operator=(const ReceiveRing&) = delete;

  enum class Passed {
    kQueued,        // with the window, which is already due to look
    kRingDoorbell,  // with the window: ring the doorbell
    kInterrupted,   // nothing passed: Interrupt was called
    kNoMemory,      // nothing passed: the reader could not take fresh storage
  };
  // Receive thread, after reader.Next delivered a body: passes it and the
  // bodies already read along with it to the window as one batch, and has
  // the reader go on in storage that the window is done with. Waits while
  // the window still holds every batch.
  Passed Pass(FrameReader& reader);

  // True when the caller must ring the doorbell: it has not been rung
  // since the window last looked.
  bool RingDoorbell() { return !doorbell_.exchange(true); }
  // Ringing failed; the next RingDoorbell rings again.
  void DoorbellLost() { doorbell_.store(false); }

  // Any thread: Pass waits no more and passes nothing from now on.
  void Interrupt();

  // User-interface thread, on the doorbell: hands the waiting bodies in
  // order to `take`, at most one round of batches, until `take` returns
  // false (the connection or the window has ended: nothing more is
  // delivered, nor anything touched but this ring). Inside a body's
  // handler it delivers nothing: the outer delivery goes on when the
  // handler returns. True when more bodies wait: ring again to have the
  // window come back for them after its other work.
  // A template, so a caller's own check after each body is inlined into
  // this loop: it runs once per body.
  template <typename Take>
  bool Deliver(const Take& take) {
    doorbell_.store(false);
    if (delivering_) return false;
    delivering_ = true;
    struct Done {
      bool& delivering;
      ~Done() { delivering = false; }
    } done{delivering_};
    for (size_t round = 0; round < kBatches; ++round) {
      Batch& batch = batches_[takeBatch_];
      if (!batch.withWindow.load()) return false;
      while (takeBody_ < batch.bodies.size()) {
        // The bodies were written on the receive thread's processor: ask
        // for a later one now, so its fetch overlaps the handlers before it.
        constexpr size_t kAhead = 8;
        if (takeBody_ + kAhead < batch.bodies.size())
          __builtin_prefetch(batch.bodies[takeBody_ + kAhead].body);
        // Counted before the handler runs: a delivery after one that ended
        // early never hands the same body twice.
        const ReceivedBody body = batch.bodies[takeBody_++];
        if (!take(body)) return false;
      }
      takeBody_ = 0;
      takeBatch_ = (takeBatch_ + 1) % kBatches;
      GiveBack(batch);
    }
    return batches_[takeBatch_].withWindow.load();
  }

 private:
  struct Batch {
    FrameStorage storage;  // where the bodies lie while the window has them
    std::vector<ReceivedBody> bodies;
    std::atomic<bool> withWindow{false};
  };

  // The batch to fill next, emptied, once the window is done with it;
  // nullptr once interrupted.
  Batch* NextToFill();
  void GiveBack(Batch& batch);

  Batch batches_[kBatches];
  // The receive thread's.
  size_t fillNext_ = 0;
  // Set when the doorbell has been rung and the window has not yet looked.
  alignas(64) std::atomic<bool> doorbell_{false};
  // The user-interface thread's: the next body to deliver.
  alignas(64) size_t takeBatch_ = 0;
  size_t takeBody_ = 0;
  bool delivering_ = false;
  // The receive thread's wait for a batch that the window is done with.
  alignas(64) std::atomic<bool> fillerWaiting_{false};
  std::mutex mutex_;
  std::condition_variable freed_;
  std::atomic<bool> interrupted_{false};  // set under mutex_
};

}  // namespace quotelink
