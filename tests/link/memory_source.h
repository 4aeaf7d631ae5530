// A byte stream held in memory that the link's frame reader reads from in
// pieces of a chosen size, as a socket hands out what has arrived.
#pragma once
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "link/quote_frame.h"

class MemorySource : public quotelink::ByteSource {
 public:
  MemorySource(std::string bytes, size_t step) : bytes_(std::move(bytes)), step_(step) {}
  long Read(void* buffer, size_t capacity) override {
    size_t n = std::min({capacity, step_, bytes_.size() - at_});
    if (n == 0) return 0;
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return (long)n;
  }

 private:
  std::string bytes_;
  size_t step_;
  size_t at_ = 0;
};
