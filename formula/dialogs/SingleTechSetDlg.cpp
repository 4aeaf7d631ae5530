#include "formula/dialogs/SingleTechSetDlg.h"

#include "formula/dialogs/DialogIds.h"
#include "formula/dialogs/ParamRows.h"
#include "platform/gbk.h"

namespace formula {

namespace {

constexpr int kSingleTechSetFrameX = 7, kSingleTechSetFrameY = 7;

std::vector<platform::DialogItem> SingleTechSetItems() {
  std::vector<platform::DialogItem> items =
      ParamRowItems(kSingleTechSetFrameX, kSingleTechSetFrameY, GBK("该指标无参数可设置"));
  const int below = kSingleTechSetFrameY + kParamButtonsTop;
  items.push_back({platform::kStatic, IDC_LINE_COUNT_LABEL, GBK("均线条数:"), kSingleTechSetFrameX,
                   below + 2, 40, 10});
  items.push_back({platform::kEdit, IDC_LINE_COUNT, nullptr, kSingleTechSetFrameX + 42, below, 30,
                   12, ES_NUMBER});
  return items;
}

platform::DialogTemplate SingleTechSetTemplate() {
  static const std::vector<platform::DialogItem> items = SingleTechSetItems();
  return {.cx = kSingleTechSetFrameX * 2 + kParamFrameWidth,
          .cy = kSingleTechSetFrameY + kParamRowsHeight,
          .caption = GBK("参数显示"),
          .items = items};
}

}  // namespace

CSingleTechSetDlg::CSingleTechSetDlg(CWnd* parent) : CDialog(SingleTechSetTemplate(), parent) {}

BOOL CSingleTechSetDlg::OnInitDialog() {
  PrepareParamRows(*this);
  GetDlgItem(IDC_NO_PARAMS)->ShowWindow(SW_SHOW);
  LayoutRows();
  return TRUE;
}

void CSingleTechSetDlg::DoDataExchange(CDataExchange* dx) {
  // The line count exists for "MA" only.
  if (layout_.isMA) DDX_Text(dx, IDC_LINE_COUNT, lineCount_);
}

void CSingleTechSetDlg::LayoutRows() {
  layout_ = LayoutParamRows(name_.c_str());
  GetDlgItem(IDC_NO_PARAMS)->ShowWindow(layout_.paramCount == 0 ? SW_SHOW : SW_HIDE);
  PlaceParamRows(*this, layout_);
  for (int id : {IDC_LINE_COUNT, IDC_LINE_COUNT_LABEL})
    GetDlgItem(id)->ShowWindow(layout_.isMA ? SW_SHOW : SW_HIDE);
  if (layout_.isMA) {
    lineCount_ = layout_.lineCount;
    UpdateData(FALSE);
  }
}

void CSingleTechSetDlg::LineCountLeft() {
  const unsigned before = lineCount_;
  if (!UpdateData(TRUE) || lineCount_ == before) return;
  if (ChangeMALineCount(name_.c_str(), lineCount_, ParamRowValues(*this))) LayoutRows();
}

BOOL CSingleTechSetDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_LINE_COUNT && HIWORD(wParam) == EN_KILLFOCUS) {
    if (layout_.isMA) LineCountLeft();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CSingleTechSetDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (SingleTechSetOK(name_.c_str(), lineCount_, ParamRowValues(*this))) EndDialog(IDOK);
}

}  // namespace formula
