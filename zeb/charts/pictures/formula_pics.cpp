// Formula, volume and overlaid-close pictures.
#include "zeb/charts/pictures/formula_pics.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "zeb/scheme/sys_style.h"

namespace {

// The library wants a data callback before it calculates; it never calls it.
long NoDataIO(SCodeInfo, DATA_TYPE, void*, short) { return 0; }

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string OutputNames(CFormulaAccess& face, int count) {
  std::string names;
  for (int i = 0; i < count; ++i) {
    if (i) names += ",";
    const char* word = face.GetOutVarWord(i);
    names += word ? word : "";
  }
  return Upper(names);
}

// The largest valid value of a series, 0 when none passes 0. Its own
// function: the running value stays in a register, where inside the loop
// over the library's outputs (a call each) it went through memory on every
// bar.
float Largest(const float* series, int count) {
  float largest = 0.0f;
  for (int i = 0; series && i < count; ++i)
    if (!IsInvalidValue(series[i]) && series[i] > largest) largest = series[i];
  return largest;
}

int StyleOf(int property) {
  switch (property) {
    case 288: return kStyleColorSticks;
    case 289: return kStyleSticks;
    case 290: return kStyleHidden;
    default: return kStyleLine;
  }
}

}  // namespace

CTechAnalysisSelf::CTechAnalysisSelf(const std::string& name) : m_strName(name) {
  CFormulaAccess& face = FormulaAccess();
  face.RegisterDataIO(&NoDataIO);
  if (face.Calc(0, m_strName.c_str(), nullptr, 0)) {
    const int outputs = face.GetOutVarSize();
    const std::string names = OutputNames(face, outputs);
    const int params = face.GetRegParSize();
    SetOutputInfo(names, params, outputs);
    for (int i = 0; i < params; ++i)
      m_params[static_cast<size_t>(i)] = static_cast<int>(face.GetRegParFloat(i));
  }
  SetFormulaName(name);
}

void CTechAnalysisSelf::Compute() {
  if (m_pBars == nullptr || m_nBarCount <= 0) return;
  const int skip = std::max(0, m_nBarCount - kMaxCalcBars);
  const int count = m_nBarCount - skip;
  CFormulaAccess& face = FormulaAccess();
  if (!face.Calc(0, m_strName.c_str(), m_pBars + skip, static_cast<short>(count))) return;
  const int outputs = face.GetOutVarSize();
  const int params = face.GetRegParSize();
  if (m_nOutputs < outputs || m_nParams < params) {
    AllocParams(params, outputs);
  } else {
    m_nOutputs = outputs;
    m_nParams = params;
  }
  // The values go to the arrays the computation before last filled, kept
  // for it: a tick allocates and clears nothing.
  const size_t bars = static_cast<size_t>(m_nBarCount);
  m_spareValues.resize(static_cast<size_t>(outputs));
  float largest = 0.0f;
  for (int j = 0; j < outputs; ++j)
    largest = std::max(largest, Largest(face.OutputSeries(j), count));
  const float divisor = largest > kDivisorLimit ? 10000.0f : 1.0f;
  for (int j = 0; j < outputs; ++j) {
    const float* series = face.OutputSeries(j);
    std::vector<float>& out = m_spareValues[static_cast<size_t>(j)];
    out.resize(bars);
    std::fill(out.begin(), out.begin() + skip, kNoValue);
    for (int i = 0; i < count; ++i)
      out[static_cast<size_t>(skip + i)] =
          !series || IsInvalidValue(series[i]) ? kNoValue : series[i] / divisor;
    m_styles[static_cast<size_t>(j)] = StyleOf(face.GetOutVarProperty(j));
  }
  for (int i = 0; i < params; ++i)
    m_params[static_cast<size_t>(i)] = static_cast<int>(face.GetRegParFloat(i));
  m_strOutputNames = OutputNames(face, outputs);
  m_outValues.swap(m_spareValues);
  m_bEarlierMoved = EarlierOutputsMoved(m_spareValues);
  // The earlier bars' rows stand while their values do (a new newest bar
  // value); a full preparation places them all again anyway.
  const bool rowsFit =
      m_outRows.size() == m_outValues.size() &&
      std::all_of(m_outRows.begin(), m_outRows.end(),
                  [&](const std::vector<int>& rows) { return rows.size() == bars; });
  if (!rowsFit) {
    m_outRows.assign(m_outValues.size(), std::vector<int>(bars, 0));
  } else if (m_bEarlierMoved) {
    for (std::vector<int>& rows : m_outRows) std::fill(rows.begin(), rows.end(), 0);
  }
}

int CTechAnalysisSelf::SetData(const SKLineRange* range) {
  const int result = CTechAnalysisBasePic::SetData(range);
  if (result && m_strName == "MA") m_nDecimals = range->decimals;
  return result;
}

int CTechAnalysisVol::SetData(const SKLineRange* range) {
  if (range == nullptr || range->bars == nullptr || *range->bars == nullptr) return 0;
  m_nBarCount = range->end;
  m_nFirst = range->first;
  m_nCandleWidth = range->candleWidth;
  m_pBars = *range->bars;
  Compute();
  CalcRange();
  RecalcPixels();
  if (m_nCursor < 0 || m_nCursor >= m_nBarCount) m_nCursor = m_nBarCount - m_nFirst - 1;
  return 1;
}

void CTechAnalysisVol::CalcRange() {
  CTechAnalysisSelf::CalcRange();
  m_fMin = 0.0f;
}

CTechAnalysisAppendClosePrice::CTechAnalysisAppendClosePrice() { m_nLabelMode = 1; }

bool CTechAnalysisAppendClosePrice::TakeLastBar() {
  if (m_pData == nullptr) return true;
  // The overlay is rescaled from the first visible bar: prepared whole.
  Compute();
  CalcRange();
  RecalcPixels();
  return false;
}

int CTechAnalysisAppendClosePrice::SetData(const SKLineRange* range) {
  if (range == nullptr || range->overlay == nullptr || range->overlay->own == nullptr) return 0;
  m_pData = range->overlay;
  return TakeRange(*range, m_pData->own);
}

void CTechAnalysisAppendClosePrice::Compute() {
  FreeOutputs();
  AllocParams(0, 2);
  AllocOutputs(m_nBarCount);
  if (!m_pData || m_nFirst < 0) return;
  const SHistoryUnit* own = m_pData->own;
  const SHistoryUnit* other = m_pData->other;
  float factor = 0.0f;
  for (int i = m_nFirst; other && i < m_nBarCount; ++i)
    if (other[i].fClose != 0.0f) {
      factor = own[i].fClose / other[i].fClose;
      break;
    }
  for (int i = 0; i < m_nBarCount; ++i) {
    const size_t k = static_cast<size_t>(i);
    if (i < m_nFirst) {
      m_outValues[0][k] = m_outValues[1][k] = kNoValue;
      continue;
    }
    m_outValues[0][k] = own[i].fClose != 0.0f ? own[i].fClose : kNoValue;
    m_outValues[1][k] =
        other && other[i].fClose != 0.0f && factor != 0.0f ? other[i].fClose * factor : kNoValue;
  }
}

void CTechAnalysisAppendClosePrice::CalcRange() {
  if (m_outValues.empty() || m_nFirst < 0) return;
  const int count = m_nBarCount - m_nFirst;
  if (count <= 0) return;
  UpdateMinMax(&m_fMin, &m_fMax, m_outValues[0].data() + m_nFirst, count, 1);
  UpdateMinMax(&m_fMin, &m_fMax, m_outValues[1].data() + m_nFirst, count, 0);
}

void CTechAnalysisAppendClosePrice::RecalcPixels() {
  if (m_outRows.empty() || m_nFirst < 0) return;
  const double height = m_rcGrid.bottom - m_rcGrid.top;
  const double span = double(m_fMax) - m_fMin;
  for (size_t j = 0; j < m_outRows.size(); ++j)
    for (int i = m_nFirst; i < m_nBarCount; ++i) {
      const float v = m_outValues[j][static_cast<size_t>(i)];
      m_outRows[j][static_cast<size_t>(i)] =
          v == kNoValue ? kNoRow
          : span == 0.0 ? m_rcGrid.top
                        : ToPixel(m_rcGrid.bottom - height * (double(v) - m_fMin) / span);
    }
}

void CTechAnalysisAppendClosePrice::DrawTitle(CChartPainter& p) {
  CSysStyle* style = CSysStyle::GetInstance();
  CFont* font = TitleFont();
  RECT box = m_rcTitle;
  p.Text(m_strItemName, box, DT_LEFT | DT_VCENTER | DT_SINGLELINE, style->GetColor(7), font);
  int last = p.TextExtent(m_strItemName, font).cx;
  if (m_pData && m_pData->other) {
    const std::string code = "<" + std::string(m_pData->otherCode, 8) + ">";
    box.left += last + 10;
    p.Text(code, box, DT_LEFT | DT_VCENTER | DT_SINGLELINE, style->GetColor(8), font);
    last = p.TextExtent(code, font).cx;
  }
  m_rcParam = m_rcTitle;
  m_rcParam.left += last;
  m_nTitleRight = box.left + last;
}
