// An interrupt request (Ctrl-C at the prompt) ends a running program at its
// next loop iteration or call, through `try` and through builtin callbacks,
// and leaves the interpreter fit for the next input.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "builtins/comparator_sort.h"
#include "error.h"
#include "execution_limits.h"
#include "interpreter.h"
#include "parser.h"

using namespace velmor;

namespace {

// Whether running the program on the interpreter ended with Interrupted.
bool interrupted(Interpreter& interpreter, const StmtList& program) {
    try {
        interpreter.runRepl(program);
    } catch (const Interrupted&) {
        return true;
    }
    return false;
}

TEST(Interrupt, EndsLoopsCallsAndCallbacksButNoTryCatchesIt) {
    const char* programs[] = {
        "while true do end",
        "for i = 1, 10 do end",
        "for x in [1, 2] do end",
        "function f() return 1 end\nf()",
        "try\n    while true do end\ncatch e\n    caught = true\nend",
        "sort([3, 1, 2], function(a, b) return a < b end)",
        "map(function(x) return x end, [1])",
    };
    for (const char* source : programs) {
        Interpreter interpreter;
        StmtList setup = parseSource("let caught = false\nlet before = 0");
        interpreter.runRepl(setup);
        StmtList program = parseSource(std::string("before = 1\n") + source);
        interruptRequested().store(true);
        EXPECT_TRUE(interrupted(interpreter, program)) << source;
        EXPECT_FALSE(interruptRequested().load()) << "the request is taken back once acted on";

        // What ran before the interrupt stays, the handler never ran, and the
        // interpreter goes on with the next input.
        StmtList check = parseSource("[before, caught]");
        EXPECT_EQ(toRepr(interpreter.runRepl(check)), "[1, false]") << source;
    }
}

TEST(Interrupt, EndsASortThatCallsNoComparator) {
    // A sort by a comparator form makes no calls, so it looks for the
    // request itself, and leaves the items as they were.
    for (const bool strings : {false, true}) {
        ValueVector items;
        for (int64_t i = 0; i < 20000; ++i) items.push_back(strings ? Value(std::to_string(i)) : Value(i));
        const ValueVector before = items;
        interruptRequested().store(true);
        EXPECT_THROW(sortByComparatorForm(items, BinaryOp::Greater, false, nullptr), Interrupted) << strings;
        EXPECT_FALSE(interruptRequested().load());
        for (std::size_t i = 0; i < items.size(); ++i) ASSERT_TRUE(valuesEqual(items[i], before[i])) << i;
        EXPECT_TRUE(sortByComparatorForm(items, BinaryOp::Greater, false, nullptr)) << strings;
        EXPECT_TRUE(valuesEqual(items[0], before[strings ? 9999 : 19999])) << strings;
    }
}

TEST(Interrupt, ARequestFromAnotherThreadEndsAnEndlessLoop) {
    Interpreter interpreter;
    StmtList program = parseSource("let n = 0\nwhile true do n += 1 end");
    // Each thread has its own request: the other thread sets this one's.
    std::atomic<bool>& request = interruptRequested();
    std::thread requester([&request] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        request.store(true);
    });
    const bool ended = interrupted(interpreter, program);
    requester.join();
    EXPECT_TRUE(ended);
    StmtList check = parseSource("n > 0");
    EXPECT_EQ(toRepr(interpreter.runRepl(check)), "true");
}

}  // namespace
