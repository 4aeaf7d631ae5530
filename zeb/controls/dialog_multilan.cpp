// The named dialog base and its after-initialisation hook.
#include "zeb/controls/dialog_multilan.h"

CDialogMultiLan::CDialogMultiLan(const platform::DialogTemplate& tpl, const char* name,
                                 CWnd* parent)
    : CDialog(tpl, parent), m_strName(name ? name : "") {}

CDialogMultiLan::~CDialogMultiLan() = default;

void CDialogMultiLan::AfterInitDialog(int) {}

LRESULT CDialogMultiLan::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
  if (message == WM_INITDIALOG) AfterInitDialog(1);
  return result;
}
