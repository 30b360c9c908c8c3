#pragma once

// The stages of a run, shared by file and snippet runs, watch mode and
// benchmark mode: the front end, the compiler for the VM, then a fresh engine.

#include <string_view>

#include "ast.h"
#include "bytecode.h"
#include "call_trace.h"
#include "driver.h"

namespace velmor {

// A program made ready for an engine: its syntax tree and, once compiled,
// its top-level prototype. Tree-walker functions point into the tree, so it
// outlives every engine that runs it.
struct PreparedProgram {
    StmtList statements;
    Ref<FunctionProto> script;  // null unless compiled
};

// Lexes and parses `text`, and compiles it when `engine` is the VM; throws
// the first error of the front end or the compiler.
PreparedProgram prepareProgram(std::string_view text, Engine engine);

// Runs the program on a fresh engine of that kind, gone when this returns;
// throws what escapes the run. The VM needs the compiled script.
// With a trace, the engine records in it the calls of an error that escapes.
void runOnFreshEngine(const PreparedProgram& program, Engine engine, CallTrace* trace = nullptr);

}  // namespace velmor
