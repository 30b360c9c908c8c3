#!/usr/bin/env python3
"""Programs that run out of memory end in a clean report, never an abort.

Each program grows something without bound; velmor runs it with its address
space capped (as `ulimit -v` would) on both engines. The run must end with
exit status 1 and a one-line RuntimeError report ("out of memory" or a size
limit) on standard error, and no "terminate" or signal.

Usage: memory_limit_test.py --velmor PATH [--limit-mb N]
"""

import argparse
import re
import resource
import subprocess
import sys
import tempfile
import os

PROGRAMS = {
    "string_doubling": "let s = \"ab\"\nwhile true do\n  s = s + s\nend\n",
    # Found by fuzzing: a list holding its previous self twice per level has a
    # text form of exponential size.
    "exponential_text": "let xs = []\nfor i = 1, 40 do\n  xs += [xs]\nend\nprint(len(str(xs)))\n",
    "list_doubling": "let l = [1]\nwhile true do\n  l = l + l\nend\n",
    "map_growth": "let m = {}\nlet i = 0\nwhile true do\n  m[i] = [i, i, i]\n  i += 1\nend\n",
    "push_loop": "let l = []\nwhile true do\n  push(l, \"item\", [1, 2])\nend\n",
    "string_parts": "let parts = []\nlet s = repeat(\"x\", 1000)\nwhile true do\n  push(parts, s + \"y\")\nend\n",
    "nested_closures": ("let keep = []\nfunction make(n)\n  return function() return n end\nend\n"
                        "let i = 0\nwhile true do\n  push(keep, make(i))\n  i += 1\nend\n"),
}
REPORT = re.compile(r"RuntimeError: (out of memory|[a-z_ ]*:? ?result too large)(\n  --> .*)?(\n.*\n *\^)?\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--limit-mb", type=int, default=768)
    args = parser.parse_args()
    limit = args.limit_mb * 1024 * 1024

    def cap():
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

    passed = failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for name, source in PROGRAMS.items():
            path = os.path.join(folder, name + ".vlm")
            with open(path, "w") as f:
                f.write(source)
            for engine in ("--vm", "--tree"):
                try:
                    done = subprocess.run([args.velmor, engine, path], capture_output=True, timeout=120,
                                          preexec_fn=cap)
                    status, err = done.returncode, done.stderr.decode(errors="replace")
                except subprocess.TimeoutExpired:
                    status, err = "timeout", ""
                if status == 1 and REPORT.fullmatch(err):
                    passed += 1
                else:
                    failed += 1
                    print("FAIL %s %s: exit %s\n%s" % (name, engine, status, err[:2000]))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
