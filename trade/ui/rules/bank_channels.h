// What an account's pay channel (the first character of login tag 9116)
// allows at the bank: transfers, web deposits, signing and unsigning, and
// when the bank password must be typed. Shared by the transfer form and
// the signing dialog.
#pragma once

// Transfer directions of the transfer form's list.
enum ETransferDirection { kExchangeToBank = 0, kBankToExchange = 1 };

// The "转账" button is enabled.
bool ChannelAllowsTransfer(char channel);
// Money goes in through the channel's web page instead of a request.
bool IsWebDeposit(int direction, char channel);
// The transfer form asks for the bank password.
bool TransferNeedsBankPassword(int direction, char channel);

bool ChannelAllowsSigning(char channel);
bool ChannelAllowsUnsigning(char channel);
// The signing dialog asks for the bank password (signing only).
bool SigningNeedsBankPassword(bool signing, char channel);
