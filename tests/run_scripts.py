#!/usr/bin/env python3
"""Runs Velmor script tests through the real `velmor` program.

A script test is a .vlm file whose expectations sit beside the code in `#`
comments (at the start of a line, or after code preceded by white space):

    # expect: TEXT          next line of standard output (`# expect:` alone: an empty line)
    # expect-match: REGEX   next line of standard output, a full regular-expression match
    # stderr: TEXT          next line of standard error
    # stderr-match: REGEX   next line of standard error, a full match
    # exit: N               exit status (default 1 when any stderr is expected, else 0)
    # args: ARGS            command line, split like a shell; {file} and {engine} are substituted
                            (default "{engine} {file}")
    # engines: vm|tree|once which engines run the script (default both; "once" runs it a single
                            time with no engine option, for command-line and REPL tests)
    # stdin: TEXT           a line of standard input (TEXT and a line feed)

`expect`, `expect-match`, `stderr`, `stderr-match` and `exit` take an engine
tag, as in `# expect[vm]: TEXT`, for the places where the engines differ.
Side files beside the script replace the inline expectations when exact bytes
matter: NAME.stdout, NAME.stderr, NAME.stdin, or per engine NAME.vm.stdout,
NAME.tree.stderr and so on.

Every script runs with its own folder as the working directory, so reports
name it by its bare file name. Without engine restrictions each script runs
on both engines, so every test also checks that the engines agree.
"""

from __future__ import annotations

import argparse
import concurrent.futures
import dataclasses
import difflib
import os
import re
import shlex
import subprocess
import sys
from pathlib import Path

ENGINE_OPTIONS = {"vm": "--vm", "tree": "--tree"}
DEFAULT_ARGS = "{engine} {file}"
DEFAULT_TIMEOUT = 20.0

DIRECTIVE = re.compile(
    r"(?:^|(?<=\s))# (expect-match|expect|stderr-match|stderr|exit|args|engines|stdin)"
    r"(?:\[(vm|tree)\])?:(?: (.*))?$"
)
# Something that looks like a directive but is not one: a typo would otherwise
# silently drop an expectation.
NEAR_DIRECTIVE = re.compile(
    r"(?:^|(?<=\s))#\s*(expect-match|expect|stderr-match|stderr|exit|args|engines|stdin)\s*(\[[^\]]*\])?\s*:"
)


def decode(data: bytes) -> str:
    return data.decode("utf-8", errors="surrogateescape")


@dataclasses.dataclass
class Expected:
    """One expected output line: exact text or a regular expression."""

    text: str
    is_pattern: bool = False
    engine: str | None = None

    def matches(self, line: str) -> bool:
        if self.is_pattern:
            return re.fullmatch(self.text, line) is not None
        return self.text == line


@dataclasses.dataclass
class Script:
    path: Path
    stdout: list[Expected] = dataclasses.field(default_factory=list)
    stderr: list[Expected] = dataclasses.field(default_factory=list)
    exits: dict[str | None, int] = dataclasses.field(default_factory=dict)
    args: str = DEFAULT_ARGS
    engines: list[str] = dataclasses.field(default_factory=lambda: ["vm", "tree"])
    stdin: list[str] = dataclasses.field(default_factory=list)
    problems: list[str] = dataclasses.field(default_factory=list)

    @property
    def once(self) -> bool:
        return self.engines == ["once"]


def parse_script(path: Path) -> Script:
    script = Script(path)
    source = decode(path.read_bytes())
    for number, line in enumerate(source.split("\n"), start=1):
        line = line.rstrip("\r")
        match = DIRECTIVE.search(line)
        if match is None:
            if NEAR_DIRECTIVE.search(line):
                script.problems.append(f"line {number}: malformed directive: {line.strip()}")
            continue
        name, engine, text = match.group(1), match.group(2), match.group(3) or ""
        if engine is not None and name in ("args", "engines", "stdin"):
            script.problems.append(f"line {number}: '{name}' takes no engine tag")
        if name in ("expect", "expect-match"):
            script.stdout.append(Expected(text, name == "expect-match", engine))
        elif name in ("stderr", "stderr-match"):
            script.stderr.append(Expected(text, name == "stderr-match", engine))
        elif name == "exit":
            try:
                script.exits[engine] = int(text.strip())
            except ValueError:
                script.problems.append(f"line {number}: exit status is not a number: {text!r}")
        elif name == "args":
            script.args = text
        elif name == "engines":
            engines = text.replace(",", " ").split()
            if engines in (["both"], ["vm", "tree"], ["tree", "vm"]):
                engines = ["vm", "tree"]
            if engines not in (["vm"], ["tree"], ["once"], ["vm", "tree"]):
                script.problems.append(f"line {number}: unknown engines: {text!r}")
            else:
                script.engines = engines
        elif name == "stdin":
            script.stdin.append(text)
        if name in ("expect-match", "stderr-match"):
            try:
                re.compile(text)
            except re.error as error:
                script.problems.append(f"line {number}: bad regular expression {text!r}: {error}")
    if script.once:
        tagged = [e for e in script.stdout + script.stderr if e.engine is not None]
        if tagged or any(key is not None for key in script.exits):
            script.problems.append("engine-tagged expectations in a script that runs once")
    return script


def side_file(script: Path, engine: str, suffix: str) -> Path | None:
    """NAME.<engine>.<suffix> before NAME.<suffix>."""
    stem = script.with_suffix("")
    candidates = [] if engine == "once" else [Path(f"{stem}.{engine}.{suffix}")]
    candidates.append(Path(f"{stem}.{suffix}"))
    return next((candidate for candidate in candidates if candidate.is_file()), None)


def command_line(script: Script, engine: str) -> list[str]:
    words = []
    for word in shlex.split(script.args):
        if engine == "once":
            if word == "{engine}":
                continue
            word = word.replace("{engine}", "")
        else:
            word = word.replace("{engine}", ENGINE_OPTIONS[engine])
        words.append(word.replace("{file}", script.path.name))
    return words


def render_expected(expected: list[Expected], actual_lines: list[str]) -> list[str]:
    """Expected lines for the diff; a pattern that matched shows the line it matched."""
    lines = []
    for index, item in enumerate(expected):
        if item.is_pattern:
            if index < len(actual_lines) and item.matches(actual_lines[index]):
                lines.append(actual_lines[index])
            else:
                lines.append(f"<match: {item.text}>")
        else:
            lines.append(item.text)
    return lines


def split_output(text: str) -> tuple[list[str], bool]:
    """The lines of an output and whether it ended with a line feed (or was empty)."""
    if text == "":
        return [], True
    lines = text.split("\n")
    if lines[-1] == "":
        return lines[:-1], True
    return lines, False


def compare_stream(name: str, expected: list[Expected] | str, actual: str) -> list[str]:
    """Empty when the stream is as expected, else the lines of a readable diff."""
    actual_lines, terminated = split_output(actual)
    if isinstance(expected, str):
        if expected == actual:
            return []
        expected_lines, expected_terminated = split_output(expected)
    else:
        if terminated and len(expected) == len(actual_lines) and all(
            item.matches(line) for item, line in zip(expected, actual_lines)
        ):
            return []
        expected_lines, expected_terminated = render_expected(expected, actual_lines), True

    def marked(lines: list[str], ended: bool) -> list[str]:
        lines = [line + "\n" for line in lines]
        if not ended and lines:
            lines[-1] = lines[-1][:-1] + "\n\\ No newline at end\n"
        return lines

    diff = difflib.unified_diff(
        marked(expected_lines, expected_terminated),
        marked(actual_lines, terminated),
        fromfile=f"expected {name}",
        tofile=f"actual {name}",
        lineterm="\n",
    )
    report = [f"  {name} differs:"]
    report += ["    " + line.rstrip("\n") for line in diff]
    if len(report) == 1:
        report.append("    (the outputs differ only in line ends)")
    return report


@dataclasses.dataclass
class Outcome:
    path: Path
    failures: list[str]
    runs: int


class Runner:
    def __init__(self, velmor: list[str], timeout: float, normalize_newlines: bool, launched: bool = False) -> None:
        self.velmor = velmor
        self.launched = launched
        self.timeout = timeout
        self.normalize_newlines = normalize_newlines

    def run_script(self, path: Path) -> Outcome:
        try:
            script = parse_script(path)
        except OSError as error:
            return Outcome(path, [f"cannot read the script: {error}"], 0)
        if script.problems:
            return Outcome(path, ["  " + problem for problem in script.problems], 0)
        failures = []
        for engine in script.engines:
            report = self.run_engine(script, engine)
            if report:
                failures.append(f"[{engine}] {' '.join(command_line(script, engine))}")
                failures += report
        return Outcome(path, failures, len(script.engines))

    def expected_stream(self, script: Script, engine: str, stream: str) -> list[Expected] | str:
        side = side_file(script.path, engine, stream)
        if side is not None:
            text = decode(side.read_bytes())
            return text.replace("\r\n", "\n") if self.normalize_newlines else text
        lines = script.stdout if stream == "stdout" else script.stderr
        return [item for item in lines if item.engine in (None, engine)]

    def run_engine(self, script: Script, engine: str) -> list[str]:
        expected_stdout = self.expected_stream(script, engine, "stdout")
        expected_stderr = self.expected_stream(script, engine, "stderr")
        if engine in script.exits:
            expected_exit = script.exits[engine]
        elif None in script.exits:
            expected_exit = script.exits[None]
        else:
            expected_exit = 1 if expected_stderr else 0

        stdin_file = side_file(script.path, engine, "stdin")
        if stdin_file is not None:
            stdin = stdin_file.read_bytes()
        else:
            stdin = "".join(line + "\n" for line in script.stdin).encode("utf-8", errors="surrogateescape")

        command = self.velmor + command_line(script, engine)
        try:
            completed = subprocess.run(
                command,
                cwd=script.path.parent,
                input=stdin,
                capture_output=True,
                timeout=self.timeout,
            )
            # Through a launcher (wine), a run that printed nothing at all where
            # output was expected is taken as a launcher start-up failure and
            # run once more.
            if self.launched and not completed.stdout and not completed.stderr and (expected_stdout or expected_stderr):
                completed = subprocess.run(command, cwd=script.path.parent, input=stdin, capture_output=True,
                                           timeout=self.timeout)
        except subprocess.TimeoutExpired as expired:
            report = [f"  timed out after {self.timeout:g} s"]
            for name, data in (("stdout", expired.stdout), ("stderr", expired.stderr)):
                if data:
                    report.append(f"  {name} so far:")
                    report += ["    " + line for line in decode(data).splitlines()[-20:]]
            return report
        except OSError as error:
            return [f"  cannot start {command[0]}: {error}"]

        stdout, stderr = decode(completed.stdout), decode(completed.stderr)
        if self.normalize_newlines:
            stdout, stderr = stdout.replace("\r\n", "\n"), stderr.replace("\r\n", "\n")
        report = []
        if completed.returncode != expected_exit:
            report.append(f"  exit status: expected {expected_exit}, got {completed.returncode}")
        report += compare_stream("stdout", expected_stdout, stdout)
        report += compare_stream("stderr", expected_stderr, stderr)
        return report


def collect(targets: list[str]) -> list[Path]:
    scripts = []
    for target in targets:
        path = Path(target)
        if path.is_dir():
            scripts += sorted(path.rglob("*.vlm"))
        elif path.is_file():
            scripts.append(path)
        else:
            raise SystemExit(f"run_scripts: no such file or folder: {target}")
    return [script.resolve() for script in scripts]


def default_velmor(root: Path) -> str:
    for preset in ("debug", "release", "asan"):
        candidate = root / "build" / preset / "velmor"
        if candidate.is_file():
            return str(candidate)
    return "velmor"


def main() -> int:
    tests_dir = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description="Run Velmor script tests on both engines.")
    parser.add_argument("targets", nargs="*", help="scripts or folders (default: tests/scripts)")
    parser.add_argument("--velmor", help="the velmor program to test")
    parser.add_argument("--launcher", default="", help="a command to start velmor through, such as wine")
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1, help="scripts run at once")
    parser.add_argument("--timeout", type=float, default=DEFAULT_TIMEOUT, help="seconds allowed for one run")
    parser.add_argument(
        "--normalize-newlines", action="store_true", help="compare CR LF output as LF (for Windows builds)"
    )
    parser.add_argument("-q", "--quiet", action="store_true", help="print failures and the summary only")
    options = parser.parse_args()

    velmor = options.velmor or default_velmor(tests_dir.parent)
    if os.sep in velmor or (os.altsep and os.altsep in velmor):
        velmor = os.path.abspath(velmor)  # the scripts run in their own folders
    scripts = collect(options.targets or [str(tests_dir / "scripts")])
    if not scripts:
        print("run_scripts: no scripts found", file=sys.stderr)
        return 1
    runner = Runner(shlex.split(options.launcher) + [velmor], options.timeout, options.normalize_newlines,
                    launched=bool(options.launcher))

    passed = failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, options.jobs)) as pool:
        for outcome in pool.map(runner.run_script, scripts):
            try:
                name = outcome.path.relative_to(tests_dir / "scripts")
            except ValueError:
                name = outcome.path
            if outcome.failures:
                failed += 1
                print(f"FAIL {name}")
                for line in outcome.failures:
                    print(line)
            else:
                passed += 1
                if not options.quiet:
                    print(f"PASS {name} ({outcome.runs} run{'s' if outcome.runs != 1 else ''})")
            sys.stdout.flush()
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
