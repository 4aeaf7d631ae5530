// CMineInfoDlg (信息地雷): the information items (news) of one item, one
// row per date with its title, and the text of the chosen entry as HTML.
// The K-line chart object creates it once (hidden, page 32), shows it with
// ShowItems and hands it every reply of type 0x1100 (OnInfoData); choosing
// an entry asks the quote server for its text through the store's request
// funnel. The received text is read within its body and escaped before it
// becomes HTML. Esc or the close box hide the window; it stays for the
// next ShowItems.
#pragma once
#include <map>
#include <string>

#include "zeb/controls/html_ctrl.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "zeb/store/store_records.h"

constexpr int IDC_INFO_SEPARATOR = 1132, IDC_INFO_LIST = 1135, IDC_INFO_HTML = 1181;

class CMineInfoDlg : public CDialog {
 public:
  // The page is also the request tag (the K-line chart: 32).
  explicit CMineInfoDlg(int page, CWnd* parent = nullptr);

  // Caption = the item's name + "--资讯信息"; shows and raises the window;
  // fills the list with the titles by date (key yyyymmdd) in key order,
  // selects the selected key's entry (the first when it is absent) and
  // asks for its text.
  void ShowItems(const SStockInfo* item, const std::map<int, std::string>& titles, int selectedKey);
  // A received packet: a 0x1100 reply's text is shown; 1 when taken, 0 for
  // any other packet.
  int OnInfoData(const void* body, int length);
  // The text of a 0x1100 reply read already (GBK bytes): shown.
  void ShowText(const std::string& text);
  // Sends the text request of the item and date (yyyymmdd) at time (hhmmss).
  void RequestText(SCodeInfo item, int date, int time);

  int GetPage() const { return m_nPage; }
  int GetDate() const { return m_nDate; }
  int GetTime() const { return m_nTime; }
  CListCtrl& List() { return m_list; }
  CHtmlCtrl& Html() { return m_html; }

  BOOL OnInitDialog() override;
  void OnSize(UINT type, int cx, int cy) override;

 private:
  class CEntryList : public CListCtrl {
   public:
    explicit CEntryList(CMineInfoDlg& owner) : m_owner(owner) {}
    void OnItemChanged(int item, UINT oldState, UINT newState) override;

   private:
    CMineInfoDlg& m_owner;
  };
  void OnEntrySelected(int row);

  int m_nPage;
  SStockInfo m_item;  // a copy: the store's records may move
  int m_nDate = 0;
  int m_nTime = 0;
  bool m_filling = false;  // rows selected by code ask nothing
  CEntryList m_list{*this};
  CHtmlCtrl m_html;
};
