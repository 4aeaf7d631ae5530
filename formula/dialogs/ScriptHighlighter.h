// Colours a formula script in a Qt text document line by line with the
// script scanner's token rules. Qt asks again only for the lines an edit
// touched (a line's colours depend on that line alone, so no state is
// carried from one line to the next), which keeps typing in a long formula
// cheap.
#pragma once
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include "formula/editor/ScriptScanner.h"

namespace formula {

class CScriptHighlighter : public QSyntaxHighlighter {
 public:
  // scanner must outlive the highlighter.
  CScriptHighlighter(const CScriptScanner& scanner, QTextDocument* document);

  // Takes the scanner's colours again (after a Set...Color) and recolours.
  void ReloadStyles();

 protected:
  void highlightBlock(const QString& text) override;

 private:
  const CScriptScanner& scanner_;
  QTextCharFormat formats_[6];
  SScriptLineScan scan_;  // reused between lines
};

// A colour of the system (0x00BBGGRR) as Qt's.
QColor ColorRefToQColor(COLORREF colour);

}  // namespace formula
