// CSysSetDlg, the page "外观设置" of the settings dialog: the scheme's
// colour entries with sliders and number edits for their red, green and
// blue, the platform's colour and font choosers, and the undo buttons, all
// working on the preview's copies; nothing reaches the scheme before the
// dialog's 确定 (CSysProtyDlg), and only when this page was shown.
#pragma once
#include "zeb/shell/dialogs/color_def_pic.h"
#include "zeb/core/dialogs/colour_edit.h"
#include "zeb/shell/dialogs/property_sheet.h"

constexpr int IDC_SCHEME_PREVIEW = 1086, IDC_COLOR_LIST = 1087, IDC_FONT_LIST = 1003,
              IDC_STYLE_LIST = 1120, IDC_STYLE_BUTTON = 1177, IDC_RED_SLIDER = 1170,
              IDC_GREEN_SLIDER = 1172, IDC_BLUE_SLIDER = 1171, IDC_RED_EDIT = 1173,
              IDC_GREEN_EDIT = 1174, IDC_BLUE_EDIT = 1175, IDC_CHOOSE_COLOR = 1091,
              IDC_RESTORE_COLORS = 1179, IDC_CHOOSE_FONT = 1178, IDC_RESTORE_FONTS = 1180;

class CSysSetDlg : public CPropertyPage {
 public:
  CSysSetDlg();

  bool IsActivated() const { return m_activated != 0; }
  CColorDefPic& Preview() { return m_preview; }
  // Red, green and blue as the edits show them.
  const SRgbParts& Shown() const { return m_rgb; }

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  int SelectedColorId() const;
  void ShowSelectedColor();
  void ShowParts();
  void OnNumberChanged(int editId);
  void OnSliderMoved(int sliderId);
  void OnChooseColor();
  void OnRestoreColors();
  void OnChooseFont();
  void OnRestoreFonts();

  CColorDefPic m_preview;
  SRgbParts m_rgb;
  int m_activated = 0;
  bool m_showing = false;  // edits being set by code: their changes are not the user's
};
