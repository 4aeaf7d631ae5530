// CChartPacket: the one decode of a body the chart view is given. The view
// reads the head once and hands the packet to its analysis object and its
// panel, which hand it on to their charts and tables by packet group. Each
// receiver asks for the records of the packet's group; the group's one
// reader reads them the first time anyone asks, and every later receiver
// gets the same records. So each byte layout of a body is read at most
// once, and not at all when no receiver takes the packet.
//
// The body stays lent: the packet lives for the call it was decoded for,
// never writes to the body, and receivers copy what they keep.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "zeb/tables/packets/chart_packets.h"
#include "zeb/tables/packets/info_packets.h"
#include "zeb/tables/packets/kline_packets.h"
#include "zeb/tables/packets/timeshare_packets.h"

class CChartPacket {
 public:
  // Reads the head of the lent body; a null body, a negative length or a
  // body shorter than the head has none.
  CChartPacket(const void* body, int length);
  CChartPacket(const CChartPacket&) = delete;
  CChartPacket& operator=(const CChartPacket&) = delete;

  // The lent body (null when none was given).
  const void* Body() const { return m_body; }
  size_t Length() const { return m_length; }
  bool HasHead() const { return m_bHead; }
  const SPacketHead& Head() const { return m_head; }
  // type & 0xFF00: what the body holds (its low byte is a variant); 0
  // without a head.
  uint16_t Group() const { return m_bHead ? PacketGroup(m_head.type) : 0; }

  // The records of the packet's group, read on the first call: null for a
  // packet of another group or a body the group's reader refuses.
  const SDealListPacket* Deals() const;  // PKT_PRICE_DISTRIB
  // PKT_MINUTE_TRACE and the types of its layout (PKT_MINUTE_TRACE_A,
  // PKT_MINUTE_TRACE_D, PKT_TRACE_LIST); the points only with pointsRead.
  const SMinuteTracePacket* Minutes() const;
  const SDayTrace* DayTrace() const;    // PKT_DAY_TRACE
  const SPushTickPacket* Push() const;  // PKT_PUSH_TICK
  // PKT_HIS_KLINE, PKT_HIS_KLINE_MORE, PKT_HIS_KLINE_EXT.
  const SHistoryPacket* History() const;
  const std::vector<SExRightsRecord>* ExRights() const;   // PKT_EXRIGHTS
  const std::map<uint32_t, std::string>* Titles() const;  // PKT_INFO_TITLES
  const SBigOrderPacket* BigOrders() const;               // PKT_BIG_ORDER, PKT_BIG_ORDER_ADD
  const std::string* InfoText() const;                    // PKT_INFO_LIST

 private:
  // The group's records, read by read(records) on the first call.
  template <class Records, class Read>
  const Records* Once(bool ofGroup, Records& records, Read read) const;

  const void* m_body = nullptr;
  size_t m_length = 0;
  bool m_bHead = false;
  SPacketHead m_head;
  // A packet has one group: one flag says its reader ran, one what it
  // said; only the group's records are ever filled.
  mutable bool m_bDecoded = false;
  mutable bool m_bRead = false;
  mutable SDealListPacket m_deals;
  mutable SMinuteTracePacket m_minutes;
  mutable SDayTrace m_dayTrace;
  mutable SPushTickPacket m_push;
  mutable SHistoryPacket m_history;
  mutable std::vector<SExRightsRecord> m_exRights;
  mutable std::map<uint32_t, std::string> m_titles;
  mutable SBigOrderPacket m_bigOrders;
  mutable std::string m_infoText;
};
