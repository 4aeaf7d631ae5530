// The time-share chart's floating information box as the chart view shows
// it: the cursor information table of the charts (CInfoTable, in its
// minute mode) behind the small interface the chart drives. The chart
// says where the box is and what lies under the cursor; this keeps the
// table's column as wide as the box and shows the time alone where the
// minute has no data yet.
#pragma once
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"

class CTimeShareInfoTable : public CTimeShareInfoBox {
 public:
  CTimeShareInfoTable();

  void SetStock(const SStockInfo& item) override;
  void SetRect(const RECT& rect) override;
  void Update(const STimeShareCursor& cursor) override;
  void Paint(CChartPainter& painter) override;

  const CInfoTable& Table() const { return m_table; }

 private:
  void Show();

  CInfoTable m_table;
  STimeShareCursor m_cursor;
};
