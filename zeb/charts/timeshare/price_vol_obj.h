// CPriceVolObj: the intraday (time-share) chart of one item. A title line,
// the price picture over the volume picture, an optional extra pane below
// them that the host draws, a time axis and a floating information box.
// It asks for the day's minute data, takes minute packets, a past day's
// trace and pushed ticks, keeps one value per trading minute, and answers
// the crosshair, keys, mouse and its pop-up menu.
//
// Every received body is read through the time-share packet reader; the
// lent body is never written. Ticks outside the day's minutes are dropped.
//
// What changed since the last paint is kept by kind, as the K-line chart
// keeps it: a pushed tick that leaves both scales as they were changes only
// the newest points, and a paint then needs only their columns (and a
// title that shows the last price); anything else asks for the whole chart.
#pragma once
#include <climits>
#include <cstdint>
#include <vector>

#include "zeb/charts/pictures/chart_change.h"
#include "zeb/charts/timeshare/price_pic.h"
#include "zeb/charts/timeshare/vol_pic.h"
#include "zeb/store/store_records.h"
#include "zeb/tables/base/draw_obj.h"

class CPublic;
class CChartPacket;
struct SMinuteTracePacket;
struct SDayTrace;
struct SPushTickPacket;

// Layout bits: each set bit removes a part or picks a title form.
namespace timeshare_style {
constexpr int kNoTitle = 1;
constexpr int kNoRightAxis = 2;
constexpr int kNoTimeAxis = 4;
constexpr int kQuoteTitleShort = 8;
constexpr int kQuoteTitle = 0x10;
constexpr int kLargeTitle = 0x20;
constexpr int kNoLeftAxis = 0x40;
constexpr int kDateTitle = 0x80;
}  // namespace timeshare_style

// What the floating information box shows for the point under the cursor.
struct STimeShareCursor {
  int time = 0;          // minutes of the day
  bool hasData = false;  // false: only the time is shown
  float price = 0;       // currency units
  float average = 0;
  uint32_t volume = 0;
  uint32_t preClose = 0;  // thousandths
};

// The floating box the chart places over itself; the chart view's cursor
// information table implements it.
class CTimeShareInfoBox {
 public:
  virtual ~CTimeShareInfoBox() = default;
  virtual void SetStock(const SStockInfo& item) = 0;
  virtual void SetRect(const RECT& rect) = 0;
  virtual void Update(const STimeShareCursor& cursor) = 0;
  virtual void Paint(CChartPainter& painter) = 0;
};

class CPriceVolObj : public CBaseDrawObj {
 public:
  static constexpr UINT kLongShortCommand = 26642;  // "多空指标"
  static constexpr UINT kVolumeCommand = 26644;     // "成交量": no extra pane
  static constexpr int kMenu = 130;
  static constexpr int kMenuTimeShare = 0;

  explicit CPriceVolObj(CPublic* store = nullptr);
  ~CPriceVolObj() override;

  int RecalcLayout() override;
  // Decodes the body, then OnPacket.
  int OnData(const void* body, int length) override;
  // Takes the minute data, a past day's trace or a push; 1 when the chart
  // changed, 0 when the packet is not its own.
  int OnPacket(const CChartPacket& packet);
  BOOL HitTest(int x, int y) override;
  int Draw(CDC* dc) override;
  // The time axis, the title line, the two pictures and, while the
  // crosshair is on with the mouse in the chart, the floating information
  // box over them.
  void Paint(CChartPainter& painter);
  // What changed since the last Draw or DrawAreas.
  CChartChanges Unpainted() const { return m_unpainted; }
  // The areas that show something else than the last paint did when only
  // the newest points changed: the columns of the points that changed,
  // down both pictures, and the title when it shows the last price. False
  // when the chart must be drawn whole.
  bool ChangedAreas(std::vector<RECT>* areas) const;
  // Draws what meets the areas again over the last paint; the caller has
  // clipped the device context to them and filled them first.
  void DrawAreas(CDC* dc, const std::vector<RECT>& areas);
  int OnKey(UINT key) override;
  int OnCommand(UINT id) override;

  void SetStock(SStockInfo* item);
  void SetStyle(int flags);
  int GetStyle() const { return m_nStyle; }
  // Kinds 0-4 of the extra pane; above 4 becomes 0. Lays out again.
  int SetSubPicType(int kind);
  int GetSubPicType() const { return m_nSubPic; }
  // Sends the 18-byte minute-data request of the item; nothing without one.
  void RequestMinuteTrace();
  // Adds the code to the process-wide trace list and sends the whole list.
  void AddTraceCode(SCodeInfo code);
  static const std::vector<SCodeInfo>& TraceCodes();
  static void ClearTraceCodes();

  int OnLButtonDown(int x, int y);
  int OnLButtonUp(int x, int y);
  int OnMouseMove(int x, int y);
  int OnLButtonDblClk(int x, int y) { return 1; }
  int OnRButtonDown(CDrawOwner* owner, int x, int y);

  // The window the chart repaints after a command (the view's owner).
  void SetOwner(CDrawOwner* owner) { m_pOwner = owner; }
  void SetInfoBox(CTimeShareInfoBox* box);

  const SStockInfo* Stock() const { return m_pItem; }
  // Bodies handed to OnData so far, taken or not.
  int PacketsTaken() const { return m_nPackets; }
  int GetPointCount() const { return m_nPoints; }
  int GetDataCount() const { return m_nDataCount; }
  const std::vector<int32_t>& Prices() const { return m_arPrice; }
  const std::vector<int32_t>& Averages() const { return m_arAverage; }
  const std::vector<int32_t>& Volumes() const { return m_arVolume; }
  int GetCursorIndex() const { return m_nCursor; }
  bool IsCrosshairOn() const { return m_bCrosshair; }
  uint32_t GetPreClose() const { return m_nPreClose; }
  int GetTradeDate() const { return m_nTradeDate; }
  const STimeShareCursor& CursorInfo() const { return m_cursorInfo; }
  const RECT& PriceRect() const { return m_rcPrice; }
  const RECT& VolumeRect() const { return m_rcVolume; }
  const RECT& ExtraRect() const { return m_rcExtra; }
  const RECT& AxisRect() const { return m_rcAxis; }
  const RECT& InfoRect() const { return m_rcInfo; }
  const RECT& TitleRect() const { return m_rcTitle; }
  const CPricePic& PricePic() const { return m_pricePic; }
  const CVolPic& VolPic() const { return m_volPic; }
  // The bounds the pictures were last given (after the flat-day widening).
  int32_t GivenUpper() const { return m_nGivenUpper; }
  int32_t GivenLower() const { return m_nGivenLower; }

 private:
  int TakeMinuteData(const SMinuteTracePacket& data);
  int TakeDayTrace(const SDayTrace& trace);
  int TakeTicks(const SPushTickPacket& ticks);
  // The first point it filled; INT_MAX when none.
  int FillGaps();
  void GiveData(int32_t upper, int32_t lower);
  bool ShowsAverage() const;
  bool InfoBoxShown() const { return m_bCrosshair && m_bMouseInChart && m_pInfoBox; }
  // Whether the title shows figures of the newest point.
  bool TitleShowsLast() const;
  void Changed(CChartChanges what) { m_unpainted |= what; }
  void Painted();
  void RefreshInfo();
  int Track(int x, int y);
  int MoveCursor(int index);
  void MoveInfoBox(int dx, int dy);
  void DrawTimeAxis(CChartPainter& painter);
  void DrawTitle(CChartPainter& painter);
  void SendTraceList();

  CPublic* m_pStore;
  RECT m_rcPrice{}, m_rcVolume{}, m_rcExtra{}, m_rcAxis{}, m_rcInfo{}, m_rcTitle{};
  bool m_bCursorChanged = false;
  bool m_bDragging = false;
  POINT m_ptDrag{};
  std::vector<int32_t> m_arPrice, m_arAverage, m_arSpare, m_arVolume;
  int m_nPoints = 0;
  int m_nDataCount = 0;
  int m_nSubPic = 0;
  int m_nStyle = 0;
  int m_nCursor = 0;
  uint32_t m_nLastVolume = 0;
  uint32_t m_nLastPrice = 0;
  CPricePic m_pricePic;
  CVolPic m_volPic;
  CTimeShareInfoBox* m_pInfoBox = nullptr;
  STimeShareCursor m_cursorInfo;
  SStockInfo* m_pItem = nullptr;
  uint32_t m_nPreClose = 0;
  int m_nTradeDate = 0;
  RECT m_rcChart{};
  bool m_bCrosshair = false;
  bool m_bMouseInChart = false;
  CDrawOwner* m_pOwner = nullptr;
  int32_t m_nGivenUpper = 0, m_nGivenLower = 0;
  int m_nPackets = 0;
  // A chart not painted yet owes a whole paint.
  CChartChanges m_unpainted = EChartChange::kSeries;
  int m_nFirstUnpainted = INT_MAX;  // the first point changed since (kLastBar)
};
