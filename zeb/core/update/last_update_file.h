// "lastupdate.dat" in the program folder, written by the update program:
// one 59-byte record per component (name char[50], update time char[9],
// each NUL-terminated when shorter). The check reads it into a map from the
// lower-cased name to the time text; a later record of a name wins, a
// trailing partial record is ignored, and no field is read past its width.
#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

constexpr size_t kLastUpdateRecordSize = 59;
constexpr size_t kLastUpdateNameSize = 50;
constexpr size_t kLastUpdateTimeSize = 9;
constexpr const char* kLastUpdateFileName = "lastupdate.dat";

using LastUpdateMap = std::map<std::string, std::string>;

LastUpdateMap ParseLastUpdate(std::string_view bytes);

// ASCII letters lowered; GBK bytes stay as they are.
std::string LowerAscii(std::string_view text);
