#!/usr/bin/env python3
"""Compresses a .bmp file for the setup's resources: its packed DIB (the file without its
14-byte file header, the bytes a BITMAP resource holds) as one zlib stream at level 9.

Usage: compress_bitmap.py INPUT.bmp OUTPUT
"""
import os
import struct
import sys
import zlib

FILE_HEADER = 14
INFO_HEADER = 40


def packed_dib(data, name):
    if len(data) < FILE_HEADER + INFO_HEADER or data[:2] != b"BM":
        sys.exit(f"{name}: not a .bmp file")
    (info_size,) = struct.unpack_from("<I", data, FILE_HEADER)
    if info_size != INFO_HEADER:
        sys.exit(f"{name}: header of {info_size} bytes; the setup reads only {INFO_HEADER}-byte headers")
    width, height, _, bits, compression, _, _, _, used = struct.unpack_from("<iiHHIIiiI", data, FILE_HEADER + 4)
    colours = used or (1 << bits if bits <= 8 else 0)
    size = INFO_HEADER + 4 * colours + (width * bits + 31) // 32 * 4 * abs(height)
    # The setup takes exactly these bytes and refuses anything else as damaged.
    if compression != 0 or len(data) - FILE_HEADER != size:
        sys.exit(f"{name}: not an uncompressed picture of {size} bytes after the file header")
    return data[FILE_HEADER:]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    source, target = sys.argv[1:]
    with open(source, "rb") as f:
        packed = zlib.compress(packed_dib(f.read(), source), 9)
    # Written whole under another name first, so that a broken run leaves no half file behind.
    with open(target + ".tmp", "wb") as f:
        f.write(packed)
    os.replace(target + ".tmp", target)


if __name__ == "__main__":
    main()
