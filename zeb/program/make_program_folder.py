#!/usr/bin/env python3
"""Writes the program folder's own content (settings, block lists, alarm
list, K-line panes, colour schemes, the login dialog's skin) into the build's bin folder.

Texts are kept in UTF-8 in the repository; the program reads GBK, so every
text file is written in GBK with CR LF line ends, and names holding Chinese
characters become GBK file names. Files the program itself changes (the
settings, the user's blocks and favourites, the alarm list, the schemes)
are written only when missing, so a rebuild keeps the user's changes.

usage: make_program_folder.py SOURCE RESOURCES OUT BIN_DIR STAMP
"""
import os
import struct
import sys


def gbk_name(path):
    return os.fsencode(path) if path.isascii() else path.encode("gbk")


# Files holding a password or a key (zeb.ini: the client key's password)
# are the owner's alone from their creation; the rest follow the umask.
PRIVATE_FILES = {"zeb.ini"}


def write(out, relative, data, keep):
    target = os.path.join(os.fsencode(out), gbk_name(relative))
    if keep and os.path.exists(target):
        return
    os.makedirs(os.path.dirname(target), exist_ok=True)
    partial = target + b".part"
    if os.path.lexists(partial):
        os.remove(partial)
    mode = 0o600 if relative in PRIVATE_FILES else 0o666
    fd = os.open(partial, os.O_WRONLY | os.O_CREAT | os.O_EXCL | os.O_NOFOLLOW, mode)
    with os.fdopen(fd, "wb") as f:
        f.write(data)
    os.replace(partial, target)


def text(source, relative, bin_dir):
    with open(os.path.join(source, relative), encoding="utf-8") as f:
        lines = [l.rstrip("\n") for l in f]
    # Comment lines of the repository's copy are not part of the file.
    lines = [l.replace("@ZEB_BIN_DIR@", bin_dir) for l in lines if not l.startswith("#")]
    while lines and not lines[0]:
        lines.pop(0)
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


def records(path, size):
    """Lines of market:code pairs as packed little-endian records."""
    out = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split()
            name = parts[0] if ":" not in parts[0] else ""
            pairs = parts[1:] if name else parts
            data = b""
            for pair in pairs:
                market, code = pair.split(":")
                data += struct.pack("<Hi", int(market), int(code)) + b"\0" * (size - 6)
            out[name] = data
    return out


def main():
    source, resources, out, bin_dir, stamp = sys.argv[1:6]
    user_files = {"zeb.ini", "sysset.ini", "BLOCK/USERBLOCK.DEF"}
    for relative in ["zeb.ini", "sysset.ini", "BLOCK/BLOCK.DEF", "BLOCK/USERBLOCK.DEF"]:
        write(out, relative, text(source, relative, bin_dir), relative in user_files)

    user_blocks = {"我的收藏", "关注", "自选"}
    for name, data in records(os.path.join(source, "BLOCK/blocks.txt"), 6).items():
        write(out, "BLOCK/" + name + ".BLK", data, name in user_blocks)
    for _, data in records(os.path.join(source, "INDEX/alarms.txt"), 26).items():
        write(out, "INDEX/ALARM.DEX", data, True)
    # the K-line chart's panes; the chart rewrites it when the user changes them
    write(out, "INDEX/INDEX.DEX", text(source, "INDEX/INDEX.DEX", bin_dir), True)

    interface = os.path.join(source, "INTERFACE")
    with open(os.path.join(resources, "scheme/slider.bmp"), "rb") as f:
        slider = f.read()
    for name in sorted(os.listdir(interface)):
        write(out, "INTERFACE/" + name, text(interface, name, bin_dir), True)
        if name.endswith(".CLR"):
            write(out, "INTERFACE/" + name[:-4] + ".BMP", slider, False)

    for name in sorted(os.listdir(os.path.join(resources, "login"))):
        with open(os.path.join(resources, "login", name), "rb") as f:
            write(out, "UIInterface/Login/" + name, f.read(), False)
    with open(stamp, "w") as f:
        f.write("program folder written\n")


if __name__ == "__main__":
    main()
