#include "zeb/shell/frame/shell_toolbars.h"

#include <vector>

#include "zeb/controls/toolbar_resources.h"
#include "platform/gbk.h"
#include "zeb/shell/frame/shell_commands.h"

namespace {

using zebui::ToolBarItem;

std::vector<ToolBarItem> MainBar() {
  using namespace zebui;
  return {
      {cmd::kMarketHome, GBK("打开市场主页\n市场主页"), kImgHome},
      {cmd::kUserInfo, GBK("查看用户信息\n用户信息"), kImgUser},
      {cmd::kBack, GBK("返回上一画面\n返回"), kImgBack},
      {0},
      {cmd::kMarketList + 13, GBK("全部藏品的行情列表\n全部藏品"), kImgQuoteList},
      {ID_TOOL_MARKETS, GBK("选择市场的行情列表\n分类行情"), kImgMarkets},
      {ID_TOOL_BLOCKS, GBK("选择板块的行情列表\n板块"), kImgBlocks},
      {0},
      {cmd::kTimeShare, GBK("分时走势\n分时走势"), kImgTimeShare},
      {cmd::kKLine, GBK("实时行情与K线\nK线"), kImgKLine},
      {cmd::kDeals, GBK("成交明细\n成交明细"), kImgTicks},
      {cmd::kPriceTable, GBK("成交分价表\n分价表"), kImgPriceTable},
      {0},
      {cmd::kAddFavourite, GBK("加入自选藏品\n加入自选"), kImgFavourite},
      {cmd::kPageUp, GBK("向上翻页\n上一页"), kImgPageUp},
      {cmd::kPageDown, GBK("向下翻页\n下一页"), kImgPageDown},
      {cmd::kPageTurn, GBK("自动翻页\n自动翻页"), kImgAutoPage},
      {0},
      {cmd::kDrawTools, GBK("画线工具\n画线工具"), kImgDrawTools},
      {cmd::kFormulaManager, GBK("公式管理器\n公式管理器"), kImgFormula},
      {cmd::kAlarmSettings, GBK("预警设置\n预警设置"), kImgAlarm},
      {cmd::kSystemSettings, GBK("系统设置\n系统设置"), kImgSettings},
      {cmd::kFullScreen, GBK("全屏显示\n全屏"), kImgFullScreen},
      {0},
      {cmd::kConnect, GBK("连接行情主站\n连接"), kImgConnect},
      {cmd::kDisconnect, GBK("断开行情主站\n断开"), kImgDisconnect},
      {0},
      {cmd::kHelp, GBK("帮助主题\n帮助"), kImgHelp},
  };
}

std::vector<ToolBarItem> DrawBar() {
  static const char* const kTexts[] = {
      "选择划线\n选择",         "画直线\n直线",     "画矩形\n矩形",      "画平行线\n平行线",
      "画黄金分割线\n黄金分割", "画甘氏线\n甘氏线", "删除选中的线\n删除"};
  std::vector<ToolBarItem> items;
  for (int i = 0; i < zebui::kDrawToolImageCount; ++i) {
    if (i == 4 || i == 6) items.push_back({0});
    items.push_back({cmd::kFirstDrawTool + UINT(i), GBK(kTexts[i]), i});
  }
  return items;
}

std::vector<ToolBarItem> FullScreenBar() {
  using namespace zebui;
  return {
      {cmd::kFullScreen, GBK("退出全屏显示\n退出全屏"), kImgFullScreen},
      {0},
      {cmd::kBack, GBK("返回上一画面\n返回"), kImgBack},
      {cmd::kTimeShare, GBK("分时走势\n分时走势"), kImgTimeShare},
      {cmd::kKLine, GBK("实时行情与K线\nK线"), kImgKLine},
      {cmd::kPageUp, GBK("向上翻页\n上一页"), kImgPageUp},
      {cmd::kPageDown, GBK("向下翻页\n下一页"), kImgPageDown},
  };
}

}  // namespace

std::span<const zebui::ToolBarResource> ShellToolBars() {
  static const std::vector<ToolBarItem> main = MainBar();
  static const std::vector<ToolBarItem> draw = DrawBar();
  static const std::vector<ToolBarItem> full = FullScreenBar();
  static const zebui::ToolBarResource bars[] = {
      {IDR_MAINFRAME, 16, 16, zebui::kMainToolStrip, main},
      {IDR_DRAWTOOLS, 16, 16, zebui::kDrawToolStrip, draw},
      {IDR_FULLSCREEN, 16, 16, zebui::kMainToolStrip, full},
  };
  return bars;
}
