// A trade session answered by the trade simulator in the test's own
// process, without sockets: each request the session sends is answered by
// the simulator at once, and its reply reaches the session later, from the
// message queue, as the communication thread hands replies on. Replies
// therefore queue up behind the user's clicks exactly as in the program.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "platform/window.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/trade_connection.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade_sim.h"

namespace tradeui_test {

class CSimLoop : public ITradeConnection, public platform::MsgTarget {
 public:
  explicit CSimLoop(STradeSimOptions options)
      : sim(Quiet(std::move(options))),
        sinks_(STradeSinks{
            nullptr, nullptr,
            [](int code) { ADD_FAILURE() << "the session ended the process " << code; }, nullptr}) {
    session.SetConnection(this);
  }
  ~CSimLoop() override {
    DetachHandle();
    session.SetConnection(nullptr);
  }

  CTradeSimServer sim;
  CTradeSession session;

  // Logs in as the simulator's user; true once the login reply is in.
  bool Login(HWND mainWindow = nullptr) {
    session.SetUserId("u01");
    session.SetPasswordDigest(PasswordDigest("pass"));
    session.SendLogin();
    if (!platform::PumpUntil([&] { return session.GetLoginResult() == 1; }, 10000)) return false;
    if (mainWindow) session.SetMainWnd(mainWindow);
    return true;
  }
  // The requests of a type the simulator received, oldest first.
  std::vector<STradeSimRequest> Requests(const std::string& msgType) const {
    std::vector<STradeSimRequest> out;
    for (const STradeSimRequest& r : sim.RequestLog())
      if (r.msgType == msgType) out.push_back(r);
    return out;
  }
  bool Idle() const { return pending_.empty(); }

  int Send(const char* data, int len) override {
    std::string reply = sim.Answer(std::string(data, static_cast<size_t>(len)), ++requests_);
    if (reply.empty()) return 0;
    pending_.push_back(std::move(reply));
    ::PostMessage(GetSafeHwnd(), kDeliver, 0, 0);
    return 0;
  }

  LRESULT WindowProc(UINT message, WPARAM, LPARAM) override {
    if (message != kDeliver || pending_.empty()) return 0;
    const std::string reply = std::move(pending_.front());
    pending_.pop_front();
    session.DispatchReply(reply.data(), static_cast<int>(reply.size()));
    return 0;
  }

 private:
  static constexpr UINT kDeliver = 0x7FF0;
  static STradeSimOptions Quiet(STradeSimOptions o) {
    o.tls = false;
    o.log = false;
    return o;
  }

  ScopedTradeSinks sinks_;
  std::deque<std::string> pending_;
  int requests_ = 0;
};

}  // namespace tradeui_test
