// Compile and run on the VM under a step budget.
#include "compiler.h"
#include "fuzz_common.h"
#include "parser.h"
#include "vm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view source(reinterpret_cast<const char*>(data), size);
    return velmor::fuzz::runBounded([&] {
        velmor::StmtList program = velmor::parseSource(source);
        auto proto = velmor::compileProgram(program);
        velmor::VM vm;
        vm.run(proto);
    });
}
