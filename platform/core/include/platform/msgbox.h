// Message boxes go through one replaceable sink: a real Qt box in the
// program (the window layer installs it as the default), a recording sink
// in tests, standard error where no window layer is loaded. A box asked for on a worker thread is
// shown on the user-interface thread while the worker waits.
#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>
#include "platform/types.h"

namespace platform {

class MessageBoxSink {
 public:
  virtual ~MessageBoxSink() = default;
  // Texts are GBK. Returns IDOK, IDYES, IDNO ... Always runs on the
  // user-interface thread.
  virtual int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
};

// Installs a sink and returns the previous one (nullptr = the default).
MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink);

// The sink used while none is installed, returning the previous default.
// The window layer sets its Qt box as it loads; until then (and in a
// program without it) boxes go to a ConsoleMessageBoxSink.
MessageBoxSink* SetDefaultMessageBoxSink(MessageBoxSink* sink);

// Writes the caption and text to standard error and answers with the
// first button: a box where nobody can see a window.
class ConsoleMessageBoxSink : public MessageBoxSink {
 public:
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
};

// Records every box and answers from a script (default: the first button).
class RecordingMessageBoxSink : public MessageBoxSink {
 public:
  struct Box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
  };
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
  std::vector<Box> Boxes() const;
  void Clear();
  // Answers used in order; when none is left the first button's answer.
  void QueueAnswer(int answer);

 private:
  mutable std::mutex mutex_;
  std::vector<Box> boxes_;
  std::vector<int> answers_;
};

// Installs a RecordingMessageBoxSink for the scope of a test.
class ScopedRecordingBoxes : public RecordingMessageBoxSink {
 public:
  ScopedRecordingBoxes() { previous_ = SetMessageBoxSink(this); }
  ~ScopedRecordingBoxes() override { SetMessageBoxSink(previous_); }

 private:
  MessageBoxSink* previous_;
};

}  // namespace platform

// Win32-shaped entry points. Texts are GBK. From a worker thread the call
// waits for the user-interface thread; when the application shuts down or
// the call is abandoned it returns 0, which no caller takes for a yes.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
int AfxMessageBox(const char* text, UINT type = MB_OK);
