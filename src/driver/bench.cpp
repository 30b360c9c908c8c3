// Benchmark mode: one parse and compile, then a warm-up and five timed runs
// on each engine, every run on a freshly built engine.

#include <chrono>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "driver.h"
#include "driver/reporting.h"
#include "driver/run.h"

namespace velmor {

namespace {

constexpr int kTimedRuns = 5;

// Swallows the program's output. Discarding instead of buffering keeps a
// program that prints a lot from growing memory run after run.
class DiscardBuffer final : public std::streambuf {
protected:
    int overflow(int character) override { return traits_type::not_eof(character); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Points std::cout at a discarding buffer for its lifetime, also when a run throws.
class SilencedStdout {
public:
    SilencedStdout() : previous_(std::cout.rdbuf()) {
        std::cout.flush();
        std::cout.rdbuf(&discard_);
    }
    ~SilencedStdout() { std::cout.rdbuf(previous_); }
    SilencedStdout(const SilencedStdout&) = delete;
    SilencedStdout& operator=(const SilencedStdout&) = delete;

private:
    DiscardBuffer discard_;
    std::streambuf* previous_;
};

// Milliseconds per run over kTimedRuns runs, after one untimed warm-up.
template <typename RunOnce>
double timePerRun(RunOnce runOnce) {
    runOnce();
    const auto start = std::chrono::steady_clock::now();
    for (int run = 0; run < kTimedRuns; ++run) runOnce();
    const auto stop = std::chrono::steady_clock::now();
    const int64_t nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count();
    return static_cast<double>(nanoseconds) / 1'000'000.0 / kTimedRuns;
}

}  // namespace

int runBenchmark(const std::string& path) {
    SourceFile file = readSourceFile(path);
    if (!file.opened) {
        reportCannotOpen(path);
        return 1;
    }

    // Compiled for the VM, which also reports compile errors before any run.
    PreparedProgram program;
    if (!runReported(file.text, path, [&] { program = prepareProgram(file.text, Engine::BytecodeVm); })) return 1;

    double treeWalkerMs = 0;
    double vmMs = 0;
    try {
        SilencedStdout silenced;
        treeWalkerMs = timePerRun([&] { runOnFreshEngine(program, Engine::TreeWalker); });
        vmMs = timePerRun([&] { runOnFreshEngine(program, Engine::BytecodeVm); });
    } catch (...) {
        std::cerr << "bench: program raised an error\n";
        return 1;
    }

    const double speedup = vmMs > 0 ? treeWalkerMs / vmMs : 0;
    // A local stream, so that a precision or flag left on std::cout cannot change the report.
    std::ostringstream report;
    report << "tree-walker: " << treeWalkerMs << " ms/run\n"
           << "bytecode VM: " << vmMs << " ms/run\n"
           << "speedup:     " << speedup << "x\n";
    std::cout << report.str();
    return 0;
}

}  // namespace velmor
