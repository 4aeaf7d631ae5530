// Item-code requests (code_request.h).
#include "zeb/store/code_request.h"

#include <algorithm>
#include <cstring>

std::vector<uint8_t> BuildCodeRequest(uint16_t type, uint16_t market, uint16_t tag,
                                      const SCodeInfo* codes, int count) {
  count = codes ? std::clamp(count, 0, kMaxCodesPerRequest) : 0;
  std::vector<uint8_t> request(sizeof(SCodeRequestHeader) + sizeof(SCodeInfo) * size_t(count));
  SCodeRequestHeader head;
  head.type = type;
  head.market = market;
  head.tag = tag;
  head.count = uint16_t(count);
  std::memcpy(request.data(), &head, sizeof head);
  if (count > 0)
    std::memcpy(request.data() + sizeof head, codes, sizeof(SCodeInfo) * size_t(count));
  return request;
}
