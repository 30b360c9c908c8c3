// The virtual machine.
//
// When working on this file, keep these rules for correctness:
//
// 1. The value stack is one array of kStackSize values allocated in the
//    constructor and never reallocated, so a pointer to a slot stays valid for
//    the machine's whole life. Open upvalues and frames point straight into it.
// 2. Slots at and above `top_` never hold a reference to an object: popping an
//    object moves it out (leaving nil) or overwrites it with nil. A number or a
//    bool may be left behind there, which lets the arithmetic fast paths pop an
//    operand by moving the top alone, and pushes construct over such slots.
// 3. The frame array never reallocates either, so a `CallFrame*` stays valid
//    while its frame is active. A frame borrows its closure: the callee value
//    just below the frame's slots holds the reference, and nothing writes that
//    slot while the frame runs. A closure called back by a builtin (callBack)
//    is held by the builtin instead, and its callee slot holds no reference.
// 4. The running frame's ip and the stack top live in locals of the
//    instruction loop. The ip is written back to the frame only before a call;
//    the top is written back to `top_` before anything that reads it or may
//    throw (PROTECT), and read again after. Error recovery and returns reload
//    everything from the frame array.
// 5. `openUpvalues_` owns one reference to every upvalue that still points
//    into the stack; closures own the rest. An upvalue is closed (its value
//    copied into itself) before the slot it points at is popped, whether by
//    OP_CLOSE_UPVALUE, a return, error recovery or the machine's destruction.
// 6. A handler belongs to the frame that installed it. It is dropped by
//    OP_END_TRY, by the return of that frame, or when it catches an error;
//    so a handler never outlives its call, and an error raised inside handler
//    code goes to the next handler out.
// 7. A run loop started by a builtin calling back (`call`) owns only the frames
//    and handlers above its target depth. An error that no such handler
//    catches leaves it, and `call` cuts frames, handlers and stack back to
//    where the builtin called it before passing the error on.
// 8. A runtime error raised by an instruction carries the line of that
//    instruction, read from the byte before `ip` (operand bytes repeat their
//    opcode's line), and column 0. Errors raised by natives keep their own
//    position; "stack overflow" and errors of calls made through `call` have
//    line 0.
// 9. Global bindings are removed from `globals` only between runs
//    (removeGlobal), which forgets every cached address, and an unordered_map
//    never moves its elements, so the address of a binding, once looked up,
//    is cached per prototype and constant until then.
// 10. Frames run the machine's quickened copy of a prototype's code
//    (quicken.h): same length, offsets and operands as the compiled code, so
//    lines, jump distances and handler addresses computed on it mean what
//    they mean on the prototype. A fused instruction either finishes its
//    whole sequence on its fast path or starts the sequence's first
//    instruction as compiled, and reads no opcode byte but its own.

#include "vm.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "builtins/comparator_sort.h"
#include "builtins/stable_sort.h"
#include "error.h"
#include "execution_limits.h"
#include "native_stack.h"
#include "operations.h"
#include "quicken.h"

namespace velmor {

namespace {

// Stores a number or bool into a slot that holds no reference, skipping the release check.
template <class T>
inline void storePlain(Value& slot, T value) {
    new (&slot) Value(value);
}

// The numeric for loop's test: whether `variable` has not passed `limit`,
// going by `step`, all three compared as doubles. A NaN anywhere, the step
// included, ends the loop.
inline bool forLoopContinues(const Value& variable, const Value& limit, const Value& step) {
    const double by = asDouble(step);
    return by >= 0.0 ? asDouble(variable) <= asDouble(limit) : by < 0.0 ? asDouble(variable) >= asDouble(limit) : false;
}

std::string calleeArityMessage(const FunctionProto& proto, std::size_t count) {
    return arityMessage(proto.name, std::to_string(proto.arity), count);
}

// Sets the limit for nested run loops at the outermost entry into the
// machine (run, or a call from outside a run) and clears it on the way out.
class OutermostEntry {
public:
    explicit OutermostEntry(std::uintptr_t& limit) : limit_(limit), outermost_(limit == 0) {
        static const std::size_t budget = nativeStackBudget();
        if (outermost_) limit_ = nativeStackLimit(currentStackAddress(), budget);
    }
    ~OutermostEntry() {
        if (outermost_) limit_ = 0;
    }
    OutermostEntry(const OutermostEntry&) = delete;
    OutermostEntry& operator=(const OutermostEntry&) = delete;

private:
    std::uintptr_t& limit_;
    const bool outermost_;
};

}  // namespace

// All-zero bytes are a nil value, so a stack from calloc starts as nil slots
// without touching its pages: the system hands out zeroed pages as the stack
// first reaches them, and a short script never faults in its megabyte.
static_assert(static_cast<uint8_t>(ValueKind::Nil) == 0);

Value* VM::allocateStack() {
    void* slots = std::calloc(kStackSize, sizeof(Value));
    if (!slots) throw std::bad_alloc();
    return static_cast<Value*>(slots);
}

VM::VM(EngineOptions options)
    : globals(makeRef<Environment>()), stack_(allocateStack()), frames_(new CallFrame[kMaxFrames]),
      plain_(options.plain), maxFrames_(std::clamp<std::size_t>(options.maxCallDepth, 1, kMaxFrames)) {
    top_ = stack_.get();
    stackEnd_ = stack_.get() + kStackSize;
    registerBuiltins(*globals);
}

VM::~VM() {
    // Upvalues that escaped in a value (a thrown closure, say) must not keep pointing into the stack.
    closeUpvalues(stack_.get());
    // Local functions that escaped while capturing themselves are cycles; break them.
    for (const Ref<Upvalue>& upvalue : selfCycles_) upvalue->closed = Value();
    selfCycles_.clear();
    globals = nullptr;
    handlers_.clear();
    frameCount_ = 0;
    cutStack(stack_.get());
}

void VM::stackOverflow() { throw RuntimeError("stack overflow", 0, 0); }

void VM::runtimeError(std::string message, int32_t line) { throw RuntimeError(std::move(message), line, 0); }

Value VM::run(Ref<FunctionProto> script) {
    const OutermostEntry entry(callbackStackLimit_);
    const std::size_t depth = frameCount_;
    Value* calleeSlot = top_;
    push(Value(makeRef<VMClosure>(std::move(script))));
    try {
        callValue(calleeSlot, 0, Site{});
        Value result = runLoop(depth);
        unwindTo(depth, calleeSlot);  // OP_HALT leaves its frames behind
        return result;
    } catch (...) {
        unwindTo(depth, calleeSlot);
        throw;
    }
}

Value VM::call(const Value& callee, std::vector<Value> args) { return callWith(callee, args); }

template <class PushArguments>
Value VM::callBack(VMClosure& closure, PushArguments pushArguments) {
    const std::size_t depth = frameCount_;
    // The callee's slot is left as it is: the builtin holds the closure for
    // the call, and the return releases nothing there (invariant 2).
    Value* const calleeSlot = top_;
    top_ = pushArguments(calleeSlot + 1);
    enterFrame(closure, calleeSlot + 1);
    // On the way out, normal or not, the machine is cut back to where the
    // builtin called: the callee's return has done that already, so only a
    // halt or an error leaves anything to cut. The result is built straight
    // where the builtin receives it.
    struct CutBack {
        VM& vm;
        std::size_t depth;
        Value* height;
        ~CutBack() {
            if (vm.frameCount_ != depth || vm.top_ != height) [[unlikely]]
                vm.unwindTo(depth, height);
        }
    } const cutBack{*this, depth, calleeSlot};
    return runLoop(depth);
}

// A builtin of a running program calls a closure back (sort's comparator,
// map's function): the fast path takes a closure of the right arity with
// room for its frame, its values and another run loop on the native stack,
// and skips the outermost entry's bookkeeping, which the run has done.
bool VM::callsBackFast(const Value& callee, std::size_t argumentCount) const {
    return callbackStackLimit_ != 0 && callee.isClosure() && !plain_ &&
           callee.asClosure().proto->arity == argumentCount &&
           static_cast<std::size_t>(stackEnd_ - top_) > argumentCount && frameCount_ < maxFrames_ &&
           currentStackAddress() >= callbackStackLimit_;
}

Value VM::callWith(const Value& callee, std::span<const Value> args) {
    if (!callsBackFast(callee, args.size())) return callGeneral(callee, args);
    return callBack(callee.asClosure(), [args](Value* top) {
        for (const Value& argument : args) new (top++) Value(argument);
        return top;
    });
}

Value VM::callPair(const Value& callee, const Value& first, const Value& second) {
    if (!callsBackFast(callee, 2)) return Caller::callPair(callee, first, second);
    return callBack(callee.asClosure(), [&first, &second](Value* top) {
        new (top) Value(first);
        new (top + 1) Value(second);
        return top + 2;
    });
}

namespace {

// What a comparator of the recognised `form` answers for its operands in
// the order it reads them, `left` first: 1 or 0, or -1 where the comparison
// is not one to answer here (operands of other kinds, a read that fails or
// misses), which the call then makes, errors and all. Keyed operands are
// read as GET_INDEX reads them; the values compare as the comparison
// instruction compares numbers or strings.
inline int answerComparator(const ComparatorForm& form, BinaryOp op, const Value* key, const Value* left,
                            const Value* right) {
    if (form.keyed) {
        OperationError error = OperationError::None;
        left = elementAt(*left, *key, error);
        if (!left) return -1;
        right = elementAt(*right, *key, error);
        if (!right) return -1;
    }
    if (left->isNumber() && right->isNumber()) return compareNumbers(op, *left, *right);
    if (left->isString() && right->isString()) return compareStrings(op, left->asString(), right->asString());
    return -1;
}

}  // namespace

// Sort's comparator, called back for every comparison: the checks of the
// fast path other than the native stack's hold for the whole sort once they
// hold for its first call, since every call returns the machine to the
// same stack top and frame count (or throws, which ends the sort). A call
// without native stack left goes the general way, which reports it. A
// comparator of a recognised form (quicken.h) is answered without a call
// for each pair it can answer: such a call counts no step and leaves
// nothing behind, so nothing tells the two apart; every other pair is
// called, in its place in the sequence of comparisons.
bool VM::sortBy(ValueVector& items, const Value& less) {
    if (!callsBackFast(less, 2)) return false;
    VMClosure& closure = less.asClosure();
    if (closure.cacheOwner != this) bindGlobalCache(closure);
    const ComparatorForm form = globalCaches_.find(closure.proto.get())->second.comparator;
    // The comparator called on the fast path, for a pair that no form answers.
    const auto callBackPair = [&](const Value& a, const Value& b) {
        return isTruthy(callBack(closure, [&a, &b](Value* top) {
            new (top) Value(a);
            new (top + 1) Value(b);
            return top + 2;
        }));
    };
    if (!form.recognised) {
        stableMergeSort(items, [&](const Value& a, const Value& b) {
            if (currentStackAddress() < callbackStackLimit_) [[unlikely]]
                return isTruthy(callPair(less, a, b));
            return callBackPair(a, b);
        });
        return true;
    }
    // The call out of line, so that the comparison is the loop's.
    const auto callOutOfLine = [&](const Value& a, const Value& b) __attribute__((noinline)) {
        return callBackPair(a, b);
    };
    const Value* const key = form.keyed ? &closure.proto->constants[form.key] : nullptr;
    // Operands all numbers or all strings: no comparison calls, so none needs the native stack.
    const BinaryOp op = binaryOpOf(form.op);
    if (sortByComparatorForm(items, op, form.swapped, key)) return true;
    stableMergeSort(items, [&](const Value& a, const Value& b) {
        if (currentStackAddress() < callbackStackLimit_) [[unlikely]]
            return isTruthy(callPair(less, a, b));
        const int answered = answerComparator(form, op, key, form.swapped ? &b : &a, form.swapped ? &a : &b);
        if (answered >= 0) return answered != 0;
        return callOutOfLine(a, b);
    });
    return true;
}

Value VM::callGeneral(const Value& callee, std::span<const Value> args) {
    const OutermostEntry entry(callbackStackLimit_);
    const std::size_t depth = frameCount_;
    Value* calleeSlot = top_;
    const bool stackLeft = currentStackAddress() >= callbackStackLimit_;
    if (callee.isClosure()) {
        // fast path: a closure of the right arity, with room for its frame and values
        VMClosure& closure = callee.asClosure();
        if (closure.proto->arity == args.size() && static_cast<std::size_t>(stackEnd_ - top_) > args.size() &&
            frameCount_ < maxFrames_ && stackLeft) {
            Value* top = top_;
            new (top++) Value(callee);
            for (const Value& argument : args) new (top++) Value(argument);
            top_ = top;
            enterFrame(closure, calleeSlot + 1);
            try {
                Value result = runLoop(depth);
                // The callee's return took its frame and values; only a halt leaves them.
                if (frameCount_ != depth || top_ != calleeSlot) unwindTo(depth, calleeSlot);
                return result;
            } catch (...) {
                unwindTo(depth, calleeSlot);
                throw;
            }
        }
    }
    try {
        pushCopy(callee);
        for (const Value& argument : args) pushCopy(argument);
        if (callee.isClosure() && callee.asClosure().proto->arity == args.size() && !stackLeft) {
            executionLimits().nativeStackReached = true;
            runtimeError(kCallStackOverflow, 0);
        }
        if (!callValue(calleeSlot, args.size(), Site{})) return pop();
        Value result = runLoop(depth);
        unwindTo(depth, calleeSlot);  // OP_HALT leaves its frames behind
        return result;
    } catch (...) {
        // Leave the machine as the caller knew it, whoever catches the error.
        unwindTo(depth, calleeSlot);
        // A builtin called from a builtin: no frame's code names the call.
        if (trace_ && callee.isNative()) [[unlikely]]
            trace_->add(callee.asNative().name(), 0, 0);
        throw;
    }
}

void VM::unwindTo(std::size_t depth, Value* height) {
    if (frameCount_ > depth) frameCount_ = depth;
    while (!handlers_.empty() && handlers_.back().frameCount > depth) handlers_.pop_back();
    if (top_ > height) {
        closeUpvalues(height);
        cutStack(height);
    }
}

bool VM::callValue(Value* calleeSlot, std::size_t argumentCount, Site site) {
    Value& callee = *calleeSlot;
    if (callee.isClosure()) {
        VMClosure& closure = callee.asClosure();
        if (closure.proto->arity != argumentCount)
            runtimeError(calleeArityMessage(*closure.proto, argumentCount), site.line());
        pushFrame(closure, calleeSlot + 1, site);
        return true;
    }
    if (callee.isNative()) {
        callNative(callee.asNative(), calleeSlot, argumentCount, site);
        return false;
    }
    runtimeError(std::string(typeName(callee)) + kNotCallableSuffix, site.line());
}

void VM::pushFrame(VMClosure& closure, Value* slots, Site site) {
    if (frameCount_ == maxFrames_) runtimeError(kCallStackOverflow, site.line());
    enterFrame(closure, slots);
}

namespace {

// The value stored under a string constant `key`, trying first the position where this access found it last.
inline Value* findField(MapData& map, const Value& key, uint32_t& hint) {
    if (MapEntry* entry = map.stringEntryAt(hint); entry && entry->key.asObject() == key.asObject()) {
        return &entry->value;
    }
    const std::ptrdiff_t position = map.indexOf(key);
    if (position < 0) return nullptr;
    hint = static_cast<uint32_t>(position);
    return &map.foundEntry(static_cast<std::size_t>(position)).value;
}

// Where the list or map `object` keeps its element at `key`: a list's Int
// position in range, or a map's string key present, found with the field
// hint that `hint()` gives (asked for only then); nullptr for anything else.
template <class Hint>
[[gnu::always_inline]] inline Value* elementSlot(const Value& object, const Value& key, Hint&& hint) {
    if (object.isList() && key.isInt()) {
        ValueVector& items = object.listItems();
        int64_t index = key.asInt();
        return toPosition(index, items.size()) ? &items[static_cast<std::size_t>(index)] : nullptr;
    }
    if (object.isMap() && key.isString()) return findField(object.asMap(), key, hint());
    return nullptr;
}

// Constructs in `slot`, which holds no reference, what a read of a field
// gives: the value `findField` found, or nil for a field the map lacks.
inline void constructFieldValue(Value* slot, const Value* found) {
    if (found)
        new (slot) Value(*found);
    else
        new (slot) Value();
}

// Pushes the head of a field update (m.x = m.x op v, m.x += v): the map that
// is stored into, the field's name, and the field's value as read.
inline Value* pushFieldUpdateHead(Value* top, const Value& target, const Value& name, const Value* found) {
    new (top) Value(target);
    new (top + 1) Value(name);
    constructFieldValue(top + 2, found);
    return top + 3;
}

// The element statement g[k] = x op c (counts[word] = seen + 1) for the
// global `object` (nullptr while its cache is cold), on a number x: the
// result stored where the element is kept. False, with nothing done, where
// the element does not exist (a list position out of range, a map's
// missing string key) or x is not a number. Kept out of the instruction
// loop, whose size decides what the compiler inlines there.
[[gnu::noinline]] bool storeElementArithmetic(Value* object, const Value& key, const Value& x, const Value& c,
                                              OpCode op, uint32_t& hint) {
    if (!object || !x.isNumber()) return false;
    Value* element = elementSlot(*object, key, [&]() -> uint32_t& { return hint; });
    Value result;
    if (!element || !numberArithmetic<Operands::Numbers>(binaryOpOf(op), x, c, result)) return false;
    *element = result;
    return true;
}

inline uint16_t u16At(const uint8_t* bytes) { return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]); }

// The instructions of a fused sequence (quicken.h) in the running copy,
// found from `next`, the byte after its first opcode, where the instruction
// loop's ip stands. Only operands are read there, which quickening never
// writes; the opcode bytes of later instructions are not read at all, since
// another fusion may have replaced them.
//
// `Sequence::kSteps` is the sequence (a class rather than the sequence
// itself, which Clang 14 does not evaluate as a template argument).
template <class Sequence>
class SequenceAt {
    static constexpr QuickSequence sequence = Sequence::kSteps;

public:
    explicit SequenceAt(const uint8_t* next) : next_(next) {}

    // Bytes of the whole sequence.
    static constexpr std::ptrdiff_t kLength = static_cast<std::ptrdiff_t>(quickSequenceLength(sequence));

    // Where a step starts, from the sequence's start.
    template <std::size_t step>
    static constexpr std::ptrdiff_t offset() {
        constexpr auto value = static_cast<std::ptrdiff_t>(quickStepOffset(sequence, step));
        return value;
    }
    template <std::size_t step>
    uint16_t u16() const {
        return u16At(next_ + offset<step>());
    }
    template <std::size_t step>
    uint8_t u8() const {
        return next_[offset<step>()];
    }
    // The byte `offset` bytes from the sequence's start.
    const uint8_t* at(std::ptrdiff_t offset) const { return next_ - 1 + offset; }
    // Where the jump or loop of a step lands, from the sequence's start.
    template <std::size_t step>
    std::ptrdiff_t target() const {
        constexpr OperandKind kind = quickStepOperand(sequence, step);
        static_assert(kind == OperandKind::JUMP || kind == OperandKind::LOOP);
        const std::ptrdiff_t next = offset<step + 1>();
        return kind == OperandKind::LOOP ? next - u16<step>() : next + u16<step>();
    }
    // Where a sequence ending in the conditional jump of step `jump` and a
    // POP goes on `result`: past the POP, or to the jump's target past the
    // POP there.
    template <std::size_t jump>
    const uint8_t* branch(bool result) const {
        if (result) return at(kLength);
        return at(target<jump>() + instructionLength(OP_POP));
    }

protected:
    const uint8_t* next_;
};

template <QuickOpCode row>
struct RowSteps {
    static constexpr QuickSequence kSteps = quickSequence(row);
};

struct NumericForHeadSteps {
    static constexpr QuickSequence kSteps = kNumericForHead;
};

// The sequence of a fused instruction of the row `row`.
template <QuickOpCode row>
class Fused : public SequenceAt<RowSteps<row>> {
public:
    using SequenceAt<RowSteps<row>>::SequenceAt;

    // The fused opcode's own value, which tells the variant: what the
    // compiled code has at the row's step of several opcodes.
    uint8_t own() const { return this->next_[-1]; }

    // The value of the variant whose code has `op` at that step.
    static consteval uint8_t variantFor(OpCode op) {
        for (int index = 0; index < quickVariantCount(quickSequence(row)); ++index) {
            if (quickVariantOpcode(quickSequence(row), index) == op) return static_cast<uint8_t>(row + index);
        }
        throw "the row has no such variant";
    }

    // The length of the value instruction of a row whose value is a literal
    // (NIL, TRUE or FALSE: the opcode alone) or a constant or a local (a u16
    // operand), told by the variant: constant, so that no table is read.
    static std::ptrdiff_t valueLength(uint8_t variant) {
        constexpr std::ptrdiff_t kWide = instructionLength(OP_CONSTANT);
        constexpr std::ptrdiff_t kNarrow = instructionLength(OP_NIL);
        static_assert(kWide == instructionLength(OP_GET_LOCAL));
        static_assert(kNarrow == instructionLength(OP_TRUE) && kNarrow == instructionLength(OP_FALSE));
        switch (variant) {
        case variantFor(OP_CONSTANT):
        case variantFor(OP_GET_LOCAL): return kWide;
        default: return kNarrow;
        }
    }

    // The operator of a row whose step of several opcodes is ADD, SUB, MUL
    // or MOD; for another variant an operator that intArithmeticGivesInt
    // refuses, so that the sequence runs as compiled.
    BinaryOp intOperator() const {
        switch (own()) {
        case variantFor(OP_ADD): return BinaryOp::Add;
        case variantFor(OP_SUB): return BinaryOp::Sub;
        case variantFor(OP_MUL): return BinaryOp::Mul;
        case variantFor(OP_MOD): return BinaryOp::Mod;
        default: return BinaryOp::Eq;
        }
    }

    // a op b for two numbers, a row whose step of several opcodes is ADD,
    // SUB or MUL: wrapping on Ints, in doubles otherwise, as OP_ADD, OP_SUB
    // and OP_MUL compute it. False for a variant it does not know.
    bool numberArithmetic(const Value& a, const Value& b, Value& result) const {
        switch (own()) {
        case variantFor(OP_ADD): return velmor::numberArithmetic<Operands::Numbers>(BinaryOp::Add, a, b, result);
        case variantFor(OP_SUB): return velmor::numberArithmetic<Operands::Numbers>(BinaryOp::Sub, a, b, result);
        case variantFor(OP_MUL): return velmor::numberArithmetic<Operands::Numbers>(BinaryOp::Mul, a, b, result);
        default: return false;
        }
    }

    // The opcode at that step, for variants whose opcodes are consecutive (the comparisons).
    OpCode variant() const {
        constexpr OpCode first = quickVariantOpcode(quickSequence(row), 0);
        constexpr int count = quickVariantCount(quickSequence(row));
        static_assert(quickVariantOpcode(quickSequence(row), count - 1) == first + count - 1);
        return static_cast<OpCode>(first + (own() - row));
    }
};

}  // namespace

void VM::bindGlobalCache(VMClosure& closure) {
    GlobalCache& cache = globalCaches_[closure.proto.get()];
    if (!cache.slots) {
        cache.proto = closure.proto;
        cache.slots = std::make_unique<Value*[]>(closure.proto->constants.size() + 1);
        cache.code = quicken(*closure.proto, plain_ ? Quickening::Plain : Quickening::Fuse);
        const std::vector<Value>& constants = closure.proto->constants;
        cache.constants = std::make_unique<Value[]>(constants.size() + 1);
        for (std::size_t index = 0; index < constants.size(); ++index) {
            const Value& constant = constants[index];
            if (constant.isString() && !plain_) {
                auto [entry, added] = internedConstants_.try_emplace(constant.asString(), constant);
                cache.constants[index] = entry->second;
            } else {
                cache.constants[index] = constant;
            }
        }
        cache.fieldHints = std::make_unique<uint32_t[]>(closure.proto->code.size() + 1);
        if (!plain_) cache.comparator = comparatorForm(*closure.proto);
    }
    closure.constants = cache.constants.get();
    closure.fieldHints = cache.fieldHints.get();
    closure.globalCache = cache.slots.get();
    closure.code = cache.code.get();
    closure.cacheOwner = this;
}

bool VM::removeGlobal(const std::string& name) {
    if (globals->vars.erase(name) == 0) return false;
    for (auto& [proto, cache] : globalCaches_) std::fill_n(cache.slots.get(), proto->constants.size() + 1, nullptr);
    return true;
}

Value* VM::globalSlot(Value** cache, std::size_t constantIndex, const Value& name) {
    auto found = globals->vars.find(std::string(name.asString()));
    if (found == globals->vars.end()) return nullptr;
    // A plain machine looks every global up by name.
    if (!plain_) cache[constantIndex] = &found->second;
    return &found->second;
}

void VM::callNative(NativeObj& native, Value* calleeSlot, std::size_t argumentCount, Site site) {
    if (!arityAccepts(native, argumentCount)) runtimeError(arityMessage(native, argumentCount), site.line());
    // The native reads its arguments in place; the stack never moves, so the
    // span stays valid while the native calls back into the machine.
    Value result = invokeNative(native, *this, std::span<Value>(calleeSlot + 1, argumentCount));
    cutStack(calleeSlot);
    *top_++ = std::move(result);
}

Ref<Upvalue> VM::captureUpvalue(Value* slot) {
    for (const Ref<Upvalue>& upvalue : openUpvalues_) {
        if (upvalue->location == slot) return upvalue;
    }
    Ref<Upvalue> created = makeRef<Upvalue>(slot);
    openUpvalues_.push_back(created);
    return created;
}

namespace {

// A local function that captures its own slot (a block-level recursive
// function) would, once closed, form a closure-upvalue cycle that reference
// counting never frees. When the slot about to be popped holds the only
// reference to that closure, and the closure holds the only other reference
// to the upvalue, nothing can reach either of them again: the upvalue closes
// over nil instead, so both are freed.
bool closesOnlyItsOwnCycle(const Upvalue& upvalue) {
    const Value& value = *upvalue.location;
    if (!value.isClosure() || value.asObject()->refCount != 1) return false;
    // One reference from the open list, one from the closure.
    if (upvalue.refCount != 2) return false;
    for (const Ref<Upvalue>& held : value.asClosure().upvalues) {
        if (held.get() == &upvalue) return true;
    }
    return false;
}

bool holdsItsOwnClosure(const Upvalue& upvalue) {
    if (!upvalue.closed.isClosure()) return false;
    for (const Ref<Upvalue>& held : upvalue.closed.asClosure().upvalues) {
        if (held.get() == &upvalue) return true;
    }
    return false;
}

}  // namespace

void VM::closeUpvalues(Value* from) {
    std::size_t kept = 0;
    for (std::size_t index = 0; index < openUpvalues_.size(); ++index) {
        Upvalue& upvalue = *openUpvalues_[index];
        if (upvalue.location >= from) {
            if (!closesOnlyItsOwnCycle(upvalue)) {
                upvalue.closed = *upvalue.location;
                if (holdsItsOwnClosure(upvalue)) selfCycles_.push_back(openUpvalues_[index]);
            }
            upvalue.location = &upvalue.closed;
        } else {
            if (kept != index) openUpvalues_[kept] = std::move(openUpvalues_[index]);
            ++kept;
        }
    }
    openUpvalues_.resize(kept);
}

bool VM::handleError(Value caught, std::size_t targetDepth) {
    if (handlers_.empty() || handlers_.back().frameCount <= targetDepth) return false;
    if (trace_) [[unlikely]]
        trace_->clear();
    const TryHandler handler = handlers_.back();
    handlers_.pop_back();
    frameCount_ = handler.frameCount;
    Value* height = stack_.get() + handler.stackHeight;
    closeUpvalues(height);
    cutStack(height);
    // The try began on a full stack: the catch variable itself overflows, and the next handler out gets that.
    if (top_ == stackEnd_) return handleError(Value("stack overflow"), targetDepth);
    *top_++ = std::move(caught);
    frames_[frameCount_ - 1].ip = handler.handlerIp;
    return true;
}

Value VM::runLoop(std::size_t targetDepth) {
    for (;;) {
        try {
            return execute(targetDepth);
        } catch (const RuntimeError& error) {
            if (debugHook_) [[unlikely]]
                debugRaised(Value(error.message), false);
            if (handleError(Value(error.message), targetDepth)) {
                debugErrorShown_ = false;
                continue;
            }
            if (trace_) traceFrames(targetDepth, error.line);
            throw;
        } catch (const ThrownValue& thrown) {
            if (debugHook_) [[unlikely]]
                debugRaised(thrown.value, true);
            if (handleError(thrown.value, targetDepth)) {
                debugErrorShown_ = false;
                continue;
            }
            if (trace_) traceFrames(targetDepth, 0);
            throw;
        }
    }
}

// ---------------------------------------------------------------------------
// The instruction loop

// Computed goto where the compiler has it; a build may force the portable switch with -DVELMOR_COMPUTED_GOTO=0.
#ifndef VELMOR_COMPUTED_GOTO
#if defined(__GNUC__) || defined(__clang__)
#define VELMOR_COMPUTED_GOTO 1
#else
#define VELMOR_COMPUTED_GOTO 0
#endif
#endif

#if VELMOR_COMPUTED_GOTO
#define VELMOR_LABEL(name, number, operand, meaning) dispatchTable[name] = &&LABEL_##name;
// Every variant of a fused instruction runs its row's handler.
#define VELMOR_QUICK_LABEL(name, condition, meaning, ...) \
    for (int variant = name; variant <= name##_LAST_VARIANT; ++variant) dispatchTable[variant] = &&LABEL_##name;
#define CASE(name) LABEL_##name:
#define NEXT goto* table[*ip++]
// The variants of fused rows that have handlers of their own (fib's n < 2
// and n - 1, the loop's s = s + i % 7, nbody's b.vx = b.vx - dx * b2m,
// sieve's while j <= n and i * i, a counter's count + step, a comparator's
// a < b): the row, the variant's operator, the handler's label and the macro
// that writes its body from the operator. One list makes both the handlers
// and their places in the dispatch table.
#define VELMOR_OWN_VARIANTS(X)                                                                                    \
    X(OP_QUICK_LOCAL_INT_ARITH, OP_ADD, LOCAL_INT_ADD, LOCAL_INT_ARITH_OF)                                        \
    X(OP_QUICK_LOCAL_INT_ARITH, OP_SUB, LOCAL_INT_SUB, LOCAL_INT_ARITH_OF)                                        \
    X(OP_QUICK_LOCAL_INT_ARITH, OP_MUL, LOCAL_INT_MUL, LOCAL_INT_ARITH_OF)                                        \
    X(OP_QUICK_LOCAL_INT_ARITH, OP_MOD, LOCAL_INT_MOD, LOCAL_INT_ARITH_OF)                                        \
    X(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH, OP_ADD, GLOBAL_ADD_LOCAL_ADD, GLOBAL_ADD_LOCAL_ARITH_OF)                   \
    X(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH, OP_SUB, GLOBAL_ADD_LOCAL_SUB, GLOBAL_ADD_LOCAL_ARITH_OF)                   \
    X(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH, OP_MUL, GLOBAL_ADD_LOCAL_MUL, GLOBAL_ADD_LOCAL_ARITH_OF)                   \
    X(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH, OP_MOD, GLOBAL_ADD_LOCAL_MOD, GLOBAL_ADD_LOCAL_ARITH_OF)                   \
    X(OP_QUICK_FIELD_ADD_PRODUCT, OP_ADD, FIELD_ADD_PRODUCT_ADD, FIELD_ADD_PRODUCT)                               \
    X(OP_QUICK_FIELD_ADD_PRODUCT, OP_SUB, FIELD_ADD_PRODUCT_SUB, FIELD_ADD_PRODUCT)                               \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, OP_EQUAL, LOCAL_INT_EQUAL_JUMP, LOCAL_INT_COMPARE_JUMP)                    \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, OP_NOT_EQUAL, LOCAL_INT_NOT_EQUAL_JUMP, LOCAL_INT_COMPARE_JUMP)            \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, OP_LESS, LOCAL_INT_LESS_JUMP, LOCAL_INT_COMPARE_JUMP)                      \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, OP_LESS_EQUAL, LOCAL_INT_LESS_EQUAL_JUMP, LOCAL_INT_COMPARE_JUMP)          \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, OP_GREATER, LOCAL_INT_GREATER_JUMP, LOCAL_INT_COMPARE_JUMP)                \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP, OP_GREATER_EQUAL, LOCAL_INT_GREATER_EQUAL_JUMP, LOCAL_INT_COMPARE_JUMP)    \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, OP_EQUAL, LOCAL_GLOBAL_EQUAL_JUMP, LOCAL_GLOBAL_COMPARE_JUMP)           \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, OP_NOT_EQUAL, LOCAL_GLOBAL_NOT_EQUAL_JUMP, LOCAL_GLOBAL_COMPARE_JUMP)   \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, OP_LESS, LOCAL_GLOBAL_LESS_JUMP, LOCAL_GLOBAL_COMPARE_JUMP)             \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, OP_LESS_EQUAL, LOCAL_GLOBAL_LESS_EQUAL_JUMP, LOCAL_GLOBAL_COMPARE_JUMP) \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, OP_GREATER, LOCAL_GLOBAL_GREATER_JUMP, LOCAL_GLOBAL_COMPARE_JUMP)       \
    X(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP, OP_GREATER_EQUAL, LOCAL_GLOBAL_GREATER_EQUAL_JUMP,                      \
      LOCAL_GLOBAL_COMPARE_JUMP)                                                                                  \
    X(OP_QUICK_LOCAL_LOCAL_ARITH, OP_ADD, LOCAL_LOCAL_ADD, LOCAL_LOCAL_ARITH_OF)                                  \
    X(OP_QUICK_LOCAL_LOCAL_ARITH, OP_SUB, LOCAL_LOCAL_SUB, LOCAL_LOCAL_ARITH_OF)                                  \
    X(OP_QUICK_LOCAL_LOCAL_ARITH, OP_MUL, LOCAL_LOCAL_MUL, LOCAL_LOCAL_ARITH_OF)                                  \
    X(OP_QUICK_UPVALUE_UPVALUE_ARITH, OP_ADD, UPVALUE_UPVALUE_ADD, UPVALUE_UPVALUE_ARITH_OF)                      \
    X(OP_QUICK_UPVALUE_UPVALUE_ARITH, OP_SUB, UPVALUE_UPVALUE_SUB, UPVALUE_UPVALUE_ARITH_OF)                      \
    X(OP_QUICK_UPVALUE_UPVALUE_ARITH, OP_MUL, UPVALUE_UPVALUE_MUL, UPVALUE_UPVALUE_ARITH_OF)                      \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, OP_EQUAL, LOCAL_LOCAL_EQUAL, LOCAL_LOCAL_COMPARE)                             \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, OP_NOT_EQUAL, LOCAL_LOCAL_NOT_EQUAL, LOCAL_LOCAL_COMPARE)                     \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, OP_LESS, LOCAL_LOCAL_LESS, LOCAL_LOCAL_COMPARE)                               \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, OP_LESS_EQUAL, LOCAL_LOCAL_LESS_EQUAL, LOCAL_LOCAL_COMPARE)                   \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, OP_GREATER, LOCAL_LOCAL_GREATER, LOCAL_LOCAL_COMPARE)                         \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE, OP_GREATER_EQUAL, LOCAL_LOCAL_GREATER_EQUAL, LOCAL_LOCAL_COMPARE)
#define VELMOR_OWN_LABEL(row, op, label, body) dispatchTable[Fused<row>::variantFor(op)] = &&label;
#define VELMOR_OWN_HANDLER(row, op, label, body) \
    label:                                       \
    body(op);
#else
// The labels serve the slow paths that jump back to a plain instruction;
// most have no such jump.
#define CASE(name) \
    case name:     \
        LABEL_##name : __attribute__((unused));
#define NEXT goto dispatch
#endif

// The sequence of the fused instruction whose opcode was just read.
#define FUSED(row)          \
    using Row = Fused<row>; \
    const Row fused(ip)
// The field hint of the instruction `offset` bytes into the fused sequence.
#define FIELD_HINT(offset) frame->closure->fieldHints[fused.at(offset) - frame->closure->code]
// The same, for elementSlot, which asks for it only for a map.
#define HINT_AT(offset) [&]() -> uint32_t& { return FIELD_HINT(offset); }
// The field hint of the plain instruction being run.
#define OWN_FIELD_HINT() frame->closure->fieldHints[ip - 1 - frame->closure->code]
#define READ_BYTE() (*ip++)
#define READ_U16() readU16(ip)
#define SITE() \
    Site { frame->closure, ip }
#define PROTECT(work) \
    do {              \
        top_ = top;   \
        work;         \
        top = top_;   \
    } while (false)
// The slot at `top` holds no reference (invariant 2): construct over it.
#define PUSH_COPY(value)                    \
    do {                                    \
        if (top == stackEnd) [[unlikely]] { \
            top_ = top;                     \
            stackOverflow();                \
        }                                   \
        new (top++) Value(value);           \
    } while (false)
#define DROP()                                                \
    do {                                                      \
        --top;                                                \
        if (top->isObject()) Value released(std::move(*top)); \
    } while (false)
#define LOAD_FRAME()                                \
    do {                                            \
        frame = &frames_[frameCount_ - 1];          \
        ip = frame->ip;                             \
        slots = frame->slots;                       \
        constants = frame->closure->constants;      \
        upvalues = frame->closure->upvalues.data(); \
    } while (false)

namespace {

inline uint16_t readU16(const uint8_t*& ip) {
    const auto value = static_cast<uint16_t>((ip[0] << 8) | ip[1]);
    ip += 2;
    return value;
}

// The line of the instruction whose last byte read is just before `ip`.
[[gnu::noinline]] int32_t lineAtOffset(const FunctionProto& proto, const uint8_t* code, const uint8_t* ip) {
    const std::size_t offset = static_cast<std::size_t>(ip - code) - 1;
    return offset < proto.lines.size() ? static_cast<int32_t>(proto.lines[offset]) : 0;
}

}  // namespace

int32_t VM::Site::line() const { return closure ? lineAtOffset(*closure->proto, closure->code, ip) : 0; }

void VM::traceCalls(CallTrace* trace) {
    trace_ = trace;
    // A frame's ip is stored only before a call; a trace may read it for a
    // frame that failed before making one, so it must never be garbage.
    if (trace_) std::fill_n(frames_.get(), kMaxFrames, CallFrame{});
}

void VM::debugWith(DebugHook* hook) {
    debugHook_ = hook;
    debugLines_.assign(kMaxFrames + 1, 0);
    // As for a trace, the frames' ips are read before a frame has stored one.
    if (debugHook_) std::fill_n(frames_.get(), kMaxFrames, CallFrame{});
}

void VM::debugStep(const uint8_t* ip) {
    const std::size_t depth = frameCount_;
    const CallFrame& frame = frames_[depth - 1];
    const int32_t line = lineAtOffset(*frame.closure->proto, frame.closure->code, ip);
    // A frame entered since the last step starts with no line seen.
    for (std::size_t fresh = debugDepth_ + 1; fresh <= depth; ++fresh) debugLines_[fresh] = 0;
    debugDepth_ = depth;
    if (line <= 0) return;
    if (debugLines_[depth] == line && !debugHook_->attention.load(std::memory_order_relaxed)) return;
    debugLines_[depth] = line;
    // Code runs again: whatever error was shown has been caught, or ended a call from the console.
    debugErrorShown_ = false;
    debugHook_->atStatement(*this, line, depth);
}

void VM::debugRaised(const Value& error, bool thrown) {
    if (debugErrorShown_) return;
    debugErrorShown_ = true;
    debugHook_->raised(*this, error, thrown, !handlers_.empty());
}

DebugFrame VM::debugFrame(std::size_t index) const {
    const CallFrame& frame = frameAt(index);
    DebugFrame shown;
    const FunctionProto& proto = *frame.closure->proto;
    shown.function = index + 1 == frameCount_ ? std::string(kTopLevelFrameName) : proto.name;
    const auto at = reinterpret_cast<std::uintptr_t>(frame.ip);
    const auto code = reinterpret_cast<std::uintptr_t>(frame.closure->code);
    if (at > code && at - code <= proto.code.size()) shown.line = lineAtOffset(proto, frame.closure->code, frame.ip);
    return shown;
}

std::size_t VM::frameHeight(std::size_t index) const {
    const CallFrame& frame = frameAt(index);
    // Above a frame's slots: the callee slot of the next frame in, or the top of the stack.
    const Value* end = index == 0 ? top_ : frameAt(index - 1).slots - 1;
    return end > frame.slots ? static_cast<std::size_t>(end - frame.slots) : 0;
}

std::vector<DebugVariable> VM::debugLocals(std::size_t index) {
    const CallFrame& frame = frameAt(index);
    const FunctionProto& proto = *frame.closure->proto;
    const auto offset = static_cast<std::size_t>(frame.ip - frame.closure->code) - 1;
    const std::size_t height = frameHeight(index);
    std::vector<DebugVariable> variables;
    // The innermost of several locals of one name is the one the code sees.
    for (std::size_t i = proto.localNames.size(); i-- > 0;) {
        const LocalName& local = proto.localNames[i];
        if (local.start > offset || offset >= local.end || local.slot >= height) continue;
        const bool shadowed = std::any_of(variables.begin(), variables.end(),
                                          [&](const DebugVariable& seen) { return seen.name == local.name; });
        if (!shadowed) variables.push_back(DebugVariable{local.name, frame.slots + local.slot});
    }
    std::reverse(variables.begin(), variables.end());
    return variables;
}

std::vector<DebugVariable> VM::debugUpvalues(std::size_t index) {
    const CallFrame& frame = frameAt(index);
    const FunctionProto& proto = *frame.closure->proto;
    std::vector<DebugVariable> variables;
    for (std::size_t i = 0; i < frame.closure->upvalues.size() && i < proto.upvalueNames.size(); ++i)
        variables.push_back(DebugVariable{proto.upvalueNames[i], frame.closure->upvalues[i]->location});
    return variables;
}

void VM::traceFrames(std::size_t targetDepth, int32_t errorLine) {
    const bool errorStartsHere = trace_->empty();
    for (std::size_t index = frameCount_; index-- > targetDepth;) {
        const CallFrame& frame = frames_[index];
        const VMClosure& closure = *frame.closure;
        const FunctionProto& proto = *closure.proto;
        int32_t line = 0;
        if (index + 1 == frameCount_ && errorStartsHere && errorLine > 0) {
            line = errorLine;  // raised by an instruction of this frame
        } else {
            // The frame's ip, if it lies in its code, is just past the call it was making.
            const auto at = reinterpret_cast<std::uintptr_t>(frame.ip);
            const auto code = reinterpret_cast<std::uintptr_t>(closure.code);
            const std::size_t offset = at - code;
            if (at > code && offset <= proto.code.size()) {
                line = lineAtOffset(proto, closure.code, frame.ip);
                // The top frame left by the error was calling a builtin, which raised it or called what did.
                const auto callLength = static_cast<std::size_t>(instructionLength(OP_CALL));
                if (index + 1 == frameCount_ && offset >= callLength && proto.code[offset - callLength] == OP_CALL) {
                    const std::size_t argumentCount = proto.code[offset - 1];
                    const Value* calleeSlot = top_ - argumentCount - 1;
                    if (calleeSlot >= frame.slots && calleeSlot->isNative())
                        trace_->add(calleeSlot->asNative().name(), line, 0);
                }
            }
        }
        trace_->add(index == 0 ? std::string_view(kTopLevelFrameName) : std::string_view(proto.name), line, 0);
    }
}

Value VM::execute(std::size_t targetDepth) {
    CallFrame* frame;
    const uint8_t* ip;
    Value* slots;
    const Value* constants;
    // A closure's upvalue list never changes once it is made.
    const Ref<Upvalue>* upvalues;
    LOAD_FRAME();
    // The stack top lives in a register here; `top_` is written back before
    // anything that may read it or throw (PROTECT), and read again after.
    Value* top = top_;
    Value* const stackEnd = stackEnd_;
    // This thread's limits, taken once: the loop reads them at every back-edge
    // and call.
    ExecutionLimits& limits = executionLimits();

#if VELMOR_COMPUTED_GOTO
    // Filled by the first run on any thread, while machines on other threads
    // wait for it (a few microseconds, once): 0 empty, 1 filling, 2 ready.
    static void* dispatchTable[256];
    // A machine with a debugger runs every instruction through the trap first.
    static void* debugTable[256];
    static std::atomic<int> tableState{0};
    if (tableState.load(std::memory_order_acquire) != 2) [[unlikely]] {
        int expected = 0;
        if (tableState.compare_exchange_strong(expected, 1, std::memory_order_acquire)) {
            for (void*& entry : dispatchTable) entry = &&LABEL_UNKNOWN;
            VELMOR_OPCODES(VELMOR_LABEL)
            VELMOR_QUICK_OPCODES(VELMOR_QUICK_LABEL)
            // The variants that have handlers of their own (below the rows' handlers).
            VELMOR_OWN_VARIANTS(VELMOR_OWN_LABEL)
            for (void*& entry : debugTable) entry = &&LABEL_DEBUG_TRAP;
            tableState.store(2, std::memory_order_release);
        }
        while (tableState.load(std::memory_order_acquire) != 2) {
        }
    }
    void* const* const table = debugHook_ ? debugTable : dispatchTable;
    NEXT;
LABEL_DEBUG_TRAP:
    frame->ip = ip;
    PROTECT(debugStep(ip));
    goto* dispatchTable[ip[-1]];
#else
dispatch:
    if (debugHook_) [[unlikely]] {
        frame->ip = ip + 1;
        PROTECT(debugStep(ip + 1));
    }
    // Every variant of a fused instruction runs its row's handler.
    switch (quickRowOpcode(*ip++)) {
#endif

    CASE(OP_CONSTANT) {
        PUSH_COPY(constants[READ_U16()]);
        NEXT;
    }
    CASE(OP_NIL) {
        PUSH_COPY(Value());
        NEXT;
    }
    CASE(OP_TRUE) {
        PUSH_COPY(Value(true));
        NEXT;
    }
    CASE(OP_FALSE) {
        PUSH_COPY(Value(false));
        NEXT;
    }
    CASE(OP_POP) {
        DROP();
        NEXT;
    }
    CASE(OP_DEFINE_GLOBAL) {
        const uint16_t index = READ_U16();
        PROTECT(defineGlobal(constants[index]));
        NEXT;
    }
    CASE(OP_GET_GLOBAL) {
        const uint16_t index = READ_U16();
        Value* slot = frame->globalCache[index];
        if (!slot) slot = globalSlot(frame->globalCache, index, constants[index]);
        if (!slot) PROTECT(undefinedVariable(constants[index], SITE()));
        PUSH_COPY(*slot);
        NEXT;
    }
    CASE(OP_SET_GLOBAL) {
        const uint16_t index = READ_U16();
        Value* slot = frame->globalCache[index];
        if (!slot) slot = globalSlot(frame->globalCache, index, constants[index]);
        if (!slot) PROTECT(undefinedAssignment(constants[index], SITE()));
        *slot = top[-1];
        NEXT;
    }
    CASE(OP_GET_LOCAL) {
        PUSH_COPY(slots[READ_U16()]);
        NEXT;
    }
    CASE(OP_SET_LOCAL) {
        slots[READ_U16()] = top[-1];
        NEXT;
    }
    CASE(OP_GET_UPVALUE) {
        PUSH_COPY(*upvalues[READ_BYTE()]->location);
        NEXT;
    }
    CASE(OP_SET_UPVALUE) {
        *upvalues[READ_BYTE()]->location = top[-1];
        NEXT;
    }
    CASE(OP_CLOSE_UPVALUE) {
        if (!openUpvalues_.empty()) closeUpvalues(top - 1);
        DROP();
        NEXT;
    }
    CASE(OP_BUILD_LIST) {
        const uint16_t count = READ_U16();
        PROTECT(buildList(count));
        NEXT;
    }
    CASE(OP_BUILD_MAP) {
        const uint16_t count = READ_U16();
        PROTECT(buildMap(count, SITE()));
        NEXT;
    }
    CASE(OP_GET_INDEX) {
        // fast path: a list indexed by an Int in range
        Value& object = top[-2];
        const Value& key = top[-1];
        if (object.isList() && key.isInt()) {
            ValueVector& items = object.listItems();
            if (int64_t index = key.asInt(); toPosition(index, items.size())) {
                {
                    Value element = items[static_cast<std::size_t>(index)];
                    --top;  // the key is an Int: nothing to release
                    top[-1] = std::move(element);
                }
                NEXT;
            }
        }
        if (object.isString() && key.isInt() && !plain_) {
            // a string's byte, as the shared one-byte string
            const std::string_view text = object.asString();
            if (int64_t index = key.asInt(); toPosition(index, text.size())) {
                {
                    Value element = byteString(static_cast<unsigned char>(text[static_cast<std::size_t>(index)]));
                    --top;  // the key is an Int: nothing to release
                    top[-1] = std::move(element);
                }
                NEXT;
            }
        }
        if (object.isMap() && key.isString() && !plain_) {
            {
                const Value* found = findField(object.asMap(), key, OWN_FIELD_HINT());
                Value element = found ? *found : Value();
                DROP();
                top[-1] = std::move(element);
            }
            NEXT;
        }
        PROTECT(getIndexSlow(SITE()));
        NEXT;
    }
    CASE(OP_GET_INDEX_KEEP) {
        // fast paths of a compound assignment's read (a[i] += v, m.x += v):
        // a list indexed by an Int in range, a map by a string
        if (top != stackEnd && !plain_) {
            const Value& object = top[-2];
            const Value& key = top[-1];
            if (object.isList() && key.isInt()) {
                const ValueVector& items = object.listItems();
                if (int64_t index = key.asInt(); toPosition(index, items.size())) {
                    new (top) Value(items[static_cast<std::size_t>(index)]);
                    ++top;
                    NEXT;
                }
            } else if (object.isMap() && key.isString()) {
                constructFieldValue(top, findField(object.asMap(), key, OWN_FIELD_HINT()));
                ++top;
                NEXT;
            }
        }
        PROTECT(getIndexKeepSlow(SITE()));
        NEXT;
    }
    CASE(OP_SET_INDEX) {
        // fast path: a list element named by an Int in range
        Value& object = top[-3];
        const Value& key = top[-2];
        if (object.isList() && key.isInt()) {
            ValueVector& items = object.listItems();
            if (int64_t index = key.asInt(); toPosition(index, items.size())) {
                {
                    items[static_cast<std::size_t>(index)] = top[-1];
                    Value stored = std::move(top[-1]);
                    top -= 2;  // the key is an Int: nothing to release
                    top[-1] = std::move(stored);
                }
                NEXT;
            }
        } else if (object.isMap() && key.isString() && !plain_) {
            // an existing entry of a map named by a string: replaced in place
            Value* found = findField(object.asMap(), key, OWN_FIELD_HINT());
            if (found) {
                {
                    *found = top[-1];
                    Value stored = std::move(top[-1]);
                    --top;
                    DROP();
                    top[-1] = std::move(stored);
                }
                NEXT;
            }
        }
        PROTECT(setIndex(SITE()));
        NEXT;
    }
    CASE(OP_ADD) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (numberArithmeticInPlace(BinaryOp::Add, a, b)) {
            --top;
            NEXT;
        }
        PROTECT(addSlow(SITE()));
        NEXT;
    }
    CASE(OP_SUB) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (numberArithmeticInPlace(BinaryOp::Sub, a, b)) {
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(BinaryOp::Sub, SITE()));
        NEXT;
    }
    CASE(OP_MUL) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (numberArithmeticInPlace(BinaryOp::Mul, a, b)) {
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(BinaryOp::Mul, SITE()));
        NEXT;
    }
    CASE(OP_DIV) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (numberArithmeticInPlace(BinaryOp::Div, a, b)) {
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(BinaryOp::Div, SITE()));
        NEXT;
    }
    CASE(OP_FLOOR_DIV) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isInt() && b.isInt() && intArithmeticGivesInt(BinaryOp::FloorDiv, b.asInt())) {
            a.intRef() = intArithmetic(BinaryOp::FloorDiv, a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(BinaryOp::FloorDiv, SITE()));
        NEXT;
    }
    CASE(OP_MOD) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isInt() && b.isInt() && intArithmeticGivesInt(BinaryOp::Mod, b.asInt())) {
            a.intRef() = intArithmetic(BinaryOp::Mod, a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(BinaryOp::Mod, SITE()));
        NEXT;
    }
    CASE(OP_POW) {
        PROTECT(arithmeticSlow(BinaryOp::Pow, SITE()));
        NEXT;
    }
    CASE(OP_NEGATE) {
        Value& a = top[-1];
        if (a.isInt()) {
            a.intRef() = wrappingSub(0, a.asInt());
            NEXT;
        }
        if (a.isFloat()) {
            a.floatRef() = -a.asFloat();
            NEXT;
        }
        PROTECT(negateSlow(SITE()));
        NEXT;
    }
    CASE(OP_NOT) {
        const bool result = !isTruthy(top[-1]);
        top[-1] = Value(result);
        NEXT;
    }
    CASE(OP_EQUAL) {
        if (top[-2].isNumber() && top[-1].isNumber()) {
            storePlain(top[-2], compareNumbers(BinaryOp::Eq, top[-2], top[-1]));
            --top;
            NEXT;
        }
        const bool result = valuesEqual(top[-2], top[-1]);
        DROP();
        top[-1] = Value(result);
        NEXT;
    }
    CASE(OP_NOT_EQUAL) {
        if (top[-2].isNumber() && top[-1].isNumber()) {
            storePlain(top[-2], compareNumbers(BinaryOp::NotEq, top[-2], top[-1]));
            --top;
            NEXT;
        }
        const bool result = !valuesEqual(top[-2], top[-1]);
        DROP();
        top[-1] = Value(result);
        NEXT;
    }
    CASE(OP_LESS) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, compareNumbers(BinaryOp::Less, a, b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(BinaryOp::Less, SITE()));
        NEXT;
    }
    CASE(OP_LESS_EQUAL) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, compareNumbers(BinaryOp::LessEq, a, b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(BinaryOp::LessEq, SITE()));
        NEXT;
    }
    CASE(OP_GREATER) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, compareNumbers(BinaryOp::Greater, a, b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(BinaryOp::Greater, SITE()));
        NEXT;
    }
    CASE(OP_GREATER_EQUAL) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, compareNumbers(BinaryOp::GreaterEq, a, b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(BinaryOp::GreaterEq, SITE()));
        NEXT;
    }
    CASE(OP_JUMP) {
        const uint16_t distance = READ_U16();
        ip += distance;
        NEXT;
    }
    CASE(OP_JUMP_IF_FALSE) {
        const uint16_t distance = READ_U16();
        if (!isTruthy(top[-1])) ip += distance;
        NEXT;
    }
    CASE(OP_JUMP_IF_TRUE) {
        const uint16_t distance = READ_U16();
        if (isTruthy(top[-1])) ip += distance;
        NEXT;
    }
    CASE(OP_LOOP) {
        const uint16_t distance = READ_U16();
        ip -= distance;
        if (limits.stepsEnabled) [[unlikely]]
            PROTECT(countStep(limits));
        NEXT;
    }
    CASE(OP_CALL) {
        const uint8_t argumentCount = READ_BYTE();
        Value* calleeSlot = top - argumentCount - 1;
        frame->ip = ip;
        top_ = top;
        if (limits.stepsEnabled) [[unlikely]]
            countStep(limits);
        if (calleeSlot->isClosure()) {
            // fast path: a closure call continues in this loop
            VMClosure& closure = calleeSlot->asClosure();
            if (closure.proto->arity != argumentCount) {
                runtimeError(calleeArityMessage(*closure.proto, argumentCount), SITE().line());
            }
            if (frameCount_ == maxFrames_) runtimeError(kCallStackOverflow, SITE().line());
            if (plain_) {
                enterFrame(closure, calleeSlot + 1);
                LOAD_FRAME();
                NEXT;
            }
            // fast path: the new frame's locals taken from what was just stored, not read back
            frame = enterFrameInLoop(frame, closure, calleeSlot + 1);
            ip = closure.code;
            slots = calleeSlot + 1;
            constants = closure.constants;
            upvalues = closure.upvalues.data();
            NEXT;
        }
        if (calleeSlot->isNative() && arityAccepts(calleeSlot->asNative(), argumentCount)) {
            // fast path: a builtin reads its arguments in place; the stack never
            // moves, so they stay put while it calls back into the machine
            {
                // Scoped so that no destructor lies between here and the next dispatch.
                Value result =
                    invokeNative(calleeSlot->asNative(), *this, std::span<Value>(calleeSlot + 1, argumentCount));
                top = top_;
                while (top > calleeSlot) DROP();
                new (top++) Value(std::move(result));  // where the callee was: no overflow
            }
            NEXT;
        }
        callValue(calleeSlot, argumentCount, SITE());
        top = top_;
        NEXT;
    }
    CASE(OP_CLOSURE) {
        const uint16_t index = READ_U16();
        PROTECT(makeClosure(*frame, index));
        NEXT;
    }
    CASE(OP_RETURN) {
        if (!plain_) {
        // The fused returns come here: the plain VM runs no fused instruction.
        FAST_RETURN:
            // fast path: the values below the result (callee, arguments,
            // locals, loops' values) released in place, then the result moved
            // straight into the callee's slot, without a temporary. Scoped so
            // that no destructor lies between here and the next dispatch.
            Value* const calleeSlot = slots - 1;
            Value* const resultSlot = top - 1;
            if (!openUpvalues_.empty()) closeUpvalues(slots);
            const std::size_t depth = --frameCount_;
            while (!handlers_.empty() && handlers_.back().frameCount > depth) handlers_.pop_back();
            for (Value* slot = calleeSlot; slot != resultSlot; ++slot) {
                if (slot->isObject()) Value released(std::move(*slot));
            }
            if (depth == targetDepth) {
                top_ = calleeSlot;
                return Value(std::move(*resultSlot));
            }
            new (calleeSlot) Value(std::move(*resultSlot));
            top = slots;
            // The caller's frame lies just below (the frame array never moves).
            --frame;
            ip = frame->ip;
            slots = frame->slots;
            constants = frame->closure->constants;
            upvalues = frame->closure->upvalues.data();
            NEXT;
        }
        {
            // Scoped so that no destructor lies between here and the next dispatch.
            Value result = std::move(*--top);
            if (!openUpvalues_.empty()) closeUpvalues(slots);
            --frameCount_;
            while (!handlers_.empty() && handlers_.back().frameCount > frameCount_) handlers_.pop_back();
            while (top > slots - 1) DROP();
            top_ = top;
            if (frameCount_ == targetDepth) return result;
            new (top++) Value(std::move(result));  // the callee's slot was freed: no overflow
        }
        LOAD_FRAME();
        NEXT;
    }
    CASE(OP_ITER_LIST) {
        PROTECT(iterList(SITE()));
        NEXT;
    }
    CASE(OP_LEN) {
        PROTECT(length(SITE()));
        NEXT;
    }
    CASE(OP_FOR_TEST) {
        const Value& variable = top[-3];
        const Value& limit = top[-2];
        const Value& step = top[-1];
        if (variable.isNumber() && limit.isNumber() && step.isNumber()) {
            const bool result = forLoopContinues(variable, limit, step);
            top -= 2;
            storePlain(top[-1], result);
            NEXT;
        }
        PROTECT(forTestSlow(SITE()));
        NEXT;
    }
    CASE(OP_TRY) {
        const uint16_t distance = READ_U16();
        PROTECT(
            handlers_.push_back(TryHandler{frameCount_, static_cast<std::size_t>(top - stack_.get()), ip + distance}));
        NEXT;
    }
    CASE(OP_END_TRY) {
        if (!handlers_.empty()) handlers_.pop_back();
        NEXT;
    }
    // Fused instructions (quicken.h): the fast path, else the first instruction of the sequence as compiled.
    // Each knows the opcodes of its later instructions from its row and variant (see Fused).
    CASE(OP_QUICK_FOR_LOOP) {
        FUSED(OP_QUICK_FOR_LOOP);
        Value& variable = slots[fused.u16<0>()];
        const Value& step = slots[fused.u16<1>()];
        const uint8_t* const headStart = fused.at(fused.target<5>());
        const SequenceAt<NumericForHeadSteps> head(headStart + 1);
        const Value& limit = slots[head.u16<1>()];
        // The head pushes three values.
        bool more;
        if (variable.isInt() && step.isInt() && limit.isInt() && stackEnd - top >= 3) {
            // forLoopContinues on three Ints, without converting them.
            const int64_t v = variable.intRef() = wrappingAdd(variable.asInt(), step.asInt());
            const int64_t end = limit.asInt();
            more = step.asInt() >= 0 ? compareIntsAsDoubles(BinaryOp::LessEq, v, end)
                                     : compareIntsAsDoubles(BinaryOp::GreaterEq, v, end);
        } else {
            if (!variable.isNumber() || !step.isNumber() || !limit.isNumber() || stackEnd - top < 3)
                goto LABEL_OP_GET_LOCAL;
            numberArithmeticInPlace<Operands::Numbers>(BinaryOp::Add, variable, step);
            more = forLoopContinues(variable, limit, step);
        }
        if (limits.stepsEnabled) [[unlikely]] {
            ip = fused.at(fused.kLength);
            PROTECT(countStep(limits));
        }
        if (more) {
            ip = head.at(head.kLength);
        } else {
            PUSH_COPY(Value(false));
            ip = head.at(head.target<4>());
        }
        NEXT;
    }
// x op k for a local x and an Int constant k, `op` the variant's operator
// (x % 0: run the sequence as compiled).
#define LOCAL_INT_ARITH(op)                                            \
    do {                                                               \
        FUSED(OP_QUICK_LOCAL_INT_ARITH);                               \
        const Value& a = slots[fused.u16<0>()];                        \
        if (!a.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL; \
        const int64_t x = a.asInt();                                   \
        const int64_t y = constants[fused.u16<1>()].asInt();           \
        if (!intArithmeticGivesInt((op), y)) goto LABEL_OP_GET_LOCAL;  \
        storePlain(*top++, intArithmetic((op), x, y));                 \
        ip = fused.at(fused.kLength);                                  \
        NEXT;                                                          \
    } while (false)
    CASE(OP_QUICK_LOCAL_INT_ARITH) LOCAL_INT_ARITH(fused.intOperator());
// g = g + x op k for a global g, a local x and an Int constant k; `op` as in
// LOCAL_INT_ARITH. The global is updated where it is kept; nothing is
// pushed. An unbound global, other kinds or x % 0 run the sequence as
// compiled.
#define GLOBAL_ADD_LOCAL_ARITH(op)                                                                      \
    do {                                                                                                \
        FUSED(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH);                                                         \
        Value* const total = frame->globalCache[fused.u16<0>()];                                        \
        const Value& a = slots[fused.u16<1>()];                                                         \
        if (!total || !total->isNumber() || !a.isInt() || stackEnd - top < 3) goto LABEL_OP_GET_GLOBAL; \
        const int64_t x = a.asInt();                                                                    \
        const int64_t y = constants[fused.u16<2>()].asInt();                                            \
        if (!intArithmeticGivesInt((op), y)) goto LABEL_OP_GET_GLOBAL;                                  \
        storePlain(*top, intArithmetic((op), x, y)); /* the term, in the free slot at the top */        \
        numberArithmeticInPlace<Operands::Numbers>(BinaryOp::Add, *total, *top);                        \
        ip = fused.at(fused.kLength);                                                                   \
        NEXT;                                                                                           \
    } while (false)
    CASE(OP_QUICK_GLOBAL_ADD_LOCAL_ARITH) GLOBAL_ADD_LOCAL_ARITH(fused.intOperator());
    CASE(OP_QUICK_GLOBAL_ADD_ELEMENT) {
        FUSED(OP_QUICK_GLOBAL_ADD_ELEMENT);
        // The element is read where the container keeps it and the sum written where the total is kept.
        Value* const total = frame->globalCache[fused.u16<0>()];
        const Value* object = frame->globalCache[fused.u16<1>()];
        const Value& key = slots[fused.u16<2>()];
        if (!total || !object || !total->isNumber() || stackEnd - top < 3) goto LABEL_OP_GET_GLOBAL;
        const Value* element = elementSlot(*object, key, HINT_AT(fused.offset<3>()));
        if (!element || !element->isNumber()) goto LABEL_OP_GET_GLOBAL;
        numberArithmeticInPlace<Operands::Numbers>(BinaryOp::Add, *total, *element);
        ip = fused.at(fused.kLength);
        NEXT;
    }
// if x op k, for a local x and an Int constant k; `op` the comparison,
// read from the fused opcode or, in a variant's own handler, a constant.
#define LOCAL_INT_COMPARE_JUMP(op)                                               \
    do {                                                                         \
        FUSED(OP_QUICK_LOCAL_INT_COMPARE_JUMP);                                  \
        const Value& a = slots[fused.u16<0>()];                                  \
        if (!a.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;        \
        const double y = static_cast<double>(constants[fused.u16<1>()].asInt()); \
        ip = fused.branch<3>(compareDoubles(binaryOpOf(op), asDouble(a), y));    \
        NEXT;                                                                    \
    } while (false)
    CASE(OP_QUICK_LOCAL_INT_COMPARE_JUMP) LOCAL_INT_COMPARE_JUMP(fused.variant());
    CASE(OP_QUICK_LOCAL_STRING_COMPARE_JUMP) {
        FUSED(OP_QUICK_LOCAL_STRING_COMPARE_JUMP);
        const Value& a = slots[fused.u16<0>()];
        if (!a.isString() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        ip = fused.branch<3>(
            compareStrings(binaryOpOf(fused.variant()), a.asString(), constants[fused.u16<1>()].asString()));
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_STRING_COMPARE) {
        FUSED(OP_QUICK_LOCAL_STRING_COMPARE);
        const Value& a = slots[fused.u16<0>()];
        if (!a.isString() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        storePlain(*top++,
                   compareStrings(binaryOpOf(fused.variant()), a.asString(), constants[fused.u16<1>()].asString()));
        ip = fused.at(fused.kLength);
        NEXT;
    }
// if x op g for a local x and a global g; `op` as in LOCAL_INT_COMPARE_JUMP.
#define LOCAL_GLOBAL_COMPARE_JUMP(op)                                                             \
    do {                                                                                          \
        FUSED(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP);                                                \
        const Value& a = slots[fused.u16<0>()];                                                   \
        const Value* b = frame->globalCache[fused.u16<1>()];                                      \
        if (!b || !a.isNumber() || !b->isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL; \
        ip = fused.branch<3>(compareDoubles(binaryOpOf(op), asDouble(a), asDouble(*b)));          \
        NEXT;                                                                                     \
    } while (false)
    CASE(OP_QUICK_LOCAL_GLOBAL_COMPARE_JUMP) LOCAL_GLOBAL_COMPARE_JUMP(fused.variant());
    CASE(OP_QUICK_LOCAL_GRID_INDEX) {
        FUSED(OP_QUICK_LOCAL_GRID_INDEX);
        // The row is read in place, never pushed.
        const Value& grid = slots[fused.u16<0>()];
        const Value& i = slots[fused.u16<1>()];
        const Value& j = slots[fused.u16<3>()];
        if (!grid.isList() || !i.isInt() || !j.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const ValueVector& rows = grid.listItems();
        int64_t row = i.asInt();
        if (!toPosition(row, rows.size())) goto LABEL_OP_GET_LOCAL;
        const Value& line = rows[static_cast<std::size_t>(row)];
        if (!line.isList()) goto LABEL_OP_GET_LOCAL;
        const ValueVector& items = line.listItems();
        int64_t column = j.asInt();
        if (!toPosition(column, items.size())) goto LABEL_OP_GET_LOCAL;
        new (top++) Value(items[static_cast<std::size_t>(column)]);
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_LOCAL_INDEX) {
        FUSED(OP_QUICK_LOCAL_LOCAL_INDEX);
        const Value& object = slots[fused.u16<0>()];
        const Value& key = slots[fused.u16<1>()];
        if (!key.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        int64_t index = key.asInt();
        if (object.isString()) {
            // a string's byte (source[i]), as the shared one-byte string
            const std::string_view text = object.asString();
            if (!toPosition(index, text.size())) goto LABEL_OP_GET_LOCAL;
            new (top++) Value(byteString(static_cast<unsigned char>(text[static_cast<std::size_t>(index)])));
            ip = fused.at(fused.kLength);
            NEXT;
        }
        if (!object.isList()) goto LABEL_OP_GET_LOCAL;
        const ValueVector& items = object.listItems();
        if (!toPosition(index, items.size())) goto LABEL_OP_GET_LOCAL;
        new (top++) Value(items[static_cast<std::size_t>(index)]);
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_GLOBAL_LOCAL_INDEX) {
        FUSED(OP_QUICK_GLOBAL_LOCAL_INDEX);
        // The container is read where the global keeps it, without a push.
        const Value* object = frame->globalCache[fused.u16<0>()];
        const Value& key = slots[fused.u16<1>()];
        if (!object || stackEnd - top < 2) goto LABEL_OP_GET_GLOBAL;
        if (object->isList() && key.isInt()) {
            const ValueVector& items = object->listItems();
            int64_t index = key.asInt();
            if (!toPosition(index, items.size())) goto LABEL_OP_GET_GLOBAL;
            new (top++) Value(items[static_cast<std::size_t>(index)]);
        } else if (object->isMap() && key.isString()) {
            constructFieldValue(top++, findField(object->asMap(), key, FIELD_HINT(fused.offset<2>())));
        } else {
            goto LABEL_OP_GET_GLOBAL;
        }
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_GLOBAL_LOCAL_INDEX_JUMP) {
        FUSED(OP_QUICK_GLOBAL_LOCAL_INDEX_JUMP);
        // The element is tested where the container keeps it, never pushed.
        const Value* object = frame->globalCache[fused.u16<0>()];
        const Value& key = slots[fused.u16<1>()];
        if (!object || stackEnd - top < 2) goto LABEL_OP_GET_GLOBAL;
        const Value* element = nullptr;
        if (object->isList() && key.isInt()) {
            const ValueVector& items = object->listItems();
            int64_t index = key.asInt();
            if (!toPosition(index, items.size())) goto LABEL_OP_GET_GLOBAL;
            element = &items[static_cast<std::size_t>(index)];
        } else if (object->isMap() && key.isString()) {
            element = findField(object->asMap(), key, FIELD_HINT(fused.offset<2>()));
        } else {
            goto LABEL_OP_GET_GLOBAL;
        }
        ip = fused.branch<3>(element && isTruthy(*element));
        NEXT;
    }
    CASE(OP_QUICK_GLOBAL_LOCAL_STORE) {
        FUSED(OP_QUICK_GLOBAL_LOCAL_STORE);
        // An element statement g[i] = v: the value is stored where it belongs, nothing pushed.
        Value* object = frame->globalCache[fused.u16<0>()];
        const Value& key = slots[fused.u16<1>()];
        const uint8_t valueOp = fused.own();
        // The value's instruction comes in two lengths, so SET_INDEX is found after it.
        const std::ptrdiff_t setIndexAt = fused.offset<2>() + Row::valueLength(valueOp);
        if (!object || stackEnd - top < 3) goto LABEL_OP_GET_GLOBAL;
        Value* element = elementSlot(*object, key, HINT_AT(setIndexAt));
        // A map lacking the string key gets the entry appended, as SET_INDEX
        // would after its own lookup (counts[word] = 1 for a new word).
        MapData* const appendTo = !element && object->isMap() && key.isString() ? &object->asMap() : nullptr;
        if (!element && !appendTo) goto LABEL_OP_GET_GLOBAL;
        if (appendTo) {
            Value value;
            switch (valueOp) {
            case Row::variantFor(OP_NIL): break;
            case Row::variantFor(OP_TRUE): value = Value(true); break;
            case Row::variantFor(OP_FALSE): value = Value(false); break;
            case Row::variantFor(OP_CONSTANT): value = constants[fused.u16<2>()]; break;
            case Row::variantFor(OP_GET_LOCAL): value = slots[fused.u16<2>()]; break;
            default: goto LABEL_OP_GET_GLOBAL;
            }
            frame->ip = fused.at(setIndexAt + instructionLength(OP_SET_INDEX));  // should growing the map fail
            top_ = top;
            appendTo->append(key, std::move(value));
        } else {
            switch (valueOp) {
            case Row::variantFor(OP_NIL): *element = Value(); break;
            case Row::variantFor(OP_TRUE): *element = Value(true); break;
            case Row::variantFor(OP_FALSE): *element = Value(false); break;
            case Row::variantFor(OP_CONSTANT): *element = constants[fused.u16<2>()]; break;
            case Row::variantFor(OP_GET_LOCAL): *element = slots[fused.u16<2>()]; break;
            default: goto LABEL_OP_GET_GLOBAL;
            }
        }
        ip = fused.at(setIndexAt + instructionLength(OP_SET_INDEX) + instructionLength(OP_POP));
        NEXT;
    }
    CASE(OP_QUICK_GLOBAL_LOCAL_STORE_ARITH) {
        FUSED(OP_QUICK_GLOBAL_LOCAL_STORE_ARITH);
        if (stackEnd - top < 4 ||
            !storeElementArithmetic(frame->globalCache[fused.u16<0>()], slots[fused.u16<1>()], slots[fused.u16<2>()],
                                    constants[fused.u16<3>()], fused.variant(), FIELD_HINT(fused.offset<5>())))
            goto LABEL_OP_GET_GLOBAL;
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_INDEX) {
        FUSED(OP_QUICK_LOCAL_INDEX);
        Value& object = top[-1];
        const Value& key = slots[fused.u16<0>()];
        if (!object.isList() || !key.isInt() || top == stackEnd) goto LABEL_OP_GET_LOCAL;
        const ValueVector& items = object.listItems();
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) goto LABEL_OP_GET_LOCAL;
        {
            Value element = items[static_cast<std::size_t>(index)];
            object = std::move(element);
        }
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_FIELD) {
        FUSED(OP_QUICK_LOCAL_FIELD);
        const Value& object = slots[fused.u16<0>()];
        if (!object.isMap() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        constructFieldValue(top++, findField(object.asMap(), constants[fused.u16<1>()], FIELD_HINT(0)));
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_KEY_FIELD) {
        FUSED(OP_QUICK_LOCAL_KEY_FIELD);
        // The sequence pushes four values before its read leaves three.
        const Value& object = slots[fused.u16<2>()];
        if (!object.isMap() || stackEnd - top < 4) goto LABEL_OP_GET_LOCAL;
        const Value* found = findField(object.asMap(), constants[fused.u16<3>()], FIELD_HINT(0));
        top = pushFieldUpdateHead(top, slots[fused.u16<0>()], constants[fused.u16<1>()], found);
        ip = fused.at(fused.kLength);
        NEXT;
    }
// m.f = n.g op x * y for locals m, n, x and y, `op` ADD or SUB (b.vx = b.vx
// - dx * b2m): on numbers, with g present in n and f in m, the result goes
// where m.f is kept and nothing is pushed, as SET_INDEX's fast path stores
// it; anything else runs the sequence as compiled.
#define FIELD_ADD_PRODUCT(op)                                                                                    \
    do {                                                                                                         \
        FUSED(OP_QUICK_FIELD_ADD_PRODUCT);                                                                       \
        const Value& target = slots[fused.u16<0>()];                                                             \
        const Value& source = slots[fused.u16<2>()];                                                             \
        const Value& x = slots[fused.u16<5>()];                                                                  \
        const Value& y = slots[fused.u16<6>()];                                                                  \
        /* The sequence pushes five values at its peak. */                                                       \
        if (!target.isMap() || !source.isMap() || !x.isNumber() || !y.isNumber() || stackEnd - top < 5)          \
            goto LABEL_OP_GET_LOCAL;                                                                             \
        const Value* read = findField(source.asMap(), constants[fused.u16<3>()], FIELD_HINT(fused.offset<4>())); \
        if (!read || !read->isNumber()) goto LABEL_OP_GET_LOCAL;                                                 \
        Value* element = findField(target.asMap(), constants[fused.u16<1>()], FIELD_HINT(fused.offset<9>()));    \
        if (!element) goto LABEL_OP_GET_LOCAL;                                                                   \
        /* As MUL, then ADD or SUB, compute it, in the free slot at the top; on numbers neither fails. */        \
        numberArithmetic<Operands::Numbers>(BinaryOp::Mul, x, y, *top);                                          \
        numberArithmetic<Operands::Numbers>((op) == OP_ADD ? BinaryOp::Add : BinaryOp::Sub, *read, *top, *top);  \
        *element = *top;                                                                                         \
        ip = fused.at(fused.kLength);                                                                            \
        NEXT;                                                                                                    \
    } while (false)
    CASE(OP_QUICK_FIELD_ADD_PRODUCT) FIELD_ADD_PRODUCT(fused.variant());
// m.f op n.g for locals m and n (b.x - b2.x); `compute` as in
// LOCAL_LOCAL_ARITH, from the two fields read. Both fields present and
// numbers: the result pushed; anything else runs the sequence as compiled.
#define FIELD_FIELD_ARITH(compute)                                                                            \
    do {                                                                                                      \
        FUSED(OP_QUICK_FIELD_FIELD_ARITH);                                                                    \
        const Value& first = slots[fused.u16<0>()];                                                           \
        const Value& second = slots[fused.u16<3>()];                                                          \
        /* The sequence pushes three values at its peak. */                                                   \
        if (!first.isMap() || !second.isMap() || stackEnd - top < 3) goto LABEL_OP_GET_LOCAL;                 \
        const Value* a = findField(first.asMap(), constants[fused.u16<1>()], FIELD_HINT(fused.offset<2>()));  \
        if (!a || !a->isNumber()) goto LABEL_OP_GET_LOCAL;                                                    \
        const Value* b = findField(second.asMap(), constants[fused.u16<4>()], FIELD_HINT(fused.offset<5>())); \
        if (!b || !b->isNumber()) goto LABEL_OP_GET_LOCAL;                                                    \
        if (!(compute)) goto LABEL_OP_GET_LOCAL;                                                              \
        ++top;                                                                                                \
        ip = fused.at(fused.kLength);                                                                         \
        NEXT;                                                                                                 \
    } while (false)
    CASE(OP_QUICK_FIELD_FIELD_ARITH) FIELD_FIELD_ARITH(fused.numberArithmetic(*a, *b, *top));
    CASE(OP_QUICK_LOCAL_FIELD_KEEP) {
        FUSED(OP_QUICK_LOCAL_FIELD_KEEP);
        const Value& object = slots[fused.u16<0>()];
        if (!object.isMap() || stackEnd - top < 3) goto LABEL_OP_GET_LOCAL;
        const Value& key = constants[fused.u16<1>()];
        top = pushFieldUpdateHead(top, object, key, findField(object.asMap(), key, FIELD_HINT(0)));
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_ELEMENT) {
        FUSED(OP_QUICK_LOCAL_ELEMENT);
        const Value& object = slots[fused.u16<0>()];
        if (!object.isList() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const ValueVector& items = object.listItems();
        int64_t index = constants[fused.u16<1>()].asInt();
        if (!toPosition(index, items.size())) goto LABEL_OP_GET_LOCAL;
        new (top++) Value(items[static_cast<std::size_t>(index)]);
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_FIELD) {
        FUSED(OP_QUICK_FIELD);
        Value& object = top[-1];
        if (!object.isMap() || top == stackEnd) goto LABEL_OP_CONSTANT;
        {
            const Value* found = findField(object.asMap(), constants[fused.u16<0>()], FIELD_HINT(0));
            Value element = found ? *found : Value();
            object = std::move(element);
        }
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_ARITH_SET_INDEX_POP) {
        FUSED(OP_QUICK_ARITH_SET_INDEX_POP);
        // An element statement c[k] = a op b on numbers: the result goes where
        // it belongs, never pushed; the element must exist (a list position
        // in range, a map's present string key), as SET_INDEX's fast path.
        const uint8_t op = fused.own();
        const Value& a = top[-2];
        const Value& b = top[-1];
        Value& object = top[-4];
        const Value& key = top[-3];
        Value* element = nullptr;
        if (a.isNumber() && b.isNumber()) element = elementSlot(object, key, HINT_AT(fused.offset<1>()));
        if (!element) {
            if (op == Row::variantFor(OP_ADD)) goto LABEL_OP_ADD;
            if (op == Row::variantFor(OP_SUB)) goto LABEL_OP_SUB;
            goto LABEL_OP_MUL;
        }
        {
            Value result;
            fused.numberArithmetic(a, b, result);  // numbers: it does not fail
            *element = std::move(result);
        }
        top -= 2;  // the operands are numbers: nothing to release
        DROP();    // the key
        DROP();    // the container
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_SET_LOCAL_POP) {
        FUSED(OP_QUICK_SET_LOCAL_POP);
        Value& slot = slots[fused.u16<0>()];
        if (&slot == top - 1) goto LABEL_OP_SET_LOCAL;
        slot = std::move(top[-1]);
        --top;
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_SET_UPVALUE_POP) {
        FUSED(OP_QUICK_SET_UPVALUE_POP);
        Value* location = upvalues[fused.u8<0>()]->location;
        if (location == top - 1) goto LABEL_OP_SET_UPVALUE;
        *location = std::move(top[-1]);
        --top;
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_SET_GLOBAL_POP) {
        FUSED(OP_QUICK_SET_GLOBAL_POP);
        Value* slot = frame->globalCache[fused.u16<0>()];
        if (!slot) goto LABEL_OP_SET_GLOBAL;
        *slot = std::move(top[-1]);
        --top;
        ip = fused.at(fused.kLength);
        NEXT;
    }
    CASE(OP_QUICK_CALL_POP) {
        FUSED(OP_QUICK_CALL_POP);
        const uint8_t argumentCount = fused.u8<0>();
        Value* calleeSlot = top - argumentCount - 1;
        // A closure's call runs as compiled; its return comes back to the POP.
        if (!calleeSlot->isNative() || !arityAccepts(calleeSlot->asNative(), argumentCount)) goto LABEL_OP_CALL;
        frame->ip = fused.at(fused.offset<1>());  // where OP_CALL leaves it, for errors and callbacks
        top_ = top;
        if (limits.stepsEnabled) [[unlikely]]
            countStep(limits);
        NativeObj& native = calleeSlot->asNative();
        if (native.fn == nativePush && argumentCount == 2 && calleeSlot[1].isList() &&
            calleeSlot[1].listItems().size() < maxListLength()) {
            // push(xs, v), the commonest call statement: the append push would do
            calleeSlot[1].listItems().push_back(std::move(calleeSlot[2]));
        } else {
            const Value result = invokeNative(native, *this, std::span<Value>(calleeSlot + 1, argumentCount));
            top = top_;
        }
        while (top > calleeSlot) DROP();
        ip = fused.at(fused.kLength);
        NEXT;
    }
// A value pushed as GET_LOCAL, GET_UPVALUE, CONSTANT or NIL pushes it, and the
// return run at once, without a dispatch between them.
#define PUSH_AND_RETURN(row, value, first)       \
    do {                                         \
        FUSED(row);                              \
        if (top == stackEnd) goto LABEL_##first; \
        new (top++) Value(value);                \
        ip = fused.at(fused.kLength);            \
        goto FAST_RETURN;                        \
    } while (false)
    CASE(OP_QUICK_RETURN_LOCAL) PUSH_AND_RETURN(OP_QUICK_RETURN_LOCAL, slots[fused.u16<0>()], OP_GET_LOCAL);
    CASE(OP_QUICK_RETURN_UPVALUE)
    PUSH_AND_RETURN(OP_QUICK_RETURN_UPVALUE, *upvalues[fused.u8<0>()]->location, OP_GET_UPVALUE);
    CASE(OP_QUICK_RETURN_CONSTANT) PUSH_AND_RETURN(OP_QUICK_RETURN_CONSTANT, constants[fused.u16<0>()], OP_CONSTANT);
    CASE(OP_QUICK_RETURN_NIL) PUSH_AND_RETURN(OP_QUICK_RETURN_NIL, Value(), OP_NIL);
#undef PUSH_AND_RETURN
    CASE(OP_QUICK_GLOBAL_PUSH) {
        FUSED(OP_QUICK_GLOBAL_PUSH);
        // push(g, v) of a global list g while push is the builtin: the value
        // appended where g is kept, nothing pushed; the call's step counted.
        const Value* callee = frame->globalCache[fused.u16<0>()];
        Value* list = frame->globalCache[fused.u16<1>()];
        const uint8_t valueOp = fused.own();
        // The value's instruction comes in two lengths, so CALL is found after it.
        const std::ptrdiff_t callAt = fused.offset<2>() + Row::valueLength(valueOp);
        if (!callee || !list || stackEnd - top < 3 || !callee->isNative() || callee->asNative().fn != nativePush ||
            !list->isList() || list->listItems().size() >= maxListLength())
            goto LABEL_OP_GET_GLOBAL;
        const uint8_t* const after = fused.at(callAt + instructionLength(OP_CALL));
        frame->ip = after;  // where OP_CALL leaves it, should growing the list fail
        top_ = top;
        if (limits.stepsEnabled) [[unlikely]]
            countStep(limits);
        switch (valueOp) {
        case Row::variantFor(OP_NIL): list->listItems().push_back(Value()); break;
        case Row::variantFor(OP_TRUE): list->listItems().push_back(Value(true)); break;
        case Row::variantFor(OP_FALSE): list->listItems().push_back(Value(false)); break;
        case Row::variantFor(OP_CONSTANT): list->listItems().push_back(constants[fused.u16<2>()]); break;
        default: list->listItems().push_back(slots[fused.u16<2>()]); break;
        }
        ip = after + instructionLength(OP_POP);
        NEXT;
    }
// A comparison of two numbers and the conditional jump on its result.
#define COMPARE_JUMP(row, op)                                                         \
    do {                                                                              \
        FUSED(row);                                                                   \
        const Value& a = top[-2];                                                     \
        const Value& b = top[-1];                                                     \
        if (!a.isNumber() || !b.isNumber()) goto LABEL_##op;                          \
        const bool result = compareDoubles(binaryOpOf(op), asDouble(a), asDouble(b)); \
        top -= 2; /* numbers: nothing to release */                                   \
        ip = fused.branch<1>(result);                                                 \
        NEXT;                                                                         \
    } while (false)
    CASE(OP_QUICK_EQUAL_JUMP) COMPARE_JUMP(OP_QUICK_EQUAL_JUMP, OP_EQUAL);
    CASE(OP_QUICK_NOT_EQUAL_JUMP) COMPARE_JUMP(OP_QUICK_NOT_EQUAL_JUMP, OP_NOT_EQUAL);
    CASE(OP_QUICK_LESS_JUMP) COMPARE_JUMP(OP_QUICK_LESS_JUMP, OP_LESS);
    CASE(OP_QUICK_LESS_EQUAL_JUMP) COMPARE_JUMP(OP_QUICK_LESS_EQUAL_JUMP, OP_LESS_EQUAL);
    CASE(OP_QUICK_GREATER_JUMP) COMPARE_JUMP(OP_QUICK_GREATER_JUMP, OP_GREATER);
    CASE(OP_QUICK_GREATER_EQUAL_JUMP) COMPARE_JUMP(OP_QUICK_GREATER_EQUAL_JUMP, OP_GREATER_EQUAL);
#undef COMPARE_JUMP
// a op b for locals a and b; `compute` stores the result at the top as the
// variant computes it (false: run the sequence as compiled).
#define LOCAL_LOCAL_ARITH(compute)                                                         \
    do {                                                                                   \
        FUSED(OP_QUICK_LOCAL_LOCAL_ARITH);                                                 \
        const Value& a = slots[fused.u16<0>()];                                            \
        const Value& b = slots[fused.u16<1>()];                                            \
        if (!a.isNumber() || !b.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL; \
        if (!(compute)) goto LABEL_OP_GET_LOCAL;                                           \
        ++top;                                                                             \
        ip = fused.at(fused.kLength);                                                      \
        NEXT;                                                                              \
    } while (false)
    CASE(OP_QUICK_LOCAL_LOCAL_ARITH) LOCAL_LOCAL_ARITH(fused.numberArithmetic(a, b, *top));
// a op b for captured a and b (count + step); `compute` as in LOCAL_LOCAL_ARITH.
#define UPVALUE_UPVALUE_ARITH(compute)                                                       \
    do {                                                                                     \
        FUSED(OP_QUICK_UPVALUE_UPVALUE_ARITH);                                               \
        const Value& a = *upvalues[fused.u8<0>()]->location;                                 \
        const Value& b = *upvalues[fused.u8<1>()]->location;                                 \
        if (!a.isNumber() || !b.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_UPVALUE; \
        if (!(compute)) goto LABEL_OP_GET_UPVALUE;                                           \
        ++top;                                                                               \
        ip = fused.at(fused.kLength);                                                        \
        NEXT;                                                                                \
    } while (false)
    CASE(OP_QUICK_UPVALUE_UPVALUE_ARITH) UPVALUE_UPVALUE_ARITH(fused.numberArithmetic(a, b, *top));
    // u = u + v for captured u and v: numbers add where u is kept, without
    // a value on the stack; anything else runs the sequence as compiled.
    CASE(OP_QUICK_UPVALUE_ADD_ASSIGN) {
        FUSED(OP_QUICK_UPVALUE_ADD_ASSIGN);
        Value& x = *upvalues[fused.u8<0>()]->location;
        const Value& y = *upvalues[fused.u8<1>()]->location;
        if (stackEnd - top < 2 || !numberArithmeticInPlace(BinaryOp::Add, x, y)) goto LABEL_OP_GET_UPVALUE;
        ip = fused.at(fused.kLength);
        NEXT;
    }
// a op b for locals a and b as a value; `op` as in LOCAL_INT_COMPARE_JUMP.
#define LOCAL_LOCAL_COMPARE(op)                                                            \
    do {                                                                                   \
        FUSED(OP_QUICK_LOCAL_LOCAL_COMPARE);                                               \
        const Value& a = slots[fused.u16<0>()];                                            \
        const Value& b = slots[fused.u16<1>()];                                            \
        if (!a.isNumber() || !b.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL; \
        storePlain(*top++, compareDoubles(binaryOpOf(op), asDouble(a), asDouble(b)));      \
        ip = fused.at(fused.kLength);                                                      \
        NEXT;                                                                              \
    } while (false)
    CASE(OP_QUICK_LOCAL_LOCAL_COMPARE) LOCAL_LOCAL_COMPARE(fused.variant());
#if VELMOR_COMPUTED_GOTO
    // The variants with handlers of their own, each its operator a constant
    // there, so that no switch on the variant runs.
#define LOCAL_INT_ARITH_OF(op) LOCAL_INT_ARITH(binaryOpOf(op))
#define GLOBAL_ADD_LOCAL_ARITH_OF(op) GLOBAL_ADD_LOCAL_ARITH(binaryOpOf(op))
#define LOCAL_LOCAL_ARITH_OF(op) LOCAL_LOCAL_ARITH(numberArithmetic<Operands::Numbers>(binaryOpOf(op), a, b, *top))
#define UPVALUE_UPVALUE_ARITH_OF(op) \
    UPVALUE_UPVALUE_ARITH(numberArithmetic<Operands::Numbers>(binaryOpOf(op), a, b, *top))
    VELMOR_OWN_VARIANTS(VELMOR_OWN_HANDLER)
#undef LOCAL_INT_ARITH_OF
#undef GLOBAL_ADD_LOCAL_ARITH_OF
#undef LOCAL_LOCAL_ARITH_OF
#undef UPVALUE_UPVALUE_ARITH_OF
#endif
#undef LOCAL_INT_ARITH
#undef GLOBAL_ADD_LOCAL_ARITH
#undef FIELD_ADD_PRODUCT
#undef FIELD_FIELD_ARITH
#undef LOCAL_INT_COMPARE_JUMP
#undef LOCAL_GLOBAL_COMPARE_JUMP
#undef LOCAL_LOCAL_ARITH
#undef UPVALUE_UPVALUE_ARITH
#undef LOCAL_LOCAL_COMPARE
    CASE(OP_QUICK_FOR_IN_NEXT) {
        FUSED(OP_QUICK_FOR_IN_NEXT);
        const Value& position = slots[fused.u16<0>()];
        const Value& items = slots[fused.u16<1>()];
        if (!position.isInt() || position.asInt() < 0 || !items.isList() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const ValueVector& list = items.listItems();
        if (compareIntsAsDoubles(BinaryOp::Less, position.asInt(), static_cast<int64_t>(list.size()))) {
            const auto index = static_cast<std::size_t>(position.asInt());
            if (index >= list.size()) goto LABEL_OP_GET_LOCAL;
            slots[fused.u16<9>()] = list[index];
            ip = fused.at(fused.kLength);
        } else {
            PUSH_COPY(Value(false));
            ip = fused.at(fused.target<4>());
        }
        NEXT;
    }
    // x = x + y in one step, with `target` the variable x: numbers add, and
    // a string that only x holds has y appended in place; anything else (or
    // a result past the size cap) runs the sequence as compiled.
#define ADD_ASSIGN(fallback)                                                                                  \
    do {                                                                                                      \
        const uint8_t addendOp = fused.own();                                                                 \
        const uint16_t addendIndex = fused.u16<1>();                                                          \
        const Value* operand = addendOp == Row::variantFor(OP_CONSTANT)     ? &constants[addendIndex]         \
                               : addendOp == Row::variantFor(OP_GET_LOCAL)  ? &slots[addendIndex]             \
                               : addendOp == Row::variantFor(OP_GET_GLOBAL) ? frame->globalCache[addendIndex] \
                                                                            : nullptr;                        \
        if (!target || !operand || stackEnd - top < 2) goto fallback;                                         \
        Value& x = *target;                                                                                   \
        if (!numberArithmeticInPlace(BinaryOp::Add, x, *operand) &&                                           \
            (!x.isString() || !operand->isString() || x.asObject()->refCount != 1 ||                          \
             !appendToString(x, operand->asString())))                                                        \
            goto fallback;                                                                                    \
        ip = fused.at(fused.kLength);                                                                         \
        NEXT;                                                                                                 \
    } while (false)
    CASE(OP_QUICK_LOCAL_ADD_ASSIGN) {
        FUSED(OP_QUICK_LOCAL_ADD_ASSIGN);
        Value* const target = &slots[fused.u16<0>()];
        ADD_ASSIGN(LABEL_OP_GET_LOCAL);
    }
    CASE(OP_QUICK_GLOBAL_ADD_ASSIGN) {
        FUSED(OP_QUICK_GLOBAL_ADD_ASSIGN);
        const uint16_t index = fused.u16<0>();
        Value* target = frame->globalCache[index];
        if (!target) target = globalSlot(frame->globalCache, index, constants[index]);
        ADD_ASSIGN(LABEL_OP_GET_GLOBAL);
    }
#undef ADD_ASSIGN
    // x = <anything> + y, with `target` the variable x: the sum goes straight
    // into x. When the left operand is a string that only x and the stack
    // hold (x = x + ...), x lets go of it first, so that it grows in place;
    // x gets it back if the sum fails or throws (appendInPlace).
#define ADD_SET(fallback)                                                                          \
    do {                                                                                           \
        Value* x = target;                                                                         \
        Value& a = top[-2];                                                                        \
        const Value& b = top[-1];                                                                  \
        if (!x) goto fallback;                                                                     \
        if (numberArithmeticInPlace(BinaryOp::Add, a, b)) {                                        \
            *x = a;                                                                                \
            top -= 2;                                                                              \
        } else if (a.isString() && b.isString()) {                                                 \
            const bool sharedWithX = x->isString() && x->asObject() == a.asObject();               \
            if (!(sharedWithX ? appendInPlace(*x, a, b) : appendToOwnString(a, b))) goto fallback; \
            DROP();                                                                                \
            *x = std::move(a);                                                                     \
            --top;                                                                                 \
        } else {                                                                                   \
            goto fallback;                                                                         \
        }                                                                                          \
        ip = fused.at(fused.kLength);                                                              \
        NEXT;                                                                                      \
    } while (false)
    CASE(OP_QUICK_ADD_SET_LOCAL) {
        FUSED(OP_QUICK_ADD_SET_LOCAL);
        Value* local = &slots[fused.u16<1>()];
        Value* const target = local < top - 2 ? local : nullptr;  // a local below the operands
        ADD_SET(LABEL_OP_ADD);
    }
    CASE(OP_QUICK_ADD_SET_GLOBAL) {
        FUSED(OP_QUICK_ADD_SET_GLOBAL);
        const uint16_t index = fused.u16<1>();
        Value* target = frame->globalCache[index];
        if (!target) target = globalSlot(frame->globalCache, index, constants[index]);
        ADD_SET(LABEL_OP_ADD);
    }
#undef ADD_SET
    CASE(OP_QUICK_FOR_IN_LOOP) {
        FUSED(OP_QUICK_FOR_IN_LOOP);
        Value& position = slots[fused.u16<0>()];
        // The sequence pushes two values at its peak.
        if (!position.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        position.intRef() = wrappingAdd(position.asInt(), constants[fused.u16<1>()].asInt());
        ip = fused.at(fused.target<5>());  // the head, a for-in head (the row's condition)
        if (limits.stepsEnabled) [[unlikely]]
            PROTECT(countStep(limits));
        ++ip;
        // The head's own opcode byte is not read there: it has no variants.
        static_assert(quickVariantCount(quickSequence(OP_QUICK_FOR_IN_NEXT)) == 1);
        goto LABEL_OP_QUICK_FOR_IN_NEXT;
    }
    CASE(OP_HALT) {
        frame->ip = ip;
        top_ = top;
        return Value();
    }

#if VELMOR_COMPUTED_GOTO
LABEL_UNKNOWN:
#else
    default:
#endif
    top_ = top;
    {
        const uint8_t original = frame->closure->proto->code[static_cast<std::size_t>(ip - 1 - frame->closure->code)];
        runtimeError("unknown opcode " + std::to_string(original), SITE().line());
    }

#if !VELMOR_COMPUTED_GOTO
}
#endif
}

#undef CASE
#undef NEXT
#undef FUSED
#undef FIELD_HINT
#undef HINT_AT
#undef READ_BYTE
#undef READ_U16
#undef SITE
#undef LOAD_FRAME
#undef PROTECT
#undef PUSH_COPY
#undef DROP
#undef VELMOR_LABEL
#undef VELMOR_QUICK_LABEL

// ---------------------------------------------------------------------------
// Slow paths

void VM::operationError(OperationError error, const Value& first, const Value& second, BinaryOp op, Site site) {
    runtimeError(operationMessage(error, first, second, Wording::Vm, op), site.line());
}

Value* VM::storeTarget(const uint8_t* ip, std::size_t* spare) {
    const CallFrame& frame = frames_[frameCount_ - 1];
    // Read as compiled: quickening may have replaced the opcode byte.
    ip = frame.closure->proto->code.data() + (ip - frame.closure->code);
    if (spare) {
        // x = x + y + "k1" + "k2" (an interpolation that begins with x):
        // string constants added on the way to the store.
        const std::vector<Value>& constants = frame.closure->proto->constants;
        while (ip[0] == OP_CONSTANT && ip[3] == OP_ADD && constants[(ip[1] << 8) | ip[2]].isString()) {
            *spare += constants[(ip[1] << 8) | ip[2]].asString().size();
            ip += 4;
        }
    }
    switch (*ip) {
    case OP_SET_LOCAL: return &frame.slots[(ip[1] << 8) | ip[2]];
    case OP_SET_UPVALUE: return frame.closure->upvalues[ip[1]]->location;
    case OP_SET_GLOBAL: {
        const std::size_t index = static_cast<std::size_t>((ip[1] << 8) | ip[2]);
        Value* slot = frame.globalCache[index];
        return slot ? slot : globalSlot(frame.globalCache, index, frame.closure->constants[index]);
    }
    case OP_SET_INDEX: return storedElement(top_[-4], top_[-3]);  // below the two operands
    default: return nullptr;
    }
}

void VM::addSlow(Site site) {
    Value& a = top_[-2];
    const Value& b = top_[-1];
    if (isAppendable(a, b) && a.asObject()->refCount == 1) {
        // The left string or list is a temporary no one else holds (the
        // middle of a + b + c): it grows in place.
        if (!(a.isString() ? appendToString(a, b.asString()) : appendToList(a, b.listItems())))
            runtimeError(kResultTooLarge, site.line());
        drop();
        return;
    }
    if (isAppendable(a, b) && a.asObject()->refCount == 2) {
        // x = x + y, x a variable or an element: the next instruction (or
        // the one after string constants added) stores the sum where the
        // left value came from, so that place lets go of it and it grows in
        // place (appendInPlace).
        std::size_t spare = 0;
        if (Value* holder = storeTarget(site.ip, a.isString() ? &spare : nullptr);
            holder && appendInPlace(*holder, a, b, spare)) {
            drop();
            return;
        }
    }
    Value result;
    if (const OperationError error = add(a, b, result); error != OperationError::None) {
        operationError(error, a, b, BinaryOp::Add, site);
    }
    drop();
    top_[-1] = std::move(result);
}

void VM::arithmeticSlow(BinaryOp op, Site site) {
    const Value& a = top_[-2];
    const Value& b = top_[-1];
    Value result;
    if (const OperationError error = arithmetic(op, a, b, result); error != OperationError::None) {
        operationError(error, a, b, op, site);
    }
    // Both operands are numbers: popping needs no release.
    --top_;
    storePlain(top_[-1], result);
}

void VM::compareSlow(BinaryOp op, Site site) {
    const Value& a = top_[-2];
    const Value& b = top_[-1];
    bool result = false;
    if (const OperationError error = compare(op, a, b, result); error != OperationError::None) {
        operationError(error, a, b, op, site);
    }
    drop();
    top_[-1] = Value(result);
}

void VM::negateSlow(Site site) { runtimeError(kUnaryMinusPrefix + std::string(typeName(top_[-1])), site.line()); }

namespace {

// The element of a list, map or string that `object[key]` names.
Value indexValue(const Value& object, const Value& key, VM::Site site) {
    OperationError error = OperationError::None;
    if (const Value* element = elementAt(object, key, error)) return *element;
    throw RuntimeError(operationMessage(error, object, key, Wording::Vm, BinaryOp::Add), site.line());
}

}  // namespace

void VM::getIndexSlow(Site site) {
    Value element = indexValue(top_[-2], top_[-1], site);
    drop();
    top_[-1] = std::move(element);
}

void VM::getIndexKeepSlow(Site site) { push(indexValue(top_[-2], top_[-1], site)); }

void VM::setIndex(Site site) {
    const Value& object = top_[-3];
    const Value& key = top_[-2];
    if (const OperationError error = storeElement(object, key, top_[-1]); error != OperationError::None) {
        operationError(error, object, key, BinaryOp::Add, site);
    }
    Value stored = pop();
    drop();
    top_[-1] = std::move(stored);
}

void VM::buildList(std::size_t count) {
    Value* first = top_ - count;
    ValueVector items;
    items.reserve(count);
    for (Value* slot = first; slot < top_; ++slot) items.push_back(std::move(*slot));
    top_ = first;
    push(Value::newList(std::move(items)));
}

void VM::buildMap(std::size_t count, Site site) {
    Value* first = top_ - 2 * count;
    Value map = Value::newMap();
    MapData& data = map.asMap();
    data.reserve(count);  // one allocation for the literal's entries
    for (Value* pair = first; pair < top_; pair += 2) {
        const Value& key = pair[0];
        if (!key.isString() && !key.isNumber()) {
            runtimeError(kMapLiteralKeyPrefix + std::string(typeName(key)), site.line());
        }
        data.set(key, std::move(pair[1]));
    }
    cutStack(first);
    push(std::move(map));
}

void VM::iterList(Site site) {
    const Value& iterable = top_[-1];
    // A list that only the loop holds (split's or keys' fresh result) can
    // change no more than its copy could: the loop walks it where it is.
    // The allocation budget is charged what the copy would have cost.
    if (!plain_ && iterable.isList() && iterable.asObject()->refCount == 1) {
        countAllocation(iterable.listItems().size());
        return;
    }
    ValueVector items;
    if (const OperationError error = forInItems(iterable, items); error != OperationError::None) {
        operationError(error, iterable, iterable, BinaryOp::Add, site);
    }
    top_[-1] = Value::newList(std::move(items));
}

void VM::length(Site site) {
    const Value& value = top_[-1];
    int64_t size;
    if (value.isList())
        size = static_cast<int64_t>(value.listItems().size());
    else if (value.isString())
        size = static_cast<int64_t>(value.asString().size());
    else if (value.isMap())
        size = static_cast<int64_t>(value.asMap().size());
    else
        runtimeError(std::string("cannot take length of ") + typeName(value), site.line());
    top_[-1] = Value(size);
}

void VM::forTestSlow(Site site) { runtimeError(wording::kVmForNumbers, site.line()); }

void VM::makeClosure(CallFrame& frame, std::size_t protoIndex) {
    const Ref<FunctionProto>& proto = frame.closure->proto->protos[protoIndex];
    Ref<VMClosure> closure = makeRef<VMClosure>(proto);
    closure->upvalues.reserve(proto->upvalues.size());
    for (const UpvalueDesc& descriptor : proto->upvalues) {
        if (descriptor.isLocal)
            closure->upvalues.push_back(captureUpvalue(frame.slots + descriptor.index));
        else
            closure->upvalues.push_back(frame.closure->upvalues[descriptor.index]);
    }
    push(Value(std::move(closure)));
}

void VM::defineGlobal(const Value& name) { globals->define(std::string(name.asString()), pop()); }

void VM::undefinedVariable(const Value& name, Site site) {
    runtimeError(kUndefinedVariablePrefix + std::string(name.asString()) + "'", site.line());
}

void VM::undefinedAssignment(const Value& name, Site site) {
    runtimeError(kUndefinedAssignmentPrefix + std::string(name.asString()) + kUndefinedAssignmentSuffix, site.line());
}

}  // namespace velmor
