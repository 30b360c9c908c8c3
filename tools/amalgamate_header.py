#!/usr/bin/env python3
"""Writes a header library as one header: each #include <PREFIX/...> of the
library is replaced by the file it names at its first inclusion and dropped
after that (the library's headers are all include-guarded).

Usage: amalgamate_header.py INCLUDE_ROOT ENTRY_HEADER > single.hpp
"""
import pathlib
import re
import sys


def main():
    root = pathlib.Path(sys.argv[1])
    entry = sys.argv[2]
    prefix = entry.split("/")[0]
    include = re.compile(r"^\s*#\s*include\s*<(" + re.escape(prefix) + r"/[^>]+)>")
    seen = set()
    out = []

    def emit(rel):
        seen.add(rel)
        for line in (root / rel).read_text().splitlines(keepends=True):
            found = include.match(line)
            if not found:
                out.append(line)
            elif found.group(1) not in seen:
                emit(found.group(1))

    emit(entry)
    sys.stdout.write("".join(out))


if __name__ == "__main__":
    main()
