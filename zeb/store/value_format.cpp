// Number and code texts shared by every table and chart. The unit texts
// are GBK bytes.
#include <algorithm>
#include <cstdio>

#include "platform/gbk.h"
#include "zeb/store/public_store.h"

namespace {

std::string Printf(const char* format, double v) {
  char buf[128];
  int n = std::snprintf(buf, sizeof buf, format, v);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, static_cast<size_t>(n));
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, v);
  big.resize(static_cast<size_t>(n));
  return big;
}

}  // namespace

std::string CPublic::FormatCode(int code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06d", code);
  return buf;
}

std::string CPublic::FormatAmount(float v) {
  if (v >= 1e8f) return Printf(GBK("%.2f亿"), v / 1e8);
  if (v >= 1e4f) return Printf(GBK("%.2f万"), v / 1e4);
  return Printf("%.2f", v);
}

std::string CPublic::FormatValue(float v, int decimals) {
  if (v > 1e8f) return Printf(GBK("%.2f亿"), v / 1e8);
  if (v > 1e6f) return Printf(GBK("%.0f万"), v / 1e4);
  // A decimals count outside 0..9 would build a broken format.
  char format[16];
  std::snprintf(format, sizeof format, "%%.%df", std::clamp(decimals, 0, 9));
  return Printf(format, v);
}

uint16_t CPublic::GetIndicatorDecimals(const std::string& name) { return name == "VOL" ? 0 : 2; }

int CPublic::IsValidRect(const RECT& rect) {
  return rect.right > rect.left && rect.bottom > rect.top ? 1 : 0;
}
