// The settings page's working scheme and its sample (scheme_preview.h).
#include "zeb/core/dialogs/scheme_preview.h"

#include <cstdio>
#include <string>

#include "platform/gbk.h"

namespace {

CSysStyle* Scheme() { return CSysStyle::GetInstance(); }

// The page's own font for the sample's labels.
constexpr int kSampleFontHeight = 12;
constexpr BYTE kGb2312Charset = 134;

SIZE Extent(CDC* dc, const char* gbk) { return dc->GetTextExtent(gbk); }

}  // namespace

CSchemePreview::CSchemePreview() {
  ReloadColors();
  ReloadFonts();
}

CSchemePreview::~CSchemePreview() { FreeFonts(); }

void CSchemePreview::ReloadColors() {
  m_colors = *Scheme()->GetColorList();
  OnChanged();
}

void CSchemePreview::ReloadFonts() {
  FreeFonts();
  for (const SFontEntry& e : *Scheme()->GetFontList()) {
    SFontEntry copy = e;
    copy.font = CSysStyle::CreateFont(copy.face, copy.size, copy.style);
    m_fonts.push_back(copy);
  }
  OnChanged();
}

COLORREF CSchemePreview::GetColor(int id) const {
  for (const SColorEntry& e : m_colors)
    if (e.id == id) return e.color;
  return CLR_INVALID;
}

void CSchemePreview::SetColor(int id, COLORREF color) {
  for (SColorEntry& e : m_colors) {
    if (e.id != id) continue;
    e.color = color;
    break;
  }
  OnChanged();
}

const SFontEntry* CSchemePreview::FindFont(int id) const {
  for (const SFontEntry& e : m_fonts)
    if (e.id == id) return &e;
  return m_fonts.empty() ? nullptr : &m_fonts.front();
}

void CSchemePreview::SetFont(const SFontEntry& entry) {
  for (SFontEntry& e : m_fonts) {
    if (e.id != entry.id) continue;
    e.size = entry.size;
    e.style = entry.style;
    platform::GbkCopyCut(e.face, sizeof e.face, entry.face);
    delete e.font;
    e.font = CSysStyle::CreateFont(e.face, e.size, e.style);
    break;
  }
  OnChanged();
}

void CSchemePreview::FreeFonts() {
  for (SFontEntry& e : m_fonts) delete e.font;
  m_fonts.clear();
}

int CSchemePreview::SaveColors() {
  return Scheme()->SaveColors(Scheme()->GetCurrentScheme(), m_colors);
}

int CSchemePreview::SaveFonts() {
  return Scheme()->SaveFonts(Scheme()->GetCurrentScheme(), m_fonts);
}

// ---- The sample ----

SPreviewLayout CSchemePreview::Layout(CDC* dc, const RECT& client) const {
  SPreviewLayout l;
  const int L = client.left, T = client.top, R = client.right;
  const int W = client.right - client.left, H = client.bottom - client.top;
  CFont font;
  font.CreateFont(kSampleFontHeight, 0, 0, 0, 0, 0, 0, 0, kGb2312Charset, 0, 0, 0, 0, "Tohoma");
  CFont* old = dc->SelectObject(&font);

  const SIZE title = Extent(dc, GBK("大标题"));
  const int h = title.cy;
  l.titleHeight = h;
  l.titleText = RECT{L + 2, T + 2, L + 2 + title.cx, T + 2 + h};
  const int highlightWidth = Extent(dc, GBK("高亮背景色")).cx;
  l.highlight =
      RECT{l.titleText.right + 6, T + 2, l.titleText.right + 6 + highlightWidth, T + 2 + h};

  l.axisLeft = L + 2;
  l.axisRight = l.axisLeft + W / 2 + 10;
  l.chartTop = T + h + 2;
  l.chartBottom = l.chartTop + H / 2 - 24;

  const SIZE candle = Extent(dc, GBK("阴线"));
  l.candleWidth = candle.cx;
  for (int i = 0; i < 3; ++i) l.candleLeft[i] = l.axisLeft + 8 + i * (candle.cx + 6);
  l.bodyTop = l.chartTop + 16 + candle.cy + 4 + 8;
  l.bodyBottom = l.chartTop + 76;

  l.legendLeft = l.axisRight + 6;
  const int vh = Extent(dc, GBK("成交量: ")).cy;
  l.legendLineY[0] = T + 2 + vh / 2;
  for (int k = 1; k <= 7; ++k) l.legendLineY[k] = T + k * vh + 2 + 2 * k + vh / 2;

  const int rowHeight = 2 * Extent(dc, "1").cy;
  const int widths[5] = {30, Extent(dc, GBK("中国高科")).cx + 8, Extent(dc, "18.88").cx + 8,
                         Extent(dc, "1324568").cx + 8, Extent(dc, "18.88").cx + 8};
  const int tableTop = T + H / 2 + 8;
  for (int row = 0; row < 2; ++row) {
    int x = L;
    for (int col = 0; col < 5; ++col) {
      l.cells[row][col] =
          RECT{x, tableTop + row * rowHeight, x + widths[col], tableTop + (row + 1) * rowHeight};
      x += widths[col];
    }
  }
  (void)R;
  const SFontEntry* list = FindFont(1);
  const int tableBottom = tableTop + 2 * rowHeight;
  l.fontRow1 = tableBottom + (list ? Extent(dc, list->label).cy : 0);
  dc->SelectObject(old);
  int listHeight = 0;
  if (list && list->font) {
    CFont* before = dc->SelectObject(list->font);
    listHeight = Extent(dc, list->label).cy;
    dc->SelectObject(before);
  }
  l.fontRow2 = l.fontRow1 + int(1.5 * listHeight);
  return l;
}

void CSchemePreview::Paint(CDC* dc, const RECT& client) const {
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (!dc || width <= 0 || height <= 0) return;
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(dc, width, height);
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  PaintSample(&memory, RECT{0, 0, width, height});
  dc->BitBlt(client.left, client.top, width, height, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldBitmap);
}

void CSchemePreview::PaintSample(CDC* dc, const RECT& client) const {
  const SPreviewLayout l = Layout(dc, client);
  const int L = client.left, T = client.top, R = client.right, W = client.right - client.left;
  CFont font;
  font.CreateFont(kSampleFontHeight, 0, 0, 0, 0, 0, 0, 0, kGb2312Charset, 0, 0, 0, 0, "Tohoma");
  CFont* oldFont = dc->SelectObject(&font);
  dc->SetBkMode(TRANSPARENT);
  dc->FillSolidRect(&client, GetColor(19));

  auto text = [&](int x, int y, const char* gbk, int colorId) {
    dc->SetTextColor(GetColor(colorId));
    dc->TextOut(x, y, gbk);
  };
  auto line = [&](int x1, int y1, int x2, int y2, COLORREF color) {
    CPen pen(PS_SOLID, 1, color);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
    dc->SelectObject(old);
  };
  auto cellText = [&](const RECT& cell, const char* gbk, COLORREF color, UINT align) {
    RECT r = cell;
    dc->SetTextColor(color);
    dc->DrawText(gbk, -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  };

  // Title and highlight.
  cellText(l.titleText, GBK("大标题"), GetColor(20), DT_CENTER);
  dc->FillSolidRect(&l.highlight, GetColor(23));
  cellText(l.highlight, GBK("高亮背景色"), RGB(255, 255, 255), DT_CENTER);

  // Axes and their labels.
  const COLORREF axis = GetColor(6);
  line(l.axisLeft, l.chartTop, l.axisLeft, l.chartBottom, axis);
  line(l.axisLeft, l.chartBottom, l.axisRight, l.chartBottom, axis);
  text(l.axisLeft, l.chartBottom + 2, GBK("坐标"), 6);
  text(l.axisLeft + dc->GetTextExtent(GBK("坐标")).cx + 6, l.chartBottom + 2, "04/07/07 13:00", 5);

  // Candles: falling, rising, level.
  static const struct {
    const char* label;
    int colorId;
  } kCandles[3] = {{"阴线", 24}, {"阳线", 2}, {"平线", 3}};
  const int wickTop = l.bodyTop - 8;
  for (int i = 0; i < 3; ++i) {
    const COLORREF color = GetColor(kCandles[i].colorId);
    const int x = l.candleLeft[i], centre = x + l.candleWidth / 2;
    text(x, l.chartTop + 16, GBK(kCandles[i].label), kCandles[i].colorId);
    if (i == 2) {
      line(centre, wickTop, centre, l.chartTop + 84, color);
      continue;
    }
    line(centre, wickTop, centre, wickTop + 8, color);
    line(centre, l.bodyBottom, centre, l.chartTop + 84, color);
    dc->FillSolidRect(centre - 6, l.bodyTop, 12, l.bodyBottom - l.bodyTop, color);
  }

  // Legend: volume, seven indicators, the information text colour.
  const int v = dc->GetTextExtent(GBK("成交量: ")).cx;
  const int vh = dc->GetTextExtent(GBK("成交量: ")).cy;
  text(l.legendLeft, T + 2, GBK("成交量: "), 1);
  line(l.legendLeft + v, l.legendLineY[0], R - 4, l.legendLineY[0], GetColor(1));
  for (int k = 1; k <= 7; ++k) {
    char label[32];
    std::snprintf(label, sizeof label, GBK("指标%d: "), k);
    text(l.legendLeft, l.legendLineY[k] - vh / 2, label, 6 + k);
    line(l.legendLeft + v, l.legendLineY[k], R - 4, l.legendLineY[k], GetColor(6 + k));
  }
  text(l.legendLeft, T + 8 * vh + 18, GBK("资讯文本颜色"), 21);

  // The quote table.
  CPen grid(PS_SOLID, 1, GetColor(22));
  CPen* oldPen = dc->SelectObject(&grid);
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  for (int row = 0; row < 2; ++row) {
    for (const RECT& cell : l.cells[row]) {
      if (row == 1) dc->FillSolidRect(&cell, GetColor(35));
      dc->Rectangle(&cell);
    }
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
  static const char* const kHeads[5] = {"", "证券名", "现价", "总数", "其它"};
  for (int col = 1; col < 5; ++col)
    cellText(l.cells[0][col], GBK(kHeads[col]), GetColor(25), DT_CENTER);
  text(l.cells[0][2].right - 10, l.cells[0][2].top + 7, GBK("↓"), 34);
  cellText(l.cells[1][0], "1", GetColor(25), DT_RIGHT);
  cellText(l.cells[1][1], GBK("深发展"), GetColor(32), DT_CENTER);
  cellText(l.cells[1][2], "18.88", GetColor(4), DT_RIGHT);
  cellText(l.cells[1][3], "1338870", GetColor(1), DT_RIGHT);
  cellText(l.cells[1][4], "10.03", GetColor(33), DT_RIGHT);

  // Font samples: each label in its own font.
  const struct {
    int id, colorId, x, y;
  } samples[5] = {{1, 25, L, l.fontRow1},
                  {2, 5, W / 3, l.fontRow1},
                  {3, 3, 2 * W / 3, l.fontRow1},
                  {4, 20, L, l.fontRow2},
                  {5, 36, W / 2, l.fontRow2}};
  for (const auto& s : samples) {
    const SFontEntry* entry = FindFont(s.id);
    if (!entry) continue;
    CFont* before = entry->font ? dc->SelectObject(entry->font) : nullptr;
    text(s.x, s.y, entry->label, s.colorId);
    if (before) dc->SelectObject(before);
  }
  dc->SelectObject(oldFont);
}
