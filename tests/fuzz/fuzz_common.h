#pragma once

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <new>
#include <sstream>
#include <streambuf>
#include <string_view>

#include "error.h"
#include "execution_limits.h"

namespace velmor::fuzz {

// Discards everything the program prints.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

inline void prepare() {
    static NullBuffer sink;
    static bool done = false;
    if (!done) {
        std::cout.rdbuf(&sink);
        std::cin.setstate(std::ios::eofbit);
        done = true;
    }
    ExecutionLimits& limits = executionLimits();
    limits.stepsEnabled = true;
    limits.stepsLeft = 20000;
    // 4M bytes or elements: at most 64 MB of lists, however many a program keeps.
    limits.allocationLeft = std::uint64_t{1} << 22;
    limits.maxContainerSize = 1 << 16;
    limits.nativeStackReached = false;
}

// Runs `body`, accepting every way a Velmor program may legitimately fail.
template <class Body>
int runBounded(Body&& body) {
    prepare();
    try {
        body();
    } catch (const VelmorError&) {
    } catch (const ThrownValue&) {
    } catch (const BudgetExhausted&) {
    }
    return 0;
}

}  // namespace velmor::fuzz
