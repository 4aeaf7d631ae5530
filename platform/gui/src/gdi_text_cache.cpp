// The calling thread's text caches, emptied when the application ends.
#include "gdi_text_cache.h"

#include <QCoreApplication>
#include <atomic>

namespace platform::gdi_detail {

namespace {

std::atomic<bool> cleanupRegistered{false};

// Runs in the application's destructor on its thread: layouts hold fonts,
// which must be let go while Qt's font machinery is still there.
void EmptyAtApplicationEnd() {
  ThreadTextCaches().layouts.Clear();
  ThreadTextCaches().extents.Clear();
  cleanupRegistered = false;  // a later application registers again
}

}  // namespace

TextCaches& ThreadTextCaches() {
  thread_local TextCaches caches;
  if (!cleanupRegistered.load(std::memory_order_relaxed) && !cleanupRegistered.exchange(true))
    qAddPostRoutine(EmptyAtApplicationEnd);
  return caches;
}

}  // namespace platform::gdi_detail
