// The hand-over of received bodies from the receive thread to the window:
// order, bodies left intact while the reader reads on, no delivery inside
// a handler, the doorbell, and the end of the reader's wait.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/quote_frame.h"
#include "link/receive_ring.h"
#include "memory_source.h"

using namespace quotelink;

namespace {

constexpr size_t kReadAhead = 4096;
constexpr auto kWait = std::chrono::seconds(20);

// Body i: its number in the first four bytes (when it has room), then a
// pattern of its own.
char PatternByte(size_t i, size_t at) { return (char)((i * 7 + at) & 0xFF); }

std::string NumberedBody(uint32_t i, size_t size) {
  std::string b(size, '\0');
  for (size_t at = 0; at < size; ++at) b[at] = PatternByte(i, at);
  if (size >= 4) std::memcpy(&b[0], &i, 4);
  return b;
}

bool IsBody(const ReceivedBody& body, uint32_t i, size_t size) {
  return body.length == size && std::string(body.body, body.length) == NumberedBody(i, size);
}

// Sizes from one byte to bodies longer than the read-ahead block; every
// 50th frame is empty and delivers nothing.
struct Stream {
  std::string bytes;
  std::vector<size_t> sizes;  // of the bodies delivered, in order
  explicit Stream(int frames) {
    const size_t cycle[] = {1, 2, 200, 5000, 13, 70000, 9, 600, 3};
    for (int n = 0; n < frames; ++n) {
      if (n % 50 == 49) {
        bytes += EncodeFrame("", 0);
        continue;
      }
      const size_t size = cycle[n % (sizeof cycle / sizeof cycle[0])];
      const std::string body = NumberedBody((uint32_t)sizes.size(), size);
      bytes += EncodeFrame(body.data(), body.size());
      sizes.push_back(size);
    }
  }
};

// What the window's message queue does for the doorbell: counts rings
// until they are taken.
class Doorbell {
 public:
  void Ring() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++rings_;
    cv_.notify_one();
  }
  bool Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, kWait, [&] { return rings_ > 0; })) return false;
    --rings_;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  int rings_ = 0;
};

// The receive thread's loop: reads frames and passes them on until the
// stream ends or the ring is interrupted.
struct Filler {
  Filler(const std::string& bytes, size_t step, ReceiveRing& ring, Doorbell& bell)
      : ring(ring), source(bytes, step), thread([this, &bell] {
          for (;;) {
            const FrameReader::Result r = reader.Next(source);
            if (r == FrameReader::Result::kEmpty) continue;
            if (r != FrameReader::Result::kBody) return;
            last = this->ring.Pass(reader);
            if (last == ReceiveRing::Passed::kInterrupted || last == ReceiveRing::Passed::kNoMemory)
              return;
            passed.fetch_add(1);
            if (last == ReceiveRing::Passed::kRingDoorbell) bell.Ring();
          }
        }) {}
  // A test that fails early leaves the reader waiting for the window.
  ~Filler() {
    ring.Interrupt();
    Join();
  }
  void Join() {
    if (thread.joinable()) thread.join();
  }
  bool WaitPassed(int batches) const {
    const auto until = std::chrono::steady_clock::now() + kWait;
    while (passed.load() < batches && std::chrono::steady_clock::now() < until)
      std::this_thread::yield();
    return passed.load() >= batches;
  }

  ReceiveRing& ring;
  MemorySource source;
  FrameReader reader{kReadAhead};
  std::atomic<int> passed{0};
  ReceiveRing::Passed last = ReceiveRing::Passed::kQueued;
  std::thread thread;  // last: it uses the members above
};

TEST(ReceiveRing, BodiesComeInOrderAndStayIntactWhileTheReaderReadsOn) {
  Stream stream(900);
  for (size_t step : {size_t(3), size_t(1000), size_t(1) << 20}) {
    SCOPED_TRACE("pieces of " + std::to_string(step));
    ReceiveRing ring(kReadAhead);
    Doorbell bell;
    Filler filler(stream.bytes, step, ring, bell);
    // The reader fills every batch and waits for the window before any is
    // delivered.
    ASSERT_TRUE(filler.WaitPassed((int)ReceiveRing::kBatches));
    uint32_t next = 0;
    bool intact = true;
    while (next < stream.sizes.size()) {
      ASSERT_TRUE(bell.Wait()) << "stuck after body " << next;
      const bool more = ring.Deliver([&](const ReceivedBody& body) {
        const uint32_t i = next++;
        intact &= IsBody(body, i, stream.sizes[i]);
        // Give the reader time to read on, then look again: the body must
        // not have changed before its handler returns.
        for (int n = 0; n < 3; ++n) std::this_thread::yield();
        intact &= IsBody(body, i, stream.sizes[i]);
        return intact;
      });
      ASSERT_TRUE(intact) << "body " << next - 1;
      if (more && ring.RingDoorbell()) bell.Ring();
    }
  }
}

TEST(ReceiveRing, NothingIsDeliveredInsideAHandlerAndTheDoorbellRingsOncePerLook) {
  // Four frames of one size, read one per receive: a batch each.
  std::string bytes;
  for (uint32_t i = 0; i < 4; ++i) bytes += EncodeFrame(NumberedBody(i, 20).data(), 20);
  MemorySource source(bytes, bytes.size() / 4);
  FrameReader reader(kReadAhead);
  ReceiveRing ring(kReadAhead);
  std::vector<ReceiveRing::Passed> passes;
  for (int n = 0; n < 3; ++n) {
    ASSERT_EQ(reader.Next(source), FrameReader::Result::kBody);
    passes.push_back(ring.Pass(reader));
  }
  EXPECT_EQ(passes, (std::vector<ReceiveRing::Passed>{ReceiveRing::Passed::kRingDoorbell,
                                                      ReceiveRing::Passed::kQueued,
                                                      ReceiveRing::Passed::kQueued}));
  std::vector<uint32_t> outer;
  int nested = 0;
  bool nestedMore = true;
  const bool more = ring.Deliver([&](const ReceivedBody& body) {
    outer.push_back(IsBody(body, (uint32_t)outer.size(), 20) ? (uint32_t)outer.size() : 99);
    if (outer.size() == 1)
      nestedMore = ring.Deliver([&](const ReceivedBody&) { return ++nested > 0; });
    return true;
  });
  EXPECT_EQ(outer, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(nested, 0);
  EXPECT_FALSE(nestedMore);
  EXPECT_FALSE(more);
  // The window has looked: the next batch rings again.
  ASSERT_EQ(reader.Next(source), FrameReader::Result::kBody);
  EXPECT_EQ(ring.Pass(reader), ReceiveRing::Passed::kRingDoorbell);
}

TEST(ReceiveRing, InterruptEndsTheReadersWaitForTheWindow) {
  Stream stream(900);
  ReceiveRing ring(kReadAhead);
  Doorbell bell;
  Filler filler(stream.bytes, 1000, ring, bell);
  ASSERT_TRUE(filler.WaitPassed((int)ReceiveRing::kBatches));
  ring.Interrupt();  // the window has taken none
  filler.Join();
  EXPECT_EQ(filler.last, ReceiveRing::Passed::kInterrupted);
  EXPECT_EQ(filler.passed.load(), (int)ReceiveRing::kBatches);
}

}  // namespace
