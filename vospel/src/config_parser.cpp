#include "config_parser.h"

#include <string>

#include "platform/gbk.h"
#include "trace.h"

namespace vospel {

CConfigParser::CConfigParser(Model& model, CConfigLexer& lexer)
    : yl::yyfparser(yytables(), sizeof(YYSTYPE)), model_(model), lexer_(lexer) {
  yyerr = nullptr;
  yystack_max = kStackMax;
}

void CConfigParser::yyerror(const char* text) {
  std::string context(lexer_.ContextBeforeToken(254));
  Trace(GBK("错误行=%d(参考行:%d),错误单词=%s,错误信息=%s 参考上下文:%s"), lexer_.yylineno,
        lexer_.Lines(), lexer_.yytext != nullptr ? lexer_.yytext : "", text, context.c_str());
}

}  // namespace vospel
