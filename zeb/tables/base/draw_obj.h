// CBaseDrawObj: the base of every object that draws itself inside a view
// (analysis pictures, the chart information panel). It owns a rectangle of
// its owner's client area, is laid out whenever the owner gives it a new
// rectangle, and takes received quote packets, keys and commands.
#pragma once
#include <string>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/tables/base/draw_owner.h"

class CCmdUI;

class CBaseDrawObj {
 public:
  CBaseDrawObj() = default;
  virtual ~CBaseDrawObj() = default;
  CBaseDrawObj(const CBaseDrawObj&) = delete;
  CBaseDrawObj& operator=(const CBaseDrawObj&) = delete;

  // Lays the object's parts out inside its rectangle.
  virtual int RecalcLayout() = 0;
  // Stores the rectangle and lays the object out; returns RecalcLayout's result.
  virtual int SetRect(int left, int top, int right, int bottom);
  // One received quote packet body of length bytes (lent for the call).
  virtual int OnData(const void* body, int length) = 0;
  // Whether the point lies in the object.
  virtual BOOL HitTest(int x, int y) = 0;
  virtual int Draw(CDC* dc) = 0;
  virtual int OnKey(UINT key) = 0;
  // Sub-menu subMenu of menu resource menuId at (x, y); -1 without an owner.
  virtual int TrackMenu(CDrawOwner* owner, int x, int y, int menuId, int subMenu);
  // 0: not handled.
  virtual int OnCommand(UINT id) { return 0; }
  virtual int UpdateCommandUI(CCmdUI* cmdUI) { return 0; }

  const RECT& GetRect() const { return m_rect; }
  const std::string& GetName() const { return m_strName; }
  void SetName(const std::string& name) { m_strName = name; }
  // The owner shows one child object at a time and marks it active.
  void SetActive(int active) { m_nActive = active; }
  int IsActive() const { return m_nActive; }

 protected:
  RECT m_rect{};
  std::string m_strName;
  int m_nActive = 0;
};
