// The input rules of edits: see edit_input.h.
#include "edit_input.h"

#include <QValidator>

#include "platform/dialog.h"
#include "platform/gbk.h"

namespace platform::detail {
namespace {

const char kLimitProperty[] = "zebEditLimit";

// Digits, folding and the byte limit for a QLineEdit. The text before each
// change is kept, so only what the change inserted is cut.
class EditInputValidator : public QValidator {
 public:
  EditInputValidator(QLineEdit* edit, DWORD style, int limit)
      : QValidator(edit), style_(style), limit_(limit), last_(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { last_ = text; });
  }
  int Limit() const { return limit_; }
  // Qt validates text set by code too; only the user's is cut.
  void SetByCode(bool byCode) { byCode_ = byCode; }

  State validate(QString& input, int& pos) const override {
    if (style_ & ES_NUMBER) {
      for (QChar c : input)
        if (c < u'0' || c > u'9') return Invalid;
    } else if (style_ & ES_UPPERCASE) {
      input = input.toUpper();
    } else if (style_ & ES_LOWERCASE) {
      input = input.toLower();
    }
    if (byCode_ || limit_ <= 0 || EditTextBytes(input, false) <= limit_) return Acceptable;
    // The inserted part lies between what the old and new texts share at
    // their starts and their ends.
    qsizetype head = 0;
    while (head < input.size() && head < last_.size() && input[head] == last_[head]) ++head;
    qsizetype tail = 0;
    while (tail < input.size() - head && tail < last_.size() - head &&
           input[input.size() - 1 - tail] == last_[last_.size() - 1 - tail])
      ++tail;
    const QString inserted = input.mid(head, input.size() - head - tail);
    const QString kept = input.left(head) + input.right(tail);
    const int room = limit_ - EditTextBytes(kept, false);
    if (room < 0) return Invalid;  // already over the limit (set by code): typing is refused
    const QString fits = CutToBytes(inserted, room, false);
    input = input.left(head) + fits + input.right(tail);
    pos = (int)(head + fits.size());
    return Acceptable;
  }

 private:
  DWORD style_;
  int limit_;
  QString last_;
  bool byCode_ = false;
};

}  // namespace

// One conversion gives exactly what GetWindowText would give; line breaks
// are added for CR LF.
int EditTextBytes(const QString& text, bool crlf) {
  int bytes = (int)QStringToGbk(text).size();
  if (crlf) bytes += (int)(text.count(u'\n') + text.count(QChar::ParagraphSeparator));
  return bytes;
}

QString CutToBytes(const QString& text, int maxBytes, bool crlf) {
  if (maxBytes < 0) return QString();
  // Bytes grow with the prefix: the longest prefix that fits, by halving.
  qsizetype low = 0, high = text.size();
  while (low < high) {
    const qsizetype mid = (low + high + 1) / 2;
    if (EditTextBytes(text.left(mid), crlf) <= maxBytes) low = mid;
    else high = mid - 1;
  }
  if (low > 0 && low < text.size() && text[low - 1].isHighSurrogate()) --low;  // never half a pair
  return text.left(low);
}

void ApplyLineEditInput(QLineEdit* edit, DWORD style, int limitBytes) {
  if (!edit) return;
  if (auto* old = dynamic_cast<EditInputValidator*>(const_cast<QValidator*>(edit->validator()))) {
    edit->setValidator(nullptr);
    delete old;
  }
  const int limit = limitBytes > 0 ? limitBytes : 0;
  edit->setProperty(kLimitProperty, limit);
  if ((style & (ES_NUMBER | ES_UPPERCASE | ES_LOWERCASE)) || limit)
    edit->setValidator(new EditInputValidator(edit, style, limit));
}

void SetLineEditTextByCode(QLineEdit* edit, const QString& text) {
  if (!edit) return;
  auto* validator = dynamic_cast<EditInputValidator*>(const_cast<QValidator*>(edit->validator()));
  if (validator) validator->SetByCode(true);
  edit->setText(text);
  if (validator) validator->SetByCode(false);
}

int LineEditLimit(const QLineEdit* edit) {
  return edit ? edit->property(kLimitProperty).toInt() : 0;
}

}  // namespace platform::detail
