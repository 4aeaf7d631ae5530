// The statements of a formula: intermediate variables, output lines and
// parameter declarations, carried out as the parser reduces them.
#include <cstring>

#include "formula/compiler/Bindings.h"
#include "formula/text/GbkText.h"
#include "formula/compiler/QTPar.h"
#include "formula/compiler/QTParRules.h"
#include "formula/text/ValueOps.h"
#include "formula/trace/FormulaTrace.h"
#include "platform/gbk.h"

using namespace formula;

namespace {

const char* TradingMessageShort() {
  return GBK(
      "交易系统公式的输出变量下列指定变量之一:\r\n ENTERLONG/BUYPOINT(多头买入)、EXITLONG/SELPOINT(多头卖出)；\r\n ENTERSHORT(空头买入)、EXITSHORT(空头卖出)! ");
}
const char* TradingMessageLong() {
  return GBK(
      "交易系统公式的输出变量下列指定变量之一:\r\n ENTERLONG/BUYPOINT(多头买入)、EXITLONG/SELPOINT(多头卖出)；\r\n ENTERSHORT(空头买入)、EXITSHORT(空头卖出)! 并且交易系统没有修饰符号!");
}

const char* TradeLabel(int token) {
  switch (token) {
    case 265: return GBK("ENTERLONG(多头买入)");
    case 266: return GBK("EXITLONG(多头卖出)");
    case 267: return GBK("ENTERSHORT(空头买入)");
    default: return GBK("EXITSHORT(空头卖出)");
  }
}

}  // namespace

bool CQTPar::DefineCheck(const SSymbol& sym) {
  switch (sym.kind) {
    case SSymbol::VARIABLE: return FailF(GBK("变量%s已经定义为临时变量，不能重复定义!"), sym.name);
    case SSymbol::OUTPUT: return FailF(GBK("变量%s已经定义为输出变量，不能重复定义!"), sym.name);
    case SSymbol::PARAMETER: return FailF(GBK("变量%s已经定义为参数变量，不能重复定义!"), sym.name);
    default: return true;
  }
}

bool CQTPar::DefineVariable(const SQTValue& name, const SRegPar& value) {
  if (name.symbol < 0) return Fail("syntax error");
  SSymbol& sym = m_lexer.Symbols()[size_t(name.symbol)];
  if (!DefineCheck(sym)) return false;
  sym.value = value;
  sym.kind = SSymbol::VARIABLE;
  m_variables.push_back(SVariableLine{sym.name, value});
  Trace("%s:=......OK", sym.name);
  return true;
}

bool CQTPar::OutputKindCheck(bool styled) {
  if (m_kind != 2) return true;
  return Fail(styled ? TradingMessageLong() : TradingMessageShort());
}

bool CQTPar::DefineOutput(const SQTValue& name, const SRegPar& value, int property) {
  if (name.symbol < 0) return Fail("syntax error");
  SSymbol& sym = m_lexer.Symbols()[size_t(name.symbol)];
  if (!DefineCheck(sym)) return false;
  SRegPar v = value;
  if (v.cType != REG_TEXT && v.cType != REG_SERIES) {
    // A number output is drawn as a flat line.
    v.pSeries = m_calculate ? NewSeries(m_bars, v.fValue) : nullptr;
    v.cType = REG_SERIES;
  } else if (v.cType == REG_SERIES) {
    MakeUsable(v);
  }
  sym.value = v;
  sym.kind = SSymbol::OUTPUT;
  m_outputs.push_back(SOutputLine{sym.name, property, v});
  return true;
}

void CQTPar::ApplyPreset(int index, SParamRecord& rec) {
  if (index < 0 || index >= int(m_presets.size())) return;
  const SRegPar& p = m_presets[size_t(index)];
  rec.type = p.cType;
  switch (p.cType) {
    case REG_TEXT: rec.text = p.pText; break;
    case REG_SERIES: rec.series = p.pSeries; break;
    default: rec.number = p.fValue; break;
  }
}

namespace {

// Finds the parameter record of a name (compared on its first 9 characters).
int FindParam(const std::vector<SParamRecord>& params, const char* name) {
  for (size_t i = 0; i < params.size(); ++i)
    if (EqualNoCase(params[i].name, name)) return int(i);
  return -1;
}

SRegPar ParamValue(const SParamRecord& rec) {
  SRegPar v;
  v.cType = rec.type;
  v.fValue = rec.number;
  v.pSeries = rec.series;
  v.pText = rec.text;
  return v;
}

}  // namespace

int CQTPar::ParamIndexNamed(const char (&name)[sizeof SParamRecord::name]) {
  const int index = FindParam(m_params, name);
  if (index >= 0) return index;
  SParamRecord rec;
  std::memcpy(rec.name, name, sizeof rec.name);
  m_params.push_back(rec);
  return int(m_params.size()) - 1;
}

void CQTPar::NameParam(SSymbol& sym, int index) {
  SParamRecord& stored = m_params[size_t(index)];
  ApplyPreset(index, stored);
  sym.kind = SSymbol::PARAMETER;
  sym.value = ParamValue(stored);
}

bool CQTPar::DefineParamP(const SQTValue& name) {
  if (name.symbol < 0) return Fail("syntax error");
  SSymbol& sym = m_lexer.Symbols()[size_t(name.symbol)];
  // A parameter may be declared again; any other earlier use may not.
  if (sym.kind == SSymbol::PARAMETER) sym.kind = SSymbol::UNDEFINED;
  if (!DefineCheck(sym)) return false;
  if (m_pending.size() < 4) {
    m_pending.clear();
    return Fail(GBK("参数定义不对,至少要四个,依次:最小值，最大值，缺省值，测试步长，周期X..."));
  }
  SParamRecord rec;
  platform::GbkCopyCut(rec.name, sizeof rec.name, sym.name);
  rec.minimum = m_pending[0];
  rec.maximum = m_pending[1];
  rec.defaultValue = m_pending[2];
  rec.step = m_pending[3];
  for (size_t i = 4; i < m_pending.size() && i < 16; ++i) rec.periods[i - 4] = m_pending[i];
  rec.type = REG_NUMBER;
  rec.number = rec.defaultValue;
  const int index = ParamIndexNamed(rec.name);
  m_params[size_t(index)] = rec;
  NameParam(sym, index);
  m_pending.clear();
  return true;
}

bool CQTPar::DefineParamT(const SQTValue& name, float typeNumber) {
  if (name.symbol < 0) return Fail("syntax error");
  SSymbol& sym = m_lexer.Symbols()[size_t(name.symbol)];
  int n = (typeNumber > -1000.0f && typeNumber < 1000.0f) ? int(typeNumber) : 0;
  char type = char('0' + n);
  if (sym.kind == SSymbol::PARAMETER) {
    if (sym.value.cType != type) return Fail(GBK("前后参数类型定义不一致"));
    sym.kind = SSymbol::UNDEFINED;
  }
  if (!DefineCheck(sym)) return false;
  char cut[sizeof SParamRecord::name];
  platform::GbkCopyCut(cut, sizeof cut, sym.name);
  const int index = ParamIndexNamed(cut);
  m_params[size_t(index)].type = type;
  NameParam(sym, index);
  return true;
}

void CQTPar::ArrangeTradingOutputs() {
  static const char* const kOrder[4] = {"enterlong", "exitlong", "entershort", "exitshort"};
  std::vector<SOutputLine> arranged;
  for (const char* word : kOrder) {
    const SOutputLine* found = nullptr;
    for (const SOutputLine& line : m_outputs)
      if (line.name && EqualNoCase(line.name, word)) {
        found = &line;
        break;
      }
    if (found) {
      arranged.push_back(*found);
    } else {
      SOutputLine missing;
      missing.name = "";  // no name; an empty text rather than none, for the charts' titles
      missing.property = 0;
      missing.value.cType = REG_SERIES;
      missing.value.pSeries = NewSeries(m_bars, 0.0f);
      arranged.push_back(missing);
    }
  }
  m_outputs.swap(arranged);
}

bool CQTPar::OnReduce(int rule, SQTValue* rhs, int length, SQTValue& out) {
  if (rule >= R_STYLE_FIRST && rule <= R_STYLE_LAST) {
    out.property = rhs[0].property;
    return true;
  }
  if (rule >= R_EXPR_AND && rule <= R_EXPR_MOD) {
    static const int kOps[] = {OP_AND, OP_OR,  OP_LE,  OP_GE,  OP_LT,  OP_GT, OP_EQ,
                               OP_NE,  OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_MOD};
    SRegPar result;
    EvalBinary(kOps[rule - R_EXPR_AND], rhs[0].value, rhs[2].value, result);
    ClearValue(out);
    out.value = result;
    return true;
  }
  switch (rule) {
    case R_PARAM_P: return DefineParamP(rhs[0]);
    case R_PARAM_T: return DefineParamT(rhs[0], rhs[4].number);
    case R_NUMBER_FIRST: m_pending.push_back(rhs[0].number); return true;
    case R_NUMBER_NEXT: m_pending.push_back(rhs[2].number); return true;
    case R_VARIABLE: return DefineVariable(rhs[0], rhs[2].value);
    case R_OUTPUT:
      if (!OutputKindCheck(false) || !DefineOutput(rhs[0], rhs[2].value, 287)) return false;
      Trace("%s:......OK", m_lexer.Symbols()[size_t(rhs[0].symbol)].name);
      return true;
    case R_OUTPUT_STYLED:
      if (!OutputKindCheck(true) || !DefineOutput(rhs[0], rhs[2].value, rhs[4].property))
        return false;
      Trace("%s:......OK", m_lexer.Symbols()[size_t(rhs[0].symbol)].name);
      return true;
    case R_OUTPUT_TRADE:
      if (!DefineOutput(rhs[0], rhs[2].value, 287)) return false;
      platform::GbkCopyCut(m_label, sizeof m_label, TradeLabel(rhs[0].property));
      Trace(GBK("[专家系统]%s......OK"), m_label);
      return true;
    case R_OUTPUT_RETURN:
      if (!OutputKindCheck(false) || !DefineOutput(rhs[0], rhs[2].value, 287)) return false;
      platform::GbkCopyCut(m_label, sizeof m_label, GBK("RETURN(自定义函数返回值)"));
      Trace(GBK("[自定义函数]%s:... OK"), m_label);
      return true;
    case R_TRADE_ENTERLONG:
    case R_TRADE_EXITLONG:
    case R_TRADE_ENTERSHORT:
    case R_TRADE_EXITSHORT:
      out = rhs[0];
      out.property = 265 + (rule - R_TRADE_ENTERLONG);
      return true;
    case R_EXPR_NEGATE: {
      SRegPar result;
      EvalNegate(rhs[1].value, result);
      ClearValue(out);
      out.value = result;
      return true;
    }
    case R_EXPR_PAREN: {
      SRegPar inner = rhs[1].value;
      ClearValue(out);
      out.value = inner;
      return true;
    }
    case R_EXPR_IF:
    case R_EXPR_IFN: {
      SRegPar result;
      if (rule == R_EXPR_IF) EvalIf(rhs[2].value, rhs[4].value, rhs[6].value, result);
      else EvalIf(rhs[2].value, rhs[6].value, rhs[4].value, result);
      ClearValue(out);
      out.value = result;
      return true;
    }
    case R_EXPR_NUMBER: {
      float v = rhs[0].number;
      ClearValue(out);
      out.value = NumberValue(v);
      return true;
    }
    case R_EXPR_FUNC:
    case R_EXPR_FORMULA: {
      SRegPar v = rhs[0].value;
      ClearValue(out);
      out.value = v;
      return true;
    }
    case R_EXPR_NAME: {
      SRegPar v;
      if (!EvalName(rhs[0], v)) return false;
      ClearValue(out);
      out.value = v;
      return true;
    }
    case R_FUNC_NAME:
    case R_FORMULA_NAME:
      out = rhs[0];
      m_argLists.emplace_back();
      return true;
    case R_FUNC_CALL_BARE:
    case R_FUNC_CALL: out = rhs[0]; return CallFunction(out);
    case R_FORMULA_CALL_BARE:
    case R_FORMULA_CALL: out = rhs[0]; return CallFormula(out);
    case R_ARGS_EXPR:
    case R_ARGS_NEXT_EXPR:
    case R_ARGS_STRING:
    case R_ARGS_NEXT_STRING: {
      const SQTValue& arg = rhs[rule == R_ARGS_EXPR || rule == R_ARGS_STRING ? 0 : 2];
      SRegPar v;
      if (rule == R_ARGS_STRING || rule == R_ARGS_NEXT_STRING) {
        v.cType = REG_TEXT;
        v.pText = const_cast<char*>(arg.text);
      } else {
        v = arg.value;
      }
      if (!m_argLists.empty()) m_argLists.back().push_back(v);
      return true;
    }
    default: (void)length; return true;
  }
}
