// The keyboard index: building, searching and ordering (see input_key.h).
#include "zeb/core/input/input_key.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "zeb/core/input/key_initials.h"
#include "zeb/core/input/key_weights.h"
#include "zeb/core/input/normal_cmd_file.h"
#include "zeb/store/store_records.h"

namespace {

CInputKey* g_instance = nullptr;

// Entries are added by the thousand at every market table.
constexpr size_t kIndexGrowth = 1000;

bool IsKnownKind(int kind) {
  return kind == kKeyItem || kind == kKeyCommand || kind == kKeyBlock || kind == kKeyFormula;
}

// The identity of an entry with a code text: market and up to 6 code bytes.
uint64_t CodeIdentity(uint16_t market, const char* code) {
  uint64_t id = market;
  for (size_t i = 0; i < kKeyCodeSize - 1; ++i) id = (id << 8) | (unsigned char)code[i];
  return id;
}

// One bit per byte value modulo 64: a set that may hold more than the
// letters it was made of, never less.
uint64_t LetterBits(std::string_view letters) {
  uint64_t bits = 0;
  for (char c : letters) bits |= uint64_t{1} << ((unsigned char)c % 64);
  return bits;
}

uint64_t SlotLetters(const CKeyGhostStruct& e) {
  uint64_t bits = 0;
  for (int s = 0; s < e.slotCount; ++s)
    bits |= LetterBits(std::string_view(e.initials[s], strnlen(e.initials[s], kKeySlotSize)));
  return bits;
}

bool LessWithoutCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = (unsigned char)KeyUpper(*a), y = (unsigned char)KeyUpper(*b);
    if (x != y) return x < y;
    if (x == 0) return false;
  }
}

}  // namespace

CInputKey::CInputKey() = default;
CInputKey::~CInputKey() = default;

CInputKey* CInputKey::GetInstance() {
  if (!g_instance) g_instance = new CInputKey;
  return g_instance;
}

void CInputKey::ReleaseInstance() {
  if (!g_instance) return;
  g_instance->SaveWeights();
  delete g_instance;
  g_instance = nullptr;
}

std::string CInputKey::ProgramDir() const {
  return m_sources.programDir.empty() ? platform::GetProgramDir() : m_sources.programDir;
}

void CInputKey::Clear() {
  m_entries.clear();
  m_slotLetters.clear();
  m_results.clear();
  m_byCode.clear();
  m_blocksByName.clear();
}

void CInputKey::Load() {
  std::string bytes;
  if (platform::ReadFile(ProgramDir() + kNormalCmdFileName, bytes)) {
    for (const SNormalCmd& cmd : ParseNormalCmdFile(bytes))
      AddEntry(cmd.code.c_str(), cmd.name.c_str(), cmd.kind, cmd.market);
  }
  if (m_sources.blockNames) {
    for (const std::string& name : m_sources.blockNames()) AddEntry("", name.c_str(), kKeyBlock, 0);
  }
  const std::vector<SFormulaKey> formulas =
      m_sources.formulas ? m_sources.formulas() : FormulaLibraryIndicators();
  for (const SFormulaKey& f : formulas)
    AddEntry(KeyUpper(f.code).c_str(), f.name.c_str(), kKeyFormula, 0);

  m_storedWeights = ReadKeyWeights();
  for (CKeyGhostStruct& e : m_entries) {
    auto it = m_storedWeights.find(e.code);
    if (it != m_storedWeights.end()) e.weight = it->second;
  }
}

void CInputKey::AddItems(uint16_t market, const SStockInfo* items, int count) {
  if (!items) return;
  if (m_entries.capacity() < m_entries.size() + (size_t)std::max(count, 0)) {
    m_entries.reserve(m_entries.size() + (size_t)std::max(count, 0) + kIndexGrowth);
    m_slotLetters.reserve(m_entries.capacity());
  }
  for (int i = 0; i < count; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%06d", (int)items[i].code);
    AddEntry(code, items[i].GetName().c_str(), kKeyItem, market);
  }
}

bool CInputKey::AddEntry(const char* code, const char* name, int kind, uint16_t market) {
  if (!IsKnownKind(kind)) return false;
  const std::string upper = KeyUpper(code ? code : "");
  const std::string_view fullName = name ? name : "";
  if (upper.size() >= kKeyCodeSize) return false;
  if (upper.empty() && (kind != kKeyBlock || fullName.empty() || fullName.size() >= kKeyNameSize))
    return false;

  CKeyGhostStruct e;
  e.market = market;
  std::memcpy(e.code, upper.data(), upper.size());
  platform::GbkCopyCut(e.name, sizeof e.name, std::string(fullName).c_str());
  e.slotCount = FillInitialSlots(fullName, e.initials);
  e.kind = (uint8_t)kind;
  if (!upper.empty()) {
    auto it = m_storedWeights.find(upper);
    if (it != m_storedWeights.end()) e.weight = it->second;
  }

  const uint32_t next = (uint32_t)m_entries.size();
  uint32_t* slot;
  if (upper.empty()) slot = &m_blocksByName.try_emplace(std::string(fullName), next).first->second;
  else slot = &m_byCode.try_emplace(CodeIdentity(market, e.code), next).first->second;
  if (*slot != next) {
    m_entries[*slot] = e;
    m_slotLetters[*slot] = SlotLetters(e);
    return true;
  }
  if (m_entries.size() == m_entries.capacity()) {
    m_entries.reserve(m_entries.size() + kIndexGrowth);
    m_slotLetters.reserve(m_entries.capacity());
  }
  m_entries.push_back(e);
  m_slotLetters.push_back(SlotLetters(e));
  return true;
}

void CInputKey::PushResult(uint32_t index, const char* key, size_t keyLength) {
  SResult r;
  r.entry = index;
  r.order = (uint32_t)m_results.size();
  std::memset(r.key, 0, sizeof r.key);
  std::memcpy(r.key, key, keyLength);
  const char* shown = keyLength ? r.key : m_entries[index].code;
  r.keyLength = (uint8_t)std::strlen(shown);
  m_results.push_back(r);
}

void CInputKey::AddCombinations(uint32_t index, const std::string& pattern,
                                uint64_t patternLetters) {
  const CKeyGhostStruct& e = m_entries[index];
  const size_t slots = (size_t)e.slotCount;
  if (slots == 0 || pattern.size() > slots || (patternLetters & ~m_slotLetters[index]) != 0) return;
  size_t letters[kKeySlots] = {};
  for (size_t s = 0; s < slots; ++s) {
    letters[s] = strnlen(e.initials[s], kKeySlotSize - 1);
    if (letters[s] == 0) return;  // a character without known readings
  }
  // Odometer over one letter per slot, the last slot turning fastest.
  size_t pick[kKeySlots] = {};
  char combination[kKeySlots + 1] = {};
  while (true) {
    for (size_t s = 0; s < slots; ++s) combination[s] = e.initials[s][pick[s]];
    if (std::string_view(combination, slots).find(pattern) != std::string_view::npos)
      PushResult(index, combination, slots);
    size_t s = slots;
    while (s > 0 && ++pick[s - 1] == letters[s - 1]) pick[--s] = 0;
    if (s == 0) break;
  }
}

int CInputKey::Find(const char* text, int* count) {
  m_results.clear();
  const std::string pattern = KeyUpper(text ? text : "");
  // Nothing longer than a match key can match.
  if (!pattern.empty() && pattern.size() < kKeyMatchSize && !m_entries.empty()) {
    const uint64_t patternLetters = LetterBits(pattern);
    for (uint32_t i = 0; i < (uint32_t)m_entries.size(); ++i) {
      if (std::string_view(m_entries[i].code).find(pattern) != std::string_view::npos)
        PushResult(i, "", 0);
      AddCombinations(i, pattern, patternLetters);
    }
  }
  if (count) *count = (int)m_results.size();
  return (int)m_results.size();
}

bool CInputKey::Before(const SResult& a, const SResult& b) const {
  const CKeyGhostStruct& ea = m_entries[a.entry];
  const CKeyGhostStruct& eb = m_entries[b.entry];
  if (ea.weight != eb.weight) return ea.weight > eb.weight;
  if (a.keyLength != b.keyLength) return a.keyLength < b.keyLength;
  const char* ka = a.key[0] ? a.key : ea.code;
  const char* kb = b.key[0] ? b.key : eb.code;
  if (LessWithoutCase(ka, kb)) return true;
  if (LessWithoutCase(kb, ka)) return false;
  return a.order < b.order;
}

void CInputKey::SortResults(int count) {
  auto before = [this](const SResult& a, const SResult& b) { return Before(a, b); };
  if (count <= 0) return;
  if ((size_t)count >= m_results.size()) std::sort(m_results.begin(), m_results.end(), before);
  else std::partial_sort(m_results.begin(), m_results.begin() + count, m_results.end(), before);
}

CKeyGhostStruct CInputKey::GetResult(int index) const {
  const SResult& r = m_results[(size_t)index];
  CKeyGhostStruct e = m_entries[r.entry];
  std::memcpy(e.key, r.key, sizeof e.key);
  return e;
}

bool CInputKey::SaveWeights() const {
  std::vector<std::pair<std::string, int32_t>> weighted;
  for (const CKeyGhostStruct& e : m_entries)
    if (e.weight > 0) weighted.emplace_back(e.code, e.weight);
  std::stable_sort(weighted.begin(), weighted.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  return WriteKeyWeights(weighted);
}
