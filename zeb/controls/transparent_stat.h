// A static painted over its parent's background: plain or ruled text with
// an optional icon, red while the mouse rests on it; a busy animation of
// grey dots driven by a 200 ms timer; or a progress bar with its percent.
//
// A dialog table names it with the kind kTransparentStat (registered by
// RegisterSkinControlKinds) and reaches it with
// GetDlgItemT<CTransparentStat>(id); it can also be made with Create.
#pragma once
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <string>

#include "zeb/controls/skin_paint.h"
#include "platform/dialog.h"
#include "platform/wnd_qt_bases.h"

inline constexpr char kTransparentStat[] = "transparentstat";

class CTransparentStat : public CWndImpl<QLabel> {
 public:
  // Modes: 1 text over a grey rule, 2 busy dots, 4 progress bar, any other
  // plain text.
  static constexpr int kModeRuled = 1, kModeBusy = 2, kModeProgress = 4;
  // The busy animation's timer and period.
  static constexpr UINT_PTR kBusyTimer = 1000;
  static constexpr UINT kBusyPeriodMs = 200;
  // Text alignment (as GDI+'s StringAlignment).
  static constexpr int kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2;

  explicit CTransparentStat(QWidget* parent = nullptr);
  ~CTransparentStat() override;
  // The factory of kTransparentStat.
  static QWidget* MakeControl(QWidget* parent, const platform::DialogItem& item);

  // Text colour, font size (pixels) and style (1 bold, 2 italic,
  // 4 underline), mode, icon or bar image (GBK path; none when empty or it
  // does not load) and alignment; mode 2 starts the busy timer.
  void SetStyle(ARGB textColor, int fontSize, int fontStyle, int mode, const std::string& imagePath,
                int alignment);
  // Invalidates the parent's area under the control (TRUE) or the control.
  void Repaint(BOOL parentArea);

  // What the owning dialog sets as it needs: the part of its background
  // behind the control (borrowed picture, offset into it), the progress
  // bar's image and value (percent).
  void SetBackground(const QImage* background, int x, int y);
  void SetProgressImage(const std::string& path);
  void SetProgress(int percent);
  int GetProgress() const { return m_nProgress; }
  int GetMode() const { return m_nMode; }
  int GetFrameCounter() const { return m_nFrame; }
  bool IsHovering() const { return m_bHover; }

  // The grey of busy dot i (0..7) at a frame counter.
  static int BusyDotGrey(int i, int frameCounter);

  // Paints the control into the DC at (0, 0).
  void DrawItem(CDC* dc);

 protected:
  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnTimer(UINT_PTR id) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnMouseHover(UINT flags, CPoint point) override;
  void OnMouseLeave() override;

 private:
  std::string m_strFace;
  ARGB m_clrText = MakeARGB(255, 0, 0, 0);
  int m_nFontSize = 12;
  int m_nFontStyle = 0;
  int m_nMode = 0;
  int m_nFrame = 0;
  int m_nAlign = kAlignNear;
  QImage m_image;
  QImage m_progressImage;
  const QImage* m_background = nullptr;
  QPoint m_ptBackground;
  int m_nProgress = 0;
  bool m_bHover = false;
};
