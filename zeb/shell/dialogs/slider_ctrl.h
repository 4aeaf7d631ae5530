// A slider (trackbar) for dialog tables, kind kSlider: a horizontal Qt
// slider whose moves by the user reach its window as
// WM_COMMAND(MAKEWPARAM(id, kSliderMoved), handle); positions set by code
// (SetSliderPos, SetSliderRange) never notify.
#pragma once
#include "platform/dialog.h"
#include "platform/wnd.h"

inline constexpr char kSlider[] = "slider";
constexpr UINT kSliderMoved = 0x0500;

// Registers kSlider (once; later calls do nothing).
void RegisterSliderKind();

// The slider with the id among the window's controls; missing ones are
// skipped (0 for a position).
void SetSliderRange(CWnd* wnd, int id, int lowest, int highest);
void SetSliderPos(CWnd* wnd, int id, int position);
int GetSliderPos(const CWnd* wnd, int id);
