// The Qt Network getter (http_get.h). The body grows as it arrives and is
// refused once it passes the cap; the connect phase ends when the request
// has been sent, the read phase when the answer is complete.
#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "zeb/shell/update/http_get.h"

namespace {

QUrl MakeUrl(const SHttpRequest& request) {
  std::string path = request.path;
  if (path.empty() || path[0] != '/') path.insert(path.begin(), '/');
  QUrl url(QString::fromStdString("http://" + request.host + ":" + std::to_string(request.port) + path),
           QUrl::StrictMode);
  return url;
}

}  // namespace

SHttpResult CQtHttpGetter::Get(const SHttpRequest& request) {
  SHttpResult result;
  if (request.host.empty() || request.port < 1 || request.port > 65535) {
    result.error = EHttpError::BadRequest;
    return result;
  }
  const QUrl url = MakeUrl(request);
  if (!url.isValid() || url.host().isEmpty()) {
    result.error = EHttpError::BadRequest;
    return result;
  }
  if (!QCoreApplication::instance()) {
    result.error = EHttpError::NoEventLoop;
    return result;
  }

  QNetworkAccessManager manager;
  QNetworkRequest get(url);
  get.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  get.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  get.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  get.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  QNetworkReply* reply = manager.get(get);

  QEventLoop loop;
  QTimer connectTimer, readTimer;
  for (QTimer* timer : {&connectTimer, &readTimer}) {
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
  }
  EHttpError stopped = EHttpError::None;
  auto stop = [&](EHttpError why) {
    if (stopped == EHttpError::None) stopped = why;
    reply->abort();
  };
  QObject::connect(&connectTimer, &QTimer::timeout, [&] { stop(EHttpError::ConnectTimeout); });
  QObject::connect(&readTimer, &QTimer::timeout, [&] { stop(EHttpError::ReadTimeout); });
  QObject::connect(reply, &QNetworkReply::requestSent, [&] {
    if (!connectTimer.isActive()) return;
    connectTimer.stop();
    readTimer.start(request.readTimeoutMs);
  });
  QObject::connect(reply, &QNetworkReply::metaDataChanged, [&] {
    // A declared length beyond the cap is refused before any body is read.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toULongLong() > request.maxBodyBytes) stop(EHttpError::TooLarge);
  });
  QObject::connect(reply, &QNetworkReply::readyRead, [&] {
    const QByteArray piece = reply->readAll();
    if (result.body.size() + (size_t)piece.size() > request.maxBodyBytes) {
      stop(EHttpError::TooLarge);
      return;
    }
    result.body.append(piece.constData(), (size_t)piece.size());
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  connectTimer.start(request.connectTimeoutMs);
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

  const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (status.isValid()) result.status = status.toInt();
  if (stopped != EHttpError::None) {
    result.error = stopped;
  } else if (status.isValid() && (result.status < 200 || result.status > 299)) {
    result.error = EHttpError::Status;
  } else if (reply->error() != QNetworkReply::NoError || !status.isValid()) {
    result.error = EHttpError::Network;  // a cut answer is no answer
  } else {
    // What arrived after the last readyRead.
    const QByteArray rest = reply->readAll();
    if (result.body.size() + (size_t)rest.size() > request.maxBodyBytes) result.error = EHttpError::TooLarge;
    else result.body.append(rest.constData(), (size_t)rest.size());
  }
  // The handlers above point at this frame: none may run once it is gone.
  QObject::disconnect(reply, nullptr, nullptr, nullptr);
  delete reply;
  if (!result.Ok()) result.body.clear();
  return result;
}
