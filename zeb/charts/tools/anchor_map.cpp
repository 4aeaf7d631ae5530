// Screen points to (date, value) anchors and back.
#include "zeb/charts/tools/anchor_map.h"

#include <algorithm>

namespace {

int32_t DateOf(int32_t word) { return word & 0x7FFFFFFF; }

// An x some bars off the view, kept where the drawing arithmetic cannot
// overflow even for an anchor dated far from every bar.
int OffViewX(int from, int64_t bars, int step) {
  constexpr int64_t kFar = int64_t{1} << 24;
  return static_cast<int>(std::clamp<int64_t>(from + bars * step, -kFar, kFar));
}

}  // namespace

SToolAnchor CAnchorMap::ScreenToAnchor(POINT p) const {
  const SView& v = m_view;
  SToolAnchor a;
  const int width = v.plot.right - v.plot.left;
  const int height = v.plot.bottom - v.plot.top;
  const int count = static_cast<int>(v.dates.size());
  if (height > 0)
    a.value = (v.maximum - v.minimum) / static_cast<float>(height) *
                  static_cast<float>(v.plot.bottom - p.y) +
              v.minimum;
  // Without bars there is no date to anchor to.
  if (count == 0 || width <= 0) return a;
  // The bar under x: among the visible bars the one whose column holds x
  // (the columns of a fractional bar width are not all equally wide);
  // outside them the first bar step continues, as AnchorToScreen extends
  // it, so a point and its anchor map back onto each other. Without two
  // visible bars the plot is shared out evenly between the bars.
  const int visible = std::min<int>(static_cast<int>(v.xs.size()), count - v.first);
  int bar;
  if (visible >= 2 && v.xs[1] > v.xs[0]) {
    const int step = v.xs[1] - v.xs[0];
    const int last = visible - 1;
    if (p.x < v.xs[0]) {
      bar = v.first - (v.xs[0] - p.x + step - 1) / step;
    } else if (p.x >= v.xs[last]) {
      bar = v.first + last + (p.x - v.xs[last]) / step;
    } else {
      const auto column =
          std::upper_bound(v.xs.begin(), v.xs.begin() + visible, static_cast<int>(p.x));
      bar = v.first + static_cast<int>(column - v.xs.begin()) - 1;
    }
  } else {
    bar = static_cast<int>(static_cast<int64_t>(p.x - v.plot.left) * (count - v.first) / width) +
          v.first;
  }
  if (bar < 0) {
    a.date = DateOf(v.dates.front());
  } else if (bar < count) {
    a.date = DateOf(v.dates[bar]);
  } else {
    a.date = DateOf(v.dates.back()) + (bar - (count - 1));
  }
  return a;
}

int CAnchorMap::ValueToY(float value) const {
  const SView& v = m_view;
  if (v.maximum == v.minimum) return v.plot.top;
  const int height = v.plot.bottom - v.plot.top;
  const int y =
      v.plot.bottom -
      static_cast<int>(static_cast<float>(height) *
                       ((value - v.minimum) / ((v.maximum - v.minimum) * v.verticalScale)));
  return std::clamp(y, static_cast<int>(v.plot.top),
                    static_cast<int>(std::max(v.plot.top, v.plot.bottom)));
}

POINT CAnchorMap::AnchorToScreen(const SToolAnchor& a) const {
  const SView& v = m_view;
  POINT p{v.plot.left, ValueToY(a.value)};
  const int count = static_cast<int>(v.dates.size());
  const int visible = std::min<int>(static_cast<int>(v.xs.size()), count - v.first);
  if (visible <= 0 || v.first < 0) return p;
  const int half = v.candleWidth / 2;
  // With a single bar there is no step between bars; the candle width
  // stands for it.
  const int step = visible >= 2 ? v.xs[1] - v.xs[0] : std::max(v.candleWidth, 1);
  // The bar of the anchor: the first on or after its date. One scrolled off
  // the left edge lies a bar step per bar left of the first shown, so the
  // figure keeps its slope and leaves the plot through its edge.
  const auto bar = std::partition_point(v.dates.begin(), v.dates.end(),
                                        [&](int32_t word) { return DateOf(word) < a.date; });
  const int index = static_cast<int>(bar - v.dates.begin());
  if (index < v.first) {
    p.x = OffViewX(v.xs[0] + half, index - v.first, step);
    return p;
  }
  if (index < v.first + visible) {
    p.x = v.xs[static_cast<size_t>(index - v.first)] + half;
    return p;
  }
  // Right of the last shown bar: a bar step per bar up to the newest bar,
  // then one per date unit past it.
  const int lastShown = v.first + visible - 1;
  const int newest = count - 1;
  const int64_t bars = index <= newest ? index - lastShown
                                       : (newest - lastShown) +
                                             static_cast<int64_t>(a.date - DateOf(v.dates.back()));
  p.x = OffViewX(v.xs[static_cast<size_t>(visible - 1)] + half, bars, step);
  return p;
}
