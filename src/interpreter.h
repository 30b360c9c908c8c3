#pragma once

// The tree-walking interpreter: executes the syntax tree directly.

#include <cstdint>
#include <string>
#include <vector>

#include "ast.h"
#include "builtins/native.h"
#include "environment.h"
#include "value.h"

namespace velmor {

// A function defined in Velmor and run by the tree-walker. It points into the
// syntax tree that defined it without owning it: the tree must outlive it.
struct FunctionObj final : Callable {
    FunctionObj(std::string name, const std::vector<std::string>* params_, const StmtList* body_,
                Ref<Environment> closure_)
        : functionName_(std::move(name)), params(params_), body(body_), closure(std::move(closure_)) {}
    const std::string& name() const override { return functionName_; }

    std::string functionName_;
    const std::vector<std::string>* params;
    const StmtList* body;
    Ref<Environment> closure;
};

class Interpreter final : public Caller {
public:
    Interpreter();
    ~Interpreter() override;

    // Executes a whole program in the global scope.
    void run(const StmtList& statements);
    // As run, but the value of a final expression statement is the result (nil otherwise).
    Value runRepl(const StmtList& statements);

    Value call(const Value& callee, std::vector<Value> args) override;

    Ref<Environment> globals;
};

}  // namespace velmor
