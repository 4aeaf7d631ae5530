// CPriceReportView: the quote list screen of the market pane, the first
// thing a user sees after login. From top to bottom: the quote list table
// (CReportTable), a strip with the market tabs on the left and the
// horizontal scroll bar of the non-fixed columns on the right, as high as
// the tabs' labels need, and the 20-pixel statistics strip. It refreshes the list on timer 1100, turns
// Enter and double clicks into a request to the main window to open the
// selected item, Delete on the favourites or a block into the command that
// removes the item, and follows the item records the router gives it.
//
// It paints through an off-screen DC, so a refresh never flickers, and is
// the owner of its table (repaints, cursor, capture, pop-up menus).
#pragma once
#include <cstdint>

#include "zeb/controls/scroll_ctl_pic.h"
#include "zeb/tables/report/report_table.h"
#include "zeb/tables/report/stat_info.h"
#include "zeb/views/report/base_view.h"
#include "zeb/views/report/rep_type_ctl_pic.h"

// The view's refresh timer.
constexpr UINT kReportRefreshTimer = 1100;
// Height of the statistics strip under the tabs.
constexpr int kReportStatStripHeight = 20;

class CPriceReportView : public CBaseView {
 public:
  // The store the view and its table read and send through; null: the program's.
  explicit CPriceReportView(CPublic* store = nullptr);
  ~CPriceReportView() override;

  int GetViewPage() const override { return kPageReport; }
  void OnInitialUpdate() override;
  void OnDraw(CDC* dc) override;

  int SetCurItem(const SCurItem* item) override;
  int OnData(const void* body, int length) override;
  void RefreshData() override;
  SCodeInfo* GetCodeInfo(SCodeInfo* out) override;
  int OnKey(UINT key, UINT data, UINT flags) override;
  using CBaseView::OnCommand;
  int OnCommand(int id) override;
  void RecalcLayout() override;
  void ReloadCurrentTab() override;
  // The list takes the scheme's colours again, then repaints.
  void OnSchemeChanged() override;

  // Shows a tab's list: the table loads its items and asks for quotes.
  // Loads the tab's list; a place >= 0 selects that item of it again.
  void LoadTab(const SRepTabRecord& record, int place = -1);
  // Steps the selection by step items (wrapping) and opens that item; 0
  // while the list has nothing to step over.
  int StepReport(int step);

  CReportTable& Table() { return m_table; }
  CRepTypeCtlPic& Tabs() { return m_tabs; }
  CScrollCtlPic& ScrollBar() { return m_scroll; }
  CStatInfo& StatStrip() { return m_stat; }
  int GetColumnScrollPos() const { return m_nScrollPos; }
  // Height of the strip of the tabs and the scroll bar: the tab font's
  // cell height and the labels' margin above and below.
  int GetTabStripHeight();

  // ---- Handlers ----
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer(UINT_PTR id) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  void OnRButtonDown(UINT flags, CPoint point) override;

 private:
  // Places the scroll bar after the last tab (the tabs' width needs a DC).
  void PlaceScrollBar();
  void DrawScrollBar(CDC* dc);
  // A click on a tab: loads its list, or offers the blocks of a block tab.
  void OnTabClick(int index, CPoint point);
  // The pop-up of a block tab's blocks; false when there are none.
  bool TrackBlockMenu(uint16_t kind, CPoint point);
  // Follows the scroll bar's position with the column scroll.
  void ScrollColumnsToBar();

  CReportTable m_table;
  CRepTypeCtlPic m_tabs;
  CScrollCtlPic m_scroll;
  CStatInfo m_stat;
  SQuotePacket m_packet;  // each reply decoded once, for the table and the strip
  int m_nTotalWidth = 0;
  int m_nVisibleWidth = 0;
  int m_nScrollPos = 0;  // column scroll in pixels
  SRepTabRecord m_curTab{};
};
