// CTechNoteDlg: shows a formula's note (from "TechDesc.tch") in a box of
// its own; whatever is typed in the box is dropped when it closes.
#pragma once
#include <string>

#include "platform/dialog.h"

namespace formula {

class CTechNoteDlg : public CDialog {
 public:
  explicit CTechNoteDlg(CWnd* parent = nullptr);

  // Before showing: the window title and the note (GBK).
  void SetTitle(const std::string& title) { title_ = title; }
  void SetNote(const std::string& note) { note_ = note; }

  BOOL OnInitDialog() override;
  // "关闭" ends the dialog; nothing is read back.
  void OnOK() override;

 private:
  std::string title_;
  std::string note_;
};

}  // namespace formula
