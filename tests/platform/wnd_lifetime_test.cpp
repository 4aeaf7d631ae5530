// Window lifetime: OnDestroy runs once per window, parents first; a
// destroyed (or deleted) window takes no more messages; a window can be
// created again with a new handle.
#include <QVBoxLayout>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/testing/app.h"
#include "platform/wnd.h"

namespace {

std::string g_log;

class Node : public CWndImpl<QWidget> {
 public:
  explicit Node(std::string name) : name_(std::move(name)) {}
  int createResult = 0;
  std::unique_ptr<Node> deleteInOnDestroy;
  int OnCreate(LPCREATESTRUCT) override { return createResult; }
  void OnDestroy() override {
    g_log += name_ + " ";
    deleteInOnDestroy.reset();
  }
  BOOL OnCommand(WPARAM w, LPARAM) override {
    g_log += name_ + ":" + std::to_string(LOWORD(w)) + " ";
    return TRUE;
  }

 private:
  std::string name_;
};

// Posts reach windows in order, so once a later post to a live window has
// arrived, an earlier one to a dead window was dropped, not delayed.
void PumpPastPosts() {
  Node sentinel("sentinel");
  ASSERT_TRUE(sentinel.Create(nullptr, CRect(0, 0, 1, 1), 0, WS_POPUP));
  sentinel.PostMessage(WM_COMMAND, 999);
  ASSERT_TRUE(
      platform::PumpUntil([] { return g_log.find("sentinel:999") != std::string::npos; }, 5000));
}

class WndLifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::EnsureApplication();
    g_log.clear();
  }
};

TEST_F(WndLifetime, OnDestroyRunsOnceParentFirstThroughPlainContainers) {
  Node parent("parent"), child("child"), grandchild("grandchild");
  ASSERT_TRUE(parent.Create(nullptr, CRect(0, 0, 200, 200), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(child.Create(&parent, CRect(0, 0, 100, 100), 10));
  // A plain Qt container between a window and its child window.
  auto* box = new QWidget(child.GetWidget());
  ASSERT_TRUE(grandchild.Create(CWnd::FromWidget(box), CRect(0, 0, 10, 10), 20));
  auto* late = new Node("deleted-by-parent");
  ASSERT_TRUE(late->Create(&child, CRect(0, 0, 5, 5), 30));
  parent.deleteInOnDestroy.reset(late);  // deleted before its turn comes

  const HWND handles[] = {parent.GetSafeHwnd(), child.GetSafeHwnd(), grandchild.GetSafeHwnd()};
  EXPECT_TRUE(parent.DestroyWindow());
  EXPECT_EQ(g_log, "parent child grandchild ");
  for (HWND h : handles) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(parent.GetWidget()->isVisible());
  EXPECT_FALSE(parent.DestroyWindow());
  EXPECT_FALSE(child.DestroyWindow());
  EXPECT_EQ(g_log, "parent child grandchild ");
}

TEST_F(WndLifetime, PostsToADestroyedOrDeletedWindowAreDropped) {
  Node destroyed("destroyed");
  ASSERT_TRUE(destroyed.Create(nullptr, CRect(0, 0, 10, 10), 0, WS_POPUP));
  auto* deleted = new Node("deleted");
  ASSERT_TRUE(deleted->Create(&destroyed, CRect(0, 0, 5, 5), 1));
  for (int i = 0; i < 100; ++i) {
    destroyed.PostMessage(WM_COMMAND, 1);
    deleted->PostMessage(WM_COMMAND, 2);
  }
  const HWND deletedHandle = deleted->GetSafeHwnd();
  delete deleted;  // with its posts still queued
  destroyed.DestroyWindow();
  g_log.clear();
  EXPECT_FALSE(::PostMessage(deletedHandle, WM_COMMAND, 3, 0));
  PumpPastPosts();
  EXPECT_EQ(g_log, "sentinel:999 ");
}

TEST_F(WndLifetime, AFailedCreateDestroysAndAWindowCanBeCreatedAgain) {
  Node node("node");
  node.createResult = -1;
  EXPECT_FALSE(node.Create(nullptr, CRect(0, 0, 10, 10), 0, WS_POPUP));
  EXPECT_EQ(g_log, "node ");
  EXPECT_EQ(node.GetSafeHwnd(), nullptr);

  node.createResult = 0;
  ASSERT_TRUE(node.Create(nullptr, CRect(0, 0, 10, 10), 0, WS_POPUP));
  const HWND first = node.GetSafeHwnd();
  node.PostMessage(WM_COMMAND, 1);
  node.DestroyWindow();
  ASSERT_TRUE(node.Create(nullptr, CRect(0, 0, 10, 10), 0, WS_POPUP));
  EXPECT_NE(node.GetSafeHwnd(), first);
  EXPECT_EQ(CWnd::FromHandle(node.GetSafeHwnd()), &node);
  EXPECT_EQ(CWnd::FromHandle(first), nullptr);
  node.PostMessage(WM_COMMAND, 2);
  g_log.clear();
  PumpPastPosts();
  EXPECT_EQ(g_log, "node:2 sentinel:999 ");
}

TEST_F(WndLifetime, EachViewOfAFrameGetsItsInitialUpdateOnce) {
  struct View : CView {
    int updates = 0;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++updates; }
  };
  CFrameWnd frame;
  View central, inner;
  ASSERT_TRUE(frame.Create(nullptr, CRect(0, 0, 300, 200), 0, WS_OVERLAPPEDWINDOW));
  ASSERT_TRUE(central.Create(&frame, CRect(0, 0, 300, 200), AFX_IDW_PANE_FIRST));
  frame.SetCentralWnd(&central);
  ASSERT_TRUE(inner.Create(&central, CRect(0, 0, 10, 10), 1));
  frame.InitialUpdateFrame();
  frame.InitialUpdateFrame();
  EXPECT_EQ(central.updates, 1);
  EXPECT_EQ(inner.updates, 1);
}

}  // namespace
