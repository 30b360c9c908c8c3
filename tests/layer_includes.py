#!/usr/bin/env python3
"""Holds sources to their layers, through the headers they include directly
or indirectly:
- what src/vm*, src/bytecode.* and src/quicken.* reach must lie in the core,
  the builtins' interface, the bytecode or the VM itself. The front end (lexer,
  parser, syntax tree), the compiler, the tree-walker and the driver are out of
  reach; bytecode is the one contract between compiler and VM.
- the pragma reader (src/pragmas/) reaches nothing but itself: the driver and
  the language server both build on it.
- the language server (src/lsp/) never reaches the driver (src/driver.h,
  src/driver/); the driver starts the server, not the other way round.
- the public headers of the embedding API (include/velmor/) include the
  standard library only: no header of src/ reaches a host.

A same-folder "..." include always resolves, whatever the include paths say,
so this check is what makes the rule hold. It first proves on a copy of the
sources that it catches a forbidden include, then checks the real ones.
"""

import argparse
import pathlib
import re
import shutil
import sys
import tempfile

# Headers (relative to src/) that each guarded unit may reach.
CORE = {"value.h", "error.h", "operations.h", "operators.h", "native_stack.h", "execution_limits.h",
        "environment.h", "engine_options.h", "call_trace.h", "debug_hook.h", "per_thread.h", "spin_lock.h"}
BYTECODE = CORE | {"bytecode.h"}
QUICKEN = BYTECODE | {"quicken.h"}
VM = QUICKEN | {"builtins/native.h", "builtins/stable_sort.h", "builtins/comparator_sort.h", "vm.h"}

PRAGMAS = {"pragmas/pragmas.h"}


class AllBut:
    """Every header except the driver's."""

    def __contains__(self, name):
        return name != "driver.h" and not name.startswith("driver/")


# (files, what they may reach, the layer named in a report)
GUARDED = [("bytecode.*", BYTECODE, "the VM"), ("quicken.*", QUICKEN, "the VM"), ("vm*.h", VM, "the VM"),
           ("vm*.cpp", VM, "the VM"), ("pragmas/*", PRAGMAS, "the pragma reader"),
           ("lsp/*", AllBut(), "the language server")]

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def includes(path, source_root):
    """The source-relative names of the "..." includes of `path`: the
    including file's own folder first, then the source root (the include
    path every unit has)."""
    names = []
    for name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
        beside = path.parent / name
        resolved = (beside if beside.is_file() else source_root / name).resolve()
        try:
            names.append(resolved.relative_to(source_root.resolve()).as_posix())
        except ValueError:
            names.append(name)
    return names


def violations(source_root):
    found = []
    for pattern, allowed, layer in GUARDED:
        for unit in sorted(source_root.glob(pattern)):
            # Walk the includes breadth first, keeping the chain for the report.
            chains = {unit.relative_to(source_root).as_posix(): []}
            pending = [unit]
            while pending:
                current = pending.pop(0)
                here = current.relative_to(source_root).as_posix()
                for name in includes(current, source_root):
                    if name in chains:
                        continue
                    chains[name] = chains[here] + [here]
                    if name not in allowed:
                        found.append(layer + ": " + " -> ".join(chains[name] + [name]))
                        continue
                    if (source_root / name).is_file():
                        pending.append(source_root / name)
    return found


def public_violations(include_root):
    """The "..." includes of the public headers: none is allowed."""
    found = []
    for header in sorted(include_root.glob("velmor/*.h")):
        for name in INCLUDE.findall(header.read_text(encoding="utf-8", errors="replace")):
            found.append("the public API: " + header.relative_to(include_root).as_posix() + " -> " + name)
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--src", required=True, type=pathlib.Path, help="the src folder")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        copy = pathlib.Path(scratch) / "src"
        shutil.copytree(args.src, copy)
        with open(copy / "vm.cpp", "a", encoding="utf-8") as vm:
            vm.write('\n#include "parser.h"\n')
        with open(copy / "operations.h", "a", encoding="utf-8") as core:
            core.write('\n#include "lexer/token.h"\n')
        with open(copy / "pragmas" / "pragmas.cpp", "a", encoding="utf-8") as pragmas:
            pragmas.write('\n#include "value.h"\n')
        with open(copy / "lsp" / "text_index.h", "a", encoding="utf-8") as lsp:
            lsp.write('\n#include "driver/run.h"\n')
        public = pathlib.Path(scratch) / "include"
        shutil.copytree(args.src.parent / "include", public)
        with open(public / "velmor" / "velmor.h", "a", encoding="utf-8") as api:
            api.write('\n#include "value.h"\n')
        caught = violations(copy) + public_violations(public)
        expected = ["vm.cpp -> parser.h", "lexer/token.h", "pragmas/pragmas.cpp -> value.h",
                    "lsp/text_index.h -> driver/run.h", "velmor/velmor.h -> value.h"]
        missed = [name for name in expected if not any(line.endswith(name) for line in caught)]
        if missed:
            print("layer check: a forbidden include went unnoticed: " + ", ".join(missed), file=sys.stderr)
            return 1

    found = violations(args.src) + public_violations(args.src.parent / "include")
    for line in found:
        print("layer check: sources reach beyond their layer: " + line, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
