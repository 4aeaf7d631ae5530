// CPublic: the process-wide market-data store. Holds the trading periods,
// the markets and their items from the market table, the favourites and
// alarm lists, the quote list's codes and sort, the login mode and the
// settings of "zeb.ini"; owns the one road by which any part of the program
// sends a quote request; and keeps the small price, time and text helpers
// all displays share. Used on the user-interface thread only.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"
#include "zeb/store/code_index.h"
#include "zeb/store/store_records.h"

class CPublic {
 public:
  // The store is a singleton in the program; tests may make their own.
  CPublic();
  ~CPublic();
  CPublic(const CPublic&) = delete;
  CPublic& operator=(const CPublic&) = delete;

  static CPublic* GetInstance();
  // Writes the settings back (SaveConfig) and deletes the store.
  static void ReleaseInstance();

  // ---- Markets and items ----
  // Loads a market-table body (packet 0x1000) of len bytes. 0 when the whole
  // table was read; -1 when a count reached past the body: what was read
  // before that point is kept, the rest is ignored.
  int ParseMarketTable(const void* body, int len);
  int GetStockCount(uint16_t market) const;
  void GetStocks(uint16_t market, SStockInfo* out, int* count) const;
  // First item over all markets in order with the key's code; the market is
  // not compared.
  SStockInfo* FindStock(const SCodeInfo* key);
  const SStockInfo* FindStock(const SCodeInfo* key) const;
  SStockInfo* GetIndexStock(uint16_t market);
  static bool IsIndexMarket(const SCodeInfo* key);
  SCodeInfo GetCodeKey(uint32_t code) const;
  uint16_t GetMarketOfCommand(int index) const;
  int GetTradeDate() const { return m_nTradeDate; }
  const std::vector<CMarketInfo>& GetMarkets() const { return m_arMarkets; }
  const std::vector<SPhase>& GetPhases() const { return m_arPhases; }
  // Resolves menu commands beyond the fixed markets to a block list's kind.
  void SetBlockKindResolver(std::function<uint16_t(int)> resolver) {
    m_blockKindResolver = std::move(resolver);
  }

  // ---- Quote list state ----
  void SetReportSort(int column, int descending);
  void GetReportSort(int* column, int* descending) const;
  void SetReportCodes(std::vector<SCodeInfo> codes);
  const std::vector<SCodeInfo>& GetReportCodes() const { return m_arReportCodes; }
  std::vector<SCodeInfo> GetTradeCodes() const;
  void SetOpenedFromList(int opened) { m_nOpenedFromList = opened; }

  // ---- Favourites and alarms ----
  bool IsSelectedStock(SCodeInfo key) const;
  // Tables add and remove favourites on this list directly.
  std::vector<SCodeInfo>& GetSelectedStocks() { return m_arSelectedStocks; }
  const std::vector<SPreAlrmUnit>& GetAlarmList() const { return m_arAlarms; }
  bool IsAlarmListLoaded() const { return m_bAlarmListLoaded; }
  bool LoadSelectedStocks(const char* path);
  int SaveSelectedStocks(const char* path);
  bool LoadAlarmFile(const char* path);
  // "<application data>/ZEB/SelectedStock.DEX".
  static std::string GetSelectedStocksPath();

  // ---- Login mode: 1 quotes only, 2 quotes and trading ----
  void SetLoginMode(int mode) { m_nLoginMode = mode; }
  int GetLoginMode() const { return m_nLoginMode; }

  // ---- Requests ----
  void SetMainWnd(HWND wnd) { m_hMainWnd = wnd; }
  HWND GetMainWnd() const { return m_hMainWnd; }
  // Sends the len bytes behind a 32-bit length as WM_QUOTE_REQUEST (wParam
  // kind) to the main window and returns 1 once it was handled; 0 for a
  // negative length or missing data.
  int SendRequest(const void* data, int len, int kind);
  static int GetRequestTag() { return 1; }

  // ---- Code remapping of the chart view ----
  int RemapCode(SCodeInfo& key);
  int RestoreRemappedCode(SCodeInfo& key);

  // ---- Prices, amounts and text ----
  static int GetPriceUnit(const SCodeInfo* item = nullptr) { return 1000; }
  static int GetPriceDecimals(const SCodeInfo* item = nullptr) { return 2; }
  static int GetLotSize(const SCodeInfo* item = nullptr) { return 1; }
  static std::string FormatCode(int code);
  static std::string FormatAmount(float v);
  static std::string FormatValue(float v, int decimals);
  static uint16_t GetIndicatorDecimals(const std::string& name);
  float CalcVolumeRatio(uint16_t market, uint32_t minuteIndex, uint32_t volume,
                        uint32_t refVolume) const;
  static int IsValidRect(const RECT& rect);

  // ---- Dates (YYYYMMDD) ----
  static bool IsSameWeek(uint32_t date1, uint32_t date2);
  static bool IsSameMonth(uint32_t date1, uint32_t date2);

  // ---- Trading time; the market is not looked at ----
  uint16_t GetTradeMinutes(uint16_t market = 0) const;
  uint16_t TimeToMinuteIndex(uint16_t market, uint16_t minutes) const;
  uint16_t ElapsedToMinuteIndex(uint16_t market, uint16_t elapsed) const;
  uint16_t OffsetToTime(uint16_t offset) const;
  uint16_t MinuteIndexToTime(uint16_t market, uint16_t index, int inclusive) const;

  // ---- Settings of "zeb.ini" ----
  void LoadConfig();
  void SaveConfig();
  void GetUpdateServer(std::string& server, short* port, std::string& tag, int* timeout) const;
  bool IsBalanceNeeded() const { return m_bNeedBalance; }
  bool IsToolbarShown() const { return m_bShowToolbar; }
  void SetToolbarShown(bool shown) { m_bShowToolbar = shown; }
  std::string GetSystemTitle() const { return m_strSystemTitle; }
  std::string GetProductInfoUrl() const { return m_strProductInfoUrl; }
  int GetQuoteUpdateInterval() const { return m_nQuoteUpdateInterval; }
  // What the quote list and the chart view refresh with: never faster than 3 s.
  int GetQuoteRefreshPeriod() const {
    return m_nQuoteUpdateInterval > 3000 ? m_nQuoteUpdateInterval : 3000;
  }

  // The program directory, ending in a separator.
  std::string GetAppDir() const { return m_strAppDir; }

 private:
  bool ParsePhases(const uint8_t* body, size_t len);
  void StoreMarketBlock(const uint8_t* records, uint16_t count);
  void RebuildIndex();
  std::string ConfigPath() const;

  std::vector<CMarketInfo> m_arMarkets;
  std::vector<SPhase> m_arPhases;
  std::string m_strAppDir;
  std::vector<SCodeInfo> m_arReportCodes;
  int m_nOpenedFromList = 0;
  int m_nTradeDate = 0;
  SCodeInfo m_remembered;
  int m_nReportSortColumn = 1;
  int m_nReportSortDescending = 0;
  int m_nLoginMode = 2;
  std::vector<SCodeInfo> m_arSelectedStocks;
  std::vector<SPreAlrmUnit> m_arAlarms;

  std::string m_strUpdateServer;
  int m_nUpdatePort = 80;
  std::string m_strUpdateTag;
  int m_nUpdateTimeout = 20000;
  std::string m_strSystemTitle;
  bool m_bNeedBalance = false;
  bool m_bShowToolbar = false;
  std::string m_strProductInfoUrl;

  bool m_bAlarmListLoaded = false;
  int m_nQuoteUpdateInterval = 3000;

  HWND m_hMainWnd = nullptr;
  std::function<uint16_t(int)> m_blockKindResolver;

  // code -> first record over the markets in order (FindStock), and
  // code -> the last non-index market holding it (GetCodeKey).
  CCodeIndex<SStockInfo*> m_firstByCode;
  CCodeIndex<uint16_t> m_lastTradeMarketByCode;
};
