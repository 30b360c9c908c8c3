#!/usr/bin/env python3
"""Shape sweep: the engines' fast paths against their plain rules.

Generates programs that run every fused instruction of the VM and every
shortcut of the tree-walker on operands of every kind that matters to them
(Int, Float, mixed, strings for +, values that raise errors, Int overflow at
both ends, values near 2^53, NaN, infinity, negative zero), with the
variables in every kind of scope (globals, block locals at the top level,
function locals, parameters, upvalues, loop variables, and mixes of these:
a global target with local operands, an upvalue target with parameters, a
global container or operand beside locals, parameters or loop variables),
each statement run twice at the same place so that the second run finds
whatever the first one remembered. Each case prints its result under a
label, or the error it caught; a few programs end in an uncaught error, so
that exit status and report are compared too.

Each program runs on four engines: `velmor --vm`, `velmor-plain --vm`,
`velmor --tree` and `velmor-plain --tree`. The fast and the plain run of
one engine must agree byte for byte (standard output, standard error, exit
status). The VM and the tree-walker must agree as well once the differences
the language defines are normalised: the tree-walker's "operator 'op' needs
numbers, got" is the VM's "arithmetic needs numbers, got", and VM runtime
errors carry no column. Groups in which the engines are defined to differ
further (numeric for loops over other than Ints, a loop variable assigned
in the body, closures made in a loop) are compared within each engine only.

Usage: sweep.py --velmor PATH --plain PATH [--only GROUP,...] [--keep DIR] [-j N]
"""

import argparse
import concurrent.futures
import itertools
import os
import re
import subprocess
import sys
import tempfile

# -- values ----------------------------------------------------------------

# Int literals pass through a double in the lexer, so the extremes are built.
MAX = "(4611686018427387904 + (4611686018427387904 - 1))"
MIN = "(-4611686018427387904 - 4611686018427387904)"
INF = "(1e308 * 10)"
NAN = "(1e308 * 10 - 1e308 * 10)"

# Operands of every kind the fast paths tell apart.
OPERANDS = [
    "3", "-7", "0", MAX, MIN, "(9007199254740992 + 1)",
    "2.5", "-0.0", NAN, INF,
    '"ab"', "nil", "true", "[1, 2]",
]
NUMBERS = ["3", "-7", "0", MAX, MIN, "(9007199254740992 + 1)", "9007199254740991", "2.5", "-0.0", NAN, INF, "-2.75"]
# Int constants as the compiler keeps them (the fused forms take only Int constants).
CONSTANTS = ["0", "1", "-1", "7", "9007199254740992"]
ARITHMETIC = ["+", "-", "*", "/", "//", "%", "^"]
COMPARISONS = ["==", "!=", "<", "<=", ">", ">="]
INDEXES = ["0", "1", "-1", "-3", "3", "2.0", '"k"', MAX, MIN, "nil"]
CONTAINERS = ['[10, "b", [30]]', '"xyz"', '{"k": 1, 2: "two", "x": [5]}', "{}", "nil", "42", "[]"]


class Case:
    """One statement shape with its variables, run twice at one place."""

    def __init__(self, variables, body, show, after=(), target=("r",)):
        self.variables = list(variables)  # (name, expression)
        self.body = list(body)
        self.show = show  # what the case prints after its body
        self.after = list(after)  # run after the print, before the next pass
        self.target = set(target)  # the variables a statement assigns


class Group:
    def __init__(self, name, cases, across=True, scopes=None):
        self.name = name
        self.cases = cases
        self.across = across  # compare the VM with the tree-walker too
        self.scopes = scopes  # None: every scope


def arithmetic_groups():
    yield Group("arith-vars", [
        Case([("a", x), ("b", y), ("r", "0")], ["r = a %s b" % op], "r")
        for op in ARITHMETIC for x in OPERANDS for y in OPERANDS])
    yield Group("arith-constant", [
        Case([("a", x), ("r", "0")], ["r = a %s %s" % (op, k)], "r")
        for op in ARITHMETIC for x in OPERANDS for k in CONSTANTS])
    yield Group("arith-nested", [
        Case([("a", x), ("b", y), ("r", "0")], ["r = (a %s b) %s a" % (op, op2), "r = r - (b %s 1)" % op],
             "r")
        for op in ["+", "-", "*", "%"] for op2 in ["+", "*"] for x in NUMBERS[:8] for y in NUMBERS[:8]])
    yield Group("compound-vars", [
        Case([("a", x), ("r", y)], ["r %s= a" % op], "r")
        for op in ARITHMETIC for x in OPERANDS for y in OPERANDS])
    yield Group("compound-constant", [
        Case([("r", y)], ["r %s= %s" % (op, k)], "r")
        for op in ["+", "-", "*", "%", "//"] for y in OPERANDS for k in CONSTANTS])
    yield Group("add-to-self", [
        Case([("a", x), ("r", y)], [body], "r")
        for body in ["r = r + a", "r = a + r", "r = r + r", "r = r + 1", "r += 2.5"]
        for x in OPERANDS for y in OPERANDS])
    # An accumulator r = r + (a op k), with r first so that it is the global
    # where the first variable is (the fused form wants a global r, a local
    # a). The block local z, read after, shows a stack left one value off.
    yield Group("add-a-term", [
        Case([("r", y), ("a", x)], ["let z = [1]", "r = r + (a %s %s)" % (op, k)], "[r, z]")
        for op in ["+", "-", "*", "%"] for x in OPERANDS
        for y in ["0", MAX, MIN, "2.5", "-0.0", NAN, '"s"'] for k in ["0", "-1", "7", "9007199254740992"]])
    yield Group("unary-and-set", [
        Case([("a", x), ("r", "0")], [body], "r")
        for body in ["r = a", "r = -a", "r = not a", "r = a", "r = r"] for x in OPERANDS])


def comparison_groups():
    yield Group("compare-branch", [
        Case([("a", x), ("b", y), ("r", "0")], ["if a %s b then r = 1 else r = 2 end" % op], "r")
        for op in COMPARISONS for x in OPERANDS for y in OPERANDS])
    yield Group("compare-constant-branch", [
        Case([("a", x), ("r", "0")],
             ["if a %s %s then r = 1 elif a %s 3 then r = 2 else r = 3 end" % (op, k, op)], "r")
        for op in COMPARISONS for x in OPERANDS for k in CONSTANTS])
    # b first, so that it is the global where the first variable is: a local
    # compared with a global, as in while j <= n.
    yield Group("compare-global-branch", [
        Case([("b", y), ("a", x), ("r", "0")], [line.replace("$", op) for line in body], "[r, a]", target=target)
        for op in COMPARISONS for x in OPERANDS for y in OPERANDS
        for body, target in [(["if a $ b then r = 1 else r = 2 end"], ("r",)),
                             (["while a $ b do", "  r = r + 1", "  a = a + 1", "  if r > 2 then break end", "end"],
                              ("r", "a"))]])
    # A variable against a string constant, as a branch and as a value (also
    # inside `and` and `or`): strings that differ in their first byte, share
    # it, are prefixes of each other or empty, bytes past 127, and other kinds
    # (unequal to any string, errors when ordered).
    texts = ['"a"', '"b"', '"ab"', '""', '"{"', '"~"', '"\u00e9"', "char(255)", '"\\n"', '"\\""']
    keys = ['"a"', '""', '"ab"', '"b"', '"{"', '"\u00e9"', '"\\""']
    yield Group("compare-string-constant", [
        Case([("a", x), ("r", "0")],
             ["if a %s %s then r = 1 elif a %s \"b\" then r = 2 else r = 3 end" % (op, k, op),
              "r = [r, a %s %s]" % (op, k),
              "r = [r, a %s %s and a %s \"{\", a %s %s or a == \"\"]" % (op, k, op, op, k)], "r")
        for op in COMPARISONS for x in texts + ["3", "nil", "true", "[1]", "2.5"] for k in keys] + [
        Case([("a", x), ("r", "0")],
             ["r = 0", "while a %s %s do" % (op, k), "  r = r + 1", '  a = a + "a"', "  if r > 2 then break end",
              "end"],
             "[r, a]", target=("r", "a"))
        for op in ["<", "!=", "<=", "=="] for x in texts for k in ['"aa"', '""', '"b"']])
    yield Group("compare-value", [
        Case([("a", x), ("b", y), ("r", "0")], ["r = a %s b" % op], "r")
        for op in COMPARISONS for x in OPERANDS for y in OPERANDS])
    yield Group("while-constant", [
        Case([("a", x), ("r", "0")],
             ["r = 0", "while a %s 3 do" % op, "  r = r + 1", "  a = a + 1", "  if r > 4 then break end", "end"],
             "[r, a]", target=("r", "a"))
        for op in ["<", "<=", "!=", ">", "=="] for x in NUMBERS])
    yield Group("logic", [
        Case([("a", x), ("b", y), ("r", "0")], ["r = a %s b" % op, "if a %s b then r = [r] end" % op], "r")
        for op in ["and", "or"] for x in OPERANDS[:8] + OPERANDS[10:] for y in ["0", "nil", '"s"', "false"]])

    # Conditions of `if` and `while`: comparisons, and "and" / "or" of
    # comparisons and of other operands, whose truth the tree-walker takes
    # without making their values; errors inside them, and right operands
    # that short-circuiting skips.
    yield Group("conditions", [
        Case([("a", x), ("b", y), ("r", "0")], [line.replace("$", op) for line in body], "r")
        for op in COMPARISONS for x in OPERANDS for y in ["3", "2.5", NAN, '"ab"', "nil", "[1, 2]"]
        for body in [["if a $ b or b $ 3 then r = 1 elif a $ 3 and b $ a then r = 2 else r = 3 end"],
                     ["if a and b $ a then r = 1 end", "if (a $ b) == (b $ a) or not a then r = [r] end"],
                     ["r = 0", "while r < 3 and a $ b do", "  r = r + 1", "end"]]])


def loop_groups():
    small = ["1", "3", "-2", "0"]
    # Ints only, no overflow: the engines count the same way.
    yield Group("numeric-for-ints", [
        Case([("a", x), ("b", y), ("c", z), ("r", "0")],
             ["r = 0", "for v = a, b, c do", "  r = r + v", "  if v > 50 then break end", "end"], "r")
        for x in small for y in small + ["7"] for z in ["1", "2", "-1", "-3"]]
        + [Case([("a", x), ("b", y), ("r", "0")],
                ["r = 0", "for v = a, b do r = r * 2 + v end"], "r") for x in small for y in small])
    # Every other kind of bound and step: the engines differ by definition.
    kinds = ["1", "2.5", "-0.0", NAN, INF, MAX, "(%s - 1)" % MAX, MIN, '"x"', "nil", "0", "0.5", "-1"]
    yield Group("numeric-for-kinds", [
        Case([("a", x), ("b", y), ("c", z), ("r", "0"), ("n", "0")],
             ["r = 0", "n = 0", "for v = a, b, c do", "  r = [r, v]", "  n = n + 1", "  if n > 3 then break end",
              "end"], "[n, r]", target=("r", "n"))
        for x in kinds for y in kinds[:9] for z in ["1", "0.5", "-1", "0", "2.5", '"s"', MAX]], across=False)
    # Past 2^53 distinct Ints meet as doubles, which the compiled loop's test compares.
    near = ["9007199254740990", "9007199254740991", "9007199254740992", "(9007199254740992 + 1)",
            "(9007199254740992 + 2)", "(9007199254740992 + 3)"]
    yield Group("numeric-for-near-2^53", [
        Case([("a", x), ("b", y), ("c", z), ("r", "0"), ("n", "0")],
             ["r = []", "n = 0", "for v = a, b, c do", "  push(r, v)", "  n = n + 1", "  if n > 6 then break end",
              "end"], "r", target=("r", "n"))
        for x in near for y in near for z in ["1", "2", "-1", "-2"]], across=False)
    yield Group("numeric-for-variable-assigned", [
        Case([("r", "0")], ["r = 0", "for v = 1, 6 do", "  r = r + v", "  v = v + %s" % k, "end"], "r")
        for k in ["1", "2.5", '"s"', "-0.5"]], across=False)
    iterables = ["[1, 2, 3]", '"abc"', '{"p": 1, "q": 2}', "[]", '""', "{}", "5", "nil", "[nil, [1], 2.5]"]
    yield Group("for-in", [
        Case([("l", it), ("r", "0")],
             ["r = []", "for e in l do", "  push(r, e)", body, "end"], "r", target=("r",))
        for it in iterables
        for body in ["", "  e = 99", "  if len(r) > 5 then break end", "  if e == 2 then continue end"]])
    yield Group("for-in-mutated", [
        Case([("l", "[1, 2, 3]"), ("r", "0")],
             ["r = []", "for e in l do", "  push(r, e)", "  %s" % body, "end"], "[r, l]", target=("r", "l"))
        for body in ["push(l, e)", "pop(l)", "l[0] = 7", "l = [9]", "remove_at(l, 0)"]])
    yield Group("while-loops", [
        Case([("a", x), ("r", "0")],
             ["r = 0", "while r < 4 do", "  r = r + 1", "  if r == 2 then continue end", "  a = a %s r" % op, "end"],
             "[r, a]", target=("r", "a"))
        for op in ["+", "*", "-"] for x in OPERANDS])


def indexing_groups():
    yield Group("index-vars", [
        Case([("l", c), ("i", i), ("r", "0")], ["r = l[i]"], "r")
        for c in CONTAINERS for i in INDEXES])
    # A branch on an element (sieve's if flags[i]): elements of every
    # truthiness, missing fields, indexes out of range or of the wrong kind;
    # the loop clears the element it tests, so the second pass finds it false.
    tested = ['[true, false, nil, 0, "", [], 2.5]', '{"k": false, "x": 0, "t": true}', '"xyz"', "{}", "nil", "42",
              "[]"]
    yield Group("index-branch", [
        Case([("l", c), ("i", i), ("r", "0")], body, "[r, l]")
        for c in tested for i in INDEXES + ["2", "4", '"x"', '"t"']
        for body in [["if l[i] then r = [r, 1] else r = [r, 2] end"],
                     ["while l[i] do", "  l[i] = false", "  r = [r, 3]", "end"]]])
    # A global total plus an element (maps' total = total + m[k]): the key a
    # block local, a parameter or a loop variable, so that with the total and
    # the container globals (the global scope) the statement is the fused
    # one; totals and elements of every number kind, Int overflow, strings,
    # nil, missing fields and indexes out of range; and a sum of another
    # global, which is not that statement.
    summed = ['[1, 2.5, "s", nil, %s, -0.0, %s]' % (MAX, NAN), '{"k": 3, "x": 0.5, "n": "t", "m": %s}' % MIN, '"xyz"',
              "{}", "nil"]
    keys = ["0", "1", "2", "3", "4", "5", "6", "-1", "7", '"k"', '"x"', '"m"', '"q"', "nil"]
    yield Group("index-add-total", [
        Case([("g", total), ("l", c), ("i", i)], body, "g", target=("g",))
        for body in [["let j = i", "g = g + l[j]"], ["let add = function(j) g = g + l[j] end", "add(i)"],
                     ["for j in [i] do g = g + l[j] end"]]
        for total in ["3", "-7", "2.5", MAX, MIN, "-0.0", NAN, '"ab"', "nil", "[1]"] for c in summed for i in keys] + [
        Case([("g", total), ("l", c), ("i", i)], ["let j = i", "g = i + l[j]"], "[g, i]", target=("g",))
        for total in ["3", "2.5"] for c in summed for i in keys])
    yield Group("index-constant", [
        Case([("l", c), ("r", "0")], ["r = l[%s]" % k], "r")
        for c in CONTAINERS for k in ["0", "1", "-1", "3", "-4", '"k"', '"x"', "2"]])
    yield Group("index-expression", [
        Case([("l", c), ("i", i), ("r", "0")], ["r = [l][0][i]", "r = [r, {\"w\": l}.w[i]]"], "r")
        for c in CONTAINERS[:4] for i in INDEXES[:6]])
    grids = ["[[1, 2], [3, 4]]", '["ab", "cd"]', '{0: [5, 6], 1: "xy"}', "[[1], 2]", "[]", "nil", '"str"']
    yield Group("grid", [
        Case([("g", grid), ("i", i), ("j", j), ("r", "0")], ["r = g[i][j]"], "r")
        for grid in grids for i in ["0", "1", "-1", "2", "1.0", '"k"'] for j in ["0", "1", "-2", "5", "nil"]])
    maps = ['{"k": 1, "x": 2}', '{"x": 2, "k": 1}', "{}", '{"k": "s"}', "[1]", '"k"', "nil"]
    big = "{" + ", ".join('"f%d": %d' % (n, n) for n in range(20)) + ', "k": "big"}'
    yield Group("fields", [
        Case([("m", first), ("m2", second), ("r", "0")], ["r = m.k", "r = [r, m.missing]"], "r",
             after=["m = m2"], target=("r", "m"))
        for first in maps + [big] for second in maps + [big]])
    yield Group("element-store", [
        Case([("l", c), ("i", i), ("v", "[0]"), ("r", "0")], ["l[i] = %s" % value, "r = l"], "r")
        for c in ["[1, 2, 3]", '{"k": 1}', "{}", '"abc"', "nil", "[]"]
        for i in ["0", "-1", "3", '"k"', "1.5", "nil", "[1]", "len(l) - 1", "pop(l) - 2"]
        for value in ["nil", "true", "false", "7", '"s"', "v", "v + v", "i"]])
    # Entries stored under keys a map may lack (counts[word] = 1 for a new
    # word): with the map global and the key a loop variable, the statement
    # is the fused one, which appends a missing string key itself. Keys new
    # and present, repeated within a pass, of every kind; maps small and past
    # the size at which lookups go through the index; values of every form.
    many = "{" + ", ".join('"m%d": %d' % (n, n) for n in range(18)) + "}"
    yield Group("element-append", [
        Case([("l", c), ("k", k), ("v", v), ("r", "0")],
             ["for w in [k, \"a\", k, \"zz\", \"m3\"] do l[w] = %s end" % value, "r = l"], "r")
        for c in ["{}", '{"a": 0}', many, "[1, 2]", "nil"]
        for k in ['"a"', '"new"', '""', "1", "1.0", NAN, "nil", "[1]"]
        for v, value in [("5", "nil"), ("5", "true"), ("5", "false"), ("5", "7"), ("5", '"s"'), ("[0]", "v"),
                         ("2.5", "v")]])
    # An element set to a local plus, minus or times an Int constant
    # (counts[word] = seen + 1): with the container global and the others
    # local, the statement is the fused one. Elements present, missing and
    # out of range, keys of every kind, operands of every number kind with
    # Int overflow at both ends, and operands that are not numbers; the
    # operand changes between passes, so that a store left undone shows.
    # One group per operator, to keep each program within the constant pool.
    operands = ["3", "-7", MAX, MIN, "2.5", "-0.0", NAN, '"ab"', "nil"]
    for name, op in [("add", "+"), ("sub", "-"), ("mul", "*")]:
        yield Group("element-arith-constant-" + name, [
            Case([("l", c), ("i", i), ("a", x), ("b", operands[(number + 1) % len(operands)]), ("r", "0")],
                 ["l[i] = a %s %s" % (op, k), "r = l"], "r", after=["a = b"], target=("r", "a"))
            for c in ['{"k": 1, "x": 2}', many, "[1, 2, 3]", "{}", "nil"]
            for i in ['"k"', '"m3"', '"q"', "0", "-1", "3", "-4", "1.0", "nil"]
            for number, x in enumerate(operands) for k in ["1", "-1", "7"]])
    yield Group("field-store", [
        Case([("m", c), ("v", v), ("r", "0")], [body, "r = m"], "r")
        for c in ['{"x": 1}', '{"x": "s"}', "{}", '{"x": [1]}', "[1]", "nil", '{"y": 0, "x": 2.5}']
        for v in ["1", "2.5", '"t"', "nil", "[2]"]
        for body in ["m.x = v", "m.x += v", "m.x -= v", "m.x *= v", "m.x = m.x + v", 'm["x"] += v']])
    # Field updates read the field with the local and the name pushed in the
    # same step; the map changes between passes, so the remembered field
    # positions go stale.
    updated = ['{"x": 1}', '{"y": 0, "x": 2.5}', '{"z": 1, "x": %s}' % MAX, '{"x": "s"}', "{}", "[1]", "nil"]
    yield Group("field-update", [
        Case([("m", first), ("n", updated[(number + 1) % len(updated)]), ("v", v), ("r", "0")], [body], "[r, m]",
             after=["m = n"], target=("r", "m"))
        for number, first in enumerate(updated) for v in OPERANDS
        for body in ["m.x = m.x + v", "m.y = n.x * v", "m.x += v", 'r = [m, "k", n.x - v]', "n.x -= v"]])
    # A field set to a field plus or minus a product (b.vx = b.vx - dx * b2m):
    # the same map and field or others, fields missing or not numbers, Int
    # overflow in the product and in the sum, NaN and -0.0; the maps change
    # between passes, so the remembered field positions go stale.
    fielded = ['{"x": 1}', '{"y": 0, "x": 2.5}', '{"x": %s, "y": -0.0}' % MAX, '{"x": %s}' % MIN, '{"x": "s"}',
               '{"y": 1}', "[1]", "nil"]
    yield Group("field-add-product", [
        Case([("m", first), ("n", fielded[(number + 3) % len(fielded)]), ("a", x), ("b", y), ("r", "0")],
             [body], "[m, n]", after=["m = n"], target=("m", "n"))
        for number, first in enumerate(fielded)
        for x in ["3", "-1", MAX, MIN, "2.5", "-0.0", NAN, '"ab"']
        for y in ["2", "-7", "0.5", MAX, '"cd"', "nil"]
        for body in ["m.x = m.x + a * b", "m.x = m.x - a * b", "m.y = n.x - a * b", "n.x = m.x + b * a"]])
    # Two fields in arithmetic (b.x - b2.x): of one map or of two, fields of
    # every number kind, missing, strings (which + joins) and lists; the maps
    # change between passes.
    yield Group("field-field-arith", [
        Case([("m", first), ("n", fielded[(number + 2) % len(fielded)]), ("r", "0")], [body % op], "[r, m]",
             after=["m = n"], target=("r", "m"))
        for op in ["+", "-", "*"] for number, first in enumerate(fielded + ['{"x": "t", "y": [2]}', '{"x": %s, "y": -7}' % NAN])
        for body in ["r = m.x %s n.x", "r = m.y %s m.x", "r = n.x %s m.y"]])
    # An element statement whose value is a sum, difference or product: the
    # result goes straight into the element when it exists. `[a][0]` keeps
    # the operator apart from the operand reads, which fuse with two locals.
    yield Group("element-arith-store", [
        Case([("c", c), ("a", x), ("b", y), ("r", "0")], [body % op, "r = c"], "r")
        for op in ["+", "-", "*"] for body in ["c.x = [a][0] %s b", "c[1] = [a][0] %s b"]
        for c in ['{"y": 0, "x": [1]}', "{}", "[4, [5]]", "[[5]]"]
        for x in OPERANDS for y in ["2", MAX, NAN, '"cd"']])
    yield Group("element-compound", [
        Case([("l", c), ("i", i), ("v", v), ("r", "0")], ["l[i] %s= v" % op, "r = l"], "r")
        for c in ["[1, 2.5, \"s\"]", '{"k": 3}', "[[1]]"] for i in ["0", "1", "2", '"k"', "-1", "5"]
        for v in ["1", "0.5", '"t"', "[0]"] for op in ["+", "*", "-"]])


def string_groups():
    texts = ['"ab"', '""', '"x y"', "1", "[1]", "nil"]
    yield Group("string-building", [
        Case([("s", s), ("t", t), ("r", "0")], body, "[r, s]", target=("r", "s"))
        for s in texts for t in texts
        for body in [["s = s + t", "r = s"],
                     ["r = s", "s = s + t"],
                     ["s += t", "r = s"],
                     ["r = s", "s += t"],
                     ["s = s + s", "r = s"],
                     ["s = \"<\" + s + t + \">\"", "r = s"],
                     ["r = [s]", "s = s + t"],
                     ["s = t + s", "r = s"],
                     # Chains that begin with s, held back and appended at once
                     # (s = s + t first, so that only s holds its string).
                     ["s = s + t", "s = s + t + \",\"", "r = s"],
                     ["s = s + t", "s = \"${s}${t},\"", "r = s"],
                     ["s = s + t", "s = s + \"<\" + s", "r = s"],
                     ["s = s + t", "r = [s]", "s = s + t + s"],
                     ["s = s + t", "r = 0", "s = s + t + 1"]]])
    # The same in an element and a field, an alias of the old text taken first or after.
    yield Group("string-building-places", [
        Case([("l", "[%s]" % s), ("m", '{"f": %s}' % s), ("t", t), ("r", "0")], body, "[r, l, m]",
             target=("r", "l", "m"))
        for s in texts[:3] + ["1"] for t in texts[:3] + ["nil"]
        for body in [["r = l[0]", "l[0] = l[0] + t"],
                     ["l[0] += t", "r = l[0]"],
                     ["r = m.f", "m.f = m.f + t"],
                     ["r = m", "m.f += t"],
                     ["l[0] = l[0] + l[0]", "r = l"]]])
    yield Group("list-building", [
        Case([("l", a), ("m", b), ("r", "0")], body, "[r, l]", target=("r", "l"))
        for a in ["[1]", "[]", '"s"'] for b in ["[2]", "[]", "3"]
        for body in [["l = l + m", "r = l"], ["r = l", "l = l + m"], ["l += m", "r = l"],
                     ["l = l + m", "l = l + m + [0]", "r = l"], ["l = l + m", "l = l + l + m", "r = l"],
                     ["l = l + m", "r = [l]", "l = l + m + l"]]])


def call_groups():
    # Calls inside the statements: arguments and results of every kind.
    yield Group("calls", [
        Case([("a", x), ("r", "0")], [body], "r")
        for x in OPERANDS
        for body in ["r = abs(a)", "r = str(a) + str(a)", "r = len([a, a])", "r = (function(p) return p + 1 end)(a)",
                     "r = max(a, 1)"]])
    # Calls as statements, whose result is dropped: builtins that succeed,
    # fail inside, fail on their arity or call back, and callees of other
    # kinds, from every scope.
    callees = ["push", "insert", "print", "function(l, v) push(l, v) end", "nil"]
    yield Group("call-statements", [
        Case([("f", f), ("a", x), ("r", "[]")], ["f(r, a)"], "r") for f in callees for x in OPERANDS] + [
        Case([("a", x), ("r", "[]")], [body], "r")
        for x in OPERANDS
        for body in ["push(r, a)", "push(r, a, a)", "print(a)", "abs(a)", "len(a)", "push(a, 1)", "push(r)", "pop(r)",
                     "sort(r, function(x, y) return x < y end)", "map(function(v) return v + a end, r)"]] + [
        # push(r, v) of a literal onto a container of every kind (a global r
        # in the global scopes: appended where r is kept).
        Case([("r", x)], [body], "r")
        for x in OPERANDS
        for body in ["push(r, nil)", "push(r, true)", "push(r, false)", "push(r, 7)", "push(r, \"s\")"]])

    # Closures called back by builtins: results of every kind, errors raised
    # and caught inside them, returns from inside loops, nested callbacks,
    # and callers' variables read and written from the callback (upvalues in
    # the function scopes).
    callbacks = [
        ["r = sort([1, 2, 3, 4], function(p, q) return a end)"],
        ["r = sort([a, 1, a, 0], function(p, q) return p < q end)"],
        ["r = sort([3, 1, 2], function(p, q)", "  r = [r, a]", "  return p > q", "end)"],
        ["r = 0", "sort([3, 1, 2, 5], function(p, q)", "  r = r + 1", "  return q", "end)"],
        ["r = map(function(v) return [v, a] end, [a, 1])", "r = [r, filter(function(v) return v end, [a, 0, a])]"],
        ["r = sort([2, 1, 3], function(p, q)", "  try", "    return p - a < q", "  catch e", "    return e",
         "  end", "end)"],
        ["r = map(function(v)", "  let w = [v]", "  for i = 1, 3 do", "    let z = i", "    if i == 2 then return [w, z, a] end",
         "  end", "end, [a, 2])"],
        ["r = map(function(v) return sort([v, a, 1], function(p, q) return [p, q] == [a, 1] end) end, [1, a])"],
        ["r = sort([1, 2, 3], function(p, q) return p < a end)"],
        ["r = map(function(v) error([v, a]) end, [1])"],
        ["r = sort([2, 1], function(p) return a end)"],
        ["r = reduce(function(s, v) return [s, v + a] end, [a, 1], 0)"],
        # Comparators that sort answers without a call where it can (a form, quicken.h).
        ["r = sort([a, 1, a, 0, 2.5, a, -0.0], function(p, q) return q <= p end)"],
        ["r = sort([[a, 1], [0, 2], [a, 3], [1, 4], [-0.0, 5]], function(p, q) return p[0] < q[0] end)"],
        ["r = sort([{\"k\": a, \"i\": 1}, {\"k\": 0, \"i\": 2}, {\"k\": a, \"i\": 3}], function(p, q)",
         "  return p.k >= q.k", "end)"],
        ["r = sort([[2, a], [1, a], [3, 0]], function(p, q) return p[1] != q[1] end)"],
    ]
    yield Group("callback-bodies", [Case([("a", x), ("r", "0")], body, "r") for x in OPERANDS for body in callbacks])

    # Returns of every kind of value past the frame's values: arguments and
    # locals that hold objects, loops' hidden values, a try still open in
    # the returning frame (an error after the return must reach the
    # caller's handler), captured locals that must be closed, a local
    # function returned that calls itself, constants, recursion, a bare
    # return, a function's end, and a callback's return into the builtin.
    returns = [
        ["r = (function(p) return p end)(a)"],
        ["r = (function(p, q)", "  let t = [p, q]", "  let u = {\"k\": t}", "  return p", "end)(a, [a])"],
        ["r = (function() return end)()", "r = [r, a]"],
        ["r = (function(p)", "  let t = [p]", "end)(a)", "r = [r, a]"],
        ["r = (function(p)", "  for i = 1, 3 do", "    for q in [p, i] do", "      if i == 2 then return [q, i] end",
         "    end", "  end", "end)(a)"],
        ["r = (function(p)", "  try", "    return [p]", "  catch e", "    return \"inner\"", "  end", "end)(a)",
         "r = [r, a + 1]"],
        ["r = (function(p)", "  let c = [p]", "  let get = function() return c end", "  c = [c, p]", "  return get",
         "end)(a)", "r = [r(), a]"],
        ["r = (function(p)", "  let n = 0", "  let step = function()", "    n = n + 1", "    return n", "  end",
         "  step()", "  return [step, p]", "end)(a)", "r = [r[0](), r[0](), r[1]]"],
        ["let deep = nil", "deep = function(n, p)", "  if n == 0 then return [p] end", "  return [deep(n - 1, p), n]",
         "end", "r = deep(3, a)"],
        ["r = sort([a, 2, 1], function(p, q)", "  let t = [p, q]", "  return t == [a, 2]", "end)"],
        ["r = map(function(v)", "  let w = {\"v\": [v]}", "  return w", "end, [a, 1])"],
        ["r = (function(p) return p end)(a) - 1"],
        ["r = (function(p)", "  if p == nil then return 7 end", "  if p == true then return 2.5 end", "  return \"k\"",
         "end)(a)", "r = [r, a]"],
        ["r = (function(p)", "  function again(n)", "    if n < 1 then return [p] end", "    return [again(n - 1)]",
         "  end", "  return again", "end)(a)", "r = r(2)"],
    ]
    yield Group("returns", [Case([("a", x), ("r", "0")], body, "r") for x in OPERANDS for body in returns])


GROUPS = [
    *arithmetic_groups(),
    *comparison_groups(),
    *loop_groups(),
    *indexing_groups(),
    *string_groups(),
    *call_groups(),
]

SCOPES = ["global", "block", "local", "param", "upvalue", "loopvar", "global-target", "upvalue-target", "first-global",
          "first-global-param", "first-global-loopvar"]


# -- programs ----------------------------------------------------------------

def indent(lines, depth=1):
    return ["  " * depth + line for line in lines]


def passes(label, case):
    """The case's body run twice, printing its result or the error it caught."""
    lines = ["for pass = 1, 2 do", "  try"]
    lines += indent(case.body, 2)
    lines += ['    print("%s", pass, %s)' % (label, case.show), "  catch e", '    print("%s", pass, "error", e)' % label,
              "  end"]
    lines += indent(case.after)
    lines.append("end")
    return lines


def lets(variables):
    return ["let %s = %s" % (name, value) for name, value in variables]


def in_loops(operands, targets, body):
    """`body` with each operand a for-in loop variable and the targets declared inside."""
    lines = []
    depth = 0
    for name, value in operands:
        lines += indent(["for %s in [%s] do" % (name, value)], depth)
        depth += 1
    lines += indent(lets(targets) + body, depth)
    for depth in range(depth - 1, -1, -1):
        lines += indent(["end"], depth)
    return lines


def case_program(scope, label, case):
    """The lines of one case with its variables in `scope`."""
    operands = [(n, v) for n, v in case.variables if n not in case.target]
    targets = [(n, v) for n, v in case.variables if n in case.target]
    fn = "case_" + re.sub(r"\W", "_", label)
    body = passes(label, case)
    if scope == "global":
        return lets(case.variables) + body
    if scope == "block":
        return ["if true then"] + indent(lets(case.variables) + body) + ["end"]
    if scope == "local":
        return ["function %s()" % fn] + indent(lets(case.variables) + body) + ["end", "%s()" % fn]
    if scope == "param":
        names = ", ".join(n for n, _ in case.variables)
        values = ", ".join(v for _, v in case.variables)
        return ["function %s(%s)" % (fn, names)] + indent(body) + ["end", "%s(%s)" % (fn, values)]
    if scope == "upvalue":
        inner = ["let run = function()"] + indent(body) + ["end", "run()"]
        return ["function %s()" % fn] + indent(lets(case.variables) + inner) + ["end", "%s()" % fn]
    if scope == "loopvar":
        return ["function %s()" % fn] + indent(in_loops(operands, targets, body)) + ["end", "%s()" % fn]
    if scope == "global-target":
        return lets(targets) + ["function %s()" % fn] + indent(lets(operands) + body) + ["end", "%s()" % fn]
    if scope.startswith("first-global"):
        # The first variable (a container or operand) global, the others
        # function locals, parameters or loop variables: g[i], g[i] = v, j <= g.
        first, rest = case.variables[:1], case.variables[1:]
        if scope == "first-global-param":
            names = ", ".join(n for n, _ in rest)
            values = ", ".join(v for _, v in rest)
            return lets(first) + ["function %s(%s)" % (fn, names)] + indent(body) + ["end", "%s(%s)" % (fn, values)]
        if scope == "first-global-loopvar":
            loops = in_loops([(n, v) for n, v in rest if n not in case.target],
                             [(n, v) for n, v in rest if n in case.target], body)
            return lets(first) + ["function %s()" % fn] + indent(loops) + ["end", "%s()" % fn]
        return lets(first) + ["function %s()" % fn] + indent(lets(rest) + body) + ["end", "%s()" % fn]
    if scope == "upvalue-target":
        names = ", ".join(n for n, _ in operands)
        values = ", ".join(v for _, v in operands)
        inner = ["let run = function(%s)" % names] + indent(body) + ["end", "run(%s)" % values]
        return ["function %s()" % fn] + indent(lets(targets) + inner) + ["end", "%s()" % fn]
    raise ValueError(scope)


def group_program(group, scope):
    lines = ["# %s in %s scope" % (group.name, scope)]
    for number, case in enumerate(group.cases):
        lines += case_program(scope, "%s.%d" % (group.name, number), case)
    return "\n".join(lines) + "\n"


# Programs that the tree-walker's remembered lookups and reused scopes must
# run exactly as the plain rules do: names that change what they resolve to,
# scopes that outlive their call or pass, maps whose fields move.
def dynamic_programs():
    programs = {}
    programs["names-shadowed-later"] = """
let x = "global"
function reader() return x end
function shadowing()
  let before = reader()
  let x = "local"
  return [before, reader(), x]
end
for pass = 1, 3 do
  print(pass, reader(), shadowing())
  if pass == 2 then
    let x = "block"
    print(reader(), x)
  end
end
x = "assigned"
print(reader())
let x = "redeclared"
print(reader())
function later() return defined_later end
for pass = 1, 2 do
  try print(later()) catch e print(e) end
end
let defined_later = 1
print(later())
defined_later = 2
print(later())
for pass = 1, 2 do
  print(len([1, 2]))
  len = function(v) return "mine" end
end
"""
    programs["call-scopes"] = """
let b = "global"
function f(a, a)
  print(a, b)
  let b = "local"
end
f(1, 2)
f(3, 4)
function g(x, y, x)
  try print(x, y, seen) catch e print(e) end
  let seen = true
end
for i = 1, 3 do g(i, "y", -i) end
function depth(n, acc)
  if n == 0 then return acc end
  let here = n * 2
  return depth(n - 1, acc + here)
end
print(depth(5, 0), depth(3, 1), depth(0, 7))
function keep(p) return function() return p end end
let kept = []
for i = 1, 4 do push(kept, keep(i)) end
print(map(function(k) return k() end, kept))
function fails(n)
  let local_value = n
  if n % 2 == 0 then error("even " + str(n)) end
  return local_value
end
for i = 1, 4 do try print(fails(i)) catch e print(e) end end
function one(p) return p end
function two(p, q) return [p, q] end
for i = 1, 3 do print(one(i), two(i, one(i)), one(two(i, i))) end
function counter()
  let count = 0
  return function() count += 1
  return count end
end
let c1 = counter()
let c2 = counter()
print(c1(), c1(), c2(), c1())
"""
    # Once a function's call scopes have gone back to it, later calls reuse
    # them and create no scope: names must still resolve in the right one.
    programs["reused-call-scopes"] = """
let tag = "global"
function sum(n)
  if n == 0 then return 0 end
  return n + sum(n - 1)
end
function pair(a, b) return [a, b, a - b] end
function late(p)
  try print(p, tag) catch e print(e) end
  let tag = "local " + str(p)
end
function nested(x)
  if x > 0 then return [x, nested(x - 1)] end
  return x
end
for round = 1, 4 do
  print(sum(round), sum(3), pair(round, sum(2)), pair(pair(1, round)[2], round))
  late(round)
  print(nested(round))
end
"""
    # Thousands of closures of one function, each with its own scope, called
    # in turn: more scopes than remembered lookups, so a name's remembered
    # answer must be told apart by the scope it was found from.
    programs["many-closure-scopes"] = """
function make(k)
  function inner(x) return x + k end
  return inner
end
let fs = []
for k = 1, 6000 do push(fs, make(k)) end
let total = 0
for round = 1, 3 do
  for j = 0, len(fs) - 1 do total = total + fs[j](j) end
end
print(total)
"""
    # A closure made in a call sees the names its enclosing call binds later.
    programs["closures-see-later-lets"] = """
let z = "global"
function outer(n)
  let f = function() return [z, n] end
  let a = f()
  let z = "outer " + str(n)
  let b = f()
  return [a, b]
end
for round = 1, 3 do print(outer(round)) end
function counter(start)
  let count = start
  let step = function() count += 1
  return count end
  step()
  let count = 100
  return [step(), count]
end
print(counter(1), counter(5))
"""
    # A loop's pass scope, kept when the loop ends, serves its next run under
    # another parent: here each level of a recursion, once the call scopes
    # are reused.
    programs["parked-loops"] = """
function walk(label, depth, seen)
  for i = 1, 2 do push(seen, label) end
  if depth > 0 then walk(label + "'", depth - 1, seen) end
  return seen
end
for round = 1, 3 do print(walk("r" + str(round), 3, [])) end
function twice(label)
  let out = []
  for e in [1, 2] do push(out, [e, label]) end
  return out
end
for round = 1, 3 do print(twice(round), twice("x" + str(round))) end
"""
    programs["loop-scopes"] = """
function loops(n)
  let out = []
  for i = 1, n do
    for e in ["a", "b"] do
      push(out, str(i) + e)
    end
  end
  return out
end
print(loops(2))
let outer = "o"
function reenter(v)
  let result = []
  for i = 1, 2 do push(result, [v, i, outer]) end
  return result
end
print(reenter(1), reenter("two"))
if true then
  let outer = "inner"
  print(reenter(3))
end
for pass = 1, 3 do
  let inside = pass
  for k = 1, 2 do
    let deeper = inside * 10 + k
    if k == 2 then print(deeper) end
  end
end
let total = 0
for i = 1, 5 do
  if i % 2 == 0 then continue end
  let odd = i
  total += odd
end
print(total)
let n = 0
while n < 3 do
  n += 1
  let w = n * n
  if w == 4 then continue end
  print("w", w)
end
"""
    programs["loop-captures"] = """
let made = []
for i = 1, 3 do
  push(made, function() return i end)
end
print(map(function(f) return f() end, made))
let items = []
for e in ["x", "y"] do
  let copy = e
  push(items, function() return [e, copy] end)
end
print(map(function(f) return f() end, items))
function maker()
  let fs = []
  let j = 0
  while j < 3 do
    j += 1
    let k = j
    push(fs, function() return k end)
  end
  return fs
end
print(map(function(f) return f() end, maker()))
"""
    fields = ["a", "b", "k", "x"]
    maps = []
    for order in itertools.permutations(fields, 3):
        maps.append("{" + ", ".join('"%s": %d' % (name, n) for n, name in enumerate(order)) + "}")
    big = "{" + ", ".join('"f%d": %d' % (n, n) for n in range(24)) + ', "k": 99}'
    programs["field-hints"] = "\n".join(
        ["let maps = [%s, %s]" % (", ".join(maps), big),
         "function read(m) return [m.k, m.a, m.missing] end",
         "for m in maps do print(read(m)) end",
         "let one = maps[0]",
         "for pass = 1, 3 do",
         "  print(one.k, one.a)",
         "  one.k = pass",
         "  delete(one, \"a\")",
         "  one.a = pass * 10",
         "  one.fresh = pass",
         "end",
         "print(one)",
         "for m in maps do",
         "  m.k += 1",
         "  m.z = m.k",
         "end",
         "print(maps[0], maps[5], maps[len(maps) - 1].k)",
         ""]) + "\n"
    programs["globals-rebound"] = """
let g = [1, 2, 3]
function sum()
  let total = 0
  for i = 0, len(g) - 1 do total += g[i] end
  return total
end
for pass = 1, 3 do
  print(sum())
  g[0] = g[0] + pass
  if pass == 2 then g = [10, 20] end
end
let h = {"k": 1}
function bump(i) h["k"] += i
g[i] = h["k"] end
for i = 0, 1 do bump(i) end
print(g, h)
let text = "abc"
for i = -3, 2 do print(text[i]) end
"""
    # Callbacks from builtins (sort comparators, map and filter functions)
    # receive their arguments in order, as copies, on every kind of value.
    comparators = ["function(a, b) return a < b end", "function(a, b) return a > b end",
                   "function(a, b)\n  a = b\n  return false\nend", "function(a, b) return b end", "max", "less",
                   "function(a, b, c) return true end", "function(a) return true end", "3",
                   "function(a, b) return sort([b, a], function(x, y) return x > y end)[0] == a end",
                   "function(a, b) return a[0] < b[0] end",
                   "function(a, b)\n  push(seen, b)\n  if len(seen) % 30 == 0 then error([a, b, len(seen)]) end\n"
                   "  return a > b\nend"]
    calls = ["print(sort(items, %s))" % comparator for comparator in comparators]
    calls += ["print(map(%s, items))" % f for f in ["str", "function(x) return [x, x] end", "function(x, y) end",
                                                      "function(x)\n  x = 0\n  return x\nend", "len"]]
    calls += ["print(filter(%s, items))" % f for f in ["function(x) return x end", "function(x) return x == 3 end"]]
    body = ["let calls = []", "let seen = []", "function less(a, b)", "  push(calls, [a, b])", "  return a < b", "end"]
    # Lists longer than the sort's insertion runs of 12 reach its merges:
    # numbers with duplicates of both kinds, and pairs keyed by a repeated first
    # element, whose order shows whether equal keys kept their places.
    long_numbers = "[%s]" % ", ".join(NUMBERS + NUMBERS[::-1] + ["1", "1.0", "-7"])
    pairs = "[%s]" % ", ".join("[%d, %d]" % (k * 7 % 5, k) for k in range(30))
    for n, items in enumerate(["[3, -7, 0, 2.5, 3]", "[%s]" % ", ".join(NUMBERS), '["b", "a", "ab", ""]',
                               '[1, "a", nil]', "[[2], [1]]", "[]", "[NAN, 1, NAN]".replace("NAN", NAN),
                               long_numbers, pairs]):
        body.append("let items = %s" % items)
        for m, call in enumerate(calls):
            body += ["try", "  " + call, "catch e", '  print("error %d.%d", e)' % (n, m), "end"]
        body += ["print(items, calls)", "calls = []"]
    programs["callbacks"] = "\n".join(body) + "\n"
    programs["comparator-forms"] = comparator_forms_program()
    # Returns from the deepest frames the machine holds, before and after
    # an overflow was caught, with objects in every frame; each engine has
    # its own limit, so each is compared with itself only.
    # push(g, v) on a global list while push is the builtin, after it is
    # rebound to a function and to another builtin, and onto a global
    # rebound to other kinds.
    programs["push-rebound"] = """
let g = []
let saved = push
function add(v) push(g, v) end
for pass = 1, 5 do
  add(pass)
  push(g, [pass])
  if pass == 2 then push = function(l, v) print("mine", v) end end
  if pass == 3 then push = print end
  if pass == 4 then
    push = saved
    g = "text"
  end
  try push(g, pass) catch e print(pass, e) end
  print(pass, g)
end
"""
    programs["returns-at-the-frame-limit"] = """
let depth = 0
function dive(p)
  depth += 1
  let held = [p, depth]
  return [dive(held), held][1][1]
end
function climb(n, p)
  if n == 0 then return p end
  let held = {"p": p}
  return climb(n - 1, held)["p"]
end
for pass = 1, 3 do
  depth = 0
  try print(dive("x")) catch e print(pass, depth, e) end
  print(climb(3000, [pass]))
  try print(climb(5000, pass)) catch e print(pass, e) end
end
"""
    # A loop body's scope may keep its bindings from pass to pass only where
    # no name is mentioned before the body declares it: each context below
    # mentions x before `let x` (or in it), in every kind of loop, with the
    # outer x a global or a function's local, and the second loop of each
    # case declares before use, on the path that keeps the bindings (from
    # pass to pass, and from one run of the loop to the next).
    contexts = [
        "print(x)", "print([x], {\"k\": x}, not x, -x.k, x == nil, len(x))", "print(x[\"k\"], x.k)",
        "print(str(x))", "print((function() return x end)())", "let y = x\nprint(y)", "let x = x",
        "x = {\"k\": i}", "x.k = i", "x[\"k\"] += i", "if x then print(1) end",
        "if nil then\nprint(0)\nelif x.k > 0 then\nprint(2)\nelse\nprint(3)\nend", "while x == nil do break end",
        "for j = 1, x.k do print(j) end", "for v in [x] do print(v) end", "try print(x.k) catch e print(e) end",
        "try error(1) catch e print(x) end", "function g() return x end\nprint(g())", "return_value = x",
        "function h(x) return x end\nprint(h(i), x)", "print(missing)", "print(i)\nlet i = 0",
    ]
    loops = [("for i = 1, 3 do", "end"), ("for i in [1, 2, 3] do", "end"),
             ("let i = 0\nwhile i < 3 do\ni += 1", "end"), ("for i = 3, 1, -1 do", "end")]
    # Declarations that mention their own name, and nothing before them does.
    declarations = ["let x = {\"k\": x.k + i}", "let x = {\"k\": (function() return x.k end)() + i}"]
    cases = [[context, "let x = {\"k\": i * 10}"] for context in contexts] + [[line] for line in declarations]
    body = ["let return_value = nil", "function show(v) print(v) end"]
    for n, lines in enumerate(cases):
        for m, (head, tail) in enumerate(loops):
            loop = [head] + lines + ["print(x.k, i)", tail]
            later = [head, "let x = {\"k\": i * 10}", "if i == 2 then continue end", "let y = x.k + i",
                     "function f() return [x.k, y] end", "print(f(), x, y)", tail]
            # Run twice, so that a loop's kept scope is taken up again.
            kept = [head, "let z = [i]", "let w = z[0] * 2", "print(z, w, i)", tail]
            inner = ["for rep = 1, 2 do"] + indent(loop + later + kept) + ["end"]
            body += ["let x = {\"k\": %d}" % n, "try"] + indent(inner) + [
                "catch e", "  print(\"error %d.%d\", e)" % (n, m), "end", "print(x, return_value)"]
            body += ["function case%d_%d()" % (n, m), "  let x = {\"k\": -%d}" % n] + indent(inner) + [
                "  return x", "end", "try show(case%d_%d()) catch e print(\"error %d.%d\", e) end" % (n, m, n, m)]
    programs["loop-lets-before-use"] = "\n".join(body) + "\n"
    # The same contexts in a function body, before its `let x`: a call scope
    # may keep the body's names for the next call only where the body
    # declares before use. Each function is called three times, returns
    # early once, and is a global's or, inside another call, a local's.
    body = ["let return_value = nil", "function show(v) print(v) end"]
    for n, lines in enumerate(cases):
        inner = lines + ["print(x.k, i)", "if i == 2 then return x end", "let y = [x.k, i]", "return [x, y]"]
        calls = "for i = 1, 3 do try print(%s(i)) catch e print(\"error %d\", e) end end"
        body += ["let x = {\"k\": %d}" % n, "function call%d(i)" % n] + indent(inner) + ["end", calls % ("call%d" % n, n)]
        body += ["function outer%d()" % n, "  let x = {\"k\": -%d}" % n, "  function inner(i)"] + indent(inner, 2) + [
            "  end", "  " + calls % ("inner", n), "  return x", "end",
            "try show(outer%d()) catch e print(\"error %d\", e) end" % (n, n), "print(x, return_value)"]
    programs["call-lets-before-use"] = "\n".join(body) + "\n"
    # And in the blocks of if, else and try, run again and again: a block's
    # scope may be kept for its next run only where the block declares
    # before use.
    blocks = [("if i > 0 then", "end"), ("if i < 0 then\nprint(\"no\")\nelse", "end"),
              ("try", "catch e\nprint(\"caught\", e)\nend")]
    body = ["let return_value = nil"]
    for n, lines in enumerate(cases):
        for m, (head, tail) in enumerate(blocks):
            block = [head] + lines + ["print(x.k, i)", "let y = [x.k, i]", "print(y)", tail]
            loop = ["for i = 1, 3 do"] + indent(block) + ["end"]
            body += ["let x = {\"k\": %d}" % n, "try"] + indent(loop) + [
                "catch e", "  print(\"error %d.%d\", e)" % (n, m), "end"]
            body += ["function block%d_%d(i)" % (n, m), "  let x = {\"k\": -%d}" % n] + indent(block) + [
                "  return x", "end",
                "for i = 1, 3 do try print(block%d_%d(i)) catch e print(\"error %d.%d\", e) end end" % (n, m, n, m),
                "print(x, return_value)"]
    body += [
        # A block's kept scope taken up under another call's scope.
        "function nest(n, d)",
        "  if true then",
        "    let v = [n, d]",
        "    print(v)",
        "  end",
        "  if d > 0 then nest(n + 1, d - 1) end",
        "end",
        "for round = 1, 3 do nest(round, 2) end",
        "function walk(n, out)",
        "  if n > 0 then",
        "    let here = n * 10",
        "    walk(n - 1, out)",
        "    push(out, here)",
        "  end",
        "  return out",
        "end",
        "for round = 1, 3 do print(walk(round + 1, [])) end",
        "let kept = []",
        "for i = 1, 3 do",
        "  if i > 0 then",
        "    let v = i",
        "    push(kept, function() return v end)",
        "  end",
        "end",
        "print(map(function(f) return f() end, kept))",
        "for i = 1, 3 do",
        "  try",
        "    let a = i",
        "    if i == 2 then error(\"middle\") end",
        "    let b = a * 2",
        "    print(a, b)",
        "  catch e",
        "    print(e, i)",
        "  end",
        "end"]
    programs["block-lets-before-use"] = "\n".join(body) + "\n"
    # Arguments evaluated straight into the scope a function keeps for its
    # next call: arguments that call the same function, fail, print, or
    # give the wrong count, and bodies with lets, early returns, errors,
    # captures and recursion.
    programs["call-arguments"] = """
function args(a, b, c)
  let s = [a, b, c]
  return s
end
function noisy(v)
  print("arg", v)
  return v
end
for n = 1, 3 do
  print(args(noisy(n), args(n, n + 1, noisy(-n)), noisy(n * 10)))
  try print(args(noisy(n), args(n, error("bad " + str(n)), 0), noisy(0))) catch e print(e) end
  try print(args(n, n)) catch e print(e) end
  try print(args(n, noisy(n), n, n)) catch e print(e) end
  print(args(1, 2, 3), args(args(3, 2, 1), nil, args(n, [n], {"k": n})))
end
function fib(n)
  if n < 2 then return n end
  return fib(n - 1) + fib(n - 2)
end
print(fib(fib(7)), fib(fib(5) + fib(4)), fib(-1), fib(2.5))
try print(fib("x")) catch e print(e) end
function depth(n)
  let here = [n]
  let below = nil
  if n > 0 then below = depth(n - 1) end
  let total = n
  if below != nil then total = total + below[1] end
  return [here, total]
end
for round = 1, 3 do print(depth(round + 2)) end
function parity(n)
  if n % 2 == 0 then return "even" end
  let odd = n
  let twice = [odd, odd * 2]
  return twice
end
for n = 1, 5 do print(parity(n)) end
function fails(n)
  let before = n
  if n == 2 then error("two") end
  let after = before + 1
  return after
end
for n = 1, 3 do try print(fails(n)) catch e print(e) end end
function capturing(n)
  let v = n
  let get = function() return v end
  return get
end
let gets = []
for n = 1, 3 do push(gets, capturing(n)) end
print(map(function(g) return g() end, gets))
function declaring(n)
  let v = n * 2
  function twice() return v end
  return twice
end
let twices = []
for n = 1, 3 do push(twices, declaring(n)) end
print(map(function(g) return g() end, twices))
function swap(a, b)
  let t = a
  a = b
  b = t
  return [a, b]
end
for n = 1, 3 do print(swap(n, -n), swap(swap(n, 0)[0], n)) end
let calls = 0
function counted(a, b)
  calls += 1
  return a - b
end
for n = 1, 3 do print(sort([3, 1, 2, n], counted), map(function(v) return counted(v, n) end, [1, 2]), calls) end
"""
    return programs


# Programs that end in an uncaught error inside a fused statement: the exit
# status and the report are compared too.
# Sort's comparators of the forms the VM answers without a call (p OP q,
# q OP p, p[k] OP q[k], p.f OP q.f) with every comparison, and near misses
# that it must call, over lists of every kind of element those forms meet:
# Ints, Floats, both (1 and 1.0 equal, told apart in the output), NaN and
# -0.0, strings with common prefixes and empty ones, pairs and maps keyed
# by those with distinct payloads (stability), elements whose key is
# missing or out of range, and a mixed kind that raises an error in the
# middle of a sort, or in the first comparison on either side. Lists are
# longer than the insertion runs (12) and than 100, so the merges run too.
def comparator_forms_program():
    forms = ["function(a, b) return a $ b end", "function(a, b) return b $ a end",
             "function(a, b) return a[0] $ b[0] end", "function(a, b) return b[1] $ a[1] end",
             "function(a, b) return a.k $ b.k end", "function(a, b) return b[\"k\"] $ a.k end"]
    comparators = [form.replace("$", op) for form in forms for op in COMPARISONS]
    comparators += [
        "function(a, b)\n  calls = calls + 1\n  return a < b\nend",
        "function(a, b) return a[0] < b[1] end",
        "function(a, b) return a.k < b.p end",
        "function(a, b) return a[key] <= b[key] end",
        "keyedBy(0)",
        "function(a, b, c) return a < b end",
        "function(a, b) return a < b[0] end",
        "function(a, b) return a[0.0] > b[0.0] end",
        # Near misses of the tree-walker's reading of the form on the syntax
        # tree: one parameter on both sides, a repeated parameter name, keys
        # of different kinds, a negative key (an operator, not a literal).
        "function(a, b) return a < a end",
        "function(a, a) return a < a end",
        "function(a, b) return a[1] < b[\"1\"] end",
        "function(a, b) return a[-1] >= b[-1] end",
    ]
    lines = [
        "let calls = 0",
        "let key = 0",
        "function keyedBy(k) return function(a, b) return a[k] > b[k] end end",
        "let lists = []",
        "let ints = []",
        "let floats = []",
        "let mixed = []",
        "let texts = []",
        "for i = 0, 129 do",
        "  push(ints, (i * 7919) % 23 - 11)",
        "  push(floats, ((i * 31) % 17) / 4 - 2)",
        "  if i % 3 == 0 then push(mixed, (i * 13) % 7) else push(mixed, (i * 13) % 7 + 0.0) end",
        "  push(texts, [\"\", \"a\", \"ab\", \"abc\", \"b\", \"B\", \"ab \", \"\u00e9\"][(i * 5) % 8])",
        "end",
        "let specials = [%s, 0, -0.0, 1, %s, -1, 0.0, -0.0, %s, %s, %s, 2.5, 0]" % (NAN, NAN, INF, MAX, MIN),
        "let short = [3, 1, 2.5, -0.0, 0, 1.0]",
        "let broken = []",
        "for i = 0, 29 do if i == 20 then push(broken, \"x\") else push(broken, (i * 7) % 11) end end",
        # Ints above 2^53 compare as their doubles: equal neighbours keep their order.
        "let bigs = []",
        "for i = 0, 39 do push(bigs, 9007199254740992 + (i * 7) % 5 - 2) end",
        "push(bigs, %s)" % MAX,
        "push(bigs, 9223372036854775000)",
        "push(bigs, %s)" % MIN,
        # One element of another kind, first, in the middle or last, among
        # numbers or strings: no comparison of that sort is answered in bulk.
        "let odd = []",
        "for place in [0, 64, 129] do",
        "  let numbers = []",
        "  let words = []",
        "  for i = 0, 129 do",
        "    push(numbers, ints[i])",
        "    push(words, texts[i])",
        "  end",
        "  numbers[place] = \"7\"",
        "  words[place] = 7",
        "  push(odd, numbers)",
        "  push(odd, words)",
        "end",
        "for keys in [ints, floats, mixed, texts, specials, short, broken, bigs] + odd do",
        "  push(lists, keys)",
        "  let pairs = []",
        "  let maps = []",
        "  for i = 0, len(keys) - 1 do",
        "    push(pairs, [keys[i], keys[(i * 3) % len(keys)], i])",
        "    push(maps, {\"k\": keys[i], \"p\": i, \"q\": keys[(i * 3) % len(keys)]})",
        "  end",
        "  push(lists, pairs)",
        "  push(lists, maps)",
        "end",
        "let holes = []",
        "for i = 0, 39 do push(holes, [i % 5, i]) end",
        "holes[17] = [1]",
        "push(lists, holes)",
        "let short_pairs = []",
        "for i = 0, 39 do push(short_pairs, [i % 5, i]) end",
        "short_pairs[25] = []",
        "push(lists, short_pairs)",
        "let missing = []",
        "for i = 0, 39 do push(missing, {\"k\": i % 4, \"p\": i, \"i\": i}) end",
        "missing[30] = {\"p\": 30}",
        "push(lists, missing)",
        # One map without the key (nil, which only == and != compare), first,
        # in the middle or last.
        "for place in [0, 20, 39] do",
        "  let gap = []",
        "  for i = 0, 39 do push(gap, {\"k\": i % 4, \"p\": i}) end",
        "  gap[place] = {\"p\": place}",
        "  push(lists, gap)",
        "end",
        "push(lists, [{\"k\": 2, 0: 5, 1: 7}, {\"k\": 1, 0: 6, 1: 8}, \"ba\", \"ab\"])",
        "push(lists, [[1, 2], \"ab\", [0, 3]])",
        # Two elements, one without the key: the first comparison reads it
        # on the left or on the right, so answering it instead of failing shows.
        "for bad in [[], [1], {\"p\": 0}, \"s\", 4] do",
        "  push(lists, [[5, 0], bad])",
        "  push(lists, [bad, [5, 0]])",
        "  push(lists, [{\"k\": 5}, bad])",
        "  push(lists, [bad, {\"k\": 5}])",
        "end",
    ]
    for n, comparator in enumerate(comparators):
        lines.append("let less%d = %s" % (n, comparator))
    lines += ["for l = 0, len(lists) - 1 do"]
    for n in range(len(comparators)):
        lines += ["  try", "    print(%d, l, sort(lists[l], less%d))" % (n, n), "  catch e",
                  "    print(%d, l, \"error\", e)" % n, "  end"]
    lines += ["end", "print(calls)"]
    return "\n".join(lines) + "\n"


def uncaught_programs():
    programs = {}
    shapes = [
        ("add", ["let a = \"x\"", "let b = 1"], "r = a + b"),
        ("sub-constant", ["let a = nil"], "r = a - 1"),
        ("compare", ["let a = [1]", "let b = 2"], "if a < b then r = 1 end"),
        ("compare-constant", ["let a = \"s\""], "if a < 3 then r = 1 end"),
        ("index", ["let l = [1, 2]", "let i = 5"], "r = l[i]"),
        ("grid", ["let l = [[1]]", "let i = 0", "let j = 3"], "r = l[i][j]"),
        ("store", ["let l = \"abc\"", "let i = 0"], "l[i] = 1"),
        ("field", ["let l = 5"], "r = l.k"),
        ("arith-store", ["let l = [1]", "let a = 2"], "l[1] = a * 3"),
        ("add-assign", ["let a = {}"], "r += a"),
        ("modulo", ["let a = 7"], "r = a % 0"),
        ("undefined", [], "r = missing + 1"),
        ("after-return", ["let a = [1]", "let f = function(p) try return p catch e return 0 end end"], "r = f(a) - 1"),
    ]
    for name, declarations, statement in shapes:
        programs["uncaught-%s-global" % name] = "\n".join(["let r = 0"] + declarations + [statement, "print(r)"]) + "\n"
        programs["uncaught-%s-local" % name] = "\n".join(
            ["function f()", "  let r = 0"] + indent(declarations) + ["  " + statement, "  print(r)", "end",
                                                                       "print(\"before\")", "f()"]) + "\n"
    # A callback's own failure, reported from inside a builtin.
    programs["uncaught-callback-arity"] = "print(\"before\")\nprint(sort([2, 1], function(a) return true end))\n"
    programs["uncaught-callback-not-callable"] = "print(\"before\")\nprint(sort([2, 1], 7))\n"
    # A comparator of a form the VM answers without a call, reaching a pair
    # it must call: the error comes from the comparator's line.
    programs["uncaught-comparator-form"] = "\n".join([
        "let items = []", "for i = 0, 40 do push(items, [i % 7, i]) end", "items[33] = [\"x\", 33]",
        "print(sort(items, function(a, b) return a[1] > b[1] end)[0])", "print(\"before\")",
        "let order = function(a, b)", "  return a[0] < b[0]", "end", "print(sort(items, order))"]) + "\n"
    programs["uncaught-callback-error"] = "\n".join([
        "function order(list, limit)", "  return sort(list, function(a, b)", "    if a > limit then",
        "      return a < b.x", "    end", "    return a < b", "  end)", "end", "print(order([3, 1, 2], 5))",
        "print(map(function(v) return order([v, 9, 7], 8) end, [1]))", "print(\"after\")"]) + "\n"
    return programs


# -- running and comparing -----------------------------------------------------

ENGINES = [("vm", "fast"), ("vm", "plain"), ("tree", "fast"), ("tree", "plain")]

LOCATION = re.compile(rb"^(  --> .*:\d+):\d+$", re.M)
CARET = re.compile(rb"^ *\^$", re.M)
OPERATOR_MESSAGE = re.compile(rb"operator '[^']*' needs numbers, got")


def normalised(result):
    """The differences the language defines between the engines, removed."""
    status, out, err = result
    out = OPERATOR_MESSAGE.sub(b"arithmetic needs numbers, got", out)
    err = OPERATOR_MESSAGE.sub(b"arithmetic needs numbers, got", err)
    err = CARET.sub(b"^", LOCATION.sub(rb"\1:COLUMN", err))
    return status, out, err


def run(program, engine, path, timeout):
    try:
        done = subprocess.run([program, "--" + engine, path], capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return ("timeout", b"", b"")
    return (done.returncode, done.stdout, done.stderr)


def first_difference(a, b):
    """The first differing line of two outputs, with its neighbours."""
    la, lb = a.split(b"\n"), b.split(b"\n")
    for n in range(max(len(la), len(lb))):
        x = la[n] if n < len(la) else b"<end>"
        y = lb[n] if n < len(lb) else b"<end>"
        if x != y:
            context = la[max(0, n - 2):n]
            return n, context, x, y
    return None


def describe(name, left_name, left, right_name, right):
    lines = ["%s: %s and %s disagree" % (name, left_name, right_name)]
    if left[0] != right[0]:
        lines.append("  exit status: %s %s, %s %s" % (left_name, left[0], right_name, right[0]))
    for stream, index in (("stdout", 1), ("stderr", 2)):
        found = first_difference(left[index], right[index])
        if found:
            n, context, x, y = found
            lines.append("  %s line %d:" % (stream, n + 1))
            lines += ["      " + c.decode(errors="replace") for c in context]
            lines.append("    %s: %s" % (left_name, x.decode(errors="replace")[:300]))
            lines.append("    %s: %s" % (right_name, y.decode(errors="replace")[:300]))
    return lines


def check(name, source, across, velmor, plain, workdir, timeout):
    path = os.path.join(workdir, re.sub(r"\W", "_", name) + ".vlm")
    with open(path, "w", encoding="utf-8") as f:
        f.write(source)
    results = {}
    for engine, kind in ENGINES:
        results[(engine, kind)] = run(velmor if kind == "fast" else plain, engine, path, timeout)
    problems = []
    for engine in ("vm", "tree"):
        if results[(engine, "fast")] != results[(engine, "plain")]:
            problems += describe(name, "fast " + engine, results[(engine, "fast")], "plain " + engine,
                                 results[(engine, "plain")])
    if across and normalised(results[("vm", "plain")]) != normalised(results[("tree", "plain")]):
        problems += describe(name, "plain vm", normalised(results[("vm", "plain")]), "plain tree",
                             normalised(results[("tree", "plain")]))
    for (engine, kind), result in results.items():
        if result[0] == "timeout" or b"SyntaxError" in result[2] or b"CompileError" in result[2]:
            problems.append("%s: %s %s: %s %s" % (name, kind, engine, result[0], result[2][:300]))
    return name, path, problems


def programs(only, every=1):
    for number, group in enumerate(GROUPS):
        if only and group.name not in only:
            continue
        scopes = group.scopes or SCOPES
        # With --every N each group keeps one scope in N, rotating from group
        # to group so that every scope is still met somewhere, and at least one.
        kept = [s for i, s in enumerate(scopes) if (number + i) % every == 0] or scopes[:1]
        for scope in kept:
            yield "%s/%s" % (group.name, scope), group_program(group, scope), group.across
    # Compiled code gives every iteration one loop variable and resolves names
    # when it is compiled; the tree-walker binds per pass and looks names up
    # as it runs. These programs show that, or reach the engines' different
    # frame limits, so each engine is compared only with itself.
    within_engine = {"loop-captures", "closures-see-later-lets", "loop-lets-before-use",
                     "returns-at-the-frame-limit"}
    for name, source in dynamic_programs().items():
        if not only or name in only:
            yield name, source, name not in within_engine
    for name, source in uncaught_programs().items():
        if not only or "uncaught" in only:
            yield name, source, True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--velmor", required=True, help="the velmor program")
    parser.add_argument("--plain", required=True, help="velmor-plain: the same without the fast paths")
    parser.add_argument("--only", default="", help="comma-separated group names")
    parser.add_argument("--keep", help="write the generated programs into this folder")
    parser.add_argument("-j", "--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--every", type=int, default=1,
                        help="run one scope in N of each group (for the slow sanitized builds)")
    args = parser.parse_args()
    only = set(filter(None, args.only.split(",")))

    with tempfile.TemporaryDirectory() as scratch:
        workdir = args.keep or scratch
        os.makedirs(workdir, exist_ok=True)
        todo = list(programs(only, max(1, args.every)))
        failures = 0
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            jobs = [pool.submit(check, name, source, across, args.velmor, args.plain, workdir, args.timeout)
                    for name, source, across in todo]
            for job in jobs:
                name, path, problems = job.result()
                if problems:
                    failures += 1
                    print("FAIL " + name + "  (" + path + ")")
                    print("\n".join(problems))
                    sys.stdout.flush()
        sizes = {group.name: len(group.cases) for group in GROUPS}
        cases = sum(sizes.get(name.split("/")[0], 0) for name, _, _ in todo)
        print("%d programs (%d generated cases), %d disagreements" % (len(todo), cases, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
