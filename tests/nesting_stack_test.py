#!/usr/bin/env python3
"""Deep nesting on small native stacks ends in a report, never a crash.

Generates programs that nest one construct (parentheses, lists, maps,
indexes, call arguments, unary operators, interpolations, blocks of every
statement kind, function literals and declarations) to several depths and
runs them through the real `velmor` program with the native stack limited
to several sizes (as `ulimit -s` would): on both engines, in the token dump,
at the prompt, and in the language server; and runaway recursion behind
long command-line arguments. Every run must end by itself,
never by a signal, with either the program's right output or the report
"expression or block nested too deeply" (a syntax or compile error that
points at a token of the source); the tree-walker may also stop a deep
evaluation with its own "call stack overflow" report. Shallow programs must
run on the smallest stack (on 256 KiB with --sanitized), and every depth
up to the parser's fixed limit must run on an 8 MiB stack.

Usage: nesting_stack_test.py --velmor PATH [--jobs N] [--sanitized]
"""

from __future__ import annotations

import argparse
import concurrent.futures
import dataclasses
import json
import os
import re
import subprocess
import sys
import tempfile
import typing

STACKS_KIB = (64, 80, 128, 256, 8192)
DEPTHS = (6, 60, 199)
SMALLEST, LARGEST = STACKS_KIB[0], STACKS_KIB[-1]
SHALLOW = DEPTHS[0]
# Where shallow nesting of a heavy shape, or of any shape in a build with
# sanitizers (whose frames are several times larger), must run.
SHALLOW_FROM_KIB = 256
MAX_NESTING = 200
NESTED_TOO_DEEPLY = "expression or block nested too deeply"
CALL_STACK_OVERFLOW = "call stack overflow (too much recursion)"
LOCATION = re.compile(r"^  --> (.*):(\d+):(\d+)$", re.MULTILINE)


def blocks(opener: str, closer: str, n: int) -> str:
    return opener * n + "r = r + 1\n" + closer * n


@dataclasses.dataclass
class Shape:
    make: typing.Callable[[int], tuple[str, list[str]]]
    levels: typing.Callable[[int], int]
    heavy: bool = False  # the shallow depth must run from SHALLOW_FROM_KIB only


@dataclasses.dataclass
class Case:
    n: int
    levels: int
    shallow_from: int  # the smallest stack (KiB) on which the shallow depth must run
    source: str
    expected: list[str]


def shapes() -> dict[str, Shape]:
    """name -> Shape: a function of the depth n giving (source, expected
    output lines), and one giving the levels the parser counts, the
    program's own calls and blocks around the construct included."""
    def interpolation(n):
        text = "x"
        for _ in range(n):
            text = '"${' + text + '}"'
        return text

    def function_literals(n):
        inner = "41"
        for _ in range(n):
            inner = f"function() return {inner} end"
        return f"let h = {inner}\nprint(h{'()' * n} + 1)\n"

    def declarations(n):
        source = "return 7\n"
        for level in range(n, 0, -1):
            source = f"function f{level}()\n{source}end\nreturn f{level}()\n"
        return f"function outer()\n{source}end\nprint(outer())\n"

    def precedence(n):
        # Every parenthesis passes through every precedence level on its way down.
        expression = "t"
        for _ in range(n):
            expression = f"f or t and t == n < n + n * n ^ ({expression} and 1 or 2)"
        return f"let f = false\nlet t = true\nlet n = 1\nprint({expression})\n"

    def walk(key):
        return f"\nlet d = 0\nwhile type(m) == \"map\" do\n  m = m.{key}\n  d += 1\nend\nprint(d, m)\n"

    counter = "let r = 0\nlet t = true\nlet w = true\n"
    same = lambda n: n  # noqa: E731
    inside_print = lambda n: n + 1  # noqa: E731
    return {
        "parens": Shape(lambda n: ("print(" + "(" * n + "1" + ")" * n + ")\n", ["1"]), inside_print),
        "lists": Shape(lambda n: ("print(len(str(" + "[" * n + "]" * n + ")))\n", [str(2 * n)]), lambda n: n + 3),
        "maps": Shape(lambda n: ("let m = " + "{a: " * n + "1" + "}" * n + walk("a"), [f"{n} 1"]), same),
        "computed_keys": Shape(lambda n: ("let m = " + '{["k"]: ' * n + "1" + "}" * n + walk("k"), [f"{n} 1"]), same),
        "indexes": Shape(lambda n: ("let l = [0]\nprint(" + "l[" * n + "0" + "]" * n + ")\n", ["0"]), inside_print),
        "arguments": Shape(lambda n: ("function id(v) return v end\nprint(" + "id(" * n + "3" + ")" * n + ")\n", ["3"]),
                      inside_print),
        "negations": Shape(lambda n: ("print(" + "- " * n + "1)\n", ["-1" if n % 2 else "1"]), inside_print),
        "nots": Shape(lambda n: ("print(" + "not " * n + "true)\n", ["false" if n % 2 else "true"]), inside_print),
        "interpolations": Shape(lambda n: (f"let x = 7\nprint({interpolation(n)})\n", ["7"]), inside_print),
        # Each level is eight levels of the tree.
        "precedence": Shape(lambda n: (precedence(n), ["true"]), inside_print, heavy=True),
        "ifs": Shape(lambda n: (counter + blocks("if t then\n", "end\n", n) + "print(r)\n", ["1"]), same),
        "whiles": Shape(lambda n: (counter + blocks("while w do\n", "w = false\nend\n", n) + "print(r)\n", ["1"]), same),
        "numeric_fors": Shape(lambda n: (counter + blocks("for i = 1, 1 do\n", "end\n", n) + "print(r)\n", ["1"]), same),
        "for_ins": Shape(lambda n: (counter + blocks("for x in [1] do\n", "end\n", n) + "print(r)\n", ["1"]), same),
        "tries": Shape(lambda n: (counter + blocks("try\n", "catch e\nend\n", n) + "print(r)\n", ["1"]), same),
        "function_literals": Shape(lambda n: (function_literals(n), ["42"]), same),
        "declarations": Shape(lambda n: (declarations(n), ["7"]), inside_print),
    }


def run(command, kib, stdin=b"", timeout=60):
    """Runs `command` with its stack limited to `kib` KiB. The shell's ulimit
    costs a fraction of what a preexec_fn does (which makes Python fork
    rather than spawn), and its exec leaves the status velmor's own."""
    limited = ["/bin/sh", "-c", 'ulimit -S -s "$0" && exec "$@"', str(kib)] + command
    try:
        done = subprocess.run(limited, input=stdin, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return "timeout", "", ""
    return done.returncode, done.stdout.decode(errors="replace"), done.stderr.decode(errors="replace")


def status_text(status) -> str:
    return f"killed by signal {-status}" if isinstance(status, int) and status < 0 else f"status {status}"


def located_at_token(report: str, source: str) -> bool:
    """The report's location names a line and column of the source that hold a token."""
    found = LOCATION.search(report)
    if not found:
        return False
    line, column = int(found.group(2)), int(found.group(3))
    lines = source.split("\n")
    return 1 <= line <= len(lines) and 1 <= column <= len(lines[line - 1]) and not lines[line - 1][column - 1].isspace()


def expectation(kib: int, case: Case) -> str:
    """"runs", "stops" or "either"."""
    if case.levels > MAX_NESTING:
        return "stops"  # the parser's fixed limit, whatever the stack
    if kib == LARGEST or (case.n == SHALLOW and kib >= case.shallow_from):
        return "runs"
    return "either"


def check_run(engine, kib, case: Case, status, out, err) -> str | None:
    """None if the run ended as it may, else what went wrong."""
    if not isinstance(status, int) or status < 0 or status > 1:
        return status_text(status)
    wanted = expectation(kib, case)
    lines = out.split("\n")[:-1]
    if status == 0:
        if lines != case.expected or err:
            return f"ran but printed {lines[:3]!r} (stderr {err[:200]!r}), expected {case.expected!r}"
        return f"ran {case.levels} levels deep, past the fixed limit" if wanted == "stops" else None
    head = err.split("\n", 1)[0]
    allowed = ["SyntaxError: " + NESTED_TOO_DEEPLY]
    if wanted != "stops":
        allowed.append("CompileError: " + NESTED_TOO_DEEPLY)
        if engine == "--tree":
            allowed.append("RuntimeError: " + CALL_STACK_OVERFLOW)
    if head not in allowed:
        return f"failed with {head[:200]!r}"
    if not located_at_token(err, case.source):
        return f"report points at no token of the source: {err[:300]!r}"
    return f"stopped {case.levels} levels deep: {head!r}" if wanted == "runs" else None


def check_tokens(status, out, err) -> str | None:
    if status != 0 or err or not out.split("\n")[-2].startswith("end of file "):
        return f"{status_text(status)}, stderr {err[:200]!r}"
    return None


def check_prompt(kib, case: Case, status, out, err) -> str | None:
    """The prompt (the tree-walker) reports an error and goes on to the end of its input."""
    if status != 0:
        return status_text(status)
    wanted = expectation(kib, case)
    if NESTED_TOO_DEEPLY in err or CALL_STACK_OVERFLOW in err:
        return f"stopped {case.levels} levels deep: {err[:200]!r}" if wanted == "runs" else None
    if err or not all(line in out for line in case.expected):
        return f"printed {out[-200:]!r}, stderr {err[:200]!r}, expected {case.expected!r}"
    return f"ran {case.levels} levels deep, past the fixed limit" if wanted == "stops" else None


# Runaway recursion through the engines' own calls and through a builtin
# that calls back, given on the command line behind a comment that fills
# ARGUMENT_SHARE of the stack: the arguments lie above the program's first
# frame, so the engines' share of the stack must be measured from its end.
RUNAWAY = ("function f(n) return f(n + 1) end\nf(0)\n",
           "function f(n) return map(function(x) return f(x + 1) end, [n]) end\nf(0)\n")
ARGUMENT_SHARE = 0.45


def check_runaway(status, out, err) -> str | None:
    head = err.split("\n", 1)[0]
    allowed = ("RuntimeError: " + CALL_STACK_OVERFLOW, "SyntaxError: " + NESTED_TOO_DEEPLY,
               "CompileError: " + NESTED_TOO_DEEPLY)
    if status != 1 or head not in allowed:
        return f"{status_text(status)}, stderr {err[:200]!r}"
    return None


def frame(payload) -> bytes:
    body = json.dumps(payload).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def read_frames(data: bytes) -> list:
    messages = []
    while data:
        header, _, rest = data.partition(b"\r\n\r\n")
        length = int(re.search(rb"Content-Length: (\d+)", header).group(1))
        messages.append(json.loads(rest[:length]))
        data = rest[length:]
    return messages


def check_language_server(velmor, kib, documents) -> list[str]:
    """Opens every document in one session and asks for each one's outline."""
    session = [frame({"jsonrpc": "2.0", "id": 0, "method": "initialize", "params": {"capabilities": {}}})]
    for index, (uri, case) in enumerate(documents.items()):
        session.append(frame({"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {
            "textDocument": {"uri": uri, "languageId": "velmor", "version": 1, "text": case.source}}}))
        session.append(frame({"jsonrpc": "2.0", "id": index + 1, "method": "textDocument/documentSymbol",
                              "params": {"textDocument": {"uri": uri}}}))
    session.append(frame({"jsonrpc": "2.0", "id": len(documents) + 1, "method": "shutdown"}))
    session.append(frame({"jsonrpc": "2.0", "method": "exit"}))
    status, out, _ = run([velmor, "--lsp"], kib, b"".join(session))
    if status != 0:
        return [f"language server, {kib} KiB: {status_text(status)}"]
    problems = []
    published = {}
    answered = set()
    for message in read_frames(out.encode()):
        if message.get("method") == "textDocument/publishDiagnostics":
            published[message["params"]["uri"]] = [d["message"] for d in message["params"]["diagnostics"]]
        elif "id" in message and "result" in message:
            answered.add(message["id"])
    for uri, case in documents.items():
        label = f"language server, {kib} KiB, {os.path.basename(uri)}"
        messages = published.get(uri)
        wanted = expectation(kib, case)
        if messages is None:
            problems.append(f"{label}: no diagnostics published")
        elif any(text != NESTED_TOO_DEEPLY for text in messages):
            problems.append(f"{label}: diagnostics {messages[:3]!r}")
        elif bool(messages) != (wanted == "stops") and wanted != "either":
            problems.append(f"{label}: diagnostics {messages[:3]!r} for {case.levels} levels")
    missing = set(range(len(documents) + 2)) - answered
    if missing:
        problems.append(f"language server, {kib} KiB: no answer to requests {sorted(missing)[:5]}")
    return problems


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--sanitized", action="store_true", help="velmor is built with sanitizers")
    args = parser.parse_args()

    failures = []
    runs = 0
    with tempfile.TemporaryDirectory() as folder, concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        jobs = []
        documents = {}
        for name, shape in shapes().items():
            for n in DEPTHS:
                source, expected = shape.make(n)
                shallow_from = SHALLOW_FROM_KIB if shape.heavy or args.sanitized else SMALLEST
                case = Case(n, shape.levels(n), shallow_from, source, expected)
                path = os.path.join(folder, f"{name}_{n}.vlm")
                with open(path, "w") as file:
                    file.write(source)
                documents[f"file://{path}"] = case
                for kib in STACKS_KIB:
                    for engine in ("--vm", "--tree"):
                        jobs.append((f"{name} x{n} {engine} {kib} KiB", pool.submit(run, [args.velmor, engine, path], kib),
                                     lambda result, engine=engine, kib=kib, case=case: check_run(engine, kib, case, *result)))
                    if kib == SMALLEST:
                        jobs.append((f"{name} x{n} --tokens {kib} KiB",
                                     pool.submit(run, [args.velmor, "--tokens", path], kib),
                                     lambda result: check_tokens(*result)))
                    if kib in (SMALLEST, LARGEST):
                        jobs.append((f"{name} x{n} prompt {kib} KiB", pool.submit(run, [args.velmor], kib, source.encode()),
                                     lambda result, kib=kib, case=case: check_prompt(kib, case, *result)))
        for kib in STACKS_KIB[:-1]:
            padding = "#" + "x" * int(kib * 1024 * ARGUMENT_SHARE) + "\n"
            for index, program in enumerate(RUNAWAY):
                for engine in ("--vm", "--tree"):
                    jobs.append((f"runaway {index} behind arguments {engine} {kib} KiB",
                                 pool.submit(run, [args.velmor, engine, "-c", padding + program], kib),
                                 lambda result: check_runaway(*result)))
        servers = [pool.submit(check_language_server, args.velmor, kib, documents) for kib in STACKS_KIB]
        for label, future, checker in jobs:
            runs += 1
            problem = checker(future.result())
            if problem:
                failures.append(f"{label}: {problem}")
        for future in servers:
            runs += 1
            failures.extend(future.result())
    for failure in failures[:40]:
        print("FAIL " + failure)
    if len(failures) > 40:
        print(f"... and {len(failures) - 40} more")
    print(f"nesting on small stacks: {runs} runs, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
