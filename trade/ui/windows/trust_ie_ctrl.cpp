#include "trade/ui/windows/trust_ie_ctrl.h"

#include <QCoreApplication>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "platform/gbk.h"
#include "sharecode/mythread.h"
#include "trade/ui/rules/url_text.h"
#include "trade/ui/rules/web_engine_start.h"

namespace {

// The pages' profile: off the record, made on first use, ended with the
// application (after every view, which the windows end before).
QWebEngineProfile* CustodyProfile() {
  static QWebEngineProfile* profile = new QWebEngineProfile(QCoreApplication::instance());
  return profile;
}

// A page that keeps quiet, keeps to its view and to the web: a link, a
// script or a new window that leads anywhere but http or https opens
// nothing, neither here nor on the desktop (which would hand a file or an
// address of another scheme to whatever program the desktop picks).
class CCustodyPage : public QWebEnginePage {
 public:
  explicit CCustodyPage(QObject* parent) : QWebEnginePage(CustodyProfile(), parent) {
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    // A new window would float outside the trading window: a web address
    // opens here instead, any other opens nowhere.
    connect(this, &QWebEnginePage::newWindowRequested, [this](QWebEngineNewWindowRequest& request) {
      if (Allowed(request.requestedUrl())) request.openIn(this);
    });
    // A page whose renderer ends stays blank; the program goes on.
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [](RenderProcessTerminationStatus status, int code) {
              if (status == NormalTerminationStatus) return;
              WriteTraceLine(TRACE_HERE, 0, "custody page renderer ended (status %d, code %d)\n",
                             int(status), code);
            });
  }

  int Refused() const { return refused_; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
    return Allowed(url);
  }
  void javaScriptAlert(const QUrl&, const QString&) override {}
  bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
  bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
    return false;
  }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                const QString&) override {}

 private:
  bool Allowed(const QUrl& url) {
    const std::string address = url.toEncoded().toStdString();
    if (IsWebAddress(address)) return true;
    ++refused_;
    WriteTraceLine(TRACE_HERE, 0, "custody page: not a web address, not opened: %.200s\n",
                   address.c_str());
    return false;
  }

  int refused_ = 0;
};

}  // namespace

CTrustIECtrl::CTrustIECtrl() = default;

CTrustIECtrl::~CTrustIECtrl() { ReleaseBrowser(); }

int CTrustIECtrl::OnCreate(LPCREATESTRUCT cs) {
  if (CWndImpl<QWidget>::OnCreate(cs) == -1) return -1;
  // Where the engine cannot start the window stays, without a page.
  if (!PrepareWebEngine()) return 0;
  view_ = new QWebEngineView(GetWidget());
  view_->setPage(new CCustodyPage(view_));
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  view_->show();
  return 0;
}

void CTrustIECtrl::OnSize(UINT type, int cx, int cy) {
  CWndImpl<QWidget>::OnSize(type, cx, cy);
  if (view_) view_->setGeometry(0, 0, cx, cy);
}

void CTrustIECtrl::Navigate(const std::string& address) {
  if (!view_) return;
  if (!IsWebAddress(address)) {
    WriteTraceLine(TRACE_HERE, 0, "not a web address, nothing opened: %s\n", address.c_str());
    return;
  }
  view_->setUrl(QUrl(QString::fromLatin1(address.c_str())));
}

int CTrustIECtrl::RefusedNavigations() const {
  const auto* page = view_ ? dynamic_cast<const CCustodyPage*>(view_->page()) : nullptr;
  return page ? page->Refused() : 0;
}

std::string CTrustIECtrl::GetLocationURL() const {
  return view_ ? view_->url().toString().toStdString() : std::string();
}

void CTrustIECtrl::OnDestroy() {
  ReleaseBrowser();
  CWndImpl<QWidget>::OnDestroy();
}

void CTrustIECtrl::ReleaseBrowser() {
  if (!view_) return;
  // The browser stops before it goes, so no load finishes into a view
  // that is gone.
  view_->stop();
  delete view_;
  view_ = nullptr;
}
