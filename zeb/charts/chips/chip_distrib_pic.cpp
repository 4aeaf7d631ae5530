// The chip distribution's share table, bins and drawing.
#include "zeb/charts/chips/chip_distrib_pic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

namespace {

int32_t DateOf(const SHistoryUnit& bar) { return bar.nDate & 0x7FFFFFFF; }

}  // namespace

int CChipDistribPic::SetCapitalInfo(int shares, const std::vector<SExRightsRecord>& records) {
  m_arShares.clear();
  m_nShares = shares;
  m_nCapitalRecords = static_cast<int>(records.size());
  const int32_t today = m_nTradeDate >= 0 ? m_nTradeDate : CPublic::GetInstance()->GetTradeDate();
  m_arShares.push_back(SShareEntry{today, shares});
  double x = shares;
  for (const SExRightsRecord& r : records) {
    const uint16_t ratio = r.shares;
    if (ratio == 0) continue;
    x = x / (static_cast<double>(static_cast<float>(ratio) / 10000.0f) + 1.0);
    m_arShares.push_back(SShareEntry{r.date, static_cast<int32_t>(x)});
  }
  return 1;
}

void CChipDistribPic::SetBars(const SHistoryUnit* bars, int count) {
  if (bars && count > 0) m_arBars.assign(bars, bars + count);
  else m_arBars.clear();
  Recompute();
  PrepareLines();
}

void CChipDistribPic::SetCurIndex(int index) {
  m_nCurIndex = index;
  Recompute();
  PrepareLines();
}

int CChipDistribPic::SetRect(int left, int top, int right, int bottom) {
  m_rcPanel = RECT{left, top, right, bottom};
  m_rcPrice.left = left;
  m_rcPrice.right = right;
  Recompute();
  PrepareLines();
  return 1;
}

void CChipDistribPic::SetPriceRect(int left, int top, int right, int bottom) {
  m_rcPrice = RECT{m_rcPanel.left, top, m_rcPanel.right, bottom};
  PrepareLines();
}

void CChipDistribPic::PrepareLines() {
  m_arLines.clear();
  int y = m_rcPrice.bottom;
  for (int end : m_arLineEnds) {
    m_arLines.push_back(SLine{m_rcPrice.left, end, y});
    y -= 2;
  }
}

int32_t CChipDistribPic::SharesAt(int32_t date) const {
  for (size_t i = m_arShares.size(); i-- > 0;) {
    if (m_arShares[i].date >= date) return m_arShares[i].shares;
  }
  return 0;
}

void CChipDistribPic::Recompute() {
  const int count = static_cast<int>(m_arBars.size());
  if (count == 0 || m_arShares.empty() || m_nCurIndex < 2 || m_nCurIndex >= count) return;
  const int n = std::abs(m_rcPrice.bottom - m_rcPrice.top) / 2;
  const int32_t cursorDate = DateOf(m_arBars[m_nCurIndex]);
  if (n <= 0 || cursorDate == 0) return;

  double high = 0, low = 0;
  for (int i = 0; i < count; ++i) {
    const double h = std::round(m_arBars[i].fHigh * kPriceUnit),
                 l = std::round(m_arBars[i].fLow * kPriceUnit);
    if (i == 0 || h > high) high = h;
    if (i == 0 || l < low) low = l;
  }
  const float step = static_cast<float>((high - low) / n);
  // One price over all the bars: every bar's span is empty, nothing to spread.
  if (!(step > 0)) return;
  std::vector<double> bins(static_cast<size_t>(n), 0.0);
  const auto span = [&](const SHistoryUnit& bar, double add, bool set) {
    const int from = std::max(0, static_cast<int>((bar.fLow * kPriceUnit - low) / step));
    const int to = std::min(n, static_cast<int>((bar.fHigh * kPriceUnit - low) / step));
    for (int b = from; b < to; ++b) bins[b] = set ? add : bins[b] + add;
  };
  span(m_arBars[0], 1.0, true);
  for (int i = 1; i < count && DateOf(m_arBars[i]) <= cursorDate; ++i) {
    const int32_t shares = SharesAt(DateOf(m_arBars[i]));
    if (shares <= 0) return;  // no circulating stock known: no turnover to compute
    const double turnover = static_cast<double>(m_arBars[i].nVolume) / shares;
    for (double& b : bins) b *= 1.0 - turnover;
    span(m_arBars[i], turnover, false);
  }
  const double largest = *std::max_element(bins.begin(), bins.end());
  const int width = m_rcPanel.right - m_rcPanel.left;
  m_arBins = bins;
  m_arLineEnds.assign(static_cast<size_t>(n), m_rcPanel.left);
  if (largest <= 0) return;
  for (int i = 0; i < n; ++i)
    m_arLineEnds[i] =
        std::max(m_rcPanel.left, static_cast<int>(m_rcPanel.left + width * bins[i] / largest));
}

int CChipDistribPic::Draw(CDC* dc) {
  if (!dc) return 0;
  CDCPainter painter(dc);
  return Paint(painter);
}

int CChipDistribPic::Paint(CChartPainter& painter) {
  CSysStyle* style = CSysStyle::GetInstance();
  const COLORREF color = style->GetColor(33);
  if (m_nTechShown) {
    if (m_arLines.empty()) return 0;
    const SPenSpec pen{PS_SOLID, 1, color};
    for (const SLine& line : m_arLines) painter.Line(line.x1, line.y, line.x2, line.y, pen);
    return 1;
  }
  CFont* font = style->GetFont(2);
  const char* notice = GBK("筹码分布只能显示\r\n在技术分析视图中");
  const int textHeight = painter.TextExtent(notice, font).cy;
  const int middle = (m_rcPanel.top + m_rcPanel.bottom) / 2;
  const RECT box{m_rcPanel.left, middle - textHeight, m_rcPanel.right, middle + textHeight};
  painter.Text(notice, box, DT_CENTER | DT_WORDBREAK, color, font);
  return 1;
}
