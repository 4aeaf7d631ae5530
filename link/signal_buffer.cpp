#include "link/signal_buffer.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {
const char kAllocError[] = "SignalBuffer::Allocate Memory Error...";
const char kFullError[] = "SignalBuffer::Put Queue Full...";
}  // namespace

SignalBuffer::SignalBuffer() { m_szError[0] = 0; }

SignalBuffer::~SignalBuffer() { Clear(); }

SignalBuffer::Chunk* SignalBuffer::NewChunk() {
  Chunk* chunk = static_cast<Chunk*>(std::malloc(sizeof(Chunk)));
  if (!chunk) {
    std::strcpy(m_szError, kAllocError);
    return nullptr;
  }
  chunk->readPos = 0;
  chunk->lastIndex = -1;
  chunk->writeCount = 0;
  chunk->maxIndex = kChunkData - 1;
  chunk->next = nullptr;
  return chunk;
}

int SignalBuffer::Put(const void* data, int length, int flag) {
  if (m_nLimit && length > 0 && m_nSize + (size_t)length > m_nLimit) {
    std::strcpy(m_szError, kFullError);
    return -1;
  }
  if (Append(data, length) != 0) return -1;
  if (flag == 0) Signal();
  return 0;
}

int SignalBuffer::Append(const void* data, int length) {
  if (!m_pHead) {
    m_pHead = m_pTail = NewChunk();
    if (!m_pHead) return -1;
  }
  const char* src = static_cast<const char*>(data);
  while (length > 0) {
    Chunk* tail = m_pTail;
    int room = tail->maxIndex - tail->writeCount + 1;
    if (room > 0) {
      int n = length < room ? length : room;
      std::memcpy(tail->data + tail->writeCount, src, (size_t)n);
      tail->writeCount += n;
      tail->lastIndex += n;
      m_nSize += (size_t)n;
      src += n;
      length -= n;
    } else {
      Chunk* fresh = NewChunk();
      if (!fresh) return -1;
      tail->next = fresh;
      m_pTail = fresh;
    }
  }
  return 0;
}

int SignalBuffer::Get(void* destination, int length, int flag) {
  if (flag == 0) WaitSignal();
  char* dst = static_cast<char*>(destination);
  int copied = 0;
  while (m_pHead && copied < length) {
    Chunk* head = m_pHead;
    int available = head->lastIndex - head->readPos + 1;
    int n = length - copied < available ? length - copied : available;
    if (n > 0) {
      std::memcpy(dst + copied, head->data + head->readPos, (size_t)n);
      head->readPos += n;
      copied += n;
      m_nSize -= (size_t)n;
    }
    if (copied < length) {
      if (!head->next) break;
      // Only drained chunks go; the tail stays for later Puts.
      m_pHead = head->next;
      std::free(head);
    }
  }
  return copied;
}

void SignalBuffer::MoveTo(SignalBuffer& other) {
  char piece[kChunkData];
  for (;;) {
    int n = Get(piece, kChunkData, -1);
    if (n > 0) other.Append(piece, n);
    if (n < kChunkData) break;
  }
}

int SignalBuffer::Clear() {
  while (m_pHead) {
    Chunk* next = m_pHead->next;
    std::free(m_pHead);
    m_pHead = next;
  }
  m_pTail = nullptr;
  m_nSize = 0;
  m_szError[0] = 0;
  return 0;
}

void SignalBuffer::Signal() { m_Signal.Release(1); }

int SignalBuffer::WaitSignal() {
  m_Signal.Wait(-1);
  return 0;
}

bool SignalBuffer::WaitSignalFor(int timeoutMs) { return m_Signal.Wait(timeoutMs); }

int SignalBuffer::Lock() {
  m_Mutex.lock();
  return 0;
}

int SignalBuffer::TryLock() { return m_Mutex.try_lock_for(std::chrono::milliseconds(20)) ? 0 : -1; }

int SignalBuffer::Unlock() {
  m_Mutex.unlock();
  return 0;
}

void SignalBuffer::DrainSignal() {
  while (m_Signal.Wait(500)) {
  }
}
