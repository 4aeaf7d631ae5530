// CGroupDlg: asks the name of a new formula group ("公式分组" in the
// editor's tree menu).
#pragma once
#include <string>

#include "platform/dialog.h"

namespace formula {

class CGroupDlg : public CDialog {
 public:
  explicit CGroupDlg(CWnd* parent = nullptr);

  // After OK: the name typed (GBK, at most 99 bytes).
  const std::string& GroupName() const { return name_; }

  void DoDataExchange(CDataExchange* dx) override;

 private:
  std::string name_;
};

}  // namespace formula
