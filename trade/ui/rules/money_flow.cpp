#include "trade/ui/rules/money_flow.h"

#include "platform/gbk.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/panel_values.h"

const char* MoneyFlowTypeText(const std::string& type) {
  static const char* const kDigits[9] = {"入金",     "出金",           "盈亏",
                                         "递延费",   "佣金",           "调整信用金",
                                         "强平冲正", "无负债结算盈亏", "冲正处理"};
  static const char* const kLetters[20] = {
      "手续费点差", "佣金结转", "盈亏结转", "无负债结算盈亏结转",   "递延费结转",     "红冲",
      "蓝补",       "交割款",   "交割费",   "出金手续费",           "出金手续费结转", "交割款结转",
      "交割费结转", "调账入金", "调账出金", "交易所手续费划转银行", "收取利息",       "支付利息",
      "买入清算",   "卖出清算"};
  const char c = type.empty() ? '\0' : type[0];
  if (c >= '1' && c <= '9') return platform::GbkLiteral(kDigits[c - '1']);
  if (c >= 'A' && c <= 'T') return platform::GbkLiteral(kLetters[c - 'A']);
  return GBK("类型异常");
}

CMoneyFlowModel::CMoneyFlowModel(int mode, CTradeSession& session, const ITradeClock& clock)
    : dates(SDateRange::DayBefore(clock.WallSeconds())),
      mode_(mode == 1 ? 1 : 0),
      session_(session) {
  table_.columns = {{"执行日期", 200}, {"发生金额", 100}, {"余额", 100},
                    {"操作类型", 100}, {"关联单号", 100}, {"", 0}};
}

void CMoneyFlowModel::OnInit() {
  if (mode_ == 0) session_.QueryTodayMoneyFlow();
}

void CMoneyFlowModel::OnQuery() {
  if (mode_ == 1) session_.QueryMoneyFlowHistory(FormatDate(dates.start), FormatDate(dates.end));
}

bool CMoneyFlowModel::OnPanelMessage(WPARAM message) {
  if (message != WM_TRADE_FLOW_TODAY && message != WM_TRADE_FLOW_HISTORY) return false;
  table_.rows.clear();
  const auto records = mode_ == 0 ? session_.GetMoneyFlowToday(&table_.cut)
                                  : session_.GetMoneyFlowHistory(&table_.cut);
  for (const SMoneyFlowInfo& r : records)
    table_.rows.push_back({r.field8057, r.field8058, r.field8059,
                           MoneyFlowTypeText(r.operationType), r.relatedOrderNo, ""});
  return true;
}
