#include "trade/ui/windows/panel_factory.h"

#include "trade/ui/rules/function_table.h"
#include "trade/ui/windows/change_pswd_form.h"
#include "trade/ui/windows/money_flow_dlg.h"
#include "trade/ui/windows/order_transfer_form.h"
#include "trade/ui/windows/query_capital_bar.h"
#include "trade/ui/windows/query_trade_bars.h"
#include "trade/ui/windows/query_transfer.h"
#include "trade/ui/windows/sign_dlg.h"
#include "trade/ui/windows/trade_bar.h"
#include "trade/ui/windows/trust_business.h"
#include "trade/ui/windows/wtqr_dlg.h"

std::unique_ptr<CTradePanel> CreateTradePanel(int functionIndex, const STradeWindowEnv& env) {
  const STradeFunction* f = GetTradeFunction(functionIndex);
  if (!f) return nullptr;
  switch (f->panel) {
    case ETradePanel::kOrderEntry: return std::make_unique<CWtqrDlg>(env, f->index, f->argument);
    case ETradePanel::kOrders: return std::make_unique<CQueryTradeBar>(env, f->index, f->argument);
    case ETradePanel::kIssues: return std::make_unique<CTradeBar>(env, f->index);
    case ETradePanel::kFunds: return std::make_unique<CQueryCapitalBar>(env, f->index);
    case ETradePanel::kAllotments: return std::make_unique<CQueryPhTradeBar>(env, f->index);
    case ETradePanel::kDeals:
      return std::make_unique<CQueryDealTradeBar>(env, f->index, f->argument);
    case ETradePanel::kTransfer: return std::make_unique<COrderTransferForm>(env, f->index);
    case ETradePanel::kTransferQuery: return std::make_unique<CQueryTransfer>(env, f->index);
    case ETradePanel::kSigning: return std::make_unique<CSignAndUnsignDlg>(env, f->index);
    case ETradePanel::kMoneyFlow:
      return std::make_unique<CDlgQueryMoneyFlow>(env, f->index, f->argument);
    case ETradePanel::kCustody: return std::make_unique<CTrustBusiness>(env, f->index, f->argument);
    case ETradePanel::kPassword: return std::make_unique<CChangePswdForm>(env, f->index);
  }
  return nullptr;
}
