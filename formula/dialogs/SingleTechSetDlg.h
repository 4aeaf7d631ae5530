// CSingleTechSetDlg ("参数显示"): the defaults of one indicator's
// parameters, and for the moving-average indicator "MA" the number of its
// lines. OK stores the values when each is a positive number in its range.
#pragma once
#include <string>

#include "formula/editor/IndicatorParams.h"
#include "platform/dialog.h"

namespace formula {

class CSingleTechSetDlg : public CDialog {
 public:
  explicit CSingleTechSetDlg(CWnd* parent = nullptr);

  // Before showing: the indicator (null: none).
  void SetIndicator(const char* name) { name_ = name ? name : ""; }

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;

 private:
  void LayoutRows();
  void LineCountLeft();

  std::string name_;
  unsigned lineCount_ = 1;
  SParamLayout layout_;
};

}  // namespace formula
