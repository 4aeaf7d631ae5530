#include "formula/editor/FormulaEditorCore.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "formula/text/GbkText.h"
#include "formula/editor/FieldText.h"
#include "formula/editor/ParamText.h"
#include "formula/editor/ParamsDesc.h"
#include "formula/editor/TechNote.h"
#include "formula/face/CalcFace.h"
#include "formula/trace/FormulaMessages.h"
#include "formula/trace/FormulaTrace.h"
#include "formula/functions/builtin_functions.h"
#include "formula/store/formula_kinds.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/window.h"

namespace formula {

// Receives the compiler's messages while the editor is open.
class CFormulaEditorCore::TraceReceiver : public platform::MsgTarget {
 public:
  explicit TraceReceiver(CFormulaEditorCore& core) : core_(core) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_FORMULA_TRACE && wParam != 0)
      core_.AppendMessage(reinterpret_cast<const char*>(wParam));
    return 0;
  }

 private:
  CFormulaEditorCore& core_;
};

namespace {

const char* StartText() { return GBK("/*请在这里输入公式内容*/"); }

void CopyField(char* field, size_t size, const std::string& text) {
  std::memset(field, 0, size);
  platform::GbkCopyCut(field, size, text.c_str());
}

}  // namespace

CFormulaEditorCore::CFormulaEditorCore() {
  compiler_.Init();
  fields_.formula = StartText();
  status_.text = "-->";
}

CFormulaEditorCore::~CFormulaEditorCore() {
  if (trace_ && GetTraceWindow() == trace_->GetSafeHwnd()) SetTraceWindow(nullptr);
  compiler_.ResetAll();
}

void CFormulaEditorCore::SetPresetName(const char* name) {
  if (!name) return;
  std::memset(presetName_, 0, sizeof presetName_);
  platform::GbkCopyCut(presetName_, sizeof presetName_, name);
  mode_ = 1;
}

int CFormulaEditorCore::Ask(const char* text, const char* caption, UINT type) const {
  return MessageBox(owner_, text, caption, type);
}

void CFormulaEditorCore::Tell(const char* text) const { MessageBox(owner_, text, "", MB_OK); }

void CFormulaEditorCore::Open() {
  if (open_) return;
  open_ = true;
  trace_ = std::make_unique<TraceReceiver>(*this);
  SetTraceWindow(trace_->GetSafeHwnd());
  status_ = {GBK("F2:新建公式 F7:测试公式"), kStatusBlue};

  // The reload replaces every record the evaluator or this editor could point at.
  TheCalcFace().ForgetSelection();
  current_ = nullptr;
  TheFormulaStore().LoadAll();

  RebuildTree();
  compiler_.ResetAll();
  fields_.kindSelection = 0;
  FillGroupList();
  presetNode_ = nullptr;
  if (presetName_[0]) SelectFormulaByName(presetName_);
  fields_.areaSelection = 0;
  area_ = 0;
}

bool CFormulaEditorCore::SelectFormulaByName(const char* name) {
  presetNode_ = name ? FindFormulaItem(tree_.kinds[FORMULA_INDICATOR], name) : nullptr;
  if (presetNode_) SelectNode(presetNode_);
  return presetNode_ != nullptr;
}

void CFormulaEditorCore::Close() {
  if (!open_) return;
  open_ = false;
  area_ = fields_.areaSelection;
  TheFormulaStore().SaveAll();
  // No compiler message may go to an editor that is gone.
  if (GetTraceWindow() == trace_->GetSafeHwnd()) SetTraceWindow(nullptr);
  trace_.reset();
}

int CFormulaEditorCore::GetResult(int& area, int& fixedAxis) const {
  area = area_;
  const long value = std::strtol(fields_.gridLines.c_str(), nullptr, 10);
  fixedAxis = int(std::clamp<long>(value, INT_MIN, INT_MAX));
  return area;
}

void CFormulaEditorCore::AppendMessage(const char* text) {
  fields_.messages += text;
  if (messageListener_) messageListener_();
}

int CFormulaEditorCore::KindForNew() const {
  if (!KeyFieldsEnabled()) return currentKind_;
  return fields_.kindSelection >= 0 ? std::min(fields_.kindSelection, FORMULA_KIND_COUNT - 1) : 0;
}

void CFormulaEditorCore::FillGroupList() {
  groupList_ = GroupListEntries(TheFormulaStore(), currentKind_);
  fields_.groupSelection = GroupListSelection(TheFormulaStore(), currentKind_, working_.nGroupHash);
}

void CFormulaEditorCore::RebuildTree() {
  tree_ = BuildFormulaTree(TheFormulaStore());
  presetNode_ = nullptr;
  ++treeGeneration_;
}

ELoadResult CFormulaEditorCore::SelectNode(const SFormulaTreeNode* node) {
  if (!node) return ELoadResult::Nothing;
  if (!clean_ &&
      Ask(GBK("您确定要清空当前内容，浏览其他公式吗?"), GBK("存盘提示"), MB_YESNOCANCEL) != IDYES)
    return ELoadResult::Declined;
  clean_ = 1;
  const bool underKind = node->type != ETreeNode::Formula || node->group < 0;
  if (underKind) {
    fields_.kindSelection = node->kind;
    currentKind_ = node->kind;
    FillGroupList();
  }
  if (!node->record) return ELoadResult::KindOnly;

  current_ = node->record;
  working_ = *current_;
  paramText_ = FieldText(current_->szParams);
  fields_.formula = current_->strFormula;
  FoldUpperAscii(fields_.formula.data());
  fields_.name = FieldText(current_->szCode);
  fields_.chineseName = FieldText(current_->szName);
  fields_.gridLines = FieldText(current_->szGridLines);

  mode_ = 1;
  clean_ = 1;
  currentKind_ = current_->nKind;
  FillGroupList();
  fields_.kindSelection = currentKind_;
  TestFormula();
  FillParamGrid();
  return ELoadResult::Loaded;
}

void CFormulaEditorCore::NewFormula() {
  const int kind = KindForNew();
  mode_ = 0;
  clean_ = 0;
  compiler_.ResetAll();
  if (newWithoutAsking_ || Ask(GBK("您清空当前内容，新建公式,还是保留当前内容进行修改?"),
                               GBK("存盘提示"), MB_YESNOCANCEL) == IDYES) {
    newWithoutAsking_ = 0;
    working_ = SFormulaRecord();
    paramText_.clear();
    fields_.formula = std::string(StartText()) + "\r\n";
    if (kind == FORMULA_SYSTEM)
      fields_.formula += GBK(
          "\r\n\r\n\r\n/*多头买入*/ ENTERLONG: ;\r\n/*多头卖出*/ EXITLONG: ;\r\n/*空头买入*/ ENTERSHORT: ;\r\n"
          "/*空头卖出*/ EXITSHORT: ;");
    else if (kind == FORMULA_FUNCTION)
      fields_.formula += GBK("\r\n\r\n\r\n/*函数返回值*/ RETURN: ;");
    FillParamGrid();  // the compiler was reset: an empty grid
  }
  fields_.name.clear();
  fields_.chineseName.clear();
  fields_.messages.clear();
  status_ = {std::string(), kStatusBlue};
}

void CFormulaEditorCore::CollectParams() {
  const SCollectedParams collected = formula::CollectParams(fields_.grid);
  for (int i = 0; i < collected.emptyValueRows; ++i) Tell(EmptyParamValueMessage());
  paramText_ = collected.text;
}

void CFormulaEditorCore::FillParamGrid() {
  fields_.grid = formula::FillParamGrid(compiler_.Params());
}

int CFormulaEditorCore::TestButton() {
  CollectParams();
  return TestFormula();
}

int CFormulaEditorCore::TestFormula() {
  fields_.messages.clear();
  std::string body = fields_.formula;
  FoldLowerAscii(body.data());
  FoldLowerAscii(paramText_.data());
  paramTextTooLong_ = !ParamTextFits(paramText_);
  if (paramTextTooLong_) {
    status_ = {ParamTextTooLongMessage(), kStatusRed};
    return 0;
  }
  CopyField(working_.szParams, sizeof working_.szParams, paramText_);
  working_.strFormula = body;
  // A new formula is tested under the rules of the kind it will be stored as.
  if (mode_ == 0) working_.nKind = int16_t(KindForNew());
  if (!compiler_.LoadFormula(&working_)) {
    status_ = {GBK("公式输入有问题,可能是公式没有内容!"), kStatusRed};
    return 0;
  }
  if (!compiler_.CheckFormula()) {
    status_ = {GBK("编译出错,具体见下边状态栏!"), kStatusRed};
    return 0;
  }
  status_ = {GBK("公式测试正常.....OK !"), kStatusBlue};
  return 1;
}

ESubmitResult CFormulaEditorCore::SubmitFormula() {
  if (fields_.name.empty() || fields_.chineseName.empty()) {
    Tell(GBK("公式编译没有中英文名称，不能提交!"));
    return ESubmitResult::Refused;
  }
  CollectParams();
  if (!TestFormula()) {
    Tell(paramTextTooLong_ ? ParamTextTooLongMessage() : GBK("公式编译没有通过，不能提交!"));
    return ESubmitResult::Refused;
  }
  CFormulaStore& store = TheFormulaStore();
  CopyField(working_.szCode, sizeof working_.szCode, fields_.name);
  CopyField(working_.szName, sizeof working_.szName, fields_.chineseName);
  CopyField(working_.szGridLines, sizeof working_.szGridLines, fields_.gridLines);
  const std::vector<SFormulaGroup>& groups = store.Groups(currentKind_);
  const int g = fields_.groupSelection;
  if (g > 0 && size_t(g - 1) < groups.size())
    working_.nGroupHash = CCalcFace::GroupHash(groups[size_t(g - 1)].szName);
  const int kind = KindForNew();
  if (!current_) mode_ = 0;
  if (mode_ == 0) {
    if (store.Find(kind, fields_.name.c_str())) {
      Tell(GBK("同种类型公式不能重名，不能提交!"));
      return ESubmitResult::Refused;
    }
    SFormulaRecord record = working_;
    record.nKind = int16_t(kind);
    record.pParamSet = nullptr;  // linked to a set by name when the store next loads
    store.Formulas(kind).push_back(std::move(record));
  } else {
    current_->nGroupHash = working_.nGroupHash;
    std::memcpy(current_->szName, working_.szName, sizeof current_->szName);
    std::memcpy(current_->szGridLines, working_.szGridLines, sizeof current_->szGridLines);
    std::memcpy(current_->szParams, working_.szParams, sizeof current_->szParams);
    current_->strFormula = working_.strFormula;
  }
  RebuildTree();
  clean_ = 1;
  return ESubmitResult::Submitted;
}

bool CFormulaEditorCore::ImportFunction(int row) {
  const auto table = BuiltinTable();
  if (row < 0 || size_t(row) >= table.size() || table[size_t(row)].szName[0] == '\0') return false;
  const SFunctionItem& item = table[size_t(row)];
  fields_.formula += item.szName;
  if (strnlen(item.szSignature, sizeof item.szSignature) > 1) fields_.formula += "(  )";
  clean_ = 0;
  return true;
}

bool CFormulaEditorCore::NewGroup(const char* name) {
  if (!AddGroup(TheFormulaStore(), currentKind_, name)) {
    Tell(GBK("分组重复!"));
    return false;
  }
  FillGroupList();
  RebuildTree();
  return true;
}

bool CFormulaEditorCore::DeleteGroup(const SFormulaTreeNode* selected) {
  if (Ask(GBK("确定要删除这个分组吗？"), GBK("删除分组"), MB_YESNOCANCEL) != IDYES) return false;
  if (selected && selected->type == ETreeNode::Group && selected->kind == currentKind_ &&
      RemoveGroup(TheFormulaStore(), currentKind_, selected->group)) {
    FillGroupList();
    RebuildTree();
    return true;
  }
  Tell(GBK("不是分组，无法删除!"));
  return false;
}

void CFormulaEditorCore::DropPointersFrom(int kind, int index) {
  CFormulaStore& store = TheFormulaStore();
  const int selected = store.IndexOf(kind, TheCalcFace().Selected());
  if (selected >= index) TheCalcFace().ForgetSelection();
  if (store.IndexOf(kind, current_) >= index) current_ = nullptr;
}

bool CFormulaEditorCore::DeleteFormula(const SFormulaTreeNode* selected) {
  if (!selected || !selected->children.empty()) return false;
  if (!selected->record) {
    Tell(GBK("没有选中公式!"));
    return false;
  }
  char question[256];
  std::snprintf(question, sizeof question, GBK("您确定要删除公式: %s[%s] "),
                FieldText(selected->record->szCode).c_str(), FormulaKindName(selected->kind));
  if (Ask(question, GBK("删除公式"), MB_YESNOCANCEL) != IDYES) return false;
  CFormulaStore& store = TheFormulaStore();
  const int kind = selected->kind;
  const int index = store.IndexOf(kind, selected->record);
  if (index < 0) return false;
  DropPointersFrom(kind, index);
  store.RemoveFormula(kind, selected->record);
  store.SaveKind(kind);
  RebuildTree();  // selected is gone from here on
  newWithoutAsking_ = 1;
  NewFormula();
  return true;
}

bool CFormulaEditorCore::NoteForName(std::string& title, std::string& note) const {
  if (fields_.name.empty()) return false;
  title = fields_.name;
  note = LookupTechNote(TheFormulaStore().Directory(), currentKind_, fields_.name.c_str());
  return true;
}

bool CFormulaEditorCore::ParamsDescForName(std::string& text) const {
  if (fields_.name.empty()) return false;
  text = ReadParamsDesc(TheFormulaStore().Directory(), currentKind_, fields_.name.c_str());
  return true;
}

bool CFormulaEditorCore::StoreParamsDesc(const std::string& text) {
  if (fields_.name.empty()) return false;
  const std::string quoted = QuoteDescText(text, 1025);
  if (!WriteParamsDesc(TheFormulaStore().Directory(), currentKind_, fields_.name.c_str(), quoted)) {
    Tell(GBK("参数说明无法写入文件!"));
    return false;
  }
  return true;
}

}  // namespace formula
