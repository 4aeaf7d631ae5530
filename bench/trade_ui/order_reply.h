// A today's-orders reply of the given number of rows as the server sends
// it (half buys, half sells; a third still open), for the benchmarks that
// time a reply on its way to a panel's rows. And the longest list one
// message can carry: records of their type and number only (16 bytes),
// so that a million of them fit the 16 MiB a message may have.
#pragma once
#include <string>

#include "trade/core/trade_codec.h"
#include "trade/core/trade_messages.h"

inline std::string OrderReply(int rows) {
  TagFieldList body;
  AddTextField(body, 9001, "0");
  AddIntField(body, 9003, rows);
  for (int i = 0; i < rows; ++i) {
    AddTextField(body, 48, "602001");
    AddTextField(body, 40, i % 2 ? "0S" : "0B");
    AddTextField(body, 44, "12.34");
    AddIntField(body, 132, 100 + i);
    AddTextField(body, 9402, "\xB8\xFD\xD7\xD3\xCA\xF3\xC6\xB1");
    AddTextField(body, 150, i % 3 ? "2" : "1");
    AddTextField(body, 32, "100");
    AddTextField(body, 9210, "0");
    AddIntField(body, 37, 100000 + i);
    AddTextField(body, 9205, "2024-05-20 10:00:00");
  }
  auto m = BuildTradeMessage(0, MT_QRY_ORDERS_RSP, 0, false, &body, 2, "S");
  return std::string(m->Data(), m->Size());
}

inline std::string ShortOrderReply(int rows) {
  TagFieldList body;
  AddTextField(body, 9001, "0");
  AddIntField(body, 9003, rows);
  for (int i = 0; i < rows; ++i) {
    AddTextField(body, 40, i % 2 ? "0S" : "0B");
    AddIntField(body, 37, i % 1000000);
  }
  auto m = BuildTradeMessage(0, MT_QRY_ORDERS_RSP, 0, false, &body, 2, "S");
  return std::string(m->Data(), m->Size());
}
