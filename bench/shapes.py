#!/usr/bin/env python3
"""Measures what the engine charges for writing the same statement differently.

A family is a set of variants that do the same work written in different
ways: `x = x + i % 7` against `x = i % 7 + x`, `x += e` against `x = x + e`,
a temporary against a nested read, a local against a global or a captured
variable, and so on. Each variant is a loop statement with the declarations
it needs; the script generates a program that runs the statement in a loop
of N passes and one of 2N passes, counts the machine instructions of each
whole run with callgrind, and reports

    instructions per pass = (Ir(2N) - Ir(N)) / N

so that start-up, compilation and the setup outside the loop cancel out.
The table gives each variant's count, its count less that of an empty pass
of the same loop, and its ratio to the cheapest variant of its family; a
ratio above the target (1.25) is marked. Every variant of a family must
print the same result at each N, which catches a variant that does not do
the family's work; a failure or a disagreement makes the exit status 1.

Every loop sits in a function `run(n)`, so that its counter is a local; a
local of a variant is a local of `run`, a global is declared at the top
level, and a captured variable is a local of `run` that the loop reaches
from a closure the loop sits in (the variant's other locals are then the
closure's, and the closure returns the result).

`--only` takes family names, or the first word of several ("compound").
Instruction counts do not depend on the machine's load, so `--jobs`
programs run at once.

Usage: bench/shapes.py [--only FAMILY,...] [--tree] [--velmor PATH]
                       [--markdown FILE] [--n N] [--jobs J] [--target R]
"""

import argparse
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile
from datetime import date

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

LOOP = "for i = 1, n do\nBODY\nend"


def variant(body, names, result=None, loop=LOOP):
    """A variant: `body` the loop statement (lines split by newlines); `names`
    a list of (name, where, declaration) with where "local", "global" or
    "upvalue" and the declaration a `let` initialiser or a whole `function`
    statement; `result` what `run` returns, else the family's; `loop` the
    loop around BODY, with `n` the number of passes."""
    return {"body": body, "names": names, "result": result, "loop": loop}


def declaration(name, code):
    return code if code.startswith("function ") else "let %s = %s" % (name, code)


def program(v, result, n):
    """The text of the program that runs variant v for n passes."""
    captured = any(where == "upvalue" for _, where, _ in v["names"])
    top, outer, inner = [], [], []
    for name, where, code in v["names"]:
        line = declaration(name, code)
        if where == "global":
            top.append(line)
        elif where == "upvalue" or not captured:
            outer.append(line)
        else:
            inner.append(line)
    body = ["  " + line for line in v["body"].split("\n")]
    loop = []
    for line in v["loop"].split("\n"):
        loop.extend(body if line == "BODY" else [line])
    lines = top + ["function run(n)"] + ["  " + line for line in outer]
    if captured:
        lines.append("  let pass = function(n)")
        lines += ["    " + line for line in inner + loop]
        lines += ["    return %s" % (v["result"] or result), "  end", "  return pass(n)"]
    else:
        lines += ["  " + line for line in loop] + ["  return %s" % (v["result"] or result)]
    lines += ["end", "print(run(%d))" % n]
    return "\n".join(lines) + "\n"


def label(v):
    """The variant as the table shows it: its statement and where its names live."""
    text = v["body"] if v["loop"] == LOOP else v["loop"].replace("BODY", v["body"])
    source = ""
    for line in text.split("\n"):
        line = line.strip()
        if source:
            source += " " if source.endswith((" do", " then")) or line == "end" else "; "
        source += line
    where = ", ".join("%s %s%s" % (name, where, " by `function`" if code.startswith("function ") else "")
                      for name, where, code in v["names"])
    return "`%s`%s" % (source, " (%s)" % where if where else "")


def operands():
    """x = x + i % 7 and x = i % 7 + x, for x and the seven in every place."""
    out = []
    for x in ("local", "global", "upvalue"):
        for seven in ("constant", "local", "global"):
            names = [("x", x, "0")] + ([] if seven == "constant" else [("seven", seven, "7")])
            k = "7" if seven == "constant" else "seven"
            for form in ("x = x + i % K", "x = i % K + x"):
                out.append(variant(form.replace("K", k), names))
    return out


def compound(place):
    """x += e against x = x + e for a variable, a field or an element."""
    out = []
    for where in ("local", "global", "upvalue"):
        if place == "variable":
            for form in ("x += i % 7", "x = x + i % 7"):
                out.append(variant(form, [("x", where, "0")]))
        elif place == "field":
            for form in ("p.x += i % 7", "p.x = p.x + i % 7"):
                out.append(variant(form, [("p", where, "{x: 0, y: 0}")]))
        else:
            for form in ("a[k] += i % 7", "a[k] = a[k] + i % 7"):
                out.append(variant(form, [("a", where, "[0, 0, 0]"), ("k", "local", "1")]))
    if place == "element":
        for form in ("a[1] += i % 7", "a[1] = a[1] + i % 7"):
            out.append(variant(form, [("a", "local", "[0, 0, 0]")]))
    return out


def temp_field():
    """A field read into a temporary first, or read where it is used."""
    out = []
    for where in ("local", "global", "upvalue"):
        names = [("p", where, "{x: 5, y: 1}"), ("q", where, "{x: 2, y: 7}"), ("d", "local", "0")]
        for form in ("d = p.x - q.x", "let t = p.x\nd = t - q.x", "let t = p.x\nlet u = q.x\nd = t - u"):
            out.append(variant(form, names))
    return out


def grid_read():
    """grid[r][c] read in one expression, through a row, or with index temporaries."""
    out = []
    for where in ("local", "global", "upvalue"):
        names = [("grid", where, "[[1, 2, 3, 4], [5, 6, 7, 8], [9, 10, 11, 12]]"),
                 ("s", "local", "0")]
        for form in ("s = s + grid[i % 3][i % 4]", "s += grid[i % 3][i % 4]",
                     "let row = grid[i % 3]\ns = s + row[i % 4]",
                     "let r = i % 3\nlet c = i % 4\ns = s + grid[r][c]"):
            out.append(variant(form, names))
    return out


def truth():
    """A boolean element tested as it is or compared with true."""
    out = []
    for where in ("local", "global"):
        names = [("flags", where, "[true, false, true, true, false, false, true, false]"), ("c", "local", "0")]
        for form in ("if flags[i % 8] == true then c = c + 1 end", "if flags[i % 8] then c = c + 1 end",
                     "if true == flags[i % 8] then c = c + 1 end", "if flags[i % 8] != false then c = c + 1 end",
                     "let f = flags[i % 8]\nif f then c = c + 1 end"):
            out.append(variant(form, names))
    return out


def bound():
    """A value compared with a bound that is a constant, a local or a global."""
    out = []
    for where in ("constant", "local", "global"):
        names = [("c", "local", "0")] + ([] if where == "constant" else [("m", where, "5")])
        m = "5" if where == "constant" else "m"
        for form in ("let x = i % 10\nif x < M then c = c + 1 end", "let x = i % 10\nif M > x then c = c + 1 end",
                     "if i % 10 < M then c = c + 1 end"):
            out.append(variant(form.replace("M", m), names))
    return out


def loops():
    """The same count written as a numeric for and as while loops."""
    s = [("s", "local", "0")]
    return [
        variant("s = s + i", s),
        variant("s = s + i", s, loop="for i = 1, n, 1 do\nBODY\nend"),
        variant("s = s + i", s, loop="let i = 1\nwhile i <= n do\nBODY\ni = i + 1\nend"),
        variant("s = s + i", s, loop="let i = 1\nwhile i <= n do\nBODY\ni += 1\nend"),
        variant("s = s + i", s, loop="let i = 0\nwhile i < n do\ni = i + 1\nBODY\nend"),
        variant("s = s + i", s + [("limit", "global", "0")],
                loop="limit = n\nlet i = 1\nwhile i <= limit do\nBODY\ni = i + 1\nend"),
        variant("s = s + i", s, loop="let i = 1\nwhile true do\nif i > n then break end\nBODY\ni = i + 1\nend"),
    ]


def field_update():
    """A field updated by a product, the field first, last or compound."""
    out = []
    for where in ("local", "global", "upvalue"):
        names = [("p", where, "{x: 0, y: 0}"), ("dx", "local", "3"), ("k", "local", "2")]
        for form in ("p.x = dx * k + p.x", "p.x = p.x + dx * k", "p.x += dx * k", "let t = dx * k\np.x = p.x + t"):
            out.append(variant(form, names))
    return out


def element_update():
    """An element incremented in place, expanded, compound or with its index in a temporary."""
    out = []
    for where in ("local", "global", "upvalue"):
        names = [("a", where, "[0, 0, 0, 0, 0, 0, 0, 0, 0, 0]")]
        for form in ("a[i % 10] = a[i % 10] + 1", "a[i % 10] += 1", "a[i % 10] = 1 + a[i % 10]",
                     "let j = i % 10\na[j] = a[j] + 1", "let j = i % 10\na[j] += 1"):
            out.append(variant(form, names))
    return out


def calls():
    """One function of one argument, reached in different ways."""
    f = "function(v) return v % 7 end"
    x = ("x", "local", "0")
    return [
        variant("x = x + f(i)", [x, ("f", "local", f)]),
        variant("x += f(i)", [x, ("f", "local", f)]),
        variant("x = x + f(i)", [x, ("f", "local", "function f(v) return v % 7 end")]),
        variant("x = x + f(i)", [x, ("f", "global", f)]),
        variant("x = x + f(i)", [x, ("f", "global", "function f(v) return v % 7 end")]),
        variant("x = x + f(i)", [x, ("f", "upvalue", f)]),
        variant("x = x + obj.f(i)", [x, ("obj", "local", "{f: %s}" % f)]),
        variant("x = x + obj.f(i)", [x, ("obj", "global", "{f: %s}" % f)]),
        variant("x = x + fs[0](i)", [x, ("fs", "local", "[%s]" % f)]),
        variant("x = x + fs[0](i)", [x, ("fs", "global", "[%s]" % f)]),
    ]


# family: (what run returns, variants)
FAMILIES = {
    "operands": ("x", operands()),
    "compound variable": ("x", compound("variable")),
    "compound field": ("p.x", compound("field")),
    "compound element": ("a[1]", compound("element")),
    "temp field": ("d", temp_field()),
    "grid read": ("s", grid_read()),
    "truth": ("c", truth()),
    "bound": ("c", bound()),
    "loops": ("s", loops()),
    "field update": ("p.x", field_update()),
    "element update": ("a", element_update()),
    "calls": ("x", calls()),
}

EMPTY = variant("", [])


def instructions(command, path):
    """Ir of one run under callgrind and the program's output; a failure raises."""
    done = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + command + [path],
                          capture_output=True)
    stderr = done.stderr.decode(errors="replace")
    if done.returncode != 0:
        lines = [line for line in stderr.splitlines() if not line.startswith("==")]
        raise RuntimeError("exit %d: %s" % (done.returncode, (lines or [""])[0][:160]))
    found = re.search(r"^==\d+== Collected : (\d+)", stderr, re.MULTILINE)
    if not found:
        raise RuntimeError("no instruction count in callgrind's report")
    return int(found.group(1)), done.stdout.decode(errors="replace").strip()


def measure(command, folder, key, v, result, n):
    """(instructions per pass, outputs at N and 2N) of one variant."""
    counts, outputs = [], []
    for passes in (n, 2 * n):
        path = os.path.join(folder, "%s-%d.vlm" % (key, passes))
        with open(path, "w") as out:
            out.write(program(v, result, passes))
        count, output = instructions(command, path)
        counts.append(count)
        outputs.append(output)
    return (counts[1] - counts[0]) / n, tuple(outputs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", default="", help="comma-separated family names")
    parser.add_argument("--tree", action="store_true", help="run the tree-walker instead of the VM")
    parser.add_argument("--velmor", default=os.path.join(ROOT, "build", "release", "velmor"))
    parser.add_argument("--markdown", help="append the table to this file")
    parser.add_argument("--n", type=int, default=20_000, help="passes of the shorter run")
    parser.add_argument("--jobs", type=int, default=2, help="programs run at once (counts do not depend on it)")
    parser.add_argument("--target", type=float, default=1.25, help="the highest acceptable ratio")
    args = parser.parse_args()

    # A name selects its family, and the first word of several selects them all ("compound").
    wanted = [w.strip() for w in args.only.split(",") if w.strip()]
    chosen = {w: [name for name in FAMILIES if name == w or name.startswith(w + " ")] for w in wanted}
    unknown = [w for w, names in chosen.items() if not names]
    if unknown:
        parser.error("unknown family %s; the families: %s" % (", ".join(unknown), ", ".join(FAMILIES)))
    families = [(name, FAMILIES[name]) for name in FAMILIES
                if not wanted or any(name in names for names in chosen.values())]
    if not os.path.exists(args.velmor):
        parser.error("%s not found; build it with `cmake --preset release && cmake --build build/release "
                     "--target velmor`" % args.velmor)
    engine = "--tree" if args.tree else "--vm"
    command = [os.path.abspath(args.velmor), engine]

    failures = []
    with tempfile.TemporaryDirectory() as folder, \
            concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        empty = pool.submit(measure, command, folder, "empty", EMPTY, "0", args.n)
        jobs = {}
        for name, (result, variants) in families:
            for index, v in enumerate(variants):
                key = "%s-%d" % (name.replace(" ", "-"), index)
                jobs[name, index] = pool.submit(measure, command, folder, key, v, result, args.n)
        try:
            empty_pass = empty.result()[0]
        except RuntimeError as error:
            failures.append("the empty loop: %s" % error)
            empty_pass = 0.0

        header = ["family", "variant", "instr/pass", "less an empty pass", "ratio"]
        rows, ratios = [], []
        print("velmor %s, N = %d: an empty pass of the loop costs %.1f instructions" % (engine, args.n, empty_pass))
        print()
        print("| " + " | ".join(header) + " |")
        print("|" + "---|" * len(header))
        for name, (result, variants) in families:
            measured = []
            for index, v in enumerate(variants):
                try:
                    measured.append((v, ) + jobs[name, index].result())
                except RuntimeError as error:
                    failures.append("%s: %s: %s" % (name, label(v), error))
            if not measured:
                continue
            cheapest = min(per_pass for _, per_pass, _ in measured)
            outputs = {}
            for v, per_pass, output in measured:
                outputs.setdefault(output, []).append(label(v))
                ratio = per_pass / cheapest if cheapest > 0 else float("inf")
                ratios.append((ratio, name, label(v)))
                row = [name, label(v), "%.1f" % per_pass, "%.1f" % (per_pass - empty_pass),
                       "%.2f%s" % (ratio, " !" if ratio > args.target else "")]
                rows.append(row)
                print("| " + " | ".join(row) + " |", flush=True)
            if len(outputs) > 1:
                common = max(outputs, key=lambda out: len(outputs[out]))
                failures.append("%s: most variants print %s, but %s" % (
                    name, " / ".join(common), "; ".join(
                        "%s prints %s" % (", ".join(labels), " / ".join(out))
                        for out, labels in outputs.items() if out != common)))

    summary = []
    if ratios:
        worst = max(ratios)
        above = sum(1 for ratio, _, _ in ratios if ratio > args.target)
        summary.append("worst ratio: %.2f (%s: %s)" % worst)
        summary.append("above %g: %d of %d variants" % (args.target, above, len(ratios)))
    print()
    for line in summary + ["failed: " + f for f in failures]:
        print("- " + line)
    if args.markdown:
        with open(args.markdown, "a") as out:
            out.write("\n## Statement shapes on velmor %s, %s, N = %d; an empty pass costs %.1f instructions\n\n"
                      % (engine, date.today().isoformat(), args.n, empty_pass))
            out.write("| " + " | ".join(header) + " |\n")
            out.write("|" + "---|" * len(header) + "\n")
            for row in rows:
                out.write("| " + " | ".join(row) + " |\n")
            out.write("\n" + "".join("- %s\n" % line for line in summary + ["failed: " + f for f in failures]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
