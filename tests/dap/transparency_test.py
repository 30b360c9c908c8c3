#!/usr/bin/env python3
"""A debugger changes nothing a program does: every script test and example
is run by `velmor --dap` on both engines, once straight through and once
stepped into line by line from its entry, and must print the same output and
report and end with the same status as `velmor FILE`. Every line a step stops
at must hold code. Bounded by time: programs are taken in a fixed order until
the time is spent.

Usage: transparency_test.py --velmor PATH [--seconds N] [-j N]
"""

import argparse
import concurrent.futures
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dapclient import DapClient, DapError  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
# Programs whose output depends on time, chance, input, arguments or the
# native stack (plain and fast engines reach different depths) are left out.
SKIPPED_WORDS = ("random", "randint", "clock", "input(", "# args:", "# stdin", "# engines:")
MAX_STEPS = 400


# The simple shapes every fast path meets, x = y + 1 with x and y each kind
# of variable, so that stepping through them shows any the debugger changes.
SHAPES = """let g = 1
let h = g + 1
h = g + 1
function params(p, q)
    p = q + 1
    let l = p + 1
    l = l + 1
    return l
end
function captures(u)
    let w = u + 1
    return function(v)
        u = w + 1
        w = u + v
        return u + w
    end
end
let f = captures(2)
for i = 1, 3 do
    let k = i + 1
    g = i + 1
    h = k + g
    k = h + 1
end
for item in [1, 2.5, "s"] do
    let t = item
    if type(t) == "number" then t = t + 1 end
end
print(g, h, params(1, 2), f(3), f(4))
"""


def programs(scratch):
    shapes = pathlib.Path(scratch) / "shapes.vlm"
    shapes.write_text(SHAPES, encoding="utf-8")
    found = [shapes]
    for folder in ("tests/scripts/language", "tests/scripts/builtins", "tests/scripts/errors", "tests/scripts/syntax",
                   "examples"):
        for path in sorted((ROOT / folder).rglob("*.vlm")):
            text = path.read_text(encoding="utf-8", errors="replace")
            if any(word in text for word in SKIPPED_WORDS) or path.with_suffix(".stdin").exists():
                continue
            if "depth" in path.name or "deep" in path.name or "overflow" in path.name or "recursion" in path.name:
                continue
            found.append(path)
    return found


def direct(velmor, engine, path):
    argv = [velmor] + (["--tree"] if engine == "tree" else []) + [str(path)]
    done = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, timeout=60, cwd=path.parent)
    return done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace"), done.returncode


def code_lines(path):
    lines = set()
    for number, text in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        stripped = text.strip()
        if stripped and not stripped.startswith("#"):
            lines.add(number)
    return lines


def next_stop(client):
    """Waits for the next stop ("stopped", taken) or the end ("exited", left for finish)."""
    def find():
        for index, message in enumerate(client.messages):
            if index in client.taken or message.get("type") != "event":
                continue
            if message.get("event") == "stopped":
                client.taken.add(index)
                return "stopped"
            if message.get("event") == "exited":
                return "exited"
        return None
    return client._wait_for(find, "a stop or the end of the program", None)


def debugged(velmor, engine, path, stepping):
    """(stdout, stderr, status, problems) of one session."""
    problems = []
    with DapClient([velmor, "--dap"], cwd=path.parent, timeout=30) as client:
        client.initialize("velmor")
        client.start({"program": str(path), "engine": engine, "stopOnEntry": stepping}, exception_filters=[])
        if stepping:
            allowed = code_lines(path)
            for steps in range(1, 1 << 30):
                if next_stop(client) == "exited":
                    break
                frame = client.stack(levels=1)[0]
                if frame["line"] not in allowed:
                    problems.append("stopped at line %d, which holds no code" % frame["line"])
                client.request("stepIn" if steps < MAX_STEPS else "continue", {"threadId": 1})
        status = client.finish()
        client.request("disconnect", {})
        return client.output("stdout"), client.output("stderr"), status, problems


def check(velmor, engine, path):
    expected = direct(velmor, engine, path)
    failures = []
    name = path.relative_to(ROOT) if path.is_relative_to(ROOT) else path.name
    for stepping in (False, True):
        where = "%s %s%s" % (name, engine, " stepped" if stepping else "")
        try:
            out, err, status, problems = debugged(velmor, engine, path, stepping)
        except DapError as error:
            failures.append("%s: %s" % (where, error))
            continue
        failures += [where + ": " + problem for problem in problems]
        if (out, err, status) != expected:
            failures.append("%s: got %r, expected %r" % (where, (out[-300:], err[-300:], status),
                                                         (expected[0][-300:], expected[1][-300:], expected[2])))
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("-j", "--jobs", type=int, default=2)
    args = parser.parse_args()
    args.velmor = os.path.abspath(args.velmor)
    deadline = time.monotonic() + args.seconds
    scratch = tempfile.mkdtemp(prefix="velmor-dap-")
    todo = [(engine, path) for path in programs(scratch) for engine in ("vm", "tree")]
    failures = []
    checked = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        pending = set()
        for engine, path in todo:
            if time.monotonic() > deadline:
                break
            pending.add(pool.submit(check, args.velmor, engine, path))
            if len(pending) >= args.jobs * 2:
                finished, pending = concurrent.futures.wait(pending, return_when=concurrent.futures.FIRST_COMPLETED)
                for job in finished:
                    failures += job.result()
                    checked += 1
        for job in concurrent.futures.as_completed(pending):
            failures += job.result()
            checked += 1
    shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print("FAIL " + failure)
    print("%d of %d program runs checked under the debugger, %d differences" % (checked, len(todo), len(failures)))
    if checked < min(len(todo), 20):
        print("too few programs checked in the time given")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
