#include "formula/dialogs/ParamRows.h"

#include <QImage>

#include "formula/dialogs/DialogIds.h"
#include "platform/controls.h"
#include "platform/gbk.h"

namespace formula {

namespace {

constexpr int kRowPitch = 16;    // dialog units between rows
constexpr int kValueWidth = 44;  // a value box with its spin button
constexpr int kValueHeight = 12;

// The frame's id among the dialog's controls; a static of its own so the
// rows are placed inside it.
constexpr int IDC_PARAM_FRAME = IDC_STATIC;

// The frame's rectangle in the dialog (pixels), from the table.
CRect FrameRect(const CDialog& dialog) {
  for (const platform::DialogItem& item : dialog.GetTemplate().items) {
    if (item.kind == std::string_view(platform::kGroupBox) && item.id == IDC_PARAM_FRAME) {
      CRect rect(item.x, item.y, item.x + item.cx, item.y + item.cy);
      dialog.MapDialogRect(&rect);
      return rect;
    }
  }
  return CRect();
}

// Places a pool label at (x, top) as wide as its text needs.
void PlaceLabel(CDialog& dialog, int id, const std::string& text, int x, int width,
                const CRect& edit) {
  CWnd* label = dialog.GetDlgItem(id);
  if (!label) return;
  label->SetWindowText(text.c_str());
  label->MoveWindow(x, edit.top, width, edit.Height());
  label->ShowWindow(SW_SHOW);
}

}  // namespace

std::vector<platform::DialogItem> ParamRowItems(int x, int y, const char* noParamsText) {
  std::vector<platform::DialogItem> items;
  items.push_back(
      {platform::kGroupBox, IDC_PARAM_FRAME, "", x, y, kParamFrameWidth, kParamFrameHeight});
  for (int i = 0; i < kParamRows; ++i) {
    const int top = y + 8 + i * kRowPitch;
    items.push_back({platform::kEdit, IDC_PARAM_VALUE0 + i, nullptr, x + 3, top, kValueWidth,
                     kValueHeight, ES_AUTOHSCROLL});
    items.push_back(
        {platform::kSpin, IDC_PARAM_SPIN0 + i, nullptr, x + 3 + kValueWidth, top, 10, kValueHeight,
         UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS});
  }
  for (int id : kParamLabelPool)
    items.push_back(
        {platform::kStatic, id, nullptr, x + 3, y + 8, 10, kValueHeight, SS_CENTERIMAGE});
  const int below = y + kParamButtonsTop;
  const int right = x + kParamFrameWidth;
  items.push_back(
      {platform::kStatic, IDC_NO_PARAMS, noParamsText, x + 20, y + 50, 150, 12, SS_CENTER});
  items.push_back(
      {platform::kButton, IDOK, GBK("确定"), right - 102, below, 48, 14, BS_DEFPUSHBUTTON});
  items.push_back({platform::kButton, IDCANCEL, GBK("取消"), right - 48, below, 48, 14});
  return items;
}

void PrepareParamRows(CDialog& dialog) {
  for (int i = 0; i < kParamRows; ++i) {
    if (auto* spin = dialog.GetDlgItemT<CSpinButtonCtrl>(IDC_PARAM_SPIN0 + i))
      spin->SetBuddy(dialog.GetDlgItem(IDC_PARAM_VALUE0 + i));
  }
  for (int id : kParamLabelPool)
    if (CWnd* label = dialog.GetDlgItem(id)) label->ShowWindow(SW_HIDE);
}

void PlaceParamRows(CDialog& dialog, const SParamLayout& layout) {
  const CRect frame = FrameRect(dialog);
  // Texts are measured in the dialog's own font.
  QImage surface(1, 1, QImage::Format_ARGB32);
  CDC measure(&surface);
  if (CFont* font = dialog.GetFont()) measure.SelectObject(font);
  auto extent = [&](const std::string& text) { return int(measure.GetTextExtent(text).cx); };

  size_t nextLabel = 0;
  auto takeLabel = [&]() {
    return nextLabel < std::size(kParamLabelPool) ? kParamLabelPool[nextLabel++] : 0;
  };
  for (int i = 0; i < kParamRows; ++i) {
    CWnd* edit = dialog.GetDlgItem(IDC_PARAM_VALUE0 + i);
    auto* spin = dialog.GetDlgItemT<CSpinButtonCtrl>(IDC_PARAM_SPIN0 + i);
    if (!edit || !spin) continue;
    if (i >= int(layout.rows.size())) {
      edit->ShowWindow(SW_HIDE);
      spin->ShowWindow(SW_HIDE);
      continue;
    }
    const SParamRow& row = layout.rows[size_t(i)];
    edit->SetWindowText(row.value.c_str());
    CRect editRect, spinRect;
    edit->GetWindowRect(&editRect);
    dialog.ScreenToClient(&editRect);
    spin->GetWindowRect(&spinRect);
    const int width = editRect.Width(), height = editRect.Height(), spinWidth = spinRect.Width();

    int left = frame.left + 3;
    if (row.described) {
      left = frame.left + 2;
      if (!row.prefix.empty()) {
        const int labelWidth = extent(row.prefix) + 2;
        PlaceLabel(dialog, takeLabel(), row.prefix, left, labelWidth,
                   CRect(left, editRect.top, left, editRect.bottom));
        left += labelWidth;
      }
    }
    edit->MoveWindow(left, editRect.top, width, height);
    edit->ShowWindow(SW_SHOW);
    const CRect placed(left, editRect.top, left + width, editRect.top + height);
    spin->MoveWindow(placed.right, placed.top, spinWidth, height);
    spin->ShowWindow(SW_SHOW);
    const std::string& after = row.described ? row.suffix : row.name;
    if (!after.empty()) {
      const int x = placed.right + spinWidth + 2;
      PlaceLabel(dialog, takeLabel(), after, x, extent(after) + 2, placed);
    }
    spin->SetRange32(row.spinMinimum, row.spinMaximum);
  }
  for (size_t i = nextLabel; i < std::size(kParamLabelPool); ++i)
    if (CWnd* label = dialog.GetDlgItem(kParamLabelPool[i])) label->ShowWindow(SW_HIDE);
  dialog.Invalidate();
}

std::vector<std::string> ParamRowValues(const CDialog& dialog) {
  std::vector<std::string> values(kParamRows);
  for (int i = 0; i < kParamRows; ++i)
    dialog.GetDlgItemText(IDC_PARAM_VALUE0 + i, values[size_t(i)]);
  return values;
}

}  // namespace formula
