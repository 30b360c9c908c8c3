#!/usr/bin/env python3
"""Checks the script-test runner itself against a stand-in for velmor, so that
a runner fault cannot let broken scripts pass unnoticed.

The stand-in reads the script it is given and obeys its `@` lines:
"@out TEXT" and "@err TEXT" write a line, "@raw TEXT" writes TEXT without a
line feed (an @ line ends at " # "), "@exit N" sets the status, "@args" and "@stdin" echo what it got,
"@sleep S" hangs, "@engine" prints the engine option it was given.
"""

from __future__ import annotations

import sys
import tempfile
import textwrap
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import run_scripts  # noqa: E402

STAND_IN = textwrap.dedent(
    r"""
    import sys, time
    args = sys.argv[1:]
    engine = args.pop(0) if args and args[0] in ("--vm", "--tree") else ""
    status = 0
    script = next((a for a in args if a.endswith(".vlm")), None)
    lines = open(script, newline="").read().split("\n") if script else []
    for line in lines:
        line = line.rstrip("\r").split(" # ")[0]
        if line == "@out": sys.stdout.write("\n")
        elif line.startswith("@out "): sys.stdout.write(line[5:].replace("$ENGINE", engine) + "\n")
        elif line.startswith("@err "): sys.stderr.write(line[5:].replace("$ENGINE", engine) + "\n")
        elif line.startswith("@raw "): sys.stdout.write(line[5:])
        elif line.startswith("@exit "): status = int(line[6:].replace("vm", "3" if engine == "--vm" else "4"))
        elif line == "@args": sys.stdout.write(repr([engine] + args) + "\n")
        elif line == "@stdin": sys.stdout.write(repr(sys.stdin.read()) + "\n")
        elif line.startswith("@sleep "): time.sleep(float(line[7:]))
    sys.exit(status)
    """
)


class RunnerTest(unittest.TestCase):
    def setUp(self) -> None:
        self.folder = tempfile.TemporaryDirectory(prefix="velmor-runner-")
        self.root = Path(self.folder.name)
        stand_in = self.root / "stand_in.py"
        stand_in.write_text(STAND_IN)
        self.cases = 0
        self.runner = run_scripts.Runner([sys.executable, str(stand_in)], timeout=2.0, normalize_newlines=False)

    def tearDown(self) -> None:
        self.folder.cleanup()

    def outcome(self, text: str, **side_files: str) -> list[str]:
        # A fresh name per case, so that side files of one case never reach the next.
        self.cases += 1
        path = self.root / f"case{self.cases}.vlm"
        path.write_text(textwrap.dedent(text))
        for suffix, content in side_files.items():
            (self.root / f"{path.stem}.{suffix.replace('_', '.')}").write_text(content)
        return self.runner.run_script(path).failures

    def assertPasses(self, text: str, **side_files: str) -> None:
        failures = self.outcome(text, **side_files)
        self.assertEqual(failures, [], "\n".join(failures))

    def assertFails(self, text: str, *fragments: str, **side_files: str) -> str:
        failures = "\n".join(self.outcome(text, **side_files))
        self.assertNotEqual(failures, "", "the script passed")
        for fragment in fragments:
            self.assertIn(fragment, failures)
        return failures

    def test_exact_lines_on_both_engines(self) -> None:
        self.assertPasses(
            """\
            @out one
            @out
            @out three  spaced
            # expect: one
            # expect:
            # expect: three  spaced
            """
        )

    def test_missing_extra_and_wrong_lines_fail_with_a_diff(self) -> None:
        failures = self.assertFails("@out one\n# expect: two\n", "-two", "+one", "[vm]", "[tree]")
        self.assertIn("stdout differs", failures)
        self.assertFails("@out one\n@out two\n# expect: one\n", "+two")
        self.assertFails("# expect: one\n", "-one")

    def test_output_must_end_with_a_line_feed(self) -> None:
        self.assertFails("@raw one\n# expect: one\n", "No newline")

    def test_engine_tags_select_lines(self) -> None:
        self.assertPasses(
            """\
            @out ran on $ENGINE
            # expect[vm]: ran on --vm
            # expect[tree]: ran on --tree
            """
        )
        self.assertFails("@out ran on $ENGINE\n# expect: ran on --vm\n", "[tree]")

    def test_patterns_match_whole_lines(self) -> None:
        self.assertPasses("@out took 12.5 ms\n# expect-match: took [0-9.]+ ms\n")
        self.assertFails("@out took 12.5 ms!\n# expect-match: took [0-9.]+ ms\n", "<match: took [0-9.]+ ms>")
        self.assertPasses("@err RuntimeError: x at 3\n@exit 1\n# stderr-match: RuntimeError: .*\n")

    def test_exit_status_defaults_to_one_when_stderr_is_expected(self) -> None:
        self.assertPasses("@err boom\n@exit 1\n# stderr: boom\n")
        self.assertFails("@err boom\n# stderr: boom\n", "exit status: expected 1, got 0")
        self.assertFails("@exit 1\n", "exit status: expected 0, got 1")
        self.assertPasses("@err warning\n# stderr: warning\n# exit: 0\n")
        self.assertPasses("@exit vm\n# exit[vm]: 3\n# exit[tree]: 4\n")

    def test_stderr_is_compared(self) -> None:
        self.assertFails("@err unexpected\n# exit: 0\n", "stderr differs", "+unexpected")

    def test_args_substitute_file_and_engine(self) -> None:
        self.assertPasses(
            """\
            # args: {engine} -c "two words" {file}
            @args
            # expect[vm]: ['--vm', '-c', 'two words', 'case1.vlm']
            # expect[tree]: ['--tree', '-c', 'two words', 'case1.vlm']
            """
        )

    def test_once_runs_without_an_engine(self) -> None:
        path = self.root / "once.vlm"
        path.write_text("# engines: once\n@args\n# expect: ['', 'once.vlm']\n")
        outcome = self.runner.run_script(path)
        self.assertEqual(outcome.failures, [])
        self.assertEqual(outcome.runs, 1)

    def test_single_engine(self) -> None:
        path = self.root / "tree_only.vlm"
        path.write_text("# engines: tree\n@out $ENGINE\n# expect: --tree\n")
        outcome = self.runner.run_script(path)
        self.assertEqual((outcome.failures, outcome.runs), ([], 1))

    def test_stdin_lines_and_side_file(self) -> None:
        self.assertPasses("@stdin\n# stdin: first\n# stdin:\n# expect: 'first\\n\\n'\n")
        self.assertPasses("@stdin\n# expect: 'no line feed'\n", stdin="no line feed")
        self.assertPasses("@stdin\n# expect: ''\n")

    def test_side_files_replace_inline_lines_and_engine_files_come_first(self) -> None:
        self.assertPasses("@raw exact bytes\n# expect: ignored\n", stdout="exact bytes")
        self.assertPasses("@out $ENGINE\n", stdout="--tree\n", vm_stdout="--vm\n")
        self.assertFails("@raw exact\n", "stdout differs", stdout="exact\n")
        self.assertPasses("@err e\n@exit 1\n", stderr="e\n")  # a side-file stderr implies status 1 too
        self.assertFails("@err e\n@exit 1\n", "exit status", stderr="e\n", tree_stderr="")

    def test_cwd_is_the_script_folder(self) -> None:
        sub = self.root / "area"
        sub.mkdir()
        (sub / "data.vlm").write_text("@out from data\n# engines: once\n# args: {file}\n# expect: from data\n")
        (sub / "caller.vlm").write_text("# engines: once\n# args: data.vlm\n# expect: from data\n")
        for name in ("data.vlm", "caller.vlm"):
            self.assertEqual(self.runner.run_script(sub / name).failures, [])

    def test_malformed_directives_fail_the_script(self) -> None:
        self.assertFails("#expect: 1\n", "malformed directive")
        self.assertFails("# expect : 1\n", "malformed directive")
        self.assertFails("# exit: one\n", "exit status is not a number")
        self.assertFails("# engines: both sides\n", "unknown engines")
        self.assertFails("# expect-match: (\n", "bad regular expression")
        self.assertFails("# engines: once\n# expect[vm]: x\n", "engine-tagged")

    def test_directives_after_code_and_plain_comments(self) -> None:
        self.assertPasses("@out 3 # expect: 3\n# expected output is above; exit codes are fine\n")

    def test_hanging_runs_time_out(self) -> None:
        self.assertFails("@out started\n@sleep 30\n", "timed out after 2 s", "started")

    def test_crlf_scripts(self) -> None:
        path = self.root / "crlf.vlm"
        path.write_bytes(b"@out a\r\n# expect: a\r\n")
        self.assertEqual(self.runner.run_script(path).failures, [])


if __name__ == "__main__":
    unittest.main(verbosity=1)
