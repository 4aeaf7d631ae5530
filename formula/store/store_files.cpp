#include "formula/store/store_files.h"

#include <algorithm>
#include <cstring>

#include "formula/store/blowfish.h"

#include "platform/le_bytes.h"

namespace formula {

namespace {

void PutInt32(uint8_t* p, int32_t v) { platform::WriteU32(p, static_cast<uint32_t>(v)); }
void PutInt16(uint8_t* p, int16_t v) { platform::WriteU16(p, static_cast<uint16_t>(v)); }
using platform::ReadI16;
using platform::ReadI32;

// A fixed text field read from a file always ends in a zero in memory.
template <size_t N>
void GetText(char (&field)[N], const uint8_t* p) {
  std::memcpy(field, p, N);
  field[N - 1] = '\0';
}

int32_t StoredLength(const std::string& text) {
  return text.empty() ? 0 : static_cast<int32_t>(text.size() + 1);
}

// Offsets inside a record.
constexpr size_t kOffCode = 2, kOffName = 102, kOffGroup = 153, kOffReserved = 157, kOffGrid = 213,
                 kOffParams = 313, kOffFormulaLen = 813,
                 kOffNoteLen = 817;  // 817-820, the record's end
// Offsets inside a parameter set.
constexpr size_t kOffSetCode = 2, kOffSetValues = 102, kOffSetReserved = 486;

// Takes one text of the text area: up to its first zero, advancing by the
// stored length. False when the stored length runs past the end.
bool TakeText(const uint8_t* data, size_t size, size_t& at, int32_t stored, std::string& text) {
  text.clear();
  if (stored <= 0) return true;
  if (static_cast<size_t>(stored) > size - at) return false;
  const uint8_t* begin = data + at;
  const void* zero = std::memchr(begin, 0, static_cast<size_t>(stored));
  const size_t length =
      zero ? static_cast<const uint8_t*>(zero) - begin : static_cast<size_t>(stored);
  text.assign(reinterpret_cast<const char*>(begin), length);
  at += static_cast<size_t>(stored);
  return true;
}

}  // namespace

void PackRecord(const SFormulaRecord& r, uint8_t* out) {
  std::memset(out, 0, kRecordSize);
  PutInt16(out, r.nKind);
  std::memcpy(out + kOffCode, r.szCode, sizeof r.szCode);
  std::memcpy(out + kOffName, r.szName, sizeof r.szName);
  PutInt32(out + kOffGroup, r.nGroupHash);
  std::memcpy(out + kOffReserved, r.reserved, sizeof r.reserved);
  std::memcpy(out + kOffGrid, r.szGridLines, sizeof r.szGridLines);
  std::memcpy(out + kOffParams, r.szParams, sizeof r.szParams);
  PutInt32(out + kOffFormulaLen, StoredLength(r.strFormula));
  PutInt32(out + kOffNoteLen, StoredLength(r.strNote));
}

void UnpackRecord(const uint8_t* in, SFormulaRecord& r) {
  r.nKind = ReadI16(in);
  GetText(r.szCode, in + kOffCode);
  GetText(r.szName, in + kOffName);
  r.nGroupHash = ReadI32(in + kOffGroup);
  std::memcpy(r.reserved, in + kOffReserved, sizeof r.reserved);
  GetText(r.szGridLines, in + kOffGrid);
  GetText(r.szParams, in + kOffParams);
  r.nFormulaLen = ReadI32(in + kOffFormulaLen);
  r.nNoteLen = ReadI32(in + kOffNoteLen);
  r.strFormula.clear();
  r.strNote.clear();
  r.pParamSet = nullptr;
}

std::string BuildDatFile(const std::deque<SFormulaRecord>& formulas) {
  const size_t count = formulas.size();
  size_t size = kDatHeaderSize + kRecordSize * count;
  for (const SFormulaRecord& r : formulas)
    size += StoredLength(r.strFormula) + StoredLength(r.strNote);
  size = (size + 7) / 8 * 8;
  std::string file(size, '\0');
  auto* data = reinterpret_cast<uint8_t*>(file.data());
  PutInt32(data, static_cast<int32_t>(count));
  PutInt32(data + 4, static_cast<int32_t>(kDatHeaderSize + kRecordSize * count));
  size_t at = kDatHeaderSize;
  for (const SFormulaRecord& r : formulas) {
    PackRecord(r, data + at);
    at += kRecordSize;
  }
  for (const SFormulaRecord& r : formulas)
    for (const std::string* text : {&r.strFormula, &r.strNote})
      if (!text->empty()) {
        std::memcpy(data + at, text->data(), text->size());
        at += text->size() + 1;  // the zero is already there
      }
  FormulaCipher().EncipherBuffer(data, file.size());
  return file;
}

bool ParseDatFile(const std::string& file, int kind, std::deque<SFormulaRecord>& records,
                  std::string& error) {
  const size_t size = file.size();
  if (size < kDatHeaderSize || size % 8 != 0) {
    error = "length " + std::to_string(size) + " is not a store file";
    return false;
  }
  std::string plain = file;
  auto* data = reinterpret_cast<uint8_t*>(plain.data());
  FormulaCipher().DecipherBuffer(data, size);
  const int32_t count = ReadI32(data);
  const int32_t textOffset = ReadI32(data + 4);
  if (count < 0 ||
      !platform::RecordsFit(size, kDatHeaderSize, static_cast<size_t>(count), kRecordSize)) {
    error = "formula count " + std::to_string(count) + " runs past the end";
    return false;
  }
  size_t at = kDatHeaderSize + kRecordSize * static_cast<size_t>(count);
  if (textOffset != static_cast<int32_t>(at)) {
    error = "text offset " + std::to_string(textOffset) + " does not follow the records";
    return false;
  }
  std::deque<SFormulaRecord> loaded(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    UnpackRecord(data + kDatHeaderSize + kRecordSize * i, loaded[i]);
    loaded[i].nKind = static_cast<int16_t>(kind);
  }
  for (SFormulaRecord& r : loaded)
    if (!TakeText(data, size, at, r.nFormulaLen, r.strFormula) ||
        !TakeText(data, size, at, r.nNoteLen, r.strNote)) {
      error = std::string("texts of ") + r.szCode + " run past the end";
      return false;
    }
  records = std::move(loaded);
  return true;
}

std::string BuildGroupFile(const std::vector<SFormulaGroup>& groups) {
  std::string file(groups.size() * kGroupSize, '\0');
  for (size_t i = 0; i < groups.size(); ++i)
    std::memcpy(file.data() + i * kGroupSize, groups[i].szName, kGroupSize);
  return file;
}

std::vector<SFormulaGroup> ParseGroupFile(const std::string& file) {
  std::vector<SFormulaGroup> groups(file.size() / kGroupSize);
  for (size_t i = 0; i < groups.size(); ++i)
    GetText(groups[i].szName, reinterpret_cast<const uint8_t*>(file.data()) + i * kGroupSize);
  return groups;
}

void PackParamSet(const SParamSet& set, uint8_t* out) {
  std::memset(out, 0, kParamSetSize);
  PutInt16(out, set.nKind);
  std::memcpy(out + kOffSetCode, set.szCode, sizeof set.szCode);
  uint8_t* values = out + kOffSetValues;
  for (int p = 0; p < PARAM_SET_PARAMS; ++p)
    for (int q = 0; q < PARAM_SET_PERIODS; ++q) {
      uint32_t bits;
      std::memcpy(&bits, &set.fValues[p][q], 4);
      PutInt32(values, static_cast<int32_t>(bits));
      values += 4;
    }
  std::memcpy(out + kOffSetReserved, set.reserved, sizeof set.reserved);
}

void UnpackParamSet(const uint8_t* in, SParamSet& set) {
  set.nKind = ReadI16(in);
  GetText(set.szCode, in + kOffSetCode);
  const uint8_t* values = in + kOffSetValues;
  for (int p = 0; p < PARAM_SET_PARAMS; ++p)
    for (int q = 0; q < PARAM_SET_PERIODS; ++q) {
      const uint32_t bits = static_cast<uint32_t>(ReadI32(values));
      std::memcpy(&set.fValues[p][q], &bits, 4);
      values += 4;
    }
  std::memcpy(set.reserved, in + kOffSetReserved, sizeof set.reserved);
}

std::string BuildParamSetFile(const std::deque<SParamSet>& sets) {
  std::string file(sets.size() * kParamSetSize, '\0');
  for (size_t i = 0; i < sets.size(); ++i)
    PackParamSet(sets[i], reinterpret_cast<uint8_t*>(file.data()) + i * kParamSetSize);
  return file;
}

std::deque<SParamSet> ParseParamSetFile(const std::string& file) {
  std::deque<SParamSet> sets(file.size() / kParamSetSize);
  for (size_t i = 0; i < sets.size(); ++i)
    UnpackParamSet(reinterpret_cast<const uint8_t*>(file.data()) + i * kParamSetSize, sets[i]);
  return sets;
}

}  // namespace formula
