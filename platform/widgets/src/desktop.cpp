// The desktop's fixed tables (system metrics and colours at Windows 7's
// defaults, 96 dpi), the work area and the beep.
#include <QApplication>
#include <QScreen>
#include <mutex>

#include "platform/desktop.h"
#include "platform/gdi.h"

namespace {

// The primary screen, or its area without panels.
QRect PrimaryArea(bool withoutPanels) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QRect(0, 0, 1920, 1080);
  return withoutPanels ? screen->availableGeometry() : screen->geometry();
}
QRect WorkArea() { return PrimaryArea(true); }
QRect ScreenArea() { return PrimaryArea(false); }

struct Metric {
  int index;
  int value;
};

constexpr Metric kMetrics[] = {
    {SM_CXVSCROLL, 17},   {SM_CYHSCROLL, 17}, {SM_CYCAPTION, 22},  {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},     {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3},  {SM_CYVTHUMB, 17},
    {SM_CXHTHUMB, 17},    {SM_CXICON, 32},    {SM_CYICON, 32},     {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},    {SM_CYMENU, 20},    {SM_CYVSCROLL, 17},  {SM_CXHSCROLL, 17},
    {SM_CXMIN, 132},      {SM_CYMIN, 38},     {SM_CXSIZE, 36},     {SM_CYSIZE, 22},
    {SM_CXFRAME, 4},      {SM_CYFRAME, 4},    {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4},
    {SM_CXEDGE, 2},       {SM_CYEDGE, 2},     {SM_CXSMICON, 16},   {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 18}, {SM_CXDRAG, 4},     {SM_CYDRAG, 4},      {SM_CXMENUCHECK, 13},
    {SM_CYMENUCHECK, 13},
};

// Indexed by COLOR_*; -1 marks an unused index.
constexpr long kColors[] = {
    RGB(200, 200, 200),  // scroll bar
    RGB(0, 0, 0),        // desktop
    RGB(153, 180, 209),  // active caption
    RGB(191, 205, 219),  // inactive caption
    RGB(240, 240, 240),  // menu
    RGB(255, 255, 255),  // window
    RGB(100, 100, 100),  // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(0, 0, 0),        // caption text
    RGB(180, 180, 180),  // active border
    RGB(244, 247, 252),  // inactive border
    RGB(171, 171, 171),  // application workspace
    RGB(51, 153, 255),   // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(240, 240, 240),  // button face
    RGB(160, 160, 160),  // button shadow
    RGB(109, 109, 109),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(67, 78, 84),     // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(105, 105, 105),  // 3D dark shadow
    RGB(227, 227, 227),  // 3D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
    -1,
    RGB(0, 102, 204),    // hot-tracked item
    RGB(185, 209, 234),  // gradient active caption
    RGB(215, 228, 242),  // gradient inactive caption
    RGB(51, 153, 255),   // menu highlight
    RGB(240, 240, 240),  // menu bar
};
constexpr int kColorCount = (int)(sizeof kColors / sizeof kColors[0]);

bool ValidColor(int index) { return index >= 0 && index < kColorCount && kColors[index] >= 0; }

}  // namespace

BOOL SystemParametersInfo(UINT action, UINT, void* param, UINT) {
  if (action != SPI_GETWORKAREA || !param) return FALSE;
  const QRect area = WorkArea();
  *static_cast<RECT*>(param) =
      RECT{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
  return TRUE;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return ScreenArea().width();
    case SM_CYSCREEN: return ScreenArea().height();
    case SM_CXFULLSCREEN: return WorkArea().width();
    case SM_CYFULLSCREEN: return WorkArea().height() - 22;  // less the caption
    case SM_CXMAXIMIZED: return WorkArea().width() + 2 * 4;
    case SM_CYMAXIMIZED: return WorkArea().height() + 2 * 4;
    default: break;
  }
  for (const Metric& m : kMetrics)
    if (m.index == index) return m.value;
  return 0;
}

COLORREF GetSysColor(int index) {
  return ValidColor(index) ? (COLORREF)kColors[index] : RGB(0, 0, 0);
}

CBrush* GetSysColorBrush(int index) {
  if (!ValidColor(index)) return nullptr;
  static CBrush* brushes[kColorCount] = {};
  static std::once_flag once;
  std::call_once(once, [] {
    for (int i = 0; i < kColorCount; ++i)
      if (ValidColor(i)) brushes[i] = new CBrush(GetSysColor(i));
  });
  return brushes[index];
}

BOOL MessageBeep(UINT) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
  return TRUE;
}
