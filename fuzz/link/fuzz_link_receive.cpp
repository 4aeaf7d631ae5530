// The receive path of the quote link over arbitrary byte streams: frames
// are read in pieces whose sizes come from the input and passed on in
// batches, which the window takes up to a full round late, while the reader
// reads on; every body must still be the bytes of its frame when it goes
// through the link's body handling.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "link/link_trace.h"
#include "link/quote_frame.h"
#include "link/receive_ring.h"
#include "link/received_body.h"

namespace {

class PieceSource : public quotelink::ByteSource {
 public:
  PieceSource(const uint8_t* data, size_t size, size_t piece)
      : data_(data), size_(size), piece_(piece) {}
  long Read(void* buffer, size_t capacity) override {
    size_t n = size_ - at_;
    if (n > capacity) n = capacity;
    if (n > piece_) n = piece_;
    if (n == 0) return 0;
    std::memcpy(buffer, data_ + at_, n);
    at_ += n;
    return (long)n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t piece_;
  size_t at_ = 0;
};

// Reads every byte it is lent, as a client window would.
class TouchingActions : public quotelink::BodyActions {
 public:
  unsigned sum = 0;
  void Touch(const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) sum += b[i];
  }
  void Forward(const char* body, uint32_t length) override { Touch(body, length); }
  void ForwardInitialData(const char* body, uint32_t length) override { Touch(body, length); }
  void Request(const void* body, uint32_t length) override { Touch(body, length); }
  void Progress(int, const char* text) override { Touch(text, std::strlen(text)); }
  void EndLoginPhase() override {}
  void ShowRefusal(const std::string& text) override { Touch(text.data(), text.size()); }
};

// The bodies the frame rules give, read straight from the stream: the
// frames up to a bad marker, a frame beyond the reader's maximum or a frame
// cut short, without the empty ones.
std::vector<std::string> BodiesOf(const uint8_t* data, size_t size) {
  std::vector<std::string> bodies;
  size_t at = 0;
  while (size - at >= quotelink::kFrameHeaderSize) {
    const uint8_t* h = data + at;
    if (h[4] != 0x0A || h[5] != 0x0A || h[6] != 0x0A || h[7] != 0x0A) break;
    const int32_t length =
        (int32_t)((uint32_t)h[0] << 24 | (uint32_t)h[1] << 16 | (uint32_t)h[2] << 8 | h[3]);
    at += quotelink::kFrameHeaderSize;
    if (length < 1) continue;
    if ((uint32_t)length > quotelink::kMaxFrameBody || (size_t)length > size - at) break;
    bodies.emplace_back(reinterpret_cast<const char*>(data + at), (size_t)length);
    at += (size_t)length;
  }
  return bodies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Dropped bodies are traced: the run measures the receive path, not the
  // speed of standard error.
  static const bool quiet = (quotelink::SetTraceSink([](const std::string&) {}), true);
  (void)quiet;
  if (size < 1) return 0;
  const size_t piece = 1 + data[0] % 64;
  const size_t lag =
      1 + data[0] % quotelink::ReceiveRing::kBatches;  // batches read ahead of the window
  const std::vector<std::string> expected = BodiesOf(data + 1, size - 1);
  PieceSource source(data + 1, size - 1, piece);
  quotelink::FrameReader reader(64 + data[0]);
  quotelink::ReceiveRing ring(64 + data[0]);
  TouchingActions actions;
  quotelink::ReceivedBodyHandler handler(actions);
  size_t delivered = 0, waiting = 0;
  auto deliver = [&] {
    ring.Deliver([&](const quotelink::ReceivedBody& b) {
      if (delivered >= expected.size() || expected[delivered] != std::string(b.body, b.length))
        __builtin_trap();
      ++delivered;
      handler.Handle(b.body, b.length);
      return true;
    });
    waiting = 0;
  };
  for (;;) {
    auto result = reader.Next(source);
    if (result == quotelink::FrameReader::Result::kEmpty) continue;
    if (result != quotelink::FrameReader::Result::kBody) break;
    if (ring.Pass(reader) == quotelink::ReceiveRing::Passed::kNoMemory) return 0;
    if (++waiting == lag) deliver();
  }
  deliver();
  if (delivered != expected.size()) __builtin_trap();
  return 0;
}
