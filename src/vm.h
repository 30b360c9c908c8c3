#pragma once

// The virtual machine: runs compiled prototypes on one fixed-size value stack.
// The invariants that the implementation relies on open vm.cpp.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "builtins/native.h"
#include "bytecode.h"
#include "call_trace.h"
#include "debug_hook.h"
#include "engine_options.h"
#include "environment.h"
#include "operations.h"
#include "quicken.h"
#include "value.h"

namespace velmor {

struct Upvalue final : Object {
    explicit Upvalue(Value* location_) : location(location_) {}

    Value* location;  // a stack slot while open, &closed once closed
    Value closed;
};

struct VMClosure final : Callable {
    explicit VMClosure(Ref<FunctionProto> proto_) : proto(std::move(proto_)) {}
    const std::string& name() const override { return proto->name; }

    Ref<FunctionProto> proto;
    std::vector<Ref<Upvalue>> upvalues;
    // The running VM's cache of global bindings for this prototype, one entry
    // per constant; bound when a VM first calls the closure.
    const void* cacheOwner = nullptr;
    Value** globalCache = nullptr;
    // That VM's quickened copy of the prototype's code: same length, same
    // offsets, so the prototype's line table and jump distances apply to it.
    const uint8_t* code = nullptr;
    // That VM's copy of the constants, strings shared with equal ones of other prototypes.
    const Value* constants = nullptr;
    // Per code offset, where a field access there last found its key in a map.
    uint32_t* fieldHints = nullptr;
};

class VM final : public Caller, public DebugTarget {
public:
    static constexpr std::size_t kStackSize = 65536;
    static constexpr std::size_t kMaxFrames = 4096;

    // An instruction of a running frame, for the line of an error it raises:
    // the line table is read only when there is an error. No closure: line 0.
    struct Site {
        const VMClosure* closure = nullptr;
        const uint8_t* ip = nullptr;  // just past the instruction's opcode or operand bytes read
        int32_t line() const;
    };

    explicit VM(EngineOptions options = defaultEngineOptions());
    ~VM() override;
    VM(const VM&) = delete;
    VM& operator=(const VM&) = delete;

    // Runs a top-level prototype; what the top-level code returned (nil unless a top-level return gave a value).
    Value run(Ref<FunctionProto> script);

    Value call(const Value& callee, std::vector<Value> args) override;
    Value callWith(const Value& callee, std::span<const Value> args) override;
    Value callPair(const Value& callee, const Value& first, const Value& second) override;
    bool sortBy(ValueVector& items, const Value& less) override;

    // Bindings may be added and changed; removed only through removeGlobal,
    // since the machine caches their addresses.
    Ref<Environment> globals;
    // Removes a global binding between runs, and forgets every cached
    // address; whether there was one.
    bool removeGlobal(const std::string& name);

    // Records into `trace` the frames of every error that escapes a run
    // (null: none, the default). Set before running.
    void traceCalls(CallTrace* trace);

    // Calls `hook` at every new line and every raised error (null: none, the
    // default). Set before running, on a plain machine: the quickened code
    // fuses instructions across statements.
    void debugWith(DebugHook* hook);

    std::size_t debugFrameCount() const override { return frameCount_; }
    DebugFrame debugFrame(std::size_t index) const override;
    std::vector<DebugVariable> debugLocals(std::size_t index) override;
    std::vector<DebugVariable> debugUpvalues(std::size_t index) override;
    Environment& debugGlobals() override { return *globals; }
    Caller& debugCaller() override { return *this; }

    // Introspection for tests: the machine is back at rest after every run.
    std::size_t stackSize() const { return static_cast<std::size_t>(top_ - stack_.get()); }
    std::size_t frameCount() const { return frameCount_; }
    std::size_t handlerCount() const { return handlers_.size(); }
    std::size_t openUpvalueCount() const { return openUpvalues_.size(); }

private:
    struct CallFrame {
        // Borrowed: the callee value in the slot just below `slots` keeps the closure alive.
        VMClosure* closure;
        const uint8_t* ip;
        Value* slots;
        Value** globalCache;
    };

    struct TryHandler {
        std::size_t frameCount;  // frames when the handler was installed, its own frame included
        std::size_t stackHeight;
        const uint8_t* handlerIp;
    };

    // Whether a builtin's call back of `callee` takes the fast path (callBack).
    [[gnu::always_inline]] inline bool callsBackFast(const Value& callee, std::size_t argumentCount) const;
    // Calls `closure` back from a builtin, which holds it for the call:
    // pushArguments(slot) constructs the arguments from `slot` up and returns
    // the new top.
    template <class PushArguments>
    [[gnu::always_inline]] inline Value callBack(VMClosure& closure, PushArguments pushArguments);
    // A call from outside a run, or of a callee that callBack does not take.
    [[gnu::noinline]] Value callGeneral(const Value& callee, std::span<const Value> args);
    [[gnu::always_inline]] inline Value runLoop(std::size_t targetDepth);
    Value execute(std::size_t targetDepth);

    // Starts a call of the callee in `calleeSlot` with the `argumentCount`
    // values above it. True when a closure frame was pushed; false when a
    // native ran and its result replaced the callee and arguments.
    bool callValue(Value* calleeSlot, std::size_t argumentCount, Site site);
    void pushFrame(VMClosure& closure, Value* slots, Site site);
    // Pushes the frame; the caller has checked the frame limit.
    void enterFrame(VMClosure& closure, Value* slots) {
        if (closure.cacheOwner != this) bindGlobalCache(closure);
        frames_[frameCount_++] = CallFrame{&closure, closure.code, slots, closure.globalCache};
    }
    // The same, for the instruction loop, above its running frame `current`:
    // returns the frame, so that the loop need not read it back. The frame's
    // ip is left unset: the loop keeps it and stores it before any call.
    CallFrame* enterFrameInLoop(CallFrame* current, VMClosure& closure, Value* slots) {
        if (closure.cacheOwner != this) [[unlikely]]
            bindGlobalCache(closure);
        ++frameCount_;
        CallFrame* const entered = current + 1;
        entered->closure = &closure;
        entered->slots = slots;
        entered->globalCache = closure.globalCache;
        return entered;
    }
    void bindGlobalCache(VMClosure& closure);
    Value* globalSlot(Value** cache, std::size_t constantIndex, const Value& name);
    void callNative(NativeObj& native, Value* calleeSlot, std::size_t argumentCount, Site site);

    bool handleError(Value caught, std::size_t targetDepth);
    // Adds to the trace the frames above `targetDepth` that an error leaves:
    // the builtin the top one was calling, if the error came out of one, then
    // each frame with the line it was running. `errorLine` is the error's own.
    [[gnu::cold, gnu::noinline]] void traceFrames(std::size_t targetDepth, int32_t errorLine);
    // The debugger's trap before the instruction whose opcode is just before
    // `ip`: calls the hook when the running frame comes to a new line.
    [[gnu::noinline]] void debugStep(const uint8_t* ip);
    [[gnu::cold, gnu::noinline]] void debugRaised(const Value& error, bool thrown);
    // The frame `index` frames out from the innermost, and the height of its part of the stack.
    const CallFrame& frameAt(std::size_t index) const { return frames_[frameCount_ - 1 - index]; }
    std::size_t frameHeight(std::size_t index) const;

    // Restores the machine to `depth` frames and a stack cut at `height`, closing upvalues above it.
    void unwindTo(std::size_t depth, Value* height);

    Ref<Upvalue> captureUpvalue(Value* slot);
    void closeUpvalues(Value* from);

    // The slot at `top_` holds no reference, so pushing constructs over it without releasing anything.
    void push(Value value) {
        if (top_ == stackEnd_) stackOverflow();
        new (top_++) Value(std::move(value));
    }
    void pushCopy(const Value& value) {
        if (top_ == stackEnd_) stackOverflow();
        new (top_++) Value(value);
    }
    Value pop() { return std::move(*--top_); }
    void drop() {
        --top_;
        if (top_->isObject()) Value released(std::move(*top_));
    }
    void cutStack(Value* height) {
        while (top_ > height) drop();
    }

    [[noreturn]] static void stackOverflow();
    [[noreturn]] static void runtimeError(std::string message, int32_t line);
    // A failed operator rule, worded as the VM words it.
    [[noreturn, gnu::cold]] static void operationError(OperationError error, const Value& first, const Value& second,
                                                       BinaryOp op, Site site);

    // Slow paths of the instruction loop; each works on the top of the stack.
    void addSlow(Site site);
    // Where the instruction at `ip` stores the value on top of the stack,
    // when it is a store into a variable or into an element that exists:
    // the place, found without raising anything; else nullptr. With
    // `spare`, string constants added before the store are passed over and
    // their lengths added to *spare.
    Value* storeTarget(const uint8_t* ip, std::size_t* spare = nullptr);
    void arithmeticSlow(BinaryOp op, Site site);
    void compareSlow(BinaryOp op, Site site);
    [[noreturn]] void negateSlow(Site site);
    void getIndexSlow(Site site);
    void getIndexKeepSlow(Site site);
    void setIndex(Site site);
    void buildList(std::size_t count);
    void buildMap(std::size_t count, Site site);
    void iterList(Site site);
    void length(Site site);
    [[noreturn]] void forTestSlow(Site site);
    void makeClosure(CallFrame& frame, std::size_t protoIndex);
    void defineGlobal(const Value& name);
    [[noreturn]] void undefinedVariable(const Value& name, Site site);
    [[noreturn]] void undefinedAssignment(const Value& name, Site site);

    // Frees the stack without running the slots' destructors: once the stack
    // is cut back to its bottom, no slot holds a reference (invariant 2).
    struct StackStorage {
        void operator()(Value* slots) const { std::free(slots); }
    };
    static Value* allocateStack();
    std::unique_ptr<Value, StackStorage> stack_;
    Value* top_ = nullptr;
    Value* stackEnd_ = nullptr;
    std::unique_ptr<CallFrame[]> frames_;
    std::size_t frameCount_ = 0;
    std::vector<Ref<Upvalue>> openUpvalues_;
    std::vector<TryHandler> handlers_;
    CallTrace* trace_ = nullptr;
    DebugHook* debugHook_ = nullptr;
    // Per frame depth, the line its frame was last seen at by the trap; the depth then.
    std::vector<int32_t> debugLines_;
    std::size_t debugDepth_ = 0;
    // The error being unwound was shown to the hook already (a builtin's
    // callback passes it on to the run loop outside).
    bool debugErrorShown_ = false;
    // Closed upvalues that hold the closure holding them, freed with the machine.
    std::vector<Ref<Upvalue>> selfCycles_;
    // No quickening, global caches or field hints (engine_options.h).
    const bool plain_;
    const std::size_t maxFrames_;  // at most kMaxFrames
    // Builtins that call back start a nested run loop on the native stack;
    // none starts below this address (nativeStackBudget() below the outermost
    // entry into the machine), 0 outside a run.
    std::uintptr_t callbackStackLimit_ = 0;
    // Per prototype, the address of each global binding its constants name,
    // filled on first use. Bindings are never removed from `globals`, and an
    // unordered_map keeps its elements in place, so the addresses stay valid.
    // The cache holds its prototype so that no other one can reuse its address.
    // It also keeps the prototype's quickened code.
    struct GlobalCache {
        Ref<FunctionProto> proto;
        std::unique_ptr<Value*[]> slots;
        std::unique_ptr<uint8_t[]> code;
        std::unique_ptr<Value[]> constants;
        std::unique_ptr<uint32_t[]> fieldHints;
        // What sort may compare without calling the prototype (none on a plain machine).
        ComparatorForm comparator;
    };
    // One string Value per distinct constant text, so that map keys written
    // from constants and field names read with constants are the same object.
    std::unordered_map<std::string_view, Value> internedConstants_;
    std::unordered_map<const FunctionProto*, GlobalCache> globalCaches_;
};

}  // namespace velmor
