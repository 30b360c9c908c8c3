#!/usr/bin/env python3
"""The prompt at a real terminal: velmor runs on a pseudo-terminal, keys go in
as a terminal sends them, and what it draws is read back.

Checks editing in the middle of a line, history recall of a single-line and a
multi-line entry, completion of a builtin and of a user global, Ctrl-C at the
prompt and during running programs (definitions survive, `try` cannot catch
it, a callback of `sort` and a wait in `input` end too), `input` at the
terminal, a paste, runtime errors with the excerpt of the line they stand on
(also in a function an earlier input defined), Ctrl-D on a continuation
line and on the primary one, and that no escape sequence but the editor's
own few cursor movements reaches the screen. Wide characters,
emoji and combining accents are typed at the end and in the middle of lines
that wrap on a narrow terminal, and after every key the screen, as a small
terminal emulator draws it from the editor's output, must show the entry and
the cursor where a terminal shows them. SIGTERM, SIGHUP and SIGQUIT at the
prompt must leave the terminal in its own modes. The history is saved
across sessions, a block whole, cut back to 1,000 entries, and switched off
or moved by VELMOR_HISTORY; every prompt here has a state directory (its
XDG_STATE_HOME) of the test's own. Every wait is for text, a
screen or a terminal mode, bounded by a timeout; none is a blind sleep.

Usage: prompt_terminal_test.py --velmor PATH
"""

import argparse
import codecs
import fcntl
import os
import re
import resource
import select
import signal
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import termios
import time
import unicodedata

TIMEOUT = 30.0
STATE_ROOT = tempfile.mkdtemp(prefix="velmor-prompt-test-")  # every prompt's XDG_STATE_HOME is under it
UP, DOWN, LEFT, RIGHT = b"\x1b[A", b"\x1b[B", b"\x1b[D", b"\x1b[C"
HOME, END = b"\x1b[H", b"\x1b[F"
CTRL_C, CTRL_D, CTRL_K, CTRL_U, CTRL_W, TAB = b"\x03", b"\x04", b"\x0b", b"\x15", b"\x17", b"\t"
# The only sequences the editor writes: cursor up, down, forward, clear below, home, clear all.
EDITOR_SEQUENCE = re.compile(rb"\x1b\[(?:\d*[ABCJH]|2J)")


class Failure(Exception):
    pass


def columns_of(character):
    """The columns a terminal gives a character (as the wcwidth of common terminals does)."""
    if unicodedata.combining(character) or unicodedata.category(character) in ("Mn", "Me", "Cf"):
        return 0
    return 2 if unicodedata.east_asian_width(character) in ("W", "F") else 1


class Screen:
    """A terminal's screen for the bytes the prompt writes: characters fill
    cells by their columns (a wide one that does not fit in the last column
    starts the next row, a zero-width one joins the cell before it), the
    cursor waits at the margin until the next character, and CR, LF,
    ESC [ n A/B/C, ESC [ J, ESC [ H and ESC [ 2 J act as they do. The screen
    does not scroll: rows are kept from the first."""

    def __init__(self, width):
        self.width = width
        self.cells = [[]]
        self.row = self.column = 0
        self.waiting = False
        self.last = None  # (row, column) of the latest character
        self.decoder = codecs.getincrementaldecoder("utf-8")("replace")
        self.pending = ""

    def cell_row(self, row):
        while len(self.cells) <= row:
            self.cells.append([])
        return self.cells[row]

    def set_cell(self, row, column, text):
        cells = self.cell_row(row)
        while len(cells) <= column:
            cells.append(" ")
        cells[column] = text

    def put(self, character):
        columns = columns_of(character)
        if columns == 0:
            if self.last:
                row, column = self.last
                self.set_cell(row, column, self.cells[row][column] + character)
            return
        if self.waiting or self.column + columns > self.width:
            self.row += 1
            self.column = 0
            self.waiting = False
        cells = self.cell_row(self.row)
        for column in range(self.column, self.column + columns):  # over half of a wide one: blank the other
            if column < len(cells) and cells[column] == "" and column > 0:
                cells[column - 1] = " "
            if column + 1 < len(cells) and cells[column + 1] == "":
                cells[column + 1] = " "
        self.set_cell(self.row, self.column, character)
        for column in range(self.column + 1, self.column + columns):
            self.set_cell(self.row, column, "")
        self.last = (self.row, self.column)
        if self.column + columns >= self.width:
            self.column = self.width - 1
            self.waiting = True
        else:
            self.column += columns

    def feed(self, data):
        text = self.pending + self.decoder.decode(data)
        self.pending = ""
        at = 0
        while at < len(text):
            character = text[at]
            if character == "\x1b":
                found = re.compile(r"\x1b\[(\d*)([A-Za-z])").match(text, at)
                if not found:
                    if len(text) - at < 8:
                        self.pending = text[at:]  # the rest arrives later
                        return
                    raise Failure("the screen got an escape sequence it does not know: %r" % text[at:at + 8])
                self.sequence(found.group(1), found.group(2))
                at = found.end()
                continue
            if character == "\r":
                self.column, self.waiting = 0, False
            elif character == "\n":
                self.row, self.waiting = self.row + 1, False
            elif ord(character) >= 0x20:
                self.put(character)
            at += 1

    def sequence(self, parameter, final):
        count = int(parameter) if parameter else 1
        self.waiting = False
        self.last = None
        if final == "A":
            self.row = max(0, self.row - count)
        elif final == "B":
            self.row += count
        elif final == "C":
            self.column = min(self.width - 1, self.column + count)
        elif final == "H":
            self.row = self.column = 0
        elif final == "J":
            if parameter == "2":
                self.cells = [[]]
            else:
                del self.cell_row(self.row)[self.column:]
                del self.cells[self.row + 1:]
        else:
            raise Failure("the screen got ESC [%s%s" % (parameter, final))

    def rows_from(self, top):
        rows = ["".join(cells).rstrip(" ") for cells in self.cells[top:]]
        while rows and not rows[-1]:
            rows.pop()
        return rows

    def cursor(self):
        return self.row, self.column


def expected_screen(prompt, text, cursor, width):
    """The rows an entry of one line takes and where the cursor stands, as a
    terminal draws it: a character that does not fit starts the next row; the
    cursor stands on the character after it, or past the end (at the next
    row's start when the end reaches the margin)."""
    rows, row, used = [], "", 0
    line = prompt + text
    cursor += len(prompt)
    place = None
    for at in range(len(line) + 1):
        columns = columns_of(line[at]) if at < len(line) else 0
        if columns and used + columns > width:
            rows.append(row)
            row, used = "", 0
        if at == cursor:
            place = (len(rows) + 1, 0) if used == width else (len(rows), used)
        if at < len(line):
            row += line[at]
            used += columns
    rows.append(row)
    rows = [r.rstrip(" ") for r in rows]
    while rows and not rows[-1]:
        rows.pop()
    return rows, place


def local_flags(fd):
    return termios.tcgetattr(fd)[3]


class Prompt:
    """velmor with no arguments on a fresh pseudo-terminal (its controlling
    terminal), 100 columns wide unless told otherwise."""

    def __init__(self, velmor, columns=100, state_home=None, history=None):
        self.fd, terminal = os.openpty()
        fcntl.ioctl(self.fd, termios.TIOCSWINSZ, struct.pack("HHHH", 30, columns, 0, 0))
        self.own_flags = local_flags(self.fd)  # the terminal's modes before velmor starts

        def become_session_leader():
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)
            resource.setrlimit(resource.RLIMIT_CORE, (0, 0))  # SIGQUIT leaves no core file

        # The history file goes to a state directory of the test's own, a fresh one unless told.
        environment = dict(os.environ, TERM="xterm", XDG_STATE_HOME=state_home or tempfile.mkdtemp(dir=STATE_ROOT))
        environment.pop("VELMOR_HISTORY", None)
        if history is not None:
            environment["VELMOR_HISTORY"] = history
        self.child = subprocess.Popen([velmor], stdin=terminal, stdout=terminal, stderr=terminal,
                                 env=environment, start_new_session=True,
                                 preexec_fn=become_session_leader)
        os.close(terminal)  # the master reads the end of input when velmor has gone
        self.pid = self.child.pid
        self.output = b""
        self.seen = 0  # wait_for looks only past this point
        self.status = None

    def send(self, keys):
        os.write(self.fd, keys)

    def _read(self, deadline):
        ready, _, _ = select.select([self.fd], [], [], max(0.0, min(0.2, deadline - time.monotonic())))
        if not ready:
            return
        try:
            chunk = os.read(self.fd, 65536)
        except OSError:  # the program ended and the terminal closed
            chunk = b""
        if not chunk:
            raise EOFError
        self.output += chunk

    def wait_for(self, text, what=None):
        """Waits until `text` (bytes) appears after everything waited for so far.
        A line end in it also matches the terminal's own CR before the editor's CR LF."""
        pattern = re.compile(re.escape(text).replace(re.escape(b"\r\n"), rb"\r+\n"))
        deadline = time.monotonic() + TIMEOUT
        while True:
            found = pattern.search(self.output, self.seen)
            if found:
                self.seen = found.end()
                return
            if time.monotonic() > deadline:
                raise Failure("timed out waiting for %r (%s); the terminal shows at the end:\n%r"
                              % (text, what or "", self.output[-600:]))
            try:
                self._read(deadline)
            except EOFError:
                raise Failure("the prompt ended while waiting for %r; it wrote at the end:\n%r"
                              % (text, self.output[-600:]))

    def prompt(self):
        self.wait_for(b">> ", "the primary prompt")

    def wait_running(self):
        """Waits until the terminal is back in its own (line) mode: a program runs."""
        deadline = time.monotonic() + TIMEOUT
        while not termios.tcgetattr(self.fd)[3] & termios.ICANON:
            if time.monotonic() > deadline:
                raise Failure("the program never started running")
            time.sleep(0.01)
        self.drain(0.1)

    def drain(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            try:
                self._read(end)
            except EOFError:
                return

    def type_and_run(self, line, expect):
        self.send(line + b"\r")
        self.wait_for(expect, "output of %r" % line)
        self.prompt()

    def finish(self):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            if self.child.poll() is not None:
                self.status = self.child.returncode
                break
            try:
                self._read(deadline)
            except EOFError:
                pass
        else:
            self.child.kill()
            self.child.wait()
            raise Failure("the prompt did not end")
        self.flags_at_end = local_flags(self.fd)
        os.close(self.fd)

    def wait_editing(self):
        """Waits until the line editor holds the terminal raw, at the prompt."""
        self.prompt()
        deadline = time.monotonic() + TIMEOUT
        while local_flags(self.fd) & termios.ICANON:
            if time.monotonic() > deadline:
                raise Failure("the line editor never took the terminal")
            time.sleep(0.01)

    def check_screen_vocabulary(self):
        stray = [m.start() for m in re.finditer(rb"\x1b", self.output)
                 if not EDITOR_SEQUENCE.match(self.output, m.start())]
        if stray:
            at = stray[0]
            raise Failure("an escape sequence the editor does not write reached the screen: %r"
                          % self.output[max(0, at - 40):at + 20])


def check_editing(p):
    p.prompt()
    p.send(b"prnt(42)" + HOME + RIGHT + RIGHT + b"i" + END + b"\r")
    p.wait_for(b"\r\n42\r\n", "an insertion in the middle")
    p.prompt()
    p.send(b"garbage words" + CTRL_W + CTRL_U + b"print(7) tail" + LEFT * 5 + CTRL_K + b"\r")
    p.wait_for(b"\r\n7\r\n", "Ctrl-W, Ctrl-U and Ctrl-K")
    p.prompt()
    # Keys that are no editing keys: F1, F5, Ctrl-Right, Alt-x, Page Up.
    p.send(b'"a' + b"\x1bOP" + b"\x1b[15~" + b"\x1b[1;5C" + b"\x1bx" + b"\x1b[5~" + b'b"\r')
    p.wait_for(b'\r\n"ab"\r\n', "text around keys that do nothing")
    p.prompt()


def check_history(p):
    p.type_and_run(b"1 + 2", b"\r\n3\r\n")
    p.send(UP)
    p.wait_for(b">> 1 + 2", "the single-line entry recalled")
    p.type_and_run(b"", b"\r\n3\r\n")
    for line in (b"for i = 1, 3 do", b"    print(i * 10)"):
        p.send(line + b"\r")
        p.wait_for(b".. ")
    p.type_and_run(b"end", b"10\r\n20\r\n30\r\n")
    p.send(UP)
    p.wait_for(b">> for i = 1, 3 do\r\n..     print(i * 10)\r\n.. end", "the multi-line entry recalled whole")
    p.type_and_run(b"", b"10\r\n20\r\n30\r\n")
    # The first up brings back the newest entry, the loop, with the cursor on
    # its last line; two more climb its lines, the fourth reaches the entry before.
    p.send(UP * 4)
    p.wait_for(b">> 1 + 2")
    p.type_and_run(b"", b"\r\n3\r\n")


def check_completion(p):
    def tab(typed, completion, what):
        """Types `typed`, then a tab, which must add `completion`."""
        p.send(typed)
        p.wait_for(typed)
        p.send(TAB)
        p.wait_for(completion, what)

    tab(b"pri", b"nt", "print completed")
    p.type_and_run(b"(5)", b"\r\n5\r\n")
    p.type_and_run(b"let counterValue = 41", b"\r\n")
    tab(b"counterV", b"alue", "the global completed")
    p.type_and_run(b" + 1", b"\r\n42\r\n")
    # In a block being typed: its parameters, and after "." the keys of the
    # map it builds; then the keys of a map the session holds.
    p.send(b"function area(width, height)\r")
    p.wait_for(b".. ")
    p.send(b"let box = {\"depth\": 1}\r")
    p.wait_for(b".. ")
    tab(b"return wid", b"th", "the block's parameter completed")
    tab(b" * box.de", b"pth", "the key of the block's map completed")
    p.send(b" * height\r")
    p.wait_for(b".. ")
    p.type_and_run(b"end", b"\r\n")
    p.type_and_run(b"let sizes = {\"small\": 2, \"large\": 9}", b"\r\n")
    tab(b"area(sizes.la", b"rge", "the key of the session's map completed")
    p.type_and_run(b", 3)", b"\r\n27\r\n")


def check_interrupts(p):
    # At the prompt, Ctrl-C drops the open block: "1 + 1" then starts afresh.
    p.send(b"if true then\r")
    p.wait_for(b".. ")
    p.send(b"print(1)" + CTRL_C)
    p.wait_for(b"^C\r\n")
    p.type_and_run(b"1 + 1", b"\r\n2\r\n")

    p.type_and_run(b"let kept = 5", b"\r\n")
    # The sort's comparator is one the engine must call (`return b < a` it
    # would sort by without calls, in a tenth of a second).
    for program in (b"while true do end",
                    b'try while true do end catch e print("caught") end',
                    b"sort(range(3000000), function(a, b) return b - a < 0 end)"):
        p.send(program + b"\r")
        p.wait_running()
        p.send(CTRL_C)
        p.wait_for(b"Interrupted\r\n", "the interrupt of " + program.decode())
        p.prompt()
        if re.search(rb"\ncaught\r*\n", p.output):
            raise Failure("a program's try caught the interrupt")
    p.type_and_run(b"kept", b"\r\n5\r\n")

    # A program waiting in input is interrupted too, and does not go on as
    # if the line had been empty.
    p.send(b'let answer = input("wait? ")\r')
    p.wait_running()
    p.wait_for(b"\r\nwait? ")
    p.send(CTRL_C)
    p.wait_for(b"Interrupted\r\n", "the interrupt of input")
    p.prompt()
    p.type_and_run(b'is_nil(answer)', b"RuntimeError: undefined variable 'answer'")

    # A program reads a line in the terminal's own mode.
    p.send(b'input("name? ")\r')
    p.wait_running()
    p.wait_for(b"\r\nname? ", "the program's question, not the echo of its text")
    p.send(b"Ada\r")
    p.wait_for(b'"Ada"\r\n')
    p.prompt()


def check_paste(p):
    p.send(b"let xs = [\r1,\r2\r]\rlen(xs)\r")
    p.wait_for(b"\r\n2\r\n", "a paste of several lines")
    p.prompt()


def check_runtime_excerpts(p):
    # The excerpt is the line of the fragment the error stands in: here the
    # line of an earlier fragment that defined the function, never line 2 of
    # the fragment that called it.
    for line in (b"function twice(v)", b"    return v * 2"):
        p.send(line + b"\r")
        p.wait_for(b".. ")
    p.type_and_run(b"end", b"")
    for line in (b"if true then", b'    print("calling")'):
        p.send(line + b"\r")
        p.wait_for(b".. ")
    p.send(b'twice("ab")\r')
    p.wait_for(b".. ")
    p.send(b"end\r")
    p.wait_for(b"calling\r\n")
    p.wait_for(b"RuntimeError: operator '*' needs numbers, got string and number\r\n  --> <repl>:2:14\r\n"
               b"2 |     return v * 2\r\n" + b" " * 17 + b"^\r\n", "the excerpt of the function's line")
    p.prompt()
    # An error in the fragment being run, on its second line.
    p.send(b"if true then\r")
    p.wait_for(b".. ")
    p.send(b"    let t = [1] + nope\r")
    p.wait_for(b".. ")
    p.send(b"end\r")
    p.wait_for(b"RuntimeError: undefined variable 'nope'\r\n  --> <repl>:2:19\r\n"
               b"2 |     let t = [1] + nope\r\n" + b" " * 22 + b"^\r\n", "the excerpt of the fragment's line")
    p.prompt()


def check_end_key_in_block(p):
    # Ctrl-D on an empty ".. " line drops the block; the session goes on.
    p.send(b"if true then\r")
    p.wait_for(b".. ")
    p.send(b"print(1)\r")
    p.wait_for(b".. ")
    p.send(CTRL_D)
    p.type_and_run(b"1 + 1", b"\r\n2\r\n")
    if re.search(rb"\n1\r*\n", p.output):
        raise Failure("the dropped block ran")


def check_end(p):
    p.send(CTRL_D)
    p.finish()
    if p.status != 0:
        raise Failure("Ctrl-D ended the prompt with status %s" % p.status)
    p.check_screen_vocabulary()


def end_session(p):
    p.send(CTRL_D)
    p.finish()
    if p.status != 0:
        raise Failure("the prompt ended with status %s" % p.status)


def history_lines(state_home):
    try:
        with open(os.path.join(state_home, "velmor", "history"), "rb") as saved:
            return saved.read().split(b"\n")
    except OSError as error:
        raise Failure("the history file cannot be read: %s" % error)


def check_saved_history(velmor):
    """Entries typed in one session, a block over three lines and a line
    with a backslash among them, come back in the next; with the history
    switched off nothing is written."""
    state = tempfile.mkdtemp(dir=STATE_ROOT)
    p = Prompt(velmor, state_home=state)
    p.wait_editing()
    p.type_and_run(b"1 + 2", b"\r\n3\r\n")
    for line in (b"function thrice(n)", b"    return n * 3"):
        p.send(line + b"\r")
        p.wait_for(b".. ")
    p.type_and_run(b"end", b"")
    p.type_and_run(b'print("a\\nb")', b"\r\na\r\nb\r\n")
    end_session(p)
    expected = [b"1 + 2", b"function thrice(n)\\n    return n * 3\\nend", b'print("a\\\\nb")', b""]
    if history_lines(state) != expected:
        raise Failure("the history file holds %r, not %r" % (history_lines(state), expected))
    if stat.S_IMODE(os.stat(os.path.join(state, "velmor")).st_mode) != 0o700:
        raise Failure("the history's directory is open to others")

    p = Prompt(velmor, state_home=state)
    p.wait_editing()
    p.send(UP)
    p.wait_for(b'>> print("a\\nb")', "the line with a backslash recalled")
    p.send(UP)
    p.wait_for(b">> function thrice(n)\r\n..     return n * 3\r\n.. end",
               "the block of the last session recalled whole")
    p.type_and_run(b"", b"")
    p.type_and_run(b"thrice(5)", b"\r\n15\r\n")
    end_session(p)

    for switch in ("off", ""):
        quiet = tempfile.mkdtemp(dir=STATE_ROOT)
        p = Prompt(velmor, state_home=quiet, history=switch)
        p.wait_editing()
        p.type_and_run(b"1 + 2", b"\r\n3\r\n")
        end_session(p)
        if os.listdir(quiet):
            raise Failure("VELMOR_HISTORY=%r left %r in the state directory" % (switch, os.listdir(quiet)))

    # A file of one's own choosing, in a folder still to be made.
    elsewhere = tempfile.mkdtemp(dir=STATE_ROOT)
    chosen = os.path.join(elsewhere, "chosen", "file")
    p = Prompt(velmor, state_home=quiet, history=chosen)
    p.wait_editing()
    p.type_and_run(b"2 + 2", b"\r\n4\r\n")
    end_session(p)
    try:
        with open(chosen, "rb") as saved:
            kept = saved.read()
    except OSError as error:
        raise Failure("VELMOR_HISTORY=%s kept no history there: %s" % (chosen, error))
    if kept != b"2 + 2\n" or os.listdir(quiet):
        raise Failure("VELMOR_HISTORY=%s did not keep the history there alone" % chosen)


def check_history_bound(velmor):
    """A file of 1,005 entries is cut to the newest 1,000 when a prompt starts."""
    state = tempfile.mkdtemp(dir=STATE_ROOT)
    os.makedirs(os.path.join(state, "velmor"))
    written = [b'"entry %d"' % n for n in range(1, 1006)]
    with open(os.path.join(state, "velmor", "history"), "wb") as saved:
        saved.write(b"\n".join(written) + b"\n")
    p = Prompt(velmor, state_home=state)
    p.wait_editing()
    p.send(UP)
    p.wait_for(b'>> "entry 1005"', "the newest saved entry")
    p.type_and_run(CTRL_U + b"1 + 1", b"\r\n2\r\n")
    end_session(p)
    expected = written[5:] + [b"1 + 1", b""]
    if history_lines(state) != expected:
        raise Failure("after the session the history file begins %r and holds %d lines"
                      % (history_lines(state)[:2], len(history_lines(state))))


def check_sessions_at_once(velmor):
    """Two prompts open at once on one history file keep the entries of both, in the order entered."""
    state = tempfile.mkdtemp(dir=STATE_ROOT)
    first, second = Prompt(velmor, state_home=state), Prompt(velmor, state_home=state)
    first.wait_editing()
    second.wait_editing()
    first.type_and_run(b"10 + 1", b"\r\n11\r\n")
    second.type_and_run(b"20 + 2", b"\r\n22\r\n")
    first.type_and_run(b"30 + 3", b"\r\n33\r\n")
    end_session(second)
    end_session(first)
    if history_lines(state) != [b"10 + 1", b"20 + 2", b"30 + 3", b""]:
        raise Failure("two prompts at once left the history %r" % history_lines(state))


def check_wide_characters(velmor):
    """CJK, an emoji and a letter with a combining accent typed key by key at
    the end of a line and in its middle, on a terminal of 20 columns where the
    lines wrap, one with a wide character that meets the last column."""
    width = 20
    p = Prompt(velmor, columns=width)
    screen = Screen(width)
    fed = 0

    def wait_screen(text, cursor, what):
        nonlocal fed
        rows, place = expected_screen(">> ", text, cursor, width)
        deadline = time.monotonic() + TIMEOUT / 3
        while True:
            screen.feed(p.output[fed:])
            fed = len(p.output)
            shown = screen.rows_from(top)
            at = (screen.row - top, screen.column)
            if shown == rows and at == place:
                return
            if time.monotonic() > deadline:
                raise Failure("after %s the screen shows\n%s\nwith the cursor at row %d, column %d; a terminal should"
                              " show\n%s\nwith the cursor at row %d, column %d"
                              % (what, "\n".join(shown), at[0], at[1], "\n".join(rows), place[0], place[1]))
            try:
                p._read(deadline)
            except EOFError:
                raise Failure("the prompt ended")

    def left(text, cursor):
        """The cursor's place after Left: over a character and the zero-width ones after it."""
        cursor -= 1
        while cursor > 0 and columns_of(text[cursor]) == 0:
            cursor -= 1
        return cursor

    # Each entry: the keys, as text to type one character at a time and
    # numbers of Left presses, then what print shows.
    entries = [
        ['print("日本語😀e\u0301")'],
        ['print("ab")', 3, "日😀e\u0301"],
        ['print("a一二三四五六七八九十")', 8, "😀", "b", 2, "e\u0301", "一"],
    ]
    for entry in entries:
        p.prompt()
        screen.feed(p.output[fed:])
        fed = len(p.output)
        top = screen.row
        text, cursor = "", 0
        for step in entry:
            if isinstance(step, int):
                for _ in range(step):
                    p.send(LEFT)
                    cursor = left(text, cursor)
                    wait_screen(text, cursor, "Left in %r" % text)
                continue
            for character in step:
                p.send(character.encode())
                text = text[:cursor] + character + text[cursor:]
                cursor += 1
                wait_screen(text, cursor, "typing %r (%s)" % (text, unicodedata.name(character)))
        p.send(b"\r")
        printed = text[text.index('"') + 1:text.rindex('"')]
        p.wait_for(b"\r\n" + printed.encode() + b"\r\n", "the output of " + text)
    p.prompt()
    p.send(CTRL_D)
    p.finish()


def check_signals_restore_terminal(velmor):
    """A signal that ends the process while the editor waits for a key gives
    the terminal its own modes back, and the process still ends by that signal."""
    for number in (signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT):
        p = Prompt(velmor)
        p.wait_editing()
        p.send(b"1 +")  # a half-typed entry
        p.wait_for(b"1 +")
        os.kill(p.pid, number)
        p.finish()
        name = signal.Signals(number).name
        if p.status != -number:
            raise Failure("%s ended the prompt with status %s, not by the signal" % (name, p.status))
        if p.flags_at_end != p.own_flags:
            raise Failure("after %s the terminal's local modes are %#x, not its own %#x"
                          % (name, p.flags_at_end, p.own_flags))


def check_interrupt_outside_prompt(velmor):
    """Outside the prompt Ctrl-C keeps its default action: the process ends by the signal."""
    child = subprocess.Popen([velmor, "-c", "while true do end"], stdout=subprocess.DEVNULL)
    time.sleep(0.3)
    child.send_signal(signal.SIGINT)
    try:
        status = child.wait(TIMEOUT)
    except subprocess.TimeoutExpired:
        child.kill()
        raise Failure("a snippet ignored Ctrl-C")
    if status != -signal.SIGINT:
        raise Failure("a snippet ended with status %s on Ctrl-C, not by the signal" % status)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velmor", required=True)
    args = parser.parse_args()

    failures = 0
    session = Prompt(args.velmor)
    for check in (check_editing, check_history, check_completion, check_interrupts, check_paste,
                  check_runtime_excerpts, check_end_key_in_block, check_end):
        try:
            check(session)
            print("PASS", check.__name__)
        except Failure as failure:
            print("FAIL", check.__name__)
            print("   ", str(failure).replace("\n", "\n    "))
            failures += 1
            break  # the session is in an unknown state
    if session.status is None:
        session.child.kill()
        session.child.wait()
    for check in (check_saved_history, check_history_bound, check_sessions_at_once, check_wide_characters,
                  check_signals_restore_terminal, check_interrupt_outside_prompt):
        try:
            check(args.velmor)
            print("PASS", check.__name__)
        except Failure as failure:
            print("FAIL", check.__name__)
            print("   ", str(failure).replace("\n", "\n    "))
            failures += 1
    shutil.rmtree(STATE_ROOT, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
