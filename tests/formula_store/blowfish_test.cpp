// The cipher against the published Blowfish ECB test vectors (which go
// through the key schedule, and so through every initial constant), and
// the keyless buffer form the formula files use.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formula/store/blowfish.h"

namespace formula {
namespace {

uint64_t Hex64(const char* hex) { return std::stoull(hex, nullptr, 16); }

struct Vector {
  const char* key;
  const char* plain;
  const char* cipher;
};

TEST(Blowfish, PublishedEcbVectors) {
  const Vector vectors[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
      {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
      {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.key);
    uint8_t key[8];
    const uint64_t k = Hex64(v.key);
    for (int i = 0; i < 8; ++i) key[i] = static_cast<uint8_t>(k >> (56 - 8 * i));
    CBlowfish cipher;
    cipher.SetKey(key, sizeof key);
    const uint64_t plain = Hex64(v.plain);
    uint32_t l = static_cast<uint32_t>(plain >> 32), r = static_cast<uint32_t>(plain);
    cipher.EncipherBlock(l, r);
    EXPECT_EQ((static_cast<uint64_t>(l) << 32) | r, Hex64(v.cipher));
    cipher.DecipherBlock(l, r);
    EXPECT_EQ((static_cast<uint64_t>(l) << 32) | r, plain);
  }
}

TEST(Blowfish, TextKeysFromTheDesignPaper) {
  struct {
    const char* key;
    uint32_t l, r, cl, cr;
  } cases[] = {
      {"abcdefghijklmnopqrstuvwxyz", 0x424C4F57, 0x46495348, 0x324ED0FE, 0xF413A203},  // "BLOWFISH"
      {"Who is John Galt?", 0xFEDCBA98, 0x76543210, 0xCC91732B, 0x8022F684},
  };
  for (const auto& c : cases) {
    CBlowfish cipher;
    cipher.SetKey(reinterpret_cast<const uint8_t*>(c.key), std::strlen(c.key));
    uint32_t l = c.l, r = c.r;
    cipher.EncipherBlock(l, r);
    EXPECT_EQ(l, c.cl) << c.key;
    EXPECT_EQ(r, c.cr) << c.key;
  }
}

TEST(Blowfish, KeylessBufferUsesLittleEndianHalvesAndWholeBlocks) {
  uint8_t data[16];
  for (int i = 0; i < 16; ++i) data[i] = static_cast<uint8_t>(i * 7 + 1);
  uint8_t original[16];
  std::memcpy(original, data, sizeof data);

  const CBlowfish& cipher = FormulaCipher();
  ASSERT_EQ(cipher.EncipherBuffer(data, 16), 16u);
  uint32_t l = 0, r = 0;
  std::memcpy(&l, original, 4);  // the test host is little-endian, as the files are
  std::memcpy(&r, original + 4, 4);
  cipher.EncipherBlock(l, r);
  uint32_t gotL, gotR;
  std::memcpy(&gotL, data, 4);
  std::memcpy(&gotR, data + 4, 4);
  EXPECT_EQ(gotL, l);
  EXPECT_EQ(gotR, r);
  EXPECT_NE(std::memcmp(data + 8, original + 8, 8), 0);

  ASSERT_EQ(cipher.DecipherBuffer(data, 16), 16u);
  EXPECT_EQ(std::memcmp(data, original, 16), 0);

  EXPECT_EQ(cipher.EncipherBuffer(data, 12), 0u);  // not whole blocks: refused, untouched
  EXPECT_EQ(std::memcmp(data, original, 16), 0);
}

}  // namespace
}  // namespace formula
