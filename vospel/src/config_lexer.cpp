#include "config_lexer.h"

#include <cstdio>
#include <cstring>

#include "platform/gbk.h"
#include "trace.h"
#include "yl/yyparser.h"

namespace vospel {

void CConfigLexer::SetInput(const char* text, size_t length) {
  input_ = text;
  size_ = text == nullptr ? 0 : strnlen(text, length);
  pos_ = 0;
}

void CConfigLexer::Restart() {
  lines_ = 1;
  lineFlag_ = false;
  yyreset();
}

int CConfigLexer::yyinput() {
  if (pos_ >= size_) return -1;
  return static_cast<unsigned char>(input_[pos_++]);
}

std::string_view CConfigLexer::ContextBeforeToken(size_t maxBytes) const {
  size_t pending = static_cast<size_t>(yyunputindex) + static_cast<size_t>(yyleng);
  size_t start = pos_ > pending ? pos_ - pending : 0;
  size_t from = start > maxBytes ? start - maxBytes : 0;
  return std::string_view(input_ == nullptr ? "" : input_ + from, start - from);
}

void CConfigLexer::yyerror(const char* text) {
  char message[255];
  std::snprintf(message, sizeof message, GBK("错误行号:%d 当前标记:%s 错误信息:%s"), yylineno,
                yytext != nullptr ? yytext : "", text);
  Trace("%s", message);
}

int CConfigLexer::TextToken(int token) {
  auto* value = static_cast<CfgToken*>(yyparserptr()->yylval());
  // The characters read beyond the match wait in the unput buffer.
  size_t end = pos_ - static_cast<size_t>(yyunputindex);
  value->offset = end - static_cast<size_t>(yyleng);
  value->length = static_cast<size_t>(yyleng);
  return token;
}

int CConfigLexer::NameToken() {
  bool isDomain = yyleng == 6 && strncasecmp(yytext, "domain", 6) == 0;
  return TextToken(isDomain ? cfgtok::DOMAIN : cfgtok::NAME);
}

bool CConfigLexer::LineEnd() {
  ++lines_;
  if (!lineFlag_) return false;
  lineFlag_ = false;
  return true;
}

}  // namespace vospel
