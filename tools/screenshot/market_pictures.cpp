// Pictures of the quote list's market tabs (market_pictures.h).
#include "tools/screenshot/market_pictures.h"

#include "platform/window.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/tables/report/report_columns.h"
#include "zeb/tables/report/report_format.h"
#include "zeb/tables/report/report_table.h"
#include "zeb/views/report/price_report_view.h"

namespace {

// File-name words of the lists of the market tabs; other lists by their id.
std::string TabWord(uint16_t market) {
  switch (market) {
    case 0x3000:
    case 4096: return "all";
    case 4116: return "index";
    case 4117: return "coins";
    case 4114: return "stamps";
    case 4115: return "phonecards";
    case 4119: return "covers";
    default: return "market-" + std::to_string(market);
  }
}

bool IsAllMarkets(uint16_t market) { return market == 0x3000 || market == 4096; }

// The rows shown are the clicked tab's: every row of its market.
bool ShowsList(CReportTable& table, uint16_t market) {
  const std::vector<SCodeInfo>& shown = table.GetDisplayList();
  if (table.GetMarket() != market || table.GetRowCount() == 0 || shown.empty()) return false;
  if (IsAllMarkets(market)) return true;
  for (const SCodeInfo& code : shown)
    if (code.market != market) return false;
  return true;
}

void ClickTab(CPriceReportView& list, int index) {
  const RECT r = list.Tabs().GetTab(index)->rect;
  list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

}  // namespace

std::vector<SMarketTabPicture> PictureMarketTabs(CPriceReportView& list, const KeepPicture& keep,
                                                 int timeoutMs) {
  std::vector<SMarketTabPicture> pictures;
  CRepTypeCtlPic& tabs = list.Tabs();
  for (int i = 0; i < tabs.GetTabCount(); ++i) {
    const SRepTabRecord* record = tabs.GetRecord(i);
    if (!record || !(record->market & kMarketListFlag)) continue;  // the favourites, blocks
    ClickTab(list, i);
    // The list's quotes come with the next reply; the timer asks again
    // should one be missed.
    platform::PumpUntil(
        [&] {
          if (ShowsList(list.Table(), record->market)) return true;
          list.SendMessage(WM_TIMER, kReportRefreshTimer, 0);
          return platform::PumpUntil([&] { return ShowsList(list.Table(), record->market); }, 500);
        },
        timeoutMs);
    SMarketTabPicture picture;
    picture.picture = "02-main-frame-" + TabWord(record->market) + ".png";
    picture.market = record->market;
    picture.shown = list.Table().GetDisplayList();
    keep(picture.picture, nullptr);
    pictures.push_back(std::move(picture));
  }
  if (tabs.GetTabCount() > 0) ClickTab(list, 0);
  return pictures;
}

void PictureSortedPage(CPriceReportView& list, const KeepPicture& keep, int timeoutMs) {
  CReportTable& table = list.Table();
  const uint16_t market = table.GetMarket();
  if (!platform::PumpUntil([&] { return ShowsList(table, market); }, timeoutMs)) return;
  // A click on the head of the last price; a second one when the first
  // only turned the direction.
  for (int click = 0;
       click < 2 && !(table.GetReportSortColumn() == kColLast && table.IsDescending()); ++click) {
    int x = 0;
    const auto& order = table.GetColumnOrder();
    for (size_t p = 0; p < order.size() && order[p] != kColLast; ++p)
      x += table.GetColumnWidth(order[p]);
    list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(x + 10, 5));
  }
  const int page = table.GetRowsPerPage();
  list.OnKey(table_keys::kNext, 0, 0);
  const std::string second = std::to_string(page + 1);
  platform::PumpUntil(
      [&] { return table.GetRowCount() > 0 && table.GetCellText(0, kColSequence) == second; },
      timeoutMs);
  // The market moves while the list refreshes on its timer: the picture
  // waits for the first refresh that marks a price that moved.
  auto marked = [&] {
    for (int row = 0; row < table.GetRowCount(); ++row)
      if (table.GetCellItem(row, kColLast)->background == kReportChangedBackground) return true;
    return false;
  };
  platform::PumpUntil(marked, timeoutMs);
  keep("02-main-frame-sorted.png", nullptr);
  list.OnKey(table_keys::kPrior, 0, 0);  // back to the first page
}
