// The balance server recomputes this checksum, so it is pinned to values
// worked out by hand from the algorithm.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sharecode/checksum.h"
#include "sharecode/text_utils.h"

namespace {

std::vector<unsigned char> FromHex(const std::string& hex) {
  std::vector<unsigned char> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back((unsigned char)std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string Checksum(const std::vector<unsigned char>& data) {
  unsigned char out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  CalcFrameChecksum(out, data.data(), (unsigned)data.size());
  return BytesToHex(out, 4);
}

TEST(FrameChecksum, GoldenVectors) {
  struct Case {
    const char* data;
    const char* expected;
  };
  const Case cases[] = {
      {"", "ffffffff"},
      {"00000001", "fffffffe"},
      // 0x7fffffff + 1 = 2^31: the upper half is 0, nothing is folded.
      {"7fffffff00000001", "7fffffff"},
      // Words of 0x80000000 and above are negative; a negative sum is never folded.
      {"80000000", "7fffffff"},
      {"ffffffffffffffff", "00000001"},
      {"800000007fffffff7fffffff7fffffff", "00000002"},
      // 3 x 0x7fffffff = 0x17ffffffd folds to 0x7ffffffe.
      {"7fffffff7fffffff7fffffff", "80000001"},
      // Tails of 1-3 bytes are padded with zero bytes after them.
      {"01", "feffffff"},
      {"0102", "fefdffff"},
      {"010203", "fefdfcff"},
      {"8000000080", "ffffffff"},
      {"fffffffe7fffffff7fffffff7fffffff7fffffffff", "01000004"},
  };
  for (const Case& c : cases) EXPECT_EQ(Checksum(FromHex(c.data)), c.expected) << c.data;
}

TEST(FrameChecksum, LongBuffer) {
  std::vector<unsigned char> data(256);
  for (int i = 0; i < 256; ++i) data[i] = (unsigned char)i;
  EXPECT_EQ(Checksum(data), "601fdfb8");
}

}  // namespace
