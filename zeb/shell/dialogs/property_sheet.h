// A property sheet as a child window: a row of tabs over the active page.
// Pages are child dialogs (templates with WS_CHILD), built the first time
// their tab is chosen, as the framework's sheet does, so a page's
// OnInitDialog runs only when the user (or the start page) shows it. Each
// activation calls the page's OnSetActive.
#pragma once
#include <vector>

#include "platform/dialog.h"

class CPropertyPage : public CDialog {
 public:
  using CDialog::CDialog;
  // The page was made the active one.
  virtual BOOL OnSetActive() { return TRUE; }
};

class CPropertySheet : public CWndImpl<QWidget> {
 public:
  static constexpr int kTabHeight = 21;
  ~CPropertySheet() override;

  // Pages in tab order, before Create; the caller owns them.
  void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
  int GetPageCount() const { return int(m_pages.size()); }
  CPropertyPage* GetPage(int index) const;
  int GetActiveIndex() const { return m_active; }
  // Builds the page on its first showing, shows it, hides the others.
  BOOL SetActivePage(int index);
  // The tab under a point of the sheet's client area; -1 when none.
  int HitTestTab(CPoint point) const;

  void OnPaint() override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnDestroy() override;

 private:
  RECT TabRect(int index) const;
  RECT PageRect() const;

  std::vector<CPropertyPage*> m_pages;
  int m_active = -1;
};
