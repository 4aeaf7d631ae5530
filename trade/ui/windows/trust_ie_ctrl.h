// CTrustIECtrl: the web view of a custody page, Qt WebEngine inside a
// child window of the panel. Scripts run as the pages need; nothing of the
// browser's own leaves the pane: no context menu, no script boxes, and a
// page's request for a new window opens in this view instead. Nothing but
// http and https opens, whether typed, linked, scripted or in a new window. Pages share
// one private (in-memory) profile per process, so nothing of a session is
// kept on disk. The engine is asked first whether it can start in this
// process (web_engine_start.h); where it cannot, the window stays blank.
#pragma once
#include <string>

#include "platform/wnd.h"

class QWebEngineView;

class CTrustIECtrl : public CWndImpl<QWidget> {
 public:
  static constexpr UINT kControlId = 1200;

  CTrustIECtrl();
  ~CTrustIECtrl() override;

  // Opens the address (GBK; an address that is not http or https opens
  // nothing).
  void Navigate(const std::string& address);
  // Navigations the page asked for and was refused (not http or https).
  int RefusedNavigations() const;
  // The address shown now (UTF-8), "" before any.
  std::string GetLocationURL() const;
  // The browser inside (null before the window exists or after it ends).
  QWebEngineView* GetBrowser() const { return view_; }

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;

 private:
  void ReleaseBrowser();

  QWebEngineView* view_ = nullptr;
};
