// Candles, marks, histogram, extremes and the moving-average overlay.
#include "zeb/charts/pictures/kline_pic.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"

namespace {

constexpr int kMarkSize = 7;
constexpr uint32_t kDateBits = 0x7FFFFFFF;

}  // namespace

CTechAnalysisKLine::CTechAnalysisKLine() {
  m_fScale = 1.0f;
  m_nGridLines = 5;
}

void CTechAnalysisKLine::RecalcPixels() {
  PrepareCandles();
  PrepareVolumeByPrice();
  PrepareMarks();
}

void CTechAnalysisKLine::RecalcLastPixels() {
  const int last = m_nBarCount - 1;
  const int rel = last - m_nFirst;
  if (last >= 0 && rel >= 0 && rel < static_cast<int>(m_candles.size()))
    m_candles[static_cast<size_t>(rel)] = CandleOf(last);
  // A minute bar's date moves with its ticks: the marks follow the dates.
  PrepareMarks();
}

bool CTechAnalysisKLine::TakeLastBar() {
  if (m_pBars == nullptr) return true;
  const float maximum = m_fMax, minimum = m_fMin;
  const int highest = m_nHighBar, lowest = m_nLowBar;
  CalcRange();
  bool whole = false;
  if (m_pMA) {
    // The overlay's own range first, then the candles' widened by it, as
    // SetData finds them.
    whole = !m_pMA->ComputeLastBar();
    float maMax, maMin;
    m_pMA->GetRange(&maMax, &maMin);
    if (maMax > m_fMax && maMax != 0.0f) m_fMax = maMax;
    if (maMin < m_fMin && maMin != 0.0f) m_fMin = maMin;
    m_pMA->SetRange(m_fMax, m_fMin);
  }
  const int last = m_nBarCount - 1;
  // The extreme marks carry labels that reach beyond the last column; the
  // volume-by-price histogram spans every bar.
  whole = whole || m_fMax != maximum || m_fMin != minimum || m_nHighBar != highest ||
          m_nLowBar != lowest || highest == last || lowest == last || (m_nFlags & 2) != 0;
  if (whole) {
    if (m_pMA) m_pMA->RecalcPixels();
    RecalcPixels();
    return false;
  }
  if (m_pMA) m_pMA->RecalcLastPixels();
  RecalcLastPixels();
  return true;
}

void CTechAnalysisKLine::SetFlags(int flags) {
  m_nFlags = flags;
  PrepareVolumeByPrice();
  PrepareMarks();
}

void CTechAnalysisKLine::SetInfoMarks(const InfoTitleMap* marks) {
  m_pInfoMarks = marks;
  PrepareMarks();
}

void CTechAnalysisKLine::AddMovingAverage() { m_pMA = std::make_unique<CTechAnalysisSelf>("MA"); }

int CTechAnalysisKLine::SetData(const SKLineRange* range) {
  if (!CTechAnalysisBasePic::SetData(range)) return 0;
  m_nDecimals = range->decimals;
  if (m_pMA) {
    m_pMA->SetData(range);
    float maMax, maMin;
    m_pMA->GetRange(&maMax, &maMin);
    if (maMax > m_fMax && maMax != 0.0f) m_fMax = maMax;
    if (maMin < m_fMin && maMin != 0.0f) m_fMin = maMin;
    m_pMA->SetRange(m_fMax, m_fMin);
    m_pMA->RecalcPixels();
    // The overlay may have widened the range the candles were placed in.
    RecalcPixels();
  }
  return 1;
}

int CTechAnalysisKLine::HitTest(int x, int y) {
  m_ptLast = POINT{x, y};
  if (PtInRect(m_rcPlot, m_ptLast)) return 1;
  if (PtInRect(m_rcMarks, m_ptLast)) return 2;
  return 0;
}

const RECT* CTechAnalysisKLine::SetRect(int left, int top, int right, int bottom) {
  m_rcPicture = RECT{left, top, right, bottom};
  m_rcTitle = RECT{left, top, right, top + 16};
  m_rcMarks = RECT{left, top + 16, right, top + 28};
  m_rcBottom = RECT{left, bottom - 12, right, bottom - 11};
  m_rcGrid = RECT{left, top + 28, right, bottom - 12};
  m_rcPlot = RECT{left + 3, top + 28, right - 3, bottom - 12};
  if (m_pMA) {
    m_pMA->SetFlags(4);
    m_pMA->SetRectByKind(m_rcTitle.left, m_rcTitle.top, m_rcTitle.right, m_rcTitle.bottom, 0);
    m_pMA->SetRectByKind(m_rcGrid.left, m_rcGrid.top, m_rcGrid.right, m_rcGrid.bottom, 1);
    m_pMA->SetRectByKind(left, top, right, bottom, 3);
    m_pMA->SetRectByKind(m_rcPlot.left, m_rcPlot.top, m_rcPlot.right, m_rcPlot.bottom, 2);
  }
  RecalcPixels();
  return &m_rcPicture;
}

void CTechAnalysisKLine::SetCaption(const std::string& caption, int) {
  m_strCaption = caption;
  if (m_pMA) m_pMA->SetTitleIndent(static_cast<int>(caption.size()));
}

void CTechAnalysisKLine::SetXPositions(const int* positions, int count) {
  CBasePic::SetXPositions(positions, count);
  if (m_pMA) m_pMA->SetXPositions(positions, count);
  RecalcPixels();
}

void CTechAnalysisKLine::SetCursorIndex(int index) {
  m_nCursor = index;
  if (m_pMA) m_pMA->SetCursorIndex(index);
}

void CTechAnalysisKLine::SetExRightsData(const SExRightsRecord* records, int count) {
  m_pExRights = records;
  m_nExRights = records ? std::max(0, count) : 0;
  m_highlight.assign(static_cast<size_t>(m_nExRights), 0);
  PrepareMarks();
}

void CTechAnalysisKLine::SetExRightsHighlight(int on) {
  std::fill(m_highlight.begin(), m_highlight.end(), on != 0 ? 1 : 0);
}

int CTechAnalysisKLine::GetMaxParam() const { return m_pMA ? m_pMA->GetMaxParam() : 0; }

void CTechAnalysisKLine::Zoom(bool widen) {
  if (widen) m_fScale *= 1.1f;
  else if (m_fScale > 1.0f) m_fScale = m_fScale * 10.0f / 11.0f;
  if (m_pMA) {
    m_pMA->SetRange(m_fMax, m_fMin);
    // the overlay shares the scale of the candles
    m_pMA->SetVerticalScale(m_fScale);
    m_pMA->RecalcPixels();
  }
  RecalcPixels();
}

int CTechAnalysisKLine::HitTestTitle(int x, int y) {
  const POINT pt{x, y};
  if (!PtInRect(m_rcTitle, pt) || !m_pMA) return 0;
  const RECT* ma = m_pMA->GetParamRect();
  m_rcParam.right = m_rcParam.left + (ma->right - ma->left);
  return PtInRect(m_rcParam, pt) ? 2 : 0;
}

int CTechAnalysisKLine::OnMouse(int x, int y) {
  const POINT pt{x, y};
  if (!PtInRect(m_rcPlot, pt)) ClearInterval();
  m_ptMouse = pt;
  if (m_pMA) return m_pMA->OnMouse(x, y);
  return PtInRect(m_rcMarks, pt) || PtInRect(m_rcBottom, pt) ? 1 : 0;
}

int CTechAnalysisKLine::ClearInterval() { return 0; }

// The candles are no line: only the moving averages drawn over them can
// be picked, and a miss leaves the press and the menu to the pane under
// the mouse.
int CTechAnalysisKLine::OnLButtonDown(int x, int y) {
  if (CTechAnalysisBasePic::OnLButtonDown(x, y)) return 1;
  return m_pMA ? m_pMA->OnLButtonDown(x, y) : 0;
}

int CTechAnalysisKLine::HitTestLine(int x, int y) {
  if (CTechAnalysisBasePic::HitTestLine(x, y)) return 1;
  return m_pMA ? m_pMA->HitTestLine(x, y) : 0;
}

void CTechAnalysisKLine::CalcRange() {
  if (m_pBars == nullptr || m_nFirst < 0 || m_nFirst >= m_nBarCount) return;
  int64_t high = INT64_MIN, low = INT64_MAX;
  for (int i = m_nFirst; i < m_nBarCount; ++i) {
    const int64_t h = static_cast<int64_t>(double(m_pBars[i].fHigh) * kPriceUnit);
    const int64_t l = static_cast<int64_t>(double(m_pBars[i].fLow) * kPriceUnit);
    if (h > high) {
      high = h;
      m_nHighBar = i;
    }
    if (l < low) {
      low = l;
      m_nLowBar = i;
    }
  }
  m_nGridLines = 5;
  m_fMax = float(double(high) / kPriceUnit);
  m_fMin = float(double(low) / kPriceUnit);
}

int CTechAnalysisKLine::Paint(CChartPainter& p) {
  if (m_pX == nullptr || m_nFirst < 0) return 0;
  m_pLabelFont = CSysStyle::GetInstance()->GetFont(2);
  float values[5];
  for (int i = 0; i < 5; ++i) values[i] = m_fMin + (m_fMax - m_fMin) * m_fScale / 4.0f * float(i);
  DrawValueGrid(p, m_rcGrid, values, 5, 4, SchemeColor(6), SchemeColor(40));
  DrawVolumeByPrice(p);
  ChooseDrawnBars(p, false);
  DrawCandles(p);
  DrawInfoMarks(p);
  DrawExRightsMarks(p);
  DrawTitle(p);
  if (m_pMA) m_pMA->Paint(p);
  DrawHighLow(p);
  return 1;
}

void CTechAnalysisKLine::DrawTitle(CChartPainter& p) {
  CFont* font = TitleFont();
  p.Text(m_strCaption, m_rcTitle, DT_LEFT | DT_VCENTER | DT_SINGLELINE, SchemeColor(38), font);
  m_rcParam = m_rcTitle;
  m_rcParam.left += p.TextExtent(m_strCaption, font).cx;
  m_nTitleRight = m_rcParam.left;
}

int CTechAnalysisKLine::TitlesRight() const {
  return m_pMA ? std::max(m_nTitleRight, m_pMA->TitlesRight()) : m_nTitleRight;
}

void CTechAnalysisKLine::DrawTitles(CChartPainter& p) {
  DrawTitle(p);
  if (m_pMA) m_pMA->DrawTitle(p);
}

void CTechAnalysisKLine::PrepareVolumeByPrice() {
  m_volumeByPrice.clear();
  if (!(m_nFlags & 2) || !m_pBars || m_nFirst < 0) return;
  const int height = m_rcPlot.bottom - m_rcPlot.top;
  if (height <= 0 || height > 2047) return;
  const double unit = (double(m_fMax) - m_fMin) / height;
  if (!(unit > 0.0)) return;
  std::vector<int64_t> counters(static_cast<size_t>(height), 0);
  for (int i = m_nFirst; i < m_nBarCount; ++i) {
    const SHistoryUnit& bar = m_pBars[i];
    const int lowRow = std::max(0, ToPixel((double(bar.fLow) - m_fMin) / unit));
    const int highRow = std::min(height - 1, ToPixel((double(bar.fHigh) - m_fMin) / unit));
    const int64_t add = static_cast<int64_t>(double(bar.nVolume) / unit);
    for (int r = lowRow; r <= highRow; ++r) counters[static_cast<size_t>(r)] += add;
  }
  const int64_t largest = *std::max_element(counters.begin(), counters.end());
  if (largest <= 0) return;
  const double width = m_rcPlot.right - m_rcPlot.left;
  m_volumeByPrice.resize(static_cast<size_t>(height));
  for (int r = 0; r < height; ++r)
    m_volumeByPrice[static_cast<size_t>(r)] =
        ToPixel(width * double(counters[static_cast<size_t>(r)]) / double(largest) * 2.0 / 3.0);
}

void CTechAnalysisKLine::DrawVolumeByPrice(CChartPainter& p) const {
  const SPenSpec pen{PS_SOLID, 1, SchemeColor(23)};
  for (size_t r = 0; r < m_volumeByPrice.size(); ++r) {
    const int y = m_rcPlot.bottom - static_cast<int>(r);
    p.Line(m_rcPlot.right, y, m_rcPlot.right - m_volumeByPrice[r], y, pen);
  }
}

void CTechAnalysisKLine::DrawMark(CChartPainter& p, int kind, int x, int y) {
  // information: a blue square; ex-rights: an orange square, red when highlighted
  static constexpr COLORREF kColors[3] = {RGB(0, 128, 255), RGB(255, 160, 0), RGB(255, 0, 0)};
  p.Rect(RECT{x, y, x + kMarkSize, y + kMarkSize}, SPenSpec{PS_SOLID, 1, kColors[kind]},
         kColors[kind]);
}

void CTechAnalysisKLine::PrepareMarks() {
  m_infoMarks.clear();
  m_exRightsMarks.clear();
  if (!m_pBars || !m_pX || m_nFirst < 0) return;
  if (m_pInfoMarks && m_nFlags != 0)
    for (const auto& entry : *m_pInfoMarks)
      for (int i = 0; i < m_nXCount && m_nFirst + i < m_nBarCount; ++i)
        if ((static_cast<uint32_t>(m_pBars[m_nFirst + i].nDate) & kDateBits) == entry.first)
          m_infoMarks.push_back(SMark{m_pX[i], entry.first, -1});
  if (!m_pExRights || m_nBarCount <= m_nFirst || m_nXCount == 0) return;
  // Each record marks the first visible bar on or after its date.
  const int last = std::min(m_nBarCount, m_nFirst + m_nXCount) - 1;
  const uint32_t firstDate = static_cast<uint32_t>(m_pBars[m_nFirst].nDate) & kDateBits;
  const uint32_t lastDate = static_cast<uint32_t>(m_pBars[last].nDate) & kDateBits;
  for (int k = 0; k < m_nExRights; ++k) {
    const uint32_t date = static_cast<uint32_t>(m_pExRights[k].date) & kDateBits;
    if (date < firstDate) continue;
    if (date > lastDate) break;
    for (int i = m_nFirst; i <= last; ++i) {
      if ((static_cast<uint32_t>(m_pBars[i].nDate) & kDateBits) < date) continue;
      m_exRightsMarks.push_back(SMark{m_pX[i - m_nFirst], 0, k});
      break;
    }
  }
}

void CTechAnalysisKLine::DrawInfoMarks(CChartPainter& p) {
  if (!m_pBars || !m_pInfoMarks) return;
  p.Line(m_rcMarks.left, m_rcMarks.top, m_rcMarks.right, m_rcMarks.top,
         SPenSpec{PS_SOLID, 1, SchemeColor(6)});
  for (const SMark& m : m_infoMarks) {
    DrawMark(p, 0, m.x + m_nCandleWidth / 2 - 3, m_rcMarks.top + 1);
    if (!PtInRect(RECT{m.x, m_rcMarks.top, m.x + 10, m_rcMarks.bottom}, m_ptMouse)) continue;
    const auto text = m_pInfoMarks->find(m.date);
    if (text != m_pInfoMarks->end()) DrawTip(p, m_ptMouse.x, m_ptMouse.y, text->second);
  }
}

std::string CTechAnalysisKLine::ExRightsText(const SExRightsRecord& r) {
  char text[160];
  const double shares = r.shares / 1000.0;
  if (r.rightsPrice != 0)
    std::snprintf(text, sizeof text, GBK("%d 每10股配%.2f股 每股%.2f元"), r.date,
                  static_cast<int16_t>(r.shares) / 1000.0, r.rightsPrice / 10000.0);
  else if (r.dividend != 0 && r.shares != 0)
    std::snprintf(text, sizeof text, GBK("%d 每10股分红利%.2f元 送红股%.2f股"), r.date,
                  r.dividend / kPriceUnit, shares);
  else if (r.dividend != 0)
    std::snprintf(text, sizeof text, GBK("%d 每10股分红%.2f元"), r.date, r.dividend / kPriceUnit);
  else std::snprintf(text, sizeof text, GBK("%d 每10股送%.2f股"), r.date, shares);
  return text;
}

void CTechAnalysisKLine::DrawExRightsMarks(CChartPainter& p) {
  for (const SMark& m : m_exRightsMarks) {
    const size_t k = static_cast<size_t>(m.record);
    DrawMark(p, m_highlight[k] ? 2 : 1, m.x + m_nCandleWidth / 2 - 3, m_rcPicture.bottom - 11);
    if (PtInRect(RECT{m.x, m_rcBottom.top, m.x + m_nCandleWidth, m_rcPicture.bottom}, m_ptMouse))
      DrawTip(p, m_ptMouse.x, m_ptMouse.y, ExRightsText(m_pExRights[m.record]));
  }
}

void CTechAnalysisKLine::DrawHighLow(CChartPainter& p) {
  if (!m_pX || !m_pBars || m_nHighBar < m_nFirst || m_nLowBar < m_nFirst) return;
  if (m_nHighBar - m_nFirst >= m_nXCount || m_nLowBar - m_nFirst >= m_nXCount) return;
  CFont* font = TitleFont();
  const SPenSpec pen{PS_SOLID, 1, SchemeColor(3)};
  // The box is the text's own measure: nothing to elide (an end ellipsis
  // cut a label whose drawn width came out a pixel wider than measured).
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX;
  auto label = [&](int bar, float value, bool high) {
    const std::string text = FormatFixed(value, m_nDecimals);
    const SIZE s = p.TextExtent(text, font);
    const int x = m_pX[bar - m_nFirst] + m_nCandleWidth / 2;
    const int y = ValueToY(value) - (high ? 1 : 0);
    const bool mirror = x + 11 + s.cx > m_rcPlot.right;
    const int dir = mirror ? -1 : 1;
    p.Line(x, y, x + 10 * dir, y, pen);
    p.Line(x, y, x + 5 * dir, y - 2, pen);
    p.Line(x, y, x + 5 * dir, y + 2, pen);
    const int top = high ? y : y - 1 - s.cy;
    const RECT box = mirror ? RECT{x - 11 - s.cx, top, x - 11, top + s.cy}
                            : RECT{x + 11, top, x + 11 + s.cx, top + s.cy};
    p.Text(text, box, format, SchemeColor(high ? 2 : 4), font);
  };
  label(m_nHighBar, m_pBars[m_nHighBar].fHigh, true);
  label(m_nLowBar, m_pBars[m_nLowBar].fLow, false);
}
