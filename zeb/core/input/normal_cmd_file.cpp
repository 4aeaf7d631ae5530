// Reading "normalcmd.dat" records, bounded as normal_cmd_file.h says.
#include "zeb/core/input/normal_cmd_file.h"

#include <cstring>

namespace {

std::string BoundedText(const char* field, size_t width) {
  return std::string(field, strnlen(field, width));
}

}  // namespace

std::vector<SNormalCmd> ParseNormalCmdFile(std::string_view bytes) {
  std::vector<SNormalCmd> records;
  size_t count = bytes.size() / kNormalCmdRecordSize;
  if (count > kNormalCmdMaxRecords) count = kNormalCmdMaxRecords;
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const char* r = bytes.data() + i * kNormalCmdRecordSize;
    SNormalCmd cmd;
    uint32_t kind = 0;
    for (int b = 3; b >= 0; --b) kind = (kind << 8) | (unsigned char)r[b];
    cmd.kind = (int32_t)kind;
    cmd.code = BoundedText(r + 4, kNormalCmdCodeSize);
    cmd.name = BoundedText(r + 11, kNormalCmdNameSize);
    cmd.market = (uint16_t)((unsigned char)r[28] | ((unsigned char)r[29] << 8));
    records.push_back(std::move(cmd));
  }
  return records;
}
