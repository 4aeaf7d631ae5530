// The chart view and its two parts as windows and drawn objects: page
// codes, the keys that step items or switch pages, the first request of
// each page once per item, packet routing (by a copy of the type; the lent
// buffer untouched), the panel's board height, pages and missing index
// item, the messages the view takes, and one offscreen render checked for
// its regions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include <QImage>
#include <QWidget>

#include "tables/chart_packet_bytes.h"
#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/testing/menu_script.h"
#include "support/recording_painter.h"
#include "tables/tables_test_support.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/shell/dialogs/mine_info_dlg.h"
#include "zeb/views/stock/stock_view.h"

using namespace tables_test;
using test_support::RecordingPainter;
using test_support::SDrawn;

namespace {

constexpr uint16_t kMarket = 4114;
constexpr uint16_t kIndexMarket = 4113;
constexpr uint16_t kLonelyMarket = 4130;  // no index item for it
constexpr int kWidth = 1000;
constexpr int kHeight = 600;

struct WidgetApplicationFirst {
  WidgetApplicationFirst() { platform::testing::EnsureApplication(); }
};

// The main window: requests, report steps and the chart messages.
class MainWindow : public RequestRecorder {
 public:
  std::vector<int> steps;
  std::vector<std::pair<UINT, LPARAM>> chartMessages;
  SHistoryInterval chipBars;  // the last bars lent to the chip picture

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_REPORT_STEP) steps.push_back(*reinterpret_cast<const int*>(wParam));
    if (message == WM_CHIP_UPDATE && wParam == 0)
      chipBars = *reinterpret_cast<const SHistoryInterval*>(lParam);
    if (message == WM_CHIP_UPDATE || message == WM_STAT_PAGE)
      chartMessages.push_back({message, lParam});
    return RequestRecorder::WindowProc(message, wParam, lParam);
  }
  size_t Count(uint16_t type) const {
    size_t n = 0;
    for (const auto& r : requests) n += (r.type & 0xFF00) == type;
    return n;
  }
};

class StockViewTest : public WidgetApplicationFirst, public TablesTest {
 protected:
  StockViewTest() {
    LoadMarket({{kIndexMarket, {Item(399001, "IDX", 2000000)}},
                {kMarket, {Item(602001, "A", 12340, 100, 50000), Item(602002, "B", 10000)}},
                {kLonelyMarket, {Item(800001, "L", 5000)}}});
    store.SetMainWnd(main.GetSafeHwnd());
    CPriceVolObj::ClearTraceCodes();
  }
  ~StockViewTest() override { view.DestroyWindow(); }

  void Show() {
    view.Create(nullptr, CRect(0, 0, kWidth, kHeight), 0, WS_POPUP | WS_VISIBLE);
    view.OnInitialUpdate();
    view.KillTimer(kCrosshairTimer);
    view.KillTimer(kChartRefreshTimer);
  }
  int Open(int32_t code, int mode, uint16_t market = kMarket) {
    SCurItem item;
    item.page = kPageChart;
    item.mode = mode;
    item.code = SCodeInfo{market, code};
    return view.SetCurItem(&item);
  }
  void Feed(const std::string& body) { view.OnData(body.data(), static_cast<int>(body.size())); }
  // The capital reply of an item without records (the chip page's shares).
  void FeedNoCapitalRecords() {
    PacketBytes capital;
    capital.U16(0, 0x1300).U16(4, 0).Size(10);
    Feed(capital.Bytes());
  }
  // What the K-line chart tells the panel: 20 bars, the price area, the
  // technical page shown and the cursor bar.
  void TellChips(int cursor) {
    chipBars.clear();
    for (int i = 0; i < 20; ++i)
      chipBars.push_back(
          SHistoryUnit{20251201 + i, 12.0f, 12.5f + 0.05f * i, 11.5f, 12.2f, 1000, 0});
    chipInterval = SHistoryInterval{static_cast<int>(chipBars.size()), chipBars.data()};
    const RECT area{0, 20, 0, 400};
    view.SendMessage(WM_CHIP_UPDATE, 0, reinterpret_cast<LPARAM>(&chipInterval));
    view.SendMessage(WM_CHIP_UPDATE, 3, reinterpret_cast<LPARAM>(&area));
    view.SendMessage(WM_CHIP_UPDATE, 2, 1);
    view.SendMessage(WM_CHIP_UPDATE, 1, cursor);
  }
  double ChipsHeld() {
    double held = 0;
    for (double b : view.Panel().Chips().Bins()) held += b;
    return held;
  }

  MainWindow main;
  // Before the view: the chip picture keeps a pointer to them.
  std::vector<SHistoryUnit> chipBars;
  SHistoryInterval chipInterval{};
  CStockView view{&store};
};

TEST_F(StockViewTest, PageCodesChooseTheAnalysisPageAndThePanelPage) {
  Show();
  struct Case {
    int mode;
    int analysisPage;
    int panelPage;
    int subPic;
  } cases[] = {
      {0x22, kPageTechnical, kPanelItemChart, 0},
      {0x12, kPageTimeShare, kPanelTicks, 2},
      {0x15, kPageTimeShare, kPanelBigOrders, 2},  // panel page 5 while the bar is on tab 0
      {0x30, kPageTimeShare, kPanelBigOrders, 2},  // a new item shows the time-share chart
  };
  for (const Case& c : cases) {
    main.requests.clear();
    ASSERT_EQ(Open(602001, c.mode), 1) << c.mode;
    EXPECT_EQ(view.Analysis().GetPage(), c.analysisPage) << c.mode;
    EXPECT_EQ(view.Panel().GetPage(), c.panelPage) << c.mode;
    EXPECT_EQ(view.Analysis().GetSubPicType(), c.subPic) << c.mode;
    if (c.panelPage == kPanelBigOrders) {
      EXPECT_EQ(main.Count(0x1C00), 1u);
    }
  }
  EXPECT_EQ(view.GetPageCode(), 0x12);
  // An unknown code changes nothing.
  EXPECT_EQ(Open(999999, 0x20), 0);
  EXPECT_EQ(+view.Stock().code, 602001);
}

TEST_F(StockViewTest, PageKeysStepOneItemOnlyOnTheChartPagesAndTheKeyGoesOn) {
  Show();
  Open(602001, 0x10);
  EXPECT_EQ(view.OnKey(VK_NEXT, 1, 0), 0);
  EXPECT_EQ(main.steps, std::vector<int>{1});
  view.OnKey(VK_PRIOR, 1, 0);
  EXPECT_EQ(main.steps, (std::vector<int>{1, -1}));
  view.SetAnalysisKind(2);
  ASSERT_EQ(view.Analysis().GetPage(), kPageDeals);
  view.OnKey(VK_NEXT, 1, 0);
  EXPECT_EQ(main.steps.size(), 2u);
  // F2: an index item takes it and nothing changes; without an item 0.
  CStockView empty(&store);
  EXPECT_EQ(empty.OnKey(VK_F2, 1, 0), 0);
  Open(399001, 0x10, kIndexMarket);
  EXPECT_EQ(view.OnKey(VK_F2, 1, 0), 1);
  EXPECT_EQ(view.Analysis().GetPage(), kPageTimeShare);
}

TEST_F(StockViewTest, EachPageSendsItsFirstRequestOncePerItem) {
  Show();
  Open(602001, 0x10);
  EXPECT_EQ(main.Count(0x0300), 1u);
  CAnalisysObj& a = view.Analysis();
  a.SetKind(0);
  EXPECT_EQ(main.Count(0x0300), 1u);
  EXPECT_EQ(view.OnKey(VK_F1, 1, 0), 1);  // deal details
  EXPECT_EQ(main.Count(0x0100), 1u);
  EXPECT_EQ(view.OnKey(VK_F1, 1, 0), 0);  // already there: nothing sent
  EXPECT_EQ(main.Count(0x0100), 1u);
  view.OnKey(VK_F2, 1, 0);
  EXPECT_EQ(main.Count(0x0100), 2u);
  EXPECT_TRUE(a.IsVisited(kPageDistribution));
  // Tab from the distribution returns to the time-share chart.
  EXPECT_EQ(a.OnKey(9), 1);
  EXPECT_EQ(a.GetPage(), kPageTimeShare);
  EXPECT_EQ(a.Tabs().GetCurSel(), 0);
  // Into technical analysis (day lines) and back: one K-line request.
  a.OnKey(9);
  EXPECT_EQ(main.Count(0x0500), 1u);
  a.SetKind(0);
  a.SetKind(1);
  EXPECT_EQ(main.Count(0x0500), 1u);
  // A new item asks again.
  Open(602002, 0x10);
  EXPECT_EQ(main.Count(0x0300), 2u);
  // The technical page told the main window, the others untold it.
  ASSERT_FALSE(main.chartMessages.empty());
  EXPECT_EQ(main.chartMessages.back(), (std::pair<UINT, LPARAM>{WM_CHIP_UPDATE, 0}));
}

TEST_F(StockViewTest, PacketsReachOnlyTheirPagesAndTheLentBufferIsNotWritten) {
  Show();
  Open(602001, 0x10);
  view.SetAnalysisKind(2);
  CAnalisysObj& a = view.Analysis();
  const int before = a.PriceVol().PacketsTaken() + a.HisTech().PacketsTaken();
  PacketBytes info;
  info.U16(0, 0x1101).Size(40);
  std::string body = info.Bytes();
  Feed(body);
  EXPECT_EQ(a.PriceVol().PacketsTaken() + a.HisTech().PacketsTaken(), before);
  EXPECT_EQ(static_cast<uint8_t>(body[0]), 0x01);  // the type's low byte is still there
  view.SetAnalysisKind(0);
  Feed(body);
  EXPECT_EQ(a.PriceVol().PacketsTaken(), before + 1);
}

// Put out of its pane the view lets go of its deal and tick rows; hidden
// with its main window (minimised) it keeps them.
TEST_F(StockViewTest, AViewPutOutOfItsPaneLetsGoOfItsDealAndTickRows) {
  const struct {
    const char* name;
    bool paneHidden;  // else the main window is
    bool kept;
  } cases[] = {{"the view hidden", true, false}, {"the main window hidden", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CWndImpl<QWidget> host;
    ASSERT_TRUE(host.Create(nullptr, CRect(0, 0, kWidth, kHeight), 0, WS_POPUP | WS_VISIBLE));
    CStockView child(&store);
    ASSERT_TRUE(child.Create(&host, CRect(0, 0, kWidth, kHeight), AFX_IDW_PANE_FIRST,
                             WS_CHILD | WS_VISIBLE));
    child.OnInitialUpdate();
    SCurItem item;
    item.page = kPageChart;
    item.mode = 0x30;
    item.code = SCodeInfo{kMarket, 602001};
    child.SetCurItem(&item);
    TickBytes tick;
    tick.volume = 100;
    tick.curVolume = 100;
    tick.last = 12340;
    const std::string trace =
        TraceBody(tick, {{0, 12340, 5, 12330, 12340}, {1, 12350, 6, 12340, 12350}});
    child.OnData(trace.data(), static_cast<int>(trace.size()));
    const std::string deals = DealListBody({{0, 12340, 5, 12330, 12340}}, CPublic::GetRequestTag());
    child.OnData(deals.data(), static_cast<int>(deals.size()));
    ASSERT_EQ(child.Analysis().Deals().DealCount(), 1);
    ASSERT_EQ(child.Panel().Ticks().Ticks().size(), 2u);
    if (c.paneHidden) child.ShowWindow(SW_HIDE);
    else host.ShowWindow(SW_HIDE);
    EXPECT_EQ(child.Analysis().Deals().DealCount(), c.kept ? 1 : 0);
    EXPECT_EQ(child.Panel().Ticks().Ticks().size(), c.kept ? 2u : 0u);
    child.DestroyWindow();
    host.DestroyWindow();
  }
}

TEST_F(StockViewTest, PanelBoardHeightPagesAndMissingIndexItem) {
  Show();
  CStatInfoObj& panel = view.Panel();
  Open(602001, 0x10);
  EXPECT_EQ(panel.Board().GetRect().bottom - panel.Board().GetRect().top, 18 * 19);
  Open(399001, 0x10, kIndexMarket);
  EXPECT_EQ(panel.Board().GetRect().bottom - panel.Board().GetRect().top, 18 * 14);

  // Page 4: the capital records are taken, pushes are not.
  Open(602001, 0x10);
  panel.SelectTab(3);
  ASSERT_EQ(panel.GetPage(), kPanelChips);
  TickBytes t;
  t.last = 12500;
  t.volume = 999;
  t.levels = TenLevels(12500, 12510);
  Feed(PushBody({t}));
  EXPECT_EQ(panel.Board().GetCellText(5, 1), "-");
  PacketBytes capital;
  capital.U16(0, 0x1300).U16(4, 2).Size(10 + 32);
  Feed(capital.Bytes());
  EXPECT_EQ(panel.Chips().CapitalRecords(), 2);
  EXPECT_EQ(panel.Chips().Shares(), 50000);
  panel.SelectTab(0);
  Feed(PushBody({t}));
  EXPECT_EQ(panel.Board().GetCellText(5, 1), "12.50");

  // A market without an index item: the index chart's tab asks for nothing.
  Open(800001, 0x10, kLonelyMarket);
  EXPECT_EQ(panel.IndexStock(), nullptr);
  main.requests.clear();
  panel.SelectTab(2);
  EXPECT_EQ(main.Count(0x0900), 0u);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  CDC dc(&image);
  EXPECT_EQ(panel.Draw(&dc), 1);
  // '+' walks the tabs: 2 -> 3 -> 4 -> 5 -> 0.
  for (int tab : {3, 4, 5, 0}) {
    panel.OnKey(187);
    EXPECT_EQ(panel.GetCurTab(), tab);
  }
}

// After the settings dialog saves a new scheme the panel's figures take the
// new colours at once, not with the next reply.
TEST_F(StockViewTest, ANewSchemeRecoloursThePanelsFigures) {
  Show();
  Open(602001, 0x10);
  TickBytes t;
  t.last = 12500;  // above the previous close: the rise colour
  t.volume = 999;
  t.levels = TenLevels(12500, 12510);
  Feed(PushBody({t}));
  CStatTable& board = view.Panel().Board();
  ASSERT_EQ(board.GetCellText(5, 1), "12.50");
  CSysStyle* style = CSysStyle::GetInstance();
  const std::vector<SColorEntry> saved = *style->GetColorList();
  const COLORREF rise = style->GetColor(2);
  ASSERT_EQ(board.GetCellItem(5, 1)->textColor, rise);
  const COLORREF recoloured = rise ^ 0x00FFFFFF;
  for (SColorEntry& e : *style->GetColorList())
    if (e.id == 2) e.color = recoloured;
  view.OnSchemeChanged();
  EXPECT_EQ(board.GetCellItem(5, 1)->textColor, recoloured);
  *style->GetColorList() = saved;
}

// A day-line reply of n bars (closes rising by 0.10 from 10.00).
std::string HistoryBody(int32_t code, int n) {
  PacketBytes b;
  b.U16(0, 0x0500 + 61)
      .U16(2, 1)
      .U16(4, 1)
      .U16(10, kMarket)
      .U32(12, uint32_t(code))
      .U16(16, uint16_t(n));
  for (int i = 0; i < n; ++i) {
    const size_t at = 22 + 28 * size_t(i);
    const uint32_t close = 10000 + 100 * uint32_t(i);
    const uint32_t date = 20250000 + 100 * uint32_t(1 + i / 28) + uint32_t(1 + i % 28);
    b.U32(at, date).U32(at + 4, close - 50).U32(at + 8, close + 80).U32(at + 12, close - 90);
    b.U32(at + 16, close).U32(at + 20, 1000).U32(at + 24, 100000);
  }
  return b.Bytes();
}

// Page 32 hosts the K-line chart: its history is drawn as bars, its cursor
// box and interval statistics are placed over it, and its visible bars go
// to the chip picture through the main window.
TEST_F(StockViewTest, TheTechnicalPageHostsTheKLineChart) {
  Show();
  Open(602001, 0x20);
  ASSERT_EQ(main.Count(0x0500), 1u);
  CAnalisysObj& a = view.Analysis();
  Feed(HistoryBody(602001, 60));
  CHisTechObj& chart = a.HisTech();
  ASSERT_EQ(chart.Raw().size(), 60u);
  ASSERT_GT(chart.End(), chart.First());
  ASSERT_EQ(main.chipBars.count, chart.End() - chart.First());
  EXPECT_EQ(main.chipBars.units, chart.Shown() + chart.First());
  // Another item: the chip picture lets go of these bars.
  Open(602002, 0x20);
  EXPECT_EQ(main.chipBars.count, 0);
  EXPECT_EQ(main.chipBars.units, nullptr);
  Open(602001, 0x20);
  Feed(HistoryBody(602001, 60));
  ASSERT_EQ(chart.Raw().size(), 60u);

  // The cursor box follows the bar under the mouse, at its fixed place.
  const std::vector<int>& x = chart.XPositions();
  ASSERT_GE(x.size(), 5u);
  const int y = (chart.KLineArea().top + chart.KLineArea().bottom) / 2;
  a.OnMouseMove(x[2] + 1, y);
  ASSERT_TRUE(a.IsCursorBoxShown());
  const RECT& box = a.CursorTable().GetRect();
  EXPECT_EQ(box.left, a.GetRect().left);
  EXPECT_EQ(box.top, a.GetRect().top + 16);
  EXPECT_EQ(box.right - box.left, 66);
  EXPECT_EQ(box.bottom - box.top, 292);
  EXPECT_EQ(a.CursorTable().GetColumnWidth(0), 66);  // its texts have room
  const SHistoryUnit& under = chart.Shown()[chart.First() + chart.CursorOffset()];
  EXPECT_EQ(a.CursorTable().GetCellText(1, 0), TextPrintf("%08d", under.nDate));
  // Its last rows: the price at the pointer's height, inside the K-line
  // pane's price range.
  EXPECT_EQ(a.CursorTable().GetCellText(14, 0), GBK("数    值"));
  const double value = std::atof(a.CursorTable().GetCellText(15, 0).c_str());
  float low = 1e9f, high = 0;
  for (int i = chart.First(); i < chart.End(); ++i) {
    low = std::min(low, chart.Shown()[i].fLow);
    high = std::max(high, chart.Shown()[i].fHigh);
  }
  EXPECT_GT(value, low * 0.8);
  EXPECT_LT(value, high * 1.2);
  // Dragged by the mouse, the box goes where the chart keeps it.
  const POINT grab{box.left + 10, box.top + 10};
  a.OnLButtonDown(grab.x, grab.y);
  a.OnMouseMove(grab.x + 200, grab.y + 30);
  a.OnLButtonUp(grab.x + 200, grab.y + 30);
  EXPECT_EQ(a.CursorTable().GetRect().left, a.GetRect().left + 200);
  EXPECT_EQ(a.CursorTable().GetRect().top, a.GetRect().top + 46);
  EXPECT_EQ(a.CursorTable().GetRect().right - a.CursorTable().GetRect().left, 66);
  // Left parks the real pointer on the chart's top-left corner.
  POINT corner{chart.GetRect().left, chart.GetRect().top};
  view.ClientToScreen(&corner);
  ::SetCursorPos(corner.x + 50, corner.y + 60);
  view.OnKey(VK_LEFT, 1, 0);
  POINT pointer{};
  ASSERT_TRUE(::GetCursorPos(&pointer));
  EXPECT_EQ(pointer.x, corner.x);
  EXPECT_EQ(pointer.y, corner.y);

  // Two clicks after the interval command mark a range; Esc hides it.
  view.OnCommand(kline_cmd::kIntervalStat);
  a.OnMouseMove(x[1] + 1, y);
  a.OnLButtonDown(x[1] + 1, y);
  a.OnMouseMove(x[4] + 1, y);
  a.OnLButtonDown(x[4] + 1, y);
  ASSERT_TRUE(a.IsIntervalShown());
  EXPECT_EQ(a.IntervalTable().GetCellText(0, 2),
            TextPrintf("%d", chart.Shown()[chart.First() + 1].nDate));
  EXPECT_EQ(a.IntervalTable().GetCellText(1, 2),
            TextPrintf("%d", chart.Shown()[chart.First() + 4].nDate));
  view.OnKey(VK_ESCAPE, 1, 0);
  EXPECT_FALSE(a.IsIntervalShown());

  // The picture shows the candles.
  const QImage image = view.GetWidget()->grab().toImage();
  const COLORREF background = Color(19);
  const QRgb back = qRgb(GetRValue(background), GetGValue(background), GetBValue(background));
  int painted = 0;
  const RECT& area = chart.KLineArea();
  for (int py = area.top + 1; py < area.bottom - 1; ++py)
    for (int px = area.left + 80; px < area.right - 1; ++px) painted += image.pixel(px, py) != back;
  EXPECT_GT(painted, 500);
}

// Each ex-rights entry of the chart's right-click menu does what it says,
// and the entry of the chart's mode is the one checked: 不复权 on a fresh
// chart.
TEST_F(StockViewTest, TheExRightsEntriesAreCheckedAndLabelledByWhatTheyDo) {
  Show();
  Open(602001, 0x20);
  Feed(HistoryBody(602001, 60));
  CAnalisysObj& a = view.Analysis();
  CHisTechObj& chart = a.HisTech();
  const POINT at{chart.DateAxis().left + 50, chart.DateAxis().top + 5};  // the chart's menu
  const char* const labels[] = {"不复权", "前复权", "后复权"};
  // The menu as offered: each label's command and whether the view (the
  // main window asks the active view) checks it.
  struct SEntry {
    UINT id = 0;
    bool checked = false;
  };
  class CheckUI : public CCmdUI {
   public:
    int checked = -1;
    void Enable(BOOL) override {}
    void SetCheck(int check) override { checked = check; }
  };
  auto offered = [&]() {
    std::map<std::string, SEntry> entries;
    platform::testing::ScopedMenuScript script({0});
    a.OnRButtonDown(&view, at.x, at.y);
    for (const auto& item : script.Offered().at(0))
      for (const char* label : labels)
        if (item.text == GBK(label)) {
          CheckUI ui;
          ui.m_nID = item.id;
          view.UpdateCommandUI(&ui);
          entries[label] = SEntry{item.id, ui.checked == 1};
        }
    return entries;
  };
  auto checkedOnly = [&](const std::string& label) {
    const auto entries = offered();
    EXPECT_EQ(entries.size(), 3u);
    for (const auto& [text, entry] : entries) EXPECT_EQ(entry.checked, text == label) << text;
  };
  EXPECT_EQ(chart.ExRightsMode(), kExRightsNone);
  checkedOnly("不复权");
  const struct {
    const char* label;
    int mode;
  } cases[] = {
      {"前复权", kExRightsForward}, {"后复权", kExRightsBackward}, {"不复权", kExRightsNone}};
  for (const auto& c : cases) {
    view.OnCommand(static_cast<int>(offered()[c.label].id));
    EXPECT_EQ(chart.ExRightsMode(), c.mode) << c.label;
    checkedOnly(c.label);
  }
}

// The time-share reply of item A: 30 minutes of points around 12.40 and
// the record at 09:59.
std::string ThirtyMinutes() {
  TickBytes quote;
  quote.time = 570 + 29;
  quote.last = 12340 + 10 * (29 % 7);
  quote.volume = 90;
  quote.levels = TenLevels(12500, 12510);
  std::vector<DealBytes> ticks;
  std::vector<PointBytes> points;
  for (int i = 0; i < 30; ++i) {
    const uint32_t price = 12340u + 10u * (i % 7);
    ticks.push_back({static_cast<uint16_t>(i), price, 3, 0, 0});
    points.push_back({static_cast<uint16_t>(i), price, 3, 12350});
  }
  return TraceBody(quote, ticks, -1, points);
}

// Daily bars of item A with a peak in the middle: the last bar holds no
// extreme.
constexpr int kPeakBars = 80;
std::string PeakHistory() {
  PacketBytes b;
  b.U16(0, 0x0500 + 61).U16(2, 1).U16(4, 1).U16(10, kMarket).U32(12, 602001u).U16(16, kPeakBars);
  for (int i = 0; i < kPeakBars; ++i) {
    const size_t at = 22 + 28 * size_t(i);
    const uint32_t close = 10000 + 100 * uint32_t(std::min(i, kPeakBars - 1 - i));
    const uint32_t date = 20250000 + 100 * uint32_t(1 + i / 28) + uint32_t(1 + i % 28);
    b.U32(at, date).U32(at + 4, close - 50).U32(at + 8, close + 80).U32(at + 12, close - 90);
    b.U32(at + 16, close).U32(at + 20, 1000).U32(at + 24, 100000);
  }
  return b.Bytes();
}

// The number of pixels where two pictures of the same size differ.
int Differing(const QImage& got, const QImage& want) {
  int differing = 0;
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x) differing += got.pixel(x, y) != want.pixel(x, y);
  return differing;
}

// A tick that moves only the K-line's last bar is painted from the view's
// back buffer with just the areas the chart reports: the window then shows
// the very pixels a repaint of everything gives.
TEST_F(StockViewTest, ATickRepaintsOnlyTheChangedAreasWithTheSamePixels) {
  Show();
  Open(602001, 0x20);
  Feed(PeakHistory());
  ASSERT_EQ(view.Analysis().HisTech().Raw().size(), size_t(kPeakBars));
  auto tick = [&](uint32_t price) {
    TickBytes t;
    t.open = 10000, t.high = std::max(10100u, price), t.low = 9950, t.last = price, t.volume = 1000;
    Feed(PushBody({t}));
  };
  tick(10020);
  EXPECT_FALSE(view.IsPartialRepaintPending());  // nothing kept yet of what lies under
  view.GetWidget()->grab();
  for (uint32_t price : {10050u, 10000u, 10080u}) {
    tick(price);
    ASSERT_TRUE(view.IsPartialRepaintPending()) << price;
    const QImage got = view.GetWidget()->grab().toImage();
    EXPECT_FALSE(view.IsPartialRepaintPending());
    view.Repaint();
    const QImage want = view.GetWidget()->grab().toImage();
    ASSERT_EQ(got.size(), want.size());
    EXPECT_EQ(Differing(got, want), 0) << price;
  }
  // A tick that moves the price pane's range repaints everything.
  tick(30000);
  EXPECT_FALSE(view.IsPartialRepaintPending());
}

// With the panel's page on the item's small time-share chart, a tick inside
// its scales has the panel ask for the chart's newest columns, not the whole
// chart, and the window shows the pixels of a repaint of everything.
TEST_F(StockViewTest, ATickRepaintsOnlyThePanelChartsNewestColumns) {
  Show();
  Open(602001, 0x22);
  Feed(PeakHistory());
  CStatInfoObj& panel = view.Panel();
  ASSERT_EQ(panel.GetPage(), kPanelItemChart);
  Feed(ThirtyMinutes());
  ASSERT_EQ(panel.ItemChart().GetDataCount(), 30);
  const RECT chart = panel.ItemChart().GetRect();
  // Of the last minute again, a new price without new volume: the small
  // chart's volume scale has only two rows, so any higher bar moves it.
  auto tick = [&](uint32_t price) {
    TickBytes t;
    t.time = 570 + 29;
    t.open = 12340, t.high = 12400, t.low = 12300, t.last = price, t.average = price;
    t.volume = 90;
    Feed(PushBody({t}));
  };
  tick(12340);  // the K-line chart keeps what lies under it from now on
  view.GetWidget()->grab();
  for (uint32_t price : {12350u, 12370u}) {
    tick(price);
    ASSERT_EQ(panel.ItemChart().Unpainted(), CChartChanges(EChartChange::kLastBar)) << price;
    std::vector<RECT> areas;
    ASSERT_TRUE(panel.ChangedAreas(&areas)) << price;
    int inChart = 0;
    for (const RECT& r : areas) {
      RECT both;
      if (!IntersectRect(both, r, chart)) continue;
      ++inChart;
      EXPECT_LT(r.right - r.left, (chart.right - chart.left) / 4) << price;
    }
    EXPECT_GT(inChart, 0) << price;
    ASSERT_TRUE(view.IsPartialRepaintPending()) << price;
    const QImage got = view.GetWidget()->grab().toImage();
    EXPECT_TRUE(panel.ItemChart().Unpainted().None());
    view.Repaint();
    const QImage want = view.GetWidget()->grab().toImage();
    EXPECT_EQ(Differing(got, want), 0) << price;
  }
}

// A double click on a news mark opens the information window on that date's
// entry; its text reply reaches the window.
TEST_F(StockViewTest, ANewsMarkOpensTheInformationWindow) {
  Show();
  Open(602001, 0x20);
  Feed(HistoryBody(602001, 60));
  CHisTechObj& chart = view.Analysis().HisTech();
  ASSERT_GE(chart.XPositions().size(), 3u);
  const int marked = chart.Shown()[chart.First() + 2].nDate;
  PacketBytes titles;
  titles.U16(0, 0x1E00).U16(2, 1).U32(10, 2);
  const std::string first = "first", second = "second";
  titles.U32(18, uint32_t(marked)).U8(22, uint8_t(first.size()));
  std::string body = titles.Size(27).Bytes() + first;
  PacketBytes next;
  next.U32(0, uint32_t(marked - 1)).U8(4, uint8_t(second.size())).Size(9);
  body += next.Bytes() + second;
  Feed(body);
  ASSERT_EQ(chart.Titles().size(), 2u);
  EXPECT_EQ(view.InfoWindow(), nullptr);

  const int x = chart.XPositions()[2] + 1, y = chart.KLineArea().top + 20;
  view.Analysis().OnMouseMove(x, y);
  view.OnLButtonDblClk(0, CPoint(x, y));
  ASSERT_NE(view.InfoWindow(), nullptr);
  EXPECT_TRUE(view.InfoWindow()->IsWindowVisible());
  EXPECT_EQ(view.InfoWindow()->List().GetItemCount(), 2);
  EXPECT_EQ(view.InfoWindow()->GetDate(), marked);
  PacketBytes text;
  text.U16(0, 0x1100).U16(2, 32).Size(12);
  Feed(text.Bytes() + "news text" + std::string(1, '\0'));
  EXPECT_NE(view.InfoWindow()->Html().GetHtmlText().find("news text"), std::string::npos);
  // New titles hide the list of the old ones.
  Feed(body);
  EXPECT_FALSE(view.InfoWindow()->IsWindowVisible());
}

TEST_F(StockViewTest, ChartMessagesAndThePanelToggle) {
  Show();
  Open(602001, 0x20);
  view.Panel().SelectTab(3);
  EXPECT_EQ(view.SendMessage(WM_STAT_PAGE, 0, 1), 1);
  EXPECT_EQ(view.Analysis().HisTech().ChipPageShown(), 1);
  EXPECT_EQ(view.SendMessage(WM_CHIP_UPDATE, 2, 1), 1);
  EXPECT_EQ(view.Panel().Chips().IsTechShown(), 1);
  view.TogglePanel();
  EXPECT_EQ(view.Analysis().GetRect().right, kWidth);
  EXPECT_TRUE(IsRectEmpty(view.Panel().GetRect()));
  view.TogglePanel();
  EXPECT_EQ(view.Panel().GetRect().left, kWidth - kPanelWidth);
}

TEST_F(StockViewTest, ARenderShowsTheChartTheTabsAndThePanel) {
  Show();
  Open(602001, 0x10);
  const QImage empty = view.GetWidget()->grab().toImage();
  Feed(ThirtyMinutes());
  ASSERT_EQ(view.Analysis().PriceVol().GetDataCount(), 30);
  const QImage image = view.GetWidget()->grab().toImage();
  const COLORREF background = Color(19);
  const QRgb back = qRgb(GetRValue(background), GetGValue(background), GetBValue(background));
  const auto paintedIn = [&](int left, int top, int right, int bottom) {
    int painted = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) painted += image.pixel(x, y) != back;
    return painted;
  };
  // The day's price line: the price picture changed where the minutes lie.
  const RECT price = view.Analysis().PriceVol().PriceRect();
  int changed = 0;
  for (int y = price.top; y < price.bottom; ++y)
    for (int x = price.left; x < price.right; ++x)
      changed += image.pixel(x, y) != empty.pixel(x, y);
  EXPECT_GT(changed, 30);
  const int chartRight = kWidth - kPanelWidth;
  EXPECT_GT(paintedIn(0, kHeight - kAnalysisTabHeight, chartRight, kHeight), 100);  // the page tabs
  EXPECT_GT(paintedIn(chartRight + 2, 0, kWidth, kTitleRowHeight), 20);             // the title
  EXPECT_GT(paintedIn(chartRight + 2, 22, kWidth, 22 + 18 * 19), 500);              // the board
  // The panel's left edge line.
  EXPECT_NE(image.pixel(chartRight, kHeight / 2), back);
}

// The time-share page is the real chart: a late reply of the item shown
// before is refused, the cursor box is the chart information table showing
// the minute under the mouse, and the chart's commands reach it.
TEST_F(StockViewTest, TheTimeSharePageShowsTheMinuteUnderTheCursorInItsBox) {
  Show();
  Open(602002, 0x10);
  Feed(ThirtyMinutes());  // item A's day while B is shown
  EXPECT_EQ(view.Analysis().PriceVol().GetDataCount(), 0);
  Open(602001, 0x12);
  Feed(ThirtyMinutes());
  CAnalisysObj& a = view.Analysis();
  CPriceVolObj& chart = a.PriceVol();
  ASSERT_EQ(chart.GetDataCount(), 30);
  const RECT price = chart.PriceRect();
  // Across the minutes to the one whose x is the picture's for minute 3.
  int x = price.left, y = (price.top + price.bottom) / 2;
  while (x < price.right && chart.GetCursorIndex() != 3) a.OnMouseMove(++x, y);
  ASSERT_EQ(chart.GetCursorIndex(), 3);
  const CInfoTable& box = a.InfoBox().Table();
  EXPECT_EQ(box.GetCellText(1, 0), "09:33");
  EXPECT_EQ(box.GetCellText(3, 0), "12.37");
  EXPECT_EQ(box.GetCellText(7, 0), "12.35");
  // Past the minutes with data: the time alone.
  while (x < price.right - 1 && chart.GetCursorIndex() < 40) a.OnMouseMove(++x, y);
  ASSERT_EQ(chart.GetCursorIndex(), 40);
  EXPECT_EQ(box.GetRowCount(), 2);
  EXPECT_EQ(box.GetCellText(1, 0), "10:10");
  // The crosshair on (a click) with the mouse in the chart draws the box.
  const QImage without = view.GetWidget()->grab().toImage();
  a.OnLButtonDown(x, y);
  a.OnMouseMove(x, y);
  ASSERT_TRUE(chart.IsCrosshairOn());
  const QImage with = view.GetWidget()->grab().toImage();
  const RECT r = box.GetRect();
  int changed = 0;
  for (int by = r.top; by < r.bottom; ++by)
    for (int bx = r.left; bx < r.right; ++bx)
      changed += with.pixel(bx, by) != without.pixel(bx, by);
  EXPECT_GT(changed, 50);
  // "成交量" from the menu drops the extra pane (the page code said 2).
  ASSERT_EQ(a.GetSubPicType(), 2);
  EXPECT_EQ(view.OnCommand(static_cast<int>(CPriceVolObj::kVolumeCommand)), 1);
  EXPECT_EQ(a.GetSubPicType(), 0);
}

// The time-share chart paints its box through the painter it paints its
// pictures with, over them and only while the crosshair is on with the
// mouse in the chart: the box's background, the cursor table's rows, the
// frame last.
TEST_F(StockViewTest, TheTimeShareBoxPaintsOverTheChartThroughTheChartsPainter) {
  Show();
  Open(602001, 0x12);
  Feed(ThirtyMinutes());
  CAnalisysObj& a = view.Analysis();
  CPriceVolObj& chart = a.PriceVol();
  const RECT price = chart.PriceRect();
  int x = price.left, y = (price.top + price.bottom) / 2;
  while (x < price.right && chart.GetCursorIndex() != 3) a.OnMouseMove(++x, y);
  ASSERT_EQ(chart.GetCursorIndex(), 3);
  const CInfoTable& box = a.InfoBox().Table();
  const RECT r = box.GetRect();
  // Where the box's background is filled; none: drawn.size().
  const auto boxStart = [&](const RecordingPainter& p) {
    size_t i = 0;
    while (i < p.drawn.size() &&
           !(p.drawn[i].kind == SDrawn::Kind::kFill && EqualRect(p.drawn[i].rect, r) &&
             p.drawn[i].fill == box.GetBkColor()))
      ++i;
    return i;
  };
  RecordingPainter off;
  chart.Paint(off);
  EXPECT_EQ(boxStart(off), off.drawn.size());

  a.OnLButtonDown(x, y);
  a.OnMouseMove(x, y);
  ASSERT_TRUE(chart.IsCrosshairOn());
  RecordingPainter on;
  chart.Paint(on);
  const size_t start = boxStart(on);
  ASSERT_LT(start, on.drawn.size());
  EXPECT_GT(start, 0u);  // the pictures first
  std::vector<std::string> texts;
  for (size_t i = start; i < on.drawn.size(); ++i)
    if (on.drawn[i].kind == SDrawn::Kind::kText) texts.push_back(on.drawn[i].text);
  ASSERT_EQ(texts.size(), static_cast<size_t>(box.GetRowCount()));
  EXPECT_EQ(texts[1], "09:33");
  EXPECT_EQ(texts[3], "12.37");
  EXPECT_EQ(texts[7], "12.35");
  const SDrawn& frame = on.drawn.back();
  EXPECT_EQ(frame.kind, SDrawn::Kind::kRect);
  EXPECT_TRUE(EqualRect(frame.rect, r));
  EXPECT_EQ(frame.fill, kHollow);
}

// The panel's two small charts and its chip page are the real charts: the
// item's chart takes the time-share reply, the index chart the index item's
// pushes once its tab asked for them, and the chip page computes a
// distribution from what the K-line chart tells it.
TEST_F(StockViewTest, ThePanelChartsAndChipsTakeTheirData) {
  Show();
  Open(602001, 0x10);
  CStatInfoObj& panel = view.Panel();
  main.requests.clear();
  panel.SelectTab(1);
  EXPECT_EQ(main.Count(0x0300), 1u);
  Feed(ThirtyMinutes());
  EXPECT_EQ(panel.ItemChart().GetStyle(), kPanelItemChartStyle);
  EXPECT_EQ(panel.ItemChart().GetDataCount(), 30);
  panel.SelectTab(2);
  ASSERT_EQ(main.Count(0x0900), 1u);
  EXPECT_EQ(main.requests.back().items.back(), (SCodeInfo{kIndexMarket, 399001}));
  TickBytes index;
  index.market = kIndexMarket;
  index.code = 399001;
  index.time = 575;
  index.last = 2010000;
  index.volume = 500;
  index.curVolume = 500;
  Feed(PushBody({index}));
  // The view was made before the market table (its trade date) arrived.
  EXPECT_EQ(panel.IndexChart().GetStyle(), kPanelIndexChartStyle);
  EXPECT_EQ(panel.IndexChart().GetDataCount(), 6);
  EXPECT_EQ(panel.IndexChart().Prices()[5], 2010000);

  // The chip page: shares from the capital records, bars, the price area,
  // the technical page shown and the cursor bar, as the K-line chart sends them.
  panel.SelectTab(3);
  FeedNoCapitalRecords();
  TellChips(15);
  EXPECT_EQ(panel.Chips().GetCurIndex(), 15);
  ASSERT_EQ(panel.Chips().Bins().size(), 190u);
  EXPECT_GT(ChipsHeld(), 0.0);
}

// The K-line tells the panel its cursor bar whatever page the panel shows:
// the chip page chosen afterwards draws that bar's distribution at once.
TEST_F(StockViewTest, TheChipPageChosenAfterTheCursorMovedDrawsAtOnce) {
  Show();
  Open(602001, 0x10);
  CStatInfoObj& panel = view.Panel();
  panel.SelectTab(0);
  FeedNoCapitalRecords();
  TellChips(12);
  panel.SelectTab(3);
  EXPECT_EQ(panel.Chips().GetCurIndex(), 12);
  EXPECT_GT(ChipsHeld(), 0.0);
}

// The index chart shows the morning the trace list's reply brings (the
// index's day in the minute data's layout, type 0x0900), not a flat line
// until the pushes start; and the big-order page scrolls with Up and Down
// where the chart leaves them over (the time-share page), not where they
// zoom the K-line.
TEST_F(StockViewTest, TheIndexChartTakesItsTraceAndTheBigOrdersScroll) {
  Show();
  Open(602001, 0x10);
  CStatInfoObj& panel = view.Panel();
  panel.SelectTab(2);
  TickBytes index;
  index.market = kIndexMarket;
  index.code = 399001;
  index.time = 570 + 19;
  index.last = 2010000;
  index.volume = 400;
  std::vector<PointBytes> points;
  for (int i = 0; i < 20; ++i)
    points.push_back({static_cast<uint16_t>(i), 2000000u + 500u * i, 20, 2000000});
  std::string trace = TraceBody(index, {}, -1, points);
  trace[0] = 0x00;
  trace[1] = 0x09;
  Feed(trace);
  ASSERT_EQ(panel.IndexChart().GetDataCount(), 20);
  EXPECT_EQ(panel.IndexChart().Prices()[19], 2009500);

  panel.SelectTab(4);
  std::vector<BigBytes> many;
  for (int i = 0; i < 60; ++i)
    many.push_back({static_cast<uint16_t>(100 - i), kMarket, 602001, 12400, 700});
  Feed(BigOrderBody(0x1C00, many));
  ASSERT_EQ(panel.BigOrders().GetRowCount(), 60);
  EXPECT_EQ(view.OnKey(VK_DOWN, 1, 0), 1);
  EXPECT_EQ(panel.BigOrders().GetTopRow(), 1);
  view.OnKey(VK_F5, 1, 0);  // the K-line page: Down zooms out there
  view.OnKey(VK_DOWN, 1, 0);
  EXPECT_EQ(panel.BigOrders().GetTopRow(), 1);
}

}  // namespace
