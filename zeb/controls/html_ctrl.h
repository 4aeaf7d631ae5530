// CHtmlCtrl: HTML text shown in a dialog as an ordinary child control (the
// notice dialogs' messages), on a QTextBrowser.
//
// What it guarantees:
// - The page runs no script and loads nothing from files or the network:
//   only our own resources (":/...", "qrc:") and data: addresses.
// - A link "app:" + command (scheme without ASCII case) never navigates:
//   the command goes to OnAppCommand ("Minimise" minimises the main
//   window, "Beep" beeps, anything else shows the "Unexpected Command"
//   box with the command as its text).
// - Any other link stays on the page: "#name" scrolls to the anchor,
//   http, https and mailto addresses open outside (link_policy.h,
//   through the platform's OpenUrl sink), everything else is ignored.
//   Links meant for a new window open in the control too.
// - The page can never close the control.
// Texts are GBK.
#pragma once
#include <QPointer>
#include <string>
#include <string_view>

#include "platform/wnd_qt_bases.h"

namespace zebui {

// The ten accented letters à á è é ì í ò ó ù ú (GBK) become their HTML
// entities; nothing else changes. The text is walked character by
// character, so the bytes of two neighbouring characters never match.
std::string EscapeHtml(std::string_view gbk);

}  // namespace zebui

class CHtmlCtrl : public CWndImpl<QTextBrowser> {
 public:
  CHtmlCtrl();
  ~CHtmlCtrl() override;

  // Takes the place of the parent's placeholder control with the id (its
  // rectangle, style and id; the placeholder goes) and shows the stored
  // text. notifyWnd, when given, shows the address of the link under the
  // mouse as its window text. FALSE when the parent has no such control.
  BOOL CreateInPlace(UINT id, CWnd* parent, CWnd* notifyWnd = nullptr);
  // Stores the text (escaped first when escape is set) and, once the
  // control exists, shows it at once in place of the page.
  void SetHtmlText(const char* text, BOOL escape = TRUE);
  const std::string& GetHtmlText() const { return html_; }

  // The commands of "app:" links (GBK).
  virtual void OnAppCommand(const char* command);

  // What the page may load; see above.
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void WriteHtml();
  void OnLinkClicked(const QUrl& url);
  void OnLinkHovered(const QUrl& url);

  std::string html_;
  bool shown_ = false;
  QPointer<QWidget> notify_;
};
