#pragma once

// The virtual machine: runs compiled prototypes on one fixed-size value stack.

#include <cstdint>
#include <vector>

#include "builtins/native.h"
#include "bytecode.h"
#include "environment.h"
#include "value.h"

namespace velmor {

struct Upvalue final : Object {
    Value* location;  // a stack slot while open, &closed once closed
    Value closed;
};

struct VMClosure final : Callable {
    explicit VMClosure(Ref<FunctionProto> proto_) : proto(std::move(proto_)) {}
    const std::string& name() const override { return proto->name; }

    Ref<FunctionProto> proto;
    std::vector<Ref<Upvalue>> upvalues;
};

class VM final : public Caller {
public:
    VM();
    ~VM() override;

    // Runs a top-level prototype; what the top-level code returned (nil unless a top-level return gave a value).
    Value run(Ref<FunctionProto> script);

    Value call(const Value& callee, std::vector<Value> args) override;

    Ref<Environment> globals;
};

}  // namespace velmor
