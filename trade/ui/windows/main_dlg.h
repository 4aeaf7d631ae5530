// CMainDlg: the trading window, a child dialog filling the host program's
// trading pane. Quick buttons on top, the function tree on the left, the
// panel of the chosen function on the right under its caption. Its
// behaviour is CMainDlgCore's (which function is shown, relaying replies,
// quotes and prices, the refresh and the idle lock); this window forwards
// its messages, keys, timers and clicks there and does what the core asks
// of its view: a new panel per switch (CreateTradePanel), the caption,
// timers, and the lock dialog over everything.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "platform/image_list.h"
#include "trade/ui/rules/main_dlg_core.h"
#include "trade/ui/windows/button_xp.h"
#include "trade/ui/windows/trade_panel.h"
#include "trade/ui/windows/tree_ctrl_ex.h"

class CLockedDlg;

class CMainDlg : public CDialog, private IMainDlgView {
 public:
  static constexpr int kTemplateId = 6000;
  enum : int {
    kCaptionId = 1013,
    kLockId = 7000,
    kLeaveId = 1083,
    kPrintId = 6033,
    kBuyId = 7008,
    kSellId = 7006,
    kCancelId = 1080,
    kFundsId = 7009,
    kOrdersId = 7010,
    kTreeId = 7011,
    kWelcomeId = 7033,
  };
  static constexpr int kTreeWidth = 200, kTopBand = 20, kPanelTop = 40, kWelcomeWidth = 300;

  // env: what the windows work with; env.host is the pane's link.
  explicit CMainDlg(const STradeWindowEnv& env);
  ~CMainDlg() override;

  // Creates the window as a child of the host pane (a top-level window
  // when the pane is not a window of this program).
  BOOL CreateIn(HWND hostPane);

  CMainDlgCore& Core() { return core_; }
  CTradePanel* GetPanel() const { return panel_.get(); }
  CLockedDlg* GetLockDialog() const { return lock_.get(); }
  CTreeCtrlEx& GetTree() { return tree_; }
  // The tree item of a function (0-29); null outside.
  HTREEITEM FunctionItem(int functionIndex) const;

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;

 private:
  // IMainDlgView
  HWND ShowPanel(int functionIndex) override;
  void SetCaption(const std::string& caption) override;
  void SelectTreeItem(int functionIndex) override;
  void StartTimer(UINT id, UINT ms) override;
  void StopTimer(UINT id) override;
  void ShowLocked(bool locked) override;

  void BuildTree();
  void Layout();
  void DestroyPanel();
  // Every control but the print button, shown or hidden.
  void ShowControls(bool show);

  STradeWindowEnv env_;
  CMainDlgCore core_;
  std::unique_ptr<CTradePanel> panel_;
  std::unique_ptr<CLockedDlg> lock_;
  std::array<CButtonXP, 8> buttons_;
  CTreeCtrlEx tree_;
  CImageList images_;
  std::vector<HTREEITEM> items_;  // every tree item in insertion order (35)
};
