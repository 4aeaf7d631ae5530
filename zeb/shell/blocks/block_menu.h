// The block lists in the menus: the items the block manager gives for a
// group (zeb/core/blocks/block_manager.h), appended to a menu, columns
// breaking where the items say.
#pragma once
#include <string>

#include "platform/types.h"

class CBlockManager;
class CMenu;

// false, and nothing appended, for a group without blocks.
bool FillBlockMenu(const CBlockManager& blocks, CMenu* menu, const std::string& group, UINT baseId);
