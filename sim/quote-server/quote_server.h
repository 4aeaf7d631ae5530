// The quote-server simulator: speaks the frame and login protocol of the
// quote link on loopback, serves the market table, answers keep-alives,
// quote-list requests, the trading window's price and single-quote
// requests, the alarm quotes and the chart view's requests (deal list,
// time-share, capital, big orders) with a moving market, the information
// texts (info_items.h), pushes market-list updates and the shown items'
// records and big orders, and
// injects faults on request. Later request types plug in through
// RegisterHandler. Runs in-process (tests, benchmarks) or as sim_quote.
// Clients are served within the bounds of ConnectionServer; a client's
// frames are refused above the longest request the link sends.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/socket_io.h"
#include "sim/ports.h"
#include "sim/quote-server/chart_feeds.h"
#include "sim/quote-server/market_walk.h"
#include "sim/quote-server/quote_lists.h"
#include "sim/serve/connection_server.h"

namespace sim {

constexpr int kDefaultQuotePort = kQuoteSimPort;
// What the simulator remembers of the requests it received: the latest
// ones, enough for any test, without growing for as long as it runs.
constexpr size_t kKeptRequests = 10000;
// The notice's text length is a signed 16-bit field.
constexpr size_t kMaxNoticeText = 32767;

struct QuoteServerOptions {
  int port = kDefaultQuotePort;  // 0: any free port
  std::string refuseText;        // GBK; empty accepts every login
  std::string noticeText;        // GBK; sent as a notice when a client connects
                                 // (at most kMaxNoticeText bytes go out)
  uint32_t dataVersion = 0;      // 0: the table's own trading date
  std::string marketTable;       // 0x1000 body; empty: the demo market
  bool answerKeepAlive = true;
  bool verbose = false;  // a line per client and request to the program's log
  // Faults.
  bool splitWrites = false;        // every frame in two writes with a pause
  int replyDelayMs = 0;            // before every reply
  int slowReaderMs = 0;            // before every read of a request
  std::string faultAfterInitData;  // "bad-marker", "zero-length" or "drop"
  // The moving market.
  uint32_t seed = 1;
  int walkIntervalMs = 1000;  // 0: no walk
  int pushEveryWalks = 0;     // market-list pushes every N walk steps; 0: none
};

struct ReceivedRequest {
  uint16_t type = 0;
  uint16_t tag = 0;
  int connection = 0;  // which client connection, 1 for the first accepted
  std::string body;
};

class QuoteServer;

// One client connection, while it is served.
class QuoteSession {
 public:
  QuoteSession(QuoteServer& server, int fd, int number)
      : server_(server), fd_(fd), number_(number) {}
  // Writes body as one frame (or two writes when splitting is on); false
  // once the connection has ended.
  bool Reply(const std::string& body);
  // Writes bytes as they are (broken frames and the like).
  bool WriteRaw(const std::string& bytes);
  // Ends the connection from the server side; for handlers and faults,
  // while the session is served.
  void Drop();
  int Fd() const { return fd_; }

 private:
  friend class QuoteServer;
  // No write after this returns: the descriptor is about to be closed.
  void Close();

  QuoteServer& server_;
  int fd_;
  int number_;
  std::mutex writeMutex_;
  bool closed_ = false;  // under writeMutex_
};

using RequestHandler = std::function<void(QuoteSession&, const ReceivedRequest&)>;

class QuoteServer {
 public:
  explicit QuoteServer(QuoteServerOptions options = {});
  ~QuoteServer();
  QuoteServer(const QuoteServer&) = delete;
  QuoteServer& operator=(const QuoteServer&) = delete;

  // Listens on 127.0.0.1; false when the port is taken.
  bool Start();
  void Stop();
  int Port() const { return port_; }

  // A handler for a packet type; the exact type is looked up first, then
  // its group (type & 0xFF00). Replaces the built-in answer of that type.
  void RegisterHandler(uint16_t type, RequestHandler handler);

  std::vector<ReceivedRequest> Received() const;
  size_t CountReceived(uint16_t type) const;
  bool WaitReceived(uint16_t type, size_t count, int timeoutMs) const;
  int Accepted() const { return connections_.Accepted(); }
  void SetAnswerKeepAlive(bool answer) { answerKeepAlive_ = answer; }

  // Sends a body to every connected client (pushes, tests).
  void SendToAll(const std::string& body);
  // Sends a body to one client by its connection number; false when it is gone.
  bool SendTo(int connection, const std::string& body);
  // One round of market-list pushes to the clients showing a market list.
  void PushQuoteLists();
  // The shown items' records and the new big orders of every client.
  void PushChartFeeds();
  void DropAll();

  MarketWalk& Market() { return walk_; }
  // The day the market table names (yyyymmdd): the histories end there and
  // the information entries lie before it.
  uint32_t TradeDate() const;
  const QuoteServerOptions& Options() const { return options_; }

  // The built-in replies.
  std::string LoginReply(uint16_t tag) const;
  std::string InitDataReply(uint16_t tag) const;
  // The packet type and, where replies carry it, the request's tag.
  static std::string KeepAliveReply(uint16_t tag);
  // Type, text length (signed 16 bits), a pointer slot, then the text and
  // a terminating zero; the program's dispatcher reads it so.
  static std::string Notice(const std::string& text);

 private:
  friend class QuoteSession;
  void WalkLoop();
  void Serve(int fd, int number);
  void ReadLoop(QuoteSession& session);
  void Dispatch(QuoteSession& session, const ReceivedRequest& request);

  QuoteServerOptions options_;
  std::string table_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> answerKeepAlive_{true};
  std::thread walkThread_;
  // Readers take no part in the link's stop signal: a shutdown of their
  // connection ends them.
  quotelink::StopSignal neverStop_;
  std::mutex stopMutex_;
  std::condition_variable stopCv_;

  mutable std::mutex mutex_;
  mutable std::condition_variable received_cv_;
  std::deque<ReceivedRequest> received_;                 // the latest kKeptRequests
  std::vector<std::shared_ptr<QuoteSession>> sessions_;  // being served
  std::map<uint16_t, RequestHandler> handlers_;
  MarketWalk walk_;
  QuoteLists lists_{walk_};
  ChartFeeds charts_;
  // Last: its threads use everything above, so it stops first.
  ConnectionServer connections_;
};

}  // namespace sim
