#pragma once

// The syntax tree: the one shared form of a parsed program. The parser
// builds it; the tree-walker executes it and the compiler translates it.
// Both engines tell nodes apart by the `kind` tag (a switch, then a
// static_cast); there is no visitor and no run-time type query. Every child
// is uniquely owned by its parent. Nodes hold only what the source said.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    Expr(ExprKind kind, int32_t line, int32_t column) : kind(kind), line(line), column(column) {}
    virtual ~Expr() = default;
    const ExprKind kind;
    int32_t line;
    int32_t column;
};

struct Stmt {
    Stmt(StmtKind kind, int32_t line, int32_t column) : kind(kind), line(line), column(column) {}
    virtual ~Stmt() = default;
    const StmtKind kind;
    int32_t line;
    int32_t column;
};

using ExprPtr = std::unique_ptr<Expr>;
using StmtPtr = std::unique_ptr<Stmt>;
using StmtList = std::vector<StmtPtr>;

// Binary operators, decided once by the parser from the operator spelling so
// that neither engine compares strings at run time. `op` keeps the spelling.
enum class BinaryOp : uint8_t { Add, Sub, Mul, Div, FloorDiv, Mod, Pow, Eq, NotEq, Less, LessEq, Greater, GreaterEq, And, Or };

// Operator for a spelling ("+", "//", "and", ...); the spelling must be valid.
BinaryOp binaryOpFromSpelling(const std::string& spelling);

// ---------------------------------------------------------------------------
// Expressions

struct LiteralExpr final : Expr {
    LiteralExpr(Value value, int32_t line, int32_t column)
        : Expr(ExprKind::Literal, line, column), value(std::move(value)) {}
    Value value;  // nil, bool, Int, Float or String
};

struct ListLitExpr final : Expr {
    ListLitExpr(std::vector<ExprPtr> elements, int32_t line, int32_t column)
        : Expr(ExprKind::ListLit, line, column), elements(std::move(elements)) {}
    std::vector<ExprPtr> elements;
};

struct MapEntryExpr {
    ExprPtr key;
    ExprPtr value;
};

struct MapLitExpr final : Expr {
    MapLitExpr(std::vector<MapEntryExpr> entries, int32_t line, int32_t column)
        : Expr(ExprKind::MapLit, line, column), entries(std::move(entries)) {}
    std::vector<MapEntryExpr> entries;
};

struct NameExpr final : Expr {
    NameExpr(std::string name, int32_t line, int32_t column)
        : Expr(ExprKind::Name, line, column), name(std::move(name)) {}
    std::string name;
};

struct UnaryExpr final : Expr {
    UnaryExpr(std::string op, ExprPtr operand, int32_t line, int32_t column)
        : Expr(ExprKind::Unary, line, column), op(std::move(op)), operand(std::move(operand)) {}
    std::string op;  // "-" or "not"
    ExprPtr operand;
};

struct BinaryExpr final : Expr {
    BinaryExpr(std::string op, ExprPtr left, ExprPtr right, int32_t line, int32_t column)
        : Expr(ExprKind::Binary, line, column), op(std::move(op)), left(std::move(left)), right(std::move(right)),
          binop(binaryOpFromSpelling(this->op)) {}
    std::string op;
    ExprPtr left;
    ExprPtr right;
    BinaryOp binop;
};

struct CallExpr final : Expr {
    CallExpr(ExprPtr callee, std::vector<ExprPtr> args, int32_t line, int32_t column)
        : Expr(ExprKind::Call, line, column), callee(std::move(callee)), args(std::move(args)) {}
    ExprPtr callee;
    std::vector<ExprPtr> args;
};

struct IndexExpr final : Expr {
    IndexExpr(ExprPtr object, ExprPtr index, int32_t line, int32_t column)
        : Expr(ExprKind::Index, line, column), object(std::move(object)), index(std::move(index)) {}
    ExprPtr object;
    ExprPtr index;
};

struct GetExpr final : Expr {
    GetExpr(ExprPtr object, std::string name, int32_t line, int32_t column)
        : Expr(ExprKind::Get, line, column), object(std::move(object)), name(std::move(name)),
          nameValue(Value(this->name)) {}
    ExprPtr object;
    std::string name;
    Value nameValue;  // the field name as a string Value, made once
};

struct FunctionExpr final : Expr {
    FunctionExpr(std::string name, std::vector<std::string> params, StmtList body, int32_t line, int32_t column)
        : Expr(ExprKind::Function, line, column), name(std::move(name)), params(std::move(params)),
          body(std::move(body)) {}
    std::string name;  // always "<anonymous>"
    std::vector<std::string> params;
    StmtList body;
};

// ---------------------------------------------------------------------------
// Statements

struct LetStmt final : Stmt {
    LetStmt(std::string name, ExprPtr init, int32_t line, int32_t column)
        : Stmt(StmtKind::Let, line, column), name(std::move(name)), init(std::move(init)) {}
    std::string name;
    ExprPtr init;
};

struct AssignStmt final : Stmt {
    AssignStmt(ExprPtr target, ExprPtr value, std::string op, int32_t line, int32_t column)
        : Stmt(StmtKind::Assign, line, column), target(std::move(target)), value(std::move(value)),
          op(std::move(op)) {}
    ExprPtr target;  // NameExpr, IndexExpr or GetExpr
    ExprPtr value;
    std::string op;  // empty for "=", else "+", "-", "*", "/", "//", "%" or "^"
};

struct ExprStmt final : Stmt {
    ExprStmt(ExprPtr expr, int32_t line, int32_t column)
        : Stmt(StmtKind::Expr, line, column), expr(std::move(expr)) {}
    ExprPtr expr;
};

struct IfBranch {
    ExprPtr cond;  // empty for the final "else"
    StmtList body;
};

struct IfStmt final : Stmt {
    IfStmt(std::vector<IfBranch> branches, int32_t line, int32_t column)
        : Stmt(StmtKind::If, line, column), branches(std::move(branches)) {}
    std::vector<IfBranch> branches;
};

struct WhileStmt final : Stmt {
    WhileStmt(ExprPtr cond, StmtList body, int32_t line, int32_t column)
        : Stmt(StmtKind::While, line, column), cond(std::move(cond)), body(std::move(body)) {}
    ExprPtr cond;
    StmtList body;
};

struct NumericForStmt final : Stmt {
    NumericForStmt(std::string var, ExprPtr start, ExprPtr end, ExprPtr step, StmtList body, int32_t line,
                   int32_t column)
        : Stmt(StmtKind::NumericFor, line, column), var(std::move(var)), start(std::move(start)),
          end(std::move(end)), step(std::move(step)), body(std::move(body)) {}
    std::string var;
    ExprPtr start;
    ExprPtr end;
    ExprPtr step;  // may be empty
    StmtList body;
};

struct ForInStmt final : Stmt {
    ForInStmt(std::string var, ExprPtr iterable, StmtList body, int32_t line, int32_t column)
        : Stmt(StmtKind::ForIn, line, column), var(std::move(var)), iterable(std::move(iterable)),
          body(std::move(body)) {}
    std::string var;
    ExprPtr iterable;
    StmtList body;
};

struct FunctionDeclStmt final : Stmt {
    FunctionDeclStmt(std::string name, std::vector<std::string> params, StmtList body, int32_t line,
                     int32_t column)
        : Stmt(StmtKind::FunctionDecl, line, column), name(std::move(name)), params(std::move(params)),
          body(std::move(body)) {}
    std::string name;
    std::vector<std::string> params;
    StmtList body;
};

struct ReturnStmt final : Stmt {
    ReturnStmt(ExprPtr value, int32_t line, int32_t column)
        : Stmt(StmtKind::Return, line, column), value(std::move(value)) {}
    ExprPtr value;  // may be empty
};

struct BreakStmt final : Stmt {
    BreakStmt(int32_t line, int32_t column) : Stmt(StmtKind::Break, line, column) {}
};

struct ContinueStmt final : Stmt {
    ContinueStmt(int32_t line, int32_t column) : Stmt(StmtKind::Continue, line, column) {}
};

struct TryStmt final : Stmt {
    TryStmt(StmtList body, std::string catchVar, StmtList handler, int32_t line, int32_t column)
        : Stmt(StmtKind::Try, line, column), body(std::move(body)), catchVar(std::move(catchVar)),
          handler(std::move(handler)) {}
    StmtList body;
    std::string catchVar;
    StmtList handler;
};

}  // namespace velmor
