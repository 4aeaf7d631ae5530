// Copying the short runs of bytes a message is made of: field values,
// digits, begin strings. Most are shorter than 48 bytes, for which a call
// of memcpy costs more than the copy itself: a few overlapping moves of 16,
// 8 or 4 bytes copy them whole. Every byte is read before any is written,
// so the source and the destination may overlap, as with memmove.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// The longest run CopyBytes copies without a call.
constexpr size_t kShortCopy = 48;

// Copied from a small buffer, a run takes only the branch its length
// picks, but g++ sees the wider moves of the other branches reach past the
// buffer and warns of what never runs.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
// Copies n bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as two moves of
// one Word: the first Word and the last, overlapping in the middle.
template <typename Word>
[[gnu::always_inline]] inline void CopyFirstAndLastWord(char* to, const char* from, size_t n) {
  Word head, tail;
  std::memcpy(&head, from, sizeof(Word));
  std::memcpy(&tail, from + n - sizeof(Word), sizeof(Word));
  std::memcpy(to, &head, sizeof(Word));
  std::memcpy(to + n - sizeof(Word), &tail, sizeof(Word));
}

[[gnu::always_inline]] inline void CopyBytes(char* to, const char* from, size_t n) {
  struct Block16 {
    unsigned char bytes[16];
  };
  if (n > kShortCopy) {
    std::memmove(to, from, n);
  } else if (n > 32) {
    Block16 a, b, tail;
    std::memcpy(&a, from, 16);
    std::memcpy(&b, from + 16, 16);
    std::memcpy(&tail, from + n - 16, 16);
    std::memcpy(to, &a, 16);
    std::memcpy(to + 16, &b, 16);
    std::memcpy(to + n - 16, &tail, 16);
  } else if (n > 16) {
    CopyFirstAndLastWord<Block16>(to, from, n);
  } else if (n >= 8) {
    CopyFirstAndLastWord<uint64_t>(to, from, n);
  } else if (n >= 4) {
    CopyFirstAndLastWord<uint32_t>(to, from, n);
  } else if (n > 0) {
    const char first = from[0], middle = from[n / 2], last = from[n - 1];
    to[0] = first;
    to[n / 2] = middle;
    to[n - 1] = last;
  }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
