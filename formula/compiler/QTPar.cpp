#include "formula/compiler/QTPar.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "formula/compiler/Bindings.h"
#include "formula/text/GbkText.h"
#include "formula/trace/FormulaTrace.h"
#include "platform/gbk.h"

using namespace formula;

namespace {

// The error report quotes at most this much of the text after the error.
constexpr size_t kFollowingChars = 499;

}  // namespace

CQTPar::CQTPar() : yl::yyfparser(yytables(), int(sizeof(SQTValue))) {
  yyerr = nullptr;  // reports go through ReportError, never to a stream
  m_lexer.yyerr = nullptr;
  m_lexer.yyin = nullptr;
  m_lexer.yyout = nullptr;
}

CQTPar::~CQTPar() = default;

bool CQTPar::Init() {
  if (!yycreate(&m_lexer)) return false;
  if (!m_lexer.yycreate(this)) return false;
  m_lexer.SetValueSlot(static_cast<SQTValue*>(yylval()));
  return true;
}

int CQTPar::yygettoken() {
  int token = yl::yyfparser::yygettoken();
  if (token <= 0) m_lexer.MarkEnd();
  return token;
}

bool CQTPar::SetPreset(int index, const SRegPar& value) {
  if (index < 0 || index > int(m_presets.size())) return false;
  if (index == int(m_presets.size())) m_presets.emplace_back();
  m_presets[size_t(index)] = value;
  return true;
}

void CQTPar::ClearParseState() {
  m_lexer.Reset();
  // Series of the previous formula are kept for reuse: evaluating the same
  // formula again then allocates nothing. The spares never outnumber the
  // series of the busiest parse since the last reset (NewSeries gives one
  // back for every one it allocates while spares exist), so recomputing
  // over more and more bars holds about one parse's worth, not every
  // parse's.
  for (SeriesBuffer& b : m_series) m_spare.push_back(std::move(b));
  m_series.clear();
  m_outputs.clear();
  m_variables.clear();
  m_params.clear();
  m_pending.clear();
  m_argLists.clear();
  m_historySeries.clear();
  m_calledFormula = false;
  m_bars = 0;
  std::memset(m_label, 0, sizeof m_label);
  std::memset(m_lastError, 0, sizeof m_lastError);
}

void CQTPar::ResetAll() {
  ClearParseState();
  m_spare.clear();  // gives the memory back
  m_source.clear();
  m_lexer.SetInput(nullptr);
  m_presets.clear();
  m_formula = nullptr;
  m_kind = 0;
  m_lexer.SetCurrentFormula(nullptr);
}

bool CQTPar::LoadFormula(const SFormulaRecord* rec) {
  ClearParseState();
  m_formula = rec;
  m_lexer.SetCurrentFormula(rec);
  if (!rec) {
    m_source.clear();
    m_lexer.SetInput(m_source.c_str());
    ReportError(GBK("公式内容空，无法分析!"));
    return false;
  }
  m_kind = FormulaKind(rec);
  // The parameter declarations come first, then the body. The buffer is
  // sized from both texts, so neither is ever cut.
  const char* params = FormulaParamText(rec);
  const char* body = FormulaBodyText(rec);
  m_source.clear();
  m_source.reserve(std::strlen(params) + std::strlen(body) + 1);
  m_source += params;
  m_source += body;
  FoldLowerAscii(m_source.data());
  m_lexer.SetInput(m_source.c_str());
  return true;
}

bool CQTPar::RunParse(bool calculate, int bars) {
  m_calculate = calculate;
  m_bars = calculate ? (bars > 0 ? bars : 0) : m_bars;
  std::memset(m_lastError, 0, sizeof m_lastError);
  if (!m_formula) {
    ReportError(GBK("公式内容空，无法分析!"));
    return false;
  }
  if (yyparse() != 0) return false;
  if (m_outputs.empty()) {
    SetLastError(GBK("公式没有输出"));
    Trace("%s", m_lastError);
    return false;
  }
  return true;
}

bool CQTPar::CheckFormula() { return RunParse(false, 0); }

bool CQTPar::CalcFormula(int bars) {
  if (!RunParse(true, bars)) return false;
  if (m_kind == 2) ArrangeTradingOutputs();
  return true;
}

size_t CQTPar::HeldSeriesBytes() const {
  size_t floats = 0;
  for (const SeriesBuffer& b : m_series) floats += size_t(b.capacity);
  for (const SeriesBuffer& b : m_spare) floats += size_t(b.capacity);
  return floats * sizeof(float);
}

float* CQTPar::NewSeries(int count, float fill, int filledFrom) {
  if (count < 1) count = 1;
  // The smallest spare that holds the series; failing that the largest
  // spare is released, so the pool never keeps a buffer it has outgrown.
  size_t best = m_spare.size(), largest = m_spare.size();
  for (size_t i = 0; i < m_spare.size(); ++i) {
    const int capacity = m_spare[i].capacity;
    if (capacity >= count && (best == m_spare.size() || capacity < m_spare[best].capacity))
      best = i;
    if (largest == m_spare.size() || capacity > m_spare[largest].capacity) largest = i;
  }
  SeriesBuffer buffer;
  if (best != m_spare.size() || largest != m_spare.size()) {
    const size_t taken = best != m_spare.size() ? best : largest;
    buffer = std::move(m_spare[taken]);
    m_spare[taken] = std::move(m_spare.back());
    m_spare.pop_back();
  }
  if (buffer.capacity < count) {
    // A chart adds a bar at a time: room for a few more bars spares a new
    // buffer on every one of them.
    const int capacity = count + std::min(count / 8, 4096);
    buffer.data.reset();
    buffer.data.reset(new float[size_t(capacity)]);
    buffer.capacity = capacity;
  }
  m_series.push_back(std::move(buffer));
  float* s = m_series.back().data.get();
  for (int i = std::max(filledFrom, 0); i < count; ++i) s[i] = fill;
  return s;
}

void CQTPar::SetLastError(const char* text) {
  platform::GbkCopyCut(m_lastError, sizeof m_lastError, text ? text : "");
}

void CQTPar::ReportError(const char* message) {
  const std::string& token = m_lexer.TokenText();
  std::string following;
  if (const char* src = m_lexer.Source()) {
    size_t start = m_lexer.TokenStart();
    size_t length = std::strlen(src);
    if (start < length) {
      size_t keep = platform::GbkCutLength(src + start, kFollowingChars);
      following.assign(src + start, keep);
    }
  }
  if (!token.empty()) {
    // An indicator used as a variable name is read as a call of it; say so.
    if (IsIndicatorName(token.c_str())) {
      following += GBK("\r\n【推断】可能错误原因在于，用指标名");
      following += '"';
      following += token;
      following += '"';
      following += GBK("作为变量");
    }
  }
  std::string report;
  char head[256];
  std::snprintf(head, sizeof head, GBK("[错误行号]：%d\r\n"), m_lexer.TokenLine());
  report += head;
  report += GBK("[错误单词]：");
  report += token;
  report += "\r\n";
  report += GBK("[错误信息]：");
  report += message ? message : "";
  report += "\r\n";
  report += GBK("[参考下文]：");
  report += following;
  report += "\r\n";
  Trace("%s", report.c_str());
  SetLastError(report.c_str());
}

bool CQTPar::Fail(const char* message) {
  ReportError(message);
  return false;
}

bool CQTPar::FailF(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return Fail(text);
}
