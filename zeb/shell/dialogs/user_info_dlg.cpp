// The user's details (user_info_dlg.h).
#include "zeb/shell/dialogs/user_info_dlg.h"

#include "platform/gbk.h"

namespace {

constexpr int kFieldIds[kUserInfoFields] = {IDC_USER_NAME,    IDC_USER_ACCOUNT, IDC_USER_ADDRESS,
                                            IDC_USER_CONTACT, IDC_USER_PHONE,   IDC_USER_CREATED,
                                            IDC_USER_CHANGED};

const platform::DialogTemplate& UserTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kStatic, IDC_STATIC, GBK("姓        名："), 12, 12, 52, 10},
      {platform::kStatic, IDC_USER_NAME, nullptr, 66, 12, 130, 10},
      {platform::kStatic, IDC_STATIC, GBK("账        号："), 12, 28, 52, 10},
      {platform::kStatic, IDC_USER_ACCOUNT, nullptr, 66, 28, 130, 10},
      {platform::kStatic, IDC_STATIC, GBK("地        址："), 12, 44, 52, 10},
      {platform::kStatic, IDC_USER_ADDRESS, nullptr, 66, 44, 130, 10},
      {platform::kStatic, IDC_STATIC, GBK("联  系  人："), 12, 60, 52, 10},
      {platform::kStatic, IDC_USER_CONTACT, nullptr, 66, 60, 130, 10},
      {platform::kStatic, IDC_STATIC, GBK("联系电话："), 12, 76, 52, 10},
      {platform::kStatic, IDC_USER_PHONE, nullptr, 66, 76, 130, 10},
      {platform::kStatic, IDC_STATIC, GBK("创建时间："), 12, 92, 52, 10},
      {platform::kStatic, IDC_USER_CREATED, nullptr, 66, 92, 130, 10},
      {platform::kStatic, IDC_STATIC, GBK("修改时间："), 12, 108, 52, 10},
      {platform::kStatic, IDC_USER_CHANGED, nullptr, 66, 108, 130, 10},
      {platform::kButton, IDOK, GBK("确定"), 79, 128, 46, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
  };
  static const platform::DialogTemplate tpl{
      204, 150, WS_POPUP | WS_CAPTION | WS_SYSMENU, GBK("用户信息"), nullptr, 9, true, items};
  return tpl;
}

}  // namespace

CUserInfoDlg::CUserInfoDlg(UserInfoSource source, CWnd* parent)
    : CDialog(UserTemplate(), parent), m_source(std::move(source)) {}

BOOL CUserInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (std::string& field : m_fields) field.clear();
  if (m_source) m_source(m_fields);
  for (int i = 0; i < kUserInfoFields; ++i) SetDlgItemText(kFieldIds[i], m_fields[i].c_str());
  return TRUE;
}
