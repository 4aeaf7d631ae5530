// Caption buttons without a window of their own: a skinned dialog owns
// them, gives each a rectangle in its client coordinates, draws them in
// its caption band and feeds them its mouse (hover, pressed) itself.
//
// A button draws frame [state] of its state-image strip (8 frames stacked
// for the caption commands close, minimise, restore and 0xFFDB; 4 side by
// side for any other command), or, without an image, its own glyph in the
// line colour of its state. The restore button swaps its shown command
// (minimise 0xFFDA / restore 0xFFD9) as its window is minimised,
// maximised and restored.
#pragma once
#include <QImage>
#include <string>

#include "platform/gdi.h"

class CWnd;

// Caption commands of the skinned dialogs.
constexpr UINT ID_CAPTION_BACK = 0xFFD5, ID_CAPTION_SETTINGS = 0xFFD6, ID_CAPTION_HELP = 0xFFD7,
               ID_CAPTION_CLOSE = 0xFFD8, ID_CAPTION_RESTORE = 0xFFD9, ID_CAPTION_MINIMIZE = 0xFFDA,
               ID_CAPTION_MINIMIZE2 = 0xFFDB;

// Button states, shared by the skinned buttons.
enum SkinButtonState : int { kBtnNormal = 0, kBtnHover = 1, kBtnPressed = 2, kBtnDisabled = 3 };

class WWndLessButton {
 public:
  // Normal-state line colour: mode 100 is light, 200 (the default) dark.
  static constexpr int kModeLight = 100, kModeDark = 200;

  WWndLessButton();
  virtual ~WWndLessButton();
  WWndLessButton(const WWndLessButton&) = delete;
  WWndLessButton& operator=(const WWndLessButton&) = delete;

  // Resets, then takes the command, rectangle and owner; the strip from the
  // image path (GBK; a file or ":/" resource) resizes the button to one
  // frame; the second image (the restore glyph) comes from the second path;
  // the background (the owner's caption picture, borrowed) when not null.
  void Create(const RECT& rect, CWnd* owner, UINT id, const std::string& imagePath,
              const QImage* background, const std::string& secondPath);
  void Reset();

  // Draws the button with its top-left corner at (x, y) of the DC (the
  // owner's coordinates); nothing without a command.
  virtual void Draw(int x, int y, CDC* dc);
  // Asks the owner to repaint the button where it was last drawn.
  virtual void Redraw(int x, int y);

  SIZE GetSize() const { return SIZE{RectWidth(m_rect), RectHeight(m_rect)}; }
  const RECT& GetRect() const { return m_rect; }
  void SetRect(const RECT& rect) { m_rect = rect; }
  UINT GetID() const { return m_nID; }
  int GetState() const { return m_nState; }
  void SetState(int state) { m_nState = state; }
  int GetMode() const { return m_nMode; }
  void SetMode(int mode) { m_nMode = mode; }
  const std::string& GetToolTip() const { return m_strToolTip; }
  void SetToolTip(const std::string& text) { m_strToolTip = text; }
  bool HasImage() const { return !m_image.isNull(); }
  // The line colour of a state (glyphs and outlines).
  COLORREF LineColor() const;

 protected:
  // 8 stacked frames for the caption commands, 4 side by side otherwise.
  bool IsCaptionCommand() const;

  QImage m_image;
  QImage m_second;
  const QImage* m_background = nullptr;
  UINT m_nID = 0;
  std::string m_strToolTip;
  int m_nState = kBtnNormal;
  RECT m_rect{};
  CWnd* m_owner = nullptr;
  POINT m_ptLast{};
  int m_nMode = kModeDark;
};

class WRestoreButton : public WWndLessButton {
 public:
  // Flags cleared, the alternate command stored, then the base Create.
  void Create(const RECT& rect, CWnd* owner, UINT id, UINT alternateId,
              const std::string& imagePath, const QImage* background,
              const std::string& secondPath);
  // Exchanges the shown command and the alternate one.
  void SwapIds();
  UINT GetAlternateID() const { return m_nAltID; }
  bool m_bMinimized = false;
  bool m_bMaximized = false;

 private:
  UINT m_nAltID = 0;
};
