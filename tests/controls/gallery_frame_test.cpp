// A gallery of the skinned controls: each is rendered offscreen into a PNG
// file under the build tree (gallery/controls/) for a person to look at.
// The checks are coarse (a picture was written and is not blank); glyphs
// are never compared.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "zeb/controls/my_mem_dc.h"
#include "zeb/controls/scroll_ctl_pic.h"
#include "zeb/controls/translucent_btn.h"
#include "zeb/controls/transparent_stat.h"
#include "zeb/controls/type_ctl_pic.h"
#include "zeb/controls/wdialog.h"
#include "zeb/controls/wndless_button.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "platform/testing/gallery.h"
#include "test_support.h"

namespace {

// Saves the picture and checks it shows something.
void Keep(const QImage& image, const char* name) {
  platform::testing::KeepPicture(image, "controls", name);
}

// The window as it shows on screen: outside its shape nothing.
QImage Shot(QWidget& window) {
  QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  window.render(&image);
  if (!window.mask().isEmpty()) {
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setClipRegion(QRegion(image.rect()) - window.mask());
    p.fillRect(image.rect(), Qt::transparent);
  }
  return image;
}

class Gallery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  ScopedTestScheme scheme_;
};

TEST_F(Gallery, TabBarsAndScrollBarsThroughAMemoryDc) {
  ASSERT_TRUE(scheme_.Loaded());
  QImage image(460, 200, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  CDC target(&image);
  {
    const RECT all{0, 0, 460, 200};
    target.SetBkColor(CSysStyle::GetInstance()->GetColor(19));
    CMyMemDC dc(&target, &all);
    CTypeCtlPic markets;
    for (const char* name : {"沪深A股", "上证指数", "深证成指", "中小板", "创业板"})
      markets.AddTab(GBK(name), 0);
    markets.AddTab((std::string(GBK("板块")) + CTypeCtlPic::Marker()).c_str(), 0);
    markets.SetCurSel(1);
    markets.SetRect(0, 4, 440, 24);
    markets.Draw(dc);
    CTypeCtlPic narrow;  // runs past its bar: later tabs are not painted
    for (const char* name : {"分时成交", "分价表", "大单统计", "指标说明"})
      narrow.AddTab(GBK(name), 0);
    narrow.SetCurSel(0);
    narrow.SetRect(0, 34, 180, 54);
    narrow.Draw(dc);
    CTypeCtlPic none;  // no current tab
    for (const char* name : {"日线", "周线", "月线"}) none.AddTab(GBK(name), 0);
    none.SetRect(200, 34, 440, 54);
    none.Draw(dc);

    CScrollCtlPic vertical;
    const RECT v{420, 64, 436, 196};
    vertical.SetRect(CScrollCtlPic::kVertical, &v);
    vertical.SetRange(100);
    vertical.SetPage(20);
    vertical.SetPos(30);
    vertical.Draw(dc);
    CScrollCtlPic full;  // page == total: the thumb fills the track
    const RECT f{440, 64, 456, 196};
    full.SetRect(CScrollCtlPic::kVertical, &f);
    full.SetRange(20);
    full.SetPage(20);
    full.Draw(dc);
    CScrollCtlPic horizontal;
    const RECT h{10, 176, 400, 192};
    horizontal.SetRect(0, &h);
    horizontal.SetRange(300);
    horizontal.SetPage(60);
    horizontal.SetPos(200);
    horizontal.Draw(dc);
  }
  Keep(image, "tab_and_scroll_bars.png");
}

TEST_F(Gallery, CaptionButtons) {
  QImage image(500, 130, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter p(&image);
    // The caption band a dialog paints by default.
    QLinearGradient band(0, 0, 0, 130);
    band.setColorAt(0, QColor(124, 223, 255));
    band.setColorAt(1, Qt::white);
    p.fillRect(image.rect(), band);
  }
  CDC dc(&image);
  struct Kind {
    UINT id;
    const char* strip;
    const char* second;
  } kinds[] = {
      {ID_CAPTION_CLOSE, ":/skin/caption_close.png", ""},
      {ID_CAPTION_MINIMIZE, ":/skin/caption_minimize.png", ""},
      {ID_CAPTION_RESTORE, "", ":/skin/caption_restore.png"},
      {ID_CAPTION_SETTINGS, ":/skin/caption_settings.png", ""},
      {ID_CAPTION_HELP, ":/skin/caption_help.png", ""},
      {ID_CAPTION_BACK, ":/skin/caption_back.png", ""},
  };
  // Left: with images; right: the glyphs without. Each column one
  // button, its four states downwards.
  for (int glyphs = 0; glyphs < 2; ++glyphs) {
    int x = 4 + glyphs * 250;
    for (const Kind& k : kinds) {
      WWndLessButton button;
      button.Create(RECT{0, 0, k.id == ID_CAPTION_CLOSE ? 50 : 27, 22}, nullptr, k.id,
                    glyphs ? "" : k.strip, nullptr, glyphs ? "" : k.second);
      const SIZE size = button.GetSize();
      for (int state = 0; state < 4; ++state) {
        button.SetState(state);
        button.Draw(x, 4 + state * (size.cy + 6), &dc);
      }
      x += size.cx + 6;
    }
  }
  Keep(image, "caption_buttons.png");
}

TEST_F(Gallery, TranslucentButtonsAndTransparentStatics) {
  class Panel : public CWndImpl<QWidget> {
   public:
    BOOL OnEraseBkgnd(CDC* dc) override {
      CRect r;
      GetClientRect(&r);
      dc->FillSolidRect(&r, RGB(214, 230, 246));
      return TRUE;
    }
  } panel;
  ASSERT_TRUE(panel.Create(nullptr, CRect(100, 100, 560, 300), 0, WS_POPUP | WS_VISIBLE));
  for (int state = 0; state < 4; ++state) {
    auto* ok = new CTranslucentBtn;
    ok->Create(&panel, CRect(10 + 90 * state, 10, 90 + 90 * state, 37), 100 + state);
    ok->SetImage(CTranslucentBtn::kKindText, ":/skin/button_blue.png", 4, zebui::kFramesStacked);
    ok->SetWindowText(GBK("登 录"));
    ok->SetTextStyle(MakeARGB(255, 255, 255, 255), 14, 1);
    ok->SetTextOffset(24, 5);
    if (state == 3) ok->EnableWindow(FALSE);
    else ok->SetState(state);
    auto* grey = new CTranslucentBtn;
    grey->Create(&panel, CRect(10 + 90 * state, 44, 90 + 90 * state, 71), 110 + state);
    grey->SetImage(CTranslucentBtn::kKindText, ":/skin/button_grey.png", 4, zebui::kFramesStacked);
    grey->SetWindowText(GBK("取 消"));  // default look: blue, underlined
    grey->SetTextOffset(24, 6);
    grey->SetState(state);
  }
  for (int chosen = 0; chosen < 2; ++chosen) {
    auto* mode = new CTranslucentBtn;
    mode->Create(&panel, CRect(370 + 30 * chosen, 10, 394 + 30 * chosen, 34), 120 + chosen);
    mode->SetImage(1, ":/skin/mode_toggle.png", 2, zebui::kFramesStacked);
    mode->SetNoHover(true);
    mode->SetState(chosen);
  }
  struct Stat {
    int mode;
    const char* text;
    const char* image;
    RECT rect;
    int progress;
  } stats[] = {
      {0, "用户帐号：", ":/skin/stat_icon.png", {10, 80, 150, 100}, 0},
      {CTransparentStat::kModeRuled, "行情服务器", "", {160, 80, 300, 104}, 0},
      {CTransparentStat::kModeBusy, "正在连接…", "", {10, 110, 200, 150}, 0},
      {CTransparentStat::kModeProgress, "", ":/skin/progress_track.png", {220, 112, 420, 128}, 40},
      {CTransparentStat::kModeProgress, "", ":/skin/progress_track.png", {220, 134, 420, 150}, 100},
      {CTransparentStat::kModeProgress, "", "", {220, 160, 420, 176}, 65},
  };
  int id = 200;
  for (const Stat& s : stats) {
    auto* stat = new CTransparentStat;
    stat->Create(&panel, s.rect, id++);
    stat->SetWindowText(GBK(s.text));
    stat->SetStyle(MakeARGB(255, 20, 40, 80), 14, 0, s.mode, s.image, CTransparentStat::kAlignNear);
    if (s.mode == CTransparentStat::kModeProgress) {
      if (*s.image) stat->SetProgressImage(":/skin/progress_fill.png");
      stat->SetProgress(s.progress);
    }
    if (s.mode == CTransparentStat::kModeBusy)
      for (int tick = 0; tick < 3; ++tick)
        ::SendMessage(stat->GetSafeHwnd(), WM_TIMER, CTransparentStat::kBusyTimer, 0);
  }
  auto* hovered = new CTransparentStat;
  hovered->Create(&panel, CRect(310, 80, 450, 100), id++);
  hovered->SetWindowText(GBK("申 请 帐 户"));
  hovered->SetStyle(MakeARGB(255, 0, 0, 255), 14, 4, 0, "", CTransparentStat::kAlignNear);
  hovered->SendMessage(WM_MOUSEHOVER);
  Keep(Shot(panel), "translucent_buttons_and_statics.png");
  panel.DestroyWindow();
}

class GalleryDialog : public WDialog {
 public:
  GalleryDialog(const platform::DialogTemplate& tpl, bool skinned)
      : WDialog(tpl, "gallery"), skinned_(skinned) {}
  BOOL OnInitDialog() override {
    if (skinned_) {
      SetBkImage(":/skin/dialog.png", 30, 50);
      SetCaptionImages(":/skin/caption_close.png", ":/skin/caption_minimize.png",
                       ":/skin/caption_restore.png", ":/skin/caption_settings.png",
                       ":/skin/caption_help.png", ":/skin/caption_back.png");
      SetDialogMode(WDLG_MODE_OWN, WCB_CLOSE_MINIMIZE | WCB_SETTINGS | WCB_HELP);
    }
    WDialog::OnInitDialog();
    ShowCaptionText(true);
    SetTitle(GBK("ZEB 行情交易系统"));
    if (skinned_) {
      if (auto* ok = GetDlgItemT<CTranslucentBtn>(IDOK)) {
        ok->SetImage(CTranslucentBtn::kKindText, ":/skin/button_blue.png", 4,
                     zebui::kFramesStacked);
        ok->SetTextStyle(MakeARGB(255, 255, 255, 255), 14, 1);
        ok->SetTextOffset(24, 5);
      }
      if (auto* cancel = GetDlgItemT<CTranslucentBtn>(IDCANCEL)) {
        cancel->SetImage(CTranslucentBtn::kKindText, ":/skin/button_grey.png", 4,
                         zebui::kFramesStacked);
        cancel->SetTextStyle(MakeARGB(255, 30, 30, 30), 14, 0);
        cancel->SetTextOffset(24, 5);
      }
      if (auto* label = GetDlgItemT<CTransparentStat>(1187))
        label->SetStyle(MakeARGB(255, 20, 40, 80), 14, 0, 0, "", CTransparentStat::kAlignNear);
      if (auto* busy = GetDlgItemT<CTransparentStat>(401))
        busy->SetStyle(MakeARGB(255, 20, 40, 80), 12, 0, CTransparentStat::kModeBusy, "", 0);
    }
    return TRUE;
  }

 private:
  bool skinned_;
};

TEST_F(Gallery, SkinnedDialogs) {
  const platform::DialogItem plainItems[] = {
      {platform::kStatic, 1001, GBK("帐号"), 80, 20, 60, 20},
      {platform::kEdit, 1000, "", 130, 18, 160, 22},
      {platform::kButton, IDOK, GBK("确定"), 90, 120, 70, 24},
  };
  auto shoot = [](std::span<const platform::DialogItem> items, bool skinned, const char* file) {
    GalleryDialog dialog(platform::PixelTemplate(320, 200, items, WS_POPUP | WS_CAPTION), skinned);
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(SW_SHOW);
    Keep(Shot(dialog), file);
    dialog.DestroyWindow();
  };
  shoot(plainItems, false, "wdialog_plain.png");
  const platform::DialogItem skinItems[] = {
      {kTransparentStat, 1187, GBK("用户帐号："), 60, 40, 90, 22},
      {platform::kEdit, 1000, "", 150, 40, 180, 22},
      {kTransparentStat, 401, GBK("正在登录"), 60, 90, 280, 40},
      {kTranslucentBtn, IDOK, GBK("登 录"), 120, 186, 80, 27},
      {kTranslucentBtn, IDCANCEL, GBK("取 消"), 220, 186, 80, 27},
  };
  shoot(skinItems, true, "wdialog_skinned.png");
}

}  // namespace
