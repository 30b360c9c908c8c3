#include "interpreter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

#include "binding_order.h"
#include "builtins/comparator_sort.h"
#include "error.h"
#include "execution_limits.h"
#include "native_stack.h"
#include "operations.h"

namespace velmor {

namespace {

// Counts one more in `count` while it lives: an active call, an open try.
class CountWhile {
public:
    explicit CountWhile(std::size_t& count) : count_(count) { ++count_; }
    ~CountWhile() { --count_; }
    CountWhile(const CountWhile&) = delete;
    CountWhile& operator=(const CountWhile&) = delete;

private:
    std::size_t& count_;
};

// Arguments of calls with at most this many are evaluated into a buffer on
// the native stack instead of a heap vector.
constexpr std::size_t kInlineArguments = 4;

// Expressions may nest a little deeper than calls, so that a runaway
// recursion is stopped at a call (with the call's position) first: by a
// sixteenth of the calls' budget (256 KiB of the 4 MiB an 8 MiB stack
// gives), so that on a small stack too the expressions evaluated at the
// deepest call stay well above the stack's end.
constexpr std::size_t kExpressionStackSlackDivisor = 16;

// Errors are raised through these out-of-line helpers, so that building a
// message takes no room in the frames of the recursive evaluation functions.
[[noreturn, gnu::cold, gnu::noinline]] void fail(const char* message, int32_t line, int32_t column) {
    throw RuntimeError(message, line, column);
}

// prefix + the type name of `value` + suffix
[[noreturn, gnu::cold, gnu::noinline]] void failWithType(const char* prefix, const Value& value, const char* suffix,
                                                         int32_t line, int32_t column) {
    throw RuntimeError(std::string(prefix) + typeName(value) + suffix, line, column);
}

[[noreturn, gnu::cold, gnu::noinline]] void failWithName(const char* prefix, const std::string& name,
                                                         const char* suffix, int32_t line, int32_t column) {
    throw RuntimeError(prefix + name + suffix, line, column);
}

[[noreturn, gnu::cold, gnu::noinline]] void failArity(const std::string& name, std::size_t expected, std::size_t given,
                                                      int32_t line, int32_t column) {
    throw RuntimeError(arityMessage(name, std::to_string(expected), given), line, column);
}

[[noreturn, gnu::cold, gnu::noinline]] void failNativeArity(const NativeObj& native, std::size_t given, int32_t line,
                                                            int32_t column) {
    throw RuntimeError(arityMessage(native, given), line, column);
}

// A failed operator rule, worded as the tree-walker words it.
[[noreturn, gnu::cold, gnu::noinline]] void failOperation(OperationError error, const Value& first, const Value& second,
                                                          BinaryOp op, int32_t line, int32_t column) {
    throw RuntimeError(operationMessage(error, first, second, Wording::TreeWalker, op), line, column);
}

constexpr bool isComparison(BinaryOp op) { return operatorInfo(op).kind == OperatorKind::Comparison; }

// Whether a block binds names in its own scope; only then is the scope observable.
bool declaresNames(const StmtList& statements) {
    for (const StmtPtr& statement : statements) {
        if (statement->kind == StmtKind::Let || statement->kind == StmtKind::FunctionDecl) return true;
    }
    return false;
}

[[gnu::noinline]] void resetBindings(Environment& scope) {
    for (auto& binding : scope.vars) Value dropped(std::move(binding.second));  // leaves nil behind
}

// Whether `scope`, held once by its owner, is otherwise referenced only from
// values that it alone holds: its functions, the functions in lists and maps
// that only it holds, and the scopes that only those functions hold. Such a
// scope is garbage in a cycle once its owner lets go. The search gives up
// (answering no) after a few dozen values, so that it stays cheap.
bool onlySelfReferenced(const Environment& scope) {
    if (scope.refCount == 1) return true;
    constexpr std::size_t kSearchLimit = 64;
    std::array<const Value*, kSearchLimit> pending;
    std::size_t pendingCount = 0;
    std::size_t visited = 0;
    std::size_t selfReferences = 0;
    auto addBindings = [&](const Environment& environment) {
        for (const auto& binding : environment.vars) {
            if (pendingCount == kSearchLimit) return false;
            pending[pendingCount++] = &binding.second;
        }
        return true;
    };
    if (!addBindings(scope)) return false;
    while (pendingCount > 0) {
        const Value& value = *pending[--pendingCount];
        if (!value.isObject() || value.asObject()->refCount != 1) continue;  // shared, or no reference at all
        if (++visited > kSearchLimit) return false;
        if (value.isFunction()) {
            // Follow the chain of scopes that only this function keeps alive.
            for (const Environment* closure = value.asFunction().closure.get(); closure;
                 closure = closure->parent.get()) {
                if (closure == &scope) {
                    ++selfReferences;
                    break;
                }
                if (closure->refCount != 1 || ++visited > kSearchLimit || !addBindings(*closure)) break;
            }
        } else if (value.isList()) {
            for (const Value& item : value.listItems()) {
                if (pendingCount == kSearchLimit) return false;
                pending[pendingCount++] = &item;
            }
        } else if (value.isMap()) {
            for (const MapEntry& entry : value.asMap()) {
                if (pendingCount == kSearchLimit) return false;
                pending[pendingCount++] = &entry.value;
            }
        }
    }
    return scope.refCount == 1 + selfReferences;
}

// What scope.vars.find(name) finds, faster for the few bindings a call or
// loop scope holds: the names are told apart by length and first byte before
// any byte-wise comparison.
Value* findBinding(Environment& scope, const std::string& name) {
    constexpr std::size_t kScanLimit = 8;
    auto& bindings = scope.vars;
    if (bindings.size() > kScanLimit) {
        const auto found = bindings.find(name);
        return found != bindings.end() ? &found->second : nullptr;
    }
    const std::size_t length = name.size();
    const char* const text = name.data();
    for (auto& binding : bindings) {
        const std::string& key = binding.first;
        if (key.size() == length && (length == 0 || (key[0] == text[0] && std::memcmp(key.data(), text, length) == 0)))
            return &binding.second;
    }
    return nullptr;
}

Value makeFunction(const std::string& name, const std::vector<std::string>& params, const StmtList& body,
                   Environment& closure) {
    return Value(makeRef<FunctionObj>(name, &params, &body, Ref<Environment>(&closure)));
}

}  // namespace

// Records the native stack position at the outermost entry into the
// interpreter and clears it again on the way out.
class Interpreter::Entry {
public:
    explicit Entry(Interpreter& interpreter) : interpreter_(interpreter) {
        if (interpreter_.callStackLimit_ != 0) return;
        outermost_ = true;
        const std::uintptr_t base = currentStackAddress();
        static const std::size_t budget = nativeStackBudget();
        interpreter_.callStackLimit_ = nativeStackLimit(base, budget);
        interpreter_.expressionStackLimit_ = nativeStackLimit(base, budget + budget / kExpressionStackSlackDivisor);
        interpreter_.globalSlots_->fill(GlobalSlot{});
        interpreter_.scopesChanged();
        interpreter_.openChainLinks_ = 0;  // an error may have left the count of an earlier run
        interpreter_.declaresBeforeUse_.clear();
        // Kept for a loop or block by its address, which a freed tree may
        // have left to another one with other names.
        for (ParkedScope& parked : interpreter_.parkedScopes_) parked = ParkedScope{};
    }
    ~Entry() {
        if (outermost_) {
            interpreter_.callStackLimit_ = 0;
            interpreter_.expressionStackLimit_ = 0;
        }
    }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

private:
    Interpreter& interpreter_;
    bool outermost_ = false;
};

// The scope of one call, block, loop iteration or handler, owned by the code
// that made it and handed to releaseScope when that code is done with it.
class Interpreter::OwnedScope {
public:
    explicit OwnedScope(Interpreter& interpreter) : interpreter_(interpreter) {}
    // The pass scopes of a loop running `body`.
    OwnedScope(Interpreter& interpreter, const StmtList& body) : interpreter_(interpreter), body_(&body) {}
    // The pass scopes of a for loop, which may be parked when it ends.
    OwnedScope(Interpreter& interpreter, const Stmt& loop, const StmtList& body)
        : interpreter_(interpreter), owner_(&loop), body_(&body) {}
    // The scope of a block that declares names, under `parent`: the scope
    // the block parked when it last ended, if it did, else a new one.
    OwnedScope(Interpreter& interpreter, const StmtList& block, Environment& parent)
        : interpreter_(interpreter), owner_(&block), body_(&block), block_(true) {
        ParkedScope& parked = interpreter.parkedScopeFor(owner_);
        if (parked.owner == owner_ && parked.scope) {
            scope_ = std::move(parked.scope);
            if (parked.parent != &parent) interpreter.scopesChanged();
            scope_->parent = Ref<Environment>(&parent);
            keepsBindings_ = 1;  // parked only then
            return;
        }
        scope_ = interpreter.acquireScope(Ref<Environment>(&parent));
    }
    OwnedScope(Interpreter& interpreter, Ref<Environment> parent)
        : interpreter_(interpreter), scope_(interpreter.acquireScope(std::move(parent))) {}
    ~OwnedScope() {
        if (!scope_) return;
        const bool onlyVariable = variableSlot_ && scope_->vars.size() == 1;
        // A body that declares before use may have its bindings kept too (see renew).
        if (owner_ && scope_->refCount == 1 && (onlyVariable || (block_ ? keepsBindings() : keepsBindings_ == 1))) {
            ParkedScope& parked = interpreter_.parkedScopeFor(owner_);
            // Another loop's parked scope gives way: freed, it could only
            // come back at its address as a new scope, which is announced.
            if (!parked.scope || parked.owner != owner_) {
                if (onlyVariable)
                    *variableSlot_ = Value();
                else
                    resetBindings(*scope_);
                parked.owner = owner_;
                parked.parent = scope_->parent.get();
                scope_->parent = nullptr;
                parked.scope = std::move(scope_);
                return;
            }
        }
        interpreter_.releaseScope(scope_);
    }
    OwnedScope(const OwnedScope&) = delete;
    OwnedScope& operator=(const OwnedScope&) = delete;

    // A fresh scope for the next loop iteration. The previous one is emptied
    // and reused when nothing else can reach it, since no one can tell.
    void renew(Environment& parent) {
        variableSlot_ = nullptr;
        if (scope_ && !interpreter_.plain_ && onlySelfReferenced(*scope_)) {
            if (keepsBindings()) {
                // The same bindings, nil as a fresh scope's would be once
                // declared: no lookup of the next pass can tell.
                resetBindings(*scope_);
                return;
            }
            scope_->vars.clear();
            interpreter_.scopesChanged();
            return;
        }
        if (scope_) interpreter_.releaseScope(scope_);
        scope_ = interpreter_.acquireScope(Ref<Environment>(&parent));
    }

    // renew, then bind the loop variable. When the last iteration's scope
    // holds nothing but that variable and no one else can reach it, the
    // binding is simply overwritten: the same as a fresh scope, minus the
    // table entry.
    void renew(Environment& parent, const std::string& variable, Value value) {
        if (variableSlot_ && scope_->refCount == 1 && scope_->vars.size() == 1) {
            *variableSlot_ = std::move(value);
            return;
        }
        if (!scope_ && owner_) {
            ParkedScope& parked = interpreter_.parkedScopeFor(owner_);
            if (parked.owner == owner_ && parked.scope) {
                // The scope this loop left last time, holding its variable
                // and, if the body declares before use, the body's names.
                scope_ = std::move(parked.scope);
                if (parked.parent != &parent) interpreter_.scopesChanged();
                scope_->parent = Ref<Environment>(&parent);
                if (scope_->vars.size() == 1) {
                    variableSlot_ = &scope_->vars.begin()->second;
                    *variableSlot_ = std::move(value);
                    return;
                }
                scope_->define(variable, std::move(value));  // bound there already: overwritten
                return;
            }
        }
        renew(parent);
        scope_->define(variable, std::move(value));  // into a fresh scope: see bind
        if (scope_->vars.size() == 1 && !interpreter_.plain_) variableSlot_ = &scope_->vars.begin()->second;
    }

    Environment& operator*() const { return *scope_; }
    Environment* operator->() const { return scope_.get(); }

private:
    bool keepsBindings() {
        if (keepsBindings_ < 0) keepsBindings_ = body_ && interpreter_.declaresBeforeUse(*body_) ? 1 : 0;
        return keepsBindings_ == 1;
    }

    Interpreter& interpreter_;
    const void* owner_ = nullptr;     // the loop statement or block whose scope may be parked
    const StmtList* body_ = nullptr;  // the loop body run in the pass scopes, when known
    int8_t keepsBindings_ = -1;       // whether a pass may keep the last one's bindings; -1: not yet known
    bool block_ = false;              // the scope of a block (executeScoped), not of loop passes
    Ref<Environment> scope_;
    Value* variableSlot_ = nullptr;  // the loop variable's binding in scope_, while it is the only one
};

// The scope of one call of a Velmor function, taken from the function's
// spare scopes when it has one.
class Interpreter::CallScope {
public:
    CallScope(Interpreter& interpreter, FunctionObj& function, std::span<Value> args)
        : interpreter_(interpreter), function_(function) {
        const std::vector<std::string>& params = *function.params;
        if (!function.spareScopes.empty()) {
            SpareCallScope& spare = function.spareScopes.back();
            scope_ = std::move(spare.scope);
            slots_ = spare.slots;
            function.spareScopes.pop_back();
            scope_->parent = function.closure;
            for (std::size_t i = 0; i < params.size(); ++i) *slots_[i] = std::move(args[i]);
            slotsKnown_ = true;
            return;
        }
        scope_ = interpreter.acquireScope(function.closure);
        for (std::size_t i = 0; i < params.size(); ++i)
            scope_->define(params[i], std::move(args[i]));  // into a fresh scope: see bind
    }
    // A spare scope of `function` (it has one), whose parameters are then
    // bound by bindArgument: a call's arguments go straight to their
    // bindings. Until the call starts nothing can reach the scope, and if an
    // argument fails, the scope goes back as a call would leave it.
    CallScope(Interpreter& interpreter, FunctionObj& function) : interpreter_(interpreter), function_(function) {
        SpareCallScope& spare = function.spareScopes.back();
        scope_ = std::move(spare.scope);
        slots_ = spare.slots;
        function.spareScopes.pop_back();
        scope_->parent = function.closure;
        slotsKnown_ = true;
    }
    ~CallScope() {
        const std::vector<std::string>& params = *function_.params;
        // Only the parameters, each bound once, or those and the names of a
        // body that declares before use (see keepsBindings), and nothing
        // else refers to the scope.
        const bool onlyParameters = scope_->vars.size() == params.size();
        if (!interpreter_.plain_ && scope_->refCount == 1 && (onlyParameters || keepsBindings()) &&
            params.size() <= SpareCallScope::kMaxParameters &&
            function_.spareScopes.size() < FunctionObj::kMaxSpareScopes) {
            if (!slotsKnown_) {
                for (std::size_t i = 0; i < params.size(); ++i) slots_[i] = &scope_->vars.find(params[i])->second;
                // A repeated parameter name binds one variable for two
                // parameters, so a binding of the body's makes up the count.
                for (std::size_t i = 0; i < params.size(); ++i) {
                    for (std::size_t j = 0; j < i; ++j) {
                        if (slots_[i] == slots_[j]) {
                            interpreter_.releaseScope(scope_);
                            return;
                        }
                    }
                }
            }
            if (onlyParameters) {
                for (std::size_t i = 0; i < params.size(); ++i) *slots_[i] = Value();
            } else {
                resetBindings(*scope_);
            }
            scope_->parent = nullptr;
            if (function_.spareScopes.capacity() == 0) function_.spareScopes.reserve(FunctionObj::kMaxSpareScopes);
            function_.spareScopes.push_back(SpareCallScope{std::move(scope_), slots_});
            return;
        }
        interpreter_.releaseScope(scope_);
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

    Environment& operator*() const { return *scope_; }
    // The `index`th parameter of a scope taken from the spare ones.
    void bindArgument(std::size_t index, Value value) { *slots_[index] = std::move(value); }

private:
    // Whether the function's body declares before use, so that its scope,
    // with the body's names kept (nil), answers every lookup of the next
    // call as a fresh one would: each run of the body binds a name before
    // it is searched for, as in the pass scopes of a loop.
    bool keepsBindings() {
        if (function_.keepsBindings < 0)
            function_.keepsBindings = interpreter_.declaresBeforeUse(*function_.body) ? 1 : 0;
        return function_.keepsBindings == 1;
    }

    Interpreter& interpreter_;
    FunctionObj& function_;
    Ref<Environment> scope_;
    std::array<Value*, SpareCallScope::kMaxParameters> slots_{};
    bool slotsKnown_ = false;
};

Interpreter::Interpreter(EngineOptions options)
    : globals(makeRef<Environment>()), globalSlots_(std::make_unique<std::array<GlobalSlot, kGlobalSlotCount>>()),
      nameSlots_(std::make_unique<std::array<NameSlot, kNameSlotCount>>()),
      fieldHints_(std::make_unique<std::array<FieldHint, kFieldHintCount>>()), plain_(options.plain),
      maxCallDepth_(std::clamp<std::size_t>(options.maxCallDepth, 1, kMaxCallDepth)) {
    registerBuiltins(*globals);
}

Interpreter::~Interpreter() {
    // Every cycle of scopes and functions runs through the globals or through
    // a scope that outlived its owner, so emptying those frees them all.
    globals->vars.clear();
    for (const Ref<Environment>& scope : escapedScopes_) scope->vars.clear();
}

bool Interpreter::declaresBeforeUse(const StmtList& body) {
    const auto known = declaresBeforeUse_.find(&body);
    if (known != declaresBeforeUse_.end()) return known->second;
    const bool answer = velmor::declaresBeforeUse(body);
    declaresBeforeUse_.emplace(&body, answer);
    return answer;
}

Ref<Environment> Interpreter::acquireScope(Ref<Environment> parent) {
    if (spareScopes_.empty()) {
        // A new scope may sit at the address of one that is gone. A spare
        // one was forgotten when it was emptied and cannot be reached since.
        scopesChanged();
        return makeRef<Environment>(std::move(parent));
    }
    Ref<Environment> scope = std::move(spareScopes_.back());
    spareScopes_.pop_back();
    scope->parent = std::move(parent);
    return scope;
}

void Interpreter::releaseScope(Ref<Environment>& scope) {
    if (scope->refCount > 1) {
        if (!onlySelfReferenced(*scope)) {
            // Captured by a closure that lives on: kept track of, so that a
            // cycle it may form later can still be freed.
            escapedScopes_.push_back(std::move(scope));
            if (escapedScopes_.size() >= pruneThreshold_) pruneEscapedScopes();
            return;
        }
    }
    // Nothing else can reach the scope: empty it (its functions may hold it
    // in a cycle) and keep it for the next call or block, which then needs
    // no allocation for it or its table.
    scope->vars.clear();
    scopesChanged();
    scope->parent = nullptr;
    if (spareScopes_.size() < kMaximumSpareScopes && !plain_) spareScopes_.push_back(std::move(scope));
}

void Interpreter::pruneEscapedScopes() {
    std::erase_if(escapedScopes_, [this](const Ref<Environment>& scope) {
        if (scope->refCount == 1) return true;
        if (!onlySelfReferenced(*scope)) return false;
        scope->vars.clear();
        scopesChanged();
        return true;
    });
    // Amortized: the list is walked again only once it has doubled.
    pruneThreshold_ = std::max(kMinimumPruneThreshold, 2 * escapedScopes_.size());
}

void Interpreter::run(const StmtList& statements) {
    Entry entry(*this);
    if (debugHook_) debugFrames_.assign(1, DebugRecord{kTopLevelFrameName, 0, 0, globals.get(), nullptr});
    try {
        const ExecStatus status = executeBlock(statements, *globals);
        if (status == ExecStatus::Break || status == ExecStatus::Continue) signalOutsideLoop(status);
    } catch (...) {
        if (trace_) traceFrameLeft(kTopLevelFrameName, 0, 0);
        throw;
    }
    returnValue_ = Value();
}

void Interpreter::traceFrameLeft(const std::string& function, int32_t line, int32_t column) {
    CallTrace::Position where = trace_->takeCallerPosition();
    if (!where.known) {
        // The error began in this frame: it says where, if it is an error with a position.
        try {
            throw;
        } catch (const VelmorError& error) {
            where = CallTrace::Position{error.line, error.column, true};
        } catch (...) {
        }
    }
    trace_->add(function, where.line, where.column);
    trace_->setCallerPosition(line, column);
}

Value Interpreter::runRepl(const StmtList& statements) { return runIn(statements, *globals); }

Value Interpreter::runIn(const StmtList& statements, Environment& scope) {
    Entry entry(*this);
    for (std::size_t i = 0; i < statements.size(); ++i) {
        const Stmt& statement = *statements[i];
        if (i + 1 == statements.size() && statement.kind == StmtKind::Expr) {
            return evaluate(*static_cast<const ExprStmt&>(statement).expr, scope);
        }
        const ExecStatus status = execute(statement, scope);
        if (status == ExecStatus::Break || status == ExecStatus::Continue) signalOutsideLoop(status);
        if (status == ExecStatus::Return) {
            returnValue_ = Value();
            break;
        }
    }
    return Value();
}

Value Interpreter::call(const Value& callee, std::vector<Value> args) {
    Entry entry(*this);
    return callValue(callee, std::span<Value>(args), 0, 0);
}

Value Interpreter::callWith(const Value& callee, std::span<const Value> args) {
    if (plain_ || args.size() > kInlineArguments) return Caller::callWith(callee, args);
    Entry entry(*this);
    if (callee.isFunction()) {
        FunctionObj& function = callee.asFunction();
        if (function.params->size() == args.size() && !function.spareScopes.empty()) {
            CallScope scope(*this, function);
            for (std::size_t i = 0; i < args.size(); ++i) scope.bindArgument(i, args[i]);
            return runCall(function, *scope, 0, 0);
        }
    }
    std::array<Value, kInlineArguments> buffer;
    std::copy(args.begin(), args.end(), buffer.begin());
    return callValue(callee, std::span<Value>(buffer.data(), args.size()), 0, 0);
}

namespace {

// A sort comparator that the shared sort can answer without calling it: two
// distinct parameters p and q and a body of exactly `return E`, E a
// comparison of p and q (either order), of p[K] and q[K] for one Int or
// string literal K, or of p.f and q.f for one field name f.
struct TreeComparatorForm {
    BinaryOp op = BinaryOp::Less;
    bool swapped = false;
    const Value* key = nullptr;  // the literal key or the field name; null for p OP q
};

// Which parameter `operand` reads, unread through `key` (null for none):
// 0 for the first, 1 for the second, -1 for anything else. `key` becomes
// the key the operand reads at.
int parameterRead(const Expr& operand, const std::vector<std::string>& params, const Value*& key) {
    const Expr* name = &operand;
    key = nullptr;
    if (operand.kind == ExprKind::Index) {
        const auto& index = static_cast<const IndexExpr&>(operand);
        if (index.index->kind != ExprKind::Literal) return -1;
        const Value& literal = static_cast<const LiteralExpr&>(*index.index).value;
        if (!literal.isInt() && !literal.isString()) return -1;
        key = &literal;
        name = index.object.get();
    } else if (operand.kind == ExprKind::Get) {
        const auto& get = static_cast<const GetExpr&>(operand);
        key = &get.nameValue;
        name = get.object.get();
    }
    if (name->kind != ExprKind::Name) return -1;
    const std::string& named = static_cast<const NameExpr&>(*name).name;
    if (named == params[0]) return 0;
    if (named == params[1]) return 1;
    return -1;
}

// The same key, read the same way: both literal keys equal in kind and
// value, or both field names the same.
bool sameKey(const Expr& left, const Expr& right, const Value* leftKey, const Value* rightKey) {
    if (!leftKey || !rightKey) return !leftKey && !rightKey;
    if (left.kind != right.kind) return false;
    if (leftKey->isInt()) return rightKey->isInt() && leftKey->asInt() == rightKey->asInt();
    return rightKey->isString() && leftKey->asString() == rightKey->asString();
}

std::optional<TreeComparatorForm> treeComparatorForm(const FunctionObj& function) {
    const std::vector<std::string>& params = *function.params;
    if (params.size() != 2 || params[0] == params[1]) return std::nullopt;
    const StmtList& body = *function.body;
    if (body.size() != 1 || body[0]->kind != StmtKind::Return) return std::nullopt;
    const ExprPtr& value = static_cast<const ReturnStmt&>(*body[0]).value;
    if (!value || value->kind != ExprKind::Binary) return std::nullopt;
    const auto& comparison = static_cast<const BinaryExpr&>(*value);
    if (operatorInfo(comparison.binop).kind != OperatorKind::Comparison ||
        operatorSpelling(comparison.binop) != comparison.op)
        return std::nullopt;
    const Value* leftKey = nullptr;
    const Value* rightKey = nullptr;
    const int left = parameterRead(*comparison.left, params, leftKey);
    const int right = parameterRead(*comparison.right, params, rightKey);
    if (left < 0 || right < 0 || left == right) return std::nullopt;
    if (!sameKey(*comparison.left, *comparison.right, leftKey, rightKey)) return std::nullopt;
    return TreeComparatorForm{comparison.binop, left == 1, leftKey};
}

}  // namespace

// A comparator of a recognised form whose operands are all numbers or all
// strings is answered without calls. Not under a step budget (each call
// counts a step), nor with an interrupt pending or where a call would fail
// for the depth or the native stack (the first call acts on those); the
// builtin then calls it for every comparison, as it does for any list the
// shared sort turns down.
bool Interpreter::sortBy(ValueVector& items, const Value& less) {
    if (plain_ || executionLimits().stepsEnabled || !less.isFunction()) return false;
    if (callDepth_ + 1 >= maxCallDepth_ || currentStackAddress() < callStackLimit_ ||
        interruptRequested().load(std::memory_order_relaxed))
        return false;
    const std::optional<TreeComparatorForm> form = treeComparatorForm(less.asFunction());
    if (!form) return false;
    return sortByComparatorForm(items, form->op, form->swapped, form->key);
}

void Interpreter::signalOutsideLoop(ExecStatus status) const {
    throw RuntimeError(status == ExecStatus::Break ? "'break' outside a loop" : "'continue' outside a loop",
                       signalLine_, signalColumn_);
}

// ---------------------------------------------------------------------------
// Calls

Value Interpreter::callValue(const Value& callee, std::span<Value> args, int32_t line, int32_t column) {
    if (callee.isNative()) {
        NativeObj& native = callee.asNative();
        if (!arityAccepts(native, args.size())) failNativeArity(native, args.size(), line, column);
        if (trace_) [[unlikely]]
            return callNativeTraced(native, args, line, column);
        return invokeNative(native, *this, args);
    }
    if (callee.isFunction()) return callFunction(callee, args, line, column);
    if (foreign_ && callee.isClosure()) return callForeign(callee, args);
    failWithType("", callee, kNotCallableSuffix, line, column);
}

Value Interpreter::callForeign(const Value& callee, std::span<Value> args) {
    return foreign_->call(callee, std::vector<Value>(args.begin(), args.end()));
}

Value Interpreter::callFunction(const Value& callee, std::span<Value> args, int32_t line, int32_t column) {
    FunctionObj& function = callee.asFunction();
    const std::vector<std::string>& params = *function.params;
    if (params.size() != args.size()) {
        failArity(function.name(), params.size(), args.size(), line, column);
    }
    // The callee Value is held by our caller for the whole call, so the
    // function object and its closure stay alive.
    CallScope scope(*this, function, args);
    return runCall(function, *scope, line, column);
}

Value Interpreter::callInSpareScope(FunctionObj& function, const CallExpr& expression, Environment& environment) {
    CallScope scope(*this, function);
    const std::size_t count = expression.args.size();
    for (std::size_t i = 0; i < count; ++i) scope.bindArgument(i, evaluateOperand(*expression.args[i], environment));
    return runCall(function, *scope, expression.line, expression.column);
}

Value Interpreter::runCall(FunctionObj& function, Environment& scope, int32_t line, int32_t column) {
    if (callDepth_ + 1 >= maxCallDepth_) fail(kCallStackOverflow, line, column);
    if (currentStackAddress() < callStackLimit_) [[unlikely]] {
        executionLimits().nativeStackReached = true;
        fail(kCallStackOverflow, line, column);
    }
    countStep();

    const CountWhile guard(callDepth_);

    if (observed_) [[unlikely]] {
        if (trace_) return runBodyTraced(function, scope, line, column);
        return runBodyDebugged(function, scope);
    }
    return finishBody(executeBlock(*function.body, scope));
}

Value Interpreter::finishBody(ExecStatus status) {
    if (status == ExecStatus::Return) return std::exchange(returnValue_, Value());
    if (status != ExecStatus::Normal) signalOutsideLoop(status);
    return Value();
}

// Out of line, so that an untraced call keeps nothing for a handler.
Value Interpreter::runBodyTraced(FunctionObj& function, Environment& scope, int32_t line, int32_t column) {
    try {
        return finishBody(executeBlock(*function.body, scope));
    } catch (...) {
        traceFrameLeft(function.name(), line, column);
        throw;
    }
}

// A call under a debugger: the debugger sees its frame while it runs.
Value Interpreter::runBodyDebugged(FunctionObj& function, Environment& scope) {
    struct Frame {
        std::vector<DebugRecord>& frames;
        Frame(std::vector<DebugRecord>& frames_, DebugRecord record) : frames(frames_) {
            frames.push_back(std::move(record));
        }
        ~Frame() { frames.pop_back(); }
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
    } const frame(debugFrames_, DebugRecord{function.name(), 0, 0, &scope, function.closure.get()});
    return finishBody(executeBlock(*function.body, scope));
}

Value Interpreter::callNativeTraced(NativeObj& native, std::span<Value> args, int32_t line, int32_t column) {
    try {
        return invokeNative(native, *this, args);
    } catch (...) {
        // A builtin's frame is where it was called: what it called back is traced already.
        trace_->takeCallerPosition();
        trace_->add(native.name(), line, column);
        trace_->setCallerPosition(line, column);
        throw;
    }
}

// ---------------------------------------------------------------------------
// Expressions

// Defined first: the functions below inline them.

Value Interpreter::finishBinary(const BinaryExpr& expression, Value left, Environment& environment) {
    const BinaryOp op = expression.binop;
    if (op == BinaryOp::And || op == BinaryOp::Or) {
        if (isTruthy(left) == (op == BinaryOp::Or)) return left;
        return evaluate(*expression.right, environment);
    }
    Value right = evaluateRightOperand(expression, environment);
    return combine(expression, left, right);
}

Value Interpreter::finishCall(const Value& callee, const CallExpr& expression, Environment& environment) {
    const std::size_t count = expression.args.size();
    if (callee.isFunction() && !plain_) {
        FunctionObj& function = callee.asFunction();
        if (function.params->size() == count && !function.spareScopes.empty())
            return callInSpareScope(function, expression, environment);
    }
    if (count <= kInlineArguments) {
        std::array<Value, kInlineArguments> buffer;
        for (std::size_t i = 0; i < count; ++i) buffer[i] = evaluateOperand(*expression.args[i], environment);
        return callValue(callee, std::span<Value>(buffer.data(), count), expression.line, expression.column);
    }
    return callWithManyArguments(callee, expression, environment);
}

Value Interpreter::finishIndex(const IndexExpr& expression, const Value& object, Environment& environment) {
    Value key = evaluateOperand(*expression.index, environment);
    if (object.isList() && key.isInt() && !plain_) {
        // An element in range from the front, as getIndex would find it.
        const ValueVector& items = object.listItems();
        const auto position = static_cast<uint64_t>(key.asInt());
        if (position < items.size()) return items[position];
    }
    return getIndex(object, key, expression.line, expression.column);
}

Value Interpreter::finishGet(const GetExpr& expression, const Value& object) {
    if (object.isMap()) {
        const Value* field = findField(object.asMap(), expression);
        return field ? *field : Value();
    }
    return getIndex(object, expression.nameValue, expression.line, expression.column);
}

Value Interpreter::evaluate(const Expr& expression, Environment& environment) {
    if (currentStackAddress() < expressionStackLimit_) [[unlikely]] {
        executionLimits().nativeStackReached = true;
        fail(kCallStackOverflow, expression.line, expression.column);
    }
    switch (expression.kind) {
    case ExprKind::Literal: return static_cast<const LiteralExpr&>(expression).value;
    case ExprKind::ListLit: return evaluateList(static_cast<const ListLitExpr&>(expression), environment);
    case ExprKind::MapLit: return evaluateMap(static_cast<const MapLitExpr&>(expression), environment);
    case ExprKind::Name: return evaluateName(static_cast<const NameExpr&>(expression), environment);
    case ExprKind::Unary: return evaluateUnary(static_cast<const UnaryExpr&>(expression), environment);
    case ExprKind::Binary: return evaluateBinary(static_cast<const BinaryExpr&>(expression), environment);
    case ExprKind::Call: return evaluateCall(static_cast<const CallExpr&>(expression), environment);
    case ExprKind::Index: {
        const auto& node = static_cast<const IndexExpr&>(expression);
        Value object = evaluateFirstOperand(*node.object, environment);
        return finishIndex(node, object, environment);
    }
    case ExprKind::Get: {
        const auto& node = static_cast<const GetExpr&>(expression);
        Value object = evaluateFirstOperand(*node.object, environment);
        return finishGet(node, object);
    }
    case ExprKind::Function: {
        const auto& node = static_cast<const FunctionExpr&>(expression);
        return makeFunction(node.name, node.params, node.body, environment);
    }
    }
    fail("cannot evaluate expression", expression.line, expression.column);
}

Value* Interpreter::lookupNameSlowly(const NameExpr& name, Environment& environment, NameSlot& cached) {
    Value* slot = searchName(name, environment);
    if (slot && !plain_) cached = NameSlot{&name, &environment, scopeEpoch_, slot};
    return slot;
}

Value* Interpreter::searchName(const NameExpr& name, Environment& environment) {
    const Environment* const global = globals.get();
    for (Environment* scope = &environment; scope; scope = scope->parent.get()) {
        if (scope == global) return lookupGlobal(name);
        if (Value* found = findBinding(*scope, name.name)) return found;
    }
    return nullptr;
}

Value* Interpreter::lookupGlobal(const NameExpr& name) {
    GlobalSlot& cached = (*globalSlots_)[(reinterpret_cast<std::uintptr_t>(&name) >> 4) & (kGlobalSlotCount - 1)];
    if (cached.site == &name && cached.scope == globals.get()) return cached.slot;
    const auto found = globals->vars.find(name.name);
    if (found == globals->vars.end()) return nullptr;  // not cached: a later definition must be seen
    if (!plain_) cached = GlobalSlot{&name, globals.get(), &found->second};
    return &found->second;
}

Value* Interpreter::findField(MapData& map, const GetExpr& site) {
    FieldHint& hint = (*fieldHints_)[reinterpret_cast<std::uintptr_t>(&site) * 0x9E3779B97F4A7C15u >> 54];
    const Value& name = site.nameValue;
    if (hint.site == &site) {
        // String keys are unique in a map and match only equal strings, so
        // an entry with this name is the one a search would find. The key
        // found last time is such a string; maps built alike share it.
        MapEntry* entry = map.stringEntryAt(hint.index);
        if (entry && (entry->key.asObject() == hint.key.asObject() || entry->key.asObject() == name.asObject() ||
                      entry->key.asString() == name.asString()))
            return &entry->value;
    }
    const std::ptrdiff_t index = map.indexOf(name);
    if (index < 0) return nullptr;
    MapEntry& entry = map.foundEntry(static_cast<std::size_t>(index));
    if (plain_) return &entry.value;
    hint.site = &site;
    hint.index = static_cast<std::size_t>(index);
    hint.key = entry.key;
    return &entry.value;
}

Value Interpreter::evaluateName(const NameExpr& expression, Environment& environment) {
    if (const Value* value = lookupName(expression, environment)) return *value;
    failWithName(kUndefinedVariablePrefix, expression.name, "'", expression.line, expression.column);
}

Value Interpreter::evaluateUnary(const UnaryExpr& expression, Environment& environment) {
    Value operand = evaluate(*expression.operand, environment);
    if (expression.op.size() != 1) return Value(!isTruthy(operand));  // "not"
    if (operand.isInt()) return Value(wrappingSub(0, operand.asInt()));
    if (operand.isFloat()) return Value(-operand.asFloat());
    failWithType(kUnaryMinusPrefix, operand, "", expression.line, expression.column);
}

Value Interpreter::evaluateLink(const Expr& link, Environment& environment) {
    if (openChainLinks_ >= kMaxOpenChainLinks) return evaluateChain(link, environment);
    ++openChainLinks_;
    Value value = evaluate(link, environment);
    --openChainLinks_;
    return value;
}

Value Interpreter::evaluateChain(const Expr& top, Environment& environment) {
    // Chains in operands and arguments stack their links above these.
    struct Truncate {
        std::vector<const Expr*>& links;
        const std::size_t base;
        ~Truncate() { links.resize(base); }
    } truncate{chainLinks_, chainLinks_.size()};
    const Expr* operand = &top;
    do {
        chainLinks_.push_back(operand);
        operand = firstOperand(*operand);
    } while (isChainLink(*operand));
    Value value = evaluateOperand(*operand, environment);
    for (std::size_t i = chainLinks_.size(); i > truncate.base; --i) {
        const Expr& link = *chainLinks_[i - 1];
        switch (link.kind) {
        case ExprKind::Binary:
            value = finishBinary(static_cast<const BinaryExpr&>(link), std::move(value), environment);
            break;
        case ExprKind::Call: value = finishCall(value, static_cast<const CallExpr&>(link), environment); break;
        case ExprKind::Index: value = finishIndex(static_cast<const IndexExpr&>(link), value, environment); break;
        default: value = finishGet(static_cast<const GetExpr&>(link), value); break;
        }
    }
    return value;
}

Value Interpreter::evaluateExponent(const Expr& exponent, Environment& environment) {
    if (exponent.kind != ExprKind::Binary || static_cast<const BinaryExpr&>(exponent).binop != BinaryOp::Pow)
        return evaluateOperand(exponent, environment);
    const auto& power = static_cast<const BinaryExpr&>(exponent);
    if (openChainLinks_ >= kMaxOpenChainLinks) return evaluatePowerChain(power, environment);
    ++openChainLinks_;
    Value value = evaluateBinary(power, environment);
    --openChainLinks_;
    return value;
}

// The operands of "a ^ b ^ c" from the left, then raised from the right.
Value Interpreter::evaluatePowerChain(const BinaryExpr& first, Environment& environment) {
    std::vector<const BinaryExpr*> powers;
    std::vector<Value> bases;
    const Expr* operand = &first;
    while (operand->kind == ExprKind::Binary && static_cast<const BinaryExpr&>(*operand).binop == BinaryOp::Pow) {
        const auto& power = static_cast<const BinaryExpr&>(*operand);
        powers.push_back(&power);
        bases.push_back(evaluateFirstOperand(*power.left, environment));
        operand = power.right.get();
    }
    Value result = evaluateOperand(*operand, environment);
    for (std::size_t i = powers.size(); i > 0; --i) result = combine(*powers[i - 1], bases[i - 1], result);
    return result;
}

bool Interpreter::isTrueComparison(const BinaryExpr& comparison, Environment& environment) {
    // What evaluateBinary does, with the bool answered directly.
    Value left = evaluateFirstOperand(*comparison.left, environment);
    Value right = evaluateRightOperand(comparison, environment);
    return isTruthy(combine(comparison, left, right));
}

bool Interpreter::isTrueOperand(const Expr& operand, Environment& environment, bool first) {
    if (operand.kind == ExprKind::Binary && isComparison(static_cast<const BinaryExpr&>(operand).binop))
        return isTrueComparison(static_cast<const BinaryExpr&>(operand), environment);
    // The operands finishBinary would evaluate, in the way it would.
    return isTruthy(first ? evaluateFirstOperand(operand, environment) : evaluate(operand, environment));
}

bool Interpreter::isTrue(const Expr& condition, Environment& environment) {
    if (condition.kind == ExprKind::Binary && !plain_) {
        const auto& binary = static_cast<const BinaryExpr&>(condition);
        const BinaryOp op = binary.binop;
        if (op == BinaryOp::And || op == BinaryOp::Or) {
            const bool left = isTrueOperand(*binary.left, environment, true);
            if (left == (op == BinaryOp::Or)) return left;
            return isTrueOperand(*binary.right, environment, false);
        }
        if (isComparison(op)) return isTrueComparison(binary, environment);
    }
    return isTruthy(evaluate(condition, environment));
}

Value Interpreter::evaluateBinary(const BinaryExpr& expression, Environment& environment) {
    return finishBinary(expression, evaluateFirstOperand(*expression.left, environment), environment);
}

Value Interpreter::combine(const BinaryExpr& expression, const Value& left, const Value& right) {
    const BinaryOp op = expression.binop;
    if (!plain_) {
        // Numbers, the commonest case, by the rules both engines share; everything else, errors included, below.
        if (isComparison(op)) {
            if (left.isNumber() && right.isNumber()) return Value(compareNumbers(op, left, right));
        } else if (Value result; numberArithmetic(op, left, right, result)) {
            return result;
        }
    }
    switch (op) {
    case BinaryOp::Eq: return Value(valuesEqual(left, right));
    case BinaryOp::NotEq: return Value(!valuesEqual(left, right));
    case BinaryOp::Less:
    case BinaryOp::LessEq:
    case BinaryOp::Greater:
    case BinaryOp::GreaterEq: {
        bool result = false;
        const OperationError error = compare(op, left, right, result);
        if (error != OperationError::None) failOperation(error, left, right, op, expression.line, expression.column);
        return Value(result);
    }
    default: return binaryOp(op, left, right, expression.line, expression.column);
    }
}

Value Interpreter::evaluateCall(const CallExpr& expression, Environment& environment) {
    Value callee = evaluateFirstOperand(*expression.callee, environment);
    return finishCall(callee, expression, environment);
}

Value Interpreter::callWithManyArguments(const Value& callee, const CallExpr& expression, Environment& environment) {
    std::vector<Value> arguments;
    arguments.reserve(expression.args.size());
    for (const ExprPtr& argument : expression.args) arguments.push_back(evaluate(*argument, environment));
    return callValue(callee, std::span<Value>(arguments), expression.line, expression.column);
}

Value Interpreter::evaluateList(const ListLitExpr& expression, Environment& environment) {
    ValueVector items;
    items.reserve(expression.elements.size());
    for (const ExprPtr& element : expression.elements) items.push_back(evaluate(*element, environment));
    return Value::newList(std::move(items));
}

Value Interpreter::evaluateMap(const MapLitExpr& expression, Environment& environment) {
    Value map = Value::newMap();
    MapData& data = map.asMap();
    for (const MapEntryExpr& entry : expression.entries) {
        Value key = evaluate(*entry.key, environment);
        if (!key.isString() && !key.isNumber()) {
            failWithType(kMapLiteralKeyPrefix, key, "", expression.line, expression.column);
        }
        data.set(key, evaluate(*entry.value, environment));
    }
    return map;
}

// ---------------------------------------------------------------------------
// Operators

Value Interpreter::binaryOp(BinaryOp op, const Value& left, const Value& right, int32_t line, int32_t column) {
    Value result;
    const OperationError error =
        op == BinaryOp::Add ? add(left, right, result) : velmor::arithmetic(op, left, right, result);
    if (error != OperationError::None) failOperation(error, left, right, op, line, column);
    return result;
}

Value Interpreter::arithmetic(BinaryOp op, const Value& left, const Value& right, int32_t line, int32_t column) {
    Value result;
    const OperationError error = velmor::arithmetic(op, left, right, result);
    if (error != OperationError::None) failOperation(error, left, right, op, line, column);
    return result;
}

Value Interpreter::getIndex(const Value& object, const Value& key, int32_t line, int32_t column) {
    OperationError error = OperationError::None;
    if (const Value* element = elementAt(object, key, error)) return *element;
    failOperation(error, object, key, BinaryOp::Add, line, column);
}

void Interpreter::setIndex(const Value& object, const Value& key, Value value, int32_t line, int32_t column) {
    const OperationError error = storeElement(object, key, std::move(value));
    if (error != OperationError::None) failOperation(error, object, key, BinaryOp::Add, line, column);
}

ValueVector Interpreter::iterationItems(const Value& iterable, int32_t line, int32_t column) {
    ValueVector items;
    const OperationError error = forInItems(iterable, items);
    if (error != OperationError::None) failOperation(error, iterable, iterable, BinaryOp::Add, line, column);
    return items;
}

// ---------------------------------------------------------------------------
// Statements

ExecStatus Interpreter::executeBlock(const StmtList& statements, Environment& environment) {
    if (debugHook_) [[unlikely]]
        return executeBlockDebugged(statements, environment);
    for (const StmtPtr& statement : statements) {
        const ExecStatus status = executeStatement(*statement, environment);
        if (status != ExecStatus::Normal) return status;
    }
    return ExecStatus::Normal;
}

ExecStatus Interpreter::executeScoped(const StmtList& statements, Environment& environment) {
    if (!plain_) {
        if (!declaresNames(statements)) return executeBlock(statements, environment);
        OwnedScope scope(*this, statements, environment);
        return executeBlock(statements, *scope);
    }
    OwnedScope scope(*this, Ref<Environment>(&environment));
    return executeBlock(statements, *scope);
}

ExecStatus Interpreter::executeStatement(const Stmt& statement, Environment& environment) {
    switch (statement.kind) {
    case StmtKind::Let: {
        const auto& node = static_cast<const LetStmt&>(statement);
        bind(environment, node.name, evaluate(*node.init, environment));
        return ExecStatus::Normal;
    }
    case StmtKind::Assign: return executeAssign(static_cast<const AssignStmt&>(statement), environment);
    case StmtKind::Expr:
        evaluate(*static_cast<const ExprStmt&>(statement).expr, environment);
        return ExecStatus::Normal;
    case StmtKind::If: return executeIf(static_cast<const IfStmt&>(statement), environment);
    case StmtKind::While: return executeWhile(static_cast<const WhileStmt&>(statement), environment);
    case StmtKind::NumericFor: return executeNumericFor(static_cast<const NumericForStmt&>(statement), environment);
    case StmtKind::ForIn: return executeForIn(static_cast<const ForInStmt&>(statement), environment);
    case StmtKind::FunctionDecl: {
        const auto& node = static_cast<const FunctionDeclStmt&>(statement);
        bind(environment, node.name, makeFunction(node.name, node.params, node.body, environment));
        return ExecStatus::Normal;
    }
    case StmtKind::Return: {
        const auto& node = static_cast<const ReturnStmt&>(statement);
        Value result = node.value ? evaluate(*node.value, environment) : Value();
        returnValue_ = std::move(result);
        return ExecStatus::Return;
    }
    case StmtKind::Break:
    case StmtKind::Continue:
        signalLine_ = statement.line;
        signalColumn_ = statement.column;
        return statement.kind == StmtKind::Break ? ExecStatus::Break : ExecStatus::Continue;
    case StmtKind::Try: return executeTry(static_cast<const TryStmt&>(statement), environment);
    }
    fail("cannot execute statement", statement.line, statement.column);
}

void Interpreter::combineInto(BinaryOp op, Value& target, const Value& value, int32_t line, int32_t column) {
    if (op == BinaryOp::Add && appendToOwn(target, value)) return;
    target = binaryOp(op, target, value, line, column);
}

namespace {

bool isSum(const Expr& expression) {
    return expression.kind == ExprKind::Binary && static_cast<const BinaryExpr&>(expression).binop == BinaryOp::Add;
}

std::size_t lengthOf(const Value& value) {
    return value.isString() ? value.asString().size() : value.listItems().size();
}

// The string or list of `first` followed by `rest`, all of first's kind,
// whose total length fits under the size cap.
Value joined(const Value* first, std::span<const Value> rest) {
    const Value& sample = first ? *first : rest.front();
    std::size_t total = first ? lengthOf(*first) : 0;
    for (const Value& piece : rest) total += lengthOf(piece);
    if (sample.isString()) {
        return Value::newString(total, [&](char* bytes) {
            if (first) bytes = std::copy_n(first->asString().data(), first->asString().size(), bytes);
            for (const Value& piece : rest)
                bytes = std::copy_n(piece.asString().data(), piece.asString().size(), bytes);
        });
    }
    ValueVector items;
    items.reserve(total);
    if (first) items.insert(items.end(), first->listItems().begin(), first->listItems().end());
    for (const Value& piece : rest) items.insert(items.end(), piece.listItems().begin(), piece.listItems().end());
    return Value::newList(std::move(items));
}

}  // namespace

bool Interpreter::assignChainInPlace(const Expr& target, const BinaryExpr& top, Environment& environment,
                                     Value& value) {
    std::array<const BinaryExpr*, kMaxHeldLinks> links;
    std::size_t count = 0;
    const Expr* operand = &top;
    for (; isSum(*operand) && count < links.size(); operand = static_cast<const BinaryExpr&>(*operand).left.get())
        links[count++] = static_cast<const BinaryExpr*>(operand);
    if (isSum(*operand)) {
        value = evaluate(top, environment);  // longer than any interpolation: added as usual
        return false;
    }
    Value left = evaluateFirstOperand(*operand, environment);
    // The right operands are evaluated in their order, as always; while each
    // is of left's kind and the total fits, the sum it would make is put off.
    std::array<Value, kMaxHeldLinks> held;
    std::size_t heldCount = 0;
    bool holding = (left.isString() || left.isList()) && left.asObject()->refCount == 2;
    std::size_t total = holding ? lengthOf(left) : 0;
    const std::size_t cap = left.isString() ? maxStringLength() : maxListLength();
    for (std::size_t i = count; i-- > 0;) {
        const BinaryExpr& link = *links[i];
        Value right = evaluateRightOperand(link, environment);
        if (holding && isAppendable(left, right) && total <= cap && lengthOf(right) <= cap - total) {
            total += lengthOf(right);
            held[heldCount++] = std::move(right);
            continue;
        }
        if (holding) {
            // The sums put off cannot fail: this link adds as usual to them.
            if (heldCount > 0) left = joined(&left, std::span<const Value>(held.data(), heldCount));
            holding = false;
        }
        left = combine(link, left, right);
    }
    if (holding) {
        const std::span<const Value> pieces(held.data(), heldCount);
        Value* holder = storeTarget(target, environment);
        if (holder && holder->kind() == left.kind() && holder->asObject() == left.asObject()) {
            const Value tail = heldCount == 1 ? held[0] : joined(nullptr, pieces);
            if (appendInPlace(*holder, left, tail)) return true;
        }
        left = joined(&left, pieces);
    }
    value = std::move(left);
    return false;
}

Value* Interpreter::storeTarget(const Expr& target, Environment& environment) {
    // Operands that a look-up answers: a name (nullptr when it is unbound,
    // so that the error comes where it would) or a literal.
    const auto operand = [&](const Expr& expression) -> const Value* {
        if (expression.kind == ExprKind::Name) return lookupName(static_cast<const NameExpr&>(expression), environment);
        if (expression.kind == ExprKind::Literal) return &static_cast<const LiteralExpr&>(expression).value;
        return nullptr;
    };
    switch (target.kind) {
    case ExprKind::Name: return lookupName(static_cast<const NameExpr&>(target), environment);
    case ExprKind::Index: {
        const auto& index = static_cast<const IndexExpr&>(target);
        const Value* object = operand(*index.object);
        const Value* key = object ? operand(*index.index) : nullptr;
        return key ? storedElement(*object, *key) : nullptr;
    }
    case ExprKind::Get: {
        const auto& get = static_cast<const GetExpr&>(target);
        const Value* object = operand(*get.object);
        return object && object->isMap() ? findField(object->asMap(), get) : nullptr;
    }
    default: return nullptr;
    }
}

ExecStatus Interpreter::executeAssign(const AssignStmt& statement, Environment& environment) {
    const int32_t line = statement.line;
    const int32_t column = statement.column;
    const bool compound = statement.compound.has_value();
    const BinaryOp op = statement.compound.value_or(BinaryOp::Add);
    if (!compound && !statement.op.empty()) failWithName("unknown operator ", statement.op, "", line, column);
    Value value;
    if (!compound && statement.value->kind == ExprKind::Binary &&
        static_cast<const BinaryExpr&>(*statement.value).binop == BinaryOp::Add) {
        // target = a + b: when a is the string or list that the target
        // holds, it may grow in place (appendInPlace); so may it in
        // target = a + b + c..., a string built by interpolation.
        const auto& sum = static_cast<const BinaryExpr&>(*statement.value);
        if (isSum(*sum.left)) {
            if (assignChainInPlace(*statement.target, sum, environment, value)) return ExecStatus::Normal;
        } else {
            Value left = evaluateFirstOperand(*sum.left, environment);
            Value right = evaluateRightOperand(sum, environment);
            if (isAppendable(left, right) && left.asObject()->refCount == 2) {
                Value* holder = storeTarget(*statement.target, environment);
                if (holder && appendInPlace(*holder, left, right)) return ExecStatus::Normal;
            }
            value = combine(sum, left, right);
        }
    } else {
        value = evaluateOperand(*statement.value, environment);
    }

    switch (statement.target->kind) {
    case ExprKind::Name: {
        const auto& target = static_cast<const NameExpr&>(*statement.target);
        Value* slot = lookupName(target, environment);
        if (!slot) {
            failWithName(kUndefinedAssignmentPrefix, target.name, kUndefinedAssignmentSuffix, line, column);
        }
        // binaryOp runs no user code, so the slot stays valid.
        if (compound) {
            combineInto(op, *slot, value, line, column);
        } else {
            *slot = std::move(value);
        }
        return ExecStatus::Normal;
    }
    case ExprKind::Index: {
        const auto& target = static_cast<const IndexExpr&>(*statement.target);
        Value object = evaluateOperand(*target.object, environment);
        Value key = evaluateOperand(*target.index, environment);
        if (object.isList() && key.isInt() && !plain_) {
            // An element in range from the front, stored as setIndex would
            // store it; binaryOp runs no user code, so the element stays put.
            ValueVector& items = object.listItems();
            const auto position = static_cast<uint64_t>(key.asInt());
            if (position < items.size()) {
                Value& element = items[position];
                if (compound) {
                    combineInto(op, element, value, line, column);
                } else {
                    element = std::move(value);
                }
                return ExecStatus::Normal;
            }
        }
        if (compound) {
            // The stored element, when there is one, grows in place.
            if (Value* element = op == BinaryOp::Add ? storedElement(object, key) : nullptr) {
                if (appendToOwn(*element, value)) return ExecStatus::Normal;
            }
            value = binaryOp(op, getIndex(object, key, target.line, target.column), value, line, column);
        }
        setIndex(object, key, std::move(value), line, column);
        return ExecStatus::Normal;
    }
    case ExprKind::Get: {
        const auto& target = static_cast<const GetExpr&>(*statement.target);
        Value object = evaluateOperand(*target.object, environment);
        if (object.isMap()) {
            // binaryOp runs no user code, so the field stays where it is.
            if (Value* field = findField(object.asMap(), target)) {
                if (compound) {
                    combineInto(op, *field, value, line, column);
                } else {
                    *field = std::move(value);
                }
                return ExecStatus::Normal;
            }
        }
        if (compound) {
            value = binaryOp(op, getIndex(object, target.nameValue, target.line, target.column), value, line, column);
        }
        setIndex(object, target.nameValue, std::move(value), line, column);
        return ExecStatus::Normal;
    }
    default: fail("invalid assignment target", line, column);
    }
}

ExecStatus Interpreter::executeIf(const IfStmt& statement, Environment& environment) {
    for (const IfBranch& branch : statement.branches) {
        if (!branch.cond || isTrue(*branch.cond, environment)) {
            return executeScoped(branch.body, environment);
        }
    }
    return ExecStatus::Normal;
}

ExecStatus Interpreter::executeWhile(const WhileStmt& statement, Environment& environment) {
    const bool scoped = declaresNames(statement.body) || plain_;
    OwnedScope scope(*this, statement.body);
    while (isTrue(*statement.cond, environment)) {
        ExecStatus status;
        if (scoped) {
            scope.renew(environment);
            status = executeBlock(statement.body, *scope);
        } else {
            status = executeBlock(statement.body, environment);
        }
        if (status == ExecStatus::Break) break;
        if (status == ExecStatus::Return) return status;
        countStep();
    }
    return ExecStatus::Normal;
}

ExecStatus Interpreter::executeNumericFor(const NumericForStmt& statement, Environment& environment) {
    const int32_t line = statement.line;
    const int32_t column = statement.column;
    Value start = evaluate(*statement.start, environment);
    Value end = evaluate(*statement.end, environment);
    if (!start.isNumber() || !end.isNumber()) fail(wording::kTreeWalkerForBounds, line, column);
    bool integerMode = start.isInt() && end.isInt();
    Value step(int64_t{1});
    if (statement.step) {
        step = evaluate(*statement.step, environment);
        if (!step.isNumber()) fail(wording::kTreeWalkerForStep, line, column);
        integerMode = integerMode && step.isInt();
        if (asDouble(step) == 0.0) fail(wording::kTreeWalkerForZeroStep, line, column);
    }

    OwnedScope scope(*this, statement, statement.body);
    ExecStatus status = ExecStatus::Normal;
    if (integerMode) {
        // Counting in Int gives the values a double counter would give while
        // they are exact, and stays exact (and finite) beyond 2^53.
        const int64_t limit = end.asInt();
        const int64_t by = step.asInt();
        for (int64_t counter = start.asInt(); by > 0 ? counter <= limit : counter >= limit;) {
            status = runForPass(scope, environment, statement.var, Value(counter), statement.body);
            if (status == ExecStatus::Break || status == ExecStatus::Return) break;
            if (by > 0 ? counter > INT64_MAX - by : counter < INT64_MIN - by) break;
            counter += by;
        }
    } else {
        const double limit = asDouble(end);
        const double by = asDouble(step);
        for (double counter = asDouble(start); by > 0 ? counter <= limit : by < 0 && counter >= limit; counter += by) {
            status = runForPass(scope, environment, statement.var, Value(counter), statement.body);
            if (status == ExecStatus::Break || status == ExecStatus::Return) break;
        }
    }
    return status == ExecStatus::Return ? status : ExecStatus::Normal;
}

ExecStatus Interpreter::runForPass(OwnedScope& scope, Environment& environment, const std::string& var, Value value,
                                   const StmtList& body) {
    scope.renew(environment, var, std::move(value));
    const ExecStatus status = executeBlock(body, *scope);
    if (status != ExecStatus::Break && status != ExecStatus::Return) countStep();
    return status;
}

ExecStatus Interpreter::executeForIn(const ForInStmt& statement, Environment& environment) {
    Value iterable = evaluate(*statement.iterable, environment);
    ValueVector items = iterationItems(iterable, statement.line, statement.column);
    OwnedScope scope(*this, statement, statement.body);
    for (Value& item : items) {
        const ExecStatus status = runForPass(scope, environment, statement.var, std::move(item), statement.body);
        if (status == ExecStatus::Break) break;
        if (status == ExecStatus::Return) return status;
    }
    return ExecStatus::Normal;
}

ExecStatus Interpreter::executeTry(const TryStmt& statement, Environment& environment) {
    // The one block that no evaluation leads into, whose check would cover it.
    if (currentStackAddress() < expressionStackLimit_) [[unlikely]] {
        executionLimits().nativeStackReached = true;
        fail(kCallStackOverflow, statement.line, statement.column);
    }
    Value caught;
    const std::size_t openChainLinks = openChainLinks_;
    try {
        const CountWhile open(openTries_);
        return executeScoped(statement.body, environment);
    } catch (const RuntimeError& error) {
        caught = Value(error.message);
    } catch (ThrownValue& thrown) {
        caught = std::move(thrown.value);
    }
    if (trace_) trace_->clear();
    debugErrorShown_ = false;
    openChainLinks_ = openChainLinks;  // the chains the error left
    // The handler runs outside the catch clauses: its own errors are not ours.
    OwnedScope scope(*this, Ref<Environment>(&environment));
    scope->define(statement.catchVar, std::move(caught));  // into a fresh scope: see bind
    return executeBlock(statement.handler, *scope);
}

}  // namespace velmor
