// CMTToolBar's captioned button picture; see mt_toolbar.h.
#include "zeb/controls/mt_toolbar.h"

#include <algorithm>

#include "zeb/controls/toolbar_resources.h"
#include "platform/desktop.h"
#include "platform/gbk.h"

using zebui::ToolBarResource;

BOOL CMTToolBar::LoadTextToolBar(std::span<const ToolBarResource> module, UINT id) {
  const auto res = std::find_if(module.begin(), module.end(),
                                [id](const ToolBarResource& r) { return r.id == id; });
  if (res == module.end() || res->imageWidth <= 0 || res->imageHeight <= 0) return FALSE;
  const int imageWidth = res->imageWidth, imageHeight = res->imageHeight;

  CFont font;
  font.CreateFont(12, 6, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
  CDC measure;
  measure.CreateCompatibleDC(nullptr);
  measure.SelectObject(&font);

  // The command strings, as the module's string table gives them.
  auto commandString = [&](UINT command) -> std::string {
    for (const zebui::ToolBarItem& item : res->items) {
      if (item.id == command && item.text) return item.text;
    }
    return std::string();
  };

  struct Cell {
    int button;
    std::vector<std::string> lines;
  };
  std::vector<Cell> cells;
  size_t lineCount = 0;
  int lineHeight = 0, cellWidth = imageWidth;
  for (int i = 0; i < GetCount(); ++i) {
    if (GetButton(i)->IsSeparator()) continue;
    Cell cell{i, zebui::CaptionLinesOfCommandString(commandString(GetItemID(i)))};
    lineCount = std::max(lineCount, cell.lines.size());
    for (const std::string& line : cell.lines) {
      const SIZE extent = measure.GetTextExtent(line);
      lineHeight = std::max(lineHeight, (int)extent.cy);
      cellWidth = std::max(cellWidth, (int)extent.cx);
    }
    cells.push_back(std::move(cell));
  }

  const QImage strip = zebui::LoadToolBarImage(res->bitmap);
  if (strip.isNull()) return FALSE;
  const int cellHeight = (int)lineCount * lineHeight + strip.height();
  SetSizes(SIZE{cellWidth + 7, cellHeight + 7}, SIZE{cellWidth, cellHeight});
  GetDisabledImageList().DeleteImageList();
  if (cells.empty()) {
    GetImageList().DeleteImageList();
    return TRUE;
  }

  zebui::CToolImageList source;
  source.Create(strip, imageWidth, imageHeight);
  CBitmap picture;
  picture.CreateBitmap(cellWidth * (int)cells.size(), cellHeight);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  dc.SelectObject(&picture);
  const CRect all(0, 0, cellWidth * (int)cells.size(), cellHeight);
  dc.FillSolidRect(&all, GetSysColor(COLOR_BTNFACE));
  dc.SetBkMode(TRANSPARENT);
  dc.SelectObject(&font);
  for (int j = 0; j < (int)cells.size(); ++j) {
    const Cell& cell = cells[(size_t)j];
    const int left = j * cellWidth;
    source.Draw(&dc, GetButton(cell.button)->image, left + (cellWidth - imageWidth) / 2, 0);
    for (size_t k = 0; k < cell.lines.size(); ++k) {
      const SIZE extent = dc.GetTextExtent(cell.lines[k]);
      dc.TextOut(left + (cellWidth - (int)extent.cx) / 2, imageHeight + (int)k * lineHeight,
                 cell.lines[k]);
    }
    UINT command, style;
    int image;
    GetButtonInfo(cell.button, command, style, image);
    SetButtonInfo(cell.button, command, style, j);
  }
  GetImageList().Create(*picture.Image(), cellWidth, cellHeight);
  return TRUE;
}

void CMTToolBar::OnClose() {
  ShowWindow(SW_HIDE);
  m_bClosed = true;
}
