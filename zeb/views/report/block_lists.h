// What the quote list shows of the block lists: the codes of a block named
// in an item record, and the pop-up of a block kind's blocks that a block
// tab offers. Records carry block names cut to 9 bytes, so a name that
// matches no block whole matches the block whose cut name it is.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "zeb/store/store_records.h"

// The codes of the block of that kind (system or user blocks) and name;
// false when there is no such block.
bool GetBlockListItems(uint16_t kind, const std::string& name, std::vector<SCodeInfo>* items);

// The blocks of a kind as menu items with their list commands: the user
// blocks, or one pop-up per group of system blocks (kept alive in groups).
// false when there are none.
bool FillBlockKindMenu(uint16_t kind, CMenu* menu, std::vector<std::unique_ptr<CMenu>>* groups);
