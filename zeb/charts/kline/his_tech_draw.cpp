// The K-line object's drawing: pane frames and pictures, the date axis,
// interval marks and the zoom box (the crosshair: his_tech_crosshair.cpp).
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "settings/ini_file.h"
#include "zeb/charts/kline/his_tech_kept_image.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/public_store.h"

// ---- Drawing ----

int CHisTechObj::Draw(CDC* dc) {
  if (dc == nullptr) return 0;
  if (m_bKeptPicture && CanPaintTickOnly(dc)) {
    PaintTickOnly(dc);
    return 1;
  }
  PaintFull(dc, true);
  return 1;
}

bool CHisTechObj::DrawInPlace(CDC* back, bool holdsLastPaint, std::vector<RECT>* drawn) {
  std::vector<RECT> areas;
  if (back == nullptr) return false;
  if (holdsLastPaint && CanPaintTickOnly(back)) {
    ChangedAreas(&areas);
    RedrawAreas(back, areas);
    m_paintedTitleRights = LaidOutTitleRights();
    // The bare picture has not seen the newest bar's change.
    if (!areas.empty()) m_bBareKept = false;
    m_unpainted = CChartChanges();
  } else {
    if (holdsLastPaint) {
      if (!m_bUnderKept || !m_kept || !EqualRect(m_kept->rect, m_rect)) return false;
      back->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
                   &m_kept->under, 0, 0, SRCCOPY);
    }
    PaintFull(back, false);
    areas.push_back(m_rect);
  }
  if (drawn) *drawn = std::move(areas);
  return true;
}

void CHisTechObj::PaintFull(CDC* dc, bool keepPicture) {
  // Pictures are kept only for charts that take ticks; others pay nothing.
  const bool keep = m_bTicksSeen && !m_raw.empty() && dc->GetImage() != nullptr;
  // In a back buffer, while a cursor is shown, the crosshair is drawn over
  // a kept picture of the chart without it and the figures.
  const bool bare = !keepPicture && CanKeepBare() && dc->GetImage() != nullptr;
  if (keep || bare) KeepImage(dc, true);
  const bool bareKept = bare && m_kept && m_kept->MakeBare();
  m_bHideCrosshair = bareKept;
  {
    CDCPainter painter(dc);
    Draw(painter);
  }
  m_paintedTitleRights = LaidOutTitleRights();
  m_bHideCrosshair = false;
  if (bareKept) {
    // Where the titles just drawn end.
    m_titleRights = m_paintedTitleRights;
    m_kept->bare.BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                        m_rect.bottom - m_rect.top, dc, m_rect.left, m_rect.top, SRCCOPY);
    CDCPainter painter(dc);
    DrawCrosshair(painter);
    m_crosshairDrawn = CrosshairAreas(painter);
    m_nTitleBarDrawn = TitleBar();
  }
  m_ptMousePainted = m_ptMouse;
  // The drawn figures lie over the chart's own lines.
  if (!m_raw.empty())
    for (auto& pane : m_panes) pane->DrawTools(dc);
  if (keep && keepPicture) KeepImage(dc, false);
  m_bKeptPicture = keep && keepPicture && m_kept != nullptr;
  m_bUnderKept = (keep || bare) && m_kept != nullptr;
  m_bBareKept = bareKept;
  m_unpainted = CChartChanges();
}

int CHisTechObj::Draw(CChartPainter& p) {
  for (auto& pane : m_panes) pane->DrawFrame(p);
  if (m_raw.empty()) return 1;
  for (auto& pane : m_panes) pane->Paint(p);
  // The labels may pass the axis' ends, never its band.
  if (p.Reaches(RECT{m_rect.left, m_rcDateAxis.top, m_rect.right, m_rcDateAxis.bottom}))
    DrawDateAxis(p);
  if (!m_bHideCrosshair) DrawCrosshair(p);
  if (m_nIntervalState == 1 || m_nIntervalState == 2) DrawIntervalMarks(p);
  if (m_bZoomActive) {
    p.SetInvert(true);
    RECT r{std::min(m_rcZoom.left, m_rcZoom.right), std::min(m_rcZoom.top, m_rcZoom.bottom),
           std::max(m_rcZoom.left, m_rcZoom.right), std::max(m_rcZoom.top, m_rcZoom.bottom)};
    p.Rect(r, SPenSpec{PS_SOLID, 1, 0}, kHollow);
    p.SetInvert(false);
  }
  return 1;
}

void CHisTechObj::DrawDateAxis(CChartPainter& p) {
  if (!m_pShown) return;
  CFont* font = CSysStyle::GetInstance()->GetFont(2);
  const COLORREF color = SchemeColor(5);
  const SPenSpec pen{PS_SOLID, 1, color};
  int lastRight = -1000000;
  int previous = 0;
  for (size_t i = 0; i < m_x.size(); ++i) {
    const int bar = m_nFirst + static_cast<int>(i);
    if (bar >= static_cast<int>(m_raw.size())) break;
    const int date = m_pShown[bar].nDate;
    const int x = m_x[i] + m_nCandleWidth / 2;
    char text[16] = {};
    if (IsMinutePeriod(m_nPeriod)) {
      if (i == 0 || date / 10000 != previous / 10000)
        std::snprintf(text, sizeof text, "%04d", date / 10000);
    } else if (i == 0) {
      std::snprintf(text, sizeof text, "%d", date / 10000);
    } else if (m_nPeriod == kPeriodMonth) {
      if (date / 10000 != previous / 10000) std::snprintf(text, sizeof text, "%d", date / 10000);
    } else if (date / 100 != previous / 100) {
      std::snprintf(text, sizeof text, "%02d", date / 100 % 100);
    }
    previous = date;
    if (!text[0]) continue;
    const SIZE s = p.TextExtent(text, font);
    if (x <= lastRight) continue;
    p.Line(x, m_rcDateAxis.top, x, m_rcDateAxis.top + 6, pen);
    p.Text(text, RECT{x + 2, m_rcDateAxis.top, x + 2 + s.cx, m_rcDateAxis.bottom},
           DT_LEFT | DT_VCENTER | DT_SINGLELINE, color, font);
    lastRight = x + 2 + s.cx + 4;
  }
}

void CHisTechObj::DrawIntervalMarks(CChartPainter& p) {
  const SPenSpec pen{PS_SOLID, 1, 0};
  const int shown = std::min<int>(m_nEnd - m_nFirst, static_cast<int>(m_x.size()));
  // A marked bar in view gets its vertical line; one out of view only
  // takes the horizontal line to the area's edge on its side.
  struct SMark {
    int x;
    bool inView;
  };
  auto mark = [&](int date) {
    if (shown <= 0 || date < DateOfBar(m_nFirst))
      return SMark{static_cast<int>(m_rcKLine.left), false};
    if (date > DateOfBar(m_nFirst + shown - 1))
      return SMark{static_cast<int>(m_rcKLine.right), false};
    const int offset = std::clamp(BarOfDate(date) - m_nFirst, 0, shown - 1);
    return SMark{m_x[static_cast<size_t>(offset)] + m_nCandleWidth / 2, true};
  };
  const SMark start = mark(m_nIntervalStartDate);
  const bool chosen = m_nIntervalState == 2 || m_nCursor >= 0;
  const SMark end = m_nIntervalState == 2 ? mark(m_nIntervalEndDate)
                                          : mark(DateOfBar(m_nFirst + std::max(0, m_nCursor)));
  p.SetInvert(true);
  if (start.inView) p.Line(start.x, m_rcKLine.top + 16, start.x, m_rcKLine.bottom, pen);
  if (m_nIntervalState == 2 && end.inView)
    p.Line(end.x, m_rcKLine.top + 16, end.x, m_rcKLine.bottom, pen);
  const int mid = (m_rcKLine.top + m_rcKLine.bottom) / 2;
  if (chosen && start.x != end.x) p.Line(start.x, mid, end.x, mid, pen);
  p.SetInvert(false);
}
