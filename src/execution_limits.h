#pragma once

// Optional bounds on a running program, for the fuzzers and for tests that
// run untrusted input: a step budget counted at every loop back-edge and
// every call of both engines, so that `while true do end` ends; a budget of
// the bytes and elements put into new strings and lists, so that a short loop
// that keeps every list it builds (`xs += [xs]`) ends before it holds
// gigabytes; and a cap on the size of any one string or list a program
// builds. The budgets are off unless a harness switches them on; the cost
// when off is one well-predicted branch.

#include <cstddef>
#include <cstdint>

namespace velmor {

// Thrown when the step budget runs out. Deliberately not a VelmorError, so
// that no `try` in the program can catch it.
struct BudgetExhausted {};

struct ExecutionLimits {
    bool stepsEnabled = false;
    uint64_t stepsLeft = 0;
    // Bytes of new strings and elements of new lists, in total; counted
    // only while stepsEnabled is set.
    uint64_t allocationLeft = UINT64_MAX;
    // Largest string (bytes) or list (elements) a program may build.
    std::size_t maxContainerSize = std::size_t{1} << 31;
};

inline ExecutionLimits& executionLimits() {
    static ExecutionLimits limits;
    return limits;
}

// Lists are capped well below strings: an element is 16 bytes.
inline constexpr std::size_t kMaxListLength = std::size_t{1} << 28;

inline std::size_t maxStringLength() { return executionLimits().maxContainerSize; }
inline std::size_t maxListLength() {
    const std::size_t cap = executionLimits().maxContainerSize;
    return cap < kMaxListLength ? cap : kMaxListLength;
}

// Counts one step; throws BudgetExhausted when the budget is spent.
inline void countStep() {
    ExecutionLimits& limits = executionLimits();
    if (limits.stepsEnabled) [[unlikely]] {
        if (limits.stepsLeft == 0) throw BudgetExhausted{};
        --limits.stepsLeft;
    }
}

// Counts `units` bytes or elements of a new string or list against the
// allocation budget; throws BudgetExhausted when it is spent.
inline void countAllocation(std::size_t units) {
    ExecutionLimits& limits = executionLimits();
    if (limits.stepsEnabled) [[unlikely]] {
        if (limits.allocationLeft < units) throw BudgetExhausted{};
        limits.allocationLeft -= units;
    }
}

}  // namespace velmor
