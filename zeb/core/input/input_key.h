// CInputKey: the keyboard index. Everything the user can open by typing
// (the store's items, the typed commands of "normalcmd.dat", the block
// lists, the indicator formulas) is one entry here, found by a substring of
// its code text or of the initial letters of its name, and ordered by a
// weight kept in the registry stand-in. Used on the user-interface thread
// only; the main frame rebuilds it at every market table (Clear, Load,
// AddItems per market block).
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "zeb/core/input/key_entry.h"

struct SStockInfo;

// An indicator formula as the index takes it.
struct SFormulaKey {
  std::string code;
  std::string name;
};

// Where Load takes what the store does not hold.
struct SKeyInputSources {
  // Folder of "normalcmd.dat", ending in "/"; empty: the program folder.
  std::string programDir;
  // Names of the block lists (the block manager's user blocks); unset: none.
  std::function<std::vector<std::string>()> blockNames;
  // The indicator formulas (kind 0 of the formula library); unset: the
  // installed formula library's store (FormulaAccess).
  std::function<std::vector<SFormulaKey>()> formulas;
};

// The installed formula library's indicator formulas (kind 0).
std::vector<SFormulaKey> FormulaLibraryIndicators();

class CInputKey {
 public:
  CInputKey();
  ~CInputKey();
  CInputKey(const CInputKey&) = delete;
  CInputKey& operator=(const CInputKey&) = delete;

  // The process-wide index, made on first use.
  static CInputKey* GetInstance();
  // Saves the weights and deletes the process-wide index.
  static void ReleaseInstance();

  void SetSources(SKeyInputSources sources) { m_sources = std::move(sources); }

  // Empties the index and the results.
  void Clear();
  // Adds the entries of "normalcmd.dat", the blocks and the formulas, then
  // reads the weights from the registry stand-in and gives them to every
  // entry with a stored code text, now and when added later.
  void Load();
  // One entry per item: code text "%06d" of the item code, the item's name,
  // kind 0, the market.
  void AddItems(uint16_t market, const SStockInfo* items, int count);
  // Builds an entry (code upper-cased, name cut to 19 bytes on a character
  // boundary) and adds it, replacing an entry of the same code text and
  // market. Refused (false): an unknown kind, a code text longer than 6
  // bytes (a cut code would open another item or nothing), an empty code
  // text except for a block, and a block whose name is empty or does not
  // fit whole (blocks are opened by name and found by its initials).
  bool AddEntry(const char* code, const char* name, int kind, uint16_t market);

  // Fills the results for the typed text (upper-cased): every entry whose
  // code text contains it (match key empty), then for every entry each
  // combination of one letter per initial slot that contains it (match key
  // = the combination). Returns the number of results (also in *count).
  int Find(const char* text, int* count = nullptr);
  // Orders the results by weight (larger first), then the shorter key,
  // then the keys without regard to case, then the order found; only the
  // first count results are put in order (all when count covers them), so
  // a list of 100 lines need not sort thousands of matches.
  void SortResults(int count);
  int GetResultCount() const { return (int)m_results.size(); }
  // A copy of the entry behind result index, with its match key.
  CKeyGhostStruct GetResult(int index) const;

  int GetEntryCount() const { return (int)m_entries.size(); }
  const CKeyGhostStruct& GetEntry(int index) const { return m_entries[(size_t)index]; }

  // Writes the weights: entries by weight, larger first, at most 30 with a
  // weight above 0. False when the key could not be replaced.
  bool SaveWeights() const;

 private:
  struct SResult {
    uint32_t entry;
    uint32_t order;
    uint8_t keyLength;
    char key[kKeyMatchSize];
  };

  void AddCombinations(uint32_t index, const std::string& pattern, uint64_t patternLetters);
  void PushResult(uint32_t index, const char* key, size_t keyLength);
  bool Before(const SResult& a, const SResult& b) const;
  std::string ProgramDir() const;

  SKeyInputSources m_sources;
  std::vector<CKeyGhostStruct> m_entries;
  // Per entry: the letters its initial slots hold (LetterBits), so a search
  // skips the combinations of names that lack a typed letter.
  std::vector<uint64_t> m_slotLetters;
  std::vector<SResult> m_results;
  // (market, code text) -> entry; blocks without code text by name.
  std::unordered_map<uint64_t, uint32_t> m_byCode;
  std::unordered_map<std::string, uint32_t> m_blocksByName;
  std::map<std::string, int32_t> m_storedWeights;
};
