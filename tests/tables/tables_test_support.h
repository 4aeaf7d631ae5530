// Shared fixtures of the table tests: a Qt GUI application (fonts), a
// program folder with a colour scheme, a store loaded with a market, a
// main frame that records the requests sent through the store, and an
// owner that records what a table asked of its window.
#pragma once
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "quote_packet_bytes.h"
#include "support/shell_temp_folders.h"
#include "sim/market/market_table_builder.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/draw_owner.h"

namespace tables_test {

inline void EnsureGuiApp() {
  static int argc = 1;
  static char name[] = "test_tables";
  static char* argv[] = {name, nullptr};
  if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
}

// Writes a one-scheme list (default colours and fonts) into the program
// folder and loads it.
inline void LoadDefaultScheme(const shell_test::TempFolders& folders) {
  const std::string list = std::string("[") + GBK("配色方案") + "]\r\n0=test\r\n\r\n[" +
                           GBK("当前方案") + "]\r\n001=0\r\n";
  folders.Write("INTERFACE/COLORSCHEME.ini", list);
  QImage slider(4, 8, QImage::Format_RGB32);
  slider.fill(Qt::gray);
  slider.save(QString::fromStdString(folders.Path("INTERFACE/test.BMP")), "BMP");
  CSysStyle::ReleaseInstance();
  CSysStyle::GetInstance()->LoadScheme();
}

// Records every quote request the store sends to the main window.
class RequestRecorder : public platform::MsgTarget {
 public:
  struct Request {
    uint16_t type = 0;
    uint16_t market = 0;
    uint16_t tag = 0;
    uint16_t count = 0;
    std::vector<SCodeInfo> items;
    std::string bytes;  // as sent, without the length prefix
  };
  std::vector<Request> requests;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_QUOTE_REQUEST || wParam != kRequestQuoteData) return 0;
    const char* buffer = reinterpret_cast<const char*>(lParam);
    int32_t length = 0;
    std::memcpy(&length, buffer, 4);
    Request r;
    r.bytes.assign(buffer + 4, static_cast<size_t>(length));
    const auto u16 = [&](size_t at) {
      return static_cast<uint16_t>(static_cast<uint8_t>(r.bytes[at]) |
                                   (static_cast<uint8_t>(r.bytes[at + 1]) << 8));
    };
    r.type = u16(0);
    r.market = u16(2);
    r.tag = u16(4);
    r.count = u16(6);
    for (size_t at = 12; at + 6 <= r.bytes.size(); at += 6) {
      int32_t code = 0;
      std::memcpy(&code, r.bytes.data() + at + 2, 4);
      r.items.push_back(SCodeInfo{u16(at), code});
    }
    requests.push_back(std::move(r));
    return 0;
  }
};

// What a table asked of its window.
class RecordingOwner : public CDrawOwner {
 public:
  int repaints = 0;
  Cursor cursor = Cursor::kArrow;
  bool captured = false;
  std::vector<POINT> pointerMoves;
  struct Shown {
    SPopupMenu menu;
    int x, y;
  };
  std::vector<Shown> menus;

  void Repaint() override { ++repaints; }
  void SetCursor(Cursor c) override { cursor = c; }
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  void MovePointer(int x, int y) override { pointerMoves.push_back(POINT{x, y}); }
  int TrackPopup(const SPopupMenu& menu, int x, int y) override {
    menus.push_back({menu, x, y});
    return 0;
  }
};

inline sim::MarketTableItem Item(int32_t code, const std::string& gbkName, uint32_t preClose,
                                 uint32_t refVolume = 0, int32_t circulating = 0,
                                 uint32_t inventory = 0) {
  sim::MarketTableItem item;
  item.code = code;
  item.name = gbkName;
  item.preClose = preClose;
  item.refVolume = refVolume;
  item.circulating = circulating;
  item.inventory = inventory;
  return item;
}

// A program folder with the default scheme, a store and a recording main
// window. Markets are loaded by the tests.
class TablesTest : public ::testing::Test {
 protected:
  TablesTest() {
    EnsureGuiApp();
    LoadDefaultScheme(folders);
    store.SetMainWnd(frame.GetSafeHwnd());
  }
  ~TablesTest() override { CSysStyle::ReleaseInstance(); }

  void LoadMarket(const std::vector<sim::MarketTableBlock>& blocks) {
    const std::string body = sim::BuildMarketTable(20260105, 1, {{570, 690}, {780, 900}}, blocks);
    ASSERT_EQ(store.ParseMarketTable(body.data(), static_cast<int>(body.size())), 0);
  }
  // A market of count items with codes first, first + 1, ... previous close 10.00.
  void LoadSeries(uint16_t market, int32_t first, int count) {
    sim::MarketTableBlock block{market, {}};
    for (int i = 0; i < count; ++i)
      block.items.push_back(Item(first + i, "item" + std::to_string(i), 10000));
    LoadMarket({block});
  }
  static COLORREF Color(int id) { return CSysStyle::GetInstance()->GetColor(id); }

  shell_test::TempFolders folders;
  platform::ScopedRecordingBoxes boxes;
  RequestRecorder frame;
  CPublic store;
};

}  // namespace tables_test
