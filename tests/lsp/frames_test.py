#!/usr/bin/env python3
"""Feeds `velmor --lsp` broken input: seeded mutations of a valid session's
bytes (flipped, cut, repeated and inserted bytes, damaged headers) and a few
hand-made extremes (huge and negative lengths, invalid UTF-8, JSON nested
200,000 deep, a stray response, a batch). The server must never crash or
hang, must exit 0 or 1, and everything it writes must be well-formed frames
of valid JSON.

Then one broken frame of each kind (a length that is not a number, one
counted in characters instead of bytes, lengths past the body and over the
limit, a header block cut short, a body that is not JSON, bytes outside any
frame), each followed by ten requests: the server must answer all ten and
note the broken frame on standard error once (a body that merely is not JSON
is answered with a parse error instead).

Usage: frames_test.py VELMOR [--count N] [--seed S]
"""

import argparse
import json
import random
import subprocess
import sys


def frame(body: bytes) -> bytes:
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def message(obj) -> bytes:
    return frame(json.dumps(obj).encode())


def valid_session() -> bytes:
    uri = "file:///m.vlm"
    text = 'let x = 1 +\nfunction f(a) return a + x end\nprint(f(2), "é${x}")\n'
    at = {"textDocument": {"uri": uri}, "position": {"line": 2, "character": 7}}
    return b"".join([
        message({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}}),
        message({"jsonrpc": "2.0", "method": "initialized", "params": {}}),
        message({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                 "params": {"textDocument": {"uri": uri, "languageId": "velmor", "version": 1, "text": text}}}),
        message({"jsonrpc": "2.0", "id": 2, "method": "textDocument/hover", "params": at}),
        message({"jsonrpc": "2.0", "id": 3, "method": "textDocument/completion", "params": at}),
        message({"jsonrpc": "2.0", "id": 4, "method": "textDocument/signatureHelp", "params": at}),
        message({"jsonrpc": "2.0", "id": 5, "method": "textDocument/references",
                 "params": dict(at, context={"includeDeclaration": True})}),
        message({"jsonrpc": "2.0", "id": 6, "method": "textDocument/documentSymbol",
                 "params": {"textDocument": {"uri": uri}}}),
        message({"jsonrpc": "2.0", "method": "textDocument/didChange",
                 "params": {"textDocument": {"uri": uri, "version": 2}, "contentChanges": [
                     {"range": {"start": {"line": 0, "character": 99}, "end": {"line": -4, "character": 2}},
                      "text": "\u00ff("}]}}),
        message({"jsonrpc": "2.0", "id": 7, "method": "shutdown"}),
        message({"jsonrpc": "2.0", "method": "exit"}),
    ])


def extremes(session: bytes):
    init = message({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {}})
    yield b"Content-Length: 99999999999999999999999\r\n\r\n" + session
    yield b"Content-Length: -5\r\n\r\n" + session
    yield b"Content-Length: 10\r\nContent-Length: 12\r\n\r\n" + session
    yield b"no colon here\r\n\r\n" + session
    yield init + frame(b"[" * 200000 + b"]" * 200000) + session
    yield init + frame(b'{"jsonrpc":"2.0","id":9,"method":"textDocument/hover","params":' + b"[" * 100000 + b"]" * 100000 + b"}")
    yield init + frame(b'{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"u","text":"\xc3\x28\xff"}}}')
    yield init + frame(b'{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"u","text":"\\u00e9 \\ud800"}}}')
    yield init + frame(b'[{"jsonrpc":"2.0","id":1,"method":"shutdown"}]') + frame(b"42") + frame(b"null")
    yield init + frame(b'{"jsonrpc":"2.0","id":{"a":1},"method":"shutdown"}') + frame(b'{"id":3,"result":null}')
    yield init + frame(b'{"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"u"},'
                       b'"position":{"line":18446744073709551615,"character":-9223372036854775808}}}')
    yield session[: len(session) // 2]
    yield b""


def broken_frames():
    """(what is wrong, the frame, notes expected on standard error)."""
    text = "let café = \"naïve ☕\"\nprint(café)\n"
    body = json.dumps({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                       "params": {"textDocument": {"uri": "file:///b.vlm", "languageId": "velmor", "version": 1,
                                                   "text": text}}}, ensure_ascii=False).encode()
    characters = len(body.decode())
    assert characters < len(body)
    yield "a length that is not a number", b"Content-Length: 12a\r\n\r\n" + body, 1
    yield "a length counted in characters", b"Content-Length: %d\r\n\r\n" % characters + body, 1
    yield "a length past the body", b"Content-Length: %d\r\n\r\n" % (len(body) + 60) + body, 1
    yield "a length just past the body", b"Content-Length: %d\r\n\r\n" % (len(body) + 4) + body, 1
    yield "a length over the limit", b"Content-Length: 99999999999\r\n\r\n" + body, 1
    yield "a header block cut short", b"Content-Length: 40\r\nContent-Type: application/vscode-jsonrpc", 1
    yield "a length past a body holding a NUL", b"Content-Length: 40\r\n\r\n7\x00", 1
    yield "a body that is not JSON", frame(b'{"jsonrpc": "2.0", "id": 1,'), 0
    yield "bytes outside any frame", b"\x00garbage " + body + b"\r\n", 1


def check_resync(velmor) -> int:
    """Ten requests after each broken frame; the number of failed cases."""
    init = message({"jsonrpc": "2.0", "id": 0, "method": "initialize", "params": {"capabilities": {}}})
    ids = list(range(100, 110))
    requests = b"".join(message({"jsonrpc": "2.0", "id": n, "method": "textDocument/documentSymbol",
                                 "params": {"textDocument": {"uri": "file:///b.vlm"}}}) for n in ids)
    failures = 0
    for problem, broken, notes in broken_frames():
        run = subprocess.run([velmor, "--lsp"], input=init + broken + requests, capture_output=True, timeout=20)
        answered = set()
        output = run.stdout
        while output:
            header, _, rest = output.partition(b"\r\n\r\n")
            length = int(header[16:])
            reply = json.loads(rest[:length])
            if "id" in reply and ("result" in reply or "error" in reply):
                answered.add(reply["id"])
            output = rest[length:]
        logged = [line for line in run.stderr.decode(errors="replace").splitlines() if "language server" in line]
        missing = [n for n in ids if n not in answered]
        if missing or len(logged) != notes:
            failures += 1
            print(f"after {problem}: {len(ids) - len(missing)} of {len(ids)} requests answered, "
                  f"{len(logged)} notes on standard error (expected {notes}): {logged}")
    return failures


def mutate(data: bytes, rng: random.Random) -> bytes:
    data = bytearray(data)
    for _ in range(rng.randint(1, 6)):
        if not data:
            break
        at = rng.randrange(len(data))
        kind = rng.randrange(6)
        if kind == 0:
            data[at] = rng.randrange(256)
        elif kind == 1:
            del data[at:at + rng.randint(1, 40)]
        elif kind == 2:
            data[at:at] = data[at:at + rng.randint(1, 200)]
        elif kind == 3:
            data[at:at] = rng.choice([b"\r\n", b"\r\n\r\n", b"Content-Length: 3\r\n", b"{", b"}", b'"', b"\\",
                                      b"\xff", b"\xe9", b"0", b"-1", b"null", b"[]"])
        elif kind == 4:
            digits = data.find(b"Content-Length: ", at)
            if digits >= 0:
                data[digits + 16:digits + 16] = str(rng.randint(0, 10 ** rng.randint(1, 12))).encode()
        else:
            del data[at:]
    return bytes(data)


def check_output(output: bytes) -> str:
    while output:
        header, separator, rest = output.partition(b"\r\n\r\n")
        if not separator or not header.startswith(b"Content-Length: "):
            return f"bad header {header[:60]!r}"
        length = int(header[16:])
        body = rest[:length]
        if len(body) != length:
            return "truncated body"
        try:
            json.loads(body.decode("utf-8"))
        except (UnicodeDecodeError, ValueError) as error:
            return f"invalid JSON {body[:80]!r}: {error}"
        output = rest[length:]
    return ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("velmor")
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--seed", type=int, default=21)
    options = parser.parse_args()
    rng = random.Random(options.seed)
    session = valid_session()
    cases = list(extremes(session)) + [mutate(session, rng) for _ in range(options.count)]
    failures = 0
    for number, data in enumerate(cases):
        try:
            run = subprocess.run([options.velmor, "--lsp"], input=data, capture_output=True, timeout=20)
        except subprocess.TimeoutExpired:
            problem = "hung (no exit within 20 s)"
        else:
            problem = ""
            if run.returncode not in (0, 1):
                problem = f"exit status {run.returncode}: {run.stderr[-300:]!r}"
            else:
                problem = check_output(run.stdout)
        if problem:
            failures += 1
            if failures <= 5:
                print(f"case {number}: {problem}\n  input: {data[:200]!r}")
    print(f"{len(cases) - failures} of {len(cases)} malformed inputs handled")
    broken = check_resync(options.velmor)
    print(f"{len(list(broken_frames())) - broken} of {len(list(broken_frames()))} broken frames recovered from")
    sys.exit(1 if failures or broken else 0)


if __name__ == "__main__":
    main()
