// Expressions of a formula, evaluated on whole series as the parser reduces
// them: names, operators, IF/IFN and calls of built-ins and of other formulas.
#include <cstring>
#include <string>

#include "formula/compiler/Bindings.h"
#include "formula/text/GbkText.h"
#include "formula/compiler/QTPar.h"
#include "formula/text/ValueOps.h"
#include "formula/trace/FormulaTrace.h"
#include "platform/gbk.h"

using namespace formula;

namespace {

std::string Upper(const char* text) {
  std::string s(text ? text : "");
  FoldUpperAscii(s.data());
  return s;
}

int CountParameters(const char* paramText) {
  int n = 0;
  for (const char* p = paramText; p && *p; ++p)
    if (*p == ';') ++n;
  return n;
}

}  // namespace

void CQTPar::MakeUsable(SRegPar& v) {
  // A series without storage (a "^t(2)" parameter nobody preset) reads as a
  // series of its number, never as a null pointer.
  if (m_calculate && v.cType == REG_SERIES && !v.pSeries)
    v.pSeries = NewSeries(m_bars + 1, v.fValue);
}

bool CQTPar::EvalName(const SQTValue& name, SRegPar& out) {
  if (name.symbol < 0) return Fail("syntax error");
  const SSymbol& sym = m_lexer.Symbols()[size_t(name.symbol)];
  if (sym.kind == SSymbol::UNDEFINED) return FailF(GBK("发现未知变量---> %s"), sym.name);
  out = sym.value;
  return true;
}

void CQTPar::EvalNegate(const SRegPar& in, SRegPar& out) {
  out = in;
  if (in.cType == REG_SERIES) {
    if (!m_calculate) return;
    SRegPar src = in;
    MakeUsable(src);
    out.pSeries = NewSeries(m_bars + 1, 0.0f, m_bars);
    NegateSeries(src.pSeries, out.pSeries, m_bars);
    return;
  }
  out.fValue = Negate(in.fValue);
}

void CQTPar::EvalBinary(int op, const SRegPar& a, const SRegPar& b, SRegPar& out) {
  out = SRegPar{};
  if (a.cType != REG_SERIES && b.cType != REG_SERIES) {
    out.cType = REG_NUMBER;
    out.fValue = ApplyBinary(op, a.fValue, b.fValue);
    return;
  }
  out.cType = REG_SERIES;
  if (!m_calculate) return;
  SRegPar x = a, y = b;
  MakeUsable(x);
  MakeUsable(y);
  out.pSeries = NewSeries(m_bars + 1, INVALID_VALUE, m_bars);
  ApplyBinarySeries(op, x.cType == REG_SERIES ? x.pSeries : nullptr, x.fValue,
                    y.cType == REG_SERIES ? y.pSeries : nullptr, y.fValue, out.pSeries, m_bars);
}

void CQTPar::EvalIf(const SRegPar& c, const SRegPar& x, const SRegPar& y, SRegPar& out) {
  out = SRegPar{};
  out.cType = REG_SERIES;
  if (!m_calculate) return;
  SRegPar cc = c, xx = x, yy = y;
  MakeUsable(cc);
  MakeUsable(xx);
  MakeUsable(yy);
  if (cc.cType != REG_SERIES) {
    const SRegPar& chosen = IsTrue(cc.fValue) ? xx : yy;
    out.pSeries = chosen.cType == REG_SERIES ? chosen.pSeries : NewSeries(m_bars, chosen.fValue);
    return;
  }
  out.pSeries = NewSeries(m_bars, INVALID_VALUE, m_bars);
  const float* xs = xx.cType == REG_SERIES ? xx.pSeries : nullptr;
  const float* ys = yy.cType == REG_SERIES ? yy.pSeries : nullptr;
  for (int i = 0; i < m_bars; ++i)
    out.pSeries[i] = IsTrue(cc.pSeries[i]) ? (xs ? xs[i] : xx.fValue) : (ys ? ys[i] : yy.fValue);
}

bool CQTPar::CallFunction(SQTValue& call) {
  std::vector<SRegPar> args;
  if (!m_argLists.empty()) {
    args = std::move(m_argLists.back());
    m_argLists.pop_back();
  }
  const SFunctionItem* row = call.function;
  const char* name = FunctionName(row);
  const char* sig = FunctionSignature(row);
  const int expected = int(std::strlen(sig)) - 1;
  if (int(args.size()) != expected) {
    std::string msg = GBK("参数个不对，函数");
    msg += Upper(name);
    if (expected > 0) {
      msg += "( ";
      for (int k = 0; k < expected; ++k) {
        if (k) msg += ", ";
        msg += TypeName(sig[k + 1]);
      }
      msg += ")";
    }
    char tail[64];
    std::snprintf(tail, sizeof tail, GBK(" 有%d个参数"), expected);
    msg += tail;
    return Fail(msg.c_str());
  }
  for (int k = 0; k < expected; ++k)
    if (!TypesCompatible(args[size_t(k)].cType, sig[k + 1]))
      return FailF(GBK("函数%s的第%d个参数类型不匹配，应当是%s类型"), name, k + 1,
                   TypeName(sig[k + 1]));
  SRegPar result;
  result.cType = sig[0];
  if (!FunctionHasRoutine(row)) return FailF(GBK("函数%s的指针为空，无法继续运算"), name);
  if (m_calculate) {
    for (int k = 0; k < expected; ++k) {
      SRegPar& a = args[size_t(k)];
      if (sig[k + 1] == REG_SERIES && a.cType == REG_NUMBER) {
        a.pSeries = NewSeries(m_bars + 1, a.fValue);
        a.cType = REG_SERIES;
      }
      MakeUsable(a);
      if (a.cType == REG_TEXT && !a.pText) a.pText = const_cast<char*>("");
    }
    result.cType = REG_SERIES;  // every built-in yields a series
    // A built-in without arguments reads only the history, which one parse
    // never changes, and no series is changed once made: CLOSE written
    // three times is copied out of the history once.
    float* const* known = nullptr;
    if (expected == 0)
      for (const auto& [function, series] : m_historySeries)
        if (function == row) known = &series;
    if (known) {
      result.pSeries = *known;
    } else {
      result.pSeries = NewSeries(m_bars + 1, INVALID_VALUE);
      formula::CallFunction(row, result.pSeries, args.data(), expected, m_bars);
      if (expected == 0) m_historySeries.emplace_back(row, result.pSeries);
    }
  }
  ClearValue(call);
  call.value = result;
  return true;
}

bool CQTPar::CallFormula(SQTValue& call) {
  m_calledFormula = true;
  std::vector<SRegPar> args;
  if (!m_argLists.empty()) {
    args = std::move(m_argLists.back());
    m_argLists.pop_back();
  }
  const SFormulaRecord* callee = call.formula;
  const short kind = call.kind;
  const char* kindName = KindName(kind);
  const char* code = callee ? FormulaCode(callee) : call.parts[0];
  const int paramCount = callee ? CountParameters(FormulaParamText(callee)) : 0;
  if (int(args.size()) > paramCount)
    return FailF(GBK("参数个太多，%s公式%s有%d个参数!"), kindName, Upper(code).c_str(), paramCount);
  Trace(GBK("------准备递规调用【%s】%s------"), kindName, code);
  Trace(GBK("%s公式%s有%d个参数"), kindName, code, int(args.size()));
  for (size_t k = 0; k < args.size(); ++k)
    if (!TypesCompatible(args[k].cType, REG_NUMBER))
      return FailF(GBK("%s公式%s的第%d个参数类型不匹配，应当是浮点常数"), kindName, code,
                   int(k + 1));

  // A formula already running further out (A calls B calls A), or a chain
  // of calls deeper than the cap, would never end: refuse it as a failed call.
  bool cycle = callee == m_formula;
  for (const SFormulaRecord* outer : m_callChain) cycle = cycle || outer == callee;
  if (cycle || int(m_callChain.size()) + 1 >= kMaxCallDepth)
    return FailF(GBK("调用%s公式%s计算出错!"), kindName, code);

  auto nested = std::make_unique<CQTPar>();
  bool ok = nested->Init();
  if (ok) {
    std::vector<const SFormulaRecord*> chain = m_callChain;
    chain.push_back(m_formula);
    nested->SetCallChain(std::move(chain));
    ok = nested->LoadFormula(callee);
  }
  if (ok) {
    for (size_t k = 0; k < args.size(); ++k) nested->SetPreset(int(k), args[k]);
    ok = m_calculate ? nested->CalcFormula(m_bars) : nested->CheckFormula();
  }
  if (!ok) return FailF(GBK("调用%s公式%s计算出错!"), kindName, code);

  // The wanted output: for an indicator the part after the dot, else the first.
  const auto& outputs = nested->Outputs();
  const SOutputLine* chosen = outputs.empty() ? nullptr : &outputs.front();
  if (kind == 0 && call.partCount >= 2) {
    for (const SOutputLine& line : outputs)
      if (line.name && EqualNoCase(line.name, call.parts[1])) {
        chosen = &line;
        break;
      }
  }
  SRegPar result;
  if (chosen) {
    result.cType = chosen->value.cType;
    result.fValue = chosen->value.fValue;
    result.pText = chosen->value.pText;
    if (result.cType == REG_TEXT && result.pText) {
      // The nested parser's texts go with it; keep a copy in this parse.
      result.pText = const_cast<char*>(m_lexer.Intern(result.pText));
    }
    if (m_calculate && result.cType == REG_SERIES) {
      result.pSeries = NewSeries(m_bars, INVALID_VALUE);
      if (chosen->value.pSeries && m_bars > 0)
        std::memcpy(result.pSeries, chosen->value.pSeries, sizeof(float) * size_t(m_bars));
    }
  }
  Trace(GBK("------退出【%s】%s的递规调用------"), kindName, code);
  ClearValue(call);
  call.value = result;
  return true;
}
