// Shared fixture of the chart tests: the table fixture's program folder,
// scheme, store and recording main window, plus a formula folder holding
// the standard indicators (from the shipped list) and the tests' own
// formulas, loaded through the Formula library as the program loads it,
// an INDEX.DEX, and builders of the K-line reply bodies.
#pragma once
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formula/face/FormulaFaceAccess.h"
#include "tables/quote_packet_bytes.h"
#include "tables/tables_test_support.h"
#include "zeb/charts/indicators/standard_indicators.h"
#include "zeb/tables/packets/kline_packets.h"

namespace charts_test {

constexpr uint16_t kMarket = 0x1012;
constexpr int32_t kCode = 602001;

// Formulas of the tests only: fixed grid levels and large values.
inline const char* TestFormulas() {
  return "[GRID2080]\nname=grid\ngrid=20,80\nparams=\nbody=A:CLOSE;\n"
         "[BIGV]\nname=big\ngrid=\nparams=\nbody=A:CLOSE;\nbody=B:OPEN;\n";
}

inline std::string StandardList() {
  const char* src = std::getenv("ZEB_SOURCE_DIR");
  std::ifstream in(std::string(src ? src : ".") + "/zeb/charts/indicators/standard_indicators.txt");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// One bar in thousandths, as it travels.
inline SHistoryRecord Rec(uint32_t date, uint32_t open, uint32_t high, uint32_t low, uint32_t close,
                          uint32_t volume = 1000, int32_t amount = 0) {
  return SHistoryRecord{date, open, high, low, close, volume, amount};
}

inline std::string HistoryBody(uint16_t type, const std::vector<SHistoryRecord>& records,
                               uint16_t market = kMarket, int32_t code = kCode, uint16_t tag = 1) {
  tables_test::PacketBytes b;
  b.U16(0, type).U16(2, tag).U16(4, 1).U16(10, market).U32(12, static_cast<uint32_t>(code));
  b.U16(16, static_cast<uint16_t>(records.size())).Size(kHistoryRecordsAt);
  for (size_t i = 0; i < records.size(); ++i) {
    const size_t at = kHistoryRecordsAt + i * kHistoryRecordSize;
    const SHistoryRecord& r = records[i];
    b.U32(at, r.date).U32(at + 4, r.open).U32(at + 8, r.high).U32(at + 12, r.low);
    b.U32(at + 16, r.close).U32(at + 20, r.volume).I32(at + 24, r.amount);
  }
  return b.Bytes();
}

// n daily bars, 28 a month from January 2020 on, closes wandering upward.
inline uint32_t DayOf(int i) {
  const int month = i / 28;
  return static_cast<uint32_t>((2020 + month / 12) * 10000 + (month % 12 + 1) * 100 + i % 28 + 1);
}
inline std::vector<SHistoryRecord> DailyBars(int n, int from = 0) {
  std::vector<SHistoryRecord> out;
  for (int i = from; i < from + n; ++i) {
    const uint32_t c = 10000 + 50 * static_cast<uint32_t>(i % 40) + 10 * static_cast<uint32_t>(i);
    out.push_back(
        Rec(DayOf(i), c - 100, c + 200, c - 300, c, 1000 + 10 * static_cast<uint32_t>(i)));
  }
  return out;
}

class ChartsTest : public tables_test::TablesTest {
 protected:
  ChartsTest() {
    std::string dat, error;
    const bool built = BuildIndicatorStore(StandardList() + TestFormulas(), &dat, &error);
    EXPECT_TRUE(built) << error;
    folders.Write("formula/ZBFormu.dat", dat);
    WritePaneFile("4", "KLINE,VOL,MACD,KDJ,");
    CFormulaFace::InitDefineTech();
    sim::MarketTableBlock block{kMarket, {tables_test::Item(kCode, "test item", 10000)}};
    LoadMarket({block});
    const SCodeInfo key{kMarket, kCode};
    item = store.FindStock(&key);
  }
  ~ChartsTest() override { CFormulaFace().ResetIt(); }

  // The charts reach the formula library as the shell hands it to them.
  CFormulaFaceAccess formulaAccess;
  CScopedFormulaAccess installedFormula{&formulaAccess};

  void WritePaneFile(const std::string& count, const std::string& names) {
    std::string text;
    if (!count.empty()) text += std::string("[") + GBK("指标个数") + "]\r\n001=" + count + "\r\n";
    if (!names.empty()) text += std::string("[") + GBK("指标类型") + "]\r\n001=" + names + "\r\n";
    folders.Write("INDEX/INDEX.DEX", text);
  }

  SStockInfo* item = nullptr;
};

}  // namespace charts_test
