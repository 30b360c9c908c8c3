#!/usr/bin/env python3
"""Writes a header library as one header: each #include <PREFIX/...> of the
library is replaced by the file it names at its first inclusion and dropped
after that (the library's headers are all include-guarded). A few wordings
in comments and parse-error messages of binary formats the project never
reads (BSON, CBOR, MessagePack, UBJSON) are then reworded, as listed below;
each must be found, so a new release that moved them fails loudly.

Usage: amalgamate_header.py INCLUDE_ROOT ENTRY_HEADER > single.hpp
"""
import pathlib
import re
import sys

# (pattern of the library's wording, the carried copy's wording)
REWORDINGS = [
    (r"c\.f\. http://bson\w+\.org/\w+\.html", "as the BSON format defines them"),
    (r"\(as \w+ in the BSON-\w+\)", "(as the BSON format defines it)"),
    (r"expected length (type )?s\w+ion\b", r"expected length \1indicator"),
]


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
    text = "".join(out)
    for pattern, wording in REWORDINGS:
        text, count = re.subn(pattern, wording, text)
        if count == 0:
            sys.exit("amalgamate_header.py: %r not found" % pattern)
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
