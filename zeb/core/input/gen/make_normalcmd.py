#!/usr/bin/env python3
"""Makes "normalcmd.dat", the typed commands of the keyboard input, from its
text source (normalcmd.txt), so the shipped file is never edited by hand.

Record (32 bytes, little-endian): int32 kind; code, 7 bytes NUL-terminated;
name, 17 bytes NUL-terminated GBK; u16 market id; 2 bytes zero. At most 180
records: the program reads no more. Any line that does not fit stops the
build instead of being cut.

usage: make_normalcmd.py normalcmd.txt normalcmd.dat
"""
import struct
import sys

MAX_RECORDS = 180
CODE_BYTES, NAME_BYTES = 7, 17


def fail(where, why):
    sys.exit("make_normalcmd: %s: %s" % (where, why))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    records = []
    with open(sys.argv[1], encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            where = "%s:%d" % (sys.argv[1], number)
            text = line.strip()
            if not text or text.startswith("#"):
                continue
            parts = text.split(None, 3)
            if len(parts) != 4:
                fail(where, "expected: kind code market name")
            kind, code, market, name = int(parts[0]), parts[1].upper(), int(parts[2]), parts[3]
            code_bytes, name_bytes = code.encode("ascii"), name.encode("gbk")
            if kind not in (0, 2, 3, 4):
                fail(where, "unknown kind %d" % kind)
            if not 0 < len(code_bytes) < CODE_BYTES:
                fail(where, "code must have 1 to %d bytes" % (CODE_BYTES - 1))
            if len(name_bytes) >= NAME_BYTES:
                fail(where, "name must have at most %d bytes in GBK" % (NAME_BYTES - 1))
            if not 0 <= market <= 0xFFFF:
                fail(where, "market out of range")
            records.append(struct.pack("<i7s17sHxx", kind, code_bytes, name_bytes, market))
    if len(records) > MAX_RECORDS:
        fail(sys.argv[1], "more than %d records" % MAX_RECORDS)
    with open(sys.argv[2], "wb") as out:
        out.write(b"".join(records))


if __name__ == "__main__":
    main()
