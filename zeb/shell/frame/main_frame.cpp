#include "zeb/shell/frame/main_frame.h"

#include <QMainWindow>
#include <QMenuBar>
#include <cctype>

#include "zeb/controls/mt_toolbar.h"
#include "zeb/controls/toolbar_resources.h"
#include "zeb/controls/toolbar_xp.h"
#include "formula/face/FormulaFace.h"
#include "link/client_data_source.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/msgbox.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/core/blocks/block_manager.h"
#include "zeb/shell/blocks/block_menu.h"
#include "zeb/shell/dialogs/welcome_info_dlg.h"
#include "zeb/shell/frame/shell_commands.h"
#include "zeb/shell/frame/shell_menus.h"
#include "zeb/shell/frame/shell_toolbars.h"
#include "zeb/core/input/input_key.h"
#include "zeb/core/login/login_flow.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"

namespace {

constexpr const char* kFeedbackAddress = "mailto:support@zeb-collect.example?subject=";
constexpr const char* kTrayIcon = ":/icons/zeb.png";
// Styles of the bars: a child shown along the top with tooltips, fly-by
// prompts and a dynamic size; the floating bars without the side bits.
constexpr DWORD kMainBarStyle = 0x50002834;
constexpr DWORD kFloatingBarStyle = 0x50002800;
constexpr DWORD kFloatingBarExtra = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
constexpr int kDrawBarFromRight = 400;
constexpr int kDrawBarTop = 100;
// The chart view's page code of its technical-analysis (K-line) page.
constexpr int kKLinePageCode = 0x20;

// The command a split drop-down's arrow sends: the negated id's low word.
constexpr UINT DropDownCommand(UINT id) { return (0u - id) & 0xFFFF; }

CPublic* Store() { return CPublic::GetInstance(); }
CCmdDispatcher* Router() { return CCmdDispatcher::GetInstance(); }

// A factory slot of the plugins as the splitter takes it.
SplitterViewFactory Factory(const std::function<CWnd*()>& plugin) {
  if (!plugin) return nullptr;
  return [plugin] { return plugin(); };
}

}  // namespace

CMainFrame::CMainFrame() : m_traffic(*this, *Store()) {
  m_traffic.showNotice = [this](int mode, const std::string& text) {
    return ShowNotice(mode, text);
  };
}

CMainFrame::~CMainFrame() {
  if (IsCreated()) DestroyWindow();
}

BOOL CMainFrame::LoadFrame() {
  // Created hidden; the show stage maximises it.
  if (!Create(nullptr, CRect(0, 0, 1280, 800), 0, PreCreateWindow())) return FALSE;
  if (m_menu.LoadMenu(ShellMenus(), IDR_MAINFRAME)) {
    if (CMenu* tools = m_menu.GetSubMenu(3)) tools->RemoveMenu(cmd::kDrawTools, MF_BYCOMMAND);
    if (CMenu* functions = m_menu.GetSubMenu(1))
      functions->RemoveMenu(cmd::kUpdateNow, MF_BYCOMMAND);
    SetMenu(&m_menu);
  }
  OnUpdateFrameTitle();
  InitialUpdateFrame();
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  m_pPreviousFormula = SetFormulaAccess(&m_formula);
  OnCreateClient();
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

void CMainFrame::OnUpdateFrameTitle() { SetWindowText(Store()->GetSystemTitle()); }

void CMainFrame::OnCreateClient() {
  m_wndSplitter.Create(this, nullptr, Factory(ShellPlugins().tradeView), false, AFX_IDW_PANE_FIRST);
  SetCentralWnd(&m_wndSplitter);
  const COLORREF background = CSysStyle::GetInstance()->GetColor(19);
  if (background != CLR_INVALID) m_wndSplitter.SetEmptyPaneColor(background);
  if (ShellPlugins().chartView) m_wndSplitter.AddView(0, Factory(ShellPlugins().chartView));
  if (ShellPlugins().reportView) m_wndSplitter.AddView(0, Factory(ShellPlugins().reportView));
  m_wndSplitter.SetRowInfo(0, kMarketPaneIdeal, kMarketPaneMin);
  m_wndSplitter.SetRowInfo(1, kTradePaneHeight, kTradePaneHeight);
  m_nTradeHeight = m_nTradeMin = kTradePaneHeight;
  if (Store()->GetLoginMode() == kLoginModeQuotes) m_wndSplitter.TogglePane(1);
  if (CRoutedView* view = MarketPaneView()) SetActiveView(view);
}

void CMainFrame::CreateToolBars() {
  auto bar = std::make_unique<CToolBarXP>();
  if (!bar->CreateEx(this, TBSTYLE_TOOLTIPS, kMainBarStyle, AFX_IDW_TOOLBAR) ||
      !bar->LoadToolBar(ShellToolBars(), IDR_MAINFRAME))
    return;  // the frame works without its bar
  const int markets = bar->CommandToIndex(ID_TOOL_MARKETS),
            blocks = bar->CommandToIndex(ID_TOOL_BLOCKS);
  if (markets >= 0 && blocks >= 0) {
    bar->SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
    bar->SetButtonStyle(markets, bar->GetButtonStyle(markets) | TBSTYLE_DROPDOWN);
    bar->SetButtonStyle(blocks, bar->GetButtonStyle(blocks) | TBSTYLE_DROPDOWN);
  }
  bar->LoadImages(zebui::kMainToolStrip, zebui::kMainToolStripDisabled, zebui::kToolImageSize,
                  zebui::kToolImageSize);
  AddControlBar(bar.get());
  m_pToolBar = std::move(bar);
  ShowMainToolBar();
}

void CMainFrame::ShowMainToolBar() {
  if (m_pToolBar) ShowControlBar(m_pToolBar.get(), Store()->IsToolbarShown() && !m_bFullScreen);
}

POINT CMainFrame::BelowToolButton(UINT id) const {
  CRect item(0, 0, 0, 0);
  if (m_pToolBar) {
    m_pToolBar->GetItemRect(m_pToolBar->CommandToIndex(id), &item);
    m_pToolBar->ClientToScreen(&item);
  }
  return POINT{item.left, item.bottom};
}

void CMainFrame::DropDownMarkets() {
  CMenu* markets = m_menu.GetSubMenu(2);
  const POINT at = BelowToolButton(ID_TOOL_MARKETS);
  if (markets) markets->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, this);
}

void CMainFrame::DropDownBlocks() {
  // One pop-up per group of system blocks, then the user's blocks.
  m_blockMenu.DestroyMenu();
  m_blockMenu.CreatePopupMenu();
  CBlockManager* blocks = CBlockManager::GetInstance();
  std::vector<std::unique_ptr<CMenu>> groups;
  auto addGroup = [&](const std::string& name) {
    auto group = std::make_unique<CMenu>();
    group->CreatePopupMenu();
    if (FillBlockMenu(*blocks, group.get(), name, cmd::kMarketList))
      m_blockMenu.AppendMenu(MF_POPUP, UINT_PTR(group->GetSafeHmenu()), name.c_str());
    groups.push_back(std::move(group));
  };
  for (const auto& [name, members] : blocks->GetGroups()) addGroup(name);
  addGroup(GBK("自定"));
  if (m_blockMenu.GetMenuItemCount() > 0) m_blockMenu.AppendMenu(MF_SEPARATOR);
  m_blockMenu.AppendMenu(MF_STRING, cmd::kFavourites, GBK("自选藏品"));
  const POINT at = BelowToolButton(ID_TOOL_BLOCKS);
  m_blockMenu.TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, this);
}

void CMainFrame::ShowDrawToolBar(bool show) {
  if (!show) {
    if (m_pDrawBar) {
      KillTimer(kDrawBarTimer);
      m_pDrawBar->ShowWindow(SW_HIDE);
      m_pDrawBar->DestroyWindow();
      m_pDrawBar.reset();
    }
    return;
  }
  if (!m_pDrawBar) {
    auto bar = std::make_unique<CMTToolBar>();
    if (!bar->Create(this, kFloatingBarStyle, AFX_IDW_TOOLBAR) ||
        !bar->LoadToolBar(ShellToolBars(), IDR_DRAWTOOLS) ||
        !bar->LoadTextToolBar(ShellToolBars(), IDR_DRAWTOOLS))
      return;
    bar->SetBarStyle(bar->GetBarStyle() | kFloatingBarExtra);
    bar->SetWindowText(GBK("画线工具栏"));
    bar->ModifyStyle(TBSTYLE_FLAT, 0);
    bar->EnableDocking(0);
    bar->Float(POINT{GetSystemMetrics(SM_CXSCREEN) - kDrawBarFromRight, kDrawBarTop}, true);
    m_pDrawBar = std::move(bar);
  }
  m_pDrawBar->SetClosed(false);
  SetTimer(kDrawBarTimer, kDrawBarFollowMs);
  FollowDrawToolBar();
}

bool CMainFrame::IsDrawToolBarOn() { return m_pDrawBar && !m_pDrawBar->IsClosed(); }

void CMainFrame::FollowDrawToolBar() {
  if (!m_pDrawBar) return;
  if (m_pDrawBar->IsClosed()) {
    ShowDrawToolBar(false);
    return;
  }
  // Its tools draw on the K-line chart only; elsewhere the bar would sit
  // over the board with buttons that do nothing.
  CRoutedView* shown = MarketPaneView();
  const bool klinePage =
      shown && shown->GetViewPage() == kPageChart && shown->GetPageCode() == kKLinePageCode;
  if (klinePage != bool(m_pDrawBar->IsWindowVisible()))
    m_pDrawBar->ShowWindow(klinePage ? SW_SHOW : SW_HIDE);
}

void CMainFrame::RegisterHotKeys() {
  const bool first = RegisterHotKey(GetSafeHwnd(), kHotKeyTray, MOD_ALT, VK_ADD);
  const bool second = RegisterHotKey(GetSafeHwnd(), kHotKeyTrayAlt, MOD_ALT, 'K');
  // Reported, and the creation goes on: the steps after it load the user's
  // favourites, which the close would otherwise overwrite with nothing.
  if (!first || !second) AfxMessageBox(GBK("注册热键失败"), MB_OK);
}

void CMainFrame::OnDestroy() {
  if (m_pFullBar) {
    m_pFullBar->DestroyWindow();
    m_pFullBar.reset();
  }
  ShowDrawToolBar(false);
  CFormulaFace::ExitDefineTech();
  SetFormulaAccess(m_pPreviousFormula);
  UnregisterHotKey(GetSafeHwnd(), kHotKeyTray);
  UnregisterHotKey(GetSafeHwnd(), kHotKeyTrayAlt);
  if (m_nTray == 0) Shell_NotifyIcon(NIM_DELETE, &m_tray);
  CFrameWnd::OnDestroy();
}

void CMainFrame::OnClose() {
  const std::string caption = Store()->GetSystemTitle();
  if (MessageBox(GetSafeHwnd(), GBK("确定退出系统吗？"), caption.c_str(),
                 MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  CloseWithoutAsking();
}

void CMainFrame::CloseWithoutAsking() {
  if (m_bClosing) return;
  m_bClosing = true;
  Store()->SaveSelectedStocks(CPublic::GetSelectedStocksPath().c_str());
  if (Store()->GetLoginMode() != kLoginModeQuotes) {
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
    case WM_QUOTE_PACKET: return OnQuotePacket(wParam, lParam);
    case WM_QUOTE_REQUEST: return OnQuoteRequest(wParam, lParam);
    case WM_REFRESH_TIMER: return OnRefreshTimer();
    case WM_SWITCH_VIEW: return OnSwitchView(wParam);
    case WM_CHIP_UPDATE:
    case WM_STAT_PAGE: return OnChipUpdate(message, wParam, lParam);
    case WM_TRADE_HIDE: return OnTradeHide(wParam);
    case WM_REPORT_STEP: return OnReportStep(wParam, lParam);
    case WM_SPLITTER_MOVED: return OnSplitterMoved();
    case WM_TRAY_NOTIFY: return OnTrayNotify(wParam, lParam);
    default: return CFrameWnd::WindowProc(message, wParam, lParam);
  }
}

LRESULT CMainFrame::OnQuotePacket(WPARAM length, LPARAM body) {
  const int size = length > WPARAM(INT32_MAX) ? INT32_MAX : int(length);
  return m_traffic.OnQuotePacket(reinterpret_cast<const void*>(body), size);
}

LRESULT CMainFrame::OnQuoteRequest(WPARAM length, LPARAM body) {
  return m_traffic.OnQuoteRequest(length, reinterpret_cast<const void*>(body));
}

LRESULT CMainFrame::OnRefreshTimer() {
  SetTimer(kAlarmTimer, kAlarmPeriodMs);
  return 1;
}

LRESULT CMainFrame::OnChipUpdate(UINT message, WPARAM wParam, LPARAM lParam) {
  if (CWnd* pane = m_wndSplitter.GetPane(0, 0))
    ::SendMessage(pane->GetSafeHwnd(), message, wParam, lParam);
  return 1;
}

LRESULT CMainFrame::OnReportStep(WPARAM wParam, LPARAM lParam) {
  if (CRoutedView* report = ReportView())
    ::SendMessage(report->GetSafeHwnd(), WM_REPORT_STEP, wParam, lParam);
  return 1;
}

LRESULT CMainFrame::OnSplitterMoved() {
  m_wndSplitter.GetRowInfo(1, &m_nTradeHeight, &m_nTradeMin);
  return 1;
}

void CMainFrame::SendAlarmRequest() { m_traffic.SendAlarmRequest(); }

void CMainFrame::OnTimer(UINT_PTR id) {
  if (id == kAlarmTimer) SendAlarmRequest();
  if (id == kDrawBarTimer) FollowDrawToolBar();
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
  if (ch < 0x80 && std::isalnum(int(ch)) && ShellPlugins().inputBox)
    ShellPlugins().inputBox(this, ch);
}

void CMainFrame::OnHotKey(UINT id, UINT modifiers, UINT vk) {
  if (id != UINT(kHotKeyTray) && id != UINT(kHotKeyTrayAlt)) return;
  if (m_nTray == 1) HideToTray();
  else RestoreFromTray();
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
  FollowDrawToolBar();
  return 1;
}

LRESULT CMainFrame::OnTradeHide(WPARAM arg) {
  m_nTradeHideArg = int(arg);
  if (Store()->GetLoginMode() == kLoginModeQuotesTrade) {
    Store()->SetLoginMode(kLoginModeQuotes);
    if (!m_wndSplitter.IsHidden(1)) m_wndSplitter.TogglePane(1);
  }
  return 0;
}

// ---- Tray ----

LRESULT CMainFrame::OnTrayNotify(WPARAM id, LPARAM mouse) {
  if (id != kTrayIconId) return -1;
  if (mouse == WM_LBUTTONDBLCLK || mouse == WM_RBUTTONDBLCLK) RestoreFromTray();
  return 1;
}

void CMainFrame::HideToTray() {
  m_tray = NOTIFYICONDATA();
  m_tray.hWnd = GetSafeHwnd();
  m_tray.uID = kTrayIconId;
  m_tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_tray.uCallbackMessage = WM_TRAY_NOTIFY;
  m_tray.hIcon = LoadIconFromImage(kTrayIcon);
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
  // The arrow of a split drop-down button: the frame shows its own list.
  if (id == DropDownCommand(ID_TOOL_MARKETS) || id == DropDownCommand(ID_TOOL_BLOCKS)) {
    if (id == DropDownCommand(ID_TOOL_MARKETS)) DropDownMarkets();
    else DropDownBlocks();
    return TRUE;
  }
  return CFrameWnd::OnCommand(wParam, lParam);
}

void CMainFrame::OnCommandRange(UINT id) {
  switch (id) {
    case cmd::kUpdateNow: LaunchUpdater(0); break;
    case cmd::kConnect:
      if (m_pLink) m_pLink->SetOnLine(nullptr, 0);
      break;
    case cmd::kDisconnect:
      if (m_pLink) m_pLink->SetOffLine();
      break;
    case cmd::kToolbar:
      Store()->SetToolbarShown(!Store()->IsToolbarShown());
      ShowMainToolBar();
      break;
    case ID_TOOL_MARKETS: DropDownMarkets(); break;
    case ID_TOOL_BLOCKS: DropDownBlocks(); break;
    case cmd::kStatusBar:
    case 0x7901:
    case 0x7902: break;
    case cmd::kBack: SendMessage(WM_KEYDOWN, VK_ESCAPE, 0); break;
    case cmd::kFullScreen: ToggleFullScreen(); break;
    case cmd::kFeedback: {
      const std::string mail = std::string(kFeedbackAddress) + GBK("欧斯卡维意见反馈");
      ShellExecute(GetSafeHwnd(), "open", mail.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    }
    default: Router()->ExecuteCommand(int(id)); break;
  }
}

BOOL CMainFrame::OnUpdateCmdUI(CCmdUI* cmdUI) {
  const UINT id = cmdUI->m_nID;
  if (id < cmd::kFirstFrameCommand || id > cmd::kLastFrameCommand)
    return CFrameWnd::OnUpdateCmdUI(cmdUI);
  return OnUpdateCommandRange(cmdUI);
}

BOOL CMainFrame::OnUpdateCommandRange(CCmdUI* cmdUI) {
  switch (cmdUI->m_nID) {
    // Connecting is offered only while the link is off line, disconnecting
    // only while it is on line.
    case cmd::kConnect: cmdUI->Enable(m_pLink && !m_pLink->IsOnline()); return TRUE;
    case cmd::kDisconnect: cmdUI->Enable(m_pLink && m_pLink->IsOnline()); return TRUE;
    case cmd::kToolbar: cmdUI->SetCheck(Store()->IsToolbarShown() ? 1 : 0); return TRUE;
    case cmd::kStatusBar: return TRUE;
    case cmd::kDrawTools:  // a button that turns the bar on and off shows which
      cmdUI->SetCheck(IsDrawToolBarOn() ? 1 : 0);
      return TRUE;
    default: return Router()->UpdateCommandUI(cmdUI) ? TRUE : FALSE;
  }
}

void CMainFrame::ToggleFullScreen() {
  if (!m_bFullScreen) {
    if (!m_pFullBar) {
      auto bar = std::make_unique<CToolBarXP>(TRUE);
      if (bar->CreateEx(this, 0, kFloatingBarStyle, AFX_IDW_TOOLBAR) &&
          bar->LoadToolBar(ShellToolBars(), IDR_FULLSCREEN)) {
        bar->SetBarStyle(bar->GetBarStyle() | kFloatingBarExtra);
        bar->ModifyStyle(TBSTYLE_FLAT, 0);
        bar->EnableDocking(0);
        bar->Float(POINT{0, 0});
        m_pFullBar = std::move(bar);
      }
    }
    m_bWasMaximized = IsZoomed();
    m_bFullScreen = true;
    // The window's own bars give the whole screen to the panes; the
    // floating bar is the way back.
    menuBar()->hide();
    ShowMainToolBar();
    showFullScreen();
    if (m_pFullBar) m_pFullBar->ShowWindow(SW_SHOW);
  } else {
    if (m_pFullBar) m_pFullBar->ShowWindow(SW_HIDE);
    m_bFullScreen = false;
    menuBar()->show();
    ShowMainToolBar();
    if (m_bWasMaximized) showMaximized();
    else showNormal();
  }
}

int CMainFrame::LaunchUpdater(int flag) { return m_traffic.LaunchUpdater(flag); }

int CMainFrame::ShowNotice(int mode, const std::string& text) {
  if (ShellPlugins().noticeDialog) return ShellPlugins().noticeDialog(mode, text);
  return ShowNoticeDialog(mode, text);
}

HWND CMainFrame::GetTradeWnd() const {
  const auto* host = dynamic_cast<const ITradeHost*>(m_wndSplitter.GetView(1, 0));
  return host ? host->GetTradeWnd() : nullptr;
}

// ---- What the traffic and the router ask of the frame ----

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

CRoutedView* CMainFrame::MarketPaneView() {
  return dynamic_cast<CRoutedView*>(m_wndSplitter.GetPane(0, 0));
}

CRoutedView* CMainFrame::ReportView() {
  for (int i = 0; i < m_wndSplitter.GetViewCount(0); ++i) {
    auto* view = dynamic_cast<CRoutedView*>(m_wndSplitter.GetView(0, i));
    if (view && view->GetViewPage() == kPageReport) return view;
  }
  return nullptr;
}
