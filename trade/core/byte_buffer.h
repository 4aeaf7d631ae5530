// A growable byte buffer that carries every outgoing trade message and
// balance frame. The data always has one NUL byte after it (not counted),
// so it can be handed to text functions as it is.
#pragma once
#include <cstddef>

class CByteBuffer {
 public:
  CByteBuffer();                       // 32 bytes allocated, capacity 31
  explicit CByteBuffer(int capacity);  // capacity + 8 bytes allocated
  ~CByteBuffer();
  CByteBuffer(const CByteBuffer&) = delete;
  CByteBuffer& operator=(const CByteBuffer&) = delete;

  // Each returns 0, or -1 when the buffer is not valid (or the offset lies
  // outside the data) and then changes nothing.
  int Append(const void* data, int len);
  int Insert(int offset, const void* data, int len);
  int Compact();

  // Lengthens the data by len bytes and returns where they start, for the
  // caller to write all of them in place; null (nothing changed) when the
  // buffer is not valid or cannot grow.
  char* Extend(int len);

  const char* Data() const { return read_; }
  int Size() const { return static_cast<int>(write_ - read_); }
  int Capacity() const { return capacity_; }
  bool IsValid() const;

  // Frees the memory and zeroes the members; the buffer is then not valid.
  void Release();

 private:
  int Grow(int add);

  char* base_ = nullptr;
  char* read_ = nullptr;
  char* write_ = nullptr;
  int capacity_ = 0;
};
