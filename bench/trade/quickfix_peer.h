// QuickFIX behind plain functions, so that only one file sees its
// (pre-C++17) headers: the yardstick of the codec's parse and build.
#pragma once
#include <string>
#include <utility>
#include <vector>

// Parses a FIX message with body length and checksum validation; false
// when it is refused. *orderId receives field 37.
bool QuickFixParse(const std::string& message, std::string* orderId);

// Builds a FIX.4.2 message: header 35, 34 and 336 (as our header has
// message type, serial number and session), then the body fields in order;
// QuickFIX adds body length and checksum. Empty when it refuses.
std::string QuickFixBuild(const std::string& msgType, int serNo, const std::string& session,
                          const std::vector<std::pair<int, std::string>>& body);

// A FIX.4.2 message as QuickFIX writes it from header fields (beside 8)
// and body fields, in the order its serialiser puts them; empty when it
// refuses.
std::string QuickFixWrite(const std::vector<std::pair<int, std::string>>& header,
                          const std::vector<std::pair<int, std::string>>& body);
