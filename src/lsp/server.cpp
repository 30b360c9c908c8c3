#include "lsp/server.h"

#include <algorithm>
#include <iostream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "error.h"
#include "format/format.h"
#include "lsp/analysis.h"
#include "lsp/transport.h"
#include "native_stack.h"
#include "pragmas/pragmas.h"

namespace velmor::lsp {

using nlohmann::json;

namespace {

// JSON-RPC and LSP error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;

// Raised by the parameter readers; answered with kInvalidParams.
struct InvalidParams {
    std::string message;
};

const json& member(const json& object, const char* key) {
    if (!object.is_object()) throw InvalidParams{std::string("expected an object holding '") + key + "'"};
    auto found = object.find(key);
    if (found == object.end()) throw InvalidParams{std::string("missing '") + key + "'"};
    return *found;
}

const std::string& stringMember(const json& object, const char* key) {
    const json& value = member(object, key);
    if (!value.is_string()) throw InvalidParams{std::string("'") + key + "' must be a string"};
    return value.get_ref<const std::string&>();
}

int64_t integerMember(const json& object, const char* key) {
    const json& value = member(object, key);
    if (value.is_number_unsigned()) {
        auto number = value.get<uint64_t>();
        return number > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(number);
    }
    if (!value.is_number_integer()) throw InvalidParams{std::string("'") + key + "' must be an integer"};
    return value.get<int64_t>();
}

const std::string& documentUri(const json& params) { return stringMember(member(params, "textDocument"), "uri"); }

Position readPosition(const json& value) {
    return Position{integerMember(value, "line"), integerMember(value, "character")};
}

json toJson(Position position) { return json{{"line", position.line}, {"character", position.character}}; }

json rangeJson(const TextIndex& index, Span span) {
    return json{{"start", toJson(index.toPosition(span.begin))}, {"end", toJson(index.toPosition(span.end))}};
}

// nlohmann's reader takes a NUL byte for the end of its input, and would read
// "1\0garbage" as 1. JSON has no place for a raw NUL: a body holding one is
// not JSON.
bool isJson(std::string_view body) {
    return body.find('\0') == std::string_view::npos && json::accept(body.begin(), body.end());
}

json parseBody(std::string_view body) {
    if (body.find('\0') != std::string_view::npos) return json(json::value_t::discarded);
    return json::parse(body.begin(), body.end(), nullptr, false);
}

// The compact text of a message, as json::dump writes it, but by a loop: the
// outline of a deeply nested document nests as deeply, and the library's
// writer takes a few frames per level. Invalid UTF-8 in a document ends up
// in messages (an error quoting one byte of a character); it is written as
// replacement characters.
std::string dump(const json& value) {
    auto scalar = [](const json& item) { return item.dump(-1, ' ', false, json::error_handler_t::replace); };
    struct Open {
        const json* container;
        json::const_iterator next;
    };
    std::vector<Open> open;
    std::string out;
    const json* item = &value;
    while (item != nullptr) {
        if (item->is_structured() && !item->empty()) {
            out += item->is_object() ? '{' : '[';
            open.push_back(Open{item, item->cbegin()});
        } else {
            out += scalar(*item);
        }
        item = nullptr;
        while (item == nullptr && !open.empty()) {
            Open& top = open.back();
            if (top.next == top.container->cend()) {
                out += top.container->is_object() ? '}' : ']';
                open.pop_back();
                continue;
            }
            if (top.next != top.container->cbegin()) out += ',';
            if (top.container->is_object()) out += scalar(json(top.next.key())) + ':';
            item = &*top.next;
            ++top.next;
        }
    }
    return out;
}

struct Document {
    std::string text;
    std::unique_ptr<Analysis> analysis;
};

}  // namespace

struct Server::State {
    Send send;
    bool initialized = false;
    bool shutdown = false;
    bool exited = false;
    std::unordered_map<std::string, Document> documents;

    void reply(const json& id, json result) {
        send(dump(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}));
    }

    void replyError(const json& id, int code, const std::string& message) {
        send(dump(json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}));
    }

    void notify(const char* method, json params) {
        send(dump(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}));
    }

    void handle(std::string_view body) {
        json message = parseBody(body);
        if (message.is_discarded()) {
            replyError(nullptr, kParseError, "the message is not valid JSON");
            return;
        }
        if (!message.is_object()) {
            replyError(nullptr, kInvalidRequest, "a message must be a JSON object");
            return;
        }
        auto idField = message.find("id");
        bool isRequest = idField != message.end();
        json id = nullptr;
        if (isRequest) {
            if (!idField->is_string() && !idField->is_number_integer() && !idField->is_null()) {
                replyError(nullptr, kInvalidRequest, "an id must be a number or a string");
                return;
            }
            id = *idField;
        }
        auto methodField = message.find("method");
        if (methodField == message.end()) {
            // A response to a request: this server sends none, so there is nothing to match.
            if (isRequest && (message.contains("result") || message.contains("error"))) return;
            replyError(id, kInvalidRequest, "a request needs a method");
            return;
        }
        auto version = message.find("jsonrpc");
        if (!methodField->is_string() || version == message.end() || *version != "2.0") {
            if (isRequest) replyError(id, kInvalidRequest, "not a JSON-RPC 2.0 request");
            return;
        }
        const std::string& method = methodField->get_ref<const std::string&>();
        static const json kNoParams = json::object();
        auto paramsField = message.find("params");
        const json& params = paramsField == message.end() ? kNoParams : *paramsField;

        if (method == "exit") {
            exited = true;
            return;
        }
        if (!initialized && method != "initialize") {
            if (isRequest) replyError(id, kServerNotInitialized, "the server is not initialized");
            return;
        }
        if (shutdown) {
            if (isRequest) replyError(id, kInvalidRequest, "the server is shutting down");
            return;
        }
        try {
            if (isRequest) {
                json result;
                if (!request(method, params, result)) {
                    replyError(id, kMethodNotFound, "unknown method " + method);
                    return;
                }
                reply(id, std::move(result));
            } else {
                notification(method, params);
            }
        } catch (const InvalidParams& problem) {
            if (isRequest) replyError(id, kInvalidParams, problem.message);
        } catch (const json::exception& problem) {
            if (isRequest) replyError(id, kInvalidParams, problem.what());
        } catch (const std::exception& problem) {
            if (isRequest) replyError(id, kInternalError, problem.what());
        }
    }

    // ---- notifications

    void notification(const std::string& method, const json& params) {
        if (method == "textDocument/didOpen") {
            const json& item = member(params, "textDocument");
            setText(stringMember(item, "uri"), stringMember(item, "text"));
        } else if (method == "textDocument/didChange") {
            const std::string& uri = documentUri(params);
            auto found = documents.find(uri);
            if (found == documents.end()) return;
            std::string text = found->second.text;
            const json& changes = member(params, "contentChanges");
            if (!changes.is_array()) throw InvalidParams{"'contentChanges' must be an array"};
            for (const json& change : changes) applyChange(text, change);
            setText(uri, std::move(text));
        } else if (method == "textDocument/didClose") {
            const std::string& uri = documentUri(params);
            if (documents.erase(uri) > 0)
                notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
        }
        // Everything else ("initialized", "$/cancelRequest", settings, saves) needs nothing.
    }

    static void applyChange(std::string& text, const json& change) {
        const std::string& replacement = stringMember(change, "text");
        auto range = change.find("range");
        if (range == change.end() || range->is_null()) {
            text = replacement;
            return;
        }
        TextIndex index(text);
        size_t begin = index.toOffset(readPosition(member(*range, "start")));
        size_t end = index.toOffset(readPosition(member(*range, "end")));
        if (end < begin) std::swap(begin, end);
        text.replace(begin, end - begin, replacement);
    }

    void setText(const std::string& uri, std::string text) {
        Document& document = documents[uri];
        document.text = std::move(text);
        document.analysis = std::make_unique<Analysis>(document.text);
        publishDiagnostics(uri, *document.analysis);
    }

    void publishDiagnostics(const std::string& uri, const Analysis& analysis) {
        json diagnostics = json::array();
        for (const Diagnostic& diagnostic : analysis.diagnostics()) {
            diagnostics.push_back({{"range", rangeJson(analysis.index(), diagnostic.span)},
                                   {"severity", static_cast<int>(diagnostic.severity)},
                                   {"code", diagnostic.code},
                                   {"source", "velmor"},
                                   {"message", diagnostic.message}});
        }
        notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", std::move(diagnostics)}});
    }

    // ---- requests

    const Analysis* analysisFor(const json& params) const {
        auto found = documents.find(documentUri(params));
        return found == documents.end() ? nullptr : found->second.analysis.get();
    }

    static size_t cursor(const Analysis& analysis, const json& params) {
        return analysis.index().toOffset(readPosition(member(params, "position")));
    }

    json locations(const json& params, const Analysis& analysis, const std::vector<Span>& spans) const {
        json result = json::array();
        const std::string& uri = documentUri(params);
        for (const Span& span : spans) result.push_back({{"uri", uri}, {"range", rangeJson(analysis.index(), span)}});
        return result;
    }

    // An outline nested past what the native stack holds ends there.
    json symbolsJson(const Analysis& analysis, const std::vector<Analysis::DocumentSymbol>& symbols) const {
        json result = json::array();
        if (currentStackAddress() < nativeStackFloor()) return result;
        for (const auto& symbol : symbols) {
            result.push_back({{"name", symbol.name},
                              {"kind", static_cast<int>(symbol.kind)},
                              {"range", rangeJson(analysis.index(), symbol.range)},
                              {"selectionRange", rangeJson(analysis.index(), symbol.selection)},
                              {"children", symbolsJson(analysis, symbol.children)}});
        }
        return result;
    }

    // The edits that lay out a document, or the lines that a range touches,
    // as `velmor --format` does: none for a document that does not parse
    // (its diagnostics say why) or is laid out already.
    json formattingEdits(bool inRange, const json& params) const {
        json edits = json::array();
        auto found = documents.find(documentUri(params));
        if (found == documents.end()) return edits;
        const std::string& text = found->second.text;
        const TextIndex& index = found->second.analysis->index();
        TextEdit edit;
        try {
            if (inRange) {
                const json& range = member(params, "range");
                const size_t begin = index.toOffset(readPosition(member(range, "start")));
                size_t end = index.toOffset(readPosition(member(range, "end")));
                // A range that ends at the start of a line leaves that line out.
                if (end > begin && text[end - 1] == '\n') --end;
                auto lineOf = [&](size_t offset) {
                    return static_cast<int32_t>(1 + std::count(text.begin(), text.begin() + offset, '\n'));
                };
                edit = formatLineRange(text, lineOf(begin), lineOf(end));
            } else {
                edit.end = text.size();
                edit.text = formatSource(text);
            }
        } catch (const VelmorError&) {
            return edits;
        }
        if (std::string_view(text).substr(edit.begin, edit.end - edit.begin) == edit.text) return edits;
        edits.push_back(
            {{"range", {{"start", toJson(index.toPosition(edit.begin))}, {"end", toJson(index.toPosition(edit.end))}}},
             {"newText", edit.text}});
        return edits;
    }

    // Fills `result`; false for a method this server does not know.
    bool request(const std::string& method, const json& params, json& result) {
        if (method == "initialize") {
            initialized = true;
            result = {{"capabilities",
                       {{"positionEncoding", "utf-16"},
                        {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
                        {"hoverProvider", true},
                        {"completionProvider", json::object()},
                        {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}}},
                        {"definitionProvider", true},
                        {"referencesProvider", true},
                        {"documentSymbolProvider", true},
                        {"documentFormattingProvider", true},
                        {"documentRangeFormattingProvider", true}}},
                      {"serverInfo", {{"name", "velmor"}, {"version", kVersion}}}};
            return true;
        }
        if (method == "shutdown") {
            shutdown = true;
            result = nullptr;
            return true;
        }
        if (method == "textDocument/hover") {
            result = nullptr;
            if (const Analysis* analysis = analysisFor(params)) {
                if (auto hover = analysis->hover(cursor(*analysis, params))) {
                    result = {{"contents", {{"kind", "markdown"}, {"value", hover->markdown}}},
                              {"range", rangeJson(analysis->index(), hover->span)}};
                }
            }
            return true;
        }
        if (method == "textDocument/completion") {
            result = json::array();
            if (const Analysis* analysis = analysisFor(params)) {
                for (const auto& item : analysis->completion(cursor(*analysis, params))) {
                    result.push_back(
                        {{"label", item.label}, {"kind", static_cast<int>(item.kind)}, {"detail", item.detail}});
                }
            }
            return true;
        }
        if (method == "textDocument/signatureHelp") {
            result = nullptr;
            if (const Analysis* analysis = analysisFor(params)) {
                if (auto help = analysis->signatureHelp(cursor(*analysis, params))) {
                    json signatures = json::array();
                    for (const auto& signature : help->signatures) {
                        json parameters = json::array();
                        for (const auto& [begin, end] : signature.parameters) {
                            parameters.push_back({{"label", {begin, end}}});
                        }
                        json entry = {{"label", signature.label}, {"parameters", std::move(parameters)}};
                        if (!signature.documentation.empty()) {
                            entry["documentation"] = {{"kind", "markdown"}, {"value", signature.documentation}};
                        }
                        signatures.push_back(std::move(entry));
                    }
                    result = {{"signatures", std::move(signatures)},
                              {"activeSignature", help->activeSignature},
                              {"activeParameter", help->activeParameter}};
                }
            }
            return true;
        }
        if (method == "textDocument/definition") {
            const Analysis* analysis = analysisFor(params);
            result = analysis ? locations(params, *analysis, analysis->definition(cursor(*analysis, params)))
                              : json::array();
            return true;
        }
        if (method == "textDocument/references") {
            const Analysis* analysis = analysisFor(params);
            bool includeDeclaration = true;
            if (auto context = params.find("context"); context != params.end() && context->is_object()) {
                auto include = context->find("includeDeclaration");
                if (include != context->end() && include->is_boolean()) includeDeclaration = include->get<bool>();
            }
            result = analysis ? locations(params, *analysis,
                                          analysis->references(cursor(*analysis, params), includeDeclaration))
                              : json::array();
            return true;
        }
        if (method == "textDocument/formatting" || method == "textDocument/rangeFormatting") {
            result = formattingEdits(method == "textDocument/rangeFormatting", params);
            return true;
        }
        if (method == "textDocument/documentSymbol") {
            const Analysis* analysis = analysisFor(params);
            result = analysis ? symbolsJson(*analysis, analysis->documentSymbols()) : json::array();
            return true;
        }
        return false;
    }
};

Server::Server(Send send) : state_(std::make_unique<State>()) { state_->send = std::move(send); }

Server::~Server() = default;

void Server::handle(std::string_view body) {
    try {
        state_->handle(body);
    } catch (const std::exception& problem) {
        // Only a failure to build a reply gets here (out of memory); the message is dropped.
        std::cerr << "velmor: language server: " << problem.what() << "\n";
    }
}

bool Server::exited() const { return state_->exited; }

int Server::exitStatus() const { return state_->shutdown ? 0 : 1; }

void serve(std::istream& in, Server& server, std::ostream& log) {
    MessageReader reader(in, isJson);
    std::string body;
    for (;;) {
        switch (reader.next(body)) {
        case ReadStatus::Message:
            server.handle(body);
            if (server.exited()) return;
            break;
        case ReadStatus::Malformed:
            log << "velmor: language server: skipped a frame without a valid Content-Length\n";
            break;
        case ReadStatus::Unframed:
            log << "velmor: language server: skipped bytes outside any frame (a Content-Length shorter than its "
                   "body?)\n";
            break;
        case ReadStatus::Overrun:
            log << "velmor: language server: skipped a frame whose Content-Length runs past its body\n";
            break;
        case ReadStatus::TooLarge: log << "velmor: language server: skipped a message over the size limit\n"; break;
        case ReadStatus::End: return;
        }
    }
}

int serve(std::istream& in, std::ostream& out, std::ostream& log) {
    Server server([&out](const std::string& message) { writeMessage(out, message); });
    serve(in, server, log);
    return server.exitStatus();
}

int runLanguageServer() {
#ifdef _WIN32
    // Text mode would turn the "\r\n" of every header into "\n" on the way in
    // and out, and the client would wait for bytes that never come.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return serve(std::cin, std::cout, std::cerr);
}

}  // namespace velmor::lsp
