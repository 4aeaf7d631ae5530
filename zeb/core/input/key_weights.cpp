// Reading and writing the keyboard weights through the registry stand-in.
#include "zeb/core/input/key_weights.h"

#include <set>

#include "platform/registry.h"

std::map<std::string, int32_t> ReadKeyWeights() {
  std::map<std::string, int32_t> weights;
  size_t taken = 0;
  for (const platform::SRegValue& value : platform::RegEnumValues(kKeyWeightRegistryKey)) {
    if (taken == kKeyMaxWeights) break;
    if (!value.isDword || value.name.empty() || value.name.size() > kKeyWeightNameMax) continue;
    ++taken;
    const int32_t v = (int8_t)(value.dword & 0xFF);
    // Read back as stored: taking v - 1 here would lower every weight at
    // each start, since nothing in the program raises one.
    if (v > 0 && v <= kKeyMaxWeight) weights[value.name] = v;
  }
  return weights;
}

bool WriteKeyWeights(const std::vector<std::pair<std::string, int32_t>>& weighted) {
  if (!platform::RegDeleteKey(kKeyWeightRegistryKey)) return false;
  std::set<std::string> written;
  for (const auto& [code, weight] : weighted) {
    if (written.size() == kKeyMaxWeights) break;
    if (weight <= 0 || code.empty() || code.size() > kKeyWeightNameMax || written.count(code))
      continue;
    if (!platform::RegSetDword(kKeyWeightRegistryKey, code, (DWORD)weight)) return false;
    written.insert(code);
  }
  return true;
}
