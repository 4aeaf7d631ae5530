// Pictures of the K-line chart (kline_pictures.h).
#include "tools/screenshot/kline_pictures.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "tools/screenshot/chart_pictures.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/views/stock/stock_view.h"

namespace {

constexpr UINT kCmd60Minutes = 26393;
constexpr UINT kCmdWeek = 26395;

// Waits for the reply to the chart's last request, then lets it paint.
int WaitForBars(CHisTechObj& chart, int period, int timeoutMs) {
  platform::PumpUntil(
      [&] {
        return chart.GetPeriod() == period && !chart.IsRequestPending() && !chart.Raw().empty();
      },
      timeoutMs);
  platform::PumpMessages(50);
  return chart.GetPeriod() == period ? static_cast<int>(chart.Raw().size()) : 0;
}

// One figure of each tool, drawn as a user draws it: the tool's command,
// then a press, a drag and a release on the K-line pane (in hundredths of
// its plot). Counts the figures the pane then holds.
int PlaceFigures(CStockView& view, CHisTechObj& chart) {
  const RECT plot = chart.Pane(0).GetPic()->GetPlotRect();
  const auto at = [&](int fx, int fy) {
    return MAKELPARAM(plot.left + (plot.right - plot.left) * fx / 100,
                      plot.top + (plot.bottom - plot.top) * fy / 100);
  };
  struct SFigure {
    UINT command;
    int x1, y1, x2, y2;
  };
  const SFigure figures[] = {
      {kline_cmd::kFirstTool + 1, 4, 85, 30, 30},   // "直线"
      {kline_cmd::kFirstTool + 2, 34, 15, 50, 35},  // "矩形"
      {kline_cmd::kFirstTool + 3, 55, 80, 75, 65},  // "平行线"
      {kline_cmd::kFirstTool + 4, 78, 12, 96, 45},  // "黄金分割"
      {kline_cmd::kFirstTool + 5, 8, 45, 24, 65},   // "甘氏线"
  };
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  for (const SFigure& f : figures) {
    router->ExecuteCommand(f.command);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(f.x1, f.y1));
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at((f.x1 + f.x2) / 2, (f.y1 + f.y2) / 2));
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(f.x2, f.y2));
    view.SendMessage(WM_LBUTTONUP, 0, at(f.x2, f.y2));
  }
  return static_cast<int>(chart.Pane(0).Tools().Tools().size());
}

// The mouse over a point of the view's client area: the real pointer
// goes there too, so the view's crosshair timer agrees with the move.
void MouseTo(CStockView& view, POINT at, WPARAM buttons) {
  POINT screen = at;
  view.ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  view.SendMessage(WM_MOUSEMOVE, buttons, MAKELPARAM(at.x, at.y));
}

void DragWithMouse(CStockView& view, POINT from, POINT to) {
  view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  MouseTo(view, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2}, MK_LBUTTON);
  MouseTo(view, to, MK_LBUTTON);
  view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

// The cursor on a bar of the K-line pane, one bar left with the Left key
// (which parks the pointer on the chart's corner, leaving the crosshair
// where the key put it), then its cursor box dragged over the chart and
// back. Hides the cursor at the end.
void PictureCursor(CMainFrame& frame, CStockView& view, CHisTechObj& chart, const KeepPicture& keep,
                   SKLinePictures* seen) {
  CAnalisysObj& analysis = view.Analysis();
  const RECT plot = chart.Pane(0).GetPic()->GetPlotRect();
  const POINT over{plot.left + (plot.right - plot.left) * 3 / 5,
                   plot.top + (plot.bottom - plot.top) / 3};
  // A click shows the cursor on the bar; Left steps from there.
  MouseTo(view, over, 0);
  view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(over.x, over.y));
  view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
  platform::PumpMessages(50);
  const int before = chart.CursorOffset();
  frame.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
  platform::PumpMessages(300);  // the crosshair timer sees the parked pointer
  POINT pointer{}, corner{chart.GetRect().left, chart.GetRect().top};
  view.ClientToScreen(&corner);
  ::GetCursorPos(&pointer);
  seen->leftKeptCursor = before > 0 && chart.CursorOffset() == before - 1 &&
                         chart.IsCursorShown() && pointer.x == corner.x && pointer.y == corner.y;
  if (analysis.IsCursorBoxShown()) seen->cursorValue = analysis.CursorTable().GetCellText(15, 0);
  view.Invalidate(FALSE);
  keep("13-kline-cursor.png", nullptr);

  const RECT box = analysis.CursorTable().GetRect();
  const POINT grab{box.left + 30, box.top + 60};
  const POINT to{grab.x + 260, grab.y + 30};
  DragWithMouse(view, grab, to);
  // The mouse goes on to the bar it was over; the box stays where dropped.
  MouseTo(view, over, 0);
  platform::PumpMessages(50);
  seen->boxDragged = analysis.CursorTable().GetRect().left == box.left + 260 &&
                     analysis.CursorTable().GetRect().top == box.top + 30;
  view.Invalidate(FALSE);
  keep("13-kline-cursor-dragged.png", nullptr);
  DragWithMouse(view, to, grab);
  chart.OnKey(VK_ESCAPE);
}

// Right-clicks the point and keeps a picture of the menu that opens,
// then closes it unchosen.
void PictureMenuAt(CStockView& view, POINT at, const KeepPicture& keep, const char* name) {
  MouseTo(view, at, 0);
  platform::PumpMessages(50);
  QTimer::singleShot(300, [&keep, name] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* menu = qobject_cast<QMenu*>(widget);
      if (!menu || !menu->isVisible()) continue;
      keep(name, nullptr);
      menu->close();
      return;
    }
  });
  view.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  view.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  platform::PumpMessages(50);
}

// A point of a pane's plot that none of its lines passes near at the bar
// under the point, a quarter of the plot from the left.
POINT OffTheLines(CHisTechObj& chart, int pane) {
  const CTechAnalysisBasePic& pic = *chart.Pane(pane).GetPic();
  const RECT plot = pic.GetPlotRect();
  const int x = plot.left + (plot.right - plot.left) / 4;
  for (int y = plot.top + (plot.bottom - plot.top) / 5; y < plot.bottom - 2; ++y)
    if (!chart.Pane(pane).HitTestLine(x, y)) return POINT{x, y};
  return POINT{x, plot.bottom - 2};
}

// The K-line as the mouse and keys use it: the MACD pane's right-click
// menu (with "切换指标"), the chart's menu with its ex-rights entries, the
// crosshair in the MACD pane, KDJ on 5-minute bars, and the panel's chip
// page beside the K-line.
void PictureKLineInput(CStockView& view, CHisTechObj& chart, const KeepPicture& keep,
                       int timeoutMs) {
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  constexpr int kMacdPane = 2;
  if (chart.GetPaneCount() <= kMacdPane) return;
  PictureMenuAt(view, OffTheLines(chart, kMacdPane), keep, "16-pane-menu.png");
  PictureMenuAt(view, OffTheLines(chart, 0), keep, "16-exrights-menu.png");

  const RECT macd = chart.Pane(kMacdPane).GetPic()->GetPlotRect();
  const POINT press{macd.left + (macd.right - macd.left) * 2 / 3, macd.top + 4};
  MouseTo(view, press, 0);
  view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(press.x, press.y));
  MouseTo(view, POINT{press.x, macd.top + (macd.bottom - macd.top) / 3}, 0);
  platform::PumpMessages(100);
  view.Invalidate(FALSE);
  keep("16-crosshair-lower-pane.png", nullptr);
  chart.OnKey(VK_ESCAPE);

  router->ExecuteCommand(kCmdMovingChips);
  platform::PumpMessages(100);
  view.Invalidate(FALSE);
  keep("14-chips.png", nullptr);
  router->ExecuteCommand(kCmdMovingChips);

  router->ExecuteCommand(kline_cmd::kFirstPeriod);
  WaitForBars(chart, 5, timeoutMs);
  view.Invalidate(FALSE);
  keep("16-kdj-5min.png", nullptr);
  router->ExecuteCommand(kline_cmd::kDayPeriod);
  WaitForBars(chart, CHisTechObj::kDayPeriod, timeoutMs);
}

}  // namespace

void PictureKLine(CMainFrame& frame, const KeepPicture& keep, int timeoutMs, SKLinePictures* seen) {
  CStockView* view = FindChartView(frame);
  if (!view) return;
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  // As a user goes: the item opens on its time-share page, whose reply
  // fills the panel, and F5 turns to the K-line page.
  router->OpenChartPage(SCodeInfo{kPictureMarket, kPictureCode}, kPageTimeShare);
  platform::PumpUntil([&] { return view->Panel().Board().GetCellText(5, 1) != "-"; }, timeoutMs);
  frame.SendMessage(WM_KEYDOWN, VK_F5, 0);
  CHisTechObj& chart = view->Analysis().HisTech();
  // The titles follow the first history reply.
  platform::PumpUntil([&] { return !chart.Raw().empty() && !chart.Titles().empty(); }, timeoutMs);
  seen->dayBars = WaitForBars(chart, CHisTechObj::kDayPeriod, timeoutMs);
  seen->onTechnicalPage = view->Analysis().GetPage() == kPageTechnical;
  seen->newsMarks = static_cast<int>(chart.Titles().size());
  for (int i = 0; i < chart.GetPaneCount(); ++i) seen->panes.push_back(chart.Pane(i).GetName());
  view->Invalidate(FALSE);
  keep("13-kline-day.png", nullptr);

  router->ExecuteCommand(kCmd60Minutes);
  seen->minuteBars = WaitForBars(chart, 60, timeoutMs);
  view->Invalidate(FALSE);
  keep("13-kline-60min.png", nullptr);

  router->ExecuteCommand(kCmdWeek);
  seen->weekBars = WaitForBars(chart, 62, timeoutMs);
  view->Invalidate(FALSE);
  keep("13-kline-week.png", nullptr);

  router->ExecuteCommand(kline_cmd::kDayPeriod);
  WaitForBars(chart, CHisTechObj::kDayPeriod, timeoutMs);
  seen->visibleBefore = chart.End() - chart.First();
  // Zoomed in until at most half the bars show.
  for (int i = 0; i < 8 && chart.End() - chart.First() > seen->visibleBefore / 2; ++i)
    router->ExecuteCommand(kline_cmd::kZoomIn);
  platform::PumpMessages(50);
  seen->visibleZoomed = chart.End() - chart.First();
  view->Invalidate(FALSE);
  keep("13-kline-zoomed.png", nullptr);

  PictureCursor(frame, *view, chart, keep, seen);

  seen->figures = PlaceFigures(*view, chart);
  platform::PumpMessages(50);
  view->Invalidate(FALSE);
  keep("14-drawing-tools.png", nullptr);
  PictureKLineInput(*view, chart, keep, timeoutMs);
  ReturnToQuoteList(timeoutMs);
}
