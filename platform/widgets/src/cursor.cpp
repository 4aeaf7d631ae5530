// Cursor shapes, position and confinement. Shapes are Qt cursors kept for
// the life of the process (a handle is a pointer to one); ClipCursor keeps
// a rectangle that mouse handlers and SetCursorPos see the cursor inside.
#include <QApplication>
#include <QCursor>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <map>
#include <mutex>
#include <optional>

#include "platform/input.h"
#include "wnd_internal.h"

namespace {

std::optional<RECT> g_clip;
HCURSOR g_current = nullptr;

HCURSOR Keep(QCursor* cursor) { return reinterpret_cast<HCURSOR>(cursor); }
QCursor* CursorOf(HCURSOR handle) { return reinterpret_cast<QCursor*>(handle); }

}  // namespace

HCURSOR LoadCursor(void*, int id) {
  static const std::map<int, Qt::CursorShape> shapes = {
      {IDC_ARROW, Qt::ArrowCursor},        {IDC_IBEAM, Qt::IBeamCursor},
      {IDC_WAIT, Qt::WaitCursor},          {IDC_CROSS, Qt::CrossCursor},
      {IDC_UPARROW, Qt::UpArrowCursor},    {IDC_SIZENWSE, Qt::SizeFDiagCursor},
      {IDC_SIZENESW, Qt::SizeBDiagCursor}, {IDC_SIZEWE, Qt::SizeHorCursor},
      {IDC_SIZENS, Qt::SizeVerCursor},     {IDC_SIZEALL, Qt::SizeAllCursor},
      {IDC_NO, Qt::ForbiddenCursor},       {IDC_HAND, Qt::PointingHandCursor},
      {IDC_APPSTARTING, Qt::BusyCursor},   {IDC_HELP, Qt::WhatsThisCursor},
  };
  static std::map<int, QCursor*> made;
  auto shape = shapes.find(id);
  if (shape == shapes.end()) return nullptr;
  QCursor*& cursor = made[id];
  if (!cursor) cursor = new QCursor(shape->second);
  return Keep(cursor);
}

HCURSOR LoadCursorFromImage(const char* path, int hotX, int hotY) {
  QPixmap pixmap(QString::fromUtf8(path ? path : ""));
  if (pixmap.isNull()) return nullptr;
  return Keep(new QCursor(pixmap, hotX, hotY));
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = g_current;
  g_current = cursor;
  QWidget* target =
      QWidget::mouseGrabber() ? QWidget::mouseGrabber() : platform::detail::MouseWidget();
  if (target) {
    if (cursor) target->setCursor(*CursorOf(cursor));
    else target->setCursor(Qt::BlankCursor);
  }
  return previous;
}

HCURSOR GetCursor() { return g_current; }

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  QPoint p = platform::detail::ClampToCursorClip(QCursor::pos());
  *point = POINT{p.x(), p.y()};
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  QCursor::setPos(platform::detail::ClampToCursorClip(QPoint(x, y)));
  return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
  if (rect && !IsRectEmpty(*rect)) g_clip = *rect;
  else g_clip.reset();
  return TRUE;
}

BOOL GetClipCursor(RECT* rect) {
  if (!rect) return FALSE;
  if (g_clip) {
    *rect = *g_clip;
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    *rect = platform::detail::FromQRect(screen->virtualGeometry());
  } else {
    *rect = RECT{};
  }
  return TRUE;
}

QPoint platform::detail::ClampToCursorClip(QPoint global) {
  if (!g_clip) return global;
  return QPoint(std::clamp(global.x(), g_clip->left, g_clip->right - 1),
                std::clamp(global.y(), g_clip->top, g_clip->bottom - 1));
}
