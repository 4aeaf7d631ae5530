#include "sharecode/checksum.h"

#include <cstdint>

namespace {

inline void AddWord(int64_t& sum, uint32_t word) {
  sum += (int32_t)word;
  // The server folds only while the upper half, read as signed, is above
  // 0: a negative sum stays as it is.
  while ((int32_t)(uint32_t)((uint64_t)sum >> 32) > 0)
    sum = (int64_t)((uint64_t)sum & 0xFFFFFFFFu) + (int64_t)((uint64_t)sum >> 32);
}

}  // namespace

void CalcFrameChecksum(unsigned char out[4], const unsigned char* data, unsigned length) {
  int64_t sum = 0;
  unsigned i = 0;
  if (data) {
    for (; i + 4 <= length; i += 4)
      AddWord(sum, (uint32_t)data[i] << 24 | (uint32_t)data[i + 1] << 16 |
                       (uint32_t)data[i + 2] << 8 | data[i + 3]);
    if (i < length) {
      uint32_t tail = 0;
      for (unsigned k = 0; i + k < length; ++k) tail |= (uint32_t)data[i + k] << (24 - 8 * k);
      AddWord(sum, tail);
    }
  }
  uint32_t result = ~(uint32_t)(uint64_t)sum;
  out[0] = (unsigned char)(result >> 24);
  out[1] = (unsigned char)(result >> 16);
  out[2] = (unsigned char)(result >> 8);
  out[3] = (unsigned char)result;
}
