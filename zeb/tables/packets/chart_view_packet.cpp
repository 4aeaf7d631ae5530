// The chart view's packet: its head read once, its group's records read
// on first demand (chart_view_packet.h).
#include "zeb/tables/packets/chart_view_packet.h"

CChartPacket::CChartPacket(const void* body, int length)
    : m_body(body), m_length(length < 0 ? 0 : static_cast<size_t>(length)) {
  m_bHead = length >= 0 && ReadPacketHead(body, m_length, &m_head);
}

template <class Records, class Read>
const Records* CChartPacket::Once(bool ofGroup, Records& records, Read read) const {
  if (!m_bHead || !ofGroup) return nullptr;
  if (!m_bDecoded) {
    m_bDecoded = true;
    m_bRead = read(records);
  }
  return m_bRead ? &records : nullptr;
}

const SDealListPacket* CChartPacket::Deals() const {
  return Once(Group() == PKT_PRICE_DISTRIB, m_deals,
              [&](SDealListPacket& r) { return ReadDealList(m_head, m_body, m_length, &r); });
}

const SMinuteTracePacket* CChartPacket::Minutes() const {
  return Once(IsMinuteDataGroup(Group()), m_minutes, [&](SMinuteTracePacket& r) {
    return ReadMinuteLayout(m_head, m_body, m_length, &r);
  });
}

const SDayTrace* CChartPacket::DayTrace() const {
  return Once(Group() == PKT_DAY_TRACE, m_dayTrace,
              [&](SDayTrace& r) { return ReadDayTrace(m_head, m_body, m_length, &r); });
}

const SPushTickPacket* CChartPacket::Push() const {
  return Once(Group() == PKT_PUSH_TICK, m_push,
              [&](SPushTickPacket& r) { return ReadPushTicks(m_head, m_body, m_length, &r); });
}

const SHistoryPacket* CChartPacket::History() const {
  return Once(IsKLineHistoryGroup(Group()), m_history,
              [&](SHistoryPacket& r) { return ReadKLineHistory(m_head, m_body, m_length, &r); });
}

const std::vector<SExRightsRecord>* CChartPacket::ExRights() const {
  return Once(Group() == PKT_EXRIGHTS, m_exRights,
              [&](std::vector<SExRightsRecord>& r) { return ReadExRights(m_body, m_length, &r); });
}

const std::map<uint32_t, std::string>* CChartPacket::Titles() const {
  return Once(Group() == PKT_INFO_TITLES, m_titles, [&](std::map<uint32_t, std::string>& r) {
    return ReadInfoTitles(m_body, m_length, &r);
  });
}

const SBigOrderPacket* CChartPacket::BigOrders() const {
  const uint16_t group = Group();
  return Once(group == PKT_BIG_ORDER || group == PKT_BIG_ORDER_ADD, m_bigOrders,
              [&](SBigOrderPacket& r) { return ReadBigOrders(m_head, m_body, m_length, &r); });
}

const std::string* CChartPacket::InfoText() const {
  return Once(Group() == PKT_INFO_LIST, m_infoText,
              [&](std::string& r) { return ReadInfoText(m_head, m_body, m_length, &r); });
}
