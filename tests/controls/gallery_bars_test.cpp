// A gallery of the tool bars, the login controls and the HTML control,
// rendered offscreen into PNG files under the build tree
// (<build>/gallery/bars/) for a person to look at. Nothing here compares
// pixels; it only checks that each picture was made.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <string>

#include <gtest/gtest.h>

#include "zeb/controls/html_ctrl.h"
#include "zeb/controls/hyperlink_static.h"
#include "zeb/controls/identify_code.h"
#include "zeb/controls/mt_toolbar.h"
#include "zeb/controls/picture_ex.h"
#include "zeb/controls/toolbar_resources.h"
#include "zeb/controls/toolbar_xp.h"
#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"

namespace {

using namespace zebui;

// <build>/gallery/bars, beside the folder of the test programs.
QString GalleryDir() {
  const QString dir = QCoreApplication::applicationDirPath() + "/../gallery/bars";
  QDir().mkpath(dir);
  return QDir(dir).absolutePath();
}

// Saves the picture, and a copy four times as large for the small ones.
void Save(const QImage& picture, const char* name) {
  ASSERT_FALSE(picture.isNull()) << name;
  const QString base = GalleryDir() + "/" + name;
  EXPECT_TRUE(picture.save(base + ".png")) << name;
  if (picture.width() < 400) {
    EXPECT_TRUE(picture.scaled(picture.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(base + "_x4.png"))
        << name;
  }
}

constexpr UINT kHome = 0x5100, kUser = 0x5200, kBack = 0x6011, kList = 0x6200, kMarkets = 0x6311,
               kBlocks = 0x6317, kTimeShare = 0x6701, kKLine = 0x6706, kTicks = 0x6702,
               kFavourite = 0x6912, kDrawTools = 0x6904, kFormula = 0x7410, kAlarm = 0x6905,
               kSettings = 0x6907, kFullScreen = 0x6901, kHelp = 0x7001, kCombo = 0x6FF0;

const ToolBarItem kMainItems[] = {{kHome, "\nHome", kImgHome},
                                  {kUser, "\nUser", kImgUser},
                                  {kBack, "\nBack", kImgBack},
                                  {0},
                                  {kList, "\nList", kImgQuoteList},
                                  {kMarkets, "\nMarkets", kImgMarkets},
                                  {kBlocks, "\nBlocks", kImgBlocks},
                                  {0},
                                  {kTimeShare, "\nTime", kImgTimeShare},
                                  {kKLine, "\nK-line", kImgKLine},
                                  {kTicks, "\nTicks", kImgTicks},
                                  {kFavourite, "\nFavourite", kImgFavourite},
                                  {0},
                                  {kDrawTools, "\nDraw", kImgDrawTools},
                                  {kFormula, "\nFormula", kImgFormula},
                                  {kAlarm, "\nAlarm", kImgAlarm},
                                  {kSettings, "\nSettings", kImgSettings},
                                  {kFullScreen, "\nFull", kImgFullScreen},
                                  {0},
                                  {kHelp, "\nHelp", kImgHelp}};
const ToolBarItem kDrawItems[] = {{29953, "Select\n选择"},
                                  {29954, "Line\n直线"},
                                  {29955, "Rectangle\n矩形"},
                                  {29956, "Parallel\n平行线"},
                                  {0},
                                  {29957, "Golden\n黄金分割"},
                                  {29958, "Gann\n甘氏线"},
                                  {0},
                                  {29959, "Delete\n删除"}};

class GalleryFrame : public CFrameWnd {
 public:
  BOOL OnUpdateCmdUI(CCmdUI* ui) override {
    if (ui->m_nID == kTimeShare || ui->m_nID == 29954) ui->SetCheck(1);
    if (ui->m_nID == kAlarm || ui->m_nID == kUser) ui->Enable(FALSE);
    if (ui->m_nID == kFavourite) ui->SetCheck(2);
    return TRUE;
  }
};

TEST(GalleryBars, RenderEachControl) {
  platform::testing::EnsureApplication();
  // The drawing bar's captions are Chinese; the module table keeps GBK.
  static std::string drawTexts[std::size(kDrawItems)];
  ToolBarItem drawItems[std::size(kDrawItems)];
  for (size_t i = 0; i < std::size(kDrawItems); ++i) {
    drawItems[i] = kDrawItems[i];
    if (kDrawItems[i].text) {
      drawTexts[i] = GBK(kDrawItems[i].text);
      drawItems[i].text = drawTexts[i].c_str();
    }
  }
  const ToolBarResource module[] = {{120, 16, 16, kMainToolStrip, kMainItems},
                                    {206, 16, 16, kDrawToolStrip, drawItems}};

  GalleryFrame frame;
  ASSERT_TRUE(frame.Create(nullptr, CRect(0, 0, 760, 260), 0, WS_OVERLAPPEDWINDOW));
  CToolBarXP bar;
  ASSERT_TRUE(bar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS));
  ASSERT_TRUE(bar.LoadToolBar(module, 120));
  bar.SetButtonStyle(bar.CommandToIndex(kMarkets), TBSTYLE_DROPDOWN);
  bar.SetButtonStyle(bar.CommandToIndex(kBlocks), TBSTYLE_DROPDOWN);
  bar.LoadImages(kMainToolStrip, kMainToolStripDisabled, 16, 16);
  bar.SetButtonInfo(bar.CommandToIndex(kHelp) - 1, kCombo, TBSTYLE_SEP, 110);
  const platform::DialogItem comboItem{platform::kComboBox, (int)kCombo, nullptr, 0, 0, 110, 200,
                                       CBS_DROPDOWNLIST};
  auto* combo =
      static_cast<QComboBox*>(platform::CreateControl(&bar, comboItem, CRect(0, 0, 110, 200)));
  ASSERT_NE(combo, nullptr);
  combo->addItem(QString::fromUtf8("全部市场"));
  frame.AddControlBar(&bar);
  bar.EnableDocking(CBRS_ALIGN_ANY);
  ASSERT_TRUE(platform::testing::ShowAndActivate(frame.GetWidget()));
  bar.SendMessage(WM_TIMER, CToolBarBase::kUpdateUiTimer);
  platform::PumpUntil(
      [&] {
        CRect r;
        bar.GetItemRect(bar.CommandToIndex(kHelp) - 1, &r);
        return combo->isVisible() && combo->x() == r.left + 1;
      },
      5000);

  CRect kline, markets, blocks;
  bar.GetItemRect(bar.CommandToIndex(kKLine), &kline);
  bar.GetItemRect(bar.CommandToIndex(kMarkets), &markets);
  bar.GetItemRect(bar.CommandToIndex(kBlocks), &blocks);
  QWidget* w = bar.GetWidget();
  QTest::mouseMove(w, QPoint(kline.left + 5, kline.top + 5));
  Save(w->grab().toImage(), "toolbar_xp_hot");
  QTest::mouseMove(w, QPoint(markets.left + 5, markets.top + 5));
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(markets.left + 5, markets.top + 5));
  Save(w->grab().toImage(), "toolbar_xp_pressed");
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(markets.left + 5, markets.top + 5));
  QTest::mouseMove(w, QPoint(blocks.right - 5, blocks.top + 5));
  Save(w->grab().toImage(), "toolbar_xp_hot_dropdown");

  frame.addToolBar(Qt::LeftToolBarArea, &bar);
  platform::PumpUntil([&] { return bar.IsVertical() && !combo->isVisible(); }, 5000);
  QApplication::processEvents();
  Save(frame.GetWidget()->grab().toImage(), "toolbar_xp_vertical_in_frame");

  CMTToolBar draw;
  ASSERT_TRUE(draw.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS));
  ASSERT_TRUE(draw.LoadToolBar(module, 206));
  ASSERT_TRUE(draw.LoadTextToolBar(module, 206));
  draw.SetWindowText(GBK("画线工具栏"));
  draw.Float(POINT{1400, 100});
  draw.SendMessage(WM_TIMER, CToolBarBase::kUpdateUiTimer);
  QApplication::processEvents();
  CRect gann;
  draw.GetItemRect(draw.CommandToIndex(29958), &gann);
  QTest::mouseMove(draw.GetWidget(), QPoint(gann.left + 5, gann.top + 5));
  Save(draw.GetWidget()->grab().toImage(), "toolbar_mt_captions");

  // The login controls on a panel the colour of the login skin's band.
  const platform::DialogItem loginItems[] = {
      {platform::kStatic, 1028, GBK("申 请 帐 户"), 120, 20, 100, 20}};
  const platform::DialogTemplate tpl = platform::PixelTemplate(320, 90, loginItems);
  CDialog login(tpl);
  ASSERT_TRUE(login.Create(nullptr));
  CIdentifyCode code;
  ASSERT_TRUE(code.Create(&login, CRect(10, 20, 100, 42), 1032));
  CHyperlinkStatic link;
  ASSERT_TRUE(link.SubclassDlgItem(1028, &login));
  CPictureEx picture;
  ASSERT_TRUE(picture.Create(&login, CRect(240, 10, 300, 70), 1040));
  ASSERT_TRUE(platform::testing::ShowAndActivate(login.GetWidget()));
  Save(code.GetWidget()->grab().toImage(), "identify_code");
  Save(login.GetWidget()->grab().toImage(), "login_controls");

  // A notice in the HTML control.
  const platform::DialogItem noticeItems[] = {{platform::kStatic, 1181, nullptr, 0, 0, 420, 220}};
  CDialog notice(platform::PixelTemplate(420, 220, noticeItems));
  ASSERT_TRUE(notice.Create(nullptr));
  CHtmlCtrl html;
  html.SetHtmlText(
      GBK("<h3>系统通知</h3><p>本周六 <b>09:00-12:00</b> 系统维护，届时暂停交易。</p>"
          "<ul><li>行情服务照常</li><li>委托查询暂停</li></ul>"
          "<p><a href=\"app:Beep\">知道了</a> · <a href=\"http://example.com/notice\">详情</a>"
          " · café</p>"));
  ASSERT_TRUE(html.CreateInPlace(1181, &notice));
  ASSERT_TRUE(platform::testing::ShowAndActivate(notice.GetWidget()));
  Save(html.GetWidget()->grab().toImage(), "html_ctrl");

  html.DestroyWindow();
  notice.DestroyWindow();
  login.DestroyWindow();
  draw.DestroyWindow();
  bar.DestroyWindow();
  frame.DestroyWindow();
}

}  // namespace
