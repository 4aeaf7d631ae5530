#include "custody_sim.h"

#include "platform/gbk.h"
#include "platform/socket.h"
#include "sim/serve/http_text.h"
#include "sim/serve/traffic_log.h"

namespace {

constexpr size_t kMaxRequestHead = 8192;

struct SPage {
  const char* name;   // the path segment
  const char* title;  // UTF-8
};

const SPage kPages[] = {
    {"CollectionPublishedApply", "藏品发布申请"},
    {"CollectionPublishedApplyQuery", "藏品发布申请查询"},
    {"TrusteeshipApply", "托管申请"},
    {"TrusteeshipApplyQuery", "托管申请查询"},
    {"PublishCollectionQuery", "发行藏品查询"},
    {"SubscribeEntrustQuery", "申购委托查询"},
    {"HistorySubscribeBallotQuery", "历史申购中签查询"},
    {"HistoryAddedQuery", "历史增发查询"},
    {"PickupOrderRegister", "提货单注册"},
    {"PickupOrderQueryAndPrint", "提货单查询及打印"},
    {"PickupOrderCancel", "提货单注销"},
    {"PickupOrderCostQuery", "提货单费用查询"},
    {"TrusteeshipHistoryQuery", "托管历史查询"},
    {"QueryPaymentListingFeeList", "查询支付挂牌费列表"},
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Percent-decoding; false for a broken escape.
bool Decode(const std::string& in, std::string* out) {
  out->clear();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '%') {
      *out += in[i];
      continue;
    }
    if (i + 2 >= in.size() || HexValue(in[i + 1]) < 0 || HexValue(in[i + 2]) < 0) return false;
    *out += static_cast<char>(HexValue(in[i + 1]) * 16 + HexValue(in[i + 2]));
    i += 2;
  }
  return true;
}

std::string EscapeHtml(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 1;
  while (start <= path.size()) {
    const size_t slash = path.find('/', start);
    parts.push_back(
        path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

std::string PageHtml(const SPage& page, const std::string& account, const std::string& session) {
  // Account and session arrive as the client's GBK bytes.
  const std::string who = EscapeHtml(platform::GbkToUtf8(account));
  const std::string sid = EscapeHtml(platform::GbkToUtf8(session));
  std::string rows;
  for (int i = 1; i <= 3; ++i) {
    rows += "<tr><td>" + std::to_string(20240000 + i) + "</td><td>" + page.title + " " +
            std::to_string(i) + "</td><td>" + (i == 2 ? "已受理" : "已完成") + "</td></tr>\n";
  }
  return std::string("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>") + page.title +
         "</title></head>\n<body style=\"font-family:sans-serif\">\n<h3>" + page.title +
         "</h3>\n<p>账户：<b id=\"account\">" + who + "</b> 会话：<span id=\"session\">" + sid +
         "</span></p>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"
         "<tr><th>编号</th><th>内容</th><th>状态</th></tr>\n" +
         rows +
         "</table>\n<p>页面时间：<span id=\"shown\"></span></p>\n"
         "<script>document.getElementById('shown').textContent = new "
         "Date().toLocaleString();</script>\n"
         "</body></html>\n";
}

}  // namespace

CCustodySimServer::CCustodySimServer()
    : connections_("sim_custody", [this](int fd, int) { Serve(fd); }) {}

CCustodySimServer::~CCustodySimServer() { Stop(); }

int CCustodySimServer::Start(int port) { return connections_.Start(port); }

void CCustodySimServer::Stop() { connections_.Stop(); }

std::vector<std::string> CCustodySimServer::PageNames() {
  std::vector<std::string> names;
  for (const SPage& p : kPages) names.push_back(p.name);
  return names;
}

std::vector<std::string> CCustodySimServer::OutsideLinks() {
  const std::string madeUp = std::string(kMadeUpScheme) + ":";
  return {"file:///etc/passwd", madeUp + "open?what=1",     "file:///etc/hosts",
          madeUp + "window",    "script:file:///etc/group", "script:" + madeUp + "script",
          kOutsideLinksBack};
}

namespace {

// Links as blocks of a known height; a new window for the second of each
// pair, and "script:" links run window.open from a click handler.
std::string OutsideLinksHtml() {
  const std::vector<std::string> links = CCustodySimServer::OutsideLinks();
  std::string html =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>outside-links</title></head>\n"
      "<body style=\"margin:0\">\n";
  const std::string style =
      "display:block;height:" + std::to_string(CCustodySimServer::kOutsideLinkHeight) + "px";
  html +=
      "<div id=\"probe\" style=\"" + style + "\" onclick=\"this.textContent='seen'\">probe</div>\n";
  for (size_t i = 0; i < links.size(); ++i) {
    std::string target = EscapeHtml(links[i]);
    std::string extra = (i == 2 || i == 3) ? " target=\"_blank\"" : "";
    if (links[i].rfind("script:", 0) == 0) {
      extra = " onclick=\"window.open('" + EscapeHtml(links[i].substr(7)) + "'); return false;\"";
      target = "#";
    }
    html += "<a id=\"link" + std::to_string(i) + "\" style=\"" + style + "\" href=\"" + target +
            "\"" + extra + ">" + EscapeHtml(links[i]) + "</a>\n";
  }
  return html + "</body></html>\n";
}

}  // namespace

CCustodySimServer::SAnswer CCustodySimServer::Answer(const std::string& fullPath) {
  const std::string path = fullPath.substr(0, fullPath.find('?'));
  if (path == kOutsideLinksPath) return {200, OutsideLinksHtml()};
  const std::vector<std::string> parts = Split(path);
  std::string account, session;
  if (parts.size() != 5 || parts[1] != "accountname" || parts[3] != "sessionid" ||
      !Decode(parts[2], &account) || !Decode(parts[4], &session))
    return {};
  for (const SPage& page : kPages)
    if (parts[0] == page.name) return {200, PageHtml(page, account, session)};
  return {};
}

std::vector<std::string> CCustodySimServer::Requests() const {
  std::lock_guard<std::mutex> g(lock_);
  return requests_;
}

void CCustodySimServer::Serve(int fd) {
  std::string head;
  if (!sim::ReadHttpHead(fd, &head, kMaxRequestHead, 2000)) return;
  const std::string path = sim::HttpGetPath(head);
  sim::ProgramLog().Request("sim_custody: GET " + path);
  {
    std::lock_guard<std::mutex> g(lock_);
    if (requests_.size() == kKeptRequests) requests_.erase(requests_.begin());
    requests_.push_back(path);
  }
  SAnswer answer = Answer(path);
  if (answer.status != 200) answer.body = "<html><body>not found</body></html>\n";
  const std::string reply = sim::HttpResponseHead(answer.status == 200 ? "200 OK" : "404 Not Found",
                                                  "text/html; charset=utf-8", answer.body.size()) +
                            answer.body;
  platform::SendAll(fd, reply.data(), reply.size(), 2000);
  // Let the client read everything before the close.
  char buffer[256];
  platform::RecvSome(fd, buffer, sizeof buffer, 1000);
}
