#include "formula/dialogs/TechNoteDlg.h"

#include "formula/dialogs/DialogIds.h"
#include "platform/gbk.h"

namespace formula {

namespace {

const platform::DialogItem kTechNoteItems[] = {
    {platform::kEdit, IDC_NOTE_TEXT, nullptr, 6, 6, 248, 128,
     ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL},
    {platform::kButton, IDOK, GBK("关闭"), 206, 140, 48, 14, BS_DEFPUSHBUTTON},
};

platform::DialogTemplate TechNoteTemplate() {
  return {.cx = 260, .cy = 160, .caption = GBK("指标注释"), .items = kTechNoteItems};
}

}  // namespace

CTechNoteDlg::CTechNoteDlg(CWnd* parent)
    : CDialog(TechNoteTemplate(), parent), title_(GBK("指标注释")), note_(GBK("测试注释!")) {}

BOOL CTechNoteDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(title_.c_str());
  SetDlgItemText(IDC_NOTE_TEXT, note_.c_str());
  return TRUE;
}

void CTechNoteDlg::OnOK() { EndDialog(IDOK); }

}  // namespace formula
