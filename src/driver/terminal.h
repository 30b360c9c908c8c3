#pragma once

// What the interactive prompt needs from the platform: whether it talks to a
// person at a terminal, raw key input for the line editor, and Ctrl-C as a
// request to interrupt the running program instead of the end of the process.
// Nothing here runs unless the prompt starts, so file runs and snippets pay
// nothing for it.

#include <memory>
#include <streambuf>

#include "driver/line_editor.h"

namespace velmor {

// A terminal the line editor may take over: raw mode while a line is read,
// the terminal's own settings otherwise. SIGTERM, SIGHUP and SIGQUIT give the
// terminal its own settings back before they end the process by the signal.
class EditingTerminal : public TerminalIo {
public:
    // Gives the terminal back its own settings (for a program's run, and at the end).
    virtual void restore() = 0;
    // Standard input for the programs run at the prompt: bytes as the
    // terminal delivers them, and Interrupted thrown when Ctrl-C arrives while
    // a program waits in a read (so that `input` does not return as if the
    // line had been empty). std::cin passes the exception on only with
    // badbit among its exceptions().
    virtual std::streambuf& programInput() = 0;
};

// The terminal to edit on when standard input and standard output are both
// one that understands ANSI sequences; nullptr otherwise, and always on
// Windows, whose console keeps its own line input (editing and history).
std::unique_ptr<EditingTerminal> openEditingTerminal();

// Whether standard input and standard output are both a terminal (a console on Windows).
bool standardStreamsAreTerminals();

// While alive, Ctrl-C sets the interruptRequested() of the thread that made
// it instead of ending the process (left alone when the process was started with it ignored).
class InterruptCatcher {
public:
    InterruptCatcher();
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

#ifdef _WIN32
// While alive, the console's input and output modes as they were at its
// start are put back when closing the console, logging off or shutting down
// ends the process, and when it ends. The prompt reads a console with the
// console's own line input and sets no mode itself, but a process that ends
// while the prompt runs must leave the console as it found it in any case.
class ConsoleModeGuard {
public:
    ConsoleModeGuard();
    ~ConsoleModeGuard();
    ConsoleModeGuard(const ConsoleModeGuard&) = delete;
    ConsoleModeGuard& operator=(const ConsoleModeGuard&) = delete;
};
#endif

// After reading a line from the console failed: whether Ctrl-C ended the read
// (the request is then taken back). Windows ends a console read on Ctrl-C,
// while its handler runs on a thread of its own, perhaps a moment later.
bool readEndedByInterrupt();

}  // namespace velmor
