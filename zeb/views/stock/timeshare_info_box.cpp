// The time-share chart's information box over the cursor information table.
#include "zeb/views/stock/timeshare_info_box.h"

#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

CTimeShareInfoTable::CTimeShareInfoTable() { m_table.SetMode(0); }

void CTimeShareInfoTable::SetStock(const SStockInfo& item) {
  m_table.SetStock(&item);
  Show();
}

void CTimeShareInfoTable::SetRect(const RECT& rect) {
  m_table.SetRect(rect.left, rect.top, rect.right, rect.bottom);
  // The one column spans the box: laid out again for the new width.
  m_table.SetMode(0);
  Show();
}

void CTimeShareInfoTable::Update(const STimeShareCursor& cursor) {
  m_cursor = cursor;
  Show();
}

void CTimeShareInfoTable::Show() {
  if (!m_cursor.hasData) {
    m_table.SetTime(m_cursor.time);
    return;
  }
  SMinuteUnit minute;
  minute.time = static_cast<uint16_t>(m_cursor.time);
  minute.price = m_cursor.price;
  minute.average = m_cursor.average;
  minute.volume = m_cursor.volume;
  m_table.ShowMinute(minute, static_cast<double>(m_cursor.preClose) / kPriceUnit);
}

void CTimeShareInfoTable::Paint(CChartPainter& painter) {
  if (CPublic::IsValidRect(m_table.GetRect())) m_table.Paint(painter);
}
