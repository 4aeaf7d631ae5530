#include "formula/dialogs/GroupDlg.h"

#include "formula/dialogs/DialogIds.h"
#include "platform/gbk.h"

namespace formula {

namespace {

const platform::DialogItem kGroupItems[] = {
    {platform::kStatic, IDC_STATIC, GBK("组名："), 8, 12, 28, 10},
    {platform::kEdit, IDC_GROUP_NAME, nullptr, 38, 10, 130, 12, ES_AUTOHSCROLL},
    {platform::kButton, IDOK, GBK("确定"), 66, 32, 48, 14, BS_DEFPUSHBUTTON},
    {platform::kButton, IDCANCEL, GBK("取消"), 120, 32, 48, 14},
};

platform::DialogTemplate GroupTemplate() {
  return {.cx = 176, .cy = 54, .caption = GBK("分组"), .items = kGroupItems};
}

}  // namespace

CGroupDlg::CGroupDlg(CWnd* parent) : CDialog(GroupTemplate(), parent) {}

void CGroupDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, IDC_GROUP_NAME, name_, kGroupNameMax);
}

}  // namespace formula
