#include "model.h"

#include <utility>

namespace vospel {

namespace {
inline unsigned char LowerAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}
}  // namespace

int32_t NameHash(std::string_view name) {
  uint32_t h = 5381;
  for (unsigned char c : name) h = 33 * h + LowerAscii(c);
  return static_cast<int32_t>(h);
}

bool SameName(std::string_view a, int32_t hashA, std::string_view b, int32_t hashB) {
  if (hashA != hashB || a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(static_cast<unsigned char>(a[i])) !=
        LowerAscii(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool Entry::IsKey() const {
  if (kind == kKey) return true;
  if (kind != kPlaceholder) return false;
  for (const KeyVals& v : values.Items())
    if (v.GetType() == KeyVals::kPooled || v.GetType() == KeyVals::kOwned) return true;
  return false;
}

Region* Region::FindBlock(std::string_view n, int32_t h) {
  for (auto& b : blocks)
    if (SameName(b->name, b->hash, n, h)) return b.get();
  return nullptr;
}

Region* Region::AddBlock(std::string_view n) {
  auto block = std::make_unique<Region>();
  block->name = n;
  block->hash = NameHash(n);
  blocks.push_back(std::move(block));
  return blocks.back().get();
}

Entry* Region::FindKey(std::string_view n, int32_t h) {
  for (auto& e : entries)
    if (e->IsKey() && SameName(e->text, e->hash, n, h)) return e.get();
  return nullptr;
}

void Model::Clear() {
  global.entries.clear();
  global.blocks.clear();
  global.global = true;
  sections.clear();
  currentSection = nullptr;
  currentRegion = &global;
  blockStack.clear();
  listStack.clear();
  currentList = nullptr;
  depth = 0;
}

Region* Model::FindSection(std::string_view n, int32_t h) {
  for (auto& s : sections)
    if (SameName(s->name, s->hash, n, h)) return s.get();
  return nullptr;
}

Region* Model::AddSection(std::string_view n) {
  auto section = std::make_unique<Region>();
  section->name = n;
  section->hash = NameHash(n);
  section->entries.reserve(100);
  sections.push_back(std::move(section));
  return sections.back().get();
}

void Model::OnSection(std::string_view name) {
  if (!blockStack.empty()) return;  // headers inside a block are ignored
  currentSection = AddSection(name);
  currentRegion = currentSection;
}

void Model::OnRawLine(std::string_view line) {
  auto entry = std::make_unique<Entry>();
  entry->kind = Entry::kRawLine;
  entry->text = line;
  currentRegion->entries.push_back(std::move(entry));
}

void Model::OnBlockOpen(std::string_view name) {
  Region* parent = !blockStack.empty()         ? blockStack.back()
                   : currentSection != nullptr ? currentSection
                                               : &global;
  Region* block = parent->AddBlock(name);
  blockStack.push_back(block);
  currentRegion = block;
}

void Model::OnBlockClose() {
  if (!blockStack.empty()) blockStack.pop_back();
  currentRegion = !blockStack.empty()         ? blockStack.back()
                  : currentSection != nullptr ? currentSection
                                              : &global;
}

void Model::OnKey(std::string_view name) {
  auto entry = std::make_unique<Entry>();
  entry->kind = Entry::kKey;
  entry->text = name;
  entry->hash = NameHash(name);
  entry->values.Items().reserve(4);
  currentList = &entry->values;
  currentRegion->entries.push_back(std::move(entry));
  listStack.clear();
  depth = 0;
}

void Model::OnValue(std::string_view text) {
  if (currentList == nullptr) return;
  KeyVals value;
  value.Set(KeyVals::kParsed, static_cast<uint16_t>(depth), text.data(), text.size());
  currentList->Append(std::move(value));
}

void Model::OnListOpen() {
  if (currentList == nullptr) return;
  ++depth;
  KeyVals value;
  value.Set(KeyVals::kList, static_cast<uint16_t>(depth), nullptr, 0);
  KeyVals& added = currentList->Append(std::move(value));
  listStack.push_back(currentList);
  currentList = &added.GetList();
  currentList->Items().reserve(4);
}

void Model::OnListClose() {
  if (listStack.empty()) return;
  --depth;
  currentList = listStack.back();
  listStack.pop_back();
}

}  // namespace vospel
