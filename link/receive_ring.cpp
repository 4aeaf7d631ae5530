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
  if (!reader.ExchangeStorage(batch->storage))
    return Passed::kNoMemory;  // the next fill takes it again
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

}  // namespace quotelink
