#include "trade/core/byte_buffer.h"

#include <cstdlib>
#include <cstring>

namespace {
// Allocates `bytes` and makes an empty buffer of the given capacity; the
// allocation always leaves room for the trailing NUL.
void Allocate(char*& base, char*& read, char*& write, int& capacity, size_t bytes, int cap) {
  base = static_cast<char*>(std::malloc(bytes));
  if (!base) return;
  capacity = cap;
  read = write = base;
  *write = '\0';
}
}  // namespace

CByteBuffer::CByteBuffer() { Allocate(base_, read_, write_, capacity_, 32, 31); }

CByteBuffer::CByteBuffer(int capacity) {
  if (capacity < 0) return;
  Allocate(base_, read_, write_, capacity_, static_cast<size_t>(capacity) + 8, capacity);
}

CByteBuffer::~CByteBuffer() { Release(); }

bool CByteBuffer::IsValid() const {
  return base_ && base_ <= read_ && read_ <= write_ && write_ <= base_ + capacity_;
}

void CByteBuffer::Release() {
  std::free(base_);
  base_ = read_ = write_ = nullptr;
  capacity_ = 0;
}

int CByteBuffer::Compact() {
  if (!IsValid()) return -1;
  const size_t size = static_cast<size_t>(write_ - read_);
  if (read_ != base_) std::memmove(base_, read_, size);
  read_ = base_;
  write_ = base_ + size;
  *write_ = '\0';
  return 0;
}

int CByteBuffer::Grow(int add) {
  if (Compact() != 0) return -1;
  const int size = Size();
  const int freeSpace = static_cast<int>(base_ + capacity_ - write_);
  if (freeSpace >= add) return 0;
  char* bigger = static_cast<char*>(std::malloc(static_cast<size_t>(size) + add + 32));
  if (!bigger) return -1;
  std::memcpy(bigger, read_, static_cast<size_t>(size));
  std::free(base_);
  base_ = read_ = bigger;
  write_ = bigger + size;
  *write_ = '\0';
  capacity_ = size + add + 31;
  return 0;
}

char* CByteBuffer::Extend(int len) {
  if (!IsValid() || len < 0 || Grow(len) != 0) return nullptr;
  char* at = write_;
  write_ += len;
  *write_ = '\0';
  return at;
}

int CByteBuffer::Append(const void* data, int len) {
  if (len > 0 && !data) return -1;
  char* at = Extend(len);
  if (!at) return -1;
  if (len > 0) std::memcpy(at, data, static_cast<size_t>(len));
  return 0;
}

int CByteBuffer::Insert(int offset, const void* data, int len) {
  if (!IsValid() || len < 0 || (len > 0 && !data) || offset < 0 || offset > Size()) return -1;
  if (Grow(len) != 0) return -1;
  char* at = read_ + offset;
  std::memmove(at + len, at, static_cast<size_t>(write_ - at));
  if (len > 0) std::memcpy(at, data, static_cast<size_t>(len));
  write_ += len;
  *write_ = '\0';
  return 0;
}
