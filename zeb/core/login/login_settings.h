// What the login dialog keeps in "zeb.ini" ([USERINFO], [QUOTE], [TRADE],
// [BALANCE], [LINK]) and the host list a balance server hands back. Plain
// data and readers, so the login rules run without a window.
//
// Sound reading: the balance-server count is capped, ports are read as
// unsigned 16-bit values (anything else is 0, which no connection takes),
// and host texts of a balance reply are read within their 16-byte fields.
#pragma once
#include <string>
#include <vector>

constexpr int kMaxBalanceServers = 100;
constexpr int kHostPairs = 5;
// The buffer the trading library fills with a balance-server reply.
constexpr int kBalanceReplyBuffer = 2048;

struct SBalanceServer {
  std::string name;  // GBK
  std::string host;
  int port = 0;
  int type = 0;
};

struct SLoginSettings {
  std::string userId;
  int saveAccount = 0;
  std::string quoteHost;
  int quotePort = 0;
  std::string tradeHost;
  int tradePort = 0;
  int defaultServer = 0;
  std::vector<SBalanceServer> servers;
  std::string registPage, lostPage, homePage;
};

// The five quote and trade hosts of a login; only the first pair comes
// from "zeb.ini", all five from a balance reply.
struct SLoginHosts {
  std::string quoteHost[kHostPairs];
  int quotePort[kHostPairs] = {};
  std::string tradeHost[kHostPairs];
  int tradePort[kHostPairs] = {};
};

// A port as text or number: 0 unless it is 0..65535.
int ToPort(long value);

// Reads the settings; false (and defaults) when the file cannot be read.
bool LoadLoginSettings(const std::string& path, SLoginSettings* settings);
// Writes SaveAccount, UserID (the account when it is saved, else empty) and
// DEFAULTSERVER into keys that already exist, then saves with the header.
bool SaveLoginSettings(const std::string& path, int saveAccount, const std::string& account,
                       int defaultServer);

// A reply of the balance server (a 32-bit length, then 36-byte pairs of
// trade host, trade port, quote host, quote port). Pair 1 always; pairs 2
// to 5 unless the length is 72, and only those the length and the buffer
// hold whole. False when the buffer cannot hold the length field.
bool ParseBalanceReply(const void* buffer, int size, SLoginHosts* hosts);
