#include "zeb/core/router/cmd_dispatcher.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "formula/face/FormulaAccess.h"
#include "platform/cmd_ui.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/open_url.h"
#include "platform/profile.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "settings/config_file.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/core/blocks/block_manager.h"
#include "zeb/messages.h"
#include "zeb/core/router/typed_commands.h"
#include "zeb/store/public_store.h"

namespace {

CCmdDispatcher* g_pDispatcher = nullptr;

const char* BigOrderName() { return GBK("主力大单"); }
const char* PageTurnName() { return GBK("自动翻页间隔"); }

// Commands the views own: greyed when the view does not say otherwise.
bool IsViewOnlyCommand(UINT id) {
  struct Range {
    UINT first, last;
  };
  static const Range ranges[] = {{0x6701, 0x6703}, {0x6713, 0x6714}, {0x6716, 0x671C},
                                 {0x6721, 0x6723}, {0x6725, 0x6727}, {0x6802, 0x6802},
                                 {0x6919, 0x6919}, {0x7501, 0x7507}};
  for (const Range& r : ranges)
    if (id >= r.first && id <= r.last) return true;
  return false;
}

SCurItem MakeItem(int page, int mode, uint16_t market, SCodeInfo code = {}) {
  SCurItem item;
  item.page = page;
  item.mode = mode;
  item.market = market;
  std::memcpy(static_cast<void*>(&item.code), &code, sizeof code);
  return item;
}

// The key data the router hands a view: one repeat.
constexpr UINT kKeyRepeat = 1;
constexpr UINT kKeyFlags = 0xFFFF0000;

}  // namespace

CCmdDispatcher::CCmdDispatcher() : m_strDirectory(CPublic::GetInstance()->GetAppDir()) {
  // Market-list commands past the fixed markets name block lists.
  CPublic::GetInstance()->SetBlockKindResolver(
      [](int index) { return CBlockManager::GetKind(index); });
}

CCmdDispatcher::~CCmdDispatcher() {
  if (m_nPageTurnTimer > 0) ::KillTimer(m_hTimerWnd, UINT_PTR(m_nPageTurnTimer));
}

CCmdDispatcher* CCmdDispatcher::GetInstance() {
  if (!g_pDispatcher) g_pDispatcher = new CCmdDispatcher();
  return g_pDispatcher;
}

void CCmdDispatcher::ReleaseInstance() {
  delete g_pDispatcher;
  g_pDispatcher = nullptr;
}

// ---- Packets ----

void CCmdDispatcher::RoutePacket(const void* body, int length) {
  if (!body || length < 2) return;
  uint16_t type = 0;
  std::memcpy(&type, body, sizeof type);
  if (type == PKT_INIT_DATA) {
    CPublic* store = CPublic::GetInstance();
    store->ParseMarketTable(body, length);
    m_strDirectory = store->GetAppDir();
    if (m_activeView) {
      const SCurItem item = *m_activeView->GetCurItem();
      m_activeView->SetCurItem(&item);
    }
    return;
  }
  if (m_activeView) m_activeView->OnData(body, length);
}

// ---- Switching the market pane ----

bool CCmdDispatcher::IsChartView(const IRoutedView* view) const {
  return view && view->GetViewPage() == kPageChart;
}

int CCmdDispatcher::SwitchTo(const SCurItem* item) {
  if (!item || item->page == 0) return 0;
  IRoutedView* pane = m_activeView ? m_activeView : (m_frame ? m_frame->MarketPaneView() : nullptr);
  if (!pane) return 0;
  if (pane->IsCurItem(item)) return 1;
  const int shown = pane->GetCurItem()->page ? pane->GetCurItem()->page : pane->GetViewPage();
  if (shown != item->page) {
    if (m_frame) ::SendMessage(m_frame->MainWnd(), WM_SWITCH_VIEW, WPARAM(item->page), 0);
    // The frame has put the other view into the pane and made it active.
    if (!m_activeView || m_activeView->GetViewPage() != item->page) return 0;
  } else {
    m_activeView = pane;
  }
  m_activeView->SetCurItem(item);
  return 1;
}

void CCmdDispatcher::ShowAllMarkets() {
  const SCurItem item = MakeItem(kPageReport, 0, kAllMarketsAlt);
  SwitchTo(&item);
}

void CCmdDispatcher::OpenChartPage(SCodeInfo code, int page) {
  const SCurItem item = MakeItem(kPageChart, page, 0, code);
  SwitchTo(&item);
}

SCodeInfo CCmdDispatcher::GetCurCode() const {
  SCodeInfo code;
  if (m_activeView) m_activeView->GetCodeInfo(&code);
  return code;
}

// ---- Commands ----

int CCmdDispatcher::ExecuteCommand(int id) {
  CPublic* store = CPublic::GetInstance();
  switch (id & 0xFF00) {
    case 0x5100: {
      CConfigFile file((store->GetAppDir() + "zeb.ini").c_str(), 0);
      if (!file.IsLoaded()) {
        AfxMessageBox(GBK("读取配置文件出错!"), MB_OK);
        return 0;
      }
      std::string page;
      file.GetString("LINK", "MarketHomePage", page);
      ShellExecute(nullptr, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      return 1;
    }
    case 0x5200:
      if (ShellPlugins().userInfoDialog) ShellPlugins().userInfoDialog();
      return 1;
    case 0x6000:
      if (id == 0x6011) OnKey(VK_ESCAPE);
      break;
    case 0x6200: {
      const int index = id & 0xFF;
      SCurItem item = MakeItem(kPageReport, 0, store->GetMarketOfCommand(index));
      bool show = true;
      if (CBlockManager::IsBlockKind(item.market)) {
        const std::string name = CBlockManager::GetInstance()->GetBlockName(index);
        if (name.empty()) show = false;
        else item.SetName(name.c_str());
      }
      if (show) SwitchTo(&item);
      break;
    }
    case 0x6700:
      if (int result = ChartCommand(id); result >= 0) return result;
      break;
    case 0x6900: ToolCommand(id); break;
    case 0x7000:
      if (id == 0x7001) OpenFile("ZEb.chm");
      else if (id == 0x7002) OpenFile("hotkey.htm");
      break;
    case 0x7400:
      if (id == 0x7410) {
        SDefineReturn result{};
        FormulaAccess().OnOpenDefineTechDlg(result, "");
      }
      break;
    case 0x7800: {
      static const struct {
        int id, page, kind;
      } kAnalysis[] = {{0x7802, 16, 0}, {0x7803, 32, 1}, {0x7804, 48, 2}, {0x7805, 64, 3}};
      for (const auto& a : kAnalysis) {
        if (a.id != id) continue;
        if (!IsChartView(m_activeView)) {
          const SCurItem item = MakeItem(kPageChart, a.page, 0, GetCurCode());
          SwitchTo(&item);
        }
        if (IsChartView(m_activeView)) m_activeView->SetAnalysisKind(a.kind);
      }
      if (id == 0x7810) {
        char page[32];
        std::snprintf(page, sizeof page, "%d.html", int(GetCurCode().code));
        const std::string url = store->GetProductInfoUrl() + page;
        ShellExecute(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
      }
      break;
    }
    default: break;
  }
  return m_activeView ? m_activeView->OnCommand(id) : 0;
}

// The chart-page commands; -1 when the command goes on to the view.
int CCmdDispatcher::ChartCommand(int id) {
  if (id == 0x6702 || id == 0x6703) {
    OnKey(id == 0x6702 ? VK_F1 : VK_F2);
    return 1;
  }
  static const struct {
    int id, page;
  } kPages[] = {{0x6701, 16}, {0x6704, 19}, {0x6705, 18}, {0x6706, 34}, {0x6710, 21}};
  for (const auto& p : kPages) {
    if (p.id != id) continue;
    const SCodeInfo code = GetCurCode();
    if (code.market != 0 && code.code != 0) OpenChartPage(code, p.page);
  }
  return -1;
}

int CCmdDispatcher::ToolCommand(int id) {
  CPublic* store = CPublic::GetInstance();
  switch (id) {
    case 0x6902: ToggleAutoPageTurn(); break;
    case 0x6904:
      // The button turns the bar on and off again.
      if (m_frame) m_frame->ShowDrawToolBar(!m_frame->IsDrawToolBarOn());
      break;
    case 0x6907: OpenSystemSettings(0); break;
    case 0x6912: {
      const SCodeInfo code = GetCurCode();
      if (!code.IsEmpty() && !store->IsSelectedStock(code))
        store->GetSelectedStocks().push_back(code);
      break;
    }
    case 0x6914: OnKey(VK_PRIOR); break;
    case 0x6915: OnKey(VK_NEXT); break;
    case 0x6916: {
      const int32_t code = GetCurCode().code;
      std::vector<SCodeInfo>& favourites = store->GetSelectedStocks();
      const size_t before = favourites.size();
      favourites.erase(std::remove_if(favourites.begin(), favourites.end(),
                                      [code](const SCodeInfo& c) { return c.code == code; }),
                       favourites.end());
      if (favourites.size() != before && m_frame)
        if (IRoutedView* report = m_frame->ReportView()) report->ReloadCurrentTab();
      break;
    }
    case 0x6918:
      if (IsChartView(m_activeView)) m_activeView->SetPanelPage(1);
      break;
    case 0x6919: OnKey(VK_F5); break;
    default: break;
  }
  return 0;
}

int CCmdDispatcher::UpdateCommandUI(CCmdUI* cmdUI) {
  if (!m_activeView || !cmdUI) return 0;
  if (cmdUI->m_nID == 0x6902) {
    cmdUI->SetCheck(IsAutoPageTurnOn() ? 1 : 0);
    return 1;
  }
  if (m_activeView->UpdateCommandUI(cmdUI)) return 1;
  if (IsViewOnlyCommand(cmdUI->m_nID)) cmdUI->Enable(FALSE);
  return 1;
}

void CCmdDispatcher::OpenFile(const char* name) {
  const std::string path = m_strDirectory + name;
  ShellExecute(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- Keys, items, blocks ----

int CCmdDispatcher::OnKey(int key) {
  if (!m_activeView) return 0;
  if (int taken = m_activeView->OnKey(UINT(key), kKeyRepeat, kKeyFlags)) return taken;
  switch (key) {
    case VK_ESCAPE:
      if (m_frame) ::SendMessage(m_frame->MainWnd(), WM_SWITCH_VIEW, 0, 0);
      if (m_activeView) {
        const SCurItem item = *m_activeView->GetCurItem();
        m_activeView->SetCurItem(&item);
      }
      return 1;
    case VK_F6: return ExecuteCommand(0x62E0);
    case VK_F10: return ExecuteCommand(0x6802);
    default: return 0;
  }
}

void CCmdDispatcher::SelectCode(SCodeInfo key) {
  if (!CPublic::GetInstance()->FindStock(&key)) {
    AfxMessageBox(GBK("无此市场代码信息，请重新确认!"), MB_OK);
    return;
  }
  const int page = IsChartView(m_activeView) ? m_activeView->GetPageCode() : 16;
  OpenChartPage(key, page);
}

void CCmdDispatcher::RunTypedCommand(const char* text) {
  const STypedCommand command = ParseTypedCommand(text);
  if (command.kind == STypedCommand::kCommand) ExecuteCommand(int(command.value));
  else if (command.kind == STypedCommand::kKey && m_frame)
    ::PostMessage(m_frame->MainWnd(), WM_KEYDOWN, command.value, 0);
}

void CCmdDispatcher::OpenBlock(const char* name) {
  if (!name) return;
  SCurItem item = MakeItem(kPageReport, 1, CBlockManager::GetInstance()->GetKindOfName(name));
  item.SetName(name);
  SwitchTo(&item);
}

void CCmdDispatcher::ShowIndicator(const char* formulaName) {
  if (IsChartView(m_activeView) && formulaName) m_activeView->ShowIndicator(formulaName);
}

// ---- Settings and the page turn ----

int CCmdDispatcher::GetSysParam(const char* name) {
  if (!name) return -1;
  const bool bigOrder = std::strcmp(name, BigOrderName()) == 0;
  if (!bigOrder && std::strcmp(name, PageTurnName()) != 0) return -1;
  int& cache = bigOrder ? m_nBigOrder : m_nPageTurnSeconds;
  if (cache == -1) {
    char value[260] = {};
    const std::string path = m_strDirectory + "sysset.ini";
    GetPrivateProfileString(name, "VALUE", "", value, sizeof value, path.c_str());
    cache = std::atoi(value);
    if (bigOrder) cache = std::max(cache, kBigOrderMinimum);
  }
  return cache;
}

void CCmdDispatcher::SetSysParam(const char* name, int value) {
  if (!name) return;
  if (std::strcmp(name, BigOrderName()) == 0) {
    m_nBigOrder = value;
    // A shown big-order list asks again with the new threshold.
    if (IsChartView(m_activeView)) m_activeView->RefreshBigOrders();
  } else if (std::strcmp(name, PageTurnName()) == 0) m_nPageTurnSeconds = value;
}

void CCmdDispatcher::OpenSystemSettings(int startPage) {
  if (ShellPlugins().systemSettingsDialog) ShellPlugins().systemSettingsDialog(startPage);
}

void CCmdDispatcher::RefreshBigOrders() {
  if (IsChartView(m_activeView)) m_activeView->RefreshBigOrders();
}

void CCmdDispatcher::RepaintViews() {
  IRoutedView* shown = m_frame ? m_frame->MarketPaneView() : m_activeView;
  IRoutedView* report = m_frame ? m_frame->ReportView() : nullptr;
  if (shown) shown->OnSchemeChanged();
  if (report && report != shown) report->OnSchemeChanged();
}

UINT CCmdDispatcher::PageTurnIntervalMs() {
  int seconds = GetSysParam(PageTurnName());
  seconds = seconds == 0 ? kPageTurnDefaultSeconds : std::clamp(seconds, 1, kPageTurnMaxSeconds);
  return UINT(seconds) * 1000u;
}

void CCmdDispatcher::ToggleAutoPageTurn() {
  if (m_nPageTurnTimer < 1) {
    m_hTimerWnd = m_frame ? m_frame->MainWnd() : nullptr;
    if (!m_hTimerWnd) return;
    m_nPageTurnTimer =
        int(::SetTimer(m_hTimerWnd, kPageTurnTimer, PageTurnIntervalMs(), OnPageTurnTimer));
    if (m_nPageTurnTimer < 1) m_nPageTurnTimer = -1;
  } else {
    ::KillTimer(m_hTimerWnd, UINT_PTR(m_nPageTurnTimer));
    m_nPageTurnTimer = -1;
  }
}

void CCmdDispatcher::OnPageTurnTimer(HWND wnd, UINT, UINT_PTR, DWORD) {
  ::SendMessage(wnd, WM_KEYDOWN, VK_NEXT, VK_NEXT);
}
