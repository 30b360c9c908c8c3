// The resolver against the compiler: on every line, it must find as many
// local, captured and global reads and writes (and global definitions) as
// the compiled code has instructions for them.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "compiler.h"
#include "lsp/resolver.h"
#include "lsp_support.h"
#include "parser.h"

using namespace velmor;
using namespace velmor::lsp;

namespace {

enum Counter { GetLocal, SetLocal, GetUpvalue, SetUpvalue, GetGlobal, SetGlobal, DefineGlobal, kCounters };
using Counts = std::map<uint32_t, std::array<int, kCounters>>;

void countCompiled(const FunctionProto& proto, Counts& counts) {
    for (size_t at = 0; at < proto.code.size(); at += static_cast<size_t>(instructionLength(proto.code[at]))) {
        int counter = -1;
        switch (proto.code[at]) {
        case OP_GET_LOCAL: counter = GetLocal; break;
        case OP_SET_LOCAL: counter = SetLocal; break;
        case OP_GET_UPVALUE: counter = GetUpvalue; break;
        case OP_SET_UPVALUE: counter = SetUpvalue; break;
        case OP_GET_GLOBAL: counter = GetGlobal; break;
        case OP_SET_GLOBAL: counter = SetGlobal; break;
        case OP_DEFINE_GLOBAL: counter = DefineGlobal; break;
        default: break;
        }
        if (counter >= 0) ++counts[proto.lines[at]][static_cast<size_t>(counter)];
    }
    for (const auto& child : proto.protos) countCompiled(*child, counts);
}

// The loops' own bookkeeping reads and writes their hidden locals on the
// loop's line, wherever the loop stands (function literals included).
void countLoopBookkeeping(const StmtList& statements, Counts& counts);

void countLoopBookkeeping(const Expr* root, Counts& counts) {
    std::vector<const Expr*> pending{root};
    while (!pending.empty()) {
        const Expr* expr = pending.back();
        pending.pop_back();
        if (expr == nullptr) continue;
        switch (expr->kind) {
        case ExprKind::ListLit:
            for (const auto& element : static_cast<const ListLitExpr*>(expr)->elements)
                pending.push_back(element.get());
            break;
        case ExprKind::MapLit:
            for (const auto& entry : static_cast<const MapLitExpr*>(expr)->entries) {
                pending.push_back(entry.key.get());
                pending.push_back(entry.value.get());
            }
            break;
        case ExprKind::Unary: pending.push_back(static_cast<const UnaryExpr*>(expr)->operand.get()); break;
        case ExprKind::Binary:
            pending.push_back(static_cast<const BinaryExpr*>(expr)->left.get());
            pending.push_back(static_cast<const BinaryExpr*>(expr)->right.get());
            break;
        case ExprKind::Call:
            pending.push_back(static_cast<const CallExpr*>(expr)->callee.get());
            for (const auto& argument : static_cast<const CallExpr*>(expr)->args) pending.push_back(argument.get());
            break;
        case ExprKind::Index:
            pending.push_back(static_cast<const IndexExpr*>(expr)->object.get());
            pending.push_back(static_cast<const IndexExpr*>(expr)->index.get());
            break;
        case ExprKind::Get: pending.push_back(static_cast<const GetExpr*>(expr)->object.get()); break;
        case ExprKind::Function: countLoopBookkeeping(static_cast<const FunctionExpr*>(expr)->body, counts); break;
        default: break;
        }
    }
}

void countLoopBookkeeping(const Stmt& statement, Counts& counts) {
    auto line = static_cast<uint32_t>(statement.line);
    switch (statement.kind) {
    case StmtKind::Let: countLoopBookkeeping(static_cast<const LetStmt&>(statement).init.get(), counts); break;
    case StmtKind::Assign: {
        const auto& assign = static_cast<const AssignStmt&>(statement);
        countLoopBookkeeping(assign.target.get(), counts);
        countLoopBookkeeping(assign.value.get(), counts);
        break;
    }
    case StmtKind::Expr: countLoopBookkeeping(static_cast<const ExprStmt&>(statement).expr.get(), counts); break;
    case StmtKind::Return: countLoopBookkeeping(static_cast<const ReturnStmt&>(statement).value.get(), counts); break;
    case StmtKind::NumericFor: {
        const auto& loop = static_cast<const NumericForStmt&>(statement);
        counts[line][GetLocal] += 5;
        counts[line][SetLocal] += 1;
        countLoopBookkeeping(loop.start.get(), counts);
        countLoopBookkeeping(loop.end.get(), counts);
        countLoopBookkeeping(loop.step.get(), counts);
        countLoopBookkeeping(loop.body, counts);
        break;
    }
    case StmtKind::ForIn: {
        const auto& loop = static_cast<const ForInStmt&>(statement);
        counts[line][GetLocal] += 5;
        counts[line][SetLocal] += 2;
        countLoopBookkeeping(loop.iterable.get(), counts);
        countLoopBookkeeping(loop.body, counts);
        break;
    }
    case StmtKind::If:
        for (const IfBranch& branch : static_cast<const IfStmt&>(statement).branches) {
            countLoopBookkeeping(branch.cond.get(), counts);
            countLoopBookkeeping(branch.body, counts);
        }
        break;
    case StmtKind::While: {
        const auto& loop = static_cast<const WhileStmt&>(statement);
        countLoopBookkeeping(loop.cond.get(), counts);
        countLoopBookkeeping(loop.body, counts);
        break;
    }
    case StmtKind::FunctionDecl:
        countLoopBookkeeping(static_cast<const FunctionDeclStmt&>(statement).body, counts);
        break;
    case StmtKind::Try: {
        const auto& attempt = static_cast<const TryStmt&>(statement);
        countLoopBookkeeping(attempt.body, counts);
        countLoopBookkeeping(attempt.handler, counts);
        break;
    }
    default: break;
    }
}

void countLoopBookkeeping(const StmtList& statements, Counts& counts) {
    for (const StmtPtr& statement : statements) countLoopBookkeeping(*statement, counts);
}

Counts countResolved(const Resolution& resolution) {
    Counts counts;
    for (const Occurrence& occurrence : resolution.occurrences) {
        auto& line = counts[static_cast<uint32_t>(occurrence.line)];
        int offsetOfKind = occurrence.binding == Binding::Local ? 0 : occurrence.binding == Binding::Upvalue ? 2 : 4;
        if (occurrence.declaration) {
            if (occurrence.binding == Binding::Global) ++line[DefineGlobal];
            continue;
        }
        if (occurrence.read) ++line[static_cast<size_t>(offsetOfKind)];
        if (occurrence.write) ++line[static_cast<size_t>(offsetOfKind + 1)];
    }
    return counts;
}

std::string show(const Counts& counts) {
    std::string out;
    for (const auto& [line, values] : counts) {
        bool any = false;
        for (int value : values) any = any || value != 0;
        if (!any) continue;
        out += std::to_string(line) + ":";
        for (int value : values) out += " " + std::to_string(value);
        out += "\n";
    }
    return out;
}

// "" when the resolver agrees with the compiler on a program that compiles; nullopt when it does not compile.
std::optional<std::string> compare(const std::string& text) {
    StmtList program;
    Ref<FunctionProto> proto;
    try {
        program = parseSource(text);
        proto = compileProgram(program);
    } catch (const VelmorError&) {
        return std::nullopt;
    }
    TolerantParse parse = parseTolerant(text);
    TextIndex index(text);
    Counts compiled;
    countCompiled(*proto, compiled);
    Counts resolved = countResolved(resolveProgram(parse.program, index, parse.tokens));
    countLoopBookkeeping(parse.program, resolved);
    if (show(compiled) == show(resolved)) return "";
    return "compiler:\n" + show(compiled) + "resolver:\n" + show(resolved);
}

Resolution resolve(const std::string& text, TolerantParse& parse, TextIndex& index) {
    parse = parseTolerant(text);
    return resolveProgram(parse.program, index, parse.tokens);
}

// The symbol kind and declaration line that the name at `needle` (its first
// occurrence after `from`) resolves to, as "kind@line" or "global".
std::string bindingAt(const std::string& text, const std::string& needle, size_t from = 0) {
    TolerantParse parse;
    TextIndex index(text);
    Resolution resolution = resolve(text, parse, index);
    size_t offset = text.find(needle, from);
    int32_t found = resolution.occurrenceAt(static_cast<uint32_t>(offset));
    if (found < 0) return "none";
    const Occurrence& occurrence = resolution.occurrences[static_cast<size_t>(found)];
    const Symbol& symbol = resolution.symbols[static_cast<size_t>(occurrence.symbol)];
    if (symbol.kind == SymbolKind::Global) return "global";
    std::string binding = occurrence.binding == Binding::Upvalue ? "upvalue " : "local ";
    return binding + std::to_string(index.toPosition(symbol.declarations.at(0)).line + 1);
}

}  // namespace

TEST(LspResolver, AgreesWithTheCompilerOnEveryFileAndMutant) {
    auto texts = lsptest::repositoryScripts();
    auto mutated = lsptest::mutants(texts, 3000, 7);
    texts.insert(texts.end(), mutated.begin(), mutated.end());
    size_t compared = 0;
    size_t disagreements = 0;
    for (const std::string& text : texts) {
        auto difference = compare(text);
        if (!difference) continue;
        ++compared;
        if (!difference->empty() && ++disagreements <= 5)
            ADD_FAILURE() << *difference << "in:\n" << text.substr(0, 800);
    }
    EXPECT_EQ(disagreements, 0u);
    EXPECT_GT(compared, 1000u);
    std::cout << "[ agreement ] resolver and compiler agree on " << compared - disagreements << " of " << compared
              << " programs\n";
}

TEST(LspResolver, FollowsTheCompilersScopes) {
    // A let's initializer sees the outer variable; the new one is seen after it.
    std::string shadow = "let x = 1\nif true then\n  let x = x + 1\n  print(x)\nend\n";
    EXPECT_EQ(bindingAt(shadow, "x + 1"), "global");
    EXPECT_EQ(bindingAt(shadow, "x)"), "local 3");
    // A block-level function can call itself; a block-level let of a function cannot.
    std::string recursion =
        "if true then\n  function f(n) return f(n) end\n  let g = function(n) return g(n) end\nend\n";
    EXPECT_EQ(bindingAt(recursion, "f(n) end"), "upvalue 2");
    EXPECT_EQ(bindingAt(recursion, "g(n) end"), "global");
    // Parameters, captured locals through two functions, loop and catch variables.
    std::string nested = "function outer(a)\n  let b = 2\n  return function()\n    return function() return a + b end\n"
                         "  end\nend\nfor i = 1, i + 3 do print(i) end\nfor k in [] do print(k) end\n"
                         "try error(1) catch e print(e) end\n";
    EXPECT_EQ(bindingAt(nested, "a + b"), "upvalue 1");
    EXPECT_EQ(bindingAt(nested, "b end"), "upvalue 2");
    EXPECT_EQ(bindingAt(nested, "i + 3"), "local 7");
    EXPECT_EQ(bindingAt(nested, "i) end"), "local 7");
    EXPECT_EQ(bindingAt(nested, "k) end"), "local 8");
    EXPECT_EQ(bindingAt(nested, "e) end"), "local 9");
    // Top-level names are globals, also where a function uses them.
    EXPECT_EQ(bindingAt("function f() return later end\nlet later = 1\n", "later end"), "global");
}

TEST(LspResolver, ReportsEveryMisplacedLoopExit) {
    TolerantParse parse;
    std::string text = "break\nwhile true do\n  function f() continue end\n  break\nend\ncontinue\n";
    TextIndex index(text);
    Resolution resolution = resolve(text, parse, index);
    ASSERT_EQ(resolution.misplacedExits.size(), 3u);
    EXPECT_EQ(resolution.misplacedExits[0].line, 1);
    EXPECT_FALSE(resolution.misplacedExits[1].isBreak);
    EXPECT_EQ(resolution.misplacedExits[1].line, 3);
    EXPECT_EQ(resolution.misplacedExits[2].line, 6);
}

TEST(LspResolver, FlatChainsDoNotRecurse) {
    // "let s = a + a + ... + a" with 100,000 terms, built directly: far
    // deeper than the native stack when walked recursively.
    constexpr int kTerms = 100000;
    std::string text = "let s = a\n";
    ExprPtr chain = std::make_unique<NameExpr>("a", 1, 9);
    for (int i = 1; i < kTerms; ++i) {
        chain = std::make_unique<BinaryExpr>("+", std::move(chain), std::make_unique<NameExpr>("a", 1, 9), 1, 9);
    }
    StmtList program;
    program.push_back(std::make_unique<LetStmt>("s", std::move(chain), 1, 1));
    TextIndex index(text);
    Resolution resolution = resolveProgram(program, index, tokenize(text));
    EXPECT_EQ(resolution.occurrences.size(), static_cast<size_t>(kTerms));
    // Taken apart from the top, so that the test itself does not recurse either.
    ExprPtr rest = std::move(static_cast<LetStmt&>(*program[0]).init);
    while (rest && rest->kind == ExprKind::Binary) rest = std::move(static_cast<BinaryExpr&>(*rest).left);
}

TEST(LspResolver, BlocksNestedDeeperThanTheNativeStackStopTheWalkThere) {
    // "while x do" nested 200,000 deep, built directly: the walk stops where
    // the stack would end and says where; what comes after is still resolved.
    constexpr int kDepth = 200000;
    std::string text = "while x do\nend\nlet y = 1\n";
    StmtList program;
    for (int i = 0; i < kDepth; ++i) {
        StmtList outer;
        outer.push_back(std::make_unique<WhileStmt>(std::make_unique<NameExpr>("x", 1, 7), std::move(program), 1, 1));
        program = std::move(outer);
    }
    program.push_back(std::make_unique<LetStmt>("y", std::make_unique<LiteralExpr>(Value(int64_t{1}), 3, 9), 3, 1));
    static_cast<LetStmt&>(*program.back()).nameOffset = static_cast<uint32_t>(text.find('y'));
    TextIndex index(text);
    Resolution resolution = resolveProgram(program, index, tokenize(text));
    EXPECT_EQ(resolution.tooDeepLine, 1);
    EXPECT_EQ(resolution.tooDeepColumn, 1);
    EXPECT_TRUE(resolution.globals.contains("y"));
    while (!program.empty() && program[0]->kind == StmtKind::While) {
        StmtList inner = std::move(static_cast<WhileStmt&>(*program[0]).body);
        program = std::move(inner);
    }
}
