// The formula tree of the editor as plain data: five kind nodes, below each
// its groups in group-list order, and the formulas placed under the first
// group whose name hash equals their group hash (else under their kind),
// in list order. Plus the group list, the group commands and the search of
// a formula by name. The dialog mirrors the nodes as tree items.
#pragma once
#include <string>
#include <vector>

#include "formula/store/formula_store.h"

namespace formula {

enum class ETreeNode : unsigned char { Kind, Group, Formula };

// Images of the editor's image list.
inline constexpr int kKindImage = 4;
inline constexpr int kGroupImage = 5;
inline constexpr int kFormulaImage = 6;

struct SFormulaTreeNode {
  ETreeNode type = ETreeNode::Kind;
  int kind = 0;
  int group = -1;                    // index in the kind's group list of the group node, or of the
                                     // group a formula stands under (-1: directly under its kind)
  SFormulaRecord* record = nullptr;  // formula nodes: the record in the store
  std::string text;                  // kind name, group name, or code + "  " + Chinese name
  int image = kKindImage;
  std::vector<SFormulaTreeNode> children;  // groups first, then formulas without a group
};

// Node addresses stay valid until the tree is built again.
struct SFormulaTree {
  std::vector<SFormulaTreeNode> kinds;  // FORMULA_KIND_COUNT nodes, in kind order
};

SFormulaTree BuildFormulaTree(CFormulaStore& store);

// Depth-first below node (node itself first): the first formula node whose
// record's code equals name without regard to case; null when none.
const SFormulaTreeNode* FindFormulaItem(const SFormulaTreeNode& node, const char* name);

// The group list of a kind: an empty entry, then the group names.
std::vector<std::string> GroupListEntries(CFormulaStore& store, int kind);
// The entry to select for a group hash: the last group of that hash
// (position i + 1), else 0.
int GroupListSelection(CFormulaStore& store, int kind, int groupHash);

// Appends a group named name to the kind. False, changing nothing, when
// its name hash equals that of a group the kind has (two different names
// with one hash are a repetition too).
bool AddGroup(CFormulaStore& store, int kind, const char* name);
// Removes group index of the kind; its formulas keep their group hash and
// so stand directly below their kind. False when there is no such group.
bool RemoveGroup(CFormulaStore& store, int kind, int index);

}  // namespace formula
