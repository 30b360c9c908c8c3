#pragma once

// Velmor as a library: a host program creates interpreters, gives them native
// functions, runs scripts on them and trades values with them.
//
// Ownership in one paragraph. A Value of kind nil, bool, Int or Float is a
// plain copy. A string, list, map or function Value shares one object inside
// the engine with every other copy of it (the script's included), counted by
// a reference count that is not atomic: copying a Value adds a reference,
// destroying it drops one, and the object goes when the last reference goes.
// Lists and maps are mutable and shared, so a change made through one Value
// is seen through every other, the script's variables included; strings are
// immutable. A Value may outlive the Interpreter that made it (it keeps its
// object alive), but a function Value can be called only on the interpreter
// that made it, and no Value may be used on two threads at once: values
// built or returned on one thread stay with that thread's interpreter.
// Nothing here is a pointer the host must free.
//
// Threads. Interpreters share nothing: each may run on its own thread, at
// the same time as the others. An interpreter, and every Value that came
// from it, is used only on the thread that created the interpreter, and goes
// before that thread ends; a call from another thread throws
// std::logic_error. Only interrupt() may be called from any thread, at any
// time. (Create an interpreter on the thread that will run it.)
//
// Errors. A script's failure is never an exception to the host: run and
// call return a Result. Inside a native function the host raises a runtime
// error by throwing velmor::embed::RuntimeError, which the script sees as
// it sees a builtin's error (a `try` can catch it). Reading a Value as the
// wrong kind throws the same RuntimeError, so a native function that reads
// its arguments without checking fails the script cleanly.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(_WIN32) || defined(__CYGWIN__)
#define VELMOR_API
#else
#define VELMOR_API __attribute__((visibility("default")))
#endif

namespace velmor::embed {

// "Velmor " and this is what `velmor --version` prints.
VELMOR_API const char* version();

// Which engine runs the scripts: the bytecode VM (the `velmor` program's
// default) or the tree-walking interpreter (`velmor --tree`).
enum class Engine { Vm, TreeWalker };

enum class Kind { Nil, Bool, Int, Float, String, List, Map, Function };

// The error a native function raises, and what reading a Value as the
// wrong kind throws. The message is the script's error message as is, so
// it should begin with the function's name and a colon, as builtins' do.
class VELMOR_API RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const std::string& message) : std::runtime_error(message) {}
};

class Interpreter;

class VELMOR_API Value {
public:
    // nil
    Value() noexcept;
    Value(std::nullptr_t) noexcept : Value() {}
    Value(bool boolean) noexcept;
    // An Int (64-bit, two's complement); unsigned values above INT64_MAX wrap.
    template <class Integer>
    requires(std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>) Value(Integer number)
    noexcept : Value(std::int64_t(number), IntTag{}) {}
    // A Float.
    Value(double number) noexcept;
    // A string: the bytes are copied, whatever they are.
    Value(std::string_view bytes);
    Value(const char* bytes) : Value(std::string_view(bytes)) {}
    Value(const std::string& bytes) : Value(std::string_view(bytes)) {}

    // A new list holding copies of the items.
    static Value list(std::initializer_list<Value> items = {});
    static Value list(std::span<const Value> items);
    // A new map of these entries, in order; keys must be strings or numbers.
    static Value map(std::initializer_list<std::pair<Value, Value>> entries = {});

    Value(const Value& other) noexcept;
    Value(Value&& other) noexcept;
    Value& operator=(const Value& other) noexcept;
    Value& operator=(Value&& other) noexcept;
    ~Value();

    Kind kind() const noexcept;
    // The name type() gives: "nil", "bool", "number", "string", "list", "map", "function".
    const char* typeName() const noexcept;
    bool isNil() const noexcept { return kind() == Kind::Nil; }
    bool isBool() const noexcept { return kind() == Kind::Bool; }
    bool isInt() const noexcept { return kind() == Kind::Int; }
    bool isFloat() const noexcept { return kind() == Kind::Float; }
    bool isNumber() const noexcept { return isInt() || isFloat(); }
    bool isString() const noexcept { return kind() == Kind::String; }
    bool isList() const noexcept { return kind() == Kind::List; }
    bool isMap() const noexcept { return kind() == Kind::Map; }
    bool isFunction() const noexcept { return kind() == Kind::Function; }
    // Everything but nil and false, as `if` sees it.
    bool truthy() const noexcept;

    // The payload; each throws RuntimeError for another kind.
    bool asBool() const;
    std::int64_t asInt() const;
    double asFloat() const;
    // An Int or a Float as a double.
    double asNumber() const;
    // The bytes of a string, valid while this Value (or a copy) holds it.
    std::string_view asString() const;

    // The text print and str give, and the quoted one of repr.
    std::string text() const;
    std::string repr() const;
    // The language's ==.
    bool operator==(const Value& other) const;

    // Lists (each throws RuntimeError for another kind or an index out of range).
    // size() also counts a map's entries and a string's bytes.
    std::size_t size() const;
    Value at(std::size_t index) const;
    void setAt(std::size_t index, Value item);
    void append(Value item);
    // Copies of the items, in order.
    std::vector<Value> items() const;

    // Maps (each throws RuntimeError for another kind or a key that is not a
    // string or a number). An Int and a Float of equal value are one key.
    // The value for the key, or nil.
    Value get(const Value& key) const;
    bool contains(const Value& key) const;
    // Replaces the entry's value, or adds an entry at the end.
    void put(const Value& key, Value value);
    // Whether there was an entry to remove.
    bool erase(const Value& key);
    // Copies of the entries, in insertion order.
    std::vector<std::pair<Value, Value>> entries() const;

    // A function's name, as the script's reports show it.
    std::string functionName() const;

private:
    friend struct ValueAccess;
    struct IntTag {};
    Value(std::int64_t number, IntTag) noexcept;
    // An engine value; its layout is the engine's own business.
    alignas(8) unsigned char storage_[16];
};

// How a run or a call ended.
enum class Status {
    Ok,
    SyntaxError,      // the lexer or the parser refused the source
    CompileError,     // the compiler refused it (VM only: break outside a loop, ...)
    RuntimeError,     // a runtime error, a stack overflow, or a native function's error
    Raised,           // a value raised with error() that nothing caught (Result::raised)
    BudgetExhausted,  // the step or allocation budget ran out
    Interrupted,      // interrupt() stopped it
};

struct VELMOR_API Result {
    Status status = Status::Ok;
    // The error's message, without label or position.
    std::string message;
    // The position of the error; 0 where unknown (VM runtime errors have no column).
    int line = 0;
    int column = 0;
    // The source name the run was given (a file's path).
    std::string file;
    // The report exactly as the `velmor` program prints it on standard error, without the final line feed.
    std::string report;
    // What a call returned; nil for a run.
    Value value;
    // The value given to error(), for Status::Raised.
    Value raised;

    bool ok() const noexcept { return status == Status::Ok; }
    explicit operator bool() const noexcept { return ok(); }
};

// Bounds for each run and call started from the host; every one starts afresh.
inline constexpr std::uint64_t kUnlimited = UINT64_MAX;
struct Limits {
    // Loop back-edges and calls ("step budget exhausted").
    std::uint64_t steps = kUnlimited;
    // Bytes of new strings plus elements of new lists ("allocation budget exhausted").
    std::uint64_t allocation = kUnlimited;
    // The largest string (bytes) or list (elements) a script may build ("result too large").
    std::size_t maxContainerSize = std::size_t{1} << 31;
};

struct Options {
    Engine engine = Engine::Vm;
    // The most calls active at once ("call stack overflow" beyond); at most 4,096.
    std::size_t maxCallDepth = 4096;
};

// A native function: the interpreter running it and the arguments, whose
// number the interpreter has checked against the arity range. It returns its
// result (nil for nothing) or throws RuntimeError.
using NativeFunction = std::function<Value(Interpreter& interpreter, std::span<const Value> args)>;
// An arity range without an upper bound.
inline constexpr int kVariadic = -1;

class VELMOR_API Interpreter {
public:
    // A fresh interpreter with the 78 builtins, PI and E.
    explicit Interpreter(Options options = {});
    ~Interpreter();
    Interpreter(Interpreter&& other) noexcept;
    Interpreter& operator=(Interpreter&& other) noexcept;
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    Engine engine() const noexcept;

    // Defines (or replaces) a global function taking minArity to maxArity
    // arguments (kVariadic: any number from minArity). A builtin of that
    // name is replaced for every script run from then on.
    void defineFunction(std::string_view name, int minArity, int maxArity, NativeFunction function);

    // Globals: builtins, the host's functions and the scripts' `let`s at the top level.
    bool hasGlobal(std::string_view name) const;
    // The global's value, or nil when there is none.
    Value global(std::string_view name) const;
    void setGlobal(std::string_view name, Value value);
    // Removes a global (a builtin too: `input`, say), so that scripts that
    // name it fail with "undefined variable"; whether there was one. Not
    // while a script runs (std::logic_error).
    bool removeGlobal(std::string_view name);

    // Runs source text; `sourceName` names it in reports. Globals it
    // defines stay for later runs and calls.
    Result run(std::string_view source, std::string_view sourceName = "<embed>");
    // Runs a file, read in binary mode; a file that cannot be read is a
    // RuntimeError result with the report "velmor: cannot open " and the path.
    Result runFile(const std::string& path);
    // Calls a function value (or the global function of that name) with arguments.
    // From inside a native function, a call that fails is not returned but
    // passed on to the script, as a builtin's callback's failure is.
    Result call(const Value& function, std::span<const Value> args = {});
    Result call(const Value& function, std::initializer_list<Value> args);
    Result callGlobal(std::string_view name, std::initializer_list<Value> args = {});

    // Bounds for the next runs and calls.
    void setLimits(const Limits& limits);
    const Limits& limits() const noexcept;

    // Ends the script this interpreter is running with Status::Interrupted,
    // at its next loop back-edge or call; from any thread. Whether a script
    // was running: a request when none runs is dropped.
    bool interrupt() noexcept;

    // Where print (and input's prompt) write: the host's function, or
    // standard output when it is empty (the default).
    void setOutput(std::function<void(std::string_view text)> output);
    // Where input reads a line (without its line feed; nullopt at the end of
    // the input, which input() returns as nil): the host's function, or
    // standard input when it is empty (the default).
    void setInput(std::function<std::optional<std::string>()> input);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmor::embed
