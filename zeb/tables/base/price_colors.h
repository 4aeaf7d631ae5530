// The scheme colours every quote table paints its figures in (rise, fall,
// level, volume and label), and the one rule they share: a price is coloured
// against a reference (the item's previous close). Prices are thousandths;
// PriceText prints one in the given format ("%.2f") after dividing by the
// price unit.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

struct SCodeInfo;

struct SPriceColors {
  COLORREF up = 0;      // scheme colour 2
  COLORREF down = 0;    // 4
  COLORREF level = 0;   // 3
  COLORREF volume = 0;  // 1
  COLORREF label = 0;   // 40

  // Reads the five colours from the current scheme.
  void Load();
  // up when reference < value, down when above, level when equal.
  COLORREF Of(int64_t value, int64_t reference) const {
    return reference < value ? up : (reference > value ? down : level);
  }
  // By the sign of a difference.
  COLORREF OfSign(int64_t difference) const { return Of(difference, 0); }
};

// "%%.%df" with the decimals: "%.2f" for 2.
std::string PriceFormat(int decimals);
// The unit the prices of an item come in and the format they show with,
// from its market: what every table that follows an item sets first.
void ItemPriceUnitAndFormat(const SCodeInfo& key, int* unit, std::string* format);
// price / unit printed with the format.
std::string PriceText(int64_t price, int unit, const std::string& format);
// printf into a string.
std::string TextPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
