#!/usr/bin/env python3
"""Language server under a burst of edits: time from the last edit to its diagnostics.

Opens a 5,000-line file in `velmor --lsp`, sends 30 incremental edits as
fast as it can write them (or --gap milliseconds apart), and times from the
write of the last edit to the publication of diagnostics for that edit's
version. Also counts the diagnostics runs that the burst caused.

    bench/lsp_edits.py [--velmor build/release/velmor] [--rounds 10] [--gap 0]
"""

import argparse
import json
import queue
import statistics
import subprocess
import threading
import time


def frame(message):
    body = json.dumps(message).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def reader(stream, inbox):
    while True:
        length = None
        while True:
            line = stream.readline()
            if not line:
                return
            line = line.strip()
            if not line:
                break
            name, _, value = line.partition(b":")
            if name.lower() == b"content-length":
                length = int(value)
        inbox.put((time.perf_counter(), json.loads(stream.read(length))))


def big_file():
    lines = []
    i = 0
    while len(lines) < 5000:
        lines += [f"function f{i}(a, b)", f"  let total = a + b * {i}", "  if total > 10 then return total end",
                  f'  return [a, b, "n{i}: ${{total}}"]', "end"]
        i += 1
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--velmor", default="build/release/velmor")
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--edits", type=int, default=30)
    parser.add_argument("--gap", type=float, default=0.0, help="milliseconds between edits")
    options = parser.parse_args()

    server = subprocess.Popen([options.velmor, "--lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    inbox = queue.Queue()
    threading.Thread(target=reader, args=(server.stdout, inbox), daemon=True).start()

    def send(message):
        server.stdin.write(frame(message))
        server.stdin.flush()

    def wait_for(predicate):
        while True:
            stamp, message = inbox.get(timeout=60)
            if predicate(message):
                return stamp, message

    send({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"processId": None, "capabilities": {}}})
    wait_for(lambda m: m.get("id") == 1)
    send({"jsonrpc": "2.0", "method": "initialized", "params": {}})
    uri = "file:///big.vlm"
    text = big_file()
    last_line = text.count("\n")
    send({"jsonrpc": "2.0", "method": "textDocument/didOpen",
          "params": {"textDocument": {"uri": uri, "languageId": "velmor", "version": 1, "text": text}}})
    wait_for(lambda m: m.get("method") == "textDocument/publishDiagnostics")

    version = 1
    column = 0
    latencies = []
    runs = []
    for _ in range(options.rounds):
        first = version + 1
        for _ in range(options.edits):
            version += 1
            change = {"range": {"start": {"line": last_line, "character": column},
                                "end": {"line": last_line, "character": column}}, "text": "x"}
            column += 1
            send({"jsonrpc": "2.0", "method": "textDocument/didChange",
                  "params": {"textDocument": {"uri": uri, "version": version}, "contentChanges": [change]}})
            sent = time.perf_counter()
            if options.gap and version < first + options.edits - 1:
                time.sleep(options.gap / 1000)
        published = 0
        while True:
            stamp, message = wait_for(lambda m: m.get("method") == "textDocument/publishDiagnostics")
            published += 1
            got = message["params"].get("version")
            # A server that sends no versions: count runs up to the edits sent.
            if got == version or (got is None and published == version - first + 1):
                break
        latencies.append((stamp - sent) * 1000)
        runs.append(published)

    send({"jsonrpc": "2.0", "id": 2, "method": "shutdown", "params": None})
    wait_for(lambda m: m.get("id") == 2)
    send({"jsonrpc": "2.0", "method": "exit"})
    server.wait(timeout=10)
    print(f"{options.edits} edits per burst, {options.rounds} bursts, 5,000 lines ({len(text)} bytes), "
          f"gap {options.gap} ms")
    print(f"last edit to its diagnostics: median {statistics.median(latencies):.1f} ms, "
          f"min {min(latencies):.1f} ms, max {max(latencies):.1f} ms")
    print(f"diagnostics runs per burst: median {statistics.median(runs)}, max {max(runs)}")


if __name__ == "__main__":
    main()
