// Appends cost work in proportion to what they add, on every engine: a
// string that only its variable, element or field holds grows in place, so
// the bytes allocated while a program appends N times stay a small multiple
// of N. The bytes are counted by the allocation budget (every new string's
// room), not timed, so the check is exact on any machine.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "compiler.h"
#include "engine_options.h"
#include "execution_limits.h"
#include "interpreter.h"
#include "parser.h"
#include "vm.h"

namespace velmor {
namespace {

constexpr int kAppends = 3000;

struct EngineUnderTest {
    const char* name;
    bool vm;
    bool plain;
};
constexpr EngineUnderTest kEngines[] = {
    {"vm", true, false}, {"plain vm", true, true}, {"tree", false, false}, {"plain tree", false, true}};

// Bytes of strings (and items of lists) that running `source` allocates.
uint64_t allocatedBy(const std::string& source, const EngineUnderTest& engine) {
    StmtList program = parseSource(source);
    ExecutionLimits& limits = executionLimits();
    const ExecutionLimits saved = limits;
    limits.stepsEnabled = true;
    limits.stepsLeft = UINT64_MAX;
    limits.allocationLeft = UINT64_MAX;
    const EngineOptions options{engine.plain};
    if (engine.vm) {
        Ref<FunctionProto> script = compileProgram(program);
        VM vm(options);
        vm.run(script);
    } else {
        Interpreter interpreter(options);
        interpreter.run(program);
    }
    const uint64_t used = UINT64_MAX - limits.allocationLeft;
    limits = saved;
    return used;
}

// The program that repeats `statement` (S the place appended to) kAppends
// times with S kept in `scope`, starting from `empty` ("" or []).
std::string appendProgram(const std::string& scope, std::string statement, const std::string& empty) {
    const std::string place = scope == "element" ? "l[1]" : scope == "field" ? "m.s" : "s";
    for (std::size_t at; (at = statement.find('S')) != std::string::npos;) statement.replace(at, 1, place);
    const std::string n = std::to_string(kAppends);
    if (scope == "global") return "let s = " + empty + "\nfor i = 1, " + n + " do " + statement + " end\n";
    if (scope == "local")
        return "function f()\n let s = " + empty + "\n for i = 1, " + n + " do " + statement + " end\nend\nf()\n";
    if (scope == "upvalue")
        return "function f()\n let s = " + empty + "\n let grow = function(i) " + statement + " end\n for i = 1, " + n +
               " do grow(i) end\n return s\nend\nlet kept = f()\n";
    if (scope == "element") return "let l = [0, " + empty + "]\nfor i = 1, " + n + " do " + statement + " end\n";
    return "let m = {\"n\": 0, \"s\": " + empty + "}\nfor i = 1, " + n + " do " + statement + " end\n";
}

TEST(AppendWork, EveryFormInEveryPlaceGrowsInPlaceOnEveryEngine) {
    // Strings, chains of sums that begin with the place (as interpolations
    // do), and lists.
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"S += \"x\"", "\"\""},
        {"S = S + str(i % 10)", "\"\""},
        {"S = \"${S}y\"", "\"\""},
        {"S = S + str(i % 10) + \",\"", "\"\""},
        {"S = \"${S}${i % 10},\"", "\"\""},
        {"S = \"${S}-\" + \"+\"", "\"\""},
        {"S = S + [i]", "[]"},
        {"S += [i]", "[]"},
    };
    const std::vector<std::string> scopes = {"global", "local", "upvalue", "element", "field"};
    for (const EngineUnderTest& engine : kEngines) {
        for (const auto& [form, empty] : forms) {
            for (const std::string& scope : scopes) {
                const uint64_t used = allocatedBy(appendProgram(scope, form, empty), engine);
                // Linear: the doublings of the string, about 6 bytes an append,
                // and the small strings of str (or the items, and the one-item
                // lists). A copy per append: N^2 / 2.
                EXPECT_LT(used, 16u * kAppends) << engine.name << ": " << form << " on a " << scope;
            }
        }
    }
}

TEST(AppendWork, AStringThatAnotherVariableHoldsIsCopiedInstead) {
    // The control for the count above: with an alias taken before every
    // append, each append must copy the string, so the bytes grow as N^2.
    const std::string source = "let s = \"\"\nlet alias = \"\"\nfor i = 1, " + std::to_string(kAppends) +
                               " do\n alias = s\n s = s + \"x\"\n s += \"y\"\nend\n";
    for (const EngineUnderTest& engine : kEngines)
        EXPECT_GT(allocatedBy(source, engine), uint64_t{kAppends} * kAppends / 2) << engine.name;
}

// Runs `source` on `engine` with `limits` set, and returns what the global
// `name` holds afterwards, whether the run ended or was stopped.
Value globalAfter(const std::string& source, const EngineUnderTest& engine, const ExecutionLimits& limits,
                  const std::string& name) {
    StmtList program = parseSource(source);
    ExecutionLimits& current = executionLimits();
    const ExecutionLimits saved = current;
    current = limits;
    const EngineOptions options{engine.plain};
    Value result;
    const auto read = [&](Environment& globals) { result = globals.vars.find(name)->second; };
    if (engine.vm) {
        Ref<FunctionProto> script = compileProgram(program);
        VM vm(options);
        try {
            vm.run(script);
        } catch (const BudgetExhausted&) {
        }
        read(*vm.globals);
    } else {
        Interpreter interpreter(options);
        try {
            interpreter.run(program);
        } catch (const BudgetExhausted&) {
        }
        read(*interpreter.globals);
    }
    current = saved;
    return result;
}

TEST(AppendWork, AnAppendThatFailsLeavesThePlaceAsItWas) {
    // Past the size cap, the append is an error that a `try` catches, and the
    // program itself checks that the place kept its text. When the memory
    // budget runs out in the middle of an append (as running out of memory
    // would), the run stops, and the place still holds its last whole text.
    const std::vector<std::string> forms = {"S = S + \"abc\"", "S = \"${S}abc\"", "S += \"abc\"",
                                            "S = S + \"a\" + \"bc\"", "S = \"${S}a\" + \"bc\""};
    for (const EngineUnderTest& engine : kEngines) {
        for (const std::string& form : forms) {
            for (const std::string place : {"s", "l[0]", "m.f"}) {
                std::string statement = form;
                for (std::size_t at; (at = statement.find('S')) != std::string::npos;) statement.replace(at, 1, place);
                const std::string source = "let s = \"\"\nlet l = [\"\"]\nlet m = {\"f\": \"\"}\n"
                                           "for i = 1, 40 do\n"
                                           "  let before = \"\" + " +
                                           place +
                                           "\n"
                                           "  try " +
                                           statement +
                                           " catch e\n"
                                           "    if e != \"result too large\" or " +
                                           place +
                                           " != before then error(e) end\n"
                                           "  end\n"
                                           "end\n"
                                           "let text = " +
                                           place + "\n";
                ExecutionLimits capped;
                capped.maxContainerSize = 8;
                const Value text = globalAfter(source, engine, capped, "text");
                ASSERT_TRUE(text.isString()) << engine.name << ": " << statement;
                EXPECT_EQ(text.asString(), "abcabc") << engine.name << ": " << statement;

                ExecutionLimits budget;
                budget.stepsEnabled = true;
                budget.stepsLeft = UINT64_MAX;
                budget.allocationLeft = 200;
                const std::string grow = "let s = \"\"\nlet l = [\"\"]\nlet m = {\"f\": \"\"}\n"
                                         "for i = 1, 1000 do " +
                                         statement + " end\n";
                const Value holder = globalAfter(grow, engine, budget, place.substr(0, 1));
                const Value& grown = place == "s"      ? holder
                                     : place == "l[0]" ? holder.listItems()[0]
                                                       : *holder.asMap().find(Value("f"));
                ASSERT_TRUE(grown.isString()) << engine.name << ": " << statement;
                const std::string_view bytes = grown.asString();
                EXPECT_GT(bytes.size(), 0u) << engine.name << ": " << statement;
                EXPECT_EQ(bytes.size() % 3, 0u) << engine.name << ": " << statement;
                for (std::size_t i = 0; i < bytes.size(); ++i)
                    ASSERT_EQ(bytes[i], "abc"[i % 3]) << engine.name << ": " << statement;
            }
        }
    }
}

}  // namespace
}  // namespace velmor
