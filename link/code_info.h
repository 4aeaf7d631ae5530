// An item's identity on the quote connection: the key of requests, replies,
// look-ups, favourites and blocks. Six packed bytes, laid out as the server
// sends them and the user files hold them. The one definition the program,
// the libraries that pass it through (the formula library's data callback)
// and their tests share.
#pragma once
#include <cstdint>

#pragma pack(push, 1)
struct SCodeInfo {
  uint16_t market = 0;
  int32_t code = 0;  // shown as six digits

  bool operator==(const SCodeInfo& other) const {
    return market == other.market && code == other.code;
  }
  bool IsEmpty() const { return market == 0 && code == 0; }
};
#pragma pack(pop)
static_assert(sizeof(SCodeInfo) == 6);
