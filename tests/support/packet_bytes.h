// Packet and file bytes built for tests field by field, in order, each
// multi-byte field little-endian as on the wire, independently of the
// readers and writers under test.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace test_support {

struct Bytes {
  std::string data;

  Bytes& U8(uint8_t v) { return Put(v, 1); }
  Bytes& U16(uint16_t v) { return Put(v, 2); }
  Bytes& U32(uint32_t v) { return Put(v, 4); }
  Bytes& Text(const std::string& text) {
    data += text;
    return *this;
  }
  Bytes& Zeros(size_t n) {
    data.append(n, '\0');
    return *this;
  }

 private:
  Bytes& Put(uint32_t v, int width) {
    for (int i = 0; i < width; ++i) data += static_cast<char>((v >> (8 * i)) & 0xFF);
    return *this;
  }
};

}  // namespace test_support
