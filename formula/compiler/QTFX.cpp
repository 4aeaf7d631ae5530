#include "formula/compiler/QTFX.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "formula/compiler/Bindings.h"
#include "formula/text/GbkText.h"
#include "formula/compiler/QTFXRules.h"
#include "formula/trace/FormulaTrace.h"
#include "platform/gbk.h"

namespace formula {
namespace {

// Words that, before the dot of a dotted name, pick the kind of the called
// formula; the indicator (0) needs none.
short KindOfPrefix(const char* word) {
  if (!std::strcmp(word, "condition")) return 1;
  if (!std::strcmp(word, "system")) return 2;
  if (!std::strcmp(word, "fivek")) return 3;
  if (!std::strcmp(word, "function")) return 4;
  return -1;
}

// Words that are tokens of their own, not names.
struct Keyword {
  const char* text;
  int rule;
};
const Keyword kKeywords[] = {
    {"and", RULE_AND},
    {"or", RULE_OR},
    {"if", RULE_IF},
    {"iff", RULE_IF},
    {"ifn", RULE_IFN},
    {"enterlong", RULE_ENTERLONG},
    {"exitlong", RULE_EXITLONG},
    {"entershort", RULE_ENTERSHORT},
    {"exitshort", RULE_EXITSHORT},
    {"return", RULE_RETURN},
    {"colorred", RULE_STYLE_FIRST + 0},
    {"colorblue", RULE_STYLE_FIRST + 1},
    {"colorgreen", RULE_STYLE_FIRST + 2},
    {"colorcyan", RULE_STYLE_FIRST + 3},
    {"colorblack", RULE_STYLE_FIRST + 4},
    {"colormagenta", RULE_STYLE_FIRST + 5},
    {"colorbrown", RULE_STYLE_FIRST + 6},
    {"colorlightgray", RULE_STYLE_FIRST + 7},
    {"colordarkgray", RULE_STYLE_FIRST + 8},
    {"colorlightblue", RULE_STYLE_FIRST + 9},
    {"colorlightgreen", RULE_STYLE_FIRST + 10},
    {"colorlightcyan", RULE_STYLE_FIRST + 11},
    {"colorlightred", RULE_STYLE_FIRST + 12},
    {"colorlightmagenta", RULE_STYLE_FIRST + 13},
    {"coloryellow", RULE_STYLE_FIRST + 14},
    {"colorwhite", RULE_STYLE_FIRST + 15},
    {"defaultkcolor", RULE_STYLE_FIRST + 16},
    {"default", RULE_STYLE_FIRST + 17},
    {"volstick", RULE_STYLE_FIRST + 18},
    {"colorstick", RULE_STYLE_FIRST + 19},
    {"circledot", RULE_STYLE_FIRST + 20},
    {"nodraw", RULE_STYLE_FIRST + 21},
};

int KeywordRule(const char* text) {
  // Asked of every name the scanner reads.
  static const std::unordered_map<std::string_view, int> byText = [] {
    std::unordered_map<std::string_view, int> index;
    for (const Keyword& k : kKeywords) index.emplace(k.text, k.rule);
    return index;
  }();
  const auto it = byText.find(text);
  return it == byText.end() ? 0 : it->second;
}

float DecimalValue(const char* text) { return float(std::strtod(text, nullptr)); }

float HexValue(const char* text) {
  // "0x" then hex digits; a value beyond 64 bits saturates.
  double v = 0.0;
  for (const char* p = text + 2; *p; ++p) {
    int d = (*p >= '0' && *p <= '9') ? *p - '0' : (*p | 0x20) - 'a' + 10;
    v = v * 16.0 + d;
  }
  return float(v);
}

}  // namespace

void CQTFXCore::SetInput(const char* text) {
  m_source = text;
  m_consumed = 0;
  m_scanPos = 0;
  m_tokenStart = 0;
  m_tokenText.clear();
}

int CQTFXCore::ReadInputByte() {
  if (!m_source) return -1;
  unsigned char c = static_cast<unsigned char>(m_source[m_consumed]);
  if (c == 0) return -1;
  ++m_consumed;
  return c;
}

void CQTFXCore::ResetCore() {
  m_pool.clear();
  m_poolIndex.clear();
  m_symbols.clear();
  m_symbolIndex.clear();
  std::memset(m_message, 0, sizeof m_message);
  m_tokenText.clear();
  m_tokenStart = 0;
  m_scanPos = 0;
}

const char* CQTFXCore::Intern(const char* text) {
  std::string key(text ? text : "");
  FoldLowerAscii(key.data());
  auto it = m_poolIndex.find(key);
  if (it != m_poolIndex.end()) return it->second;
  m_pool.emplace_back(text ? text : "");
  const char* pooled = m_pool.back().c_str();
  m_poolIndex.emplace(std::move(key), pooled);
  return pooled;
}

int CQTFXCore::TokenLine() const {
  int line = 1;
  if (!m_source) return line;
  size_t end = m_tokenStart + m_tokenText.size();
  for (size_t i = 0; i < end && m_source[i]; ++i)
    if (m_source[i] == '\n') ++line;
  return line;
}

void CQTFXCore::MarkEnd() {
  m_tokenStart = m_scanPos;
  m_tokenText.clear();
}

void CQTFXCore::ReportLexerError(const char* message) {
  char line[1024];
  std::snprintf(line, sizeof line, GBK("错误行号:%d 当前标记:%s 错误信息:%s"), TokenLine(),
                m_tokenText.c_str(), message ? message : "");
  platform::GbkCopyCut(m_message, sizeof m_message, line);
  Trace("%s", m_message);
}

int CQTFXCore::AddSymbol(const char* name, char type) {
  SSymbol s;
  s.kind = SSymbol::UNDEFINED;
  s.name = name;
  s.value.cType = type;
  m_symbols.push_back(s);
  int index = int(m_symbols.size()) - 1;
  m_symbolIndex.emplace(name, index);  // keeps the first entry of a name
  return index;
}

int CQTFXCore::FindOrAddSymbol(const char* name) {
  auto it = m_symbolIndex.find(name);
  if (it != m_symbolIndex.end()) return it->second;
  return AddSymbol(name, REG_NUMBER);
}

int CQTFXCore::NumberToken(float value) {
  m_value->number = value;
  return TK_NUMBER;
}

int CQTFXCore::TradeWord(int token, const char* text) {
  const char* name = Intern(text);
  ClearValue(*m_value);
  // Every trade word (and "return") is a fresh output symbol of type series.
  m_value->symbol = AddSymbol(name, REG_SERIES);
  m_value->text = name;
  return token;
}

int CQTFXCore::ClassifyName(const char* text) {
  const char* name = Intern(text);
  if (const SFunctionItem* row = FindFunction(name)) {
    ClearValue(*m_value);
    m_value->function = row;
    m_value->text = name;
    return TK_FUNC;
  }
  if (const SFormulaRecord* rec = FindCalledFormula(0, name, m_current)) {
    ClearValue(*m_value);
    m_value->formula = rec;
    m_value->kind = 0;
    m_value->text = name;
    m_value->partCount = 1;
    platform::GbkCopyCut(m_value->parts[0], sizeof m_value->parts[0], name);
    m_value->value.cType = REG_NUMBER;
    return TK_FORMULA;
  }
  ClearValue(*m_value);
  m_value->symbol = FindOrAddSymbol(name);
  m_value->text = name;
  return TK_IDENT;
}

int CQTFXCore::ClassifyDotted(const char* text) {
  const char* whole = Intern(text);
  ClearValue(*m_value);
  m_value->text = whole;
  // Split at the dots: at most five parts of at most 29 characters each.
  int count = 0;
  const char* p = whole;
  while (count < kMaxNameParts) {
    const char* dot = std::strchr(p, '.');
    size_t len = dot ? size_t(dot - p) : std::strlen(p);
    std::string part(p, len);
    platform::GbkCopyCut(m_value->parts[count], sizeof m_value->parts[count], part.c_str());
    ++count;
    if (!dot) break;
    p = dot + 1;
  }
  m_value->partCount = count;
  short kind = 0;
  const char* callee = m_value->parts[0];
  if (count >= 2) {
    short prefixKind = KindOfPrefix(m_value->parts[0]);
    if (prefixKind >= 0) {
      kind = prefixKind;
      callee = m_value->parts[1];
    }
  }
  if (!FindFunction(callee)) {
    if (const SFormulaRecord* rec = FindCalledFormula(kind, callee, m_current)) {
      m_value->formula = rec;
      m_value->kind = kind;
      m_value->value.cType = REG_NUMBER;
      return TK_FORMULA;
    }
  }
  // Not a call: a variable named by the whole dotted text.
  SQTValue keep = *m_value;
  ClearValue(*m_value);
  m_value->text = keep.text;
  m_value->symbol = FindOrAddSymbol(whole);
  return TK_IDENT;
}

int CQTFXCore::OnRule(int rule, const char* text, int length, int& newCondition) {
  if (!m_value) m_value = &m_scratch;
  m_tokenStart = m_scanPos;
  m_tokenText.assign(text, size_t(length));
  m_scanPos += size_t(length);
  if (rule == RULE_NAME) {
    if (int keyword = KeywordRule(text)) rule = keyword;
  }

  if (rule >= RULE_STYLE_FIRST && rule <= RULE_STYLE_LAST) {
    m_value->property = TK_STYLE_FIRST + (rule - RULE_STYLE_FIRST);
    return m_value->property;
  }
  switch (rule) {
    case RULE_AND:
    case RULE_AND_SIGN: return TK_AND;
    case RULE_OR:
    case RULE_OR_SIGN: return TK_OR;
    case RULE_PARAM_P: return TK_PARAM_P;
    case RULE_PARAM_T: return TK_PARAM_T;
    case RULE_IF: return TK_IF;
    case RULE_IFN: return TK_IFN;
    case RULE_ENTERLONG: return TradeWord(TK_ENTERLONG, text);
    case RULE_EXITLONG: return TradeWord(TK_EXITLONG, text);
    case RULE_ENTERSHORT: return TradeWord(TK_ENTERSHORT, text);
    case RULE_EXITSHORT: return TradeWord(TK_EXITSHORT, text);
    case RULE_RETURN: return TradeWord(TK_RETURN, text);
    case RULE_HEX_NUMBER: return NumberToken(HexValue(text));
    case RULE_ZERO_NUMBER:  // "007" is seven: leading zeros do not make it octal
    case RULE_INT_NUMBER:
    case RULE_FRACTION_NUMBER:
    case RULE_DOT_NUMBER: return NumberToken(DecimalValue(text));
    case RULE_DOTTED_NAME: return ClassifyDotted(text);
    case RULE_NAME: return ClassifyName(text);
    case RULE_STRING_DOUBLE:
    case RULE_STRING_SINGLE: m_value->text = Intern(text); return TK_STRING;
    case RULE_LE: return TK_LE;
    case RULE_GE: return TK_GE;
    case RULE_EQ: return TK_EQ;
    case RULE_NE: return TK_NE;
    case RULE_COLON: return TK_COLON;
    case RULE_ASSIGN: return TK_ASSIGN;
    case RULE_CHAR: return static_cast<unsigned char>(text[0]);
    case RULE_COMMENT_OPEN: newCondition = kConditionComment; return 0;
    case RULE_COMMENT_CLOSE: newCondition = kConditionNormal; return 0;
    case RULE_COMMENT_LINE:
    case RULE_COMMENT_TEXT:
    case RULE_BLANK: return 0;
    case RULE_OTHER: Trace("%s", m_tokenText.c_str()); return 0;
    default: return 0;
  }
}

}  // namespace formula
