// The Win32 vocabulary the system's code is written in: integer types,
// handles, colours and geometry. Only what the code actually uses.
#pragma once
#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef long LONG;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef uintptr_t DWORD_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef DWORD COLORREF;

// A handle to a message target (see window.h). Opaque; never dereferenced.
struct HWND__;
typedef HWND__* HWND;

#define MAKEWORD(a, b) ((WORD)(((BYTE)((a)&0xff)) | ((WORD)((BYTE)((b)&0xff))) << 8))
#define MAKELONG(a, b) ((LONG)(int32_t)(((WORD)((a)&0xffff)) | ((DWORD)((WORD)((b)&0xffff))) << 16))
#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))

constexpr COLORREF RGB(int r, int g, int b) {
  return (COLORREF)((BYTE)r | ((WORD)((BYTE)g) << 8) | (((DWORD)(BYTE)b) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return (BYTE)(c & 0xff); }
constexpr BYTE GetGValue(COLORREF c) { return (BYTE)((c >> 8) & 0xff); }
constexpr BYTE GetBValue(COLORREF c) { return (BYTE)((c >> 16) & 0xff); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

struct POINT {
  int32_t x = 0, y = 0;
};
struct SIZE {
  int32_t cx = 0, cy = 0;
};

// Win32 rectangle: right and bottom are exclusive.
struct RECT {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
inline bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool PtInRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
inline void SetRect(RECT& r, int l, int t, int rt, int b) { r = RECT{l, t, rt, b}; }
inline void OffsetRect(RECT& r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}
inline void InflateRect(RECT& r, int dx, int dy) {
  r.left -= dx;
  r.right += dx;
  r.top -= dy;
  r.bottom += dy;
}
bool IntersectRect(RECT& out, const RECT& a, const RECT& b);
bool UnionRect(RECT& out, const RECT& a, const RECT& b);
inline bool EqualRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// MFC's geometry classes: the same members as POINT, SIZE and RECT (so a
// CRect* is a RECT*), with the few helpers window code uses.
struct CPoint : POINT {
  CPoint() = default;
  CPoint(int px, int py) {
    x = px;
    y = py;
  }
  CPoint(const POINT& p) : POINT(p) {}
  void Offset(int dx, int dy) {
    x += dx;
    y += dy;
  }
  bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
  bool operator!=(const POINT& o) const { return !(*this == o); }
  CPoint operator+(const POINT& o) const { return CPoint(x + o.x, y + o.y); }
  CPoint operator-(const POINT& o) const { return CPoint(x - o.x, y - o.y); }
};

struct CSize : SIZE {
  CSize() = default;
  CSize(int w, int h) {
    cx = w;
    cy = h;
  }
  CSize(const SIZE& s) : SIZE(s) {}
  bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
  bool operator!=(const SIZE& o) const { return !(*this == o); }
};

struct CRect : RECT {
  CRect() = default;
  CRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  CRect(const RECT& r) : RECT(r) {}
  CRect(POINT topLeft, SIZE size)
      : CRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy) {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  bool IsRectEmpty() const { return ::IsRectEmpty(*this); }
  bool PtInRect(POINT p) const { return ::PtInRect(*this, p); }
  void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
  void OffsetRect(int dx, int dy) { ::OffsetRect(*this, dx, dy); }
  void InflateRect(int dx, int dy) { ::InflateRect(*this, dx, dy); }
  void DeflateRect(int dx, int dy) { ::InflateRect(*this, -dx, -dy); }
  void NormalizeRect();
  bool operator==(const RECT& o) const { return EqualRect(*this, o); }
  bool operator!=(const RECT& o) const { return !EqualRect(*this, o); }
  operator RECT*() { return this; }
  operator const RECT*() const { return this; }
};

inline void CRect::NormalizeRect() {
  if (left > right) {
    int t = left;
    left = right;
    right = t;
  }
  if (top > bottom) {
    int t = top;
    top = bottom;
    bottom = t;
  }
}

// Signed coordinates packed into an LPARAM by mouse messages.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

// Show commands: what ShowWindow and ShellExecute take.
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2,
              SW_SHOWMAXIMIZED = 3, SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5,
              SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7, SW_SHOWNA = 8, SW_RESTORE = 9;

// Message-box flags and answers.
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
               MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONHAND = MB_ICONERROR, MB_ICONSTOP = MB_ICONERROR,
               MB_ICONEXCLAMATION = MB_ICONWARNING, MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;
