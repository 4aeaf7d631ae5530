#include "zeb/shell/frame/main_frame.h"

#include <QMainWindow>
#include <QMenuBar>
#include <cctype>

#include "formula/face/FormulaFace.h"
#include "link/client_data_source.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/msgbox.h"
#include "ui/sys_style.h"
#include "zeb/shell/app/shell_plugins.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/blocks/block_manager.h"
#include "zeb/shell/frame/shell_commands.h"
#include "zeb/shell/frame/shell_menus.h"
#include "zeb/shell/input/input_key.h"
#include "zeb/shell/messages.h"
#include "zeb/shell/store/public_store.h"

namespace {

constexpr int kLoginModeQuotesOnly = 1;
constexpr int kLoginModeQuotesTrade = 2;
constexpr UINT WM_RBUTTONDBLCLK_TRAY = 0x206;
constexpr const char* kFeedbackAddress = "mailto:support@zeb-collect.example?subject=";

CPublic* Store() { return CPublic::GetInstance(); }
CCmdDispatcher* Router() { return CCmdDispatcher::GetInstance(); }

// A factory slot of the plugins as the splitter takes it.
SplitterViewFactory Factory(const std::function<CWnd*()>& plugin) {
  if (!plugin) return nullptr;
  return [plugin] { return plugin(); };
}

}  // namespace

CMainFrame::CMainFrame() : m_traffic(*this, *Store()) {
  m_traffic.showNotice = [this](int mode, const std::string& text) { return ShowNotice(mode, text); };
}

CMainFrame::~CMainFrame() {
  if (IsCreated()) DestroyWindow();
}

BOOL CMainFrame::LoadFrame() {
  // Created hidden; the show stage maximises it.
  if (!Create(nullptr, CRect(0, 0, 1280, 800), 0, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE)) return FALSE;
  if (m_menu.LoadMenu(ShellMenus(), IDR_MAINFRAME)) {
    if (CMenu* tools = m_menu.GetSubMenu(3)) tools->RemoveMenu(cmd::kDrawTools, MF_BYCOMMAND);
    if (CMenu* functions = m_menu.GetSubMenu(1)) functions->RemoveMenu(cmd::kUpdateNow, MF_BYCOMMAND);
    SetMenu(&m_menu);
  }
  SetWindowText(Store()->GetSystemTitle());
  InitialUpdateFrame();
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  CreateClient();
  CFormulaFace::InitDefineTech();
  CBlockManager::GetInstance()->Init(Store()->GetAppDir());
  CreateToolBars();
  SetMinimumSize(kFrameMinWidth, kFrameMinHeight);
  RegisterHotKeys();
  Store()->SetMainWnd(GetSafeHwnd());
  Router()->SetFrame(this);
  if (Store()->IsAlarmListLoaded()) SetTimer(kAlarmTimer, kAlarmPeriodMs);
  // Loaded afresh: a frame made again must not double the list.
  Store()->GetSelectedStocks().clear();
  Store()->LoadSelectedStocks(CPublic::GetSelectedStocksPath().c_str());
  return 0;
}

void CMainFrame::CreateClient() {
  m_wndSplitter.Create(this, nullptr, Factory(ShellPlugins().tradeView), false, AFX_IDW_PANE_FIRST);
  SetCentralWnd(&m_wndSplitter);
  const COLORREF background = CSysStyle::GetInstance()->GetColor(19);
  if (background != CLR_INVALID) m_wndSplitter.SetEmptyPaneColor(background);
  if (ShellPlugins().chartView) m_wndSplitter.AddView(0, Factory(ShellPlugins().chartView));
  if (ShellPlugins().reportView) m_wndSplitter.AddView(0, Factory(ShellPlugins().reportView));
  m_wndSplitter.SetRowInfo(0, kMarketPaneIdeal, kMarketPaneMin);
  m_wndSplitter.SetRowInfo(1, kTradePaneHeight, kTradePaneHeight);
  m_nTradeHeight = m_nTradeMin = kTradePaneHeight;
  if (Store()->GetLoginMode() == kLoginModeQuotesOnly) m_wndSplitter.TogglePane(1);
  if (CRoutedView* view = MarketPaneView()) SetActiveView(view);
}

void CMainFrame::CreateToolBars() {}

void CMainFrame::RegisterHotKeys() {
  const bool first = RegisterHotKey(GetSafeHwnd(), kHotKeyTray, MOD_ALT, VK_ADD);
  const bool second = RegisterHotKey(GetSafeHwnd(), kHotKeyTrayAlt, MOD_ALT, 'K');
  // Reported, and the creation goes on: the steps after it load the user's
  // favourites, which the close would otherwise overwrite with nothing.
  if (!first || !second) AfxMessageBox(GBK("注册热键失败"), MB_OK);
}

void CMainFrame::OnDestroy() {
  CFormulaFace::ExitDefineTech();
  UnregisterHotKey(GetSafeHwnd(), kHotKeyTray);
  UnregisterHotKey(GetSafeHwnd(), kHotKeyTrayAlt);
  if (m_nTray == 0) Shell_NotifyIcon(NIM_DELETE, &m_tray);
  CFrameWnd::OnDestroy();
}

void CMainFrame::OnClose() {
  const std::string caption = Store()->GetSystemTitle();
  if (MessageBox(GetSafeHwnd(), GBK("确定退出系统吗？"), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  CloseWithoutAsking();
}

void CMainFrame::CloseWithoutAsking() {
  if (m_bClosing) return;
  m_bClosing = true;
  Store()->SaveSelectedStocks(CPublic::GetSelectedStocksPath().c_str());
  if (Store()->GetLoginMode() != kLoginModeQuotesOnly) {
    if (CZEBApp* app = CZEBApp::Current()) {
      const STradeEntries& trade = app->Trade().Entries();
      if (trade.UnLink) trade.UnLink();
      if (trade.DestoryDialog) trade.DestoryDialog();
    }
  }
  if (m_pLink) m_pLink->UnLink();
  if (m_bFullScreen) ToggleFullScreen();
  CInputKey::ReleaseInstance();
  CSysStyle::ReleaseInstance();
  CBlockManager::ReleaseInstance();
  CCmdDispatcher::ReleaseInstance();
  DestroyWindow();
}

// ---- Messages ----

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUOTE_PACKET: {
      const int length = wParam > WPARAM(INT32_MAX) ? INT32_MAX : int(wParam);
      return m_traffic.OnQuotePacket(reinterpret_cast<const void*>(lParam), length);
    }
    case WM_QUOTE_REQUEST:
      return m_traffic.OnQuoteRequest(wParam, reinterpret_cast<const void*>(lParam));
    case WM_REFRESH_TIMER:
      SetTimer(kAlarmTimer, kAlarmPeriodMs);
      return 1;
    case WM_SWITCH_VIEW:
      return OnSwitchView(wParam);
    case WM_CHIP_UPDATE:
    case WM_STAT_PAGE:
      if (CWnd* pane = m_wndSplitter.GetPane(0, 0)) ::SendMessage(pane->GetSafeHwnd(), message, wParam, lParam);
      return 1;
    case WM_TRADE_HIDE:
      return OnTradeHide(wParam);
    case WM_REPORT_STEP:
      if (CRoutedView* report = ReportView()) ::SendMessage(report->GetSafeHwnd(), message, wParam, lParam);
      return 1;
    case WM_SPLITTER_MOVED:
      m_wndSplitter.GetRowInfo(1, &m_nTradeHeight, &m_nTradeMin);
      return 1;
    case WM_TRAY_NOTIFY:
      return OnTrayNotify(wParam, lParam);
    default:
      return CFrameWnd::WindowProc(message, wParam, lParam);
  }
}

void CMainFrame::OnTimer(UINT_PTR id) {
  if (id == kAlarmTimer) m_traffic.SendAlarmRequest();
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
  CFrameWnd::OnSize(type, cx, cy);
  if (type == SIZE_MINIMIZED || m_nTradeHeight <= 0 || m_wndSplitter.IsHidden(1)) return;
  const int market = cy - m_nTradeHeight - kFrameBarsHeight;
  if (market <= 0) return;
  m_wndSplitter.SetRowInfo(0, market, kMarketPaneMin);
  m_wndSplitter.SetRowInfo(1, m_nTradeHeight, m_nTradeMin);
  m_wndSplitter.RecalcLayout();
}

void CMainFrame::RecalcLayout() { m_wndSplitter.RecalcLayout(); }

void CMainFrame::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  if ((vk >= VK_F1 && vk <= VK_F12) || vk < '0' || vk > 'z') Router()->OnKey(int(vk));
}

void CMainFrame::OnChar(UINT ch, UINT repeat, UINT flags) {
  CFrameWnd::OnChar(ch, repeat, flags);
  if (ch < 0x80 && std::isalnum(int(ch)) && ShellPlugins().inputBox) ShellPlugins().inputBox(this, ch);
}

void CMainFrame::OnHotKey(UINT id, UINT modifiers, UINT vk) {
  if (id != UINT(kHotKeyTray) && id != UINT(kHotKeyTrayAlt)) return;
  if (m_nTray == 1)
    HideToTray();
  else
    RestoreFromTray();
}

LRESULT CMainFrame::OnSwitchView(WPARAM page) {
  const int count = m_wndSplitter.GetViewCount(0);
  int target = -1;  // the next one
  if (page != 0) {
    for (int i = 0; i < count; ++i) {
      auto* view = dynamic_cast<CRoutedView*>(m_wndSplitter.GetView(0, i));
      if (view && view->GetViewPage() == int(page)) target = i;
    }
    if (target < 0) return 1;  // no view shows that page
  }
  m_wndSplitter.SwitchView(0, target);
  m_wndSplitter.SetActivePane(0);
  CRoutedView* shown = MarketPaneView();
  Router()->SetActiveView(shown);
  SetActiveView(shown);
  return 1;
}

LRESULT CMainFrame::OnTradeHide(WPARAM arg) {
  m_nTradeHideArg = int(arg);
  if (Store()->GetLoginMode() == kLoginModeQuotesTrade) {
    Store()->SetLoginMode(kLoginModeQuotesOnly);
    if (!m_wndSplitter.IsHidden(1)) m_wndSplitter.TogglePane(1);
  }
  return 0;
}

// ---- Tray ----

LRESULT CMainFrame::OnTrayNotify(WPARAM id, LPARAM mouse) {
  if (id != kTrayIconId) return -1;
  if (mouse == WM_LBUTTONDBLCLK || mouse == WM_RBUTTONDBLCLK_TRAY) RestoreFromTray();
  return 1;
}

void CMainFrame::HideToTray() {
  m_tray = NOTIFYICONDATA();
  m_tray.hWnd = GetSafeHwnd();
  m_tray.uID = kTrayIconId;
  m_tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_tray.uCallbackMessage = WM_TRAY_NOTIFY;
  m_tray.hIcon = LoadIconFromImage((Store()->GetAppDir() + "UIInterface/zeb.png").c_str());
  platform::GbkCopyCut(m_tray.szTip, sizeof m_tray.szTip, GBK("欧斯卡维"));
  Shell_NotifyIcon(NIM_ADD, &m_tray);
  ShowWindow(SW_HIDE);
  m_nTray = 0;
}

void CMainFrame::RestoreFromTray() {
  if (m_nTray == 0) Shell_NotifyIcon(NIM_DELETE, &m_tray);
  ShowWindow(SW_SHOWMAXIMIZED);
  raise();
  activateWindow();
  m_nTray = 1;
}

// ---- Commands ----

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id >= cmd::kFirstFrameCommand && id <= cmd::kLastFrameCommand) {
    OnCommandRange(id);
    return TRUE;
  }
  if (id == cmd::kAppAbout) {
    if (CZEBApp* app = CZEBApp::Current()) app->OnAppAbout();
    return TRUE;
  }
  if (id == cmd::kAppExit) {
    PostMessage(WM_CLOSE);
    return TRUE;
  }
  return CFrameWnd::OnCommand(wParam, lParam);
}

void CMainFrame::OnCommandRange(UINT id) {
  switch (id) {
    case cmd::kUpdateNow:
      LaunchUpdater(0);
      break;
    case cmd::kConnect:
      if (m_pLink) m_pLink->SetOnLine(nullptr, 0);
      break;
    case cmd::kDisconnect:
      if (m_pLink) m_pLink->SetOffLine();
      break;
    case cmd::kToolbar:
      Store()->SetToolbarShown(!Store()->IsToolbarShown());
      CreateToolBars();
      break;
    case cmd::kStatusBar:
    case 0x7901:
    case 0x7902:
      break;
    case cmd::kBack:
      SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    case cmd::kFullScreen:
      ToggleFullScreen();
      break;
    case cmd::kFeedback: {
      const std::string mail = std::string(kFeedbackAddress) + GBK("欧斯卡维意见反馈");
      ShellExecute(GetSafeHwnd(), "open", mail.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    }
    default:
      Router()->ExecuteCommand(int(id));
      break;
  }
}

BOOL CMainFrame::OnUpdateCmdUI(CCmdUI* cmdUI) {
  const UINT id = cmdUI->m_nID;
  if (id < cmd::kFirstFrameCommand || id > cmd::kLastFrameCommand) return CFrameWnd::OnUpdateCmdUI(cmdUI);
  switch (id) {
    case cmd::kDisconnect:
      cmdUI->Enable(m_pLink && m_pLink->IsOnline());
      return TRUE;
    case cmd::kToolbar:
      cmdUI->SetCheck(Store()->IsToolbarShown() ? 1 : 0);
      return TRUE;
    case cmd::kStatusBar:
      return TRUE;
    default:
      return Router()->UpdateCommandUI(cmdUI) ? TRUE : FALSE;
  }
}

void CMainFrame::ToggleFullScreen() {
  if (!m_bFullScreen) {
    m_bWasMaximized = IsZoomed();
    menuBar()->hide();
    showFullScreen();
    m_bFullScreen = true;
  } else {
    m_bFullScreen = false;
    menuBar()->show();
    if (m_bWasMaximized)
      showMaximized();
    else
      showNormal();
  }
  CreateToolBars();
}

void CMainFrame::ShowDrawToolBar(bool show) {}

int CMainFrame::LaunchUpdater(int flag) { return m_traffic.LaunchUpdater(flag); }

int CMainFrame::ShowNotice(int mode, const std::string& text) {
  if (ShellPlugins().noticeDialog) return ShellPlugins().noticeDialog(mode, text);
  const char* caption = mode == 1   ? GBK("发布了新的版本，系统可以升级!")
                        : mode == 2 ? GBK("发布了关键更新的新版本，系统必须进行升级!")
                                    : GBK("通知消息");
  return MessageBox(GetSafeHwnd(), text.c_str(), caption, mode == 1 || mode == 2 ? MB_OKCANCEL : MB_OK);
}

HWND CMainFrame::GetTradeWnd() const {
  const auto* host = dynamic_cast<const ITradeHost*>(m_wndSplitter.GetView(1, 0));
  return host ? host->GetTradeWnd() : nullptr;
}

// ---- What the traffic and the router ask of the frame ----

void CMainFrame::RoutePacket(const void* body, int length) { Router()->RoutePacket(body, length); }

void CMainFrame::RebuildKeyboardIndex() {
  CInputKey* index = CInputKey::GetInstance();
  index->Clear();
  SKeyInputSources sources;
  sources.programDir = Store()->GetAppDir();
  sources.blockNames = [] { return CBlockManager::GetInstance()->GetUserBlockNames(); };
  index->SetSources(std::move(sources));
  index->Load();
  for (const CMarketInfo& market : Store()->GetMarkets())
    index->AddItems(market.market, market.stocks.data(), int(market.stocks.size()));
}

bool CMainFrame::AskData(const void* body, int length) {
  return m_pLink && m_pLink->AskData(const_cast<void*>(body), DWORD(length)) == 1;
}

void CMainFrame::SelectCode(SCodeInfo code) { Router()->SelectCode(code); }
void CMainFrame::RunTypedCommand(const char* text) { Router()->RunTypedCommand(text); }
void CMainFrame::OpenBlock(const char* name) { Router()->OpenBlock(name); }
void CMainFrame::ShowIndicator(const char* formulaName) { Router()->ShowIndicator(formulaName); }

CRoutedView* CMainFrame::MarketPaneView() { return dynamic_cast<CRoutedView*>(m_wndSplitter.GetPane(0, 0)); }

CRoutedView* CMainFrame::ReportView() {
  for (int i = 0; i < m_wndSplitter.GetViewCount(0); ++i) {
    auto* view = dynamic_cast<CRoutedView*>(m_wndSplitter.GetView(0, i));
    if (view && view->GetViewPage() == kPageReport) return view;
  }
  return nullptr;
}
