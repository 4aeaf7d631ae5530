// Configuration-file parsing and writing on arbitrary bytes: no crash, and
// whatever was accepted is written in a form that reads back to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "trace.h"
#include "vospel/IniParser.h"

namespace {
void Silent(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool once = (vospel::SetTraceSink(Silent), true);
  (void)once;
  if (size > 1 << 16) return 0;
  CIniParser ini;
  if (ini.ParseText(reinterpret_cast<const char*>(data), size) != 1) return 0;

  // Queries on what was read, including keys made by the lookups.
  char buf[64];
  ini.ValOf("k");
  ini.Read(buf, sizeof buf);
  ini[3].isvalid();
  ini.LocateRegion(nullptr, "a");
  ini["b"][1].size();
  // A key made by a lookup and then given a value is written like any key.
  ini <<= "n";
  ini[0] << "v";

  const std::string written = ini.DumpText();
  CIniParser again;
  if (again.ParseText(written.data(), written.size()) != 1) std::abort();
  if (again.DumpText() != written) std::abort();
  return 0;
}
