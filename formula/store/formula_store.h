// The formula store: for each of the five kinds an ordered list of
// formulas, of groups and of parameter sets, loaded from and saved to the
// kind's ".dat", ".grp" and ".set" files in the formula folder.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "formula/functions/formula_types.h"
#include "platform/paths.h"

namespace formula {

class CFormulaStore {
 public:
  // Folder of the formula files, ending in "/": the override when set,
  // else the folder of the library holding the store followed by "formula/".
  std::string Directory() const;
  void SetDirectoryOverride(const std::string& dir);  // "" removes it

  // Kinds outside 0-4 are taken as the nearest of them.
  void LoadKind(int kind);
  void SaveKind(int kind);
  void LoadAll();  // kinds 0 to 4 in turn
  void SaveAll();

  // The lists of kind 0-4 (out-of-range kinds are clamped). Elements keep
  // their addresses while the lists grow at the end.
  std::deque<SFormulaRecord>& Formulas(int kind);
  std::vector<SFormulaGroup>& Groups(int kind);
  std::deque<SParamSet>& ParamSets(int kind);

  // Number of formulas of kind 0-4; 0 for another kind.
  int SizeAtSet(int kind) const;
  // Formula index of the kind, or null when either is out of range.
  SFormulaRecord* FormulaAt(int kind, int index);
  // The first formula whose code equals name without regard to ASCII case.
  SFormulaRecord* Find(int kind, const char* name);
  // As Find, for calls of one formula by another: the scan also stops at
  // the first record whose code is empty.
  SFormulaRecord* FindForCall(int kind, const char* name);

  // Position of record in the kind's list, or -1 when it is not there.
  int IndexOf(int kind, const SFormulaRecord* record) const;
  // Removes record from the kind's list. The records after it move up one
  // place: a pointer to any of them now sees the record that followed it,
  // so holders of such pointers must drop them (see IndexOf). False when
  // the record is not in the list.
  bool RemoveFormula(int kind, const SFormulaRecord* record);

  // True when the kind's ".dat" file was refused at the last load (damaged,
  // unreadable or above the size cap): it is left on disk as it is and
  // never overwritten by SaveKind. A refused ".grp" or ".set" file is kept
  // the same way.
  bool IsDatRefused(int kind) const;

  // Where refusals are reported (one line each); stderr by default.
  void SetTraceSink(std::function<void(const std::string&)> sink);

  void Clear();  // empties every list

  static const char* const kDefaultGroups[7];

 private:
  enum StoreFile { kDatFile, kGroupFile, kSetFile, kStoreFileCount };
  static constexpr const char* kExtensions[kStoreFileCount] = {".dat", ".grp", ".set"};

  std::string KindPath(int kind, const char* extension) const;
  void Trace(const std::string& line) const;
  // Reads one file of the kind; a file that exists but cannot be read is
  // refused (traced, and never saved over until it reads again).
  platform::FileRead ReadKindFile(int kind, StoreFile file, std::string& out);
  void Refuse(int kind, StoreFile file, const std::string& why);
  void SaveKindFile(int kind, StoreFile file, const std::string& data) const;
  void LoadGroups(int kind);
  void LoadParamSets(int kind);
  void LinkParamSets(int kind);
  void AddExamples(int kind);

  std::string dirOverride_;
  std::deque<SFormulaRecord> formulas_[FORMULA_KIND_COUNT];
  std::vector<SFormulaGroup> groups_[FORMULA_KIND_COUNT];
  std::deque<SParamSet> sets_[FORMULA_KIND_COUNT];
  bool refused_[FORMULA_KIND_COUNT][kStoreFileCount] = {};
  std::function<void(const std::string&)> trace_;
};

// The one store of the library.
CFormulaStore& TheFormulaStore();

// Equality of two codes without regard to ASCII case (GBK bytes compare as they are).
bool SameCode(const char* a, const char* b);

}  // namespace formula
