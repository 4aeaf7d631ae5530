#include "trade/ui/windows/change_pswd_form.h"

#include <QComboBox>

#include "platform/gbk.h"

namespace {

constexpr int kChangePswdLabelX = 20, kChangePswdFieldX = 110, kChangePswdRow = 30,
              kChangePswdTop = 20;

const platform::DialogItem kChangePswdItems[] = {
    {platform::kStatic, IDC_STATIC, GBK("密码类型："), kChangePswdLabelX, kChangePswdTop + 3, 88,
     20},
    {platform::kComboBox, CChangePswdForm::kTypeId, nullptr, kChangePswdFieldX, kChangePswdTop, 140,
     120, CBS_DROPDOWNLIST},
    {platform::kStatic, CChangePswdForm::kCurrentLabelId, GBK("当前密码："), kChangePswdLabelX,
     kChangePswdTop + kChangePswdRow + 3, 88, 20},
    {platform::kEdit, CChangePswdForm::kCurrentId, nullptr, kChangePswdFieldX,
     kChangePswdTop + kChangePswdRow, 140, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    {platform::kStatic, CChangePswdForm::kNewLabelId, GBK("新  密  码："), kChangePswdLabelX,
     kChangePswdTop + 2 * kChangePswdRow + 3, 88, 20},
    {platform::kEdit, CChangePswdForm::kNewId, nullptr, kChangePswdFieldX,
     kChangePswdTop + 2 * kChangePswdRow, 140, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    {platform::kStatic, CChangePswdForm::kConfirmLabelId, GBK("确认新密码："), kChangePswdLabelX,
     kChangePswdTop + 3 * kChangePswdRow + 3, 88, 20},
    {platform::kEdit, CChangePswdForm::kConfirmId, nullptr, kChangePswdFieldX,
     kChangePswdTop + 3 * kChangePswdRow, 140, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    {platform::kButton, CChangePswdForm::kChangeId, GBK("确认"), kChangePswdFieldX + 40,
     kChangePswdTop + 4 * kChangePswdRow + 8, 80, 25},
};

}  // namespace

CChangePswdForm::CChangePswdForm(const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(400, 220, kChangePswdItems), env, function),
      model_(*env.session) {}

BOOL CChangePswdForm::OnInitDialog() {
  CTradePanel::OnInitDialog();
  auto* types = GetDlgItemT<QComboBox>(kTypeId);
  for (int type : {0, 1})
    types->addItem(platform::GbkToQString(CPasswordChangeModel::TypeName(type)));
  types->setCurrentIndex(0);
  SetDlgItemText(kCurrentLabelId, CPasswordChangeModel::CurrentLabel(0));
  return TRUE;
}

int CChangePswdForm::SelectedType() const {
  const auto* types = GetDlgItemT<QComboBox>(kTypeId);
  return types && types->currentIndex() == 1 ? 1 : 0;
}

BOOL CChangePswdForm::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == kTypeId && code == CBN_SELCHANGE) {
    SetDlgItemText(kCurrentLabelId, CPasswordChangeModel::CurrentLabel(SelectedType()));
    return TRUE;
  }
  if (id == kChangeId && code == BN_CLICKED) {
    std::string current, fresh, again;
    GetDlgItemText(kCurrentId, current);
    GetDlgItemText(kNewId, fresh);
    GetDlgItemText(kConfirmId, again);
    model_.Change(SelectedType(), current, fresh, again);
    return TRUE;
  }
  return CTradePanel::OnCommand(wParam, lParam);
}
