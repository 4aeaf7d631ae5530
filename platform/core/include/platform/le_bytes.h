// Little-endian fields of wire packets and stored files, read and written
// byte by byte: no alignment is assumed and the host's byte order does not
// matter. The one set of such readers every library uses; callers check
// that the bytes exist before they read them, a count of records with
// RecordsFit.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// Whether count records of size bytes, from offset at on, lie within a body
// of length bytes. Divides rather than multiplies, so a count no body could
// hold never wraps the product into a small size. The one such check.
constexpr bool RecordsFit(size_t length, size_t at, size_t count, size_t size) {
  return at <= length && (length - at) / size >= count;
}

inline uint16_t ReadU16(const void* p) {
  const unsigned char* b = static_cast<const unsigned char*>(p);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
inline uint32_t ReadU32(const void* p) {
  const unsigned char* b = static_cast<const unsigned char*>(p);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}
inline int16_t ReadI16(const void* p) { return static_cast<int16_t>(ReadU16(p)); }
inline int32_t ReadI32(const void* p) { return static_cast<int32_t>(ReadU32(p)); }

inline void WriteU16(void* p, uint16_t v) {
  unsigned char* b = static_cast<unsigned char*>(p);
  b[0] = static_cast<unsigned char>(v);
  b[1] = static_cast<unsigned char>(v >> 8);
}
inline void WriteU32(void* p, uint32_t v) {
  unsigned char* b = static_cast<unsigned char*>(p);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace platform
