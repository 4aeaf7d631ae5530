// The in-memory model of a configuration file: regions (the global region,
// sections and the blocks inside them), their entries and the entries'
// values.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vospel/IniParser.h"

namespace vospel {

// h = 5381; h = 33 * h + tolower(c), 32-bit; bytes above 127 unchanged.
int32_t NameHash(std::string_view name);
// Names are the same when their hashes and their texts (ASCII letters
// without regard to case) agree.
bool SameName(std::string_view a, int32_t hashA, std::string_view b, int32_t hashB);

struct Entry {
  enum Kind : uint8_t { kKey = 0, kRawLine = 2, kPlaceholder = 3 };
  uint8_t kind = kKey;
  uint8_t flag = 0;  // 3 for a placeholder
  std::string text;  // the key's name, or the raw line with its line end
  int32_t hash = 0;
  ValItor values;

  // A key read from the file, or a key made by a lookup that has since been
  // given a value (through the parser or through the value itself).
  bool IsKey() const;
};

struct Region {
  bool global = false;  // the global region has no name
  std::string name;
  int32_t hash = 0;
  std::vector<std::unique_ptr<Entry>> entries;
  std::vector<std::unique_ptr<Region>> blocks;

  Region* FindBlock(std::string_view name, int32_t hash);
  Region* AddBlock(std::string_view name);
  // The first key (see Entry::IsKey) with that name.
  Entry* FindKey(std::string_view name, int32_t hash);
};

struct Model {
  Region global;
  std::vector<std::unique_ptr<Region>> sections;

  // Parse state.
  Region* currentSection = nullptr;
  Region* currentRegion = nullptr;
  std::vector<Region*> blockStack;
  std::vector<ValItor*> listStack;
  ValItor* currentList = nullptr;
  int depth = 0;

  Model() { Clear(); }
  void Clear();
  Region* FindSection(std::string_view name, int32_t hash);
  Region* AddSection(std::string_view name);

  // The semantic actions of the grammar.
  void OnSection(std::string_view name);
  void OnRawLine(std::string_view line);
  void OnBlockOpen(std::string_view name);
  void OnBlockClose();
  void OnKey(std::string_view name);
  void OnValue(std::string_view text);
  void OnListOpen();
  void OnListClose();
};

}  // namespace vospel
