// The shared price colours and price texts of the quote tables.
#include "zeb/tables/base/price_colors.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"

void SPriceColors::Load() {
  const CSysStyle* style = CSysStyle::GetInstance();
  up = style->GetColor(2);
  down = style->GetColor(4);
  level = style->GetColor(3);
  volume = style->GetColor(1);
  label = style->GetColor(40);
}

void ItemPriceUnitAndFormat(const SCodeInfo& key, int* unit, std::string* format) {
  *unit = CPublic::GetPriceUnit(&key);
  *format = PriceFormat(CPublic::GetPriceDecimals(&key));
}

std::string PriceFormat(int decimals) { return TextPrintf("%%.%df", std::clamp(decimals, 0, 9)); }

std::string PriceText(int64_t price, int unit, const std::string& format) {
  // The format is one of ours ("%.Nf"), never one from outside.
  return TextPrintf(format.c_str(), static_cast<double>(price) / (unit ? unit : 1));
}

std::string TextPrintf(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return std::string();
  return std::string(buffer, static_cast<size_t>(std::min<int>(n, sizeof buffer - 1)));
}
