#!/usr/bin/env python3
"""Runs the DAP test client's usual session against debugpy, Python's debug
adapter, to prove the client's framing, sequencing and waiting against an
adapter that is not ours: initialize, launch, setBreakpoints,
configurationDone, stopped, threads, stackTrace, scopes, variables (and
expanding a list), evaluate, setVariable, next, continue, the program's
output, exited, terminated and disconnect.

debugpy comes with the Debian package python3-debugpy, installed for the
system's Python; the test uses the first interpreter (this one, then
/usr/bin/python3, then --python) that can import it, and exits with 77 when
none can.

Usage: debugpy_test.py [--python PATH]
"""

import argparse
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dapclient import DapClient, DapError  # noqa: E402

PROGRAM = """\
def square(x):
    y = x * x
    return y

items = [10, 20, 30]
total = 0
for i in range(3):
    total += square(items[i])
print("total", total)
print("done")
"""
LINE_Y = 2  # y = x * x
LINE_RETURN = 3
LINE_CALL = 8


def python_with_debugpy(extra):
    for candidate in [sys.executable, "/usr/bin/python3"] + extra:
        if candidate and os.path.exists(candidate):
            found = subprocess.run([candidate, "-c", "import debugpy"], capture_output=True)
            if found.returncode == 0:
                return candidate
    return None


def check(condition, what):
    if not condition:
        raise DapError(what)


def session(python, program):
    with DapClient([python, "-m", "debugpy.adapter"], timeout=30) as client:
        capabilities = client.initialize("python")
        check(capabilities.get("supportsConfigurationDoneRequest"), f"capabilities: {capabilities}")
        check("uncaught" in [f["filter"] for f in capabilities.get("exceptionBreakpointFilters", [])],
              "no uncaught exception filter")

        answered = client.start({"program": program, "console": "internalConsole", "python": [python],
                                 "cwd": os.path.dirname(program), "justMyCode": True},
                                breakpoints={program: [{"line": LINE_Y}]}, exception_filters=["uncaught"])
        check(answered[program][0]["verified"] and answered[program][0]["line"] == LINE_Y,
              f"breakpoint: {answered}")

        stopped = client.wait_stopped("breakpoint")
        threads = client.request("threads")["threads"]
        check(len(threads) == 1 and threads[0]["id"] == stopped["threadId"], f"threads: {threads}")
        thread = threads[0]["id"]

        frames = client.stack(thread)
        check([(f["name"], f["line"]) for f in frames[:2]] == [("square", LINE_Y), ("<module>", LINE_CALL)],
              f"stack: {[(f['name'], f['line']) for f in frames]}")
        check(os.path.samefile(frames[0]["source"]["path"], program), f"source: {frames[0]['source']}")

        scopes = client.scopes(frames[0]["id"])
        local = client.variables(scopes["Locals"]["variablesReference"])
        check(local["x"]["value"] == "10", f"x in square: {local.get('x')}")

        module = client.variables(client.scopes(frames[1]["id"])["Globals"]["variablesReference"])
        check(module["items"]["value"] == "[10, 20, 30]" and module["items"]["variablesReference"] > 0,
              f"items: {module.get('items')}")
        elements = client.variables(module["items"]["variablesReference"])
        check([elements[n]["value"] for n in ("0", "1", "2")] == ["10", "20", "30"], f"elements: {elements}")

        check(client.evaluate("x * 3", frames[0]["id"], "hover")["result"] == "30", "hover x * 3")
        check(client.evaluate("items + [40]", frames[1]["id"], "repl")["result"] == "[10, 20, 30, 40]",
              "repl items + [40]")
        client.failing_request("evaluate", {"expression": "no_such_name", "frameId": frames[0]["id"],
                                            "context": "watch"})

        top = client.step("next", thread)
        check(top["line"] == LINE_RETURN, f"next went to line {top['line']}")
        local = client.variables(client.scopes(top["id"])["Locals"]["variablesReference"])
        check(local["y"]["value"] == "100", f"y after next: {local.get('y')}")
        changed = client.request("setVariable", {"variablesReference": client.scopes(top["id"])["Locals"]
                                                 ["variablesReference"], "name": "y", "value": "1"})
        check(changed["value"] == "1", f"setVariable: {changed}")

        # The second pass through square stops again; then without breakpoints
        # the program runs to its end.
        top = client.step("continue", thread, reason="breakpoint")
        check(top["line"] == LINE_Y, f"continue stopped at line {top['line']}")
        client.request("setBreakpoints", {"source": {"path": program}, "breakpoints": []})
        client.request("continue", {"threadId": thread})
        code = client.finish()
        # 1 (changed from 100) + 400 + 900
        check(client.output("stdout") == "total 1301\ndone\n", f"stdout: {client.output('stdout')!r}")
        check(code == 0, f"exit code {code}")
        client.request("disconnect", {})
        # debugpy's adapter stays until its client closes the stream.
        client.process.stdin.close()
        check(client.wait_exit() == 0, "the adapter's exit status")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--python", action="append", default=[])
    options = parser.parse_args()
    python = python_with_debugpy(options.python)
    if python is None:
        print("no Python here can import debugpy (Debian: python3-debugpy): the client is not checked against it")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as folder:
        program = os.path.join(folder, "program.py")
        with open(program, "w") as out:
            out.write(PROGRAM)
        try:
            session(python, program)
        except DapError as error:
            print(f"FAIL: {error}")
            sys.exit(1)
    print("the DAP client ran its whole session against debugpy")


if __name__ == "__main__":
    main()
