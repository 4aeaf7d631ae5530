// Reading the information reply (info_packets.h).
#include "zeb/tables/packets/info_packets.h"

#include <cstring>

#include "zeb/tables/packets/quote_packets.h"

bool ReadInfoText(const void* body, size_t length, std::string* text) {
  SPacketHead head;
  if (!ReadPacketHead(body, length, &head)) {
    if (text) text->clear();
    return false;
  }
  return ReadInfoText(head, body, length, text);
}

bool ReadInfoText(const SPacketHead& head, const void* body, size_t length, std::string* text) {
  if (text == nullptr) return false;
  text->clear();
  if (body == nullptr || PacketGroup(head.type) != PKT_INFO_LIST || length < kInfoTextAt)
    return false;
  const char* start = static_cast<const char*>(body) + kInfoTextAt;
  const size_t room = length - kInfoTextAt;
  const void* nul = std::memchr(start, '\0', room);
  text->assign(start, nul ? static_cast<const char*>(nul) - start : room);
  return true;
}
