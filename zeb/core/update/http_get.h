// Fetching the update list over HTTP. The check talks to an IHttpGetter so
// tests hand it answers; the program's getter goes through Qt Network.
// Every fetch is bounded: a connect time-out, a read time-out over the
// whole answer (so neither a silent nor a dripping server can hold
// start-up), a body size cap, and redirects are not followed.
#pragma once
#include <cstddef>
#include <string>

constexpr size_t kHttpDefaultMaxBody = 4u << 20;

struct SHttpRequest {
  std::string host;  // name or dotted address; empty fails at once
  int port = 80;
  std::string path;              // "/" is put in front when missing
  int connectTimeoutMs = 20000;  // until the request is sent
  int readTimeoutMs = 20000;     // from the request sent until the answer is complete
  size_t maxBodyBytes = kHttpDefaultMaxBody;
};

enum class EHttpError {
  None,
  BadRequest,   // no host, a port out of range, a path that makes no URL
  NoEventLoop,  // no Qt application object to run the request in
  ConnectTimeout,
  ReadTimeout,
  Network,   // refused, reset, name not found ...
  TooLarge,  // the body passed maxBodyBytes
  Status,    // an answer other than 2xx (a redirect included)
};

struct SHttpResult {
  EHttpError error = EHttpError::None;
  int status = 0;    // the HTTP status when an answer came
  std::string body;  // complete only when error is None
  bool Ok() const { return error == EHttpError::None; }
};

class IHttpGetter {
 public:
  virtual ~IHttpGetter() = default;
  virtual SHttpResult Get(const SHttpRequest& request) = 0;
};

// The program's getter: a QNetworkAccessManager driven by a local event
// loop on the calling (user-interface) thread, which it blocks for at most
// the two time-outs. Needs a Qt application object.
class CQtHttpGetter : public IHttpGetter {
 public:
  SHttpResult Get(const SHttpRequest& request) override;
};

// The fetch as the update check uses it: true with the body in text for a
// 2xx answer. status: the HTTP status when an answer came, 504 when none
// did (no connection, a time-out, a network error); 0 for a request that
// was never made.
bool HttpGet(IHttpGetter& http, std::string& text, const std::string& server, int port,
             const std::string& path, int* status, int timeoutMs,
             size_t maxBodyBytes = kHttpDefaultMaxBody);
