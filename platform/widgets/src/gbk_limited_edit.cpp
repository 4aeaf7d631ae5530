// The byte limit of multi-line edits: see gbk_limited_edit.h.
#include "platform/gbk_limited_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include "edit_input.h"
#include "platform/desktop.h"

namespace platform {

using detail::CutToBytes;
using detail::EditTextBytes;

int GbkLimitedTextEdit::Room() const {
  if (!limit_) return -1;
  // A selection gives its line breaks as paragraph separators, which GBK
  // lacks (converted, each would count as "?" bytes): count them as breaks.
  QString selected = textCursor().selectedText();
  selected.replace(QChar::ParagraphSeparator, u'\n');
  return limit_ - EditTextBytes(toPlainText(), true) + EditTextBytes(selected, true);
}

void GbkLimitedTextEdit::InsertLimited(const QString& text) {
  const int room = Room();
  textCursor().insertText(room < 0 ? text : CutToBytes(text, room, true));
}

void GbkLimitedTextEdit::keyPressEvent(QKeyEvent* event) {
  const int room = Room();
  if (room >= 0) {
    QString typed = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
      typed = QStringLiteral("\n");
    const bool inserts =
        !typed.isEmpty() && (typed[0] == u'\n' || typed[0] == u'\t' || typed[0].isPrint());
    if (inserts && !(event->modifiers() & Qt::ControlModifier) &&
        EditTextBytes(typed, true) > room) {
      MessageBeep(0);  // no room: refused, as Win32's edits refuse
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void GbkLimitedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
  const int room = Room();
  if (room >= 0 && !event->commitString().isEmpty()) {
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(CutToBytes(event->commitString(), room, true), event->replacementStart(),
                        event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

void GbkLimitedTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!limit_ || !source || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  InsertLimited(source->text());
}

}  // namespace platform
