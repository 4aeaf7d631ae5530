#include "zeb/shell/frame/shell_menus.h"

#include <vector>

#include "platform/gbk.h"
#include "zeb/shell/frame/shell_commands.h"

namespace {

using platform::MenuEntry;
constexpr UINT kSep = MF_SEPARATOR;

std::vector<MenuEntry> MenuBar() {
  return {
      {0, 0, GBK("系统(&S)")},
      {1, cmd::kConnect, GBK("连接行情主站")},
      {1, cmd::kDisconnect, GBK("断开行情主站")},
      {1, 0, nullptr, kSep},
      {1, cmd::kUserInfo, GBK("用户信息")},
      {1, cmd::kSystemSettings, GBK("系统设置")},
      {1, 0, nullptr, kSep},
      {1, cmd::kAppExit, GBK("退出")},
      {0, 0, GBK("功能(&F)")},
      {1, cmd::kUpdateNow, GBK("在线升级")},
      {1, cmd::kMarketHome, GBK("市场主页")},
      {1, 0, nullptr, kSep},
      {1, cmd::kTimeShare, GBK("分时走势\tF5")},
      {1, cmd::kKLine, GBK("实时行情\\K线")},
      {1, cmd::kDeals, GBK("成交明细\tF1")},
      {1, cmd::kPriceTable, GBK("成交分价表\tF2")},
      {1, cmd::kItemInfo, GBK("个股资料\tF10")},
      {1, 0, nullptr, kSep},
      {1, cmd::kBack, GBK("返回\tEsc")},
      {0, 0, GBK("行情(&Q)")},
      {1, cmd::kMarketList + 13, GBK("全部藏品")},
      {1, cmd::kMarketList + 8, GBK("邮票行情")},
      {1, cmd::kMarketList + 7, GBK("钱币行情")},
      {1, cmd::kMarketList + 9, GBK("电话卡行情")},
      {1, cmd::kMarketList + 10, GBK("邮资封片行情")},
      {1, cmd::kMarketList + 6, GBK("指数行情")},
      {1, cmd::kMarketList + 11, GBK("其他藏品")},
      {1, 0, nullptr, kSep},
      {1, cmd::kMarketList + 0, GBK("分类行情一")},
      {1, cmd::kMarketList + 1, GBK("分类行情二")},
      {1, cmd::kMarketList + 2, GBK("分类行情三")},
      {1, cmd::kMarketList + 3, GBK("分类行情四")},
      {1, cmd::kMarketList + 4, GBK("分类行情五")},
      {1, cmd::kMarketList + 5, GBK("分类行情六")},
      {1, cmd::kMarketList + 12, GBK("综合行情")},
      {1, cmd::kMarketList + 14, GBK("其他指数")},
      {1, 0, nullptr, kSep},
      {1, cmd::kFavourites, GBK("自选藏品\tF6")},
      {0, 0, GBK("工具(&T)")},
      {1, cmd::kPageTurn, GBK("自动翻页")},
      {1, cmd::kDrawTools, GBK("画线工具")},
      {1, cmd::kAlarmSettings, GBK("预警设置")},
      {1, 0, nullptr, kSep},
      {1, cmd::kAddFavourite, GBK("加入自选藏品")},
      {1, cmd::kRemoveFavourite, GBK("从自选中删除")},
      {1, 0, nullptr, kSep},
      {1, cmd::kFormulaManager, GBK("公式管理器")},
      {1, 0, nullptr, kSep},
      {1, cmd::kToolbar, GBK("工具栏")},
      {1, cmd::kFullScreen, GBK("全屏显示")},
      {0, 0, GBK("分析(&A)")},
      {1, cmd::kRealTime, GBK("实时走势")},
      {1, cmd::kTechnical, GBK("技术分析")},
      {1, cmd::kDealDetails, GBK("成交明细")},
      {1, cmd::kPriceDistribution, GBK("分价表")},
      {1, 0, nullptr, kSep},
      {1, cmd::kSwitchChart, GBK("分时走势\\技术分析")},
      {1, cmd::kProductInfo, GBK("商品详细信息")},
      {0, 0, GBK("帮助(&H)")},
      {1, cmd::kHelp, GBK("帮助主题")},
      {1, cmd::kHotKeys, GBK("快捷键列表")},
      {1, cmd::kFeedback, GBK("意见反馈")},
      {1, 0, nullptr, kSep},
      {1, cmd::kAppAbout, GBK("关于 ZEB")},
  };
}

std::vector<MenuEntry> Popups() {
  std::vector<MenuEntry> e = {
      {0, 0, GBK("分时走势")},
      {1, 26642, GBK("多空指标")},
      {1, 26643, GBK("买卖力道")},
      {1, 26644, GBK("成交量")},
      {1, 0, nullptr, kSep},
      {1, cmd::kDeals, GBK("成交明细")},
      {1, cmd::kPriceTable, GBK("成交分价表")},
      {1, cmd::kSwitchChart, GBK("分时走势\\技术分析")},
      {1, cmd::kItemInfo, GBK("个股资料")},
      {0, 0, GBK("成交明细")},
      {1, cmd::kTimeShare, GBK("分时走势")},
      {1, cmd::kPriceTable, GBK("成交分价表")},
      {1, cmd::kSwitchChart, GBK("分时走势\\技术分析")},
      {0, 0, GBK("分价表")},
      {1, cmd::kTimeShare, GBK("分时走势")},
      {1, cmd::kDeals, GBK("成交明细")},
      {1, cmd::kSwitchChart, GBK("分时走势\\技术分析")},
      {0, 0, GBK("K线")},
  };
  static const char* const kPeriods[] = {"5分钟线", "15分钟线", "30分钟线", "60分钟",
                                         "日线",    "周线",     "月线"};
  for (int i = 0; i < 7; ++i) e.push_back({1, cmd::kFirstPeriod + UINT(i), GBK(kPeriods[i])});
  const std::vector<MenuEntry> kline = {
      {1, 0, nullptr, kSep},     {1, 26387, GBK("成交堆积")}, {1, 26388, GBK("区间统计")},
      {1, 0, nullptr, kSep},     {1, 26403, GBK("不复权")},   {1, 26401, GBK("前复权")},
      {1, 26402, GBK("后复权")}, {1, 0, nullptr, kSep},       {1, 26406, GBK("放大")},
      {1, 26407, GBK("缩小")},   {1, 0, nullptr, kSep},
  };
  e.insert(e.end(), kline.begin(), kline.end());
  static const char* const kLayouts[] = {"一图", "二图", "三图", "四图", "六图", "九图"};
  for (int i = 0; i < 6; ++i) e.push_back({1, 26417 + UINT(i), GBK(kLayouts[i])});
  const std::vector<MenuEntry> rest = {
      {0, 0, GBK("指标")},         {1, 26404, GBK("切换指标")}, {1, 26432, GBK("指标注释")},
      {1, 26433, GBK("删除指标")}, {1, 26434, GBK("指标参数")}, {1, 26435, GBK("修改指标公式")},
      {0, 0, GBK("画线工具")},
  };
  e.insert(e.end(), rest.begin(), rest.end());
  static const char* const kTools[] = {"选择划线", "直线",   "矩形", "平行线",
                                       "黄金分割", "甘氏线", "删除"};
  for (int i = 0; i < 7; ++i) e.push_back({1, cmd::kFirstDrawTool + UINT(i), GBK(kTools[i])});
  const std::vector<MenuEntry> item = {
      {0, 0, GBK("藏品")},
      {1, cmd::kRealTime, GBK("实时走势")},
      {1, cmd::kTechnical, GBK("技术分析")},
      {1, cmd::kDealDetails, GBK("成交明细")},
      {1, cmd::kPriceDistribution, GBK("分价表")},
      {1, cmd::kProductInfo, GBK("商品详细信息")},
  };
  e.insert(e.end(), item.begin(), item.end());
  return e;
}

}  // namespace

std::span<const platform::MenuResource> ShellMenus() {
  static const std::vector<MenuEntry> bar = MenuBar();
  static const std::vector<MenuEntry> popups = Popups();
  static const platform::MenuResource menus[] = {{IDR_MAINFRAME, bar}, {IDR_POPUPS, popups}};
  return menus;
}
