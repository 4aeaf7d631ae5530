// The download server's choice (update_select_dlg.h).
#include "zeb/shell/update/update_select_dlg.h"

#include "platform/controls.h"
#include "platform/gbk.h"

namespace {

const platform::DialogTemplate& SelectTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kStatic, IDC_STATIC, GBK("发现新的版本，请选择下载服务器："), 10, 10, 170, 10},
      {platform::kComboBox, IDC_UPDATE_SERVER, nullptr, 10, 24, 170, 80,
       CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
      {platform::kButton, IDOK, GBK("确定"), 70, 46, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
      {platform::kButton, IDCANCEL, GBK("取消"), 130, 46, 50, 14, WS_TABSTOP},
  };
  static const platform::DialogTemplate tpl{
      190, 68, WS_POPUP | WS_CAPTION | WS_SYSMENU, GBK("选择升级服务器"), nullptr, 9, true, items};
  return tpl;
}

}  // namespace

CDlgUpdateSelect::CDlgUpdateSelect(const UpdateServerMap& servers, CWnd* parent)
    : CDialog(SelectTemplate(), parent), m_servers(servers) {}

BOOL CDlgUpdateSelect::OnInitDialog() {
  CDialog::OnInitDialog();
  if (auto* combo = GetDlgItemT<CComboBox>(IDC_UPDATE_SERVER)) {
    for (const auto& [name, url] : m_servers) combo->AddString(name.c_str());
    combo->SetCurSel(0);
  }
  return TRUE;
}

void CDlgUpdateSelect::OnOK() {
  const auto* combo = GetDlgItemT<CComboBox>(IDC_UPDATE_SERVER);
  m_chosen.clear();
  if (combo && combo->GetCurSel() >= 0) combo->GetLBText(combo->GetCurSel(), m_chosen);
  CDialog::OnOK();
}

bool ChooseUpdateServer(const UpdateServerMap& servers, std::string* chosenName) {
  CDlgUpdateSelect dialog(servers);
  if (dialog.DoModal() != IDOK) return false;
  if (chosenName) *chosenName = dialog.GetChosenName();
  return true;
}
