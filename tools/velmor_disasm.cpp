// velmor-disasm [--quickened] FILE: compiles a Velmor source file and prints
// the listing of every function prototype, the top-level script first. With
// --quickened, the instructions that the VM runs fused are listed under
// their fused names (the instructions they stand for follow as compiled).

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "compiler.h"
#include "error.h"
#include "parser.h"
#include "quicken.h"

int main(int argc, char** argv) {
    const bool quickened = argc == 3 && std::strcmp(argv[1], "--quickened") == 0;
    if (argc != 2 && !quickened) {
        std::cerr << "usage: velmor-disasm [--quickened] FILE\n";
        return 2;
    }
    const char* path = argv[argc - 1];
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "velmor-disasm: cannot open '" << path << "'\n";
        return 1;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    std::string source = contents.str();

    try {
        velmor::StmtList program = velmor::parseSource(source);
        velmor::Ref<velmor::FunctionProto> proto = velmor::compileProgram(program);
        std::cout << (quickened ? velmor::disassembleQuickened(*proto) : velmor::disassemble(*proto));
    } catch (const velmor::VelmorError& error) {
        std::cerr << velmor::formatReport(error, source, path) << "\n";
        return 1;
    }
    return 0;
}
