// The quote list's view of the block lists.
#include "zeb/views/report/block_lists.h"

#include <cstring>
#include <map>
#include <memory>

#include "platform/gbk.h"
#include "zeb/core/blocks/block_manager.h"
#include "zeb/shell/blocks/block_menu.h"
#include "zeb/shell/frame/shell_commands.h"
#include "zeb/tables/base/cur_item.h"

namespace {

// The name as an item record holds it.
std::string RecordName(const std::string& name) {
  SCurItem record;
  record.SetName(name.c_str());
  return std::string(record.name, strnlen(record.name, sizeof record.name));
}

const SBlockEntry* FindBlock(const std::map<std::string, SBlockEntry>& blocks,
                             const std::string& name) {
  if (auto it = blocks.find(name); it != blocks.end()) return &it->second;
  for (const auto& [blockName, block] : blocks)
    if (RecordName(blockName) == name) return &block;
  return nullptr;
}

}  // namespace

bool GetBlockListItems(uint16_t kind, const std::string& name, std::vector<SCodeInfo>* items) {
  const CBlockManager* blocks = CBlockManager::GetInstance();
  const SBlockEntry* block = nullptr;
  if (kind == kBlockKindUser) {
    block = FindBlock(blocks->GetUserBlocks(), name);
  } else if (kind == kBlockKindSystem) {
    for (const auto& [group, members] : blocks->GetGroups())
      if ((block = FindBlock(members, name))) break;
  }
  if (!block) return false;
  *items = block->codes;
  return true;
}

bool FillBlockKindMenu(uint16_t kind, CMenu* menu, std::vector<std::unique_ptr<CMenu>>* groups) {
  const CBlockManager* blocks = CBlockManager::GetInstance();
  menu->CreatePopupMenu();
  if (kind == kBlockKindUser) return FillBlockMenu(*blocks, menu, GBK("自定"), cmd::kMarketList);
  if (kind != kBlockKindSystem) return false;
  for (const auto& [name, members] : blocks->GetGroups()) {
    auto group = std::make_unique<CMenu>();
    group->CreatePopupMenu();
    if (!FillBlockMenu(*blocks, group.get(), name, cmd::kMarketList)) continue;
    menu->AppendMenu(MF_POPUP, UINT_PTR(group->GetSafeHmenu()), name.c_str());
    groups->push_back(std::move(group));
  }
  return menu->GetMenuItemCount() > 0;
}
