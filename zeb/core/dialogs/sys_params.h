// The two market-data parameters of the settings dialog, without its
// window: the big-order threshold "主力大单" (hands) and the page-turn
// interval "自动翻页间隔" (seconds). The edits' texts are checked first and
// saved only when the threshold is within 400 to 100000: each value is
// handed to the command router's cache as a number and written to
// "sysset.ini" as typed, section = its name, key "VALUE".
#pragma once
#include <string>

constexpr int kBigOrderLowest = 400;
constexpr int kBigOrderHighest = 100000;

struct SSysParamTexts {
  std::string bigOrder;  // GBK, as typed
  std::string pageTurn;
};

// The edits' first texts: "%d" of the router's cached values.
SSysParamTexts CurrentSysParamTexts();

// A decimal integer as the dialog reads an edit: leading blanks and a sign
// allowed, reading stops at the first other character; no number is 0.
int ReadParamNumber(const std::string& text);

// Whether the threshold text is within the range.
bool IsBigOrderAccepted(const std::string& text);

// Writes both texts into "sysset.ini" of the folder in one save, then
// caches both values in the router (which asks a shown big-order list again
// with the threshold). The threshold must have been accepted. False when
// the file was not written: a box names it, the file and the cache stay as
// they were.
bool SaveSysParams(const SSysParamTexts& texts, const std::string& programDir);
