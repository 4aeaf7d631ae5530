// What the dialog tests share: a program folder with a loaded colour and
// font scheme (list, colours, fonts, thumb tile), the command router and
// the store pointed at it, and a window that records the store's quote
// requests as the main frame would receive them.
#pragma once
#include <QGuiApplication>
#include <QImage>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "support/shell_temp_folders.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/messages.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/public_store.h"

namespace dialogs_test {

class RequestRecorder : public platform::MsgTarget {
 public:
  std::vector<std::string> requests;  // as sent, without the length prefix

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_QUOTE_REQUEST || wParam != kRequestQuoteData) return 0;
    const char* buffer = reinterpret_cast<const char*>(lParam);
    int32_t length = 0;
    std::memcpy(&length, buffer, 4);
    requests.emplace_back(buffer + 4, size_t(length));
    return 1;
  }
};

inline uint32_t U32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}
inline uint16_t U16(const std::string& bytes, size_t at) {
  uint16_t v = 0;
  std::memcpy(&v, bytes.data() + at, 2);
  return v;
}

class DialogsFixture {
 public:
  DialogsFixture() {
    platform::testing::EnsureApplication();
    const std::string list = std::string("[") + GBK("配色方案") + "]\r\n0=test\r\n\r\n[" +
                             GBK("当前方案") + "]\r\n001=0\r\n";
    folders.Write("INTERFACE/COLORSCHEME.ini", list);
    folders.Write("INTERFACE/test.CLR",
                  std::string("[") + GBK("背景色") + "]\r\nID=19\r\nCOLOR=0\r\n");
    folders.Write("INTERFACE/test.FNT",
                  std::string("[") + GBK("列表字体") +
                      "]\r\nID=1\r\nFONTSIZE=14\r\nFONTSTYLE=0\r\nFONTNAME=Arial\r\n");
    QImage tile(4, 8, QImage::Format_RGB32);
    tile.fill(Qt::gray);
    tile.save(QString::fromStdString(folders.Path("INTERFACE/test.BMP")), "BMP");
    CSysStyle::ReleaseInstance();
    CSysStyle::GetInstance()->LoadScheme();
    CCmdDispatcher::ReleaseInstance();
    CPublic::ReleaseInstance();  // made again in this program folder
    CPublic::GetInstance()->SetMainWnd(recorder.GetSafeHwnd());
  }
  ~DialogsFixture() {
    CCmdDispatcher::ReleaseInstance();
    CPublic::ReleaseInstance();
    CSysStyle::ReleaseInstance();
  }

  shell_test::TempFolders folders;
  platform::ScopedRecordingBoxes boxes;
  RequestRecorder recorder;
};

}  // namespace dialogs_test
