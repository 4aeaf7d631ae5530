// The keyboard-input box (input_dlg.h).
#include "zeb/shell/input/input_dlg.h"

#include <QImage>

#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/gbk.h"
#include "platform/input.h"

namespace {

constexpr int kBoxWidth = 200;
constexpr int kBoxHeight = 250;
constexpr int kCaptionHeight = 22;
constexpr int kCloseSize = 20;
// The close rectangle of the caption icon: left + frame width + 2, top +
// frame height + 4, a caption height wide and 14 high (no frame here).
constexpr int kCloseIconLeft = 2, kCloseIconTop = 4, kCloseIconHeight = 14;
constexpr COLORREF kTitleColour = RGB(255, 255, 255);
// Posted to the box itself: type the first character (wParam).
constexpr UINT kTypeFirstChar = WM_USER + 0x100;

const platform::DialogTemplate& InputTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kEdit, IDC_INPUT_EDIT, "", 4, kCaptionHeight + 4, kBoxWidth - 8, 22,
       ES_UPPERCASE | ES_AUTOHSCROLL | WS_TABSTOP},
      {platform::kListBox, IDC_INPUT_LIST, nullptr, 4, kCaptionHeight + 30, kBoxWidth - 8,
       kBoxHeight - kCaptionHeight - 34,
       LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP},
      {platform::kButton, IDC_INPUT_CLOSE, nullptr, kBoxWidth - kCloseSize - 2, 1, kCloseSize,
       kCloseSize, BS_OWNERDRAW},
  };
  static const platform::DialogTemplate tpl{
      kBoxWidth, kBoxHeight, WS_POPUP | WS_BORDER, GBK("键盘输入"), nullptr, 9, false, items};
  return tpl;
}

std::unique_ptr<CBitmap> LoadImage(const char* resource) {
  auto bitmap = std::make_unique<CBitmap>();
  if (!bitmap->FromImage(QImage(QString::fromLatin1(resource)))) return nullptr;
  return bitmap;
}

// Draws the picture's columns srcX .. srcX + srcWidth (its alpha kept),
// stretched over the rectangle.
void DrawPicture(CDC* dc, CBitmap* picture, const RECT& at, int srcX, int srcWidth) {
  if (!picture) return;
  CDC memory;
  memory.CreateCompatibleDC(dc);
  memory.SelectObject(picture);
  dc->AlphaBlend(at.left, at.top, at.right - at.left, at.bottom - at.top, &memory, srcX, 0,
                 srcWidth, picture->GetSize().cy, BLENDFUNCTION{});
}

}  // namespace

CInput::CInput(CWnd* owner, UINT firstChar, CInputKey* index)
    : CDialog(InputTemplate(), owner), m_owner(owner), m_firstChar(firstChar), m_results(index) {}

CInput::~CInput() = default;

CEdit* CInput::Edit() const { return GetDlgItemT<CEdit>(IDC_INPUT_EDIT); }
CListBox* CInput::List() const { return GetDlgItemT<CListBox>(IDC_INPUT_LIST); }

BOOL CInput::OnInitDialog() {
  CDialog::OnInitDialog();
  m_caption = LoadImage(":/input/caption.png");
  m_close = LoadImage(":/input/close.png");
  // Fixed pitch, so the names line up in their column.
  m_listFont = std::make_unique<CFont>();
  m_listFont->CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, FIXED_PITCH,
                         GBK("新宋体"));
  if (CListBox* list = List()) list->SetFont(m_listFont.get());

  CRect box;
  GetWindowRect(&box);
  if (m_owner && m_owner->IsCreated()) {
    CRect owner;
    m_owner->GetWindowRect(&owner);
    const RECT at = PlaceInputBox(owner, box.Width(), box.Height());
    MoveWindow(&at);
  }
  if (CEdit* edit = Edit()) GotoDlgCtrl(edit);
  // The first character reaches the edit box once the box is up, as if
  // typed there (the focus coming in would select it and the next key
  // would replace it).
  PostMessage(kTypeFirstChar, m_firstChar, 0);
  return FALSE;  // the focus is in the edit box
}

void CInput::TypeIntoEdit(UINT ch) {
  CEdit* edit = Edit();
  if (!edit || ch < 0x20 || ch > 0xFF) return;
  if (CWnd::GetFocus() != edit) GotoDlgCtrl(edit);
  const int end = edit->GetWindowTextLength();
  edit->SetSel(end, end);
  const char typed[2] = {KeyUpper(char(ch)), 0};
  edit->ReplaceSel(typed);
}

void CInput::Refill() {
  CListBox* list = List();
  CEdit* edit = Edit();
  if (!list || !edit) return;
  list->ResetContent();
  for (const std::string& line : m_results.Refill(edit->GetWindowTextString()))
    list->AddString(line.c_str());
  if (list->GetCount() > 0) list->SetCurSel(0);
}

void CInput::OnOK() {
  CListBox* list = List();
  const CKeyGhostStruct* chosen = list ? m_results.ResultOfLine(list->GetCurSel()) : nullptr;
  if (chosen && m_owner) {
    const SInputChoice choice = MakeInputChoice(*chosen);
    m_owner->SetFocus();
    SendInputChoice(m_owner->GetSafeHwnd(), choice);
  }
  if (CEdit* edit = Edit()) edit->SetWindowText("");
  EndDialog(IDOK);
}

BOOL CInput::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDC_INPUT_CLOSE && code == BN_CLICKED) {
    OnCancel();
    return TRUE;
  }
  if (id == IDC_INPUT_EDIT && code == EN_CHANGE) {
    Refill();
    return TRUE;
  }
  if (id == IDC_INPUT_LIST && code == LBN_DBLCLK) {
    OnOK();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

BOOL CInput::PreTranslateMessage(MSG* msg) {
  CListBox* list = List();
  CEdit* edit = Edit();
  if (msg->message == WM_KEYDOWN && list &&
      (msg->wParam == VK_PRIOR || msg->wParam == VK_NEXT || msg->wParam == VK_UP ||
       msg->wParam == VK_DOWN)) {
    CRect client;
    list->GetClientRect(&client);
    CRect line(0, 0, 0, 0);
    list->GetItemRect(0, &line);
    const int page = line.Height() > 0 ? client.Height() / line.Height() : 1;
    list->SetCurSel(
        StepInputSelection(list->GetCurSel(), list->GetCount(), UINT(msg->wParam), page));
    return TRUE;
  }
  // Every character goes to the edit box, wherever the focus is.
  if (msg->message == WM_CHAR && edit && msg->wParam >= 0x20 && CWnd::GetFocus() != edit) {
    TypeIntoEdit(UINT(msg->wParam));
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

RECT CInput::CloseIconRect() const {
  const int wide = GetSystemMetrics(SM_CYCAPTION);
  return RECT{kCloseIconLeft, kCloseIconTop, kCloseIconLeft + wide,
              kCloseIconTop + kCloseIconHeight};
}

int CInput::OnNcHitTest(CPoint screenPoint) {
  CPoint point = screenPoint;
  ScreenToClient(&point);
  const RECT icon = CloseIconRect();
  return PtInRect(icon, point) ? HTCLIENT : HTCAPTION;
}

void CInput::OnLButtonDown(UINT flags, CPoint point) {
  const RECT icon = CloseIconRect();
  if (PtInRect(icon, point)) {
    PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  CDialog::OnLButtonDown(flags, point);
}

void CInput::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (m_caption)
    DrawPicture(&dc, m_caption.get(), RECT{0, 0, client.right, kCaptionHeight}, 0,
                m_caption->GetSize().cx);
  CRect title(kCloseIconLeft + GetSystemMetrics(SM_CYCAPTION) + 2, 0, client.right - kCloseSize - 4,
              kCaptionHeight);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kTitleColour);
  CFont* old = dc.SelectObject(GetFont());
  dc.DrawText(GetTemplate().caption, -1, &title,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SelectObject(old);
}

LRESULT CInput::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTypeFirstChar) {
    TypeIntoEdit(UINT(wParam));
    return 0;
  }
  if (message == WM_DRAWITEM && wParam == IDC_INPUT_CLOSE) {
    DrawCloseButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void CInput::DrawCloseButton(const DRAWITEMSTRUCT& item) {
  const int frame = (item.itemState & ODS_SELECTED) ? 1 : 0;
  const RECT at{item.rcItem.left, item.rcItem.top, item.rcItem.left + kCloseSize,
                item.rcItem.top + kCloseSize};
  DrawPicture(item.hDC, m_close.get(), at, frame * kCloseSize, kCloseSize);
}

void OpenInputBox(CWnd* owner, UINT firstChar) {
  CInput box(owner, firstChar);
  box.DoModal();
}
