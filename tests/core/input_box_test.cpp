// The input box's rules: the lines it lists, the exact-key promotion, what
// its OK sends to the owner window, and where it opens.
#include <cstring>

#include "input_test_support.h"
#include "platform/input.h"
#include "platform/registry.h"
#include "platform/window.h"
#include "support/shell_test_app.h"
#include "zeb/core/input/input_box.h"
#include "zeb/core/input/key_weights.h"
#include "zeb/messages.h"

using namespace input_test;

namespace {

// The owner window: records each WM_QUOTE_REQUEST with its data copied.
class Owner : public platform::MsgTarget {
 public:
  struct Request {
    WPARAM kind;
    SCodeInfo code;
    std::string text;
  };
  std::vector<Request> requests;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_QUOTE_REQUEST) return 0;
    Request r{wParam, {}, {}};
    if (wParam == kRequestItem) std::memcpy(&r.code, (const void*)lParam, sizeof r.code);
    else r.text = (const char*)lParam;
    requests.push_back(r);
    return 1;
  }
};

TEST_F(InputTest, LinesShowKeyThenNameInNineteenBytes) {
  CKeyGhostStruct r;
  std::strcpy(r.code, "600001");
  std::strcpy(r.name, GBK("中国邮票"));
  EXPECT_EQ(FormatInputLine(r), std::string("600001  ") + GBK("中国邮票"));
  std::strcpy(r.key, "ZGYP");
  std::strcpy(r.name, GBK("中国邮票精品"));  // 12 bytes from column 8: cut to 11, on a boundary
  EXPECT_EQ(FormatInputLine(r), std::string("ZGYP    ") + GBK("中国邮票精"));
}

TEST_F(InputTest, ListHoldsAtMostHundredLines) {
  std::vector<SStockInfo> items;
  for (int i = 0; i < 150; ++i) items.push_back(Item(600000 + i, "x"));
  index.AddItems(4114, items.data(), (int)items.size());
  CInputList list(&index);
  EXPECT_EQ(list.Refill("6").size(), 100u);
  EXPECT_EQ(list.Lines().front().substr(0, 6), "600000");
  EXPECT_TRUE(list.Refill("").empty());
  EXPECT_EQ(list.ResultOfLine(0), nullptr);
}

TEST_F(InputTest, ExactKeyGoesToTheTop) {
  // 601 weighs more than 60, so it sorts first; typing "60" promotes 60.
  index.AddEntry("601", "heavy", kKeyCommand, 0);
  index.AddEntry("60", "exact", kKeyCommand, 0);
  platform::RegSetDword(kKeyWeightRegistryKey, "601", 9);
  index.Load();
  CInputList list(&index);
  list.Refill("60");
  ASSERT_EQ(list.Lines().size(), 2u);
  EXPECT_STREQ(list.ResultOfLine(0)->name, "exact");
  EXPECT_STREQ(list.ResultOfLine(1)->name, "heavy");

  // A first result with the same key and a weight at least as large keeps
  // its place; the other exact match is listed after it.
  index.AddEntry("60", "second 60", kKeyItem, 4114);
  index.AddEntry("60", "third 60", kKeyItem, 4115);
  platform::RegSetDword(kKeyWeightRegistryKey, "60", 9);
  index.Load();
  list.Refill("60");
  std::vector<std::string> names;
  for (int i = 0; list.ResultOfLine(i); ++i) names.push_back(list.ResultOfLine(i)->name);
  EXPECT_EQ(names, (std::vector<std::string>{"exact", "second 60", "third 60", "heavy"}));
}

TEST_F(InputTest, OkSendsTheRequestOfTheKind) {
  shell_test::EnsureQtApp();
  Owner owner;
  index.AddEntry("602001", GBK("鼠票"), kKeyItem, 4114);
  index.AddEntry("03", "F3", kKeyCommand, 0);
  index.AddEntry("", GBK("钱币精品"), kKeyBlock, 0);
  index.AddEntry("MACD", "macd", kKeyFormula, 0);
  CInputList list(&index);
  for (const char* typed : {"602001", "03", "QBJP", "MACD"}) {
    list.Refill(typed);
    ASSERT_NE(list.ResultOfLine(0), nullptr) << typed;
    EXPECT_TRUE(SendInputChoice(owner.GetSafeHwnd(), MakeInputChoice(*list.ResultOfLine(0))));
  }
  ASSERT_EQ(owner.requests.size(), 4u);
  EXPECT_EQ(owner.requests[0].kind, (WPARAM)kRequestItem);
  EXPECT_EQ(owner.requests[0].code, (SCodeInfo{4114, 602001}));
  EXPECT_EQ(owner.requests[1].kind, (WPARAM)kRequestCommand);
  EXPECT_EQ(owner.requests[1].text, "03");
  EXPECT_EQ(owner.requests[2].kind, (WPARAM)kRequestBlock);
  EXPECT_EQ(owner.requests[2].text, GBK("钱币精品"));
  EXPECT_EQ(owner.requests[3].kind, (WPARAM)kRequestFormula);
  EXPECT_EQ(owner.requests[3].text, "MACD");

  // An entry of another kind sends nothing.
  CKeyGhostStruct odd;
  odd.kind = 1;
  EXPECT_FALSE(SendInputChoice(owner.GetSafeHwnd(), MakeInputChoice(odd)));
  EXPECT_EQ(owner.requests.size(), 4u);
}

TEST(InputBox, OpensInsideTheOwnersBottomRightCorner) {
  RECT owner{100, 50, 1100, 850};
  RECT box = PlaceInputBox(owner, 200, 240);
  EXPECT_EQ(box.right, 1084);
  EXPECT_EQ(box.bottom, 834);
  EXPECT_EQ(RectWidth(box), 200);
  EXPECT_EQ(RectHeight(box), 240);
}

TEST(InputBox, ArrowAndPageKeysStepTheSelectionWithinTheList) {
  const struct {
    int selected, count;
    UINT vk;
    int page, expected;
  } cases[] = {
      {0, 10, VK_DOWN, 4, 1},  {9, 10, VK_DOWN, 4, 9},
      {3, 10, VK_UP, 4, 2},    {0, 10, VK_UP, 4, 0},
      {-1, 10, VK_DOWN, 4, 0}, {2, 10, VK_NEXT, 4, 6},
      {8, 10, VK_NEXT, 4, 9},  {5, 10, VK_PRIOR, 4, 1},
      {2, 10, VK_PRIOR, 4, 0}, {4, 10, VK_RETURN, 4, 4},
      {0, 0, VK_DOWN, 4, -1},  {3, 10, VK_NEXT, 0, 4},  // a list too small for one line still steps
  };
  for (const auto& c : cases)
    EXPECT_EQ(StepInputSelection(c.selected, c.count, c.vk, c.page), c.expected)
        << c.selected << " " << c.count << " " << c.vk;
}

}  // namespace
