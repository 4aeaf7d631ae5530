// CTWScriptEdit: the formula editor's script box (control 11004). A plain
// text editor whose highlighter colours comments, strings, numbers,
// keywords and functions line by line as the user types, Tab typing a real
// tab character, and known words rewritten in the spelling of their list.
//
// Guarantees:
// - Only the lines an edit touched are scanned and coloured again.
// - The rewrites an edit causes are one undo step of their own, keep the
//   user's cursor and selection where they were (a rewrite never changes a
//   length), and are not made while undo or redo steps replay, so undo can
//   take a rewrite back.
// - The owner hears EN_CHANGE once per change of the text, never for
//   colouring.
// - What the user types, pastes or drops never takes the text past the
//   limit in GBK bytes (SetLimit, the window layer's GbkLimitedTextEdit);
//   text set by code is never cut.
#pragma once
#include <memory>

#include "formula/editor/ScriptScanner.h"
#include "platform/dialog.h"
#include "platform/gbk_limited_edit.h"
#include "platform/gdi.h"

namespace formula {

class CScriptHighlighter;

class CTWScriptEdit : public platform::GbkLimitedTextEdit {
 public:
  explicit CTWScriptEdit(QWidget* parent = nullptr);
  ~CTWScriptEdit() override;

  // The token rules; call ColorAll after changing them.
  CScriptScanner& Scanner() { return scanner_; }
  // Courier New 10 points, a tab stop every fifth of an inch.
  void InitFormat();
  // Colours (and rewrites) the whole text again.
  void ColorAll();
  // Colours (and rewrites) again the lines holding characters first to
  // last - 1; nothing when first is not below last.
  void ColorRange(int first, int last);
  // ColorRange from the start of the line holding character a to the end
  // of the line holding character b.
  void ColorLines(int a, int b);
  // The control kind of dialog tables ("formula.script"); registered by
  // the first call.
  static const char* ControlKind();

 private:
  void OnContentsChange(int position, int removed, int added);
  void OnContentsChanged();
  void ApplyRewrites(int firstBlock, int lastBlock);

  CScriptScanner scanner_;
  std::unique_ptr<CScriptHighlighter> highlighter_;
  CFont font_;
  bool ownChange_ = false;  // the edit is colouring or rewriting: not the user's change
  int touchedFrom_ = -1;    // the document range the pending edit touched
  int touchedTo_ = -1;
  int notifiedRevision_ = 0;
};

}  // namespace formula
