// What the trading window's rule tests share: a session store whose
// outgoing messages and posts are recorded, a host pane that records what
// it is asked, a window that records what reaches it, and replies built as
// the server sends them.
#pragma once
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "platform/window.h"
#include "support/shell_test_app.h"
#include "trade/core/trade_messages.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade/trade_test_util.h"
#include "trade/ui/rules/host_pane.h"

namespace tradeui_test {

using tradetest::Fields;
using tradetest::FieldsOf;

// One outgoing message: its type and its body fields in wire order.
struct SSent {
  std::string msgType;
  Fields body;  // the fields after 336 and before 1010
};

// A session whose requests are recorded instead of sent, and whose posts to
// windows are recorded too (replies fed to it are dispatched as received).
class RecordedSession {
 public:
  RecordedSession()
      : sinks_(STradeSinks{[this](HWND wnd, UINT msg, WPARAM w, LPARAM l) {
                             std::lock_guard<std::mutex> g(m_);
                             posts_.push_back({wnd, msg, w, l});
                             return TRUE;
                           },
                           nullptr, nullptr,
                           [this](const char* data, int len) {
                             std::lock_guard<std::mutex> g(m_);
                             sent_.emplace_back(data, len);
                           }}) {}

  CTradeSession session;

  // Every request sent so far, and forgets them.
  std::vector<SSent> TakeSent() {
    std::lock_guard<std::mutex> g(m_);
    std::vector<SSent> out;
    for (const std::string& m : sent_) {
      SSent s;
      bool body = false;
      for (const auto& f : FieldsOf(m)) {
        if (f.first == 1035) s.msgType = f.second;
        if (f.first == 1010) body = false;
        if (body) s.body.push_back(f);
        if (f.first == 336) body = true;
      }
      out.push_back(s);
    }
    sent_.clear();
    return out;
  }
  std::vector<std::string> SentTypes() {
    std::vector<std::string> types;
    for (const SSent& s : TakeSent()) types.push_back(s.msgType);
    return types;
  }
  struct Post {
    HWND wnd;
    UINT msg;
    WPARAM w;
    LPARAM l;
  };
  std::vector<Post> Posts() {
    std::lock_guard<std::mutex> g(m_);
    return posts_;
  }

  // A reply as the server sends it, dispatched by the store.
  void Feed(const char* msgType, const Fields& fields) {
    const std::string reply = tradetest::Reply(msgType, fields);
    session.DispatchReply(reply.data(), static_cast<int>(reply.size()));
  }
  // A successful login with the account fields given (tag, value).
  void Login(const Fields& extra = {}) {
    Fields f = {{9001, "0"}, {336, "S1"}};
    f.insert(f.end(), extra.begin(), extra.end());
    Feed(MT_LOGIN_RSP, f);
  }

 private:
  std::mutex m_;
  std::vector<std::string> sent_;
  std::vector<Post> posts_;
  ScopedTradeSinks sinks_;
};

// A host pane that records what it is asked and answers from a table.
class FakeHost : public ITradeHostPane {
 public:
  std::map<int, uint32_t> known;  // code -> previous close
  std::vector<std::string> calls;
  std::vector<std::vector<std::string>> subscriptions;

  bool FindCode(int code) override {
    calls.push_back("find " + std::to_string(code));
    return known.count(code) != 0;
  }
  void AskName(int code) override { calls.push_back("name " + std::to_string(code)); }
  void AskQuote(int code) override { calls.push_back("quote " + std::to_string(code)); }
  uint32_t GetPreClose(int code) override {
    calls.push_back("preclose " + std::to_string(code));
    auto it = known.find(code);
    return it == known.end() ? 0 : it->second;
  }
  void Subscribe(const std::vector<std::string>& codes) override { subscriptions.push_back(codes); }
  void Leave() override { calls.push_back("leave"); }
};

// A window that records the messages it receives.
class MsgProbe : public platform::MsgTarget {
 public:
  struct Msg {
    UINT message;
    WPARAM w;
    LPARAM l;
  };
  std::vector<Msg> got;
  LRESULT answer = 1;
  LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override {
    got.push_back({message, w, l});
    return answer;
  }
  std::vector<UINT> Messages() const {
    std::vector<UINT> out;
    for (const Msg& m : got) out.push_back(m.message);
    return out;
  }
};

// Noon of a local date, so the day never depends on the time zone.
inline int64_t LocalNoon(int year, int month, int day) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&t));
}

// The texts of the boxes shown so far.
inline std::vector<std::string> BoxTexts(const platform::RecordingMessageBoxSink& boxes) {
  std::vector<std::string> out;
  for (const auto& b : boxes.Boxes()) out.push_back(b.text);
  return out;
}

}  // namespace tradeui_test
