// Command ids of the main program's menus, toolbars and keys, grouped by
// their high byte (0x51 home page, 0x52 user, 0x60 navigation, 0x62 market
// and block lists, 0x67 chart pages, 0x68 chart periods and display, 0x69
// tools, 0x70 help, 0x74 formulas, 0x75 drawing tools, 0x78 analysis).
#pragma once
#include "platform/types.h"

namespace cmd {
constexpr UINT kMarketHome = 0x5100;
constexpr UINT kUserInfo = 0x5200;
constexpr UINT kUpdateNow = 0x6001;
constexpr UINT kConnect = 0x6003;
constexpr UINT kDisconnect = 0x6004;
constexpr UINT kBackPage = 0x6006;
constexpr UINT kForward = 0x6007;
constexpr UINT kToolbar = 0x6009;
constexpr UINT kStatusBar = 0x6010;
constexpr UINT kBack = 0x6011;
constexpr UINT kMarketList = 0x6200;  // + index; + block id for block lists
constexpr UINT kFavourites = 0x62E0;
constexpr UINT kTimeShare = 0x6701;
constexpr UINT kDeals = 0x6702;
constexpr UINT kPriceTable = 0x6703;
constexpr UINT kKLine = 0x6706;
constexpr UINT kFirstPeriod = 0x6716;  // 5-minute lines .. monthly lines: 0x6716-0x671C
constexpr UINT kItemInfo = 0x6802;
constexpr UINT kFullScreen = 0x6901;
constexpr UINT kPageTurn = 0x6902;
constexpr UINT kHidePanel = 0x6903;
constexpr UINT kDrawTools = 0x6904;
constexpr UINT kAlarmSettings = 0x6905;
constexpr UINT kSystemSettings = 0x6907;
constexpr UINT kAddFavourite = 0x6912;
constexpr UINT kPageUp = 0x6914;
constexpr UINT kPageDown = 0x6915;
constexpr UINT kRemoveFavourite = 0x6916;
constexpr UINT kSwitchChart = 0x6919;
constexpr UINT kHelp = 0x7001;
constexpr UINT kHotKeys = 0x7002;
constexpr UINT kFeedback = 0x7003;
constexpr UINT kFormulaManager = 0x7410;
constexpr UINT kFirstDrawTool = 0x7501;  // 0x7501-0x7507
constexpr UINT kRealTime = 0x7802;
constexpr UINT kTechnical = 0x7803;
constexpr UINT kDealDetails = 0x7804;
constexpr UINT kPriceDistribution = 0x7805;
constexpr UINT kProductInfo = 0x7810;
constexpr UINT kAppAbout = 0xE140;
constexpr UINT kAppExit = 0xE141;

// The range the main frame takes as its commands.
constexpr UINT kFirstFrameCommand = 0x5000;
constexpr UINT kLastFrameCommand = 0x7999;
}  // namespace cmd

// Resource ids of the menus and toolbars.
constexpr UINT IDR_MAINFRAME = 120;   // menu bar, main toolbar, tray icon
constexpr UINT IDR_POPUPS = 130;      // the views' pop-up menus
constexpr UINT IDR_DISABLED = 201;    // the main toolbar's disabled images
constexpr UINT IDR_DRAWTOOLS = 206;   // the drawing-tools toolbar
constexpr UINT IDR_FULLSCREEN = 208;  // the full-screen floating toolbar
