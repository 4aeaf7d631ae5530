// What changed in a chart, said by the code that changed it. A change
// carries its kinds; the recompute does the work those kinds ask for (a
// new value of the newest bar recomputes the indicators and the pixels of
// that bar only, a scroll the visible range, a resize the layout) and the
// next paint redraws what they touch: the last bar's column and the titles
// for the newest bar, the crosshair over the kept picture for the cursor,
// the whole chart for anything else.
#pragma once
#include <cstdint>

enum class EChartChange : uint8_t {
  kCursor = 1 << 0,   // the cursor's bar or the crosshair's point
  kLastBar = 1 << 1,  // the values of the newest bar, and nothing else
  kRange = 1 << 2,    // which bars show: a scroll, a zoom, a new bar
  kSeries = 1 << 3,   // the bars, or what is computed and shown from them
  kSize = 1 << 4,     // the rectangles
  kScheme = 1 << 5,   // colours and fonts
  kOverlay = 1 << 6,  // what lies over the chart: figures, marks, tips, the zoom box
};

class CChartChanges {
 public:
  constexpr CChartChanges() = default;
  constexpr CChartChanges(EChartChange kind) : m_bits(static_cast<uint8_t>(kind)) {}

  constexpr CChartChanges operator|(CChartChanges other) const {
    CChartChanges both;
    both.m_bits = static_cast<uint8_t>(m_bits | other.m_bits);
    return both;
  }
  constexpr CChartChanges& operator|=(CChartChanges other) {
    m_bits = static_cast<uint8_t>(m_bits | other.m_bits);
    return *this;
  }
  constexpr bool operator==(const CChartChanges&) const = default;

  constexpr bool Has(EChartChange kind) const { return (m_bits & static_cast<uint8_t>(kind)) != 0; }
  constexpr bool None() const { return m_bits == 0; }
  // Nothing but the kinds given changed (true for no change at all).
  constexpr bool Within(CChartChanges kinds) const { return (m_bits & ~kinds.m_bits) == 0; }

 private:
  uint8_t m_bits = 0;
};

constexpr CChartChanges operator|(EChartChange a, EChartChange b) {
  return CChartChanges(a) | CChartChanges(b);
}
