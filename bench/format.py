#!/usr/bin/env python3
"""Times `velmor --format -` on a generated 5,000-line program.

The program is built deterministically from blocks of every kind (functions
with nested if/elif/else, while, both for loops, try/catch, multi-line list
and map literals, interpolated strings, comments on their own lines and
after code), written badly: indentation stripped or wrong, spacing squeezed
and doubled, blank lines in runs. Each run formats it from standard input;
the median and the fastest of the runs are printed, with the time of
`velmor --version` (process start alone) for comparison.

Usage: bench/format.py [--velmor build/release/velmor] [--lines 5000] [--runs 21] [--save FILE]
"""

import argparse
import random
import resource
import statistics
import subprocess
import sys
import time


def block(rng, n):
    pad = lambda: rng.choice(["", " ", "  ", "\t", "      "])
    lines = [
        "# block %d: a function, its loops and its error handling" % n,
        "function step%d(a,b)   # two numbers" % n,
        pad() + "let total=a+b*%d" % n,
        pad() + "let seen = [ ]",
        pad() + "if total>10 then",
        pad() + "push( seen , total )",
        pad() + "elif total == -1 then return nil",
        pad() + "else",
        pad() + "  total -= 1",
        pad() + "end",
        pad() + "for i=1,3 do",
        pad() + "if i%2==0 then continue end",
        pad() + "total+=i^2",
        pad() + "end",
        "",
        "",
        pad() + "let m = {name: \"n%d\",   [str(a)]: b," % n,
        pad() + "  \"k\": [1,",
        pad() + "2],",
        pad() + "}",
        pad() + "for key in keys(m) do print(\"${key} = ${m[key]}\") end",
        pad() + "while len(seen)<3 do push(seen,-len(seen)) end",
        pad() + "try",
        pad() + "let x = seen[10]   # out of range",
        pad() + "catch problem",
        pad() + "    # own-line comment inside the handler",
        pad() + "print('caught', problem)",
        pad() + "end",
        pad() + "return [a, b, \"n%d: ${total}\", function(y) return y*2 end]" % n,
        "end",
        "print(step%d(%d, %d.5)[0])" % (n, n, n),
    ]
    return lines


def program(lines_wanted, seed):
    rng = random.Random(seed)
    lines = []
    n = 0
    while len(lines) < lines_wanted:
        lines += block(rng, n)
        n += 1
    return ("\n".join(lines) + "\n").encode()  # whole blocks, so that it parses


def cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(args, stdin):
    """Wall-clock milliseconds, the run, and the child's processor milliseconds
    (user and system), which a machine busy with other work inflates less."""
    start, used = time.perf_counter(), cpu()
    done = subprocess.run(args, input=stdin, capture_output=True)
    elapsed = (time.perf_counter() - start) * 1000
    timed.cpu = (cpu() - used) * 1000
    return elapsed, done


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", default="build/release/velmor")
    parser.add_argument("--lines", type=int, default=5000)
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--save", help="also write the generated program here")
    args = parser.parse_args()
    source = program(args.lines, 5)
    _, done = timed([args.velmor, "--format", "-"], source)
    if done.returncode != 0:
        print("the generated program does not format:\n" + done.stderr.decode(errors="replace"))
        return 1
    if args.save:
        with open(args.save, "wb") as f:
            f.write(source)
    formatted = done.stdout
    _, again = timed([args.velmor, "--format", "-"], formatted)
    if again.stdout != formatted:
        print("formatting is not idempotent on the generated program")
        return 1
    runs, processor = [], []
    for _ in range(args.runs):
        runs.append(timed([args.velmor, "--format", "-"], source)[0])
        processor.append(timed.cpu)
    start = [timed([args.velmor, "--version"], b"")[0] for _ in range(args.runs)]
    lines = source.count(b"\n")
    print("velmor --format -: %d lines, %d bytes in, %d lines out: median %.1f ms, fastest %.1f ms over %d runs"
          % (lines, len(source), formatted.count(b"\n"), statistics.median(runs), min(runs), len(runs)))
    print("  processor time (user + system): median %.1f ms, least %.1f ms"
          % (statistics.median(processor), min(processor)))
    print("velmor --version (process start): median %.1f ms" % statistics.median(start))
    return 0


if __name__ == "__main__":
    sys.exit(main())
