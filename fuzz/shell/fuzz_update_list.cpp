// The update server's answer and "lastupdate.dat": any bytes. The input is
// split at the first NUL-NUL: before it the update list, after it the
// recorded times. Reading, dropping the current components and prefixing
// the addresses never read out of bounds, and what is left of a well-formed
// list is exactly what DropCurrent counted; a list that Fault accepts names
// only http:// and https:// servers.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "zeb/core/update/last_update_file.h"
#include "zeb/core/update/update_list.h"

namespace {

int CountComponents(CXmlDoc& doc) {
  doc.ResetMainPos();
  int n = 0;
  while (doc.FindElement("Component")) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 18)) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(std::string("\0\0", 2));
  const std::string text = input.substr(0, split);
  const std::string recordedBytes = split == std::string::npos ? "" : input.substr(split + 2);

  const LastUpdateMap recorded = ParseLastUpdate(recordedBytes);
  for (const auto& [name, time] : recorded)
    if (name.size() > kLastUpdateNameSize || time.size() > kLastUpdateTimeSize) std::abort();

  CUpdateList list;
  if (!list.Parse(text)) return 0;
  const bool wellFormed = list.Doc().IsWellFormed();
  if (list.Servers().size() > (size_t)kUpdateMaxServers) std::abort();
  if (list.Fault().empty()) {
    for (const auto& [name, url] : list.Servers()) {
      const std::string scheme = LowerAscii(url.substr(0, 8));
      if (scheme.rfind("http://", 0) != 0 && scheme != "https://") std::abort();
    }
  }
  const int outdated = list.DropCurrent(recorded);
  list.PrefixDownAddresses("http://127.0.0.1/files/");

  // The edited text of a well-formed list read again holds the components
  // that were left (a repaired one may read back otherwise).
  if (!wellFormed) return 0;
  CXmlDoc again;
  again.SetDocText(list.Doc().GetDoc());
  if (!again.FindElement("Product") || !again.EnterElement()) std::abort();
  if (CountComponents(again) != outdated) std::abort();
  return 0;
}
