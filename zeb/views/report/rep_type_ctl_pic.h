// CRepTypeCtlPic: the quote list's market tab bar. Each tab carries a
// record of its name and the list it shows (a market, all markets, the
// favourites, a block kind); the tab set comes from "zeb.ini" [QUOTE]
// QuoteType: "0" the six rights markets, anything else (or none) the seven
// collectibles tabs.
#pragma once
#include <cstdint>
#include <vector>

#include "zeb/controls/type_ctl_pic.h"

class CPublic;

#pragma pack(push, 1)
// One tab's list: NUL-terminated GBK name and the list id.
struct SRepTabRecord {
  char name[24];
  uint16_t market;
};
#pragma pack(pop)
static_assert(sizeof(SRepTabRecord) == 26);

// A record with the name cut to 23 bytes on a character boundary.
SRepTabRecord MakeRepTabRecord(const char* name, uint16_t market);

class CRepTypeCtlPic : public CTypeCtlPic {
 public:
  // The store whose program folder holds "zeb.ini"; null: the program's.
  explicit CRepTypeCtlPic(CPublic* store = nullptr) : m_store(store) {}
  ~CRepTypeCtlPic() override;

  // Builds the tab set of "zeb.ini"; 0 (no tabs, a message box) when the
  // file cannot be read.
  int InitTabs() override;
  // The current tab's record; all zero when no tab is current.
  SRepTabRecord GetCurTab() const;
  // The record of a tab; null for an invalid index.
  const SRepTabRecord* GetRecord(int index) const;
  // Makes current the first tab of the record's market; none: no tab is current.
  void SelectTabOf(const SRepTabRecord& record);
  // Appends a tab for the record.
  void AddRecordTab(const SRepTabRecord& record, int state);

 private:
  CPublic* m_store;
  std::vector<SRepTabRecord> m_records;
};
