// The settings dialog's parameters page (sys_param1.h).
#include "zeb/shell/dialogs/sys_param1.h"

#include "platform/gbk.h"

namespace {

const platform::DialogTemplate& ParamsTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kGroupBox, IDC_STATIC, nullptr, 4, 4, 294, 25},
      {platform::kGroupBox, IDC_STATIC, nullptr, 4, 30, 294, 25},
      {platform::kStatic, IDC_STATIC, GBK("主力大单阀值："), 18, 13, 59, 10},
      {platform::kEdit, IDC_BIG_ORDER, nullptr, 77, 12, 39, 12, ES_AUTOHSCROLL | WS_TABSTOP},
      {platform::kStatic, IDC_STATIC, GBK("手"), 120, 14, 10, 8},
      {platform::kStatic, IDC_STATIC, GBK("自动翻页间隔："), 18, 40, 57, 8},
      {platform::kEdit, IDC_PAGE_TURN, nullptr, 77, 37, 40, 14, ES_AUTOHSCROLL | WS_TABSTOP},
      {platform::kStatic, IDC_STATIC, GBK("秒"), 121, 40, 10, 8},
  };
  static const platform::DialogTemplate tpl{302,     205, WS_CHILD, GBK("系统参数1"),
                                            nullptr, 9,   true,     items};
  return tpl;
}

}  // namespace

CSysParam1::CSysParam1() : CPropertyPage(ParamsTemplate()) {}

BOOL CSysParam1::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  const SSysParamTexts texts = CurrentSysParamTexts();
  SetDlgItemText(IDC_BIG_ORDER, texts.bigOrder.c_str());
  SetDlgItemText(IDC_PAGE_TURN, texts.pageTurn.c_str());
  return TRUE;
}

BOOL CSysParam1::OnSetActive() {
  m_activated = 1;
  return TRUE;
}

SSysParamTexts CSysParam1::Texts() const {
  SSysParamTexts texts;
  GetDlgItemText(IDC_BIG_ORDER, texts.bigOrder);
  GetDlgItemText(IDC_PAGE_TURN, texts.pageTurn);
  return texts;
}
