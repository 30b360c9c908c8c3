// Lexer and parser: any input ends in a syntax tree or a syntax error.
#include "fuzz_common.h"
#include "parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view source(reinterpret_cast<const char*>(data), size);
    return velmor::fuzz::runBounded([&] { velmor::parseSource(source); });
}
