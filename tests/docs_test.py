#!/usr/bin/env python3
"""Runs every example in the user documentation on both engines.

Two kinds of examples are checked:
- a ```velmor block followed directly by an ```output block: the program's
  standard output must equal the output block;
- a line "- Example: `EXPRESSION` → `RESULT`" (the REPL-style quoted form of
  the value) or "- Example: `EXPRESSION` → error: MESSAGE" (the message a
  try/catch receives).

Usage: docs_test.py --velmor PATH FILE.md...
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

BLOCK = re.compile(r"```velmor\n(.*?)```\n```output\n(.*?)```", re.S)
EXAMPLE = re.compile(r"^- Example: `(.+?)` → (?:`(.*)`|error: (.*))$", re.M)


def run(velmor, engine, source, workdir):
    path = os.path.join(workdir, "example.vlm")
    with open(path, "w") as f:
        f.write(source)
    done = subprocess.run([velmor, engine, path], capture_output=True, timeout=30, stdin=subprocess.DEVNULL)
    return done.returncode, done.stdout.decode(errors="replace"), done.stderr.decode(errors="replace")


def examples(text):
    for match in BLOCK.finditer(text):
        line = text.count("\n", 0, match.start()) + 1
        yield line, match.group(1), match.group(2)
    for match in EXAMPLE.finditer(text):
        line = text.count("\n", 0, match.start()) + 1
        expression, value, message = match.groups()
        if message is None:
            yield line, "print(repr(%s))\n" % expression, value + "\n"
        else:
            program = "try\n  let result = %s\n  print(\"no error:\", repr(result))\ncatch problem\n  print(problem)\nend\n"
            yield line, program % expression, message + "\n"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    passed = failed = 0
    with tempfile.TemporaryDirectory() as workdir:
        for name in args.files:
            with open(name, encoding="utf-8") as f:
                text = f.read()
            for line, source, expected in examples(text):
                for engine in ("--vm", "--tree"):
                    status, out, err = run(args.velmor, engine, source, workdir)
                    if status == 0 and out == expected and not err:
                        passed += 1
                        continue
                    failed += 1
                    print("FAIL %s:%d on %s (exit %d)" % (name, line, engine, status))
                    print("  program:\n    " + source.rstrip("\n").replace("\n", "\n    "))
                    print("  expected:\n    " + expected.rstrip("\n").replace("\n", "\n    "))
                    print("  got:\n    " + out.rstrip("\n").replace("\n", "\n    "))
                    if err:
                        print("  stderr:\n    " + err.rstrip("\n").replace("\n", "\n    "))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
