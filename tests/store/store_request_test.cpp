// The request road: a length prefix and the bytes, sent to the main window
// as WM_QUOTE_REQUEST and handled before SendRequest returns.
#include <cstring>

#include "platform/window.h"
#include "support/shell_test_app.h"
#include "store_test_support.h"
#include "zeb/messages.h"

using namespace store_test;

namespace {

class RecordingFrame : public platform::MsgTarget {
 public:
  struct Received {
    UINT message;
    WPARAM wParam;
    std::string bytes;  // length prefix included
  };
  std::vector<Received> received;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const char* buffer = reinterpret_cast<const char*>(lParam);
    int32_t length = 0;
    std::memcpy(&length, buffer, 4);
    received.push_back({message, wParam, std::string(buffer, 4 + static_cast<size_t>(length))});
    return 0;
  }
};

}  // namespace

TEST_F(StoreTest, SendRequestHandsTheFrameALengthPrefixedCopy) {
  shell_test::EnsureQtApp();
  RecordingFrame frame;
  store.SetMainWnd(frame.GetSafeHwnd());

  SCodeRequestHeader head;
  head.type = 0x0200;
  head.market = 4100;
  head.tag = static_cast<uint16_t>(CPublic::GetRequestTag());
  head.count = 1;
  SCodeInfo item{4100, 600001};
  std::string request(reinterpret_cast<const char*>(&head), sizeof head);
  request.append(reinterpret_cast<const char*>(&item), sizeof item);

  ASSERT_EQ(store.SendRequest(request.data(), static_cast<int>(request.size()), kRequestQuoteData),
            1);
  ASSERT_EQ(frame.received.size(), 1u);  // handled before the call returned
  EXPECT_EQ(frame.received[0].message, WM_QUOTE_REQUEST);
  EXPECT_EQ(frame.received[0].message, 0x403u);
  EXPECT_EQ(frame.received[0].wParam, 1u);
  const std::string expected = std::string("\x12\x00\x00\x00", 4) + request;
  EXPECT_EQ(frame.received[0].bytes, expected);

  // An empty request still carries its zero length; bad arguments send nothing.
  EXPECT_EQ(store.SendRequest(nullptr, 0, kRequestCommand), 1);
  ASSERT_EQ(frame.received.size(), 2u);
  EXPECT_EQ(frame.received[1].wParam, 2u);
  EXPECT_EQ(frame.received[1].bytes, std::string(4, '\0'));
  EXPECT_EQ(store.SendRequest(nullptr, 8, 1), 0);
  EXPECT_EQ(store.SendRequest(request.data(), -1, 1), 0);
  EXPECT_EQ(frame.received.size(), 2u);
}
