#!/usr/bin/env python3
"""The properties of `velmor --format`, over every script test, every
example and a run of generated programs (the differential tester's
generator):

- the formatted program prints the same and exits with the same status as
  the original, on both engines (error reports may move);
- formatting is idempotent;
- the layout is canonical: the program with its indentation stripped, with
  random wrong indentation, with white space added between tokens or taken
  away beside words, and with extra blank lines and trailing blanks, formats
  to the same text;
- every comment survives, on a line of its own or after code as it was;
- input that does not parse is left untouched (bytes and permissions),
  reported, and makes the exit status 1;
- `--check` lists exactly the files that `--format` changes, which keep
  their permissions, and `-` gives the same text on standard output.

Usage: properties_test.py --velmor PATH --source-dir DIR [--generated N] [-j N]
"""

import argparse
import concurrent.futures
import importlib
import os
import random
import stat
import subprocess
import sys
import tempfile
from pathlib import Path


def load_generator(source_dir):
    # The differential test's program generator, imported from its folder.
    sys.path.insert(0, str(source_dir / "tests" / "difftest"))
    return importlib.import_module("difftest").Generator


def run(args, stdin=b"", cwd=None, timeout=120):
    done = subprocess.run(args, input=stdin, capture_output=True, cwd=cwd, timeout=timeout)
    return done.returncode, done.stdout, done.stderr


def comments(text):
    """(follows code, text) of every comment, found by a scan of quotes,
    escapes and ${...} code of its own."""
    found = []
    for line in text.split(b"\n"):
        i, code, quote, depth, inner = 0, False, None, 0, None
        while i < len(line):
            c = line[i:i + 1]
            if quote is None:
                if c == b"#":
                    found.append((code, line[i:].rstrip(b" \t\r")))
                    break
                if c in b"\"'":
                    quote = c
                if c not in b" \t\r":
                    code = True
            elif depth:  # inside ${...}
                if inner is not None:
                    if c == b"\\":
                        i += 1
                    elif c == inner:
                        inner = None
                elif c in b"\"'":
                    inner = c
                elif c == b"{":
                    depth += 1
                elif c == b"}":
                    depth -= 1
            elif c == b"\\":
                i += 1
            elif c == quote:
                quote = None
            elif quote == b'"' and line[i:i + 2] == b"${":
                depth = 1
                i += 1
            i += 1
    return found


def header_length(lines):
    """The leading lines that hold no code (the pragma header lies in them)."""
    for index, line in enumerate(lines):
        stripped = line.strip(b" \t\r")
        if stripped and not stripped.startswith(b"#"):
            return index
    return len(lines)


def reindent(text, rng, how):
    """The text with the indentation of every line after its header replaced."""
    bom = b"\xef\xbb\xbf" if text.startswith(b"\xef\xbb\xbf") else b""
    lines = text[len(bom):].split(b"\n")
    keep = header_length(lines)
    out = lines[:keep]
    for line in lines[keep:]:
        body = line.lstrip(b" \t")
        if how == "strip":
            out.append(body)
            continue
        indent = b"".join(rng.choice([b" ", b"\t", b"   "]) for _ in range(rng.randint(0, 5)))
        tail = b"".join(rng.choice([b" ", b"\t"]) for _ in range(rng.randint(0, 2)))
        out.append(indent + body + tail)
        if not body.strip(b" \t\r"):
            out.append(rng.choice([b"", b"  ", b"\t"]))  # a blank line more where there is one
    return bom + b"\n".join(out)


WORD_KINDS = {"name", "string", "interp-string"}


def respace(text, dump, rng):
    """The text with white space between tokens changed at random: added
    anywhere, taken away where a word meets punctuation (no two tokens can
    then merge). `dump` is the file's `velmor --tokens` output."""
    lines = text.split(b"\n")
    tokens = {}
    for entry in dump.split(b"\n"):
        if not entry or b"' @" not in entry:
            continue
        head, _, where = entry.rpartition(b"' @")
        kind, _, spelling = head.partition(b" '")
        line, _, column = where.partition(b":")
        kind = kind.decode()
        if kind in ("end of line", "end of file"):
            continue
        word = kind in WORD_KINDS or spelling.isalpha()
        length = None if kind in ("string", "interp-string") else len(spelling)
        tokens.setdefault(int(line) - 1, []).append((int(column) - 1, length, word, kind == "number"))
    bom = 3 if text.startswith(b"\xef\xbb\xbf") else 0
    for number, row in tokens.items():
        line = lines[number]
        shift = bom if number == 0 else 0
        pieces, at = [], 0
        for (start, length, word, numeric), following in zip(row, row[1:] + [None]):
            start += shift
            if following is None or length is None:
                continue
            end, next_start = start + length, following[0] + shift
            gap = line[end:next_start]
            if gap.strip(b" \t\r"):
                continue  # a token of unknown length in between; leave it
            pieces.append(line[at:end])
            at = next_start
            mixed = word != following[2] and not numeric and not following[3]
            choice = rng.random()
            if choice < 0.3 and mixed:
                pieces.append(b"")
            elif choice < 0.6:
                pieces.append(gap + b" " * rng.randint(1, 3))
            else:
                pieces.append(gap)
        pieces.append(line[at:])
        lines[number] = b"".join(pieces)
    return b"\n".join(lines)


def outcome(velmor, engine, path, cwd):
    try:
        status, out, _ = run([velmor, engine, str(path)], cwd=cwd, timeout=60)
    except subprocess.TimeoutExpired:
        return ("timeout", b"")
    return (status, out)


class Check:
    def __init__(self, velmor, workdir):
        self.velmor = velmor
        self.workdir = workdir
        self.failures = []

    def fail(self, name, what):
        self.failures.append("%s: %s" % (name, what))

    def format_in_place(self, texts, folder, mode=0o644):
        """Writes the texts as files, formats them in one run; (status, stderr, results)."""
        folder = self.workdir / folder
        folder.mkdir()
        paths = []
        for index, text in enumerate(texts):
            path = folder / ("%d.vlm" % index)
            path.write_bytes(text)
            os.chmod(path, mode)
            paths.append(path)
        status, _, err = run([self.velmor, "--format"] + [str(p) for p in paths])
        return status, err, [p.read_bytes() for p in paths], [stat.S_IMODE(os.stat(p).st_mode) for p in paths]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--source-dir", required=True, type=Path)
    parser.add_argument("--generated", type=int, default=150)
    parser.add_argument("--seed", type=int, default=11)
    parser.add_argument("-j", "--jobs", type=int, default=2)
    args = parser.parse_args()
    velmor = os.path.abspath(args.velmor)
    root = args.source_dir

    corpus = []  # (name, text, working directory)
    for folder in ("tests/scripts", "examples"):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".vlm", ".velmor") and path.is_file():
                corpus.append((str(path.relative_to(root)), path.read_bytes(), path.parent))
    Generator = load_generator(root)
    for n in range(args.generated):
        program = Generator(random.Random(args.seed * 7919 + n)).program().encode()
        corpus.append(("generated #%d" % n, program, None))
    rng = random.Random(args.seed)

    with tempfile.TemporaryDirectory() as temporary:
        check = Check(velmor, Path(temporary))
        originals = [text for _, text, _ in corpus]

        # --check first, then the rewrite of the same files.
        folder = check.workdir / "checked"
        folder.mkdir()
        checked = []
        for index, text in enumerate(originals):
            (folder / ("%d.vlm" % index)).write_bytes(text)
            checked.append(str(folder / ("%d.vlm" % index)))
        check_status, listed, _ = run([velmor, "--format", "--check"] + checked)
        listed = set(listed.decode().splitlines())
        untouched = [Path(p).read_bytes() for p in checked]
        if untouched != originals:
            check.fail("--check", "changed a file")

        status, err, formatted, modes = check.format_in_place(originals, "rewritten", 0o640)
        parsed = []
        for index, (name, text, _) in enumerate(corpus):
            if modes[index] != 0o640:
                check.fail(name, "permissions %o after --format" % modes[index])
            would_change = checked[index] in listed
            if formatted[index] != text and not would_change:
                check.fail(name, "--format changed it but --check did not list it")
            if formatted[index] == text and would_change and b"SyntaxError" not in err:
                check.fail(name, "--check listed it but --format left it")
            parsed.append(index)
        refused = err.count(b"SyntaxError")
        if refused:
            # Files that do not parse: each reported, left as it was.
            for index, (name, text, _) in enumerate(corpus):
                alone = run([velmor, "--format", "-"], stdin=text)
                if alone[0] != 0:
                    parsed.remove(index)
                    if formatted[index] != text:
                        check.fail(name, "does not parse, but --format changed it")
                    if alone[1]:
                        check.fail(name, "does not parse, but - wrote output")
        if (status != 0) != (refused > 0):
            check.fail("--format", "exit status %d with %d refused files" % (status, refused))
        if (check_status != 0) != bool(listed or refused):
            check.fail("--check", "exit status %d" % check_status)

        # Idempotence and canonical layout, all variants in one run.
        variants, owners = [], []
        for index in parsed:
            name, text, _ = corpus[index]
            variants += [formatted[index], reindent(text, rng, "strip"), reindent(text, rng, "wrong")]
            owners += [(index, "formatting again"), (index, "indentation stripped"), (index, "wrong indentation")]
        status, err, results, _ = check.format_in_place(variants, "variants")
        if status != 0:
            check.fail("variants", "--format failed: " + err.decode(errors="replace")[:400])
        for (index, what), result in zip(owners, results):
            if result != formatted[index]:
                check.fail(corpus[index][0], "%s formats differently" % what)

        # White space between tokens, from the token dump of each file.
        respaced, owners = [], []
        for index in parsed:
            status, dump, _ = run([velmor, "--tokens", checked[index]])
            if status == 0:
                respaced.append(respace(corpus[index][1], dump, rng))
                owners.append(index)
        status, err, results, _ = check.format_in_place(respaced, "respaced")
        for index, result in zip(owners, results):
            if result != formatted[index]:
                check.fail(corpus[index][0], "changed spacing formats differently")

        # Comments, and standard input.
        for index in parsed:
            name, text, _ = corpus[index]
            if comments(text) != comments(formatted[index]):
                check.fail(name, "comments differ after formatting")
        for index in parsed[:: max(1, len(parsed) // 20)]:
            if run([velmor, "--format", "-"], stdin=corpus[index][1])[1] != formatted[index]:
                check.fail(corpus[index][0], "'-' gives other text than the rewrite")

        # Input that does not parse: a stray "end" after each program.
        broken = [corpus[index][1] + b"\nend\n" for index in parsed]
        status, err, results, modes = check.format_in_place(broken, "broken", 0o600)
        if status != 1 or err.count(b"SyntaxError") != len(broken):
            check.fail("broken files", "exit %d, %d reports for %d files" % (status, err.count(b"SyntaxError"),
                                                                            len(broken)))
        for index, result, mode in zip(parsed, results, modes):
            if result != corpus[index][1] + b"\nend\n" or mode != 0o600:
                check.fail(corpus[index][0], "a broken copy was changed")

        # The same output and exit status on both engines.
        changed = [index for index in parsed if formatted[index] != corpus[index][1]]
        runs_dir = check.workdir / "runs"
        runs_dir.mkdir()

        def compare(index):
            name, text, cwd = corpus[index]
            cwd = cwd or runs_dir
            before = runs_dir / ("%d.before.vlm" % index)
            after = runs_dir / ("%d.after.vlm" % index)
            before.write_bytes(text)
            after.write_bytes(formatted[index])
            problems = []
            for engine in ("--vm", "--tree"):
                first = outcome(velmor, engine, before, cwd)
                second = outcome(velmor, engine, after, cwd)
                if first != second and first == outcome(velmor, engine, before, cwd):
                    problems.append("%s: %s on %s after formatting, %s before" % (name, second[0], engine, first[0]))
            return problems

        with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
            for problems in pool.map(compare, changed):
                check.failures += problems

    lines = sum(text.count(b"\n") for _, text, _ in corpus)
    print("%d programs (%d lines): %d parse, %d changed by formatting and run before and after on both engines"
          % (len(corpus), lines, len(parsed), len(changed)))
    for failure in check.failures[:50]:
        print("FAIL " + failure)
    print("%d failures" % len(check.failures))
    return 1 if check.failures or not parsed or not changed else 0


if __name__ == "__main__":
    sys.exit(main())
