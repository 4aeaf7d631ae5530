// CTechAnalysisBasePic: the base of every technical-analysis picture (the
// candles, the formula pictures, volume, the overlaid close). It binds a
// picture to an indicator name, keeps the computed output lines, finds the
// value range of the visible bars, turns values into rows, and paints the
// grid, the lines in their drawing styles and the title line with every
// line's value at the cursor.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "formula/face/FormulaAccess.h"
#include "zeb/charts/pictures/base_pic.h"
#include "zeb/tables/packets/kline_packets.h"

// Drawing styles of output lines.
enum EOutputStyle : int {
  kStyleLine = 0,
  kStyleSticks = 1,
  kStyleHidden = 2,
  kStyleCandles = 3,
  kStyleColorSticks = 4,
  kStyleBars = 5,
};

using InfoTitleMap = std::map<uint32_t, std::string>;

class CTechAnalysisBasePic : public CBasePic {
 public:
  CTechAnalysisBasePic();

  int SetData(const SKLineRange* range) override;
  const RECT* SetRect(int left, int top, int right, int bottom) override;
  int OnMouse(int x, int y) override;
  int Paint(CChartPainter& p) override;
  using CBasePic::Paint;

  virtual void Zoom(bool widen) {}
  virtual int OnLButtonUp(int x, int y) { return 0; }
  virtual void SetExRightsData(const SExRightsRecord* records, int count) {}
  virtual void SetFlags(int flags) { m_nFlags = flags; }
  virtual void SetInfoMarks(const InfoTitleMap* marks) {}
  virtual void SetCaption(const std::string& caption, int unused) {}
  virtual int GetMaxParam() const;
  // Picks the output line passing within 10 pixels of the press at the
  // cursor bar (it is drawn with point marks); 0 when none does.
  virtual int OnLButtonDown(int x, int y);
  virtual int HitTestLine(int x, int y);
  virtual int HitTestTitle(int x, int y);
  // Recomputes the pixel arrays: the output rows and, for a picture that
  // draws candles or price bars, the visible bars' candles.
  virtual void RecalcPixels();
  // The newest bar's values changed and nothing else did (a pushed tick):
  // the outputs are computed again and, while the value range and every
  // output of the earlier bars stay as they were, only the newest bar's
  // rows and candle. False when the picture changed beyond the newest
  // bar's column: it is then prepared whole, as SetData prepares it.
  virtual bool TakeLastBar();
  // Its first steps: the outputs and the value range computed again;
  // false when an output of an earlier bar moved.
  bool ComputeLastBar();
  // Its last step: the newest bar's rows and candle, the rest kept.
  virtual void RecalcLastPixels();
  // The prepared price bar of visible bar i (relative index).
  virtual void DrawBar(CChartPainter& p, int i);
  // The prepared candle of bar index (absolute index).
  virtual void DrawCandle(CChartPainter& p, int index);
  virtual void DrawTip(CChartPainter& p, int x, int y, const std::string& text);
  virtual void DrawColorSticks(CChartPainter& p, int width, const int* rows, int n, COLORREF up,
                               COLORREF down);
  virtual void Compute() {}
  virtual void CalcRange();
  virtual void DrawTitle(CChartPainter& p);
  // Every title the picture shows in its title row (an overlay's too).
  virtual void DrawTitles(CChartPainter& p) { DrawTitle(p); }
  // Where the texts the last DrawTitles laid out end on the right.
  virtual int TitlesRight() const { return m_nTitleRight; }

  void SetOutputInfo(const std::string& names, int paramCount, int outputCount);
  void SetOutputNames(const std::string& names) { m_strOutputNames = names; }
  void SetFormulaName(const std::string& name);
  void BuildTitle();
  std::string GetOutputName(int k) const;
  void GetRange(float* maximum, float* minimum) const;
  void SetRange(float maximum, float minimum);
  void SetTitleIndent(int indent) { m_nTitleIndent = indent; }
  const RECT* GetParamRect() const { return &m_rcParam; }
  // kind 0 title band, 1 grid rectangle, 2 plot rectangle (rows recomputed), 3 picture.
  void SetRectByKind(int left, int top, int right, int bottom, int kind);
  void Reset();
  int AllocParams(int paramCount, int outputCount);

  // A visible bar in pixels. As a candle: its body (outlined when the
  // close is above the open, filled when below, a line at the open when
  // level) and its wicks from the high down to the body and from the body to
  // the low. As a price bar: the high-low line at mid with the open ticked
  // to the left and the close to the right.
  struct SCandle {
    enum Body { kOutlined, kFilled, kLevel };
    Body body;
    RECT box;  // a level body spans left .. right at top (= bottom)
    int mid;   // x of the wicks
    int highY, lowY;
    int openY, closeY;
    bool falling;  // closed below its open: the fall colour, else the rise colour
  };
  const std::vector<SCandle>& Candles() const { return m_candles; }

  const std::string& GetFormulaNameText() const { return m_strFormulaName; }
  const std::string& GetTitle() const { return m_strTitle; }
  int GetFlags() const { return m_nFlags; }
  int GetSelectedLine() const { return m_nSelectedLine; }
  int GetStyle(int i) const { return m_styles[static_cast<size_t>(i)]; }
  int GetFirstVisible() const { return m_nFirst; }

 protected:
  // What every SetData ends with: the range's bars and the decimals of the
  // values shown taken, then the outputs, scale and pixels made anew; 1.
  int TakeRange(const SKLineRange& range, const SHistoryUnit* bars);
  // The formula's fixed grid levels ("20,80"), empty when it has none.
  std::string GridText();
  bool NameIs(const char* name) const;  // case-insensitive
  static CFont* TitleFont();
  // The candles of the visible bars from the bars, x positions and scale.
  void PrepareCandles();
  // The candle of a visible bar (absolute index).
  SCandle CandleOf(int index) const;
  // The row of an output value, as RecalcPixels places it (WR's values
  // run upside down).
  int RowOf(float value, bool upsideDown) const;
  bool UpsideDown() const { return NameIs("WR"); }
  // Whether outputs computed anew differ from those before them anywhere
  // but at the newest bar (a formula that looks ahead, a new divisor).
  bool EarlierOutputsMoved(const std::vector<std::vector<float>>& before) const;
  // Candles or price bars for every visible bar.
  void DrawCandles(CChartPainter& p);
  void DrawPriceBars(CChartPainter& p);
  bool DrawsBars() const;

  RECT m_rcName{};
  RECT m_rcParam{};
  RECT m_rcTitle{};
  RECT m_rcGrid{};
  int m_nTitleIndent = 0;
  int m_nFlags = 0;
  const SHistoryUnit* m_pBars = nullptr;
  int m_nFirst = 0;
  int m_nSelectedLine = -1;
  int m_nLabelMode = 0;
  std::string m_strFormulaName;
  std::string m_strTitle;
  std::string m_strOutputNames;
  std::string m_strGrid;  // the grid levels as the last range found them
  POINT m_ptMouse{-1, -1};
  std::vector<SCandle> m_candles;
  // The last Compute changed outputs of bars before the newest.
  bool m_bEarlierMoved = false;
  int m_nTitleRight = 0;  // the right end of the title texts last laid out
};
