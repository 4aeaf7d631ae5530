#include "link/receive_ring.h"

namespace quotelink {

ReceiveRing::ReceiveRing(size_t readAheadBytes) {
  // The body that Next delivered, then the shortest frames (a header and
  // one byte) filling the block.
  const size_t most = 1 + readAheadBytes / (kFrameHeaderSize + 1);
  for (Batch& batch : batches_) batch.bodies.reserve(most);
}

ReceiveRing::Batch* ReceiveRing::NextToFill() {
  Batch& batch = batches_[fillNext_];
  if (batch.withWindow.load(std::memory_order_acquire)) {
    std::unique_lock<std::mutex> lock(mutex_);
    // Set before the batch is looked at again, while the window gives a
    // batch back before it looks at this: one of the two sees the other.
    fillerWaiting_.store(true);
    freed_.wait(lock, [&] { return interrupted_.load() || !batch.withWindow.load(); });
    fillerWaiting_.store(false, std::memory_order_relaxed);
  }
  if (interrupted_.load()) return nullptr;
  batch.bodies.clear();
  return &batch;
}

ReceiveRing::Passed ReceiveRing::Pass(FrameReader& reader) {
  Batch* batch = NextToFill();
  if (!batch) return Passed::kInterrupted;
  batch->bodies.push_back({reader.Body(), reader.BodyLength()});
  // Read back from registers, not as one record of the two stores just
  // made (which would wait on every frame for the stores to land).
  const char* body;
  uint32_t length;
  while (reader.NextBuffered(&body, &length))
    if (length > 0) batch->bodies.push_back({body, length});
  if (!reader.ExchangeStorage(batch->storage)) return Passed::kNoMemory;  // the next fill takes it again
  fillNext_ = (fillNext_ + 1) % kBatches;
  // Handed over before the doorbell is looked at, while the window clears
  // the doorbell before it looks at the batches: no batch waits unseen.
  batch->withWindow.store(true);
  return RingDoorbell() ? Passed::kRingDoorbell : Passed::kQueued;
}

void ReceiveRing::Interrupt() {
  std::lock_guard<std::mutex> lock(mutex_);
  interrupted_.store(true);
  freed_.notify_all();
}

void ReceiveRing::GiveBack(Batch& batch) {
  batch.withWindow.store(false);
  if (fillerWaiting_.load()) {
    std::lock_guard<std::mutex> lock(mutex_);
    freed_.notify_one();
  }
}

bool ReceiveRing::Deliver(const std::function<bool(const ReceivedBody&)>& take) {
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
      // The bodies were written on the receive thread's processor: ask for
      // a later one now, so its fetch overlaps the handlers before it.
      constexpr size_t kAhead = 8;
      if (takeBody_ + kAhead < batch.bodies.size()) __builtin_prefetch(batch.bodies[takeBody_ + kAhead].body);
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

}  // namespace quotelink
