// The two description files of the formula folder ("ParamsDesc.tch",
// "TechDesc.tch") share one shape in the configuration-file format: a
// top-level block per formula kind, named by the kind's file stem, holding
// one key per formula. Both are read and written only through the
// configuration-file library, one parser per use.
#pragma once
#include <string>

namespace formula {

// The text of the key's first value in the kind's block, as stored; ""
// when the file, the block or the key is missing (the configuration-file
// library reports a missing or unreadable file itself), or the kind is not 0-4.
std::string ReadKindValue(const std::string& path, int kind, const char* key);

// Stores value as the key's first value in the kind's block, adding the key
// when the file does not have it yet, and writes the file back; a missing
// file is created. False, leaving the file as it was, when the file exists
// but does not read, or the written text would not read back.
bool WriteKindValue(const std::string& path, int kind, const char* key, const std::string& value);

}  // namespace formula
