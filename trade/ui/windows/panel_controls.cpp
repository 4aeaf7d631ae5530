#include "trade/ui/windows/panel_controls.h"

#include <QString>

#include "platform/gbk.h"

CBrush& TradePanelBrush() {
  // Never destroyed: it may still be asked for while windows go at exit.
  static CBrush* brush = new CBrush(RGB(0xF0, 0xF0, 0xF0));
  return *brush;
}

std::string GetWindowString(const CWnd* wnd) {
  return wnd && wnd->GetSafeHwnd() ? wnd->GetWindowTextString() : std::string();
}

std::string ToStdString(const QString& text) { return platform::QStringToGbk(text); }

void SetListCell(CListCtrl& list, int row, int column, const std::string& text) {
  if (column == 0) list.InsertItem(row, text.c_str());
  else list.SetItemText(row, column, text.c_str());
}

void PlaceCtl(CWnd& parent, int id, int x, int y, int cx, int cy) {
  if (CWnd* c = parent.GetDlgItem(id)) c->MoveWindow(x, y, cx, cy);
}

void ShowCtl(CWnd& parent, int id, bool show) {
  if (CWnd* c = parent.GetDlgItem(id)) c->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

BOOL CreatePanelList(CListCtrl& list, CWnd& panel, int id) {
  if (!list.Create(&panel, CRect(0, 0, 0, 0), static_cast<UINT>(id),
                   WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS))
    return FALSE;
  list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  CRect client;
  panel.GetClientRect(&client);
  panel.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
  return TRUE;
}

void SelectOrAddComboString(CComboBox* combo, const std::string& text) {
  if (!combo || !combo->GetSafeHwnd()) return;
  int index = combo->FindString(0, text.c_str());
  if (index == CB_ERR) index = combo->InsertString(-1, text.c_str());
  combo->SetCurSel(index);
}
