#include "platform/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <atomic>
#include <cstdio>

#include "platform/gbk.h"
#include "platform/qt_texts.h"
#include "platform/window.h"

namespace platform {
namespace {

std::atomic<MessageBoxSink*> g_sink{nullptr};

int FirstButtonAnswer(UINT type) {
  switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDYES;
    default:
      return IDOK;
  }
}

// The program's sink: a real modal Qt box.
int ShowQtBox(HWND, const std::string& text, const std::string& caption, UINT type) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    // No widgets (a console tool): say it on standard error.
    std::fprintf(stderr, "[%s] %s\n", GbkToUtf8(caption).c_str(), GbkToUtf8(text).c_str());
    return FirstButtonAnswer(type);
  }
  // The standard buttons speak the program's language (是/否, 确定/取消).
  InstallQtChineseTexts();
  QMessageBox box;
  // A box is answered, never minimised or maximised.
  box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  box.setTextFormat(Qt::PlainText);  // server texts are never markup
  box.setWindowTitle(GbkToQString(caption));
  box.setText(GbkToQString(text));
  switch (type & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  switch (type & 0xF) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MB_YESNOCANCEL:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDCANCEL;
  }
}

}  // namespace

MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink) { return g_sink.exchange(sink); }

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
    return platform::ShowQtBox(owner, t, c, type);
  });
}

int AfxMessageBox(const char* text, UINT type) { return MessageBox(nullptr, text, "ZEB", type); }
