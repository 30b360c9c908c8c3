// The embedding API (include/velmor/velmor.h) over the engines.
//
// A public Value holds an engine Value in its opaque storage. An Interpreter
// owns one engine, the syntax trees of every source it ran (tree-walker
// functions point into them), and the host's native functions, which the
// engines call through HostFunction like any builtin. Every run and call
// from the host sets the running thread's execution limits for its length:
// the steps are always counted while a host's script runs, so that the
// interrupt that the step check notices reaches it on both engines.

#include <atomic>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "builtins/native.h"
#include "compiler.h"
#include "driver.h"
#include "driver/reporting.h"
#include "environment.h"
#include "error.h"
#include "execution_limits.h"
#include "interpreter.h"
#include "operations.h"
#include "parser.h"
#include "pragmas/pragmas.h"
#include "read_line.h"
#include "spin_lock.h"
#include "value.h"
#include "velmor/velmor.h"
#include "vm.h"

namespace velmor::embed {

// ---------------------------------------------------------------------------
// Values

static_assert(sizeof(velmor::Value) <= sizeof(Value) && alignof(velmor::Value) <= alignof(Value),
              "the public value's storage holds an engine value");

struct ValueAccess {
    static velmor::Value& of(Value& value) { return *std::launder(reinterpret_cast<velmor::Value*>(value.storage_)); }
    static const velmor::Value& of(const Value& value) {
        return *std::launder(reinterpret_cast<const velmor::Value*>(value.storage_));
    }
    static Value wrap(velmor::Value inner) {
        Value value;
        of(value) = std::move(inner);
        return value;
    }
};

namespace {

const velmor::Value& in(const Value& value) { return ValueAccess::of(value); }
velmor::Value& in(Value& value) { return ValueAccess::of(value); }
Value out(velmor::Value value) { return ValueAccess::wrap(std::move(value)); }

[[noreturn]] void wrongKind(const char* expected, const velmor::Value& value) {
    throw RuntimeError(std::string("expected ") + expected + ", got " + typeName(value));
}

const velmor::Value& checkKey(const velmor::Value& map, const velmor::Value& key) {
    if (!key.isString() && !key.isNumber()) {
        throw RuntimeError(
            operationMessage(OperationError::MapKeyNotStringOrNumber, map, key, Wording::Vm, BinaryOp::Add));
    }
    return key;
}

MapData& mapOf(const velmor::Value& value) {
    if (!value.isMap()) wrongKind("a map", value);
    return value.asMap();
}

ValueVector& listOf(const velmor::Value& value) {
    if (!value.isList()) wrongKind("a list", value);
    return value.listItems();
}

}  // namespace

const char* version() {
    static const std::string text = std::string("Velmor ") + kVersion;
    return text.c_str();
}

Value::Value() noexcept { new (storage_) velmor::Value(); }
Value::Value(bool boolean) noexcept { new (storage_) velmor::Value(boolean); }
Value::Value(std::int64_t number, IntTag) noexcept { new (storage_) velmor::Value(number); }
Value::Value(double number) noexcept { new (storage_) velmor::Value(number); }
Value::Value(std::string_view bytes) { new (storage_) velmor::Value(bytes); }
Value::Value(const Value& other) noexcept { new (storage_) velmor::Value(in(other)); }
Value::Value(Value&& other) noexcept { new (storage_) velmor::Value(std::move(in(other))); }
Value& Value::operator=(const Value& other) noexcept {
    in(*this) = in(other);
    return *this;
}
Value& Value::operator=(Value&& other) noexcept {
    in(*this) = std::move(in(other));
    return *this;
}
Value::~Value() { in(*this).~Value(); }

Value Value::list(std::initializer_list<Value> items) {
    return list(std::span<const Value>(items.begin(), items.size()));
}

Value Value::list(std::span<const Value> items) {
    ValueVector copied;
    copied.reserve(items.size());
    for (const Value& item : items) copied.push_back(in(item));
    return out(velmor::Value::newList(std::move(copied)));
}

Value Value::map(std::initializer_list<std::pair<Value, Value>> entries) {
    Value made = out(velmor::Value::newMap());
    for (const auto& [key, value] : entries) made.put(key, value);
    return made;
}

Kind Value::kind() const noexcept {
    switch (in(*this).kind()) {
    case ValueKind::Nil: return Kind::Nil;
    case ValueKind::Bool: return Kind::Bool;
    case ValueKind::Int: return Kind::Int;
    case ValueKind::Float: return Kind::Float;
    case ValueKind::String: return Kind::String;
    case ValueKind::List: return Kind::List;
    case ValueKind::Map: return Kind::Map;
    case ValueKind::Function:
    case ValueKind::Native:
    case ValueKind::Closure: return Kind::Function;
    }
    return Kind::Nil;
}

const char* Value::typeName() const noexcept { return velmor::typeName(in(*this)); }
bool Value::truthy() const noexcept { return isTruthy(in(*this)); }

bool Value::asBool() const {
    if (!isBool()) wrongKind("a bool", in(*this));
    return in(*this).asBool();
}

std::int64_t Value::asInt() const {
    if (!isInt()) wrongKind("an integer", in(*this));
    return in(*this).asInt();
}

double Value::asFloat() const {
    if (!isFloat()) wrongKind("a float", in(*this));
    return in(*this).asFloat();
}

double Value::asNumber() const {
    if (!isNumber()) wrongKind("a number", in(*this));
    return asDouble(in(*this));
}

std::string_view Value::asString() const {
    if (!isString()) wrongKind("a string", in(*this));
    return in(*this).asString();
}

std::string Value::text() const { return toText(in(*this)); }
std::string Value::repr() const { return toRepr(in(*this)); }
bool Value::operator==(const Value& other) const { return valuesEqual(in(*this), in(other)); }

std::size_t Value::size() const {
    const velmor::Value& self = in(*this);
    if (self.isList()) return self.listItems().size();
    if (self.isMap()) return self.asMap().size();
    if (self.isString()) return self.asString().size();
    wrongKind("a list, map or string", self);
}

Value Value::at(std::size_t index) const {
    const ValueVector& items = listOf(in(*this));
    if (index >= items.size()) throw RuntimeError("list index " + std::to_string(index) + " out of range");
    return out(items[index]);
}

void Value::setAt(std::size_t index, Value item) {
    ValueVector& items = listOf(in(*this));
    if (index >= items.size()) throw RuntimeError("list index " + std::to_string(index) + " out of range");
    items[index] = std::move(in(item));
}

void Value::append(Value item) { listOf(in(*this)).push_back(std::move(in(item))); }

std::vector<Value> Value::items() const {
    const ValueVector& items = listOf(in(*this));
    std::vector<Value> copied;
    copied.reserve(items.size());
    for (const velmor::Value& item : items) copied.push_back(out(item));
    return copied;
}

Value Value::get(const Value& key) const {
    const velmor::Value* found = mapOf(in(*this)).find(checkKey(in(*this), in(key)));
    return found ? out(*found) : Value();
}

bool Value::contains(const Value& key) const { return mapOf(in(*this)).find(checkKey(in(*this), in(key))) != nullptr; }

void Value::put(const Value& key, Value value) {
    mapOf(in(*this)).set(checkKey(in(*this), in(key)), std::move(in(value)));
}

bool Value::erase(const Value& key) { return mapOf(in(*this)).remove(checkKey(in(*this), in(key))); }

std::vector<std::pair<Value, Value>> Value::entries() const {
    const MapData& map = mapOf(in(*this));
    std::vector<std::pair<Value, Value>> copied;
    copied.reserve(map.size());
    map.forEach([&](const MapEntry& entry) { copied.emplace_back(out(entry.key), out(entry.value)); });
    return copied;
}

std::string Value::functionName() const {
    if (!isFunction()) wrongKind("a function", in(*this));
    return velmor::functionName(in(*this));
}

// ---------------------------------------------------------------------------
// Interpreters

namespace {

// A host's native function as the engines see it.
struct HostNative final : HostFunction {
    HostNative(Interpreter** owner_, NativeFunction function_) : owner(owner_), function(std::move(function_)) {}

    velmor::Value call(Caller&, std::span<velmor::Value> args) override {
        std::vector<Value> arguments;
        arguments.reserve(args.size());
        for (const velmor::Value& argument : args) arguments.push_back(out(argument));
        Value result;
        try {
            result = function(**owner, arguments);
        } catch (const RuntimeError& error) {
            throw velmor::RuntimeError(error.what());
        }
        return std::move(in(result));
    }

    Interpreter** owner;  // the Interpreter's current address (it may move)
    NativeFunction function;
};

// print and input through the host's functions, either of which may be the
// standard stream.
struct HostConsole final : Console {
    void write(std::string_view text) override {
        if (output) {
            output(text);
        } else {
            std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
    }
    bool readLine(std::string& line) override {
        if (!input) {
            std::cout.flush();
            return velmor::readLine(std::cin, line);
        }
        std::optional<std::string> read = input();
        if (!read) return false;
        line = std::move(*read);
        return true;
    }

    std::function<void(std::string_view)> output;
    std::function<std::optional<std::string>()> input;
};

// Tells threads apart by the address of a thread-local object.
const void* currentThread() noexcept {
    thread_local const char marker = 0;
    return &marker;
}

}  // namespace

struct Interpreter::Impl {
    Impl(Interpreter* self, Options options_) : owner(self), options(options_), thread(currentThread()) {
        EngineOptions engineOptions;
        engineOptions.maxCallDepth = options.maxCallDepth;
        if (options.engine == Engine::Vm) {
            vm = std::make_unique<VM>(engineOptions);
            caller = vm.get();
            globals = vm->globals.get();
        } else {
            tree = std::make_unique<velmor::Interpreter>(engineOptions);
            caller = tree.get();
            globals = tree->globals.get();
        }
    }

    // Sets the running thread's limits for a run or call from the host, and
    // puts back what they were.
    class Running {
    public:
        explicit Running(Impl& impl) : impl_(impl), saved_(executionLimits()) {
            ExecutionLimits& running = executionLimits();
            running.stepsEnabled = true;
            running.stepsLeft = impl.limits.steps;
            running.allocationLeft = impl.limits.allocation;
            running.maxContainerSize = impl.limits.maxContainerSize;
            impl.lock.lock();
            impl.runningRequest = &interruptRequested();
            impl.runningRequest->store(false, std::memory_order_relaxed);
            impl.lock.unlock();
            ++impl.depth;
        }
        ~Running() {
            --impl_.depth;
            impl_.lock.lock();
            impl_.runningRequest->store(false, std::memory_order_relaxed);
            impl_.runningRequest = nullptr;
            impl_.lock.unlock();
            executionLimits() = saved_;
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        Impl& impl_;
        ExecutionLimits saved_;
    };

    static Result errorResult(const VelmorError& error, std::string_view source, std::string_view sourceName) {
        Result result;
        result.file = std::string(sourceName);
        result.status = error.label == kCompileErrorLabel                              ? Status::CompileError
                        : dynamic_cast<const velmor::RuntimeError*>(&error) != nullptr ? Status::RuntimeError
                                                                                       : Status::SyntaxError;
        result.message = error.message;
        result.line = error.line;
        result.column = error.column;
        result.report = formatReport(error, source, sourceName);
        return result;
    }

    // The result of the exception being handled, for this source; what is
    // not a script's failure (a host's own exception) goes on.
    Result failure(std::string_view source, std::string_view sourceName) {
        Result result;
        result.file = std::string(sourceName);
        try {
            throw;
        } catch (const VelmorError& error) {
            return errorResult(error, source, sourceName);
        } catch (const ThrownValue& thrown) {
            result.status = Status::Raised;
            result.message = toText(thrown.value);
            result.raised = out(thrown.value);
            result.report = thrownValueReport(thrown);
        } catch (const BudgetExhausted& exhausted) {
            result.status = Status::BudgetExhausted;
            result.message = exhausted.budget == BudgetExhausted::Budget::Steps ? "step budget exhausted"
                                                                                : "allocation budget exhausted";
            result.report = result.message;
        } catch (const Interrupted&) {
            result.status = Status::Interrupted;
            result.message = kInterruptedReport;
            result.report = kInterruptedReport;
        } catch (const std::bad_alloc& failure) {
            result.status = Status::RuntimeError;
            result.report = systemFailureReport(failure);
            result.message = result.report.substr(result.report.find(": ") + 2);
        }
        return result;
    }

    // An interpreter's values share caches of the thread that made it (its
    // one-byte strings, its type names), whose counts are not atomic and
    // which go when that thread ends: it is used on that thread only.
    void checkThread() const {
        if (currentThread() != thread)
            throw std::logic_error("velmor: an interpreter is used only on the thread that created it");
    }

    // The host's console while it has taken print or input over.
    void useConsole() { caller->setConsole(console.output || console.input ? &console : nullptr); }

    Interpreter* owner;
    Options options;
    const void* thread;
    // Every tree the tree-walker ran: its functions point into them, so the
    // trees go after the engine.
    std::vector<StmtList> trees;
    std::unique_ptr<VM> vm;
    std::unique_ptr<velmor::Interpreter> tree;
    Caller* caller = nullptr;
    Environment* globals = nullptr;
    // The last source run, for the reports of calls made after it.
    std::string lastSource;
    std::string lastSourceName;
    Limits limits;
    HostConsole console;
    int depth = 0;                                // runs and calls under way, nested ones included
    SpinLock lock;                                // guards runningRequest
    std::atomic<bool>* runningRequest = nullptr;  // guarded by `lock`
};

Interpreter::Interpreter(Options options) : impl_(std::make_unique<Impl>(this, options)) {}
Interpreter::~Interpreter() = default;

Interpreter::Interpreter(Interpreter&& other) noexcept : impl_(std::move(other.impl_)) {
    if (impl_) impl_->owner = this;
}

Interpreter& Interpreter::operator=(Interpreter&& other) noexcept {
    impl_ = std::move(other.impl_);
    if (impl_) impl_->owner = this;
    return *this;
}

Engine Interpreter::engine() const noexcept { return impl_->options.engine; }

void Interpreter::defineFunction(std::string_view name, int minArity, int maxArity, NativeFunction function) {
    impl_->checkThread();
    const std::string key(name);
    auto host = makeRef<HostNative>(&impl_->owner, std::move(function));
    impl_->globals->define(
        key, velmor::Value(makeRef<NativeObj>(key, Ref<HostFunction>(host), minArity, maxArity < 0 ? -1 : maxArity)));
}

bool Interpreter::hasGlobal(std::string_view name) const {
    impl_->checkThread();
    return impl_->globals->vars.find(std::string(name)) != impl_->globals->vars.end();
}

Value Interpreter::global(std::string_view name) const {
    impl_->checkThread();
    const auto found = impl_->globals->vars.find(std::string(name));
    return found == impl_->globals->vars.end() ? Value() : out(found->second);
}

void Interpreter::setGlobal(std::string_view name, Value value) {
    impl_->checkThread();
    impl_->globals->define(std::string(name), std::move(in(value)));
}

bool Interpreter::removeGlobal(std::string_view name) {
    impl_->checkThread();
    if (impl_->depth > 0) throw std::logic_error("velmor: a global cannot be removed while a script runs");
    // The tree-walker forgets what names resolved to at the start of every run.
    if (impl_->vm) return impl_->vm->removeGlobal(std::string(name));
    return impl_->globals->vars.erase(std::string(name)) != 0;
}

Result Interpreter::run(std::string_view source, std::string_view sourceName) {
    impl_->checkThread();
    if (impl_->depth > 0) throw std::logic_error("velmor: a script cannot run while another runs");
    Impl& impl = *impl_;
    impl.lastSource = std::string(source);
    impl.lastSourceName = std::string(sourceName);
    const std::string_view text = impl.lastSource;
    impl.useConsole();
    try {
        const Impl::Running running(impl);
        StmtList statements = parseSource(text);
        if (impl.vm) {
            impl.vm->run(compileProgram(statements));
        } else {
            impl.trees.push_back(std::move(statements));
            impl.tree->run(impl.trees.back());
        }
    } catch (...) {
        return impl.failure(text, sourceName);
    }
    Result result;
    result.file = std::string(sourceName);
    return result;
}

Result Interpreter::runFile(const std::string& path) {
    SourceFile file = readSourceFile(path);
    if (!file.opened) {
        Result result;
        result.status = Status::RuntimeError;
        result.file = path;
        result.report = cannotOpenReport(path);
        result.message = result.report.substr(std::strlen("velmor: "));
        return result;
    }
    return run(file.text, path);
}

Result Interpreter::call(const Value& function, std::span<const Value> args) {
    impl_->checkThread();
    Impl& impl = *impl_;
    std::vector<velmor::Value> arguments;
    arguments.reserve(args.size());
    for (const Value& argument : args) arguments.push_back(in(argument));
    Result result;
    if (impl.depth > 0) {
        // Called back from a native function: failures go on to the script.
        result.value = out(impl.caller->call(in(function), std::move(arguments)));
        return result;
    }
    impl.useConsole();
    try {
        const Impl::Running running(impl);
        result.value = out(impl.caller->call(in(function), std::move(arguments)));
    } catch (...) {
        return impl.failure(impl.lastSource, impl.lastSourceName);
    }
    result.file = impl.lastSourceName;
    return result;
}

Result Interpreter::call(const Value& function, std::initializer_list<Value> args) {
    return call(function, std::span<const Value>(args.begin(), args.size()));
}

Result Interpreter::callGlobal(std::string_view name, std::initializer_list<Value> args) {
    if (!hasGlobal(name)) {
        // The message the engines give a script that names it.
        const velmor::RuntimeError error(kUndefinedVariablePrefix + std::string(name) + "'");
        return Impl::errorResult(error, impl_->lastSource, impl_->lastSourceName);
    }
    return call(global(name), args);
}

void Interpreter::setLimits(const Limits& limits) { impl_->limits = limits; }
const Limits& Interpreter::limits() const noexcept { return impl_->limits; }

bool Interpreter::interrupt() noexcept {
    Impl& impl = *impl_;
    impl.lock.lock();
    const bool running = impl.runningRequest != nullptr;
    if (running) impl.runningRequest->store(true, std::memory_order_relaxed);
    impl.lock.unlock();
    return running;
}

void Interpreter::setOutput(std::function<void(std::string_view text)> output) {
    impl_->console.output = std::move(output);
}

void Interpreter::setInput(std::function<std::optional<std::string>()> input) {
    impl_->console.input = std::move(input);
}

}  // namespace velmor::embed
