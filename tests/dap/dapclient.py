"""A small Debug Adapter Protocol client for tests: runs an adapter as a child
process, frames messages with Content-Length headers on its stdin/stdout, and
waits for responses and events with timeouts, so that an adapter that hangs
fails the test instead of hanging it.

Every message the adapter sends is kept in arrival order. `request` sends a
request and returns its response; `wait_event` returns the next event of a
kind that has not been taken yet, waiting for it when it has not arrived.
Output events are also collected per category (`output("stdout")`).
"""

import json
import subprocess
import threading
import time


class DapError(AssertionError):
    """The adapter broke the protocol, answered a request with an error,
    or did not answer in time."""


def frame(body: bytes) -> bytes:
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


class DapClient:
    def __init__(self, argv, cwd=None, env=None, timeout=10.0):
        self.timeout = timeout
        self.process = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, cwd=cwd, env=env)
        self.seq = 0
        self.messages = []  # everything received, in order
        self.taken = set()  # indices of events already returned by wait_event
        self.protocol_errors = []
        self.stderr = b""
        self.closed = False  # the adapter closed its stdout
        self.condition = threading.Condition()
        self.write_lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.stderr_reader = threading.Thread(target=self._read_stderr, daemon=True)
        self.stderr_reader.start()

    # -- reading

    def _read(self):
        stream = self.process.stdout
        try:
            while True:
                length = None
                while True:
                    line = stream.readline()
                    if not line:
                        return
                    if line in (b"\r\n", b"\n"):
                        break
                    name, _, value = line.decode("ascii", "replace").partition(":")
                    if name.strip().lower() == "content-length":
                        length = int(value.strip())
                if length is None:
                    self._protocol_error("a header block without Content-Length")
                    continue
                body = stream.read(length)
                if len(body) != length:
                    self._protocol_error(f"a body cut short: {len(body)} of {length} bytes")
                    return
                try:
                    message = json.loads(body.decode("utf-8"))
                except (UnicodeDecodeError, ValueError) as error:
                    self._protocol_error(f"a body that is not JSON ({error}): {body[:200]!r}")
                    continue
                with self.condition:
                    self.messages.append(message)
                    self.condition.notify_all()
        except ValueError as error:
            self._protocol_error(f"a bad header: {error}")
        finally:
            with self.condition:
                self.closed = True
                self.condition.notify_all()

    def _read_stderr(self):
        for chunk in iter(lambda: self.process.stderr.read1(4096), b""):
            with self.condition:
                self.stderr += chunk

    def _protocol_error(self, what):
        with self.condition:
            self.protocol_errors.append(what)
            self.condition.notify_all()

    def _wait_for(self, find, what, timeout):
        """Waits until find() (called under the lock) returns something."""
        deadline = time.monotonic() + (self.timeout if timeout is None else timeout)
        with self.condition:
            while True:
                found = find()
                if found is not None:
                    return found
                if self.protocol_errors:
                    raise DapError(f"while waiting for {what}: the adapter sent {self.protocol_errors[0]}")
                left = deadline - time.monotonic()
                if self.closed or left <= 0:
                    reason = "the adapter closed its output" if self.closed else "timed out"
                    raise DapError(f"while waiting for {what}: {reason}; last messages:\n{self._recent()}")
                self.condition.wait(left)

    def _recent(self, count=8):
        lines = [json.dumps(m)[:300] for m in self.messages[-count:]]
        tail = self.stderr.decode("utf-8", "replace")[-500:]
        if tail:
            lines.append("stderr: " + tail)
        return "\n".join("  " + line for line in lines)

    # -- writing

    def send_bytes(self, data: bytes):
        with self.write_lock:
            try:
                self.process.stdin.write(data)
                self.process.stdin.flush()
            except (BrokenPipeError, ValueError) as error:
                status = self.process.poll()
                raise DapError(f"cannot write to the adapter ({error}); its exit status: {status}; "
                               f"last messages:\n{self._recent()}") from None

    def send(self, command, arguments=None) -> int:
        """Sends a request and returns its seq without waiting."""
        with self.write_lock:
            self.seq += 1
            seq = self.seq
        message = {"seq": seq, "type": "request", "command": command}
        if arguments is not None:
            message["arguments"] = arguments
        self.send_bytes(frame(json.dumps(message).encode()))
        return seq

    def response(self, seq, timeout=None):
        """The response to request `seq` (success or not)."""
        def find():
            for message in self.messages:
                if message.get("type") == "response" and message.get("request_seq") == seq:
                    return message
            return None
        return self._wait_for(find, f"the response to request {seq}", timeout)

    def request(self, command, arguments=None, timeout=None):
        """Sends a request, waits for its response and returns the body;
        an error response raises DapError."""
        reply = self.response(self.send(command, arguments), timeout)
        if reply.get("command") != command:
            raise DapError(f"the response to {command} names command {reply.get('command')!r}")
        if not reply.get("success"):
            raise DapError(f"{command} failed: {reply.get('message')!r} {reply.get('body')!r}")
        return reply.get("body") or {}

    def failing_request(self, command, arguments=None, timeout=None):
        """Sends a request that must fail; returns the error response."""
        reply = self.response(self.send(command, arguments), timeout)
        if reply.get("success"):
            raise DapError(f"{command} {arguments!r} succeeded but should have failed: {reply.get('body')!r}")
        if not reply.get("message"):
            raise DapError(f"the error response to {command} has no message: {reply!r}")
        return reply

    # -- events

    def wait_event(self, event, timeout=None, where=None):
        """The next event named `event` not returned before (and matching
        where(body) when given), waiting for it if need be."""
        def find():
            for index, message in enumerate(self.messages):
                if (index not in self.taken and message.get("type") == "event" and message.get("event") == event
                        and (where is None or where(message.get("body") or {}))):
                    self.taken.add(index)
                    return message.get("body") or {}
            return None
        return self._wait_for(find, f"a {event!r} event", timeout)

    def events(self, event):
        """The bodies of all `event` events received so far."""
        with self.condition:
            return [m.get("body") or {} for m in self.messages if m.get("type") == "event" and m.get("event") == event]

    def output(self, category):
        """All output of one category received so far, joined."""
        return "".join(body.get("output", "") for body in self.events("output")
                       if body.get("category", "console") == category)

    def wait_output(self, category, text, timeout=None):
        """Waits until the output of `category` contains `text`."""
        def find():
            joined = "".join(m["body"].get("output", "") for m in self.messages
                             if m.get("type") == "event" and m.get("event") == "output"
                             and m.get("body", {}).get("category", "console") == category)
            return joined if text in joined else None
        return self._wait_for(find, f"{text!r} in {category} output", timeout)

    def wait_stopped(self, reason=None, timeout=None):
        body = self.wait_event("stopped", timeout)
        if reason is not None and body.get("reason") != reason:
            raise DapError(f"stopped with reason {body.get('reason')!r}, expected {reason!r}: {body!r}")
        return body

    # -- the end

    def wait_exit(self, timeout=None):
        """Waits for the adapter process to end; returns its status."""
        try:
            return self.process.wait(self.timeout if timeout is None else timeout)
        except subprocess.TimeoutExpired:
            raise DapError(f"the adapter did not exit; last messages:\n{self._recent()}") from None

    def close(self):
        """Closes the adapter's stdin, waits briefly, and kills it if it lingers."""
        try:
            self.process.stdin.close()
        except OSError:
            pass
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.reader.join(5)
        self.stderr_reader.join(5)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # -- the usual steps of a session

    def initialize(self, adapter_id):
        """initialize; returns the capabilities."""
        return self.request("initialize", {"clientID": "velmor-tests", "adapterID": adapter_id, "locale": "en",
                                           "linesStartAt1": True, "columnsStartAt1": True, "pathFormat": "path",
                                           "supportsVariableType": True})

    def start(self, launch, breakpoints=None, exception_filters=None):
        """Launches and configures a session the way editors do: launch (whose
        response an adapter may hold back until the configuration is done),
        the `initialized` event, setBreakpoints for each {path: [breakpoint]},
        setExceptionBreakpoints, configurationDone, then the launch response.
        Returns {path: the breakpoints the adapter answered}."""
        launch_seq = self.send("launch", launch)
        self.wait_event("initialized")
        answered = {}
        for path, wanted in (breakpoints or {}).items():
            answered[path] = self.request("setBreakpoints", {"source": {"path": path},
                                                             "breakpoints": wanted})["breakpoints"]
            if len(answered[path]) != len(wanted):
                raise DapError(f"setBreakpoints answered {len(answered[path])} breakpoints for {len(wanted)}")
        if exception_filters is not None:
            self.request("setExceptionBreakpoints", {"filters": exception_filters})
        self.request("configurationDone")
        reply = self.response(launch_seq)
        if not reply.get("success"):
            raise DapError(f"launch failed: {reply.get('message')!r}")
        return answered

    def stack(self, thread_id=1, **arguments):
        return self.request("stackTrace", dict(arguments, threadId=thread_id))["stackFrames"]

    def scopes(self, frame_id):
        """{scope name: scope} of a frame."""
        return {scope["name"]: scope for scope in self.request("scopes", {"frameId": frame_id})["scopes"]}

    def variables(self, reference):
        """{name: variable} of a variables reference, in order."""
        found = self.request("variables", {"variablesReference": reference})["variables"]
        return {variable["name"]: variable for variable in found}

    def evaluate(self, expression, frame_id=None, context="repl"):
        arguments = {"expression": expression, "context": context}
        if frame_id is not None:
            arguments["frameId"] = frame_id
        return self.request("evaluate", arguments)

    def step(self, command, thread_id=1, reason="step"):
        """continue/next/stepIn/stepOut, then the stopped event; returns the
        top frame where the program stopped."""
        self.request(command, {"threadId": thread_id})
        self.wait_stopped(reason)
        return self.stack(thread_id, levels=1)[0]

    def finish(self):
        """After the program's last continue: exited, then terminated; returns
        the exit status."""
        code = self.wait_event("exited")["exitCode"]
        self.wait_event("terminated")
        with self.condition:
            order = [m["event"] for m in self.messages if m.get("event") in ("exited", "terminated")]
        if order[:2] != ["exited", "terminated"]:
            raise DapError(f"the session ended with the events {order}, not exited then terminated")
        return code
