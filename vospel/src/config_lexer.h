// The scanner of the configuration-file format over an in-memory text.
#pragma once
#include <cstddef>
#include <string>
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
  // Forgets the token texts and starts over.
  void Restart();

  int yyinput() override;
  // A character no rule matches ("<" or ">" alone) is dropped.
  void yyoutput(int) override {}
  void yyerror(const char* text) override;

  std::string_view TokenText(const CfgToken& token) const {
    return std::string_view(store_).substr(token.offset, token.length);
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
  std::string store_;  // texts of the tokens of this parse
  int lines_ = 1;
  bool lineFlag_ = false;
};

}  // namespace vospel
