// Formatting one quote figure. Numbers are printed with std::to_chars,
// which gives printf's "%.2f" digits without its locale and format
// parsing: a refresh formats tens of thousands of figures.
#include "zeb/tables/report/report_format.h"

#include <charconv>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/report/report_columns.h"

namespace {

// Scheme colour ids.
constexpr int kColorVolume = 1;
constexpr int kColorRise = 2;
constexpr int kColorLevel = 3;
constexpr int kColorFall = 4;
constexpr int kColorOther = 33;

// "%.2f" of v followed by suffix; "-" for a value too large to print.
void AssignFixed2(std::string* out, double v, const char* suffix = "") {
  char buffer[64];
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
  if (r.ec != std::errc()) {
    out->assign("-");
    return;
  }
  out->assign(buffer, r.ptr);
  out->append(suffix);
}

double Price(uint32_t thousandths) { return thousandths / kPriceUnit; }

}  // namespace

void AssignReportInt(std::string* out, long long v) {
  char buffer[24];
  const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v);
  out->assign(buffer, r.ptr);
}

std::string FormatReportVolume(uint32_t volume) {
  std::string text;
  if (volume >= 100000000u) AssignFixed2(&text, volume / 1e8, GBK("亿"));
  else if (volume < 10000u) AssignReportInt(&text, volume);
  else AssignFixed2(&text, volume / 1e4, GBK("万"));
  return text;
}

void FormatReportCell(const SReportFormatContext& context, int columnId, const SQuoteUnit& q,
                      const SStockInfo& item, float previous, SReportCell* cell) {
  const CSysStyle* style = context.style;
  const uint32_t preClose = item.preClose;
  const float reference = static_cast<float>(Price(preClose));
  auto upDown = [&](double v) { return style->GetUpDownColor(static_cast<float>(v), reference); };
  auto priceCell = [&](uint32_t price, bool shown) {
    cell->value = static_cast<float>(Price(price));
    if (shown) AssignFixed2(&cell->text, Price(price));
    cell->textColor = upDown(Price(price));
  };
  auto highlight = [&] {
    if (previous > 0 && previous != cell->value) cell->background = kReportChangedBackground;
  };

  cell->value = 0;
  cell->textColor = CLR_INVALID;
  cell->background = CLR_INVALID;
  cell->text.assign("-");
  const SCodeInfo key = item.GetKey();

  switch (columnId) {
    case kColOpen: priceCell(q.open, q.open != 0); break;
    case kColLast:
      priceCell(q.last, q.last != 0);
      highlight();
      break;
    case kColChange:
      if (q.last != 0) {
        const double change = (static_cast<double>(q.last) - preClose) / kPriceUnit;
        cell->value = static_cast<float>(change);
        AssignFixed2(&cell->text, change);
      }
      cell->textColor = upDown(Price(q.last));
      break;
    case kColChangeRate:
      // Without a previous close there is no change rate to show.
      if (q.last != 0 && preClose != 0) {
        const double rate = (static_cast<double>(q.last) - preClose) * 100.0 / preClose;
        cell->value = static_cast<float>(rate);
        AssignFixed2(&cell->text, rate, "%");
      }
      cell->textColor = upDown(Price(q.last));
      break;
    case kColHigh:
      priceCell(q.high, q.high != 0);
      highlight();
      break;
    case kColLow:
      priceCell(q.low, q.low != 0);
      if (q.low != 0 && q.high < q.low) cell->text.assign("-");
      highlight();
      break;
    case kColPreClose:
      cell->value = reference;
      AssignFixed2(&cell->text, Price(preClose));
      cell->textColor = style->GetColor(kColorLevel);
      break;
    case kColAverage:
      if (q.volume != 0) {
        const double average = CurrencyOfRecordAmount(static_cast<double>(q.amount)) / q.volume;
        cell->value = static_cast<float>(average);
        AssignFixed2(&cell->text, average);
        cell->textColor = upDown(average);
      } else {
        cell->text.assign("0.00");
        cell->textColor = style->GetColor(kColorLevel);
      }
      break;
    case kColCurVolume:
      cell->value = static_cast<float>(q.curVolume);
      AssignReportInt(&cell->text, q.curVolume);
      cell->textColor = style->GetColor(q.last == q.bidPrice   ? kColorFall
                                        : q.last == q.askPrice ? kColorRise
                                                               : kColorLevel);
      break;
    case kColBidPrice:
    case kColAskPrice: {
      const uint32_t price = columnId == kColBidPrice ? q.bidPrice : q.askPrice;
      if (CPublic::IsIndexMarket(&key)) cell->textColor = style->GetColor(kColorLevel);
      else priceCell(price, true);
      break;
    }
    case kColBidVolume:
    case kColAskVolume: {
      const uint32_t volume = columnId == kColBidVolume ? q.bidVolume : q.askVolume;
      cell->value = static_cast<float>(volume);
      AssignReportInt(&cell->text, volume);
      cell->textColor = style->GetColor(kColorVolume);
      break;
    }
    case kColVolume:
      cell->value = static_cast<float>(q.volume);
      cell->text = FormatReportVolume(q.volume);
      cell->textColor = style->GetColor(kColorVolume);
      break;
    case kColInventory: cell->textColor = style->GetColor(kColorVolume); break;
    case kColAmount: {
      const float amount = static_cast<float>(CurrencyOfRecordAmount(q.amount));
      cell->value = amount;
      cell->text = CPublic::FormatAmount(amount);
      cell->textColor = style->GetColor(kColorOther);
      break;
    }
    case kColVolumeRatio: {
      const float ratio = context.store->CalcVolumeRatio(item.market, context.minuteIndex, q.volume,
                                                         item.refVolume);
      cell->value = ratio;
      if (ratio > 0) AssignFixed2(&cell->text, ratio);
      cell->textColor = kReportVolumeRatioColor;
      break;
    }
    case kColOrderRatio:
      if (q.orderRatio != 0) {
        const double ratio = q.orderRatio / 100.0;
        cell->value = static_cast<float>(ratio);
        AssignFixed2(&cell->text, ratio, "%");
      }
      cell->textColor = style->GetUpDownColor(static_cast<float>(q.orderRatio), 0.0f);
      break;
    case kColTurnover: {
      const uint32_t base = static_cast<uint32_t>(item.circulating);
      const double turnover = base != 0 ? static_cast<double>(q.volume) / base * 100.0 : 0.0;
      cell->value = static_cast<float>(turnover);
      AssignFixed2(&cell->text, turnover, "%");
      cell->textColor = style->GetColor(kColorRise);
      break;
    }
    default: break;
  }
}
