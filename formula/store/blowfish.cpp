#include "formula/store/blowfish.h"

#include <cstring>
#include <utility>

namespace formula {

namespace {

uint32_t LoadLittle(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void StoreLittle(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

CBlowfish::CBlowfish() {
  std::memcpy(p_, kBlowfishInitialP, sizeof p_);
  std::memcpy(s_, kBlowfishInitialS, sizeof s_);
}

uint32_t CBlowfish::F(uint32_t x) const {
  return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

void CBlowfish::EncipherBlock(uint32_t& left, uint32_t& right) const {
  uint32_t l = left, r = right;
  for (int i = 0; i < 16; ++i) {
    l ^= p_[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= p_[16];
  l ^= p_[17];
  left = l;
  right = r;
}

void CBlowfish::DecipherBlock(uint32_t& left, uint32_t& right) const {
  uint32_t l = left, r = right;
  for (int i = 17; i > 1; --i) {
    l ^= p_[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= p_[1];
  l ^= p_[0];
  left = l;
  right = r;
}

void CBlowfish::SetKey(const uint8_t* key, size_t length) {
  std::memcpy(p_, kBlowfishInitialP, sizeof p_);
  std::memcpy(s_, kBlowfishInitialS, sizeof s_);
  if (length == 0) return;
  size_t at = 0;
  for (uint32_t& word : p_) {
    uint32_t k = 0;
    for (int b = 0; b < 4; ++b) {
      k = (k << 8) | key[at];
      at = (at + 1) % length;
    }
    word ^= k;
  }
  uint32_t l = 0, r = 0;
  for (int i = 0; i < 18; i += 2) {
    EncipherBlock(l, r);
    p_[i] = l;
    p_[i + 1] = r;
  }
  for (auto& box : s_)
    for (int i = 0; i < 256; i += 2) {
      EncipherBlock(l, r);
      box[i] = l;
      box[i + 1] = r;
    }
}

size_t CBlowfish::EncipherBuffer(uint8_t* data, size_t length) const {
  if (length % 8 != 0) return 0;
  for (size_t at = 0; at < length; at += 8) {
    uint32_t l = LoadLittle(data + at), r = LoadLittle(data + at + 4);
    EncipherBlock(l, r);
    StoreLittle(data + at, l);
    StoreLittle(data + at + 4, r);
  }
  return length;
}

size_t CBlowfish::DecipherBuffer(uint8_t* data, size_t length) const {
  if (length % 8 != 0) return 0;
  for (size_t at = 0; at < length; at += 8) {
    uint32_t l = LoadLittle(data + at), r = LoadLittle(data + at + 4);
    DecipherBlock(l, r);
    StoreLittle(data + at, l);
    StoreLittle(data + at + 4, r);
  }
  return length;
}

const CBlowfish& FormulaCipher() {
  static const CBlowfish cipher;
  return cipher;
}

}  // namespace formula
