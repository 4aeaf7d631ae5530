// The SHA-1 digest the trade protocol carries instead of a password.
#pragma once

// 0 with the 20-byte digest of len bytes, -1 when a step fails.
int Sha1Digest(const void* data, int len, unsigned char digest[20]);
