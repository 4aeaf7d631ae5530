#include "zeb/core/router/typed_commands.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr UINT kMarketListCommands[9] = {0x6200, 0x6201, 0x6207, 0x6201, 0x6202,
                                         0x6209, 0x6203, 0x620A, 0x620D};
constexpr UINT kPeriodCommands[6] = {0x6806, 0x6807, 0x6803, 0x6805, 0x6804, 0x6808};
// "00" lands one before VK_F1, as the rule gives it.
constexpr UINT kKeyBeforeF1 = 0x6F;
}  // namespace

STypedCommand ParseTypedCommand(const char* text) {
  STypedCommand result;
  if (!text) return result;
  const size_t length = std::strlen(text);
  const int value = std::atoi(text);
  if (length == 1 && value >= 1 && value <= 9) {
    result.kind = STypedCommand::kCommand;
    result.value = kMarketListCommands[value - 1];
  } else if (length == 2 && value >= 0 && value <= 10) {
    result.kind = STypedCommand::kKey;
    result.value = kKeyBeforeF1 + UINT(value);
  } else if (length == 2 && value >= 71 && value <= 76) {
    result.kind = STypedCommand::kCommand;
    result.value = kPeriodCommands[value - 71];
  }
  return result;
}
