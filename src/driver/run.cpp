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

void runOnFreshEngine(const PreparedProgram& program, Engine engine) {
    if (engine == Engine::BytecodeVm) {
        VM vm;
        vm.run(program.script);
    } else {
        Interpreter interpreter;
        interpreter.run(program.statements);
    }
}

}  // namespace velmor
