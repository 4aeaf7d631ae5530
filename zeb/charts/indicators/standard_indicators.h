// The standard indicators the chart's panes and menus name, kept as a text
// of formulas of our own (standard_indicators.txt) and turned into records
// of the formula store: the build writes them into the program folder's
// store, and tests put them into a store of their own.
#pragma once
#include <deque>
#include <string>

#include "formula/functions/formula_types.h"

// Reads the UTF-8 text of the list; false with a reason for a malformed
// block (no code, an unknown key, a text too long for its field).
bool ParseIndicatorList(const std::string& utf8, std::deque<SFormulaRecord>* out,
                        std::string* error);

// The list as the bytes of an indicator store file ("ZBFormu.dat").
bool BuildIndicatorStore(const std::string& utf8, std::string* dat, std::string* error);
