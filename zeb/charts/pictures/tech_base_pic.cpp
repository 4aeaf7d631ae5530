// Range, rows, grid, output lines and title of the technical-analysis pictures.
#include "zeb/charts/pictures/tech_base_pic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

CTechAnalysisBasePic::CTechAnalysisBasePic() {
  m_nGridLines = 5;
  m_nCursor = -1;
}

CFont* CTechAnalysisBasePic::TitleFont() {
  // Height 12, GB2312, face "Tohoma": one font for every title of the process.
  static CFont* font = [] {
    auto* f = new CFont;
    f->CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "Tohoma");
    return f;
  }();
  return font;
}

bool CTechAnalysisBasePic::NameIs(const char* name) const {
  return platform::GbkCompareNoCase(m_strFormulaName, name) == 0;
}

std::string CTechAnalysisBasePic::GridText() {
  if (m_strFormulaName.empty()) return {};
  std::string name = m_strFormulaName;
  const char* text = FormulaAccess().GetFormulaGridInfo(name.data());
  return text ? std::string(text) : std::string();
}

int CTechAnalysisBasePic::SetData(const SKLineRange* range) {
  if (range == nullptr || range->bars == nullptr || *range->bars == nullptr) return 0;
  return TakeRange(*range, *range->bars);
}

int CTechAnalysisBasePic::TakeRange(const SKLineRange& range, const SHistoryUnit* bars) {
  m_nBarCount = range.end;
  m_nCandleWidth = range.candleWidth;
  m_pBars = bars;
  m_nDecimals = CPublic::GetIndicatorDecimals(m_strFormulaName);
  m_nFirst = range.first;
  Compute();
  CalcRange();
  RecalcPixels();
  if (m_nCursor < 0 || m_nCursor >= m_nBarCount) m_nCursor = m_nBarCount - m_nFirst - 1;
  return 1;
}

const RECT* CTechAnalysisBasePic::SetRect(int left, int top, int right, int bottom) {
  m_rcPicture = RECT{left, top, right, bottom};
  m_rcTitle = RECT{left, top, right, top + 16};
  m_rcGrid = RECT{left, top + 16, right, bottom};
  m_rcPlot = RECT{left + 3, top + 16, right - 3, bottom};
  RecalcPixels();
  return &m_rcPicture;
}

int CTechAnalysisBasePic::OnMouse(int x, int y) {
  m_ptMouse = POINT{x, y};
  return 0;
}

int CTechAnalysisBasePic::GetMaxParam() const {
  int largest = 0;
  for (int i = 0; i < m_nParams; ++i) largest = std::max(largest, m_params[static_cast<size_t>(i)]);
  return largest;
}

void CTechAnalysisBasePic::SetOutputInfo(const std::string& names, int paramCount,
                                         int outputCount) {
  m_strOutputNames = names;
  AllocParams(paramCount, outputCount);
}

int CTechAnalysisBasePic::AllocParams(int paramCount, int outputCount) {
  m_nParams = std::max(0, paramCount);
  m_nOutputs = std::max(0, outputCount);
  m_styles.assign(static_cast<size_t>(m_nOutputs), 0);
  m_params.assign(static_cast<size_t>(m_nParams), 0);
  m_colors.resize(static_cast<size_t>(m_nOutputs));
  for (int i = 0; i < m_nOutputs; ++i) m_colors[static_cast<size_t>(i)] = SchemeColor(7 + i);
  return 1;
}

void CTechAnalysisBasePic::SetFormulaName(const std::string& name) {
  m_strFormulaName = name;
  BuildTitle();
}

void CTechAnalysisBasePic::BuildTitle() {
  m_strTitle = m_strFormulaName;
  if (m_nParams < 1) return;
  m_strTitle += "(";
  for (int i = 0; i < m_nParams; ++i) {
    if (i) m_strTitle += ",";
    m_strTitle += std::to_string(m_params[static_cast<size_t>(i)]);
  }
  m_strTitle += ")";
}

std::string CTechAnalysisBasePic::GetOutputName(int k) const {
  std::string last;
  size_t start = 0;
  for (int i = 0;; ++i) {
    const size_t comma = m_strOutputNames.find(',', start);
    last = m_strOutputNames.substr(start,
                                   comma == std::string::npos ? std::string::npos : comma - start);
    if (i == k || comma == std::string::npos) return last;
    start = comma + 1;
  }
}

void CTechAnalysisBasePic::GetRange(float* maximum, float* minimum) const {
  *maximum = m_fMax;
  *minimum = m_fMin;
}

void CTechAnalysisBasePic::SetRange(float maximum, float minimum) {
  m_fMax = maximum;
  m_fMin = minimum;
}

void CTechAnalysisBasePic::SetRectByKind(int left, int top, int right, int bottom, int kind) {
  const RECT r{left, top, right, bottom};
  switch (kind) {
    case 0: m_rcTitle = r; break;
    case 1: m_rcGrid = r; break;
    case 2:
      m_rcPlot = r;
      RecalcPixels();
      break;
    case 3: m_rcPicture = r; break;
    default: break;
  }
}

void CTechAnalysisBasePic::Reset() {
  m_pBars = nullptr;
  m_pX = nullptr;
  m_nXCount = 0;
  m_nBarCount = 0;
  m_nFirst = 0;
}

void CTechAnalysisBasePic::CalcRange() {
  if (m_outValues.empty()) return;
  m_fMax = 0.0f;
  m_fMin = 0.0f;
  const int first = std::max(0, m_nFirst);
  for (size_t i = 0; i < m_outValues.size(); ++i) {
    const std::vector<float>& v = m_outValues[i];
    const int count = std::min<int>(m_nBarCount, static_cast<int>(v.size())) - first;
    if (count > 0) UpdateMinMax(&m_fMin, &m_fMax, v.data() + first, count, i == 0);
  }
  // The library answers only for the formula computed last, which is this
  // one now but another pane's by the time this one paints: kept for Paint.
  m_strGrid = GridText();
  const std::string& grid = m_strGrid;
  if (!grid.empty()) {
    const float low = float(std::atof(grid.c_str()));
    const size_t comma = grid.rfind(',');
    const float high =
        float(std::atof(grid.c_str() + (comma == std::string::npos ? 0 : comma + 1)));
    m_fMin = std::min(m_fMin, low);
    m_fMax = std::max(m_fMax, high);
  }
  if ((NameIs("BOLL") || NameIs("SAR")) && m_pBars) {
    int64_t high = static_cast<int64_t>(double(m_fMax) * kPriceUnit);
    int64_t low = static_cast<int64_t>(double(m_fMin) * kPriceUnit);
    for (int i = first; i < m_nBarCount; ++i) {
      high = std::max<int64_t>(high, static_cast<int64_t>(double(m_pBars[i].fHigh) * kPriceUnit));
      low = std::min<int64_t>(low, static_cast<int64_t>(double(m_pBars[i].fLow) * kPriceUnit));
    }
    m_fMax = float(double(high) / kPriceUnit);
    m_fMin = float(double(low) / kPriceUnit);
  }
}

int CTechAnalysisBasePic::RowOf(float value, bool upsideDown) const {
  if (value == kNoValue) return kNoRow;
  if (!upsideDown) return ValueToY(value);
  // WR runs upside down: 0 at the top.
  const double height = m_rcPlot.bottom - m_rcPlot.top;
  const double span = double(m_fMax) - m_fMin;
  return span == 0.0
             ? m_rcPlot.top
             : m_rcPlot.top + ToPixel(double(ToPixel(double(value) - m_fMin)) * height / span);
}

void CTechAnalysisBasePic::RecalcPixels() {
  if (DrawsBars()) PrepareCandles();
  const bool upsideDown = UpsideDown();
  for (size_t j = 0; j < m_outRows.size(); ++j) {
    const std::vector<float>& values = m_outValues[j];
    std::vector<int>& rows = m_outRows[j];
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
      rows[i] = RowOf(values[i], upsideDown);
  }
}

void CTechAnalysisBasePic::RecalcLastPixels() {
  const int last = m_nBarCount - 1;
  if (last < 0) return;
  const int rel = last - m_nFirst;
  if (DrawsBars() && rel >= 0 && rel < static_cast<int>(m_candles.size()))
    m_candles[static_cast<size_t>(rel)] = CandleOf(last);
  for (size_t j = 0; j < m_outRows.size(); ++j)
    if (static_cast<size_t>(last) < m_outRows[j].size() &&
        static_cast<size_t>(last) < m_outValues[j].size())
      m_outRows[j][static_cast<size_t>(last)] =
          RowOf(m_outValues[j][static_cast<size_t>(last)], UpsideDown());
}

bool CTechAnalysisBasePic::EarlierOutputsMoved(
    const std::vector<std::vector<float>>& before) const {
  if (before.size() != m_outValues.size()) return true;
  for (size_t j = 0; j < before.size(); ++j) {
    const std::vector<float>& was = before[j];
    const std::vector<float>& now = m_outValues[j];
    if (was.size() != now.size()) return true;
    // Bit for bit: a value that is no number counts as moved.
    if (now.size() > 1 &&
        std::memcmp(was.data(), now.data(), sizeof(float) * (now.size() - 1)) != 0)
      return true;
  }
  return false;
}

bool CTechAnalysisBasePic::ComputeLastBar() {
  m_bEarlierMoved = false;
  Compute();
  CalcRange();
  return !m_bEarlierMoved;
}

bool CTechAnalysisBasePic::TakeLastBar() {
  // A picture given no bars shows none: nothing of it changes.
  if (m_pBars == nullptr) return true;
  const float maximum = m_fMax, minimum = m_fMin;
  const std::string grid = m_strGrid;
  const bool earlierKept = ComputeLastBar();
  if (!earlierKept || m_fMax != maximum || m_fMin != minimum || m_strGrid != grid) {
    RecalcPixels();
    return false;
  }
  RecalcLastPixels();
  return true;
}

int CTechAnalysisBasePic::Paint(CChartPainter& p) {
  if (m_pX == nullptr || m_pBars == nullptr) return 0;
  m_pLabelFont = CSysStyle::GetInstance()->GetFont(2);
  if (!(m_nFlags & 4)) {
    std::vector<float> values;
    const std::string& grid = m_strGrid;
    if (!grid.empty()) {
      values.push_back(m_fMin);
      const char* s = grid.c_str();
      for (;;) {
        values.push_back(float(std::atof(s)));
        s = std::strchr(s, ',');
        if (!s) break;
        ++s;
      }
      values.push_back(m_fMax);
    } else {
      for (int i = 0; i < m_nGridLines; ++i)
        values.push_back(m_fMin +
                         (m_fMax - m_fMin) * m_fScale / float(m_nGridLines - 1) * float(i));
    }
    const int n = static_cast<int>(values.size());
    if (m_nLabelMode == 0)
      DrawValueGrid(p, m_rcGrid, values.data(), n, 5, SchemeColor(6), SchemeColor(40));
    else if (m_nFirst >= 0 && m_nFirst < m_nBarCount)
      DrawPercentGrid(p, m_rcGrid, values.data(), n, 5, SchemeColor(6), SchemeColor(40),
                      m_pBars[m_nFirst].fClose);
  }
  const int first = std::max(0, m_nFirst);
  const int count = m_nBarCount - first;
  ChooseDrawnBars(p, m_nSelectedLine >= 0);
  int lineColour = 0;
  for (int j = 0; j < m_nOutputs && j < static_cast<int>(m_outRows.size()); ++j) {
    const std::vector<int>& rows = m_outRows[static_cast<size_t>(j)];
    if (count <= 0 || static_cast<int>(rows.size()) < m_nBarCount) continue;
    const int* r = rows.data() + first;
    switch (m_styles[static_cast<size_t>(j)]) {
      case kStyleLine: {
        const size_t c = static_cast<size_t>(std::min(lineColour++, m_nOutputs - 1));
        DrawLines(p, 1, m_colors[c], r, count, j == m_nSelectedLine);
        break;
      }
      case kStyleSticks: DrawBars(p, 1, r, count, SchemeColor(2), SchemeColor(24), 0.0f); break;
      case kStyleCandles: DrawCandles(p); break;
      case kStyleColorSticks:
        DrawColorSticks(p, 1, r, count, SchemeColor(2), SchemeColor(24));
        break;
      case kStyleBars: DrawPriceBars(p); break;
      default: break;
    }
  }
  DrawTitle(p);
  if (NameIs("BOLL") || NameIs("SAR")) DrawPriceBars(p);
  return 1;
}

void CTechAnalysisBasePic::DrawColorSticks(CChartPainter& p, int width, const int* rows, int n,
                                           COLORREF up, COLORREF down) {
  if (rows == nullptr || m_pX == nullptr || (m_fMax == 0.0f && m_fMin == 0.0f) || !m_pBars ||
      m_nFirst < 0)
    return;
  if (n > m_nXCount) n = m_nXCount;
  n = std::min(n, m_nEndBar);
  const int base = m_rcPlot.bottom - 2;
  for (int i = m_nFromBar; i < n; ++i) {
    if (rows[i] == kNoRow) continue;
    const int row = rows[i] > base ? base - 1 : rows[i];
    const SHistoryUnit& bar = m_pBars[m_nFirst + i];
    const RECT r{m_pX[i], row, m_pX[i] + m_nCandleWidth, base};
    if (bar.fClose >= bar.fOpen) p.Rect(r, SPenSpec{PS_SOLID, width, up}, kHollow);
    else p.Rect(r, SPenSpec{PS_SOLID, width, down}, down);
  }
}

CTechAnalysisBasePic::SCandle CTechAnalysisBasePic::CandleOf(int index) const {
  const SHistoryUnit& bar = m_pBars[index];
  const int x = m_pX[index - m_nFirst];
  const int w = m_nCandleWidth;
  const int open = ValueToY(bar.fOpen), close = ValueToY(bar.fClose);
  SCandle c;
  if (close < open) {
    c.body = SCandle::kOutlined;
    c.box = RECT{x, close, x + w, open};
  } else if (close > open) {
    c.body = SCandle::kFilled;
    c.box = RECT{x, open, x + w, close};
  } else {
    c.body = SCandle::kLevel;
    c.box = RECT{x, open, x + w, open};
  }
  c.mid = x + w / 2;
  c.highY = ValueToY(bar.fHigh);
  c.lowY = ValueToY(bar.fLow);
  c.openY = open;
  c.closeY = close;
  c.falling = bar.fClose < bar.fOpen;
  return c;
}

void CTechAnalysisBasePic::PrepareCandles() {
  m_candles.clear();
  if (m_pX == nullptr || m_pBars == nullptr || m_nFirst < 0) return;
  const int end = std::min(m_nBarCount, m_nFirst + m_nXCount);
  if (end > m_nFirst) m_candles.reserve(static_cast<size_t>(end - m_nFirst));
  for (int index = m_nFirst; index < end; ++index) m_candles.push_back(CandleOf(index));
}

void CTechAnalysisBasePic::DrawCandles(CChartPainter& p) {
  const int n = std::min(static_cast<int>(m_candles.size()), m_nEndBar);
  for (int i = m_nFromBar; i < n; ++i) DrawCandle(p, m_nFirst + i);
}

void CTechAnalysisBasePic::DrawPriceBars(CChartPainter& p) {
  const int n = std::min(static_cast<int>(m_candles.size()), m_nEndBar);
  for (int i = m_nFromBar; i < n; ++i) DrawBar(p, i);
}

void CTechAnalysisBasePic::DrawCandle(CChartPainter& p, int index) {
  const int rel = index - m_nFirst;
  if (rel < 0 || rel >= static_cast<int>(m_candles.size())) return;
  const SCandle& c = m_candles[static_cast<size_t>(rel)];
  const COLORREF color = SchemeColor(c.falling ? 24 : 2);
  const SPenSpec pen{PS_SOLID, 1, color};
  switch (c.body) {
    case SCandle::kOutlined: p.Rect(c.box, pen, kHollow); break;
    case SCandle::kFilled: p.Rect(c.box, pen, color); break;
    case SCandle::kLevel: p.Line(c.box.left, c.box.top, c.box.right, c.box.top, pen); break;
  }
  p.Line(c.mid, c.highY, c.mid, c.box.top, pen);
  p.Line(c.mid, c.lowY, c.mid, c.box.bottom - 1, pen);
}

void CTechAnalysisBasePic::DrawBar(CChartPainter& p, int i) {
  if (i < 0 || i >= static_cast<int>(m_candles.size())) return;
  const SCandle& c = m_candles[static_cast<size_t>(i)];
  const SPenSpec pen{PS_SOLID, 1, SchemeColor(c.falling ? 24 : 2)};
  p.Line(c.mid, c.lowY, c.mid, c.highY, pen);
  p.Line(c.mid, c.openY, c.box.left, c.openY, pen);
  p.Line(c.mid, c.closeY, c.box.right, c.closeY, pen);
}

bool CTechAnalysisBasePic::DrawsBars() const {
  for (int style : m_styles)
    if (style == kStyleCandles || style == kStyleBars) return true;
  return NameIs("BOLL") || NameIs("SAR");
}

void CTechAnalysisBasePic::DrawTip(CChartPainter& p, int x, int y, const std::string& text) {
  const SIZE s = p.TextExtent(text, TitleFont());
  const RECT box{x - 1, y, x + s.cx, y + s.cy + 2};
  p.Fill(box, 0xAFFFFF);
  p.Text(text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE, RGB(0, 0, 0), TitleFont());
}

void CTechAnalysisBasePic::DrawTitle(CChartPainter& p) {
  CFont* font = TitleFont();
  const int one = p.TextExtent("1", font).cx;
  RECT box = m_rcTitle;
  box.left = m_rcPlot.left + m_nTitleIndent * one;
  box.right = m_rcPlot.right;
  const int titleWidth = p.TextExtent(m_strTitle, font).cx;
  m_rcName = m_rcTitle;
  m_rcName.right = m_rcTitle.left + titleWidth;
  const COLORREF titleColor = SchemeColor(38);
  p.Text(m_strTitle, box, DT_LEFT | DT_VCENTER | DT_SINGLELINE, titleColor, font);
  m_rcParam = m_rcTitle;
  m_rcParam.left = m_rcName.right + 3;
  int lastRight = box.left + titleWidth;
  // No cursor in the range (hidden, or left outside it by a zoom out that
  // brought older bars): the title shows the last bar's values.
  const int cursor =
      m_nCursor >= 0 && m_nCursor + m_nFirst < m_nBarCount ? m_nCursor : m_nBarCount - m_nFirst - 1;
  const int bar = cursor + m_nFirst;
  if (!m_outValues.empty() && !m_colors.empty() && cursor >= 0 && m_nFirst >= 0 &&
      bar < m_nBarCount) {
    const bool vol = m_strFormulaName == "VOL";
    const int lines = vol ? m_nOutputs - 1 : m_nOutputs;
    std::string previous = m_strTitle;
    for (int i = 0; i < lines; ++i) {
      const int output = vol ? i + 1 : i;
      box.left += p.TextExtent(previous, font).cx + 3;
      std::string text = GetOutputName(output);
      const std::vector<float>& v = m_outValues[static_cast<size_t>(output)];
      const float value = bar < static_cast<int>(v.size()) ? v[static_cast<size_t>(bar)] : kNoValue;
      if (value != kNoValue) {
        text += "=" + FormatFixed(value, m_nDecimals);
        const int width = p.TextExtent(text, font).cx;
        if (box.left + width > m_rcPlot.right) break;
        p.Text(text, box, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
               m_colors[static_cast<size_t>(std::min(i, m_nOutputs - 1))], font);
        lastRight = box.left + width;
      }
      previous = text;
    }
  }
  m_nTitleRight = lastRight;
  if (PtInRect(m_rcName, m_ptMouse)) {
    DrawTip(p, m_ptMouse.x, m_ptMouse.y, GBK("双击指标名称可切换指标类型"));
  } else {
    RECT params = m_rcParam;
    params.right = std::min<LONG>(params.right, lastRight);
    if (PtInRect(params, m_ptMouse))
      DrawTip(p, m_ptMouse.x, m_ptMouse.y, GBK("双击指标参数可进行设置"));
  }
}

int CTechAnalysisBasePic::HitTestTitle(int x, int y) {
  const POINT pt{x, y};
  if (!PtInRect(m_rcTitle, pt)) return 0;
  if (PtInRect(m_rcName, pt)) return 1;
  if (PtInRect(m_rcParam, pt)) return 2;
  return 0;
}

int CTechAnalysisBasePic::OnLButtonDown(int x, int y) {
  m_nSelectedLine = -1;
  if (!PtInRect(m_rcPlot, POINT{x, y}) || m_nCursor < 0 || m_nFirst < 0) return 0;
  const size_t index = static_cast<size_t>(m_nFirst + m_nCursor);
  for (size_t j = 0; j < m_outRows.size(); ++j) {
    if (index >= m_outRows[j].size()) continue;
    const int row = m_outRows[j][index];
    if (row != kNoRow && std::abs(row - y) < 10) {
      m_nSelectedLine = static_cast<int>(j);
      return 1;
    }
  }
  return 0;
}

int CTechAnalysisBasePic::HitTestLine(int x, int y) {
  m_nSelectedLine = -1;
  if (!PtInRect(m_rcPlot, POINT{x, y}) || m_outRows.empty() || m_nCursor < 0 || m_nFirst < 0 ||
      m_pX == nullptr)
    return 0;
  int bar = 0;
  for (int i = 0; i < m_nXCount; ++i)
    if (m_pX[i] >= x) {
      bar = i;
      break;
    }
  const size_t index = static_cast<size_t>(m_nFirst + bar);
  for (size_t j = 0; j < m_outRows.size(); ++j) {
    if (index >= m_outRows[j].size()) continue;
    const int row = m_outRows[j][index];
    if (row != kNoRow && row - y >= -4 && row - y <= 4) {
      m_nSelectedLine = static_cast<int>(j);
      return 1;
    }
  }
  return 0;
}
