// CSysProtyDlg, the modal dialog "系统设置": a property sheet with the pages
// "外观设置" (colours and fonts of the current scheme) and "系统参数1" (the
// big-order threshold and the page-turn interval). Nothing is saved before
// 确定, and then only the pages that were shown: a threshold outside 400 to
// 100000 is refused with its message and nothing of either page is saved.
// After saving, the chart view is asked for the big orders again (once)
// and the market pane's views take the new scheme (the command router's
// hooks). A file that could not be written is named in a box and the
// dialog stays open.
#pragma once
#include <string>

#include "platform/dialog.h"
#include "zeb/shell/dialogs/property_sheet.h"
#include "zeb/shell/dialogs/sys_param1.h"
#include "zeb/shell/dialogs/sys_set_dlg.h"

constexpr int IDC_SETTINGS_SHEET = 1200;
constexpr int kSettingsPageLook = 0, kSettingsPageParams = 1;

class CSysProtyDlg : public CDialog {
 public:
  explicit CSysProtyDlg(CWnd* parent = nullptr);

  // 0 appearance (the default), 1 parameters.
  void SetStartPage(int page) { m_nStartPage = page; }

  CPropertySheet& Sheet() { return m_sheet; }
  CSysSetDlg& LookPage() { return m_look; }
  CSysParam1& ParamsPage() { return m_params; }

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  // Whether the scheme has a current entry to save colours and fonts into.
  static bool HasCurrentScheme();

  CSysSetDlg m_look;
  CSysParam1 m_params;
  CPropertySheet m_sheet;
  std::string m_strAppDir;
  int m_nStartPage = kSettingsPageLook;
};

// Shows the dialog modally on the page; the command router's settings hook.
void RunSystemSettings(int startPage);
