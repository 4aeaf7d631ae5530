// The addresses links may open; see link_policy.h.
#include "zeb/controls/link_policy.h"

#include "platform/gbk.h"

namespace zebui {

bool IsOpenableLinkAddress(std::string_view address) {
  for (unsigned char c : address) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  for (std::string_view scheme : {"http://", "https://", "mailto:"}) {
    if (platform::GbkStartsWithNoCase(address, scheme)) return address.size() > scheme.size();
  }
  return false;
}

}  // namespace zebui
