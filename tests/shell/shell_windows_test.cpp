// The shell's own windows in the program: typed initials in the main frame
// open the keyboard-input box, which lists the matching items and opens the
// chosen one in the chart view; the update check at start-up asks which
// download server through its dialog and hands the choice to the updater;
// the server's notice shows in the notice dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstring>
#include <filesystem>

#include "platform/gbk.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"
#include "shell/program_test_support.h"
#include "shell/router_test_support.h"
#include "sim/market/demo_market.h"
#include "sim/update-server/update_sim.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/shell/app/shell_windows.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/dialogs/welcome_info_dlg.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/shell/input/input_dlg.h"
#include "zeb/shell/login/login_dlg.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/core/update/update_check.h"
#include "zeb/shell/update/update_select_dlg.h"

namespace {

using platform::testing::ClickCtl;
using platform::testing::FindCtl;
using platform::testing::ScopedModalScript;
using shell_test::RecordingView;

class ShellWindowsTest : public ::testing::Test, public shell_test::ProgramFixture {
 protected:
  std::unique_ptr<CZEBApp> zeb;
  ShellWindowsTest() {
    SZebAppOptions options;
    options.skipTradeLibrary = true;
    zeb = std::make_unique<CZEBApp>(options);
  }
  ~ShellWindowsTest() override {
    zeb.reset();
    ShellPlugins() = SShellPlugins();
    SetUpdateServerChooser(nullptr);
  }
};

QString Unicode(const char* gbk) { return QString::fromStdString(platform::GbkToUtf8(gbk)); }

TEST_F(ShellWindowsTest, TypedInitialsListTheItemsAndOpenTheChosenOne) {
  RecordingView* chart = nullptr;
  ShellPlugins().chartView = [&] { return chart = new RecordingView(kPageChart); };
  ShellPlugins().reportView = [] { return new RecordingView(kPageReport); };
  InstallShellWindows();
  CPublic::GetInstance()->SetLoginMode(1);
  zeb->CreateMainFrame();
  SetMainWnd(nullptr);  // no message loop runs here for the close to end
  CMainFrame* frame = zeb->GetMainFrame();
  ASSERT_NE(frame, nullptr);
  // The market table arrives and the keyboard index is built from it.
  const std::string table = BuildDemoMarketTable();
  frame->SendMessage(WM_QUOTE_PACKET, table.size(), LPARAM(table.data()));
  // Shown, so its window rectangle (with the desktop's frame) is the one
  // the box is placed against.
  frame->ShowWindow(SW_SHOW);

  ScopedModalScript script{[&](CDialog& dialog) {
    auto* box = dynamic_cast<CInput*>(&dialog);
    ASSERT_NE(box, nullptr);
    // The box draws its own caption: the desktop adds no title bar.
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_TRUE(platform::testing::ShowAndActivate(dialog.GetWidget()));
    CRect owner, placed;
    frame->GetWindowRect(&owner);
    dialog.GetWindowRect(&placed);
    EXPECT_EQ(placed, CRect(PlaceInputBox(owner, placed.Width(), placed.Height())));
    auto* edit = FindCtl<QLineEdit>(dialog, IDC_INPUT_EDIT);
    auto* list = FindCtl<QListWidget>(dialog, IDC_INPUT_LIST);
    ASSERT_TRUE(edit && list);
    // The letter typed in the frame is the first one in the box.
    ASSERT_TRUE(platform::PumpUntil([&] { return edit->text() == "J"; }, 10000));
    // A letter typed while the list has the focus goes to the edit box.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_B);
    EXPECT_EQ(edit->text(), "JB");
    ASSERT_GE(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), Unicode(GBK("XMJB    熊猫金币")));
    EXPECT_EQ(list->currentRow(), 0);
    // The arrow keys step the list, wherever the focus is.
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::keyClick(edit, Qt::Key_Return);
  }};
  frame->SendMessage(WM_CHAR, 'j', 0);
  EXPECT_EQ(script.Shown(), 1);
  ASSERT_NE(chart, nullptr);
  SCodeInfo opened;
  chart->GetCodeInfo(&opened);
  EXPECT_EQ(opened, (SCodeInfo{4117, 701001}));  // 熊猫金币
  EXPECT_EQ(+chart->GetCurItem()->page, kPageChart);

  // The close button ends the box and opens nothing.
  const int opens = chart->setCount;
  ScopedModalScript closing{[&](CDialog& dialog) {
    auto* list = FindCtl<QListWidget>(dialog, IDC_INPUT_LIST);
    ASSERT_TRUE(platform::PumpUntil([&] { return list->count() > 0; }, 10000));
    ClickCtl(dialog, IDC_INPUT_CLOSE);
  }};
  frame->SendMessage(WM_CHAR, '6', 0);
  EXPECT_EQ(closing.Shown(), 1);
  EXPECT_EQ(chart->setCount, opens);
  frame->CloseWithoutAsking();
}

TEST_F(ShellWindowsTest, ServerChoiceListsTheServersInNameOrder) {
  const UpdateServerMap servers{
      {"north", "http://n/"}, {"south", "http://s/"}, {"west", "http://w/"}};
  std::string chosen = "unchanged";
  ScopedModalScript script{[&](CDialog& dialog) {
                             auto* combo = FindCtl<QComboBox>(dialog, IDC_UPDATE_SERVER);
                             ASSERT_EQ(combo->count(), 3);
                             EXPECT_EQ(combo->itemText(0), "north");
                             EXPECT_EQ(combo->itemText(2), "west");
                             EXPECT_EQ(combo->currentIndex(), 0);
                             combo->setCurrentIndex(1);
                             ClickCtl(dialog, IDOK);
                           },
                           [&](CDialog& dialog) { ClickCtl(dialog, IDCANCEL); }};
  EXPECT_TRUE(ChooseUpdateServer(servers, &chosen));
  EXPECT_EQ(chosen, "south");
  chosen = "unchanged";
  EXPECT_FALSE(ChooseUpdateServer(servers, &chosen));
  EXPECT_EQ(chosen, "unchanged");
}

// The start-up's update check against the update simulator: several
// servers are offered in the dialog, and the updater is handed the list
// with the chosen server's addresses.
TEST_F(ShellWindowsTest, StartUpAsksForTheServerAndStartsTheUpdater) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  std::filesystem::copy_file(std::string(bin) + "/Novarel", folders.Path("Novarel"));
  CUpdateSimServer server;
  const int port = server.Start(0);
  ASSERT_GT(port, 0);
  server.SetFile("/zeb/update.xml",
                 CUpdateSimServer::BuildList(
                     {{"one", "http://127.0.0.1:1/files/"}, {"two", "http://127.0.0.1:2/files/"}},
                     {{"ZEB", "20261210", "ZEB.zip"}}));
  folders.Write("zeb.ini",
                std::string(shell_test::kTestZebIni) +
                    "[UPDATE]\r\nUPDATESERVER=127.0.0.1\r\nUPDATEPORT=" + std::to_string(port) +
                    "\r\nUPDATETAG=/zeb/update.xml\r\nUPDATETMOUT=5000\r\n");
  ScopedModalScript script{[&](CDialog& dialog) {
                             ASSERT_NE(dynamic_cast<CDlgUpdateSelect*>(&dialog), nullptr);
                             FindCtl<QComboBox>(dialog, IDC_UPDATE_SERVER)->setCurrentIndex(1);
                             ClickCtl(dialog, IDOK);
                           },
                           [&](CDialog& login) {
                             ASSERT_NE(dynamic_cast<CLoginDlg*>(&login), nullptr);
                             ClickCtl(login, IDC_LOGIN_CANCEL);
                           }};
  EXPECT_FALSE(zeb->InitInstance());  // the login was cancelled
  zeb->ExitInstance();
  ASSERT_TRUE(platform::PumpUntil([&] { return folders.Has("novarel-record.txt"); }, 10000));
  const std::string record = folders.Read("novarel-record.txt");
  EXPECT_NE(record.find("arg3 quenlirt\narg4 1\n"), std::string::npos) << record;
  EXPECT_NE(record.find("<DownAddress>http://127.0.0.1:2/files/ZEB.zip</DownAddress>"),
            std::string::npos)
      << record;
}

// The login dialog takes the keyboard at once: the account field when no
// account is saved, else the password. Its login and cancel buttons stand
// side by side from (210, 340), centred under the form, and their images
// leave a margin so the two do not touch.
TEST_F(ShellWindowsTest, TheLoginTakesTheKeyboardAndCentresItsButtons) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  const std::filesystem::path skin = folders.Path("UIInterface/Login");
  std::filesystem::create_directories(skin.parent_path());
  std::filesystem::copy(std::filesystem::path(bin) / "UIInterface/Login", skin);
  for (const std::string saved : {"", "u01"}) {
    std::string ini = shell_test::kTestZebIni;
    ini.replace(ini.find("UserID=") + 7, 0, saved);
    folders.Write("zeb.ini", ini);
    QWidget* focused = nullptr;
    QWidget* expected = nullptr;
    QRect ok, cancel;
    int width = 0;
    ScopedModalScript script{[&](CDialog& login) {
      focused = login.focusWidget();
      expected = FindCtl<QLineEdit>(login, saved.empty() ? IDC_LOGIN_ACCOUNT : IDC_LOGIN_PASSWORD);
      ok = login.GetDlgItemWidget(IDOK)->geometry();
      cancel = login.GetDlgItemWidget(IDC_LOGIN_CANCEL)->geometry();
      width = login.width();
      ClickCtl(login, IDC_LOGIN_CANCEL);
    }};
    CLoginDlg login(nullptr, 0);
    EXPECT_EQ(login.DoModal(), IDCANCEL);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(focused, expected) << "saved account: " << saved;
    EXPECT_EQ(ok.topLeft(), QPoint(210, 340));
    EXPECT_EQ(cancel.left(), ok.right() + 1);
    EXPECT_EQ(ok.left() + cancel.right() + 1, width) << "the pair is centred";
  }
  const QImage strip(QString::fromStdString((skin / "ImgOkBtn.png").string()));
  ASSERT_FALSE(strip.isNull());
  for (int y : {5, 15, 25}) {
    EXPECT_EQ(qAlpha(strip.pixel(0, y)), 0) << y;
    EXPECT_EQ(qAlpha(strip.pixel(strip.width() - 1, y)), 0) << y;
  }
}

}  // namespace

namespace {

// The server's notice: type, text length, a pointer slot, the text.
std::string NoticePacket(const std::string& text) {
  std::string body(8, '\0');
  body[1] = 0x0C;
  const int16_t length = int16_t(text.size());
  std::memcpy(&body[2], &length, 2);
  return body + text;
}

}  // namespace

// The frame's notice shows in the notice dialog, which ends with the frame
// when the frame closes under it.
TEST_F(ShellWindowsTest, NoticeDialogShowsTheNoticeAndClosesWithTheFrame) {
  ShellPlugins().reportView = [] { return new RecordingView(kPageReport); };
  InstallShellWindows();
  CPublic::GetInstance()->SetLoginMode(1);
  zeb->CreateMainFrame();
  CMainFrame* frame = zeb->GetMainFrame();
  ASSERT_NE(frame, nullptr);
  const std::string notice = NoticePacket("<p>maintenance</p>");
  frame->SendMessage(WM_QUOTE_PACKET, notice.size(), LPARAM(notice.data()));
  bool shown = false;
  ScopedModalScript script{[&](CDialog& dialog) {
    auto* box = dynamic_cast<CWelcomeInfoDlg*>(&dialog);
    ASSERT_NE(box, nullptr);
    shown = true;
    EXPECT_EQ(box->Html().GetHtmlText(), "<p>maintenance</p>");
    SetMainWnd(nullptr);  // no message loop runs here for the close to end
    frame->CloseWithoutAsking();
  }};
  EXPECT_EQ(frame->LaunchUpdater(1), 0);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(frame->IsWindowVisible());
}
