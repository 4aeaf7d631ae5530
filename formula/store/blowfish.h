// The Blowfish block cipher (16 rounds, ECB). The formula files are
// enciphered with the initial constants as they are, without any key; a
// key schedule is offered as well so the cipher can be checked against the
// published test vectors.
#pragma once
#include <cstddef>
#include <cstdint>

namespace formula {

extern const uint32_t kBlowfishInitialP[18];
extern const uint32_t kBlowfishInitialS[4][256];

class CBlowfish {
 public:
  CBlowfish();  // the initial constants, no key
  // The standard key schedule (key of 1 to 56 bytes) over the initial constants.
  void SetKey(const uint8_t* key, size_t length);

  void EncipherBlock(uint32_t& left, uint32_t& right) const;
  void DecipherBlock(uint32_t& left, uint32_t& right) const;

  // A buffer as consecutive 8-byte blocks, each read as two little-endian
  // words, the first the left half, written back in place. Returns the
  // length, or 0 (buffer untouched) when it is not a multiple of 8.
  size_t EncipherBuffer(uint8_t* data, size_t length) const;
  size_t DecipherBuffer(uint8_t* data, size_t length) const;

 private:
  uint32_t F(uint32_t x) const;
  uint32_t p_[18];
  uint32_t s_[4][256];
};

// The keyless cipher of the formula files.
const CBlowfish& FormulaCipher();

}  // namespace formula
