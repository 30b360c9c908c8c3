#!/usr/bin/env python3
"""Runs the benchmark suite on velmor and its peers side by side.

Every benchmark in bench/programs exists as NAME.vlm, NAME.lua and NAME.py,
doing the same work and printing the same result. Each round runs every
program once on every runtime back to back (in reverse order every other
round), so that a noisy machine disturbs all of them alike; the table
reports the median time of the rounds, and each ratio (velmor/Lua 5.4,
velmor/LuaJIT -joff, velmor/Python, tree-walker/Python) is the median of the
ratios of the runs made side by side in each round, which a slow spell of
the machine changes far less than a ratio of medians. Geometric means
summarise the ratios. Outputs are compared (white space folded) and a
mismatch is reported.

A program that reads standard input (wordcount) gets a generated text,
written once into build/bench-data and reused by later runs.

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
DATA = os.path.join(ROOT, "build", "bench-data")


def wordcount_text(size):
    """A deterministic English-like text of at least `size` bytes: words from
    a made-up vocabulary of 6,000 with a skewed frequency (a few very common,
    most rare), capitalised after a full stop, some followed by a comma."""
    syllables = ["ka", "lo", "mi", "ne", "ru", "ta", "vo", "shi", "an", "el", "or", "us", "ben", "dra", "qui", "ste"]
    vocabulary = []
    for i in range(6000):
        word, n = "", i
        for _ in range(1 + i % 3):
            word += syllables[n % len(syllables)]
            n //= len(syllables)
        vocabulary.append(word + ("" if i < len(syllables) ** 2 else syllables[i % 7]))
    seed = 20261209
    lines, total, sentence_start = [], 0, True
    while total < size:
        words = []
        for _ in range(6 + seed % 9):
            seed = (seed * 1103515245 + 12345) % 2147483648
            r = seed / 2147483648
            word = vocabulary[int(len(vocabulary) * r * r * r)]
            if sentence_start:
                word = word.capitalize()
                sentence_start = False
            if seed % 11 == 0:
                word += ","
            elif seed % 13 == 0:
                word += "."
                sentence_start = True
            words.append(word)
        line = " ".join(words)
        lines.append(line)
        total += len(line) + 1
    return "\n".join(lines) + "\n"


# Benchmarks that read standard input: the file name in DATA and its generator.
# A change to a generator must change the file name, or old data is reused.
INPUTS = {
    "wordcount": ("wordcount-1.txt", lambda: wordcount_text(4_000_000)),
}


def input_file(name):
    """The path of the standard input for a benchmark, generated on first use; None if it reads none."""
    if name not in INPUTS:
        return None
    file_name, generate = INPUTS[name]
    path = os.path.join(DATA, file_name)
    if not os.path.exists(path):
        os.makedirs(DATA, exist_ok=True)
        partial = path + ".partial"
        with open(partial, "w", newline="\n") as out:
            out.write(generate())
        os.replace(partial, path)
    return path


def build_release():
    subprocess.run(["cmake", "--preset", "release"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "release"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)


def timed(command, timeout, stdin_path=None):
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    try:
        start = time.perf_counter()
        done = subprocess.run(command, cwd=PROGRAMS, stdin=stdin, capture_output=True, timeout=timeout)
        elapsed = time.perf_counter() - start
    except subprocess.TimeoutExpired:
        return None, "timeout"
    finally:
        if stdin_path:
            stdin.close()
    if done.returncode != 0:
        return None, "exit %d: %s" % (done.returncode, done.stderr.decode(errors="replace").strip()[:200])
    return elapsed, " ".join(done.stdout.decode(errors="replace").split())


def resolve_python(command):
    """The interpreter that `command` runs, as its own path.

    A version manager's shim (pyenv's `python3` is a shell script that starts
    another program, which then execs the interpreter) adds a fifth of a
    second of start-up to every run, which is not CPython's time. Asking the
    interpreter for sys.executable skips the wrapper."""
    path = shutil.which(command)
    if not path:
        return None
    try:
        done = subprocess.run([path, "-c", "import sys; print(sys.executable)"], capture_output=True, text=True,
                              timeout=60)
    except subprocess.TimeoutExpired:
        return path
    executable = done.stdout.strip()
    return executable if done.returncode == 0 and executable and os.path.isfile(executable) else path


def version_of(command):
    """The first line a runtime prints for its version, for the record of what was measured."""
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return "?"
    lines = (done.stdout + done.stderr).strip().splitlines()
    return re.split(r"\s+--\s+|\s+Copyright", lines[0].strip())[0] if lines else "?"


def geometric_mean(values):
    values = [v for v in values if v and v > 0]
    if not values:
        return float("nan")
    return math.exp(sum(math.log(v) for v in values) / len(values))


def bench_mode_ratio(velmor, name, timeout):
    """tree-walker time / VM time as `velmor --bench` reports it.

    None for a program that reads standard input: the first of the twelve runs
    of --bench would read all of it and the others none."""
    if name in INPUTS:
        return None
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
    parser.add_argument("--python", default="python3",
                        help="the CPython to compare with (default: python3 on PATH, past any shim)")
    args = parser.parse_args()

    if not args.no_build:
        build_release()
    velmor = os.path.abspath(args.velmor)

    runtimes = [("velmor", lambda n: [velmor, n + ".vlm"])]
    if args.tree:
        runtimes.append(("tree", lambda n: [velmor, "--tree", n + ".vlm"]))
    peers = []
    for label, exe, extra, ext, version in (
            ("lua5.4", shutil.which("lua5.4"), [], ".lua", ["-v"]),
            ("luajit", shutil.which("luajit"), ["-joff"], ".lua", ["-v"]),
            ("python3", resolve_python(args.python), [], ".py", ["--version"])):
        if exe:
            runtimes.append((label, lambda n, exe=exe, extra=extra, ext=ext: [exe] + extra + [n + ext]))
            peers.append("%s = %s (%s)" % (label, " ".join([exe] + extra), version_of([exe] + version)))
        else:
            print("note: %s not found, skipped" % label, file=sys.stderr)

    names = sorted(f[:-4] for f in os.listdir(PROGRAMS) if f.endswith(".vlm"))
    if args.only:
        wanted = set(args.only.split(","))
        names = [n for n in names if n in wanted]

    stdin_paths = {n: input_file(n) for n in names}
    # Other users of the machine move every time; the load average says how busy it was.
    load_before = os.getloadavg()
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
                elapsed, output = timed(command(name), args.timeout, stdin_paths[name])
                if elapsed is None:
                    failures.append("%s on %s: %s" % (name, label, output))
                    continue
                times[(name, label)].append(elapsed)
                this_round[label] = elapsed
                outputs.setdefault(name, {})[label] = output
            rounds[name].append(this_round)
        print("round %d of %d done" % (round_number + 1, args.runs), file=sys.stderr)

    load_after = os.getloadavg()
    labels = [label for label, _ in runtimes]
    median = {key: statistics.median(v) if v else None for key, v in times.items()}

    def paired_ratio(name, numerator, denominator):
        """The median over the rounds of numerator's time / denominator's time in the same round."""
        ratios = [r[numerator] / r[denominator] for r in rounds[name] if numerator in r and denominator in r]
        return statistics.median(ratios) if ratios else None

    # Each ratio column: its header, numerator, denominator; shown when both runtimes ran.
    ratio_columns = [(header, numerator, denominator)
                     for header, numerator, denominator in (("velmor/lua", "velmor", "lua5.4"),
                                                            ("velmor/luajit", "velmor", "luajit"),
                                                            ("velmor/python", "velmor", "python3"),
                                                            ("tree/python", "tree", "python3"))
                     if numerator in labels and denominator in labels]
    header = ["benchmark"] + labels + [column[0] for column in ratio_columns]
    if args.bench_mode:
        header.append("tree/vm")
    rows = []
    ratios = {column[0]: [] for column in ratio_columns}
    bench_ratios = []
    mismatches = []
    for name in names:
        row = [name]
        for label in labels:
            t = median[(name, label)]
            row.append("%.3f" % t if t is not None else "-")
        for column, numerator, denominator in ratio_columns:
            ratio = paired_ratio(name, numerator, denominator)
            if ratio:
                ratios[column].append(ratio)
            row.append("%.2f" % ratio if ratio else "-")
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
        "geometric mean velmor/lua5.4: %.2f" % geometric_mean(ratios.get("velmor/lua", [])),
        "geometric mean velmor/luajit -joff: %.2f" % geometric_mean(ratios.get("velmor/luajit", [])),
        "geometric mean velmor/python3: %.2f" % geometric_mean(ratios.get("velmor/python", [])),
    ]
    if ratios.get("tree/python"):
        summary.append("geometric mean tree-walker/python3: %.2f" % geometric_mean(ratios["tree/python"]))
    if bench_ratios:
        summary.append("geometric mean velmor --bench speedup (tree/vm): %.2f" % geometric_mean(bench_ratios))
    summary.append("peers: " + "; ".join(peers))
    summary.append("load average (1, 5, 15 min): %s before, %s after"
                   % (", ".join("%.2f" % x for x in load_before), ", ".join("%.2f" % x for x in load_after)))
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
