#include "formula/dialogs/ScriptEdit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "formula/dialogs/ScriptHighlighter.h"
#include "platform/gbk.h"
#include "platform/wnd.h"

namespace formula {

namespace {

QWidget* MakeScriptEdit(QWidget* parent, const platform::DialogItem& item) {
  auto* edit = new CTWScriptEdit(parent);
  edit->setReadOnly(item.style & ES_READONLY);
  if (item.text) edit->setPlainText(platform::GbkToQString(platform::CrLfToLf(item.text)));
  return edit;
}

constexpr char kKind[] = "formula.script";

// The kind is registered with the window layer on first use and taken
// back when this library is unloaded, so the layer never keeps a factory
// whose code is gone.
struct KindRegistration {
  KindRegistration() { previous = platform::RegisterControlKind(kKind, MakeScriptEdit); }
  ~KindRegistration() { platform::RegisterControlKind(kKind, previous); }
  platform::ControlFactory previous = nullptr;
};

}  // namespace

const char* CTWScriptEdit::ControlKind() {
  static KindRegistration registration;
  return kKind;
}

CTWScriptEdit::CTWScriptEdit(QWidget* parent) : GbkLimitedTextEdit(parent) {
  setTabChangesFocus(false);  // Tab types a tab character
  setLineWrapMode(QPlainTextEdit::NoWrap);
  highlighter_ = std::make_unique<CScriptHighlighter>(scanner_, document());
  connect(
      document(), &QTextDocument::contentsChange, this,
      [this](int position, int removed, int added) { OnContentsChange(position, removed, added); });
  connect(document(), &QTextDocument::contentsChanged, this, [this] { OnContentsChanged(); });
  notifiedRevision_ = document()->revision();
}

CTWScriptEdit::~CTWScriptEdit() {
  // The highlighter goes first: it holds the scanner and the document.
  highlighter_.reset();
}

void CTWScriptEdit::InitFormat() {
  font_.DeleteObject();
  font_.CreatePointFont(100, "Courier New");
  CWnd::FromWidget(this)->SetFont(&font_);
  // Tab stops every 288 twips (a fifth of an inch).
  setTabStopDistance(logicalDpiX() / 5.0);
}

void CTWScriptEdit::ColorAll() {
  // Colouring is no change of the text.
  ownChange_ = true;
  highlighter_->ReloadStyles();
  ownChange_ = false;
  notifiedRevision_ = document()->revision();
  ApplyRewrites(0, document()->blockCount() - 1);
  OnContentsChanged();
}

void CTWScriptEdit::ColorRange(int first, int last) {
  QTextDocument* doc = document();
  first = std::max(first, 0);
  last = std::min(last, doc->characterCount() - 1);
  if (first >= last) return;
  const QTextBlock from = doc->findBlock(first), to = doc->findBlock(last - 1);
  // Colouring is no change of the text.
  ownChange_ = true;
  for (QTextBlock b = from; b.isValid() && b.blockNumber() <= to.blockNumber(); b = b.next())
    highlighter_->rehighlightBlock(b);
  ownChange_ = false;
  notifiedRevision_ = doc->revision();
  ApplyRewrites(from.blockNumber(), to.blockNumber());
}

void CTWScriptEdit::ColorLines(int a, int b) {
  QTextDocument* doc = document();
  const QTextBlock first = doc->findBlock(std::max(a, 0));
  const QTextBlock last = doc->findBlock(std::max(b, 0));
  if (!first.isValid() || !last.isValid()) return;
  ColorRange(first.position(), last.position() + std::max(last.length() - 1, 1));
}

void CTWScriptEdit::OnContentsChange(int position, int removed, int added) {
  if (ownChange_) return;
  const int end = position + added;
  touchedFrom_ = touchedFrom_ < 0 ? position : std::min(touchedFrom_, position);
  touchedTo_ = std::max(touchedTo_, end);
}

void CTWScriptEdit::OnContentsChanged() {
  if (ownChange_) return;
  if (touchedFrom_ >= 0) {
    QTextDocument* doc = document();
    const int first = doc->findBlock(touchedFrom_).blockNumber();
    QTextBlock lastBlock = doc->findBlock(std::min(touchedTo_, doc->characterCount() - 1));
    const int last = lastBlock.isValid() ? lastBlock.blockNumber() : doc->blockCount() - 1;
    touchedFrom_ = touchedTo_ = -1;
    // Undo and redo replay what the user did; rewriting them again would
    // make a rewrite impossible to take back.
    if (doc->availableRedoSteps() == 0) ApplyRewrites(std::max(first, 0), last);
  }
  if (document()->revision() != notifiedRevision_) {
    notifiedRevision_ = document()->revision();
    platform::NotifyParent(this, EN_CHANGE);
  }
}

void CTWScriptEdit::ApplyRewrites(int firstBlock, int lastBlock) {
  QTextDocument* doc = document();
  SScriptLineScan scan;
  // The user's cursor stays where it was (a rewrite keeps every length),
  // and undo puts it back there too.
  // (While the text is being replaced the user's cursor is detached.)
  const QTextCursor user = textCursor();
  const int anchor = user.isNull() ? -1 : user.anchor(),
            position = user.isNull() ? -1 : user.position();
  QTextCursor edit(doc);
  if (position >= 0) edit.setPosition(position);
  bool editing = false;
  for (QTextBlock block = doc->findBlockByNumber(firstBlock);
       block.isValid() && block.blockNumber() <= lastBlock; block = block.next()) {
    const QString text = block.text();
    scanner_.ScanLine(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())),
        scan);
    for (const SScriptRewrite& rewrite : scan.rewrites) {
      if (!editing) {
        ownChange_ = true;
        edit.beginEditBlock();
        editing = true;
      }
      const int start = block.position() + int(rewrite.start);
      edit.setPosition(start);
      edit.setPosition(start + int(rewrite.spelling.size()), QTextCursor::KeepAnchor);
      edit.insertText(
          QString::fromLatin1(rewrite.spelling.data(), qsizetype(rewrite.spelling.size())));
    }
  }
  if (!editing) return;
  edit.endEditBlock();
  ownChange_ = false;
  if (anchor < 0 || position < 0) return;
  QTextCursor restored(doc);
  restored.setPosition(anchor);
  restored.setPosition(position, QTextCursor::KeepAnchor);
  if (restored.anchor() != textCursor().anchor() || restored.position() != textCursor().position())
    setTextCursor(restored);
}

}  // namespace formula
