#include "driver/debug_adapter.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "ast.h"
#include "builtins/native.h"
#include "compiler.h"
#include "debug_hook.h"
#include "driver.h"
#include "driver/reporting.h"
#include "driver/run.h"
#include "error.h"
#include "interpreter.h"
#include "lsp/transport.h"
#include "parser.h"
#include "pragmas/pragmas.h"
#include "vm.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace velmor {

namespace {

using Json = nlohmann::json;

// Thrown through the program when the client has gone or asked to end it.
// Nothing in an engine catches it: no `try` of the program sees it.
struct SessionEnded {};

// A lock, a wait for a signal under it, and a detached thread: the
// Windows build's compiler has no std::thread, so there they are the system's.
#ifdef _WIN32
class Lock {
public:
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    PSRWLOCK native() { return &lock_; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
class Signal {
public:
    void wait(Lock& lock) { SleepConditionVariableSRW(&signal_, lock.native(), INFINITE, 0); }
    void notify() { WakeConditionVariable(&signal_); }

private:
    CONDITION_VARIABLE signal_ = CONDITION_VARIABLE_INIT;
};
void startDetached(std::function<void()> body) {
    auto* owned = new std::function<void()>(std::move(body));
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID argument) -> DWORD {
            std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(argument));
            (*run)();
            return 0;
        },
        owned, 0, nullptr);
    if (!thread) {
        delete owned;
        throw std::runtime_error("cannot start the debug adapter's reader thread");
    }
    CloseHandle(thread);
}
#else
class Lock {
public:
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

private:
    std::mutex mutex_;
};
class Signal {
public:
    void wait(Lock& lock) { signal_.wait(lock); }
    void notify() { signal_.notify_one(); }

private:
    std::condition_variable_any signal_;
};
void startDetached(std::function<void()> body) { std::thread(std::move(body)).detach(); }
#endif

// Messages from the reader thread, in order; nullopt marks the end of the input.
class Inbox {
public:
    explicit Inbox(std::atomic<bool>& attention) : attention_(attention) {}

    void put(std::optional<std::string> message) {
        lock_.lock();
        messages_.push_back(std::move(message));
        lock_.unlock();
        attention_.store(true, std::memory_order_relaxed);
        ready_.notify();
    }
    // The next message, waiting for one when `wait`; no value and `empty`
    // set when there is none yet.
    std::optional<std::string> take(bool wait, bool& empty) {
        lock_.lock();
        while (wait && messages_.empty()) ready_.wait(lock_);
        empty = messages_.empty();
        std::optional<std::string> message;
        if (!empty) {
            message = std::move(messages_.front());
            messages_.pop_front();
        }
        lock_.unlock();
        return message;
    }

private:
    std::atomic<bool>& attention_;
    Lock lock_;
    Signal ready_;
    std::deque<std::optional<std::string>> messages_;
};

// A stream buffer whose text goes to a callback: each write at once, single
// characters at a line feed or a flush.
class CallbackBuffer final : public std::streambuf {
public:
    explicit CallbackBuffer(std::function<void(std::string_view)> sink) : sink_(std::move(sink)) {}

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        flushPending();
        return count;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_ += traits_type::to_char_type(c);
        if (c == '\n') flushPending();
        return c;
    }
    int sync() override {
        flushPending();
        return 0;
    }

private:
    void flushPending() {
        if (pending_.empty()) return;
        std::string text;
        text.swap(pending_);
        sink_(text);
    }
    std::function<void(std::string_view)> sink_;
    std::string pending_;
};

// Standard input of the program: lines from a callback (the debug console).
class LineSourceBuffer final : public std::streambuf {
public:
    explicit LineSourceBuffer(std::function<std::optional<std::string>()> source) : source_(std::move(source)) {}

protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        std::optional<std::string> line = source_();
        if (!line) return traits_type::eof();
        line_ = std::move(*line) + "\n";
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    std::function<std::optional<std::string>()> source_;
    std::string line_;
};

// Builtins that compute without changing anything or calling back: an
// expression for a hover or the watch list may call these, and no others.
bool isQuietBuiltin(std::string_view name) {
    static const std::set<std::string_view> quiet = {
        "type",     "str",         "repr",       "num",       "int",         "bool",      "len",       "keys",
        "values",   "has",         "slice",      "find",      "sum",         "count",     "upper",     "lower",
        "split",    "join",        "trim",       "replace",   "starts_with", "ends_with", "char",      "ord",
        "floor",    "ceil",        "abs",        "sqrt",      "min",         "max",       "round",     "pow",
        "sin",      "cos",         "tan",        "log",       "exp",         "float",     "hex",       "bin",
        "oct",      "parse_int",   "chars",      "is_number", "is_string",   "is_list",   "is_map",    "is_nil",
        "is_bool",  "is_function", "clamp",      "sign",      "copy",        "zip",       "enumerate", "get",
        "contains", "repeat",      "capitalize", "items"};
    return quiet.contains(name);
}

// Why evaluating `expression` from `scope` could change the program's state
// (a call of anything but a quiet builtin), or empty when it cannot.
std::string whyNotQuiet(const Expr& expression, Environment& scope) {
    switch (expression.kind) {
    case ExprKind::Literal:
    case ExprKind::Name:
    case ExprKind::Function: return {};
    case ExprKind::ListLit:
        for (const ExprPtr& element : static_cast<const ListLitExpr&>(expression).elements) {
            if (std::string why = whyNotQuiet(*element, scope); !why.empty()) return why;
        }
        return {};
    case ExprKind::MapLit:
        for (const MapEntryExpr& entry : static_cast<const MapLitExpr&>(expression).entries) {
            if (std::string why = whyNotQuiet(*entry.key, scope); !why.empty()) return why;
            if (std::string why = whyNotQuiet(*entry.value, scope); !why.empty()) return why;
        }
        return {};
    case ExprKind::Unary: return whyNotQuiet(*static_cast<const UnaryExpr&>(expression).operand, scope);
    case ExprKind::Binary: {
        const auto& binary = static_cast<const BinaryExpr&>(expression);
        if (std::string why = whyNotQuiet(*binary.left, scope); !why.empty()) return why;
        return whyNotQuiet(*binary.right, scope);
    }
    case ExprKind::Index: {
        const auto& index = static_cast<const IndexExpr&>(expression);
        if (std::string why = whyNotQuiet(*index.object, scope); !why.empty()) return why;
        return whyNotQuiet(*index.index, scope);
    }
    case ExprKind::Get: return whyNotQuiet(*static_cast<const GetExpr&>(expression).object, scope);
    case ExprKind::Call: {
        const auto& call = static_cast<const CallExpr&>(expression);
        bool quiet = false;
        if (call.callee->kind == ExprKind::Name) {
            const std::string& name = static_cast<const NameExpr&>(*call.callee).name;
            const Value* bound = scope.lookup(name);
            quiet = isQuietBuiltin(name) && bound && bound->isNative() && bound->asNative().name() == name;
        }
        if (!quiet) return "calls a function, which only the debug console may do";
        for (const ExprPtr& argument : call.args) {
            if (std::string why = whyNotQuiet(*argument, scope); !why.empty()) return why;
        }
        return {};
    }
    }
    return {};
}

// Every line that holds code: the lines of the compiled program's instructions.
void collectLines(const FunctionProto& proto, std::set<int32_t>& lines) {
    for (uint32_t line : proto.lines) {
        if (line > 0) lines.insert(static_cast<int32_t>(line));
    }
    for (const Ref<FunctionProto>& child : proto.protos) collectLines(*child, lines);
}

struct Breakpoint {
    int id = 0;
    int32_t line = 0;
    std::string condition;
    std::string hitCondition;
    std::string logMessage;
    int hits = 0;
};

// Where a variables reference leads: a frame's scope, the globals, or the
// parts of a list or map.
struct Container {
    enum Kind { Locals, Upvalues, Globals, Parts } kind;
    std::size_t frame = 0;
    Value value;
};

enum class Resume { Run, StepIn, Next, StepOut };

class Adapter final : public DebugHook {
public:
    explicit Adapter(std::ostream& protocol) : protocol_(protocol), inbox_(attention) {}

    Inbox& inbox() { return inbox_; }

    int serve();

    void atStatement(DebugTarget& target, int32_t line, std::size_t depth) override;
    void raised(DebugTarget& target, const Value& error, bool thrown, bool caught) override;

    void programOutput(std::string_view text, const char* category) { sendOutput(text, category); }
    std::optional<std::string> consoleLine();

private:
    // ---- the protocol
    void send(Json message);
    void respond(const Json& request, Json body = Json::object());
    void fail(const Json& request, const std::string& message);
    void sendEvent(const char* event, Json body = Json::object());
    void sendOutput(std::string_view text, const char* category);

    // Handles one message from the inbox; false at the end of the input.
    bool handleNext(bool wait);
    void handle(const Json& request);

    // ---- requests
    void launch(const Json& request);
    void setBreakpoints(const Json& request);
    void stackTrace(const Json& request);
    void scopes(const Json& request);
    void variables(const Json& request);
    void setVariable(const Json& request);
    void evaluate(const Json& request);

    // ---- the program
    int runProgram();
    void stop(DebugTarget& target, const char* reason, const std::string& text = {});
    bool breakpointStops(DebugTarget& target, Breakpoint& breakpoint);
    // The value of `text` in the frame's world; with `mayRun`, as statements
    // that may call and assign (written back to the frame's variables).
    Value evaluateIn(std::size_t frame, const std::string& text, bool mayRun);
    Json describe(const std::string& name, const Value& value);
    int containerFor(const Value& value);
    std::vector<DebugVariable> containerVariables(Container& container);
    std::string expandLogMessage(const std::string& message);

    std::ostream& protocol_;
    Inbox inbox_;
    int64_t seq_ = 1;

    bool launched_ = false;
    bool configured_ = false;
    bool ended_ = false;  // disconnect asked, or the input ended
    std::string program_;
    Engine engine_ = Engine::BytecodeVm;
    bool stopOnEntry_ = false;
    std::string inputFile_;
    std::set<int32_t> codeLines_;
    std::map<int32_t, Breakpoint> breakpoints_;
    int nextBreakpointId_ = 1;
    bool stopOnRaised_ = false;
    bool stopOnUncaught_ = true;

    // While the program runs.
    DebugTarget* target_ = nullptr;  // while stopped
    bool started_ = false;
    bool pauseWanted_ = false;
    bool resumed_ = false;
    Resume resume_ = Resume::Run;
    std::size_t stepDepth_ = 0;
    std::vector<int32_t> lastLines_;
    std::size_t lastDepth_ = 0;
    bool evaluating_ = false;
    std::string exceptionText_;
    const char* exceptionId_ = "RuntimeError";
    bool noDebug_ = false;  // run only: no stops
    bool exceptionCaught_ = false;
    std::vector<Container> containers_;
    // Console code: its trees hold the functions it defines, kept for the session.
    std::vector<StmtList> consolePrograms_;
    std::unique_ptr<Interpreter> evaluator_;
    bool waitingForInput_ = false;
    std::optional<std::string> inputLine_;
};

void Adapter::send(Json message) {
    message["seq"] = seq_++;
    lsp::writeMessage(protocol_, message.dump(-1, ' ', false, Json::error_handler_t::replace));
}

void Adapter::respond(const Json& request, Json body) {
    send(Json{{"type", "response"},
              {"request_seq", request.value("seq", 0)},
              {"success", true},
              {"command", request.value("command", "")},
              {"body", std::move(body)}});
}

void Adapter::fail(const Json& request, const std::string& message) {
    send(Json{{"type", "response"},
              {"request_seq", request.is_object() ? request.value("seq", 0) : 0},
              {"success", false},
              {"command", request.is_object() ? request.value("command", "") : ""},
              {"message", message},
              {"body", Json{{"error", Json{{"id", 1}, {"format", message}}}}}});
}

void Adapter::sendEvent(const char* event, Json body) {
    send(Json{{"type", "event"}, {"event", event}, {"body", std::move(body)}});
}

void Adapter::sendOutput(std::string_view text, const char* category) {
    sendEvent("output", Json{{"category", category}, {"output", std::string(text)}});
}

bool Adapter::handleNext(bool wait) {
    bool empty = false;
    std::optional<std::string> message = inbox_.take(wait, empty);
    if (empty) {
        if (!pauseWanted_) attention.store(false, std::memory_order_relaxed);
        return true;
    }
    if (!message) {
        ended_ = true;
        return false;
    }
    Json request = Json::parse(*message, nullptr, false);
    if (request.is_discarded() || !request.is_object()) {
        fail(Json(), "malformed message: not a JSON object");
        return true;
    }
    if (request.value("type", "") != "request" || !request.contains("command") || !request["command"].is_string()) {
        fail(request, "malformed message: not a request");
        return true;
    }
    try {
        handle(request);
    } catch (const SessionEnded&) {
        throw;
    } catch (const VelmorError& error) {
        fail(request, error.message);
    } catch (const ThrownValue& thrown) {
        // What the console's code raised with `error`, which no `try` of the program may see.
        fail(request, "Error: " + toText(thrown.value));
    } catch (const Json::exception& error) {
        fail(request, std::string("bad arguments: ") + error.what());
    } catch (const std::exception& error) {
        fail(request, error.what());
    } catch (...) {
        fail(request, "the evaluation was stopped");
    }
    return true;
}

void Adapter::handle(const Json& request) {
    const std::string command = request["command"];
    const Json arguments = request.value("arguments", Json::object());
    if (command == "initialize") {
        respond(request,
                Json{{"supportsConfigurationDoneRequest", true},
                     {"supportsConditionalBreakpoints", true},
                     {"supportsHitConditionalBreakpoints", true},
                     {"supportsLogPoints", true},
                     {"supportsSetVariable", true},
                     {"supportsEvaluateForHovers", true},
                     {"supportsExceptionInfoRequest", true},
                     {"supportTerminateDebuggee", true},
                     {"exceptionBreakpointFilters",
                      Json::array({Json{{"filter", "uncaught"}, {"label", "Uncaught errors"}, {"default", true}},
                                   Json{{"filter", "raised"}, {"label", "Raised errors"}, {"default", false}}})}});
        sendEvent("initialized");
    } else if (command == "launch") {
        launch(request);
    } else if (command == "setBreakpoints") {
        setBreakpoints(request);
    } else if (command == "setExceptionBreakpoints") {
        const Json filters = arguments.value("filters", Json::array());
        stopOnRaised_ = std::find(filters.begin(), filters.end(), "raised") != filters.end();
        stopOnUncaught_ = std::find(filters.begin(), filters.end(), "uncaught") != filters.end();
        respond(request);
    } else if (command == "configurationDone") {
        configured_ = true;
        respond(request);
    } else if (command == "threads") {
        respond(request, Json{{"threads", Json::array({Json{{"id", 1}, {"name", "main"}}})}});
    } else if (command == "stackTrace") {
        stackTrace(request);
    } else if (command == "scopes") {
        scopes(request);
    } else if (command == "variables") {
        variables(request);
    } else if (command == "setVariable") {
        setVariable(request);
    } else if (command == "evaluate") {
        evaluate(request);
    } else if (command == "exceptionInfo") {
        if (exceptionText_.empty()) return fail(request, "no error is being shown");
        respond(request, Json{{"exceptionId", exceptionId_},
                              {"description", exceptionText_},
                              {"breakMode", exceptionCaught_ ? "always" : "unhandled"}});
    } else if (command == "continue" || command == "next" || command == "stepIn" || command == "stepOut") {
        if (!target_) return fail(request, "the program is not stopped");
        resume_ = command == "continue" ? Resume::Run
                  : command == "next"   ? Resume::Next
                  : command == "stepIn" ? Resume::StepIn
                                        : Resume::StepOut;
        stepDepth_ = target_->debugFrameCount();
        resumed_ = true;
        respond(request, command == "continue" ? Json{{"allThreadsContinued", true}} : Json::object());
    } else if (command == "pause") {
        pauseWanted_ = true;
        attention.store(true, std::memory_order_relaxed);
        respond(request);
    } else if (command == "disconnect" || command == "terminate") {
        respond(request);
        ended_ = true;
    } else {
        fail(request, "unknown request '" + command + "'");
    }
}

void Adapter::launch(const Json& request) {
    const Json arguments = request.value("arguments", Json::object());
    if (!arguments.contains("program") || !arguments["program"].is_string())
        return fail(request, "launch needs a \"program\" to run");
    program_ = arguments["program"];
    const std::string engine = arguments.value("engine", "vm");
    if (engine != "vm" && engine != "tree") return fail(request, "engine must be \"vm\" or \"tree\"");
    engine_ = engine == "tree" ? Engine::TreeWalker : Engine::BytecodeVm;
    noDebug_ = arguments.value("noDebug", false);
    stopOnEntry_ = arguments.value("stopOnEntry", false) && !noDebug_;
    inputFile_ = arguments.value("inputFile", "");
    const SourceFile file = readSourceFile(program_);
    if (file.opened) {
        try {
            collectLines(*compileProgram(parseSource(file.text)), codeLines_);
        } catch (const VelmorError&) {
            // The run reports it.
        }
    }
    launched_ = true;
    respond(request);
}

void Adapter::setBreakpoints(const Json& request) {
    const Json arguments = request.value("arguments", Json::object());
    const std::string path = arguments.value("source", Json::object()).value("path", "");
    std::error_code ignored;
    const bool ours = !program_.empty() && std::filesystem::equivalent(path, program_, ignored);
    std::map<int32_t, Breakpoint> kept;
    Json answers = Json::array();
    for (const Json& wanted : arguments.value("breakpoints", Json::array())) {
        const int32_t line = wanted.value("line", 0);
        const auto code = codeLines_.lower_bound(line);
        Json answer{{"id", nextBreakpointId_}, {"verified", false}, {"line", line}};
        if (ours && code != codeLines_.end()) {
            Breakpoint breakpoint{nextBreakpointId_,
                                  *code,
                                  wanted.value("condition", ""),
                                  wanted.value("hitCondition", ""),
                                  wanted.value("logMessage", ""),
                                  0};
            // The hits of a breakpoint that stays count on.
            if (const auto old = breakpoints_.find(*code); old != breakpoints_.end())
                breakpoint.hits = old->second.hits;
            kept[*code] = breakpoint;
            answer["verified"] = true;
            answer["line"] = *code;
        } else {
            answer["message"] = ours ? "no code at or after this line" : "not the program being debugged";
        }
        ++nextBreakpointId_;
        answers.push_back(answer);
    }
    if (ours && !noDebug_) breakpoints_ = std::move(kept);
    respond(request, Json{{"breakpoints", answers}});
}

void Adapter::stackTrace(const Json& request) {
    if (!target_) return fail(request, "the program is not stopped");
    const Json arguments = request.value("arguments", Json::object());
    const std::size_t total = target_->debugFrameCount();
    const std::size_t start = std::min<std::size_t>(arguments.value("startFrame", 0), total);
    std::size_t levels = arguments.value("levels", 0);
    if (levels == 0 || levels > total - start) levels = total - start;
    const std::string name = std::filesystem::path(program_).filename().string();
    Json frames = Json::array();
    for (std::size_t i = start; i < start + levels; ++i) {
        const DebugFrame frame = target_->debugFrame(i);
        frames.push_back(Json{{"id", i + 1},
                              {"name", frame.function},
                              {"source", Json{{"name", name}, {"path", program_}}},
                              {"line", frame.line},
                              {"column", frame.column}});
    }
    respond(request, Json{{"stackFrames", frames}, {"totalFrames", total}});
}

void Adapter::scopes(const Json& request) {
    if (!target_) return fail(request, "the program is not stopped");
    const std::size_t frameId = request.value("arguments", Json::object()).value("frameId", 1);
    if (frameId < 1 || frameId > target_->debugFrameCount()) return fail(request, "no such frame");
    const std::size_t frame = frameId - 1;
    Json list = Json::array();
    containers_.push_back(Container{Container::Locals, frame, Value()});
    list.push_back(Json{{"name", "Locals"}, {"variablesReference", containers_.size()}, {"expensive", false}});
    if (!target_->debugUpvalues(frame).empty()) {
        containers_.push_back(Container{Container::Upvalues, frame, Value()});
        list.push_back(Json{{"name", "Upvalues"}, {"variablesReference", containers_.size()}, {"expensive", false}});
    }
    containers_.push_back(Container{Container::Globals, frame, Value()});
    list.push_back(Json{{"name", "Globals"}, {"variablesReference", containers_.size()}, {"expensive", false}});
    respond(request, Json{{"scopes", list}});
}

int Adapter::containerFor(const Value& value) {
    const bool parts = (value.isList() && !value.asList().items.empty()) || (value.isMap() && !value.asMap().empty());
    if (!parts) return 0;
    containers_.push_back(Container{Container::Parts, 0, value});
    return static_cast<int>(containers_.size());
}

Json Adapter::describe(const std::string& name, const Value& value) {
    return Json{{"name", name},
                {"value", toRepr(value)},
                {"type", toText(kindName(value))},
                {"variablesReference", containerFor(value)}};
}

std::vector<DebugVariable> Adapter::containerVariables(Container& container) {
    switch (container.kind) {
    case Container::Locals: return target_->debugLocals(container.frame);
    case Container::Upvalues: return target_->debugUpvalues(container.frame);
    case Container::Globals: {
        std::vector<DebugVariable> variables;
        // The builtins are globals too; only those the program rebound are shown.
        for (auto& [name, value] : target_->debugGlobals().vars) {
            if (!(value.isNative() && value.asNative().name() == name) && name != "PI" && name != "E")
                variables.push_back(DebugVariable{name, &value});
        }
        std::sort(variables.begin(), variables.end(),
                  [](const DebugVariable& a, const DebugVariable& b) { return a.name < b.name; });
        return variables;
    }
    case Container::Parts: {
        std::vector<DebugVariable> variables;
        if (container.value.isList()) {
            ValueVector& items = container.value.asList().items;
            for (std::size_t i = 0; i < items.size(); ++i)
                variables.push_back(DebugVariable{std::to_string(i), &items[i]});
        } else if (container.value.isMap()) {
            for (MapEntry& entry : container.value.asMap())
                variables.push_back(DebugVariable{toText(entry.key), &entry.value});
        }
        return variables;
    }
    }
    return {};
}

void Adapter::variables(const Json& request) {
    if (!target_) return fail(request, "the program is not stopped");
    const std::size_t reference = request.value("arguments", Json::object()).value("variablesReference", 0);
    if (reference < 1 || reference > containers_.size()) return fail(request, "no such variables reference");
    // Copied: describing a value may add containers.
    Container container = containers_[reference - 1];
    Json list = Json::array();
    for (const DebugVariable& variable : containerVariables(container))
        list.push_back(describe(variable.name, *variable.value));
    respond(request, Json{{"variables", list}});
}

void Adapter::setVariable(const Json& request) {
    if (!target_) return fail(request, "the program is not stopped");
    const Json arguments = request.value("arguments", Json::object());
    const std::size_t reference = arguments.value("variablesReference", 0);
    if (reference < 1 || reference > containers_.size()) return fail(request, "no such variables reference");
    Container container = containers_[reference - 1];
    const std::string name = arguments.value("name", "");
    const std::size_t frame = container.kind == Container::Parts ? 0 : container.frame;
    Value value = evaluateIn(frame, arguments.value("value", ""), false);
    for (const DebugVariable& variable : containerVariables(container)) {
        if (variable.name == name) {
            *variable.value = value;
            Json body = describe(name, value);
            body.erase("name");
            return respond(request, std::move(body));
        }
    }
    fail(request, "no variable '" + name + "' there");
}

void Adapter::evaluate(const Json& request) {
    const Json arguments = request.value("arguments", Json::object());
    const std::string expression = arguments.value("expression", "");
    const std::string context = arguments.value("context", "repl");
    if (waitingForInput_ && context == "repl") {
        inputLine_ = expression;
        return respond(request, Json{{"result", ""}, {"variablesReference", 0}});
    }
    if (!target_) return fail(request, "the program is not stopped");
    const std::size_t frameId = arguments.value("frameId", 1);
    if (frameId < 1 || frameId > target_->debugFrameCount()) return fail(request, "no such frame");
    const Value value = evaluateIn(frameId - 1, expression, context == "repl");
    respond(request, Json{{"result", toRepr(value)},
                          {"type", toText(kindName(value))},
                          {"variablesReference", containerFor(value)}});
}

Value Adapter::evaluateIn(std::size_t frame, const std::string& text, bool mayRun) {
    StmtList statements = parseSource(text);
    const std::vector<DebugVariable> upvalues = target_->debugUpvalues(frame);
    const std::vector<DebugVariable> locals = target_->debugLocals(frame);
    // One scope holding the frame's variables, the innermost of a name winning, in the program's globals.
    Ref<Environment> scope = makeRef<Environment>(Ref<Environment>(&target_->debugGlobals()));
    for (const DebugVariable& variable : upvalues) scope->define(variable.name, *variable.value);
    for (const DebugVariable& variable : locals) scope->define(variable.name, *variable.value);
    if (!mayRun) {
        if (statements.size() != 1 || statements[0]->kind != StmtKind::Expr)
            throw RuntimeError("only an expression can be evaluated here; the debug console runs statements", 0, 0);
        const std::string why = whyNotQuiet(*static_cast<const ExprStmt&>(*statements[0]).expr, *scope);
        if (!why.empty()) throw RuntimeError("not evaluated: it " + why, 0, 0);
    }
    if (!evaluator_) {
        evaluator_ = std::make_unique<Interpreter>(EngineOptions{true});
        evaluator_->callForeignWith(&target_->debugCaller());
    }
    evaluating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } const done{evaluating_};
    consolePrograms_.push_back(std::move(statements));
    const Value result = evaluator_->runIn(consolePrograms_.back(), *scope);
    // What the code assigned goes back to the frame.
    if (mayRun) {
        for (const DebugVariable& variable : upvalues) *variable.value = scope->vars[variable.name];
        for (const DebugVariable& variable : locals) *variable.value = scope->vars[variable.name];
    }
    return result;
}

std::optional<std::string> Adapter::consoleLine() {
    sendOutput("(the program waits for input: type a line in the debug console)\n", "console");
    waitingForInput_ = true;
    inputLine_.reset();
    while (!inputLine_ && !ended_) handleNext(true);
    waitingForInput_ = false;
    if (ended_) throw SessionEnded{};
    return std::exchange(inputLine_, std::nullopt);
}

// ---------------------------------------------------------------------------
// Stopping

void Adapter::stop(DebugTarget& target, const char* reason, const std::string& text) {
    target_ = &target;
    resumed_ = false;
    Json body{{"reason", reason}, {"threadId", 1}, {"allThreadsStopped", true}};
    if (!text.empty()) {
        body["description"] = text;
        body["text"] = text;
    }
    sendEvent("stopped", std::move(body));
    while (!resumed_ && !ended_) handleNext(true);
    target_ = nullptr;
    containers_.clear();
    if (std::string(reason) != "exception") exceptionText_.clear();
    if (ended_) throw SessionEnded{};
}

bool Adapter::breakpointStops(DebugTarget& target, Breakpoint& breakpoint) {
    target_ = &target;
    struct Clear {
        DebugTarget*& target;
        std::vector<Container>& containers;
        ~Clear() {
            target = nullptr;
            containers.clear();
        }
    } const clear{target_, containers_};
    if (!breakpoint.condition.empty()) {
        try {
            if (!isTruthy(evaluateIn(0, breakpoint.condition, false))) return false;
        } catch (const VelmorError& error) {
            sendOutput("breakpoint condition '" + breakpoint.condition + "' failed: " + error.message + "\n",
                       "console");
            return true;
        }
    }
    ++breakpoint.hits;
    if (!breakpoint.hitCondition.empty()) {
        std::string_view condition = breakpoint.hitCondition;
        std::string_view op = ">=";
        for (std::string_view prefix : {">=", "==", "%", ">", "<=", "<"}) {
            if (condition.starts_with(prefix)) {
                op = prefix;
                condition.remove_prefix(prefix.size());
                break;
            }
        }
        while (!condition.empty() && condition.front() == ' ') condition.remove_prefix(1);
        int count = 0;
        std::from_chars(condition.data(), condition.data() + condition.size(), count);
        const int hits = breakpoint.hits;
        const bool stops = op == ">="   ? hits >= count
                           : op == "==" ? hits == count
                           : op == "%"  ? count > 0 && hits % count == 0
                           : op == ">"  ? hits > count
                           : op == "<=" ? hits <= count
                                        : hits < count;
        if (!stops) return false;
    }
    if (!breakpoint.logMessage.empty()) {
        sendOutput(expandLogMessage(breakpoint.logMessage) + "\n", "console");
        return false;
    }
    return true;
}

std::string Adapter::expandLogMessage(const std::string& message) {
    std::string text;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const std::size_t close = message[i] == '{' ? message.find('}', i) : std::string::npos;
        if (close == std::string::npos) {
            text += message[i];
            continue;
        }
        const std::string expression = message.substr(i + 1, close - i - 1);
        try {
            text += toText(evaluateIn(0, expression, false));
        } catch (const VelmorError& error) {
            text += "{" + expression + ": " + error.message + "}";
        }
        i = close;
    }
    return text;
}

void Adapter::atStatement(DebugTarget& target, int32_t line, std::size_t depth) {
    if (evaluating_) return;
    // Requests that came while the program ran.
    while (attention.load(std::memory_order_relaxed) && !ended_ && !pauseWanted_) handleNext(false);
    if (ended_) throw SessionEnded{};
    if (lastLines_.size() <= depth) lastLines_.resize(depth + 1, 0);
    for (std::size_t fresh = lastDepth_ + 1; fresh <= depth; ++fresh) lastLines_[fresh] = 0;
    lastDepth_ = depth;
    const bool newLine = lastLines_[depth] != line;
    lastLines_[depth] = line;
    if (pauseWanted_) {
        pauseWanted_ = false;
        attention.store(false, std::memory_order_relaxed);
        return stop(target, "pause");
    }
    if (!newLine) return;
    if (!started_) {
        started_ = true;
        if (stopOnEntry_) return stop(target, "entry");
    }
    if (const auto found = breakpoints_.find(line); found != breakpoints_.end()) {
        if (breakpointStops(target, found->second)) return stop(target, "breakpoint");
    }
    const bool steps = resume_ == Resume::StepIn || (resume_ == Resume::Next && depth <= stepDepth_) ||
                       (resume_ == Resume::StepOut && depth < stepDepth_);
    if (steps) stop(target, "step");
}

void Adapter::raised(DebugTarget& target, const Value& error, bool thrown, bool caught) {
    if (evaluating_ || noDebug_) return;
    if (!(stopOnRaised_ || (stopOnUncaught_ && !caught))) return;
    exceptionText_ = error.isString() ? std::string(error.asString()) : toText(error);
    exceptionCaught_ = caught;
    exceptionId_ = thrown ? "error" : "RuntimeError";
    stop(target, "exception", exceptionText_);
}

// ---------------------------------------------------------------------------
// The session

int Adapter::runProgram() {
    const SourceFile file = readSourceFile(program_);
    if (!file.opened) {
        reportCannotOpen(program_);
        return 1;
    }
    if (!checkPragmas(scanPragmas(file.text), program_, std::cerr)) return 1;
    std::ifstream input;
    std::streambuf* const consoleInput = std::cin.rdbuf();
    if (!inputFile_.empty()) {
        input.open(inputFile_, std::ios::binary);
        if (!input.is_open()) {
            reportCannotOpen(inputFile_);
            return 1;
        }
        std::cin.rdbuf(input.rdbuf());
    }
    struct RestoreInput {
        std::streambuf* buffer;
        ~RestoreInput() { std::cin.rdbuf(buffer); }
    } const restore{consoleInput};
    try {
        const PreparedProgram program = prepareProgram(file.text, engine_);
        // Plain engines: the VM's quickened code fuses instructions across
        // lines, and the tree-walker's shortcuts share scopes between passes.
        if (engine_ == Engine::BytecodeVm) {
            VM vm(EngineOptions{true});
            vm.debugWith(this);
            vm.run(program.script);
        } else {
            Interpreter interpreter(EngineOptions{true});
            interpreter.debugWith(this);
            interpreter.run(program.statements);
        }
        evaluator_.reset();
        std::cout.flush();
        return 0;
    } catch (const SessionEnded&) {
        evaluator_.reset();
        throw;
    } catch (...) {
        evaluator_.reset();
        reportCurrentException(file.text, program_);
        return 1;
    }
}

int Adapter::serve() {
    while (!(launched_ && configured_) && !ended_) {
        if (!handleNext(true)) return 0;
    }
    if (ended_) return 0;
    int status = 0;
    try {
        status = runProgram();
    } catch (const SessionEnded&) {
        std::cout.flush();
        sendEvent("terminated");
        return 0;
    }
    std::cout.flush();
    std::cerr.flush();
    sendEvent("exited", Json{{"exitCode", status}});
    sendEvent("terminated");
    while (!ended_ && handleNext(true)) {
    }
    return 0;
}

}  // namespace

int runDebugAdapter() {
    // The protocol owns standard output; the program's output becomes events.
    std::ostream protocol(std::cout.rdbuf());
    // The reader thread shares what it uses, so that nothing it touches is
    // destroyed under it if input arrives while the session ends.
    const auto reader = std::make_shared<lsp::MessageReader>(
        std::cin, [](std::string_view body) { return !Json::parse(body, nullptr, false).is_discarded(); });
    const auto adapter = std::make_shared<Adapter>(protocol);

    CallbackBuffer out([&](std::string_view text) { adapter->programOutput(text, "stdout"); });
    CallbackBuffer err([&](std::string_view text) { adapter->programOutput(text, "stderr"); });
    LineSourceBuffer in([&] { return adapter->consoleLine(); });
    std::streambuf* const savedOut = std::cout.rdbuf(&out);
    std::streambuf* const savedErr = std::cerr.rdbuf(&err);
    std::streambuf* const savedIn = std::cin.rdbuf(&in);

    // The reader may wait for input the client never sends; the process ends with it.
    startDetached([reader, adapter] {
        std::string body;
        for (;;) {
            const lsp::ReadStatus status = reader->next(body);
            if (status == lsp::ReadStatus::End) break;
            if (status == lsp::ReadStatus::Message) {
                adapter->inbox().put(body);
            } else {
                adapter->inbox().put(std::string("{}"));  // answered as a malformed message
            }
        }
        adapter->inbox().put(std::nullopt);
    });
    const int status = adapter->serve();
    std::cout.rdbuf(savedOut);
    std::cerr.rdbuf(savedErr);
    std::cin.rdbuf(savedIn);
    protocol.flush();
    return status;
}

}  // namespace velmor
