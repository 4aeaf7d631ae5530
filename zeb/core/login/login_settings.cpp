#include "zeb/core/login/login_settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/le_bytes.h"
#include "settings/config_file.h"

namespace {

constexpr size_t kPairSize = 36;
constexpr int kHostField = 16;
constexpr int kOnlyFirstPair = 72;

int TextToPort(const std::string& text) { return ToPort(std::strtol(text.c_str(), nullptr, 10)); }

std::string ReadHost(const unsigned char* field) {
  const void* end = std::memchr(field, 0, kHostField);
  const size_t length =
      end ? size_t(static_cast<const unsigned char*>(end) - field) : size_t(kHostField);
  return std::string(reinterpret_cast<const char*>(field), length);
}

int ReadPort(const unsigned char* field) { return field[0] | (field[1] << 8); }

}  // namespace

int ToPort(long value) { return value >= 0 && value <= 65535 ? int(value) : 0; }

bool LoadLoginSettings(const std::string& path, SLoginSettings* s) {
  *s = SLoginSettings();
  CConfigFile file(path.c_str(), 0);
  if (!file.IsLoaded()) return false;
  std::string text;
  file.GetString("USERINFO", "UserID", s->userId);
  if (file.GetString("USERINFO", "SaveAccount", text) == 0)
    s->saveAccount = std::atoi(text.c_str());
  file.GetString("QUOTE", "ServerIP", s->quoteHost);
  if (file.GetString("QUOTE", "ServerPort", text) == 0) s->quotePort = TextToPort(text);
  file.GetString("TRADE", "ServerIP", s->tradeHost);
  if (file.GetString("TRADE", "ServerPort", text) == 0) s->tradePort = TextToPort(text);

  // More servers than the list takes give a full list, not none.
  int count = 0;
  file.GetInt("BALANCE", "SERVERNUM", &count);
  count = std::clamp(count, 0, kMaxBalanceServers);
  file.GetInt("BALANCE", "DEFAULTSERVER", &s->defaultServer);
  for (int i = 1; i <= count; ++i) {
    char key[32];
    SBalanceServer server;
    std::snprintf(key, sizeof key, "SERVERNAME%d", i);
    file.GetString("BALANCE", key, server.name);
    std::snprintf(key, sizeof key, "SERVERIP%d", i);
    file.GetString("BALANCE", key, server.host);
    std::snprintf(key, sizeof key, "SERVERPORT%d", i);
    int port = 0;
    if (file.GetInt("BALANCE", key, &port) == 0) server.port = ToPort(port);
    std::snprintf(key, sizeof key, "SERVERTYPE%d", i);
    file.GetInt("BALANCE", key, &server.type);
    s->servers.push_back(std::move(server));
  }
  file.GetString("LINK", "RegistPage", s->registPage);
  file.GetString("LINK", "LostPage", s->lostPage);
  file.GetString("LINK", "HomePage", s->homePage);
  return true;
}

bool SaveLoginSettings(const std::string& path, int saveAccount, const std::string& account,
                       int defaultServer) {
  CConfigFile file(path.c_str(), 0);
  if (!file.IsLoaded()) return false;
  char number[16];
  auto setExisting = [&file](const char* section, const char* key, const char* value) {
    const int at = file.FindSection(section);
    if (at >= 0) file.SetKeyValue(at, key, value, 0);
  };
  std::snprintf(number, sizeof number, "%d", saveAccount);
  setExisting("USERINFO", "SaveAccount", number);
  setExisting("USERINFO", "UserID", saveAccount ? account.c_str() : "");
  std::snprintf(number, sizeof number, "%d", defaultServer);
  setExisting("BALANCE", "DEFAULTSERVER", number);
  return file.Save(1) == 0;
}

bool ParseBalanceReply(const void* buffer, int size, SLoginHosts* hosts) {
  if (!buffer || size < 4) return false;
  const unsigned char* p = static_cast<const unsigned char*>(buffer);
  int32_t length = 0;
  std::memcpy(&length, p, sizeof length);
  const long available = std::min<long>(long(size) - 4, length < 0 ? 0 : long(length));
  const int pairs = length == kOnlyFirstPair ? 1 : kHostPairs;
  for (int k = 0; k < pairs; ++k) {
    // The first pair is always taken, as far as the buffer holds it.
    if (k > 0 && !platform::RecordsFit(size_t(available), 0, size_t(k + 1), kPairSize)) break;
    if (!platform::RecordsFit(size_t(size), 4, size_t(k + 1), kPairSize)) break;
    const unsigned char* pair = p + 4 + kPairSize * k;
    hosts->tradeHost[k] = ReadHost(pair);
    hosts->tradePort[k] = ReadPort(pair + 16);
    hosts->quoteHost[k] = ReadHost(pair + 18);
    hosts->quotePort[k] = ReadPort(pair + 34);
  }
  return true;
}
