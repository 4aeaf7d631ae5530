// "normalcmd.dat" in the program folder: the typed commands (and any other
// fixed entries) of the keyboard index, as 32-byte records:
//   int32 kind; code char[7]; name char[17]; u16 market id; 2 bytes unused
// (little-endian). The reader takes whole records only, at most 180, and
// never reads a text field past its width, NUL or not.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kNormalCmdRecordSize = 32;
constexpr size_t kNormalCmdMaxRecords = 180;
constexpr size_t kNormalCmdCodeSize = 7;
constexpr size_t kNormalCmdNameSize = 17;
constexpr const char* kNormalCmdFileName = "normalcmd.dat";

struct SNormalCmd {
  int32_t kind = 0;
  std::string code;  // up to the first NUL, at most 7 bytes
  std::string name;  // up to the first NUL, at most 17 bytes
  uint16_t market = 0;
};

// The records of a file's bytes; a trailing partial record and records
// after the 180th are ignored.
std::vector<SNormalCmd> ParseNormalCmdFile(std::string_view bytes);
