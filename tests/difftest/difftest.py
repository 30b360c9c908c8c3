#!/usr/bin/env python3
"""Differential tester: random valid Velmor programs run on both engines.

The generator writes programs over every value kind — numbers of both
kinds, strings, lists, maps, functions and closures — with loops, try/catch,
builtin calls and prints, and keeps away from the few constructs where the
two engines are defined to differ:

- no closure is created inside a loop body (compiled loops share one loop
  variable, the tree-walker binds it afresh per iteration);
- numeric for-loops have Int bounds and a non-zero Int step;
- arithmetic only ever sees numbers (the engines word that error
  differently), and no runtime error is left uncaught (the tree-walker
  reports a column, the VM does not): every error is raised inside a
  try whose handler prints the message;
- the value of an assignment never depends on the target's own object
  (the engines evaluate the two sides in different orders);
- map literals hold only string and number keys; break/continue only in loops;
  recursion stays shallow.

The simple statements that the engines' fast paths are built for get most
of the weight: `x = y op z`, `x = y op 7`, `x op= y` on variables of every
scope, element stores `a[i] = v`, grid reads `g[i][j]`, `p.x += v`,
comparisons that branch, and loops over locals and lists.

Each program is run with `velmor --vm`, `velmor-plain --vm` (the VM without
its fast paths) and `velmor --tree`; standard output, standard error and
exit status must agree, exactly between the two VMs and up to the VM's
missing error column with the tree-walker. A disagreement is shrunk by
deleting runs of lines while it persists, then written out with --save-dir;
the run stops after --max-failures of them.

Usage: difftest.py --velmor PATH --plain PATH [--seed N] [--count N] [-j N] [--save-dir DIR]
"""

import argparse
import concurrent.futures
import itertools
import os
import random
import re
import subprocess
import sys
import tempfile

INT, FLOAT, STR, LIST, MAP, BOOL = "int", "float", "str", "list", "map", "bool"
LOOP_INT = "loop-int"
# Containers of a fixed shape for the element statements: a list of three to
# five Ints that never shrinks, a list of equally long rows of Ints, and a map
# with the number fields x and y.
INTLIST, GRID, POINT = "intlist", "grid", "point"


class Generator:
    def __init__(self, rng):
        self.rng = rng
        self.lines = []
        self.indent = 0
        self.scopes = [{}]  # name -> kind
        self.functions = []  # (name, arity) of top-level functions, each returning a number
        self.counter = 0
        self.loop_depth = 0
        self.function_depth = 0
        # While generating the value of an assignment: no calls of user
        # functions, which may change the target (the engines evaluate the
        # two sides of an assignment in different orders).
        self.no_calls = False
        # Inside ${...} code: no nested interpolation, whose quotes would end
        # the enclosing string's code early.
        self.in_interpolation = False

    # -- helpers -----------------------------------------------------------
    def fresh(self, prefix):
        self.counter += 1
        return "%s%d" % (prefix, self.counter)

    def emit(self, text):
        self.lines.append("  " * self.indent + text)

    def names(self, kind, assignable=False, inner=False):
        # Loop variables read as ints but are never assigned: a compiled loop
        # counts with its variable, the tree-walker with a hidden counter.
        # `inner`: only the variables of scopes other than the top level's.
        accepted = {kind} if assignable or kind != INT else {INT, LOOP_INT}
        found = []
        for scope in self.scopes[1:] if inner else self.scopes:
            found += [n for n, k in scope.items() if k in accepted]
        return found

    def declare(self, name, kind):
        self.scopes[-1][name] = kind

    def push_scope(self):
        self.scopes.append({})

    def pop_scope(self):
        self.scopes.pop()

    # -- expressions -------------------------------------------------------
    def int_expr(self, depth=0):
        r = self.rng
        choices = ["lit", "lit", "var"]
        if depth < 3:
            choices += ["bin", "bin", "neg", "len", "call", "builtin", "idx"]
        c = r.choice(choices)
        if c == "lit":
            return str(r.choice([0, 1, 2, 3, 5, 7, 10, 42, 100, 255, 1000, 65536, 2 ** 31, 2 ** 62]))
        if c == "var":
            vs = self.names(INT)
            return r.choice(vs) if vs else str(r.randint(0, 9))
        if c == "neg":
            return "-(%s)" % self.int_expr(depth + 1)
        if c == "len":
            k = r.choice([STR, LIST, MAP])
            return "len(%s)" % self.expr(k, depth + 1)
        if c == "call" and self.functions and self.function_depth == 0 and not self.no_calls:
            name, arity = r.choice(self.functions)
            return "int(%s(%s))" % (name, ", ".join(self.num_expr(depth + 1) for _ in range(arity)))
        if c == "builtin":
            f = r.choice(["abs(%s)", "floor(%s)", "sign(%s)", "int(%s)", "min(%s, 3)", "max(%s, -3)",
                          "clamp(%s, -50, 50)", "round(%s)"])
            return f % self.num_expr(depth + 1)
        if c == "idx":
            vs = self.names(LIST)
            if vs:
                v = r.choice(vs)
                return "(len(%s) + %s) %% 7" % (v, self.int_expr(depth + 1))
        a, b = self.int_expr(depth + 1), self.int_expr(depth + 1)
        op = r.choice(["+", "-", "*", "//", "%", "+", "-"])
        if op in ("//", "%"):
            return "(%s) %s (abs(%s) + 1)" % (a, op, b)
        return "(%s %s %s)" % (a, op, b)

    def float_expr(self, depth=0):
        r = self.rng
        c = r.choice(["lit", "var", "bin", "div", "fn", "mix"] if depth < 3 else ["lit", "var"])
        if c == "lit":
            return r.choice(["0.5", "1.25", "3.0", "0.1", "2.5e3", "1e-3", "100.0", "-0.0", "7.75"])
        if c == "var":
            vs = self.names(FLOAT)
            return r.choice(vs) if vs else "1.5"
        if c == "div":
            return "(%s / (abs(%s) + 1))" % (self.num_expr(depth + 1), self.num_expr(depth + 1))
        if c == "fn":
            f = r.choice(["sqrt(abs(%s))", "float(%s)", "sin(%s)", "cos(%s)", "exp(min(%s, 5))",
                          "pow(1.5, clamp(%s, -5, 5))", "round(%s, 2)"])
            return f % self.num_expr(depth + 1)
        if c == "mix":
            return "(%s %s %s)" % (self.float_expr(depth + 1), r.choice(["+", "-", "*"]), self.int_expr(depth + 1))
        return "(%s %s %s)" % (self.float_expr(depth + 1), r.choice(["+", "-", "*"]), self.float_expr(depth + 1))

    def num_expr(self, depth=0):
        return self.int_expr(depth) if self.rng.random() < 0.6 else self.float_expr(depth)

    def str_expr(self, depth=0):
        r = self.rng
        c = r.choice(["lit", "var", "cat", "interp", "fn", "str"] if depth < 3 else ["lit", "var"])
        if c == "lit":
            return r.choice(['"abc"', '""', '"Hello, World"', "'single'", '"tab\\there"', '"a,b,,c"',
                             '"  padded  "', '"quote\\"d"', '"x"'])
        if c == "var":
            vs = self.names(STR)
            return r.choice(vs) if vs else '"v"'
        if c == "cat":
            return "(%s + %s)" % (self.str_expr(depth + 1), self.str_expr(depth + 1))
        if c == "interp" and not self.in_interpolation:
            self.in_interpolation = True
            text = '"n=${%s} s=${%s}"' % (self.int_expr(depth + 1), self.expr(r.choice([LIST, MAP, BOOL]), depth + 1))
            self.in_interpolation = False
            return text
        if c == "interp":
            return "str(%s)" % self.int_expr(depth + 1)
        if c == "str":
            return "str(%s)" % self.expr(r.choice([INT, FLOAT, LIST, MAP, BOOL]), depth + 1)
        f = r.choice(["upper(%s)", "lower(%s)", "trim(%s)", "capitalize(%s)", "reverse(%s)",
                      "replace(%s, \"a\", \"<>\")", "join(split(%s, \",\"), \"|\")", "repeat(%s, 2)",
                      "slice(%s, 1, -1)", "repr(%s)"])
        return f % self.str_expr(depth + 1)

    def bool_expr(self, depth=0):
        r = self.rng
        c = r.choice(["cmp", "eq", "lit", "logic", "not", "has"] if depth < 3 else ["lit", "cmp"])
        if c == "lit":
            return r.choice(["true", "false"])
        if c == "cmp":
            return "(%s %s %s)" % (self.num_expr(depth + 1), r.choice(["<", "<=", ">", ">="]), self.num_expr(depth + 1))
        if c == "eq":
            k = r.choice([INT, FLOAT, STR, LIST, BOOL])
            return "(%s %s %s)" % (self.expr(k, depth + 1), r.choice(["==", "!="]), self.expr(r.choice([k, INT]), depth + 1))
        if c == "logic":
            return "(%s %s %s)" % (self.bool_expr(depth + 1), r.choice(["and", "or"]), self.bool_expr(depth + 1))
        if c == "not":
            return "not %s" % self.bool_expr(depth + 1)
        return r.choice(["has(%s, \"a\")" % self.str_expr(depth + 1), "starts_with(%s, \"a\")" % self.str_expr(depth + 1),
                         "is_number(%s)" % self.expr(r.choice([INT, STR]), depth + 1)])

    def list_expr(self, depth=0):
        r = self.rng
        c = r.choice(["lit", "var", "range", "fn", "cat"] if depth < 3 else ["lit", "var"])
        if c == "var":
            vs = self.names(LIST)
            if vs:
                return r.choice(vs)
        if c == "range":
            return "range(%d, %d, %d)" % (r.randint(-3, 3), r.randint(0, 12), r.choice([1, 2, 3, -1]))
        if c == "fn":
            inner = self.list_expr(depth + 1)
            return r.choice(["reverse(%s)", "copy(%s)", "slice(%s, 1)", "map(function(x) return str(x) end, %s)",
                             "filter(function(x) return x != nil end, %s)", "enumerate(%s)",
                             "zip(%s, [1, 2, 3])"]) % inner
        if c == "cat":
            return "(%s + %s)" % (self.list_expr(depth + 1), self.list_expr(depth + 1))
        n = r.randint(0, 4)
        return "[" + ", ".join(self.expr(r.choice([INT, FLOAT, STR, BOOL]), depth + 1) for _ in range(n)) + "]"

    def map_expr(self, depth=0):
        r = self.rng
        vs = self.names(MAP)
        if vs and r.random() < 0.5:
            return r.choice(vs)
        n = r.randint(0, 3)
        entries = []
        for _ in range(n):
            key = r.choice(["a", "b", "name", '"k"', "1", "2.0", '"x y"', "[%s]" % self.str_expr(depth + 2)])
            entries.append("%s: %s" % (key, self.expr(r.choice([INT, STR, LIST, BOOL]), depth + 2)))
        return "{" + ", ".join(entries) + "}"

    def intlist_expr(self, depth=0):
        return "[%s]" % ", ".join(self.int_expr(2) for _ in range(self.rng.randint(3, 5)))

    def grid_expr(self, depth=0):
        width = self.rng.randint(1, 3)
        rows = ["[%s]" % ", ".join(self.int_expr(3) for _ in range(width)) for _ in range(self.rng.randint(1, 3))]
        return "[%s]" % ", ".join(rows)

    def point_expr(self, depth=0):
        return '{"x": %s, "y": %s}' % (self.num_expr(2), self.num_expr(2))

    def expr(self, kind, depth=0):
        return {INT: self.int_expr, FLOAT: self.float_expr, STR: self.str_expr, LIST: self.list_expr,
                MAP: self.map_expr, BOOL: self.bool_expr, INTLIST: self.intlist_expr, GRID: self.grid_expr,
                POINT: self.point_expr}[kind](depth)

    def any_expr(self):
        return self.expr(self.rng.choice([INT, INT, FLOAT, STR, LIST, MAP, BOOL]))

    # -- statements --------------------------------------------------------
    def statement(self, depth):
        r = self.rng
        kinds = ["let", "let", "print", "print", "assign", "compound"]
        # The shapes the fast paths are built for, weighted heavily.
        kinds += ["arith"] * 4 + ["arith_const"] * 3 + ["compound_var"] * 3 + ["string_add"]
        kinds += ["elem_store", "elem_store", "grid_read", "field_add", "field_add", "if_compare", "if_compare"]
        if depth < 3:
            kinds += ["if", "while", "for", "forin", "try", "listops", "local_loop", "local_loop"]
        if depth == 0 and self.function_depth == 0:
            # Functions give the simple statements parameters and locals to work on.
            kinds += ["function"] * 4 + ["closure"]
        if self.loop_depth and r.random() < 0.1:
            kinds.append("break")
        c = r.choice(kinds)
        getattr(self, "stmt_" + c)(depth)

    def block(self, depth, count=None):
        self.indent += 1
        self.push_scope()
        for _ in range(count if count is not None else self.rng.randint(1, 3)):
            self.statement(depth + 1)
        self.pop_scope()
        self.indent -= 1

    def stmt_let(self, depth):
        kind = self.rng.choice([INT, INT, FLOAT, STR, LIST, MAP, BOOL, INTLIST, GRID, POINT])
        name = self.fresh(kind[0])
        self.emit("let %s = %s" % (name, self.expr(kind)))
        self.declare(name, kind)

    # -- the simple statements -----------------------------------------------
    def numbers(self, kind):
        """Variables to read as operands for a target of `kind`: Ints for an Int;
        mostly locals, parameters and loop variables where there are any."""
        inner = self.rng.random() < 0.7
        found = self.names(INT, inner=inner) + ([] if kind == INT else self.names(FLOAT, inner=inner))
        return found or (self.names(INT) if kind == INT else self.names(INT) + self.names(FLOAT))

    def operand(self, kind):
        vs = self.numbers(kind)
        if vs and self.rng.random() < 0.85:
            return self.rng.choice(vs)
        return self.int_expr(3) if kind == INT else self.rng.choice(["2.5", "-0.0", "0.1", "3"])

    def container(self, kind):
        """A variable holding a container of `kind`, declared now when there is none."""
        vs = self.names(kind)
        if vs:
            return self.rng.choice(vs)
        name = self.fresh(kind[0])
        self.emit("let %s = %s" % (name, self.expr(kind)))
        self.declare(name, kind)
        return name

    def index_into(self, container):
        """A fresh local Int that indexes `container` within its length."""
        k = self.fresh("k")
        # An Int whatever the operand holds (parameters may be passed either kind of number).
        self.emit("let %s = len(str(%s)) %% len(%s)" % (k, self.operand(INT), container))
        self.declare(k, LOOP_INT)  # read as an Int, never assigned: it must stay in range
        return k

    def stmt_arith(self, depth):
        kind = self.rng.choice([INT, INT, FLOAT])
        targets = self.names(kind, assignable=True)
        if not targets:
            return self.stmt_let(depth)
        op = self.rng.choice(["+", "+", "-", "*"] + (["/"] if kind == FLOAT else []))
        left, right = self.operand(kind), self.operand(kind)
        if op == "/":
            right = "(abs(%s) + 1)" % right
        self.emit("%s = %s %s %s" % (self.rng.choice(targets), left, op, right))

    def stmt_arith_const(self, depth):
        kind = self.rng.choice([INT, INT, FLOAT])
        targets = self.names(kind, assignable=True)
        if not targets:
            return self.stmt_let(depth)
        op = self.rng.choice(["+", "+", "-", "*", "%", "//"])
        constant = self.rng.choice(["1", "2", "7", "10", "255"] if op in ("%", "//") else ["1", "7", "0", "-3", "100"])
        target = self.rng.choice(targets)
        left = self.rng.choice([target, self.operand(kind)])
        self.emit("%s = %s %s %s" % (target, left, op, constant))

    def stmt_compound_var(self, depth):
        kind = self.rng.choice([INT, INT, FLOAT])
        targets = self.names(kind, assignable=True)
        if not targets:
            return self.stmt_let(depth)
        self.emit("%s %s %s" % (self.rng.choice(targets), self.rng.choice(["+=", "+=", "-=", "*="]),
                                self.operand(kind)))

    def stmt_string_add(self, depth):
        targets = self.names(STR, assignable=True)
        if not targets:
            return self.stmt_let(depth)
        s = self.rng.choice(targets)
        piece = self.rng.choice(['"ab"', '"."', '""', "str(%s)" % self.operand(INT)])
        # Only pieces of a bounded size are added, so loops cannot double a string.
        shape = self.rng.choice(["%s = %s + %s", "%s += %s", "%s = %s + %s"])
        if shape == "%s += %s":
            self.emit(shape % (s, piece))
        else:
            self.emit(shape % (s, self.rng.choice(self.names(STR)), piece))
        self.emit("if len(%s) > 60 then %s = slice(%s, 0, 10) end" % (s, s, s))

    def stmt_elem_store(self, depth):
        a = self.container(INTLIST)
        k = self.index_into(a)
        self.no_calls = True
        value = self.rng.choice([self.operand(INT), self.operand(INT), "%s[%s] + 1" % (a, k), "7"])
        self.no_calls = False
        self.emit("%s[%s] = %s" % (a, k, value))
        if self.rng.random() < 0.5:
            self.emit("%s[%s] %s %s" % (a, k, self.rng.choice(["+=", "-=", "*="]), self.operand(INT)))
        if self.rng.random() < 0.3:
            self.emit("print(%s)" % a)

    def stmt_grid_read(self, depth):
        g = self.container(GRID)
        i = self.index_into(g)
        j = self.fresh("k")
        self.emit("let %s = len(str(%s)) %% len(%s[%s])" % (j, self.operand(INT), g, i))
        self.declare(j, LOOP_INT)
        targets = self.names(INT, assignable=True)
        if targets and self.rng.random() < 0.7:
            self.emit("%s = %s[%s][%s]" % (self.rng.choice(targets), g, i, j))
        else:
            self.emit("print(%s[%s][%s])" % (g, i, j))
        if self.rng.random() < 0.3:
            self.emit("%s[%s][%s] = %s" % (g, i, j, self.operand(INT)))

    def stmt_field_add(self, depth):
        p = self.container(POINT)
        self.no_calls = True
        value = self.operand(self.rng.choice([INT, FLOAT]))
        self.no_calls = False
        shape = self.rng.randint(0, 2)
        if shape == 0:
            self.emit("%s.x += %s" % (p, value))
        elif shape == 1:
            self.emit("%s.y -= %s" % (p, value))
        else:
            self.emit("%s.x = %s.y + %s" % (p, p, value))
        if self.rng.random() < 0.4:
            self.emit("print(%s.x, %s.y)" % (p, p))

    def stmt_if_compare(self, depth):
        left = self.operand(self.rng.choice([INT, FLOAT]))
        right = self.rng.choice([self.operand(FLOAT), self.rng.choice(["0", "3", "-1", "100"])])
        self.emit("if %s %s %s then" % (left, self.rng.choice(["<", "<=", ">", ">=", "==", "!="]), right))
        self.block(depth, self.rng.randint(1, 2))
        if self.rng.random() < 0.5:
            self.emit("else")
            self.block(depth, 1)
        self.emit("end")

    def stmt_local_loop(self, depth):
        a = self.container(INTLIST)
        total = self.fresh("i")
        self.emit("let %s = 0" % total)
        self.declare(total, INT)
        shape = self.rng.randint(0, 2)
        v = self.fresh("i")
        if shape == 0:
            self.emit("for %s = 0, len(%s) - 1 do" % (v, a))
            self.indent += 1
            self.emit("%s = %s + %s[%s]" % (total, total, a, v))
        elif shape == 1:
            self.emit("for %s in %s do" % (v, a))
            self.indent += 1
            self.emit("%s += %s" % (total, v))
        else:
            self.emit("let %s = 0" % v)
            self.emit("while %s < len(%s) do" % (v, a))
            self.indent += 1
            self.emit("%s = %s + %s[%s] * 2" % (total, total, a, v))
            self.emit("%s += 1" % v)
        self.indent -= 1
        self.emit("end")
        self.emit("print(%s)" % total)

    def stmt_print(self, depth):
        args = ", ".join(self.any_expr() for _ in range(self.rng.randint(1, 3)))
        self.emit("print(%s)" % args)

    def stmt_assign(self, depth):
        kind = self.rng.choice([INT, FLOAT, STR])
        vs = self.names(kind, assignable=True)
        if vs:
            self.no_calls = True
            value = self.expr(kind)
            self.no_calls = False
            if kind == STR:
                value = "slice(%s, 0, 40)" % value  # keep strings from doubling without bound in loops
            self.emit("%s = %s" % (self.rng.choice(vs), value))
        else:
            self.stmt_let(depth)

    def stmt_compound(self, depth):
        vs = self.names(INT, assignable=True)
        self.no_calls = True
        if vs:
            op = self.rng.choice(["+=", "-=", "*="])
            self.emit("%s %s %s" % (self.rng.choice(vs), op, self.int_expr(1)))
        maps = self.names(MAP)
        if maps:
            m = self.rng.choice(maps)
            self.emit('%s["c"] = %s' % (m, self.int_expr(2)))
            self.emit('%s.c += 1' % m)
        self.no_calls = False

    def stmt_listops(self, depth):
        vs = self.names(LIST)
        if not vs:
            return self.stmt_let(depth)
        v = self.rng.choice(vs)
        op = self.rng.randint(0, 4)
        if op == 0:
            self.emit("push(%s, %s)" % (v, self.any_expr()))
        elif op == 1:
            self.emit("if len(%s) > 0 then print(pop(%s)) end" % (v, v))
        elif op == 2:
            self.no_calls = True
            self.emit("if len(%s) > 1 then %s[1] = %s end" % (v, v, self.expr(STR)))
            self.no_calls = False
        elif op == 3:
            self.emit("print(len(%s), %s)" % (v, v))
        else:
            self.emit("insert(%s, 0, %s)" % (v, self.int_expr(2)))

    def stmt_if(self, depth):
        self.emit("if %s then" % self.bool_expr())
        self.block(depth)
        if self.rng.random() < 0.4:
            self.emit("elif %s then" % self.bool_expr())
            self.block(depth)
        if self.rng.random() < 0.5:
            self.emit("else")
            self.block(depth)
        self.emit("end")

    def stmt_while(self, depth):
        i = self.fresh("w")
        self.emit("let %s = 0" % i)
        self.emit("while %s < %d do" % (i, self.rng.randint(0, 5)))
        self.indent += 1
        self.emit("%s = %s + 1" % (i, i))
        self.indent -= 1
        self.loop_depth += 1
        self.block(depth)
        self.loop_depth -= 1
        self.emit("end")

    def stmt_for(self, depth):
        v = self.fresh("i")
        start, stop = self.rng.randint(-2, 4), self.rng.randint(-2, 6)
        step = self.rng.choice(["", ", 1", ", 2", ", -1", ", -2"])
        self.emit("for %s = %d, %d%s do" % (v, start, stop, step))
        self.loop_body(depth, v, LOOP_INT, skip_a=False)

    def stmt_forin(self, depth):
        v = self.fresh("e")
        kind = self.rng.choice([LIST, STR, MAP])
        self.emit("for %s in %s do" % (v, self.expr(kind)))
        self.loop_body(depth, v, None, skip_a=self.rng.random() < 0.3)

    def loop_body(self, depth, variable, kind, skip_a):
        """The body of a for loop that prints its variable, then `end`."""
        self.loop_depth += 1
        self.indent += 1
        self.push_scope()
        if kind:
            self.declare(variable, kind)
        self.emit("print(%s)" % variable)
        if skip_a:
            self.emit("if %s == \"a\" then continue end" % variable)
        for _ in range(self.rng.randint(0, 2)):
            self.statement(depth + 1)
        self.pop_scope()
        self.indent -= 1
        self.loop_depth -= 1
        self.emit("end")

    def stmt_break(self, depth):
        self.emit("if %s then break end" % self.bool_expr(2))

    def stmt_try(self, depth):
        self.emit("try")
        self.indent += 1
        self.push_scope()
        for _ in range(self.rng.randint(0, 2)):
            self.statement(depth + 1)
        failing = self.rng.choice([
            "error(%s)" % self.any_expr(),
            "error()",
            "let bad = [1, 2][%d]" % self.rng.choice([2, 5, -3]),
            "let bad = undefinedName%d" % self.rng.randint(0, 9),
            "let bad = {}.nothing.deeper",
            "pop([])",
            "let bad = int(\"12x\")",
            "let bad = 5(1)",
            "let bad = 1 // 0",
            "assert(false, \"assertion %d\")" % self.rng.randint(0, 99),
            "print(\"no error\")",
        ])
        self.emit(failing)
        self.pop_scope()
        self.indent -= 1
        var = self.fresh("err")
        self.emit("catch %s" % var)
        self.indent += 1
        self.emit("print(\"caught\", %s)" % var)
        self.indent -= 1
        self.emit("end")

    def stmt_function(self, depth):
        name = self.fresh("f")
        arity = self.rng.randint(0, 3)
        params = [self.fresh("p") for _ in range(arity)]
        self.emit("function %s(%s)" % (name, ", ".join(params)))
        self.function_depth += 1
        self.indent += 1
        self.push_scope()
        for p in params:
            self.declare(p, self.rng.choice([INT, FLOAT]))
        for _ in range(self.rng.randint(0, 2)):
            local = self.fresh("i")
            self.emit("let %s = %s" % (local, self.int_expr(2)))
            self.declare(local, INT)
        for _ in range(self.rng.randint(1, 5)):
            self.statement(2)
        self.emit("return %s" % self.num_expr())
        self.pop_scope()
        self.indent -= 1
        self.function_depth -= 1
        self.emit("end")
        self.functions.append((name, arity))
        # Int parameters get int arguments: callers pass numbers of either kind, both fine for num_expr bodies.

    def stmt_closure(self, depth):
        maker = self.fresh("make")
        counter = self.fresh("c")
        self.emit("function %s(step)" % maker)
        self.emit("  let total = 0")
        self.emit("  return function()")
        self.emit("    total = total + step")
        self.emit("    return total")
        self.emit("  end")
        self.emit("end")
        self.emit("let %s = %s(%s)" % (counter, maker, self.int_expr(2)))
        self.emit("%s()" % counter)
        self.emit("print(%s(), %s)" % (counter, counter))

    def program(self):
        for _ in range(self.rng.randint(4, 14)):
            self.statement(0)
        return "\n".join(self.lines) + "\n"


def run(program, engine, path):
    try:
        done = subprocess.run([program, engine, path], capture_output=True, timeout=20)
    except subprocess.TimeoutExpired:
        return ("timeout", b"", b"")
    return (done.returncode, done.stdout, done.stderr)


LOCATION = re.compile(rb"^(  --> .*:\d+):\d+$", re.M)
CARET = re.compile(rb"^ *\^$", re.M)


def comparable(result):
    """The VM reports runtime errors with column 0 and the tree-walker with the
    node's column; everything else must match byte for byte."""
    status, out, err = result
    err = CARET.sub(b"^", LOCATION.sub(rb"\1:COLUMN", err))
    return status, out, err


class Engines:
    """The three runs of a program: the fast VM, the plain VM and the tree-walker."""

    def __init__(self, velmor, plain):
        self.velmor = velmor
        self.plain = plain

    def runs(self, source, path):
        with open(path, "w") as f:
            f.write(source)
        return {
            "vm": run(self.velmor, "--vm", path),
            "plain vm": run(self.plain, "--vm", path),
            "tree": run(self.velmor, "--tree", path),
        }

    @staticmethod
    def disagreements(runs):
        found = []
        if runs["vm"] != runs["plain vm"]:
            found.append("the fast and the plain VM disagree")
        if comparable(runs["plain vm"]) != comparable(runs["tree"]):
            found.append("the VM and the tree-walker disagree")
        return found


def syntax_error(runs):
    return any(b"SyntaxError" in result[2] for result in runs.values())


def shrink(engines, source, path):
    """Deletes runs of lines, halving the run length down to single lines,
    while the program still parses everywhere and the engines still differ."""
    lines = source.splitlines()
    chunk = max(1, len(lines) // 2)
    while True:
        i = 0
        while i < len(lines):
            candidate = lines[:i] + lines[i + chunk:]
            runs = engines.runs("\n".join(candidate) + "\n", path)
            if candidate and engines.disagreements(runs) and not syntax_error(runs):
                lines = candidate
            else:
                i += chunk
        if chunk == 1:
            return "\n".join(lines) + "\n"
        chunk //= 2


def check(engines, seed, workdir):
    """Generates and runs the program of one seed; (seed, source, disagreements, syntax error)."""
    source = Generator(random.Random(seed)).program()
    path = os.path.join(workdir, "program_%d.vlm" % seed)
    runs = engines.runs(source, path)
    os.remove(path)
    return seed, source, engines.disagreements(runs), syntax_error(runs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--plain", required=True, help="velmor-plain: the program without the fast paths")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--max-failures", type=int, default=10,
                        help="stop after reporting this many disagreements (each is shrunk first)")
    parser.add_argument("--save-dir")
    parser.add_argument("--print-program", action="store_true", help="print the program for --seed and exit")
    args = parser.parse_args()

    if args.print_program:
        sys.stdout.write(Generator(random.Random(args.seed)).program())
        return 0

    engines = Engines(args.velmor, args.plain)
    failures = 0
    checked = 0
    with tempfile.TemporaryDirectory() as workdir:
        seeds = (args.seed * 1000003 + n for n in range(args.count))
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            # Submitted a slice ahead, so that the pending work stays small.
            pending = []
            for seed in itertools.chain(seeds, [None] * 64):
                if seed is not None:
                    pending.append(pool.submit(check, engines, seed, workdir))
                if not pending or (seed is not None and len(pending) < 64):
                    continue
                failures += report(engines, pending.pop(0).result(), workdir, args.save_dir)
                checked += 1
                if failures >= args.max_failures:
                    print("stopped after %d disagreements" % failures)
                    for job in pending:
                        job.cancel()
                    break
    print("%d passed, %d failed" % (checked - failures, failures))
    return 1 if failures else 0


def report(engines, outcome, workdir, save_dir):
    seed, source, differ, syntax = outcome
    if not differ and not syntax:
        return 0
    path = os.path.join(workdir, "shrink_%d.vlm" % seed)
    small = shrink(engines, source, path) if differ else source
    runs = engines.runs(small, path)
    print("=== seed %d: %s" % (seed, "; ".join(differ) if differ else "generated a syntax error"))
    print(small)
    for name, result in runs.items():
        print("--- %s: exit %s\n%s%s" % (name, result[0], result[1].decode(errors="replace"),
                                         result[2].decode(errors="replace")))
    if save_dir:
        os.makedirs(save_dir, exist_ok=True)
        with open(os.path.join(save_dir, "diff_%d.vlm" % seed), "w") as f:
            f.write("# Found by the differential tester (seed %d); the engines must agree.\n" % seed)
            f.write(small)
    sys.stdout.flush()
    return 1


if __name__ == "__main__":
    sys.exit(main())
