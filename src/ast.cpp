#include "ast.h"

namespace velmor {

BinaryOp binaryOpFromSpelling(const std::string& s) {
    if (s == "+") return BinaryOp::Add;
    if (s == "-") return BinaryOp::Sub;
    if (s == "*") return BinaryOp::Mul;
    if (s == "/") return BinaryOp::Div;
    if (s == "//") return BinaryOp::FloorDiv;
    if (s == "%") return BinaryOp::Mod;
    if (s == "^") return BinaryOp::Pow;
    if (s == "==") return BinaryOp::Eq;
    if (s == "!=") return BinaryOp::NotEq;
    if (s == "<") return BinaryOp::Less;
    if (s == "<=") return BinaryOp::LessEq;
    if (s == ">") return BinaryOp::Greater;
    if (s == ">=") return BinaryOp::GreaterEq;
    if (s == "and") return BinaryOp::And;
    return BinaryOp::Or;
}

}  // namespace velmor
