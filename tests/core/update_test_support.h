// Shared fixtures of the update-check tests: a fresh program folder, a
// scripted HTTP getter, and update lists built from parts.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/paths.h"
#include "support/shell_temp_folders.h"
#include "support/shell_test_app.h"
#include "sim/update-server/update_sim.h"
#include "zeb/core/update/http_get.h"

namespace update_test {

// Answers every request with one scripted result and records the requests.
class ScriptedHttp : public IHttpGetter {
 public:
  SHttpResult answer;
  std::vector<SHttpRequest> requests;
  SHttpResult Get(const SHttpRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  void Serve(const std::string& body) {
    answer = SHttpResult{};
    answer.status = 200;
    answer.body = body;
  }
};

// One "lastupdate.dat" record.
inline std::string LastUpdateRecord(const std::string& name, const std::string& time) {
  std::string r(59, '\0');
  r.replace(0, std::min<size_t>(name.size(), 50), name.substr(0, 50));
  r.replace(50, std::min<size_t>(time.size(), 9), time.substr(0, 9));
  return r;
}

using Component = CUpdateSimServer::SComponent;

inline std::string List(const std::vector<std::pair<std::string, std::string>>& servers,
                        const std::vector<Component>& components) {
  return CUpdateSimServer::BuildList(servers, components);
}

// Waits for a condition, polling, up to a generous bound.
inline bool WaitFor(const std::function<bool()>& done, int boundMs = 10000) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace update_test
