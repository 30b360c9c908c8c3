#pragma once

// The bytecode compiler: syntax tree to function prototypes.

#include "ast.h"
#include "bytecode.h"

namespace velmor {

// Compiles a whole program into its top-level prototype (empty name, arity 0).
// Throws a VelmorError labelled "CompileError" at the first error.
Ref<FunctionProto> compileProgram(const StmtList& program);

}  // namespace velmor
