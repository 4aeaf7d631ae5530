// Opening addresses and files with the desktop's handler, through one
// replaceable sink, so tests record them instead of starting a browser.
// Texts are GBK. Here in the drawing part, as the handler is Qt Gui's, so
// the rules without windows (the command router's help and web pages)
// open them too.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "platform/types.h"

// Opens a file, folder or address with the desktop's handler: only the
// "open" verb (or none); returns a value above 32 on success, as Win32.
INT_PTR ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                     const char* directory, int showCommand);

namespace platform {

// Opens an address or file (GBK) with the desktop's handler, through the
// sink; false when nothing opened it.
bool OpenUrl(const std::string& url);

class UrlSink {
 public:
  virtual ~UrlSink() = default;
  virtual bool Open(const std::string& url) = 0;
};
// Installs a sink and returns the previous one (null: the desktop's handler).
UrlSink* SetUrlSink(UrlSink* sink);

// Records the addresses opened in its scope instead of opening them.
class ScopedRecordingUrls : public UrlSink {
 public:
  ScopedRecordingUrls() { previous_ = SetUrlSink(this); }
  ~ScopedRecordingUrls() override { SetUrlSink(previous_); }
  bool Open(const std::string& url) override {
    std::lock_guard<std::mutex> lock(mutex_);
    urls_.push_back(url);
    return answer_;
  }
  std::vector<std::string> Urls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return urls_;
  }
  // What Open answers (true by default).
  void SetAnswer(bool answer) { answer_ = answer; }

 private:
  UrlSink* previous_;
  mutable std::mutex mutex_;
  std::vector<std::string> urls_;
  bool answer_ = true;
};

}  // namespace platform
