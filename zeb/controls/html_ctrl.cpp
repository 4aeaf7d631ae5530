// CHtmlCtrl; see html_ctrl.h.
#include "zeb/controls/html_ctrl.h"

#include <QUrl>
#include <cstring>

#include "zeb/controls/link_policy.h"
#include "platform/desktop.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"

namespace zebui {

std::string EscapeHtml(std::string_view gbk) {
  // The GBK trail byte of each letter (all lead with 0xA8) and its entity.
  struct Letter {
    unsigned char trail;
    const char* entity;
  };
  static constexpr Letter kLetters[] = {{0xA4, "&agrave;"}, {0xA2, "&aacute;"}, {0xA8, "&egrave;"},
                                        {0xA6, "&eacute;"}, {0xAC, "&igrave;"}, {0xAA, "&iacute;"},
                                        {0xB0, "&ograve;"}, {0xAE, "&oacute;"}, {0xB4, "&ugrave;"},
                                        {0xB2, "&uacute;"}};
  std::string out;
  out.reserve(gbk.size());
  for (size_t i = 0; i < gbk.size(); ++i) {
    const auto lead = (unsigned char)gbk[i];
    if (!platform::IsGbkLeadByte(lead) || i + 1 >= gbk.size()) {
      out += gbk[i];
      continue;
    }
    const auto trail = (unsigned char)gbk[i + 1];
    const char* entity = nullptr;
    if (lead == 0xA8) {
      for (const Letter& letter : kLetters) {
        if (letter.trail == trail) entity = letter.entity;
      }
    }
    if (entity) {
      out += entity;
    } else {
      out += gbk[i];
      out += gbk[i + 1];
    }
    ++i;
  }
  return out;
}

}  // namespace zebui

CHtmlCtrl::CHtmlCtrl() {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  QObject::connect(this, &QTextBrowser::anchorClicked, this,
                   [this](const QUrl& url) { OnLinkClicked(url); });
  QObject::connect(this, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
                   [this](const QUrl& url) { OnLinkHovered(url); });
}

CHtmlCtrl::~CHtmlCtrl() = default;

BOOL CHtmlCtrl::CreateInPlace(UINT id, CWnd* parent, CWnd* notifyWnd) {
  if (!SubclassDlgItem(id, parent)) return FALSE;
  notify_ = notifyWnd ? notifyWnd->GetWidget() : nullptr;
  shown_ = true;
  WriteHtml();
  return TRUE;
}

void CHtmlCtrl::SetHtmlText(const char* text, BOOL escape) {
  const std::string_view raw = text ? text : "";
  html_ = escape ? zebui::EscapeHtml(raw) : std::string(raw);
  if (shown_) WriteHtml();
}

void CHtmlCtrl::WriteHtml() { setHtml(platform::GbkToQString(html_)); }

void CHtmlCtrl::OnAppCommand(const char* command) {
  if (std::strcmp(command, "Minimise") == 0) {
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_MINIMIZE);
  } else if (std::strcmp(command, "Beep") == 0) {
    MessageBeep(MB_ICONASTERISK);
  } else {
    MessageBox(GetSafeHwnd(), command, "Unexpected Command", MB_ICONQUESTION);
  }
}

void CHtmlCtrl::OnLinkClicked(const QUrl& url) {
  const QString address = url.toString();
  if (address.left(4).compare(QLatin1String("app:"), Qt::CaseInsensitive) == 0) {
    OnAppCommand(platform::QStringToGbk(address.mid(4)).c_str());
    return;
  }
  if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
    scrollToAnchor(url.fragment());
    return;
  }
  const std::string gbk = platform::QStringToGbk(address);
  if (zebui::IsOpenableLinkAddress(gbk)) platform::OpenUrl(gbk);
}

void CHtmlCtrl::OnLinkHovered(const QUrl& url) {
  if (CWnd* notify = CWnd::FromWidget(notify_))
    notify->SetWindowText(platform::QStringToGbk(url.toString()));
}

QVariant CHtmlCtrl::loadResource(int type, const QUrl& name) {
  const bool ours = name.scheme().compare(QLatin1String("qrc"), Qt::CaseInsensitive) == 0 ||
                    (name.scheme().isEmpty() && name.path().startsWith(QLatin1String(":/")));
  return ours ? QTextBrowser::loadResource(type, name) : QVariant();
}
