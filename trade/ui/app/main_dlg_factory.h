// Where the trading library gets its trading main dialog: InitDialog asks
// this seam for a dialog in the host pane, and the trading window provides
// it (CreateTradeMainDialog). The library's exports only hold the dialog
// through this interface, so they are complete without the window code.
#pragma once
#include <functional>
#include <memory>

#include "platform/types.h"

class ITradeMainDialog {
 public:
  virtual ~ITradeMainDialog() = default;
  // The dialog's window handle (replies are announced to it).
  virtual HWND GetSafeHwnd() const = 0;
  // Moves the dialog to the rectangle (repainting), shows and activates it.
  virtual void MoveTo(const RECT& rect) = 0;
  virtual void Hide() = 0;
  // Destroys the window; the caller deletes the object afterwards.
  virtual void Destroy() = 0;
};

// Creates the trading main dialog (template 6000) as a child of the host
// pane; nullptr when it cannot be made. Provided by the trading window.
std::unique_ptr<ITradeMainDialog> CreateTradeMainDialog(HWND hostPane);

// The creator InitDialog uses: the installed one, else CreateTradeMainDialog.
using TradeMainDialogFactory = std::function<std::unique_ptr<ITradeMainDialog>(HWND hostPane)>;
void SetTradeMainDialogFactory(TradeMainDialogFactory factory);  // empty restores the default
std::unique_ptr<ITradeMainDialog> MakeTradeMainDialog(HWND hostPane);
