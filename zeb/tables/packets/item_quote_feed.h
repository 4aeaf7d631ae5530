// The quote records the panel's tables follow for their one item: the
// time-share reply brings the item's record (and its day's ticks), a push
// brings new records of every shown item. One reader for the three tables:
// both bodies are read within their length, a late time-share reply for the
// item shown before is dropped, and a pushed record counts only when it is
// the item's and its volume moved since the last record taken.
#pragma once
#include <cstdint>

#include "zeb/store/store_records.h"
#include "zeb/tables/packets/chart_packets.h"

class CItemQuoteFeed {
 public:
  // Forget the last volume (a new item).
  void Reset() { m_nLastVolume = 0; }

  enum class Taken { kNothing, kTrace, kPush };

  // Reads one body. The item's time-share reply goes to onTrace, each new
  // pushed record of the item to onRecord. Says which reply was read:
  // nothing for another packet, a refused body or another item's reply.
  template <class OnTrace, class OnRecord>
  Taken Take(const void* body, int length, const SCodeInfo& item, OnTrace&& onTrace, OnRecord&& onRecord) {
    SPacketHead head;
    if (!body || length < 0 || !ReadPacketHead(body, static_cast<size_t>(length), &head)) return Taken::kNothing;
    const size_t size = static_cast<size_t>(length);
    if (PacketGroup(head.type) == PKT_MINUTE_TRACE) {
      if (!ReadMinuteTrace(body, size, &m_trace) || !(m_trace.quote.code == item)) return Taken::kNothing;
      m_nLastVolume = m_trace.quote.volume;
      onTrace(m_trace);
      return Taken::kTrace;
    }
    if (PacketGroup(head.type) != PKT_PUSH_TICK || !ReadPushTicks(body, size, &m_push)) return Taken::kNothing;
    for (const STickRecord& r : m_push.records) {
      if (!(r.code == item) || r.volume == m_nLastVolume) continue;
      onRecord(r);
      m_nLastVolume = r.volume;
    }
    return Taken::kPush;
  }

  // The last push read (whatever its items).
  const SPushTickPacket& LastPush() const { return m_push; }

 private:
  uint32_t m_nLastVolume = 0;
  SMinuteTracePacket m_trace;  // reused between packets
  SPushTickPacket m_push;
};
