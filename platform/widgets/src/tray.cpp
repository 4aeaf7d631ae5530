// The tray icon. Where the desktop has a tray the icon is a
// QSystemTrayIcon whose clicks are posted to its window as Win32's
// callback message; where it has none the icon is only remembered and its
// window is minimised instead of hidden, so the user can still bring the
// window back.
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <map>
#include <string>
#include <utility>

#include "platform/desktop.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

namespace {

struct TrayIcon {
  UINT callback = 0;
  QPointer<QSystemTrayIcon> icon;  // null where there is no tray
};

std::map<std::pair<HWND, UINT>, TrayIcon>& Icons() {
  static auto* icons = new std::map<std::pair<HWND, UINT>, TrayIcon>();
  return *icons;
}

QIcon* IconOf(HICON icon) { return reinterpret_cast<QIcon*>(icon); }

void Apply(QSystemTrayIcon* tray, const NOTIFYICONDATA& data) {
  if ((data.uFlags & NIF_ICON) && data.hIcon) tray->setIcon(*IconOf(data.hIcon));
  if (data.uFlags & NIF_TIP) {
    char tip[sizeof data.szTip];
    platform::GbkCopyCut(tip, sizeof tip, data.szTip);
    tray->setToolTip(platform::GbkToQString(tip));
  }
}

void SetMinimiseForHide(HWND hwnd, bool on) {
  if (CWnd* wnd = CWnd::FromHandle(hwnd); wnd && wnd->GetWidget())
    wnd->GetWidget()->setProperty(platform::detail::kMinimiseForHide, on);
}

}  // namespace

HICON LoadIconFromImage(const char* path) {
  static std::map<std::string, QIcon*> loaded;
  const std::string key = path ? path : "";
  QIcon*& icon = loaded[key];
  if (!icon) {
    QIcon made(QString::fromUtf8(key.c_str()));
    if (made.isNull() || made.availableSizes().isEmpty()) return nullptr;
    icon = new QIcon(made);
  }
  return reinterpret_cast<HICON>(icon);
}

BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data) {
  if (!data) return FALSE;
  auto& icons = Icons();
  const auto key = std::make_pair(data->hWnd, data->uID);
  auto it = icons.find(key);
  switch (message) {
    case NIM_ADD: {
      if (it != icons.end() || !CWnd::FromHandle(data->hWnd)) return FALSE;
      TrayIcon entry;
      entry.callback = (data->uFlags & NIF_MESSAGE) ? data->uCallbackMessage : 0;
      if (QSystemTrayIcon::isSystemTrayAvailable()) {
        auto* tray = new QSystemTrayIcon();
        Apply(tray, *data);
        const HWND hwnd = data->hWnd;
        const UINT id = data->uID, callback = entry.callback;
        QObject::connect(tray, &QSystemTrayIcon::activated, tray,
                         [hwnd, id, callback](QSystemTrayIcon::ActivationReason reason) {
                           UINT mouse = WM_LBUTTONUP;
                           if (reason == QSystemTrayIcon::DoubleClick) mouse = WM_LBUTTONDBLCLK;
                           if (reason == QSystemTrayIcon::Context) mouse = WM_RBUTTONUP;
                           if (reason == QSystemTrayIcon::MiddleClick) mouse = WM_MBUTTONUP;
                           if (callback) ::PostMessage(hwnd, callback, id, mouse);
                         });
        tray->show();
        entry.icon = tray;
      } else {
        SetMinimiseForHide(data->hWnd, true);
      }
      icons[key] = entry;
      return TRUE;
    }
    case NIM_MODIFY:
      if (it == icons.end()) return FALSE;
      if (data->uFlags & NIF_MESSAGE) it->second.callback = data->uCallbackMessage;
      if (it->second.icon) Apply(it->second.icon, *data);
      return TRUE;
    case NIM_DELETE: {
      if (it == icons.end()) return FALSE;
      delete it->second.icon.data();
      icons.erase(it);
      bool more = false;  // the window keeps the rule while it has another icon
      for (const auto& [k, v] : icons) more = more || (k.first == data->hWnd && !v.icon);
      if (!more) SetMinimiseForHide(data->hWnd, false);
      return TRUE;
    }
    default: return FALSE;
  }
}
