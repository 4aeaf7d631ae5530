// The information window (mine_info_dlg.h).
#include "zeb/shell/dialogs/mine_info_dlg.h"

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/core/dialogs/info_text.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/packets/info_packets.h"

namespace {

constexpr int kWidth = 520, kHeight = 420, kListHeight = 150;
constexpr int kDateColumnWidth = 80, kTitleColumnWidth = 400;
constexpr int kListFont = 1;

const platform::DialogTemplate& InfoTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kStatic, IDC_INFO_SEPARATOR, nullptr, 0, 0, kWidth, 2, SS_SUNKEN},
      {platform::kListCtrl, IDC_INFO_LIST, nullptr, 2, 4, kWidth - 4, kListHeight,
       LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP},
      {platform::kStatic, IDC_INFO_HTML, nullptr, 2, 4 + kListHeight + 8, kWidth - 4,
       kHeight - kListHeight - 16},
  };
  static const platform::DialogTemplate tpl = platform::PixelTemplate(
      kWidth, kHeight, items, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  return tpl;
}

}  // namespace

CMineInfoDlg::CMineInfoDlg(int page, CWnd* parent)
    : CDialog(InfoTemplate(), parent), m_nPage(page) {}

BOOL CMineInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(GBK("信息地雷"));
  m_list.SubclassDlgItem(IDC_INFO_LIST, this);
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_list.InsertColumn(0, GBK("时间"), LVCFMT_LEFT, kDateColumnWidth);
  m_list.InsertColumn(1, GBK("标题"), LVCFMT_LEFT, kTitleColumnWidth);
  if (CFont* font = CSysStyle::GetInstance()->GetFont(kListFont)) m_list.SetFont(font);
  m_html.CreateInPlace(IDC_INFO_HTML, this);
  return TRUE;
}

void CMineInfoDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (CWnd* separator = GetDlgItem(IDC_INFO_SEPARATOR)) separator->MoveWindow(0, 0, cx, 2);
  if (!m_list.GetSafeHwnd()) return;
  CRect list;
  m_list.GetWindowRect(&list);
  const int listHeight = list.Height();
  m_list.MoveWindow(2, 4, cx - 4, listHeight);
  if (m_html.GetSafeHwnd()) m_html.MoveWindow(2, 4 + listHeight + 8, cx - 4, cy - listHeight - 16);
}

void CMineInfoDlg::ShowItems(const SStockInfo* item, const std::map<int, std::string>& titles,
                             int selectedKey) {
  if (!GetSafeHwnd() && !Create(GetParent())) return;
  if (item) m_item = *item;
  SetWindowText(InfoCaption(m_item).c_str());
  if (!IsWindowVisible()) ShowWindow(SW_SHOW);
  GetWidget()->raise();
  m_filling = true;
  m_list.DeleteAllItems();
  int selected = -1;
  for (const auto& [key, title] : titles) {
    const int row = m_list.InsertItem(m_list.GetItemCount(), FormatInfoDate(key).c_str());
    m_list.SetItemText(row, 1, title.c_str());
    m_list.SetItemData(row, DWORD_PTR(key));
    if (key == selectedKey) selected = row;
  }
  if (selected < 0 && m_list.GetItemCount() > 0) selected = 0;
  if (selected >= 0) {
    m_list.SetItemState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(selected, FALSE);
  }
  m_filling = false;
  if (selected >= 0) RequestText(m_item.GetKey(), int(m_list.GetItemData(selected)), 0);
}

void CMineInfoDlg::CEntryList::OnItemChanged(int item, UINT oldState, UINT newState) {
  CListCtrl::OnItemChanged(item, oldState, newState);
  if ((newState & LVIS_SELECTED) && !(oldState & LVIS_SELECTED)) m_owner.OnEntrySelected(item);
}

void CMineInfoDlg::OnEntrySelected(int row) {
  if (m_filling || row < 0) return;
  RequestText(m_item.GetKey(), int(m_list.GetItemData(row)), 0);
}

void CMineInfoDlg::RequestText(SCodeInfo item, int date, int time) {
  m_nDate = date;
  m_nTime = time;
  const std::vector<uint8_t> request = BuildInfoRequest(item, uint16_t(m_nPage), date, time);
  CPublic::GetInstance()->SendRequest(request.data(), int(request.size()), kRequestQuoteData);
}

int CMineInfoDlg::OnInfoData(const void* body, int length) {
  std::string text;
  if (length < 0 || !ReadInfoText(body, size_t(length), &text)) return 0;
  ShowText(text);
  return 1;
}

void CMineInfoDlg::ShowText(const std::string& text) {
  m_html.SetHtmlText(InfoTextToHtml(text).c_str(), TRUE);
}
