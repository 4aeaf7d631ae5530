// What the K-line takes from a server that misbehaves: pushed quotes
// stamped outside the sessions or before the last bar, history replies
// nobody asked for, repeated or overlapping, more history than it holds,
// and pushes in which its item's record is not the first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kline_test_support.h"
#include "sharecode/mythread.h"
#include "zeb/charts/kline/his_tech_obj.h"

namespace charts_test {
namespace {

using tables_test::PacketBytes;

// A push of records (item, minute of the day, last price, level count);
// the u16 at +9 counts them, as the server sends.
struct PushRecord {
  SCodeInfo code;
  int minute;
  uint32_t last;
  uint8_t levels = 0;
  uint32_t dayVolume = 1000;
};
std::string Push(const std::vector<PushRecord>& records, uint16_t type = 0x0B00) {
  PacketBytes b;
  b.U16(0, type).U16(2, 1).U8(4, 1).U16(9, uint16_t(records.size()));
  size_t at = 15 + 16;
  b.Size(at);
  for (const PushRecord& r : records) {
    b.U32(at, (uint32_t(r.code.market - 0x1000) << 24) | uint32_t(r.code.code))
        .U16(at + 4, uint16_t(r.minute));
    b.U32(at + 6, r.last).U32(at + 10, r.last).U32(at + 14, r.last).U32(at + 18, r.last);
    b.U32(at + 26, r.dayVolume).U32(at + 30, 5).U32(at + 34, 0).U8(at + 46, r.levels);
    at += 51 + 8u * r.levels;
    b.Size(at);
  }
  return b.Bytes();
}

SHistoryRecord Bar(uint32_t date) { return Rec(date, 10000, 10000, 10000, 10000); }

class KLineIntake : public ChartsTest {
 protected:
  KLineIntake() {
    CMyThread::SetTraceSink([this](const std::string& line) { trace.push_back(line); });
  }
  ~KLineIntake() override { CMyThread::SetTraceSink({}); }
  void Open(int period) {
    obj = std::make_unique<CHisTechObj>(&store);
    obj->SetPeriod(period);
    obj->SetRect(0, 0, 800, 600);
    obj->SetStock(item);
    obj->RequestKLine();
  }
  int Feed(const std::string& body) { return obj->OnData(body.data(), int(body.size())); }
  size_t Traced(const std::string& what) const {
    size_t n = 0;
    for (const std::string& line : trace) n += line.find(what) != std::string::npos;
    return n;
  }
  bool Ascending() const {
    for (size_t i = 1; i < obj->Raw().size(); ++i)
      if (obj->Raw()[i - 1].nDate >= obj->Raw()[i].nDate) return false;
    return true;
  }
  std::unique_ptr<CHisTechObj> obj;
  std::vector<std::string> trace;
};

// The store's sessions are 09:30-11:30 and 13:00-15:00 of 2026-01-05.
TEST_F(KLineIntake, PushedQuotesMoveBarsOnlyInsideTheSessionsAndNeverBack) {
  Open(kPeriod5);
  ASSERT_EQ(Feed(HistoryBody(0x0505, {Rec(1051000, 10000, 10100, 9900, 10000)})), 1);
  struct Step {
    int minute;
    uint32_t last;
    size_t bars;       // held after the quote
    int32_t lastDate;  // of the last bar
    float close;       // of the last bar
  } steps[] = {
      {605, 10500, 2, 1051005, 10.5f},    // 10:05 opens the next bar
      {1440, 20000, 2, 1051005, 10.5f},   // midnight: no session
      {1500, 20000, 2, 1051005, 10.5f},   // past midnight
      {65535, 20000, 2, 1051005, 10.5f},  // no minute of any day
      {720, 20000, 2, 1051005, 10.5f},    // the lunch break
      {540, 20000, 2, 1051005, 10.5f},    // before the opening
      {595, 20000, 2, 1051005, 10.5f},    // 09:55: the bar before the last
      {604, 10600, 2, 1051005, 10.6f},    // 10:04 still belongs to the last bar
      {611, 10700, 3, 1051011, 10.7f},    // 10:11 opens the next
      {900, 10800, 4, 1051500, 10.8f},    // 15:00 closes the day
  };
  for (const Step& s : steps) {
    Feed(Push({{{kMarket, kCode}, s.minute, s.last}}));
    ASSERT_EQ(obj->Raw().size(), s.bars) << s.minute;
    EXPECT_EQ(obj->Raw().back().nDate, s.lastDate) << s.minute;
    EXPECT_FLOAT_EQ(obj->Raw().back().fClose, s.close) << s.minute;
  }
  // A flood of them costs a line per doubling, each kind its own.
  for (int i = 0; i < 1000; ++i) Feed(Push({{{kMarket, kCode}, 1440 + i, 30000}}));
  EXPECT_EQ(obj->Raw().size(), 4u);
  EXPECT_EQ(Traced("outside the trading sessions"), 10u);  // 1005 of them: 1, 2, 4 .. 512
  EXPECT_EQ(Traced("earlier than the last bar"), 1u);
}

TEST_F(KLineIntake, APushIsReadForTheChartsOwnItemWhereverItStands) {
  const SCodeInfo own{kMarket, kCode}, other{kMarket, kCode + 1}, elsewhere{0x1011, kCode};
  struct Case {
    std::vector<PushRecord> records;
    float close;  // of the last day bar after the push
  } cases[] = {
      {{{own, 600, 11000}}, 11.0f},
      {{{other, 600, 12000, 5}, {own, 600, 11100}}, 11.1f},
      {{{elsewhere, 600, 12000}, {other, 600, 12000, 10}, {own, 600, 11200, 3}}, 11.2f},
      {{{other, 600, 12000}, {elsewhere, 600, 12000}}, 10.0f},  // not shown here: nothing
  };
  for (const Case& c : cases) {
    Open(kPeriodDay);
    ASSERT_EQ(Feed(HistoryBody(0x053D, {Rec(20260105, 10000, 10000, 10000, 10000)})), 1);
    Feed(Push(c.records));
    EXPECT_FLOAT_EQ(obj->Raw().back().fClose, c.close) << c.records.size();
  }
  // A record cut short by the body's end is not read.
  Open(kPeriodDay);
  Feed(HistoryBody(0x053D, {Rec(20260105, 10000, 10000, 10000, 10000)}));
  std::string cut = Push({{other, 600, 12000}, {own, 600, 11300, 2}});
  cut.resize(cut.size() - 1);
  Feed(cut);
  EXPECT_FLOAT_EQ(obj->Raw().back().fClose, 10.0f);
}

// Each period gets one reply per request: a repeated or unasked reply
// leaves the series, and older bars that overlap the held ones are left
// out, so no bar is held twice.
TEST_F(KLineIntake, HistoryIsTakenOncePerRequestAndNoBarTwice) {
  struct Case {
    int period;
    std::vector<SHistoryRecord> newer, older;  // the first reply, the next
    size_t held;                               // bars after both
  } cases[] = {
      {kPeriodDay, DailyBars(130, 100), DailyBars(140, 0),  // its last 40 are held already
       230},
      {kPeriodWeek,
       {Bar(20240112), Bar(20240119), Bar(20240126)},  // Fridays
       // the week before, and the first held week again, as its Tuesday
       {Bar(20240105), Bar(20240109)},
       4},
      {kPeriodMonth,
       {Bar(20240131), Bar(20240229), Bar(20240329)},
       {Bar(20231229), Bar(20240115), Bar(20240131)},  // January twice more
       4},
      {kPeriod5, {Bar(1051000), Bar(1051005)}, {Bar(1050955), Bar(1051000), Bar(1051005)}, 3},
  };
  for (const Case& c : cases) {
    Open(c.period);
    const uint16_t type = uint16_t(0x0500 + c.period);
    const std::string first = HistoryBody(type, c.newer);
    ASSERT_EQ(Feed(first), 1) << c.period;
    // The same reply again, and history nobody asked for.
    EXPECT_EQ(Feed(first), 0) << c.period;
    EXPECT_EQ(Feed(HistoryBody(uint16_t(0x0600 + c.period), c.older)), 0) << c.period;
    EXPECT_EQ(obj->Raw().size(), c.newer.size()) << c.period;
    obj->RequestKLine();
    ASSERT_EQ(Feed(HistoryBody(uint16_t(0x0600 + c.period), c.older)), 1) << c.period;
    EXPECT_EQ(obj->Raw().size(), c.held) << c.period;
    EXPECT_TRUE(Ascending()) << c.period;
  }
  // Each chart refused two: its first and second are traced.
  EXPECT_EQ(Traced("no request waits for"), 8u);
}

// A server that answers every request with all it may send fills the
// chart up to its bound and no further; scrolling back then stops asking.
TEST_F(KLineIntake, HeldBarsStopAtTheirBound) {
  constexpr int kReply = 65535;
  Open(kPeriodDay);
  for (int reply = 0; reply < 3; ++reply) {
    if (reply > 0) obj->RequestKLine();
    const int from = (3 - reply - 1) * kReply;
    ASSERT_EQ(Feed(HistoryBody(0x053D, DailyBars(kReply, from))), 1) << reply;
  }
  EXPECT_EQ(int(obj->Raw().size()), CHisTechObj::kMaxHeldBars);
  EXPECT_EQ(obj->HistoryState(), 3);
  EXPECT_TRUE(Ascending());
  // The newest bars are the ones kept.
  EXPECT_EQ(obj->Raw().back().nDate, int32_t(DayOf(3 * kReply - 1)));
  EXPECT_EQ(obj->Raw().front().nDate, int32_t(DayOf(3 * kReply - CHisTechObj::kMaxHeldBars)));
  obj->RequestKLine();
  EXPECT_EQ(Feed(HistoryBody(0x063D, DailyBars(100, 0))), 1);
  EXPECT_EQ(int(obj->Raw().size()), CHisTechObj::kMaxHeldBars);
  EXPECT_EQ(Traced("past the most bars held"), 2u);
}

}  // namespace
}  // namespace charts_test
