// Byte forms of the formula store files, apart from any file system:
//   .dat  header (count, offset of the texts, 80 zero bytes), the 821-byte
//         records, then each record's formula text and note text, padded
//         to a multiple of 8 and enciphered with the keyless Blowfish;
//   .grp  400-byte group records;
//   .set  1042-byte parameter-set records.
// All numbers little-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "formula/functions/formula_types.h"

namespace formula {

inline constexpr size_t kRecordSize = 821;
inline constexpr size_t kDatHeaderSize = 88;
inline constexpr size_t kGroupSize = 400;
inline constexpr size_t kParamSetSize = 1042;

void PackRecord(const SFormulaRecord& record,
                uint8_t* out);  // kRecordSize bytes; lengths from the texts
void UnpackRecord(const uint8_t* in, SFormulaRecord& record);  // texts left empty

// The enciphered .dat file of a formula list.
std::string BuildDatFile(const std::deque<SFormulaRecord>& formulas);
// Reads an enciphered .dat file into records of the given kind. False, with
// a reason, for a file that is cut short, not whole blocks, or whose count
// or text lengths run past its end; records is then untouched.
bool ParseDatFile(const std::string& file, int kind, std::deque<SFormulaRecord>& records,
                  std::string& error);

std::string BuildGroupFile(const std::vector<SFormulaGroup>& groups);
std::vector<SFormulaGroup> ParseGroupFile(const std::string& file);  // trailing bytes ignored

void PackParamSet(const SParamSet& set, uint8_t* out);  // kParamSetSize bytes
void UnpackParamSet(const uint8_t* in, SParamSet& set);
std::string BuildParamSetFile(const std::deque<SParamSet>& sets);
std::deque<SParamSet> ParseParamSetFile(const std::string& file);  // trailing bytes ignored

}  // namespace formula
