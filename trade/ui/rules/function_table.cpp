// The trading window's function table and the parser of its tree text.
#include "trade/ui/rules/function_table.h"

#include "platform/gbk.h"
#include "trade/ui/rules/gbk_find.h"

namespace {

const STradeFunction kFunctions[kTradeFunctionCount] = {
    {0, "买入", "交易>>买入", ETradePanel::kOrderEntry, 6020, 0},
    {1, "卖出", "交易>>卖出", ETradePanel::kOrderEntry, 6020, 1},
    {2, "委托撤单", "交易>>撤单", ETradePanel::kOrders, 137, 2},
    {3, "申购", "交易>>申购", ETradePanel::kIssues, 135, 0},
    {4, "资金", "查询>>资金", ETradePanel::kFunds, 6022, 0},
    {5, "配号查询", "查询>>配号查询", ETradePanel::kAllotments, 6021, 0},
    {6, "今日委托", "查询>>今日委托", ETradePanel::kOrders, 137, 6},
    {7, "今日成交", "查询>>今日成交", ETradePanel::kDeals, 6023, 7},
    {8, "历史委托", "查询>>历史委托", ETradePanel::kOrders, 137, 8},
    {9, "历史成交", "查询>>历史成交", ETradePanel::kDeals, 6023, 9},
    {10, "银证转账", "银行业务>>银证转账", ETradePanel::kTransfer, 6025, 0},
    {11, "转账查询", "银行业务>>转账查询", ETradePanel::kTransferQuery, 6026, 0},
    {12, "签约解约", "银行业务>>签约解约", ETradePanel::kSigning, 7007, 0},
    {13, "今日流水", "资金流水>>今日流水", ETradePanel::kMoneyFlow, 7005, 0},
    {14, "历史流水", "资金流水>>历史流水", ETradePanel::kMoneyFlow, 7005, 1},
    {15, "藏品发布申请", "托管业务>>藏品发布申请", ETradePanel::kCustody, 7004, 0},
    {16, "藏品发布申请查询", "托管业务>>藏品发布申请查询", ETradePanel::kCustody, 7004, 1},
    {17, "托管申请", "托管业务>>托管申请", ETradePanel::kCustody, 7004, 2},
    {18, "托管申请查询", "托管业务>>托管申请查询", ETradePanel::kCustody, 7004, 3},
    {19, "发行藏品查询", "托管业务>>发行藏品查询", ETradePanel::kCustody, 7004, 4},
    {20, "申购委托查询", "托管业务>>申购委托查询", ETradePanel::kCustody, 7004, 5},
    {21, "历史申购中签查询", "托管业务>>历史申购中签查询", ETradePanel::kCustody, 7004, 6},
    {22, "历史增发查询", "托管业务>>历史增发查询", ETradePanel::kCustody, 7004, 7},
    {23, "提货单注册", "托管业务>>提货单注册", ETradePanel::kCustody, 7004, 8},
    {24, "提货单查询及打印", "托管业务>>提货单查询及打印", ETradePanel::kCustody, 7004, 9},
    {25, "提货单注销", "托管业务>>提货单注销", ETradePanel::kCustody, 7004, 10},
    {26, "提货单费用查询", "托管业务>>提货单费用查询", ETradePanel::kCustody, 7004, 11},
    {27, "托管历史查询", "托管业务>>托管历史查询", ETradePanel::kCustody, 7004, 12},
    {28, "查询支付挂牌费列表", "托管业务>>查询支付挂牌费列表", ETradePanel::kCustody, 7004, 13},
    {29, "修改密码", "修改密码>>修改密码", ETradePanel::kPassword, 152, 0},
};

// Group items up to this many get the plain function image; the ones after
// (the settings group's 修改密码) the key image.
constexpr int kPlainGroupItems = 25;
constexpr int kGroupImage = 6;
constexpr int kGroupItemImage = 5;
constexpr int kLateGroupItemImage = 7;

}  // namespace

const STradeFunction* GetTradeFunction(int index) {
  if (index < 0 || index >= kTradeFunctionCount) return nullptr;
  return &kFunctions[index];
}

const char* TradeFunctionName(int index) {
  const STradeFunction* f = GetTradeFunction(index);
  return f ? platform::GbkLiteral(f->name) : "";
}

const char* TradeFunctionCaption(int index) {
  const STradeFunction* f = GetTradeFunction(index);
  return f ? platform::GbkLiteral(f->caption) : "";
}

const std::string& TradeFunctionTreeText() {
  static const std::string text =
      GBK("买入@卖出@委托撤单@申购@查询~资金~配号查询~今日委托~今日成交~历史委托~历史成交~@"
          "银行业务~银证转账~转账查询~签约解约~@资金流水~今日流水~历史流水~@"
          "托管业务~藏品发布申请~藏品发布申请查询~托管申请~托管申请查询~发行藏品查询~"
          "申购委托查询~历史申购中签查询~历史增发查询~提货单注册~提货单查询及打印~提货单注销~"
          "提货单费用查询~托管历史查询~查询支付挂牌费列表~@设置~修改密码~@");
  return text;
}

std::vector<STreeEntry> ParseFunctionTree(const std::string& text) {
  std::vector<STreeEntry> out;
  std::string rest = text;
  int topLevel = 0;
  int groupItems = 0;
  int functions = 0;
  while (rest.size() >= 2) {
    const size_t at = GbkFindChar(rest, '@');
    if (at == std::string::npos) break;
    std::string entry = rest.substr(0, at);
    rest.erase(0, at + 1);
    const size_t tilde = GbkFindChar(entry, '~');
    if (tilde == std::string::npos) {
      out.push_back({entry, false, -1, topLevel, functions++});
      ++topLevel;
      continue;
    }
    const int group = static_cast<int>(out.size());
    out.push_back({entry.substr(0, tilde), true, -1, kGroupImage, -1});
    ++topLevel;
    std::string items = entry.substr(tilde + 1);
    while (items.size() >= 2) {
      const size_t end = GbkFindChar(items, '~');
      if (end == std::string::npos) break;
      const int image = groupItems < kPlainGroupItems ? kGroupItemImage : kLateGroupItemImage;
      out.push_back({items.substr(0, end), false, group, image, functions++});
      ++groupItems;
      items.erase(0, end + 1);
    }
  }
  return out;
}

int FindFunctionByName(const std::vector<STreeEntry>& tree, const std::string& text) {
  for (const STreeEntry& e : tree)
    if (!e.isGroup && e.text == text) return e.functionIndex;
  return -1;
}

int QuickButtonFunction(int buttonId) {
  switch (buttonId) {
    case 7008: return 0;
    case 7006: return 1;
    case 1080: return 2;
    case 7009: return 4;
    case 7010: return 6;
    default: return -1;
  }
}
