#include "driver/run.h"

#include "compiler.h"
#include "interpreter.h"
#include "parser.h"
#include "vm.h"

namespace velmor {

PreparedProgram prepareProgram(std::string_view text, Engine engine) {
    PreparedProgram program;
    program.statements = parseSource(text);
    if (engine == Engine::BytecodeVm) program.script = compileProgram(program.statements);
    return program;
}

void runOnFreshEngine(const PreparedProgram& program, Engine engine, CallTrace* trace) {
    if (engine == Engine::BytecodeVm) {
        VM vm;
        if (trace) vm.traceCalls(trace);
        vm.run(program.script);
    } else {
        Interpreter interpreter;
        if (trace) interpreter.traceCalls(trace);
        interpreter.run(program.statements);
    }
}

}  // namespace velmor
