// The quote list's tab sets and the records behind the tabs.
#include "zeb/views/report/rep_type_ctl_pic.h"

#include <cstring>
#include <span>
#include <string>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "settings/config_file.h"
#include "zeb/store/public_store.h"

namespace {

struct STabDef {
  const char* name;  // UTF-8 here, GBK on the tab
  uint16_t market;
};

// QuoteType "0".
constexpr STabDef kRightsTabs[] = {{"股权", 4116},     {"物权", 4117},   {"债券", 4114},
                                   {"知识产权", 4115}, {"收益权", 4119}, {"所有产品", 4096}};
// Any other QuoteType, or none.
constexpr STabDef kCollectiblesTabs[] = {{"全部藏品", 0x3000}, {"指数", 4116},   {"钱币", 4117},
                                         {"邮票", 4114},       {"电话卡", 4115}, {"邮资封片", 4119},
                                         {"自选藏品", 0x21FF}};

}  // namespace

SRepTabRecord MakeRepTabRecord(const char* name, uint16_t market) {
  SRepTabRecord record{};
  platform::GbkCopyCut(record.name, sizeof record.name, name ? name : "");
  record.market = market;
  return record;
}

CRepTypeCtlPic::~CRepTypeCtlPic() = default;

int CRepTypeCtlPic::InitTabs() {
  RemoveAll();
  ClearSel();
  m_records.clear();
  CPublic* store = m_store ? m_store : CPublic::GetInstance();
  CConfigFile file((store->GetAppDir() + "zeb.ini").c_str(), 0);
  if (!file.IsLoaded()) {
    AfxMessageBox(GBK("读取通信配置文件出错!"), MB_OK);
    return 0;
  }
  std::string type;
  file.GetString("QUOTE", "QuoteType", type);
  const bool rights = type == "0";
  for (const STabDef& tab :
       rights ? std::span<const STabDef>(kRightsTabs) : std::span<const STabDef>(kCollectiblesTabs))
    AddRecordTab(MakeRepTabRecord(GBK(tab.name), tab.market), 0);
  return 1;
}

void CRepTypeCtlPic::AddRecordTab(const SRepTabRecord& record, int state) {
  if (AddTab(record.name, state)) m_records.push_back(record);
}

const SRepTabRecord* CRepTypeCtlPic::GetRecord(int index) const {
  return IsValidIndex(index) && size_t(index) < m_records.size() ? &m_records[size_t(index)]
                                                                 : nullptr;
}

SRepTabRecord CRepTypeCtlPic::GetCurTab() const {
  const SRepTabRecord* record = GetRecord(m_nCurrent);
  return record ? *record : SRepTabRecord{};
}

void CRepTypeCtlPic::SelectTabOf(const SRepTabRecord& record) {
  for (size_t i = 0; i < m_records.size(); ++i) {
    if (m_records[i].market == record.market) {
      SetCurSel(int(i));
      return;
    }
  }
  ClearSel();
}
