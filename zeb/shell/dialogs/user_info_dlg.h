// CUserInfoDlg (用户信息): the logged-in user's seven details as the
// trading library gives them (it fills the name and the account; the
// others stay empty). Without a trading library every field is empty.
#pragma once
#include <functional>
#include <string>

#include "platform/dialog.h"

constexpr int kUserInfoFields = 7;
constexpr int IDC_USER_NAME = 1132, IDC_USER_ACCOUNT = 1190, IDC_USER_ADDRESS = 1191,
              IDC_USER_CONTACT = 1192, IDC_USER_PHONE = 1193, IDC_USER_CREATED = 1194,
              IDC_USER_CHANGED = 1195;

// Fills the seven strings (name, account, address, contact person,
// telephone, creation time, change time); null: no trading library.
using UserInfoSource = std::function<void(std::string* fields)>;

class CUserInfoDlg : public CDialog {
 public:
  explicit CUserInfoDlg(UserInfoSource source, CWnd* parent = nullptr);

  const std::string& Field(int index) const { return m_fields[index]; }

  BOOL OnInitDialog() override;

 private:
  UserInfoSource m_source;
  std::string m_fields[kUserInfoFields];
};
