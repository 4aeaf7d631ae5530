// The update-server simulator (update_sim.h). Each connection is closed
// after its answer ("Connection: close").
#include "update_sim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>

#include "platform/socket.h"
#include "sim/serve/http_text.h"
#include "sim/serve/traffic_log.h"

namespace {

constexpr size_t kMaxRequestHead = 8192;

std::string Head(const char* status, size_t length, const std::string& extra = "") {
  return sim::HttpResponseHead(status, "text/xml", length, extra);
}

}  // namespace

CUpdateSimServer::CUpdateSimServer(EUpdateSimMode mode, int slowStepMs)
    : mode_(mode),
      slowStepMs_(slowStepMs),
      connections_("sim_update", [this](int fd, int) { Serve(fd); }) {}

CUpdateSimServer::~CUpdateSimServer() { Stop(); }

int CUpdateSimServer::Start(int port) {
  running_ = true;
  const int chosen = connections_.Start(port);
  if (chosen < 0) running_ = false;
  return chosen;
}

void CUpdateSimServer::Stop() {
  running_ = false;
  connections_.Stop();
}

void CUpdateSimServer::SetFile(const std::string& path, std::string body) {
  std::lock_guard<std::mutex> g(lock_);
  files_[path] = std::move(body);
}

void CUpdateSimServer::SetRedirect(const std::string& path, const std::string& location) {
  std::lock_guard<std::mutex> g(lock_);
  redirects_[path] = location;
}

void CUpdateSimServer::SetFlood(const std::string& path, size_t totalBytes) {
  std::lock_guard<std::mutex> g(lock_);
  floods_[path] = totalBytes;
}

std::vector<std::string> CUpdateSimServer::Requests() const {
  std::lock_guard<std::mutex> g(lock_);
  return requests_;
}

void CUpdateSimServer::Serve(int fd) {
  std::string head;
  char buffer[1024];
  if (!sim::ReadHttpHead(fd, &head, kMaxRequestHead, 2000)) return;
  const std::string path = sim::HttpGetPath(head);
  sim::ProgramLog().Request("sim_update: GET " + path);
  std::string answer, body;
  size_t filler = 0;
  bool found = false;
  {
    std::lock_guard<std::mutex> g(lock_);
    requests_.push_back(path);
    auto file = files_.find(path);
    auto redirect = redirects_.find(path);
    auto flood = floods_.find(path);
    if (redirect != redirects_.end()) {
      answer = Head("302 Found", 0, "Location: " + redirect->second + "\r\n");
    } else if (flood != floods_.end()) {
      filler = flood->second;
      answer = Head("200 OK", filler);
      found = true;
    } else if (file != files_.end()) {
      body = file->second;
      answer = Head("200 OK", body.size());
      found = true;
    } else {
      body = "not found";
      answer = Head("404 Not Found", body.size());
    }
  }
  if (mode_ == EUpdateSimMode::Silent) {
    // Hold the connection without a word until the client gives up.
    while (running_ && platform::RecvSome(fd, buffer, sizeof buffer, 50) == -2) {
    }
    return;
  }
  const bool chunked = found && mode_ == EUpdateSimMode::Chunked;
  if (chunked) {
    answer =
        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n"
        "Connection: close\r\n\r\n";
  }
  if (mode_ != EUpdateSimMode::Slow) {
    if (!platform::SendAll(fd, answer.data(), answer.size(), 2000)) return;
    if (!SendBody(fd, body, filler, chunked)) return;
  } else {
    if (!platform::SendAll(fd, answer.data(), answer.size(), 2000)) return;
    for (size_t i = 0; i < body.size() && running_; ++i) {
      // A closed client shows as readable with nothing to read.
      if (platform::RecvSome(fd, buffer, sizeof buffer, slowStepMs_) == 0) return;
      if (!platform::SendAll(fd, &body[i], 1, 2000)) return;
    }
  }
  // Let the client read everything before the close.
  platform::RecvSome(fd, buffer, sizeof buffer, 1000);
}

bool CUpdateSimServer::SendBody(int fd, const std::string& body, size_t fillerBytes, bool chunked) {
  const std::string filler(std::min(fillerBytes, kFloodChunk), 'x');
  size_t bodyDone = 0, fillerDone = 0;
  while (running_ && (bodyDone < body.size() || fillerDone < fillerBytes)) {
    std::string_view piece;
    if (bodyDone < body.size()) {
      piece = std::string_view(body).substr(bodyDone, kFloodChunk);
      bodyDone += piece.size();
    } else {
      piece = std::string_view(filler).substr(0, std::min(kFloodChunk, fillerBytes - fillerDone));
      fillerDone += piece.size();
    }
    if (chunked && slowStepMs_ > 0) {
      // A pause between chunks; a closed client shows as readable with
      // nothing to read.
      char buffer[256];
      if (platform::RecvSome(fd, buffer, sizeof buffer, slowStepMs_) == 0) return false;
    }
    if (chunked) {
      char size[32];
      const int n = std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
      if (!platform::SendAll(fd, size, (size_t)n, 2000)) return false;
    }
    if (!platform::SendAll(fd, piece.data(), piece.size(), 2000)) return false;
    bodyBytesSent_ += piece.size();
    if (chunked && !platform::SendAll(fd, "\r\n", 2, 2000)) return false;
  }
  return !chunked || platform::SendAll(fd, "0\r\n\r\n", 5, 2000);
}

std::string CUpdateSimServer::BuildList(
    const std::vector<std::pair<std::string, std::string>>& servers,
    const std::vector<SComponent>& components) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<Product>\r\n  <ServerList>\r\n";
  for (size_t i = 0; i < servers.size(); ++i) {
    xml += "    <Server" + std::to_string(i + 1) + " Name=\"" + servers[i].first + "\" URL=\"" +
           servers[i].second + "\"/>\r\n";
  }
  xml += "  </ServerList>\r\n";
  for (const SComponent& c : components) {
    xml += "  <Component>\r\n    <Name>" + c.name + "</Name>\r\n    <UpdateTime>" + c.time +
           "</UpdateTime>\r\n    <DownAddress>" + c.address +
           "</DownAddress>\r\n  </Component>\r\n";
  }
  xml += "</Product>\r\n";
  return xml;
}
