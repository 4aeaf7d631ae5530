// The frame that wraps every message on the quote connection: a 4-byte
// body length in network order, the marker 0x0A0A0A0A, then the body.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quotelink {

constexpr uint32_t kFrameMarker = 0x0A0A0A0A;
constexpr size_t kFrameHeaderSize = 8;
// A longer frame is taken for a broken stream rather than allocated.
constexpr uint32_t kMaxFrameBody = 64u << 20;
constexpr size_t kInitialReceiveCapacity = 5120;

void EncodeFrameHeader(uint32_t bodyLength, unsigned char out[kFrameHeaderSize]);
std::string EncodeFrame(const void* body, size_t length);

// Where frames are read from: Read returns the count received (at least 1),
// 0 when the peer has closed, a negative value on error.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual long Read(void* buffer, size_t capacity) = 0;
};

// What a frame reader reads into: the read-ahead block, and the receive
// buffer that holds a body delivered by Next. Empty until a reader takes
// it over.
struct FrameStorage {
  std::unique_ptr<char[]> ahead;
  size_t aheadSize = 0;
  std::unique_ptr<char[]> body;
  size_t capacity = 0;
};

// Reads frames one by one. Bytes are read ahead in blocks, so one receive
// usually yields many small frames; each body is delivered from the receive
// buffer, which starts at 5120 bytes, grows to the longest body seen and
// stays valid until the next call.
class FrameReader {
 public:
  enum class Result {
    kBody,       // Body()/BodyLength() hold the next body
    kEmpty,      // a frame with a length below 1: nothing to deliver
    kBadMarker,  // the stream is broken
    kTooLong,    // length above the reader's maximum
    kNoMemory,   // the receive buffer could not grow
    kClosed,     // peer closed or the source failed, maybe inside a frame
  };

  // Bodies longer than maxBody end the stream (kTooLong).
  explicit FrameReader(size_t readAheadBytes = 64 * 1024, uint32_t maxBody = kMaxFrameBody);

  Result Next(ByteSource& source);
  // The next frame when it already lies whole in the read-ahead buffer,
  // without reading: true with its body (length 0 for an empty frame),
  // false when a read would be needed or the next header is bad (Next
  // reports that). The body stays valid, like Body(), until Next is
  // called again.
  bool NextBuffered(const char** body, uint32_t* length);
  const char* Body() const { return storage_.body.get(); }
  uint32_t BodyLength() const { return bodyLength_; }
  size_t Capacity() const { return storage_.capacity; }
  // Forgets bytes read ahead (a new connection starts clean).
  void Reset() { begin_ = end_ = 0; }
  // Goes on reading in `spare`, which gets back the storage that every body
  // delivered so far lies in: they stay valid for as long as the caller
  // keeps it there, while this reader reads on. The bytes read ahead and
  // not yet delivered move along. What `spare` lacks is allocated; false,
  // with nothing exchanged, when that fails.
  bool ExchangeStorage(FrameStorage& spare);

 private:
  bool FillAhead(ByteSource& source, size_t need);

  FrameStorage storage_;
  size_t begin_ = 0;
  size_t end_ = 0;
  uint32_t maxBody_;
  uint32_t bodyLength_ = 0;
};

}  // namespace quotelink
