// Ex-rights adjustment: the list of corporate actions built from the
// received records, and the forward and backward adjustment of a copy of
// the series. Every step is kept in single precision, as charts elsewhere
// compute it, so adjusted prices match to the last digit.
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/amount_units.h"

namespace {

void ApplyStep(SHistoryUnit& bar, const SPowerReturnInfo& r, bool backward) {
  float* prices[4] = {&bar.fOpen, &bar.fHigh, &bar.fLow, &bar.fClose};
  if (r.dividend > 0) {
    const float d = float(r.dividend) / 10000.0f;
    for (float* p : prices) *p = backward ? *p + d : *p - d;
  }
  if (r.bonus > 0) {
    const float f = float(int(r.bonus / 1000) + 10) / 10.0f;
    for (float* p : prices) *p = backward ? *p * f : *p / f;
  }
  // A bar without a positive close has nothing to scale against.
  if (r.rightsShares > 0 && r.rightsPrice > 0 && bar.fClose > 0.0f) {
    const float q = bar.fClose;
    const float rightsPrice = float(r.rightsPrice) / float(kPriceUnit);
    const float x = (q * 10.0f + (float(r.rightsShares) / 1000.0f) * rightsPrice) /
                    float(int(r.rightsShares / 1000) + 10);
    const float h = x / q;
    for (float* p : prices) *p = backward ? *p / h : *p * h;
  }
}

}  // namespace

void CHisTechObj::BuildPowerReturnList() {
  m_powerList.clear();
  for (const SExRightsRecord& e : m_exRights) {
    SPowerReturnInfo r;
    r.date = e.date;
    r.dividend = e.dividend;
    if (e.rightsPrice == 0) {
      r.bonus = e.shares;
    } else {
      const int16_t shares = static_cast<int16_t>(e.shares);
      r.rightsShares = shares > 0 ? static_cast<uint32_t>(shares) : 0;
      r.rightsPrice = e.rightsPrice > 0 ? static_cast<uint32_t>(e.rightsPrice / 10) : 0;
    }
    if (r.bonus || r.rightsShares || e.dividendFlag != 0) m_powerList.push_back(r);
  }
}

const SHistoryUnit* CHisTechObj::AdjustSeries(const SHistoryUnit* raw, int count) {
  if (m_nExRightsMode == kExRightsNone || m_exRights.empty() || raw == nullptr || count <= 0) {
    m_adjusted.clear();
    return raw;
  }
  m_adjusted.assign(raw, raw + count);
  const bool backward = m_nExRightsMode == kExRightsBackward;
  for (SHistoryUnit& bar : m_adjusted) {
    const int32_t date = bar.nDate & 0x0FFFFFFF;
    for (const SPowerReturnInfo& r : m_powerList)
      if (backward ? date >= r.date : date < r.date) ApplyStep(bar, r, backward);
  }
  return m_adjusted.data();
}
