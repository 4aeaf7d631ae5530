// CDlgUpdateSelect: the choice of the download server when the update list
// names several. It lists the servers' names in name order with the first
// selected; OK takes the chosen name, Cancel ends the update check (no
// update program starts). ChooseUpdateServer is the update check's chooser
// in the program (SetUpdateServerChooser).
#pragma once
#include <string>

#include "platform/dialog.h"
#include "zeb/core/update/update_list.h"

constexpr int IDC_UPDATE_SERVER = 1149;

class CDlgUpdateSelect : public CDialog {
 public:
  explicit CDlgUpdateSelect(const UpdateServerMap& servers, CWnd* parent = nullptr);

  // The name chosen with OK; empty before.
  const std::string& GetChosenName() const { return m_chosen; }

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  const UpdateServerMap& m_servers;
  std::string m_chosen;
};

// Runs the dialog; true with the chosen name on OK, false on Cancel.
bool ChooseUpdateServer(const UpdateServerMap& servers, std::string* chosenName);
