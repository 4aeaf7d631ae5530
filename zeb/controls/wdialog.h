// The base of the program's self-drawn dialogs. The window is frameless
// and paints its own frame: a caption band (a gradient, or the skin's top
// part) with window-less caption buttons and their tooltips, a client
// background from the skin image's middle part or a gradient, and a light
// bottom band. Its shape is cut out of the skin image by the key colour
// (the image's top-left pixel): the mask is built once per image, bounded
// by the image; without a skin the window has 5 x 5 round corners.
//
// The caption band lies inside the window, above the client area: a
// dialog whose style has WS_CAPTION shows its table's controls moved down
// by the band. A click on the caption band or on an empty part of the
// client area drags the window (the window manager's move where it offers
// one); the caption buttons take hover, press and click and send their
// commands (close 0xFFD8, minimise 0xFFDA, restore 0xFFD9, settings
// 0xFFD6, help 0xFFD7, back 0xFFD5) to the dialog.
//
// A WS_CHILD dialog (a panel) has none of this: its non-client handling,
// shape, OnOK and OnCancel fall back to the defaults or do nothing.
#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>
#include <array>
#include <string>

#include "zeb/controls/dialog_multilan.h"
#include "zeb/controls/skin_paint.h"
#include "zeb/controls/wndless_button.h"
#include "platform/tooltip.h"

class QPainter;

// Dialog modes: 100 and 200 centre the window in the work area whenever it
// is shown; 200 shows close, minimise/restore and back; 300 keeps the
// caption-button style as set (none in a panel).
constexpr int WDLG_MODE_CENTRED = 100, WDLG_MODE_STANDARD = 200, WDLG_MODE_OWN = 300;
// Caption-button style bits.
constexpr int WCB_CLOSE = 0x1, WCB_MINIMIZE = 0x2, WCB_CLOSE_MINIMIZE = 0x4, WCB_SETTINGS = 0x8,
              WCB_HELP = 0x10, WCB_BACK = 0x100;

// Registers the skinned controls' table kinds (kTranslucentBtn,
// kTransparentStat); every WDialog does it on construction. Idempotent.
void RegisterSkinControlKinds();

class WDialog : public CDialogMultiLan {
 public:
  WDialog(const platform::DialogTemplate& tpl, const char* name, CWnd* parent = nullptr);
  ~WDialog() override;

  // Call before the base OnInitDialog runs.
  void SetDialogMode(int mode, int captionStyle);
  int GetDialogMode() const { return m_nMode; }
  int GetCaptionStyle() const { return m_nCaptionStyle; }
  // The skin (GBK path; a file or ":/" resource) with its band heights: 1
  // and the window takes the image's size; 0 (parts and bands cleared)
  // when it does not load or is lower than top + bottom.
  int SetBkImage(const std::string& path, int topHeight, int bottomHeight);
  // Sets the window text and repaints the caption band.
  void SetTitle(const char* text);
  // Each colour that is not 0 replaces that frame colour: 1 and 2 make the
  // caption gradient, 2, 3 and 4 the client gradient.
  void SetFrameColors(ARGB c1, ARGB c2, ARGB c3, ARGB c4);
  // State-image strips of the caption buttons (GBK paths; empty: the
  // button's own glyph). Call before OnInitDialog.
  void SetCaptionImages(const std::string& close, const std::string& minimise,
                        const std::string& restore, const std::string& settings,
                        const std::string& help, const std::string& back);
  // With the flag the caption band shows the window text.
  void ShowCaptionText(bool show) { m_bCaptionText = show; }

  virtual void CenterInWorkArea();
  // Mode 0: 0 x 0; 1: 900 x 550; 2: the skin's size; other: mode x corner.
  // corner 1 puts the window in the work area's bottom-right corner, any
  // other value centres it.
  virtual void SetSizeMode(int mode, int corner);
  virtual void DrawBorder(CDC* dc);
  virtual void DrawCaption(CDC* dc);
  virtual void LayoutCaptionButtons();
  virtual void DrawCaptionButtons(CDC* dc);
  // Draws the window text in the band (when the caption-text flag is set).
  virtual void DrawCaptionText(QPainter& graphics, const QRect& band);

  // The caption band and the client area below it (window coordinates);
  // the band is empty without WS_CAPTION, in a panel or with height 0.
  RECT GetCaptionRect() const;
  RECT GetClientArea() const;
  int GetTopHeight() const { return m_nTopHeight; }
  int GetBottomHeight() const { return m_nBottomHeight; }
  bool HasMiddleImage() const { return !m_imgMiddle.isNull(); }
  QSize GetMiddleImageSize() const { return m_imgMiddle.size(); }
  // The caption button showing the command (the minimise/restore button
  // answers to both of its ids); null when that button does not exist.
  WWndLessButton* GetCaptionButton(UINT id);
  WRestoreButton* GetRestoreButton() { return &m_btnMinimize; }
  CToolTipCtrl& GetToolTip() { return m_toolTip; }
  // The shape given to the window by the last WM_SIZE.
  const QRegion& GetWindowShape() const { return m_shape; }

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;

 protected:
  void OnDestroy() override;
  void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
  void OnShowWindow(BOOL show, UINT status) override;
  void OnSize(UINT type, int cx, int cy) override;
  int OnNcHitTest(CPoint screenPoint) override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnPaint() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnMouseLeave() override;

  bool IsChild() const { return (GetStyle() & WS_CHILD) != 0; }
  bool HasCaptionBand() const;
  // Repaints the caption band (what a non-client repaint does).
  void RedrawCaption();
  void CreateCaptionButtons();
  // The five caption buttons in hit-test order (existing or not).
  std::array<WWndLessButton*, 5> CaptionButtons();
  // The existing caption button under a client point; null when none.
  WWndLessButton* HitCaptionButton(POINT point);
  // Rebuilds the shape for the window's size (the mask is kept per image).
  void BuildWindowRegion();
  // The size the skin gives the window (its parts' heights), or the
  // window's own size without a skin.
  SIZE SkinSize() const;
  void TrackRestoreState(UINT sizeType);

  int m_nMode = WDLG_MODE_STANDARD;
  int m_nCaptionStyle = WCB_CLOSE_MINIMIZE;
  HICON m_hIcon = nullptr;
  SIZE m_sizeRoundCorner{5, 5};
  CToolTipCtrl m_toolTip;
  WWndLessButton m_btnClose;
  WRestoreButton m_btnMinimize;
  WWndLessButton m_btnSettings;
  WWndLessButton m_btnHelp;
  WWndLessButton m_btnBack;
  RECT m_rcBack{38, 54, 64, 80};
  std::string m_strCloseImage, m_strMinimizeImage, m_strRestoreImage, m_strSettingsImage,
      m_strHelpImage, m_strBackImage;
  ARGB m_clrFrame[4];
  bool m_bCaptionText = false;
  ARGB m_clrCaptionText = MakeARGB(255, 11, 11, 11);
  int m_nCaptionFontSize = 16;
  int m_nCaptionFontStyle = 0;
  std::string m_strBkImage;
  QImage m_imgTop, m_imgMiddle, m_imgBottom;
  int m_nBorderLeft = 0, m_nBorderTop = 0, m_nBorderRight = 0, m_nBorderBottom = 0;
  int m_nTopHeight = 30;
  int m_nBottomHeight = 50;
  COLORREF m_clrBk = RGB(255, 255, 255);
  CBrush m_brBk;

 private:
  // The key-colour mask of the skin, built once per image.
  std::string m_strMaskImage;
  QRegion m_mask;
  QSize m_maskImageSize;
  QRegion m_shape;
  bool m_bControlsBelowBand = false;
  WWndLessButton* m_pHot = nullptr;      // under the mouse
  WWndLessButton* m_pPressed = nullptr;  // pressed, until the button goes up
};
