// Locks, locked integers, events and the reader/writer lock with threads.
#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "sharecode/event.h"
#include "sharecode/locked_int.h"
#include "sharecode/rwlock.h"

namespace {

using namespace std::chrono_literals;

int ThreadId() { return static_cast<int>(syscall(SYS_gettid)); }

// Waits (up to 10 s) until the thread sleeps in the kernel. The threads
// below can only sleep inside the lock they are taking, so this says they
// are queued there, however slow the machine is.
bool WaitUntilBlocked(const std::atomic<int>& tid) {
  for (int i = 0; i < 10000; ++i) {
    if (int id = tid.load()) {
      std::ifstream stat("/proc/self/task/" + std::to_string(id) + "/stat");
      std::string line;
      std::getline(stat, line);
      const size_t close = line.rfind(')');
      if (close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'S')
        return true;
    }
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

TEST(Locks, GuardToleratesNullAndLeavesOnce) {
  { CAutoLock none(nullptr); }
  CLock lock;
  {
    CAutoLock guard(&lock);
    guard.Leave();
    // Left: another thread can take it now.
    std::thread other([&] { CAutoLock g(&lock); });
    other.join();
  }  // the destructor leaves nothing a second time
  std::thread again([&] { CAutoLock g(&lock); });
  again.join();
}

TEST(Locks, CounterCountsAcrossThreads) {
  CLockedCounter counter(5);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        counter.Increment();
        counter.Increment();
        counter.Decrement();
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter.Get(), 5 + 4 * 10000);
  EXPECT_EQ(counter.SetUnlocked(3).Get(), 3);
}

TEST(Locks, EventWaitGivesUpTheLock) {
  CLock lock;
  CEvent event;
  event.Create();
  lock.Enter();
  EXPECT_TRUE(event.WaitReleasing(lock, 10));  // nothing set: timed out
  std::atomic<bool> setterRan{false};
  std::thread setter([&] {
    CAutoLock guard(&lock);  // only possible while the waiter has let go
    setterRan = true;
    event.Set();
  });
  EXPECT_FALSE(event.WaitReleasing(lock, 10000));
  EXPECT_TRUE(setterRan);
  lock.Leave();
  setter.join();
  // Auto-reset: the successful wait cleared it.
  lock.Enter();
  EXPECT_TRUE(event.WaitReleasing(lock, 1));
  lock.Leave();
}

TEST(RWLock, ReadersShareWritersExclude) {
  CRWLock rw;
  std::atomic<int> readers{0}, writers{0}, violations{0};
  long shared = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        const bool write = (t % 3 == 0);
        rw.Lock(write ? CRWLock::WRITER : CRWLock::READER);
        if (write) {
          if (writers.fetch_add(1) != 0 || readers.load() != 0) ++violations;
          ++shared;
          writers.fetch_sub(1);
        } else {
          readers.fetch_add(1);
          if (writers.load() != 0) ++violations;
          readers.fetch_sub(1);
        }
        rw.Unlock(write ? CRWLock::WRITER : CRWLock::READER);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(violations.load(), 0);
  EXPECT_EQ(shared, 2 * 2000);
}

TEST(RWLock, LastReaderOnAnotherThreadReleasesTheResource) {
  CRWLock rw;
  std::thread first([&] { rw.Lock(CRWLock::READER); });
  first.join();
  std::thread second([&] {
    rw.Lock(CRWLock::READER);
    rw.Unlock(CRWLock::READER);
  });
  second.join();
  std::thread third([&] { rw.Unlock(CRWLock::READER); });  // the last reader
  third.join();
  rw.Lock(CRWLock::WRITER);
  rw.Unlock(CRWLock::WRITER);
}

TEST(RWLock, WaitingWriterGoesBeforeLaterReaders) {
  CRWLock rw;
  std::atomic<int> order{0}, writerAt{0}, readerAt{0};
  std::atomic<int> writerTid{0}, readerTid{0};
  rw.Lock(CRWLock::READER);
  std::thread writer([&] {
    writerTid = ThreadId();
    rw.Lock(CRWLock::WRITER);
    writerAt = ++order;
    rw.Unlock(CRWLock::WRITER);
  });
  EXPECT_TRUE(WaitUntilBlocked(writerTid));  // the writer is waiting for the resource
  std::thread reader([&] {
    readerTid = ThreadId();
    rw.Lock(CRWLock::READER);
    readerAt = ++order;
    rw.Unlock(CRWLock::READER);
  });
  EXPECT_TRUE(WaitUntilBlocked(readerTid));
  EXPECT_EQ(order.load(), 0);  // the closed gate keeps the new reader out
  rw.Unlock(CRWLock::READER);
  writer.join();
  reader.join();
  EXPECT_EQ(writerAt.load(), 1);
  EXPECT_EQ(readerAt.load(), 2);
}

}  // namespace
