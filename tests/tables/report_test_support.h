// A quote list table in a test program folder, with a fixed clock, ready
// to take replies built from the documented layouts.
#pragma once
#include "tables_test_support.h"
#include "zeb/tables/report/report_table.h"

namespace tables_test {

// The market of the listed items (codes 100000 up, from the simulator's
// market of that number).
constexpr uint16_t kMarket = 4116;

class ReportTest : public TablesTest {
 protected:
  // Row height 24: 11 fitting rows, 10 per page.
  static constexpr int kPageHeight = 24 * 11;

  ReportTest() {
    table.SetClock([] { return 13 * 60; });
  }

  // Columns from the program folder's "report.sor" and a rectangle of
  // 10 rows per page.
  void Init(int width = 2000, int height = kPageHeight) {
    table.InitColumns();
    table.SetRect(0, 0, width, height);
  }
  int Reply(const std::vector<SQuoteUnit>& quotes, uint16_t type = PKT_REPORT, uint16_t tag = 1) {
    const std::string body = QuoteListBody(type, tag, quotes);
    return table.UpdateData(body.data(), static_cast<int>(body.size()));
  }
  // Quotes of the codes a request asked for, each last price from the function.
  template <class Price>
  std::vector<SQuoteUnit> Answer(const RequestRecorder::Request& request, Price price) {
    std::vector<SQuoteUnit> quotes;
    for (const SCodeInfo& code : request.items)
      quotes.push_back(Quote(code.market, code.code, price(code)));
    return quotes;
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (int r = 0; r < table.GetRowCount(); ++r) texts.push_back(table.GetCellText(r, column));
    return texts;
  }
  // Left edge of the column at a display position (no column scroll).
  int ColumnLeft(int position) const {
    int x = 0;
    for (int p = 0; p < position; ++p) x += table.GetColumnWidth(table.GetColumnOrder()[p]);
    return x;
  }

  CReportTable table{&store};
};

}  // namespace tables_test
