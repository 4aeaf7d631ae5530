#include "formula/store/formula_store.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "formula/text/GbkText.h"
#include "formula/store/formula_kinds.h"
#include "formula/store/store_files.h"
#include "platform/paths.h"

namespace formula {

namespace {

int ClampKind(int kind) { return std::clamp(kind, 0, FORMULA_KIND_COUNT - 1); }

// Why a read gave nothing, for the trace line of a refused file.
const char* RefusalReason(platform::FileRead read) {
  return read == platform::FileRead::kTooLarge ? "the file is too large"
                                               : "the file cannot be read";
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
    "\xb4\xf3\xca\xc6\xd0\xcd",                  // 大势型
    "\xb3\xac\xc2\xf2\xb3\xac\xc2\xf4\xd0\xcd",  // 超买超卖型
    "\xc7\xf7\xca\xc6\xd0\xcd",                  // 趋势型
    "\xc4\xdc\xc1\xbf\xd0\xcd",                  // 能量型
    "\xb3\xc9\xbd\xbb\xc1\xbf\xd0\xcd",          // 成交量型
    "\xbe\xf9\xcf\xdf\xd0\xcd",                  // 均线型
    "\xc6\xe4\xcb\xfb",                          // 其他
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

void CFormulaStore::SetTraceSink(std::function<void(const std::string&)> sink) {
  trace_ = std::move(sink);
}

void CFormulaStore::Trace(const std::string& line) const {
  if (trace_) trace_(line);
  else std::cerr << line << '\n';
}

std::deque<SFormulaRecord>& CFormulaStore::Formulas(int kind) { return formulas_[ClampKind(kind)]; }
std::vector<SFormulaGroup>& CFormulaStore::Groups(int kind) { return groups_[ClampKind(kind)]; }
std::deque<SParamSet>& CFormulaStore::ParamSets(int kind) { return sets_[ClampKind(kind)]; }
bool CFormulaStore::IsDatRefused(int kind) const { return refused_[ClampKind(kind)][kDatFile]; }

void CFormulaStore::Refuse(int kind, StoreFile file, const std::string& why) {
  refused_[kind][file] = true;
  Trace("formula store: " + KindPath(kind, kExtensions[file]) + " refused (" + why +
        "); it is kept as it is and not saved over");
}

platform::FileRead CFormulaStore::ReadKindFile(int kind, StoreFile file, std::string& out) {
  refused_[kind][file] = false;
  const platform::FileRead read = platform::ReadWholeFile(KindPath(kind, kExtensions[file]), out);
  if (read == platform::FileRead::kUnreadable || read == platform::FileRead::kTooLarge)
    Refuse(kind, file, RefusalReason(read));
  return read;
}

void CFormulaStore::SaveKindFile(int kind, StoreFile file, const std::string& data) const {
  if (!refused_[kind][file]) platform::WriteFileAtomic(KindPath(kind, kExtensions[file]), data);
}

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
    for (bool& refused : refused_[k]) refused = false;
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
  if (ReadKindFile(kind, kGroupFile, file) == platform::FileRead::kRead) {
    groups_[kind] = ParseGroupFile(file);
    return;
  }
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
  if (ReadKindFile(kind, kSetFile, file) == platform::FileRead::kRead)
    sets_[kind] = ParseParamSetFile(file);
  if (sets_[kind].empty())
    for (const SFormulaRecord& r : formulas_[kind])
      sets_[kind].push_back(NewParamSet(kind, r.szCode));
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
  add("TestZB", "\xb2\xe2\xca\xd4\xd6\xb8\xb1\xea", "", "T:12;");      // 测试指标
  add("ZB2Param", "\xb2\xe2\xca\xd4\xd6\xb8\xb1\xea\xb2\xce\xca\xfd",  // 测试指标参数
      "N:^P(1,100,80,2,10);/*\xd2\xc0\xb4\xce\xb6\xa8\xd2\xe5\xb2\xce\xca\xfd\xd7\xee\xd0\xa1,\xd7\xee\xb4\xf3,"
      "\xc8\xb1\xca\xa1\xd6\xb5,\xb2\xbd\xb3\xa4\xb5\xc8*/\r\nM:^P(1,100,80,2,10);",  // 依次定义参数最小,最大,缺省值,步长等
      "T:N;\r\nS:M;");
}

void CFormulaStore::LoadKind(int kind) {
  kind = ClampKind(kind);
  LoadGroups(kind);
  refused_[kind][kSetFile] = false;
  std::string file;
  const platform::FileRead read = ReadKindFile(kind, kDatFile, file);
  if (read == platform::FileRead::kMissing) {
    // Only a file that is not there at all gets the examples; one that
    // exists but cannot be read holds the user's formulas.
    formulas_[kind].clear();
    AddExamples(kind);
    return;
  }
  std::string error;
  if (read != platform::FileRead::kRead || !ParseDatFile(file, kind, formulas_[kind], error)) {
    if (read == platform::FileRead::kRead) Refuse(kind, kDatFile, error);
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
  // Each file is replaced whole through a temporary file of its own (see
  // platform::AtomicFile); a failed save leaves the previous file.
  if (!groups_[kind].empty()) SaveKindFile(kind, kGroupFile, BuildGroupFile(groups_[kind]));
  SaveKindFile(kind, kDatFile, BuildDatFile(formulas_[kind]));
  if (!sets_[kind].empty()) SaveKindFile(kind, kSetFile, BuildParamSetFile(sets_[kind]));
}

CFormulaStore& TheFormulaStore() {
  static CFormulaStore store;
  return store;
}

}  // namespace formula
