// Keys and sizes of the market pane (view_focus_pictures.h).
#include "tools/screenshot/view_focus_pictures.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWindow>
#include <set>

#include "platform/testing/app.h"
#include "platform/window.h"
#include "tools/screenshot/chart_pictures.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/views/report/price_report_view.h"
#include "zeb/views/stock/stock_view.h"

namespace {

CPriceReportView* FindList(CMainFrame& frame) {
  for (int i = 0; i < frame.Splitter().GetViewCount(0); ++i)
    if (auto* list = dynamic_cast<CPriceReportView*>(frame.Splitter().GetView(0, i))) return list;
  return nullptr;
}

bool Shows(int page) {
  const IRoutedView* active = CCmdDispatcher::GetInstance()->GetActiveView();
  return active && active->GetViewPage() == page;
}

// A key as the desktop delivers it: to the main window, which hands it to
// whatever has the focus in it (nothing is clicked first).
void Type(CMainFrame& frame, Qt::Key key) {
  QTest::keyClick(frame.GetWidget()->windowHandle(), key);
  platform::PumpMessages(0);
}

// Row (counted on the page) of the list, at the middle of its first column.
QPoint RowPoint(CPriceReportView& list, int row) {
  const RECT r = list.Table().GetRect();
  const int height = list.Table().GetRowHeight();
  return QPoint(r.left + 20, r.top + height * (row + 1) + height / 2);
}

// Once the chart view shows the item: Left, F5 twice, then Esc until the
// list is back.
void KeysInTheChart(CMainFrame& frame, CPriceReportView& list, CStockView& chart, int timeoutMs,
                    SOpenedByKeys* seen) {
  CPriceVolObj& timeShare = chart.Analysis().PriceVol();
  seen->opened = platform::PumpUntil(
      [&] { return Shows(kPageChart) && timeShare.GetDataCount() > 0; }, timeoutMs);
  if (!seen->opened) return;
  const SCodeInfo opened = chart.Stock().GetKey();
  Type(frame, Qt::Key_Left);
  seen->leftMovedCursor = timeShare.IsCrosshairOn() && timeShare.GetCursorIndex() >= 0;
  Type(frame, Qt::Key_F5);
  const bool technical = chart.Analysis().GetPage() == kPageTechnical;
  Type(frame, Qt::Key_F5);
  seen->f5TurnedPage = technical && chart.Analysis().GetPage() == kPageTimeShare;
  // Esc first puts away the crosshair, then leaves the chart.
  for (int press = 0; press < 3 && !Shows(kPageReport); ++press) Type(frame, Qt::Key_Escape);
  seen->escBackToList = Shows(kPageReport);
  if (!seen->escBackToList) return;
  CReportTable& table = list.Table();
  // The rows of the page come with the quotes asked for again.
  platform::PumpUntil([&] { return table.GetRowCount() > 0 && table.GetSelectedCode() == opened; },
                      5000);
  seen->openedStaysSelected = table.GetSelectedCode() == opened && table.GetSelRow() >= 0 &&
                              table.GetSelRow() < table.GetRowsPerPage();
  seen->listFocused = QuoteListHasFocus(frame);
}

}  // namespace

bool QuoteListHasFocus(CMainFrame& frame) {
  CPriceReportView* list = FindList(frame);
  // The main window's focus: where its keys go (the application's focus
  // too while it is the active window).
  return list && frame.GetWidget()->focusWidget() == list->GetWidget();
}

void CheckKeysAfterOpening(CMainFrame& frame, int timeoutMs, SViewFocusRun* seen) {
  CPriceReportView* list = FindList(frame);
  CStockView* chart = FindChartView(frame);
  if (!list || !chart) return;
  // The user works in the main window: it is the active one, as on a
  // desktop, where a window hidden with the focus passes it on.
  platform::testing::ShowAndActivate(frame.GetWidget());
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->ShowAllMarkets();
  platform::PumpUntil([&] { return Shows(kPageReport) && list->Table().GetRowCount() > 3; },
                      timeoutMs);
  list->SetFocus();
  // Enter on the third row, reached by the arrow keys.
  Type(frame, Qt::Key_Down);
  Type(frame, Qt::Key_Down);
  Type(frame, Qt::Key_Return);
  KeysInTheChart(frame, *list, *chart, timeoutMs, &seen->byEnter);
  // A double click on the fifth row.
  if (!Shows(kPageReport)) return;
  QTest::mouseDClick(list->GetWidget(), Qt::LeftButton, Qt::NoModifier, RowPoint(*list, 4));
  KeysInTheChart(frame, *list, *chart, timeoutMs, &seen->byDoubleClick);
}

void PictureResizedChart(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                         SViewFocusRun* seen) {
  CStockView* chart = FindChartView(frame);
  if (!chart) return;
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->OpenChartPage(SCodeInfo{4114, 602001}, 0x10);
  platform::PumpUntil(
      [&] { return Shows(kPageChart) && chart->Analysis().PriceVol().GetDataCount() > 0; },
      timeoutMs);
  QWidget* window = frame.GetWidget();
  platform::PumpMessages(50);
  // Restored, then made smaller, as a user drags its corner.
  window->showNormal();
  window->setGeometry(60, 40, 1280, 860);
  platform::PumpMessages(50);
  // The split bar dragged down by 80 pixels with the mouse.
  ST_SplitterWnd& splitter = frame.Splitter();
  int market = 0;
  splitter.GetRowInfo(0, &market, nullptr);
  QWidget* bar = splitter.GetWidget();
  const QPoint grip(bar->width() / 2, market + kSplitBarSize / 2);
  QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, grip);
  QTest::mouseMove(bar, grip + QPoint(0, 40));
  QTest::mouseMove(bar, grip + QPoint(0, 80));
  QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, grip + QPoint(0, 80));
  platform::PumpMessages(50);
  chart->Invalidate(FALSE);
  keep("16-resized-chart.png", window);
  // Drawn: the chart view's own picture holds the chart's and the panel's
  // many colours, not one fill.
  const QImage drawn = chart->GetWidget()->grab().toImage();
  std::set<QRgb> colours;
  for (int y = 0; y < drawn.height(); y += 3)
    for (int x = 0; x < drawn.width(); x += 3) colours.insert(drawn.pixel(x, y));
  seen->resizedChartDrawn = colours.size() > 4;
  // Back as it was.
  int lower = 0;
  splitter.GetRowInfo(0, &lower, nullptr);
  const QPoint back(bar->width() / 2, lower + kSplitBarSize / 2);
  QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, back);
  QTest::mouseMove(bar, back - QPoint(0, 80));
  QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, back - QPoint(0, 80));
  window->showMaximized();
  platform::PumpMessages(50);
}
