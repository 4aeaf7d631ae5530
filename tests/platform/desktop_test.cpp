// The desktop as the program sees it: the test screen, fixed metrics and
// colours, the tray icon (minimising where there is no tray), addresses
// opened through the sink.
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include "platform/desktop.h"
#include "platform/gdi.h"
#include "platform/testing/app.h"
#include "platform/wnd.h"

namespace {

TEST(Desktop, TheTestScreenAndTheFixedTables) {
  platform::testing::EnsureApplication();
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->logicalDotsPerInch(), 96);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  struct Row {
    const char* what;
    long actual, expected;
  } rows[] = {
      {"screen width", GetSystemMetrics(SM_CXSCREEN), 1920},
      {"screen height", GetSystemMetrics(SM_CYSCREEN), 1080},
      {"work area", work.right - work.left, 1920},
      {"scroll bar", GetSystemMetrics(SM_CXVSCROLL), 17},
      {"frame", GetSystemMetrics(SM_CXFRAME), 4},
      {"not in the table", GetSystemMetrics(9999), 0},
      {"button face", (long)GetSysColor(COLOR_BTNFACE), (long)RGB(240, 240, 240)},
      {"3D dark shadow", (long)GetSysColor(COLOR_3DDKSHADOW), (long)RGB(105, 105, 105)},
      {"highlight", (long)GetSysColor(COLOR_HIGHLIGHT), (long)RGB(51, 153, 255)},
      {"unused index", (long)GetSysColor(25), 0},
      {"brush of a colour", (long)GetSysColorBrush(COLOR_WINDOW)->GetColor(),
       (long)RGB(255, 255, 255)},
      {"no brush for an unused index", (long)(GetSysColorBrush(25) != nullptr), 0},
  };
  for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
}

TEST(Desktop, WithoutATrayTheWindowMinimisesInsteadOfHiding) {
  platform::testing::EnsureApplication();
  CWndImpl<QWidget> frame;
  ASSERT_TRUE(frame.Create(nullptr, CRect(0, 0, 300, 200), 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  NOTIFYICONDATA icon;
  icon.hWnd = frame.GetSafeHwnd();
  icon.uID = 120;
  icon.uFlags = NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = 2007;
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &icon));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &icon));  // already there
  frame.ShowWindow(SW_HIDE);
  EXPECT_TRUE(frame.IsIconic());
  EXPECT_TRUE(frame.GetWidget()->isVisible());
  ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &icon));
  frame.ShowWindow(SW_RESTORE);
  frame.ShowWindow(SW_HIDE);
  EXPECT_FALSE(frame.IsWindowVisible());
}

TEST(Desktop, AddressesOpenThroughTheSink) {
  platform::ScopedRecordingUrls urls;
  EXPECT_GT(ShellExecute(nullptr, "open", "http://example.test/a", nullptr, nullptr, SW_SHOWNORMAL),
            32);
  EXPECT_GT(ShellExecute(nullptr, nullptr, "mailto:a@example.test", nullptr, nullptr, SW_SHOW), 32);
  EXPECT_GT(ShellExecute(nullptr, "open", "help\\hotkey.htm", nullptr, nullptr, SW_SHOW), 32);
  EXPECT_LE(ShellExecute(nullptr, "print", "a.txt", nullptr, nullptr, SW_SHOW), 32);
  urls.SetAnswer(false);
  EXPECT_LE(ShellExecute(nullptr, "open", "http://example.test/b", nullptr, nullptr, SW_SHOW), 32);
  const std::vector<std::string> expected = {"http://example.test/a", "mailto:a@example.test",
                                             "help/hotkey.htm", "http://example.test/b"};
  EXPECT_EQ(urls.Urls(), expected);
}

}  // namespace
