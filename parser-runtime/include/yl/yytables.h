// Table shapes shared by the table-driven lexer and parser drivers and by
// the code that yltables generates from a flex rule file or a bison grammar.
#pragma once
#include <cstdint>

namespace yl {

// ---- lexer ----------------------------------------------------------------

// One DFA state. def: 0 none, k > 0 continue the lookup in state k, -k every
// character 0-255 goes to state k. base: index base into the transition
// table (0 together with def 0: the state has no way out). match: 0 no rule,
// r > 0 rule r, -i a zero-ended list of rules at match[i].
struct yystate_t {
  int16_t def;
  int16_t base;
  int16_t match;
};

// A slot of the transition table: valid for state check; next 0 means no
// transition.
struct yytransition_t {
  int16_t next;
  int16_t check;
};

struct yylextables {
  const yystate_t* state;
  int statecount;
  const yytransition_t* transition;
  int transitioncount;
  const int16_t* match;   // zero-ended rule lists
  const uint8_t* backup;  // per rule (index 0 unused): nonzero = trailing context
  int rulecount;
};

// ---- parser ---------------------------------------------------------------

enum yyactiontype : uint8_t {
  YYAT_SHIFT = 0,   // value: the new state
  YYAT_REDUCE = 1,  // value: the rule
  YYAT_ERROR = 2,
  YYAT_ACCEPT = 3,
  YYAT_DEFAULT = 4,  // continue the lookup with the row of state value
};

struct yystateaction_t {
  int16_t base;       // index base into the token-action table
  uint8_t lookahead;  // nonzero: the state needs a lookahead token
  uint8_t type;       // default action when no token entry matches
  int16_t sr;         // its value
};

struct yytokenaction_t {
  int16_t check;  // owning state
  uint8_t type;
  int16_t sr;
};

struct yyreduction_t {
  int16_t nonterm;  // left-hand side, numbered from 0
  int16_t length;   // right-hand length
  int16_t action;   // -1: the rule has no action
};

struct yystategoto_t {
  int16_t base;  // index base into the non-terminal goto table
  int16_t def;   // default row (a state), -1 none
};

struct yynontermgoto_t {
  int16_t check;  // owning state
  int16_t next;
};

struct yyparsetables {
  const yystateaction_t* stateaction;
  int statecount;
  const yytokenaction_t* tokenaction;
  int tokenactioncount;
  const yyreduction_t* reduction;
  int rulecount;
  const yystategoto_t* stategoto;
  const yynontermgoto_t* nontermgoto;
  int nontermgotocount;
};

}  // namespace yl
