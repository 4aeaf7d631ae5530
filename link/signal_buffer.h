// A byte queue of fixed-size chunks with a counting semaphore that tells a
// consumer thread something was appended and a mutex for the producer's and
// consumer's turns. Put, Get and MoveTo take no lock themselves: the user
// holds Lock around them. A queue may be given a byte limit, so that a
// consumer that stops taking cannot make it grow without end.
#pragma once
#include <cstddef>
#include <mutex>

#include "platform/sync.h"

class SignalBuffer {
 public:
  SignalBuffer();
  ~SignalBuffer();
  SignalBuffer(const SignalBuffer&) = delete;
  SignalBuffer& operator=(const SignalBuffer&) = delete;

  // Appends the bytes; flag 0 also signals once. 0, or -1 when they would
  // take the queue past its limit (nothing is appended then) or a chunk
  // cannot be allocated (bytes already appended stay).
  int Put(const void* data, int length, int flag);
  // flag 0 waits for the signal first. Copies up to length bytes from the
  // front; returns the count copied.
  int Get(void* destination, int length, int flag);
  // Moves every byte to the back of other, signalling neither queue; the
  // other queue's limit does not apply.
  void MoveTo(SignalBuffer& other);
  int Clear();

  // Bytes queued.
  size_t Size() const { return m_nSize; }
  // Put refuses bytes that would take the queue past limit; 0 = no limit.
  void SetLimit(size_t limit) { m_nLimit = limit; }

  void Signal();
  int WaitSignal();
  // Waits for the signal up to timeoutMs; true when it came.
  bool WaitSignalFor(int timeoutMs);
  int Lock();
  int TryLock();  // up to 20 ms; 0, or -1
  int Unlock();
  void DrainSignal();
  const char* GetErrorText() const { return m_szError; }

  static constexpr int kChunkData = 9000;

 private:
  struct Chunk {
    int readPos;
    int lastIndex;
    int writeCount;
    int maxIndex;
    char data[kChunkData];
    Chunk* next;
  };
  Chunk* NewChunk();
  int Append(const void* data, int length);

  Chunk* m_pHead = nullptr;
  Chunk* m_pTail = nullptr;  // the chunk Put writes into
  size_t m_nSize = 0;
  size_t m_nLimit = 0;
  char m_szError[100];
  platform::Semaphore m_Signal{0, 99999999};
  std::timed_mutex m_Mutex;
};
