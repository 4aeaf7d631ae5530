// The drawing tools: anchors through the picture's mapping (and its
// guards), the figures as drawn, the mouse state machine with its grab
// and clamp, the tool commands and the figures kept per item.
#include <gtest/gtest.h>

#include <QImage>

#include "tables/tables_test_support.h"
#include "zeb/charts/tools/anchor_map.h"
#include "zeb/charts/tools/line_tool_set.h"

namespace {

// 20 bars 10 pixels apart from x = 100 (candle 6), dates 1..20; a plot of
// 300 x 200 from (100, 50) whose values run 0 .. 200, one per pixel row.
CAnchorMap::SView View(int first = 0) {
  CAnchorMap::SView v;
  for (int i = 0; i < 20; ++i) v.dates.push_back(20260101 + i);
  v.first = first;
  for (int i = first; i < 20; ++i) v.xs.push_back(100 + (i - first) * 10);
  v.candleWidth = 6;
  v.plot = RECT{100, 50, 100 + (20 - first) * 10 + 100, 250};
  v.minimum = 0;
  v.maximum = 200;
  return v;
}

TEST(ToolAnchors, RoundTripIncludingDatesPastTheLastBar) {
  CAnchorMap map;
  map.SetView(View());
  map.SetView([] {
    CAnchorMap::SView v = View();
    v.plot.right = 100 + 300;  // room for 10 bars past the last
    return v;
  }());
  // 30 bar slots across 300 pixels: bars 0..19, then 10 dates past the end.
  for (int slot : {0, 7, 19, 20, 25}) {
    const POINT p{103 + slot * 10, 120};
    const SToolAnchor a = map.ScreenToAnchor(p);
    EXPECT_EQ(a.date, 20260101 + slot) << slot;
    EXPECT_FLOAT_EQ(a.value, 130.0f);
    const POINT back = map.AnchorToScreen(a);
    EXPECT_EQ(back.x, p.x) << slot;
    EXPECT_EQ(back.y, p.y);
  }
}

TEST(ToolAnchors, UnevenBarColumnsMapEachBarCentreOntoItsOwnDate) {
  // A bar width of 5.5 pixels: columns alternate 5 and 6 pixels wide, so the
  // first step alone would drift a bar every 11 pixels.
  CAnchorMap::SView v = View();
  v.xs.clear();
  for (int i = 0; i < 20; ++i) v.xs.push_back(100 + static_cast<int>(i * 5.5));
  v.candleWidth = 3;
  CAnchorMap map;
  map.SetView(v);
  for (int bar : {0, 1, 9, 18, 19}) {
    const POINT centre{v.xs[static_cast<size_t>(bar)] + 1, 120};
    const SToolAnchor a = map.ScreenToAnchor(centre);
    EXPECT_EQ(a.date, 20260101 + bar) << bar;
    EXPECT_EQ(map.AnchorToScreen(a).x, centre.x) << bar;
  }
}

TEST(ToolAnchors, OneBarAndNoBarsAreGuarded) {
  CAnchorMap map;
  CAnchorMap::SView v = View();
  v.dates = {20260101};
  v.xs = {100};
  map.SetView(v);
  // Past the only bar: the candle width stands in for the bar step.
  EXPECT_EQ(map.AnchorToScreen({20260103, 10}).x, 100 + 3 + 2 * 6);
  v.dates.clear();
  v.xs.clear();
  map.SetView(v);
  const SToolAnchor a = map.ScreenToAnchor({150, 100});
  EXPECT_EQ(a.date, 0);
  EXPECT_EQ(map.AnchorToScreen(a).x, 100);
}

// Bars scrolled out of view on either side keep one bar step each, so a
// figure whose end left the view keeps its slope.
TEST(ToolAnchors, BarsOutOfViewKeepTheirBarStep) {
  CAnchorMap::SView v = View(5);
  v.xs.resize(10);  // bars 5..14 shown, 15..19 hidden to the right
  CAnchorMap map;
  map.SetView(v);
  const struct {
    int32_t date;
    int x;
  } cases[] = {
      {20260101, 103 - 50},       // the oldest bar, five bars left of the view
      {20260105, 103 - 10},       // the bar just left of the view
      {20260106, 103},            // the first shown
      {20260115, 103 + 90},       // the last shown
      {20260118, 103 + 120},      // a held bar right of the view
      {20260120 + 3, 103 + 170},  // three date units past the newest bar
  };
  for (const auto& c : cases) {
    const POINT p = map.AnchorToScreen({c.date, 100});
    EXPECT_EQ(p.x, c.x) << c.date;
    EXPECT_EQ(map.ScreenToAnchor(p).date, c.date) << c.date;
  }
}

class ToolsTest : public tables_test::TablesTest {
 protected:
  ToolsTest() : image(500, 300, QImage::Format_ARGB32_Premultiplied) {
    map.SetView(View());
    set.SetOwner(&owner);
    image.fill(Qt::black);
    dc.Attach(&image);
  }
  // Draws one figure from p to q with the tool (1 line .. 5 Gann lines).
  void Drag(int tool, POINT p, POINT q) {
    set.SetDrawMode(tool);
    ASSERT_EQ(set.OnLButtonDown(p.x, p.y), CLineToolSet::Click::kHandled);
    EXPECT_TRUE(owner.captured);
    EXPECT_TRUE(set.OnMouse(q.x, q.y));
    EXPECT_EQ(set.OnLButtonUp(q.x, q.y), 1);
    EXPECT_FALSE(owner.captured);
  }
  bool Red(int x, int y) const { return dc.GetPixel(x, y) == RGB(255, 0, 0); }

  CAnchorMap map;
  tables_test::RecordingOwner owner;
  CLineToolSet set{&map};
  QImage image;
  CDC dc;
};

TEST_F(ToolsTest, GoldenSectionRowsLieAtTheirFractions) {
  Drag(4, {133, 80}, {193, 180});
  ASSERT_EQ(set.Tools().size(), 1u);
  set.Draw(&dc);
  for (int row : {0, 39, 50, 61, 100}) EXPECT_TRUE(Red(160, 80 + row)) << row;
  for (int row : {20, 45, 80}) EXPECT_FALSE(Red(160, 80 + row)) << row;
}

TEST_F(ToolsTest, ParallelLinesDefaultFortyPixelsApart) {
  Drag(3, {133, 150}, {233, 150});
  set.Draw(&dc);
  const CDrawLineTool& tool = set.Tools()[0];
  ASSERT_TRUE(tool.HasThird());
  EXPECT_EQ(tool.ScreenPoint(2).y, 110);
  // Both lines run across the plot.
  EXPECT_TRUE(Red(105, 150));
  EXPECT_TRUE(Red(395, 110));
}

TEST_F(ToolsTest, ParallelLinesLeavingThroughTheRightAndBottomEdgesAreDrawn) {
  // A base line from the bottom edge to the right edge of the plot.
  Drag(3, {303, 240}, {383, 200});
  set.Draw(&dc);
  EXPECT_TRUE(Red(343, 220));
  const POINT third = set.Tools()[0].ScreenPoint(2);
  EXPECT_LT(third.y, 240);
}

TEST_F(ToolsTest, SidewaysBodyDragMovesAndTheFigureFollowsScrolling) {
  Drag(1, {133, 100}, {233, 200});
  const SToolAnchor before = set.Tools()[0].Anchor(0);
  // Press on the body, move straight sideways by three bars, release.
  ASSERT_EQ(set.OnLButtonDown(183, 150), CLineToolSet::Click::kHandled);
  EXPECT_EQ(set.GetState(), CLineToolSet::kDragging);
  EXPECT_TRUE(set.OnMouse(213, 150));
  EXPECT_TRUE(set.Tools()[0].IsMoving());  // shown shifted while dragged
  EXPECT_EQ(set.OnLButtonUp(213, 150), 1);
  const CDrawLineTool& tool = set.Tools()[0];
  EXPECT_EQ(tool.Anchor(0).date, before.date + 3);
  EXPECT_FLOAT_EQ(tool.Anchor(0).value, before.value);
  // Scrolling five bars moves the figure with its bars.
  const POINT shown = tool.ScreenPoint(0);
  map.SetView(View(5));
  EXPECT_EQ(tool.ScreenPoint(0).x, shown.x - 50);
  EXPECT_EQ(set.Tools()[0].HitTest(shown.x - 50, shown.y), CDrawLineTool::kFirstEnd);
}

TEST_F(ToolsTest, ALineWhoseEndScrolledOffKeepsItsSlopeAndStaysInThePlot) {
  Drag(1, {123, 100}, {223, 200});
  map.SetView(View(5));  // the first end's bar is now three bars left of the view
  set.Draw(&dc);
  EXPECT_TRUE(Red(123, 150));
  EXPECT_TRUE(Red(153, 180));
  for (int x = 60; x < 100; ++x)
    for (int y = 50; y <= 250; ++y) ASSERT_FALSE(Red(x, y)) << x << "," << y;
}

TEST_F(ToolsTest, ReleaseOutsideThePlotIsClampedAndEndsTheGesture) {
  set.SetDrawMode(2);
  ASSERT_EQ(set.OnLButtonDown(133, 100), CLineToolSet::Click::kHandled);
  set.OnMouse(480, 290);
  EXPECT_EQ(set.OnLButtonUp(480, 290), 1);
  EXPECT_EQ(set.GetState(), CLineToolSet::kIdle);
  EXPECT_FALSE(owner.captured);
  const POINT end = set.Tools()[0].ScreenPoint(1);
  EXPECT_LT(end.x, 400);
  EXPECT_LE(end.y, 249);
}

TEST_F(ToolsTest, LaterFigureWinsAndDeleteRemovesIt) {
  Drag(2, {133, 100}, {233, 200});
  Drag(2, {163, 120}, {263, 220});
  set.SetDrawMode(0);
  ASSERT_EQ(set.OnLButtonDown(200, 150), CLineToolSet::Click::kHandled);
  EXPECT_EQ(set.GetSelectedTool(), 1);
  set.OnLButtonUp(200, 150);
  EXPECT_EQ(set.DeleteSelectedTool(), 1);
  ASSERT_EQ(set.Tools().size(), 1u);
  EXPECT_EQ(set.DeleteSelectedTool(), 0);
  // A press outside the plot clears the selection and passes nothing on.
  EXPECT_EQ(set.OnLButtonDown(10, 10), CLineToolSet::Click::kOutside);
  EXPECT_EQ(set.OnLButtonDown(380, 60), CLineToolSet::Click::kPassOn);
}

TEST_F(ToolsTest, FiguresAreKeptWithTheirItem) {
  set.SwitchItem({4116, 1});
  Drag(1, {133, 100}, {233, 200});
  set.SwitchItem({4116, 2});
  EXPECT_TRUE(set.Tools().empty());
  set.SwitchItem({4116, 1});
  ASSERT_EQ(set.Tools().size(), 1u);
  EXPECT_EQ(set.Tools()[0].ScreenPoint(1).x, 233);
}

class RecordingCmdUI : public CCmdUI {
 public:
  int check = -1;
  bool enabled = false;
  void Enable(BOOL on) override { enabled = on; }
  void SetCheck(int c) override { check = c; }
};

TEST(ToolCommands, ChooseToolsAndShowTheirChecks) {
  CLineToolSet pane;
  CLineToolCommands commands;
  const auto check = [&](UINT id) {
    RecordingCmdUI ui;
    ui.m_nID = id;
    EXPECT_EQ(commands.UpdateCommandUI(&ui), 1);
    EXPECT_TRUE(ui.enabled);
    return ui.check;
  };
  EXPECT_EQ(check(29953), 1);
  EXPECT_EQ(commands.OnCommand(29956, {&pane}), 1);
  EXPECT_EQ(pane.GetChosenTool(), 3);
  EXPECT_EQ(pane.GetState(), CLineToolSet::kArmed);
  EXPECT_EQ(check(29953), 0);
  EXPECT_EQ(check(29956), 1);
  EXPECT_EQ(check(29954), 0);
  EXPECT_EQ(commands.OnCommand(29953, {&pane}), 1);
  EXPECT_EQ(pane.GetState(), CLineToolSet::kIdle);
  EXPECT_EQ(commands.OnCommand(29959, {&pane}), 1);
  EXPECT_EQ(commands.OnCommand(26387, {&pane}), 0);
  RecordingCmdUI other;
  other.m_nID = 26387;
  EXPECT_EQ(commands.UpdateCommandUI(&other), 0);
}

}  // namespace
