// zeb_chart_flood [--only ticks|history|deals] [--limit-mb N]
//
// The real program (offscreen, against the local simulators, as the
// screenshot tool runs it) shows an item's 5-minute K-line; then a hostile
// quote server's two minutes are played into the main frame as the link
// hands it packets, compressed (as fast as the program takes them):
//   ticks    50 pushes a second of the item's quote stamped with impossible
//            minutes: 1440 and above, 65535, and minutes going backwards;
//   history  every 8 seconds 16 history replies of 65,535 bars each, every
//            one older than the last, each answering a request (as if the
//            user kept scrolling back);
//   deals    1000 pushes a second of ten items' quotes with ten levels,
//            inside the sessions (what the deal and tick tables take).
// A key goes to the chart every second (Left, Right, Up, Down, Home, End)
// and is timed to the end of the repaint it causes. Prints the program's
// peak memory (resident), the worst key and the longest packet, and fails
// when the peak reaches the limit (400 MB) or the flood has to be stopped
// (3 GB resident, or 10 minutes).
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "link/quote_protocol.h"
#include "platform/input.h"
#include "platform/socket.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "tools/screenshot/program_run.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/messages.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/store/public_store.h"
#include "zeb/views/stock/stock_view.h"

namespace {

using Clock = std::chrono::steady_clock;
using quotelink::WriteU16;
using quotelink::WriteU32;

constexpr SCodeInfo kShown{4114, 602001};
constexpr int kSeconds = 120;
constexpr int kTicksPerSecond = 50;
constexpr int kDealsPerSecond = 1000;
constexpr int kCascadeEvery = 8;
constexpr int kCascadeReplies = 16;
constexpr int kReplyBars = 65535;
constexpr UINT kCmd5Minutes = 26390;
constexpr long kStopMb = 3072;
constexpr double kStopSeconds = 600;

struct SOptions {
  bool ticks = true, history = true, deals = true;
  long limitMb = 400;
};

struct SFigures {
  double worstKeyMs = 0, longestPacketMs = 0, seconds = 0;
  size_t packets = 0, keys = 0;
  int bars = 0;
  std::string stopped;  // why the flood was stopped early
};

long PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

long ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

// One quote record of a push (51 bytes and ten levels).
void AppendQuote(std::string& body, SCodeInfo code, uint16_t minute, uint32_t price,
                 uint32_t volume, uint32_t step) {
  std::string r(51 + 8 * 10, '\0');
  char* p = r.data();
  WriteU32(p, (uint32_t(code.market & 0xFF) << 24) | (uint32_t(code.code) & 0xFFFFFF));
  WriteU16(p + 4, minute);
  for (int at : {6, 10, 14, 18, 22}) WriteU32(p + at, price);
  WriteU32(p + 26, volume);
  WriteU32(p + 30, step);
  WriteU32(p + 34, volume / 100 * (price / 100));
  p[46] = 10;
  for (int i = 0; i < 10; ++i) {
    WriteU32(p + 51 + 8 * i, price + uint32_t(i - 5) * 10);
    WriteU32(p + 55 + 8 * i, 100 + uint32_t(i));
  }
  body += r;
}

std::string Push(const std::vector<SCodeInfo>& codes, uint16_t minute, uint32_t price,
                 uint32_t volume) {
  std::string body(15, '\0');
  WriteU16(&body[0], 0x0B00);
  WriteU16(&body[9], uint16_t(codes.size()));
  for (SCodeInfo code : codes) AppendQuote(body, code, minute, price, volume, 7);
  return body;
}

// Reply r of a cascade: 65,535 5-minute bars, older than those of reply
// r - 1 (their date words count down from 15:00 of January 5).
std::string HistoryReply(int r) {
  std::string body(22 + 28 * size_t(kReplyBars), '\0');
  WriteU16(&body[0], 0x0505);
  WriteU16(&body[2], uint16_t(CPublic::GetRequestTag()));
  WriteU16(&body[4], 1);
  WriteU16(&body[10], kShown.market);
  WriteU32(&body[12], uint32_t(kShown.code));
  WriteU16(&body[16], uint16_t(kReplyBars));
  const uint32_t newest = 1051500 - uint32_t(r) * kReplyBars;
  for (int i = 0; i < kReplyBars; ++i) {
    char* p = &body[22 + 28 * size_t(i)];
    const uint32_t price = 10000 + uint32_t(i % 500);
    WriteU32(p, newest - uint32_t(kReplyBars - 1 - i));
    for (int at : {4, 8, 12, 16}) WriteU32(p + at, price);
    WriteU32(p + 20, 1000);
    WriteU32(p + 24, 1000000);
  }
  return body;
}

// An impossible minute for the tick k: past midnight, the largest, or
// going backwards through the day.
uint16_t ImpossibleMinute(int k) {
  switch (k % 3) {
    case 0: return uint16_t(1440 + k % 20000);
    case 1: return 65535;
    default: return uint16_t(900 - k % 330);
  }
}

class CFlood {
 public:
  CFlood(CMainFrame& frame, CStockView& view, const SOptions& options)
      : m_frame(frame), m_view(view), m_options(options) {
    for (const CMarketInfo& m : CPublic::GetInstance()->GetMarkets()) {
      if (m.market != kShown.market) continue;
      for (const SStockInfo& s : m.stocks)
        if (m_dealCodes.size() < 10 && !(s.GetKey() == kShown)) m_dealCodes.push_back(s.GetKey());
    }
    m_dealCodes.insert(m_dealCodes.begin() + std::min<size_t>(3, m_dealCodes.size()), kShown);
    if (options.history)
      for (int r = 0; r < kCascadeReplies; ++r) m_replies.push_back(HistoryReply(r));
  }

  SFigures Run() {
    m_start = Clock::now();
    static constexpr UINT kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END};
    for (int s = 0; s < kSeconds && !Stopped(s); ++s) {
      // Each reply answers a request, as if the user kept scrolling back:
      // the worst a server can make of them.
      if (m_options.history && s % kCascadeEvery == 0)
        for (const std::string& reply : m_replies) {
          m_view.Analysis().HisTech().RequestKLine();
          Send(reply);
        }
      for (int i = 0; i < std::max(kTicksPerSecond, kDealsPerSecond); ++i) {
        if (i % 100 == 0 && Stopped(s)) break;
        const int k = s * kDealsPerSecond + i;
        if (m_options.ticks && i < kTicksPerSecond)
          Send(
              Push({kShown}, ImpossibleMinute(k), 10000 + uint32_t(k % 300), 100000 + uint32_t(k)));
        if (m_options.deals && i < kDealsPerSecond)
          Send(Push(m_dealCodes, uint16_t(570 + k / 1000 % 120), 10000 + uint32_t(k % 300),
                    200000 + 10 * uint32_t(k)));
        // The screen is repainted about ten times a second of the stream.
        if (i % 100 == 99) platform::PumpMessages(0);
      }
      Key(kKeys[s % (sizeof kKeys / sizeof kKeys[0])]);
    }
    m_figures.seconds = Seconds();
    m_figures.bars = static_cast<int>(m_view.Analysis().HisTech().Raw().size());
    return m_figures;
  }

 private:
  double Seconds() const { return std::chrono::duration<double>(Clock::now() - m_start).count(); }
  // Whether the flood has to stop (checked as it goes); s is the second
  // of the stream being played.
  bool Stopped(int s) {
    if (!m_figures.stopped.empty()) return true;
    if (ResidentMb() > kStopMb)
      m_figures.stopped = "resident memory above " + std::to_string(kStopMb) + " MB";
    else if (Seconds() > kStopSeconds) m_figures.stopped = "still running after 10 minutes";
    else return false;
    m_figures.stopped += " in second " + std::to_string(s + 1) + " of the stream";
    return true;
  }
  void Send(const std::string& body) {
    const Clock::time_point t = Clock::now();
    m_frame.SendMessage(WM_QUOTE_PACKET, body.size(), reinterpret_cast<LPARAM>(body.data()));
    m_figures.longestPacketMs = std::max(m_figures.longestPacketMs, Ms(t));
    ++m_figures.packets;
  }
  void Key(UINT key) {
    const Clock::time_point t = Clock::now();
    m_frame.SendMessage(WM_KEYDOWN, key, 0);
    m_view.UpdateWindow();
    platform::PumpMessages(0);
    m_figures.worstKeyMs = std::max(m_figures.worstKeyMs, Ms(t));
    ++m_figures.keys;
  }
  static double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
  }

  CMainFrame& m_frame;
  CStockView& m_view;
  SOptions m_options;
  Clock::time_point m_start;
  std::vector<SCodeInfo> m_dealCodes;
  std::vector<std::string> m_replies;
  SFigures m_figures;
};

}  // namespace

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  SOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--only" && i + 1 < argc) {
      const std::string kind = argv[++i];
      options.ticks = kind == "ticks";
      options.history = kind == "history";
      options.deals = kind == "deals";
      if (!options.ticks && !options.history && !options.deals) {
        std::fprintf(stderr, "zeb_chart_flood: --only ticks, history or deals\n");
        return 2;
      }
    } else if (arg == "--limit-mb" && i + 1 < argc) {
      options.limitMb = std::atol(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: zeb_chart_flood [--only ticks|history|deals] [--limit-mb N]\n");
      return 2;
    }
  }
  // As the program does: the trading library's web pages share the
  // application's graphics contexts.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  platform::testing::EnsureApplication();
  SProgramRunOptions run;
  run.tradePanels = false;
  // The flood stops itself after 10 minutes; the stage's watchdog waits longer.
  run.stageTimeoutMs = int(kStopSeconds * 1000) + 120000;
  long before = 0;
  SFigures figures;
  bool shown = false;
  run.whileRunning = [&](CMainFrame& frame) {
    CCmdDispatcher* router = CCmdDispatcher::GetInstance();
    router->OpenChartPage(kShown, kPageTechnical);
    auto* view = dynamic_cast<CStockView*>(router->GetActiveView());
    if (!view) return;
    router->ExecuteCommand(kCmd5Minutes);
    CHisTechObj& chart = view->Analysis().HisTech();
    shown = platform::PumpUntil(
        [&] { return chart.GetPeriod() == 5 && !chart.IsRequestPending() && !chart.Raw().empty(); },
        60000);
    if (!shown) return;
    platform::PumpMessages(100);
    before = ResidentMb();
    figures = CFlood(frame, *view, options).Run();
  };
  const SProgramRunResult result = RunProgramOnce(run);
  const long peak = PeakMb();
  if (!result.ok || !shown) {
    std::fprintf(stderr, "zeb_chart_flood: the K-line was not shown (%s)\n",
                 result.failedStage.c_str());
    return 1;
  }
  std::printf("resident before the flood: %ld MB\n", before);
  std::printf("peak resident: %ld MB (limit %ld MB)\n", peak, options.limitMb);
  std::printf("worst key, to the end of its repaint: %.0f ms over %zu keys\n", figures.worstKeyMs,
              figures.keys);
  std::printf("longest packet: %.0f ms; %zu packets in %.1f s; %d bars held at the end\n",
              figures.longestPacketMs, figures.packets, figures.seconds, figures.bars);
  if (!figures.stopped.empty()) std::printf("flood stopped: %s\n", figures.stopped.c_str());
  return peak < options.limitMb && figures.stopped.empty() ? 0 : 1;
}
