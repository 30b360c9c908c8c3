#pragma once

// Small builders for syntax trees, so that compiler tests can state the
// program they compile without depending on the parser. Every node is placed
// at line 1, column 1 unless wrapped in `at`.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ast.h"

namespace velmor::tree {

template <class Node>
Node at(int32_t line, int32_t column, Node node) {
    node->line = line;
    node->column = column;
    return node;
}

template <class... Statements>
StmtList block(Statements&&... statements) {
    StmtList list;
    (list.push_back(std::forward<Statements>(statements)), ...);
    return list;
}

template <class... Expressions>
std::vector<ExprPtr> exprs(Expressions&&... expressions) {
    std::vector<ExprPtr> list;
    (list.push_back(std::forward<Expressions>(expressions)), ...);
    return list;
}

// ---- expressions

inline ExprPtr literal(Value value) { return std::make_unique<LiteralExpr>(std::move(value), 1, 1); }
inline ExprPtr num(int64_t value) { return literal(Value(value)); }
inline ExprPtr real(double value) { return literal(Value(value)); }
inline ExprPtr str(const char* text) { return literal(Value(text)); }
inline ExprPtr nil() { return literal(Value()); }
inline ExprPtr truth(bool value) { return literal(Value(value)); }
inline ExprPtr name(std::string text) { return std::make_unique<NameExpr>(std::move(text), 1, 1); }

inline ExprPtr unary(std::string op, ExprPtr operand) {
    return std::make_unique<UnaryExpr>(std::move(op), std::move(operand), 1, 1);
}

inline ExprPtr binary(std::string op, ExprPtr left, ExprPtr right) {
    return std::make_unique<BinaryExpr>(std::move(op), std::move(left), std::move(right), 1, 1);
}

inline ExprPtr call(ExprPtr callee, std::vector<ExprPtr> args = {}) {
    return std::make_unique<CallExpr>(std::move(callee), std::move(args), 1, 1);
}

inline ExprPtr index(ExprPtr object, ExprPtr key) {
    return std::make_unique<IndexExpr>(std::move(object), std::move(key), 1, 1);
}

inline ExprPtr get(ExprPtr object, std::string field) {
    return std::make_unique<GetExpr>(std::move(object), std::move(field), 1, 1);
}

inline ExprPtr list(std::vector<ExprPtr> elements) { return std::make_unique<ListLitExpr>(std::move(elements), 1, 1); }

inline ExprPtr map(std::vector<std::pair<ExprPtr, ExprPtr>> pairs) {
    std::vector<MapEntryExpr> entries;
    for (auto& [key, value] : pairs) entries.push_back(MapEntryExpr{std::move(key), std::move(value)});
    return std::make_unique<MapLitExpr>(std::move(entries), 1, 1);
}

inline ExprPtr function(std::vector<std::string> params, StmtList body) {
    return std::make_unique<FunctionExpr>("<anonymous>", std::move(params), std::move(body), 1, 1);
}

// ---- statements

inline StmtPtr let(std::string variable, ExprPtr init) {
    return std::make_unique<LetStmt>(std::move(variable), std::move(init), 1, 1);
}

inline StmtPtr assign(ExprPtr target, ExprPtr value, std::string op = "") {
    return std::make_unique<AssignStmt>(std::move(target), std::move(value), std::move(op), 1, 1);
}

inline StmtPtr expr(ExprPtr expression) { return std::make_unique<ExprStmt>(std::move(expression), 1, 1); }

inline StmtPtr ret(ExprPtr value = nullptr) { return std::make_unique<ReturnStmt>(std::move(value), 1, 1); }

inline StmtPtr breakStmt() { return std::make_unique<BreakStmt>(1, 1); }
inline StmtPtr continueStmt() { return std::make_unique<ContinueStmt>(1, 1); }

inline IfBranch branch(ExprPtr cond, StmtList body) { return IfBranch{std::move(cond), std::move(body)}; }
inline IfBranch elseBranch(StmtList body) { return IfBranch{nullptr, std::move(body)}; }

template <class... Branches>
StmtPtr ifStmt(Branches&&... branches) {
    std::vector<IfBranch> list;
    (list.push_back(std::forward<Branches>(branches)), ...);
    return std::make_unique<IfStmt>(std::move(list), 1, 1);
}

inline StmtPtr whileStmt(ExprPtr cond, StmtList body) {
    return std::make_unique<WhileStmt>(std::move(cond), std::move(body), 1, 1);
}

inline StmtPtr numericFor(std::string variable, ExprPtr start, ExprPtr end, ExprPtr step, StmtList body) {
    return std::make_unique<NumericForStmt>(std::move(variable), std::move(start), std::move(end), std::move(step),
                                            std::move(body), 1, 1);
}

inline StmtPtr forIn(std::string variable, ExprPtr iterable, StmtList body) {
    return std::make_unique<ForInStmt>(std::move(variable), std::move(iterable), std::move(body), 1, 1);
}

inline StmtPtr functionDecl(std::string functionName, std::vector<std::string> params, StmtList body) {
    return std::make_unique<FunctionDeclStmt>(std::move(functionName), std::move(params), std::move(body), 1, 1);
}

inline StmtPtr tryStmt(StmtList body, std::string catchVar, StmtList handler) {
    return std::make_unique<TryStmt>(std::move(body), std::move(catchVar), std::move(handler), 1, 1);
}

}  // namespace velmor::tree
