// The custody business's web pages for tests and demonstrations: plain
// HTTP/1.1 on loopback. A page's address is its base (this server and the
// page's name) followed by "/accountname/<account>/sessionid/<session>", as
// the trading window opens it; the page shows who asked and a few sample
// rows (and runs a line of script, as the real pages need scripts).
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "sim/serve/connection_server.h"

class CCustodySimServer {
 public:
  CCustodySimServer();
  ~CCustodySimServer();
  CCustodySimServer(const CCustodySimServer&) = delete;
  CCustodySimServer& operator=(const CCustodySimServer&) = delete;

  int Start(int port);  // 0 = any free port; the port or -1
  void Stop();

  // The page names served ("CollectionPublishedApply" ...): the base
  // address of a page is http://127.0.0.1:<port>/<name>.
  static std::vector<std::string> PageNames();

  // A page whose links lead off the web: to a file, to a made-up scheme
  // (kMadeUpScheme), each also as a new window, and by script; its last
  // link leads back to a custody page (kOutsideLinksBack). Each link is a
  // block kOutsideLinkHeight pixels high, in the order of kOutsideLinks,
  // below a first block "probe" whose text becomes "seen" when clicked (so
  // a client knows that its clicks arrive).
  static constexpr const char* kOutsideLinksPath = "/outside-links";
  static constexpr const char* kMadeUpScheme = "zebtest-made-up";
  static constexpr const char* kOutsideLinksBack = "/TrusteeshipApply/accountname/back/sessionid/1";
  static constexpr int kOutsideLinkHeight = 40;
  static std::vector<std::string> OutsideLinks();

  // The answer to a request path: 200 with the page, or 404.
  struct SAnswer {
    int status = 404;
    std::string body;  // UTF-8 HTML
  };
  static SAnswer Answer(const std::string& path);

  // The request paths received, the latest kKeptRequests of them.
  std::vector<std::string> Requests() const;

 private:
  static constexpr size_t kKeptRequests = 1000;
  void Serve(int fd);

  mutable std::mutex lock_;
  std::vector<std::string> requests_;
  // Last, so its threads stop before the members they use go.
  sim::ConnectionServer connections_;
};
