// Result lines, OK and placement of the keyboard-input box (input_box.h).
#include "zeb/core/input/input_box.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gbk.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "zeb/messages.h"

static_assert(int{kKeyItem} == int{kRequestItem} && int{kKeyCommand} == int{kRequestCommand} &&
                  int{kKeyBlock} == int{kRequestBlock} && int{kKeyFormula} == int{kRequestFormula},
              "an entry's kind is the request kind its OK sends");

std::string FormatInputLine(const CKeyGhostStruct& result) {
  std::string line = result.DisplayKey();
  if (line.size() < kInputNameColumn) line.resize(kInputNameColumn, ' ');
  line += result.name;
  return line.substr(0, platform::GbkCutLength(line.c_str(), kInputLineBytes));
}

const std::vector<std::string>& CInputList::Refill(const std::string& typed) {
  m_lines.clear();
  m_results.clear();
  if (typed.empty()) return m_lines;
  CInputKey* index = m_index ? m_index : CInputKey::GetInstance();
  const int found = index->Find(typed.c_str());
  index->SortResults(kInputMaxLines);
  // The edit box shows upper case; compare as the index searched.
  const std::string upper = KeyUpper(typed);
  for (int i = 0; i < found && i < kInputMaxLines; ++i) {
    CKeyGhostStruct r = index->GetResult(i);
    std::string line = FormatInputLine(r);
    const bool exact = upper == r.DisplayKey();
    const bool firstHolds = !m_results.empty() &&
                            std::strcmp(m_results.front().DisplayKey(), r.DisplayKey()) == 0 &&
                            m_results.front().weight >= r.weight;
    if (exact && !m_results.empty() && !firstHolds) {
      m_results.insert(m_results.begin(), r);
      m_lines.insert(m_lines.begin(), std::move(line));
    } else {
      m_results.push_back(r);
      m_lines.push_back(std::move(line));
    }
  }
  return m_lines;
}

const CKeyGhostStruct* CInputList::ResultOfLine(int line) const {
  if (line < 0 || (size_t)line >= m_results.size()) return nullptr;
  return &m_results[(size_t)line];
}

SInputChoice MakeInputChoice(const CKeyGhostStruct& result) {
  SInputChoice choice;
  switch (result.kind) {
    case kKeyItem:
      choice.kind = kRequestItem;
      choice.code = SCodeInfo{result.market, std::atoi(result.code)};
      break;
    case kKeyCommand:
    case kKeyFormula:
      choice.kind = result.kind;
      choice.text = result.code;
      break;
    case kKeyBlock:
      choice.kind = kRequestBlock;
      choice.text = result.name;
      break;
    default: break;
  }
  return choice;
}

bool SendInputChoice(HWND owner, const SInputChoice& choice) {
  if (choice.kind < 0) return false;
  const LPARAM data =
      choice.kind == kRequestItem ? (LPARAM)&choice.code : (LPARAM)choice.text.c_str();
  ::SendMessage(owner, WM_QUOTE_REQUEST, (WPARAM)choice.kind, data);
  return true;
}

int StepInputSelection(int selected, int count, UINT vk, int page) {
  if (count <= 0) return -1;
  const int step = std::max(page, 1);
  int next = selected;
  switch (vk) {
    case VK_UP: next = selected - 1; break;
    case VK_DOWN: next = selected + 1; break;
    case VK_PRIOR: next = selected - step; break;
    case VK_NEXT: next = selected + step; break;
    default: return selected;
  }
  return std::clamp(next, 0, count - 1);
}

RECT PlaceInputBox(const RECT& ownerWindow, int width, int height) {
  RECT r;
  r.right = ownerWindow.right - kInputCornerInset;
  r.bottom = ownerWindow.bottom - kInputCornerInset;
  r.left = r.right - width;
  r.top = r.bottom - height;
  return r;
}
