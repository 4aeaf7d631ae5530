// The scanner of the configuration-file format over an in-memory text.
#pragma once
#include <cstddef>
#include <string_view>

#include "config_grammar_tokens.h"
#include "config_token.h"
#include "yl/yylexer.h"

namespace vospel {

class CConfigLexer : public yl::yyflexer {
 public:
  CConfigLexer() : yl::yyflexer(yytables()) {
    yyin = nullptr;
    yyout = nullptr;
  }

  // Reads text up to its first zero byte (or length bytes).
  void SetInput(const char* text, size_t length);
  // Starts over.
  void Restart();

  int yyinput() override;
  // The same as the runtime's, with the input read in place.
  int yygetchar() override {
    if (yyunputindex > 0 || pos_ >= size_) return yl::yyflexer::yygetchar();
    int c = static_cast<unsigned char>(input_[pos_++]);
    if (c == '\n') ++yylineno;
    return c;
  }
  // A character no rule matches ("<" or ">" alone) is dropped.
  void yyoutput(int) override {}
  void yyerror(const char* text) override;

  // Tokens are spans of the input, which outlives the parse.
  std::string_view TokenText(const CfgToken& token) const {
    return std::string_view(input_ + token.offset, token.length);
  }
  // Up to maxBytes of the input before the current token.
  std::string_view ContextBeforeToken(size_t maxBytes) const;
  int Lines() const { return lines_; }

 protected:
  int yyaction(int rule) override;
  static const yl::yylextables& yytables();

 private:
  int NameToken();
  int TextToken(int token);
  bool LineEnd();

  const char* input_ = nullptr;
  size_t size_ = 0;
  size_t pos_ = 0;
  int lines_ = 1;
  bool lineFlag_ = false;
};

}  // namespace vospel
