// The main frame's splitter: hiding a pane and showing it again with its
// sizes, several views per pane and switching between them (also while the
// top pane is hidden), the focus going to the view switched in, views
// that fail to be made, and the drag of the split bar that tells the
// parent.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/testing/app.h"
#include "shell/program_test_support.h"
#include "zeb/messages.h"
#include "zeb/shell/splitter/splitter_wnd.h"

namespace {

class PlainView : public CView {
 public:
  void OnDraw(CDC*) override {}
};

class FailingView : public CView {
 public:
  int OnCreate(LPCREATESTRUCT) override { return -1; }
  void OnDraw(CDC*) override {}
};

class Parent : public CWndImpl<QWidget> {
 public:
  int moved = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SPLITTER_MOVED) ++moved;
    return CWndImpl<QWidget>::WindowProc(message, wParam, lParam);
  }
};

struct SplitterTest : ::testing::Test {
  shell_test::ApplicationFirst app;
  Parent parent;
  ST_SplitterWnd splitter;
  SplitterTest() { parent.Create(nullptr, CRect(0, 0, 800, 600), 0, WS_POPUP | WS_VISIBLE); }
  void Make() {
    splitter.Create(
        &parent, nullptr, [] { return new PlainView(); }, false, AFX_IDW_PANE_FIRST);
    splitter.MoveWindow(0, 0, 800, 600);
    splitter.SetRowInfo(0, 400, 100);
    splitter.SetRowInfo(1, 320, 320);
    splitter.RecalcLayout();
  }
  std::pair<int, int> Rows() const {
    int a = 0, b = 0;
    splitter.GetRowInfo(0, &a, nullptr);
    splitter.GetRowInfo(1, &b, nullptr);
    return {a, b};
  }
};

TEST_F(SplitterTest, HidingAPaneAndShowingItAgainKeepsTheSizes) {
  Make();
  const auto before = Rows();
  EXPECT_EQ(before, std::make_pair(400, 600 - 400 - kSplitBarSize));
  CWnd* trade = splitter.GetPane(1, 0);
  ASSERT_NE(trade, nullptr);
  splitter.TogglePane(1);
  EXPECT_TRUE(splitter.IsHidden(1));
  EXPECT_FALSE(trade->IsWindowVisible());
  EXPECT_EQ(splitter.GetPane(1, 0), nullptr);
  EXPECT_EQ(Rows().first, 600);
  splitter.TogglePane(0);  // another one while one is hidden: nothing
  EXPECT_FALSE(splitter.IsHidden(0));
  splitter.TogglePane(1);
  EXPECT_FALSE(splitter.IsHidden(1));
  EXPECT_EQ(splitter.GetPane(1, 0), trade);
  EXPECT_EQ(Rows(), before);
}

TEST_F(SplitterTest, ViewsOfAPaneSwitchInTurn) {
  Make();
  EXPECT_EQ(splitter.AddView(0, [] { return new PlainView(); }), 0);
  EXPECT_EQ(splitter.AddView(0, [] { return new PlainView(); }), 1);
  CWnd* first = splitter.GetView(0, 0);
  CWnd* second = splitter.GetView(0, 1);
  EXPECT_EQ(splitter.GetPane(0, 0), second);  // the view added last is shown
  splitter.SwitchView(0, -1);
  EXPECT_EQ(splitter.GetPane(0, 0), first);
  EXPECT_FALSE(second->IsWindowVisible());
  EXPECT_EQ(second->GetDlgCtrlID(), 0);
  splitter.SwitchView(0, -1);
  EXPECT_EQ(splitter.GetPane(0, 0), second);
  // A view that cannot be made leaves the list as it was.
  EXPECT_EQ(splitter.AddView(0, [] { return new FailingView(); }), -1);
  EXPECT_EQ(splitter.AddView(0, []() -> CWnd* { return nullptr; }), -1);
  EXPECT_EQ(splitter.GetViewCount(0), 2);
  EXPECT_EQ(splitter.GetView(0, 2), nullptr);
  EXPECT_EQ(splitter.GetView(2, 0), nullptr);
}

TEST_F(SplitterTest, WithTheTopPaneHiddenTheChosenViewTakesTheFirstPlace) {
  Make();
  splitter.AddView(0, [] { return new PlainView(); });
  splitter.AddView(0, [] { return new PlainView(); });
  CWnd* trade = splitter.GetPane(1, 0);
  splitter.TogglePane(0);
  EXPECT_EQ(splitter.GetPane(0, 0), trade);  // the lower pane moved up
  splitter.SwitchView(0, 0);
  EXPECT_EQ(splitter.GetPane(0, 0), splitter.GetView(0, 0));
  EXPECT_TRUE(splitter.GetView(0, 0)->IsWindowVisible());
}

// The keys follow the view the user now sees, however it was opened: from
// the view put aside, from the other pane, from a window outside them.
TEST_F(SplitterTest, TheViewSwitchedInTakesTheFocus) {
  Make();
  splitter.AddView(0, [] { return new PlainView(); });
  splitter.AddView(0, [] { return new PlainView(); });
  QLineEdit outside(parent.GetWidget());  // a field beside the panes that takes Tab focus
  outside.show();
  ASSERT_TRUE(platform::testing::ShowAndActivate(parent.GetWidget()));
  CWnd* first = splitter.GetView(0, 0);
  CWnd* second = splitter.GetView(0, 1);
  CWnd* lower = splitter.GetPane(1, 0);
  struct Case {
    CWnd* focusedBefore;  // null: the field outside the panes
    int view;
    CWnd* shown;
  };
  for (const Case& c : {Case{second, 0, first}, Case{first, 1, second}, Case{lower, 0, first},
                        Case{nullptr, -1, second}}) {
    if (c.focusedBefore) c.focusedBefore->SetFocus();
    else outside.setFocus();
    splitter.SwitchView(0, c.view);
    ASSERT_EQ(splitter.GetPane(0, 0), c.shown);
    EXPECT_EQ(QApplication::focusWidget(), c.shown->GetWidget()) << c.view;
  }
}

TEST_F(SplitterTest, DraggingTheBarTellsTheParent) {
  Make();
  const int barTop = Rows().first;
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(10, barTop + 2));
  splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELONG(10, 300));
  splitter.SendMessage(WM_LBUTTONUP, 0, MAKELONG(10, 300));
  EXPECT_EQ(parent.moved, 1);
  EXPECT_EQ(Rows(), std::make_pair(300, 600 - 300 - kSplitBarSize));
  // A press beside the bar drags nothing.
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(10, 50));
  splitter.SendMessage(WM_LBUTTONUP, 0, MAKELONG(10, 60));
  EXPECT_EQ(parent.moved, 1);
}

}  // namespace
