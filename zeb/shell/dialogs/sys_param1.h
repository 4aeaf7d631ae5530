// CSysParam1, the page "系统参数1" of the settings dialog: the big-order
// threshold and the page-turn interval, shown from the command router's
// cache; CSysProtyDlg checks and saves them on 确定 when this page was
// shown.
#pragma once
#include "zeb/shell/dialogs/property_sheet.h"
#include "zeb/core/dialogs/sys_params.h"

constexpr int IDC_BIG_ORDER = 1125, IDC_PAGE_TURN = 1145;

class CSysParam1 : public CPropertyPage {
 public:
  CSysParam1();

  bool IsActivated() const { return m_activated != 0; }
  // The two edits' texts as typed.
  SSysParamTexts Texts() const;

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

 private:
  int m_activated = 0;
};
