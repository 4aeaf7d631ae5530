// The Qt Network getter (http_get.h). The body grows as it arrives and is
// refused once it passes the cap, whatever the framing (a declared length,
// chunks, or none until the close): Qt's own read buffer is held small, so
// the network is read only as fast as the handlers take it, and every byte
// that arrives is counted. The connect phase ends when the request has
// been sent, the read phase when the answer is complete; both are hard
// bounds, checked on every piece that arrives as well as by the timers.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "zeb/core/update/http_get.h"

namespace {

// What Qt may hold of an answer that the handlers have not taken yet.
constexpr qint64 kReadBufferBytes = 64 * 1024;

QUrl MakeUrl(const SHttpRequest& request) {
  std::string path = request.path;
  if (path.empty() || path[0] != '/') path.insert(path.begin(), '/');
  QUrl url(
      QString::fromStdString("http://" + request.host + ":" + std::to_string(request.port) + path),
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
  reply->setReadBufferSize(kReadBufferBytes);

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
  // The timers' own deadlines, for the checks made as data arrives: a
  // stream of pieces must not hold the answer open past them.
  QDeadlineTimer connectDeadline(request.connectTimeoutMs, Qt::PreciseTimer);
  QDeadlineTimer readDeadline = QDeadlineTimer::Forever;
  auto pastDeadline = [&] {
    if (readDeadline.hasExpired()) stop(EHttpError::ReadTimeout);
    else if (readDeadline.isForever() && connectDeadline.hasExpired())
      stop(EHttpError::ConnectTimeout);
    return stopped != EHttpError::None;
  };
  QObject::connect(&connectTimer, &QTimer::timeout, [&] { stop(EHttpError::ConnectTimeout); });
  QObject::connect(&readTimer, &QTimer::timeout, [&] { stop(EHttpError::ReadTimeout); });
  QObject::connect(reply, &QNetworkReply::requestSent, [&] {
    if (!connectTimer.isActive()) return;
    connectTimer.stop();
    readTimer.start(request.readTimeoutMs);
    readDeadline.setRemainingTime(request.readTimeoutMs, Qt::PreciseTimer);
  });
  QObject::connect(reply, &QNetworkReply::metaDataChanged, [&] {
    // A declared length beyond the cap is refused before any body is read.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toULongLong() > request.maxBodyBytes) stop(EHttpError::TooLarge);
  });
  // Everything that arrived, taken or not: caught even where no handler
  // gets to read it.
  QObject::connect(reply, &QNetworkReply::downloadProgress, [&](qint64 received, qint64) {
    if (pastDeadline()) return;
    if (received > 0 && (quint64)received > request.maxBodyBytes) stop(EHttpError::TooLarge);
  });
  QObject::connect(reply, &QNetworkReply::readyRead, [&] {
    if (pastDeadline()) return;
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
  pastDeadline();  // an answer completed late is still late

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
    if (result.body.size() + (size_t)rest.size() > request.maxBodyBytes)
      result.error = EHttpError::TooLarge;
    else result.body.append(rest.constData(), (size_t)rest.size());
  }
  // The handlers above point at this frame: none may run once it is gone.
  QObject::disconnect(reply, nullptr, nullptr, nullptr);
  delete reply;
  if (!result.Ok()) result.body.clear();
  return result;
}
