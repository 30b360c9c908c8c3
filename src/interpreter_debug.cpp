#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "error.h"
#include "interpreter.h"

// What a debugger sees of the tree-walker, out of the interpreter's own
// unit so that nothing here weighs on how its hot paths are compiled.

namespace velmor {

ExecStatus Interpreter::executeBlockDebugged(const StmtList& statements, Environment& environment) {
    // A block begins: the hook sees again the statement that runs it (a
    // loop's next pass, a branch taken), then each statement of the block.
    if (!debugFrames_.empty() && debugFrames_.back().line > 0) {
        debugErrorShown_ = false;
        debugHook_->atStatement(*this, debugFrames_.back().line, debugFrames_.size());
    }
    for (const StmtPtr& statement : statements) {
        const ExecStatus status = executeDebugged(*statement, environment);
        if (status != ExecStatus::Normal) return status;
    }
    return ExecStatus::Normal;
}

ExecStatus Interpreter::executeDebugged(const Stmt& statement, Environment& environment) {
    if (debugFrames_.empty()) return executeStatement(statement, environment);  // a call from outside a run
    // The record says this statement while it runs; the one it ran within again after.
    struct Current {
        std::vector<DebugRecord>& frames;
        std::size_t index;
        DebugRecord saved;
        Current(std::vector<DebugRecord>& frames_, const Stmt& statement, Environment& environment)
            : frames(frames_), index(frames_.size() - 1), saved(frames_[index]) {
            DebugRecord& record = frames[index];
            record.line = statement.line;
            record.column = statement.column;
            record.scope = &environment;
        }
        ~Current() {
            DebugRecord& record = frames[index];
            record.line = saved.line;
            record.column = saved.column;
            record.scope = saved.scope;
        }
        Current(const Current&) = delete;
        Current& operator=(const Current&) = delete;
    } const current(debugFrames_, statement, environment);
    // Code runs again: whatever error was shown has been caught, or ended a call from the console.
    debugErrorShown_ = false;
    debugHook_->atStatement(*this, statement.line, debugFrames_.size());
    try {
        return executeStatement(statement, environment);
    } catch (const RuntimeError& error) {
        debugRaised(Value(error.message), false);
        throw;
    } catch (const ThrownValue& thrown) {
        debugRaised(thrown.value, true);
        throw;
    }
}

void Interpreter::debugRaised(const Value& error, bool thrown) {
    if (debugErrorShown_) return;
    debugErrorShown_ = true;
    debugHook_->raised(*this, error, thrown, openTries_ > 0);
}

DebugFrame Interpreter::debugFrame(std::size_t index) const {
    const DebugRecord& record = debugFrames_[debugFrames_.size() - 1 - index];
    return DebugFrame{record.function, record.line, record.column};
}

std::vector<DebugVariable> Interpreter::variablesBetween(Environment* from, const Environment* to) {
    std::vector<DebugVariable> variables;
    for (Environment* scope = from; scope && scope != to; scope = scope->parent.get()) {
        const std::size_t outer = variables.size();
        for (auto& binding : scope->vars) {
            const std::string& name = binding.first;
            Value& value = binding.second;
            const bool shadowed = std::any_of(variables.begin(), variables.begin() + static_cast<std::ptrdiff_t>(outer),
                                              [&](const DebugVariable& seen) { return seen.name == name; });
            if (!shadowed) variables.push_back(DebugVariable{name, &value});
        }
        // A scope's bindings keep no order of their own: by name.
        std::sort(variables.begin() + static_cast<std::ptrdiff_t>(outer), variables.end(),
                  [](const DebugVariable& a, const DebugVariable& b) { return a.name < b.name; });
    }
    return variables;
}

std::vector<DebugVariable> Interpreter::debugLocals(std::size_t index) {
    const DebugRecord& record = debugFrames_[debugFrames_.size() - 1 - index];
    return variablesBetween(record.scope, record.closure ? record.closure : globals.get());
}

std::vector<DebugVariable> Interpreter::debugUpvalues(std::size_t index) {
    const DebugRecord& record = debugFrames_[debugFrames_.size() - 1 - index];
    if (!record.closure) return {};
    return variablesBetween(const_cast<Environment*>(record.closure), globals.get());
}

}  // namespace velmor
