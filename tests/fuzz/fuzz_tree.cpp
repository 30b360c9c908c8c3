// Run on the tree-walker under a step budget.
#include "fuzz_common.h"
#include "interpreter.h"
#include "parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view source(reinterpret_cast<const char*>(data), size);
    return velmor::fuzz::runBounded([&] {
        velmor::StmtList program = velmor::parseSource(source);
        velmor::Interpreter interpreter;
        interpreter.run(program);
    });
}
