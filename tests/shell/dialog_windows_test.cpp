// The dialogs' windows, scripted offscreen: the information window's list,
// requests and text; the notice dialog's modes, recorded choice and its
// end with the main window; the user's details; and the settings dialog's
// pages, range check, choosers and what 确定 and 取消 write.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <ctime>

#include <sys/stat.h>

#include "dialogs_support.h"
#include "enforced_permissions.h"
#include "shell/router_test_support.h"
#include "platform/controls.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/modal_script.h"
#include "zeb/core/dialogs/info_text.h"
#include "zeb/shell/dialogs/mine_info_dlg.h"
#include "zeb/shell/dialogs/sys_proty_dlg.h"
#include "zeb/shell/dialogs/user_info_dlg.h"
#include "zeb/shell/dialogs/welcome_info_dlg.h"

using namespace dialogs_test;
using platform::testing::ClickCtl;
using platform::testing::FindCtl;
using platform::testing::ScopedModalScript;

namespace {

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[3 * 12];  // room for any three ints: the text is never cut
  std::snprintf(date, sizeof date, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return date;
}

std::string Text(const CWnd& wnd, int id) {
  std::string text;
  wnd.GetDlgItemText(id, text);
  return text;
}

void Type(CWnd& dialog, int id, const char* text) {
  auto* edit = FindCtl<QLineEdit>(dialog, id);
  ASSERT_NE(edit, nullptr);
  edit->selectAll();
  QTest::keyClicks(edit, QString::fromLatin1(text));
}

// A main window that counts the closes asked of it.
class CountingMain : public CWndImpl<QWidget> {
 public:
  int closes = 0;
  void OnClose() override { ++closes; }
};

// Colour and font choosers that answer from the test.
class ScriptedChoosers : public platform::ChooserSink {
 public:
  ScriptedChoosers() { previous_ = platform::SetChooserSink(this); }
  ~ScriptedChoosers() override { platform::SetChooserSink(previous_); }
  COLORREF color = 0;
  LOGFONT font;
  bool ChooseColor(HWND, COLORREF* c) override {
    *c = color;
    return true;
  }
  bool ChooseFont(HWND, LOGFONT* f) override {
    *f = font;
    return true;
  }

 private:
  platform::ChooserSink* previous_;
};

}  // namespace

TEST(MineInfoDlg, ListsDatesAsksForTheChosenTextAndShowsItEscaped) {
  DialogsFixture fixture;
  SStockInfo item;
  std::strcpy(item.name, GBK("熊猫金币"));
  item.market = 4352;
  item.code = 602001;
  CMineInfoDlg dialog(kInfoPageKLine);
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_FALSE(dialog.IsWindowVisible());
  dialog.ShowItems(&item, {{20150310, "t2"}, {20150302, "t1"}}, 20150302);
  EXPECT_TRUE(dialog.IsWindowVisible());
  std::string caption;
  dialog.GetWindowText(caption);
  EXPECT_EQ(caption, std::string(GBK("熊猫金币")) + GBK("--资讯信息"));
  ASSERT_EQ(dialog.List().GetItemCount(), 2);
  EXPECT_EQ(dialog.List().GetItemText(0, 0), "2015/03/02");
  EXPECT_EQ(dialog.List().GetItemText(0, 1), "t1");
  EXPECT_EQ(dialog.List().GetNextItem(-1, LVNI_SELECTED), 0);
  // One request, for the selected date at time 0.
  ASSERT_EQ(fixture.recorder.requests.size(), 1u);
  EXPECT_EQ(U32(fixture.recorder.requests[0], 20), 20150302u);
  EXPECT_EQ(U32(fixture.recorder.requests[0], 26), 0u);
  EXPECT_EQ(U16(fixture.recorder.requests[0], 4), kInfoPageKLine);

  // The user's choice asks for its date.
  dialog.List().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  ASSERT_EQ(fixture.recorder.requests.size(), 2u);
  EXPECT_EQ(U32(fixture.recorder.requests[1], 20), 20150310u);
  EXPECT_EQ(dialog.GetDate(), 20150310);

  // A reply of two lines without its NUL, and one of another type.
  std::string reply(12, '\0');
  reply[1] = 0x11;
  reply += "a<b>\r\nb";
  EXPECT_EQ(dialog.OnInfoData(reply.data(), int(reply.size())), 1);
  EXPECT_EQ(dialog.Html().GetHtmlText(), "<HTML><BODY><p>a&lt;b&gt;</p><p>b</p></BODY></HTML>");
  std::string other = reply;
  other[1] = 0x12;
  EXPECT_EQ(dialog.OnInfoData(other.data(), int(other.size())), 0);
  EXPECT_EQ(dialog.Html().GetHtmlText(), "<HTML><BODY><p>a&lt;b&gt;</p><p>b</p></BODY></HTML>");
  dialog.DestroyWindow();
}

TEST(WelcomeInfoDlg, ModesAndTheRecordedChoice) {
  DialogsFixture fixture;
  ScopedModalScript script{[](CDialog& d) {
                             std::string caption;
                             d.GetWindowText(caption);
                             EXPECT_EQ(caption, GBK("通知消息"));
                             EXPECT_FALSE(d.GetDlgItem(IDOK)->IsWindowVisible());
                             ClickCtl(d, IDC_NOTICE_QUIET);
                             ClickCtl(d, IDC_NOTICE_QUIET);
                             ClickCtl(d, IDCANCEL);
                           },
                           [](CDialog& d) {
                             std::string caption;
                             d.GetWindowText(caption);
                             EXPECT_EQ(caption, GBK("发布了新的版本，系统可以升级!"));
                             EXPECT_TRUE(d.GetDlgItem(IDC_NOTICE_QUIET)->IsWindowVisible());
                             ClickCtl(d, IDOK);
                           }};
  EXPECT_EQ(ShowNoticeDialog(0, "<b>notice</b>"), IDCANCEL);
  const std::string file = fixture.folders.Read("sysset.ini");
  EXPECT_NE(file.find(std::string("[") + GBK("通知消息") +
                      "]\r\nCHECKED=0\r\nCHECKDATE=" + Today() + "\r\n"),
            std::string::npos)
      << file;
  EXPECT_EQ(ShowNoticeDialog(1, "update"), IDOK);
}

// A choice that cannot be recorded (a program folder that cannot be
// written): a box names "sysset.ini" and the check box goes back.
TEST(WelcomeInfoDlg, AChoiceThatCannotBeRecordedIsNamedAndTakenBack) {
  DialogsFixture fixture;
  ASSERT_EQ(chmod(fixture.folders.ProgramDir().c_str(), 0555), 0);
  ScopedModalScript script{[](CDialog& d) {
    EnforcedPermissions enforced;
    ClickCtl(d, IDC_NOTICE_QUIET);
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_NOTICE_QUIET), UINT(BST_UNCHECKED));
    ClickCtl(d, IDCANCEL);
  }};
  EXPECT_EQ(ShowNoticeDialog(0, "notice"), IDCANCEL);
  chmod(fixture.folders.ProgramDir().c_str(), 0755);
  const auto boxes = fixture.boxes.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(GBK("未能保存")), std::string::npos);
  EXPECT_NE(boxes[0].text.find(fixture.folders.Path("sysset.ini")), std::string::npos);
  EXPECT_EQ(fixture.folders.Read("sysset.ini"), "");
}

// The forced update: 退出 asks the main window to close and stays; the
// dialog ends when the main window is destroyed.
TEST(WelcomeInfoDlg, ForcedUpdateClosesTheMainWindowAndEndsWithIt) {
  DialogsFixture fixture;
  CountingMain main;
  ASSERT_TRUE(main.Create(nullptr, CRect(0, 0, 400, 300), 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  SetMainWnd(&main);
  ScopedModalScript script{[&](CDialog& d) {
    EXPECT_FALSE(d.GetDlgItem(IDC_NOTICE_QUIET)->IsWindowVisible());
    EXPECT_EQ(Text(d, IDCANCEL), GBK("退出"));
    ClickCtl(d, IDCANCEL);
    platform::PumpUntil([&] { return main.closes > 0; }, 2000);
    EXPECT_EQ(main.closes, 1);
    EXPECT_TRUE(d.IsInModalLoop());
    // Not the main window any more when it goes, or the quit it posts would
    // end the next test's loops.
    SetMainWnd(nullptr);
    main.DestroyWindow();
  }};
  EXPECT_EQ(ShowNoticeDialog(2, "must update"), IDCANCEL);
}

TEST(UserInfoDlg, ShowsWhatTheTradingLibraryGivesOrNothing) {
  DialogsFixture fixture;
  ScopedModalScript script{[](CDialog& d) {
                             EXPECT_EQ(Text(d, IDC_USER_NAME), "stub");
                             EXPECT_EQ(Text(d, IDC_USER_ACCOUNT), "u01");
                             EXPECT_EQ(Text(d, IDC_USER_ADDRESS), "");
                             d.EndDialog(IDOK);
                           },
                           [](CDialog& d) {
                             EXPECT_EQ(Text(d, IDC_USER_NAME), "");
                             d.EndDialog(IDOK);
                           }};
  CUserInfoDlg withLibrary([](std::string* fields) {
    fields[0] = "stub";
    fields[1] = "u01";
  });
  withLibrary.DoModal();
  CUserInfoDlg without(nullptr);
  without.DoModal();
}

class SysProtyDlgTest : public ::testing::Test {
 protected:
  std::string Scheme() {
    return fixture_.folders.Read("INTERFACE/test.CLR") +
           fixture_.folders.Read("INTERFACE/test.FNT");
  }
  // Runs the dialog on the page with the step; returns its result.
  INT_PTR Run(int page, std::function<void(CSysProtyDlg&)> step) {
    ScopedModalScript script{[&](CDialog& d) { step(dynamic_cast<CSysProtyDlg&>(d)); }};
    CSysProtyDlg dialog;
    dialog.SetStartPage(page);
    return dialog.DoModal();
  }
  DialogsFixture fixture_;
};

TEST_F(SysProtyDlgTest, ParametersPageSavesOnlyTheParameters) {
  const std::string scheme = Scheme();
  EXPECT_EQ(Run(1,
                [](CSysProtyDlg& d) {
                  EXPECT_FALSE(d.LookPage().IsActivated());
                  EXPECT_EQ(Text(d.ParamsPage(), IDC_BIG_ORDER), "400");
                  Type(d.ParamsPage(), IDC_PAGE_TURN, " 15");
                  ClickCtl(d, IDOK);
                }),
            IDOK);
  EXPECT_EQ(Scheme(), scheme);
  const std::string file = fixture_.folders.Read("sysset.ini");
  EXPECT_NE(file.find(std::string("[") + GBK("主力大单") + "]\r\nVALUE=400\r\n"),
            std::string::npos);
  EXPECT_NE(file.find(std::string("[") + GBK("自动翻页间隔") + "]\r\nVALUE= 15\r\n"),
            std::string::npos);
  EXPECT_EQ(CCmdDispatcher::GetInstance()->GetSysParam(GBK("自动翻页间隔")), 15);
}

TEST_F(SysProtyDlgTest, ThresholdOutsideItsRangeIsRefusedAndNothingSaved) {
  const struct {
    const char* text;
    bool taken;
  } cases[] = {{"399", false}, {"100001", false}, {"400", true}, {"100000", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    fixture_.boxes.Clear();
    const INT_PTR result = Run(1, [&](CSysProtyDlg& d) {
      d.Sheet().SetActivePage(0);  // the look page shown too: refused means neither is saved
      d.LookPage().Preview().SetColor(19, RGB(7, 7, 7));
      Type(d.ParamsPage(), IDC_BIG_ORDER, c.text);
      ClickCtl(d, IDOK);
      if (!c.taken) {
        EXPECT_TRUE(d.IsInModalLoop());
        d.EndDialog(IDCANCEL);
      }
    });
    EXPECT_EQ(result, c.taken ? IDOK : IDCANCEL);
    const auto boxes = fixture_.boxes.Boxes();
    if (c.taken) {
      EXPECT_TRUE(boxes.empty());
      EXPECT_EQ(CCmdDispatcher::GetInstance()->GetSysParam(GBK("主力大单")), std::atoi(c.text));
      EXPECT_EQ(CSysStyle::GetInstance()->GetColor(19), RGB(7, 7, 7));
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text, GBK("主力大单阀值规定在400到100000之间。"));
      EXPECT_EQ(fixture_.folders.Read("sysset.ini"), "");
      EXPECT_EQ(CSysStyle::GetInstance()->GetColor(19), RGB(0, 0, 0));
    }
  }
}

// 确定 with a folder that cannot be written: a box names the file, the
// dialog stays open and nothing cached changes. Written, both sections of
// "sysset.ini" are there and a shown chart view asks for its big orders
// once.
TEST_F(SysProtyDlgTest, OkSavesOrNamesTheFileItCouldNotWriteAndStays) {
  const struct {
    const char* name;
    int page;
    const char* locked;              // the folder made unwritable ("" the program folder), or null
    std::vector<std::string> named;  // the files the boxes name; none: saved
  } cases[] = {
      {"parameters, program folder locked", kSettingsPageParams, "", {"sysset.ini"}},
      {"colours and fonts, scheme folder locked",
       kSettingsPageLook,
       "INTERFACE",
       {"INTERFACE/test.CLR", "INTERFACE/test.FNT"}},
      {"parameters, written", kSettingsPageParams, nullptr, {}},
  };
  // In this order: only the last case saves anything.
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    shell_test::RecordingView chart(kPageChart);
    router->SetActiveView(&chart);
    fixture_.boxes.Clear();
    const std::string scheme = Scheme();
    const std::string folder = c.locked ? fixture_.folders.Path(c.locked) : "";
    if (c.locked) {
      ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    }
    const bool params = c.page == kSettingsPageParams;
    INT_PTR result = 0;
    {
      EnforcedPermissions enforced;
      result = Run(c.page, [&](CSysProtyDlg& d) {
        if (params) Type(d.ParamsPage(), IDC_BIG_ORDER, "800");
        else d.LookPage().Preview().SetColor(19, RGB(7, 7, 7));
        ClickCtl(d, IDOK);
        if (!c.named.empty()) d.EndDialog(IDCANCEL);
      });
    }
    if (c.locked) chmod(folder.c_str(), 0755);
    router->SetActiveView(nullptr);
    const auto boxes = fixture_.boxes.Boxes();
    if (!c.named.empty()) {
      EXPECT_EQ(result, IDCANCEL);  // still open after 确定
      ASSERT_EQ(boxes.size(), c.named.size());
      for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_NE(boxes[i].text.find(GBK("未能保存")), std::string::npos) << boxes[i].text;
        EXPECT_NE(boxes[i].text.find(fixture_.folders.Path(c.named[i])), std::string::npos)
            << boxes[i].text;
      }
      EXPECT_EQ(router->GetSysParam(GBK("主力大单")), 400);
      EXPECT_EQ(CSysStyle::GetInstance()->GetColor(19), RGB(0, 0, 0));
      EXPECT_EQ(fixture_.folders.Read("sysset.ini"), "");
      EXPECT_EQ(Scheme(), scheme);
      EXPECT_EQ(chart.bigOrderRefreshes, 0);
    } else {
      EXPECT_EQ(result, IDOK);
      EXPECT_TRUE(boxes.empty());
      EXPECT_EQ(router->GetSysParam(GBK("主力大单")), 800);
      EXPECT_EQ(fixture_.folders.Read("sysset.ini"), std::string("[") + GBK("主力大单") +
                                                         "]\r\nVALUE=800\r\n[" +
                                                         GBK("自动翻页间隔") + "]\r\nVALUE=0\r\n");
      EXPECT_EQ(chart.bigOrderRefreshes, 1);
    }
  }
}

TEST_F(SysProtyDlgTest, ColoursAndFontsReachTheSchemeOnlyOnOk) {
  ScriptedChoosers choosers;
  choosers.color = RGB(10, 20, 30);
  std::strcpy(choosers.font.lfFaceName, "Serif");
  choosers.font.lfHeight = -18;
  choosers.font.lfWeight = 700;
  choosers.font.lfItalic = 1;
  // Cancel writes nothing.
  const std::string scheme = Scheme();
  Run(0, [](CSysProtyDlg& d) {
    d.LookPage().Preview().SetColor(19, RGB(1, 1, 1));
    ClickCtl(d, IDCANCEL);
  });
  EXPECT_EQ(Scheme(), scheme);

  EXPECT_EQ(Run(0,
                [&](CSysProtyDlg& d) {
                  CSysSetDlg& look = d.LookPage();
                  EXPECT_FALSE(d.ParamsPage().IsActivated());
                  auto* colors = FindCtl<QListWidget>(look, IDC_COLOR_LIST);
                  ASSERT_NE(colors, nullptr);
                  // The first entry is the background (19): black in this scheme.
                  EXPECT_EQ(Text(look, IDC_RED_EDIT), "0");
                  // Pick a colour, then type a new red: green and blue stay picked.
                  ClickCtl(look, IDC_CHOOSE_COLOR);
                  EXPECT_EQ(Text(look, IDC_GREEN_EDIT), "20");
                  Type(look, IDC_RED_EDIT, "200");
                  EXPECT_EQ(look.Preview().GetColor(19), RGB(200, 20, 30));
                  // A component out of range is refused with our message.
                  fixture_.boxes.Clear();
                  Type(look, IDC_BLUE_EDIT, "256");
                  ASSERT_EQ(fixture_.boxes.Boxes().size(), 1u);
                  EXPECT_EQ(look.Preview().GetColor(19), RGB(200, 20, 25));
                  Type(look, IDC_BLUE_EDIT, "30");
                  // A slider moved by the user writes its edit, which sets the colour.
                  auto* green = FindCtl<QSlider>(look, IDC_GREEN_SLIDER);
                  ASSERT_NE(green, nullptr);
                  EXPECT_EQ(green->value(), 20);
                  green->setValue(21);
                  EXPECT_EQ(Text(look, IDC_GREEN_EDIT), "21");
                  EXPECT_EQ(look.Preview().GetColor(19), RGB(200, 21, 30));
                  Type(look, IDC_GREEN_EDIT, "20");
                  EXPECT_EQ(green->value(), 20);
                  // Bold italic stores bold only.
                  auto* fonts = look.GetDlgItemT<CComboBox>(IDC_FONT_LIST);
                  ASSERT_NE(fonts, nullptr);
                  fonts->SetCurSel(fonts->FindStringExact(-1, GBK("列表字体")));
                  ClickCtl(look, IDC_CHOOSE_FONT);
                  const SFontEntry* font = look.Preview().FindFont(1);
                  EXPECT_EQ(font->style, 1);
                  EXPECT_EQ(font->size, 18);
                  EXPECT_STREQ(font->face, "Serif");
                  EXPECT_EQ(CSysStyle::GetInstance()->GetColor(19), RGB(0, 0, 0));
                  ClickCtl(d, IDOK);
                }),
            IDOK);
  EXPECT_EQ(CSysStyle::GetInstance()->GetColor(19), RGB(200, 20, 30));
  EXPECT_NE(fixture_.folders.Read("INTERFACE/test.CLR").find("COLOR=1971400"), std::string::npos);
  EXPECT_NE(fixture_.folders.Read("INTERFACE/test.FNT").find("FONTSTYLE=1\r\nFONTNAME=Serif"),
            std::string::npos);
  EXPECT_EQ(fixture_.folders.Read("sysset.ini"), "");

  // "恢复缺省颜色" goes back to the colours saved last, not the built-in ones.
  Run(0, [](CSysProtyDlg& d) {
    CSysSetDlg& look = d.LookPage();
    look.Preview().SetColor(19, RGB(5, 5, 5));
    ClickCtl(look, IDC_RESTORE_COLORS);  // the box answers Yes
    EXPECT_EQ(look.Preview().GetColor(19), RGB(200, 20, 30));
    EXPECT_EQ(Text(look, IDC_RED_EDIT), "200");
    d.EndDialog(IDCANCEL);
  });
}
