// Pictures of the shell's dialogs (dialog_pictures.h).
#include "tools/screenshot/dialog_pictures.h"

#include <ctime>
#include <map>

#include "platform/gbk.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"
#include "sim/market/demo_market.h"
#include "sim/quote-server/info_items.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/core/dialogs/info_text.h"
#include "zeb/shell/dialogs/mine_info_dlg.h"
#include "zeb/shell/dialogs/sys_proty_dlg.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/public_store.h"

namespace {

constexpr int kUserInfoCommand = 0x5200, kSettingsCommand = 0x6907;

// What the K-line chart object does with the information replies while it
// is the active view: hands each 0x1100 packet to its window.
class InfoReplyTap : public CRoutedView {
 public:
  explicit InfoReplyTap(CMineInfoDlg& window) : m_window(window) {}
  int GetViewPage() const override { return kPageChart; }
  int OnData(const void* body, int length) override { return m_window.OnInfoData(body, length); }
  void OnDraw(CDC*) override {}

 private:
  CMineInfoDlg& m_window;
};

const SStockInfo* FirstItem() {
  for (const CMarketInfo& m : CPublic::GetInstance()->GetMarkets()) {
    if (m.stocks.empty()) continue;
    const SCodeInfo key = m.stocks.front().GetKey();
    if (!CPublic::IsIndexMarket(&key)) return &m.stocks.front();
  }
  return nullptr;
}

}  // namespace

int PictureDialogs(CMainFrame& frame, const KeepPicture& keep, int timeoutMs) {
  int taken = 0;
  auto picture = [&](const char* name) {
    return [&keep, &taken, name](CDialog& dialog) {
      platform::PumpMessages(50);  // the HTML and the layout settle
      keep(name, dialog.GetWidget());
      ++taken;
      dialog.EndDialog(IDCANCEL);
    };
  };
  {
    platform::testing::ScopedModalScript script{picture("15-notice.png")};
    const std::string notice =
        GBK("<h3>系统通知</h3><p>本周六 9:00-12:00 系统维护，期间暂停行情与交易服务。</p>"
            "<p>维护完成后请重新登录。</p>");
    if (ShellPlugins().noticeDialog) ShellPlugins().noticeDialog(0, notice);
  }
  {
    platform::testing::ScopedModalScript script{picture("15-user-info.png")};
    CCmdDispatcher::GetInstance()->ExecuteCommand(kUserInfoCommand);
  }
  if (const SStockInfo* item = FirstItem()) {
    CMineInfoDlg window(kInfoPageKLine);
    window.Create(&frame);
    CCmdDispatcher* router = CCmdDispatcher::GetInstance();
    IRoutedView* shown = router->GetActiveView();
    InfoReplyTap tap(window);
    router->SetActiveView(&tap);
    std::map<int, std::string> titles;
    int last = 0;
    for (const sim::InfoItem& e :
         sim::InfoItemsOf(item->market, item->code, sim::DayClock(sim::kDemoTradeDate))) {
      titles[e.date] = e.title;
      last = e.date;
    }
    window.ShowItems(item, titles, last);
    platform::PumpUntil([&] { return !window.Html().GetHtmlText().empty(); }, timeoutMs);
    platform::PumpMessages(50);
    keep("15-item-info.png", window.GetWidget());
    ++taken;
    router->SetActiveView(shown);
    window.DestroyWindow();
  }
  {
    platform::testing::ScopedModalScript script{[&](CDialog& dialog) {
      auto& settings = dynamic_cast<CSysProtyDlg&>(dialog);
      platform::PumpMessages(50);
      keep("15-settings-look.png", dialog.GetWidget());
      settings.Sheet().SetActivePage(kSettingsPageParams);
      platform::PumpMessages(50);
      keep("15-settings-params.png", dialog.GetWidget());
      taken += 2;
      dialog.EndDialog(IDCANCEL);
    }};
    CCmdDispatcher::GetInstance()->ExecuteCommand(kSettingsCommand);
  }
  return taken;
}
