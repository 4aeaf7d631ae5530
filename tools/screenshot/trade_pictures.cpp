// Pictures of the trading window (trade_pictures.h).
#include "tools/screenshot/trade_pictures.h"

#include <QDate>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/window.h"
#include "zeb/shell/frame/main_frame.h"

namespace {

// The trading window's function tree; the order entry's code, name,
// price, available funds, quantity and buy button; a query panel's range
// start and button.
constexpr int kFunctionTree = 7011;
constexpr int kCode = 6061, kName = 7033, kPrice = 1036, kFunds = 7034, kQuantity = 1035,
              kBuy = 6031;
constexpr int kRangeStart = 1021, kQueryButton = 1020;
// Lets a form's first replies arrive before its picture.
constexpr int kSettleMs = 300;

template <class T>
T* Shown(QWidget* parent, int id) {
  T* child = parent->findChild<T*>(QString::number(id));
  return child && child->isVisible() ? child : nullptr;
}

QWidget* TradingWindow(CMainFrame& frame) {
  CWnd* trading = CWnd::FromHandle(frame.GetTradeWnd());
  QWidget* window = trading ? trading->GetWidget() : nullptr;
  return window && window->isVisible() ? window : nullptr;
}

// Types the picture item's code into the order entry and waits for its
// name, its last price and the trade server's limits.
bool TypeItem(QLineEdit& code, int timeoutMs) {
  QWidget* entry = code.parentWidget();
  code.clear();
  QTest::keyClicks(&code, QString::fromLatin1(kPictureItemCode));
  auto* name = Shown<QLabel>(entry, kName);
  auto* price = Shown<QLineEdit>(entry, kPrice);
  auto* funds = Shown<QLabel>(entry, kFunds);
  if (!name || !price || !funds) return false;
  const auto arrived = [&] {
    return !name->text().isEmpty() && price->text().toDouble() > 0 && !funds->text().isEmpty();
  };
  return platform::PumpUntil(arrived, timeoutMs);
}

// Buys the picture item at a factor of the last price: above it the
// simulator deals it, below it the order rests. True once the order entry
// took it (cleared its code after the reply). Each wait is a stage of its
// own, so the watchdog's ceiling holds for one wait, however slow the
// machine.
bool Buy(QWidget& window, double priceFactor, int timeoutMs, const std::string& order,
         const EnterStage& enter) {
  auto* code = Shown<QLineEdit>(&window, kCode);
  enter(order + ": the item's name, price and limits");
  if (!code || !TypeItem(*code, timeoutMs)) return false;
  QWidget* entry = code->parentWidget();
  auto* price = Shown<QLineEdit>(entry, kPrice);
  auto* quantity = Shown<QLineEdit>(entry, kQuantity);
  auto* buy = Shown<QPushButton>(entry, kBuy);
  if (!quantity || !buy) return false;
  price->setText(QString::number(price->text().toDouble() * priceFactor, 'f', 2));
  quantity->setText("100");
  enter(order + ": the server's reply");
  QTest::mouseClick(buy, Qt::LeftButton);  // the confirmation box answers yes
  return platform::PumpUntil([&] { return code->text().isEmpty(); }, timeoutMs);
}

// The function items, top to bottom (the groups are open).
std::vector<QTreeWidgetItem*> FunctionItems(QTreeWidget& tree) {
  std::vector<QTreeWidgetItem*> items;
  for (QTreeWidgetItemIterator it(&tree); *it; ++it)
    if ((*it)->childCount() == 0) items.push_back(*it);
  return items;
}

void Click(QTreeWidget& tree, QTreeWidgetItem* item) {
  tree.scrollToItem(item);
  const QRect r = tree.visualItemRect(item);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(r.left() + 4, r.center().y()));
}

// What the shown panel holds: lists with rows, web pages with a title.
struct SPanelContent {
  int lists = 0, listsWithRows = 0, pages = 0, pagesLoaded = 0;
  bool Complete() const { return listsWithRows == lists && pagesLoaded == pages; }
};

SPanelContent Content(QWidget& window) {
  SPanelContent c;
  for (QTableView* list : window.findChildren<QTableView*>()) {
    if (!list->isVisible()) continue;
    ++c.lists;
    c.listsWithRows += list->model()->rowCount() > 0;
  }
  // Web views by class name: the screenshot run does not link the web engine.
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisible() || std::strcmp(w->metaObject()->className(), "QWebEngineView") != 0)
      continue;
    ++c.pages;
    c.pagesLoaded += !w->property("title").toString().isEmpty();
  }
  return c;
}

// Asks a history query for the week up to today.
void QueryPastWeek(QWidget& window) {
  auto* start = Shown<QDateTimeEdit>(&window, kRangeStart);
  auto* query = Shown<QPushButton>(&window, kQueryButton);
  if (!start || !query) return;
  start->setDate(QDate::currentDate().addDays(-7));
  QTest::mouseClick(query, Qt::LeftButton);
}

}  // namespace

void PictureTradingWindow(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                          SShellPictures* seen) {
  QWidget* window = TradingWindow(frame);
  seen->tradeWindowShown = window != nullptr;
  auto* code = window ? Shown<QLineEdit>(window, kCode) : nullptr;
  if (!code) return;
  seen->tradeQuoteShown = TypeItem(*code, timeoutMs);
  keep("04-trading-window.png", nullptr);
  keep("05-order-entry.png", code->parentWidget());
}

void PictureTradePanels(CMainFrame& frame, const KeepPicture& keep, const EnterStage& enter,
                        int timeoutMs, SShellPictures* seen) {
  QWidget* window = TradingWindow(frame);
  auto* tree = window ? window->findChild<QTreeWidget*>(QString::number(kFunctionTree)) : nullptr;
  if (!tree) return;
  seen->tradeOrdersPlaced = Buy(*window, 1.1, timeoutMs, "order dealt", enter) +
                            Buy(*window, 0.9, timeoutMs, "order resting", enter);

  int number = 0;
  for (QTreeWidgetItem* item : FunctionItems(*tree)) {
    const std::string name = item->text(0).toStdString();
    enter("trading window panel " + name);
    ++number;
    Click(*tree, item);
    QueryPastWeek(*window);
    platform::PumpMessages(kSettleMs);
    platform::PumpUntil([&] { return Content(*window).Complete(); }, timeoutMs);
    // A list panel shows rows and a page panel its page; a form stands alone.
    if (!item->isSelected() || !Content(*window).Complete())
      seen->tradePanelsWithout.push_back(name);
    ++seen->tradePanels;
    char file[64];
    std::snprintf(file, sizeof file, "10-trade-panel-%02d.png", number);
    keep(file, window);
  }
}
