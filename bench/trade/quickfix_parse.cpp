#include "quickfix_parse.h"

#include <quickfix/Message.h>

bool QuickFixParse(const std::string& message, std::string* orderId) {
  try {
    FIX::Message parsed;
    parsed.setString(message, true);
    *orderId = parsed.getField(37);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
