#include "trade/ui/app/main_dlg_factory.h"

namespace {
TradeMainDialogFactory& Installed() {
  static TradeMainDialogFactory factory;
  return factory;
}
}  // namespace

void SetTradeMainDialogFactory(TradeMainDialogFactory factory) { Installed() = std::move(factory); }

std::unique_ptr<ITradeMainDialog> MakeTradeMainDialog(HWND hostPane) {
  return Installed() ? Installed()(hostPane) : CreateTradeMainDialog(hostPane);
}
