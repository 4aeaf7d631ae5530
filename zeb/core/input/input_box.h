// The rules of the keyboard-input box CInput, apart from its widgets: the
// result lines it lists for the typed text, what its OK sends to the owner
// window, and where it opens. The dialog shows the lines, keeps the
// selection and forwards its events here, so it stays thin.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"
#include "zeb/core/input/input_key.h"
#include "zeb/store/store_records.h"

constexpr int kInputMaxLines = 100;
constexpr size_t kInputNameColumn = 8;  // the name starts here
constexpr size_t kInputLineBytes = 19;  // a line is never longer
constexpr int kInputCornerInset = 16;   // from the owner's bottom right corner

// A list line: the result's key, spaces up to column 8, then its name, the
// whole cut to 19 bytes on a character boundary.
std::string FormatInputLine(const CKeyGhostStruct& result);

// The result list of the box, refilled at every edit change.
class CInputList {
 public:
  // null: the process-wide index.
  explicit CInputList(CInputKey* index = nullptr) : m_index(index) {}

  // Searches and orders the index for the typed text and lists at most 100
  // results; empty text lists nothing. A result whose key is exactly the
  // typed text goes to the top, unless the first result already has that
  // key with a weight at least as large. The first line is the one to select.
  const std::vector<std::string>& Refill(const std::string& typed);
  const std::vector<std::string>& Lines() const { return m_lines; }
  // The result behind a line; null outside the list.
  const CKeyGhostStruct* ResultOfLine(int line) const;

 private:
  CInputKey* m_index;
  std::vector<std::string> m_lines;
  std::vector<CKeyGhostStruct> m_results;  // in line order
};

// What OK hands the owner window as WM_QUOTE_REQUEST.
struct SInputChoice {
  int kind = -1;     // a QuoteRequestKind; -1: nothing to send
  SCodeInfo code;    // kind 0: the entry's market and the number of its code text
  std::string text;  // kinds 2 and 4: the code text; kind 3: the block name
};

SInputChoice MakeInputChoice(const CKeyGhostStruct& result);

// Sends the choice to the owner (kind 0 with the address of its SCodeInfo,
// the others with the address of the NUL-terminated text); false when the
// choice sends nothing. The dialog gives the focus back to the owner first
// and empties and closes itself afterwards, with or without a choice.
bool SendInputChoice(HWND owner, const SInputChoice& choice);

// The line the list's selection moves to for VK_UP, VK_DOWN (one line),
// VK_PRIOR, VK_NEXT (a page of lines) from the selected one (-1: none),
// kept inside the list; -1 for an empty list, the selection for other keys.
int StepInputSelection(int selected, int count, UINT vk, int page);

// Where the box of the given size opens: its bottom right corner 16 pixels
// inside the bottom right corner of the owner's window rectangle.
RECT PlaceInputBox(const RECT& ownerWindow, int width, int height);
