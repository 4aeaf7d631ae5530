// The K-line chart's cheap repaint after pushed ticks. Once ticks arrive,
// each full paint keeps its picture and what lay under it. While the only
// change since is of the newest bar's kind (no pane's range moved, no other
// bar, row or mark changed: the panes said so when they took it), the next
// paint puts the kept picture back and redraws just the last bar's column
// and the titles, each under a clip and through a culling painter, so
// those areas get exactly the pixels a full paint would give; the panes
// lay out only the bars of that column. A change of any other kind makes the next paint a full one.
// A back buffer its owner keeps between paints needs no copy of the
// picture at all: the areas are redrawn in it and reported, so only they
// go on screen.
#include <algorithm>

#include "zeb/charts/kline/his_tech_kept_image.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/painter/culling_painter.h"
#include "zeb/tables/packets/kline_packets.h"

int CHisTechObj::OnTick(const SPushTickPacket* push) {
  SKLineTick t;
  // A push that moves no bar of this chart changes nothing shown.
  if (ReadOwnTick(push, &t)) TakeTick(t);
  return 1;
}

std::vector<RECT> CHisTechObj::TickDirtyRects() const {
  std::vector<RECT> dirty;
  const size_t last = m_x.size() - 1;
  // The last candle and every segment reaching it, with room for pens,
  // down to the date axis: the newest bar's date moves within its day
  // (minute bars) or not at all, and the axis names only days and months.
  const int left = std::min(m_x[last - 1] + m_nCandleWidth / 2, m_x[last]) - 4;
  dirty.push_back(
      RECT{std::max<int>(m_rect.left, left), m_rect.top, m_rect.right, m_rcDateAxis.top});
  // The titles, where nothing else is drawn: the redraw lays out no bar
  // outside the last column. Only as far as they reach before or now,
  // when both are known.
  const std::vector<RECT> titles = TitleTextAreas(m_tickTitleRights, m_paintedTitleRights);
  dirty.insert(dirty.end(), titles.begin(), titles.end());
  for (RECT& r : dirty) {
    r.left = std::max(r.left, m_rect.left);
    r.top = std::max(r.top, m_rect.top);
    r.right = std::min(r.right, m_rect.right);
    r.bottom = std::min(r.bottom, m_rect.bottom);
  }
  return dirty;
}

void CHisTechObj::MeasureTickTitles() {
  m_tickTitleRights.clear();
  // Without the last paint's to compare with, the whole rows are redrawn.
  if (m_paintedTitleRights.empty()) return;
  CDC measure;
  measure.CreateCompatibleDC(nullptr);
  CDCPainter painter(&measure);
  m_tickTitleRights = TitleRights(painter);
}

bool CHisTechObj::CanRedrawChanged() const {
  if (!m_unpainted.Within(EChartChange::kLastBar) || !m_bUnderKept || !m_kept ||
      !EqualRect(m_kept->rect, m_rect) || m_raw.empty())
    return false;
  // Inverted marks and figures being moved are left to the full paint.
  if ((m_bCursorShown && m_bMouseIn) || m_nIntervalState == 1 || m_nIntervalState == 2 ||
      m_bZoomActive || AnyToolBusy())
    return false;
  const int visible = m_nEnd - m_nFirst;
  return m_x.size() >= 2 && visible == static_cast<int>(m_x.size()) &&
         m_nEnd == static_cast<int>(m_raw.size());
}

bool CHisTechObj::CanPaintTickOnly(CDC* dc) const {
  return CanRedrawChanged() && dc->GetImage() != nullptr;
}

bool CHisTechObj::ChangedAreas(std::vector<RECT>* areas) const {
  if (!CanRedrawChanged()) return false;
  std::vector<RECT> dirty;
  if (m_unpainted.Has(EChartChange::kLastBar)) dirty = TickDirtyRects();
  dirty.erase(std::remove_if(dirty.begin(), dirty.end(),
                             [](const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }),
              dirty.end());
  if (areas) *areas = std::move(dirty);
  return true;
}

void CHisTechObj::KeepImage(CDC* dc, bool under) {
  if (!m_kept || !EqualRect(m_kept->rect, m_rect)) {
    m_kept = std::make_unique<SKeptImage>();
    if (!m_kept->Make(m_rect)) {
      m_kept.reset();
      return;
    }
  }
  CDC& target = under ? m_kept->under : m_kept->picture;
  target.BitBlt(0, 0, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, dc, m_rect.left,
                m_rect.top, SRCCOPY);
}

void CHisTechObj::PaintTickOnly(CDC* dc) {
  const int width = m_rect.right - m_rect.left, height = m_rect.bottom - m_rect.top;
  dc->BitBlt(m_rect.left, m_rect.top, width, height, &m_kept->picture, 0, 0, SRCCOPY);
  std::vector<RECT> dirty;
  ChangedAreas(&dirty);
  RedrawAreas(dc, dirty);
  m_paintedTitleRights = LaidOutTitleRights();
  for (const RECT& r : dirty)
    m_kept->picture.BitBlt(r.left - m_rect.left, r.top - m_rect.top, r.right - r.left,
                           r.bottom - r.top, dc, r.left, r.top, SRCCOPY);
  m_unpainted = CChartChanges();
}

int ClipToAreas(CDC* dc, const std::vector<RECT>& areas) {
  // The clip region speaks device units.
  CRgn clip;
  clip.CreateRectRgnIndirect(&areas[0]);
  for (size_t i = 1; i < areas.size(); ++i) {
    CRgn more;
    more.CreateRectRgnIndirect(&areas[i]);
    clip.CombineRgn(&clip, &more, RGN_OR);
  }
  const POINT viewport = dc->GetViewportOrg(), window = dc->GetWindowOrg();
  clip.OffsetRgn(viewport.x - window.x, viewport.y - window.y);
  const int saved = dc->SaveDC();
  dc->SelectClipRgn(&clip);
  return saved;
}

void CHisTechObj::RedrawAreas(CDC* dc, const std::vector<RECT>& dirty, bool overlays) {
  if (dirty.empty()) return;
  for (const RECT& r : dirty)
    dc->BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &m_kept->under,
               r.left - m_rect.left, r.top - m_rect.top, SRCCOPY);
  // One pass over the chart under a clip of all the dirty areas.
  const int saved = ClipToAreas(dc, dirty);
  m_bHideCrosshair = !overlays;
  {
    CDCPainter painter(dc);
    CCullingPainter culled(painter, dirty);
    Draw(culled);
  }
  m_bHideCrosshair = false;
  if (overlays)
    for (auto& pane : m_panes) pane->DrawTools(dc);
  dc->RestoreDC(saved);
}
