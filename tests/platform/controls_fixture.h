// What the control tests share: a dialog built from a table that records
// the notifications its controls send, and input as a user gives it.
#pragma once
#include <QInputMethodEvent>
#include <QTest>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"

namespace controls_test {

// Records "id:code" for each WM_COMMAND (focus changes of edits aside) and "scroll:code:pos" for each
// WM_VSCROLL, space-separated.
class RecordingDialog : public CDialog {
 public:
  explicit RecordingDialog(const platform::DialogTemplate& tpl) : CDialog(tpl) {}
  std::string log;
  void Add(const std::string& s) { log += (log.empty() ? "" : " ") + s; }
  std::string Take() { return std::exchange(log, std::string()); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const UINT code = HIWORD(wParam);
    if (message == WM_COMMAND && code != EN_SETFOCUS && code != EN_KILLFOCUS)
      Add(std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
    if (message == WM_VSCROLL)
      Add("scroll:" + std::to_string(LOWORD(wParam)) + ":" + std::to_string((short)HIWORD(wParam)));
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

// A shown, active dialog of the items (pixels) in a client area of cx x cy.
template <class Dialog = RecordingDialog>
std::unique_ptr<Dialog> MakeDialog(std::span<const platform::DialogItem> items, int cx = 400,
                                   int cy = 300) {
  platform::testing::EnsureApplication();
  const platform::DialogTemplate tpl = platform::PixelTemplate(cx, cy, items);
  auto dialog = std::make_unique<Dialog>(tpl);
  EXPECT_TRUE(dialog->Create(nullptr));
  EXPECT_TRUE(platform::testing::ShowAndActivate(dialog.get()));
  dialog->Take();
  return dialog;
}

// Text as an input method commits it (how Chinese is typed).
inline void Commit(QWidget* widget, const char* utf8) {
  QInputMethodEvent event;
  event.setCommitString(QString::fromUtf8(utf8));
  QApplication::sendEvent(widget, &event);
}

// The window as it paints, in its own coordinates.
inline QImage Render(QWidget* widget) {
  QImage image(widget->size(), QImage::Format_ARGB32);
  image.fill(Qt::magenta);
  widget->render(&image);
  return image;
}

inline COLORREF PixelAt(const QImage& image, QPoint p) {
  const QColor c = image.pixelColor(p);
  return RGB(c.red(), c.green(), c.blue());
}

}  // namespace controls_test
