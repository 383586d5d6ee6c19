#!/usr/bin/env python3
"""Writes the fortune data file from its UTF-8 source.

Usage: make_fortunes.py SOURCE.txt OUTPUT.dat

The source holds one entry per line. The data file holds the same lines in
Shift-JIS (code page 932) with CR LF line ends, the form the program reads.
Every entry must fit one piece of the program's reader (255 bytes), so that
none is cut in two, and must not end in a blank, which the reader trims.
"""
import sys

PIECE_BYTES = 255


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: make_fortunes.py SOURCE.txt OUTPUT.dat')
    entries = []
    with open(sys.argv[1], encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            entry = line.rstrip('\r\n')
            where = f'{sys.argv[1]}:{number}'
            if not entry.strip():
                sys.exit(f'{where}: empty entry')
            if entry != entry.rstrip():
                sys.exit(f'{where}: the entry ends in a blank')
            try:
                data = entry.encode('cp932')
            except UnicodeEncodeError as error:
                sys.exit(f'{where}: {entry[error.start:error.end]!r} has no code page 932 form')
            if len(data) > PIECE_BYTES:
                sys.exit(f'{where}: {len(data)} bytes, more than {PIECE_BYTES}')
            entries.append(data)
    with open(sys.argv[2], 'wb') as f:
        f.write(b''.join(entry + b'\r\n' for entry in entries))


if __name__ == '__main__':
    main()
