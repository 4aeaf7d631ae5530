// Pictures of the shell's own windows in the running program, taken by
// the screenshot run once the main frame is up: the keyboard-input box
// listing the results of typed initials (and opening the first one), the
// menu bar's pop-ups, and
// the formula library's editor and parameter dialogs opened through its
// entry points (the trading window's pictures: trade_pictures.h). Each step
// also reports what it saw, for the end-to-end test.
#pragma once
#include <functional>
#include <string>
#include <vector>

class CMainFrame;
class QWidget;

// Keeps a picture under the name: of the widget, or of the screen when the
// widget is null.
using KeepPicture = std::function<void(const std::string& name, QWidget* widget)>;

struct SShellPictures {
  bool tradeWindowShown = false;  // the trading window visible over the trade pane
  bool tradeQuoteShown = false;   // the typed item's name and last price reached its order entry
  std::vector<std::string> inputLines;  // what the input box listed (GBK)
  int formulaDialogs = 0;               // formula dialogs opened and pictured
  int tradeOrdersPlaced = 0;            // orders the order entry took (of two)
  int tradePanels = 0;                  // trading-window functions opened and pictured
  std::vector<std::string>
      tradePanelsWithout;  // functions whose list stayed empty or page unloaded (UTF-8)
};

// The item typed into the order entry, and the initials typed into the input box.
constexpr const char* kPictureItemCode = "602001";
constexpr char kPictureInitials[] = "JB";

void PictureInputBox(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                     SShellPictures* seen);
void PictureFormulaDialogs(const KeepPicture& keep, SShellPictures* seen);
// Each pop-up of the menu bar, opened as a click opens it (its items'
// states asked of the frame then): "11-menu-NN.png".
void PictureMenus(CMainFrame& frame, const KeepPicture& keep);
