// Views and a main window for tests of the command router: two market
// pane views that record what the router gave them, and a frame whose
// window carries out WM_SWITCH_VIEW as the main frame does.
#pragma once
#include <string>
#include <vector>

#include "platform/window.h"
#include "zeb/messages.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/shell/router/routed_view.h"

namespace shell_test {

class RecordingView : public CRoutedView {
 public:
  explicit RecordingView(int page) : page_(page) {}
  int GetViewPage() const override { return page_; }
  int SetCurItem(const SCurItem* item) override {
    ++setCount;
    return CRoutedView::SetCurItem(item);
  }
  int OnData(const void* body, int length) override {
    packets.push_back(std::string(static_cast<const char*>(body), size_t(length)));
    return 1;
  }
  int OnKey(UINT key, UINT data, UINT flags) override {
    keys.push_back({key, data});
    return takesKeys ? 1 : 0;
  }
  using CRoutedView::OnCommand;
  int OnCommand(int id) override {
    commands.push_back(id);
    return 7;
  }
  int UpdateCommandUI(CCmdUI* ui) override { return ui->m_nID == handledId ? 1 : 0; }
  void SetAnalysisKind(int kind) override { analysisKind = kind; }
  void ReloadCurrentTab() override { ++reloads; }
  void RefreshBigOrders() override { ++bigOrderRefreshes; }
  void OnSchemeChanged() override { ++schemeChanges; }
  void OnDraw(CDC*) override {}

  int setCount = 0;
  std::vector<std::string> packets;
  std::vector<std::pair<UINT, UINT>> keys;
  std::vector<int> commands;
  bool takesKeys = false;
  UINT handledId = 0;
  int analysisKind = -1;
  int reloads = 0;
  int bigOrderRefreshes = 0;
  int schemeChanges = 0;

 private:
  int page_;
};

// The main window's side: WM_SWITCH_VIEW puts the view of the asked page
// (the other one for 0) into the pane; other messages are recorded.
class FakeRouterFrame : public IRouterFrame, public platform::MsgTarget {
 public:
  RecordingView* report = nullptr;
  RecordingView* chart = nullptr;
  RecordingView* shown = nullptr;
  std::vector<std::pair<UINT, WPARAM>> messages;

  HWND MainWnd() override { return GetSafeHwnd(); }
  CRoutedView* MarketPaneView() override { return shown; }
  CRoutedView* ReportView() override { return report; }
  bool drawBarOn = false;
  void ShowDrawToolBar(bool show) override {
    drawBarOn = show;
    messages.push_back({0xD7, show});
  }
  bool IsDrawToolBarOn() override { return drawBarOn; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
    messages.push_back({message, wParam});
    if (message == WM_SWITCH_VIEW) {
      RecordingView* next = nullptr;
      if (wParam == 0) next = shown == report ? chart : report;
      else
        next = report && report->GetViewPage() == int(wParam) ? report
               : chart && chart->GetViewPage() == int(wParam) ? chart
                                                              : nullptr;
      if (next) {
        shown = next;
        CCmdDispatcher::GetInstance()->SetActiveView(shown);
      }
      return 1;
    }
    return 0;
  }
  int Count(UINT message) const {
    int n = 0;
    for (auto& m : messages) n += m.first == message;
    return n;
  }
};

}  // namespace shell_test
