#pragma once

// Optional bounds on a running program, for the fuzzers and for tests that
// run untrusted input: a step budget counted at every loop back-edge and
// every call of both engines, so that `while true do end` ends; a budget of
// the bytes and elements put into new strings and lists, so that a short loop
// that keeps every list it builds (`xs += [xs]`) ends before it holds
// gigabytes; and a cap on the size of any one string or list a program
// builds. The budgets are off unless a harness switches them on; the cost
// when off is one well-predicted branch. The same step check also notices an
// interrupt (Ctrl-C while the prompt runs a program), at the cost of one more.
//
// The limits and the interrupt request belong to the running thread: engines
// on two threads run at once, each under its own bounds, and an interrupt
// reaches only the thread it was meant for (per_thread.h).

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "per_thread.h"

namespace velmor {

// Thrown when the step or the allocation budget runs out. Deliberately not a
// VelmorError, so that no `try` in the program can catch it.
struct BudgetExhausted {
    enum class Budget { Steps, Allocation };
    Budget budget = Budget::Steps;
};

// Thrown at the next step after an interrupt was requested. Not a VelmorError
// either: a program's `try` cannot catch it, and the prompt reports it.
struct Interrupted {};

// What is reported for a program that was interrupted.
inline constexpr const char* kInterruptedReport = "Interrupted";

// The running thread's request. Set from a signal handler, the console's
// control thread on Windows or a host's thread (each through the address the
// running thread gave it), hence a lock-free atomic; cleared by the step
// that throws Interrupted.
inline std::atomic<bool>& interruptRequested() { return PerThread<std::atomic<bool>>::get(); }
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

struct ExecutionLimits {
    bool stepsEnabled = false;
    uint64_t stepsLeft = 0;
    // Bytes of new strings and elements of new lists, in total; counted
    // only while stepsEnabled is set.
    uint64_t allocationLeft = UINT64_MAX;
    // Largest string (bytes) or list (elements) a program may build.
    std::size_t maxContainerSize = std::size_t{1} << 31;
    // Set when a nesting stopped for want of native stack. How deep a program
    // gets before that depends on the engine's native frames, so two forms
    // of one engine (fast and plain) may stop at different depths; a harness
    // that compares them compares only what came before.
    bool nativeStackReached = false;
};

// The running thread's limits.
inline ExecutionLimits& executionLimits() { return PerThread<ExecutionLimits>::get(); }

// Lists are capped well below strings: an element is 16 bytes.
inline constexpr std::size_t kMaxListLength = std::size_t{1} << 28;

inline std::size_t maxStringLength() { return executionLimits().maxContainerSize; }
inline std::size_t maxListLength() {
    const std::size_t cap = executionLimits().maxContainerSize;
    return cap < kMaxListLength ? cap : kMaxListLength;
}

[[noreturn, gnu::noinline, gnu::cold]] inline void throwInterrupted() {
    interruptRequested().store(false, std::memory_order_relaxed);
    throw Interrupted{};
}

// Counts one step; throws BudgetExhausted when the budget is spent, and
// Interrupted when an interrupt is pending.
// A loop that counts many steps takes `limits` from executionLimits() once:
// where thread-local storage is emulated (the Windows cross build), every
// use of it is a call.
inline void countStep(ExecutionLimits& limits) {
    if (limits.stepsEnabled) [[unlikely]] {
        if (limits.stepsLeft == 0) throw BudgetExhausted{BudgetExhausted::Budget::Steps};
        --limits.stepsLeft;
    }
    if (interruptRequested().load(std::memory_order_relaxed)) [[unlikely]]
        throwInterrupted();
}
inline void countStep() { countStep(executionLimits()); }

// Counts `units` bytes or elements of a new string or list against the
// allocation budget; throws BudgetExhausted when it is spent.
inline void countAllocation(std::size_t units) {
    ExecutionLimits& limits = executionLimits();
    if (limits.stepsEnabled) [[unlikely]] {
        if (limits.allocationLeft < units) throw BudgetExhausted{BudgetExhausted::Budget::Allocation};
        limits.allocationLeft -= units;
    }
}

}  // namespace velmor
