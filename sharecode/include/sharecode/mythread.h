// Base of the long-running worker threads: a loop of virtual steps while
// the run flag is set, and trace lines to standard error.
#pragma once
#include <pthread.h>

#include <cstdarg>
#include <functional>
#include <string>

#include "sharecode/lock.h"
#include "sharecode/locked_int.h"

class CMyThread {
 public:
  CMyThread();
  virtual ~CMyThread();
  CMyThread(const CMyThread&) = delete;
  CMyThread& operator=(const CMyThread&) = delete;

  // Stores the worker's thread id; returns -1 at once when Init is below
  // 0; otherwise Step while the run flag is set, then Exit; 0.
  virtual int Run();
  virtual int Init() { return 0; }
  virtual int Step() { return 0; }
  virtual int Exit() { return 0; }
  // A trace line "<time, file, line>level: " and the message, written when
  // the level is not above the thread's threshold.
  virtual void Trace(const char* sourcePath, int line, int level, const char* format, ...)
      __attribute__((format(printf, 5, 6)));
  virtual void TraceV(const char* sourcePath, int line, int level, const char* format,
                      va_list args);

  // Starts the thread (stackSize above 0: that stack size); 0, or -1.
  int Start(int stackSize);
  // Waits for the thread without a time limit and forgets it; 0.
  int WaitForExit();
  // Clears the run flag: the loop ends after the current step.
  void Stop() { m_runFlag.Set(0); }
  bool IsRunning() { return m_runFlag.Get() != 0; }
  int GetThreadId() { return m_threadId.Get(); }
  void SetTraceLevel(int level) { m_traceLevel.Set(level); }

  // Threads started and not yet waited for, process-wide.
  static int GetThreadCount();
  // Where trace lines go (standard error unless replaced; NULL restores it).
  static void SetTraceSink(std::function<void(const std::string&)> sink);

 protected:
  CLockedInt m_runFlag{1};
  CLockedInt m_threadId;
  CLock m_traceLock;
  CLockedInt m_traceLevel{0};
  pthread_t m_thread{};
  bool m_hasThread = false;
};

// The same trace line for code that has no thread object: "<time, file,
// line>level: " and the message, to the trace sink (standard error unless
// replaced), whatever the level.
void WriteTraceLine(const char* sourcePath, int line, int level, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void WriteTraceLineV(const char* sourcePath, int line, int level, const char* format, va_list args);

#define TRACE_HERE __FILE__, __LINE__
