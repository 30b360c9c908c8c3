// The language server's message handling: any bytes, as one message body or
// as a framed stream, end in replies of valid JSON, never in a crash. And
// whatever bytes came before, a well-formed request after them is answered:
// the reader always finds its way back to the frames.
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz_common.h"
#include "lsp/server.h"

namespace {

constexpr std::string_view kProbe = R"({"jsonrpc":"2.0","id":"probe-after-noise","method":"shutdown"})";

}  // namespace

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
        std::string stream(input.substr(input.empty() ? 0 : 1));
        stream += "Content-Length: " + std::to_string(kProbe.size()) + "\r\n\r\n";
        stream += kProbe;
        std::istringstream in(stream);
        std::ostringstream log;
        bool answered = false;
        velmor::lsp::Server server([&](const std::string& message) {
            if (message.find(R"("id":"probe-after-noise")") != std::string::npos) answered = true;
        });
        velmor::lsp::serve(in, server, log);
        // Only an "exit" among the noise may end the session before the probe.
        if (!answered && !server.exited()) std::abort();
    });
}
