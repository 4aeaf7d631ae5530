// The quote list's data road: items of a tab, windowed requests, replies,
// formatted rows, the sort and the keys.
#include "zeb/tables/report/report_table.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"

namespace {

constexpr float kReportRowHeight = 24.0f;

int LocalMinutesOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_hour * 60 + local.tm_min;
}

uint64_t ItemKey(const SCodeInfo& code) {
  return (static_cast<uint64_t>(code.market) << 32) | static_cast<uint32_t>(code.code);
}

}  // namespace

CReportTable::CReportTable(CPublic* store)
    : m_store(store ? store : CPublic::GetInstance()), m_clock(LocalMinutesOfDay) {
  AddStyle2(kTableStyle2HighlightSel);
  m_fRowHeight = kReportRowHeight;
  SetHeaderFrames(1);
  SetImageList(&m_sortMarks);
  // The sort the quote list had before (it survives tab changes in the store).
  m_store->GetReportSort(&m_nSortColumn, &m_nDescending);
}

CReportTable::~CReportTable() = default;

std::string CReportTable::OrderFilePath() const { return m_store->GetAppDir() + "report.sor"; }

void CReportTable::InitColumns() {
  RemoveAllColumns();
  AddStyle2(kTableStyle2HighlightSel);
  m_reportColumns.clear();
  const ReportOrder order = LoadReportOrder(OrderFilePath());
  const auto& columns = ReportColumns();
  for (int index = 0; index < kReportColumnCount; ++index) {
    const SReportColumn& column = columns[static_cast<size_t>(index)];
    AddColumn(index, column.head.name, column.head.align, column.head.width);
    ColumnOrder()[static_cast<size_t>(index)] = order[static_cast<size_t>(index)];
    m_reportColumns.push_back(column);
  }
  SetFixedColumns(kReportFixedColumns);
}

// ---- items and requests

int CReportTable::LoadItems(uint16_t market, const char* name) {
  m_market = market;
  m_nItemCount = 0;
  m_items.clear();
  m_nWindowFirst = m_nWindowEnd = 0;
  m_nLastWindowStart = 0;
  m_nPageStart = m_nRequestedPageStart = m_nShownPageStart = 0;
  m_nSelRow = 0;
  m_nTopRow = 0;
  DeleteAllRows();
  m_quotes.clear();
  m_pending.clear();
  m_rowList.clear();
  m_sorted.clear();
  m_displayList.clear();
  m_previous.clear();

  if (market == kFavouritesList) {
    m_items = m_store->GetSelectedStocks();
  } else if (!(m_listSource && m_listSource(market, name ? name : "", &m_items))) {
    int count = m_store->GetStockCount(market);
    std::vector<SStockInfo> stocks(static_cast<size_t>(std::max(count, 0)));
    m_store->GetStocks(market, stocks.data(), &count);
    m_items.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) m_items.push_back(stocks[static_cast<size_t>(i)].GetKey());
  }
  m_nItemCount = static_cast<int>(m_items.size());
  m_nSelRow = m_items.empty() ? -1 : 0;
  return m_items.empty() ? 0 : 1;
}

void CReportTable::SendWindow(int start, int count) {
  // A pushed item count may exceed the items known here: never ask past them.
  const int available = static_cast<int>(m_items.size()) - start;
  count = std::min(count, available);
  if (start < 0 || count <= 0) return;
  std::string request(kQuoteListHeadSize + sizeof(SCodeInfo) * static_cast<size_t>(count), '\0');
  char* p = request.data();
  quotelink::WriteU16(p, PKT_REPORT);
  quotelink::WriteU16(p + 2, m_market);
  quotelink::WriteU16(p + 4, static_cast<uint16_t>(CPublic::GetRequestTag()));
  quotelink::WriteU16(p + 6, static_cast<uint16_t>(count));
  for (int i = 0; i < count; ++i) {
    const SCodeInfo& item = m_items[static_cast<size_t>(start + i)];
    char* at = p + kQuoteListHeadSize + sizeof(SCodeInfo) * static_cast<size_t>(i);
    quotelink::WriteU16(at, item.market);
    quotelink::WriteU32(at + 2, static_cast<uint32_t>(item.code));
  }
  m_store->SendRequest(request.data(), static_cast<int>(request.size()), kRequestQuoteData);
}

void CReportTable::RequestQuotes() {
  if (m_items.empty()) return;
  if (IsMarketList()) {
    const int n = m_nItemCount - m_nPageStart;
    m_nWindowFirst = 0;
    m_nWindowEnd = std::min(n, GetRowsPerPage());
    m_nRequestedPageStart = m_nPageStart;
    SendWindow(m_nPageStart, m_nWindowEnd - m_nWindowFirst);
    return;
  }
  // A refresh starts a new round at the first window; the rest follow the
  // replies (OnQuoteList).
  const int n = m_nItemCount;
  const int rest = n % kUserListWindow;
  m_nWindowFirst = 0;
  m_nWindowEnd = std::min(n, rest != 0 ? rest : kUserListWindow);
  SendWindow(m_nWindowFirst, m_nWindowEnd - m_nWindowFirst);
}

// ---- replies

int CReportTable::UpdateData(const void* body, int length) {
  SPacketHead head;
  if (length < 0 || !ReadPacketHead(body, static_cast<size_t>(length), &head)) return 0;
  if (head.tag != CPublic::GetRequestTag() || m_items.empty()) return UpdateQuotes(head, nullptr);
  const bool read = ReadQuotePacket(body, static_cast<size_t>(length), &m_packet);
  return UpdateQuotes(head, read ? &m_packet : nullptr);
}

int CReportTable::UpdateQuotes(const SPacketHead& head, const SQuotePacket* quotes) {
  if (head.tag != CPublic::GetRequestTag()) return 0;
  if (m_items.empty()) return 1;
  switch (PacketGroup(head.type)) {
    case PKT_REPORT: return OnQuoteList(quotes);
    case PKT_REPORT_PUSH:
    case PKT_REPORT_PUSH_ALT: return IsMarketList() ? OnMarketPush(quotes, false) : 1;
    case PKT_REPORT_GROUPED: return IsMarketList() ? OnMarketPush(quotes, true) : 1;
    default: return 1;
  }
}

void CReportTable::UpdateMinuteIndex() {
  const int minutes = m_clock ? m_clock() : 0;
  m_nMinuteIndex =
      m_store->TimeToMinuteIndex(m_market, static_cast<uint16_t>(std::clamp(minutes, 0, 24 * 60)));
}

int CReportTable::OnQuoteList(const SQuotePacket* quotes) {
  if (quotes == nullptr || quotes->count == 0) return 0;
  UpdateMinuteIndex();
  if (m_nWindowFirst == 0) m_pending.clear();
  m_pending.insert(m_pending.end(), quotes->records.begin(), quotes->records.end());
  m_nLastWindowStart = m_nWindowFirst;

  if (!IsMarketList() && m_nWindowEnd > 0 && m_nWindowEnd < m_nItemCount) {
    // More items than one window: ask for the next one now. The rows keep
    // the last complete round until this one is complete, except on the
    // first round, which shows what has come.
    m_nWindowFirst = m_nWindowEnd;
    m_nWindowEnd = std::min(m_nItemCount, m_nWindowEnd + kUserListWindow);
    SendWindow(m_nWindowFirst, m_nWindowEnd - m_nWindowFirst);
    if (m_quotes.empty()) {
      m_quotes = m_pending;
      FillRows(m_nSortColumn, m_nDescending);
    }
    return 1;
  }
  m_quotes.swap(m_pending);
  m_nWindowFirst = m_nWindowEnd = 0;
  m_nShownPageStart = m_nRequestedPageStart;
  FillRows(m_nSortColumn, m_nDescending);
  return 1;
}

int CReportTable::OnMarketPush(const SQuotePacket* quotes, bool grouped) {
  if (quotes == nullptr || quotes->count == 0) return 0;
  UpdateMinuteIndex();
  m_quotes.assign(quotes->records.begin(), quotes->records.end());
  if (!grouped) {
    m_nItemCount = quotes->total;
    m_nLastWindowStart = 0;
  }
  m_nShownPageStart = m_nPageStart;
  FillRows(0, 0);
  return 1;
}

// ---- rows

void CReportTable::FillRows(int sortColumn, int descending) {
  m_rowList.resize(m_quotes.size());
  size_t filled = 0;
  for (const SQuoteUnit& quote : m_quotes) {
    const SStockInfo* item = m_store->FindStock(&quote.code);
    if (item == nullptr) continue;
    FormatRow(quote, *item, &m_rowList[filled++]);
  }
  m_rowList.resize(filled);
  ShowSorted(sortColumn, descending);
}

void CReportTable::FormatRow(const SQuoteUnit& quote, const SStockInfo& item, SReportRow* row) {
  row->code = item.GetKey();
  std::memset(row->name, 0, sizeof row->name);
  std::memcpy(row->name, item.name, platform::GbkCutLength(item.name, kStockNameSize));

  // The change highlight compares with this item's figures of the last
  // refresh, kept per item between fills.
  SPreviousValues& previous = m_previous[ItemKey(quote.code)];
  const auto& columns = ReportColumns();
  for (int i = 0; i < kReportQuoteCellCount; ++i) {
    const int id = columns[static_cast<size_t>(kReportFirstQuoteColumn + i)].id;
    float before = 0;
    if (id == kColLast) before = previous.last;
    else if (id == kColHigh) before = previous.high;
    else if (id == kColLow) before = previous.low;
    FormatCell(id, quote, item, before, &row->cells[i]);
  }
  previous.last = row->cells[ReportColumnIndexOfId(kColLast) - kReportFirstQuoteColumn].value;
  previous.high = row->cells[ReportColumnIndexOfId(kColHigh) - kReportFirstQuoteColumn].value;
  previous.low = row->cells[ReportColumnIndexOfId(kColLow) - kReportFirstQuoteColumn].value;
}

void CReportTable::FormatCell(int columnId, const SQuoteUnit& quote, const SStockInfo& item,
                              float previous, SReportCell* cell) const {
  const SReportFormatContext context{m_store, CSysStyle::GetInstance(), m_nMinuteIndex};
  FormatReportCell(context, columnId, quote, item, previous, cell);
}

void CReportTable::ShowSorted(int column, int descending) {
  m_sorted.resize(m_rowList.size());
  for (size_t i = 0; i < m_sorted.size(); ++i) m_sorted[i] = static_cast<int>(i);
  if (column > 0 && column < kReportColumnCount) {
    const std::vector<SReportRow>& rows = m_rowList;
    auto less = [&](int a, int b) {
      const SReportRow& x = rows[static_cast<size_t>(a)];
      const SReportRow& y = rows[static_cast<size_t>(b)];
      if (column == kColCode)
        return static_cast<uint32_t>(x.code.code) < static_cast<uint32_t>(y.code.code);
      if (column == kColName) return std::strcmp(x.name, y.name) < 0;  // GBK byte order
      return x.cells[column - kReportFirstQuoteColumn].value <
             y.cells[column - kReportFirstQuoteColumn].value;
    };
    std::stable_sort(m_sorted.begin(), m_sorted.end(), less);
  }
  ShowRows(descending);
}

void CReportTable::ShowRows(int descending) {
  const int count = static_cast<int>(m_sorted.size());
  ResizeRows(count);
  m_displayList.clear();
  const int base = IsMarketList() ? m_nShownPageStart : 0;
  for (int k = 0; k < count; ++k) {
    const SReportRow& row = m_rowList[static_cast<size_t>(
        m_sorted[static_cast<size_t>(descending ? count - 1 - k : k)])];
    std::vector<SSubItem>& cells = RowCells(k);
    for (SSubItem& cell : cells) {
      cell.image = -1;
      cell.textColor = CLR_INVALID;
      cell.background = CLR_INVALID;
      cell.borders = m_nCellBorders;
      cell.align = -1;
      cell.font = nullptr;
    }
    AssignReportInt(&cells[kColSequence].text, base + k + 1);
    cells[kColCode].text = CPublic::FormatCode(row.code.code);
    cells[kColName].text.assign(row.name);
    for (int i = 0; i < kReportQuoteCellCount; ++i) {
      SSubItem& cell = cells[static_cast<size_t>(kReportFirstQuoteColumn + i)];
      cell.text = row.cells[i].text;
      cell.textColor = row.cells[i].textColor;
      cell.background = row.cells[i].background;
    }
    m_displayList.push_back(row.code);
  }
  m_store->SetReportCodes(m_displayList);
}

// ---- sort

void CReportTable::SetSortFromItem(uint16_t market, int mode) {
  int column = kColCode;
  int descending = 1;
  if (mode != 0 || !(market & kMarketListFlag)) {
    column = GetColumnPos(mode & 0xFF);
    if (column >= kReportFixedColumns) {
      m_store->SetReportSort(column, 1);
    } else {
      m_store->GetReportSort(&column, &descending);
    }
  } else {
    descending = 0;
    m_store->SetReportSort(column, descending);
  }
  m_nSortColumn = column;
  m_nDescending = descending;
  SetSortImage(column, descending ? CSortMarkImages::kDescending : CSortMarkImages::kAscending);
}

void CReportTable::SortBy(int column) {
  if (column <= 0 || column >= kReportColumnCount) return;
  m_nDescending = column != m_nSortColumn ? 1 : !m_nDescending;
  m_nSortColumn = column;
  m_store->SetReportSort(m_nSortColumn, m_nDescending);
  SetSortImage(column, m_nDescending ? CSortMarkImages::kDescending : CSortMarkImages::kAscending);
  if (IsMarketList()) RequestQuotes();
  else ShowSorted(m_nSortColumn, m_nDescending);
}

// ---- keys and selection

int CReportTable::PagedCount() const {
  // A market list pages over its items, whose quotes come page by page; a
  // user list over the rows it shows (items the store does not know have
  // none).
  return IsMarketList() ? m_nItemCount : GetRowCount();
}

void CReportTable::TurnToPage() {
  if (IsMarketList()) RequestQuotes();
  else m_nTopRow = m_nPageStart;
}

void CReportTable::ShowFirstPage() {
  if (m_nPageStart == 0) return;
  m_nPageStart = 0;
  TurnToPage();
}

int CReportTable::OnKey(UINT key) {
  using namespace table_keys;
  const int page = GetRowsPerPage();
  const int n = PagedCount();
  switch (key) {
    case kPrior:
    case kNext: {
      if (page <= 0) return 0;
      const int lastTop = GetLastPageTop(n);
      if (key == kPrior) {
        m_nPageStart -= page;
        if (m_nPageStart < 0) m_nPageStart = lastTop;
      } else {
        m_nPageStart = m_nPageStart == lastTop ? 0 : std::min(m_nPageStart + page, lastTop);
      }
      m_nSelRow = 0;
      TurnToPage();
      return 1;
    }
    case kUp:
      if (page <= 0) return 0;
      if (m_nSelRow <= 0) {
        if (n > page) OnKey(kPrior);
        else ShowFirstPage();
        m_nSelRow = GetPageRows(m_nPageStart, n) - 1;
        return 1;
      }
      return CBaseTable::OnKey(key);
    case kDown:
      if (page <= 0) return 0;
      if (m_nSelRow + 1 >= GetPageRows(m_nPageStart, n)) {
        if (n > page) OnKey(kNext);
        else ShowFirstPage();
        m_nSelRow = 0;
        return 1;
      }
      return CBaseTable::OnKey(key);
    default: return CBaseTable::OnKey(key);
  }
}

int CReportTable::StepSelection(int step) {
  const int n = PagedCount();
  const int page = GetRowsPerPage();
  if (n <= 0 || page <= 0) return 0;
  int index = m_nPageStart + std::max(m_nSelRow, 0) + step;
  if (index < 0) index = n - 1;
  else if (index >= n) index = 0;
  const int pageStart = index - index % page;
  m_nSelRow = index - pageStart;
  if (pageStart != m_nPageStart) {
    m_nPageStart = pageStart;
    TurnToPage();
  }
  return 1;
}

int CReportTable::GetSelectedIndex() const { return m_nSelRow < 0 ? -1 : m_nPageStart + m_nSelRow; }

void CReportTable::SelectIndex(int index) {
  const int page = GetRowsPerPage();
  // A user list's rows come later: its place is checked against its items.
  if (index < 0 || index >= m_nItemCount || page <= 0) return;
  m_nPageStart = index - index % page;
  m_nSelRow = index - m_nPageStart;
  if (!IsMarketList()) m_nTopRow = m_nPageStart;
}

SCodeInfo CReportTable::GetSelectedCode() const {
  if (GetRowCount() == 0 || m_nSelRow < 0) return SCodeInfo{};
  if (IsMarketList()) {
    // After a page turn the rows still show the previous page until its
    // quotes arrive; the selection then means the item at that place of
    // the list.
    if (m_nShownPageStart != m_nPageStart) {
      const size_t index = static_cast<size_t>(m_nPageStart + m_nSelRow);
      return index < m_items.size() ? m_items[index] : SCodeInfo{};
    }
    const size_t index = static_cast<size_t>(m_nSelRow);
    return index < m_displayList.size() ? m_displayList[index] : SCodeInfo{};
  }
  const size_t index = static_cast<size_t>(m_nPageStart + m_nSelRow);
  return index < m_displayList.size() ? m_displayList[index] : SCodeInfo{};
}
