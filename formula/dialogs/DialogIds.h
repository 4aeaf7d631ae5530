// Resource and control ids of the formula library's dialogs, and the text
// limits of their edits. Tests find controls by these ids.
#pragma once

namespace formula {

// ---- Formula editor (dialog 11075) -------------------------------------------
inline constexpr int IDD_FORMULA_EDITOR = 11075;
inline constexpr int IDC_FORMULA_TREE = 11001;
inline constexpr int IDC_KIND_LIST = 11076;
inline constexpr int IDC_GROUP_LIST = 11077;
inline constexpr int IDC_FORMULA_NAME = 11002;
inline constexpr int IDC_CHINESE_NAME = 11003;
inline constexpr int IDC_ENCRYPT = 11005;
inline constexpr int IDC_ENCRYPT_TEXT = 11010;
inline constexpr int IDC_DRAW_AREA = 11000;
inline constexpr int IDC_GRID_LINES = 11006;
inline constexpr int IDC_SCRIPT = 11004;
inline constexpr int IDC_MESSAGES = 11074;
inline constexpr int IDC_STATUS = 11046;
inline constexpr int IDC_NEW_FORMULA = 4;  // also the tree menu's "新建公式"
inline constexpr int IDC_TEST = 1;         // IDOK
inline constexpr int IDC_SUBMIT = 3;
inline constexpr int IDC_IMPORT_FUNCTION = 5;
inline constexpr int IDC_NOTE = 2025;
inline constexpr int IDC_PARAMS_DESC = 2026;
// Parameter grid: row r (0-6), column c (name, minimum, maximum, default, step).
inline constexpr int kGridIds[7][5] = {
    {11011, 11012, 11013, 11014, 11039}, {11015, 11016, 11017, 11018, 11040},
    {11019, 11020, 11021, 11022, 11041}, {11023, 11024, 11025, 11026, 11045},
    {11027, 11028, 11029, 11030, 11042}, {11031, 11032, 11033, 11034, 11043},
    {11035, 11036, 11037, 11038, 11044}};

// Tree menu (menu 131, first pop-up).
inline constexpr unsigned IDR_TREE_MENU = 131;
inline constexpr unsigned ID_NEW_GROUP = 32774;
inline constexpr unsigned ID_DELETE_GROUP = 32775;
inline constexpr unsigned ID_DELETE_FORMULA = 32772;

// Edit limits (bytes of GBK text, as the fields of the records hold them).
inline constexpr int kFormulaNameMax = 19;
inline constexpr int kChineseNameMax = 30;
inline constexpr int kGridLinesMax = 99;
inline constexpr int kEncryptTextMax = 19;
inline constexpr int kGroupNameMax = 99;
// The formula text counts GBK bytes, as the parameter descriptions and
// every plain edit do: one limit, in the bytes the text is kept in.
inline constexpr int kScriptMaxBytes = 4096;
inline constexpr int kParamsDescMax = 1000;
// The stored, quoted descriptions: at most 1024 bytes and the end.
inline constexpr int kParamsDescQuotedSize = 1025;

// ---- Group name (dialog 11047) -------------------------------------------------
inline constexpr int IDD_GROUP = 11047;
inline constexpr int IDC_GROUP_NAME = 11003;

// ---- Function picker (dialog 11007) -----------------------------------------------
inline constexpr int IDD_FUNCTIONS = 11007;
inline constexpr int IDC_FUNCTION_TREE = 11001;
inline constexpr int IDC_FUNCTION_DESC = 11008;

// ---- Parameter description (dialog 133) ----------------------------------------------
inline constexpr int IDD_PARAMS_DESC = 133;
inline constexpr int IDC_PARAMS_DESC_TEXT = 2028;

// ---- Indicator note (dialog 11048) -------------------------------------------------
inline constexpr int IDD_TECH_NOTE = 11048;
inline constexpr int IDC_NOTE_TEXT = 1133;

// ---- Indicator parameters (dialogs 132 and 11049) ---------------------------------------
inline constexpr int IDD_SINGLE_TECH_SET = 132;
inline constexpr int IDD_TECH_SET = 11049;
inline constexpr int IDC_PARAM_VALUE0 = 11050;  // + row
inline constexpr int IDC_PARAM_SPIN0 = 11064;   // + row
inline constexpr int kParamLabelPool[14] = {11057, 11058, 11059, 11060, 11061, 11062, 11063,
                                            11078, 11079, 11072, 11073, 11074, 11075, 11076};
inline constexpr int IDC_NO_PARAMS = 2022;
inline constexpr int IDC_LINE_COUNT = 2030;
inline constexpr int IDC_LINE_COUNT_LABEL = 2031;
inline constexpr int IDC_INDICATOR_LIST = 11009;

}  // namespace formula
