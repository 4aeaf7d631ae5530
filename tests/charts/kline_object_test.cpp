// The K-line object: requests, history replies (prepend, repair, overlap,
// fold), minute packets and ticks, ex-rights adjustment, the pane file,
// layout, zooming that fetches older bars, keys and command states.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "enforced_permissions.h"
#include "kline_test_support.h"
#include "platform/input.h"
#include "platform/le_bytes.h"
#include "platform/menu.h"
#include "support/recording_painter.h"
#include "zeb/charts/kline/his_tech_obj.h"

namespace charts_test {
namespace {

using tables_test::PacketBytes;
using test_support::RecordingPainter;
using test_support::SDrawn;

uint32_t U32At(const std::string& b, size_t at) { return platform::ReadU32(b.data() + at); }

class KLineTest : public ChartsTest {
 protected:
  void Open(int period = kPeriodDay) {
    obj = std::make_unique<CHisTechObj>(&store);
    obj->SetPeriod(period);
    obj->SetRect(0, 0, 800, 600);
    obj->SetStock(item);
    obj->RequestKLine();
  }
  int Feed(const std::string& body) {
    return obj->OnData(body.data(), static_cast<int>(body.size()));
  }
  int Period() const { return obj->GetPeriod(); }
  std::unique_ptr<CHisTechObj> obj;
};

TEST_F(KLineTest, RequestsCarryTheItemTheHeldCountAndTheWantedCount) {
  Open();
  ASSERT_EQ(frame.requests.size(), 1u);
  const auto& r = frame.requests[0];
  ASSERT_EQ(r.bytes.size(), 30u);
  EXPECT_EQ(r.type, 0x0500 + 61);
  EXPECT_EQ(r.market, kMarket);
  EXPECT_EQ(r.tag, 1);
  EXPECT_EQ(r.count, 3);
  EXPECT_EQ(U32At(r.bytes, 14), uint32_t(kCode));
  EXPECT_EQ(U32At(r.bytes, 20), 0u);
  EXPECT_EQ(U32At(r.bytes, 26), uint32_t(obj->BarsWanted()));
  EXPECT_EQ(obj->BarsWanted(), 26 + 100);  // MACD's 26 is the largest need
  Feed(HistoryBody(0x053D, DailyBars(126)));
  obj->RequestKLine();
  EXPECT_EQ(frame.requests.back().type, 0x0600 + 61);
  EXPECT_EQ(U32At(frame.requests.back().bytes, 20), 126u);
  obj->RequestDayTrace(20240105);
  const auto& d = frame.requests.back();
  ASSERT_EQ(d.bytes.size(), 24u);
  EXPECT_EQ(d.type, 0x0400);
  EXPECT_EQ(d.count, 2);
  EXPECT_EQ(U32At(d.bytes, 20), 20240105u);
}

TEST_F(KLineTest, OlderBarsArePrependedRepairedAndComeIntoView) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126, 40)));
  ASSERT_EQ(obj->Raw().size(), 126u);
  EXPECT_EQ(obj->HistoryState(), 2);
  const int first = obj->First(), end = obj->End();
  // the cursor at the first bar, then one more to the left asks for older bars
  obj->OnKey(VK_HOME);
  obj->OnKey(VK_LEFT);
  EXPECT_EQ(obj->ScrollMode(), 1);
  EXPECT_EQ(frame.requests.back().type, 0x0600 + 61);
  // 40 older bars and one that overlaps the first held: bar 5 lacks its
  // open and close, bar 6 has high and low swapped
  std::vector<SHistoryRecord> older = DailyBars(41);
  older[5].open = 0;
  older[5].close = 0;
  older[5].high = 0;
  std::swap(older[6].high, older[6].low);
  Feed(HistoryBody(0x063D, older));
  ASSERT_EQ(obj->Raw().size(), 166u);
  EXPECT_EQ(obj->ScrollMode(), 0);
  EXPECT_EQ(obj->First(), first);
  EXPECT_EQ(obj->End(), end);
  EXPECT_EQ(obj->Raw()[40].nDate, int32_t(DayOf(40)));  // no bar twice
  const SHistoryUnit& fixed = obj->Raw()[5];
  EXPECT_FLOAT_EQ(fixed.fOpen, obj->Raw()[4].fClose);
  EXPECT_FLOAT_EQ(fixed.fClose, fixed.fOpen);
  EXPECT_FLOAT_EQ(fixed.fHigh, fixed.fOpen);
  EXPECT_GE(obj->Raw()[6].fHigh, obj->Raw()[6].fLow);
}

TEST_F(KLineTest, ARefusedOrForeignReplyLeavesTheSeries) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  const std::string more = HistoryBody(0x063D, DailyBars(10));
  EXPECT_EQ(obj->OnData(more.data(), static_cast<int>(more.size()) - 1), 0);
  EXPECT_EQ(Feed(HistoryBody(0x063D, DailyBars(10), kMarket, kCode + 1)), 1);
  EXPECT_EQ(Feed(HistoryBody(0x063D, DailyBars(10), kMarket, kCode, 2)), 0);
  EXPECT_EQ(obj->Raw().size(), 126u);
}

TEST_F(KLineTest, AHeldWeekBarFoldsIntoTheNewestBarOfItsWeek) {
  Open(kPeriodWeek);
  Feed(HistoryBody(0x053E, {Rec(20240110, 11000, 13000, 9000, 12000, 500, 50)}));
  ASSERT_EQ(obj->Raw().size(), 1u);
  EXPECT_EQ(obj->HistoryState(), 3);  // fewer than wanted: no older history
  EXPECT_EQ(obj->First(), 0);         // not 1 - wanted
  obj->RequestKLine();
  Feed(HistoryBody(0x063E, {Rec(20231229, 9000, 9500, 8500, 9200),
                            Rec(20240108, 10000, 12000, 9500, 10500, 300, 30)}));
  ASSERT_EQ(obj->Raw().size(), 2u);
  const SHistoryUnit& week = obj->Raw()[1];
  EXPECT_EQ(week.nDate, 20240110);
  EXPECT_FLOAT_EQ(week.fOpen, 10.0f);
  EXPECT_FLOAT_EQ(week.fHigh, 13.0f);
  EXPECT_FLOAT_EQ(week.fLow, 9.0f);
  EXPECT_FLOAT_EQ(week.fClose, 12.0f);
  EXPECT_EQ(week.nVolume, 800u);
  EXPECT_EQ(week.nAmount, 80u);
}

std::string MinutePacket(const std::vector<std::pair<int, uint32_t>>& minutes, int newestPoint) {
  PacketBytes b;
  const size_t records = 73 + 8;  // one 8-byte entry
  b.U16(0, 0x0300).U16(2, 1).U16(4, kMarket).U32(6, kCode).U16(10, uint16_t(minutes.size()));
  b.U16(16, 1).U8(68, 1);
  for (size_t i = 0; i < minutes.size(); ++i) {
    const size_t at = records + 30 * i;
    b.U16(at, uint16_t(minutes[i].first))
        .U32(at + 2, minutes[i].second)
        .U32(at + 6, 10)
        .I32(at + 26, 100);
  }
  const size_t points = records + 30 * minutes.size();
  b.U16(points, uint16_t(newestPoint)).Size(points + 26);
  return b.Bytes();
}

TEST_F(KLineTest, AMinutePacketPastTheLastFiveMinuteBarAppendsOneBar) {
  Open(kPeriod5);
  Feed(HistoryBody(
      0x0505, {Rec(1050955, 10000, 10100, 9900, 10000), Rec(1051000, 10000, 10200, 9900, 10100)}));
  ASSERT_EQ(obj->Raw().size(), 2u);
  EXPECT_EQ(Feed(MinutePacket({{30, 10100}, {31, 10300}, {32, 10250}}, 32)), 1);
  ASSERT_EQ(obj->Raw().size(), 3u);
  const SHistoryUnit& bar = obj->Raw()[2];
  EXPECT_EQ(bar.nDate, 1051005);
  EXPECT_FLOAT_EQ(bar.fOpen, 10.1f);
  EXPECT_FLOAT_EQ(bar.fHigh, 10.3f);
  EXPECT_FLOAT_EQ(bar.fClose, 10.25f);
  EXPECT_EQ(bar.nVolume, 20u);  // minutes 31 and 32 only
  EXPECT_EQ(obj->End(), 3);
}

std::string Tick(int minuteOfDay, uint32_t last, uint32_t increment = 5) {
  PacketBytes b;
  b.U16(0, 0x0B00).U16(2, 1).U8(4, 0).U16(9, 1);
  const size_t at = 15;
  b.U32(at, (uint32_t(kMarket - 0x1000) << 24) | uint32_t(kCode))
      .U16(at + 4, uint16_t(minuteOfDay));
  b.U32(at + 6, last).U32(at + 10, last).U32(at + 14, last).U32(at + 18, last);
  b.U32(at + 26, 1000).U32(at + 30, increment).U32(at + 34, 0).Size(at + 51);
  return b.Bytes();
}

TEST_F(KLineTest, SixtyMinuteBarsStartEverySixtyTradingMinutes) {
  Open(kPeriod60);
  Feed(HistoryBody(0x053C, {Rec(1051030, 10000, 10100, 9900, 10000)}));
  ASSERT_EQ(obj->Raw().size(), 1u);
  struct Step {
    int minute;  // of the day
    size_t bars;
  } steps[] = {{630, 1}, {631, 2}, {690, 2}, {780, 3}, {810, 3}, {840, 3}, {841, 4}, {900, 4}};
  for (const Step& s : steps) {
    Feed(Tick(s.minute, 10000 + uint32_t(s.minute)));
    EXPECT_EQ(obj->Raw().size(), s.bars) << s.minute;
  }
  EXPECT_EQ(obj->Raw().back().nDate, 1051500);
  EXPECT_FLOAT_EQ(obj->Raw().back().fClose, 10.9f);
}

TEST_F(KLineTest, ATickOfAnotherItemChangesNothing) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(3)));
  std::string other = Tick(600, 55555);
  other[15] = 7;  // another code
  Feed(other);
  EXPECT_NE(obj->Raw().back().fClose, 55.555f);
  Feed(Tick(600, 55555));
  EXPECT_FLOAT_EQ(obj->Raw().back().fClose, 55.555f);
}

std::string ExRights(const std::vector<SExRightsRecord>& records) {
  PacketBytes b;
  b.U16(0, 0x1300).U16(2, 1).U16(4, uint16_t(records.size())).Size(10);
  for (size_t i = 0; i < records.size(); ++i) {
    const size_t at = 10 + 16 * i;
    b.I32(at, records[i].date)
        .U16(at + 4, uint16_t(records[i].dividend))
        .U16(at + 6, records[i].shares);
    b.I32(at + 8, records[i].rightsPrice).I32(at + 12, records[i].dividendFlag).Size(at + 16);
  }
  return b.Bytes();
}

TEST_F(KLineTest, ExRightsAdjustOnlyTheBarsOnTheirSideOfTheDate) {
  Open();
  Feed(HistoryBody(
      0x053D, {Rec(20240102, 12000, 12000, 12000, 12000), Rec(20240103, 10000, 10000, 10000, 10000),
               Rec(20240104, 0, 0, 0, 0), Rec(20240108, 10000, 10000, 10000, 10000),
               Rec(20240110, 10000, 10000, 10000, 10000)}));
  EXPECT_EQ(obj->Shown(), obj->Raw().data());       // mode 2: the raw series itself
  Feed(ExRights({{20240105, 0, 2500, 0, 0},         // bonus 2.5 per 10 counts as 2
                 {20240106, 500, 0, 0, 0},          // dividend without flag: skipped
                 {20240110, 0, 3000, 50000, 0}}));  // rights 3 per 10 at 5.000
  EXPECT_EQ(obj->Shown(), obj->Raw().data());
  obj->OnCommand(kline_cmd::kForward);
  ASSERT_EQ(obj->PowerList().size(), 2u);
  ASSERT_NE(obj->Shown(), obj->Raw().data());
  EXPECT_FLOAT_EQ(obj->Shown()[1].fClose,
                  10.0f / 1.2f * ((10.0f / 1.2f * 10.0f + 15.0f) / 13.0f / (10.0f / 1.2f)));
  EXPECT_FLOAT_EQ(obj->Shown()[3].fClose, (100.0f + 15.0f) / 13.0f);  // rights only: X = 115 / 13
  EXPECT_FLOAT_EQ(obj->Shown()[4].fClose, 10.0f);  // on the ex-date: forward leaves it
  EXPECT_FLOAT_EQ(obj->Raw()[1].fClose, 10.0f);    // raw untouched
  // a bar without a close (none comes from a reply, which repairs it) has
  // nothing to scale the rights against: it is left as it is, not NaN
  std::vector<SHistoryUnit> empty = {{20240103, 0, 0, 0, 0, 0, 0}};
  EXPECT_EQ(obj->AdjustSeries(empty.data(), 1)[0].fClose, 0.0f);
  obj->OnCommand(kline_cmd::kBackward);
  // after the bonus date too: x 1.2 first, then the rights on close 12
  const float q = 12.0f, xb = (q * 10.0f + 15.0f) / 13.0f;
  EXPECT_FLOAT_EQ(obj->Shown()[4].fClose, q / (xb / q));
  EXPECT_FLOAT_EQ(obj->Shown()[3].fClose, 12.0f);
  EXPECT_FLOAT_EQ(obj->Shown()[0].fClose, 12.0f);
  obj->OnCommand(kline_cmd::kNoAdjust);
  EXPECT_EQ(obj->Shown(), obj->Raw().data());
}

TEST_F(KLineTest, PanesShareTheHeightAsLaidOut) {
  struct Case {
    const char* count;
    const char* names;
    std::vector<RECT> rects;
  } cases[] = {
      {"1", "KLINE,", {{66, 0, 800, 582}}},
      {"2", "KLINE,VOL,", {{66, 0, 800, 441}, {66, 440, 800, 582}}},
      {"3", "KLINE,VOL,MACD,", {{66, 0, 800, 358}, {66, 357, 800, 470}, {66, 469, 800, 582}}},
  };
  for (const Case& c : cases) {
    WritePaneFile(c.count, c.names);
    Open();
    ASSERT_EQ(obj->GetPaneCount(), static_cast<int>(c.rects.size())) << c.count;
    for (size_t i = 0; i < c.rects.size(); ++i) {
      const RECT& r = obj->Pane(int(i)).GetPic()->GetPictureRect();
      EXPECT_EQ(r.left, c.rects[i].left);
      EXPECT_EQ(r.top, c.rects[i].top) << c.count << " pane " << i;
      EXPECT_EQ(r.right, c.rects[i].right);
      EXPECT_EQ(r.bottom, c.rects[i].bottom) << c.count << " pane " << i;
    }
    EXPECT_EQ(obj->DateAxis().top, 582);
  }
}

TEST_F(KLineTest, ThePaneFileRoundTripsAndBadCountsAreTamed) {
  Open();
  obj->OnCommand(kline_cmd::kFirstLayout + 1);  // two panes
  CHisTechObj again(&store);
  ASSERT_EQ(again.GetPaneCount(), 2);
  EXPECT_EQ(again.Pane(0).GetName(), "KLINE");
  EXPECT_EQ(again.Pane(1).GetName(), "VOL");
  struct Case {
    const char* count;
    const char* names;
    int panes;
    bool box;
  } cases[] = {{"0", "KLINE,VOL,", 1, false},
               {"12", "KLINE,VOL,MACD,KDJ,RSI,WR,BOLL,BIAS,CCI,OBV,MA,VOL,", 9, false},
               {"5", "KLINEMA,VOL,", 2, false},
               {"", "KLINE,", 1, true},
               {"3", "", 1, true}};
  for (const Case& c : cases) {
    WritePaneFile(c.count, c.names);
    const size_t boxesBefore = boxes.Boxes().size();
    CHisTechObj o(&store);
    EXPECT_EQ(o.GetPaneCount(), c.panes) << c.count << " " << c.names;
    EXPECT_EQ(o.Pane(0).GetName().rfind("KLINE", 0), 0u);
    EXPECT_EQ(boxes.Boxes().size() > boxesBefore, c.box) << c.count << " " << c.names;
  }
}

// The pane file is the user's: one that is there but cannot be read is
// called unreadable (not a missing entry) and never written over; a save
// that could not be written says so, naming the file, and leaves it whole.
TEST_F(KLineTest, APaneFileThatCannotBeReadOrWrittenIsNamedInABox) {
  const std::string path = folders.Path("INDEX/INDEX.DEX");
  const std::string folder = folders.Path("INDEX");
  const struct {
    const char* name;
    std::function<void()> spoil;
    const char* loadBox;  // what the box on loading says, or null for none
    const char* saveBox;
  } cases[] = {
      {"a folder in its place",
       [&] {
         std::filesystem::remove(path);
         std::filesystem::create_directory(path);
       },
       "无法读取", "无法读取"},
      {"an unreadable file", [&] { chmod(path.c_str(), 0); }, "无法读取", "无法读取"},
      {"a folder that cannot be written", [&] { chmod(folder.c_str(), 0555); }, nullptr,
       "未能保存"},
  };
  const auto said = [&](size_t from, const char* what) {
    const auto all = boxes.Boxes();
    if (!what) return all.size() == from;
    return all.size() == from + 1 && all[from].text.find(GBK(what)) != std::string::npos &&
           all[from].text.find(path) != std::string::npos;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WritePaneFile("2", "KLINE,VOL,");
    const std::string kept = folders.Read("INDEX/INDEX.DEX");
    c.spoil();
    {
      EnforcedPermissions enforced;
      size_t before = boxes.Boxes().size();
      CHisTechObj o(&store);
      EXPECT_TRUE(said(before, c.loadBox));
      before = boxes.Boxes().size();
      o.OnCommand(kline_cmd::kFirstLayout + 2);  // three panes
      EXPECT_TRUE(said(before, c.saveBox));
    }
    chmod(folder.c_str(), 0755);
    if (std::filesystem::is_directory(path)) {
      std::filesystem::remove(path);
    } else {
      chmod(path.c_str(), 0644);
      EXPECT_EQ(folders.Read("INDEX/INDEX.DEX"), kept);
    }
  }
}

TEST_F(KLineTest, ZoomingOutAsksForExactlyTheMissingBars) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126, 100)));
  ASSERT_EQ(obj->First(), 0);
  ASSERT_EQ(obj->End(), 126);
  const size_t before = frame.requests.size();
  obj->OnKey(VK_DOWN);
  ASSERT_EQ(frame.requests.size(), before + 1);
  EXPECT_EQ(U32At(frame.requests.back().bytes, 20), 126u);
  EXPECT_EQ(U32At(frame.requests.back().bytes, 26), 12u);  // 126 x 11 / 10 - 126
  Feed(HistoryBody(0x063D, DailyBars(12, 88)));
  EXPECT_EQ(obj->Raw().size(), 138u);
  EXPECT_EQ(obj->End() - obj->First(), 138);
  obj->OnKey(VK_UP);  // zoom in keeps 10/11 ending at the end
  EXPECT_EQ(obj->End() - obj->First(), 138 * 10 / 11);
  EXPECT_EQ(obj->End(), 138);
}

TEST_F(KLineTest, AChartWithoutWidthTakesRepliesAndDraws) {
  obj = std::make_unique<CHisTechObj>(&store);
  obj->SetStock(item);
  obj->RequestKLine();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  EXPECT_EQ(obj->Raw().size(), 126u);
  EXPECT_EQ(obj->BarsPerColumn(), 1);
  RecordingPainter p;
  EXPECT_EQ(obj->Draw(p), 1);
  obj->OnKey(VK_DOWN);
  obj->OnKey(VK_LEFT);
}

TEST_F(KLineTest, ZoomingOutAtTheStartOfHistoryShowsEveryBar) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126, 5)));
  obj->OnKey(VK_DOWN);  // asks for 12 older bars; the server has 5
  EXPECT_EQ(U32At(frame.requests.back().bytes, 26), 12u);
  Feed(HistoryBody(0x063D, DailyBars(5)));
  EXPECT_EQ(obj->HistoryState(), 3);
  EXPECT_EQ(obj->First(), 0);
  EXPECT_EQ(obj->End(), 131);
  const size_t requests = frame.requests.size();
  obj->OnKey(VK_DOWN);  // nothing older: no request, the range stays whole
  EXPECT_EQ(frame.requests.size(), requests);
  EXPECT_EQ(obj->End() - obj->First(), 131);
}

TEST_F(KLineTest, F8StepsThroughThePeriodsAndWraps) {
  Open(kPeriodMonth);
  EXPECT_EQ(obj->CheckedPeriodCommand(), 26396);
  obj->OnKey(VK_F8);
  EXPECT_EQ(obj->CheckedPeriodCommand(), 26390);
  EXPECT_EQ(Period(), kPeriod5);
  EXPECT_EQ(frame.requests.back().type, 0x0505);
}

class RecordingCmdUI : public CCmdUI {
 public:
  int enabled = -1, checked = -1;
  void Enable(BOOL on) override { enabled = on ? 1 : 0; }
  void SetCheck(int check) override { checked = check; }
};

TEST_F(KLineTest, CommandStatesFollowTheChart) {
  Open();
  auto state = [&](UINT id) {
    RecordingCmdUI ui;
    ui.m_nID = id;
    const int handled = obj->UpdateCommandUI(&ui);
    return std::make_tuple(handled, ui.enabled, ui.checked);
  };
  EXPECT_EQ(state(kline_cmd::kDayPeriod), std::make_tuple(1, 0, -1));
  EXPECT_EQ(state(kline_cmd::kFirstPeriod), std::make_tuple(1, 1, -1));
  EXPECT_EQ(state(kline_cmd::kNoAdjust), std::make_tuple(1, -1, 1));
  EXPECT_EQ(state(kline_cmd::kForward), std::make_tuple(1, -1, 0));
  EXPECT_EQ(state(kline_cmd::kStackedVolume), std::make_tuple(1, -1, 0));
  obj->OnCommand(kline_cmd::kStackedVolume);
  EXPECT_EQ(state(kline_cmd::kStackedVolume), std::make_tuple(1, -1, 1));
  EXPECT_EQ(obj->Pane(0).GetPic()->GetFlags(), 3);
  obj->OnCommand(kline_cmd::kIntervalStat);
  EXPECT_EQ(state(kline_cmd::kIntervalStat), std::make_tuple(1, -1, 1));
  EXPECT_EQ(obj->OnKey(VK_ESCAPE), 1);  // selection off first
  EXPECT_EQ(state(kline_cmd::kIntervalStat), std::make_tuple(1, -1, 0));
  EXPECT_EQ(state(kline_cmd::kFirstTool), std::make_tuple(1, 1, 1));
  EXPECT_EQ(state(12345), std::make_tuple(0, -1, -1));
}

// Draws a figure of the chosen tool with the mouse from bar a to bar b of the
// visible bars, on the K-line pane's plot.
void DrawFigure(CHisTechObj& chart, UINT command, int a, int b) {
  chart.OnCommand(command);
  const RECT plot = chart.Pane(0).GetPic()->GetPlotRect();
  const int half = chart.CandleWidth() / 2;
  const int y1 = plot.top + (plot.bottom - plot.top) / 4;
  const int y2 = plot.bottom - (plot.bottom - plot.top) / 4;
  const int x1 = chart.XPositions()[static_cast<size_t>(a)] + half;
  const int x2 = chart.XPositions()[static_cast<size_t>(b)] + half;
  EXPECT_EQ(chart.OnLButtonDown(x1, y1), 1);
  EXPECT_EQ(chart.OnMouseMove((x1 + x2) / 2, (y1 + y2) / 2), 1);
  EXPECT_EQ(chart.OnMouseMove(x2, y2), 1);
  EXPECT_EQ(chart.OnLButtonUp(x2, y2), 1);
}

// Each end of the figure sits on the centre of its bar, at the row the
// picture gives its value.
void ExpectOnAnchors(CHisTechObj& chart, const CDrawLineTool& tool) {
  for (int end = 0; end < 2; ++end) {
    const SToolAnchor& anchor = tool.Anchor(end);
    int bar = -1;
    for (int i = chart.First(); i < chart.End(); ++i)
      if (chart.Shown()[i].nDate == anchor.date) bar = i - chart.First();
    ASSERT_GE(bar, 0) << "end " << end << " scrolled out of view";
    const POINT p = tool.ScreenPoint(end);
    EXPECT_EQ(p.x, chart.XPositions()[static_cast<size_t>(bar)] + chart.CandleWidth() / 2) << end;
    EXPECT_NEAR(p.y, chart.Pane(0).ValueToY(anchor.value), 1) << end;
  }
}

TEST_F(KLineTest, AFigureDrawnWithTheMouseFollowsScrollAndZoom) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126, 5)));
  obj->RequestKLine();
  Feed(HistoryBody(0x063D, DailyBars(5)));  // the whole history: scrolling needs no request
  ASSERT_EQ(obj->End() - obj->First(), 131);
  DrawFigure(*obj, kline_cmd::kFirstTool + 1, 60, 100);
  // The drag drew a figure, not the zoom rectangle of an empty press.
  EXPECT_EQ(obj->End() - obj->First(), 131);
  const auto& tools = obj->Pane(0).Tools().Tools();
  ASSERT_EQ(tools.size(), 1u);
  const CDrawLineTool& line = tools[0];
  EXPECT_EQ(line.GetKind(), CDrawLineTool::kLine);
  EXPECT_EQ(line.Anchor(0).date, obj->Shown()[60].nDate);
  EXPECT_EQ(line.Anchor(1).date, obj->Shown()[100].nDate);
  EXPECT_GT(line.Anchor(0).value, line.Anchor(1).value);
  ExpectOnAnchors(*obj, line);
  const POINT before = line.ScreenPoint(0);

  obj->OnKey(VK_UP);  // zoom in: fewer, wider bars ending at the last
  ASSERT_LT(obj->End() - obj->First(), 131);
  ExpectOnAnchors(*obj, line);
  EXPECT_NE(line.ScreenPoint(0).x, before.x);
  obj->OnKey(VK_HOME);
  const int first = obj->First();
  obj->OnKey(VK_LEFT);  // the cursor at the left edge scrolls one bar
  ASSERT_EQ(obj->First(), first - 1);
  ExpectOnAnchors(*obj, line);
}

TEST_F(KLineTest, ToolCommandsCheckTheChosenToolUntilAFigureIsDrawn) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  auto checked = [&](UINT id) {
    RecordingCmdUI ui;
    ui.m_nID = id;
    EXPECT_EQ(obj->UpdateCommandUI(&ui), 1);
    EXPECT_EQ(ui.enabled, 1);
    return ui.checked;
  };
  const UINT gann = kline_cmd::kFirstTool + 5;
  EXPECT_EQ(checked(kline_cmd::kFirstTool), 1);
  obj->OnCommand(gann);
  EXPECT_EQ(checked(kline_cmd::kFirstTool), 0);
  EXPECT_EQ(checked(gann), 1);
  EXPECT_EQ(checked(gann - 1), 0);
  for (int i = 0; i < obj->GetPaneCount(); ++i)
    EXPECT_EQ(obj->Pane(i).Tools().GetState(), CLineToolSet::kArmed) << i;
  DrawFigure(*obj, gann, 20, 60);
  EXPECT_EQ(checked(kline_cmd::kFirstTool), 1);
  EXPECT_EQ(checked(gann), 0);
  ASSERT_EQ(obj->Pane(0).Tools().Tools().size(), 1u);
  EXPECT_EQ(obj->Pane(0).Tools().Tools()[0].GetKind(), CDrawLineTool::kGann);
  EXPECT_TRUE(obj->Pane(1).Tools().Tools().empty());
  // The new figure is selected; "删除" removes it.
  obj->OnCommand(kline_cmd::kDeleteTool);
  EXPECT_TRUE(obj->Pane(0).Tools().Tools().empty());
}

TEST_F(KLineTest, DraggingAFigureGrabsTheMouseAndShowsTheMoveCursor) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  tables_test::RecordingOwner owner;
  obj->SetOwner(&owner);
  DrawFigure(*obj, kline_cmd::kFirstTool + 2, 30, 60);
  EXPECT_FALSE(owner.captured);
  const CDrawLineTool& box = obj->Pane(0).Tools().Tools().at(0);
  const SToolAnchor first = box.Anchor(0);
  const POINT a = box.ScreenPoint(0), b = box.ScreenPoint(1);
  const int visible = obj->End() - obj->First();
  // Pressed inside the rectangle, away from its handles, and dragged down.
  const POINT mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
  EXPECT_EQ(obj->OnLButtonDown(mid.x, mid.y), 1);
  EXPECT_TRUE(owner.captured);
  EXPECT_EQ(obj->OnMouseMove(mid.x, mid.y + 20), 1);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kSizeAll);
  EXPECT_EQ(obj->OnLButtonUp(mid.x, mid.y + 20), 1);
  EXPECT_FALSE(owner.captured);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kArrow);
  EXPECT_EQ(box.Anchor(0).date, first.date);
  EXPECT_LT(box.Anchor(0).value, first.value);    // lower on the chart
  EXPECT_EQ(obj->End() - obj->First(), visible);  // no zoom rectangle
}

// The information table is taken by a press while it shows, follows the
// pointer over the panes (the crosshair stays put), ends where released and
// never leaves the chart; the next layout puts it back beside the K-line.
TEST_F(KLineTest, TheInformationTableIsDraggedInsideTheChart) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  tables_test::RecordingOwner owner;
  obj->SetOwner(&owner);
  const RECT home{0, 16, 66, 308};
  const auto rectIs = [&](const RECT& want) {
    const RECT& r = obj->InfoTableRect();
    return r.left == want.left && r.top == want.top && r.right == want.right &&
           r.bottom == want.bottom;
  };
  ASSERT_TRUE(rectIs(home));
  // No cursor yet: the table is not shown, a press there takes nothing.
  obj->OnLButtonDown(30, 100);
  EXPECT_FALSE(obj->IsInfoTableDragged());
  obj->OnLButtonUp(30, 100);

  const RECT plot = obj->Pane(0).GetPic()->GetPlotRect();
  const int y = (plot.top + plot.bottom) / 2;
  ASSERT_EQ(obj->OnMouseMove(obj->XPositions()[10] + 1, y), 1);
  ASSERT_EQ(obj->CursorOffset(), 10);
  const int first = obj->First(), end = obj->End();

  EXPECT_EQ(obj->OnLButtonDown(30, 100), 1);  // 30, 84 into the table
  EXPECT_TRUE(obj->IsInfoTableDragged());
  EXPECT_TRUE(owner.captured);
  EXPECT_EQ(obj->OnMouseMove(330, 150), 1);  // over the K-line pane
  EXPECT_TRUE(rectIs(RECT{300, 66, 366, 358}));
  EXPECT_EQ(obj->CursorOffset(), 10);
  EXPECT_EQ(obj->OnLButtonUp(400, 200), 1);
  EXPECT_TRUE(rectIs(RECT{370, 116, 436, 408}));
  EXPECT_FALSE(obj->IsInfoTableDragged());
  EXPECT_FALSE(owner.captured);
  EXPECT_EQ(obj->First(), first);  // no zoom box came of it
  EXPECT_EQ(obj->End(), end);
  // The next press on the table at its new place takes it again; dragged
  // past the corner it stops at the chart's edges.
  EXPECT_EQ(obj->OnLButtonDown(380, 120), 1);
  EXPECT_TRUE(obj->IsInfoTableDragged());
  obj->OnMouseMove(5000, 5000);
  EXPECT_TRUE(rectIs(RECT{734, 308, 800, 600}));
  obj->OnLButtonUp(-5000, -5000);
  EXPECT_TRUE(rectIs(RECT{0, 0, 66, 292}));
  // A press beside the table is no drag.
  obj->OnLButtonDown(200, y);
  EXPECT_FALSE(obj->IsInfoTableDragged());
  obj->OnLButtonUp(200, y);

  obj->SetRect(0, 0, 900, 600);
  EXPECT_TRUE(rectIs(home));
}

// The pointer shows a hand over a pane's indicator name and parameters,
// which a double click opens, and the arrow elsewhere.
TEST_F(KLineTest, AHandShowsOverAPaneTitle) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  tables_test::RecordingOwner owner;
  obj->SetOwner(&owner);
  RecordingPainter p;
  obj->Draw(p);  // lays the titles out
  const RECT vol = obj->Pane(1).GetPic()->GetPictureRect();
  const RECT plot = obj->Pane(1).GetPic()->GetPlotRect();
  const int titleY = vol.top + 6;
  const int paramsX = obj->Pane(1).GetPic()->GetParamRect()->left + 2;
  ASSERT_EQ(obj->Pane(1).HitTestTitle(vol.left + 3, titleY), 1);
  ASSERT_EQ(obj->Pane(1).HitTestTitle(paramsX, titleY), 2);
  obj->OnMouseMove(vol.left + 3, titleY);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kHand);
  obj->OnMouseMove((plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kArrow);
  obj->OnMouseMove(paramsX, titleY);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kHand);
  obj->OnMouseMove(400, obj->DateAxis().top + 5);
  EXPECT_EQ(owner.cursor, CDrawOwner::Cursor::kArrow);
}

// An owner whose keyboard holds the Control key while control is set.
struct ControlOwner : tables_test::RecordingOwner {
  bool control = false;
  bool IsKeyDown(UINT vk) const override { return control && vk == VK_CONTROL; }
};

// The chart asks its owner whether Control is held: then Up zooms the price
// axis and leaves the bars, and Left pages instead of showing the cursor.
TEST_F(KLineTest, ArrowsWithControlHeldAtTheOwnerZoomTheAxisAndPage) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  ControlOwner owner;
  obj->SetOwner(&owner);
  const int shown = obj->End() - obj->First();
  owner.control = true;
  obj->OnKey(VK_UP);
  EXPECT_EQ(obj->End() - obj->First(), shown);
  obj->OnKey(VK_LEFT);
  EXPECT_FALSE(obj->IsCursorShown());
  owner.control = false;
  obj->OnKey(VK_UP);
  EXPECT_EQ(obj->End() - obj->First(), shown * 10 / 11);
  obj->OnKey(VK_LEFT);
  EXPECT_TRUE(obj->IsCursorShown());
}

// Left parks the mouse pointer on the chart's top-left corner (in the
// window's coordinates), whose moves the chart ignores, so the crosshair
// stays on the bar the keys chose; Right leaves the pointer.
TEST_F(KLineTest, LeftParksThePointerOnTheChartsCorner) {
  Open();
  obj->SetRect(10, 20, 810, 620);
  Feed(HistoryBody(0x053D, DailyBars(126)));
  tables_test::RecordingOwner owner;
  obj->SetOwner(&owner);
  const int last = obj->End() - obj->First() - 1;
  obj->OnKey(VK_END);
  ASSERT_EQ(obj->CursorOffset(), last);
  EXPECT_TRUE(owner.pointerMoves.empty());
  obj->OnKey(VK_LEFT);
  ASSERT_EQ(owner.pointerMoves.size(), 1u);
  EXPECT_EQ(owner.pointerMoves[0].x, 10);
  EXPECT_EQ(owner.pointerMoves[0].y, 20);
  EXPECT_TRUE(obj->IsCursorShown());
  EXPECT_EQ(obj->CursorOffset(), last - 1);
  obj->OnKey(VK_LEFT);
  EXPECT_EQ(obj->CursorOffset(), last - 2);
  EXPECT_EQ(owner.pointerMoves.size(), 2u);
  EXPECT_EQ(obj->OnMouseMove(10, 20), 0);  // the parked pointer's move
  EXPECT_EQ(obj->CursorOffset(), last - 2);
  obj->OnKey(VK_RIGHT);
  EXPECT_EQ(obj->CursorOffset(), last - 1);
  EXPECT_EQ(owner.pointerMoves.size(), 2u);
}

// A row of a pane's plot that no output line of the pane passes within
// 10 pixels of at the bar: a click there is on the pane, not on a line.
int RowOffTheLines(CHisTechObj& chart, int pane, int bar) {
  const CTechAnalysisBasePic& pic = *chart.Pane(pane).GetPic();
  const RECT plot = pic.GetPlotRect();
  for (int y = plot.top + 1; y < plot.bottom - 1; ++y) {
    bool near = false;
    for (int j = 0; j < pic.OutputRowsCount(); ++j)
      near = near || std::abs(pic.OutputRows(j)[static_cast<size_t>(bar)] - y) <= 10;
    if (!near) return y;
  }
  return -1;
}

// The right-click menu is the one of the pane under the mouse: its
// indicator's own menu on its title or a line, else the chart's menu with
// 切换指标 for every pane below the K-line pane.
TEST_F(KLineTest, TheRightClickMenuFollowsThePaneUnderTheMouse) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  RecordingPainter p;
  obj->Draw(p);  // lays the titles out
  tables_test::RecordingOwner owner;
  const int x = obj->XPositions()[60];  // the bar both the cursor and the line test take
  obj->OnMouseMove(x, (obj->KLineArea().top + obj->KLineArea().bottom) / 2);
  ASSERT_EQ(obj->CursorOffset(), 60);
  const int bar = obj->First() + 60;
  enum Where { kPlot, kTitle, kLine };
  const struct {
    int pane;
    Where where;
    int subMenu;
    bool switchOffered;
  } cases[] = {
      {0, kPlot, 3, false},  {1, kPlot, 3, true},   {2, kPlot, 3, true},
      {2, kTitle, 4, false}, {3, kTitle, 4, false}, {2, kLine, 4, false},
  };
  for (const auto& c : cases) {
    const CTechAnalysisBasePic& pic = *obj->Pane(c.pane).GetPic();
    int px = x, py = 0;
    if (c.where == kTitle) {
      px = pic.GetPictureRect().left + 3;
      py = pic.GetPictureRect().top + 6;
    } else if (c.where == kPlot) {
      py = RowOffTheLines(*obj, c.pane, bar);
    } else {
      py = pic.OutputRows(0)[static_cast<size_t>(bar)];
    }
    ASSERT_GT(py, 0) << c.pane << " " << c.where;
    owner.menus.clear();
    EXPECT_EQ(obj->OnRButtonDown(&owner, px, py), 1);
    ASSERT_EQ(owner.menus.size(), 1u);
    const SPopupMenu& menu = owner.menus[0].menu;
    EXPECT_EQ(menu.baseResource, 130);
    EXPECT_EQ(menu.baseSubMenu, c.subMenu) << c.pane << " " << c.where;
    EXPECT_EQ(obj->SelectedPane(), c.pane) << c.pane << " " << c.where;
    const bool offered = std::any_of(menu.items.begin(), menu.items.end(), [](const SPopupItem& i) {
      return i.id == kline_cmd::kSwitchIndicator;
    });
    EXPECT_EQ(offered, c.switchOffered) << c.pane << " " << c.where;
  }
}

// With no cursor shown, Left starts at the newest bar shown and Right at
// the oldest, whatever cursor the last load or zoom left behind.
TEST_F(KLineTest, ArrowsStartAtTheEdgeOfTheViewWithoutAShownCursor) {
  const struct {
    const char* before;
    UINT key;
    bool last;
  } cases[] = {
      {"", VK_LEFT, true},           {"zoom", VK_LEFT, true}, {"esc", VK_LEFT, true},
      {"other item", VK_LEFT, true}, {"", VK_RIGHT, false},   {"zoom", VK_RIGHT, false},
  };
  for (const auto& c : cases) {
    Open();
    Feed(HistoryBody(0x053D, DailyBars(126)));
    const std::string before = c.before;
    if (before == "zoom") obj->OnKey(VK_UP);
    if (before == "esc") {
      obj->OnKey(VK_HOME);
      obj->OnKey(VK_ESCAPE);
    }
    if (before == "other item") {
      obj->OnKey(VK_HOME);
      obj->SetStock(item);
      obj->RequestKLine();
      Feed(HistoryBody(0x053D, DailyBars(126)));
    }
    const int first = obj->First(), end = obj->End();
    const size_t requests = frame.requests.size();
    obj->OnKey(c.key);
    EXPECT_TRUE(obj->IsCursorShown());
    EXPECT_EQ(obj->CursorOffset(), c.last ? end - first - 1 : 0) << before << " " << c.key;
    EXPECT_EQ(obj->First(), first) << before;
    EXPECT_EQ(frame.requests.size(), requests) << before;
  }
}

// The crosshair stays at the mouse's height in whichever pane the mouse
// is, and the value shown is that pane's value there.
TEST_F(KLineTest, TheCrosshairStandsInEveryPane) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  std::string shown;
  CHisTechObj::SHooks hooks;
  hooks.cursorInfo = [&](const SHistoryUnit*, const std::string& value) { shown = value; };
  obj->SetHooks(hooks);
  const int x = obj->XPositions()[40] + 1;
  obj->OnLButtonDown(x, 100);
  obj->OnLButtonUp(x, 100);
  for (int pane : {0, 1, 2}) {
    const RECT plot = obj->Pane(pane).GetPic()->GetPlotRect();
    const int y = plot.top + (plot.bottom - plot.top) / 3;
    ASSERT_EQ(obj->OnMouseMove(x, y), 1) << pane;
    RecordingPainter p;
    obj->Draw(p);
    bool across = false;
    for (const SDrawn& d : p.Of(SDrawn::Kind::kLine))
      across = across || (d.inverted && d.rect.top == y && d.rect.bottom == y &&
                          d.rect.left == obj->DateAxis().left);
    EXPECT_TRUE(across) << pane;
    const float value = obj->Pane(pane).ValueAtY(y);
    EXPECT_NEAR(std::atof(shown.c_str()), value, pane == 1 ? 0.5 : 0.005) << pane << " " << shown;
  }
}

// A left click on an indicator line picks it (drawn with point marks); a
// click beside the lines, and any click on the candles, picks none.
TEST_F(KLineTest, ALeftClickPicksTheIndicatorLineUnderIt) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  const int x = obj->XPositions()[60] + 1;
  const struct {
    int pane;
    bool onLine;
    int picked;
  } cases[] = {{2, true, 0}, {2, false, -1}, {3, true, 0}, {0, false, -1}};
  for (const auto& c : cases) {
    const RECT plot = obj->Pane(c.pane).GetPic()->GetPlotRect();
    obj->OnMouseMove(x, (obj->KLineArea().top + obj->KLineArea().bottom) / 2);
    const int bar = obj->First() + obj->CursorOffset();
    const int y = c.onLine ? obj->Pane(c.pane).GetPic()->OutputRows(0)[static_cast<size_t>(bar)]
                           : RowOffTheLines(*obj, c.pane, bar);
    ASSERT_TRUE(y > plot.top && y < plot.bottom) << c.pane;
    obj->OnLButtonDown(x, y);
    obj->OnLButtonUp(x, y);
    EXPECT_EQ(obj->Pane(c.pane).GetPic()->GetSelectedLine(), c.picked) << c.pane << c.onLine;
    if (c.picked >= 0) {
      EXPECT_EQ(obj->SelectedPane(), c.pane);
    }
  }
}

// After loading, each pane's title gives its values at the newest bar.
TEST_F(KLineTest, TitlesShowTheNewestBarAfterLoading) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  RecordingPainter p;
  obj->Draw(p);
  const CTechAnalysisBasePic& macd = *obj->Pane(2).GetPic();
  const float dif = macd.Output(0)[static_cast<size_t>(obj->End() - 1)];
  char want[32];
  std::snprintf(want, sizeof want, "DIF=%.2f", dif);
  const std::vector<std::string> texts = p.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want;
}

// The information table and the crosshair go when the mouse leaves the
// chart, and come back with it.
TEST_F(KLineTest, TheInformationTableHidesWhileTheMouseIsOutside) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  const int x = obj->XPositions()[20] + 1, y = 150;
  obj->OnMouseMove(x, y);
  obj->OnLButtonDown(x, y);
  obj->OnLButtonUp(x, y);
  ASSERT_TRUE(obj->IsInfoTableShown());
  EXPECT_EQ(obj->OnMouseMove(900, y), 1);  // out: the chart is drawn again
  EXPECT_FALSE(obj->IsInfoTableShown());
  EXPECT_TRUE(obj->IsCursorShown());
  obj->OnMouseMove(x, y);
  EXPECT_TRUE(obj->IsInfoTableShown());
}

// A marked interval whose first bar scrolls out of view runs to the
// area's edge from its other end, which keeps its own bar.
TEST_F(KLineTest, AnIntervalEndOutOfViewRunsToTheEdge) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  obj->OnCommand(kline_cmd::kIntervalStat);
  const int y = 150;
  auto click = [&](int offset) {
    const int x = obj->XPositions()[static_cast<size_t>(offset)] + 1;
    obj->OnMouseMove(x, y);
    obj->OnLButtonDown(x, y);
    obj->OnLButtonUp(x, y);
  };
  click(10);
  click(120);
  const int lastDate = obj->Shown()[obj->First() + 120].nDate;
  for (int i = 0; i < 6; ++i) obj->OnKey(VK_UP);  // zoom in: the start leaves the view
  obj->OnMouseMove(900, y);                       // and no crosshair is drawn
  ASSERT_GT(obj->First(), 10);
  int endX = -1;
  for (int i = obj->First(); i < obj->End(); ++i)
    if (obj->Shown()[i].nDate == lastDate)
      endX = obj->XPositions()[static_cast<size_t>(i - obj->First())] + obj->CandleWidth() / 2;
  ASSERT_GE(endX, 0);
  RecordingPainter p;
  obj->Draw(p);
  std::vector<RECT> inverted;
  for (const SDrawn& d : p.Of(SDrawn::Kind::kLine))
    if (d.inverted) inverted.push_back(d.rect);
  const int mid = (obj->KLineArea().top + obj->KLineArea().bottom) / 2;
  const RECT across{obj->KLineArea().left, mid, endX, mid};
  const RECT down{endX, obj->KLineArea().top + 16, endX, obj->KLineArea().bottom};
  ASSERT_EQ(inverted.size(), 2u);  // the end's line down and the line across
  EXPECT_TRUE(EqualRect(inverted[0], down));
  EXPECT_TRUE(EqualRect(inverted[1], across));
}

TEST_F(KLineTest, FiguresAreKeptPerItem) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  DrawFigure(*obj, kline_cmd::kFirstTool + 2, 30, 50);
  ASSERT_EQ(obj->Pane(0).Tools().Tools().size(), 1u);
  SStockInfo other = *item;
  other.code = item->code + 1;
  obj->SetStock(&other);
  EXPECT_TRUE(obj->Pane(0).Tools().Tools().empty());
  obj->SetStock(item);
  obj->RequestKLine();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  ASSERT_EQ(obj->Pane(0).Tools().Tools().size(), 1u);
  EXPECT_EQ(obj->Pane(0).Tools().Tools()[0].GetKind(), CDrawLineTool::kRectangle);
  EXPECT_EQ(obj->Pane(0).Tools().Tools()[0].Anchor(0).date, obj->Shown()[30].nDate);
}

TEST_F(KLineTest, ThePageDrawsCandlesEveryPaneAndTheDateAxis) {
  Open();
  Feed(HistoryBody(0x053D, DailyBars(126)));
  RecordingPainter p;
  obj->Draw(p);
  int candles = 0;
  for (const SDrawn& d : p.Of(SDrawn::Kind::kRect))
    if (d.pen.color == Color(2) || d.pen.color == Color(24)) ++candles;
  EXPECT_GE(candles, 126);
  std::string texts;
  for (const std::string& t : p.Texts()) texts += t + "|";
  for (const char* part : {"VOL(5,10)", "MACD(12,26,9)", "KDJ(9,3,3)", "2020|"})
    EXPECT_NE(texts.find(part), std::string::npos) << part;
  EXPECT_NE(texts.find(std::string("602001 test item(") + GBK("日线") + ")"), std::string::npos);
}

}  // namespace
}  // namespace charts_test
