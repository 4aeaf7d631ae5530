// CFuncDlg ("函数表"): the built-in functions by category, each with its
// description below the tree; the formula editor appends the chosen
// function's name to the formula text.
#pragma once
#include <memory>

#include "platform/controls.h"
#include "platform/dialog.h"

namespace formula {

class CFuncDlg : public CDialog {
 public:
  explicit CFuncDlg(CWnd* parent = nullptr);
  ~CFuncDlg() override;

  // After IDOK: the row of the built-in table chosen; -1 when none.
  int ChosenRow() const { return chosenRow_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // "确认" and Enter: only a function item ends the dialog.
  void OnOK() override;

 private:
  // The row of a function item; -1 for a category item or none.
  int RowOf(HTREEITEM item) const;

  std::unique_ptr<CImageList> images_;
  int chosenRow_ = -1;
};

}  // namespace formula
