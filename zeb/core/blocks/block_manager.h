// CBlockManager: the block (sector) lists the quote list can show. It reads
// the system blocks grouped under "BLOCK/BLOCK.DEF", the user blocks of
// "BLOCK/USERBLOCK.DEF" and the favourites pseudo-block when the main frame
// is created, and answers which block an id or a name denotes. Block ids
// share one byte with the market-list commands (0x6200 + id): 16-223
// system blocks, 224 the favourites, 225-255 user blocks.
//
// Block names become file names ("BLOCK/<name>.BLK"), so a name holding a
// path separator or ".." is refused, as is a block whose id would leave its
// range; each refusal leaves a trace line and the rest loads on.
// User-interface thread only.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/types.h"
#include "zeb/store/store_records.h"

// Kind values of a block id or name (the market field of a list record).
constexpr uint16_t kBlockKindSystem = 0x2001;
constexpr uint16_t kBlockKindFavourites = 0x21FF;
constexpr uint16_t kBlockKindUser = 0x2101;

constexpr int kFirstSystemBlockId = 16;
constexpr int kLastSystemBlockId = 223;
constexpr int kFavouritesBlockId = 224;
constexpr int kFirstUserBlockId = 225;
constexpr int kLastUserBlockId = 255;
// Menus of blocks start a new column every this many items.
constexpr int kBlockMenuColumn = 18;

// One item of a block menu (zeb/shell/blocks/block_menu.h fills menus).
struct SBlockMenuItem {
  UINT id = 0;
  std::string name;  // GBK
  bool newColumn = false;
};

struct SBlockEntry {
  int32_t id = 0;
  std::string name;  // GBK
  std::vector<SCodeInfo> codes;
};

class CBlockManager {
 public:
  CBlockManager() = default;
  CBlockManager(const CBlockManager&) = delete;
  CBlockManager& operator=(const CBlockManager&) = delete;

  static CBlockManager* GetInstance();
  static void ReleaseInstance();

  // Stores the directory (the program folder, ending in "/"), then loads
  // the definitions and the user blocks; true when both succeeded.
  bool Init(const std::string& directory);
  bool LoadBlockDef();
  bool LoadUserBlocks();

  static uint16_t GetKind(int id);
  static bool IsBlockKind(uint16_t kind);
  uint16_t GetKindOfName(const std::string& name) const;
  // Empty when the id names no block.
  std::string GetBlockName(int id) const;
  std::vector<std::string> GetUserBlockNames() const;
  // One item per block of the group (the user blocks for "自定"), in name
  // order, command baseId + block id, a new column every kBlockMenuColumn
  // items; empty for a group without blocks.
  std::vector<SBlockMenuItem> BlockMenuItems(const std::string& group, UINT baseId) const;

  const std::map<std::string, std::map<std::string, SBlockEntry>>& GetGroups() const {
    return m_groups;
  }
  const std::map<std::string, SBlockEntry>& GetUserBlocks() const { return m_userBlocks; }
  const std::vector<SCodeInfo>& GetFavouriteCodes() const { return m_favourites; }
  const std::vector<int>& GetFreeUserIds() const { return m_freeUserIds; }

  // Whether a name may name a block (and so a file of the block folder).
  static bool IsUsableBlockName(const std::string& name);

 private:
  // A ".BLK" file's codes: a missing file is an empty list (true); a file
  // shorter than one record is an empty list (false); otherwise every
  // whole 6-byte record.
  bool ReadBlockCodes(const std::string& name, std::vector<SCodeInfo>* codes) const;
  std::string BlockPath(const std::string& relative) const;

  std::map<std::string, std::map<std::string, SBlockEntry>> m_groups;
  std::map<std::string, SBlockEntry> m_userBlocks;
  std::vector<SCodeInfo> m_favourites;
  std::string m_directory;
  std::vector<int> m_freeUserIds;
};
