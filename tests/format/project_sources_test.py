#!/usr/bin/env python3
"""The project's own Velmor sources are laid out as `velmor --format` lays
them out: every file in examples/ and every ```velmor block of the user
documentation (docs/*.md). Fails listing what differs; with --write, formats
them in place instead.

Usage: project_sources_test.py --velmor PATH --source-dir DIR [--write]
"""

import argparse
import difflib
import re
import subprocess
import sys
from pathlib import Path

BLOCK = re.compile(r"```velmor\n(.*?)```", re.S)


def formatted(velmor, source):
    done = subprocess.run([velmor, "--format", "-"], input=source.encode(), capture_output=True, timeout=30)
    if done.returncode != 0:
        raise ValueError(done.stderr.decode(errors="replace"))
    return done.stdout.decode()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--source-dir", required=True, type=Path)
    parser.add_argument("--write", action="store_true")
    args = parser.parse_args()
    differences = checked = 0

    def compare(where, source, result):
        nonlocal differences
        if source != result:
            differences += 1
            print("NOT FORMATTED %s" % where)
            sys.stdout.writelines(difflib.unified_diff(source.splitlines(True), result.splitlines(True),
                                                       "as written", "as formatted"))

    for path in sorted((args.source_dir / "examples").glob("*.vlm")):
        source = path.read_text(encoding="utf-8")
        result = formatted(args.velmor, source)
        checked += 1
        if args.write:
            path.write_text(result, encoding="utf-8")
        compare(path, source, result)
    for path in sorted((args.source_dir / "docs").glob("*.md")):
        text = path.read_text(encoding="utf-8")

        def replace(match):
            nonlocal checked
            checked += 1
            line = text.count("\n", 0, match.start()) + 1
            result = formatted(args.velmor, match.group(1))
            compare("%s:%d" % (path, line), match.group(1), result)
            return "```velmor\n" + result + "```"

        new = BLOCK.sub(replace, text)
        if args.write and new != text:
            path.write_text(new, encoding="utf-8")
    print("%d sources checked, %d not formatted%s" % (checked, differences, " (rewritten)" if args.write else ""))
    return 1 if (differences and not args.write) or not checked else 0


if __name__ == "__main__":
    sys.exit(main())
