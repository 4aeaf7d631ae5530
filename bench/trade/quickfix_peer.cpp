// The QuickFIX side of the trade codec benchmarks; compiled as C++14.
#include "quickfix_peer.h"

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

std::string QuickFixBuild(const std::string& msgType, int serNo, const std::string& session,
                          const std::vector<std::pair<int, std::string>>& body) {
  try {
    FIX::Message m;
    FIX::Header& header = m.getHeader();
    header.setField(8, "FIX.4.2");
    header.setField(35, msgType);
    header.setField(34, std::to_string(serNo));
    header.setField(336, session);
    for (const auto& f : body) m.setField(f.first, f.second);
    return m.toString();
  } catch (const std::exception&) {
    return std::string();
  }
}

std::string QuickFixWrite(const std::vector<std::pair<int, std::string>>& header,
                          const std::vector<std::pair<int, std::string>>& body) {
  try {
    FIX::Message m;
    m.getHeader().setField(8, "FIX.4.2");
    for (const auto& f : header) m.getHeader().setField(f.first, f.second);
    for (const auto& f : body) m.setField(f.first, f.second);
    return m.toString();
  } catch (const std::exception&) {
    return std::string();
  }
}
