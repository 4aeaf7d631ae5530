// The units prices and amounts travel in. Prices travel as integers in
// thousandths of the currency unit: a record's price / kPriceUnit is the
// price in currency units. Amounts, each field in its own: the quote and tick
// records (and so the store's quotes) in thousandths of the currency unit,
// the K-line bars (history records, the time-share reply's minute records
// and the formula library's SHistoryUnit, whose AMOUNT is the field / 100)
// in hundredths. Every field is converted from its unit here, once.
#pragma once
#include <cstdint>

// Record prices per currency unit (prices travel in thousandths).
constexpr double kPriceUnit = 1000.0;

// A quote or tick record's amount (thousandths) in currency units.
constexpr double CurrencyOfRecordAmount(double thousandths) { return thousandths / 1000; }
// A bar's amount (hundredths) in currency units.
constexpr double CurrencyOfBarAmount(double hundredths) { return hundredths / 100; }
// A quote or tick record's amount as a bar's (thousandths to hundredths).
constexpr uint32_t BarAmountOfRecordAmount(uint32_t thousandths) { return thousandths / 10; }
