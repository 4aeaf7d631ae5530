// CFormularDlg ("公式编辑平台"): the formula editor window. It holds the
// controls and nothing else: every button, key and tree action reads the
// controls into the editor's logic (CFormulaEditorCore), runs one
// operation there and shows the result again.
//
// Guarantees: closing the window in any way writes the formula files of
// the five kinds and stops the compiler's messages from reaching it; the
// tree items always mirror the logic's current tree (never a node of an
// older one).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "formula/dialogs/Label.h"
#include "formula/editor/FormulaEditorCore.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/menu.h"

namespace formula {

class CTWScriptEdit;

class CFormularDlg : public CDialog {
 public:
  explicit CFormularDlg(CWnd* parent = nullptr);
  ~CFormularDlg() override;

  // Before DoModal: the indicator formula to show first (null: none).
  void SetPresetName(const char* name) { core_.SetPresetName(name); }
  // After the dialog: the drawing area and the fixed Y-axis value.
  int GetResult(int& area, int& fixedAxis) const { return core_.GetResult(area, fixedAxis); }

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnDestroy() override;
  // "测试" (the dialog's IDOK button) and Enter test; they never close.
  void OnOK() override;
  // "取消", Esc and the close box ask first.
  void OnCancel() override;

 private:
  // One user action: the controls are read first, the result shown after.
  template <class Action>
  void Act(Action&& action);
  void ReadControls();
  void ShowState();
  // The name edit and the kind list take input only while the formula is
  // new (not one loaded from the tree or named by the caller).
  void EnableKeyFields();
  void ShowMessages();
  void RebuildTreeItems();
  void OnTreeNotify(UINT code);
  void ShowTreeMenu();
  const SFormulaTreeNode* SelectedNode() const;

  void TestButton();
  void Submit();
  void ImportFunction();
  void ShowNote();
  void EditParamsDesc();
  void NewGroup();

  CFormulaEditorCore core_;
  CLabel status_;
  CTWScriptEdit* script_ = nullptr;
  CTreeCtrl* tree_ = nullptr;
  HTREEITEM presetItem_ = nullptr;  // the preset formula's item, until the tree is built again
  bool loadedByClick_ = false;      // a click's selection change loaded its item already
  std::unique_ptr<CImageList> images_;
  CMenu treeMenu_;
  unsigned shownTree_ = 0;     // the tree generation the items show
  std::string shownMessages_;  // the compiler messages the message box shows
  bool showing_ = false;       // the controls are being set from the logic
};

}  // namespace formula
