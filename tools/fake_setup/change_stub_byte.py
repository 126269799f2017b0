#!/usr/bin/env python3
"""Copies a signed PE file with one byte of its DOS stub message changed.

The stub is covered by the Authenticode digest but never run, so the copy
still loads and reads like the original while its signature fails.
   change_stub_byte.py SIGNED.exe OUT.exe
"""
import sys

STUB_TEXT = b"This program cannot be run in DOS mode"


def main(source, target):
    data = bytearray(open(source, "rb").read())
    at = data.find(STUB_TEXT)
    if at < 0 or at > 0x200:
        sys.exit(f"{source}: no DOS stub message in the headers")
    data[at] ^= 0x20  # "T" becomes "t"
    with open(target, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
