// CReportTable: the quote list. One row per item of the chosen tab, 22
// columns (sequence number, code, name and 19 quote figures), sortable by
// any column, with a display order the user changes from the header menu
// (kept in "report.sor"), column widths dragged within 60..600 pixels, and
// the quote requests that keep the rows up to date.
//
// Two kinds of list:
// - a market list (market id with bit 0x1000) is served page by page: the
//   request asks for the items of the shown page only, and a header click
//   sorts within the page;
// - a user list (favourites 0x21FF, blocks) shows every item; its quotes
//   are asked for in windows of at most 200 items (the first window takes
//   the remainder, n mod 200), the next window as soon as a reply comes,
//   until every item has quotes.
//
// The table owns no window: the quote list view forwards paint, keys,
// mouse, timer refreshes and received packets, and implements CDrawOwner
// for repaints, the cursor, mouse capture and the pop-up menus. Item
// names, previous closes and reference volumes come from the store;
// requests leave through CPublic::SendRequest.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "zeb/store/store_records.h"
#include "zeb/tables/base/base_table.h"
#include "zeb/tables/packets/quote_packets.h"
#include "zeb/tables/report/report_columns.h"
#include "zeb/tables/report/report_format.h"
#include "zeb/tables/report/sort_marks.h"

class CPublic;

// Lists of the quote list's tabs.
constexpr uint16_t kMarketListFlag = 0x1000;  // set: served page by page
constexpr uint16_t kFavouritesList = 0x21FF;
constexpr uint16_t kBlockList = 0x2101;
constexpr uint16_t kUserListMask = 0x2100;  // favourites and blocks

// Commands of the quote list's menus.
constexpr UINT kCmdSwapColumnFirst = 0x7200;  // + column index
constexpr UINT kCmdSwapColumnLast = 0x722F;
constexpr UINT kCmdAddFavourite = 26898;
constexpr UINT kCmdRemoveFromList = 26902;  // from the favourites or the block
// Menu resources the body menu is built from.
constexpr int kMenuReportBody = 120;
constexpr int kMenuReportBodySub = 2;
constexpr int kMenuMainItemSub = 6;

// Most items asked for in one request of a user list.
constexpr int kUserListWindow = 200;
// Column widths the user can drag to.
constexpr int kMinColumnWidth = 60;
constexpr int kMaxColumnWidth = 600;

// One row as formatted from a quote record.
struct SReportRow {
  SCodeInfo code;
  char name[kStockNameSize + 1] = {};        // GBK, cut on a character boundary
  SReportCell cells[kReportQuoteCellCount];  // column indexes 3..21
};

class CReportTable : public CBaseTable {
 public:
  // The store the table reads and sends through; null: the program's.
  explicit CReportTable(CPublic* store = nullptr);
  ~CReportTable() override;

  int OnKey(UINT key) override;
  int Draw(CDC* dc) override;
  void InitColumns() override;
  // Decodes the body and hands it to UpdateQuotes.
  int UpdateData(const void* body, int length) override;
  // A reply already decoded by the view, which shares the one decode with
  // the statistics strip: its head, and its records (null when the body
  // held no readable quote layout). 0 for a reply of another request or
  // one without records.
  int UpdateQuotes(const SPacketHead& head, const SQuotePacket* quotes);

  // Loads the items of a tab (0x21FF the favourites, other ids the store's
  // items of that market, 4096 and 0x3000 every market); 1 with items.
  int LoadItems(uint16_t market, const char* name);
  // Asks for the quotes of the shown page (market list) or starts a round
  // of windows over the whole list (user list).
  void RequestQuotes();
  // The sort column when the view is given an item record.
  void SetSortFromItem(uint16_t market, int mode);
  // Column index of a column id (0 when no column has it).
  int GetColumnPos(int id) const { return ReportColumnIndexOfId(id); }
  // A header click on a column index.
  void SortBy(int column);
  // 0x7200..0x722F swap the header-menu column with another; 1 when handled.
  int OnCommand(UINT id);
  // Code of the selected row; zero when no row is selected.
  SCodeInfo GetSelectedCode() const;
  int GetItemCount() const { return m_nItemCount; }
  // Steps the selection by step items over the whole list, wrapping from
  // the first item to the last and back, turns to that item's page and
  // selects it; 0 while there is nothing to select.
  int StepSelection(int step);
  // The selected item's place in the whole list (page start + row); -1
  // while nothing is selected.
  int GetSelectedIndex() const;
  // Selects the item at that place of the list just loaded, on its page
  // (the quotes are asked for by the next request); out of range: kept as
  // loaded.
  void SelectIndex(int index);

  // Mouse, in the owner's client coordinates. The first four return
  // whether the table used the event; OnRButtonDown returns -1 without an
  // owner, else 1.
  int OnLButtonDown(CDrawOwner* owner, UINT flags, int x, int y);
  int OnLButtonUp(CDrawOwner* owner, UINT flags, int x, int y);
  int OnMouseMove(CDrawOwner* owner, UINT flags, int x, int y);
  int OnLButtonDblClk(CDrawOwner* owner, UINT flags, int x, int y);
  int OnRButtonDown(CDrawOwner* owner, UINT flags, int x, int y);
  // Row of the page under the point, as the base finds it, but only inside
  // the drawn columns: the empty band right of the last column is no row.
  int HitTestRow(int x, int y) const override;
  // Column index of the head under the point; -1 outside the header band.
  int HitTestHeader(int x, int y) const;
  // Column index whose right edge is within 2 pixels of the point in the
  // header band; -1 when none.
  int HitTestColumnEdge(int x, int y) const;

  // The pop-up menus as the owner shows them.
  SPopupMenu BuildHeaderMenu(int column) const;
  SPopupMenu BuildBodyMenu() const;

  uint16_t GetMarket() const { return m_market; }
  bool IsMarketList() const { return (m_market & kMarketListFlag) != 0; }
  int GetPageStart() const { return m_nPageStart; }
  int GetReportSortColumn() const { return m_nSortColumn; }
  int IsDescending() const { return m_nDescending; }
  const std::vector<SCodeInfo>& GetDisplayList() const { return m_displayList; }
  const std::vector<SCodeInfo>& GetItems() const { return m_items; }
  const std::vector<SReportColumn>& GetReportColumns() const { return m_reportColumns; }

  // Minutes of the local day now (the volume ratio's position in the
  // trading day); replaceable for tests.
  void SetClock(std::function<int()> minutesOfDay) { m_clock = std::move(minutesOfDay); }
  // Items of lists the store does not hold (blocks): fills items and
  // returns true when it knows the list.
  using ListSource =
      std::function<bool(uint16_t market, const std::string& name, std::vector<SCodeInfo>* items)>;
  void SetListSource(ListSource source) { m_listSource = std::move(source); }

 private:
  struct SPreviousValues {
    float last = 0;
    float high = 0;
    float low = 0;
  };

  int PagedCount() const;
  // Shows the page at the page start: asks for a market list's quotes,
  // scrolls a user list's rows.
  void TurnToPage();
  void ShowFirstPage();
  void SendWindow(int start, int count);
  int OnQuoteList(const SQuotePacket* quotes);
  int OnMarketPush(const SQuotePacket* quotes, bool grouped);
  void UpdateMinuteIndex();
  void FillRows(int sortColumn, int descending);
  void FormatRow(const SQuoteUnit& quote, const SStockInfo& item, SReportRow* row);
  // One figure of a row, with this table's store, scheme and time of day
  // (FormatReportCell does the work).
  void FormatCell(int columnId, const SQuoteUnit& quote, const SStockInfo& item, float previous,
                  SReportCell* cell) const;
  void ShowSorted(int column, int descending);
  void ShowRows(int descending);
  void SwapColumns(int first, int second);
  std::string OrderFilePath() const;

  CPublic* m_store;
  CSortMarkImages m_sortMarks;
  std::vector<SReportRow> m_rowList;     // in arrival order
  std::vector<int> m_sorted;             // indexes into m_rowList, in display order
  std::vector<SCodeInfo> m_items;        // the tab's items in store order
  std::vector<SCodeInfo> m_displayList;  // codes of the shown rows in display order
  int m_nItemCount = 0;
  std::vector<SQuoteUnit> m_quotes;   // records of the last complete reply
  std::vector<SQuoteUnit> m_pending;  // records of the windows of a round so far
  SQuotePacket m_packet;              // reused for every reply
  std::vector<SReportColumn> m_reportColumns;
  uint16_t m_market = 0;
  int m_nWindowFirst = 0;
  int m_nWindowEnd = 0;
  int m_nLastWindowStart = 0;
  int m_nPageStart = 0;
  int m_nRequestedPageStart = 0;  // page start of the last market-list request
  int m_nShownPageStart = 0;      // page start of the rows shown
  int m_nHeaderMenuColumn = -1;
  int m_nCellBorders = kBorderRight | kBorderBottom;
  uint32_t m_nMinuteIndex = 1;
  int m_nResizeColumn = -1;
  POINT m_ptDragStart{};
  int m_nSortColumn = 1;
  int m_nDescending = 1;
  std::unordered_map<uint64_t, SPreviousValues> m_previous;  // per item, from the last fill
  std::function<int()> m_clock;
  ListSource m_listSource;
};
