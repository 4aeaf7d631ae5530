#include "formula/editor/FormulaTree.h"

#include "formula/editor/FieldText.h"
#include "formula/face/CalcFace.h"
#include "formula/store/formula_kinds.h"
#include "platform/gbk.h"

namespace formula {

SFormulaTree BuildFormulaTree(CFormulaStore& store) {
  SFormulaTree tree;
  tree.kinds.resize(FORMULA_KIND_COUNT);
  for (int kind = 0; kind < FORMULA_KIND_COUNT; ++kind) {
    SFormulaTreeNode& kindNode = tree.kinds[size_t(kind)];
    kindNode.type = ETreeNode::Kind;
    kindNode.kind = kind;
    kindNode.text = FormulaKindName(kind);
    kindNode.image = kKindImage;

    const std::vector<SFormulaGroup>& groups = store.Groups(kind);
    std::vector<int> hashes;
    hashes.reserve(groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
      SFormulaTreeNode groupNode;
      groupNode.type = ETreeNode::Group;
      groupNode.kind = kind;
      groupNode.group = int(g);
      groupNode.text = FieldText(groups[g].szName);
      groupNode.image = kGroupImage;
      kindNode.children.push_back(std::move(groupNode));
      hashes.push_back(CCalcFace::GroupHash(kindNode.children.back().text.c_str()));
    }
    std::vector<SFormulaTreeNode> ungrouped;
    for (SFormulaRecord& record : store.Formulas(kind)) {
      SFormulaTreeNode node;
      node.type = ETreeNode::Formula;
      node.kind = kind;
      node.record = &record;
      node.text = FieldText(record.szCode) + "  " + FieldText(record.szName);
      node.image = kFormulaImage;
      size_t g = 0;
      while (g < hashes.size() && hashes[g] != record.nGroupHash) ++g;
      if (g < hashes.size()) {
        node.group = int(g);
        kindNode.children[g].children.push_back(std::move(node));
      } else ungrouped.push_back(std::move(node));
    }
    for (SFormulaTreeNode& node : ungrouped) kindNode.children.push_back(std::move(node));
  }
  return tree;
}

const SFormulaTreeNode* FindFormulaItem(const SFormulaTreeNode& node, const char* name) {
  if (node.record) return SameCode(node.record->szCode, name) ? &node : nullptr;
  for (const SFormulaTreeNode& child : node.children)
    if (const SFormulaTreeNode* found = FindFormulaItem(child, name)) return found;
  return nullptr;
}

std::vector<std::string> GroupListEntries(CFormulaStore& store, int kind) {
  std::vector<std::string> entries{std::string()};
  for (const SFormulaGroup& group : store.Groups(kind)) entries.push_back(FieldText(group.szName));
  return entries;
}

int GroupListSelection(CFormulaStore& store, int kind, int groupHash) {
  int selection = 0;
  const std::vector<SFormulaGroup>& groups = store.Groups(kind);
  for (size_t g = 0; g < groups.size(); ++g)
    if (CCalcFace::GroupHash(groups[g].szName) == groupHash) selection = int(g) + 1;
  return selection;
}

bool AddGroup(CFormulaStore& store, int kind, const char* name) {
  SFormulaGroup group;
  platform::GbkCopyCut(group.szName, sizeof group.szName, name ? name : "");
  const int hash = CCalcFace::GroupHash(group.szName);
  std::vector<SFormulaGroup>& groups = store.Groups(kind);
  for (const SFormulaGroup& existing : groups)
    if (CCalcFace::GroupHash(existing.szName) == hash) return false;
  groups.push_back(group);
  return true;
}

bool RemoveGroup(CFormulaStore& store, int kind, int index) {
  std::vector<SFormulaGroup>& groups = store.Groups(kind);
  if (index < 0 || size_t(index) >= groups.size()) return false;
  groups.erase(groups.begin() + index);
  return true;
}

}  // namespace formula
