// The base of the program's own dialogs: a platform dialog with a name and
// a hook that runs right after the dialog's initialisation.
#pragma once
#include <string>

#include "platform/dialog.h"

class CDialogMultiLan : public CDialog {
 public:
  CDialogMultiLan(const platform::DialogTemplate& tpl, const char* name, CWnd* parent = nullptr);
  ~CDialogMultiLan() override;

  // Runs with 1 right after OnInitDialog; the base does nothing.
  virtual void AfterInitDialog(int stage);
  const std::string& GetName() const { return m_strName; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string m_strName;
};
