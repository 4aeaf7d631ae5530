// CEdit: the byte limit, read-only and password state, and selections in
// GBK byte offsets on a table's QLineEdit or multi-line GbkLimitedTextEdit. The
// input rules themselves live in edit_input.cpp.
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "edit_input.h"
#include "platform/gbk_limited_edit.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;
using platform::GbkLimitedTextEdit;

namespace {

QLineEdit* LineEdit(const CWnd* wnd) { return qobject_cast<QLineEdit*>(wnd->GetWidget()); }
QPlainTextEdit* MultiLine(const CWnd* wnd) {
  return qobject_cast<QPlainTextEdit*>(wnd->GetWidget());
}

// Byte offsets (CR LF counting two in a multi-line edit) to Qt positions and back.
int PositionOf(const QString& text, int bytes, bool crlf) {
  if (bytes < 0) return (int)text.size();
  return (int)CutToBytes(text, bytes, crlf).size();
}
int BytesOf(const QString& text, int position, bool crlf) {
  return EditTextBytes(text.left(position), crlf);
}

}  // namespace

BOOL CEdit::IsMultiLine() const { return MultiLine(this) != nullptr; }

void CEdit::SetLimitText(UINT maxBytes) {
  const int limit = maxBytes > 0x7FFFFFFE ? 0 : (int)maxBytes;
  if (QLineEdit* edit = LineEdit(this)) ApplyLineEditInput(edit, StoredStyle(edit), limit);
  if (auto* edit = dynamic_cast<GbkLimitedTextEdit*>(GetWidget())) edit->SetLimit(limit);
}

UINT CEdit::GetLimitText() const {
  if (QLineEdit* edit = LineEdit(this)) return (UINT)LineEditLimit(edit);
  if (auto* edit = dynamic_cast<GbkLimitedTextEdit*>(GetWidget())) return (UINT)edit->Limit();
  return 0;
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
  if (QLineEdit* edit = LineEdit(this)) edit->setReadOnly(readOnly);
  else if (QPlainTextEdit* multi = MultiLine(this)) multi->setReadOnly(readOnly);
  else return FALSE;
  DWORD style = StoredStyle(GetWidget());
  SetStoredStyle(GetWidget(), readOnly ? style | ES_READONLY : style & ~ES_READONLY);
  return TRUE;
}

void CEdit::SetPasswordChar(char ch) {
  QLineEdit* edit = LineEdit(this);
  if (!edit) return;
  edit->setEchoMode(ch ? QLineEdit::Password : QLineEdit::Normal);
  DWORD style = StoredStyle(edit);
  SetStoredStyle(edit, ch ? style | ES_PASSWORD : style & ~ES_PASSWORD);
}

char CEdit::GetPasswordChar() const {
  QLineEdit* edit = LineEdit(this);
  return edit && edit->echoMode() == QLineEdit::Password ? '*' : 0;
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
  if (QLineEdit* edit = LineEdit(this)) {
    const QString text = edit->text();
    if (start < 0) {
      edit->deselect();
      return;
    }
    const int from = PositionOf(text, start, false), to = PositionOf(text, end, false);
    edit->setSelection(from, to - from);
    return;
  }
  QPlainTextEdit* multi = MultiLine(this);
  if (!multi) return;
  QTextCursor cursor = multi->textCursor();
  if (start < 0) {
    cursor.clearSelection();
  } else {
    const QString text = multi->toPlainText();
    cursor.setPosition(PositionOf(text, start, true));
    cursor.setPosition(PositionOf(text, end, true), QTextCursor::KeepAnchor);
  }
  multi->setTextCursor(cursor);
  if (!noScroll) multi->ensureCursorVisible();
}

void CEdit::GetSel(int& start, int& end) const {
  start = end = 0;
  if (QLineEdit* edit = LineEdit(this)) {
    const QString text = edit->text();
    const int from = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int to = edit->hasSelectedText() ? edit->selectionEnd() : from;
    start = BytesOf(text, from, false);
    end = BytesOf(text, to, false);
  } else if (QPlainTextEdit* multi = MultiLine(this)) {
    const QString text = multi->toPlainText();
    const QTextCursor cursor = multi->textCursor();
    start = BytesOf(text, cursor.selectionStart(), true);
    end = BytesOf(text, cursor.selectionEnd(), true);
  }
}

void CEdit::ReplaceSel(const char* text, BOOL) {
  const QString insert = platform::GbkToQString(text ? platform::CrLfToLf(text) : std::string());
  if (QLineEdit* edit = LineEdit(this)) {
    edit->insert(insert);  // through the edit's input rules, so the limit holds
  } else if (auto* limited = dynamic_cast<GbkLimitedTextEdit*>(GetWidget())) {
    limited->InsertLimited(insert);
  } else if (QPlainTextEdit* multi = MultiLine(this)) {
    multi->insertPlainText(insert);
  }
}

int CEdit::GetLineCount() const {
  if (QPlainTextEdit* multi = MultiLine(this)) return multi->document()->blockCount();
  return LineEdit(this) ? 1 : 0;
}
