// CButton: a push button window class. With BS_OWNERDRAW each paint hands
// the item's states to DrawItem, whose default asks the button's window
// with WM_DRAWITEM, as Win32 does; otherwise Qt paints the button.
#include "platform/controls.h"
#include "wnd_internal.h"

using namespace platform::detail;

CButton::CButton() {
  // Enter is the dialog's business, never the button's own.
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] { platform::NotifyParent(this, BN_CLICKED); });
}

UINT CButton::GetButtonStyle() const { return StoredStyle(this) & 0xFFFF; }

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
  SetStoredStyle(this, (StoredStyle(this) & ~0xFFFFu) | (style & 0xFFFF));
  if (redraw) update();
}

UINT CButton::GetState() const {
  UINT state = 0;
  if (isDown()) state |= BST_PUSHED;
  if (hasFocus()) state |= BST_FOCUS;
  return state;
}

void CButton::SetState(BOOL highlight) { setDown(highlight); }

void CButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (CWnd* parent = GetParent())
    ::SendMessage(parent->GetSafeHwnd(), WM_DRAWITEM, (WPARAM)GetDlgCtrlID(),
                  reinterpret_cast<LPARAM>(dis));
}

void CButton::OnPaint() {
  if ((GetButtonStyle() & BS_TYPEMASK) != BS_OWNERDRAW) {
    Default();
    return;
  }
  CPaintDC dc(this);
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = (UINT)GetDlgCtrlID();
  dis.itemAction = ODA_DRAWENTIRE;
  if (isDown()) dis.itemState |= ODS_SELECTED;
  if (hasFocus()) dis.itemState |= ODS_FOCUS;
  if (!isEnabled()) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = GetSafeHwnd();
  dis.hDC = &dc;
  GetClientRect(&dis.rcItem);
  DrawItem(&dis);
}
