#pragma once

// The bytecode compiler: syntax tree to function prototypes, in one pass and
// without optimisation, so that the instruction shapes stay fixed.

#include "ast.h"
#include "bytecode.h"

namespace velmor {

// Compiles a whole program into its top-level prototype (empty name, arity 0).
// Throws a VelmorError labelled "CompileError" at the first error: a misplaced
// `break`/`continue` (at its position), more than 255 arguments in a call (at
// the call), more list elements or map pairs in one literal than a 16-bit
// count holds (at the literal), and, with no position, a full constant pool,
// a jump or loop longer than 65,535 bytes, and more locals (65,536),
// upvalues (256) or child functions (65,536) than their operands address.
Ref<FunctionProto> compileProgram(const StmtList& program);

}  // namespace velmor
