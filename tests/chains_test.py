#!/usr/bin/env python3
"""Long chains and deep nesting run on both engines without exhausting the stack.

Generates programs and runs them through the real `velmor` program on both
engines, with the native stack limited to 8 MiB (the size that velmor.exe
reserves on Windows, and Linux's default):

- chains: one function per kind of chain (binary operators of every
  precedence level, string concatenation, interpolation parts, field, index,
  call and mixed postfix chains), each as long as a given length, in one
  program per length. A chain is no nesting: every length must parse,
  compile and run, and each function's result is checked.
- nesting: constructs nested as deeply as the parser allows (200 levels), in
  the shapes that make the engines recurse most per level, must run too.

Usage: chains_test.py --velmor PATH [--launcher CMD] [--lengths N,N,...]
(a launcher such as "wine" runs velmor.exe; its CRs are dropped).
"""

from __future__ import annotations

import argparse
import os
import resource
import shlex
import subprocess
import sys
import tempfile

STACK_BYTES = 8 << 20
MAX_NESTING = 200


def chain(operand: str, separator: str, terms: int) -> str:
    return separator.join([operand] * terms)


def chain_functions(n: int) -> list[tuple[str, str, str]]:
    """(function definition, call, expected output) for every chain kind of length n."""
    cases = []

    def binary(name: str, params: str, operands: list[str] | str, op: str, call: str, expected: str):
        if isinstance(operands, str):
            body = chain(operands, f" {op} ", n)
        else:  # n - 1 copies of the first operand, then the last
            body = f" {op} ".join([operands[0]] * (n - 1) + [operands[1]])
        cases.append((f"function {name}({params})\n  return {body}\nend\n", call, expected))

    binary("c_or", "f, t", ["f", "t"], "or", "c_or(false, 7)", "7")
    binary("c_and", "t, v", ["t", "v"], "and", "c_and(true, 5)", "5")
    binary("c_eq", "t", "t", "==", "c_eq(true)", "true")
    flip = True
    for _ in range(n - 1):
        flip = flip != True  # noqa: E712 - the chain's own rule
    binary("c_ne", "t", "t", "!=", "c_ne(true)", "true" if flip else "false")
    # An ordering gives a bool, which the next ordering cannot compare: the
    # whole chain is compiled, and the run stops at its second operator.
    for name, op in (("c_lt", "<"), ("c_le", "<="), ("c_gt", ">"), ("c_ge", ">=")):
        cases.append((f"function {name}(a)\n  return {chain('a', f' {op} ', n)}\nend\n", f"{name}(1)",
                      "cannot compare bool and number"))
    binary("c_add", "x", "x", "+", "c_add(1)", str(n))
    binary("c_sub", "x", "x", "-", "c_sub(1)", str(2 - n))
    binary("c_mul", "x", "x", "*", "c_mul(1)", "1")
    binary("c_div", "x", "x", "/", "c_div(1)", "1.0")
    cases.append((f"function c_floor(a, b)\n  return a // {chain('b', ' // ', n - 1)}\nend\n", "c_floor(7, 1)", "7"))
    cases.append((f"function c_mod(a, b)\n  return a % {chain('b', ' % ', n - 1)}\nend\n", "c_mod(7, 5)", "2"))
    binary("c_pow", "x", "x", "^", "c_pow(1)", "1")
    cases.append((f"function c_pow2(a, b)\n  return a ^ {chain('b', ' ^ ', n - 1)}\nend\n", "c_pow2(2, 1)", "2"))
    binary("c_concat", "s", "s", "+", "len(c_concat(\"ab\"))", str(2 * n))
    cases.append((f"function c_interp(x)\n  return \"{'${x}' * n}\"\nend\n", "len(c_interp(\"a\"))", str(n)))
    cases.append((f"function c_interp2(x)\n  return \"{'<${x}' * (n // 2)}\"\nend\n", "len(c_interp2(\"a\"))",
                  str(2 * (n // 2))))
    cases.append((f"function c_get(a)\n  return a{'.b' * n}.v\nend\n",
                  "c_get(loop)", "5"))
    cases.append((f"function c_index(l)\n  return len(l{'[0]' * n})\nend\n", "c_index(self)", "1"))
    cases.append((f"function c_call(f)\n  return type(f{'()' * n})\nend\n", "c_call(again)", "function"))
    cases.append((f"function c_mixed(a)\n  return a{'.m[0](1)' * (n // 3)}.v\nend\n", "c_mixed(loop)", "5"))
    return cases


def chain_program(n: int) -> tuple[str, list[str]]:
    source = ["let loop = {\"v\": 5}\nloop.b = loop\nloop.m = [function(x) return loop end]\n",
              "let self = []\npush(self, self)\nfunction again() return again end\n"]
    expected = []
    for definition, call, output in chain_functions(n):
        source.append(definition)
        source.append(f"try\n  print({call})\ncatch e\n  print(e)\nend\n")
        expected.append(output)
    # Containers that hold themselves are not collected: the cycles are broken.
    source.append("loop.b = nil\nloop.m = nil\npop(self)\n")
    return "".join(source), expected


def nesting_programs() -> dict[str, tuple[str, list[str]]]:
    """Programs nested to the limit, each shaped to make the engines recurse the most per level."""
    programs = {}
    # Every parenthesis passes through every precedence level on its way down.
    expression = "t"
    for _ in range(MAX_NESTING):
        expression = f"f or t and t == n < n + n * n ^ ({expression} and 1 or 2)"
    programs["precedence"] = (f"let f = false\nlet t = true\nlet n = 1\nlet r = {expression}\nprint(r)\n", ["true"])
    # Statements that hold blocks, nested in turn.
    blocks = [("if t then\n", "end\n"), ("for i = 1, 1 do\n", "end\n"), ("while w do\n", "w = false\nend\n"),
              ("try\n", "catch e\nend\n"), ("for x in [1] do\n", "end\n")]
    chosen = [blocks[level % len(blocks)] for level in range(MAX_NESTING - 1)]
    body = "".join(opener for opener, _ in chosen) + "r = r + 1\n" + "".join(closer for _, closer in reversed(chosen))
    programs["blocks"] = (f"let t = true\nlet w = true\nlet r = 0\nfunction g()\n{body}end\ng()\nprint(r)\n",
                          ["1"])
    # Functions inside functions, each called from the one around it.
    inner = "41"
    for _ in range(MAX_NESTING - 1):
        inner = f"function() return {inner} end"
    calls = "h" + "()" * MAX_NESTING
    programs["functions"] = (f"let h = {inner}\nprint(type(h), {calls[: len(calls) - 2]} + 1)\n",
                             ["function 42"])
    # Unary operators, lists, calls and interpolations nested in turn.
    unary = "- " * (MAX_NESTING - 1) + "1"
    lists = "[" * MAX_NESTING + "]" * MAX_NESTING
    calls = "id(" * (MAX_NESTING - 1) + "3" + ")" * (MAX_NESTING - 1)
    interpolation = "x"
    for _ in range(MAX_NESTING - 1):
        interpolation = '"${' + interpolation + '}"'
    programs["operands"] = (
        f"let x = 7\nfunction id(v) return v end\nlet u = {unary}\nlet l = {lists}\nlet c = {calls}\n"
        f"let s = {interpolation}\nprint(u, len(str(l)), c, s)\n",
        [f"{-1 if (MAX_NESTING - 1) % 2 else 1} {2 * MAX_NESTING} 3 7"])
    return programs


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--launcher", default="")
    parser.add_argument("--lengths", default="199,250,10000,50000")
    parser.add_argument("--timeout", type=float, default=120)
    args = parser.parse_args()

    def limit_stack():
        _, hard = resource.getrlimit(resource.RLIMIT_STACK)
        soft = STACK_BYTES if hard == resource.RLIM_INFINITY else min(STACK_BYTES, hard)
        resource.setrlimit(resource.RLIMIT_STACK, (soft, hard))

    programs = {f"chains_{n}": chain_program(n) for n in (int(text) for text in args.lengths.split(","))}
    programs.update(nesting_programs())
    passed = failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for name, (source, expected) in programs.items():
            path = os.path.join(folder, name + ".vlm")
            with open(path, "w") as file:
                file.write(source)
            for engine in ("--vm", "--tree"):
                command = shlex.split(args.launcher) + [args.velmor, engine, path]
                try:
                    done = subprocess.run(command, capture_output=True, timeout=args.timeout, preexec_fn=limit_stack)
                    status = done.returncode
                    out = done.stdout.decode(errors="replace").replace("\r", "")
                    err = done.stderr.decode(errors="replace").replace("\r", "")
                except subprocess.TimeoutExpired:
                    status, out, err = "timeout", "", ""
                lines = out.split("\n")[:-1]
                if status == 0 and lines == expected and not err:
                    passed += 1
                    continue
                failed += 1
                print(f"FAIL {name} {engine}: status {status}")
                for line in err.splitlines()[:5]:
                    print(f"    stderr: {line[:200]}")
                for index, want in enumerate(expected):
                    got = lines[index] if index < len(lines) else "<missing>"
                    if got != want:
                        print(f"    line {index + 1}: expected {want!r}, got {got[:200]!r}")
    print(f"chains and nesting: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
