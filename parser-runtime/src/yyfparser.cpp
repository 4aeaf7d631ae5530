#include "yl/yyparser.h"

namespace yl {

namespace {
constexpr int kErrorToken = 256;
constexpr int kRecoveryShifts = 3;
}  // namespace

void yyfparser::yylookup(int state, int& type, int& value) {
  const yyparsetables& t = *yytables_;
  for (int guard = 0; guard <= t.statecount; ++guard) {
    const yystateaction_t& sa = t.stateaction[state];
    if (yylookahead) {
      int index = sa.base + yychar;
      if (index >= 0 && index < t.tokenactioncount && t.tokenaction[index].check == state) {
        type = t.tokenaction[index].type;
        value = t.tokenaction[index].sr;
        return;
      }
    }
    type = sa.type;
    value = sa.sr;
    if (type != YYAT_DEFAULT) return;
    state = value;
    if (state < 0 || state >= t.statecount) break;
  }
  type = YYAT_ERROR;
  value = 0;
}

int yyfparser::yygoto(int state, int nonterm) const {
  const yyparsetables& t = *yytables_;
  for (int guard = 0; guard <= t.statecount && state >= 0 && state < t.statecount; ++guard) {
    const yystategoto_t& g = t.stategoto[state];
    int index = g.base + nonterm;
    if (index >= 0 && index < t.nontermgotocount && t.nontermgoto[index].check == state)
      return t.nontermgoto[index].next;
    state = g.def;
  }
  return -1;
}

int yyfparser::yyfinish(int result) {
  if (yydocleanup) yycleanup();
  return result;
}

bool yyfparser::yyrecover(bool forced) {
  const yyparsetables& t = *yytables_;
  if (yyskip < kRecoveryShifts || forced) {
    yyskip = kRecoveryShifts;
    while (yytop >= 0) {
      int state = yystatestack[yytop];
      int index = t.stateaction[state].base + kErrorToken;
      if (index >= 0 && index < t.tokenactioncount && t.tokenaction[index].check == state &&
          t.tokenaction[index].type == YYAT_SHIFT) {
        if (!yypush(t.tokenaction[index].sr)) return false;
        yylvaltostack(yytop);
        return true;
      }
      yypop(1);
    }
    return false;
  }
  // Three tokens must shift before the next report: skip this one.
  if (!yylookahead || yychar == 0) return false;
  yydiscard(yychar);
  yylookahead = false;
  return true;
}

int yyfparser::yywork() {
  const yyparsetables& t = *yytables_;
  for (;;) {
    if (yytop < 0) return yyfinish(1);
    int state = yystatestack[yytop];
    if (state < 0 || state >= t.statecount) return yyfinish(1);
    if (t.stateaction[state].lookahead && !yyfetchlookahead()) return yyfinish(1);

    int type;
    int value;
    yylookup(state, type, value);
    switch (type) {
      case YYAT_SHIFT:
        if (yyskip > 0) --yyskip;
        if (!yypush(value)) return yyfinish(1);
        yylvaltostack(yytop);
        yylookahead = false;
        break;

      case YYAT_REDUCE: {
        if (value < 0 || value >= t.rulecount) return yyfinish(1);
        const yyreduction_t& rule = t.reduction[value];
        if (rule.length > yytop) return yyfinish(1);
        if (rule.action != -1) {
          if (rule.length > 0) yystacktoresult(yytop - rule.length + 1);
          yyabortflg = yyerrorflg = yyretireflg = false;
          yyaction(rule.action);
          if (yyabortflg) return yyfinish(yyexitcode);
          if (yyerrorflg) {
            yypop(rule.length);
            if (!yyrecover(true)) return yyfinish(1);
            break;
          }
          if (yyretireflg) return yyfinish(yyretirevalue);
        }
        yypop(rule.length);
        int next = yygoto(yystatestack[yytop], rule.nonterm);
        if (next < 0 || !yypush(next)) return yyfinish(1);
        if (rule.action != -1) yyresulttostack(yytop);
        break;
      }

      case YYAT_ACCEPT: return yyfinish(0);

      default:  // error
        if (yyskip == 0) {
          ++yyerrorcounter;
          yysyntaxerror();
        }
        if (!yyrecover(false)) return yyfinish(1);
        break;
    }
  }
}

}  // namespace yl
