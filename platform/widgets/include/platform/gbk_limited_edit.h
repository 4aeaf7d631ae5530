// GbkLimitedTextEdit: a multi-line text edit whose text the user can never
// bring past a limit in GBK bytes, the bytes GetWindowText gives (line
// breaks count as CR LF). What is typed whole or not at all (a beep, as
// Win32's edits refuse); what is pasted, dropped or committed by an input
// method cut to the bytes that fit, never inside a two-byte character or
// a surrogate pair. Text set by code is never cut, as Win32's EM_LIMITTEXT
// limits only what the user enters. The one implementation behind a
// dialog table's multi-line edit (CEdit::SetLimitText) and the windows
// that derive their own editors from it.
#pragma once
#include <QPlainTextEdit>
#include <QString>

namespace platform {

class GbkLimitedTextEdit : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;
  // The limit in GBK bytes (0: none).
  void SetLimit(int bytes) { limit_ = bytes > 0 ? bytes : 0; }
  int Limit() const { return limit_; }
  // Replaces the selection with as much of text as the limit leaves room for.
  void InsertLimited(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // Bytes the limit leaves for text replacing the selection (-1: no limit).
  int Room() const;
  int limit_ = 0;
};

}  // namespace platform
