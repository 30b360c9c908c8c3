// The compiler on parsed source: a few shapes written as Velmor text, and a
// sweep over every script test checking the structural invariants of what
// real programs compile to.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler_support.h"
#include "parser.h"

namespace velmor {
namespace {

using testing::compileChecked;
using testing::listing;

Ref<FunctionProto> compileText(std::string_view source) {
    StmtList program = parseSource(source);
    return compileChecked(program);
}

TEST(CompilerPrograms, ParsedShapesMatchHandBuiltOnes) {
    Ref<FunctionProto> sum = compileText("let x = 1 + 2\n");
    EXPECT_EQ(sum->code,
              (std::vector<uint8_t>{0x00, 0x00, 0x01, 0x00, 0x00, 0x02, 0x12, 0x05, 0x00, 0x00, 0x01, 0x27}));

    Ref<FunctionProto> field = compileText("a.b += 1\n");
    EXPECT_EQ(field->code, (std::vector<uint8_t>{OP_GET_GLOBAL, 0, 0, OP_CONSTANT, 0, 1, OP_GET_INDEX_KEEP, OP_CONSTANT,
                                                 0, 2, OP_ADD, OP_SET_INDEX, OP_POP, OP_NIL, OP_RETURN}));
}

TEST(CompilerPrograms, EveryByteCarriesTheLineOfItsNode) {
    Ref<FunctionProto> proto = compileText("let a = [\n  1,\n  f(2)\n]\n");
    EXPECT_EQ(listing(*proto), "function <script> (arity 0, 4 constants, 0 upvalues, 0 functions)\n"
                               "0000 2 OP_CONSTANT 1 ; 1\n"
                               "0003 3 OP_GET_GLOBAL 2 ; \"f\"\n"
                               "0006 3 OP_CONSTANT 3 ; 2\n"
                               "0009 3 OP_CALL 1\n"
                               "0011 1 OP_BUILD_LIST 2\n"
                               "0014 1 OP_DEFINE_GLOBAL 0 ; \"a\"\n"
                               "0017 0 OP_NIL\n"
                               "0018 0 OP_RETURN\n");
}

TEST(CompilerPrograms, InterpolationIsOrdinaryCallsAndConcatenation) {
    Ref<FunctionProto> proto = compileText("let s = \"a${x}b\"\n");
    EXPECT_EQ(
        proto->code,
        (std::vector<uint8_t>{
            OP_CONSTANT, 0, 1,      OP_GET_GLOBAL,    0, 2, OP_GET_GLOBAL, 0,        3, OP_CALL, 1, OP_ADD, OP_CONSTANT,
            0,           4, OP_ADD, OP_DEFINE_GLOBAL, 0, 0, OP_NIL,        OP_RETURN}));
    EXPECT_EQ(proto->constants[2].asString(), "str");
}

TEST(CompilerPrograms, CompileErrorsFromSource) {
    try {
        compileText("let f = function()\n  while true do\n    let g = function() continue end\n  end\nend\n");
        FAIL() << "expected a CompileError";
    } catch (const VelmorError& error) {
        EXPECT_EQ(error.label, "CompileError");
        EXPECT_EQ(error.message, "'continue' outside a loop");
        EXPECT_EQ(error.line, 3);
        EXPECT_EQ(error.column, 24);
    }
}

// Every script test that parses must compile to well-formed prototypes, and
// compiling it twice must give the same code.
TEST(CompilerPrograms, ScriptTestsCompileToWellFormedCode) {
    const std::filesystem::path scripts = VELMOR_SCRIPT_TESTS;
    ASSERT_TRUE(std::filesystem::is_directory(scripts)) << "no script folder at " << scripts;
    int compiled = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(scripts)) {
        if (entry.path().extension() != ".vlm") continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        std::string source = text.str();
        StmtList program;
        try {
            program = parseSource(source);
        } catch (const VelmorError&) {
            continue;  // scripts about syntax errors
        }
        SCOPED_TRACE(entry.path().string());
        Ref<FunctionProto> first;
        try {
            first = compileProgram(program);
        } catch (const VelmorError& error) {
            EXPECT_EQ(error.label, "CompileError");
            continue;
        }
        testing::expectWellFormed(*first);
        EXPECT_EQ(disassemble(*first), disassemble(*compileProgram(program)));
        ++compiled;
    }
    EXPECT_GT(compiled, 0);
}

}  // namespace
}  // namespace velmor
