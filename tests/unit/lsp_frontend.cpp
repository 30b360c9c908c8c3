// The tolerant front end against the strict one: the same first error
// everywhere, the same bytecode for every file that parses, and every error
// of a file with several independent ones.
#include <gtest/gtest.h>

#include <string>

#include "bytecode.h"
#include "compiler.h"
#include "lsp_support.h"
#include "parser.h"

using namespace velmor;

namespace {

std::string lines(const FunctionProto& proto) {
    std::string out;
    for (uint32_t line : proto.lines) out += std::to_string(line) + " ";
    for (const auto& child : proto.protos) out += "| " + lines(*child);
    return out;
}

// The outcome of compiling a tree: its listing with every line, or the compile error.
std::string compiled(const StmtList& program) {
    try {
        Ref<FunctionProto> proto = compileProgram(program);
        return disassemble(*proto) + "\nlines: " + lines(*proto);
    } catch (const VelmorError& error) {
        return "CompileError: " + error.message;
    }
}

std::string describe(const VelmorError& error) {
    return error.label + ": " + error.message + " @" + std::to_string(error.line) + ":" + std::to_string(error.column);
}

// "" when strict and tolerant agree, else what differs.
std::string compare(const std::string& text) {
    std::string strict;
    try {
        strict = "ok\n" + compiled(parseSource(text));
    } catch (const VelmorError& error) {
        strict = describe(error);
    }
    TolerantParse tolerant = parseTolerant(text);
    std::string other = tolerant.errors.empty() ? "ok\n" + compiled(tolerant.program) : describe(tolerant.errors[0]);
    if (strict == other) return "";
    return "strict: " + strict.substr(0, 300) + "\ntolerant: " + other.substr(0, 300);
}

std::vector<std::string> messages(std::string_view text) {
    std::vector<std::string> out;
    for (const VelmorError& error : parseTolerant(text).errors) out.push_back(describe(error));
    return out;
}

}  // namespace

TEST(LspTolerantParser, AgreesWithStrictOnEveryRepositoryFile) {
    auto texts = lsptest::repositoryScripts();
    ASSERT_GT(texts.size(), 150u);
    size_t clean = 0;
    for (const std::string& text : texts) {
        EXPECT_EQ(compare(text), "") << text.substr(0, 400);
        try {
            parseSource(text);
            ++clean;
        } catch (const VelmorError&) {
        }
    }
    std::cout << "[ agreement ] " << texts.size() << " files (" << clean << " parse, " << texts.size() - clean
              << " fail) agree\n";
}

TEST(LspTolerantParser, AgreesWithStrictOnMutants) {
    auto texts = lsptest::repositoryScripts();
    auto mutated = lsptest::mutants(texts, 4000, 20261209);
    ASSERT_GE(mutated.size(), 3000u);
    size_t failing = 0;
    size_t disagreements = 0;
    for (const std::string& text : mutated) {
        std::string difference = compare(text);
        if (!difference.empty() && ++disagreements <= 5)
            ADD_FAILURE() << difference << "\nin:\n" << text.substr(0, 600);
        try {
            parseSource(text);
        } catch (const VelmorError&) {
            ++failing;
        }
    }
    EXPECT_EQ(disagreements, 0u);
    std::cout << "[ agreement ] " << mutated.size() - disagreements << " of " << mutated.size() << " mutants ("
              << failing << " with an error) agree\n";
}

TEST(LspTolerantParser, ReportsEveryIndependentError) {
    EXPECT_EQ(messages("let a = 1 +\nprint(a)\nlet = 2\nprint(a\nlet b = 3\nb = = 4\n"),
              (std::vector<std::string>{"SyntaxError: unexpected end of line in expression @1:11",
                                        "SyntaxError: expected a variable name after 'let', got '=' @3:5",
                                        "SyntaxError: expected ')' after arguments, got end of line @4:7",
                                        "SyntaxError: unexpected '=' in expression @6:5"}));
    // Lexical errors come first, as lexing precedes parsing; the statements
    // they spoil report nothing more.
    EXPECT_EQ(messages("let a = (1 +\nprint(\"open)\nlet b = a ! 2\n"),
              (std::vector<std::string>{"SyntaxError (lexing): unterminated string literal @2:7",
                                        "SyntaxError (lexing): '!' must be followed by '=' (did you mean 'not'?) @3:11",
                                        "SyntaxError: unexpected end of line in expression @1:12"}));
    // Inside "${...}": errors in file positions.
    EXPECT_EQ(messages("print(1)\nprint(\"x ${a +* b} y\")\nprint(\"${;}\")\n"),
              (std::vector<std::string>{"SyntaxError: unexpected '*' in expression @2:15",
                                        "SyntaxError (lexing): unexpected character ';' @3:10"}));
}

TEST(LspTolerantParser, RecoversBlocksAroundBrokenHeaders) {
    // A broken header still parses its block; a missing "end" is taken as read.
    TolerantParse parse = parseTolerant(
        "if x > then\n  let inside = 1\nend\nwhile do\nend\nfunction f(a b)\n  return a\nend\nfor 1 in x do\nend\n"
        "try\n  g()\ncatch\nend\nfunction open()\n  let y = 2\n");
    std::vector<std::string> found;
    for (const VelmorError& error : parse.errors) found.push_back(describe(error));
    EXPECT_EQ(found, (std::vector<std::string>{
                         "SyntaxError: unexpected 'then' in expression @1:8",
                         "SyntaxError: unexpected 'do' in expression @4:7",
                         "SyntaxError: expected ')' after parameters, got 'b' @6:14",
                         "SyntaxError: expected a loop variable after 'for', got '1' @9:5",
                         "SyntaxError: expected a variable name after 'catch', got end of line @13:1",
                         "SyntaxError: expected 'end' to close function, got end of file @16:11",
                     }));
    ASSERT_EQ(parse.program.size(), 6u);
    EXPECT_EQ(parse.program[0]->kind, StmtKind::If);
    EXPECT_EQ(static_cast<const IfStmt&>(*parse.program[0]).branches[0].body.size(), 1u);
    const auto& f = static_cast<const FunctionDeclStmt&>(*parse.program[2]);
    EXPECT_EQ(f.params, (std::vector<std::string>{"a"}));
    EXPECT_EQ(f.body.size(), 1u);
    const auto& open = static_cast<const FunctionDeclStmt&>(*parse.program[5]);
    EXPECT_EQ(open.name, "open");
    EXPECT_EQ(open.body.size(), 1u);
}

TEST(LspTolerantParser, KeepsAVariableWhoseInitializerIsBroken) {
    TolerantParse parse = parseTolerant("let total = [1,\nlet after = 2\n");
    ASSERT_EQ(parse.errors.size(), 1u);
    ASSERT_EQ(parse.program.size(), 2u);
    EXPECT_EQ(static_cast<const LetStmt&>(*parse.program[0]).name, "total");
    EXPECT_EQ(static_cast<const LetStmt&>(*parse.program[1]).name, "after");
    // A stray "end" at the top level is reported and skipped.
    EXPECT_EQ(messages("end\nlet x = 1\nend\n"),
              (std::vector<std::string>{"SyntaxError: unexpected 'end' @1:1", "SyntaxError: unexpected 'end' @3:1"}));
}

TEST(LspTolerantParser, TokensSpellTheirText) {
    for (const auto& [text, tokens] : lsptest::lexedRepositoryScripts()) {
        for (const Token& token : tokens) {
            std::string_view spelling(text.data() + token.offset, token.length);
            switch (token.kind) {
            case TokenKind::String:
            case TokenKind::InterpString:
                ASSERT_GE(spelling.size(), 2u);
                EXPECT_EQ(spelling.front(), spelling.back());
                break;
            case TokenKind::Newline: EXPECT_EQ(spelling, "\n"); break;
            case TokenKind::Eof: EXPECT_EQ(token.offset, text.size()); break;
            default: EXPECT_EQ(spelling, token.text); break;
            }
        }
    }
    // Offsets count the byte-order mark; code inside "${...}" has file offsets.
    std::string text = "\xEF\xBB\xBFlet s = \"a${b + c}\"";
    TolerantParse parse = parseTolerant(text);
    EXPECT_EQ(parse.tokens[0].offset, 3u);
    const auto& let = static_cast<const LetStmt&>(*parse.program[0]);
    EXPECT_EQ(let.nameOffset, text.find('s'));
}
