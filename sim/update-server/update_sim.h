// An update server for tests and demonstrations: plain HTTP/1.1 on
// loopback that serves an update list and component files by path, or
// misbehaves on purpose (never answers, answers a byte at a time, or
// floods a chunked answer).
#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sim/serve/connection_server.h"

enum class EUpdateSimMode {
  Normal,   // answers every request at once
  Silent,   // reads the request and never answers
  Slow,     // sends the head at once, then one body byte per slow step
  Chunked,  // answers with Transfer-Encoding: chunked (no length given), a
            // slow step between chunks
};

class CUpdateSimServer {
 public:
  explicit CUpdateSimServer(EUpdateSimMode mode = EUpdateSimMode::Normal, int slowStepMs = 100);
  ~CUpdateSimServer();
  CUpdateSimServer(const CUpdateSimServer&) = delete;
  CUpdateSimServer& operator=(const CUpdateSimServer&) = delete;

  int Start(int port);  // 0 = any free port; the port or -1
  void Stop();

  // What a GET of path answers with (200); other paths get 404.
  void SetFile(const std::string& path, std::string body);
  // The answer to path is totalBytes of filler (200) in chunks of
  // kFloodChunk, made as they are sent, so a test's flood costs the
  // server no memory; sending ends early when the client stops reading
  // for two seconds or goes away. Sent chunked in Chunked mode, else
  // with its length declared (Slow mode sends none of it).
  static constexpr size_t kFloodChunk = 64 * 1024;
  void SetFlood(const std::string& path, size_t totalBytes);
  // Body bytes sent so far, over all connections.
  size_t BodyBytesSent() const { return bodyBytesSent_.load(); }

  // The answer to path is a redirect (302) to location.
  void SetRedirect(const std::string& path, const std::string& location);

  // The request paths received, in order.
  std::vector<std::string> Requests() const;

  // An update list: servers (name, URL) as Server1.. in the server list,
  // components (name, update time, download address).
  struct SComponent {
    std::string name, time, address;
  };
  static std::string BuildList(const std::vector<std::pair<std::string, std::string>>& servers,
                               const std::vector<SComponent>& components);

 private:
  void Serve(int fd);
  // Sends the answer's body in chunks of at most kFloodChunk (chunked
  // framing when chunked); false when the client went away.
  bool SendBody(int fd, const std::string& body, size_t fillerBytes, bool chunked);

  EUpdateSimMode mode_;
  int slowStepMs_;
  mutable std::mutex lock_;
  std::map<std::string, std::string> files_;
  std::map<std::string, std::string> redirects_;
  std::map<std::string, size_t> floods_;
  std::atomic<size_t> bodyBytesSent_{0};
  std::vector<std::string> requests_;
  std::atomic<bool> running_{false};
  // Last, so its threads stop before the members they use go.
  sim::ConnectionServer connections_;
};
