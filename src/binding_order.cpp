#include "binding_order.h"

#include <string_view>
#include <unordered_set>
#include <vector>

namespace velmor {

namespace {

// Adds to `names` every name that `statement` reads or assigns, at any depth
// (inside nested blocks and function bodies too). Walks with a worklist, not
// by recursion: chains of operators may be as long as the source.
void addMentionedNames(const Stmt& statement, std::unordered_set<std::string_view>& names) {
    std::vector<const Stmt*> statements{&statement};
    std::vector<const Expr*> expressions;
    auto addBlock = [&](const StmtList& block) {
        for (const StmtPtr& inner : block) statements.push_back(inner.get());
    };
    auto addExpr = [&](const ExprPtr& expression) {
        if (expression) expressions.push_back(expression.get());
    };
    while (!statements.empty() || !expressions.empty()) {
        if (!expressions.empty()) {
            const Expr& expression = *expressions.back();
            expressions.pop_back();
            switch (expression.kind) {
            case ExprKind::Literal: break;
            case ExprKind::ListLit:
                for (const ExprPtr& element : static_cast<const ListLitExpr&>(expression).elements) addExpr(element);
                break;
            case ExprKind::MapLit:
                for (const MapEntryExpr& entry : static_cast<const MapLitExpr&>(expression).entries) {
                    addExpr(entry.key);
                    addExpr(entry.value);
                }
                break;
            case ExprKind::Name: names.insert(static_cast<const NameExpr&>(expression).name); break;
            case ExprKind::Unary: addExpr(static_cast<const UnaryExpr&>(expression).operand); break;
            case ExprKind::Binary:
                addExpr(static_cast<const BinaryExpr&>(expression).left);
                addExpr(static_cast<const BinaryExpr&>(expression).right);
                break;
            case ExprKind::Call:
                addExpr(static_cast<const CallExpr&>(expression).callee);
                for (const ExprPtr& argument : static_cast<const CallExpr&>(expression).args) addExpr(argument);
                break;
            case ExprKind::Index:
                addExpr(static_cast<const IndexExpr&>(expression).object);
                addExpr(static_cast<const IndexExpr&>(expression).index);
                break;
            case ExprKind::Get: addExpr(static_cast<const GetExpr&>(expression).object); break;
            case ExprKind::Function: addBlock(static_cast<const FunctionExpr&>(expression).body); break;
            }
            continue;
        }
        const Stmt& current = *statements.back();
        statements.pop_back();
        switch (current.kind) {
        case StmtKind::Let: addExpr(static_cast<const LetStmt&>(current).init); break;
        case StmtKind::Assign:
            addExpr(static_cast<const AssignStmt&>(current).target);
            addExpr(static_cast<const AssignStmt&>(current).value);
            break;
        case StmtKind::Expr: addExpr(static_cast<const ExprStmt&>(current).expr); break;
        case StmtKind::If:
            for (const IfBranch& branch : static_cast<const IfStmt&>(current).branches) {
                addExpr(branch.cond);
                addBlock(branch.body);
            }
            break;
        case StmtKind::While:
            addExpr(static_cast<const WhileStmt&>(current).cond);
            addBlock(static_cast<const WhileStmt&>(current).body);
            break;
        case StmtKind::NumericFor: {
            const auto& node = static_cast<const NumericForStmt&>(current);
            addExpr(node.start);
            addExpr(node.end);
            addExpr(node.step);
            addBlock(node.body);
            break;
        }
        case StmtKind::ForIn:
            addExpr(static_cast<const ForInStmt&>(current).iterable);
            addBlock(static_cast<const ForInStmt&>(current).body);
            break;
        case StmtKind::FunctionDecl: addBlock(static_cast<const FunctionDeclStmt&>(current).body); break;
        case StmtKind::Return: addExpr(static_cast<const ReturnStmt&>(current).value); break;
        case StmtKind::Break:
        case StmtKind::Continue: break;
        case StmtKind::Try:
            addBlock(static_cast<const TryStmt&>(current).body);
            addBlock(static_cast<const TryStmt&>(current).handler);
            break;
        }
    }
}

}  // namespace

bool declaresBeforeUse(const StmtList& body) {
    std::unordered_set<std::string_view> mentioned;
    for (const StmtPtr& statement : body) {
        addMentionedNames(*statement, mentioned);
        const std::string* declared = nullptr;
        if (statement->kind == StmtKind::Let) declared = &static_cast<const LetStmt&>(*statement).name;
        if (statement->kind == StmtKind::FunctionDecl)
            declared = &static_cast<const FunctionDeclStmt&>(*statement).name;
        if (declared && mentioned.contains(*declared)) return false;
    }
    return true;
}

}  // namespace velmor
