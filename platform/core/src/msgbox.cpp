#include "platform/msgbox.h"

#include <atomic>
#include <cstdio>

#include "platform/gbk.h"
#include "platform/window.h"

namespace platform {
namespace {

std::atomic<MessageBoxSink*> g_sink{nullptr};
std::atomic<MessageBoxSink*> g_default{nullptr};

int FirstButtonAnswer(UINT type) {
  switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
  }
}

}  // namespace

MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink) { return g_sink.exchange(sink); }

MessageBoxSink* SetDefaultMessageBoxSink(MessageBoxSink* sink) { return g_default.exchange(sink); }

int ConsoleMessageBoxSink::Show(HWND, const std::string& text, const std::string& caption,
                                UINT type) {
  std::fprintf(stderr, "[%s] %s\n", GbkToUtf8(caption).c_str(), GbkToUtf8(text).c_str());
  return FirstButtonAnswer(type);
}

int RecordingMessageBoxSink::Show(HWND owner, const std::string& text, const std::string& caption,
                                  UINT type) {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.push_back(Box{owner, text, caption, type});
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
  }
  return FirstButtonAnswer(type);
}

std::vector<RecordingMessageBoxSink::Box> RecordingMessageBoxSink::Boxes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void RecordingMessageBoxSink::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.clear();
  answers_.clear();
}

void RecordingMessageBoxSink::QueueAnswer(int answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(answer);
}

}  // namespace platform

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  std::string t = text ? text : "";
  std::string c = caption ? caption : "";
  // Copies only: a worker may give up waiting while the box is still open.
  return (int)platform::CallOnUiThread([owner, t, c, type]() -> LRESULT {
    if (platform::MessageBoxSink* sink = platform::g_sink.load())
      return sink->Show(owner, t, c, type);
    if (platform::MessageBoxSink* sink = platform::g_default.load())
      return sink->Show(owner, t, c, type);
    return platform::ConsoleMessageBoxSink().Show(owner, t, c, type);
  });
}

int AfxMessageBox(const char* text, UINT type) { return MessageBox(nullptr, text, "ZEB", type); }
