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
  // After OK: the text made ready to store into buf (size bytes, cleared
  // first): at most size - 1 bytes, blanks around it stripped, the double
  // quotes that close and open it added where missing and room is left.
  // 0 for a null buffer or a size below 1, else 1.
  int GetQuotedText(char* buf, int size) const;

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
