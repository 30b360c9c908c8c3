#include "compiler.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "error.h"
#include "native_stack.h"

// A single pass over the syntax tree, one FunctionState per function being
// compiled. The instruction sequences are fixed: the VM, the disassembler
// tests and any later load-time transformation all rely on the exact shapes
// below, so the compiler never optimises.
//
// Stack discipline: every statement starts and ends with only the locals in
// scope on the stack, so a local's slot is its position in `locals`, and the
// stack height at OP_TRY is the frame base plus the number of locals. The VM's
// handler recovery depends on that.

namespace velmor {

namespace {

constexpr size_t kMaxConstants = 65536;
constexpr uint32_t kMaxJumpDistance = 65535;
constexpr size_t kMaxArguments = 255;
constexpr size_t kMaxLiteralElements = 65535;
constexpr size_t kMaxLocals = 65536;
constexpr size_t kMaxUpvalues = 256;
constexpr size_t kMaxChildFunctions = 65536;

struct LocalVar {
    std::string name;
    int32_t depth;
    bool captured = false;
    size_t debugName = 0;  // its entry in the prototype's localNames
};

struct LoopContext {
    int32_t scopeDepth;  // depth outside the body; deeper locals belong to the body
    std::vector<uint32_t> breakJumps;
    std::vector<uint32_t> continueJumps;
    int32_t tryDepth;  // try bodies already open when the loop began
};

struct FunctionState {
    FunctionState* enclosing = nullptr;
    Ref<FunctionProto> proto;
    std::vector<LocalVar> locals;
    std::vector<UpvalueDesc> upvalues;
    std::vector<std::string> upvalueNames;
    int32_t scopeDepth = 0;
    std::vector<LoopContext> loops;
    // Open try bodies at the current point; a break or continue leaving some
    // of them removes their handlers first.
    int32_t tryDepth = 0;
};

struct VarRef {
    OpCode loadOp;
    OpCode storeOp;
    int32_t slot;          // local slot or upvalue index; -1 for a global
    int32_t nameConstant;  // constant index of a global's name; -1 otherwise
};

// The instruction of each operator: the arithmetic or comparison it applies,
// or for "and" and "or" the jump that skips the right operand.
OpCode operatorOpcode(BinaryOp op) {
    switch (op) {
#define VELMOR_OPERATOR_OPCODE(name, spelling, precedence, associativity, kind, opcode) \
    case BinaryOp::name: return opcode;
        VELMOR_BINARY_OPERATORS(VELMOR_OPERATOR_OPCODE)
#undef VELMOR_OPERATOR_OPCODE
    }
    return OP_HALT;  // unreachable
}

uint32_t lineOf(int32_t line) { return line > 0 ? static_cast<uint32_t>(line) : 0; }

class Compiler {
public:
    Ref<FunctionProto> compile(const StmtList& program) {
        FunctionState script;
        script.proto = makeRef<FunctionProto>();
        current = &script;
        for (const StmtPtr& statement : program) compileStatement(*statement);
        emitByte(OP_NIL, 0);
        emitByte(OP_RETURN, 0);
        script.proto->upvalues = script.upvalues;
        script.proto->upvalueNames = script.upvalueNames;
        current = nullptr;
        return script.proto;
    }

private:
    FunctionState* current = nullptr;
    // Expressions, blocks and functions nest as deeply as the parser let
    // them, each a level of recursion here.
    const std::uintptr_t stackFloor_ = nativeStackFloor();

    // At the node that would recurse once more.
    void checkNativeStack(int32_t line, int32_t column) const {
        if (currentStackAddress() < stackFloor_) [[unlikely]]
            failTooDeep(line, column);
    }

    [[noreturn, gnu::noinline, gnu::cold]] static void failTooDeep(int32_t line, int32_t column) {
        throw compileError(kNestedTooDeeply, line, column);
    }

    std::vector<uint8_t>& code() { return current->proto->code; }

    // ---- emission

    void emitByte(uint8_t byte, int32_t line) {
        current->proto->code.push_back(byte);
        current->proto->lines.push_back(lineOf(line));
    }

    void emitOp16(OpCode op, uint32_t operand, int32_t line) {
        emitByte(op, line);
        emitByte(static_cast<uint8_t>(operand >> 8), line);
        emitByte(static_cast<uint8_t>(operand & 0xFF), line);
    }

    uint32_t makeConstant(Value value) {
        std::vector<Value>& constants = current->proto->constants;
        if (constants.size() >= kMaxConstants) throw compileError("too many constants");
        constants.push_back(std::move(value));
        return static_cast<uint32_t>(constants.size() - 1);
    }

    void emitConstant(Value value, int32_t line) { emitOp16(OP_CONSTANT, makeConstant(std::move(value)), line); }

    // Emits a forward jump with a placeholder distance; returns the operand's offset.
    uint32_t emitJump(OpCode op, int32_t line) {
        emitByte(op, line);
        emitByte(0xFF, line);
        emitByte(0xFF, line);
        return static_cast<uint32_t>(code().size() - 2);
    }

    // Points the jump whose operand is at `operandOffset` at the current end of the code.
    void patchJump(uint32_t operandOffset) {
        size_t distance = code().size() - operandOffset - 2;
        if (distance > kMaxJumpDistance) throw compileError("branch too large");
        code()[operandOffset] = static_cast<uint8_t>(distance >> 8);
        code()[operandOffset + 1] = static_cast<uint8_t>(distance & 0xFF);
    }

    void emitLoop(size_t loopStart, int32_t line) {
        emitByte(OP_LOOP, line);
        // Counted from the end of the operand that is about to be written.
        size_t distance = code().size() - loopStart + 2;
        if (distance > kMaxJumpDistance) throw compileError("loop body too large");
        emitByte(static_cast<uint8_t>(distance >> 8), line);
        emitByte(static_cast<uint8_t>(distance & 0xFF), line);
    }

    // ---- scopes and variables

    void beginScope() { ++current->scopeDepth; }

    void endScope(int32_t line) {
        --current->scopeDepth;
        std::vector<LocalVar>& locals = current->locals;
        while (!locals.empty() && locals.back().depth > current->scopeDepth) {
            current->proto->localNames[locals.back().debugName].end = static_cast<uint32_t>(code().size());
            emitByte(locals.back().captured ? OP_CLOSE_UPVALUE : OP_POP, line);
            locals.pop_back();
        }
    }

    // Discards the locals deeper than `depth` on a jump out of their scope,
    // keeping their entries: the code after the jump is still inside it.
    void emitPopsTo(int32_t depth, int32_t line) {
        const std::vector<LocalVar>& locals = current->locals;
        for (size_t i = locals.size(); i > 0 && locals[i - 1].depth > depth; --i) {
            emitByte(locals[i - 1].captured ? OP_CLOSE_UPVALUE : OP_POP, line);
        }
    }

    uint32_t declareLocal(const std::string& name) {
        std::vector<LocalVar>& locals = current->locals;
        // Slots are 16-bit operands.
        if (locals.size() >= kMaxLocals) throw compileError("too many local variables");
        const auto slot = static_cast<uint32_t>(locals.size());
        std::vector<LocalName>& names = current->proto->localNames;
        const auto here = static_cast<uint32_t>(code().size());
        names.push_back(LocalName{name, slot, here, UINT32_MAX});
        locals.push_back(LocalVar{name, current->scopeDepth, false, names.size() - 1});
        return slot;
    }

    static int32_t resolveLocal(const FunctionState& state, const std::string& name) {
        for (size_t i = state.locals.size(); i > 0; --i) {
            if (state.locals[i - 1].name == name) return static_cast<int32_t>(i - 1);
        }
        return -1;
    }

    static int32_t addUpvalue(FunctionState& state, uint32_t index, uint8_t isLocal, const std::string& name) {
        UpvalueDesc wanted{isLocal, index};
        for (size_t i = 0; i < state.upvalues.size(); ++i) {
            if (state.upvalues[i] == wanted) return static_cast<int32_t>(i);
        }
        // Upvalue indices are 8-bit operands.
        if (state.upvalues.size() >= kMaxUpvalues) throw compileError("too many upvalues");
        state.upvalues.push_back(wanted);
        state.upvalueNames.push_back(name);
        return static_cast<int32_t>(state.upvalues.size() - 1);
    }

    static int32_t resolveUpvalue(FunctionState& state, const std::string& name) {
        if (state.enclosing == nullptr) return -1;
        int32_t slot = resolveLocal(*state.enclosing, name);
        if (slot >= 0) {
            state.enclosing->locals[static_cast<size_t>(slot)].captured = true;
            return addUpvalue(state, static_cast<uint32_t>(slot), 1, name);
        }
        int32_t outer = resolveUpvalue(*state.enclosing, name);
        if (outer >= 0) return addUpvalue(state, static_cast<uint32_t>(outer), 0, name);
        return -1;
    }

    VarRef resolve(const std::string& name) {
        int32_t slot = resolveLocal(*current, name);
        if (slot >= 0) return VarRef{OP_GET_LOCAL, OP_SET_LOCAL, slot, -1};
        int32_t upvalue = resolveUpvalue(*current, name);
        if (upvalue >= 0) return VarRef{OP_GET_UPVALUE, OP_SET_UPVALUE, upvalue, -1};
        return VarRef{OP_GET_GLOBAL, OP_SET_GLOBAL, -1, static_cast<int32_t>(makeConstant(Value(name)))};
    }

    void emitVariableOp(const VarRef& ref, OpCode op, int32_t line) {
        if (op == OP_GET_UPVALUE || op == OP_SET_UPVALUE) {
            emitByte(op, line);
            emitByte(static_cast<uint8_t>(ref.slot), line);
        } else if (ref.slot >= 0) {
            emitOp16(op, static_cast<uint32_t>(ref.slot), line);
        } else {
            emitOp16(op, static_cast<uint32_t>(ref.nameConstant), line);
        }
    }

    void emitLoad(const VarRef& ref, int32_t line) { emitVariableOp(ref, ref.loadOp, line); }
    void emitStore(const VarRef& ref, int32_t line) { emitVariableOp(ref, ref.storeOp, line); }

    // ---- functions

    // Leaves the new closure on the stack of the enclosing function.
    void compileFunction(const std::string& name, const std::vector<std::string>& params, const StmtList& body,
                         int32_t line) {
        FunctionState function;
        function.enclosing = current;
        function.proto = makeRef<FunctionProto>();
        function.proto->name = name;
        function.proto->arity = static_cast<uint32_t>(params.size());
        current = &function;

        beginScope();
        for (const std::string& param : params) declareLocal(param);
        for (const StmtPtr& statement : body) compileStatement(*statement);
        // The body's locals are left to OP_RETURN, which closes what was captured.
        emitByte(OP_NIL, line);
        emitByte(OP_RETURN, line);
        function.proto->upvalues = function.upvalues;
        function.proto->upvalueNames = function.upvalueNames;
        current = function.enclosing;

        std::vector<Ref<FunctionProto>>& siblings = current->proto->protos;
        // Child indices are 16-bit operands of OP_CLOSURE.
        if (siblings.size() >= kMaxChildFunctions) throw compileError("too many nested functions");
        siblings.push_back(function.proto);
        emitOp16(OP_CLOSURE, static_cast<uint32_t>(siblings.size() - 1), line);
    }

    // ---- expressions

    void compileExpression(const Expr& expr) {
        checkNativeStack(expr.line, expr.column);
        switch (expr.kind) {
        case ExprKind::Literal: compileLiteral(static_cast<const LiteralExpr&>(expr)); return;
        case ExprKind::ListLit: {
            const auto& list = static_cast<const ListLitExpr&>(expr);
            if (list.elements.size() > kMaxLiteralElements) {
                throw compileError("too many list elements", list.line, list.column);
            }
            for (const ExprPtr& element : list.elements) compileExpression(*element);
            emitOp16(OP_BUILD_LIST, static_cast<uint32_t>(list.elements.size()), list.line);
            return;
        }
        case ExprKind::MapLit: {
            const auto& map = static_cast<const MapLitExpr&>(expr);
            if (map.entries.size() > kMaxLiteralElements) {
                throw compileError("too many map entries", map.line, map.column);
            }
            for (const MapEntryExpr& entry : map.entries) {
                compileExpression(*entry.key);
                compileExpression(*entry.value);
            }
            emitOp16(OP_BUILD_MAP, static_cast<uint32_t>(map.entries.size()), map.line);
            return;
        }
        case ExprKind::Name: {
            const auto& name = static_cast<const NameExpr&>(expr);
            emitLoad(resolve(name.name), name.line);
            return;
        }
        case ExprKind::Unary: {
            const auto& unary = static_cast<const UnaryExpr&>(expr);
            compileExpression(*unary.operand);
            emitByte(unary.op == "not" ? OP_NOT : OP_NEGATE, unary.line);
            return;
        }
        case ExprKind::Binary:
        case ExprKind::Call:
        case ExprKind::Index:
        case ExprKind::Get: compileChain(expr); return;
        case ExprKind::Function: {
            const auto& function = static_cast<const FunctionExpr&>(expr);
            compileFunction(function.name, function.params, function.body, function.line);
            return;
        }
        }
        throw compileError("unknown expression kind", expr.line, expr.column);
    }

    void compileLiteral(const LiteralExpr& literal) {
        const Value& value = literal.value;
        switch (value.kind()) {
        case ValueKind::Nil: emitByte(OP_NIL, literal.line); return;
        case ValueKind::Bool: emitByte(value.asBool() ? OP_TRUE : OP_FALSE, literal.line); return;
        case ValueKind::Int:
        case ValueKind::Float:
        case ValueKind::String: emitConstant(value, literal.line); return;
        default: break;
        }
        // The pool holds numbers and strings only; the parser never makes other literals.
        throw compileError(std::string("cannot compile a literal ") + typeName(value), literal.line, literal.column);
    }

    // A chain of binary operators, calls, indexes and field accesses, each
    // applied to the one below it ("a + b + c", "f()()", "x.a.b"), may be as
    // long as the source: it is walked down by a loop, its innermost operand
    // compiled, and the rest of every link emitted on the way back up. The
    // code is the same as a recursive walk would emit.
    void compileChain(const Expr& top) {
        std::vector<const Expr*> links;
        const Expr* operand = &top;
        while (isChainLink(*operand)) {
            checkOperator(*operand);
            links.push_back(operand);
            operand = firstOperand(*operand);
        }
        compileExpression(*operand);
        for (size_t i = links.size(); i > 0; --i) compileLinkRest(*links[i - 1]);
    }

    // A spelling outside the operator table reads as Or in the tree.
    static void checkOperator(const Expr& link) {
        if (link.kind != ExprKind::Binary) return;
        const auto& binary = static_cast<const BinaryExpr&>(link);
        if (operatorSpelling(binary.binop) != binary.op) {
            throw compileError("unknown operator " + binary.op, binary.line, 0);
        }
    }

    // Everything of a chain link after its first operand, which is already on the stack.
    void compileLinkRest(const Expr& link) {
        switch (link.kind) {
        case ExprKind::Binary: {
            const auto& binary = static_cast<const BinaryExpr&>(link);
            if (operatorInfo(binary.binop).kind == OperatorKind::ShortCircuit) {
                uint32_t shortCircuit = emitJump(operatorOpcode(binary.binop), binary.line);
                emitByte(OP_POP, binary.line);
                compileExpression(*binary.right);
                patchJump(shortCircuit);
                return;
            }
            if (operatorInfo(binary.binop).associativity == Associativity::Right) {
                compileRightChain(binary);
                return;
            }
            compileExpression(*binary.right);
            emitByte(operatorOpcode(binary.binop), binary.line);
            return;
        }
        case ExprKind::Call: {
            const auto& call = static_cast<const CallExpr&>(link);
            for (const ExprPtr& argument : call.args) compileExpression(*argument);
            if (call.args.size() > kMaxArguments) throw compileError("too many arguments", call.line, call.column);
            emitByte(OP_CALL, call.line);
            emitByte(static_cast<uint8_t>(call.args.size()), call.line);
            return;
        }
        case ExprKind::Index: {
            const auto& index = static_cast<const IndexExpr&>(link);
            compileExpression(*index.index);
            emitByte(OP_GET_INDEX, index.line);
            return;
        }
        case ExprKind::Get: {
            const auto& get = static_cast<const GetExpr&>(link);
            emitConstant(get.nameValue, get.line);
            emitByte(OP_GET_INDEX, get.line);
            return;
        }
        default: break;
        }
    }

    // "a ^ b ^ c" is a ^ (b ^ c): a chain that grows to the right. With the
    // first operand of `first` on the stack, the others are pushed by a loop
    // and then combined from the right, innermost operator first.
    void compileRightChain(const BinaryExpr& first) {
        std::vector<const BinaryExpr*> links{&first};
        const Expr* right = first.right.get();
        while (right->kind == ExprKind::Binary && static_cast<const BinaryExpr&>(*right).binop == first.binop) {
            const auto& inner = static_cast<const BinaryExpr&>(*right);
            compileExpression(*inner.left);
            links.push_back(&inner);
            right = inner.right.get();
        }
        compileExpression(*right);
        const OpCode opcode = operatorOpcode(first.binop);
        for (size_t i = links.size(); i > 0; --i) emitByte(opcode, links[i - 1]->line);
    }

    // ---- statements

    void compileBlock(const StmtList& body, int32_t line) {
        beginScope();
        for (const StmtPtr& statement : body) compileStatement(*statement);
        endScope(line);
    }

    void compileStatement(const Stmt& stmt) {
        checkNativeStack(stmt.line, stmt.column);
        switch (stmt.kind) {
        case StmtKind::Let: compileLet(static_cast<const LetStmt&>(stmt)); return;
        case StmtKind::Assign: compileAssign(static_cast<const AssignStmt&>(stmt)); return;
        case StmtKind::Expr:
            compileExpression(*static_cast<const ExprStmt&>(stmt).expr);
            emitByte(OP_POP, stmt.line);
            return;
        case StmtKind::If: compileIf(static_cast<const IfStmt&>(stmt)); return;
        case StmtKind::While: compileWhile(static_cast<const WhileStmt&>(stmt)); return;
        case StmtKind::NumericFor: compileNumericFor(static_cast<const NumericForStmt&>(stmt)); return;
        case StmtKind::ForIn: compileForIn(static_cast<const ForInStmt&>(stmt)); return;
        case StmtKind::FunctionDecl: compileFunctionDecl(static_cast<const FunctionDeclStmt&>(stmt)); return;
        case StmtKind::Return: {
            const auto& ret = static_cast<const ReturnStmt&>(stmt);
            if (ret.value) {
                compileExpression(*ret.value);
            } else {
                emitByte(OP_NIL, ret.line);
            }
            emitByte(OP_RETURN, ret.line);
            return;
        }
        case StmtKind::Break: compileLoopExit(stmt, LoopExit::Break); return;
        case StmtKind::Continue: compileLoopExit(stmt, LoopExit::Continue); return;
        case StmtKind::Try: compileTry(static_cast<const TryStmt&>(stmt)); return;
        }
        throw compileError("unknown statement kind", stmt.line, stmt.column);
    }

    void compileLet(const LetStmt& let) {
        if (current->scopeDepth == 0) {
            uint32_t name = makeConstant(Value(let.name));
            compileInitializer(let);
            emitOp16(OP_DEFINE_GLOBAL, name, let.line);
        } else {
            // Declared only after the initializer, which therefore sees the outer variable.
            compileInitializer(let);
            declareLocal(let.name);
        }
    }

    void compileInitializer(const LetStmt& let) {
        if (let.init) {
            compileExpression(*let.init);
        } else {
            emitByte(OP_NIL, let.line);
        }
    }

    // The target is evaluated before the value, unlike in the tree-walker.
    void compileAssign(const AssignStmt& assign) {
        std::optional<OpCode> arithmetic;
        if (assign.compound) {
            arithmetic = operatorOpcode(*assign.compound);
        } else if (!assign.op.empty()) {
            throw compileError("bad operator " + assign.op, assign.line, 0);
        }
        const Expr& target = *assign.target;
        switch (target.kind) {
        case ExprKind::Name: {
            VarRef ref = resolve(static_cast<const NameExpr&>(target).name);
            if (arithmetic) emitLoad(ref, assign.line);
            compileExpression(*assign.value);
            if (arithmetic) emitByte(*arithmetic, assign.line);
            emitStore(ref, assign.line);
            emitByte(OP_POP, assign.line);
            return;
        }
        case ExprKind::Index: {
            const auto& index = static_cast<const IndexExpr&>(target);
            compileExpression(*index.object);
            compileExpression(*index.index);
            break;
        }
        case ExprKind::Get: {
            const auto& get = static_cast<const GetExpr&>(target);
            compileExpression(*get.object);
            emitConstant(get.nameValue, get.line);
            break;
        }
        default: throw compileError("invalid assignment target", assign.line, assign.column);
        }
        if (arithmetic) emitByte(OP_GET_INDEX_KEEP, assign.line);
        compileExpression(*assign.value);
        if (arithmetic) emitByte(*arithmetic, assign.line);
        emitByte(OP_SET_INDEX, assign.line);
        emitByte(OP_POP, assign.line);
    }

    void compileFunctionDecl(const FunctionDeclStmt& declaration) {
        if (current->scopeDepth == 0) {
            uint32_t name = makeConstant(Value(declaration.name));
            compileFunction(declaration.name, declaration.params, declaration.body, declaration.line);
            emitOp16(OP_DEFINE_GLOBAL, name, declaration.line);
        } else {
            // Declared first, so the body can capture its own slot and recurse.
            declareLocal(declaration.name);
            compileFunction(declaration.name, declaration.params, declaration.body, declaration.line);
        }
    }

    void compileIf(const IfStmt& statement) {
        std::vector<uint32_t> endJumps;
        for (const IfBranch& branch : statement.branches) {
            if (!branch.cond) {
                compileBlock(branch.body, statement.line);
                continue;
            }
            compileExpression(*branch.cond);
            uint32_t skip = emitJump(OP_JUMP_IF_FALSE, statement.line);
            emitByte(OP_POP, statement.line);
            compileBlock(branch.body, statement.line);
            endJumps.push_back(emitJump(OP_JUMP, statement.line));
            patchJump(skip);
            emitByte(OP_POP, statement.line);
        }
        for (uint32_t jump : endJumps) patchJump(jump);
    }

    void beginLoop() { current->loops.push_back(LoopContext{current->scopeDepth, {}, {}, current->tryDepth}); }

    void patchLoopJumps(const std::vector<uint32_t>& jumps) {
        for (uint32_t jump : jumps) patchJump(jump);
    }

    void endLoop() {
        patchLoopJumps(current->loops.back().breakJumps);
        current->loops.pop_back();
    }

    void compileWhile(const WhileStmt& loop) {
        size_t loopStart = code().size();
        compileExpression(*loop.cond);
        uint32_t exit = emitJump(OP_JUMP_IF_FALSE, loop.line);
        emitByte(OP_POP, loop.line);
        beginLoop();
        compileBlock(loop.body, loop.line);
        patchLoopJumps(current->loops.back().continueJumps);
        emitLoop(loopStart, loop.line);
        patchJump(exit);
        emitByte(OP_POP, loop.line);
        endLoop();
    }

    // The loop variable is the counter itself and lives in the loop's own
    // scope, so it is one variable for the whole loop.
    void compileNumericFor(const NumericForStmt& loop) {
        int32_t line = loop.line;
        beginScope();
        compileExpression(*loop.start);
        uint32_t variable = declareLocal(loop.var);
        compileExpression(*loop.end);
        uint32_t limit = declareLocal("$limit");
        if (loop.step) {
            compileExpression(*loop.step);
        } else {
            emitConstant(Value(int64_t{1}), line);
        }
        uint32_t step = declareLocal("$step");

        size_t loopStart = code().size();
        emitOp16(OP_GET_LOCAL, variable, line);
        emitOp16(OP_GET_LOCAL, limit, line);
        emitOp16(OP_GET_LOCAL, step, line);
        emitByte(OP_FOR_TEST, line);
        uint32_t exit = emitJump(OP_JUMP_IF_FALSE, line);
        emitByte(OP_POP, line);

        beginLoop();
        compileBlock(loop.body, line);
        patchLoopJumps(current->loops.back().continueJumps);
        emitOp16(OP_GET_LOCAL, variable, line);
        emitOp16(OP_GET_LOCAL, step, line);
        emitByte(OP_ADD, line);
        emitOp16(OP_SET_LOCAL, variable, line);
        emitByte(OP_POP, line);
        emitLoop(loopStart, line);
        patchJump(exit);
        emitByte(OP_POP, line);
        endLoop();
        endScope(line);
    }

    // The items are fixed by OP_ITER_LIST before the first pass; the position
    // lives in "$idx", so assigning to the loop variable affects one pass only.
    void compileForIn(const ForInStmt& loop) {
        int32_t line = loop.line;
        beginScope();
        compileExpression(*loop.iterable);
        emitByte(OP_ITER_LIST, line);
        uint32_t items = declareLocal("$iter");
        emitConstant(Value(int64_t{0}), line);
        uint32_t position = declareLocal("$idx");
        emitByte(OP_NIL, line);
        uint32_t variable = declareLocal(loop.var);

        size_t loopStart = code().size();
        emitOp16(OP_GET_LOCAL, position, line);
        emitOp16(OP_GET_LOCAL, items, line);
        emitByte(OP_LEN, line);
        emitByte(OP_LESS, line);
        uint32_t exit = emitJump(OP_JUMP_IF_FALSE, line);
        emitByte(OP_POP, line);
        emitOp16(OP_GET_LOCAL, items, line);
        emitOp16(OP_GET_LOCAL, position, line);
        emitByte(OP_GET_INDEX, line);
        emitOp16(OP_SET_LOCAL, variable, line);
        emitByte(OP_POP, line);

        beginLoop();
        compileBlock(loop.body, line);
        patchLoopJumps(current->loops.back().continueJumps);
        emitOp16(OP_GET_LOCAL, position, line);
        emitConstant(Value(int64_t{1}), line);
        emitByte(OP_ADD, line);
        emitOp16(OP_SET_LOCAL, position, line);
        emitByte(OP_POP, line);
        emitLoop(loopStart, line);
        patchJump(exit);
        emitByte(OP_POP, line);
        endLoop();
        endScope(line);
    }

    enum class LoopExit { Break, Continue };

    void compileLoopExit(const Stmt& statement, LoopExit exit) {
        if (current->loops.empty()) {
            throw compileError(exit == LoopExit::Break ? "'break' outside a loop" : "'continue' outside a loop",
                               statement.line, statement.column);
        }
        LoopContext& loop = current->loops.back();
        emitPopsTo(loop.scopeDepth, statement.line);
        for (int32_t i = loop.tryDepth; i < current->tryDepth; ++i) emitByte(OP_END_TRY, statement.line);
        uint32_t jump = emitJump(OP_JUMP, statement.line);
        (exit == LoopExit::Break ? loop.breakJumps : loop.continueJumps).push_back(jump);
    }

    // On a caught error the VM cuts the stack back to its height at OP_TRY
    // and pushes the caught value, which becomes the catch variable's slot.
    void compileTry(const TryStmt& statement) {
        int32_t line = statement.line;
        uint32_t handler = emitJump(OP_TRY, line);
        ++current->tryDepth;
        compileBlock(statement.body, line);
        --current->tryDepth;
        emitByte(OP_END_TRY, line);
        uint32_t end = emitJump(OP_JUMP, line);
        patchJump(handler);
        beginScope();
        declareLocal(statement.catchVar);
        for (const StmtPtr& inner : statement.handler) compileStatement(*inner);
        endScope(line);
        patchJump(end);
    }
};

}  // namespace

Ref<FunctionProto> compileProgram(const StmtList& program) {
    Compiler compiler;
    return compiler.compile(program);
}

}  // namespace velmor
