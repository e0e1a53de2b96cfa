#!/usr/bin/env python3
"""Writes a distribution text file in the ANSI code page of the product's users.

    to_ansi.py OUTPUT INPUT...

The inputs are UTF-8 texts kept in the repository; the output is their concatenation in
Windows-1251 with CRLF line ends, as the setup program and the platform's profile functions read
them. A character that Windows-1251 cannot hold fails the build instead of turning into "?".
"""
import os
import sys


def main():
    output, inputs = sys.argv[1], sys.argv[2:]
    text = ''
    for path in inputs:
        with open(path, encoding='utf-8-sig') as source:
            text += source.read()
    lines = text.splitlines()
    data = ''.join(line + '\r\n' for line in lines).encode('cp1251')
    os.makedirs(os.path.dirname(output) or '.', exist_ok=True)
    with open(output, 'wb') as out:
        out.write(data)


if __name__ == '__main__':
    main()
