#!/usr/bin/env python3
"""Scripted sessions with `velmor --dap`, on both engines, over debuggee.vlm
(closures, recursion, loops, try/catch, a cycle, input, an uncaught error)
and spin.vlm (an endless loop):

- inspect: stopOnEntry; breakpoints on a line without code (moved to the
  next line with code), with a condition, a hit count and a log message, and
  past the end (not verified); threads; stackTrace (names, recursion depth,
  lines, columns on the tree engine, startFrame/levels); scopes and
  variables (locals, upvalues, globals; lists and maps expand, a cycle shows
  as the language prints it); setVariable on an upvalue and a global;
  evaluate in a frame's context (hover and watch refuse a call, the debug
  console may call and change state); stepIn, next, stepOut; a breakpoint
  hit during next; input from the launch's inputFile. The program's output
  then shows every change made, and its error report and exit status are
  those of `velmor FILE`.
- exceptions: hit counts "% N", "== N", ">= N";
  input() answered from the debug console; "raised" stops at a caught error,
  "uncaught" before the program ends, with exceptionInfo; malformed
  messages get error responses and the session goes on; output, report and
  exit status equal to `velmor FILE` given the same input; on the vm as
  the default engine (no engine given).
- pause: an endless loop paused twice, then disconnect ends the program and
  the adapter; closing the adapter's stdin does too; nothing is left running.
- noDebug: breakpoints and exception filters do not stop the program.
- a program that does not compile: its report and exit status.

Usage: session_test.py --velmor PATH [--engine vm|tree]...
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from dapclient import DapClient, DapError, frame  # noqa: E402

PROGRAM = os.path.join(HERE, "debuggee.vlm")
SPIN = os.path.join(HERE, "spin.vlm")
TIMEOUT = 20  # seconds for each response or event; a hung adapter fails the test


def tagged_lines(path):
    """{tag: line} for the `# @tag` comments of a file."""
    lines = {}
    with open(path) as source:
        for number, text in enumerate(source, 1):
            found = re.search(r"# @(\w+)", text)
            if found:
                lines[found.group(1)] = number
    return lines


L = tagged_lines(PROGRAM)
with open(PROGRAM) as _source:
    SOURCE_LINES = _source.read().split("\n")


def statement_column(line):
    text = SOURCE_LINES[line - 1]
    return len(text) - len(text.lstrip()) + 1


class Failures:
    def __init__(self):
        self.count = 0
        self.total = 0
        self.where = ""

    def check(self, condition, what):
        self.total += 1
        if not condition:
            self.count += 1
            print(f"FAIL [{self.where}] {what}")
        return condition

    def equal(self, actual, expected, what):
        return self.check(actual == expected, f"{what}: got {actual!r}, expected {expected!r}")


F = Failures()


def run_plain(velmor, engine, path, stdin_text):
    """What `velmor FILE` does with the program: (stdout, stderr, status)."""
    argv = [velmor] + (["--tree"] if engine == "tree" else []) + [path]
    run = subprocess.run(argv, input=stdin_text.encode(), capture_output=True, timeout=60)
    return run.stdout.decode(), run.stderr.decode(), run.returncode


def descendants(pid):
    """The processes below pid, found through /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    parent = int(stat.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError, ValueError):
                continue
            children.setdefault(parent, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def adapter(velmor):
    return DapClient([velmor, "--dap"], timeout=TIMEOUT)


def launch_arguments(engine, program, **more):
    arguments = {"program": program}
    if engine is not None:
        arguments["engine"] = engine
    arguments.update(more)
    return arguments


def frames_of(client):
    return [(frame["name"], frame["line"]) for frame in client.stack()]


def scope_variables(client, frame_id, scope):
    scopes = client.scopes(frame_id)
    if not F.check(scope in scopes, f"no {scope} scope in {list(scopes)}"):
        return {}
    return client.variables(scopes[scope]["variablesReference"])


def value_of(variables, name):
    return variables[name]["value"] if name in variables else f"<no variable {name}>"


def stopped_at(client, reason, line, what):
    body = client.wait_stopped()
    F.equal(body.get("reason"), reason, f"{what}: stop reason")
    F.equal((body.get("threadId"), body.get("allThreadsStopped")), (1, True), f"{what}: threadId, allThreadsStopped")
    top = client.stack(levels=1)[0]
    F.equal(top["line"], line, f"{what}: line")
    return top


def check_capabilities(capabilities):
    for name in ["supportsConfigurationDoneRequest", "supportsConditionalBreakpoints",
                 "supportsHitConditionalBreakpoints", "supportsLogPoints", "supportsSetVariable",
                 "supportsEvaluateForHovers", "supportsExceptionInfoRequest", "supportTerminateDebuggee"]:
        F.equal(capabilities.get(name), True, f"capability {name}")
    filters = [(f.get("filter"), f.get("label"), f.get("default")) for f in capabilities.get("exceptionBreakpointFilters", [])]
    F.equal(filters, [("uncaught", "Uncaught errors", True), ("raised", "Raised errors", False)], "exception filters")


def inspect_session(velmor, engine, folder):
    """stopOnEntry, every kind of breakpoint, stepping, inspecting and changing."""
    F.where = f"inspect/{engine}"
    input_file = os.path.join(folder, "input.txt")
    with open(input_file, "w") as out:
        out.write("Ada\n")
    plain_out, plain_err, plain_status = run_plain(velmor, engine, PROGRAM, "Ada\n")
    with adapter(velmor) as client:
        check_capabilities(client.initialize("velmor"))
        breakpoints = [{"line": L["blank"]}, {"line": L["loop"], "condition": "i == 3"},
                       {"line": L["recurse"], "hitCondition": "3"},
                       {"line": L["print_depth"], "logMessage": "d is {d} and {d * 2}"},
                       {"line": L["call_describe"]}, {"line": L["value"]}, {"line": len(SOURCE_LINES) + 5}]
        answered = client.start(launch_arguments(engine, PROGRAM, stopOnEntry=True, inputFile=input_file),
                                breakpoints={PROGRAM: breakpoints}, exception_filters=[])[PROGRAM]
        F.equal([(b.get("verified"), b.get("line")) for b in answered[:-1]],
                [(True, L[tag]) for tag in ["after_loop", "loop", "recurse", "print_depth", "call_describe", "value"]],
                "breakpoints verified at lines with code")
        F.equal(answered[-1].get("verified"), False, "a breakpoint past the end is not verified")
        F.check(len({b.get("id") for b in answered}) == len(answered), f"breakpoint ids differ: {answered}")

        stopped_at(client, "entry", L["entry"], "stopOnEntry")
        F.equal(client.request("threads")["threads"], [{"id": 1, "name": "main"}], "threads")
        F.equal(frames_of(client), [("<main>", L["entry"])], "stack at entry")

        # The loop's condition stops on the third pass: the counter has given
        # 11 and 13 so far.
        client.request("continue", {"threadId": 1})
        top = stopped_at(client, "breakpoint", L["loop"], "condition i == 3")
        F.equal(value_of(scope_variables(client, top["id"], "Locals"), "i"), "3", "loop variable i")
        globals_ = scope_variables(client, top["id"], "Globals")
        F.equal([value_of(globals_, n) for n in ("total", "name")], ["24", '"Ada"'], "total and name (from inputFile)")
        F.equal((globals_.get("total", {}).get("type"), globals_.get("name", {}).get("type")), ("number", "string"),
                "types")
        F.equal(client.evaluate("total + i * 10", top["id"], "hover")["result"], "54", "hover total + i * 10")
        for context in ("hover", "watch"):
            client.failing_request("evaluate", {"expression": "counter(1)", "frameId": top["id"], "context": context})
        # The console may call: the counter moves on to 113.
        F.equal(client.evaluate("counter(100)", top["id"], "repl")["result"], "113", "repl counter(100)")
        # What the console's code raises is its own error; the program goes on.
        raised = client.failing_request("evaluate", {"expression": "error(\"from the console\")", "frameId": top["id"],
                                                     "context": "repl"})
        F.equal(raised["message"], "Error: from the console", "an error raised in the console")

        # Into the closure: step in its locals, count among its upvalues.
        top = client.step("stepIn")
        F.equal(frames_of(client), [("<anonymous>", L["closure"]), ("<main>", L["loop"])], "stack after stepIn")
        F.equal(value_of(scope_variables(client, top["id"], "Locals"), "step"), "3", "closure parameter")
        scopes = client.scopes(top["id"])
        F.equal([s["name"] for s in client.request("scopes", {"frameId": top["id"]})["scopes"]],
                ["Locals", "Upvalues", "Globals"], "scopes of a closure")
        if "Upvalues" in scopes:
            reference = scopes["Upvalues"]["variablesReference"]
            F.equal(value_of(client.variables(reference), "count"), "113", "upvalue count")
            changed = client.request("setVariable", {"variablesReference": reference, "name": "count", "value": "999 + 1"})
            F.equal((changed.get("value"), changed.get("type")), ("1000", "number"), "setVariable count")
        top = client.step("next")
        F.equal(top["line"], L["closure_return"], "next inside the closure")
        F.equal(client.evaluate("count", top["id"], "watch")["result"], "1003", "count after the change")

        # The breakpoint on the blank line stops at the print after it:
        # 24 + 1003 + 1007.
        client.request("continue", {"threadId": 1})
        top = stopped_at(client, "breakpoint", L["after_loop"], "breakpoint moved past a blank line")
        F.equal(value_of(scope_variables(client, top["id"], "Globals"), "total"), "2034", "total after the change")
        top = client.step("next")
        F.equal(top["line"], L["call_depth"], "next over a print")

        # next over depth(3) meets the hit count: the third pass of the
        # recursive line is depth(1).
        client.request("next", {"threadId": 1})
        stopped_at(client, "breakpoint", L["recurse"], "hit count 3 during next")
        frames = client.stack()
        F.equal([(f["name"], f["line"]) for f in frames],
                [("depth", L["recurse"])] * 3 + [("<main>", L["call_depth"])], "stack of the recursion")
        F.equal([f["column"] for f in frames],
                [statement_column(f["line"]) if engine == "tree" else 0 for f in frames], "columns")
        F.check(all(os.path.samefile(f["source"]["path"], PROGRAM) and f["source"]["name"] == "debuggee.vlm"
                    for f in frames), f"sources: {[f['source'] for f in frames]}")
        F.check(len({f["id"] for f in frames}) == len(frames), "frame ids differ")
        part = client.request("stackTrace", {"threadId": 1, "startFrame": 1, "levels": 2})
        F.equal(([f["id"] for f in part["stackFrames"]], part.get("totalFrames")),
                ([f["id"] for f in frames[1:3]], 4), "startFrame 1, levels 2")
        F.equal([client.evaluate("n", f["id"], "hover")["result"] for f in frames[:3]], ["1", "2", "3"],
                "n in each frame of the recursion")
        F.equal([s["name"] for s in client.request("scopes", {"frameId": frames[0]["id"]})["scopes"]],
                ["Locals", "Globals"], "scopes of a function without upvalues")

        # The log point prints instead of stopping.
        client.request("continue", {"threadId": 1})
        top = stopped_at(client, "breakpoint", L["call_describe"], "after the log point")
        F.check("d is 3 and 6\n" in client.output("console"), f"log point output: {client.output('console')!r}")
        globals_ = scope_variables(client, top["id"], "Globals")
        data = globals_.get("data", {})
        F.equal((data.get("value"), data.get("type")),
                ('{"name": "Ada", "scores": [1, 2.5, "x"], "inner": {"ok": true, "none": nil}}', "map"), "a map")
        entries = client.variables(data.get("variablesReference", 0)) if data.get("variablesReference") else {}
        F.equal(list(entries), ["name", "scores", "inner"], "map entries named by their keys")
        scores = client.variables(entries["scores"]["variablesReference"]) if "scores" in entries else {}
        F.equal([(n, v["value"], v["type"], v["variablesReference"]) for n, v in scores.items()],
                [("0", "1", "number", 0), ("1", "2.5", "number", 0), ("2", '"x"', "string", 0)], "list elements")
        inner = client.variables(entries["inner"]["variablesReference"]) if "inner" in entries else {}
        F.equal([(n, v["value"], v["type"]) for n, v in inner.items()], [("ok", "true", "bool"), ("none", "nil", "nil")],
                "nested map")
        F.equal(globals_.get("counter", {}).get("type"), "function", "a function's type")

        # In and out of describe: stepOut ends at the caller's next statement.
        top = client.step("stepIn")
        F.equal(frames_of(client), [("describe", L["describe_first"]), ("<main>", L["call_describe"])],
                "stack after stepIn")
        top = client.step("next")
        F.equal(top["line"], L["describe_second"], "next in describe")
        F.equal(value_of(scope_variables(client, top["id"], "Locals"), "size"), "3", "size in describe")
        top = client.step("stepOut")
        F.equal(frames_of(client), [("<main>", L["print_summary"])], "stack after stepOut")
        F.equal(client.evaluate("summary", top["id"], "hover")["result"], '"3 items"', "summary after stepOut")

        # A cycle, and a changed global.
        client.request("continue", {"threadId": 1})
        top = stopped_at(client, "breakpoint", L["value"], "breakpoint before the last print")
        reference = client.scopes(top["id"])["Globals"]["variablesReference"]
        ring = client.variables(reference).get("ring", {})
        F.equal(ring.get("value"), '[1, "two", [...]]', "a cycle")
        elements = client.variables(ring["variablesReference"]) if ring.get("variablesReference") else {}
        F.equal([v["value"] for v in elements.values()], ["1", '"two"', '[1, "two", [...]]'], "a cycle's elements")
        F.check(elements.get("2", {}).get("variablesReference", 0) > 0, "the cycle expands again")
        changed = client.request("setVariable", {"variablesReference": reference, "name": "value", "value": "40 + 2"})
        F.equal(changed.get("value"), "42", "setVariable value")

        # No exception filter: the uncaught error ends the program as it would.
        client.request("continue", {"threadId": 1})
        status = client.finish()
        expected = plain_out.replace("total 60", "total 2034").replace("value 5", "value 42")
        F.equal(client.output("stdout"), expected, "the program's output with the changes made")
        F.equal(client.output("stderr"), plain_err, "the error report")
        F.equal(status, plain_status, "exit status")
        client.request("disconnect", {})
        F.equal(client.wait_exit(), 0, "the adapter's exit status after disconnect")


def exceptions_session(velmor, engine):
    """Hit counts; input from the console; raised and uncaught errors;
    malformed messages. Without an engine, the default one (the vm)."""
    F.where = f"exceptions/{engine or 'default engine'}"
    plain_out, plain_err, plain_status = run_plain(velmor, engine or "vm", PROGRAM, "Bob\n")
    with adapter(velmor) as client:
        client.initialize("velmor")
        answered = client.start(launch_arguments(engine, PROGRAM),
                                breakpoints={PROGRAM: [{"line": L["closure"], "hitCondition": "% 2"},
                                                       {"line": L["depth_first"], "hitCondition": "== 2"},
                                                       {"line": L["recurse"], "hitCondition": ">= 2"}]},
                                exception_filters=["raised"])[PROGRAM]
        F.equal([b.get("verified") for b in answered], [True] * 3, "verified")

        client.wait_output("console", "input")
        client.evaluate("Bob", None, "repl")

        def stop(line, what, name, value):
            top = stopped_at(client, "breakpoint", line, what)
            F.equal(value_of(scope_variables(client, top["id"], "Locals"), name), value, f"{what}: {name}")
            client.request("continue", {"threadId": 1})

        stop(L["closure"], "% 2, first", "step", "2")
        stop(L["closure"], "% 2, second", "step", "4")
        stop(L["depth_first"], "== 2", "n", "2")
        stop(L["recurse"], ">= 2, second hit", "n", "2")
        stop(L["recurse"], ">= 2, third hit", "n", "1")

        caught = "num: cannot convert \"abc\" to a number"
        body = client.wait_stopped("exception")
        F.equal((body.get("description"), body.get("text")), (caught, caught), "stopped at a raised error")
        F.equal(client.stack(levels=1)[0]["line"], L["caught"], "line of the raised error")
        F.equal(client.stack(levels=1)[0]["column"], statement_column(L["caught"]) if engine == "tree" else 0,
                "column")
        info = client.request("exceptionInfo", {"threadId": 1})
        F.equal((info.get("exceptionId"), info.get("description"), info.get("breakMode")),
                ("RuntimeError", caught, "always"), "exceptionInfo of a caught error")

        # Broken messages, each answered or ignored, and the session goes on.
        client.send_bytes(frame(b'{"seq": 99, "type": "requ'))
        F.equal(client.request("threads")["threads"][0]["id"], 1, "threads after bad JSON")
        failed = client.failing_request("noSuchCommand", {})
        F.equal(failed.get("command"), "noSuchCommand", "the error response names the command")
        client.failing_request("variables", {"variablesReference": "not a number"})
        client.failing_request("variables", {"variablesReference": 987654})
        F.equal(client.stack(levels=1)[0]["line"], L["caught"], "still stopped after the broken messages")

        client.request("continue", {"threadId": 1})
        body = client.wait_stopped("exception")
        F.equal(body.get("text"), '{"code": 7}', "stopped at a raised value")
        F.equal(client.stack(levels=1)[0]["line"], L["thrown"], "line of the raised value")
        info = client.request("exceptionInfo", {"threadId": 1})
        F.equal((info.get("exceptionId"), info.get("description"), info.get("breakMode")),
                ("error", '{"code": 7}', "always"), "exceptionInfo of a raised value")

        client.request("setExceptionBreakpoints", {"filters": ["uncaught"]})
        client.request("continue", {"threadId": 1})
        uncaught = "list index 5 out of range (len 2)"
        body = client.wait_stopped("exception")
        F.equal(body.get("text"), uncaught, "stopped at the uncaught error")
        F.equal(client.stack(levels=1)[0]["line"], L["uncaught"], "line of the uncaught error")
        info = client.request("exceptionInfo", {"threadId": 1})
        F.equal((info.get("description"), info.get("breakMode")), (uncaught, "unhandled"), "exceptionInfo, uncaught")
        F.equal(client.output("stderr"), "", "no report before the program goes on")
        F.check("caught num" in client.output("stdout"), "the output so far")

        client.request("continue", {"threadId": 1})
        status = client.finish()
        F.equal(client.output("stdout"), plain_out, "output")
        F.equal(client.output("stderr"), plain_err, "error report")
        F.equal(status, plain_status, "exit status")
        client.request("disconnect", {})
        F.equal(client.wait_exit(), 0, "the adapter's exit status")


def pause_sessions(velmor, engine):
    """An endless loop: pause, continue, pause, disconnect; then closing stdin."""
    for ending in ("disconnect", "closed stdin"):
        F.where = f"pause, {ending}/{engine}"
        with adapter(velmor) as client:
            client.initialize("velmor")
            client.start(launch_arguments(engine, SPIN))
            client.wait_output("stdout", "spinning\n")
            for _ in range(2):
                time.sleep(0.2)
                client.request("pause", {"threadId": 1})
                top = stopped_at(client, "pause", 2, "pause in while true do end")
                F.equal(top["name"], "<main>", "paused frame")
                client.request("continue", {"threadId": 1})
            below = descendants(client.process.pid)
            if ending == "disconnect":
                client.request("disconnect", {"terminateDebuggee": True})
            else:
                client.process.stdin.close()
            status = client.wait_exit()
            F.check(status in (0, 1), f"the adapter's exit status {status}")
            time.sleep(0.2)
            F.equal([pid for pid in below + [client.process.pid] if alive(pid)], [], "processes left running")


def no_debug_session(velmor, engine, folder):
    """noDebug: the breakpoints do not stop the program."""
    F.where = f"noDebug/{engine}"
    input_file = os.path.join(folder, "input.txt")
    with open(input_file, "w") as out:
        out.write("Ada\n")
    plain_out, plain_err, plain_status = run_plain(velmor, engine, PROGRAM, "Ada\n")
    with adapter(velmor) as client:
        client.initialize("velmor")
        client.start(launch_arguments(engine, PROGRAM, noDebug=True, inputFile=input_file),
                     breakpoints={PROGRAM: [{"line": L["loop"]}]}, exception_filters=["raised", "uncaught"])
        status = client.finish()
        F.equal(client.events("stopped"), [], "stopped events")
        F.equal((client.output("stdout"), client.output("stderr"), status), (plain_out, plain_err, plain_status),
                "output, report and exit status")
        client.request("disconnect", {})
        client.wait_exit()


def broken_program_session(velmor, engine, folder):
    F.where = f"a program that does not compile/{engine}"
    path = os.path.join(folder, "broken.vlm")
    with open(path, "w") as out:
        out.write('print("before")\nlet x = (1 +\n')
    plain_out, plain_err, plain_status = run_plain(velmor, engine, path, "")
    with adapter(velmor) as client:
        client.initialize("velmor")
        # Whether launch itself fails is the adapter's choice; the report,
        # exited and terminated must come either way.
        client.send("launch", launch_arguments(engine, path))
        client.wait_event("initialized")
        client.send("configurationDone")
        status = client.finish()
        F.equal((client.output("stdout"), client.output("stderr"), status), (plain_out, plain_err, plain_status),
                "output, report and exit status")
        client.request("disconnect", {})
        client.wait_exit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    parser.add_argument("--engine", action="append", choices=["vm", "tree"])
    options = parser.parse_args()
    velmor = os.path.abspath(options.velmor)
    with tempfile.TemporaryDirectory() as folder:
        for engine in options.engine or ["vm", "tree"]:
            for session in (lambda: inspect_session(velmor, engine, folder),
                            lambda: exceptions_session(velmor, None if engine == "vm" else engine),
                            lambda: pause_sessions(velmor, engine),
                            lambda: no_debug_session(velmor, engine, folder),
                            lambda: broken_program_session(velmor, engine, folder)):
                try:
                    session()
                except DapError as error:
                    F.check(False, f"session broken off: {error}")
    if F.count:
        print(f"{F.count} of {F.total} checks failed")
        sys.exit(1)
    print(f"all {F.total} checks of the DAP sessions passed")


if __name__ == "__main__":
    main()
