// Painting of the time-share object: time axis, title line, the two
// pictures and the floating information box.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "platform/gbk.h"
#include "zeb/painter/chart_painter.h"
#include "zeb/painter/culling_painter.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/store/public_store.h"

namespace {

std::string PriceText(int64_t value, int decimals, int divisor) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value) / divisor);
  return text;
}

// Draws fields one after another along a strip, each left-aligned and
// vertically centred; a field that would pass the right edge ends the line.
class TitleWriter {
 public:
  TitleWriter(CChartPainter& painter, CFont* font, const RECT& strip, bool stopAtEdge)
      : painter_(painter), font_(font), strip_(strip), x_(strip.left), stop_(stopAtEdge) {}
  void Field(const std::string& text, COLORREF color) {
    if (full_) return;
    const int width = painter_.TextExtent(text, font_).cx;
    if (stop_ && x_ + width > strip_.right) {
      full_ = true;
      return;
    }
    const RECT box{x_, strip_.top, x_ + width, strip_.bottom};
    painter_.Text(text, box, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, color, font_);
    x_ += width;
  }
  void Gap(int pixels) { x_ += pixels; }

 private:
  CChartPainter& painter_;
  CFont* font_;
  RECT strip_;
  int x_;
  bool stop_;
  bool full_ = false;
};

// The rows of a strip across the whole width with a strip's height above and
// below: its texts are laid out along it, unclipped, and may run past its
// ends.
RECT TextBand(const RECT& strip) {
  const int h = strip.bottom - strip.top;
  return RECT{INT_MIN / 2, strip.top - h, INT_MAX / 2, strip.bottom + h};
}

// One font for each title size of the process: made once, not at each paint.
CFont* TitleFont(bool large) {
  const auto make = [](int height) {
    auto* f = new CFont;
    f->CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0, "Tohoma");
    return f;
  };
  static CFont* const regular = make(12);
  static CFont* const big = make(16);
  return large ? big : regular;
}

}  // namespace

int CPriceVolObj::Draw(CDC* dc) {
  if (!dc) return 0;
  {
    CDCPainter painter(dc);
    Paint(painter);
  }
  Painted();
  return 1;
}

void CPriceVolObj::DrawAreas(CDC* dc, const std::vector<RECT>& areas) {
  if (!dc || areas.empty()) return;
  // The box lies over the pictures: with it shown, the whole chart under
  // the caller's clip.
  if (InfoBoxShown()) {
    Draw(dc);
    return;
  }
  {
    // What lies wholly outside the areas is not even laid out.
    CDCPainter painter(dc);
    CCullingPainter culled(painter, areas);
    Paint(culled);
  }
  Painted();
}

void CPriceVolObj::Painted() {
  m_unpainted = CChartChanges();
  m_nFirstUnpainted = INT_MAX;
}

bool CPriceVolObj::TitleShowsLast() const {
  using namespace timeshare_style;
  return !(m_nStyle & kNoTitle) && (m_nStyle & (kQuoteTitle | kQuoteTitleShort)) != 0;
}

bool CPriceVolObj::ChangedAreas(std::vector<RECT>* areas) const {
  // The box shows the figures of the point under the cursor.
  if (!m_unpainted.Within(EChartChange::kLastBar) || InfoBoxShown()) return false;
  std::vector<RECT> changed;
  if (m_unpainted.Has(EChartChange::kLastBar)) {
    // One area down both pictures: an area is a pass over the chart.
    const int last = m_nDataCount - 1;
    RECT column{};
    UnionRect(column, m_pricePic.PointsColumn(m_nFirstUnpainted, last),
              m_volPic.PointsColumn(m_nFirstUnpainted, last));
    changed.push_back(column);
    if (TitleShowsLast()) changed.push_back(m_rcTitle);
  }
  ClipAreasTo(changed, m_rect);
  if (areas) *areas = std::move(changed);
  return true;
}

void CPriceVolObj::Paint(CChartPainter& painter) {
  if (!(m_nStyle & timeshare_style::kNoTimeAxis) && painter.Reaches(TextBand(m_rcAxis)))
    DrawTimeAxis(painter);
  if (!(m_nStyle & timeshare_style::kNoTitle) && painter.Reaches(TextBand(m_rcTitle)))
    DrawTitle(painter);
  m_pricePic.Paint(painter);
  m_volPic.Paint(painter);
  if (InfoBoxShown()) m_pInfoBox->Paint(painter);
}

void CPriceVolObj::DrawTimeAxis(CChartPainter& painter) {
  if (m_nPoints <= 2) return;
  CSysStyle* style = CSysStyle::GetInstance();
  CFont* font = style->GetFont(2);
  const COLORREF color = style->GetColor(5);
  const uint16_t market = m_pItem ? m_pItem->market : 0;
  const int width = m_rcAxis.right - m_rcAxis.left;
  for (int i = 0; i <= m_nPoints; i += 60) {
    const int t = m_pStore->MinuteIndexToTime(market, static_cast<uint16_t>(i), 0);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", (t / 60) % 100, t % 60);
    const int x = m_rcAxis.left + width * i / (m_nPoints - 2);
    const SIZE size = painter.TextExtent(text, font);
    const RECT box{x - size.cx / 2, m_rcAxis.top, x - size.cx / 2 + size.cx,
                   m_rcAxis.top + size.cy};
    painter.Text(text, box, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP, color, font);
  }
}

void CPriceVolObj::DrawTitle(CChartPainter& painter) {
  using namespace timeshare_style;
  if (!m_pItem || m_nDataCount <= 0) return;
  CSysStyle* style = CSysStyle::GetInstance();
  CFont& font = *TitleFont((m_nStyle & kLargeTitle) != 0);
  const SCodeInfo key = m_pItem->GetKey();
  const int decimals = CPublic::GetPriceDecimals(&key), divisor = CPublic::GetPriceUnit(&key);
  const int64_t last = m_arPrice[m_nDataCount - 1];
  const int64_t change = last - static_cast<int64_t>(m_nPreClose);
  const COLORREF neutral = style->GetColor(37);
  const COLORREF valueColor = style->GetColor(change > 0 ? 2 : 4);
  char code[16];
  std::snprintf(code, sizeof code, "%06d ", m_pItem->code);
  const std::string codeName = code + m_pItem->GetName();
  const int stripWidth = m_rcTitle.right - m_rcTitle.left;
  if (m_nStyle & kQuoteTitle) {
    const int w =
        painter
            .TextExtent(GBK("000000 商品名称商品名称   成交:0000.00   涨跌:-000.00   幅度:-00.00%"),
                        &font)
            .cx;
    const int gap = (stripWidth / 2 - w) / 4 + 4;
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.2f%%",
                  m_nPreClose ? change * 100.0 / m_nPreClose : 0.0);
    TitleWriter t(painter, &font, m_rcTitle, false);
    t.Field(codeName, neutral);
    t.Gap(gap);
    t.Field(GBK("   成交:"), neutral);
    t.Field(PriceText(last, decimals, divisor), valueColor);
    t.Gap(gap);
    t.Field(GBK("   涨跌:"), neutral);
    t.Field(PriceText(change, decimals, divisor), valueColor);
    t.Gap(gap);
    t.Field(GBK("   幅度:"), neutral);
    t.Field(percent, valueColor);
  } else if (m_nStyle & kQuoteTitleShort) {
    const int w = painter.TextExtent(GBK("成交:0000.00涨跌:-000.00成交量:0000000手"), &font).cx;
    int gap = (stripWidth - w) / 4;
    if (gap < 1) gap = 4;
    char volume[32];
    std::snprintf(volume, sizeof volume, "%d%s", m_arVolume[m_nDataCount - 1], GBK("手"));
    TitleWriter t(painter, &font, m_rcTitle, true);
    t.Field(codeName, neutral);
    t.Gap(gap);
    t.Field(GBK("成交:"), neutral);
    t.Field(PriceText(last, decimals, divisor), valueColor);
    t.Gap(gap);
    t.Field(GBK("涨跌:"), neutral);
    t.Field(PriceText(change, decimals, divisor), valueColor);
    t.Gap(gap);
    t.Field(GBK("成交量:"), neutral);
    t.Field(volume, style->GetColor(1));
  } else if (m_nStyle & kDateTitle) {
    char date[16];
    std::snprintf(date, sizeof date, "%d", m_nTradeDate);
    painter.Text(date, m_rcTitle, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, neutral,
                 &font);
  } else {
    TitleWriter t(painter, &font, m_rcTitle, false);
    t.Field(GBK("分时走势"), style->GetColor(25));
    t.Gap(5);
    t.Field(codeName, style->GetColor(20));
  }
}
