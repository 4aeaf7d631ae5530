// The custody web pages: which "zeb.ini" [TRUSTBUSINESS] key holds each
// page's base address, and the address a page opens with the account and
// the session appended (each percent-encoded, so a value cannot add path
// segments or a query of its own).
#pragma once
#include <string>

constexpr int kCustodyPageCount = 14;

// The [TRUSTBUSINESS] key of page 0-13; "" outside.
const char* CustodyPageKey(int page);
// The page a function (15-28) opens; -1 for other functions.
int CustodyPageOfFunction(int functionIndex);

// base + "/accountname/" + user id + "/sessionid/" + session id.
std::string CustodyAddress(const std::string& base, const std::string& userId,
                           const std::string& sessionId);
