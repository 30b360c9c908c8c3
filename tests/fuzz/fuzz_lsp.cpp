// The language server's message handling: any bytes, as one message body or
// as a framed stream, end in replies of valid JSON, never in a crash.
#include <sstream>
#include <string>

#include "fuzz_common.h"
#include "lsp/server.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    return velmor::fuzz::runBounded([&] {
        if (!input.empty() && (input[0] & 1) == 0) {
            // One body straight to the handler, after an initialize so that every method is live.
            velmor::lsp::Server server([](const std::string&) {});
            server.handle(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})");
            server.handle(input.substr(1));
            return;
        }
        std::istringstream in{std::string(input)};
        std::ostringstream out;
        std::ostringstream log;
        velmor::lsp::serve(in, out, log);
    });
}
