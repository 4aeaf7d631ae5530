#include "zeb/core/blocks/block_manager.h"

#include <cstdio>
#include <cstring>

#include "platform/gbk.h"
#include "platform/le_bytes.h"
#include "platform/paths.h"
#include "sharecode/mythread.h"
#include "settings/ini_file.h"

namespace {

CBlockManager* g_pBlockManager = nullptr;

const char* FavouritesName() { return GBK("自选"); }
const char* UserGroupName() { return GBK("自定"); }

using platform::ReadI32;

}  // namespace

CBlockManager* CBlockManager::GetInstance() {
  if (!g_pBlockManager) g_pBlockManager = new CBlockManager();
  return g_pBlockManager;
}

void CBlockManager::ReleaseInstance() {
  delete g_pBlockManager;
  g_pBlockManager = nullptr;
}

bool CBlockManager::Init(const std::string& directory) {
  m_directory = directory;
  const bool defs = LoadBlockDef();
  const bool users = LoadUserBlocks();
  return defs && users;
}

std::string CBlockManager::BlockPath(const std::string& relative) const {
  return platform::ToNativePath(m_directory + relative);
}

bool CBlockManager::IsUsableBlockName(const std::string& name) {
  if (name.empty()) return false;
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) return false;
  if (name.find("..") != std::string::npos) return false;
  return name.find('\0') == std::string::npos;
}

bool CBlockManager::ReadBlockCodes(const std::string& name, std::vector<SCodeInfo>* codes) const {
  codes->clear();
  const std::string path = BlockPath("BLOCK/" + name + ".BLK");
  if (!platform::FileExists(path)) return true;
  std::string bytes;
  if (!platform::ReadFile(path, bytes) || bytes.size() < sizeof(SCodeInfo)) return false;
  const size_t count = bytes.size() / sizeof(SCodeInfo);
  codes->reserve(count);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t i = 0; i < count; ++i, p += sizeof(SCodeInfo)) {
    SCodeInfo code;
    code.market = platform::ReadU16(p);
    code.code = ReadI32(p + 2);
    codes->push_back(code);
  }
  return true;
}

bool CBlockManager::LoadBlockDef() {
  m_groups.clear();
  CIniFile file;
  file.Open(BlockPath("BLOCK/BLOCK.DEF"), 0);
  std::vector<std::string> sections;
  file.GetSectionNames(sections);
  int n = 0;
  for (const std::string& group : sections) {
    std::map<std::string, SBlockEntry>& blocks = m_groups[group];
    const int keys = file.GetKeyCount(group);
    for (int k = 1; k <= keys; ++k, ++n) {
      char key[16];
      std::snprintf(key, sizeof key, "%03d", k);
      std::string name;
      if (!file.GetString(group, key, name)) continue;
      const int id = kFirstSystemBlockId + n;
      if (id > kLastSystemBlockId) {
        WriteTraceLine(TRACE_HERE, 0, "block %s of group %s refused: id %d past %d\n", name.c_str(),
                       group.c_str(), id, kLastSystemBlockId);
        continue;
      }
      if (!IsUsableBlockName(name)) {
        WriteTraceLine(TRACE_HERE, 0, "block name \"%s\" refused: not a file name\n", name.c_str());
        continue;
      }
      SBlockEntry entry;
      entry.id = id;
      entry.name = name;
      ReadBlockCodes(name, &entry.codes);
      blocks[name] = std::move(entry);
    }
  }
  return true;
}

bool CBlockManager::LoadUserBlocks() {
  m_userBlocks.clear();
  m_freeUserIds.clear();
  CIniFile file;
  file.Open(BlockPath("BLOCK/USERBLOCK.DEF"), 1);
  std::vector<std::string> sections;
  file.GetSectionNames(sections);
  int next = kFirstUserBlockId;
  for (const std::string& name : sections) {
    if (next > kLastUserBlockId) {
      WriteTraceLine(TRACE_HERE, 0, "user block %s refused: id %d past %d\n", name.c_str(), next,
                     kLastUserBlockId);
      continue;
    }
    if (!IsUsableBlockName(name) || m_userBlocks.count(name)) {
      WriteTraceLine(TRACE_HERE, 0, "user block name \"%s\" refused\n", name.c_str());
      continue;
    }
    SBlockEntry entry;
    entry.id = next++;
    entry.name = name;
    ReadBlockCodes(name, &entry.codes);
    m_userBlocks[name] = std::move(entry);
  }
  for (int id = next; id <= kLastUserBlockId; ++id) m_freeUserIds.push_back(id);
  return ReadBlockCodes(FavouritesName(), &m_favourites);
}

uint16_t CBlockManager::GetKind(int id) {
  const int low = id & 0xFF;
  if (low >= kFirstSystemBlockId && low <= kLastSystemBlockId) return kBlockKindSystem;
  if (low == kFavouritesBlockId) return kBlockKindFavourites;
  if (low >= kFirstUserBlockId) return kBlockKindUser;
  return 0;
}

bool CBlockManager::IsBlockKind(uint16_t kind) {
  return kind == kBlockKindSystem || kind == kBlockKindUser || kind == kBlockKindFavourites;
}

uint16_t CBlockManager::GetKindOfName(const std::string& name) const {
  if (name == FavouritesName()) return kBlockKindFavourites;
  if (m_userBlocks.count(name)) return kBlockKindUser;
  for (const auto& [group, blocks] : m_groups)
    if (blocks.count(name)) return kBlockKindSystem;
  return 0;
}

std::string CBlockManager::GetBlockName(int id) const {
  switch (GetKind(id)) {
    case kBlockKindSystem:
      for (const auto& [group, blocks] : m_groups)
        for (const auto& [name, entry] : blocks)
          if (entry.id == (id & 0xFF)) return name;
      break;
    case kBlockKindUser:
      for (const auto& [name, entry] : m_userBlocks)
        if (entry.id == (id & 0xFF)) return name;
      break;
    case kBlockKindFavourites: return FavouritesName();
    default: break;
  }
  return std::string();
}

std::vector<std::string> CBlockManager::GetUserBlockNames() const {
  std::vector<std::string> names;
  names.reserve(m_userBlocks.size());
  for (const auto& [name, entry] : m_userBlocks) names.push_back(name);
  return names;
}

std::vector<SBlockMenuItem> CBlockManager::BlockMenuItems(const std::string& group,
                                                          UINT baseId) const {
  const std::map<std::string, SBlockEntry>* blocks = nullptr;
  if (group == UserGroupName()) {
    blocks = &m_userBlocks;
  } else {
    auto found = m_groups.find(group);
    if (found != m_groups.end()) blocks = &found->second;
  }
  std::vector<SBlockMenuItem> items;
  if (!blocks) return items;
  items.reserve(blocks->size());
  for (const auto& [name, entry] : *blocks) {
    const bool newColumn = !items.empty() && items.size() % kBlockMenuColumn == 0;
    items.push_back({baseId + static_cast<UINT>(entry.id), name, newColumn});
  }
  return items;
}
