#!/usr/bin/env python3
"""Checks that the cost of common patterns grows with their work.

Each case is a small program that repeats one pattern N times: string
appends in every form (`s += x`, `s = s + x`, `s = "${s}y"`, and the chains
`s = s + x + ","` and `s = "${s}${x},"`) on a global, a
local, a captured variable, a list element and a map field; pushes, pops,
list concatenation, map inserts and deletes, join and split, walks over lists, maps and
strings, and sorts. Every case runs at N and at 4N on each engine, and the
report gives time(4N) / time(N): about 4 for a pattern whose cost is linear
in its work (somewhat more for sort, N log N), and far more for one that is
quadratic. The target is at most 6 for every case and engine.

The engines: `velmor --vm` and `velmor --tree` of the release build, and,
when it is there, `velmor-plain` (the same program with the fast paths off,
built only with the tests) on both engines. `--build` makes the release
build and a release build of `velmor-plain` in build/release-plain.

Times are the best of --runs whole-process runs (start-up included), so
a slow spell of the machine moves them as little as it can. The programs
print a small result, which must agree between the engines.

Usage: bench/scaling.py [--build] [--runs N] [--scale F] [--only NAME,...]
                        [--velmor PATH] [--plain PATH] [--timeout S]
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The place that each append form grows, as a statement template on the
# name S and loop counter i, and how each scope declares and reads it.
APPEND_FORMS = {
    "+=": 'S += "x"',
    "s+x": "S = S + str(i % 10)",
    "interp": 'S = "${S}y"',
    "chain": 'S = S + str(i % 10) + ","',
    "interp2": 'S = "${S}${i % 10},"',
}
APPEND_SCOPES = {
    # scope: (program, with BODY the loop statement and {n} the count)
    "global": 'let s = ""\nfor i = 1, {n} do\n  BODY\nend\nprint(len(s))\n',
    "local": 'function f(n)\n  let s = ""\n  for i = 1, n do\n    BODY\n  end\n  return len(s)\nend\nprint(f({n}))\n',
    "upvalue": ('function f(n)\n  let s = ""\n  let grow = function(i)\n    BODY\n  end\n'
                '  for i = 1, n do grow(i) end\n  return len(s)\nend\nprint(f({n}))\n'),
    "element": 'let l = [0, ""]\nfor i = 1, {n} do\n  BODY\nend\nprint(len(l[1]))\n',
    "field": 'let m = {"n": 0, "s": ""}\nfor i = 1, {n} do\n  BODY\nend\nprint(len(m.s))\n',
}
APPEND_NAMES = {"global": "s", "local": "s", "upvalue": "s", "element": "l[1]", "field": "m.s"}

# Builds a list of n pseudo-random Ints below 2^31 into `l`.
RANDOM_LIST = ("let l = []\nlet seed = 12345\nfor i = 1, {n} do\n"
               "  seed = (seed * 1103515245 + 12345) % 2147483648\n  push(l, seed)\nend\n")

OTHER_CASES = {
    "push global": "let l = []\nfor i = 1, {n} do push(l, i) end\nprint(len(l))\n",
    "push local": ("function f(n)\n  let l = []\n  for i = 1, n do push(l, i) end\n  return len(l)\nend\n"
                   "print(f({n}))\n"),
    "pop": ("let l = range({n})\nlet total = 0\nwhile len(l) > 0 do total = total + pop(l) end\n"
            "print(total)\n"),
    "l = l + [x]": "let l = []\nfor i = 1, {n} do l = l + [i] end\nprint(len(l))\n",
    "l += [x]": "let l = []\nfor i = 1, {n} do l += [i] end\nprint(len(l))\n",
    "map insert str": ('let m = {}\nfor i = 1, {n} do m["k" + str(i)] = i end\nprint(len(m))\n'),
    "map insert int": "let m = {}\nfor i = 1, {n} do m[i] = i end\nprint(len(m))\n",
    "map delete": ("let m = {}\nfor i = 1, {n} do m[i] = i end\nfor i = 1, {n} do delete(m, i) end\n"
                   "print(len(m))\n"),
    "map field update": ('let m = {}\nfor i = 1, {n} do m["k" + str(i % 1000)] = i end\n'
                         'print(len(m))\n'),
    "join": ('let parts = []\nfor i = 1, {n} do push(parts, str(i % 10)) end\n'
             'let s = ""\nfor r = 1, 5 do s = join(parts, ",") end\nprint(len(s))\n'),
    "split": ('let parts = []\nfor i = 1, {n} do push(parts, str(i % 10)) end\nlet s = join(parts, ",")\n'
              'let pieces = []\nfor r = 1, 5 do pieces = split(s, ",") end\nprint(len(pieces))\n'),
    "walk list": ("let l = range({n})\nlet total = 0\nfor r = 1, 3 do\n  for x in l do total = total + x end\n"
                  "end\nprint(total)\n"),
    "walk map": ("let m = {}\nfor i = 1, {n} do m[i] = i end\nlet total = 0\n"
                 "for k in m do total = total + m[k] end\nprint(total)\n"),
    "walk string": ('let parts = []\nfor i = 1, {n} do push(parts, "a") end\nlet s = join(parts, "")\n'
                    'let count = 0\nfor c in s do if c == "a" then count = count + 1 end end\nprint(count)\n'),
    "walk index": ("let l = range({n})\nlet total = 0\nfor i = 0, len(l) - 1 do total = total + l[i] end\n"
                   "print(total)\n"),
    "keys values": ("let m = {}\nfor i = 1, {n} do m[i] = i end\n"
                    "print(len(keys(m)) + len(values(m)) + len(items(m)))\n"),
    "sort": RANDOM_LIST + "sort(l)\nprint(l[0] <= l[len(l) - 1])\n",
    "sort comparator": RANDOM_LIST + "sort(l, function(a, b) return a > b end)\nprint(l[0] >= l[len(l) - 1])\n",
    "sort strings": (RANDOM_LIST + "let words = []\nfor x in l do push(words, str(x)) end\n"
                     "sort(words)\nprint(len(words))\n"),
    "sort other comparator": (RANDOM_LIST + "sort(l, function(a, b)\n  if a % 7 != b % 7 then return a % 7 < b % 7 end\n"
                              "  return a < b\nend)\nprint(l[0] % 7 <= l[len(l) - 1] % 7)\n"),
}


def cases():
    """(name, program template with {n}, N) for every case."""
    out = []
    for form, statement in APPEND_FORMS.items():
        for scope, program in APPEND_SCOPES.items():
            body = statement.replace("S", APPEND_NAMES[scope])
            out.append(("append %s %s" % (form, scope), program.replace("BODY", body), 100_000))
    for name, program in OTHER_CASES.items():
        out.append((name, program, 100_000))
    return out


def build(plain_dir):
    quiet = {"cwd": ROOT, "check": True, "stdout": subprocess.DEVNULL}
    subprocess.run(["cmake", "--preset", "release"], **quiet)
    subprocess.run(["cmake", "--build", "--preset", "release", "--target", "velmor"], **quiet)
    # The release options with the tests on, for velmor-plain alone.
    subprocess.run(["cmake", "-S", ROOT, "-B", plain_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DVELMOR_TESTS=ON", "-DVELMOR_DEV_TOOLS=OFF"], **quiet)
    subprocess.run(["cmake", "--build", plain_dir, "--target", "velmor-plain"], **quiet)


def timed(command, path, runs, timeout):
    """Best time of `runs` runs and the output; time None after a timeout, output then the reason."""
    best, output = None, None
    for _ in range(runs):
        start = time.perf_counter()
        try:
            done = subprocess.run(command + [path], capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return None, "timeout"
        elapsed = time.perf_counter() - start
        if done.returncode != 0:
            first = (done.stderr.decode(errors="replace").strip().splitlines() or [""])[0]
            return None, "exit %d: %s" % (done.returncode, first[:120])
        output = done.stdout.decode(errors="replace").strip()
        best = elapsed if best is None else min(best, elapsed)
        if elapsed > timeout / 4:
            break  # slow enough to be measured once
    return best, output


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", action="store_true", help="build velmor and velmor-plain (release) first")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--scale", type=float, default=1.0, help="multiply every N by this")
    parser.add_argument("--only", default="", help="comma-separated substrings of case names")
    parser.add_argument("--velmor", default=os.path.join(ROOT, "build", "release", "velmor"))
    parser.add_argument("--plain", default=os.path.join(ROOT, "build", "release-plain", "velmor-plain"))
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--limit", type=float, default=6.0, help="the highest acceptable ratio")
    args = parser.parse_args()

    if args.build:
        build(os.path.dirname(os.path.abspath(args.plain)))
    engines = [("vm", [args.velmor, "--vm"]), ("tree", [args.velmor, "--tree"])]
    if os.path.exists(args.plain):
        engines += [("plain vm", [args.plain, "--vm"]), ("plain tree", [args.plain, "--tree"])]
    else:
        print("note: %s not found, the plain engines are skipped" % args.plain, file=sys.stderr)
    wanted = [w for w in args.only.split(",") if w]

    print("| case | N | " + " | ".join("%s N, 4N (s) | ratio" % label for label, _ in engines) + " |")
    print("|---|---|" + "---|---|" * len(engines))
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        for name, template, n in cases():
            if wanted and not any(w in name for w in wanted):
                continue
            n = max(1, int(n * args.scale))
            paths = []
            for count in (n, 4 * n):
                path = os.path.join(folder, "case-%d.vlm" % count)
                with open(path, "w") as out:
                    out.write(template.replace("{n}", str(count)))
                paths.append(path)
            cells, outputs = [], {}
            for label, command in engines:
                small, out_small = timed(command, paths[0], args.runs, args.timeout)
                large, out_large = timed(command, paths[1], args.runs, args.timeout)
                outputs.setdefault((out_small, out_large), []).append(label)
                if small is None or large is None:
                    cells.append("%s, %s | -" % ("%.3f" % small if small else out_small,
                                                  "%.3f" % large if large else "> %g" % args.timeout
                                                  if out_large == "timeout" else out_large))
                    failures.append("%s on %s" % (name, label))
                    continue
                ratio = large / small
                cells.append("%.3f, %.3f | %.1f%s" % (small, large, ratio, " !" if ratio > args.limit else ""))
                if ratio > args.limit:
                    failures.append("%s on %s: %.1f" % (name, label, ratio))
            if len(outputs) > 1:
                failures.append("%s: the engines disagree: %s" % (name, outputs))
            print("| %s | %d | %s |" % (name, n, " | ".join(cells)), flush=True)
    if failures:
        print("\nabove %g or failed:\n- %s" % (args.limit, "\n- ".join(failures)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
