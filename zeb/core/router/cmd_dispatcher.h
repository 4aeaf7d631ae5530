// CCmdDispatcher: the one object between the main frame and the view in
// the market pane. It routes received packets to the active view, runs
// commands by their group (id & 0xFF00) and offers each to the view,
// switches the pane between the quote list and the chart view, runs typed
// command codes, keeps two settings of "sysset.ini" and turns pages
// automatically. A process-wide singleton, released when the frame closes.
//
// Sound behaviour kept here:
// - "sysset.ini", the help file and the key list are looked up in the
//   program folder from the start.
// - A key reaches the view with a repeat count of 1, so PageUp and
//   PageDown step one page, not 256.
// - The page-turn interval is clamped to 1 s .. 24 h (10 s when unset).
// - A view asked for a page it does not show (the other view is missing)
//   is not given the record.
// User-interface thread only.
#pragma once
#include <string>

#include "platform/types.h"
#include "zeb/core/router/routed_view_contract.h"

// What the router needs of the main frame.
class IRouterFrame {
 public:
  virtual ~IRouterFrame() = default;
  virtual HWND MainWnd() = 0;
  // The view now shown in the market pane (row 0, column 0); null: none.
  virtual IRoutedView* MarketPaneView() = 0;
  // The quote list view, shown or not; null: none.
  virtual IRoutedView* ReportView() = 0;
  virtual void ShowDrawToolBar(bool show) = 0;
  // Whether the user has the drawing toolbar on (it shows on the K-line
  // page only).
  virtual bool IsDrawToolBarOn() = 0;
};

constexpr UINT kPageTurnTimer = 13;
constexpr int kPageTurnDefaultSeconds = 10;
constexpr int kPageTurnMaxSeconds = 24 * 3600;
constexpr int kBigOrderMinimum = 400;

class CCmdDispatcher {
 public:
  CCmdDispatcher();
  ~CCmdDispatcher();
  CCmdDispatcher(const CCmdDispatcher&) = delete;
  CCmdDispatcher& operator=(const CCmdDispatcher&) = delete;

  static CCmdDispatcher* GetInstance();
  // Stops the page turn and deletes the router.
  static void ReleaseInstance();

  void SetFrame(IRouterFrame* frame) { m_frame = frame; }
  void SetActiveView(IRoutedView* view) { m_activeView = view; }
  IRoutedView* GetActiveView() const { return m_activeView; }

  void RoutePacket(const void* body, int length);
  int ExecuteCommand(int id);
  int UpdateCommandUI(CCmdUI* cmdUI);
  int OnKey(int key);
  void SelectCode(SCodeInfo key);
  void RunTypedCommand(const char* text);
  void OpenBlock(const char* name);
  void ShowIndicator(const char* formulaName);
  int SwitchTo(const SCurItem* item);
  void ShowAllMarkets();
  void OpenChartPage(SCodeInfo code, int page);
  SCodeInfo GetCurCode() const;

  // "主力大单" (at least 400) and "自动翻页间隔" (seconds) of "sysset.ini",
  // read once; -1 for any other name.
  int GetSysParam(const char* name);
  void SetSysParam(const char* name, int value);

  // The settings dialog on its page (0 appearance, 1 parameters): the
  // command "系统设置" opens page 0, the chart view's big-order title row
  // page 1. Nothing happens without the dialog's plug-in.
  void OpenSystemSettings(int startPage);
  // After the settings were saved: the chart view, when it is the active
  // view, asks for the big orders again; the market pane's views take the
  // scheme again and repaint.
  void RefreshBigOrders();
  void RepaintViews();

  void ToggleAutoPageTurn();
  bool IsAutoPageTurnOn() const { return m_nPageTurnTimer > 0; }
  // The interval the page turn runs at, in milliseconds.
  UINT PageTurnIntervalMs();

  std::string GetDirectory() const { return m_strDirectory; }
  // The page turn's timer procedure: PageDown to the window.
  static void OnPageTurnTimer(HWND wnd, UINT, UINT_PTR, DWORD);

 private:
  int ChartCommand(int id);
  int ToolCommand(int id);
  bool IsChartView(const IRoutedView* view) const;
  void OpenFile(const char* name);

  IRoutedView* m_activeView = nullptr;
  IRouterFrame* m_frame = nullptr;
  int m_nBigOrder = -1;
  int m_nPageTurnSeconds = -1;
  int m_nPageTurnTimer = -1;
  HWND m_hTimerWnd = nullptr;
  std::string m_strDirectory;
};
