// CHisTechObj: the K-line chart of the chart view's technical-analysis
// page. It keeps the bar series of one item and one period, sends the
// history, day-trace requests, merges every reply, minute packet and
// pushed tick into the series, adjusts it for ex-rights, and lends it to a
// stack of indicator panes (read from "INDEX/INDEX.DEX") that it lays out,
// scrolls, zooms and drives with the keys, the mouse and its commands.
//
// Reply bodies are lent and read only through the bounds-checked readers
// of zeb/tables/packets; nothing is ever written into them.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sharecode/trace_budget.h"
#include "zeb/charts/pictures/chart_change.h"
#include "zeb/charts/pictures/tech_creator.h"
#include "zeb/store/store_records.h"
#include "zeb/tables/base/draw_obj.h"

class CChartPacket;
class CPublic;
struct SHistoryPacket;
struct SKLineTick;
struct SMinuteTracePacket;
struct SPushTickPacket;

// One corporate action as the adjustment uses it.
struct SPowerReturnInfo {
  int32_t date = 0;           // ex-date yyyymmdd
  int32_t dividend = 0;       // cash per 10 shares, thousandths
  uint32_t bonus = 0;         // bonus shares per 10, thousandths
  uint32_t rightsShares = 0;  // rights shares per 10, thousandths
  uint32_t rightsPrice = 0;   // thousandths
};

// Ex-rights modes.
constexpr int kExRightsForward = 0, kExRightsBackward = 1, kExRightsNone = 2;

// Commands of the chart.
namespace kline_cmd {
constexpr UINT kStackedVolume = 26387, kIntervalStat = 26388, kDisplayBit1 = 26389;
constexpr UINT kFirstPeriod = 26390, kDayPeriod = 26394, kLastPeriod = 26396;
constexpr UINT kForward = 26401, kBackward = 26402, kNoAdjust = 26403;
constexpr UINT kSwitchIndicator = 26404, kZoomIn = 26406, kZoomOut = 26407;
constexpr UINT kFirstLayout = 26417, kLastLayout = 26422;
constexpr UINT kIndicatorNote = 26432, kDeleteIndicator = 26433, kIndicatorParams = 26434;
constexpr UINT kEditFormula = 26435;
constexpr UINT kFirstTool = 29953, kDeleteTool = 29959;
constexpr UINT kDayTraceView = 26904;
}  // namespace kline_cmd

class CHisTechObj : public CBaseDrawObj {
 public:
  static constexpr int kDayPeriod = 61;
  static constexpr int kMaxPanes = 9;
  // The most bars history replies bring: 400 years of day lines, about
  // eight years of 5-minute bars. Scrolling back stops there (the rest of
  // a reply is refused), so a server that answers without end cannot fill
  // the memory.
  static constexpr int kMaxHeldBars = 100000;

  // The hooks the hosting view gives: the chip-distribution notices
  // (wParam 0 range, 1 cursor, 3 price rectangle), a repaint, a command for
  // the main window, and the interval statistics (bars, count; count 0
  // hides the table).
  struct SHooks {
    std::function<void(int what, const void* data)> chipUpdate;
    std::function<void()> redraw;
    std::function<void(UINT id)> mainCommand;
    std::function<void(const SStockInfo* item, const SHistoryUnit* bars, int count,
                       const RECT& rect)>
        intervalStat;
    // The floating information table (drawn by the view at
    // InfoTableRect()): the bar under the cursor and the value at the
    // cursor's height (null bar: no cursor).
    std::function<void(const SHistoryUnit* bar, const std::string& value)> cursorInfo;
    // The information list of a date that has a title (double-click on its mark).
    std::function<void(const InfoTitleMap& titles, int date)> infoList;
  };

  explicit CHisTechObj(CPublic* store = nullptr);
  ~CHisTechObj() override;

  int RecalcLayout() override;
  // Decodes the body, then OnPacket.
  int OnData(const void* body, int length) override;
  // Takes a history reply, the minute data, a push, the ex-rights or the
  // information titles; a packet without a body lets go of the series.
  int OnPacket(const CChartPacket& packet);
  BOOL HitTest(int x, int y) override;
  int Draw(CDC* dc) override;
  int Draw(CChartPainter& p);
  // Paints into a back buffer its owner keeps between paints (the view's)
  // and gives the areas drawn: all the owner has to put on screen. When
  // the buffer still holds this chart's last paint (holdsLastPaint) and
  // only the newest bar changed since, just the areas it touches are
  // redrawn; otherwise everything, over what lay under the last paint.
  // False, drawing nothing, when that is not kept: the owner then gives
  // the background and calls again with holdsLastPaint false.
  bool DrawInPlace(CDC* back, bool holdsLastPaint, std::vector<RECT>* drawn);
  // The areas DrawInPlace would redraw over the last paint now; false when
  // it would paint everything.
  bool ChangedAreas(std::vector<RECT>* areas) const;
  // The crosshair is drawn over a kept picture of the chart without it.
  // After mouse moves that moved only the cursor: the areas the crosshair
  // takes now and took at the last paint into the back buffer, with the
  // panes' titles when the cursor's bar changed; false when the next paint
  // must draw everything.
  bool CursorAreas(std::vector<RECT>* areas);
  // Puts the kept picture back over those areas and the others given
  // (what the owner draws over the chart there), then the crosshair and
  // the drawn figures over it, and gives the areas drawn; false, drawing
  // nothing, when the picture is not kept.
  bool DrawCursorInPlace(CDC* back, const std::vector<RECT>& more, std::vector<RECT>* drawn);
  int OnKey(UINT key) override;
  int OnCommand(UINT id) override;
  int UpdateCommandUI(CCmdUI* ui) override;

  // A null item keeps the current one; clears the series either way.
  void SetStock(SStockInfo* item);
  void RequestKLine();
  void RequestDayTrace(int date);
  // Recomputes what the kinds of change ask for (the newest bar alone: the
  // panes' outputs and that bar's pixels; else the range, positions and
  // every pane) and notes them for the next paint. Without kinds: the
  // series and everything shown from it.
  void Recompute(CChartChanges what = EChartChange::kSeries | EChartChange::kRange);
  // What changed since the last paint.
  CChartChanges Unpainted() const { return m_unpainted; }
  void SetDayPeriod();
  int IsDayPeriod() const { return m_nPeriod == kDayPeriod ? 1 : 0; }
  void SetPeriod(int period);
  int GetPeriod() const { return m_nPeriod; }
  void SetLastPaneTech(const char* name);
  const std::string& LastPaneTech() const { return m_strLastTech; }
  // The chip page shows the newest bar's changes as they come; hidden, it
  // is given them when it shows again.
  void SetChipPageShown(int flag);
  int ChipPageShown() const { return m_nChipShown; }
  int PacketsTaken() const { return m_nPackets; }
  void SetHooks(SHooks hooks) { m_hooks = std::move(hooks); }

  int OnLButtonDown(int x, int y);
  int OnLButtonUp(int x, int y);
  int OnMouseMove(int x, int y);
  int OnLButtonDblClk(int x, int y);
  int OnRButtonDown(CDrawOwner* owner, int x, int y);
  int OnRButtonUp(int x, int y) { return 1; }
  // The window that takes the mouse grab and the cursor shape while a
  // figure is drawn or dragged.
  void SetOwner(CDrawOwner* owner);
  const CLineToolCommands& ToolCommands() const { return m_toolCommands; }

  // Ex-rights.
  void BuildPowerReturnList();
  // The shown series: raw itself in mode 2 or without records, else the
  // adjusted copy (owned here, replaced on the next call).
  const SHistoryUnit* AdjustSeries(const SHistoryUnit* raw, int count);
  // The colour scheme changed: the next paint draws everything anew.
  void OnSchemeChanged() { Changed(EChartChange::kScheme); }
  // Takes effect at the next Recompute.
  void SetExRightsMode(int mode) {
    m_nExRightsMode = mode;
    Owe(EChartChange::kSeries);
  }

  // Panes.
  void LoadPanes();  // from "INDEX/INDEX.DEX" under the program folder
  void SavePanes() const;
  void SetPaneNames(const std::vector<std::string>& names);
  int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
  CTechCreator& Pane(int i) { return *m_panes[static_cast<size_t>(i)]; }
  void SetPaneFile(const std::string& path) { m_strPaneFile = path; }

  // State read by the view and the tests.
  const std::vector<SHistoryUnit>& Raw() const { return m_raw; }
  const SHistoryUnit* Shown() const { return m_pShown; }
  int First() const { return m_nFirst; }
  int End() const { return m_nEnd; }
  int HistoryState() const { return m_nHistoryState; }
  int BarsWanted() const { return m_nBarsWanted; }
  int ScrollMode() const { return m_nScrollMode; }
  int CursorOffset() const { return m_nCursor; }
  int CandleWidth() const { return m_nCandleWidth; }
  float BarWidth() const { return m_fBarWidth; }
  int BarsPerColumn() const { return m_nBarsPerColumn; }
  const RECT& KLineArea() const { return m_rcKLine; }
  // Where the information table stands: its place beside the K-line area
  // after each layout, wherever the user dragged it since (kept inside
  // the chart).
  const RECT& InfoTableRect() const { return m_rcInfo; }
  bool IsInfoTableDragged() const { return m_bInfoDrag; }
  const RECT& DateAxis() const { return m_rcDateAxis; }
  const std::vector<int>& XPositions() const { return m_x; }
  const std::vector<SPowerReturnInfo>& PowerList() const { return m_powerList; }
  const std::vector<SExRightsRecord>& ExRights() const { return m_exRights; }
  const InfoTitleMap& Titles() const { return m_titles; }
  int CheckedPeriodCommand() const { return m_nCheckedPeriod; }
  bool IsRequestPending() const { return m_bRequestPending; }
  int IntervalState() const { return m_nIntervalState; }
  bool IsCursorShown() const { return m_bCursorShown; }
  // The information table is drawn while a cursor shown on a bar has the
  // mouse in the chart.
  bool IsInfoTableShown() const;
  int ExRightsMode() const { return m_nExRightsMode; }
  // The pane the last click or menu chose, -1 none.
  int SelectedPane() const { return m_nSelectedPane; }
  // Takes effect at the next Recompute.
  void SetRange(int first, int end) {
    Owe(EChartChange::kRange);
    m_nFirst = first;
    m_nEnd = end;
  }

  // Candle width for a bar width truncated to whole pixels; bar width may
  // be changed (65 for very wide bars).
  static int CandleWidthFor(float* barWidth);

 private:
  // Null: a body the reader refused.
  int OnHistory(const SHistoryPacket* reply);
  int OnMinutes(const SMinuteTracePacket* body);
  // A pushed tick: the newest bar changes, or a new bar opens.
  int OnTick(const SPushTickPacket* push);
  // Finds the chart's own record in a push; false when there is none or
  // it moves no bar (stamped outside the sessions, or, on minute bars,
  // earlier than the last bar: both traced).
  bool ReadOwnTick(const SPushTickPacket* push, SKLineTick* tick);
  // Puts a tick ReadOwnTick accepted into the last bar or a new one.
  void TakeTick(const SKLineTick& tick);
  struct STickBars;
  STickBars BarsOfTick(int minuteOfDay) const;
  // Once ticks arrive, every full paint keeps its picture (and what lay
  // under it); a paint after changes of the newest bar alone redraws just
  // the last bar's column, the titles and the date axis over it.
  void Changed(CChartChanges what) { m_unpainted |= what; }
  // A change that a later Recompute takes in (noted for the paint too).
  void Owe(CChartChanges what) {
    m_owed |= what;
    Changed(what);
  }
  // The newest bar's change given to the panes that hold the series as the
  // last recompute left it; false when they do not (a full recompute then).
  bool RecomputeLastBar();
  // The chip page is given the visible bars (now, or when it shows).
  void GiveChipBars(bool always);
  bool CanPaintTickOnly(CDC* dc) const;
  bool CanRedrawChanged() const;
  void PaintTickOnly(CDC* dc);
  // A full paint; keepPicture keeps a copy of it for PaintTickOnly (a back
  // buffer that outlives the paint needs none).
  void PaintFull(CDC* dc, bool keepPicture);
  // Puts back what lay under the areas and draws the chart again there
  // only; without the crosshair and the figures for the kept bare picture.
  void RedrawAreas(CDC* dc, const std::vector<RECT>& areas, bool overlays = true);
  // The panes' titles (they show the values of the cursor's bar): inside
  // each pane's title row, clear of its frame and of the last rows of the
  // pane above, where nothing but the titles is drawn. As far right as
  // the titles reach before or now, when both are given.
  std::vector<RECT> TitleTextAreas(const std::vector<int>& now,
                                   const std::vector<int>& before) const;
  // Where each pane's titles for the cursor's bar end (laid out, not drawn).
  std::vector<int> TitleRights(CChartPainter& measure);
  // Where each pane's titles end as the panes last laid them out.
  std::vector<int> LaidOutTitleRights() const;
  // The titles drawn again there, over what lay under the chart.
  void RedrawTitles(CDC* dc);
  // The bar whose values the titles show.
  int TitleBar() const;
  // Where the crosshair and its two labels are drawn now (false: none).
  struct SCrosshair;
  bool CrosshairAt(CChartPainter& p, SCrosshair* at) const;
  // The areas of the back buffer the crosshair drawn now covers.
  std::vector<RECT> CrosshairAreas(CChartPainter& p) const;
  // No picture draws a tip at this mouse point (outside the chart, or in
  // a pane's plot area).
  bool TipFree(POINT pt) const;
  // The kept bare picture may serve a crosshair drawn over it.
  bool CanKeepBare() const;
  // What a mouse move changed of what shows: nothing without a cursor
  // shown, the cursor with one; more when a tip is or was shown.
  void NoteMove();
  void KeepImage(CDC* dc, bool under);
  std::vector<RECT> TickDirtyRects() const;
  // Lays out the titles of the newest bar's values, for TickDirtyRects.
  void MeasureTickTitles();
  void RepairBar(int k);
  void SetBarGeometry();
  void ComputeXPositions();
  void RefreshCursorInfo();
  std::string ValueAtCursor() const;
  int LargestPaneNeed() const;
  int MinFirst() const { return LargestPaneNeed(); }
  bool MayHaveOlder() const { return m_nHistoryState != 3; }
  void ZoomIn();
  void ZoomOut();
  void PageLeft();
  void PageRight();
  void CursorLeft();
  void CursorRight();
  void MoveCursorTo(int offset);
  // A cursor shown on a bar.
  bool HasCursor() const { return m_bCursorShown && m_nCursor >= 0; }
  // Puts the table's top-left corner at (left, top), inside the chart.
  void PlaceInfoTable(int left, int top);
  // The mouse pointer goes to the chart's top-left corner, which mouse
  // moves ignore: the crosshair stays where the keys put it.
  void ParkPointer();
  int TradingMinute(int minuteOfDay) const;
  // Whether a minute of the day lies in one of the trading sessions (any
  // minute of the day when the store has none).
  bool InSession(int minuteOfDay) const;
  // What the server sent and the chart refused, traced per kind at the
  // 1st, 2nd, 4th... time.
  void TraceRefused(CTraceBudget& kind, const char* what);
  void ResetPaneOutputs();
  // The first pane's K-line data (flags, ex-rights, titles, caption), given
  // again whenever its picture is made anew.
  void GiveKLineData();
  void SetPaneCount(int count);
  void DrawDateAxis(CChartPainter& p);
  void DrawCrosshair(CChartPainter& p);
  void DrawIntervalMarks(CChartPainter& p);
  // The date of a bar of the shown series (clamped into it), 0 without bars;
  // the first bar on or after a date (the newest when none is).
  int DateOfBar(int bar) const;
  int BarOfDate(int date) const;
  void Redraw();
  void ChipUpdate(int what, const void* data);
  std::vector<CLineToolSet*> ToolSets();
  // A figure is being drawn or dragged on some pane.
  bool AnyToolBusy() const;

  CPublic* m_store;
  SStockInfo* m_item = nullptr;
  int m_nPeriod = kDayPeriod;
  std::vector<SHistoryUnit> m_raw;
  std::vector<SHistoryUnit> m_adjusted;
  const SHistoryUnit* m_pShown = nullptr;
  int m_nHistoryState = 1;
  int m_nBarsWanted = 100;
  int m_nScrollMode = 0;
  std::vector<SExRightsRecord> m_exRights;
  InfoTitleMap m_titles;
  std::vector<SPowerReturnInfo> m_powerList;
  int m_nFirst = 0;
  int m_nEnd = 0;
  float m_fBarWidth = 10.0f;
  int m_nBarsPerColumn = 1;
  int m_nCandleWidth = 1;
  RECT m_rcKLine{};
  RECT m_rcDateAxis{};
  RECT m_rcInfo{};
  bool m_bInfoDrag = false;
  POINT m_ptGrab{};  // the pressed point, from the table's top-left corner
  int m_nCursor = -1;
  int m_nCursorY = 0;
  int m_nCursorDate = -1;
  bool m_bCursorShown = false;
  bool m_bMouseIn = false;
  bool m_bRequestPending = false;
  CTraceBudget m_tickOutside, m_tickEarlier, m_replyUnasked, m_barsOverCap;
  int m_nExRightsMode = kExRightsNone;
  std::vector<std::unique_ptr<CTechCreator>> m_panes;
  int m_nAccumulator = 0;
  int m_nCursorBase = 0;
  SKLineRange m_range;
  std::vector<int> m_x;
  int m_nDisplayBits = 1;
  int m_nSelectedPane = -1;
  int m_nIntervalState = 3;
  // The dates of the first and the last marked bar.
  int m_nIntervalStartDate = 0;
  int m_nIntervalEndDate = 0;
  RECT m_rcZoom{};
  bool m_bZoomActive = false;
  CLineToolCommands m_toolCommands;
  CDrawOwner* m_pOwner = nullptr;
  int m_nCheckedPeriod = kline_cmd::kDayPeriod;
  std::string m_strPaneFile;
  std::string m_strLastTech;
  std::string m_strCaption;
  int m_nChipShown = 0;
  int m_nPackets = 0;
  SHooks m_hooks;
  struct SKeptImage;
  std::unique_ptr<SKeptImage> m_kept;
  bool m_bTicksSeen = false;
  // What changed since the last paint, and what since the last recompute
  // that the next one must take in.
  CChartChanges m_unpainted = EChartChange::kSeries;
  CChartChanges m_owed;
  // The chip page has not been given the newest bar's last change.
  bool m_bChipStale = false;
  // The kept image's picture holds the last paint (not so after a paint
  // into a back buffer).
  bool m_bKeptPicture = false;
  // The kept image's under part holds what lay under the last paint.
  bool m_bUnderKept = false;
  // The kept image's bare part holds the last paint without the crosshair
  // and the drawn figures.
  bool m_bBareKept = false;
  // Draw leaves the crosshair out (the bare picture is being drawn).
  bool m_bHideCrosshair = false;
  // What the last paint into the back buffer drew of the cursor.
  std::vector<RECT> m_crosshairDrawn;
  std::vector<int> m_titleRights;  // where the bare picture's titles end
  // Where the titles end in the last paint and in the next tick's redraw
  // (empty: not known, the whole title rows are redrawn).
  std::vector<int> m_paintedTitleRights;
  std::vector<int> m_tickTitleRights;
  int m_nTitleBarDrawn = -1;
  POINT m_ptMouse{-1, -1};  // the last mouse point the panes saw
  POINT m_ptMousePainted{-1, -1};
};

// Period code of a period command (26390-26396), 0 for another id.
int PeriodOfCommand(UINT id);
// "5分钟线" .. "月线" (GBK), empty for an unknown code.
const char* PeriodName(int period);
