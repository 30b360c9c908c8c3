#!/usr/bin/env python3
"""Runs the benchmark suite on velmor and its peers side by side.

Every benchmark in bench/programs exists as NAME.vlm, NAME.lua and NAME.py,
doing the same work and printing the same result. Each round runs every
program once on every runtime back to back (in reverse order every other
round), so that a noisy machine disturbs all of them alike; the table
reports the median time of the rounds, and each ratio (velmor/Lua,
velmor/Python, tree-walker/Python) is the median of the ratios of the runs
made side by side in each round, which a slow spell of the machine changes
far less than a ratio of medians. Geometric means summarise the ratios.
Outputs are compared (white space folded) and a mismatch is reported.

Usage: bench/run.py [--runs N] [--only NAME,...] [--no-build] [--velmor PATH]
                    [--tree] [--markdown FILE]
"""

import argparse
import math
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import time
from datetime import date

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = os.path.join(ROOT, "bench", "programs")


def build_release():
    subprocess.run(["cmake", "--preset", "release"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "release"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)


def timed(command, timeout):
    start = time.perf_counter()
    try:
        done = subprocess.run(command, cwd=PROGRAMS, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None, "timeout"
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        return None, "exit %d: %s" % (done.returncode, done.stderr.decode(errors="replace").strip()[:200])
    return elapsed, " ".join(done.stdout.decode(errors="replace").split())


def geometric_mean(values):
    values = [v for v in values if v and v > 0]
    if not values:
        return float("nan")
    return math.exp(sum(math.log(v) for v in values) / len(values))


def bench_mode_ratio(velmor, name, timeout):
    """tree-walker time / VM time as `velmor --bench` reports it."""
    try:
        done = subprocess.run([velmor, "--bench", name + ".vlm"], cwd=PROGRAMS, capture_output=True,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    match = re.search(r"speedup:\s+([0-9.e+]+)x", done.stdout.decode())
    return float(match.group(1)) if match else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--only", default="")
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--velmor", default=os.path.join(ROOT, "build", "release", "velmor"))
    parser.add_argument("--tree", action="store_true", help="also time the tree-walker (velmor --tree)")
    parser.add_argument("--bench-mode", action="store_true", help="also run velmor --bench for the tree/VM ratio")
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--markdown", help="append the results as a markdown table to this file")
    args = parser.parse_args()

    if not args.no_build:
        build_release()
    velmor = os.path.abspath(args.velmor)

    runtimes = [("velmor", lambda n: [velmor, n + ".vlm"])]
    if args.tree:
        runtimes.append(("tree", lambda n: [velmor, "--tree", n + ".vlm"]))
    for label, exe, extra, ext in (("lua5.4", "lua5.4", [], ".lua"), ("luajit", "luajit", ["-joff"], ".lua"),
                                   ("python3", "python3", [], ".py")):
        if shutil.which(exe):
            runtimes.append((label, lambda n, exe=exe, extra=extra, ext=ext: [exe] + extra + [n + ext]))
        else:
            print("note: %s not found, skipped" % exe, file=sys.stderr)

    names = sorted(f[:-4] for f in os.listdir(PROGRAMS) if f.endswith(".vlm"))
    if args.only:
        wanted = set(args.only.split(","))
        names = [n for n in names if n in wanted]

    times = {(n, r): [] for n in names for r, _ in runtimes}
    # Per benchmark and round, the time of each runtime in that round.
    rounds = {n: [] for n in names}
    outputs = {}
    failures = []
    for round_number in range(args.runs):
        order = runtimes if round_number % 2 == 0 else runtimes[::-1]
        for name in names:
            this_round = {}
            for label, command in order:
                elapsed, output = timed(command(name), args.timeout)
                if elapsed is None:
                    failures.append("%s on %s: %s" % (name, label, output))
                    continue
                times[(name, label)].append(elapsed)
                this_round[label] = elapsed
                outputs.setdefault(name, {})[label] = output
            rounds[name].append(this_round)
        print("round %d of %d done" % (round_number + 1, args.runs), file=sys.stderr)

    labels = [label for label, _ in runtimes]
    median = {key: statistics.median(v) if v else None for key, v in times.items()}

    def paired_ratio(name, numerator, denominator):
        """The median over the rounds of numerator's time / denominator's time in the same round."""
        ratios = [r[numerator] / r[denominator] for r in rounds[name] if numerator in r and denominator in r]
        return statistics.median(ratios) if ratios else None

    header = ["benchmark"] + labels + ["velmor/lua", "velmor/python"]
    if args.bench_mode:
        header.append("tree/vm")
    rows = []
    lua_ratios, python_ratios, tree_python_ratios, bench_ratios = [], [], [], []
    mismatches = []
    for name in names:
        row = [name]
        for label in labels:
            t = median[(name, label)]
            row.append("%.3f" % t if t is not None else "-")
        lr = paired_ratio(name, "velmor", "lua5.4")
        pr = paired_ratio(name, "velmor", "python3")
        if lr:
            lua_ratios.append(lr)
        if pr:
            python_ratios.append(pr)
        tpr = paired_ratio(name, "tree", "python3")
        if tpr:
            tree_python_ratios.append(tpr)
        row += ["%.2f" % lr if lr else "-", "%.2f" % pr if pr else "-"]
        if args.bench_mode:
            ratio = bench_mode_ratio(velmor, name, args.timeout * 12)
            if ratio:
                bench_ratios.append(ratio)
            row.append("%.2f" % ratio if ratio else "-")
        rows.append(row)
        seen = outputs.get(name, {})
        if len(set(seen.values())) > 1:
            mismatches.append("%s: %s" % (name, "; ".join("%s=%r" % item for item in seen.items())))

    widths = [max(len(str(x)) for x in col) for col in zip(header, *rows)]
    line = lambda cells: "  ".join(str(c).rjust(w) for c, w in zip(cells, widths))
    print(line(header))
    for row in rows:
        print(line(row))
    summary = [
        "geometric mean velmor/lua5.4: %.2f" % geometric_mean(lua_ratios),
        "geometric mean velmor/python3: %.2f" % geometric_mean(python_ratios),
    ]
    if tree_python_ratios:
        summary.append("geometric mean tree-walker/python3: %.2f" % geometric_mean(tree_python_ratios))
    if bench_ratios:
        summary.append("geometric mean velmor --bench speedup (tree/vm): %.2f" % geometric_mean(bench_ratios))
    for s in summary:
        print(s)
    for m in mismatches:
        print("OUTPUT MISMATCH " + m)
    for f in failures:
        print("FAILED " + f)

    if args.markdown:
        with open(args.markdown, "a") as out:
            out.write("\n## Results of %s on %s (%s, %d cores), median of %d runs, seconds; ratios are medians"
                      " of the side-by-side ratios of each round\n\n"
                      % (date.today().isoformat(), platform.node() or "this machine", platform.machine(),
                         os.cpu_count() or 0, args.runs))
            out.write("| " + " | ".join(header) + " |\n")
            out.write("|" + "---|" * len(header) + "\n")
            for row in rows:
                out.write("| " + " | ".join(row) + " |\n")
            out.write("\n" + "\n".join("- " + s for s in summary) + "\n")
            for m in mismatches:
                out.write("- output mismatch: %s\n" % m)
            for f in failures:
                out.write("- failed: %s\n" % f)
    return 1 if mismatches or failures else 0


if __name__ == "__main__":
    sys.exit(main())
