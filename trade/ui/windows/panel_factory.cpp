#include "trade/ui/windows/panel_factory.h"

#include "trade/ui/rules/function_table.h"
#include "trade/ui/windows/change_pswd_form.h"
#include "trade/ui/windows/trust_business.h"
#include "trade/ui/windows/wtqr_dlg.h"

std::unique_ptr<CTradePanel> CreateTradePanel(int functionIndex, const STradeWindowEnv& env) {
  const STradeFunction* f = GetTradeFunction(functionIndex);
  if (!f) return nullptr;
  switch (f->panel) {
    case ETradePanel::kOrderEntry:
      return std::make_unique<CWtqrDlg>(env, f->index, f->argument);
    case ETradePanel::kCustody:
      return std::make_unique<CTrustBusiness>(env, f->index, f->argument);
    case ETradePanel::kPassword:
      return std::make_unique<CChangePswdForm>(env, f->index);
    // Query, funds, transfer, journal, signing, money flow and subscription
    // panels: one case each, when they exist.
    default:
      return MakeEmptyTradePanel(env, f->index);
  }
}
