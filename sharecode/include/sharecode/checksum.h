// The 32-bit checksum of the balance-server frame.
#pragma once

// Sums the data as big-endian signed 32-bit words (a 1-3 byte tail padded
// with zero bytes) into a folded 64-bit accumulator and writes the
// complement of its low 32 bits, most significant byte first.
void CalcFrameChecksum(unsigned char out[4], const unsigned char* data, unsigned length);
