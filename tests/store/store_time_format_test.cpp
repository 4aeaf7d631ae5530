// Trading-minute arithmetic, calendar comparisons and number texts.
#include "platform/gbk.h"
#include "store_test_support.h"

using namespace store_test;

namespace {

class TimeTest : public StoreTest {
 protected:
  void SetUp() override { ASSERT_EQ(Load(Table({})), 0); }  // 570-690, 780-900
};

}  // namespace

TEST_F(TimeTest, TimeOfDayToMinuteIndex) {
  const struct {
    uint16_t time, index;
  } cases[] = {{0, 0},     {570, 0},   {571, 1},   {690, 120}, {720, 120},
               {779, 120}, {780, 121}, {781, 122}, {900, 241}, {960, 241}};
  for (const auto& c : cases) EXPECT_EQ(store.TimeToMinuteIndex(0, c.time), c.index) << c.time;
}

TEST_F(TimeTest, ElapsedMinutesAndBackToTime) {
  const struct {
    uint16_t elapsed, index;
  } elapsed[] = {{0, 0}, {119, 119}, {209, 209}, {210, 121}, {330, 241}, {331, 240}, {600, 240}};
  for (const auto& c : elapsed)
    EXPECT_EQ(store.ElapsedToMinuteIndex(0, c.elapsed), c.index) << c.elapsed;

  EXPECT_EQ(store.MinuteIndexToTime(0, 0, 0), 570);
  EXPECT_EQ(store.MinuteIndexToTime(0, 120, 1), 690);
  EXPECT_EQ(store.MinuteIndexToTime(0, 121, 0), 781);
  EXPECT_EQ(store.MinuteIndexToTime(0, 121, 1), 780);
  EXPECT_EQ(store.MinuteIndexToTime(0, 240, 1), 899);
  EXPECT_EQ(store.OffsetToTime(30), 600);
}

TEST_F(StoreTest, TimeFunctionsWithFewerThanTwoPeriods) {
  // No market table yet: every time function gives 0.
  EXPECT_EQ(store.GetTradeMinutes(), 0);
  EXPECT_EQ(store.TimeToMinuteIndex(0, 600), 0);
  EXPECT_EQ(store.ElapsedToMinuteIndex(0, 600), 0);
  EXPECT_EQ(store.MinuteIndexToTime(0, 10, 1), 0);
  EXPECT_EQ(store.OffsetToTime(10), 0);

  // One period: indexes run inside it and stop at its end.
  ASSERT_EQ(Load(Table({}, {{600, 660}})), 0);
  EXPECT_EQ(store.GetTradeMinutes(), 60);
  EXPECT_EQ(store.TimeToMinuteIndex(0, 630), 30);
  EXPECT_EQ(store.ElapsedToMinuteIndex(0, 30), 30);
  EXPECT_EQ(store.ElapsedToMinuteIndex(0, 90), 60);
  EXPECT_EQ(store.MinuteIndexToTime(0, 30, 1), 630);

  // A period ending before it begins counts as empty.
  ASSERT_EQ(Load(Table({}, {{700, 600}, {780, 800}})), 0);
  EXPECT_EQ(store.GetTradeMinutes(), 20);
}

TEST_F(TimeTest, VolumeRatio) {
  // 240 trading minutes; at index 61, 60 minutes have passed.
  EXPECT_FLOAT_EQ(store.CalcVolumeRatio(0, 61, 1000, 4000), 1000.0f * 4.0f / 4000.0f);
  // Indexes 0, 1 and 2 all divide by one minute (index 0 must not wrap).
  for (uint32_t index : {0u, 1u, 2u})
    EXPECT_FLOAT_EQ(store.CalcVolumeRatio(0, index, 100, 2400), 10.0f) << index;
  EXPECT_EQ(store.CalcVolumeRatio(0, 61, 1000, 0), 0.0f);
}

TEST(StoreDates, SameWeekAndSameMonth) {
  const struct {
    uint32_t a, b;
    bool week;
  } weeks[] = {
      {20261207, 20261211, true},   // Monday .. Friday
      {20261211, 20261207, true},   // either order
      {20261211, 20261214, false},  // Friday .. next Monday
      {20261206, 20261212, true},   // Sunday .. Saturday
      {20261205, 20261206, false},  // Saturday .. Sunday
      {20261207, 20261214, false},  // seven days apart
      {20261230, 20270101, true},   // across the year (Wednesday .. Friday)
      {20261210, 20261210, true},
  };
  for (const auto& c : weeks) EXPECT_EQ(CPublic::IsSameWeek(c.a, c.b), c.week) << c.a << " " << c.b;
  EXPECT_TRUE(CPublic::IsSameMonth(20261201, 20261231));
  EXPECT_FALSE(CPublic::IsSameMonth(20261201, 20251201));
  EXPECT_FALSE(CPublic::IsSameMonth(20261130, 20261201));
}

TEST(StoreFormat, AmountsValuesAndCodes) {
  const struct {
    float v;
    const char* text;
  } amounts[] = {{1e8f, GBK("1.00亿")},           {2.5e8f, GBK("2.50亿")}, {1e4f, GBK("1.00万")},
                 {99990000.0f, GBK("9999.00万")}, {9999.5f, "9999.50"},    {-5.0f, "-5.00"}};
  for (const auto& c : amounts) EXPECT_EQ(CPublic::FormatAmount(c.v), c.text) << c.v;

  const struct {
    float v;
    int decimals;
    const char* text;
  } values[] = {{1e8f, 2, GBK("10000万")}, {1.5e8f, 2, GBK("1.50亿")}, {1e6f, 3, "1000000.000"},
                {2e6f, 2, GBK("200万")},   {12.345f, 1, "12.3"},       {7.0f, 0, "7"},
                {7.0f, -3, "7"},           {7.0f, 99, "7.000000000"}};
  for (const auto& c : values) EXPECT_EQ(CPublic::FormatValue(c.v, c.decimals), c.text) << c.v;

  EXPECT_EQ(CPublic::FormatCode(1), "000001");
  EXPECT_EQ(CPublic::FormatCode(602001), "602001");
  EXPECT_EQ(CPublic::GetIndicatorDecimals("VOL"), 0);
  EXPECT_EQ(CPublic::GetIndicatorDecimals("MACD"), 2);
  EXPECT_EQ(CPublic::GetPriceUnit(), 1000);
  EXPECT_EQ(CPublic::GetPriceDecimals(), 2);
  EXPECT_EQ(CPublic::IsValidRect(RECT{0, 0, 10, 5}), 1);
  EXPECT_EQ(CPublic::IsValidRect(RECT{0, 0, 0, 5}), 0);
  EXPECT_EQ(CPublic::IsValidRect(RECT{10, 0, 5, 5}), 0);
}
