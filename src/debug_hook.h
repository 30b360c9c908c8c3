#pragma once

// What a debugger sees of a running engine. An engine given a DebugHook
// calls it before each statement it runs (the VM: at the first instruction
// of a line, and again whenever it comes back to one), and when an error is
// raised, with itself as the DebugTarget; the hook may stop the program
// there, look at its frames and change its variables, and returns to let it
// go on. The tree-walker also calls it as each block begins, with the line
// of the statement that runs the block, so that a loop comes back to its own
// line at every pass, as the VM's loops do, and an empty loop can be paused. An engine without a hook pays
// one predictable branch per block where it checks for one (the VM pays
// nothing: it runs from another dispatch table when it has one).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "environment.h"
#include "value.h"

namespace velmor {

class Caller;

struct DebugFrame {
    std::string function;  // a function's name, "<main>" or "<anonymous>"
    int32_t line = 0;
    int32_t column = 0;  // 0 where the engine keeps lines only
};

// A variable of a stopped frame: its name and where its value lives, valid
// until the program goes on.
struct DebugVariable {
    std::string name;
    Value* value;
};

class DebugTarget {
public:
    // Frames from the innermost (0) out; the last is the program's top level.
    virtual std::size_t debugFrameCount() const = 0;
    virtual DebugFrame debugFrame(std::size_t index) const = 0;
    // The variables a frame's code can name: its own, then those it reaches
    // in functions around it. Each list in the order the code declared them.
    virtual std::vector<DebugVariable> debugLocals(std::size_t index) = 0;
    virtual std::vector<DebugVariable> debugUpvalues(std::size_t index) = 0;
    virtual Environment& debugGlobals() = 0;
    // The engine, for running code in the program's world while it is
    // stopped: calls of the program's functions.
    virtual Caller& debugCaller() = 0;

protected:
    ~DebugTarget() = default;
};

class DebugHook {
public:
    // Before a statement of line `line`, `depth` frames deep (1: the top level).
    virtual void atStatement(DebugTarget& target, int32_t line, std::size_t depth) = 0;
    // An error was raised: its message, or the value given to `error`
    // (`thrown`), and whether a `try` that is running will catch it. The
    // frames are still those of the raise.
    virtual void raised(DebugTarget& target, const Value& error, bool thrown, bool caught) = 0;

    // Set when the debugger wants to be called at the next step whatever its
    // line (a pause, a request waiting); the VM otherwise calls at new lines only.
    std::atomic<bool> attention{false};

protected:
    ~DebugHook() = default;
};

}  // namespace velmor
