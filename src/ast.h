#pragma once

// The syntax tree: the one shared form of a parsed program. The parser
// builds it; the tree-walker executes it and the compiler translates it.
// Both engines tell nodes apart by the `kind` tag (a switch, then a
// static_cast); there is no visitor and no run-time type query. Every child
// is uniquely owned by its parent. Nodes hold only what the source said.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "operators.h"
#include "value.h"

namespace velmor {

enum class ExprKind : int32_t {
    Literal = 0,
    ListLit = 1,
    MapLit = 2,
    Name = 3,
    Unary = 4,
    Binary = 5,
    Call = 6,
    Index = 7,
    Get = 8,
    Function = 9,
};

enum class StmtKind : int32_t {
    Let = 0,
    Assign = 1,
    Expr = 2,
    If = 3,
    While = 4,
    NumericFor = 5,
    ForIn = 6,
    FunctionDecl = 7,
    Return = 8,
    Break = 9,
    Continue = 10,
    Try = 11,
};

struct Expr {
    Expr(ExprKind kind_, int32_t line_, int32_t column_) : kind(kind_), line(line_), column(column_) {}
    virtual ~Expr() = default;
    const ExprKind kind;
    int32_t line;
    int32_t column;
    // For a chain link (see isChainLink), the links from here down through
    // the first operands: 1 when the first operand is no link. 0 otherwise.
    uint32_t chainLength = 0;
};

struct Stmt {
    Stmt(StmtKind kind_, int32_t line_, int32_t column_) : kind(kind_), line(line_), column(column_) {}
    virtual ~Stmt() = default;
    const StmtKind kind;
    int32_t line;
    int32_t column;
};

// Byte offsets in the source, recorded for editor tooling (declared names and
// the keywords that close blocks); the engines never read them. kNoOffset
// where a node was not parsed from text.
inline constexpr uint32_t kNoOffset = UINT32_MAX;

using ExprPtr = std::unique_ptr<Expr>;
using StmtPtr = std::unique_ptr<Stmt>;
using StmtList = std::vector<StmtPtr>;

// The chainLength of a link whose first operand is `first`.
inline uint32_t linkOn(const ExprPtr& first) { return first ? first->chainLength + 1 : 1; }

// ---------------------------------------------------------------------------
// Expressions

struct LiteralExpr final : Expr {
    LiteralExpr(Value value_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Literal, line_, column_), value(std::move(value_)) {}
    Value value;  // nil, bool, Int, Float or String
};

struct ListLitExpr final : Expr {
    ListLitExpr(std::vector<ExprPtr> elements_, int32_t line_, int32_t column_)
        : Expr(ExprKind::ListLit, line_, column_), elements(std::move(elements_)) {}
    std::vector<ExprPtr> elements;
};

struct MapEntryExpr {
    ExprPtr key;
    ExprPtr value;
};

struct MapLitExpr final : Expr {
    MapLitExpr(std::vector<MapEntryExpr> entries_, int32_t line_, int32_t column_)
        : Expr(ExprKind::MapLit, line_, column_), entries(std::move(entries_)) {}
    std::vector<MapEntryExpr> entries;
};

struct NameExpr final : Expr {
    NameExpr(std::string name_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Name, line_, column_), name(std::move(name_)) {}
    std::string name;
};

struct UnaryExpr final : Expr {
    UnaryExpr(std::string op_, ExprPtr operand_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Unary, line_, column_), op(std::move(op_)), operand(std::move(operand_)) {}
    std::string op;  // "-" or "not"
    ExprPtr operand;
};

struct BinaryExpr final : Expr {
    BinaryExpr(std::string op_, ExprPtr left_, ExprPtr right_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Binary, line_, column_), op(std::move(op_)), left(std::move(left_)), right(std::move(right_)),
          binop(binaryOpFromSpelling(this->op).value_or(BinaryOp::Or)) {
        chainLength = linkOn(left);
    }
    ~BinaryExpr() override;
    std::string op;
    ExprPtr left;
    ExprPtr right;
    // A spelling outside the operator table, which only a tree built by
    // hand can hold, reads as Or here; the compiler rejects it.
    BinaryOp binop;
};

struct CallExpr final : Expr {
    CallExpr(ExprPtr callee_, std::vector<ExprPtr> args_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Call, line_, column_), callee(std::move(callee_)), args(std::move(args_)) {
        chainLength = linkOn(callee);
    }
    ~CallExpr() override;
    ExprPtr callee;
    std::vector<ExprPtr> args;
};

struct IndexExpr final : Expr {
    IndexExpr(ExprPtr object_, ExprPtr index_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Index, line_, column_), object(std::move(object_)), index(std::move(index_)) {
        chainLength = linkOn(object);
    }
    ~IndexExpr() override;
    ExprPtr object;
    ExprPtr index;
};

struct GetExpr final : Expr {
    GetExpr(ExprPtr object_, std::string name_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Get, line_, column_), object(std::move(object_)), name(std::move(name_)),
          nameValue(Value(this->name)) {
        chainLength = linkOn(object);
    }
    ~GetExpr() override;
    ExprPtr object;
    std::string name;
    Value nameValue;  // the field name as a string Value, made once
};

// Binary operators, calls, indexes and field accesses form chains as long as
// the source ("a + b + c", "a ^ b ^ c", "f()()", "x.a.b"): every walk over the
// tree follows them with a loop, not by recursion, and these nodes free their
// chained children by a loop as well.
inline bool isChainLink(const Expr& expression) {
    switch (expression.kind) {
    case ExprKind::Binary:
    case ExprKind::Call:
    case ExprKind::Index:
    case ExprKind::Get: return true;
    default: return false;
    }
}

// The operand a chain link applies to first: the left operand, the callee or
// the object; nullptr for any other node.
inline const Expr* firstOperand(const Expr& expression) {
    switch (expression.kind) {
    case ExprKind::Binary: return static_cast<const BinaryExpr&>(expression).left.get();
    case ExprKind::Call: return static_cast<const CallExpr&>(expression).callee.get();
    case ExprKind::Index: return static_cast<const IndexExpr&>(expression).object.get();
    case ExprKind::Get: return static_cast<const GetExpr&>(expression).object.get();
    default: return nullptr;
    }
}

struct FunctionExpr final : Expr {
    FunctionExpr(std::string name_, std::vector<std::string> params_, StmtList body_, int32_t line_, int32_t column_)
        : Expr(ExprKind::Function, line_, column_), name(std::move(name_)), params(std::move(params_)),
          body(std::move(body_)) {}
    std::string name;  // always "<anonymous>"
    std::vector<std::string> params;
    StmtList body;
    std::vector<uint32_t> paramOffsets;
    uint32_t endOffset = kNoOffset;  // the closing "end"
};

// ---------------------------------------------------------------------------
// Statements

struct LetStmt final : Stmt {
    LetStmt(std::string name_, ExprPtr init_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::Let, line_, column_), name(std::move(name_)), init(std::move(init_)) {}
    std::string name;
    ExprPtr init;
    uint32_t nameOffset = kNoOffset;
};

struct AssignStmt final : Stmt {
    AssignStmt(ExprPtr target_, ExprPtr value_, std::string op_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::Assign, line_, column_), target(std::move(target_)), value(std::move(value_)),
          op(std::move(op_)), compound(compoundOpFromSpelling(this->op)) {}
    ExprPtr target;  // NameExpr, IndexExpr or GetExpr
    ExprPtr value;
    std::string op;                    // empty for "=", else "+", "-", "*", "/", "//", "%" or "^"
    std::optional<BinaryOp> compound;  // the operator of a compound assignment
};

struct ExprStmt final : Stmt {
    ExprStmt(ExprPtr expr_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::Expr, line_, column_), expr(std::move(expr_)) {}
    ExprPtr expr;
};

struct IfBranch {
    ExprPtr cond;  // empty for the final "else"
    StmtList body;
    uint32_t endOffset = kNoOffset;  // the "elif", "else" or "end" after the body
};

struct IfStmt final : Stmt {
    IfStmt(std::vector<IfBranch> branches_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::If, line_, column_), branches(std::move(branches_)) {}
    std::vector<IfBranch> branches;
};

struct WhileStmt final : Stmt {
    WhileStmt(ExprPtr cond_, StmtList body_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::While, line_, column_), cond(std::move(cond_)), body(std::move(body_)) {}
    ExprPtr cond;
    StmtList body;
    uint32_t endOffset = kNoOffset;
};

struct NumericForStmt final : Stmt {
    NumericForStmt(std::string var_, ExprPtr start_, ExprPtr end_, ExprPtr step_, StmtList body_, int32_t line_,
                   int32_t column_)
        : Stmt(StmtKind::NumericFor, line_, column_), var(std::move(var_)), start(std::move(start_)),
          end(std::move(end_)), step(std::move(step_)), body(std::move(body_)) {}
    std::string var;
    ExprPtr start;
    ExprPtr end;
    ExprPtr step;  // may be empty
    StmtList body;
    uint32_t varOffset = kNoOffset;
    uint32_t endOffset = kNoOffset;
};

struct ForInStmt final : Stmt {
    ForInStmt(std::string var_, ExprPtr iterable_, StmtList body_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::ForIn, line_, column_), var(std::move(var_)), iterable(std::move(iterable_)),
          body(std::move(body_)) {}
    std::string var;
    ExprPtr iterable;
    StmtList body;
    uint32_t varOffset = kNoOffset;
    uint32_t endOffset = kNoOffset;
};

struct FunctionDeclStmt final : Stmt {
    FunctionDeclStmt(std::string name_, std::vector<std::string> params_, StmtList body_, int32_t line_,
                     int32_t column_)
        : Stmt(StmtKind::FunctionDecl, line_, column_), name(std::move(name_)), params(std::move(params_)),
          body(std::move(body_)) {}
    std::string name;
    std::vector<std::string> params;
    StmtList body;
    uint32_t nameOffset = kNoOffset;
    std::vector<uint32_t> paramOffsets;
    uint32_t endOffset = kNoOffset;
};

struct ReturnStmt final : Stmt {
    ReturnStmt(ExprPtr value_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::Return, line_, column_), value(std::move(value_)) {}
    ExprPtr value;  // may be empty
};

struct BreakStmt final : Stmt {
    BreakStmt(int32_t line_, int32_t column_) : Stmt(StmtKind::Break, line_, column_) {}
};

struct ContinueStmt final : Stmt {
    ContinueStmt(int32_t line_, int32_t column_) : Stmt(StmtKind::Continue, line_, column_) {}
};

struct TryStmt final : Stmt {
    TryStmt(StmtList body_, std::string catchVar_, StmtList handler_, int32_t line_, int32_t column_)
        : Stmt(StmtKind::Try, line_, column_), body(std::move(body_)), catchVar(std::move(catchVar_)),
          handler(std::move(handler_)) {}
    StmtList body;
    std::string catchVar;
    StmtList handler;
    uint32_t catchOffset = kNoOffset;
    uint32_t catchVarOffset = kNoOffset;
    uint32_t endOffset = kNoOffset;
};

}  // namespace velmor
