// What later modules plug into the shell: the views of the market pane
// (the quote list and the chart view) and of the trade pane, the
// keyboard-input box, and the dialogs the shell opens for the notice, the
// user's details and the system settings. Each module registers its
// factory before the main frame is created; a slot left empty leaves that
// part out (an empty pane, no dialog) and the program runs on without it.
#pragma once
#include <functional>
#include <string>

#include "platform/types.h"

class CWnd;

struct SShellPlugins {
  // New, not yet created views; the splitter creates and owns them.
  std::function<CWnd*()> reportView;  // CPriceReportView, page 1024
  std::function<CWnd*()> chartView;   // CStockView, page 512
  std::function<CWnd*()> tradeView;   // CTradeView, the trade pane
  // The keyboard-input box, opened modally by the frame with the typed
  // character (GBK byte).
  std::function<void(CWnd* owner, UINT firstChar)> inputBox;
  // The notice and update offer (mode = the update flag); IDOK to update.
  std::function<int(int mode, const std::string& gbkText)> noticeDialog;
  std::function<void()> userInfoDialog;
  // The settings dialog, modal, on its start page (0 appearance, 1
  // parameters).
  std::function<void(int startPage)> systemSettingsDialog;
};

SShellPlugins& ShellPlugins();

// What the trade pane's view tells the main frame: the trading window it
// hosts (null while there is none).
class ITradeHost {
 public:
  virtual ~ITradeHost() = default;
  virtual HWND GetTradeWnd() const = 0;
};
