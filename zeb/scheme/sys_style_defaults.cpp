// The built-in colours and fonts of the scheme.
#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"

namespace {

struct SColorDefault {
  const char* label;  // UTF-8 here, GBK in the entry
  int id;
  int r, g, b;
};

const SColorDefault kColors[] = {
    {"背景色", 19, 0, 0, 0},
    {"阳线及上涨色", 2, 230, 65, 0},
    {"阴线色", 24, 0, 174, 0},
    {"下跌色", 4, 0, 174, 0},
    {"平线及平字色", 3, 192, 192, 192},
    {"大标题色", 20, 2, 226, 244},
    {"坐标轴色", 6, 0, 88, 108},
    {"坐标刻度色", 5, 168, 168, 168},
    {"成交量色", 1, 192, 192, 0},
    {"高亮背景色", 23, 0, 0, 128},
    {"指标1颜色", 7, 255, 255, 255},
    {"指标2颜色", 8, 255, 248, 80},
    {"指标3颜色", 9, 255, 84, 255},
    {"指标4颜色", 10, 84, 84, 255},
    {"指标5颜色", 11, 168, 168, 168},
    {"指标6颜色", 12, 168, 168, 0},
    {"指标7颜色", 13, 128, 128, 255},
    {"图框线色", 22, 0, 88, 108},
    {"选中行/列色", 35, 10, 36, 106},
    {"固定行/列文本色", 25, 192, 192, 192},
    {"固定列排序箭头色", 34, 255, 0, 0},
    {"股票代码和名称颜色", 32, 232, 232, 232},
    {"其它颜色", 33, 128, 192, 0},
    {"资讯文本色", 21, 192, 192, 192},
    {"资讯背景色", 43, 10, 10, 10},
    {"备选色", 40, 192, 192, 192},
    {"买量色", 41, 255, 0, 0},
    {"卖量色", 42, 0, 255, 0},
    {"现手色", 39, 255, 255, 0},
    {"系统时间色", 36, 255, 255, 255},
    {"状态栏文本色", 37, 255, 255, 84},
    {"统计信息表格标题色", 38, 255, 255, 84},
    {"趋势跟踪线颜色", 48, 255, 255, 0},
    {"未来价格虚线色", 52, 0, 128, 128},
    {"未来价格实线色", 53, 255, 0, 0},
    {"趋势进场色", 49, 255, 0, 0},
    {"趋势观察色", 50, 255, 255, 0},
    {"趋势离场色", 51, 0, 0, 255},
    {"趋势提示信息表格", 54, 192, 192, 192},
    {"F10文本色", 55, 255, 255, 84},
};

struct SFontDefault {
  const char* label;
  int id;
  int size;
  int style;
  const char* face;
};

const SFontDefault kFonts[] = {
    {"列表字体", 1, 14, 1, "System"},        {"图形字体", 2, 14, 1, "Tohoma"},
    {"资讯字体", 3, 15, 0, "宋体"},          {"标题字体", 4, 22, 1, "楷体_GB2312"},
    {"状态栏字体", 5, 14, 1, "楷体_GB2312"}, {"走势涨跌比例字体", 6, 16, 0, "宋体"},
    {"欧斯卡维抬头字体", 7, 12, 0, "宋体"},
};

}  // namespace

std::vector<SColorEntry> CSysStyle::DefaultColors() {
  std::vector<SColorEntry> list;
  list.reserve(std::size(kColors));
  for (const SColorDefault& d : kColors) {
    SColorEntry e;
    platform::GbkCopyCut(e.label, sizeof e.label, GBK(d.label));
    e.id = d.id;
    e.color = RGB(d.r, d.g, d.b);
    list.push_back(e);
  }
  return list;
}

std::vector<SFontEntry> CSysStyle::DefaultFonts() {
  std::vector<SFontEntry> list;
  list.reserve(std::size(kFonts));
  for (const SFontDefault& d : kFonts) {
    SFontEntry e;
    platform::GbkCopyCut(e.label, sizeof e.label, GBK(d.label));
    e.id = d.id;
    e.size = d.size;
    e.style = d.style;
    platform::GbkCopyCut(e.face, LF_FACESIZE, GBK(d.face));
    list.push_back(e);
  }
  return list;
}
