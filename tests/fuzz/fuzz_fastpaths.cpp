// Each input runs on the fast and on the plain VM, and on the fast and the
// plain tree-walker (engine_options.h), under the same budgets. Any
// difference between the two runs of one engine in what the program prints,
// the error it ends with or how it ends is a finding.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compiler.h"
#include "engine_options.h"
#include "fuzz_common.h"
#include "interpreter.h"
#include "parser.h"
#include "vm.h"

namespace {

using namespace velmor;

// Keeps the first kKept bytes written to it and counts all of them.
class CappedBuffer : public std::streambuf {
public:
    static constexpr std::size_t kKept = std::size_t{1} << 20;
    std::string kept;
    std::size_t total = 0;

protected:
    int overflow(int c) override {
        if (c != traits_type::eof()) {
            const char byte = static_cast<char>(c);
            keep(&byte, 1);
        }
        return c;
    }
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        keep(bytes, static_cast<std::size_t>(count));
        return count;
    }

private:
    void keep(const char* bytes, std::size_t count) {
        if (kept.size() < kKept) kept.append(bytes, std::min(count, kKept - kept.size()));
        total += count;
    }
};

struct Outcome {
    std::string output;
    std::size_t outputSize = 0;
    std::string ending;        // "ok", or the error that ended the run
    bool exhausted = false;    // a harness budget ended it
    bool nativeStack = false;  // a nesting stopped for want of native stack
};

// Each input runs four times, so each run gets a quarter of the other
// targets' step budget: an input that throws in every pass of a long loop
// then still ends within the time limit.
constexpr uint64_t kStepsPerRun = 5000;

template <class Run>
Outcome observe(Run&& run) {
    fuzz::prepare();  // fresh budgets for every run
    executionLimits().stepsLeft = kStepsPerRun;
    CappedBuffer buffer;
    std::streambuf* previous = std::cout.rdbuf(&buffer);
    Outcome outcome;
    try {
        run();
        outcome.ending = "ok";
    } catch (const VelmorError& error) {
        outcome.ending =
            error.label + ": " + error.message + " @" + std::to_string(error.line) + ":" + std::to_string(error.column);
    } catch (const ThrownValue& thrown) {
        outcome.ending = "Error: " + toText(thrown.value);
    } catch (const BudgetExhausted&) {
        outcome.exhausted = true;
    }
    std::cout.rdbuf(previous);
    outcome.nativeStack = executionLimits().nativeStackReached;
    outcome.output = std::move(buffer.kept);
    outcome.outputSize = buffer.total;
    return outcome;
}

bool agree(const Outcome& fast, const Outcome& plain) {
    const bool bounded = fast.exhausted || plain.exhausted || fast.nativeStack || plain.nativeStack;
    if (!bounded)
        return fast.output == plain.output && fast.outputSize == plain.outputSize && fast.ending == plain.ending;
    // The two forms may count a budget differently (a string grown in place
    // counts less than one copied), and their native frames differ in size,
    // so that one may run out of native stack a few levels before the other
    // (the count-based limits, such as the frame limit, must agree). A run
    // that either bound ended is compared as far as it got.
    const std::size_t common = std::min(fast.output.size(), plain.output.size());
    return fast.output.compare(0, common, plain.output, 0, common) == 0;
}

void check(const char* engine, std::string_view source, const Outcome& fast, const Outcome& plain) {
    if (agree(fast, plain)) return;
    std::fprintf(stderr, "the fast and the plain %s disagree on:\n%.*s\n", engine, static_cast<int>(source.size()),
                 source.data());
    for (const auto& [name, outcome] : {std::pair{"fast", &fast}, std::pair{"plain", &plain}}) {
        std::fprintf(stderr, "--- %s: %s%s, %zu bytes of output:\n%s\n", name, outcome->ending.c_str(),
                     outcome->exhausted ? "budget exhausted" : "", outcome->outputSize,
                     outcome->output.substr(0, 4000).c_str());
    }
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    // Random numbers and the clock differ from run to run by design.
    if (source.find("rand") != std::string_view::npos || source.find("clock") != std::string_view::npos) return 0;
    fuzz::prepare();
    StmtList program;
    Ref<FunctionProto> script;
    try {
        program = parseSource(source);
        script = compileProgram(program);
    } catch (const VelmorError&) {
        return 0;
    }
    const auto onVm = [&](bool plain) {
        return observe([&] {
            VM vm(EngineOptions{plain});
            vm.run(script);
        });
    };
    check("VM", source, onVm(false), onVm(true));
    const auto onTree = [&](bool plain) {
        return observe([&] {
            Interpreter interpreter(EngineOptions{plain});
            interpreter.run(program);
        });
    };
    check("tree-walker", source, onTree(false), onTree(true));
    return 0;
}
