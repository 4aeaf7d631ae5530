#include "link/quote_frame.h"

#include <cstring>
#include <new>
#include <utility>

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

FrameReader::FrameReader(size_t readAheadBytes, uint32_t maxBody) : maxBody_(maxBody) {
  storage_.aheadSize = readAheadBytes < 64 ? 64 : readAheadBytes;
  storage_.ahead.reset(new char[storage_.aheadSize]);
  storage_.body.reset(new char[kInitialReceiveCapacity]);
  storage_.capacity = kInitialReceiveCapacity;
}

bool FrameReader::ExchangeStorage(FrameStorage& spare) {
  if (spare.aheadSize != storage_.aheadSize) {
    char* ahead = new (std::nothrow) char[storage_.aheadSize];
    if (!ahead) return false;
    spare.ahead.reset(ahead);
    spare.aheadSize = storage_.aheadSize;
  }
  if (spare.capacity < kInitialReceiveCapacity) {
    char* body = new (std::nothrow) char[kInitialReceiveCapacity];
    if (!body) return false;
    spare.body.reset(body);
    spare.capacity = kInitialReceiveCapacity;
  }
  // Usually the start of a frame whose rest has not come yet.
  std::memcpy(spare.ahead.get(), storage_.ahead.get() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  std::swap(storage_, spare);
  return true;
}

// Makes at least `need` bytes (need <= storage_.aheadSize) available in the
// read-ahead buffer.
bool FrameReader::FillAhead(ByteSource& source, size_t need) {
  if (end_ - begin_ >= need) return true;
  if (storage_.aheadSize - begin_ < need) {
    std::memmove(storage_.ahead.get(), storage_.ahead.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  while (end_ - begin_ < need) {
    long got = source.Read(storage_.ahead.get() + end_, storage_.aheadSize - end_);
    if (got <= 0) return false;
    end_ += (size_t)got;
  }
  return true;
}

bool FrameReader::NextBuffered(const char** body, uint32_t* length) {
  if (end_ - begin_ < kFrameHeaderSize) return false;
  const unsigned char* h = reinterpret_cast<const unsigned char*>(storage_.ahead.get() + begin_);
  uint32_t marker = (uint32_t)h[4] << 24 | (uint32_t)h[5] << 16 | (uint32_t)h[6] << 8 | h[7];
  if (marker != kFrameMarker) return false;
  int32_t n = (int32_t)((uint32_t)h[0] << 24 | (uint32_t)h[1] << 16 | (uint32_t)h[2] << 8 | h[3]);
  if (n < 1) {
    begin_ += kFrameHeaderSize;
    *body = storage_.ahead.get() + begin_;
    *length = 0;
    return true;
  }
  if ((uint32_t)n > maxBody_ || (size_t)n > end_ - begin_ - kFrameHeaderSize) return false;
  *body = storage_.ahead.get() + begin_ + kFrameHeaderSize;
  *length = (uint32_t)n;
  begin_ += kFrameHeaderSize + (size_t)n;
  return true;
}

FrameReader::Result FrameReader::Next(ByteSource& source) {
  bodyLength_ = 0;
  if (!FillAhead(source, kFrameHeaderSize)) return Result::kClosed;
  const unsigned char* h = reinterpret_cast<const unsigned char*>(storage_.ahead.get() + begin_);
  uint32_t marker = (uint32_t)h[4] << 24 | (uint32_t)h[5] << 16 | (uint32_t)h[6] << 8 | h[7];
  if (marker != kFrameMarker) return Result::kBadMarker;
  int32_t length =
      (int32_t)((uint32_t)h[0] << 24 | (uint32_t)h[1] << 16 | (uint32_t)h[2] << 8 | h[3]);
  begin_ += kFrameHeaderSize;
  if (length < 1) return Result::kEmpty;
  if ((uint32_t)length > maxBody_) return Result::kTooLong;

  size_t want = (size_t)length;
  if (want > storage_.capacity) {
    char* grown = new (std::nothrow) char[want];
    if (!grown) return Result::kNoMemory;
    storage_.body.reset(grown);
    storage_.capacity = want;
  }
  size_t have = end_ - begin_ < want ? end_ - begin_ : want;
  std::memcpy(storage_.body.get(), storage_.ahead.get() + begin_, have);
  begin_ += have;
  // A short rest goes through the read-ahead buffer so the frames behind it
  // come in with the same receive; a long rest lands in place.
  while (have < want) {
    size_t rest = want - have;
    if (rest < storage_.aheadSize / 4) {
      if (!FillAhead(source, rest)) return Result::kClosed;
      std::memcpy(storage_.body.get() + have, storage_.ahead.get() + begin_, rest);
      begin_ += rest;
      have = want;
    } else {
      long got = source.Read(storage_.body.get() + have, rest);
      if (got <= 0) return Result::kClosed;
      have += (size_t)got;
    }
  }
  if (begin_ == end_) begin_ = end_ = 0;
  bodyLength_ = (uint32_t)want;
  return Result::kBody;
}

}  // namespace quotelink
