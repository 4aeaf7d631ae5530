#include "link/quote_frame.h"

#include <cstring>
#include <new>

namespace quotelink {

void EncodeFrameHeader(uint32_t bodyLength, unsigned char out[kFrameHeaderSize]) {
  out[0] = (unsigned char)(bodyLength >> 24);
  out[1] = (unsigned char)(bodyLength >> 16);
  out[2] = (unsigned char)(bodyLength >> 8);
  out[3] = (unsigned char)bodyLength;
  std::memset(out + 4, 0x0A, 4);
}

std::string EncodeFrame(const void* body, size_t length) {
  unsigned char head[kFrameHeaderSize];
  EncodeFrameHeader((uint32_t)length, head);
  std::string frame(reinterpret_cast<const char*>(head), kFrameHeaderSize);
  frame.append(static_cast<const char*>(body), length);
  return frame;
}

FrameReader::FrameReader(size_t readAheadBytes, uint32_t maxBody)
    : ahead_(new char[readAheadBytes < 64 ? 64 : readAheadBytes]),
      aheadSize_(readAheadBytes < 64 ? 64 : readAheadBytes),
      body_(new char[kInitialReceiveCapacity]),
      capacity_(kInitialReceiveCapacity),
      maxBody_(maxBody) {}

// Makes at least `need` bytes (need <= aheadSize_) available in the
// read-ahead buffer.
bool FrameReader::FillAhead(ByteSource& source, size_t need) {
  if (end_ - begin_ >= need) return true;
  if (aheadSize_ - begin_ < need) {
    std::memmove(ahead_.get(), ahead_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  while (end_ - begin_ < need) {
    long got = source.Read(ahead_.get() + end_, aheadSize_ - end_);
    if (got <= 0) return false;
    end_ += (size_t)got;
  }
  return true;
}

bool FrameReader::NextBuffered(const char** body, uint32_t* length) {
  if (end_ - begin_ < kFrameHeaderSize) return false;
  const unsigned char* h = reinterpret_cast<const unsigned char*>(ahead_.get() + begin_);
  uint32_t marker = (uint32_t)h[4] << 24 | (uint32_t)h[5] << 16 | (uint32_t)h[6] << 8 | h[7];
  if (marker != kFrameMarker) return false;
  int32_t n = (int32_t)((uint32_t)h[0] << 24 | (uint32_t)h[1] << 16 | (uint32_t)h[2] << 8 | h[3]);
  if (n < 1) {
    begin_ += kFrameHeaderSize;
    *body = ahead_.get() + begin_;
    *length = 0;
    return true;
  }
  if ((uint32_t)n > maxBody_ || (size_t)n > end_ - begin_ - kFrameHeaderSize) return false;
  *body = ahead_.get() + begin_ + kFrameHeaderSize;
  *length = (uint32_t)n;
  begin_ += kFrameHeaderSize + (size_t)n;
  return true;
}

FrameReader::Result FrameReader::Next(ByteSource& source) {
  bodyLength_ = 0;
  if (!FillAhead(source, kFrameHeaderSize)) return Result::kClosed;
  const unsigned char* h = reinterpret_cast<const unsigned char*>(ahead_.get() + begin_);
  uint32_t marker = (uint32_t)h[4] << 24 | (uint32_t)h[5] << 16 | (uint32_t)h[6] << 8 | h[7];
  if (marker != kFrameMarker) return Result::kBadMarker;
  int32_t length = (int32_t)((uint32_t)h[0] << 24 | (uint32_t)h[1] << 16 | (uint32_t)h[2] << 8 | h[3]);
  begin_ += kFrameHeaderSize;
  if (length < 1) return Result::kEmpty;
  if ((uint32_t)length > maxBody_) return Result::kTooLong;

  size_t want = (size_t)length;
  if (want > capacity_) {
    char* grown = new (std::nothrow) char[want];
    if (!grown) return Result::kNoMemory;
    body_.reset(grown);
    capacity_ = want;
  }
  size_t have = end_ - begin_ < want ? end_ - begin_ : want;
  std::memcpy(body_.get(), ahead_.get() + begin_, have);
  begin_ += have;
  // A short rest goes through the read-ahead buffer so the frames behind it
  // come in with the same receive; a long rest lands in place.
  while (have < want) {
    size_t rest = want - have;
    if (rest < aheadSize_ / 4) {
      if (!FillAhead(source, rest)) return Result::kClosed;
      std::memcpy(body_.get() + have, ahead_.get() + begin_, rest);
      begin_ += rest;
      have = want;
    } else {
      long got = source.Read(body_.get() + have, rest);
      if (got <= 0) return Result::kClosed;
      have += (size_t)got;
    }
  }
  if (begin_ == end_) begin_ = end_ = 0;
  bodyLength_ = (uint32_t)want;
  return Result::kBody;
}

}  // namespace quotelink
