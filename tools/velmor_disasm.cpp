// velmor-disasm FILE: compiles a Velmor source file and prints the listing of
// every function prototype, the top-level script first.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "compiler.h"
#include "error.h"
#include "parser.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmor-disasm FILE\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "velmor-disasm: cannot open '" << argv[1] << "'\n";
        return 1;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    std::string source = contents.str();

    try {
        velmor::StmtList program = velmor::parseSource(source);
        velmor::Ref<velmor::FunctionProto> proto = velmor::compileProgram(program);
        std::cout << velmor::disassemble(*proto);
    } catch (const velmor::VelmorError& error) {
        std::cerr << velmor::formatReport(error, source, argv[1]) << "\n";
        return 1;
    }
    return 0;
}
