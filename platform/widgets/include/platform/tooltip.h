// Tooltips for parts of a window that are not windows themselves (caption
// buttons painted by their dialog, hot spots of a drawn picture): a list
// of tools, each a rectangle of the owner's client area with a GBK text and
// an id, as Win32's tooltip control keeps them.
//
// The tip of the tool under the mouse shows once the mouse has rested on it
// for the delay, and goes when the mouse leaves the tool or the window.
// Texts are GBK. User-interface thread only.
#pragma once
#include <memory>
#include <string>

#include "platform/wnd.h"

// SetDelayTime kinds.
constexpr DWORD TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3;

class CToolTipCtrl {
 public:
  CToolTipCtrl();
  ~CToolTipCtrl();
  CToolTipCtrl(const CToolTipCtrl&) = delete;
  CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

  // Starts watching the owner's mouse; FALSE without an owner widget or
  // when already created.
  BOOL Create(CWnd* owner);
  // Stops watching and forgets every tool; the control can be created again.
  void DestroyWindow();
  bool IsCreated() const;

  // TTDT_AUTOMATIC and TTDT_INITIAL set the resting time before a tip
  // shows (500 ms by default); other kinds are accepted and ignored.
  void SetDelayTime(DWORD kind, int ms);
  int GetInitialDelay() const;

  // A tool of the owner: its text and rectangle (client coordinates). An
  // id already held is replaced. FALSE when the owner is not the one
  // watched.
  BOOL AddTool(CWnd* owner, const char* text, const RECT* rect, UINT id);
  void DelTool(CWnd* owner, UINT id);
  void SetToolRect(CWnd* owner, UINT id, const RECT* rect);
  void UpdateTipText(const char* text, CWnd* owner, UINT id);
  // The tool's text; empty for an unknown tool.
  void GetText(std::string& text, CWnd* owner, UINT id) const;
  int GetToolCount() const;
  // The id of the first tool whose rectangle holds the client point; 0 when none.
  UINT HitTool(POINT point) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
