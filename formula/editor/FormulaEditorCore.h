// The formula editor's logic without its window: the values its controls
// show, the working record, the formula tree and group list, and the
// operations of its buttons, keys and tree menu. The dialog exchanges
// Fields() with its controls, calls one operation per user action, and
// then shows Fields(), Status(), Tree() (when TreeGeneration() moved),
// GroupList() and KeyFieldsEnabled() again. Questions and refusals are
// message boxes owned by the window given to SetOwner.
//
// Guarantees:
// - Testing compiles with the editor's own compiler, never the library's
//   evaluator; compiler messages reach Fields().messages while the editor
//   is open (between Open and Close) and go nowhere once it is closed.
// - A parameter text longer than the record's field is refused with a
//   message, never cut.
// - Deleting a formula drops every pointer to it and to the records that
//   move up in its place: the library evaluator's selection and the
//   editor's current record.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formula/compiler/QTPar.h"
#include "formula/editor/FormulaTree.h"
#include "formula/editor/ParamGrid.h"
#include "platform/types.h"

namespace formula {

// What the controls show, exchanged both ways (GBK).
struct SEditorFields {
  std::string name;         // formula name, upper case, at most 19 characters
  std::string chineseName;  // at most 30 characters
  std::string gridLines;    // fixed Y-axis lines, at most 99 characters
  int encrypt = 0;          // "加密": exchanged, read by no operation
  std::string encryptText;  // the edit beside "加密": likewise
  std::string messages;     // compiler messages
  std::string formula;      // the script editor's text
  SParamGrid grid;
  int kindSelection = 0;   // kind list (-1: none)
  int groupSelection = 0;  // group list (0: the empty entry)
  int areaSelection = 0;   // drawing area: 0 "主图", 1 "副图"
};

struct SEditorStatus {
  std::string text;
  COLORREF colour = 0xFF0000;  // blue; red 0x0000FF for failures
};

inline constexpr COLORREF kStatusBlue = 0xFF0000;
inline constexpr COLORREF kStatusRed = 0x0000FF;

enum class ELoadResult {
  Nothing,   // no node
  Declined,  // the user kept the changed content
  KindOnly,  // a kind or group node: kind list and group list may have changed
  Loaded,    // a formula is shown
};

enum class ESubmitResult {
  Refused,    // a message was shown; the dialog stays open
  Submitted,  // stored; the dialog ends with OK
};

class CFormulaEditorCore {
 public:
  CFormulaEditorCore();
  ~CFormulaEditorCore();
  CFormulaEditorCore(const CFormulaEditorCore&) = delete;
  CFormulaEditorCore& operator=(const CFormulaEditorCore&) = delete;

  // Owner of the message boxes (null in tests).
  void SetOwner(HWND owner) { owner_ = owner; }
  // Before Open: the formula to show first (at most 19 characters kept);
  // null changes nothing.
  void SetPresetName(const char* name);
  // Called whenever a compiler message was appended to Fields().messages.
  void SetMessageListener(std::function<void()> listener) {
    messageListener_ = std::move(listener);
  }

  // The dialog opens: starts receiving compiler messages, reloads the five
  // kinds from their files, builds the tree, fills the group list, and
  // loads the preset formula when the indicators have it (PresetNode()).
  void Open();
  // The dialog closes, however it ends: keeps the drawing area, writes the
  // five kinds' files, stops receiving compiler messages. Once only.
  void Close();
  // After Close: the drawing area, and the fixed Y-axis lines text read as
  // a decimal integer (0 without digits). Returns the drawing area.
  int GetResult(int& area, int& fixedAxis) const;

  SEditorFields& Fields() { return fields_; }
  const SEditorFields& Fields() const { return fields_; }
  const SEditorStatus& Status() const { return status_; }
  // Name edit and kind list enabled (a new formula) or locked (an existing one).
  bool KeyFieldsEnabled() const { return mode_ != 1 && mode_ != 2; }
  int Mode() const { return mode_; }
  bool IsClean() const { return clean_ != 0; }
  int CurrentKind() const { return currentKind_; }
  const SFormulaRecord* CurrentRecord() const { return current_; }
  const SFormulaRecord& WorkingRecord() const { return working_; }
  const std::string& ParamText() const { return paramText_; }

  // The tree; node pointers stay valid until TreeGeneration() changes.
  const SFormulaTree& Tree() const { return tree_; }
  unsigned TreeGeneration() const { return treeGeneration_; }
  // The node of the preset formula found by Open (expand and select it), or null.
  const SFormulaTreeNode* PresetNode() const { return presetNode_; }
  // The group list's entries: "" then the current kind's group names.
  const std::vector<std::string>& GroupList() const { return groupList_; }

  // The tree selection moved to node (or it was clicked again).
  ELoadResult SelectNode(const SFormulaTreeNode* node);
  // Selects the indicator formula of that name (any case) as a click
  // would, and keeps its node as PresetNode(); false when there is none
  // (formulas of the other kinds are not looked at).
  bool SelectFormulaByName(const char* name);
  // F2, "新建", "新建公式".
  void NewFormula();
  // F7, "测试": the grid to the parameter text, then the test.
  int TestButton();
  // Compiles the working record (parameter text + formula text); 1 or 0,
  // the result in Status() and the messages in Fields().messages.
  int TestFormula();
  // "提交".
  ESubmitResult SubmitFormula();
  // The grid to the parameter text ("参数的值不能为空!" once per row with an
  // empty value).
  void CollectParams();
  // The compiler's parameters to the grid.
  void FillParamGrid();
  // "导入函数" ended with built-in row; false for a row outside the table.
  bool ImportFunction(int row);
  // The script editor's text changed (by the user).
  void OnFormulaChanged() { clean_ = 0; }
  // WM_FORMULA_TRACE.
  void AppendMessage(const char* text);

  // Tree menu: "公式分组" with the name the group dialog gave.
  bool NewGroup(const char* name);
  // "删除分组" with the selected node.
  bool DeleteGroup(const SFormulaTreeNode* selected);
  // "删除公式" with the selected node.
  bool DeleteFormula(const SFormulaTreeNode* selected);

  // "指标说明": false with an empty name field; else the note of the name
  // under the current kind.
  bool NoteForName(std::string& title, std::string& note) const;
  // "参数精灵": false with an empty name field; else the stored description.
  bool ParamsDescForName(std::string& text) const;
  // The description dialog ended with OK and text: stores it quoted under
  // the name and the current kind. False (with a message) when it could
  // not be written.
  bool StoreParamsDesc(const std::string& text);

 private:
  class TraceReceiver;

  int Ask(const char* text, const char* caption, UINT type) const;
  void Tell(const char* text) const;
  int KindForNew() const;
  void FillGroupList();
  void RebuildTree();
  void DropPointersFrom(int kind, int index);

  HWND owner_ = nullptr;
  CQTPar compiler_;
  std::string paramText_;
  SFormulaRecord working_;
  SFormulaRecord* current_ = nullptr;
  int clean_ = 1;
  int currentKind_ = 0;
  int mode_ = 0;
  char presetName_[20] = {};
  int newWithoutAsking_ = 0;
  SEditorFields fields_;
  SEditorStatus status_;
  int area_ = 0;
  bool paramTextTooLong_ = false;

  SFormulaTree tree_;
  unsigned treeGeneration_ = 0;
  const SFormulaTreeNode* presetNode_ = nullptr;
  std::vector<std::string> groupList_;

  std::unique_ptr<TraceReceiver> trace_;
  std::function<void()> messageListener_;
  bool open_ = false;
};

}  // namespace formula
