#include "formula/store/formula_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "formula/compiler/GbkText.h"
#include "formula/store/formula_kinds.h"
#include "formula/store/store_files.h"
#include "platform/paths.h"

namespace formula {

namespace {

int ClampKind(int kind) { return std::clamp(kind, 0, FORMULA_KIND_COUNT - 1); }

enum class ReadResult { Ok, Missing, TooLarge };

ReadResult ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadResult::Missing;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return ReadResult::Missing;
  if (static_cast<uint64_t>(size) > kMaxStoreFileSize) return ReadResult::TooLarge;
  in.seekg(0, std::ios::beg);
  out.assign(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(out.data(), size)) return ReadResult::Missing;
  return ReadResult::Ok;
}

// Writes the kind's ".tmp" file completely and only then renames it over
// the target, so a failed save leaves the previous file as it was.
bool ReplaceFile(const std::string& tmpPath, const std::string& path, const std::string& data) {
  std::FILE* file = std::fopen(tmpPath.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size() && std::fflush(file) == 0;
  if (std::fclose(file) != 0 || !written || std::rename(tmpPath.c_str(), path.c_str()) != 0) {
    std::remove(tmpPath.c_str());
    return false;
  }
  return true;
}

void CopyText(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  std::strncpy(field, text, size - 1);
}

SParamSet NewParamSet(int kind, const char* code) {
  SParamSet set;  // every value INVALID_VALUE, the rest zero
  set.nKind = static_cast<int16_t>(kind);
  CopyText(set.szCode, sizeof set.szCode, code);
  return set;
}

}  // namespace

const char* const CFormulaStore::kDefaultGroups[7] = {
    "\xb4\xf3\xca\xc6\xd0\xcd",              // 大势型
    "\xb3\xac\xc2\xf2\xb3\xac\xc2\xf4\xd0\xcd",  // 超买超卖型
    "\xc7\xf7\xca\xc6\xd0\xcd",              // 趋势型
    "\xc4\xdc\xc1\xbf\xd0\xcd",              // 能量型
    "\xb3\xc9\xbd\xbb\xc1\xbf\xd0\xcd",      // 成交量型
    "\xbe\xf9\xcf\xdf\xd0\xcd",              // 均线型
    "\xc6\xe4\xcb\xfb",                      // 其他
};

bool SameCode(const char* a, const char* b) {
  if (!a || !b) return false;
  // Codes may hold Chinese characters: only single-byte ASCII letters fold,
  // a two-byte character must match byte for byte (its trail byte may lie
  // in the range of the letters).
  return EqualNoCase(a, b);
}

std::string CFormulaStore::Directory() const {
  if (!dirOverride_.empty()) return dirOverride_;
  // The formula folder is installed beside the library that holds this code.
  static const char kHere = 0;
  return platform::GetModuleDir(&kHere) + "formula/";
}

void CFormulaStore::SetDirectoryOverride(const std::string& dir) {
  dirOverride_ = dir;
  if (!dirOverride_.empty() && dirOverride_.back() != '/') dirOverride_ += '/';
}

std::string CFormulaStore::KindPath(int kind, const char* extension) const {
  return Directory() + FormulaKindStem(kind) + extension;
}

void CFormulaStore::SetTraceSink(std::function<void(const std::string&)> sink) { trace_ = std::move(sink); }

void CFormulaStore::Trace(const std::string& line) const {
  if (trace_) trace_(line);
  else std::cerr << line << '\n';
}

std::deque<SFormulaRecord>& CFormulaStore::Formulas(int kind) { return formulas_[ClampKind(kind)]; }
std::vector<SFormulaGroup>& CFormulaStore::Groups(int kind) { return groups_[ClampKind(kind)]; }
std::deque<SParamSet>& CFormulaStore::ParamSets(int kind) { return sets_[ClampKind(kind)]; }
bool CFormulaStore::IsDatRefused(int kind) const { return datRefused_[ClampKind(kind)]; }

int CFormulaStore::SizeAtSet(int kind) const {
  return kind >= 0 && kind < FORMULA_KIND_COUNT ? static_cast<int>(formulas_[kind].size()) : 0;
}

SFormulaRecord* CFormulaStore::FormulaAt(int kind, int index) {
  if (index < 0 || index >= SizeAtSet(kind)) return nullptr;
  return &formulas_[kind][static_cast<size_t>(index)];
}

SFormulaRecord* CFormulaStore::Find(int kind, const char* name) {
  if (kind < 0 || kind >= FORMULA_KIND_COUNT || !name) return nullptr;
  for (SFormulaRecord& r : formulas_[kind])
    if (SameCode(r.szCode, name)) return &r;
  return nullptr;
}

SFormulaRecord* CFormulaStore::FindForCall(int kind, const char* name) {
  if (kind < 0 || kind >= FORMULA_KIND_COUNT || !name) return nullptr;
  for (SFormulaRecord& r : formulas_[kind]) {
    if (r.szCode[0] == '\0') return nullptr;
    if (SameCode(r.szCode, name)) return &r;
  }
  return nullptr;
}

int CFormulaStore::IndexOf(int kind, const SFormulaRecord* record) const {
  if (kind < 0 || kind >= FORMULA_KIND_COUNT || !record) return -1;
  const std::deque<SFormulaRecord>& list = formulas_[kind];
  for (size_t i = 0; i < list.size(); ++i)
    if (&list[i] == record) return int(i);
  return -1;
}

bool CFormulaStore::RemoveFormula(int kind, const SFormulaRecord* record) {
  const int index = IndexOf(kind, record);
  if (index < 0) return false;
  formulas_[kind].erase(formulas_[kind].begin() + index);
  return true;
}

void CFormulaStore::Clear() {
  for (int k = 0; k < FORMULA_KIND_COUNT; ++k) {
    formulas_[k].clear();
    groups_[k].clear();
    sets_[k].clear();
    datRefused_[k] = false;
  }
}

void CFormulaStore::LoadAll() {
  for (int k = 0; k < FORMULA_KIND_COUNT; ++k) LoadKind(k);
}

void CFormulaStore::SaveAll() {
  for (int k = 0; k < FORMULA_KIND_COUNT; ++k) SaveKind(k);
}

void CFormulaStore::LoadGroups(int kind) {
  std::error_code ignored;
  std::filesystem::create_directories(Directory(), ignored);
  std::string file;
  const ReadResult read = ReadWholeFile(KindPath(kind, ".grp"), file);
  if (read == ReadResult::Ok) {
    groups_[kind] = ParseGroupFile(file);
    return;
  }
  if (read == ReadResult::TooLarge) Trace("formula store: " + KindPath(kind, ".grp") + " is too large, not read");
  if (kind == FORMULA_INDICATOR) {
    // defaults replace what is held, so loading again never repeats them
    groups_[kind].clear();
    for (const char* name : kDefaultGroups) {
      SFormulaGroup group;
      CopyText(group.szName, sizeof group.szName, name);
      groups_[kind].push_back(group);
    }
  }
}

void CFormulaStore::LoadParamSets(int kind) {
  std::string file;
  const ReadResult read = ReadWholeFile(KindPath(kind, ".set"), file);
  if (read == ReadResult::Ok) sets_[kind] = ParseParamSetFile(file);
  else if (read == ReadResult::TooLarge) Trace("formula store: " + KindPath(kind, ".set") + " is too large, not read");
  if (sets_[kind].empty())
    for (const SFormulaRecord& r : formulas_[kind]) sets_[kind].push_back(NewParamSet(kind, r.szCode));
}

void CFormulaStore::LinkParamSets(int kind) {
  std::deque<SParamSet>& sets = sets_[kind];
  for (SFormulaRecord& r : formulas_[kind]) {
    r.pParamSet = nullptr;
    for (SParamSet& set : sets)
      if (SameCode(set.szCode, r.szCode)) {
        r.pParamSet = &set;
        break;
      }
    // a formula without a set gets one, linked from the next load on
    if (!r.pParamSet) sets.push_back(NewParamSet(kind, r.szCode));
  }
}

void CFormulaStore::AddExamples(int kind) {
  if (kind != FORMULA_INDICATOR) return;
  auto add = [&](const char* code, const char* name, const char* params, const char* body) {
    SFormulaRecord r;
    r.nKind = static_cast<int16_t>(kind);
    CopyText(r.szCode, sizeof r.szCode, code);
    CopyText(r.szName, sizeof r.szName, name);
    CopyText(r.szGridLines, sizeof r.szGridLines, "0.0");
    CopyText(r.szParams, sizeof r.szParams, params);
    r.strFormula = body;
    formulas_[kind].push_back(std::move(r));
  };
  add("TestZB", "\xb2\xe2\xca\xd4\xd6\xb8\xb1\xea", "", "T:12;");  // 测试指标
  add("ZB2Param", "\xb2\xe2\xca\xd4\xd6\xb8\xb1\xea\xb2\xce\xca\xfd",  // 测试指标参数
      "N:^P(1,100,80,2,10);/*\xd2\xc0\xb4\xce\xb6\xa8\xd2\xe5\xb2\xce\xca\xfd\xd7\xee\xd0\xa1,\xd7\xee\xb4\xf3,"
      "\xc8\xb1\xca\xa1\xd6\xb5,\xb2\xbd\xb3\xa4\xb5\xc8*/\r\nM:^P(1,100,80,2,10);",  // 依次定义参数最小,最大,缺省值,步长等
      "T:N;\r\nS:M;");
}

void CFormulaStore::LoadKind(int kind) {
  kind = ClampKind(kind);
  LoadGroups(kind);
  datRefused_[kind] = false;
  std::string file;
  const std::string path = KindPath(kind, ".dat");
  const ReadResult read = ReadWholeFile(path, file);
  if (read == ReadResult::Missing) {
    formulas_[kind].clear();
    AddExamples(kind);
    return;
  }
  std::string error;
  if (read == ReadResult::TooLarge) error = "the file is too large";
  if (read == ReadResult::TooLarge || !ParseDatFile(file, kind, formulas_[kind], error)) {
    Trace("formula store: " + path + " refused (" + error + "); it is kept as it is and not saved over");
    datRefused_[kind] = true;
    formulas_[kind].clear();
    return;
  }
  LoadParamSets(kind);
  LinkParamSets(kind);
}

void CFormulaStore::SaveKind(int kind) {
  kind = ClampKind(kind);
  std::error_code ignored;
  std::filesystem::create_directories(Directory(), ignored);
  const std::string tmp = KindPath(kind, ".tmp");
  if (!groups_[kind].empty()) ReplaceFile(tmp, KindPath(kind, ".grp"), BuildGroupFile(groups_[kind]));
  if (!datRefused_[kind]) ReplaceFile(tmp, KindPath(kind, ".dat"), BuildDatFile(formulas_[kind]));
  if (!sets_[kind].empty()) ReplaceFile(tmp, KindPath(kind, ".set"), BuildParamSetFile(sets_[kind]));
}

CFormulaStore& TheFormulaStore() {
  static CFormulaStore store;
  return store;
}

}  // namespace formula
