#pragma once

// The tree-walking interpreter: executes the syntax tree directly.
//
// How it works, in brief:
// 1. Every scope is an Environment chained to its parent. A call gets a fresh
//    scope whose parent is the function's closure; every loop iteration, taken
//    `if` branch, `try` body and `catch` handler gets one whose parent is the
//    current scope. A block that declares nothing itself cannot be observed as
//    a scope of its own, so such blocks run in the enclosing scope directly.
// 2. `break`, `continue` and `return` travel as an ExecStatus returned by
//    execute, not as exceptions; the returned value waits in returnValue_
//    until the call that owns it picks it up. Errors and values raised with
//    `error` travel as exceptions (RuntimeError, ThrownValue).
// 3. A `break` or `continue` that reaches a function boundary or the top level
//    without meeting a loop becomes a RuntimeError at its own position; a
//    top-level `return` ends the program quietly.
// 4. Recursion is bounded twice: by a count of active function calls and by
//    the amount of native stack used since the outermost entry (run, runRepl
//    or call), so that callbacks through builtins and deeply nested
//    expressions cannot exhaust the real stack either. Chains of operators,
//    calls, indexes and field accesses ("a + b + c", "f()()", "x.a.b") are no
//    nesting and may be as long as the source: a chain's first operand is
//    evaluated by recursion while few such evaluations are open, and the
//    longer rest by a loop (evaluateChain).
// 5. A function stored in the scope it captures (every `function` declaration
//    does that) forms a reference cycle with it. The code that made a scope
//    hands it to releaseScope when done: a scope that only its own unshared
//    functions still refer to is emptied at once, one that closures still use
//    is remembered in escapedScopes_ and emptied once it has become garbage
//    (checked whenever that list has doubled) or when the interpreter ends.
//    Cycles through lists or maps that contain themselves are not collected.
// 6. Shortcuts spare the common paths work that cannot be observed, and a
//    plain interpreter (engine_options.h) runs without every one of them:
//    a name remembers the binding it resolved to from a scope until a scope
//    gains a binding, is emptied or gets a new parent (scopesChanged), while
//    the global binding a name resolved to is remembered per name
//    expression (global bindings are never removed, so the slot stays
//    valid); a field access remembers where it last found its key; a call
//    scope that holds nothing but the parameters (or those and the names of
//    a body that declares before use, binding_order.h) goes back to its
//    function, with its bindings reset to nil, so that the next call
//    evaluates its arguments straight into them (a callback from a builtin
//    copies them there) and the body's `let`s overwrite bindings that the
//    scope already has; the scope of a loop pass that nothing captured
//    serves the next pass, and emptied scopes are kept for reuse; a block
//    that declares nothing runs in the enclosing scope, and the scope of one
//    that declares before use is kept for its next run; Int and Float
//    operands are combined inline, the condition of an `if` or `while`
//    takes the truth of a comparison without making its value, and a list
//    element at an Int index in range is read inline.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ast.h"
#include "builtins/native.h"
#include "call_trace.h"
#include "debug_hook.h"
#include "engine_options.h"
#include "environment.h"
#include "value.h"

namespace velmor {

// A function defined in Velmor and run by the tree-walker. It points into the
// syntax tree that defined it without owning it: the tree must outlive it.
// A call scope waiting for the next call of its function: it binds the
// parameters, all nil, and `slots` points at their values in order; when the
// function's body declares before use, it may bind the body's names too (nil).
struct SpareCallScope {
    static constexpr std::size_t kMaxParameters = 4;
    Ref<Environment> scope;
    std::array<Value*, kMaxParameters> slots{};
};

struct FunctionObj final : Callable {
    static constexpr std::size_t kMaxSpareScopes = 32;

    FunctionObj(std::string name, const std::vector<std::string>* params_, const StmtList* body_,
                Ref<Environment> closure_)
        : functionName_(std::move(name)), params(params_), body(body_), closure(std::move(closure_)) {}
    const std::string& name() const override { return functionName_; }

    std::string functionName_;
    const std::vector<std::string>* params;
    const StmtList* body;
    Ref<Environment> closure;
    // Kept by the interpreter; enough for a recursion a few calls deep.
    std::vector<SpareCallScope> spareScopes;
    // Whether the body declares before use (binding_order.h); -1: not yet known.
    int8_t keepsBindings = -1;
};

// How a statement finished: normally, or with one of the three signals.
enum class ExecStatus : uint8_t { Normal, Break, Continue, Return };

class Interpreter final : public Caller, public DebugTarget {
public:
    // The program itself counts as one frame, as in the VM, so both engines
    // allow the same number of nested calls.
    static constexpr std::size_t kMaxCallDepth = 4096;

    explicit Interpreter(EngineOptions options = defaultEngineOptions());
    ~Interpreter() override;
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Executes a whole program in the global scope.
    void run(const StmtList& statements);
    // As run, but the value of a final expression statement is the result (nil otherwise).
    Value runRepl(const StmtList& statements);
    // As runRepl, in `scope` (whose outermost parent is the globals).
    Value runIn(const StmtList& statements, Environment& scope);
    // Who calls functions that are not this engine's (a debugger's console
    // evaluates with a tree-walker in a VM's program). Null: nobody.
    void callForeignWith(Caller* caller) { foreign_ = caller; }

    // Records into `trace` the calls of every error that escapes a run
    // (null: none, the default). Set before running.
    void traceCalls(CallTrace* trace) {
        trace_ = trace;
        observed_ = trace_ || debugHook_;
    }

    Value call(const Value& callee, std::vector<Value> args) override;
    // A callback from a builtin (a sort comparator, say): the arguments are
    // copied onto the native stack instead of into a new vector.
    Value callWith(const Value& callee, std::span<const Value> args) override;
    // Sort by a comparator of the form `return p OP q` (or q OP p, or both
    // sides at one literal key) without calling it, when the operands allow.
    bool sortBy(ValueVector& items, const Value& less) override;

    // Calls a value with errors positioned at (line, column). The arguments
    // may be moved from.
    Value callValue(const Value& callee, std::span<Value> args, int32_t line, int32_t column);

    Value evaluate(const Expr& expression, Environment& environment);
    ExecStatus execute(const Stmt& statement, Environment& environment) {
        if (debugHook_) [[unlikely]]
            return executeDebugged(statement, environment);
        return executeStatement(statement, environment);
    }

    // Calls `hook` before every statement, at the start of every block (with
    // the line of the statement that runs it: a loop's pass, a branch) and at
    // every raised error (null: none, the default). Set before running, on a plain
    // interpreter: its scopes are then the program's scopes as written.
    void debugWith(DebugHook* hook) {
        debugHook_ = hook;
        observed_ = trace_ || debugHook_;
    }

    std::size_t debugFrameCount() const override { return debugFrames_.size(); }
    DebugFrame debugFrame(std::size_t index) const override;
    std::vector<DebugVariable> debugLocals(std::size_t index) override;
    std::vector<DebugVariable> debugUpvalues(std::size_t index) override;
    Environment& debugGlobals() override { return *globals; }
    Caller& debugCaller() override { return *this; }

    // The operator rules, shared by expressions and compound assignment.
    static Value binaryOp(BinaryOp op, const Value& left, const Value& right, int32_t line, int32_t column);
    // Both operands are numbers.
    static Value arithmetic(BinaryOp op, const Value& left, const Value& right, int32_t line, int32_t column);
    static Value getIndex(const Value& object, const Value& key, int32_t line, int32_t column);
    static void setIndex(const Value& object, const Value& key, Value value, int32_t line, int32_t column);
    // The snapshot a for-in loop visits.
    static ValueVector iterationItems(const Value& iterable, int32_t line, int32_t column);

    Ref<Environment> globals;

private:
    class Entry;
    class OwnedScope;
    class CallScope;

    struct GlobalSlot {
        const NameExpr* site = nullptr;
        const Environment* scope = nullptr;
        Value* slot = nullptr;
    };
    static constexpr std::size_t kGlobalSlotCount = 1024;  // a power of two
    struct NameSlot {
        const NameExpr* site = nullptr;
        const Environment* scope = nullptr;  // where the search started
        uint64_t epoch = 0;
        Value* slot = nullptr;
    };
    static constexpr std::size_t kNameSlotCount = 4096;  // 2^12: lookupName keeps the top 12 bits of a hash

    // The iteration scope a for loop left when it last ended: nothing else
    // refers to it, it binds only the loop variable (to nil), or that and
    // the names of a body that declares before use (to nil), and it had
    // `parent` as its parent. Taking it up again under the same parent
    // changes no lookup, so the next run of the loop forgets nothing.
    // A block that declares before use (executeScoped) parks the scope it
    // ran in alike, binding the block's names (to nil); loops are told
    // apart by their statement, blocks by their statement list.
    struct ParkedScope {
        const void* owner = nullptr;
        const Environment* parent = nullptr;
        Ref<Environment> scope;
    };
    // Where a field access last found its field, and the key it found
    // there; checked before it is used, so it may be stale, and is only a
    // hint. Holding the key keeps its address from being reused.
    struct FieldHint {
        const GetExpr* site = nullptr;
        std::size_t index = 0;
        Value key;
    };
    static constexpr std::size_t kFieldHintCount = 1024;  // 2^10: findField keeps the top 10 bits of a hash
    static constexpr std::size_t kParkedScopeCount = 64;  // 2^6: parkedScopeFor keeps the top 6 bits of a hash
    ParkedScope& parkedScopeFor(const void* owner) {
        return parkedScopes_[reinterpret_cast<std::uintptr_t>(owner) * 0x9E3779B97F4A7C15u >> 58];
    }

    static constexpr std::size_t kMinimumPruneThreshold = 256;
    static constexpr std::size_t kMaximumSpareScopes = 64;

    // A new scope, recycled from spareScopes_ when one is there.
    Ref<Environment> acquireScope(Ref<Environment> parent);

    // Called by a scope's owner when it is done with the scope: a scope that
    // nothing else can reach (perhaps but for its own functions) is emptied
    // and kept for reuse, one that closures still use joins escapedScopes_.
    void releaseScope(Ref<Environment>& scope);
    // Drops the escaped scopes that have become garbage.
    void pruneEscapedScopes();
    // Whether a loop body mentions each name it declares only after the
    // declaration, so that its pass scopes may keep their bindings from one
    // pass to the next; worked out once per body.
    bool declaresBeforeUse(const StmtList& body);

    ExecStatus executeBlock(const StmtList& statements, Environment& environment);
    ExecStatus executeScoped(const StmtList& statements, Environment& environment);
    ExecStatus executeAssign(const AssignStmt& statement, Environment& environment);
    // target = target op value for a compound assignment; a string or list
    // that only target holds grows in place under "+=".
    static void combineInto(BinaryOp op, Value& target, const Value& value, int32_t line, int32_t column);
    // target = x + a + b + ... (a chain of sums, such as an interpolation
    // that begins with x): when x is the string or list that the target
    // holds, the right operands are evaluated in order and held back while
    // they are all of its kind and fit the size cap, then appended to it in
    // place at once. Else (and for a chain of more than kMaxHeldLinks) the
    // sums are made as usual, from the first that was held back. True when
    // the target was grown; false with the sum in `value`, to be stored.
    [[gnu::noinline]] bool assignChainInPlace(const Expr& target, const BinaryExpr& top, Environment& environment,
                                              Value& value);
    static constexpr std::size_t kMaxHeldLinks = 16;
    // The binding, list element or map entry value that an assignment to
    // `target` would store into, when finding it runs no code and raises
    // nothing (its object and key are names or literals); else nullptr.
    Value* storeTarget(const Expr& target, Environment& environment);
    ExecStatus executeIf(const IfStmt& statement, Environment& environment);
    ExecStatus executeWhile(const WhileStmt& statement, Environment& environment);
    ExecStatus executeNumericFor(const NumericForStmt& statement, Environment& environment);
    ExecStatus executeForIn(const ForInStmt& statement, Environment& environment);
    // One pass of a for loop: a fresh scope binding the loop variable, then
    // the body. Break or Return stops the loop; anything else goes on.
    ExecStatus runForPass(OwnedScope& scope, Environment& environment, const std::string& var, Value value,
                          const StmtList& body);
    ExecStatus executeTry(const TryStmt& statement, Environment& environment);

    // The binding `name` refers to from `environment`, or nullptr; the same
    // answer as Environment::lookup, remembered until scopesChanged. Always
    // inlined: the callers are large, and the compiler's own choice for them
    // changes with their size.
    [[gnu::always_inline]] Value* lookupName(const NameExpr& name, Environment& environment) {
        const auto site = reinterpret_cast<std::uintptr_t>(&name);
        const auto start = reinterpret_cast<std::uintptr_t>(&environment);
        // Mixed apart before they are combined: nodes and scopes are both laid
        // out at regular distances, which a plain XOR would make collide.
        NameSlot& cached = (*nameSlots_)[((site * 0x9E3779B97F4A7C15u) ^ (start * 0xC2B2AE3D27D4EB4Fu)) >> 52];
        if (cached.site == &name && cached.scope == &environment && cached.epoch == scopeEpoch_) return cached.slot;
        return lookupNameSlowly(name, environment, cached);
    }
    [[gnu::noinline]] Value* lookupNameSlowly(const NameExpr& name, Environment& environment, NameSlot& cached);
    Value* searchName(const NameExpr& name, Environment& environment);
    // Every change to which binding a name reaches from a scope (a new
    // binding, a scope emptied, a scope made or given a new parent) goes
    // through bind or calls scopesChanged, which forgets the answers of
    // lookupName. Assigning to a binding changes nothing of that, and
    // neither does binding into a scope that was just acquired (or just
    // emptied) and has not been searched since: the parameters of a call,
    // a loop variable, a caught value.
    void scopesChanged() { ++scopeEpoch_; }
    void bind(Environment& scope, const std::string& name, Value value) {
        const std::size_t before = scope.vars.size();
        scope.define(name, std::move(value));
        if (scope.vars.size() != before)  // a binding overwritten changes no lookup
            scopesChanged();
    }
    Value* lookupGlobal(const NameExpr& name);
    Value evaluateName(const NameExpr& expression, Environment& environment);
    // evaluate, with names and literals (most operands) answered without a
    // call of evaluate.
    [[gnu::always_inline]] Value evaluateOperand(const Expr& expression, Environment& environment) {
        if (expression.kind == ExprKind::Name) {
            if (const Value* value = lookupName(static_cast<const NameExpr&>(expression), environment)) return *value;
        } else if (expression.kind == ExprKind::Literal) {
            return static_cast<const LiteralExpr&>(expression).value;
        }
        return evaluate(expression, environment);
    }
    // The value of field `site.name` of `map`, or nullptr: the entry map.find
    // would give, found at its index of last time when it is still there.
    Value* findField(MapData& map, const GetExpr& site);
    // The first operand of a chain link (see isChainLink): the left operand,
    // callee or object. evaluateOperand, but a link there with more chain
    // below is counted in openChainLinks_, and once kMaxOpenChainLinks are
    // open its chain is evaluated by a loop instead.
    [[gnu::always_inline]] Value evaluateFirstOperand(const Expr& expression, Environment& environment) {
        if (expression.kind == ExprKind::Name) {
            if (const Value* value = lookupName(static_cast<const NameExpr&>(expression), environment)) return *value;
        } else if (expression.kind == ExprKind::Literal) {
            return static_cast<const LiteralExpr&>(expression).value;
        } else if (expression.chainLength > 1) {
            // A link on a link: the chain goes on below (one link alone adds one level).
            return evaluateLink(expression, environment);
        }
        return evaluate(expression, environment);
    }
    Value evaluateLink(const Expr& link, Environment& environment);
    // The right operand of a binary operator; that of "^" may go on to the right.
    [[gnu::always_inline]] Value evaluateRightOperand(const BinaryExpr& expression, Environment& environment) {
        const Expr& right = *expression.right;
        if (right.kind == ExprKind::Name) {
            if (const Value* value = lookupName(static_cast<const NameExpr&>(right), environment)) return *value;
        } else if (right.kind == ExprKind::Literal) {
            return static_cast<const LiteralExpr&>(right).value;
        } else if (expression.binop == BinaryOp::Pow) {
            return evaluateExponent(right, environment);
        }
        return evaluate(right, environment);
    }
    // A chain from its top link, by a loop: its links are collected, its
    // innermost operand evaluated and the links applied on the way back up.
    [[gnu::noinline]] Value evaluateChain(const Expr& top, Environment& environment);
    // The right operand of "^", which grows a chain to the right ("a ^ b ^ c").
    Value evaluateExponent(const Expr& exponent, Environment& environment);
    [[gnu::noinline]] Value evaluatePowerChain(const BinaryExpr& first, Environment& environment);
    // isTruthy(evaluate(condition)) for the condition of an `if` or a
    // `while`: a comparison, and an "and" or "or" of comparisons, are
    // answered without their bool Values or a call of evaluate (`a or b` is
    // true when a is, or else when b is; `a and b` when both are).
    bool isTrue(const Expr& condition, Environment& environment);
    // The same for an operand of "and" or "or"; `first`: the left one.
    [[gnu::always_inline]] inline bool isTrueOperand(const Expr& operand, Environment& environment, bool first);
    [[gnu::always_inline]] inline bool isTrueComparison(const BinaryExpr& comparison, Environment& environment);
    Value evaluateUnary(const UnaryExpr& expression, Environment& environment);
    Value evaluateBinary(const BinaryExpr& expression, Environment& environment);
    // The rest of a binary operator once its left operand is known.
    [[gnu::always_inline]] inline Value finishBinary(const BinaryExpr& expression, Value left,
                                                     Environment& environment);
    // A binary operator other than "and" and "or" on its two operand values.
    [[gnu::always_inline]] inline Value combine(const BinaryExpr& expression, const Value& left, const Value& right);
    Value evaluateCall(const CallExpr& expression, Environment& environment);
    // The rest of a call once its callee is known.
    [[gnu::always_inline]] inline Value finishCall(const Value& callee, const CallExpr& expression,
                                                   Environment& environment);
    // The rest of an index or field access once its object is known.
    [[gnu::always_inline]] inline Value finishIndex(const IndexExpr& expression, const Value& object,
                                                    Environment& environment);
    [[gnu::always_inline]] inline Value finishGet(const GetExpr& expression, const Value& object);
    // Kept out of evaluateCall so that its frame, on every recursion, stays small.
    [[gnu::noinline]] Value callWithManyArguments(const Value& callee, const CallExpr& expression,
                                                  Environment& environment);
    Value evaluateList(const ListLitExpr& expression, Environment& environment);
    Value evaluateMap(const MapLitExpr& expression, Environment& environment);

    Value callFunction(const Value& callee, std::span<Value> args, int32_t line, int32_t column);
    // A call of `function` with as many arguments as it has parameters,
    // when it has a spare scope: the arguments are evaluated into it.
    Value callInSpareScope(FunctionObj& function, const CallExpr& expression, Environment& environment);
    // The rest of a call once `scope` binds the arguments: the limits, then the body.
    Value runCall(FunctionObj& function, Environment& scope, int32_t line, int32_t column);
    [[noreturn]] void signalOutsideLoop(ExecStatus status) const;

    // Chain links whose first operand is being evaluated by recursion; the
    // count is restored where an error is caught.
    static constexpr std::size_t kMaxOpenChainLinks = 64;
    std::size_t openChainLinks_ = 0;
    std::vector<const Expr*> chainLinks_;  // the links of the chains evaluateChain is applying
    Value returnValue_;                    // the value of the `return` now unwinding
    int32_t signalLine_ = 0;               // position of the `break`/`continue` now unwinding
    int32_t signalColumn_ = 0;
    std::size_t callDepth_ = 0;                    // active calls of Velmor functions
    std::uintptr_t callStackLimit_ = 0;            // calls below this native stack address fail; 0: no entry yet
    std::uintptr_t expressionStackLimit_ = 0;      // the same for any evaluation, a little deeper
    std::vector<Ref<Environment>> escapedScopes_;  // scopes that outlived their owners
    std::vector<Ref<Environment>> spareScopes_;    // empty scopes kept for reuse
    std::size_t pruneThreshold_ = kMinimumPruneThreshold;
    // Emptied at every outermost entry, since a syntax tree freed since may
    // have left its addresses to a new one.
    std::unique_ptr<std::array<GlobalSlot, kGlobalSlotCount>> globalSlots_;
    std::unique_ptr<std::array<NameSlot, kNameSlotCount>> nameSlots_;
    uint64_t scopeEpoch_ = 1;  // no NameSlot is valid before the first entry
    std::array<ParkedScope, kParkedScopeCount> parkedScopes_;
    std::unique_ptr<std::array<FieldHint, kFieldHintCount>> fieldHints_;
    // The answers of declaresBeforeUse; emptied with globalSlots_.
    std::unordered_map<const StmtList*, bool> declaresBeforeUse_;
    // None of the shortcuts of point 6 and no inline operators (engine_options.h).
    const bool plain_;
    const std::size_t maxCallDepth_;  // at most kMaxCallDepth
    CallTrace* trace_ = nullptr;

    ExecStatus executeStatement(const Stmt& statement, Environment& environment);
    // A frame as the debugger sees it: the statement it runs, in which scope,
    // and the scope its function closes over (null at the top level).
    struct DebugRecord {
        std::string function;
        int32_t line = 0;
        int32_t column = 0;
        Environment* scope = nullptr;
        const Environment* closure = nullptr;
    };
    DebugHook* debugHook_ = nullptr;
    Caller* foreign_ = nullptr;
    std::vector<DebugRecord> debugFrames_;
    // The error being unwound was shown to the hook already.
    bool debugErrorShown_ = false;
    // Calls are traced or debugged: they take the slow path.
    bool observed_ = false;
    [[gnu::noinline]] ExecStatus executeBlockDebugged(const StmtList& statements, Environment& environment);
    [[gnu::noinline]] ExecStatus executeDebugged(const Stmt& statement, Environment& environment);
    [[gnu::noinline, gnu::cold]] Value callForeign(const Value& callee, std::span<Value> args);
    [[gnu::noinline]] Value runBodyDebugged(FunctionObj& function, Environment& scope);
    [[gnu::cold, gnu::noinline]] void debugRaised(const Value& error, bool thrown);
    // Variables bound in the scopes from `from` out to `to` (excluded), the innermost of each name.
    static std::vector<DebugVariable> variablesBetween(Environment* from, const Environment* to);
    std::size_t openTries_ = 0;  // try bodies running, counted only for a debugger
    // As an error leaves a call of `function` made at (line, column): the
    // frame with where it was, then that call as where its caller was.
    [[gnu::cold, gnu::noinline]] void traceFrameLeft(const std::string& function, int32_t line, int32_t column);
    // A call's body and a builtin's call when tracing: they note what an error leaves.
    [[gnu::noinline]] Value runBodyTraced(FunctionObj& function, Environment& scope, int32_t line, int32_t column);
    [[gnu::noinline]] Value callNativeTraced(NativeObj& native, std::span<Value> args, int32_t line, int32_t column);
    // What a call gives back once its body has finished as `status`.
    [[gnu::always_inline]] inline Value finishBody(ExecStatus status);
};

}  // namespace velmor
