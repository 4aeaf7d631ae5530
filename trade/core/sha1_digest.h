// The SHA-1 digest the trade protocol carries instead of a password.
#pragma once
#include <string>

// 0 with the 20-byte digest of len bytes, -1 when a step fails.
int Sha1Digest(const void* data, int len, unsigned char digest[20]);

// The password as the protocol and the session keep it: the SHA-1 digest of
// its bytes as 40 lower-case hexadecimal digits; "" when the digest fails.
std::string PasswordDigest(const std::string& password);
