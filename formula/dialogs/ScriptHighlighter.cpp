#include "formula/dialogs/ScriptHighlighter.h"

#include <string_view>

namespace formula {

QColor ColorRefToQColor(COLORREF colour) {
  return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

CScriptHighlighter::CScriptHighlighter(const CScriptScanner& scanner, QTextDocument* document)
    : QSyntaxHighlighter(static_cast<QObject*>(nullptr)), scanner_(scanner) {
  ReloadStyles();
  setDocument(document);
}

void CScriptHighlighter::ReloadStyles() {
  for (EScriptToken kind : {EScriptToken::Comment, EScriptToken::Number, EScriptToken::String,
                            EScriptToken::Keyword, EScriptToken::Function, EScriptToken::Word}) {
    const SScriptStyle style = scanner_.Style(kind);
    QTextCharFormat& format = formats_[size_t(kind)];
    format.setForeground(ColorRefToQColor(style.colour));
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
  }
  if (document()) rehighlight();
}

void CScriptHighlighter::highlightBlock(const QString& text) {
  const std::u16string_view line(reinterpret_cast<const char16_t*>(text.utf16()),
                                 size_t(text.size()));
  scanner_.ScanLine(line, scan_);
  // Text between tokens keeps the document's own format: plain black.
  for (const SScriptToken& token : scan_.tokens) {
    if (token.kind == EScriptToken::Word) continue;
    setFormat(int(token.start), int(token.end - token.start), formats_[size_t(token.kind)]);
  }
}

}  // namespace formula
