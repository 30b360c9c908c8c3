#!/usr/bin/env python3
"""Times a long paste into the prompt against running the same text as a file.

Two pastes: a list literal of N lines, and a block of 2N lines inside one
`if` (every line a continuation of one fragment). Each is given to the prompt
through a pipe and, with --terminal, typed into a pseudo-terminal in one go
(the line editor's path), and run as a file on the tree-walker; the table
shows the median of the runs and the prompt/file ratio.

Usage: bench/paste.py [--velmor PATH] [--lines N] [--runs N] [--terminal]
"""

import argparse
import os
import pty
import select
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def list_literal(lines):
    body = ["let xs = ["] + ["    %d," % i for i in range(lines - 2)] + ["]"]
    return "\n".join(body) + "\nprint(len(xs))\n", str(lines - 2)


def nested_block(lines):
    body = ["let total = 0", "if true then"] + ["    total += %d" % i for i in range(lines - 2)] + ["end"]
    return "\n".join(body) + "\nprint(total)\n", str(sum(range(lines - 2)))


def time_pipe(velmor, text, expected):
    start = time.perf_counter()
    done = subprocess.run([velmor], input=text.encode(), capture_output=True, timeout=600)
    elapsed = time.perf_counter() - start
    if expected not in done.stdout.decode():
        sys.exit("the piped prompt printed no %s" % expected)
    return elapsed


def time_file(velmor, text, expected):
    with tempfile.NamedTemporaryFile("w", suffix=".vlm", delete=False) as source:
        source.write(text)
    try:
        start = time.perf_counter()
        done = subprocess.run([velmor, "--tree", source.name], capture_output=True, timeout=600)
        elapsed = time.perf_counter() - start
    finally:
        os.unlink(source.name)
    if expected not in done.stdout.decode():
        sys.exit("the file run printed no %s" % expected)
    return elapsed


def time_terminal(velmor, text, expected):
    pid, fd = pty.fork()
    if pid == 0:
        os.environ["TERM"] = "xterm"
        os.execv(velmor, [velmor])
    output = b""
    while b">> " not in output:
        output += os.read(fd, 65536)
    marker = ("\n" + expected + "\r\n").encode()
    # Non-blocking: with both queues full, a blocking write here and the
    # prompt's echo there would wait for each other.
    os.set_blocking(fd, False)
    start = time.perf_counter()
    keys = text.replace("\n", "\r").encode()
    while keys or marker not in output:
        ready_out = [fd] if keys else []
        readable, writable, _ = select.select([fd], ready_out, [], 60)
        if not readable and not writable:
            sys.exit("the terminal paste stalled")
        try:
            if readable:
                output = output[-4096:] + os.read(fd, 65536)
            if writable and keys:
                keys = keys[os.write(fd, keys[:4096]):]
        except BlockingIOError:
            pass
    elapsed = time.perf_counter() - start
    # Ctrl-D ends the prompt only once it reads keys again: sent while the
    # last line still runs, the terminal would give it to that program.
    os.set_blocking(fd, True)
    while not output.endswith(b">> \r\x1b[3C"):
        output = output[-4096:] + os.read(fd, 65536)
    os.write(fd, b"\x04")
    os.waitpid(pid, 0)
    os.close(fd)
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", default=os.path.join(ROOT, "build", "release", "velmor"))
    parser.add_argument("--lines", type=int, default=4000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--terminal", action="store_true", help="also paste into a pseudo-terminal")
    args = parser.parse_args()

    print("%-28s %10s %10s %10s %8s" % ("paste", "pipe s", "terminal s", "file s", "pipe/file"))
    for name, (text, expected) in (("list literal, %d lines" % args.lines, list_literal(args.lines)),
                                   ("block, %d lines" % (2 * args.lines), nested_block(2 * args.lines))):
        pipe = statistics.median(time_pipe(args.velmor, text, expected) for _ in range(args.runs))
        terminal = (statistics.median(time_terminal(args.velmor, text, expected) for _ in range(args.runs))
                    if args.terminal else float("nan"))
        file = statistics.median(time_file(args.velmor, text, expected) for _ in range(args.runs))
        print("%-28s %10.3f %10.3f %10.3f %8.1f" % (name, pipe, terminal, file, pipe / file))


if __name__ == "__main__":
    main()
