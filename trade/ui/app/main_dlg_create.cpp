// The trading main dialog of this build. The trading window's widgets are
// not part of it yet: InitDialog then creates nothing and returns 0, and
// the host keeps its pane empty. The trading window replaces this file
// with one that creates CMainDlg around CMainDlgCore.
#include "sharecode/mythread.h"
#include "trade/ui/app/main_dlg_factory.h"

std::unique_ptr<ITradeMainDialog> CreateTradeMainDialog(HWND) {
  WriteTraceLine(TRACE_HERE, 0, "this build has no trading window to show\n");
  return nullptr;
}
