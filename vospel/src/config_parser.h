// The parser of the configuration-file format; its actions build the model.
#pragma once
#include <string_view>

#include "config_lexer.h"
#include "config_token.h"
#include "model.h"
#include "yl/yyparser.h"

namespace vospel {

class CConfigParser : public yl::yyfparser {
 public:
  using YYSTYPE = CfgToken;
  // Nested lists and blocks each take stack entries; the cap keeps the
  // model's depth (and the recursion that writes and frees it) bounded.
  static constexpr int kStackMax = 1024;

  CConfigParser(Model& model, CConfigLexer& lexer);
  void yyerror(const char* text) override;

 protected:
  void yyaction(int action) override;
  static const yl::yyparsetables& yytables();

 private:
  std::string_view Text(const CfgToken& token) const { return lexer_.TokenText(token); }

  Model& model_;
  CConfigLexer& lexer_;
};

}  // namespace vospel
