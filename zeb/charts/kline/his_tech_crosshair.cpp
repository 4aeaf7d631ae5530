// The K-line object's crosshair: the two inverted lines through the
// cursor with the value and date labels, drawn over the chart. While a
// cursor is shown, a paint into the owner's back buffer keeps the chart as
// it is without the crosshair and the drawn figures (the bare picture); a
// mouse move that moved only the cursor then puts the bare picture back
// where the crosshair was and is now, and draws the crosshair and the
// figures again there. The candles are not drawn again; only when the
// cursor reaches another bar are the panes' titles, which show that bar's
// values, redrawn in the bare picture first: alone, in the part of each
// title row where nothing else is drawn.
#include <algorithm>
#include <cstdio>

#include "zeb/charts/kline/his_tech_kept_image.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/painter/culling_painter.h"
#include "zeb/scheme/sys_style.h"

struct CHisTechObj::SCrosshair {
  int x = 0;
  std::string value;
  RECT valueBox{};
  std::string date;  // empty: no date label
  RECT dateBox{};
};

bool CHisTechObj::CrosshairAt(CChartPainter& p, SCrosshair* at) const {
  if (!m_bCursorShown || !m_bMouseIn) return false;
  const int visible = m_nEnd - m_nFirst;
  if (m_nCursor < 0 || m_nCursor >= visible || m_nCursor >= static_cast<int>(m_x.size()))
    return false;
  if (m_nCursorY < m_rect.top || m_nCursorY > m_rcDateAxis.top) return false;
  CFont* font = CSysStyle::GetInstance()->GetFont(2);
  at->x = m_x[static_cast<size_t>(m_nCursor)] + m_nCandleWidth / 2;
  at->value = ValueAtCursor();
  SIZE s = p.TextExtent(at->value, font);
  at->valueBox = RECT{m_rect.left + 66 - s.cx - 6, m_nCursorY - s.cy / 2 - 1, m_rect.left + 66,
                      m_nCursorY + s.cy / 2 + 1};
  at->date.clear();
  if (m_nCursorDate >= 0) {
    char date[16];
    std::snprintf(date, sizeof date, "%08d", m_nCursorDate);
    at->date = date;
    s = p.TextExtent(at->date, font);
    const int left = std::min<int>(at->x, m_rcDateAxis.right - s.cx - 4);
    at->dateBox = RECT{left, m_rcDateAxis.top, left + s.cx + 4, m_rcDateAxis.bottom};
  }
  return true;
}

namespace {

// A line across or down the chart in pieces of a few dozen pixels. Each
// piece ends a pixel short, so together they invert the very pixels of
// the one line; the raster engine inverts a short piece at once, where it
// hands the pixels of a long one to its thread pool in batches, whose
// wake-ups cost more than the line.
void InvertedLine(CChartPainter& p, int x1, int y1, int x2, int y2) {
  constexpr int kPiece = 64;
  if (y1 == y2 && x1 < x2) {
    for (int x = x1; x < x2; x += kPiece) p.Line(x, y1, std::min(x + kPiece, x2), y1, SPenSpec{});
  } else if (x1 == x2 && y1 < y2) {
    for (int y = y1; y < y2; y += kPiece) p.Line(x1, y, x1, std::min(y + kPiece, y2), SPenSpec{});
  } else {
    p.Line(x1, y1, x2, y2, SPenSpec{});
  }
}

}  // namespace

void CHisTechObj::DrawCrosshair(CChartPainter& p) {
  SCrosshair at;
  if (!CrosshairAt(p, &at)) return;
  p.SetInvert(true);
  InvertedLine(p, at.x, m_rect.top + 16, at.x, m_rcDateAxis.top);
  InvertedLine(p, m_rcDateAxis.left, m_nCursorY, m_rcDateAxis.right, m_nCursorY);
  p.SetInvert(false);
  CFont* font = CSysStyle::GetInstance()->GetFont(2);
  const SPenSpec frame{PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(6)};
  p.Rect(at.valueBox, frame, 0xFF0000);
  p.Text(at.value, at.valueBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE, RGB(255, 255, 255), font);
  if (!at.date.empty()) {
    p.Rect(at.dateBox, frame, 0xFF0000);
    p.Text(at.date, at.dateBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE, RGB(255, 255, 255), font);
  }
}

std::vector<RECT> CHisTechObj::CrosshairAreas(CChartPainter& p) const {
  std::vector<RECT> areas;
  SCrosshair at;
  if (!CrosshairAt(p, &at)) return areas;
  // With a pixel to spare on every side for the pen and the text.
  areas.push_back(RECT{at.x - 1, m_rect.top + 15, at.x + 2, m_rcDateAxis.top + 2});
  areas.push_back(
      RECT{m_rcDateAxis.left - 1, m_nCursorY - 1, m_rcDateAxis.right + 2, m_nCursorY + 2});
  areas.push_back(RECT{at.valueBox.left - 2, at.valueBox.top - 2, at.valueBox.right + 2,
                       at.valueBox.bottom + 2});
  if (!at.date.empty())
    areas.push_back(
        RECT{at.dateBox.left - 2, at.dateBox.top - 2, at.dateBox.right + 2, at.dateBox.bottom + 2});
  for (RECT& r : areas) {
    r.left = std::max(r.left, m_rect.left);
    r.top = std::max(r.top, m_rect.top);
    r.right = std::min(r.right, m_rect.right);
    r.bottom = std::min(r.bottom, m_rect.bottom);
  }
  areas.erase(std::remove_if(areas.begin(), areas.end(),
                             [](const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }),
              areas.end());
  return areas;
}

std::vector<RECT> CHisTechObj::TitleTextAreas(const std::vector<int>& now,
                                              const std::vector<int>& before) const {
  std::vector<RECT> areas;
  const bool known = now.size() == m_panes.size() && before.size() == m_panes.size();
  for (size_t i = 0; i < m_panes.size(); ++i) {
    const CTechAnalysisBasePic* pic = m_panes[i]->GetPic();
    if (!pic) continue;
    const RECT& r = pic->GetPictureRect();
    // The title row is 16 pixels: its first two rows hold the frame and
    // the lowest rows of the pane above, its ends the frame. Glyphs may
    // reach a few pixels past their measured width.
    RECT text{r.left + 1, r.top + 2, r.right - 1,
              std::min<int>(r.top + 16, pic->GetPlotRect().top)};
    if (known) text.right = std::min<int>(text.right, std::max(now[i], before[i]) + 4);
    if (text.right > text.left && text.bottom > text.top) areas.push_back(text);
  }
  return areas;
}

std::vector<int> CHisTechObj::TitleRights(CChartPainter& measure) {
  // Laid out through a painter that draws nothing.
  CCullingPainter layout(measure, {});
  for (auto& pane : m_panes) {
    CTechAnalysisBasePic* pic = pane->GetPic();
    if (pic) pic->DrawTitles(layout);
  }
  return LaidOutTitleRights();
}

std::vector<int> CHisTechObj::LaidOutTitleRights() const {
  std::vector<int> rights;
  for (const auto& pane : m_panes) {
    const CTechAnalysisBasePic* pic = pane->GetPic();
    rights.push_back(pic ? pic->TitlesRight() : 0);
  }
  return rights;
}

void CHisTechObj::RedrawTitles(CDC* dc) {
  std::vector<int> now;
  {
    CDCPainter measure(dc);
    now = TitleRights(measure);
  }
  const std::vector<RECT> areas = TitleTextAreas(now, m_titleRights);
  m_titleRights = now;
  // The back buffer gets these titles from the bare picture.
  m_paintedTitleRights.clear();
  if (areas.empty()) return;
  for (const RECT& r : areas)
    dc->BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &m_kept->under,
               r.left - m_rect.left, r.top - m_rect.top, SRCCOPY);
  const int saved = ClipToAreas(dc, areas);
  {
    CDCPainter painter(dc);
    for (auto& pane : m_panes)
      if (CTechAnalysisBasePic* pic = pane->GetPic()) pic->DrawTitles(painter);
  }
  dc->RestoreDC(saved);
}

int CHisTechObj::TitleBar() const { return HasCursor() ? m_nCursor : m_nEnd - m_nFirst - 1; }

bool CHisTechObj::TipFree(POINT pt) const {
  if (!PtInRect(m_rect, pt)) return true;
  return std::any_of(m_panes.begin(), m_panes.end(), [&](const auto& pane) {
    const CTechAnalysisBasePic* pic = pane->GetPic();
    return pic && PtInRect(pic->GetPlotRect(), pt);
  });
}

bool CHisTechObj::CanKeepBare() const {
  // Interval marks and the zoom box are drawn after the crosshair, the
  // figures being drawn follow the mouse, and a tip follows the mouse in
  // the bare picture itself: those are left to the full paint.
  return m_bCursorShown && !m_raw.empty() && m_nIntervalState != 1 && m_nIntervalState != 2 &&
         !m_bZoomActive && !AnyToolBusy() && TipFree(m_ptMouse);
}

void CHisTechObj::NoteMove() {
  // A tip follows the mouse in the picture itself.
  if (!TipFree(m_ptMousePainted) || !TipFree(m_ptMouse)) {
    Changed(EChartChange::kOverlay);
    return;
  }
  // Without a cursor the crosshair and the titles of the newest bar stay.
  if (m_bCursorShown)
    Changed(CanKeepBare() ? CChartChanges(EChartChange::kCursor) : EChartChange::kOverlay);
}

bool CHisTechObj::CursorAreas(std::vector<RECT>* areas) {
  if (!m_bCursorShown) {
    if (areas) areas->clear();
    return m_unpainted.None();
  }
  if (!m_unpainted.Within(EChartChange::kCursor) || !m_bBareKept || !m_kept || !m_kept->bareMade ||
      !EqualRect(m_kept->rect, m_rect))
    return false;
  std::vector<RECT> now;
  {
    CDCPainter measure(&m_kept->bare);
    now = CrosshairAreas(measure);
  }
  if (areas) {
    *areas = m_crosshairDrawn;
    areas->insert(areas->end(), now.begin(), now.end());
    if (TitleBar() != m_nTitleBarDrawn) {
      CDCPainter measure(&m_kept->bare);
      const std::vector<RECT> titles = TitleTextAreas(TitleRights(measure), m_titleRights);
      areas->insert(areas->end(), titles.begin(), titles.end());
    }
  }
  return true;
}

bool CHisTechObj::DrawCursorInPlace(CDC* back, const std::vector<RECT>& more,
                                    std::vector<RECT>* drawn) {
  std::vector<RECT> areas;
  if (back == nullptr || !CursorAreas(&areas)) return false;
  if (!m_bCursorShown) {
    // Nothing of the chart changed; what the owner drew over it did not
    // either (it follows the cursor).
    if (drawn) drawn->clear();
    return more.empty();
  }
  // The titles of another bar go into the bare picture first.
  if (TitleBar() != m_nTitleBarDrawn) RedrawTitles(&m_kept->bare);
  for (const RECT& r : more) {
    RECT in{std::max(r.left, m_rect.left), std::max(r.top, m_rect.top),
            std::min(r.right, m_rect.right), std::min(r.bottom, m_rect.bottom)};
    if (in.right > in.left && in.bottom > in.top) areas.push_back(in);
  }
  for (const RECT& r : areas)
    back->BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &m_kept->bare, r.left, r.top,
                 SRCCOPY);
  {
    // Every pixel the crosshair inverts lies in its areas, now bare.
    CDCPainter painter(back);
    DrawCrosshair(painter);
    m_crosshairDrawn = CrosshairAreas(painter);
  }
  // The figures lie over the crosshair, as a full paint draws them.
  const bool figures = std::any_of(m_panes.begin(), m_panes.end(),
                                   [](const auto& pane) { return !pane->Tools().Tools().empty(); });
  if (figures && !areas.empty()) {
    const int saved = ClipToAreas(back, areas);
    for (auto& pane : m_panes) pane->DrawTools(back);
    back->RestoreDC(saved);
  }
  m_nTitleBarDrawn = TitleBar();
  m_ptMousePainted = m_ptMouse;
  m_unpainted = CChartChanges();
  if (drawn) *drawn = std::move(areas);
  return true;
}
