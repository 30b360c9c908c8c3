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
//    slot while the frame runs.
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
// 9. Global bindings are never removed from `globals`, and an unordered_map
//    never moves its elements, so the address of a binding, once looked up,
//    is cached per prototype and constant for the machine's whole life.
// 10. Frames run the machine's quickened copy of a prototype's code (see
//    quicken): same length and offsets as the compiled code, so lines, jump
//    distances and handler addresses computed on it mean what they mean on
//    the prototype. A fused instruction either finishes its whole sequence
//    on its fast path or starts the sequence's first instruction as compiled.

#include "vm.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <span>
#include <string>

#include "error.h"
#include "execution_limits.h"
#include "native_stack.h"

namespace velmor {

namespace {

constexpr const char* kCallStackOverflow = "call stack overflow (too much recursion)";

// Int arithmetic wraps in two's complement; unsigned arithmetic gives that without undefined behaviour.
inline int64_t wrapAdd(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
inline int64_t wrapSub(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
inline int64_t wrapMul(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}

int64_t floorDivide(int64_t a, int64_t b) {
    // The one quotient that does not fit wraps to itself.
    if (b == -1) return wrapSub(0, a);
    int64_t quotient = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --quotient;
    return quotient;
}

int64_t remainder(int64_t a, int64_t b) {
    if (b == -1) return 0;
    return a % b;
}

// The product of `exponent` factors `base` with wrap-around; squaring gives the
// same product as repeated multiplication, without a run time that grows with
// the exponent.
int64_t integerPower(int64_t base, int64_t exponent) {
    uint64_t result = 1;
    uint64_t factor = static_cast<uint64_t>(base);
    for (uint64_t remaining = static_cast<uint64_t>(exponent); remaining != 0; remaining >>= 1) {
        if (remaining & 1) result *= factor;
        factor *= factor;
    }
    return static_cast<int64_t>(result);
}

// Stores a number or bool into a slot that holds no reference, skipping the release check.
template <class T>
inline void storePlain(Value& slot, T value) {
    new (&slot) Value(value);
}

// Turns an Int index into a position among `size` elements of a list or
// bytes of a string, a negative index counting from the end; false when the
// index is out of range.
inline bool toPosition(int64_t& index, std::size_t size) {
    if (index < 0) index += static_cast<int64_t>(size);
    return static_cast<uint64_t>(index) < size;
}

// The numeric for loop's test: whether `variable` has not passed `limit`,
// going by `step`, all three compared as doubles. A NaN anywhere, the step
// included, ends the loop.
inline bool forLoopContinues(const Value& variable, const Value& limit, const Value& step) {
    const double by = asDouble(step);
    return by >= 0.0  ? asDouble(variable) <= asDouble(limit)
           : by < 0.0 ? asDouble(variable) >= asDouble(limit)
                      : false;
}

// Numbers compare as doubles, equality included: two Ints are equal exactly when their doubles are.
inline bool compareNumbers(OpCode op, double a, double b) {
    switch (op) {
    case OP_EQUAL: return a == b;
    case OP_NOT_EQUAL: return a != b;
    case OP_LESS: return a < b;
    case OP_LESS_EQUAL: return a <= b;
    case OP_GREATER: return a > b;
    default: return a >= b;
    }
}

std::string calleeArityMessage(const FunctionProto& proto, std::size_t count) {
    return proto.name + "() expects " + std::to_string(proto.arity) + " argument(s), got " + std::to_string(count);
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

VM::VM() : globals(makeRef<Environment>()), stack_(allocateStack()), frames_(new CallFrame[kMaxFrames]) {
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

Value VM::callWith(const Value& callee, std::span<const Value> args) {
    const OutermostEntry entry(callbackStackLimit_);
    const std::size_t depth = frameCount_;
    Value* calleeSlot = top_;
    const bool stackLeft = currentStackAddress() >= callbackStackLimit_;
    if (callee.isClosure()) {
        // fast path: a closure of the right arity, with room for its frame and values
        VMClosure& closure = callee.asClosure();
        if (closure.proto->arity == args.size() && static_cast<std::size_t>(stackEnd_ - top_) > args.size() &&
            frameCount_ < kMaxFrames && stackLeft) {
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
            runtimeError(kCallStackOverflow, 0);
        }
        if (!callValue(calleeSlot, args.size(), Site{})) return pop();
        Value result = runLoop(depth);
        unwindTo(depth, calleeSlot);  // OP_HALT leaves its frames behind
        return result;
    } catch (...) {
        // Leave the machine as the caller knew it, whoever catches the error.
        unwindTo(depth, calleeSlot);
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
    runtimeError(std::string(typeName(callee)) + " is not callable", site.line());
}

void VM::pushFrame(VMClosure& closure, Value* slots, Site site) {
    if (frameCount_ == kMaxFrames) runtimeError(kCallStackOverflow, site.line());
    enterFrame(closure, slots);
}

// ---------------------------------------------------------------------------
// Quickening
//
// When a VM first runs a prototype it copies the code and replaces the
// opcode byte of some common instruction sequences by a fused instruction of
// its own. Only that first byte changes: operands and the following
// instructions stay as compiled, so offsets, jump distances and the line
// table are those of the prototype, and a jump into the middle of a fused
// sequence runs the original instructions. A fused instruction takes its
// fast path only where the original sequence could neither fail nor
// overflow the stack; otherwise it runs the sequence's first instruction.

namespace {

// What each fused instruction stands for:
//   OP_QUICK_FOR_LOOP: GET_LOCAL v; GET_LOCAL step; ADD; SET_LOCAL v; POP; LOOP back to the loop's head
//     (GET_LOCAL v; GET_LOCAL limit; GET_LOCAL step; FOR_TEST; JUMP_IF_FALSE; POP): increments, tests,
//     and enters the body or leaves the loop.
//   OP_QUICK_LOCAL_INT_ARITH: GET_LOCAL; CONSTANT (an Int); one of ADD SUB MUL MOD.
//   OP_QUICK_LOCAL_INT_COMPARE_JUMP: GET_LOCAL; CONSTANT (an Int); a comparison; JUMP_IF_FALSE; POP,
//     with a POP at the jump's target.
//   OP_QUICK_LOCAL_LOCAL_INDEX: GET_LOCAL; GET_LOCAL; GET_INDEX.
//   OP_QUICK_LOCAL_GRID_INDEX: GET_LOCAL; GET_LOCAL; GET_INDEX; GET_LOCAL; GET_INDEX (a[i][j]).
//   OP_QUICK_LOCAL_INDEX: GET_LOCAL; GET_INDEX.
//   OP_QUICK_GLOBAL_LOCAL_INDEX: GET_GLOBAL; GET_LOCAL; GET_INDEX (flags[i] at the top level).
//   OP_QUICK_GLOBAL_LOCAL_STORE: GET_GLOBAL; GET_LOCAL; one of NIL TRUE FALSE CONSTANT GET_LOCAL; SET_INDEX; POP
//     (flags[j] = false at the top level).
//   OP_QUICK_LOCAL_FIELD: GET_LOCAL; CONSTANT (a String); GET_INDEX.
//   OP_QUICK_LOCAL_ELEMENT: GET_LOCAL; CONSTANT (an Int); GET_INDEX (p[0]).
//   OP_QUICK_FIELD: CONSTANT (a String); GET_INDEX.
//   OP_QUICK_SET_LOCAL_POP: SET_LOCAL; POP.
//   OP_QUICK_SET_GLOBAL_POP: SET_GLOBAL; POP.
//   OP_QUICK_SET_UPVALUE_POP: SET_UPVALUE; POP.
//   OP_QUICK_EQUAL_JUMP and its five siblings, one per comparison in opcode order: that comparison;
//     JUMP_IF_FALSE; POP, with a POP at the jump's target.
//   OP_QUICK_LOCAL_LOCAL_ARITH: GET_LOCAL; GET_LOCAL; one of ADD SUB MUL.
//   OP_QUICK_LOCAL_LOCAL_COMPARE: GET_LOCAL; GET_LOCAL; a comparison whose result is not a jump's condition
//     (a comparator's `return a < b`).
//   OP_QUICK_FOR_IN_NEXT: a for-in loop's head, GET_LOCAL position; GET_LOCAL items; LEN; LESS;
//     JUMP_IF_FALSE; POP; GET_LOCAL items; GET_LOCAL position; GET_INDEX; SET_LOCAL variable; POP.
//   OP_QUICK_LOCAL_ADD_ASSIGN: GET_LOCAL x; one of CONSTANT, GET_LOCAL, GET_GLOBAL; ADD; SET_LOCAL x; POP
//     (x = x + y, x += y): adds numbers, and appends a string to a string no one else holds in place.
//   OP_QUICK_GLOBAL_ADD_ASSIGN: the same with GET_GLOBAL x and SET_GLOBAL x.
//   OP_QUICK_ADD_SET_LOCAL: ADD; SET_LOCAL; POP (x = <anything> + y): numbers add straight into x, and
//     a string that only x (or only the stack) holds grows in place.
//   OP_QUICK_ADD_SET_GLOBAL: ADD; SET_GLOBAL; POP, the same for a global x.
//   OP_QUICK_FOR_IN_LOOP: a for-in loop's tail, GET_LOCAL position; CONSTANT (an Int); ADD;
//     SET_LOCAL position; POP; LOOP back to its OP_QUICK_FOR_IN_NEXT head: steps and runs the head.
#define VELMOR_QUICK_OPCODES(X)          \
    X(OP_QUICK_FOR_LOOP)                 \
    X(OP_QUICK_LOCAL_INT_ARITH)          \
    X(OP_QUICK_LOCAL_INT_COMPARE_JUMP)   \
    X(OP_QUICK_LOCAL_LOCAL_INDEX)        \
    X(OP_QUICK_LOCAL_GRID_INDEX)         \
    X(OP_QUICK_LOCAL_INDEX)              \
    X(OP_QUICK_GLOBAL_LOCAL_INDEX)       \
    X(OP_QUICK_GLOBAL_LOCAL_STORE)       \
    X(OP_QUICK_LOCAL_FIELD)              \
    X(OP_QUICK_LOCAL_ELEMENT)            \
    X(OP_QUICK_FIELD)                    \
    X(OP_QUICK_SET_LOCAL_POP)            \
    X(OP_QUICK_SET_GLOBAL_POP)           \
    X(OP_QUICK_SET_UPVALUE_POP)          \
    X(OP_QUICK_EQUAL_JUMP)               \
    X(OP_QUICK_NOT_EQUAL_JUMP)           \
    X(OP_QUICK_LESS_JUMP)                \
    X(OP_QUICK_LESS_EQUAL_JUMP)          \
    X(OP_QUICK_GREATER_JUMP)             \
    X(OP_QUICK_GREATER_EQUAL_JUMP)       \
    X(OP_QUICK_LOCAL_LOCAL_ARITH)        \
    X(OP_QUICK_LOCAL_LOCAL_COMPARE)      \
    X(OP_QUICK_FOR_IN_NEXT)              \
    X(OP_QUICK_LOCAL_ADD_ASSIGN)         \
    X(OP_QUICK_GLOBAL_ADD_ASSIGN)        \
    X(OP_QUICK_ADD_SET_LOCAL)            \
    X(OP_QUICK_ADD_SET_GLOBAL)           \
    X(OP_QUICK_FOR_IN_LOOP)

constexpr uint8_t kFirstQuickOpCode = 200;
constexpr uint8_t kUnknownOpCode = 0xFF;
static_assert(kOpcodeCount < kFirstQuickOpCode);

enum QuickOpCode : uint8_t {
    OP_QUICK_BEFORE_FIRST = kFirstQuickOpCode - 1,
#define VELMOR_QUICK_ENUM(name) name,
    VELMOR_QUICK_OPCODES(VELMOR_QUICK_ENUM)
#undef VELMOR_QUICK_ENUM
    OP_QUICK_END
};
static_assert(OP_QUICK_END <= kUnknownOpCode);

// The comparison an opcode byte of the quickened code stands for; it may itself have been fused with its jump.
inline OpCode comparisonAt(uint8_t byte) {
    return byte >= OP_QUICK_EQUAL_JUMP && byte <= OP_QUICK_GREATER_EQUAL_JUMP
               ? static_cast<OpCode>(OP_EQUAL + (byte - OP_QUICK_EQUAL_JUMP))
               : static_cast<OpCode>(byte);
}

// The value stored under a string constant `key`, trying first the position where this access found it last.
inline Value* findField(MapData& map, const Value& key, uint32_t& hint) {
    std::vector<MapEntry>& entries = map.entries;
    if (hint < entries.size()) {
        const Value& stored = entries[hint].key;
        if (stored.isString() && stored.asObject() == key.asObject()) return &entries[hint].value;
    }
    const std::ptrdiff_t position = map.indexOf(key);
    if (position < 0) return nullptr;
    hint = static_cast<uint32_t>(position);
    return &entries[static_cast<std::size_t>(position)].value;
}

inline uint16_t u16At(const uint8_t* bytes) { return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]); }

bool isIntArithmetic(uint8_t op) { return op == OP_ADD || op == OP_SUB || op == OP_MUL || op == OP_MOD; }

// EQUAL to GREATER_EQUAL, contiguous in the opcode table.
bool isComparison(uint8_t op) { return op >= OP_EQUAL && op <= OP_GREATER_EQUAL; }
static_assert(OP_NOT_EQUAL == OP_EQUAL + 1 && OP_LESS == OP_EQUAL + 2 && OP_GREATER_EQUAL == OP_EQUAL + 5);

std::unique_ptr<uint8_t[]> quicken(const FunctionProto& proto) {
    const std::vector<uint8_t>& code = proto.code;
    const std::size_t size = code.size();
    auto quick = std::make_unique<uint8_t[]>(size + 1);
    std::copy(code.begin(), code.end(), quick.get());

    std::vector<std::size_t> starts;
    for (std::size_t offset = 0; offset < size;) {
        if (code[offset] >= kOpcodeCount) {
            // Not code the compiler writes: it must fail as an unknown opcode, not run as a fused instruction.
            quick[offset] = kUnknownOpCode;
            return quick;
        }
        starts.push_back(offset);
        offset += static_cast<std::size_t>(instructionLength(code[offset]));
    }
    if (starts.empty() || starts.back() + static_cast<std::size_t>(instructionLength(code[starts.back()])) != size)
        return quick;

    // The opcode of the instruction `ahead` instructions after the one at starts[index], or 0xFF past the end.
    auto opAt = [&](std::size_t index, std::size_t ahead) -> uint8_t {
        return index + ahead < starts.size() ? code[starts[index + ahead]] : uint8_t{0xFF};
    };
    auto constantAt = [&](std::size_t offset) -> const Value* {
        const uint16_t index = u16At(&code[offset]);
        return index < proto.constants.size() ? &proto.constants[index] : nullptr;
    };
    auto isForHead = [&](std::size_t head, uint16_t variable, uint16_t step) {
        return head + 14 <= size && code[head] == OP_GET_LOCAL && u16At(&code[head + 1]) == variable &&
               code[head + 3] == OP_GET_LOCAL && code[head + 6] == OP_GET_LOCAL &&
               u16At(&code[head + 7]) == step && code[head + 9] == OP_FOR_TEST && code[head + 10] == OP_JUMP_IF_FALSE &&
               code[head + 13] == OP_POP;
    };

    // x = x + y with a y that one instruction pushes (a constant, a local or a global).
    auto isAddAssign = [&](std::size_t index, uint8_t get, uint8_t set) {
        const std::size_t at = starts[index];
        const uint8_t operand = opAt(index, 1);
        if (code[at] != get || opAt(index, 2) != OP_ADD || opAt(index, 3) != set || opAt(index, 4) != OP_POP)
            return false;
        if (operand == OP_CONSTANT) {
            if (!constantAt(at + 4)) return false;
        } else if (operand != OP_GET_LOCAL && operand != OP_GET_GLOBAL) {
            return false;
        }
        if (get == OP_GET_LOCAL) return u16At(&code[at + 1]) == u16At(&code[at + 8]);
        const Value* read = constantAt(at + 1);
        const Value* written = constantAt(at + 8);
        return read && written && read->isString() && written->isString() && read->asString() == written->asString();
    };

    for (std::size_t index = 0; index < starts.size(); ++index) {
        const std::size_t at = starts[index];
        const uint8_t op = code[at];
        if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_LOCAL && opAt(index, 2) == OP_ADD &&
            opAt(index, 3) == OP_SET_LOCAL && opAt(index, 4) == OP_POP && opAt(index, 5) == OP_LOOP &&
            u16At(&code[at + 8]) == u16At(&code[at + 1])) {
            const std::size_t after = at + 14;
            const uint16_t distance = u16At(&code[at + 12]);
            if (distance <= after && isForHead(after - distance, u16At(&code[at + 1]), u16At(&code[at + 4]))) {
                quick[at] = OP_QUICK_FOR_LOOP;
                continue;
            }
        }
        if (op == OP_GET_LOCAL && opAt(index, 1) == OP_CONSTANT && opAt(index, 2) == OP_ADD &&
            opAt(index, 3) == OP_SET_LOCAL && opAt(index, 4) == OP_POP && opAt(index, 5) == OP_LOOP &&
            u16At(&code[at + 8]) == u16At(&code[at + 1])) {
            const Value* constant = constantAt(at + 4);
            const std::size_t after = at + 14;
            const uint16_t distance = u16At(&code[at + 12]);
            // The head comes earlier in the code, so it has been quickened already.
            if (constant && constant->isInt() && distance <= after && quick[after - distance] == OP_QUICK_FOR_IN_NEXT &&
                u16At(&code[after - distance + 1]) == u16At(&code[at + 1])) {
                quick[at] = OP_QUICK_FOR_IN_LOOP;
                continue;
            }
        }
        // Loop steps are fused with their loops above; other additions to a variable here.
        if (isAddAssign(index, OP_GET_GLOBAL, OP_SET_GLOBAL)) {
            quick[at] = OP_QUICK_GLOBAL_ADD_ASSIGN;
            continue;
        }
        if (isAddAssign(index, OP_GET_LOCAL, OP_SET_LOCAL)) {
            quick[at] = OP_QUICK_LOCAL_ADD_ASSIGN;
            continue;
        }
        if (op == OP_GET_LOCAL && opAt(index, 1) == OP_CONSTANT) {
            const Value* constant = constantAt(at + 4);
            const uint8_t third = opAt(index, 2);
            if (constant && constant->isInt() && isComparison(third) && opAt(index, 3) == OP_JUMP_IF_FALSE &&
                opAt(index, 4) == OP_POP) {
                const std::size_t target = at + 10 + u16At(&code[at + 8]);
                if (target < size && code[target] == OP_POP) {
                    quick[at] = OP_QUICK_LOCAL_INT_COMPARE_JUMP;
                    continue;
                }
            }
            if (constant && constant->isInt() && isIntArithmetic(third)) {
                quick[at] = OP_QUICK_LOCAL_INT_ARITH;
                continue;
            }
            if (constant && constant->isString() && third == OP_GET_INDEX) {
                quick[at] = OP_QUICK_LOCAL_FIELD;
                continue;
            }
            if (constant && constant->isInt() && third == OP_GET_INDEX) {
                quick[at] = OP_QUICK_LOCAL_ELEMENT;
                continue;
            }
        }
        if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_LOCAL && opAt(index, 2) == OP_LEN &&
            opAt(index, 3) == OP_LESS && opAt(index, 4) == OP_JUMP_IF_FALSE && opAt(index, 5) == OP_POP &&
            opAt(index, 6) == OP_GET_LOCAL && opAt(index, 7) == OP_GET_LOCAL && opAt(index, 8) == OP_GET_INDEX &&
            opAt(index, 9) == OP_SET_LOCAL && opAt(index, 10) == OP_POP &&
            u16At(&code[at + 13]) == u16At(&code[at + 4]) && u16At(&code[at + 16]) == u16At(&code[at + 1])) {
            quick[at] = OP_QUICK_FOR_IN_NEXT;
            continue;
        }
        if (isComparison(op) && opAt(index, 1) == OP_JUMP_IF_FALSE && opAt(index, 2) == OP_POP) {
            const std::size_t target = at + 4 + u16At(&code[at + 2]);
            if (target < size && code[target] == OP_POP) {
                quick[at] = static_cast<uint8_t>(OP_QUICK_EQUAL_JUMP + (op - OP_EQUAL));
                continue;
            }
        }
        const uint8_t third = opAt(index, 2);
        if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_LOCAL &&
            (third == OP_ADD || third == OP_SUB || third == OP_MUL)) {
            quick[at] = OP_QUICK_LOCAL_LOCAL_ARITH;
        } else if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_LOCAL && isComparison(third) &&
                   opAt(index, 3) != OP_JUMP_IF_FALSE) {
            quick[at] = OP_QUICK_LOCAL_LOCAL_COMPARE;
        } else if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_LOCAL && third == OP_GET_INDEX &&
                   opAt(index, 3) == OP_GET_LOCAL && opAt(index, 4) == OP_GET_INDEX) {
            quick[at] = OP_QUICK_LOCAL_GRID_INDEX;
        } else if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_LOCAL && third == OP_GET_INDEX) {
            quick[at] = OP_QUICK_LOCAL_LOCAL_INDEX;
        } else if (op == OP_GET_LOCAL && opAt(index, 1) == OP_GET_INDEX) {
            quick[at] = OP_QUICK_LOCAL_INDEX;
        } else if (op == OP_GET_GLOBAL && opAt(index, 1) == OP_GET_LOCAL && third == OP_GET_INDEX) {
            quick[at] = OP_QUICK_GLOBAL_LOCAL_INDEX;
        } else if (op == OP_GET_GLOBAL && opAt(index, 1) == OP_GET_LOCAL &&
                   (third == OP_NIL || third == OP_TRUE || third == OP_FALSE || third == OP_CONSTANT ||
                    third == OP_GET_LOCAL) &&
                   opAt(index, 3) == OP_SET_INDEX && opAt(index, 4) == OP_POP) {
            quick[at] = OP_QUICK_GLOBAL_LOCAL_STORE;
        } else if (op == OP_CONSTANT && opAt(index, 1) == OP_GET_INDEX) {
            const Value* constant = constantAt(at + 1);
            if (constant && constant->isString()) quick[at] = OP_QUICK_FIELD;
        } else if (op == OP_ADD && opAt(index, 1) == OP_SET_LOCAL && opAt(index, 2) == OP_POP) {
            quick[at] = OP_QUICK_ADD_SET_LOCAL;
        } else if (op == OP_ADD && opAt(index, 1) == OP_SET_GLOBAL && opAt(index, 2) == OP_POP) {
            quick[at] = OP_QUICK_ADD_SET_GLOBAL;
        } else if (op == OP_SET_LOCAL && opAt(index, 1) == OP_POP) {
            quick[at] = OP_QUICK_SET_LOCAL_POP;
        } else if (op == OP_SET_GLOBAL && opAt(index, 1) == OP_POP) {
            quick[at] = OP_QUICK_SET_GLOBAL_POP;
        } else if (op == OP_SET_UPVALUE && opAt(index, 1) == OP_POP) {
            quick[at] = OP_QUICK_SET_UPVALUE_POP;
        }
    }
    return quick;
}

}  // namespace

void VM::bindGlobalCache(VMClosure& closure) {
    GlobalCache& cache = globalCaches_[closure.proto.get()];
    if (!cache.slots) {
        cache.proto = closure.proto;
        cache.slots = std::make_unique<Value*[]>(closure.proto->constants.size() + 1);
        cache.code = quicken(*closure.proto);
        const std::vector<Value>& constants = closure.proto->constants;
        cache.constants = std::make_unique<Value[]>(constants.size() + 1);
        for (std::size_t index = 0; index < constants.size(); ++index) {
            const Value& constant = constants[index];
            if (constant.isString()) {
                auto [entry, added] = internedConstants_.try_emplace(constant.asString(), constant);
                cache.constants[index] = entry->second;
            } else {
                cache.constants[index] = constant;
            }
        }
        cache.fieldHints = std::make_unique<uint32_t[]>(closure.proto->code.size() + 1);
    }
    closure.constants = cache.constants.get();
    closure.fieldHints = cache.fieldHints.get();
    closure.globalCache = cache.slots.get();
    closure.code = cache.code.get();
    closure.cacheOwner = this;
}

Value* VM::globalSlot(Value** cache, std::size_t constantIndex, const Value& name) {
    auto found = globals->vars.find(std::string(name.asString()));
    if (found == globals->vars.end()) return nullptr;
    cache[constantIndex] = &found->second;
    return &found->second;
}

void VM::callNative(NativeObj& native, Value* calleeSlot, std::size_t argumentCount, Site site) {
    if (!arityAccepts(native, argumentCount)) runtimeError(arityMessage(native, argumentCount), site.line());
    // The native reads its arguments in place; the stack never moves, so the
    // span stays valid while the native calls back into the machine.
    Value result = native.fn(*this, std::span<Value>(calleeSlot + 1, argumentCount));
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
            if (!handleError(Value(error.message), targetDepth)) throw;
        } catch (const ThrownValue& thrown) {
            if (!handleError(thrown.value, targetDepth)) throw;
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
#define VELMOR_QUICK_LABEL(name) dispatchTable[name] = &&LABEL_##name;
#define CASE(name) LABEL_##name:
#define NEXT goto* dispatchTable[*ip++]
#else
// The labels serve the slow paths that jump back to a plain instruction;
// most have no such jump.
#define CASE(name) \
    case name:     \
    LABEL_##name:  \
    __attribute__((unused));
#define NEXT goto dispatch
#endif

#define READ_BYTE() (*ip++)
#define READ_U16() readU16(ip)
#define SITE() Site{frame->closure, ip}
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
#define PUSH_PLAIN(value) PUSH_COPY(value)
#define DROP()                                                \
    do {                                                      \
        --top;                                                \
        if (top->isObject()) Value released(std::move(*top)); \
    } while (false)
#define LOAD_FRAME()                                         \
    do {                                                     \
        frame = &frames_[frameCount_ - 1];                   \
        ip = frame->ip;                                      \
        slots = frame->slots;                                \
        constants = frame->closure->constants;               \
        upvalues = frame->closure->upvalues.data();          \
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

#if VELMOR_COMPUTED_GOTO
    static void* dispatchTable[256];
    static bool tableReady = false;
    if (!tableReady) {
        for (void*& entry : dispatchTable) entry = &&LABEL_UNKNOWN;
        VELMOR_OPCODES(VELMOR_LABEL)
        VELMOR_QUICK_OPCODES(VELMOR_QUICK_LABEL)
        tableReady = true;
    }
    NEXT;
#else
dispatch:
    switch (*ip++) {
#endif

    CASE(OP_CONSTANT) {
        PUSH_COPY(constants[READ_U16()]);
        NEXT;
    }
    CASE(OP_NIL) {
        PUSH_PLAIN(Value());
        NEXT;
    }
    CASE(OP_TRUE) {
        PUSH_PLAIN(Value(true));
        NEXT;
    }
    CASE(OP_FALSE) {
        PUSH_PLAIN(Value(false));
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
            std::vector<Value>& items = object.listItems();
            if (int64_t index = key.asInt(); toPosition(index, items.size())) {
                {
                    Value element = items[static_cast<std::size_t>(index)];
                    --top;  // the key is an Int: nothing to release
                    top[-1] = std::move(element);
                }
                NEXT;
            }
        }
        if (object.isMap() && key.isString()) {
            {
                const Value* found =
                    findField(object.asMap(), key, frame->closure->fieldHints[ip - 1 - frame->closure->code]);
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
        PROTECT(getIndexKeepSlow(SITE()));
        NEXT;
    }
    CASE(OP_SET_INDEX) {
        // fast path: a list element named by an Int in range
        Value& object = top[-3];
        const Value& key = top[-2];
        if (object.isList() && key.isInt()) {
            std::vector<Value>& items = object.listItems();
            if (int64_t index = key.asInt(); toPosition(index, items.size())) {
                {
                    items[static_cast<std::size_t>(index)] = top[-1];
                    Value stored = std::move(top[-1]);
                    top -= 2;  // the key is an Int: nothing to release
                    top[-1] = std::move(stored);
                }
                NEXT;
            }
        } else if (object.isMap() && key.isString()) {
            // an existing entry of a map named by a string: replaced in place
            Value* found = findField(object.asMap(), key, frame->closure->fieldHints[ip - 1 - frame->closure->code]);
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
        if (a.isInt() && b.isInt()) {
            a.intRef() = wrapAdd(a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, asDouble(a) + asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(addSlow(SITE()));
        NEXT;
    }
    CASE(OP_SUB) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isInt() && b.isInt()) {
            a.intRef() = wrapSub(a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, asDouble(a) - asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(OP_SUB, SITE()));
        NEXT;
    }
    CASE(OP_MUL) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isInt() && b.isInt()) {
            a.intRef() = wrapMul(a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, asDouble(a) * asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(OP_MUL, SITE()));
        NEXT;
    }
    CASE(OP_DIV) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber() && asDouble(b) != 0.0) {
            storePlain(a, asDouble(a) / asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(OP_DIV, SITE()));
        NEXT;
    }
    CASE(OP_FLOOR_DIV) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isInt() && b.isInt() && b.asInt() != 0) {
            a.intRef() = floorDivide(a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(OP_FLOOR_DIV, SITE()));
        NEXT;
    }
    CASE(OP_MOD) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isInt() && b.isInt() && b.asInt() != 0) {
            a.intRef() = remainder(a.asInt(), b.asInt());
            --top;
            NEXT;
        }
        PROTECT(arithmeticSlow(OP_MOD, SITE()));
        NEXT;
    }
    CASE(OP_POW) {
        PROTECT(arithmeticSlow(OP_POW, SITE()));
        NEXT;
    }
    CASE(OP_NEGATE) {
        Value& a = top[-1];
        if (a.isInt()) {
            a.intRef() = wrapSub(0, a.asInt());
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
            storePlain(top[-2], asDouble(top[-2]) == asDouble(top[-1]));
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
            storePlain(top[-2], asDouble(top[-2]) != asDouble(top[-1]));
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
            storePlain(a, asDouble(a) < asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(OP_LESS, SITE()));
        NEXT;
    }
    CASE(OP_LESS_EQUAL) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, asDouble(a) <= asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(OP_LESS_EQUAL, SITE()));
        NEXT;
    }
    CASE(OP_GREATER) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, asDouble(a) > asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(OP_GREATER, SITE()));
        NEXT;
    }
    CASE(OP_GREATER_EQUAL) {
        Value& a = top[-2];
        const Value& b = top[-1];
        if (a.isNumber() && b.isNumber()) {
            storePlain(a, asDouble(a) >= asDouble(b));
            --top;
            NEXT;
        }
        PROTECT(compareSlow(OP_GREATER_EQUAL, SITE()));
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
        if (executionLimits().stepsEnabled) [[unlikely]]
            PROTECT(countStep());
        NEXT;
    }
    CASE(OP_CALL) {
        const uint8_t argumentCount = READ_BYTE();
        Value* calleeSlot = top - argumentCount - 1;
        frame->ip = ip;
        top_ = top;
        if (executionLimits().stepsEnabled) [[unlikely]]
            countStep();
        if (calleeSlot->isClosure()) {
            // fast path: a closure call continues in this loop
            VMClosure& closure = calleeSlot->asClosure();
            if (closure.proto->arity != argumentCount) {
                runtimeError(calleeArityMessage(*closure.proto, argumentCount), SITE().line());
            }
            if (frameCount_ == kMaxFrames) runtimeError(kCallStackOverflow, SITE().line());
            enterFrame(closure, calleeSlot + 1);
            LOAD_FRAME();
            NEXT;
        }
        if (calleeSlot->isNative() && arityAccepts(calleeSlot->asNative(), argumentCount)) {
            // fast path: a builtin reads its arguments in place; the stack never
            // moves, so they stay put while it calls back into the machine
            {
                // Scoped so that no destructor lies between here and the next dispatch.
                Value result = calleeSlot->asNative().fn(*this, std::span<Value>(calleeSlot + 1, argumentCount));
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
    // Fused instructions (see quicken): the fast path, else the first instruction of the sequence as compiled.
    CASE(OP_QUICK_FOR_LOOP) {
        const uint8_t* start = ip - 1;
        Value& variable = slots[u16At(start + 1)];
        const Value& step = slots[u16At(start + 4)];
        const uint8_t* head = start + 14 - u16At(start + 12);
        const Value& limit = slots[u16At(head + 4)];
        // The head pushes three values.
        if (!variable.isNumber() || !step.isNumber() || !limit.isNumber() || stackEnd - top < 3)
            goto LABEL_OP_GET_LOCAL;
        bool more;
        if (variable.isInt() && step.isInt() && limit.isInt()) {
            // forLoopContinues on three Ints: conversion to double never
            // reverses an order, so the Int comparison decides it, except
            // where two distinct Ints (both past 2^53) become the same double.
            const int64_t v = variable.intRef() = wrapAdd(variable.asInt(), step.asInt());
            const int64_t end = limit.asInt();
            more = step.asInt() >= 0 ? v <= end || static_cast<double>(v) == static_cast<double>(end)
                                     : v >= end || static_cast<double>(v) == static_cast<double>(end);
        } else {
            if (variable.isInt() && step.isInt())
                variable.intRef() = wrapAdd(variable.asInt(), step.asInt());
            else
                storePlain(variable, asDouble(variable) + asDouble(step));
            more = forLoopContinues(variable, limit, step);
        }
        if (executionLimits().stepsEnabled) [[unlikely]] {
            ip = start + 14;
            PROTECT(countStep());
        }
        if (more) {
            ip = head + 14;
        } else {
            PUSH_PLAIN(Value(false));
            ip = head + 13 + u16At(head + 11);
        }
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_INT_ARITH) {
        const Value& a = slots[u16At(ip)];
        if (!a.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const int64_t x = a.asInt();
        const int64_t y = constants[u16At(ip + 3)].asInt();
        int64_t result;
        switch (ip[5]) {
        case OP_ADD: result = wrapAdd(x, y); break;
        case OP_SUB: result = wrapSub(x, y); break;
        case OP_MUL: result = wrapMul(x, y); break;
        default:
            if (y == 0) goto LABEL_OP_GET_LOCAL;
            result = remainder(x, y);
            break;
        }
        storePlain(*top++, result);
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_INT_COMPARE_JUMP) {
        const Value& a = slots[u16At(ip)];
        if (!a.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const double x = asDouble(a);
        const double y = static_cast<double>(constants[u16At(ip + 3)].asInt());
        if (compareNumbers(comparisonAt(ip[5]), x, y))
            ip += 10;  // past JUMP_IF_FALSE and its POP
        else
            ip += 9 + u16At(ip + 7) + 1;  // the jump's target, past the POP there
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_GRID_INDEX) {
        // The row is read in place, never pushed.
        const Value& grid = slots[u16At(ip)];
        const Value& i = slots[u16At(ip + 3)];
        const Value& j = slots[u16At(ip + 7)];
        if (!grid.isList() || !i.isInt() || !j.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const std::vector<Value>& rows = grid.listItems();
        int64_t row = i.asInt();
        if (!toPosition(row, rows.size())) goto LABEL_OP_GET_LOCAL;
        const Value& line = rows[static_cast<std::size_t>(row)];
        if (!line.isList()) goto LABEL_OP_GET_LOCAL;
        const std::vector<Value>& items = line.listItems();
        int64_t column = j.asInt();
        if (!toPosition(column, items.size())) goto LABEL_OP_GET_LOCAL;
        new (top++) Value(items[static_cast<std::size_t>(column)]);
        ip += 10;
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_LOCAL_INDEX) {
        const Value& object = slots[u16At(ip)];
        const Value& key = slots[u16At(ip + 3)];
        if (!object.isList() || !key.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const std::vector<Value>& items = object.listItems();
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) goto LABEL_OP_GET_LOCAL;
        new (top++) Value(items[static_cast<std::size_t>(index)]);
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_GLOBAL_LOCAL_INDEX) {
        // The container is read where the global keeps it, without a push.
        const Value* object = frame->globalCache[u16At(ip)];
        const Value& key = slots[u16At(ip + 3)];
        if (!object || stackEnd - top < 2) goto LABEL_OP_GET_GLOBAL;
        if (object->isList() && key.isInt()) {
            const std::vector<Value>& items = object->listItems();
            int64_t index = key.asInt();
            if (!toPosition(index, items.size())) goto LABEL_OP_GET_GLOBAL;
            new (top++) Value(items[static_cast<std::size_t>(index)]);
        } else if (object->isMap() && key.isString()) {
            const Value* found =
                findField(object->asMap(), key, frame->closure->fieldHints[ip + 5 - frame->closure->code]);
            new (top++) Value(found ? *found : Value());
        } else {
            goto LABEL_OP_GET_GLOBAL;
        }
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_GLOBAL_LOCAL_STORE) {
        // An element statement g[i] = v: the value is stored where it belongs, nothing pushed.
        Value* object = frame->globalCache[u16At(ip)];
        const Value& key = slots[u16At(ip + 3)];
        const uint8_t* valueAt = ip + 5;  // the instruction that pushes the value
        const uint8_t valueOp = *valueAt;
        const uint8_t* setIndexAt = valueAt + (valueOp == OP_CONSTANT || valueOp == OP_GET_LOCAL ? 3 : 1);
        if (!object || stackEnd - top < 3) goto LABEL_OP_GET_GLOBAL;
        Value* element = nullptr;
        if (object->isList() && key.isInt()) {
            std::vector<Value>& items = object->listItems();
            int64_t index = key.asInt();
            if (toPosition(index, items.size())) element = &items[static_cast<std::size_t>(index)];
        } else if (object->isMap() && key.isString()) {
            element = findField(object->asMap(), key, frame->closure->fieldHints[setIndexAt - frame->closure->code]);
        }
        if (!element) goto LABEL_OP_GET_GLOBAL;
        switch (valueOp) {
        case OP_NIL: *element = Value(); break;
        case OP_TRUE: *element = Value(true); break;
        case OP_FALSE: *element = Value(false); break;
        case OP_CONSTANT: *element = constants[u16At(valueAt + 1)]; break;
        case OP_GET_LOCAL: *element = slots[u16At(valueAt + 1)]; break;
        default: goto LABEL_OP_GET_GLOBAL;
        }
        ip = setIndexAt + 2;  // past SET_INDEX and POP
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_INDEX) {
        Value& object = top[-1];
        const Value& key = slots[u16At(ip)];
        if (!object.isList() || !key.isInt() || top == stackEnd) goto LABEL_OP_GET_LOCAL;
        const std::vector<Value>& items = object.listItems();
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) goto LABEL_OP_GET_LOCAL;
        {
            Value element = items[static_cast<std::size_t>(index)];
            object = std::move(element);
        }
        ip += 3;
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_FIELD) {
        const Value& object = slots[u16At(ip)];
        if (!object.isMap() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const Value* found = findField(object.asMap(), constants[u16At(ip + 3)],
                                       frame->closure->fieldHints[ip - 1 - frame->closure->code]);
        if (found)
            new (top++) Value(*found);
        else
            new (top++) Value();
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_ELEMENT) {
        const Value& object = slots[u16At(ip)];
        if (!object.isList() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const std::vector<Value>& items = object.listItems();
        int64_t index = constants[u16At(ip + 3)].asInt();
        if (!toPosition(index, items.size())) goto LABEL_OP_GET_LOCAL;
        new (top++) Value(items[static_cast<std::size_t>(index)]);
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_FIELD) {
        Value& object = top[-1];
        if (!object.isMap() || top == stackEnd) goto LABEL_OP_CONSTANT;
        {
            const Value* found = findField(object.asMap(), constants[u16At(ip)],
                                           frame->closure->fieldHints[ip - 1 - frame->closure->code]);
            Value element = found ? *found : Value();
            object = std::move(element);
        }
        ip += 3;
        NEXT;
    }
    CASE(OP_QUICK_SET_LOCAL_POP) {
        Value& slot = slots[u16At(ip)];
        if (&slot == top - 1) goto LABEL_OP_SET_LOCAL;
        slot = std::move(top[-1]);
        --top;
        ip += 3;
        NEXT;
    }
    CASE(OP_QUICK_SET_UPVALUE_POP) {
        Value* location = upvalues[*ip]->location;
        if (location == top - 1) goto LABEL_OP_SET_UPVALUE;
        *location = std::move(top[-1]);
        --top;
        ip += 2;
        NEXT;
    }
    CASE(OP_QUICK_SET_GLOBAL_POP) {
        Value* slot = frame->globalCache[u16At(ip)];
        if (!slot) goto LABEL_OP_SET_GLOBAL;
        *slot = std::move(top[-1]);
        --top;
        ip += 3;
        NEXT;
    }
// A comparison of two numbers and the conditional jump on its result.
#define COMPARE_JUMP(op)                                                               \
    do {                                                                               \
        const Value& a = top[-2];                                                      \
        const Value& b = top[-1];                                                      \
        if (!a.isNumber() || !b.isNumber()) goto LABEL_##op;                           \
        const bool result = compareNumbers(op, asDouble(a), asDouble(b));              \
        top -= 2; /* numbers: nothing to release */                                    \
        /* past JUMP_IF_FALSE and its POP, or to the jump's target past the POP there */ \
        ip += result ? 4 : 3 + u16At(ip + 1) + 1;                                      \
        NEXT;                                                                          \
    } while (false)
    CASE(OP_QUICK_EQUAL_JUMP) COMPARE_JUMP(OP_EQUAL);
    CASE(OP_QUICK_NOT_EQUAL_JUMP) COMPARE_JUMP(OP_NOT_EQUAL);
    CASE(OP_QUICK_LESS_JUMP) COMPARE_JUMP(OP_LESS);
    CASE(OP_QUICK_LESS_EQUAL_JUMP) COMPARE_JUMP(OP_LESS_EQUAL);
    CASE(OP_QUICK_GREATER_JUMP) COMPARE_JUMP(OP_GREATER);
    CASE(OP_QUICK_GREATER_EQUAL_JUMP) COMPARE_JUMP(OP_GREATER_EQUAL);
#undef COMPARE_JUMP
    CASE(OP_QUICK_LOCAL_LOCAL_ARITH) {
        const Value& a = slots[u16At(ip)];
        const Value& b = slots[u16At(ip + 3)];
        if (!a.isNumber() || !b.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        const uint8_t op = ip[5];
        if (a.isInt() && b.isInt()) {
            const int64_t x = a.asInt();
            const int64_t y = b.asInt();
            storePlain(*top++, op == OP_ADD ? wrapAdd(x, y) : op == OP_SUB ? wrapSub(x, y) : wrapMul(x, y));
        } else {
            const double x = asDouble(a);
            const double y = asDouble(b);
            storePlain(*top++, op == OP_ADD ? x + y : op == OP_SUB ? x - y : x * y);
        }
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_LOCAL_LOCAL_COMPARE) {
        const Value& a = slots[u16At(ip)];
        const Value& b = slots[u16At(ip + 3)];
        if (!a.isNumber() || !b.isNumber() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        storePlain(*top++, compareNumbers(comparisonAt(ip[5]), asDouble(a), asDouble(b)));
        ip += 6;
        NEXT;
    }
    CASE(OP_QUICK_FOR_IN_NEXT) {
        const uint8_t* start = ip - 1;
        const Value& position = slots[u16At(start + 1)];
        const Value& items = slots[u16At(start + 4)];
        if (!position.isInt() || position.asInt() < 0 || !items.isList() || stackEnd - top < 2)
            goto LABEL_OP_GET_LOCAL;
        const std::vector<Value>& list = items.listItems();
        if (asDouble(position) < static_cast<double>(list.size())) {
            const auto index = static_cast<std::size_t>(position.asInt());
            if (index >= list.size()) goto LABEL_OP_GET_LOCAL;
            slots[u16At(start + 20)] = list[index];
            ip = start + 23;
        } else {
            PUSH_PLAIN(Value(false));
            ip = start + 11 + u16At(start + 9);
        }
        NEXT;
    }
    // x = x + y in one step: numbers add, and a string that only x holds has y
    // appended in place; anything else (or a result past the size cap) runs
    // the sequence as compiled.
#define ADD_ASSIGN(target, fallback)                                                                  \
    do {                                                                                            \
        const uint8_t* operandAt = ip + 2;                                                          \
        const uint16_t operandIndex = u16At(operandAt + 1);                                         \
        const Value* operand = *operandAt == OP_CONSTANT    ? &constants[operandIndex]              \
                               : *operandAt == OP_GET_LOCAL ? &slots[operandIndex]                  \
                               : *operandAt == OP_GET_GLOBAL ? frame->globalCache[operandIndex]     \
                                                             : nullptr;                             \
        if (!(target) || !operand || stackEnd - top < 2) goto fallback;                             \
        Value& x = *(target);                                                                       \
        if (x.isInt() && operand->isInt()) {                                                        \
            x.intRef() = wrapAdd(x.asInt(), operand->asInt());                                      \
        } else if (x.isNumber() && operand->isNumber()) {                                           \
            storePlain(x, asDouble(x) + asDouble(*operand));                                        \
        } else if (!x.isString() || !operand->isString() || x.asObject()->refCount != 1 ||          \
                   !appendToString(x, operand->asString())) {                                       \
            goto fallback;                                                                          \
        }                                                                                           \
        ip += 10;                                                                                   \
        NEXT;                                                                                       \
    } while (false)
    CASE(OP_QUICK_LOCAL_ADD_ASSIGN) ADD_ASSIGN(&slots[u16At(ip)], LABEL_OP_GET_LOCAL);
    CASE(OP_QUICK_GLOBAL_ADD_ASSIGN) {
        const uint16_t index = u16At(ip);
        Value* global = frame->globalCache[index];
        if (!global) global = globalSlot(frame->globalCache, index, constants[index]);
        ADD_ASSIGN(global, LABEL_OP_GET_GLOBAL);
    }
#undef ADD_ASSIGN
    // x = <anything> + y: the sum goes straight into x. When the left operand
    // is a string that only x and the stack hold (x = x + ...), x lets go of
    // it first, so that it grows in place; x gets it back if the sum fails.
#define ADD_SET(target, fallback)                                                              \
    do {                                                                                       \
        Value* x = (target);                                                                   \
        Value& a = top[-2];                                                                    \
        const Value& b = top[-1];                                                              \
        if (!x) goto fallback;                                                                 \
        if (a.isInt() && b.isInt()) {                                                          \
            *x = Value(wrapAdd(a.asInt(), b.asInt()));                                         \
            top -= 2;                                                                          \
        } else if (a.isNumber() && b.isNumber()) {                                             \
            *x = Value(asDouble(a) + asDouble(b));                                             \
            top -= 2;                                                                          \
        } else if (a.isString() && b.isString()) {                                             \
            const bool sharedWithX = x->isString() && x->asObject() == a.asObject();           \
            if (a.asObject()->refCount != (sharedWithX ? 2u : 1u)) goto fallback;               \
            if (sharedWithX) *x = Value();                                                     \
            if (!appendToString(a, b.asString())) {                                            \
                if (sharedWithX) *x = a;                                                       \
                goto fallback;                                                                 \
            }                                                                                  \
            DROP();                                                                            \
            *x = std::move(a);                                                                 \
            --top;                                                                             \
        } else {                                                                               \
            goto fallback;                                                                     \
        }                                                                                      \
        ip += 4;                                                                               \
        NEXT;                                                                                  \
    } while (false)
    CASE(OP_QUICK_ADD_SET_LOCAL) {
        Value* local = &slots[u16At(ip + 1)];
        ADD_SET(local < top - 2 ? local : nullptr, LABEL_OP_ADD);  // a local below the operands
    }
    CASE(OP_QUICK_ADD_SET_GLOBAL) {
        const uint16_t index = u16At(ip + 1);
        Value* global = frame->globalCache[index];
        if (!global) global = globalSlot(frame->globalCache, index, constants[index]);
        ADD_SET(global, LABEL_OP_ADD);
    }
#undef ADD_SET
    CASE(OP_QUICK_FOR_IN_LOOP) {
        const uint8_t* start = ip - 1;
        Value& position = slots[u16At(start + 1)];
        // The sequence pushes two values at its peak.
        if (!position.isInt() || stackEnd - top < 2) goto LABEL_OP_GET_LOCAL;
        position.intRef() = wrapAdd(position.asInt(), constants[u16At(start + 4)].asInt());
        ip = start + 14 - u16At(start + 12);  // the head
        if (executionLimits().stepsEnabled) [[unlikely]]
            PROTECT(countStep());
        ++ip;
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
#undef READ_BYTE
#undef READ_U16
#undef SITE
#undef LOAD_FRAME
#undef PROTECT
#undef PUSH_COPY
#undef PUSH_PLAIN
#undef DROP
#undef VELMOR_LABEL
#undef VELMOR_QUICK_LABEL

// ---------------------------------------------------------------------------
// Slow paths

void VM::addSlow(Site site) {
    Value& a = top_[-2];
    const Value& b = top_[-1];
    if (a.isString() && b.isString() && a.asObject()->refCount == 1) {
        // The left string is a temporary no one else holds (the middle of
        // a + b + c): it grows in place.
        if (!appendToString(a, b.asString())) runtimeError("result too large", site.line());
        drop();
        return;
    }
    Value result;
    if ((a.isString() && b.isString()) || (a.isList() && b.isList())) {
        if (!concatenate(a, b, result)) runtimeError("result too large", site.line());
    } else if (a.isNumber() && b.isNumber()) {
        result = a.isInt() && b.isInt() ? Value(wrapAdd(a.asInt(), b.asInt())) : Value(asDouble(a) + asDouble(b));
    } else {
        runtimeError(std::string("cannot add ") + typeName(a) + " and " + typeName(b), site.line());
    }
    drop();
    top_[-1] = std::move(result);
}

void VM::arithmeticSlow(OpCode op, Site site) {
    const Value& a = top_[-2];
    const Value& b = top_[-1];
    if (!a.isNumber() || !b.isNumber()) {
        runtimeError(std::string("arithmetic needs numbers, got ") + typeName(a) + " and " + typeName(b), site.line());
    }
    Value result;
    if (op == OP_DIV) {
        if (asDouble(b) == 0.0) runtimeError("division by zero", site.line());
        result = Value(asDouble(a) / asDouble(b));
    } else if (a.isInt() && b.isInt()) {
        const int64_t x = a.asInt();
        const int64_t y = b.asInt();
        switch (op) {
        case OP_SUB: result = Value(wrapSub(x, y)); break;
        case OP_MUL: result = Value(wrapMul(x, y)); break;
        case OP_FLOOR_DIV:
            if (y == 0) runtimeError("floor division by zero", site.line());
            result = Value(floorDivide(x, y));
            break;
        case OP_MOD:
            if (y == 0) runtimeError("modulo by zero", site.line());
            result = Value(remainder(x, y));
            break;
        default:
            result =
                y < 0 ? Value(std::pow(static_cast<double>(x), static_cast<double>(y))) : Value(integerPower(x, y));
            break;
        }
    } else {
        const double x = asDouble(a);
        const double y = asDouble(b);
        switch (op) {
        case OP_SUB: result = Value(x - y); break;
        case OP_MUL: result = Value(x * y); break;
        case OP_FLOOR_DIV:
            if (y == 0.0) runtimeError("floor division by zero", site.line());
            result = Value(std::floor(x / y));
            break;
        case OP_MOD:
            if (y == 0.0) runtimeError("modulo by zero", site.line());
            result = Value(std::fmod(x, y));
            break;
        default: result = Value(std::pow(x, y)); break;
        }
    }
    // Both operands are numbers: popping needs no release.
    --top_;
    storePlain(top_[-1], result);
}

void VM::compareSlow(OpCode op, Site site) {
    const Value& a = top_[-2];
    const Value& b = top_[-1];
    bool result;
    if (a.isString() && b.isString()) {
        const int order = a.asString().compare(b.asString());
        result = compareNumbers(op, order, 0);
    } else if (a.isNumber() && b.isNumber()) {
        result = compareNumbers(op, asDouble(a), asDouble(b));
    } else {
        runtimeError(std::string("cannot compare ") + typeName(a) + " and " + typeName(b), site.line());
    }
    drop();
    top_[-1] = Value(result);
}

void VM::negateSlow(Site site) {
    runtimeError(std::string("unary '-': expected a number, got ") + typeName(top_[-1]), site.line());
}

namespace {

// The element of a list, map or string that `object[key]` names.
Value indexValue(const Value& object, const Value& key, VM::Site site) {
    if (object.isList()) {
        const std::vector<Value>& items = object.listItems();
        if (!key.isInt()) throw RuntimeError(std::string("list index must be an integer, got ") + typeName(key), site.line());
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) {
            throw RuntimeError("list index " + formatInt(key.asInt()) + " out of range (len " +
                                   formatInt(static_cast<int64_t>(items.size())) + ")",
                               site.line());
        }
        return items[static_cast<std::size_t>(index)];
    }
    if (object.isMap()) {
        const Value* found = object.asMap().find(key);
        return found ? *found : Value();
    }
    if (object.isString()) {
        const std::string_view text = object.asString();
        if (!key.isInt())
            throw RuntimeError(std::string("string index must be an integer, got ") + typeName(key), site.line());
        int64_t index = key.asInt();
        if (!toPosition(index, text.size())) throw RuntimeError("string index out of range", site.line());
        return byteString(static_cast<unsigned char>(text[static_cast<std::size_t>(index)]));
    }
    throw RuntimeError(std::string("cannot index ") + typeName(object), site.line());
}

}  // namespace

void VM::getIndexSlow(Site site) {
    Value element = indexValue(top_[-2], top_[-1], site);
    drop();
    top_[-1] = std::move(element);
}

void VM::getIndexKeepSlow(Site site) { push(indexValue(top_[-2], top_[-1], site)); }

void VM::setIndex(Site site) {
    Value& object = top_[-3];
    const Value& key = top_[-2];
    const Value& value = top_[-1];
    if (object.isList()) {
        std::vector<Value>& items = object.listItems();
        if (!key.isInt()) runtimeError(std::string("list index must be an integer, got ") + typeName(key), site.line());
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) {
            runtimeError("list index " + formatInt(key.asInt()) + " out of range (len " +
                             formatInt(static_cast<int64_t>(items.size())) + ")",
                         site.line());
        }
        items[static_cast<std::size_t>(index)] = value;
    } else if (object.isMap()) {
        if (!key.isString() && !key.isNumber()) {
            runtimeError(std::string("map key must be a string or number, got ") + typeName(key), site.line());
        }
        object.asMap().set(key, value);
    } else {
        runtimeError(std::string("cannot assign into ") + typeName(object), site.line());
    }
    Value stored = pop();
    drop();
    top_[-1] = std::move(stored);
}

void VM::buildList(std::size_t count) {
    Value* first = top_ - count;
    std::vector<Value> items;
    items.reserve(count);
    for (Value* slot = first; slot < top_; ++slot) items.push_back(std::move(*slot));
    top_ = first;
    push(Value::newList(std::move(items)));
}

void VM::buildMap(std::size_t count, Site site) {
    Value* first = top_ - 2 * count;
    Value map = Value::newMap();
    MapData& data = map.asMap();
    for (Value* pair = first; pair < top_; pair += 2) {
        const Value& key = pair[0];
        if (!key.isString() && !key.isNumber()) {
            runtimeError(std::string("map keys must be string or number, got ") + typeName(key), site.line());
        }
        data.set(key, std::move(pair[1]));
    }
    cutStack(first);
    push(std::move(map));
}

void VM::iterList(Site site) {
    const Value& iterable = top_[-1];
    std::vector<Value> items;
    if (iterable.isList()) {
        items = iterable.listItems();
    } else if (iterable.isString()) {
        const std::string_view text = iterable.asString();
        items.reserve(text.size());
        for (char byte : text) items.push_back(byteString(static_cast<unsigned char>(byte)));
    } else if (iterable.isMap()) {
        const MapData& map = iterable.asMap();
        items.reserve(map.entries.size());
        for (const MapEntry& entry : map.entries) items.push_back(entry.key);
    } else {
        runtimeError(std::string("cannot iterate over ") + typeName(iterable), site.line());
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
        size = static_cast<int64_t>(value.asMap().entries.size());
    else
        runtimeError(std::string("cannot take length of ") + typeName(value), site.line());
    top_[-1] = Value(size);
}

void VM::forTestSlow(Site site) { runtimeError("numeric for-loop needs numbers", site.line()); }

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
    runtimeError("undefined variable '" + std::string(name.asString()) + "'", site.line());
}

void VM::undefinedAssignment(const Value& name, Site site) {
    runtimeError("cannot assign to undefined variable '" + std::string(name.asString()) + "' (use 'let' to declare it)",
                 site.line());
}

}  // namespace velmor
