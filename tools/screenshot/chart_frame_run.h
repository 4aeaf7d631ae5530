// The real main frame with the real chart view, without a login or a quote
// link: a program folder of its own made from the build's one, a market of
// one item, the frame shown at a size with the item on the chart view's
// K-line page. Packets reach the frame as the link delivers them (its
// packet message); the paints the view asks for run as the event loop runs
// them, and the areas they covered are recorded. For the chart view's
// speed benchmark and the test that a pushed tick repaints a small part of
// the chart.
#pragma once
#include <QRegion>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/msgbox.h"
#include "platform/types.h"

class CMainFrame;
class CStockView;
class CHisTechObj;
class CZEBApp;
class QObject;

class CChartFrameRun {
 public:
  static constexpr uint16_t kMarket = 4114;
  static constexpr int32_t kCode = 602001;

  // The frame's outer size; ok() tells whether the chart view came up.
  CChartFrameRun(int width, int height);
  ~CChartFrameRun();
  CChartFrameRun(const CChartFrameRun&) = delete;
  CChartFrameRun& operator=(const CChartFrameRun&) = delete;

  bool ok() const { return m_view != nullptr; }
  CMainFrame& Frame() { return *m_frame; }
  CStockView& View() { return *m_view; }
  CHisTechObj& Chart();

  // Opens the item on the K-line page, delivers the history reply and
  // shows every bar it holds; the page is then painted. False when the
  // chart did not take the bars.
  bool ShowKLine(const std::string& history);
  // One packet through the frame's packet message.
  void Deliver(const std::string& body);
  // The mouse over a point of the view's client area, pressed or not: the
  // pointer goes there too, so the view's crosshair timer agrees.
  void MouseTo(POINT at);
  void Click(POINT at);
  // Runs the paints asked for so far; the region they painted, in the
  // view's coordinates.
  QRegion PaintPending();

 private:
  class CPaintRecorder;
  std::filesystem::path m_folder;
  platform::ScopedRecordingBoxes m_boxes;
  std::unique_ptr<CZEBApp> m_app;
  CMainFrame* m_frame = nullptr;
  CStockView* m_view = nullptr;
  std::unique_ptr<CPaintRecorder> m_recorder;
};

// The pixels a region covers.
int64_t RegionArea(const QRegion& region);
