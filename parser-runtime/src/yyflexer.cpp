#include "yl/yylexer.h"

namespace yl {

int yyflexer::yynextstate(int state, int c) const {
  const yylextables& t = *yytables_;
  // A chain of defaults is at most as long as there are states.
  for (int guard = 0; guard <= t.statecount; ++guard) {
    const yystate_t& st = t.state[state];
    int index = st.base + c;
    if (index >= 0 && index < t.transitioncount && t.transition[index].check == state)
      return t.transition[index].next;
    if (st.def < 0) return -st.def;
    if (st.def == 0) return 0;
    state = st.def;
    if (state >= t.statecount) return 0;
  }
  return 0;
}

bool yyflexer::yyhasexit(int state) const {
  const yystate_t& st = yytables_->state[state];
  return st.def != 0 || st.base != 0;
}

int yyflexer::yylex() {
  if (!yycreated && !yycreate(yyparser_)) {
    yyfail();
    return 0;
  }
  const yylextables& t = *yytables_;
  for (;;) {
    if (yyfailedflg) return 0;
    if (yymoreflg) {
      yymoreflg = false;
    } else {
      yyleng = 0;
      yyoldeol = yyeol;
    }
    const int oldleng = yyleng;
    const int start = 1 + yystart + (yyeol ? 1 : 0);
    if (start <= 0 || start >= t.statecount) {
      yyfail();
      return 0;
    }

    // Longest run of characters the DFA accepts.
    bool atend = false;
    int state = start;
    while (yyhasexit(state)) {
      int c = yygetchar();
      if (c < 0) {
        atend = true;
        break;
      }
      int next = yynextstate(state, c);
      if (next <= 0 || next >= t.statecount) {
        if (!yyunput(c)) return 0;
        break;
      }
      if (!yyensuretext()) return 0;
      yytext[yyleng] = static_cast<char>(c);
      yystatebuf[yyleng] = next;
      ++yyleng;
      state = next;
    }

    if (yyleng == oldleng && atend) {
      // End of input: an empty match of the start state, then yywrap.
      int match = t.state[start].match;
      if (match != 0) {
        yytext[yyleng] = '\0';
        yyrejectflg = false;
        yyreturnflg = true;
        int rule = match > 0 ? match : t.match[-match];
        int token = yyaction(rule);
        if (yyfailedflg) return 0;
        if (yyreturnflg && !yyrejectflg) return token;
      }
      if (yywrap() == 1) {
        yystart = 0;
        yyeol = yyoldeol = true;
        return 0;
      }
      continue;
    }

    // Back up to the longest prefix that some rule matches.
    bool acted = false;
    for (int length = yyleng; length > oldleng && !acted; --length) {
      int match = t.state[yystatebuf[length - 1]].match;
      if (match == 0) continue;
      while (yyleng > length) {
        if (!yyunput(static_cast<unsigned char>(yytext[yyleng - 1]))) return 0;
        --yyleng;
      }
      const int16_t* list = match > 0 ? nullptr : t.match - match;
      for (int k = 0;; ++k) {
        int rule = list == nullptr ? (k == 0 ? match : 0) : list[k];
        if (rule == 0) break;
        if (yyleng > 0) yyeol = yytext[yyleng - 1] == '\n';
        yytext[yyleng] = '\0';
        yyrejectflg = false;
        yyreturnflg = true;
        int token = yyaction(rule);
        if (yyfailedflg) return 0;
        if (yyrejectflg) {
          yyleng = length;
          continue;
        }
        if (yyreturnflg) return token;
        acted = true;  // a skipping action: next token
        break;
      }
    }
    if (acted) continue;

    // No rule matched: the first character goes to the output routine.
    int c;
    if (yyleng > oldleng) {
      while (yyleng > oldleng + 1) {
        if (!yyunput(static_cast<unsigned char>(yytext[yyleng - 1]))) return 0;
        --yyleng;
      }
      c = static_cast<unsigned char>(yytext[oldleng]);
      yyleng = oldleng;
    } else {
      c = yygetchar();
      if (c < 0) continue;
    }
    yytext[yyleng] = '\0';
    yyoutput(c);
    yyeol = c == '\n';
  }
}

}  // namespace yl
