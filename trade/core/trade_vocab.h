// Labels of the order, order-type and allotment codes the trade server
// sends. Byte strings in GBK; "" for codes without a label.
#pragma once
#include <string>

const char* GetOrderStatusText(const std::string& status);
const char* GetOrderTypeText(const std::string& orderType);
const char* GetAllotKindText(const std::string& kind);
