// The quote records a table follows for its one item: the time-share reply
// brings the item's record (and its day's ticks), a push brings new records
// of every shown item. The one push filter of the chart view's tables (the
// panel's board, ticks and valuation row, the deal details and the
// price-volume distribution): a late time-share reply for the item shown
// before is dropped, and a pushed record counts only when it is the item's
// and its total volume moved since the last record taken. The records come
// read already (chart_view_packet.h); the feed keeps only the last volume.
#pragma once
#include <cstdint>
#include <type_traits>

#include "zeb/store/store_records.h"
#include "zeb/tables/packets/chart_view_packet.h"

class CItemQuoteFeed {
 public:
  // Forget the last volume (a new item).
  void Reset() { m_nLastVolume = 0; }

  enum class Taken { kNothing, kTrace, kPush };

  // The item's time-share reply goes to onTrace, each new pushed record of
  // the item to onRecord (see TakePush). Says which reply was taken:
  // nothing for another packet, a refused body or another item's reply.
  template <class OnTrace, class OnRecord>
  Taken Take(const CChartPacket& packet, const SCodeInfo& item, OnTrace&& onTrace,
             OnRecord&& onRecord) {
    if (packet.Group() == PKT_MINUTE_TRACE) {
      const SMinuteTracePacket* trace = packet.Minutes();
      if (!trace || !(trace->quote.code == item)) return Taken::kNothing;
      m_nLastVolume = trace->quote.volume;
      onTrace(*trace);
      return Taken::kTrace;
    }
    const SPushTickPacket* push = packet.Push();
    if (!push) return Taken::kNothing;
    TakePush(*push, item, onRecord);
    return Taken::kPush;
  }

  // Each new record of the item in the push, oldest first, goes to
  // onRecord. An onRecord that answers false did not take the record: the
  // last volume stays, so a later record of the same volume still counts.
  template <class OnRecord>
  void TakePush(const SPushTickPacket& push, const SCodeInfo& item, OnRecord&& onRecord) {
    for (const STickRecord& r : push.records) {
      if (!(r.code == item) || r.volume == m_nLastVolume) continue;
      if constexpr (std::is_same_v<std::invoke_result_t<OnRecord&, const STickRecord&>, bool>) {
        if (!onRecord(r)) continue;
      } else {
        onRecord(r);
      }
      m_nLastVolume = r.volume;
    }
  }

 private:
  uint32_t m_nLastVolume = 0;
};
