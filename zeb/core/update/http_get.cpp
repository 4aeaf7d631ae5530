// The update check's fetch over any getter (http_get.h): the status it
// reports and the empty server that is never asked.
#include "zeb/core/update/http_get.h"

bool HttpGet(IHttpGetter& http, std::string& text, const std::string& server, int port,
             const std::string& path, int* status, int timeoutMs, size_t maxBodyBytes) {
  if (status) *status = 0;
  SHttpRequest request;
  request.host = server;
  request.port = port;
  request.path = path;
  request.connectTimeoutMs = timeoutMs;
  request.readTimeoutMs = timeoutMs;
  request.maxBodyBytes = maxBodyBytes;
  if (server.empty()) return false;  // no request without a server
  SHttpResult result = http.Get(request);
  if (status) {
    const bool answered = result.status != 0;
    *status = answered ? result.status : (result.error == EHttpError::BadRequest ? 0 : 504);
  }
  if (!result.Ok()) return false;
  text = std::move(result.body);
  return true;
}
