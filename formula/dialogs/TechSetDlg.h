// CTechSetDlg ("请选择指标参数"): every indicator formula in a list; the
// selected one's parameter defaults in the rows beside it. Moving to
// another indicator and OK store the values shown (each must be a number
// in its parameter's range; a refused value keeps its indicator selected).
#pragma once
#include <memory>
#include <string>

#include "formula/editor/IndicatorParams.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace formula {

class CTechSetDlg : public CDialog {
 public:
  explicit CTechSetDlg(CWnd* parent = nullptr);
  ~CTechSetDlg() override;

  // Before showing: the indicator to select first (null: the first one).
  void SetIndicator(const char* name) {
    if (name) preset_ = name;
  }
  // After the dialog: the indicator last edited.
  const std::string& GetIndicator() const { return name_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;

 private:
  CListCtrl* List() const;
  // Stores the rows shown for the indicator being edited; false when a
  // value was refused.
  bool ApplyShown();
  // Shows the rows of the indicator in row and selects it.
  void Edit(int row);
  void SelectRow(int row);

  std::unique_ptr<CImageList> images_;
  std::string preset_;
  std::string name_;
  int row_ = 0;
  SParamLayout layout_;
  bool selecting_ = false;  // the list's selection is being set by the dialog
};

}  // namespace formula
