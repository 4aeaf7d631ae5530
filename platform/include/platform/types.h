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
  r.left += dx; r.right += dx; r.top += dy; r.bottom += dy;
}
inline void InflateRect(RECT& r, int dx, int dy) {
  r.left -= dx; r.right += dx; r.top -= dy; r.bottom += dy;
}
bool IntersectRect(RECT& out, const RECT& a, const RECT& b);
bool UnionRect(RECT& out, const RECT& a, const RECT& b);
inline bool EqualRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Message-box flags and answers.
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
               MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONHAND = MB_ICONERROR, MB_ICONSTOP = MB_ICONERROR,
               MB_ICONEXCLAMATION = MB_ICONWARNING, MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;
