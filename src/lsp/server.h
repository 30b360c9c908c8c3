#pragma once

// The language server behind `velmor --lsp`: JSON-RPC 2.0 messages of the
// Language Server Protocol 3.17 over standard input and output, handled one
// at a time on the main thread. Documents are analysed as they change and
// never run. Messages are plain text in and out here; the framing lives in
// transport.h and JSON only in server.cpp.

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace velmor::lsp {

class Server {
public:
    using Send = std::function<void(const std::string& message)>;
    explicit Server(Send send);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Handles one message body: answers requests, applies notifications and
    // publishes diagnostics, all through `send`. Never throws for any input.
    void handle(std::string_view body);

    // Tells whether another message is already waiting. While one is, a
    // change is kept without analysis, so that a burst of changes is analysed
    // once, at its last version; a request analyses what it needs first.
    // Without it every change is analysed at once.
    void setInputPending(std::function<bool()> pending);

    bool exited() const;
    // 0 when "exit" followed "shutdown", 1 otherwise.
    int exitStatus() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Hands the framed messages of `in` to `server` until "exit" or the end of
// the input. A broken frame is skipped with one note on `log`, and serving
// goes on from the next frame.
void serve(std::istream& in, Server& server, std::ostream& log);

// serve() with replies framed onto `out`; the exit status.
int serve(std::istream& in, std::ostream& out, std::ostream& log);

// `velmor --lsp`: serve() on the standard streams, switched to binary mode.
int runLanguageServer();

}  // namespace velmor::lsp
