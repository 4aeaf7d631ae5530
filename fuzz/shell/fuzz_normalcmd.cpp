// "normalcmd.dat" from the program folder: any bytes become index entries
// (record texts may lack their NUL, names may end in a lead byte), and
// searching them never reads out of bounds; every result really contains
// what was typed and every list line stays within 19 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "zeb/core/input/input_box.h"
#include "zeb/core/input/input_key.h"
#include "zeb/core/input/normal_cmd_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  // Exact-size copy so any over-read is caught.
  std::vector<char> bytes(data, data + size);
  const std::vector<SNormalCmd> cmds =
      ParseNormalCmdFile(std::string_view(bytes.data(), bytes.size()));
  if (cmds.size() > kNormalCmdMaxRecords) std::abort();

  CInputKey index;
  for (const SNormalCmd& c : cmds) {
    if (c.code.size() > kNormalCmdCodeSize || c.name.size() > kNormalCmdNameSize) std::abort();
    index.AddEntry(c.code.c_str(), c.name.c_str(), c.kind, c.market);
  }
  for (int i = 0; i < index.GetEntryCount(); ++i) {
    const CKeyGhostStruct& e = index.GetEntry(i);
    if (e.slotCount < 0 || e.slotCount > (int)kKeySlots) std::abort();
    if (strnlen(e.code, kKeyCodeSize) == kKeyCodeSize ||
        strnlen(e.name, kKeyNameSize) == kKeyNameSize)
      std::abort();
  }

  // Typed texts: the first bytes of the input, and each entry's own code.
  std::vector<std::string> typed = {std::string(bytes.data(), size < 3 ? size : 3)};
  for (int i = 0; i < index.GetEntryCount() && i < 8; ++i) typed.push_back(index.GetEntry(i).code);
  CInputList list(&index);
  for (const std::string& text : typed) {
    const std::string upper = KeyUpper(text.c_str());  // the index reads up to the NUL
    const int found = index.Find(text.c_str());
    index.SortResults(found);
    for (int i = 0; i < found; ++i) {
      const CKeyGhostStruct r = index.GetResult(i);
      if (std::string_view(r.key[0] ? r.key : r.code).find(upper) == std::string_view::npos)
        std::abort();
    }
    for (const std::string& line : list.Refill(text))
      if (line.size() > kInputLineBytes) std::abort();
  }
  return 0;
}
