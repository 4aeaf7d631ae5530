#include "trade/ui/rules/bank_channels.h"

#include <cstring>

namespace {
bool In(const char* set, char c) { return c != 0 && std::strchr(set, c) != nullptr; }
}  // namespace

bool ChannelAllowsTransfer(char channel) { return In("4789ABCEG", channel); }

bool IsWebDeposit(int direction, char channel) {
  return direction == kBankToExchange && In("78B", channel);
}

bool TransferNeedsBankPassword(int direction, char channel) {
  return direction == kBankToExchange && In("9F", channel);
}

bool ChannelAllowsSigning(char channel) { return In("789BF", channel); }
bool ChannelAllowsUnsigning(char channel) { return In("789ABF", channel); }

bool SigningNeedsBankPassword(bool signing, char channel) { return signing && In("9F", channel); }
