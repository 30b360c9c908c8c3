#pragma once

// Native functions and what both engines offer them.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "../value.h"

namespace velmor {

struct Environment;

// Where print writes and input reads for an engine whose host has taken
// them over (the embedding API); engines without one use the standard streams.
class Console {
public:
    virtual ~Console() = default;
    virtual void write(std::string_view text) = 0;
    // One line, without its line feed; false at the end of the input.
    virtual bool readLine(std::string& line) = 0;
};

// The running engine, as a builtin sees it: builtins that take functions
// (map, filter, reduce, sort with a comparator) call user code back through
// it. Errors raised by the called function propagate out of `call` unchanged.
class Caller {
public:
    virtual ~Caller() = default;
    virtual Value call(const Value& callee, std::vector<Value> args) = 0;
    // The same call with the arguments copied from where they are; an engine
    // may override it to skip building the vector (map and filter call it per element).
    virtual Value callWith(const Value& callee, std::span<const Value> args) {
        return call(callee, std::vector<Value>(args.begin(), args.end()));
    }
    // The same call with two arguments (sort's comparator, reduce's
    // function); an engine may override it to copy them straight to where the
    // callee reads them.
    virtual Value callPair(const Value& callee, const Value& first, const Value& second) {
        const Value pair[2] = {first, second};
        return callWith(callee, pair);
    }
    // Sorts `items` stably by `less`, called as less(a, b) with a truthy
    // result for "a before b" (sort's comparator), when the engine has a
    // way of its own that checks once what holds for every call of the sort;
    // false leaves the sort to the builtin, which calls callPair each time.
    // The builtin's own sort runs in its frame, so that sorts nested through
    // comparators take no more native stack than any other callback.
    virtual bool sortBy(ValueVector& /*items*/, const Value& /*less*/) { return false; }

    // The host's console, or null for the standard streams.
    Console* console() const { return console_; }
    void setConsole(Console* console) { console_ = console; }

private:
    Console* console_ = nullptr;
};

// Every builtin has this signature. The arguments are a view of the caller's
// argument storage (the VM passes its own stack slots); a builtin may move
// values out of it. The engine has already checked the argument count.
using NativeFn = Value (*)(Caller& caller, std::span<Value> args);

// A native function that a host program defines, with whatever state it
// keeps; the engines call it as they call a builtin.
struct HostFunction : Object {
    virtual Value call(Caller& caller, std::span<Value> args) = 0;
};

struct NativeObj final : Callable {
    NativeObj(std::string name, NativeFn fn_, int32_t minArity_, int32_t maxArity_)
        : nativeName(std::move(name)), fn(fn_), minArity(minArity_), maxArity(maxArity_) {}
    NativeObj(std::string name, Ref<HostFunction> host_, int32_t minArity_, int32_t maxArity_)
        : nativeName(std::move(name)), host(std::move(host_)), minArity(minArity_), maxArity(maxArity_) {}
    const std::string& name() const override { return nativeName; }

    std::string nativeName;
    NativeFn fn = nullptr;   // a builtin's function; null for a host's
    Ref<HostFunction> host;  // a host's function; null for a builtin
    int32_t minArity = 0;
    int32_t maxArity = -1;  // -1: no upper bound
};

// Calls a builtin or a host's native function; the count is checked. The
// function pointer is read for a builtin's call anyway, so telling the two
// apart costs a builtin one test.
inline Value invokeNative(NativeObj& native, Caller& caller, std::span<Value> args) {
    if (const NativeFn fn = native.fn) [[likely]]
        return fn(caller, args);
    return native.host->call(caller, args);
}

// Whether `count` arguments suit the native, and the message when they do not:
// name + "() expects " + (1+ | 2 | 1-3) + " argument(s), got " + count.
inline bool arityAccepts(const NativeObj& native, std::size_t count) {
    const auto n = static_cast<int64_t>(count);
    return n >= native.minArity && (native.maxArity < 0 || n <= native.maxArity);
}
std::string arityMessage(const NativeObj& native, std::size_t count);

void defineNative(Environment& globals, const std::string& name, NativeFn fn, int32_t minArity, int32_t maxArity);

// Binds the 78 builtins in table order, then PI and E.
void registerBuiltins(Environment& globals);

// The names and bounds of every builtin, in registration order (for the
// documentation and the editor grammar checks).
struct BuiltinInfo {
    const char* name;
    NativeFn fn;
    int32_t minArity;
    int32_t maxArity;
};
std::span<const BuiltinInfo> builtinTable();

// What type(value) gives: "nil", "bool", "number", "string", "list", "map" or "function".
Value kindName(const Value& value);

// push(list, values...). The VM appends a single value itself where a
// statement calls push, and tells push from the other builtins by this.
Value nativePush(Caller& caller, std::span<Value> args);

// The shared numeric-argument helper: an Int or Float as a double, else
// RuntimeError name + ": expected a number, got " + type name.
double toNumber(const Value& value, const char* name);

}  // namespace velmor
