#pragma once

// A scope: the bindings of one block, call or loop iteration, with a link to
// the enclosing scope. The tree-walker chains them; the VM keeps its globals
// in one.

#include <string>
#include <unordered_map>

#include "value.h"

namespace velmor {

struct Environment final : Object {
    explicit Environment(Ref<Environment> parent_ = nullptr) : parent(std::move(parent_)) {}

    // Bind `name` in this scope, overwriting a binding of this scope only.
    void define(const std::string& name, Value value) { vars.insert_or_assign(name, std::move(value)); }

    // The first binding found from this scope outwards, or nullptr.
    Value* lookup(const std::string& name) {
        for (Environment* env = this; env; env = env->parent.get()) {
            auto it = env->vars.find(name);
            if (it != env->vars.end()) return &it->second;
        }
        return nullptr;
    }

    // Overwrite the first binding found; false when no scope binds the name.
    bool assign(const std::string& name, Value value) {
        Value* slot = lookup(name);
        if (!slot) return false;
        *slot = std::move(value);
        return true;
    }

    std::unordered_map<std::string, Value> vars;
    Ref<Environment> parent;
};

}  // namespace velmor
