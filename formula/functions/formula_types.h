// Value types shared by the whole formula library: the invalid bar value,
// the value record of the language, the K-line unit handed in by the charts
// and the stored formula with its group and parameter set.
//
// These are ordinary in-memory structures. The store files have their own
// fixed byte layouts (formula/store/store_records.h); nothing on disk
// depends on how these structures are laid out in memory.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

// A bar without a value: a float whose 32-bit pattern is 0xFFFFFF7F (a NaN).
// Only this exact pattern means "no value"; other NaNs do not.
inline constexpr uint32_t INVALID_VALUE_BITS = 0xFFFFFF7Fu;
inline constexpr float INVALID_VALUE = std::bit_cast<float>(INVALID_VALUE_BITS);

inline bool IsInvalidValue(float v) { return std::bit_cast<uint32_t>(v) == INVALID_VALUE_BITS; }

// Value type characters of the language.
inline constexpr char REG_NUMBER = '0';  // "浮点数": fValue
inline constexpr char REG_TEXT = '1';    // "字符串": pText
inline constexpr char REG_SERIES = '2';  // "浮点数组": pSeries, one float per bar

// One value of the language: a number, a text or a series.
struct SRegPar {
  char cType = REG_NUMBER;
  float fValue = 0.0f;
  float* pSeries = nullptr;
  char* pText = nullptr;
};

// One K-line period as the charts hand it in, oldest first.
struct SHistoryUnit {
  int32_t nDate;  // yyyymmdd or mmddhhmm; not read by the library
  float fOpen;
  float fHigh;
  float fLow;
  float fClose;
  uint32_t nVolume;
  uint32_t nAmount;  // the AMOUNT series is this divided by 100
};
static_assert(sizeof(SHistoryUnit) == 28, "SHistoryUnit is 28 bytes");

// Formula kinds and their file stems.
inline constexpr int FORMULA_KIND_COUNT = 5;
enum EFormulaKind : int16_t {
  FORMULA_INDICATOR = 0,  // "ZBFormu"
  FORMULA_CONDITION = 1,  // "TJFormu"
  FORMULA_SYSTEM = 2,     // "JYFormu"
  FORMULA_FIVEK = 3,      // "KLFormu"
  FORMULA_FUNCTION = 4,   // "FCFormu"
};

// Parameters of a formula per chart period: 8 parameters x 12 periods.
inline constexpr int PARAM_SET_PARAMS = 8;
inline constexpr int PARAM_SET_PERIODS = 12;

struct SParamSet {
  int16_t nKind = 0;
  char szCode[100] = {};
  float fValues[PARAM_SET_PARAMS][PARAM_SET_PERIODS];  // INVALID_VALUE where unset
  uint8_t reserved[556] = {};

  SParamSet() {
    for (auto& row : fValues)
      for (float& v : row) v = INVALID_VALUE;
  }
};

// A group of formulas; formulas name their group by the hash of this name.
struct SFormulaGroup {
  char szName[400] = {};
};

// One stored formula.
struct SFormulaRecord {
  int16_t nKind = 0;
  char szCode[100] = {};       // name used in formulas and by the interface
  char szName[51] = {};        // Chinese name
  int32_t nGroupHash = 0;      // hash of the group's name, 0-210
  uint8_t reserved[56] = {};   // kept as stored
  char szGridLines[100] = {};  // fixed Y-axis lines, "0.0,50,100"
  char szParams[500] = {};     // parameter definitions before the body
  int32_t nFormulaLen = 0;     // stored length of strFormula (+1), 0 when empty
  int32_t nNoteLen = 0;        // stored length of strNote (+1), 0 when empty
  // The file record ends with the note length (bytes 817-820), so its last
  // byte is the length's top byte, 0 for every text that fits in a file.
  std::string strFormula;          // the formula body
  std::string strNote;             // the note text
  SParamSet* pParamSet = nullptr;  // linked parameter set of the store, or null
};
