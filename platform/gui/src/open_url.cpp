// Opening addresses and files: see open_url.h.
#include "platform/open_url.h"

#include <QDesktopServices>
#include <QUrl>
#include <atomic>
#include <cstring>

#include "platform/gbk.h"
#include "platform/paths.h"

namespace {

std::atomic<platform::UrlSink*> g_urlSink{nullptr};

}  // namespace

INT_PTR ShellExecute(HWND, const char* verb, const char* file, const char*, const char*, int) {
  constexpr INT_PTR kOpened = 42, kNoHandler = 31;  // SE_ERR_NOASSOC
  if (verb && std::strcmp(verb, "open") != 0) return kNoHandler;
  if (!file || !*file) return kNoHandler;
  std::string target = file;
  // A local path in the system's form ("\" separators) becomes ours.
  if (target.find("://") == std::string::npos && target.rfind("mailto:", 0) != 0)
    target = platform::ToNativePath(target);
  return platform::OpenUrl(target) ? kOpened : kNoHandler;
}

namespace platform {

UrlSink* SetUrlSink(UrlSink* sink) { return g_urlSink.exchange(sink); }

bool OpenUrl(const std::string& url) {
  if (UrlSink* sink = g_urlSink.load()) return sink->Open(url);
  return QDesktopServices::openUrl(QUrl::fromUserInput(GbkToQString(url)));
}

}  // namespace platform
