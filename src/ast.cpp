#include "ast.h"

#include <utility>
#include <vector>

namespace velmor {

namespace {

// Moves the children of `node` that are chain links to `pending`.
void detachLinks(Expr& node, std::vector<ExprPtr>& pending) {
    auto take = [&pending](ExprPtr& child) {
        if (child && isChainLink(*child)) pending.push_back(std::move(child));
    };
    switch (node.kind) {
    case ExprKind::Binary: {
        auto& binary = static_cast<BinaryExpr&>(node);
        take(binary.left);
        take(binary.right);
        break;
    }
    case ExprKind::Call: take(static_cast<CallExpr&>(node).callee); break;
    case ExprKind::Index: {
        auto& index = static_cast<IndexExpr&>(node);
        take(index.object);
        take(index.index);
        break;
    }
    case ExprKind::Get: take(static_cast<GetExpr&>(node).object); break;
    default: break;
    }
}

// Frees the chained children of `root` one node at a time: each node is
// freed after its own chained children were taken from it, so no
// destructor recurses along a chain.
void releaseChains(Expr& root) {
    std::vector<ExprPtr> pending;
    detachLinks(root, pending);
    while (!pending.empty()) {
        ExprPtr node = std::move(pending.back());
        pending.pop_back();
        detachLinks(*node, pending);
    }
}

}  // namespace

BinaryExpr::~BinaryExpr() { releaseChains(*this); }
CallExpr::~CallExpr() { releaseChains(*this); }
IndexExpr::~IndexExpr() { releaseChains(*this); }
GetExpr::~GetExpr() { releaseChains(*this); }

}  // namespace velmor
