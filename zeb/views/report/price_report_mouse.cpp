// The quote list view's mouse: the table first, then the market tabs (a
// block tab offers its blocks), then the column scroll bar.
#include <memory>
#include <vector>

#include "zeb/core/blocks/block_manager.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/views/report/block_lists.h"
#include "zeb/views/report/price_report_view.h"

namespace {

// The block pop-up opens this far above the tab strip.
constexpr int kBlockMenuGap = 4;

bool IsBlockTab(uint16_t market) { return market == kBlockKindSystem || market == kBlockKindUser; }

}  // namespace

void CPriceReportView::OnLButtonDown(UINT flags, CPoint point) {
  if (m_table.OnLButtonDown(this, flags, point.x, point.y)) {
    Repaint();
    return;
  }
  const int tab = m_tabs.HitTest(point.x, point.y);
  if (tab >= 0) {
    OnTabClick(tab, point);
    return;
  }
  if (m_scroll.OnLButtonDown(point.x, point.y)) ScrollColumnsToBar();
}

void CPriceReportView::OnTabClick(int index, CPoint point) {
  const int previous = m_tabs.GetCurSel();
  m_tabs.OnClick(point.x, point.y);
  const SRepTabRecord* clicked = m_tabs.GetRecord(index);
  if (!clicked) return;
  const SRepTabRecord record = *clicked;
  if (IsBlockTab(record.market) && TrackBlockMenu(record.market, point)) {
    // The chosen block comes back as a list command; until then the tab
    // shown before stays current.
    m_tabs.SetCurSel(previous == CTypeCtlPic::kNoTab ? -1 : previous);
  } else {
    LoadTab(record);
  }
  Repaint();
}

bool CPriceReportView::TrackBlockMenu(uint16_t kind, CPoint point) {
  CMenu menu;
  std::vector<std::unique_ptr<CMenu>> groups;
  if (!FillBlockKindMenu(kind, &menu, &groups)) return false;
  POINT at{point.x, m_tabs.GetRect().top - kBlockMenuGap};
  ClientToScreen(&at);
  CWnd* owner = CWnd::FromHandle(MainWnd());
  menu.TrackPopupMenu(TPM_BOTTOMALIGN, at.x, at.y, owner ? owner : this);
  return true;
}

void CPriceReportView::ScrollColumnsToBar() {
  m_nScrollPos = m_scroll.GetPos();
  m_table.ScrollColumnsTo(m_nScrollPos);
  Repaint();
}

void CPriceReportView::OnLButtonUp(UINT flags, CPoint point) {
  m_table.OnLButtonUp(this, flags, point.x, point.y);
  if (m_scroll.OnLButtonUp(point.x, point.y)) ScrollColumnsToBar();
}

void CPriceReportView::OnMouseMove(UINT flags, CPoint point) {
  m_table.OnMouseMove(this, flags, point.x, point.y);
  if (m_scroll.OnMouseMove(point.x, point.y)) ScrollColumnsToBar();
}

void CPriceReportView::OnLButtonDblClk(UINT flags, CPoint point) {
  if (m_table.OnLButtonDblClk(this, flags, point.x, point.y)) OnKey(table_keys::kReturn, 0, 0);
}

void CPriceReportView::OnRButtonDown(UINT flags, CPoint point) {
  // The body menu's commands act on the selected row: the row clicked.
  const int row = m_table.HitTestRow(point.x, point.y);
  if (row >= 0) {
    m_table.SetSelRow(row);
    Repaint();
  }
  if (!m_table.OnRButtonDown(this, flags, point.x, point.y)) CBaseView::OnRButtonDown(flags, point);
}
