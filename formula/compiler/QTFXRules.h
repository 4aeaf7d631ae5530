// The token rules of qtfx.l, named: each rule's action passes its name to
// CQTFX::Act.
#pragma once

namespace formula {

enum QTFXRule : int {
  RULE_AND = 1,
  RULE_OR,
  RULE_PARAM_P,
  RULE_PARAM_T,
  RULE_IF,
  RULE_IFN,
  RULE_ENTERLONG,
  RULE_EXITLONG,
  RULE_ENTERSHORT,
  RULE_EXITSHORT,
  RULE_RETURN,
  RULE_STYLE_FIRST,                         // "colorred" = 270
  RULE_STYLE_LAST = RULE_STYLE_FIRST + 21,  // "nodraw" = 291
  RULE_HEX_NUMBER,
  RULE_ZERO_NUMBER,
  RULE_INT_NUMBER,
  RULE_FRACTION_NUMBER,
  RULE_DOT_NUMBER,
  RULE_DOTTED_NAME,
  RULE_NAME,
  RULE_STRING_DOUBLE,
  RULE_STRING_SINGLE,
  RULE_AND_SIGN,
  RULE_OR_SIGN,
  RULE_LE,
  RULE_GE,
  RULE_EQ,
  RULE_NE,
  RULE_COLON,
  RULE_ASSIGN,
  RULE_CHAR,
  RULE_COMMENT_OPEN,
  RULE_COMMENT_LINE,
  RULE_BLANK,
  RULE_OTHER,
  RULE_COMMENT_CLOSE,
  RULE_COMMENT_TEXT,
  RULE_COUNT_PLUS_ONE
};

// Token numbers of the grammar.
enum QTToken : int {
  TK_END = 0,
  TK_IDENT = 257,
  TK_FUNC = 258,
  TK_FORMULA = 259,
  TK_PARAM_P = 261,
  TK_PARAM_T = 262,
  TK_IF = 263,
  TK_IFN = 264,
  TK_ENTERLONG = 265,
  TK_EXITLONG = 266,
  TK_ENTERSHORT = 267,
  TK_EXITSHORT = 268,
  TK_RETURN = 269,
  TK_STYLE_FIRST = 270,
  TK_STYLE_DEFAULT = 287,
  TK_STYLE_LAST = 291,
  TK_LE = 292,
  TK_GE = 293,
  TK_EQ = 294,
  TK_NE = 295,
  TK_ASSIGN = 296,
  TK_COLON = 297,
  TK_AND = 298,
  TK_OR = 299,
  TK_NUMBER = 300,
  TK_STRING = 301,
};

// Start conditions: 0 normal, 2 inside a comment.
constexpr int kConditionNormal = 0;
constexpr int kConditionComment = 2;

}  // namespace formula
