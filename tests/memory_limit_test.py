#!/usr/bin/env python3
"""Programs that run out of memory end in a clean report, never an abort.

Each program grows something without bound, or reads a line longer than the
cap with `input`; velmor runs it with its address
space capped (as `ulimit -v` would) on both engines. The run must end with
exit status 1 and a one-line RuntimeError report ("out of memory" or a size
limit) on standard error, and no "terminate" or signal.

Usage: memory_limit_test.py --velmor PATH [--limit-mb N]
"""

import argparse
import concurrent.futures
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
# Programs fed a line longer than the cap between ordinary lines: running out
# of memory for the line is reported, never taken for the end of input.
READERS = {
    "input_lines": "let n = 0\nwhile input() != nil do\n  n += 1\nend\nprint(\"read\", n)\n",
    "input_prompt": "print(input(\"> \"))\nprint(input())\nprint(input())\n",
}
READER_LIMIT_MB = 192
REPORT = re.compile(r"RuntimeError: (out of memory|[a-z_ ]*:? ?result too large)(\n  --> .*)?(\n.*\n *\^)?\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--limit-mb", type=int, default=256)
    args = parser.parse_args()

    def capped(megabytes):
        def cap():
            resource.setrlimit(resource.RLIMIT_AS, (megabytes << 20, megabytes << 20))
        return cap

    passed = failed = 0
    with tempfile.TemporaryDirectory() as folder:
        long_input = os.path.join(folder, "long_line.txt")
        with open(long_input, "wb") as f:
            f.write(b"first\n")
            chunk = b"x" * (1 << 20)
            for _ in range(READER_LIMIT_MB + 64):
                f.write(chunk)
            f.write(b"\nlast\n")
        runs = [(name, source, None, args.limit_mb) for name, source in PROGRAMS.items()]
        runs += [(name, source, long_input, READER_LIMIT_MB) for name, source in READERS.items()]
        for name, source, _, _ in runs:
            with open(os.path.join(folder, name + ".vlm"), "w") as f:
                f.write(source)

        def run(name, stdin_path, limit_mb, engine):
            try:
                with open(stdin_path or os.devnull, "rb") as stdin:
                    # The cap is set by a shell: preexec_fn is unsafe in a program with threads.
                    command = ["/bin/sh", "-c", 'ulimit -v %d && exec "$0" "$@"' % (limit_mb << 10), args.velmor,
                               engine, os.path.join(folder, name + ".vlm")]
                    done = subprocess.run(command, stdin=stdin, capture_output=True, timeout=300)
                return done.returncode, done.stderr.decode(errors="replace")
            except subprocess.TimeoutExpired:
                return "timeout", ""

        # The test runs alone, so its runs share the machine's cores.
        jobs = [(name, stdin_path, limit_mb, engine) for name, _, stdin_path, limit_mb in runs
                for engine in ("--vm", "--tree")]
        with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
            outcomes = list(pool.map(lambda job: run(*job), jobs))
        for (name, _, _, engine), (status, err) in zip(jobs, outcomes):
            if status == 1 and REPORT.fullmatch(err):
                passed += 1
            else:
                failed += 1
                print("FAIL %s %s: exit %s\n%s" % (name, engine, status, err[:2000]))
        # The plain prompt reports the line it could not hold and reads on after it.
        with open(long_input, "rb") as stdin:
            done = subprocess.run([args.velmor], stdin=stdin, capture_output=True, timeout=120,
                                  preexec_fn=capped(READER_LIMIT_MB))
        err = done.stderr.decode(errors="replace")
        # "first" and "last" are read as names at the prompt: two errors around the report.
        if done.returncode == 0 and err.count("undefined variable") == 2 and "RuntimeError: out of memory\n" in err:
            passed += 1
        else:
            failed += 1
            print("FAIL prompt: exit %s\n%s" % (done.returncode, err[:2000]))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
