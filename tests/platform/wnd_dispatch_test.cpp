// Qt events and messages reach the same handlers, in the order and with the
// parameters a Win32 window gets them.
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/wnd.h"

namespace {

std::string Hex(UINT v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x", v);
  return buf;
}

// A window that writes every handler call into a log.
class LogWnd : public CWndImpl<QWidget> {
 public:
  std::string log;
  bool wantsTab = false;  // takes Tab itself
  bool logMoves = false;
  int hitTest = HTCLIENT;
  UINT eatKeyDown = 0;  // PreTranslateMessage eats this key
  UINT eatChar = 0;     // ... or this character

  void Add(const std::string& s) { log += (log.empty() ? "" : " ") + s; }
  static std::string Pt(CPoint p) {
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  }

  void OnLButtonDown(UINT, CPoint p) override { Add("LDown" + Pt(p)); }
  void OnLButtonUp(UINT, CPoint p) override { Add("LUp" + Pt(p)); }
  void OnLButtonDblClk(UINT, CPoint p) override { Add("LDbl" + Pt(p)); }
  void OnRButtonDown(UINT flags, CPoint p) override { Add("RDown" + Pt(p) + Hex(flags)); }
  void OnRButtonUp(UINT, CPoint p) override { Add("RUp" + Pt(p)); }
  void OnMouseMove(UINT, CPoint p) override {
    if (logMoves) Add("Move" + Pt(p));
  }
  BOOL OnMouseWheel(UINT, short delta, CPoint) override {
    Add("Wheel(" + std::to_string(delta) + ")");
    return TRUE;
  }
  void OnMouseLeave() override { Add("Leave"); }
  void OnKeyDown(UINT vk, UINT repeat, UINT flags) override {
    Add("KeyDown(" + std::to_string(vk) + "," + std::to_string(repeat) + "," + Hex(flags) + ")");
    if (!(vk == VK_TAB && wantsTab)) CWnd::OnKeyDown(vk, repeat, flags);
  }
  void OnKeyUp(UINT vk, UINT, UINT flags) override {
    Add("KeyUp(" + std::to_string(vk) + "," + Hex(flags) + ")");
  }
  void OnChar(UINT ch, UINT, UINT) override { Add("Char(" + std::to_string(ch) + ")"); }
  void OnSysKeyDown(UINT vk, UINT, UINT flags) override {
    Add("SysKeyDown(" + std::to_string(vk) + "," + Hex(flags) + ")");
  }
  void OnTimer(UINT_PTR id) override { Add("Timer(" + std::to_string(id) + ")"); }
  BOOL OnCommand(WPARAM w, LPARAM) override {
    Add("Command(" + std::to_string(LOWORD(w)) + "," + std::to_string(HIWORD(w)) + ")");
    return TRUE;
  }
  void OnSize(UINT type, int cx, int cy) override {
    Add("Size(" + std::to_string(type) + "," + std::to_string(cx) + "," + std::to_string(cy) + ")");
  }
  void OnClose() override { Add("Close"); }
  int OnNcHitTest(CPoint) override { return hitTest; }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == eatKeyDown) return TRUE;
    if (msg->message == WM_CHAR && msg->wParam == eatChar) return TRUE;
    return FALSE;
  }
};

// A top-level log window holding a child log window and an edit after it.
struct Scene {
  LogWnd top;
  LogWnd child;
  QLineEdit* edit = nullptr;

  Scene() {
    top.Create(nullptr, CRect(100, 100, 500, 400), 0, WS_POPUP | WS_CAPTION);
    child.Create(&top, CRect(10, 10, 210, 110), 1001, WS_CHILD | WS_VISIBLE);
    edit = new QLineEdit(top.GetWidget());
    edit->setGeometry(10, 150, 100, 20);
    platform::testing::ShowAndActivate(top.GetWidget());
    child.SetFocus();
    child.log.clear();
    top.log.clear();
  }
};

void SendKey(QWidget* to, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
             const QString& text, bool autoRepeat) {
  QKeyEvent event(type, key, mods, text, autoRepeat);
  QApplication::sendEvent(to, &event);
}

struct DispatchCase {
  const char* name;
  std::function<void(Scene&)> act;
  const char* childLog;
  const char* topLog;
};

TEST(WndDispatch, EventsAndMessagesReachTheHandlers) {
  platform::testing::EnsureApplication();
  const DispatchCase cases[] = {
      {"a double click through the window system is down, up, double click, up",
       [](Scene& s) {
         QTest::mouseDClick(s.top.GetWidget()->windowHandle(), Qt::LeftButton, {}, QPoint(15, 16));
       },
       "LDown(5,6) LUp(5,6) LDbl(5,6) LUp(5,6)", ""},
      {"a button message sent from code",
       [](Scene& s) { s.child.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4)); },
       "LDown(3,4)", ""},
      {"a posted message arrives later",
       [](Scene& s) {
         s.child.PostMessage(WM_COMMAND, MAKEWPARAM(100, 1), 0);
         platform::PumpUntil([&] { return !s.child.log.empty(); }, 5000);
       },
       "Command(100,1)", ""},
      {"a right click carries the button flags",
       [](Scene& s) {
         QTest::mouseClick(s.child.GetWidget(), Qt::RightButton, Qt::ControlModifier, QPoint(7, 8));
       },
       "RDown(7,8)a RUp(7,8)", ""},
      {"a key with text gives the key, its character, then the key up",
       [](Scene& s) { QTest::keyClick(s.child.GetWidget(), Qt::Key_A); },
       "KeyDown(65,1,0) Char(97) KeyUp(65,c000)", ""},
      {"a Chinese character arrives as its two GBK bytes",
       [](Scene& s) {
         SendKey(s.child.GetWidget(), QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("中"),
                 false);
       },
       "Char(214) Char(208)", ""},
      {"an auto-repeated arrow has bit 30 and the extended bit",
       [](Scene& s) {
         SendKey(s.child.GetWidget(), QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, "", true);
       },
       "KeyDown(40,1,4100)", ""},
      {"Alt with a letter is a system key without a character",
       [](Scene& s) {
         SendKey(s.child.GetWidget(), QEvent::KeyPress, Qt::Key_K, Qt::AltModifier, "k", false);
       },
       "SysKeyDown(75,2000)", ""},
      {"Delete types nothing",
       [](Scene& s) {
         SendKey(s.child.GetWidget(), QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, "\x7f",
                 false);
       },
       "KeyDown(46,1,100)", ""},
      {"a window that eats a key in PreTranslateMessage keeps it from its child",
       [](Scene& s) {
         s.top.eatKeyDown = 'X';
         QTest::keyClick(s.child.GetWidget(), Qt::Key_X);
       },
       "KeyUp(88,c000)", ""},
      {"eating only the character leaves the key down",
       [](Scene& s) {
         s.top.eatChar = 'x';
         SendKey(s.child.GetWidget(), QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x", false);
       },
       "KeyDown(88,1,0)", ""},
      {"one wheel notch is 120",
       [](Scene& s) {
         QWheelEvent wheel(QPointF(5, 5), QPointF(120, 120), QPoint(), QPoint(0, 120), Qt::NoButton,
                           Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(s.child.GetWidget(), &wheel);
       },
       "Wheel(120)", ""},
      {"a sent command answers 1 when a handler takes it, 0 when none does",
       [](Scene& s) {
         EXPECT_EQ(s.child.SendMessage(WM_COMMAND, MAKEWPARAM(9, 0), 0), 1);
         CWndImpl<QWidget> plain;
         ASSERT_TRUE(plain.Create(&s.top, CRect(0, 0, 5, 5), 2));
         EXPECT_EQ(plain.SendMessage(WM_COMMAND, MAKEWPARAM(9, 0), 0), 0);
       },
       "Command(9,0)", ""},
      {"a timer fired by its message", [](Scene& s) { s.child.SendMessage(WM_TIMER, 7); },
       "Timer(7)", ""},
      {"a size change", [](Scene& s) { s.child.MoveWindow(10, 10, 150, 60); }, "Size(0,150,60)",
       ""},
      {"a tracked mouse leave arrives once",
       [](Scene& s) {
         TRACKMOUSEEVENT track;
         track.dwFlags = TME_LEAVE;
         track.hwndTrack = s.child.GetSafeHwnd();
         TrackMouseEvent(&track);
         QEvent leave(QEvent::Leave);
         QApplication::sendEvent(s.child.GetWidget(), &leave);
         QApplication::sendEvent(s.child.GetWidget(), &leave);
       },
       "Leave", ""},
      {"the close box asks OnClose, which keeps the window here",
       [](Scene& s) { s.top.GetWidget()->close(); }, "", "Close"},
      {"a click on a caption point of a frameless window drags it",
       [](Scene& s) {
         s.top.ModifyStyle(WS_CAPTION, 0);
         platform::testing::ShowAndActivate(s.top.GetWidget());
         s.top.hitTest = HTCAPTION;
         s.top.log.clear();
         QWidget* w = s.top.GetWidget();
         const QPoint before = w->pos();
         QTest::mousePress(w, Qt::LeftButton, {}, QPoint(300, 250));
         QTest::mouseMove(w, QPoint(330, 260));
         QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(330, 260));
         EXPECT_EQ(w->pos() - before, QPoint(30, 10));
       },
       "", ""},
  };
  for (const DispatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    c.act(scene);
    EXPECT_EQ(scene.child.log, c.childLog);
    EXPECT_EQ(scene.top.log, c.topLog);
  }
}

TEST(WndDispatch, TabReachesAWindowThatWantsKeysAndMovesOnFromOneThatDoesNot) {
  platform::testing::EnsureApplication();
  for (bool wants : {true, false}) {
    SCOPED_TRACE(wants ? "wants Tab" : "leaves Tab");
    Scene scene;
    scene.child.wantsTab = wants;
    QTest::keyClick(scene.child.GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(scene.child.log.rfind("KeyDown(9,1,0)", 0), 0u) << scene.child.log;
    EXPECT_EQ(QApplication::focusWidget() == scene.child.GetWidget(), wants);
    if (!wants) {
      EXPECT_EQ(QApplication::focusWidget(), scene.edit);
    }
  }
}

// A view paints through OnEraseBkgnd, then OnPaint, which hands its paint DC to OnDraw.
TEST(WndDispatch, PaintRunsEraseThenPaintAndDrawsOnTheWindow) {
  platform::testing::EnsureApplication();
  struct RedView : CView {
    std::string log;
    BOOL OnEraseBkgnd(CDC* dc) override {
      log += "Erase ";
      return CView::OnEraseBkgnd(dc);
    }
    void OnDraw(CDC* dc) override {
      log += "Draw";
      dc->FillSolidRect(CRect(0, 0, 10, 10), RGB(255, 0, 0));
    }
  } view;
  ASSERT_TRUE(view.Create(nullptr, CRect(0, 0, 40, 30), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.GetWidget()));
  platform::PumpMessages(20);  // the first real paint may come in between
  view.log.clear();
  const QImage image = view.GetWidget()->grab().toImage();
  EXPECT_EQ(view.log, "Erase Draw");
  EXPECT_EQ(image.pixelColor(9, 9), QColor(255, 0, 0));
  EXPECT_NE(image.pixelColor(10, 10), QColor(255, 0, 0));
  view.log.clear();
  view.SendMessage(WM_PAINT);  // from code: painted now, through the same path
  EXPECT_EQ(view.log, "Erase Draw");
}

}  // namespace
