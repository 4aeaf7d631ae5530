#include "sharecode/mythread.h"

#include <limits.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "sharecode/text_utils.h"
#include "sharecode/time_text.h"

namespace {

CLockedCounter& ThreadCount() {
  static CLockedCounter count;
  return count;
}

int CurrentThreadId() { return (int)syscall(SYS_gettid); }

std::mutex& SinkMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

void WriteTrace(const std::string& text) {
  std::lock_guard<std::mutex> lock(SinkMutex());
  if (Sink()) {
    Sink()(text);
  } else {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
  }
}

void* ThreadMain(void* self) {
  static_cast<CMyThread*>(self)->Run();
  return nullptr;
}

}  // namespace

CMyThread::CMyThread() : m_threadId(CurrentThreadId()) {}

CMyThread::~CMyThread() {
  // An owner that forgot WaitForExit must not leave a thread running on a
  // freed object.
  if (m_hasThread) {
    Stop();
    WaitForExit();
  }
}

int CMyThread::Run() {
  m_threadId.Set(CurrentThreadId());
  if (Init() < 0) return -1;
  while (m_runFlag.Get()) Step();
  Exit();
  return 0;
}

int CMyThread::Start(int stackSize) {
  if (m_hasThread) return -1;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  if (stackSize > 0) {
    size_t size = (size_t)stackSize < (size_t)PTHREAD_STACK_MIN ? (size_t)PTHREAD_STACK_MIN
                                                                : (size_t)stackSize;
    pthread_attr_setstacksize(&attr, size);
  }
  int rc = pthread_create(&m_thread, &attr, &ThreadMain, this);
  pthread_attr_destroy(&attr);
  if (rc != 0) return -1;
  m_hasThread = true;
  ThreadCount().Increment();
  return 0;
}

int CMyThread::WaitForExit() {
  if (m_hasThread) {
    pthread_join(m_thread, nullptr);
    m_hasThread = false;
    ThreadCount().Decrement();
  }
  return 0;
}

int CMyThread::GetThreadCount() { return ThreadCount().Get(); }

void CMyThread::SetTraceSink(std::function<void(const std::string&)> sink) {
  std::lock_guard<std::mutex> lock(SinkMutex());
  Sink() = std::move(sink);
}

void CMyThread::Trace(const char* sourcePath, int line, int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  TraceV(sourcePath, line, level, format, args);
  va_end(args);
}

void CMyThread::TraceV(const char* sourcePath, int line, int level, const char* format,
                       va_list args) {
  CAutoLock guard(&m_traceLock);
  if (level > m_traceLevel.Get()) return;
  WriteTraceLineV(sourcePath, line, level, format, args);
}

void WriteTraceLine(const char* sourcePath, int line, int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteTraceLineV(sourcePath, line, level, format, args);
  va_end(args);
}

void WriteTraceLineV(const char* sourcePath, int line, int level, const char* format,
                     va_list args) {
  std::string dir, file;
  SplitPath(sourcePath ? sourcePath : "", dir, file);
  // The file name right-aligned in 17 columns (cut to 17 when longer).
  std::string name = PadText(file.c_str(), 17, 0, ' ');
  char head[160];
  std::snprintf(head, sizeof head, "<%s, %s, %d>%d: ", GetLocalTimeString(0).c_str(), name.c_str(),
                line, level);
  std::string text = head;
  if (format) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
      std::vector<char> body((size_t)n + 1);
      std::vsnprintf(body.data(), body.size(), format, args);
      text.append(body.data(), (size_t)n);
    }
  }
  WriteTrace(text);
}
