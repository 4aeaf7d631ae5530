#include "formula/dialogs/ParamsDlg.h"

#include <QPlainTextEdit>
#include <algorithm>
#include <cstring>

#include "formula/dialogs/DialogIds.h"
#include "formula/editor/ParamsDesc.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"

namespace formula {

namespace {

const platform::DialogItem kParamsItems[] = {
    {platform::kEdit, IDC_PARAMS_DESC_TEXT, nullptr, 6, 6, 248, 100,
     ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL},
    {platform::kButton, IDOK, GBK("确定"), 152, 112, 48, 14, BS_DEFPUSHBUTTON},
    {platform::kButton, IDCANCEL, GBK("取消"), 206, 112, 48, 14},
};

platform::DialogTemplate ParamsTemplate() {
  return {.cx = 260, .cy = 132, .caption = GBK("参数精灵"), .items = kParamsItems};
}

}  // namespace

CParamsDlg::CParamsDlg(CWnd* parent) : CDialog(ParamsTemplate(), parent) {}

void CParamsDlg::SetFormula(const std::string& name, int kind) {
  name_ = name;
  kind_ = kind;
}

BOOL CParamsDlg::OnInitDialog() {
  const BOOL result = CDialog::OnInitDialog();
  GetDlgItemT<CEdit>(IDC_PARAMS_DESC_TEXT)->LimitText(kParamsDescMax);
  return result;
}

int CParamsDlg::GetQuotedText(char* buf, int size) const {
  if (!buf || size < 1) return 0;
  std::memset(buf, 0, static_cast<size_t>(size));
  const std::string quoted = QuoteDescText(text_, static_cast<size_t>(size));
  std::memcpy(buf, quoted.data(), std::min(quoted.size(), static_cast<size_t>(size) - 1));
  return 1;
}

void CParamsDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_PARAMS_DESC_TEXT, text_); }

void CParamsDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (const char* refusal = CheckParamsDescEntry(name_.c_str(), kind_, text_.c_str())) {
    AfxMessageBox(refusal, MB_OK);
    return;
  }
  EndDialog(IDOK);
}

BOOL CParamsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_PARAMS_DESC_TEXT && HIWORD(wParam) == EN_SETFOCUS) {
    // Entering the box selects nothing and shows the caret.
    if (auto* edit = GetDlgItemT<QPlainTextEdit>(IDC_PARAMS_DESC_TEXT)) {
      QTextCursor cursor = edit->textCursor();
      cursor.clearSelection();
      edit->setTextCursor(cursor);
      edit->ensureCursorVisible();
    }
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

}  // namespace formula
