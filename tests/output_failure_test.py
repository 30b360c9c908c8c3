#!/usr/bin/env python3
"""A failed write of standard output is never reported as success.

Runs the real `velmor` program with its standard output on a full device
(/dev/full), on a file that may not grow past a size limit, closed, and on a
pipe whose reader goes away, in every mode that writes standard output.
Expected: status 1 and one line on standard error saying that output could
not be written (after an error report that the run had to give anyway); the
output written before the failure stays written; a closed pipe ends the run
promptly, quietly by SIGPIPE unless that signal is ignored.

Usage: output_failure_test.py --velmor PATH
"""

from __future__ import annotations

import argparse
import os
import re
import resource
import signal
import subprocess
import sys
import tempfile

FAILURE_LINE = re.compile(r"velmor: cannot write to standard output: (.+)\n")
PROMPT_SECONDS = 10


class Checks:
    def __init__(self) -> None:
        self.passed = 0
        self.failed = 0

    def check(self, name: str, ok: bool, details: str = "") -> None:
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAIL {name}")
            for line in details.splitlines()[:8]:
                print(f"    {line}")


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    args = parser.parse_args()
    velmor = args.velmor
    checks = Checks()

    with tempfile.TemporaryDirectory() as folder:
        program = os.path.join(folder, "print.vlm")
        with open(program, "w") as file:
            file.write('print("one")\nprint("two")\n')
        endless = 'let i = 0\nwhile true do\n  print("line ${i}")\n  i += 1\nend\n'

        # Every mode that writes standard output, onto a full device.
        modes = {
            "file run (vm)": ([program], None),
            "file run (tree)": (["--tree", program], None),
            "snippet": (["-c", "print(1)"], None),
            "version": (["--version"], None),
            "help": (["--help"], None),
            "token dump": (["--tokens", program], None),
            "benchmark": (["--bench", program], None),
            "prompt echo": ([], b"1 + 1\n"),
        }
        for name, (arguments, stdin) in modes.items():
            with open("/dev/full", "wb") as full:
                done = subprocess.run([velmor, *arguments], stdout=full, stderr=subprocess.PIPE,
                                      input=stdin if stdin is not None else b"", timeout=60)
            err = done.stderr.decode(errors="replace")
            checks.check(f"{name} onto /dev/full", done.returncode == 1 and FAILURE_LINE.fullmatch(err) is not None,
                         f"status {done.returncode}\nstderr: {err!r}")

        # An error report comes first, then the output failure.
        with open("/dev/full", "wb") as full:
            done = subprocess.run([velmor, "-c", "print(1)\nnope()"], stdout=full, stderr=subprocess.PIPE,
                                  timeout=60)
        err = done.stderr.decode(errors="replace")
        lines = err.splitlines(keepends=True)
        checks.check("error report before the output failure",
                     done.returncode == 1 and lines[:1] == ["RuntimeError: undefined variable 'nope'\n"]
                     and FAILURE_LINE.fullmatch(lines[-1]) is not None and len(lines) == 5,
                     f"status {done.returncode}\nstderr: {err!r}")

        # A closed standard output.
        done = subprocess.run([velmor, "-c", "print(1)"], stderr=subprocess.PIPE, timeout=60,
                              preexec_fn=lambda: os.close(1))
        err = done.stderr.decode(errors="replace")
        checks.check("closed standard output", done.returncode == 1 and FAILURE_LINE.fullmatch(err) is not None,
                     f"status {done.returncode}\nstderr: {err!r}")

        # A file that may not grow past a limit keeps everything written before.
        limit = 100000
        expected = "".join(f"line {i}\n" for i in range(20000))
        assert len(expected) > limit
        target = os.path.join(folder, "limited.txt")

        def limit_file_size():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # the write fails instead of killing
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

        for engine in ("--vm", "--tree"):
            source = 'for i = 0, 19999 do\n  print("line ${i}")\nend\n'
            with open(target, "wb") as out:
                done = subprocess.run([velmor, engine, "-c", source], stdout=out, stderr=subprocess.PIPE,
                                      timeout=60, preexec_fn=limit_file_size)
            err = done.stderr.decode(errors="replace")
            with open(target) as written:
                kept = written.read()
            checks.check(f"output before the failure is kept ({engine})",
                         done.returncode == 1 and FAILURE_LINE.fullmatch(err) is not None
                         and kept == expected[:limit],
                         f"status {done.returncode}\nstderr: {err!r}\nkept {len(kept)} bytes")

        # A pipe whose reader goes away: the run ends promptly.
        for ignored in (False, True):
            def signals():
                signal.signal(signal.SIGPIPE, signal.SIG_IGN if ignored else signal.SIG_DFL)

            for engine in ("--vm", "--tree"):
                process = subprocess.Popen([velmor, engine, "-c", endless], stdout=subprocess.PIPE,
                                           stderr=subprocess.PIPE, preexec_fn=signals)
                first = process.stdout.readline()
                process.stdout.close()
                try:
                    status = process.wait(timeout=PROMPT_SECONDS)
                except subprocess.TimeoutExpired:
                    process.kill()
                    status = "still running"
                err = process.stderr.read().decode(errors="replace")
                process.stderr.close()
                name = f"closed pipe, SIGPIPE {'ignored' if ignored else 'default'} ({engine})"
                if ignored:
                    ok = status == 1 and FAILURE_LINE.fullmatch(err) is not None
                else:
                    ok = status == -signal.SIGPIPE and err == ""
                checks.check(name, ok and first == b"line 0\n", f"status {status}\nstderr: {err!r}")

    print(f"output failures: {checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
