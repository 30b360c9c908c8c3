// The embedding API as a host drives it, on both engines.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "driver.h"
#include "value.h"
#include "velmor/velmor.h"

namespace {

using velmor::embed::Engine;
using velmor::embed::Interpreter;
using velmor::embed::Kind;
using velmor::embed::Limits;
using velmor::embed::Result;
using velmor::embed::Status;
using velmor::embed::Value;

constexpr Engine kEngines[] = {Engine::Vm, Engine::TreeWalker};

const char* engineName(Engine engine) { return engine == Engine::Vm ? "vm" : "tree"; }

Interpreter quiet(Engine engine, std::string* output = nullptr, velmor::embed::Options options = {}) {
    options.engine = engine;
    Interpreter interpreter(options);
    interpreter.setOutput([output](std::string_view text) {
        if (output) output->append(text);
    });
    return interpreter;
}

// A value through a script and back: the host's value as a global, the
// script's repr of it, and the script's own copy read back.
TEST(EmbedValues, EveryKindCrossesBothWays) {
    using namespace std::string_literals;
    const std::pair<Value, std::string> cases[] = {
        {Value(), "nil"},
        {Value(true), "true"},
        {Value(-7), "-7"},
        {Value(INT64_MIN), "-9223372036854775808"},
        {Value(2.5), "2.5"},
        {Value("a\0b"s), "\"a\0b\""s},  // bytes, a NUL among them
        {Value::list({1, "x", Value::list({})}), "[1, \"x\", []]"},
        {Value::map({{"k", 1}, {2, Value::list({nullptr})}}), "{\"k\": 1, 2: [nil]}"},
    };
    for (Engine engine : kEngines) {
        std::string output;
        Interpreter interpreter = quiet(engine, &output);
        for (const auto& [value, repr] : cases) {
            output.clear();
            interpreter.setGlobal("v", value);
            ASSERT_TRUE(interpreter.run("print(repr(v))\nlet w = v").ok()) << engineName(engine);
            EXPECT_EQ(output, repr + "\n") << engineName(engine);
            const Value back = interpreter.global("w");
            EXPECT_EQ(back.kind(), value.kind()) << repr;
            EXPECT_TRUE(back == value) << repr;
            EXPECT_EQ(back.repr(), repr);
        }
        // Lists and maps are shared: the script's change shows through the host's value.
        Value list = Value::list({1});
        interpreter.setGlobal("shared", list);
        ASSERT_TRUE(interpreter.run("push(shared, 2)\nshared[0] = 10").ok());
        EXPECT_EQ(list.repr(), "[10, 2]");
    }
}

TEST(EmbedValues, ReadersCheckTheKind) {
    const Value number(3);
    EXPECT_EQ(number.asInt(), 3);
    EXPECT_EQ(number.asNumber(), 3.0);
    EXPECT_EQ(Value(0.5).asNumber(), 0.5);
    EXPECT_THROW(number.asString(), velmor::embed::RuntimeError);
    EXPECT_THROW(number.asFloat(), velmor::embed::RuntimeError);
    EXPECT_THROW(Value("s").asBool(), velmor::embed::RuntimeError);
    EXPECT_THROW(Value().size(), velmor::embed::RuntimeError);
    EXPECT_THROW(Value::list({}).at(0), velmor::embed::RuntimeError);
    EXPECT_THROW(Value::map().put(Value::list({}), 1), velmor::embed::RuntimeError);
    EXPECT_FALSE(Value().truthy());
    EXPECT_FALSE(Value(false).truthy());
    EXPECT_TRUE(Value(0).truthy());
    EXPECT_STREQ(Value::map().typeName(), "map");

    Value map = Value::map({{"a", 1}});
    map.put(1, "one");
    map.put(1.0, "uno");  // an Int and a Float of equal value are one key
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.get(1).asString(), "uno");
    EXPECT_TRUE(map.get("missing").isNil());
    EXPECT_TRUE(map.erase("a"));
    EXPECT_FALSE(map.contains("a"));
    const auto entries = map.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].first.asInt(), 1);

    Value list = Value::list({});
    for (int i = 0; i < 3; ++i) list.append(i * i);
    list.setAt(0, "first");
    EXPECT_EQ(list.repr(), "[\"first\", 1, 4]");
    EXPECT_EQ(list.items().size(), 3u);
    EXPECT_EQ(list.at(2).asInt(), 4);
}

TEST(EmbedFunctions, HeldCalledAndDefinedByTheHost) {
    for (Engine engine : kEngines) {
        std::string output;
        Interpreter interpreter = quiet(engine, &output);
        interpreter.defineFunction("twice", 1, 1, [](Interpreter& self, std::span<const Value> args) {
            // Calls the script back, as map() does.
            const Result first = self.call(args[0], {});
            return Value(first.value.asInt() * 2);
        });
        interpreter.defineFunction("join_all", 0, velmor::embed::kVariadic, [](Interpreter&, auto args) {
            std::string joined;
            for (const Value& arg : args) joined += arg.text();
            return Value(joined);
        });
        interpreter.defineFunction("fail", 0, 1, [](Interpreter&, auto args) -> Value {
            throw velmor::embed::RuntimeError("fail: " + (args.empty() ? std::string("no reason") : args[0].text()));
        });
        const Result ran = interpreter.run("function three() return 3 end\n"
                                           "function add(a, b) return a + b end\n"
                                           "print(twice(three), join_all(1, \"-\", nil))\n"
                                           "try fail(\"why\") catch e print(e) end\n");
        ASSERT_TRUE(ran.ok()) << ran.report;
        EXPECT_EQ(output, "6 1-nil\nfail: why\n") << engineName(engine);

        const Value add = interpreter.global("add");
        ASSERT_TRUE(add.isFunction());
        EXPECT_EQ(add.functionName(), "add");
        const Result sum = interpreter.call(add, {40, 2});
        ASSERT_TRUE(sum.ok()) << sum.report;
        EXPECT_EQ(sum.value.asInt(), 42);
        EXPECT_EQ(interpreter.callGlobal("add", {"a", "b"}).value.asString(), "ab");

        const Result arity = interpreter.run("fail(1, 2)");
        EXPECT_EQ(arity.status, Status::RuntimeError);
        EXPECT_EQ(arity.message, "fail() expects 0-1 argument(s), got 2");
        const Result uncaught = interpreter.callGlobal("fail");
        EXPECT_EQ(uncaught.status, Status::RuntimeError);
        EXPECT_EQ(uncaught.message, "fail: no reason");
        EXPECT_EQ(interpreter.callGlobal("nothing").message, "undefined variable 'nothing'");
        // A native reading an argument as the wrong kind fails the script, catchably.
        interpreter.defineFunction("half", 1, 1, [](Interpreter&, auto args) { return Value(args[0].asInt() / 2); });
        output.clear();
        ASSERT_TRUE(interpreter.run("try half(\"x\") catch e print(e) end").ok());
        EXPECT_EQ(output, "expected an integer, got string\n");
    }
}

TEST(EmbedGlobals, BuiltinsReplacedAndRemoved) {
    for (Engine engine : kEngines) {
        std::string output;
        Interpreter interpreter = quiet(engine, &output);
        // A function that names the builtin runs first, so that the VM has its binding cached.
        ASSERT_TRUE(interpreter.run("function size(x) return len(x) end\nprint(size(\"abc\"))").ok());
        EXPECT_TRUE(interpreter.hasGlobal("input"));
        EXPECT_TRUE(interpreter.removeGlobal("input"));
        EXPECT_FALSE(interpreter.removeGlobal("input"));
        EXPECT_EQ(interpreter.run("input()").message, "undefined variable 'input'") << engineName(engine);
        ASSERT_TRUE(interpreter.removeGlobal("len"));
        EXPECT_EQ(interpreter.callGlobal("size", {"abc"}).message, "undefined variable 'len'") << engineName(engine);
        interpreter.defineFunction("len", 1, 1, [](Interpreter&, auto) { return Value(99); });
        EXPECT_EQ(interpreter.callGlobal("size", {"abc"}).value.asInt(), 99);
        interpreter.setGlobal("limit", 5);
        ASSERT_TRUE(interpreter.run("let doubled = limit * 2").ok());
        EXPECT_EQ(interpreter.global("doubled").asInt(), 10);
        EXPECT_TRUE(interpreter.global("undefined here").isNil());
    }
}

TEST(EmbedConsole, PrintAndInputThroughTheHost) {
    for (Engine engine : kEngines) {
        std::string output;
        Interpreter interpreter = quiet(engine, &output);
        std::vector<std::string> lines = {"first", "second"};
        interpreter.setInput([&]() -> std::optional<std::string> {
            if (lines.empty()) return std::nullopt;
            std::string line = lines.front();
            lines.erase(lines.begin());
            return line;
        });
        ASSERT_TRUE(interpreter.run("let a = input(\"? \")\nlet b = input()\nprint(a, b, input())").ok());
        EXPECT_EQ(output, "? first second nil\n") << engineName(engine);
    }
}

// The report of every kind of failure is the one the program prints.
TEST(EmbedResults, ReportsAreThoseOfTheProgram) {
    const std::pair<const char*, Status> programs[] = {
        {"let x = 1\nlet y = (x +\n", Status::SyntaxError},
        {"let s = \"open", Status::SyntaxError},
        {"print(1)\nbreak", Status::CompileError},
        {"let x = 1\nlet y = x + nil", Status::RuntimeError},
        {"function f(n) return f(n + 1) end\nf(0)", Status::RuntimeError},
        {"error({\"code\": 7})", Status::Raised},
        {"print(\"fine\")", Status::Ok},
    };
    for (Engine engine : kEngines) {
        for (const auto& [source, status] : programs) {
            std::string output;
            Interpreter interpreter = quiet(engine, &output);
            const Result result = interpreter.run(source, "prog.vlm");
            std::ostringstream printed;
            std::ostringstream discarded;
            std::streambuf* const saved = std::cerr.rdbuf(printed.rdbuf());
            std::streambuf* const savedOut = std::cout.rdbuf(discarded.rdbuf());
            velmor::runSource(source, "prog.vlm",
                              engine == Engine::Vm ? velmor::Engine::BytecodeVm : velmor::Engine::TreeWalker);
            std::cerr.rdbuf(saved);
            std::cout.rdbuf(savedOut);
            if (status == Status::CompileError && engine == Engine::TreeWalker) {
                // The tree-walker finds `break` outside a loop only as it runs it.
                EXPECT_EQ(result.status, Status::RuntimeError) << source;
            } else {
                EXPECT_EQ(result.status, status) << engineName(engine) << ": " << source;
            }
            EXPECT_EQ(result.file, "prog.vlm");
            EXPECT_EQ(result.report.empty() ? "" : result.report + "\n", printed.str()) << source;
            if (status == Status::Raised) {
                EXPECT_EQ(result.raised.get("code").asInt(), 7);
            }
            if (!result.ok()) {
                EXPECT_NE(result.report.find(result.message), std::string::npos);
            }
        }
    }
    Interpreter interpreter;
    const Result missing = interpreter.runFile("no/such/file.vlm");
    EXPECT_EQ(missing.report, "velmor: cannot open no/such/file.vlm");
}

TEST(EmbedLimits, EachEndsTheScriptAndTheInterpreterGoesOn) {
    for (Engine engine : kEngines) {
        std::string output;
        Interpreter interpreter = quiet(engine, &output, {.maxCallDepth = 50});
        Limits limits;
        limits.steps = 1000;
        interpreter.setLimits(limits);
        const Result spun = interpreter.run("while true do end");
        EXPECT_EQ(spun.status, Status::BudgetExhausted) << engineName(engine);
        EXPECT_EQ(spun.report, "step budget exhausted");
        // A `try` cannot catch it.
        EXPECT_EQ(interpreter.run("try while true do end catch e print(e) end").status, Status::BudgetExhausted);
        // Each run has the whole budget: 1000 steps are more than these loops take.
        ASSERT_TRUE(interpreter.run("for i = 1, 400 do end").ok());
        ASSERT_TRUE(interpreter.run("for i = 1, 400 do end").ok());

        limits = Limits{};
        limits.allocation = 10000;
        interpreter.setLimits(limits);
        const Result grown = interpreter.run("let xs = []\nwhile true do xs = xs + [1, 2, 3] end");
        EXPECT_EQ(grown.status, Status::BudgetExhausted) << engineName(engine);
        EXPECT_EQ(grown.message, "allocation budget exhausted");

        limits = Limits{};
        limits.maxContainerSize = 100;
        interpreter.setLimits(limits);
        EXPECT_EQ(interpreter.run("let s = repeat(\"ab\", 51)").message, "repeat: result too large");

        const Result deep = interpreter.run("function down(n) return down(n + 1) end\ndown(0)");
        EXPECT_EQ(deep.status, Status::RuntimeError);
        EXPECT_EQ(deep.message.rfind("call stack overflow", 0), 0u) << deep.message;
        const Result shallow =
            interpreter.run("function down2(n)\nif n == 0 then return 0 end\nreturn down2(n - 1)\nend\n"
                            "print(down2(40))");
        ASSERT_TRUE(shallow.ok()) << shallow.report;
        EXPECT_EQ(output, "0\n");
    }
}

TEST(EmbedLimits, InterruptReachesOnlyItsInterpreter) {
    for (Engine engine : kEngines) {
        std::atomic<Interpreter*> spinning{nullptr};
        Result spun;
        bool nothingRunsAfter = false;
        Result after;
        std::thread spinner([&] {
            Interpreter interpreter = quiet(engine);
            interpreter.defineFunction("started", 0, 0, [&](Interpreter& self, auto) {
                spinning = &self;
                return Value();
            });
            spun = interpreter.run("started()\nwhile true do end");
            spinning = nullptr;
            nothingRunsAfter = !interpreter.interrupt();
            after = interpreter.run("let after = 1");
        });
        Result counted;
        int64_t total = 0;
        std::thread counter([&] {
            Interpreter interpreter = quiet(engine);
            counted = interpreter.run("let total = 0\nfor i = 1, 300000 do total = total + i end");
            if (counted.ok()) total = interpreter.global("total").asInt();
        });
        Interpreter* target = nullptr;
        while (!(target = spinning.load())) std::this_thread::yield();
        EXPECT_TRUE(target->interrupt());
        spinner.join();
        counter.join();
        EXPECT_EQ(spun.status, Status::Interrupted) << engineName(engine);
        EXPECT_EQ(spun.report, "Interrupted");
        ASSERT_TRUE(counted.ok()) << counted.report;
        EXPECT_EQ(total, int64_t{300000} * 300001 / 2);
        EXPECT_TRUE(nothingRunsAfter);
        EXPECT_TRUE(after.ok()) << after.report;
    }
}

// An interpreter stays on the thread that made it; a use from another thread
// is refused before it touches anything.
TEST(EmbedThreads, UseFromAnotherThreadIsRefused) {
    Interpreter interpreter = quiet(Engine::Vm);
    ASSERT_TRUE(interpreter.run("let x = 1").ok());
    bool runRefused = false, readRefused = false;
    std::thread other([&] {
        try {
            interpreter.run("x = 2");
        } catch (const std::logic_error&) {
            runRefused = true;
        }
        try {
            interpreter.global("x");
        } catch (const std::logic_error&) {
            readRefused = true;
        }
    });
    other.join();
    EXPECT_TRUE(runRefused);
    EXPECT_TRUE(readRefused);
    EXPECT_EQ(interpreter.global("x").asInt(), 1);
}

// A host that runs every script on a new thread: the pools of the threads
// that ended serve the next ones, so the memory taken does not grow with
// the number of threads.
TEST(EmbedThreads, ThreadsThatEndGiveTheirMemoryOn) {
    const char* program = "let parts = []\n"
                          "for i = 1, 3000 do push(parts, {\"n\": str(i), \"c\": chars(\"xyz\")[i % 3]}) end\n"
                          "print(len(parts), type(parts[0]))\n";
    auto runOnNewThread = [&] {
        std::string output;
        std::thread worker([&] {
            Interpreter interpreter = quiet(Engine::Vm, &output);
            interpreter.run(program);
        });
        worker.join();
        return output;
    };
    ASSERT_EQ(runOnNewThread(), "3000 map\n");
    const std::size_t afterOne = velmor::pooledChunksTaken();
    for (int thread = 0; thread < 20; ++thread) ASSERT_EQ(runOnNewThread(), "3000 map\n");
    // Without pooling (the sanitizer builds) nothing is counted; there the
    // leak checker sees what a thread that ends would leave.
    EXPECT_LE(velmor::pooledChunksTaken(), afterOne + afterOne / 4);
}

// Two interpreters at work at once, each with its own values, output and
// limits (the thread sanitizer build runs this too).
TEST(EmbedThreads, TwoInterpretersRunAtOnce) {
    const char* program = "let words = []\n"
                          "for i = 1, 2000 do push(words, str(i) + chars(\"ab\")[i % 2]) end\n"
                          "let counts = {}\n"
                          "for w in words do counts[w] = len(w) end\n"
                          "print(len(keys(counts)), join(slice(words, 0, 3), \",\"), type(counts))\n";
    std::string outputs[2];
    Result results[2];
    std::thread threads[2];
    for (int i = 0; i < 2; ++i) {
        threads[i] = std::thread([&, i] {
            Interpreter interpreter = quiet(kEngines[i], &outputs[i]);
            Limits limits;
            limits.steps = 100000;
            interpreter.setLimits(limits);
            for (int round = 0; round < 5 && results[i].ok(); ++round) results[i] = interpreter.run(program);
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(results[i].ok()) << results[i].report;
        std::string expected;
        for (int round = 0; round < 5; ++round) expected += "2000 1b,2a,3b map\n";
        EXPECT_EQ(outputs[i], expected);
    }
}

TEST(EmbedPackage, VersionIsTheProgramsVersion) {
    EXPECT_EQ(std::string(velmor::embed::version()), std::string("Velmor ") + VELMOR_VERSION);
}

}  // namespace
