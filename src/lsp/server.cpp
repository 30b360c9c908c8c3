#include "lsp/server.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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
#include "lsp/lint.h"
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
constexpr int kRequestFailed = -32803;

// Raised by the parameter readers; answered with kInvalidParams.
struct InvalidParams {
    std::string message;
};

// A request that is understood but cannot be done (a rename that is
// refused); answered with kRequestFailed and the message for the user.
struct RequestFailed {
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
    // Made from `text` when no more input is waiting or a request needs it:
    // a burst of changes is analysed once, at its last version.
    std::unique_ptr<Analysis> analysis;
    bool stale = true;
    json version = nullptr;  // the client's version of `text`, when it gave one
    // The last semantic tokens sent, for a delta against them.
    std::vector<uint32_t> tokens;
    std::string tokensId;
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The local path of a "file:" URI; empty for any other URI.
std::filesystem::path uriToPath(std::string_view uri) {
    if (!uri.starts_with("file://")) return {};
    uri.remove_prefix(7);
    size_t slash = uri.find('/');
    if (slash == std::string_view::npos) return {};
    std::string path;
    for (size_t i = slash; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 && hexValue(uri[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
#ifdef _WIN32
    // "/c:/dir" names the drive.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
#endif
    return std::filesystem::path(path).lexically_normal();
}

std::string pathToUri(const std::filesystem::path& path) {
    std::string text = path.generic_string();
    if (!text.starts_with("/")) text.insert(0, "/");
    std::string uri = "file://";
    for (char c : text) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += c;
        } else {
            static const char* const kHex = "0123456789ABCDEF";
            auto byte = static_cast<unsigned char>(c);
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

// Whether `query` is a subsequence of `name`, ASCII letters matched without regard to case.
bool matchesQuery(std::string_view name, std::string_view query) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    size_t at = 0;
    for (char c : name) {
        if (at < query.size() && lower(c) == lower(query[at])) ++at;
    }
    return at == query.size();
}

// A workspace file's symbols as last read, and when the file was written.
struct FileSymbols {
    std::filesystem::file_time_type written;
    std::uintmax_t size = 0;
    json symbols = json::array();  // SymbolInformation, every name
};

// Enough for any real workspace; a walk over a home directory stops there.
constexpr size_t kMaxWorkspaceFiles = 5000;
constexpr size_t kMaxWorkspaceEntries = 200000;
constexpr std::uintmax_t kMaxWorkspaceFileBytes = std::uintmax_t{8} << 20;

// The lint settings in `settings`, which hold them as `velmor.lint` or as
// `lint` (initializationOptions and workspace/didChangeConfiguration alike);
// what is absent or mistyped keeps its default.
LintSettings readLintSettings(const json& settings) {
    LintSettings lint;
    const json* at = &settings;
    if (at->is_object() && at->contains("velmor")) at = &(*at)["velmor"];
    if (!at->is_object() || !at->contains("lint") || !(*at)["lint"].is_object()) return lint;
    const json& options = (*at)["lint"];
    if (auto enabled = options.find("enabled"); enabled != options.end() && enabled->is_boolean())
        lint.enabled = enabled->get<bool>();
    if (auto disabled = options.find("disabled"); disabled != options.end() && disabled->is_array()) {
        for (const json& code : *disabled) {
            if (code.is_string()) lint.disabled.push_back(code.get<std::string>());
        }
    }
    return lint;
}

}  // namespace

struct Server::State {
    Send send;
    bool initialized = false;
    bool shutdown = false;
    bool exited = false;
    std::unordered_map<std::string, Document> documents;
    // Whether more input is waiting to be handled (see Server::setInputPending).
    std::function<bool()> inputPending;
    std::vector<std::filesystem::path> workspaceFolders;
    std::unordered_map<std::string, FileSymbols> workspaceFiles;
    uint64_t nextTokensId = 1;
    LintSettings lint;

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
                flush();
                json result;
                if (!request(method, params, result)) {
                    replyError(id, kMethodNotFound, "unknown method " + method);
                    return;
                }
                reply(id, std::move(result));
            } else {
                notification(method, params);
            }
        } catch (const RequestFailed& problem) {
            if (isRequest) replyError(id, kRequestFailed, problem.message);
        } catch (const InvalidParams& problem) {
            if (isRequest) replyError(id, kInvalidParams, problem.message);
        } catch (const json::exception& problem) {
            if (isRequest) replyError(id, kInvalidParams, problem.what());
        } catch (const std::exception& problem) {
            if (isRequest) replyError(id, kInternalError, problem.what());
        }
        if (!inputPending || !inputPending()) flush();
    }

    // Analyses every document changed since its last analysis, and publishes its diagnostics.
    void flush() {
        for (auto& [uri, document] : documents) {
            if (!document.stale) continue;
            // The old analysis is freed after the diagnostics are out: the editor waits for them, not for that.
            std::unique_ptr<Analysis> previous = std::move(document.analysis);
            document.analysis = std::make_unique<Analysis>(document.text);
            document.stale = false;
            publishDiagnostics(uri, document);
        }
    }

    // ---- notifications

    void notification(const std::string& method, const json& params) {
        if (method == "textDocument/didOpen") {
            const json& item = member(params, "textDocument");
            setText(stringMember(item, "uri"), stringMember(item, "text"), item.value("version", json(nullptr)));
        } else if (method == "textDocument/didChange") {
            const std::string& uri = documentUri(params);
            auto found = documents.find(uri);
            if (found == documents.end()) return;
            std::string text = found->second.text;
            const json& changes = member(params, "contentChanges");
            if (!changes.is_array()) throw InvalidParams{"'contentChanges' must be an array"};
            for (const json& change : changes) applyChange(text, change);
            setText(uri, std::move(text), member(params, "textDocument").value("version", json(nullptr)));
        } else if (method == "workspace/didChangeWorkspaceFolders") {
            const json& event = member(params, "event");
            for (const json& folder : event.value("removed", json::array())) {
                std::filesystem::path path = uriToPath(stringMember(folder, "uri"));
                std::erase(workspaceFolders, path);
            }
            for (const json& folder : event.value("added", json::array()))
                addWorkspaceFolder(stringMember(folder, "uri"));
        } else if (method == "workspace/didChangeConfiguration") {
            lint = readLintSettings(params.contains("settings") ? params["settings"] : json());
            for (auto& [uri, document] : documents) {
                if (!document.stale && document.analysis) publishDiagnostics(uri, document);
            }
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

    void setText(const std::string& uri, std::string text, json version) {
        Document& document = documents[uri];
        document.text = std::move(text);
        document.stale = true;
        document.version = version.is_number_integer() ? version : json(nullptr);
    }

    void publishDiagnostics(const std::string& uri, const Document& document) {
        const Analysis& analysis = *document.analysis;
        json diagnostics = json::array();
        for (const Diagnostic& diagnostic : analysis.diagnostics())
            diagnostics.push_back(diagnosticJson(analysis, diagnostic));
        for (const Diagnostic& warning : lintWarnings(analysis, lint))
            diagnostics.push_back(diagnosticJson(analysis, warning));
        json params = {{"uri", uri}, {"diagnostics", std::move(diagnostics)}};
        if (!document.version.is_null()) params["version"] = document.version;
        notify("textDocument/publishDiagnostics", std::move(params));
    }

    static json diagnosticJson(const Analysis& analysis, const Diagnostic& diagnostic) {
        json result = {{"range", rangeJson(analysis.index(), diagnostic.span)},
                       {"severity", static_cast<int>(diagnostic.severity)},
                       {"code", diagnostic.code},
                       {"source", "velmor"},
                       {"message", diagnostic.message}};
        constexpr int kUnnecessary = 1;  // DiagnosticTag
        if (diagnostic.severity == Severity::Warning && marksUnnecessaryCode(diagnostic.code))
            result["tags"] = json::array({kUnnecessary});
        return result;
    }

    // The quick fixes for the diagnostics that touch the requested range.
    json codeActionsJson(const json& params) const {
        json result = json::array();
        const Analysis* analysis = analysisFor(params);
        if (analysis == nullptr) return result;
        if (auto context = params.find("context"); context != params.end() && context->is_object()) {
            if (auto only = context->find("only"); only != context->end() && only->is_array()) {
                bool wanted = std::any_of(only->begin(), only->end(),
                                          [](const json& kind) { return kind == "quickfix" || kind == ""; });
                if (!wanted) return result;
            }
        }
        const json& range = member(params, "range");
        Span span{analysis->index().toOffset(readPosition(member(range, "start"))),
                  analysis->index().toOffset(readPosition(member(range, "end")))};
        if (span.end < span.begin) std::swap(span.begin, span.end);
        const std::string& uri = documentUri(params);
        for (const CodeAction& action : codeActions(*analysis, lint, span)) {
            json edits = json::array();
            for (const Replacement& edit : action.edits)
                edits.push_back({{"range", rangeJson(analysis->index(), edit.span)}, {"newText", edit.text}});
            result.push_back({{"title", action.title},
                              {"kind", "quickfix"},
                              {"isPreferred", true},
                              {"diagnostics", json::array({diagnosticJson(*analysis, action.diagnostic)})},
                              {"edit", {{"changes", {{uri, std::move(edits)}}}}}});
        }
        return result;
    }

    void addWorkspaceFolder(const std::string& uri) {
        std::filesystem::path path = uriToPath(uri);
        if (!path.empty() &&
            std::find(workspaceFolders.begin(), workspaceFolders.end(), path) == workspaceFolders.end())
            workspaceFolders.push_back(std::move(path));
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

    const Document& openDocument(const json& params) const {
        auto found = documents.find(documentUri(params));
        if (found == documents.end()) throw RequestFailed{"the document is not open"};
        return found->second;
    }

    // What a rename or prepareRename at the cursor would change, or a RequestFailed.
    struct RenameSubject {
        const Analysis* analysis;
        Analysis::RenameTarget target;
        const Symbol* symbol;
        bool global;
    };
    RenameSubject renameSubject(const json& params) const {
        const Analysis& analysis = *openDocument(params).analysis;
        Analysis::RenameTarget target = analysis.renameTarget(cursor(analysis, params));
        if (!target.refusal.empty()) throw RequestFailed{target.refusal};
        const Symbol& symbol = analysis.resolution().symbols[static_cast<size_t>(target.symbol)];
        bool global = symbol.kind == SymbolKind::Global;
        // A builtin is a global that no open document declares.
        if (global && isBuiltinName(symbol.name) &&
            std::none_of(documents.begin(), documents.end(), [&](const auto& entry) {
                const Resolution& resolution = entry.second.analysis->resolution();
                auto found = resolution.globals.find(symbol.name);
                return found != resolution.globals.end() &&
                       !resolution.symbols[static_cast<size_t>(found->second)].declarations.empty();
            })) {
            throw RequestFailed{"'" + symbol.name + "' is a builtin and cannot be renamed"};
        }
        return RenameSubject{&analysis, std::move(target), &symbol, global};
    }

    // A local renames in its own document; a global in every open document
    // that names it (where it is a global there too).
    json renameEdits(const json& params) const {
        RenameSubject subject = renameSubject(params);
        const std::string& newName = stringMember(params, "newName");
        const std::string& oldName = subject.symbol->name;
        if (!isIdentifier(newName)) {
            throw RequestFailed{"'" + newName + "' is not a name: a name is a letter or '_', then letters, digits " +
                                "and '_', and not a keyword"};
        }
        json changes = json::object();
        if (newName == oldName) return {{"changes", std::move(changes)}};
        auto editsFor = [&](const std::string& uri, const Analysis& analysis, const std::vector<Span>& spans) {
            if (spans.empty()) return;
            std::string conflict = analysis.renameConflict(spans, newName);
            if (!conflict.empty()) throw RequestFailed{conflict};
            json edits = json::array();
            for (const Span& span : spans)
                edits.push_back({{"range", rangeJson(analysis.index(), span)}, {"newText", newName}});
            changes[uri] = std::move(edits);
        };
        if (!subject.global) {
            editsFor(documentUri(params), *subject.analysis, subject.analysis->occurrenceSpans(subject.target.symbol));
            return {{"changes", std::move(changes)}};
        }
        if (isBuiltinName(newName))
            throw RequestFailed{"'" + newName + "' is a builtin: a global of that name would replace it"};
        std::vector<const std::string*> uris;
        for (const auto& [uri, document] : documents) {
            if (document.analysis->resolution().globals.contains(newName))
                throw RequestFailed{"renaming '" + oldName + "' to '" + newName + "' would merge it with the global '" +
                                    newName + "' of " + uri};
            uris.push_back(&uri);
        }
        std::sort(uris.begin(), uris.end(), [](const std::string* a, const std::string* b) { return *a < *b; });
        for (const std::string* uri : uris) {
            const Analysis& analysis = *documents.at(*uri).analysis;
            editsFor(*uri, analysis, analysis.globalSpans(oldName));
        }
        return {{"changes", std::move(changes)}};
    }

    // Every symbol of the open documents and of the workspace's files that
    // are not open, whose name holds the query as a subsequence.
    json workspaceSymbols(const std::string& query) {
        json result = json::array();
        auto collect = [&](const std::string& uri, const Analysis& analysis, json& out) {
            const std::vector<Analysis::DocumentSymbol> roots = analysis.documentSymbols();
            std::vector<std::pair<const Analysis::DocumentSymbol*, const std::string*>> pending;
            for (auto it = roots.rbegin(); it != roots.rend(); ++it) pending.emplace_back(&*it, nullptr);
            while (!pending.empty()) {
                auto [symbol, container] = pending.back();
                pending.pop_back();
                json entry = {{"name", symbol->name},
                              {"kind", static_cast<int>(symbol->kind)},
                              {"location", {{"uri", uri}, {"range", rangeJson(analysis.index(), symbol->selection)}}}};
                if (container != nullptr) entry["containerName"] = *container;
                out.push_back(std::move(entry));
                for (auto it = symbol->children.rbegin(); it != symbol->children.rend(); ++it)
                    pending.emplace_back(&*it, &symbol->name);
            }
        };
        auto keep = [&](const json& symbols) {
            for (const json& symbol : symbols) {
                if (matchesQuery(symbol["name"].get_ref<const std::string&>(), query)) result.push_back(symbol);
            }
        };
        std::vector<std::filesystem::path> openPaths;
        for (const auto& [uri, document] : documents) {
            json symbols = json::array();
            collect(uri, *document.analysis, symbols);
            keep(symbols);
            if (std::filesystem::path path = uriToPath(uri); !path.empty()) openPaths.push_back(std::move(path));
        }
        size_t files = 0;
        size_t entries = 0;
        for (const std::filesystem::path& folder : workspaceFolders) {
            std::error_code error;
            auto options = std::filesystem::directory_options::skip_permission_denied;
            for (std::filesystem::recursive_directory_iterator it(folder, options, error), end;
                 !error && it != end && files < kMaxWorkspaceFiles && entries < kMaxWorkspaceEntries;
                 it.increment(error), ++entries) {
                // A file that cannot be read is passed over; only a failing walk ends it.
                std::error_code entryError;
                const std::filesystem::path& path = it->path();
                const std::string name = path.filename().string();
                if (it->is_directory(entryError)) {
                    if (name.starts_with(".") || name == "node_modules") it.disable_recursion_pending();
                    continue;
                }
                if (!(name.ends_with(".vlm") || name.ends_with(".velmor")) || !it->is_regular_file(entryError))
                    continue;
                ++files;
                std::filesystem::path normal = path.lexically_normal();
                if (std::find(openPaths.begin(), openPaths.end(), normal) != openPaths.end()) continue;
                std::uintmax_t size = it->file_size(entryError);
                std::filesystem::file_time_type written = it->last_write_time(entryError);
                if (entryError || size > kMaxWorkspaceFileBytes) continue;
                FileSymbols& cached = workspaceFiles[normal.string()];
                if (cached.written != written || cached.size != size || cached.symbols.empty()) {
                    std::ifstream in(path, std::ios::binary);
                    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                    cached.written = written;
                    cached.size = size;
                    cached.symbols = json::array();
                    Analysis analysis(std::move(text));
                    collect(pathToUri(normal), analysis, cached.symbols);
                }
                keep(cached.symbols);
            }
        }
        return result;
    }

    json semanticTokens(Document& document, const std::string* previousId) {
        std::vector<uint32_t> data = document.analysis->semanticTokens();
        std::string id = std::to_string(nextTokensId++);
        json result = {{"resultId", id}};
        if (previousId != nullptr && *previousId == document.tokensId) {
            // One edit: what lies between the common start and the common end.
            const std::vector<uint32_t>& old = document.tokens;
            size_t prefix = 0;
            while (prefix < old.size() && prefix < data.size() && old[prefix] == data[prefix]) ++prefix;
            size_t suffix = 0;
            while (suffix < old.size() - prefix && suffix < data.size() - prefix &&
                   old[old.size() - 1 - suffix] == data[data.size() - 1 - suffix]) {
                ++suffix;
            }
            json edits = json::array();
            if (prefix + suffix < std::max(old.size(), data.size())) {
                edits.push_back({{"start", prefix},
                                 {"deleteCount", old.size() - prefix - suffix},
                                 {"data", std::vector<uint32_t>(data.begin() + static_cast<std::ptrdiff_t>(prefix),
                                                                data.end() - static_cast<std::ptrdiff_t>(suffix))}});
            }
            result["edits"] = std::move(edits);
        } else {
            result["data"] = data;
        }
        document.tokens = std::move(data);
        document.tokensId = std::move(id);
        return result;
    }

    // Fills `result`; false for a method this server does not know.
    bool request(const std::string& method, const json& params, json& result) {
        if (method == "initialize") {
            initialized = true;
            lint =
                readLintSettings(params.contains("initializationOptions") ? params["initializationOptions"] : json());
            if (auto folders = params.find("workspaceFolders"); folders != params.end() && folders->is_array()) {
                for (const json& folder : *folders) addWorkspaceFolder(stringMember(folder, "uri"));
            }
            if (auto root = params.find("rootUri");
                workspaceFolders.empty() && root != params.end() && root->is_string()) {
                addWorkspaceFolder(root->get<std::string>());
            }
            json tokenTypes = json::array();
            for (const char* type : kSemanticTokenTypes) tokenTypes.push_back(type);
            json tokenModifiers = json::array();
            for (const char* modifier : kSemanticTokenModifiers) tokenModifiers.push_back(modifier);
            result = {{"capabilities",
                       {{"positionEncoding", "utf-16"},
                        {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
                        {"renameProvider", {{"prepareProvider", true}}},
                        {"documentHighlightProvider", true},
                        {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}},
                        {"foldingRangeProvider", true},
                        {"semanticTokensProvider",
                         {{"legend", {{"tokenTypes", tokenTypes}, {"tokenModifiers", tokenModifiers}}},
                          {"full", {{"delta", true}}}}},
                        {"workspaceSymbolProvider", true},
                        {"workspace", {{"workspaceFolders", {{"supported", true}, {"changeNotifications", true}}}}},
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
        if (method == "textDocument/prepareRename") {
            RenameSubject subject = renameSubject(params);
            result = {{"range", rangeJson(subject.analysis->index(), subject.target.span)},
                      {"placeholder", subject.symbol->name}};
            return true;
        }
        if (method == "textDocument/rename") {
            result = renameEdits(params);
            return true;
        }
        if (method == "textDocument/documentHighlight") {
            result = json::array();
            if (const Analysis* analysis = analysisFor(params)) {
                for (const auto& highlight : analysis->highlights(cursor(*analysis, params))) {
                    result.push_back(
                        {{"range", rangeJson(analysis->index(), highlight.span)}, {"kind", highlight.write ? 3 : 2}});
                }
            }
            return true;
        }
        if (method == "textDocument/foldingRange") {
            result = json::array();
            if (const Analysis* analysis = analysisFor(params)) {
                for (const auto& range : analysis->foldingRanges()) {
                    json entry = {{"startLine", range.startLine}, {"endLine", range.endLine}};
                    if (range.comment) entry["kind"] = "comment";
                    result.push_back(std::move(entry));
                }
            }
            return true;
        }
        if (method == "textDocument/semanticTokens/full" || method == "textDocument/semanticTokens/full/delta") {
            auto found = documents.find(documentUri(params));
            if (found == documents.end()) {
                result = {{"data", json::array()}};
                return true;
            }
            const std::string* previous = nullptr;
            if (method.ends_with("delta")) previous = &stringMember(params, "previousResultId");
            result = semanticTokens(found->second, previous);
            return true;
        }
        if (method == "textDocument/codeAction") {
            result = codeActionsJson(params);
            return true;
        }
        if (method == "workspace/symbol") {
            result = workspaceSymbols(stringMember(params, "query"));
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

void Server::setInputPending(std::function<bool()> pending) { state_->inputPending = std::move(pending); }

bool Server::exited() const { return state_->exited; }

int Server::exitStatus() const { return state_->shutdown ? 0 : 1; }

void serve(std::istream& in, Server& server, std::ostream& log) {
    MessageReader reader(in, isJson);
    server.setInputPending([&reader] { return reader.hasInput(); });
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
    // Unsynchronised streams read through a buffer of their own, which can
    // tell whether more input is ready (see Server::setInputPending).
    std::ios::sync_with_stdio(false);
    return serve(std::cin, std::cout, std::cerr);
}

}  // namespace velmor::lsp
