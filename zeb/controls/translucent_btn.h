// A push button painted from a strip of state images (normal, hover,
// pressed, disabled), optionally with its caption text over the image;
// the login dialog's buttons are of this kind. It notifies its dialog with
// BN_CLICKED like any push button.
//
// A dialog table names it with the kind kTranslucentBtn (registered by
// RegisterSkinControlKinds) and reaches it with
// GetDlgItemT<CTranslucentBtn>(id); it can also be made with Create.
#pragma once
#include <QImage>
#include <QPoint>
#include <QPushButton>
#include <string>

#include "zeb/controls/skin_paint.h"
#include "zeb/controls/wndless_button.h"
#include "platform/dialog.h"
#include "platform/wnd_qt_bases.h"

inline constexpr char kTranslucentBtn[] = "translucentbtn";

class CTranslucentBtn : public CWndImpl<QPushButton> {
 public:
  // Kinds: 0 draws the caption text over the state image; 5 draws neither
  // image nor text; 1-4 and 6 draw the state image only.
  static constexpr int kKindText = 0, kKindNothing = 5, kKindLast = 6;

  explicit CTranslucentBtn(QWidget* parent = nullptr);
  ~CTranslucentBtn() override;
  // The factory of kTranslucentBtn.
  static QWidget* MakeControl(QWidget* parent, const platform::DialogItem& item);

  // A kind outside 0..6 stores kind 0 and nothing else; otherwise the kind
  // and, for a non-empty path (GBK; a file or ":/" resource), the frame
  // count, the layout (zebui::kFramesSideBySide or kFramesStacked) and the
  // image (none when it does not load).
  void SetImage(int kind, const std::string& path, int frameCount, int layout);
  // Stores the state (SkinButtonState) and repaints.
  void SetState(int state);
  int GetState() const { return m_nState; }
  // With the flag, mouse and focus leave the state alone (clicks still set it).
  void SetNoHover(bool noHover) { m_bNoHover = noHover; }
  // Repaints the whole button.
  void Refresh();
  int GetKind() const { return m_nKind; }
  bool HasImage() const { return !m_image.isNull(); }
  // One frame's size: the image divided along its layout; 80 x 27 without
  // an image or with another layout.
  int GetFrameWidth() const;
  int GetFrameHeight() const;
  // The frame index the next paint shows; -1 when no image is drawn.
  int GetShownFrame() const;

  // Text look; the owning dialog sets what it needs.
  void SetTextStyle(ARGB color, int pixelSize, int fontStyle);
  void SetTextOffset(int x, int y) { m_ptText = QPoint(x, y); }

  // Paints the button into the DC at (0, 0).
  void DrawItem(CDC* dc);

 protected:
  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnMouseLeave() override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnEnable(BOOL enable) override;
  void OnSetFocus(CWnd* oldWnd) override;
  void OnKillFocus(CWnd* newWnd) override;

 private:
  // The state as painted: disabled windows show 3, enabled ones never do.
  int PaintedState() const;
  void ChangeState(int state);

  int m_nState = kBtnNormal;
  QImage m_image;
  int m_nFrames = 4;
  int m_nKind = kKindText;
  int m_nFontSize = 12;
  int m_nFontStyle = 4;  // underlined
  ARGB m_clrText = MakeARGB(255, 15, 15, 255);
  QPoint m_ptText;
  int m_nLayout = zebui::kFramesSideBySide;
  bool m_bNoHover = false;
};
