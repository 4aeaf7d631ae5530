// The receive path of the quote link over arbitrary byte streams: frames
// are read in pieces whose sizes come from the input, and every body goes
// through the link's body handling.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "link/quote_frame.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t piece = 1 + data[0] % 64;
  PieceSource source(data + 1, size - 1, piece);
  quotelink::FrameReader reader(64 + data[0]);
  TouchingActions actions;
  quotelink::ReceivedBodyHandler handler(actions);
  for (;;) {
    auto result = reader.Next(source);
    if (result == quotelink::FrameReader::Result::kEmpty) continue;
    if (result != quotelink::FrameReader::Result::kBody) break;
    // The bodies read along with it are handled after it, as the receive
    // thread hands them over together.
    const char* bodies[16] = {reader.Body()};
    uint32_t lengths[16] = {reader.BodyLength()};
    int count = 1;
    while (count < 16 && reader.NextBuffered(&bodies[count], &lengths[count]))
      if (lengths[count] > 0) ++count;
    for (int i = 0; i < count; ++i) handler.Handle(bodies[i], lengths[i]);
  }
  return 0;
}
