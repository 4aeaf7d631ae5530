// CMainFrame: the program's main window. A splitter with the market pane
// on top and the trade pane below, the menu bar and toolbars, the tray
// icon and its hot keys, full-screen mode, the commands the frame takes
// itself (the rest go to the command router), the quote traffic (packets
// in, requests out) and the orderly close. It is created hidden by the
// login's create stage and shown by its show stage.
//
// Sound behaviour kept here: a hot key that cannot be registered is
// reported and the creation goes on (so the favourites are still loaded
// and the close does not empty the user's favourites file); packets reach
// the traffic with their length; WM_STAT_PAGE is passed to the chart view
// like WM_CHIP_UPDATE; the link is never called when there is none.
// Hot keys are application-wide shortcuts here (no global hot keys).
#pragma once
#include <memory>
#include <string>

#include "formula/face/FormulaFaceAccess.h"
#include "platform/desktop.h"
#include "platform/menu.h"
#include "platform/wnd.h"
#include "zeb/core/frame/quote_traffic.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/shell/router/routed_view.h"
#include "zeb/shell/splitter/splitter_wnd.h"

class CClientDataSource;
class CToolBarXP;
class CMTToolBar;

constexpr int kHotKeyTray = 1001;     // Alt + numeric-pad plus
constexpr int kHotKeyTrayAlt = 1002;  // Alt + K
constexpr UINT kTrayIconId = 120;
constexpr int kFrameMinWidth = 966;
constexpr int kFrameMinHeight = 500;
constexpr int kTradePaneHeight = 320;
constexpr int kMarketPaneMin = 100;
constexpr int kMarketPaneIdeal = 400;
// The room the menu bar and toolbar take from the frame's height.
constexpr int kFrameBarsHeight = 50;
// While the drawing toolbar is on, it follows the market pane's page.
constexpr UINT kDrawBarTimer = 1001;
constexpr UINT kDrawBarFollowMs = 200;

class CMainFrame : public CFrameWnd, private IQuoteTrafficHost, private IRouterFrame {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // Creates the window hidden with its menu, panes and views.
  BOOL LoadFrame();
  void SetLink(CClientDataSource* link) { m_pLink = link; }
  CClientDataSource* GetLink() const { return m_pLink; }
  int LaunchUpdater(int flag);
  void ShowDrawToolBar(bool show) override;
  bool IsDrawToolBarOn() override;
  HWND GetTradeWnd() const;
  void RecalcLayout();
  // The close sequence without the question (the frame the user never saw).
  void CloseWithoutAsking();

  ST_SplitterWnd& Splitter() { return m_wndSplitter; }
  CQuoteTraffic& Traffic() { return m_traffic; }
  bool IsInTray() const { return m_nTray == 0; }
  bool IsFullScreen() const { return m_bFullScreen; }
  CToolBarXP* GetToolBar() const { return m_pToolBar.get(); }
  CMTToolBar* GetDrawToolBar() const { return m_pDrawBar.get(); }
  CToolBarXP* GetFullScreenBar() const { return m_pFullBar.get(); }
  int TradePaneHeight() const { return m_nTradeHeight; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCreate(LPCREATESTRUCT cs) override;
  void OnDestroy() override;
  void OnClose() override;
  void OnTimer(UINT_PTR id) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
  void OnChar(UINT ch, UINT repeat, UINT flags) override;
  void OnHotKey(UINT id, UINT modifiers, UINT vk) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnUpdateCmdUI(CCmdUI* cmdUI) override;

  // The frame's own messages, each from WindowProc: quote packets in
  // (length, body), requests out, the alarm timer restarted, panel messages
  // for the chart view, the quote list's step, a splitter drag; the alarm
  // request of the timer; the command states of the frame's range.
  LRESULT OnQuotePacket(WPARAM length, LPARAM body);
  LRESULT OnQuoteRequest(WPARAM length, LPARAM body);
  LRESULT OnRefreshTimer();
  LRESULT OnChipUpdate(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnReportStep(WPARAM wParam, LPARAM lParam);
  LRESULT OnSplitterMoved();
  void SendAlarmRequest();
  BOOL OnUpdateCommandRange(CCmdUI* cmdUI);
  // The window's style: an overlapped window, maximised.
  static DWORD PreCreateWindow() { return WS_OVERLAPPEDWINDOW | WS_MAXIMIZE; }
  // The caption is always the system's title.
  void OnUpdateFrameTitle();

 private:
  // IQuoteTrafficHost
  void RebuildKeyboardIndex() override;
  HWND TradeWindow() override { return GetTradeWnd(); }
  bool AskData(const void* body, int length) override;
  void SelectCode(SCodeInfo code) override;
  void RunTypedCommand(const char* text) override;
  void OpenBlock(const char* name) override;
  void ShowIndicator(const char* formulaName) override;
  // IRouterFrame
  HWND MainWnd() override { return GetSafeHwnd(); }
  CRoutedView* MarketPaneView() override;
  CRoutedView* ReportView() override;

  void OnCreateClient();
  void CreateToolBars();
  void ShowMainToolBar();
  // The market lists (the menu bar's "行情" pop-up) and the block lists,
  // dropped down under their tool bar button.
  void DropDownMarkets();
  void DropDownBlocks();
  POINT BelowToolButton(UINT id) const;
  void RegisterHotKeys();
  void OnCommandRange(UINT id);
  LRESULT OnSwitchView(WPARAM page);
  // The drawing toolbar shows where its tools act, the K-line page, and
  // goes when its close box was used.
  void FollowDrawToolBar();
  LRESULT OnTradeHide(WPARAM arg);
  LRESULT OnTrayNotify(WPARAM id, LPARAM mouse);
  void HideToTray();
  void RestoreFromTray();
  void ToggleFullScreen();
  int ShowNotice(int mode, const std::string& text);

  CClientDataSource* m_pLink = nullptr;
  // The formula library as the window-free libraries reach it, installed
  // from creation to destruction.
  CFormulaFaceAccess m_formula;
  CFormulaAccess* m_pPreviousFormula = nullptr;
  CQuoteTraffic m_traffic;
  ST_SplitterWnd m_wndSplitter;
  CMenu m_menu;
  CMenu m_blockMenu;
  std::unique_ptr<CToolBarXP> m_pToolBar;
  std::unique_ptr<CToolBarXP> m_pFullBar;
  std::unique_ptr<CMTToolBar> m_pDrawBar;
  NOTIFYICONDATA m_tray;
  int m_nTray = 1;  // 1 shown, 0 hidden in the tray
  bool m_bFullScreen = false;
  bool m_bWasMaximized = true;
  int m_nTradeHideArg = 0;
  int m_nTradeHeight = 0;
  int m_nTradeMin = 0;
  bool m_bClosing = false;
};
