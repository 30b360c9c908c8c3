// Runs the input through the embedding API, as a host would run an untrusted
// script: the first byte picks the engine, the rest is the source. The host
// gives the script a native function that calls it back, takes input away,
// bounds it, and then calls every function the script left in a global
// named `main` or `hook`. Whatever the script does, each result must be
// whole: a failure carries a report that shows its message.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "velmor/velmor.h"

namespace vm = velmor::embed;

namespace {

void checkWhole(const vm::Result& result) {
    if (result.ok()) return;
    if (result.report.empty() || result.report.find(result.message) == std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    vm::Options options;
    options.engine = data[0] % 2 == 0 ? vm::Engine::Vm : vm::Engine::TreeWalker;
    options.maxCallDepth = 200;
    vm::Interpreter interpreter(options);
    interpreter.setOutput([](std::string_view) {});
    interpreter.removeGlobal("input");
    interpreter.defineFunction("apply", 1, vm::kVariadic, [](vm::Interpreter& self, std::span<const vm::Value> args) {
        return self.call(args[0], args.subspan(1)).value;
    });
    vm::Limits limits;
    limits.steps = 20000;
    limits.allocation = std::uint64_t{1} << 22;
    limits.maxContainerSize = 1 << 16;
    interpreter.setLimits(limits);

    const std::string_view source(reinterpret_cast<const char*>(data + 1), size - 1);
    checkWhole(interpreter.run(source, "fuzz.vlm"));
    for (const char* name : {"main", "hook"}) {
        const vm::Value function = interpreter.global(name);
        if (function.isFunction()) checkWhole(interpreter.call(function, {vm::Value(1), vm::Value::list({})}));
    }
    return 0;
}
