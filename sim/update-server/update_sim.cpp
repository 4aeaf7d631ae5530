// The update-server simulator (update_sim.h). Each connection is closed
// after its answer ("Connection: close").
#include "update_sim.h"

#include <chrono>

#include "platform/socket.h"

namespace {

constexpr size_t kMaxRequestHead = 8192;

// The path of "GET /path HTTP/1.1"; empty for anything else.
std::string RequestPath(const std::string& head) {
  if (head.compare(0, 4, "GET ") != 0) return "";
  size_t end = head.find(' ', 4);
  if (end == std::string::npos) return "";
  return head.substr(4, end - 4);
}

std::string Head(const char* status, size_t length, const std::string& extra = "") {
  return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: text/xml\r\nContent-Length: " +
         std::to_string(length) + "\r\nConnection: close\r\n" + extra + "\r\n";
}

}  // namespace

CUpdateSimServer::CUpdateSimServer(EUpdateSimMode mode, int slowStepMs)
    : mode_(mode), slowStepMs_(slowStepMs), connections_("sim_update", [this](int fd, int) { Serve(fd); }) {}

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

std::vector<std::string> CUpdateSimServer::Requests() const {
  std::lock_guard<std::mutex> g(lock_);
  return requests_;
}

void CUpdateSimServer::Serve(int fd) {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestHead) {
    const long n = platform::RecvSome(fd, buffer, sizeof buffer, 2000);
    if (n <= 0) return;
    head.append(buffer, (size_t)n);
  }
  const std::string path = RequestPath(head);
  std::string answer, body;
  {
    std::lock_guard<std::mutex> g(lock_);
    requests_.push_back(path);
    auto file = files_.find(path);
    auto redirect = redirects_.find(path);
    if (redirect != redirects_.end()) {
      answer = Head("302 Found", 0, "Location: " + redirect->second + "\r\n");
    } else if (file != files_.end()) {
      body = file->second;
      answer = Head("200 OK", body.size());
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
  if (mode_ == EUpdateSimMode::Normal) {
    answer += body;
    platform::SendAll(fd, answer.data(), answer.size(), 2000);
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

std::string CUpdateSimServer::BuildList(const std::vector<std::pair<std::string, std::string>>& servers,
                                        const std::vector<SComponent>& components) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<Product>\r\n  <ServerList>\r\n";
  for (size_t i = 0; i < servers.size(); ++i) {
    xml += "    <Server" + std::to_string(i + 1) + " Name=\"" + servers[i].first + "\" URL=\"" +
           servers[i].second + "\"/>\r\n";
  }
  xml += "  </ServerList>\r\n";
  for (const SComponent& c : components) {
    xml += "  <Component>\r\n    <Name>" + c.name + "</Name>\r\n    <UpdateTime>" + c.time +
           "</UpdateTime>\r\n    <DownAddress>" + c.address + "</DownAddress>\r\n  </Component>\r\n";
  }
  xml += "</Product>\r\n";
  return xml;
}
