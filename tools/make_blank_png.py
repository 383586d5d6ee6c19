#!/usr/bin/env python3
"""Writes a black PNG of one bit per pixel: a picture of any size in a few
kilobytes, for the tests of pictures beyond the program's limit.

Usage: make_blank_png.py WIDTH HEIGHT OUTPUT.png
"""
import struct
import sys
import zlib


def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def main():
    if len(sys.argv) != 4:
        sys.exit('usage: make_blank_png.py WIDTH HEIGHT OUTPUT.png')
    width, height = int(sys.argv[1]), int(sys.argv[2])
    rows = (b'\0' * (1 + (width + 7) // 8)) * height  # filter byte, then the row
    header = struct.pack('>IIBBBBB', width, height, 1, 0, 0, 0, 0)  # 1 bit, grey
    with open(sys.argv[3], 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9)) +
                  chunk(b'IEND', b''))


if __name__ == '__main__':
    main()
