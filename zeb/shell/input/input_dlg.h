// CInput: the keyboard-input box. The main frame opens it modally with the
// first letter or digit the user typed; every further key narrows the list
// of matches of the keyboard index, and Enter or a double click opens the
// chosen one in the owner window (WM_QUOTE_REQUEST). A frameless box with a
// caption picture, dragged by any point, closed by its close button, Esc or
// a click on its caption icon. The rules (lines, choice, placement, list
// steps) live in input_box.h; this window only shows and forwards.
#pragma once
#include <memory>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "zeb/core/input/input_box.h"

constexpr int IDC_INPUT_EDIT = 1000;
constexpr int IDC_INPUT_LIST = 1009;
constexpr int IDC_INPUT_CLOSE = 1026;

class CBitmap;
class CEdit;
class CListBox;

class CInput : public CDialog {
 public:
  // index null: the process-wide keyboard index.
  CInput(CWnd* owner, UINT firstChar, CInputKey* index = nullptr);
  ~CInput() override;

  const CInputList& Results() const { return m_results; }

  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  int OnNcHitTest(CPoint screenPoint) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnPaint() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CEdit* Edit() const;
  CListBox* List() const;
  void Refill();
  // Appends the character to the edit box (upper case), focusing it.
  void TypeIntoEdit(UINT ch);
  // The caption icon's place, where a press closes the box (client
  // coordinates).
  RECT CloseIconRect() const;
  void DrawCloseButton(const DRAWITEMSTRUCT& item);

  CWnd* m_owner;
  UINT m_firstChar;
  CInputList m_results;
  std::unique_ptr<CFont> m_listFont;
  std::unique_ptr<CBitmap> m_caption;
  std::unique_ptr<CBitmap> m_close;
};

// The input box as the main frame's plug-in opens it.
void OpenInputBox(CWnd* owner, UINT firstChar);
