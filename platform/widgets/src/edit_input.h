// What the user may type into an edit, in one place for the table's edits,
// CEdit and a combo box's edit: digits only (ES_NUMBER), letters folded
// (ES_UPPERCASE/ES_LOWERCASE), and a limit in GBK bytes that cuts typed
// or pasted text on a character boundary. Text set by code is never cut,
// as Win32's EM_LIMITTEXT limits only what the user enters. Multi-line
// edits take the same byte count through GbkLimitedTextEdit
// (gbk_limited_edit.h).
#pragma once
#include <QLineEdit>
#include <QString>

#include "platform/types.h"

namespace platform::detail {

// Bytes of edit text as GBK; line breaks count as CR LF with crlf.
int EditTextBytes(const QString& text, bool crlf);
// The longest prefix of text within maxBytes (whole characters; empty for
// a negative limit).
QString CutToBytes(const QString& text, int maxBytes, bool crlf);

// Installs the input rules of a single-line edit (limit 0: none).
void ApplyLineEditInput(QLineEdit* edit, DWORD style, int limitBytes);
// Its byte limit (0: none).
int LineEditLimit(const QLineEdit* edit);
// Sets the text as code does (SetWindowText): folded as typed text is, but
// never cut to the limit.
void SetLineEditTextByCode(QLineEdit* edit, const QString& text);

}  // namespace platform::detail
