#!/usr/bin/env python3
"""Watch mode end to end: a real `velmor --watch` process on a file in a
temporary folder, rewritten with explicit last-write times so that every save
is seen however coarse the file system's clock is.

Every wait is bounded and the process is always killed, so a broken watch
mode fails this test instead of hanging it.
"""

from __future__ import annotations

import argparse
import os
import re
import resource
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

WAIT_SECONDS = 30.0
SEPARATOR = re.compile(r"---- run at \d\d:\d\d:\d\d ----")


class WatchedProcess:
    """A velmor process whose output lines are collected by reader threads."""

    def __init__(self, command: list[str], cwd: Path, preexec_fn=None) -> None:
        self.lines: dict[str, list[str]] = {"stdout": [], "stderr": []}
        self.changed = threading.Condition()
        self.process = subprocess.Popen(
            command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            preexec_fn=preexec_fn
        )
        self.readers = [
            threading.Thread(target=self.read, args=(name, stream), daemon=True)
            for name, stream in (("stdout", self.process.stdout), ("stderr", self.process.stderr))
        ]
        for reader in self.readers:
            reader.start()

    def read(self, name: str, stream) -> None:
        for raw in stream:
            with self.changed:
                self.lines[name].append(raw.decode("utf-8", errors="replace").rstrip("\n"))
                self.changed.notify_all()

    def wait_for(self, what: str, predicate) -> None:
        deadline = time.monotonic() + WAIT_SECONDS
        with self.changed:
            while not predicate(self.lines):
                left = deadline - time.monotonic()
                if left <= 0 or self.process.poll() is not None:
                    raise AssertionError(f"{what}: not seen within {WAIT_SECONDS:g} s\n{self.transcript()}")
                self.changed.wait(min(left, 0.5))

    def runs_seen(self) -> int:
        return sum(1 for line in self.lines["stdout"] if SEPARATOR.fullmatch(line))

    def transcript(self) -> str:
        return "stdout:\n  " + "\n  ".join(self.lines["stdout"]) + "\nstderr:\n  " + "\n  ".join(self.lines["stderr"])

    def stop(self) -> None:
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=WAIT_SECONDS)
        for reader in self.readers:
            reader.join(timeout=WAIT_SECONDS)


def save(path: Path, text: str, write_time: float) -> None:
    path.write_bytes(text.encode())
    os.utime(path, (write_time, write_time))


def check(condition: bool, message: str, process: WatchedProcess) -> None:
    if not condition:
        raise AssertionError(f"{message}\n{process.transcript()}")


def test_rerun_on_save(velmor: str, folder: Path) -> None:
    """Missing file, first run, a save with a syntax error, then a fixed save with an older time."""
    program = folder / "program.vlm"
    process = WatchedProcess([velmor, "--watch", program.name], folder)
    try:
        process.wait_for("the watching line", lambda lines: len(lines["stdout"]) >= 1)
        check(
            process.lines["stdout"][0] == "velmor: watching program.vlm -- save to re-run, Ctrl-C to stop",
            "unexpected first line",
            process,
        )
        time.sleep(0.5)
        check(process.runs_seen() == 0, "a run happened before the file existed", process)

        base = time.time() - 1000
        save(program, 'let greeting = "first"\nprint(greeting)\n', base)
        process.wait_for("the first run", lambda lines: "first" in lines["stdout"])

        save(program, "print(1)\nlet x = = 2\n", base + 50)
        process.wait_for(
            "the syntax error of the second save",
            lambda lines: any(line.startswith("  --> program.vlm:2:") for line in lines["stderr"]),
        )
        check(process.lines["stderr"][0].startswith("SyntaxError: "), "no syntax error label", process)
        check("1" not in process.lines["stdout"], "a program with a syntax error ran", process)

        # Any change of the time counts, also one back in time. A fresh engine
        # per run means the earlier run's global is gone.
        save(program, "print(is_nil(greeting))\n", base - 50)
        process.wait_for("the third run", lambda lines: process.runs_seen() >= 3 and len(lines["stderr"]) >= 5)
        check(
            any(line.startswith("RuntimeError: ") for line in process.lines["stderr"][3:]),
            "a global survived from an earlier run",
            process,
        )

        save(program, "print(6 * 7)\n", base + 100)
        process.wait_for("the fixed run", lambda lines: "42" in lines["stdout"])
        time.sleep(1.0)
        check(process.runs_seen() == 4, "runs without a change of the file", process)
        expected_shape = ["WATCHING", "", "SEP", "first", "", "SEP", "", "SEP", "", "SEP", "42"]
        actual_shape = ["SEP" if SEPARATOR.fullmatch(line) else line for line in process.lines["stdout"]]
        actual_shape[0] = "WATCHING"  # checked exactly above
        check(actual_shape == expected_shape, f"unexpected output shape {actual_shape}", process)
    finally:
        process.stop()


def test_hotreload_pragma(velmor: str, folder: Path) -> None:
    """A file run whose header asks for reloading enters watch mode after its pragma check."""
    program = folder / "hot.vlm"
    save(program, "#pragma hotreload\n#pragma shiny\nprint(\"hot\")\n", time.time() - 500)
    process = WatchedProcess([velmor, "--tree", program.name], folder)
    try:
        warning = "velmor: warning: unknown pragma 'shiny' at hot.vlm:2"
        process.wait_for(
            "the first run", lambda lines: "hot" in lines["stdout"] and lines["stderr"].count(warning) >= 2
        )
        stdout = process.lines["stdout"]
        check(stdout[0] == "velmor: watching hot.vlm -- save to re-run, Ctrl-C to stop", "no watching line", process)
        check(SEPARATOR.fullmatch(stdout[2]) is not None, "no separator before the first run", process)
        # Checked once by the file run and again by watch mode's first run.
        check(process.lines["stderr"].count(warning) == 2, "the warning is not given on both checks", process)
    finally:
        process.stop()


def as_unprivileged_user(folder: Path):
    """Permissions bind root too little to make a file unreadable, so as root
    the watcher runs as nobody (the folder opened to it); otherwise as is."""
    if os.geteuid() != 0:
        return None
    os.chmod(folder, 0o777)
    nobody = 65534

    def drop() -> None:
        os.setgroups([])
        os.setgid(nobody)
        os.setuid(nobody)

    return drop


def test_unreadable_save(velmor: str, folder: Path) -> None:
    """A save that cannot be read at first is reported once and runs as soon
    as it can be read, although making it readable changes neither its time nor its size."""
    program = folder / "locked.vlm"
    save(program, 'print("opened")\n', time.time() - 500)
    os.chmod(program, 0)
    process = WatchedProcess([velmor, "--watch", program.name], folder, as_unprivileged_user(folder))
    try:
        message = "velmor: cannot open locked.vlm"
        process.wait_for("the cannot-open report", lambda lines: message in lines["stderr"])
        time.sleep(1.0)
        check(process.lines["stderr"] == [message], "not reported exactly once", process)
        check(process.runs_seen() == 0, "an unreadable file ran", process)
        os.chmod(program, 0o644)
        process.wait_for("the run once readable", lambda lines: "opened" in lines["stdout"])
        time.sleep(0.6)
        check(process.runs_seen() == 1, "more than one run of one save", process)
    finally:
        process.stop()


def test_same_time_new_size(velmor: str, folder: Path) -> None:
    """A save that keeps the last-write time (a coarse clock) but changes the size runs."""
    program = folder / "sized.vlm"
    stamp = time.time() - 500
    save(program, "print(1)\n", stamp)
    process = WatchedProcess([velmor, "--watch", program.name], folder)
    try:
        process.wait_for("the first run", lambda lines: "1" in lines["stdout"])
        save(program, "print(1 + 1)\n", stamp)
        process.wait_for("the run of the longer save", lambda lines: "2" in lines["stdout"])
    finally:
        process.stop()


def test_load_out_of_memory(velmor: str, folder: Path) -> None:
    """Running out of memory while loading a save is reported and watching goes on."""
    program = folder / "huge.vlm"
    cap = 192 << 20
    with open(program, "wb") as f:
        f.truncate(cap + (64 << 20))  # sparse: made at once, read as zeros
    os.utime(program, (time.time() - 500,) * 2)

    def limit() -> None:
        resource.setrlimit(resource.RLIMIT_AS, (cap, cap))

    process = WatchedProcess([velmor, "--watch", program.name], folder, limit)
    try:
        process.wait_for("the report", lambda lines: "RuntimeError: out of memory" in lines["stderr"])
        save(program, 'print("after")\n', time.time() - 400)
        process.wait_for("the next save's run", lambda lines: "after" in lines["stdout"])
        check(process.runs_seen() == 2, "the failed load is not shown as a run", process)
    finally:
        process.stop()


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--sanitized", action="store_true",
                        help="velmor is built with AddressSanitizer, whose shadow memory no address-space cap leaves room for")
    options = parser.parse_args()
    velmor = os.path.abspath(options.velmor)
    tests = [test_rerun_on_save, test_hotreload_pragma, test_unreadable_save, test_same_time_new_size]
    if not options.sanitized:
        tests.append(test_load_out_of_memory)
    passed = failed = 0
    for test in tests:
        with tempfile.TemporaryDirectory(prefix="velmor-watch-") as folder:
            try:
                test(velmor, Path(folder))
                passed += 1
                print(f"PASS {test.__name__}")
            except AssertionError as failure:
                failed += 1
                print(f"FAIL {test.__name__}: {failure}")
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
