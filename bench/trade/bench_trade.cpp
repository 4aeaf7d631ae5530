// The trade codec beside QuickFIX, interleaved in one process: parsing a
// 23-field execution report with equal validation (both check the body
// length and the checksum) and building a 9-field request with the same
// tags and values. The ratio counter is our time over QuickFIX's.
//
// The report is parsed in three shapes: as QuickFIX itself writes it (its
// serialiser puts the body tags in ascending order, which is what a
// QuickFIX peer sends and what its parser is fastest on); in the order our
// server writes it, tags out of ascending order; and as a standard FIX
// peer sends it, its header carrying sender, target, serial number and
// sending time (49, 56, 34, 52), written by QuickFIX. Each side parses the
// same fields in the same order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/side_by_side.h"
#include "quickfix_peer.h"
#include "trade/core/trade_codec.h"

namespace {

using namespace side_by_side;

using FieldValues = std::vector<std::pair<int, std::string>>;

// The 17 body fields of an order's execution report; with the header
// (begin string, body length, message type, serial number, session) and the
// checksum the message has 23 fields.
const FieldValues kReportBody = {{9001, "0"},
                                 {9002, ""},
                                 {37, "20240520000123"},
                                 {11, "ORD0000123"},
                                 {17, "EXEC0000456"},
                                 {150, "1"},
                                 {39, "1"},
                                 {1, "u0001"},
                                 {48, "600001"},
                                 {54, "1"},
                                 {38, "1000"},
                                 {44, "12.50"},
                                 {32, "100"},
                                 {31, "12.50"},
                                 {151, "900"},
                                 {14, "100"},
                                 {60, "20240520-10:00:00"}};

std::string HouseReport(const FieldValues& fields) {
  TagFieldList body;
  for (const auto& f : fields) AddStringField(body, f.first, f.second);
  auto m = BuildTradeMessage(0, "1012", 0, false, &body, 2, "SESSION01");
  return std::string(m->Data(), m->Size());
}

// The same fields as a FIX 4.2 execution report: 8, 9, 35, 34 and 336 in
// place of the house 1008, 1009, 1035, 1053 and 336, and 10 for 1010.
std::string FixReport(const FieldValues& fields) {
  std::string body =
      "35=8\x01"
      "34=0\x01"
      "336=SESSION01\x01";
  for (const auto& f : fields) body += std::to_string(f.first) + "=" + f.second + "\x01";
  std::string m =
      "8=FIX.4.2\x01"
      "9=" +
      std::to_string(body.size()) + "\x01" + body;
  char trailer[16];
  std::snprintf(trailer, sizeof trailer, "10=%03d\x01",
                CalcTradeChecksum(m.data(), static_cast<int>(m.size())));
  return m + trailer;
}

// The body length test QuickFIX makes on every message it parses, done on
// ours so both sides validate the same: the second field is 1009 and its
// value counts the bytes up to the nine-byte trailer.
bool BodyLengthAgrees(const char* data, int len) {
  const char* end = data + len;
  const char* soh = static_cast<const char*>(std::memchr(data, '\x01', static_cast<size_t>(len)));
  if (!soh || end - soh < 6 || std::memcmp(soh + 1, "1009=", 5) != 0) return false;
  long stated = 0;
  const char* p = soh + 6;
  for (; p < end && *p >= '0' && *p <= '9' && p - soh < 16; ++p) stated = stated * 10 + (*p - '0');
  if (p >= end || *p != '\x01') return false;
  return stated == (end - 9) - (p + 1);
}

// Calls take(tag, value) for each field of a written message.
template <class Take>
void ForEachField(const std::string& message, Take&& take) {
  size_t at = 0;
  while (at < message.size()) {
    const size_t eq = message.find('=', at);
    const size_t soh = message.find('\x01', eq);
    if (eq == std::string::npos || soh == std::string::npos) break;
    take(std::stoi(message.substr(at, eq - at)), message.substr(eq + 1, soh - eq - 1));
    at = soh + 1;
  }
}

// The body fields in the order QuickFIX's own serialiser writes them: the
// tags after the header of the report it builds from kReportBody.
FieldValues InQuickFixOrder() {
  FieldValues ordered;
  ForEachField(QuickFixBuild("8", 0, "SESSION01", kReportBody), [&](int tag, const std::string&) {
    for (const auto& f : kReportBody)
      if (f.first == tag) ordered.push_back(f);
  });
  return ordered;
}

int FieldCount(const std::string& message) {
  return static_cast<int>(std::count(message.begin(), message.end(), '\x01'));
}

// The same fields in the house framing: 1008, 1009, 1035 and 1010 in place
// of 8, 9, 35 and 10, with the body length and checksum written anew.
std::string InHouseFraming(const std::string& fix) {
  std::string begin, body;
  ForEachField(fix, [&](int tag, const std::string& value) {
    if (tag == 8) begin = value;
    else if (tag != 9 && tag != 10)
      body += std::to_string(tag == 35 ? 1035 : tag) + "=" + value + "\x01";
  });
  std::string m = "1008=" + begin +
                  "\x01"
                  "1009=" +
                  std::to_string(body.size()) + "\x01" + body;
  char trailer[16];
  std::snprintf(trailer, sizeof trailer, "1010=%03d\x01",
                CalcTradeChecksum(m.data(), static_cast<int>(m.size())));
  return m + trailer;
}

void ParseReport(benchmark::State& state, const std::string& ours, const std::string& fix) {
  if (FieldCount(ours) != 23 || FieldCount(fix) != 23) state.SkipWithError("a report lost a field");
  std::string error, fixOrderId;
  bool sound = true;
  RunBatches(
      state, {"ours_ns", 64, 1, "quickfix_ns", 64, 1},
      [&] {
        TagMap map;
        const int len = static_cast<int>(ours.size());
        sound &= VerifyTradeChecksum(ours.data(), len) == 1 && BodyLengthAgrees(ours.data(), len) &&
                 ParseTradeMessage(ours.data(), len, map, nullptr, nullptr, nullptr, nullptr,
                                   error) == 0;
        benchmark::DoNotOptimize(GetFieldText(map, 37).data());
      },
      [&] {
        sound &= QuickFixParse(fix, &fixOrderId);
        benchmark::DoNotOptimize(fixOrderId.data());
      });
  if (!sound) state.SkipWithError("a parser refused its message");
}

void ParseReport(benchmark::State& state, const FieldValues& fields) {
  ParseReport(state, HouseReport(fields), FixReport(fields));
}

void BM_ParseReport_vs_QuickFix_QuickFixOrder(benchmark::State& state) {
  ParseReport(state, InQuickFixOrder());
}
BENCHMARK(BM_ParseReport_vs_QuickFix_QuickFixOrder)->Apply(Repetitions);

void BM_ParseReport_vs_QuickFix_HouseOrder(benchmark::State& state) {
  ParseReport(state, kReportBody);
}
BENCHMARK(BM_ParseReport_vs_QuickFix_HouseOrder)->Apply(Repetitions);

// The standard header in place of the session (336) and the two house
// fields (9001, 9002), so the report still has 23 fields.
void BM_ParseReport_vs_QuickFix_StandardHeader(benchmark::State& state) {
  const FieldValues header = {
      {35, "8"}, {34, "215"}, {49, "TRADESRV"}, {56, "u0001"}, {52, "20240520-10:00:00.123"}};
  FieldValues body;
  for (const auto& f : kReportBody)
    if (f.first != 9001 && f.first != 9002) body.push_back(f);
  const std::string fix = QuickFixWrite(header, body);
  ParseReport(state, InHouseFraming(fix), fix);
}
BENCHMARK(BM_ParseReport_vs_QuickFix_StandardHeader)->Apply(Repetitions);

// The money application, the request with the most fields, with the
// values as the transfer form passes them.
const FieldValues kApplyBody = {{1, "u0001"},
                                {9310, "1"},
                                {9311, "5000.00"},
                                {9309, "6222000011112222"},
                                {9415, std::string(40, 'a')},
                                {150, "0"},
                                {8107, "13900000000"},
                                {8108, "110101199001011234"},
                                {9416, ""}};

void BM_BuildRequest_vs_QuickFix(benchmark::State& state) {
  // The labels the request builder gives its fields (GBK, never sent).
  const char* const labels[] = {"\xd5\xcb\xbb\xa7ID",
                                "\xb2\xd9\xd7\xf7\xc0\xe0\xd0\xcd",
                                "\xc8\xeb\xb3\xf6\xbd\xf0\xbd\xf0\xb6\xee",
                                "\xbf\xaa\xbb\xa7\xd5\xcb\xbb\xa7",
                                "\xd7\xca\xbd\xf0\xc3\xdc\xc2\xeb",
                                "\xd6\xb4\xd0\xd0\xd7\xb4\xcc\xac",
                                "\xb5\xe7\xbb\xb0",
                                "\xc9\xed\xb7\xdd\xd6\xa4\xba\xc5",
                                "\xd2\xf8\xd0\xd0\xb5\xe7\xbb\xb0\xc3\xdc\xc2\xeb"};
  size_t oursSize = 0, fixSize = 0;
  RunBatches(
      state, {"ours_ns", 64, 1, "quickfix_ns", 64, 1},
      [&] {
        TagFieldList body;
        body.reserve(kApplyBody.size());  // as the request builders do
        for (size_t i = 0; i < kApplyBody.size(); ++i)
          AddStringField(body, kApplyBody[i].first, kApplyBody[i].second, labels[i]);
        auto m = BuildTradeMessage(0, "2017", 0, false, &body, 2, "SESSION01");
        oursSize = static_cast<size_t>(m->Size());
        benchmark::DoNotOptimize(m->Data());
      },
      [&] {
        const std::string m = QuickFixBuild("2017", 0, "SESSION01", kApplyBody);
        fixSize = m.size();
        benchmark::DoNotOptimize(m.data());
      });
  if (oursSize == 0 || fixSize == 0) state.SkipWithError("a builder refused the request");
}
BENCHMARK(BM_BuildRequest_vs_QuickFix)->Apply(Repetitions);

}  // namespace

BENCHMARK_MAIN();
