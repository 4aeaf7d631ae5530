// CParamsDlg ("参数精灵"): edits a formula's parameter descriptions, one
// line per parameter with "Param#" where the value box goes. OK is refused
// until the text is a valid description; the caller stores it.
#pragma once
#include <string>

#include "platform/dialog.h"

namespace formula {

class CParamsDlg : public CDialog {
 public:
  explicit CParamsDlg(CWnd* parent = nullptr);

  // Before showing: the formula described and its kind, and the text.
  void SetFormula(const std::string& name, int kind);
  void SetText(const std::string& text) { text_ = text; }
  // After OK: the text as typed (GBK, lines ending in CR LF).
  const std::string& Text() const { return text_; }

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  std::string text_;
  std::string name_;
  int kind_ = -1;
};

}  // namespace formula
