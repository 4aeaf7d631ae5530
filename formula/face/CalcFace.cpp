#include "formula/face/CalcFace.h"

#include <cstdlib>
#include <cstring>

#include "formula/compiler/Bindings.h"
#include "formula/text/FormulaHistory.h"
#include "formula/text/GbkText.h"
#include "platform/gbk.h"

using namespace formula;

namespace {

// Returned when no parameter set applies: one value per chart period.
float g_defaultPeriods[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

}  // namespace

CCalcFace::CCalcFace() { Init(); }

CCalcFace::~CCalcFace() { ResetIt(); }

void CCalcFace::SetError(const char* text) { SetLastError(text); }

int CCalcFace::SelectFormular(short kind, const char* name) {
  m_selected = nullptr;
  if (kind < 0 || kind > 4 || !name) return 0;
  SFormulaRecord* rec = FindFormulaByCode(kind, name);
  if (!rec) return 0;
  m_selected = rec;
  if (!LoadFormula(rec)) {
    SetError(GBK("公式输入有问题,可能是公式没有内容!"));
    return 0;
  }
  if (!CheckFormula()) {
    SetError(GBK("公式编写有错,可能是与其他公式冲突,请察看公式,检查错误!"));
    return 0;
  }
  return 1;
}

std::string CCalcFace::CheckKey(const SFormulaRecord* rec) const {
  std::string key(1, char('0' + rec->nKind));
  key += FormulaParamText(rec);
  key += '\0';
  key += FormulaBodyText(rec);
  key += '\0';
  for (const SRegPar& p : Presets()) {
    key += p.cType;
    key.append(reinterpret_cast<const char*>(&p.fValue), sizeof p.fValue);
  }
  return key;
}

int CCalcFace::SelectForCalc(short kind, const char* name) {
  m_selected = nullptr;
  if (kind < 0 || kind > 4 || !name) return 0;
  SFormulaRecord* rec = FindFormulaByCode(kind, name);
  if (!rec) return 0;
  std::string key = CheckKey(rec);
  if (m_checked.count(key)) {
    m_selected = rec;
    return 1;
  }
  if (!SelectFormular(kind, name)) return 0;
  // A store of many formulas edited over a long session: the set is only
  // a saving, emptied rather than grown without end.
  if (m_checked.size() >= 256) m_checked.clear();
  if (!CalledOtherFormula()) m_checked.insert(std::move(key));
  return 1;
}

int CCalcFace::Calc(short kind, const char* name, const SHistoryUnit* bars, short count) {
  if (!bars) return SelectFormular(kind, name);
  if (!m_dataIO) {
    SetError(GBK("取数据的回调函数指针为空,无法取得数据,不能计算!"));
    return 0;
  }
  SetHistory(bars, count);
  if (!(count > 0 ? SelectForCalc(kind, name) : SelectFormular(kind, name))) return 0;
  if (count <= 0) return 1;
  if (!LoadFormula(m_selected) || !CalcFormula(count)) {
    SetError(GBK("公式计算出错,请重新编译公式,检查错误!"));
    return 0;
  }
  return 1;
}

float* CCalcFace::OutputSeries(int i) const {
  if (!m_selected) return nullptr;
  int index = -1;
  if (m_selected->nKind == 2 && i >= 265 && i <= 268) index = i - 265;
  else if (i >= 0 && i < 20) index = i;
  if (index < 0 || index >= OutputCount()) return nullptr;
  const SRegPar& v = Outputs()[size_t(index)].value;
  return v.cType == REG_SERIES ? v.pSeries : nullptr;
}

const char* CCalcFace::OutputName(int i) const {
  if (i < 0 || i >= OutputCount()) return nullptr;
  return Outputs()[size_t(i)].name;
}

int CCalcFace::OutputProperty(int i) const {
  if (i < 0 || i >= OutputCount()) return 0;
  return Outputs()[size_t(i)].property;
}

const char* CCalcFace::ParamName(int i) const {
  if (i < 0 || i >= ParamCount()) return nullptr;
  return Params()[size_t(i)].name;
}

float CCalcFace::ParamDefault(int i) const {
  if (i < 0 || i >= ParamCount()) return 0.0f;
  return Params()[size_t(i)].defaultValue;
}

int CCalcFace::SetRegParFloat(int i, float v) { return SetPreset(i, NumberValue(v)) ? 1 : 0; }

float (&CCalcFace::PeriodsPar(int i))[12] {
  if (i > 7) i = 7;
  if (i < 0) i = 0;
  if (!m_selected || !m_selected->pParamSet) return g_defaultPeriods;
  float(&values)[12] = m_selected->pParamSet->fValues[i];
  if (IsInvalidValue(values[0])) {
    // Unset for this parameter: start from the compiled formula's default.
    if (i >= ParamCount()) return g_defaultPeriods;
    for (float& v : values) v = ParamDefault(i);
  }
  return values;
}

const char* CCalcFace::GetFormulaGridInfo(const char* name) const {
  if (!m_selected || !name) return nullptr;
  if (std::strcmp(m_selected->szCode, name) != 0) return nullptr;
  return m_selected->szGridLines;
}

int CCalcFace::GroupHash(const char* name) {
  int32_t h = 0;
  for (const char* p = name; p && *p; ++p) {
    const int32_t c = static_cast<signed char>(*p);
    h = int32_t(uint32_t(h) * 2u) ^ c;
  }
  int32_t r = h % 211;  // the remainder takes the sign of h
  return r < 0 ? -r : r;
}

CCalcFace& TheCalcFace() {
  static CCalcFace evaluator;
  return evaluator;
}
