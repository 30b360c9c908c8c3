// The builtins' sharp edges, called directly: the registry, the integer rule,
// the merge sort under bad comparators, callbacks that change the list they
// walk, and size limits.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <set>

#include "builtins/support.h"
#include "environment.h"

namespace velmor {
namespace {

// Stands in for an engine: every callback goes to one C++ function.
class FakeCaller final : public Caller {
public:
    std::function<Value(std::vector<Value>&)> handler;
    int calls = 0;
    Value call(const Value&, std::vector<Value> args) override {
        ++calls;
        return handler(args);
    }
};

class BuiltinsTest : public ::testing::Test {
protected:
    BuiltinsTest() : globals(makeRef<Environment>()) { registerBuiltins(*globals); }

    Value call(const std::string& name, std::vector<Value> args) {
        Value* native = globals->lookup(name);
        EXPECT_NE(native, nullptr) << name;
        EXPECT_TRUE(native->isNative());
        EXPECT_TRUE(arityAccepts(native->asNative(), args.size())) << name;
        return native->asNative().fn(caller, args);
    }

    std::string errorOf(const std::string& name, std::vector<Value> args) {
        try {
            call(name, std::move(args));
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.line, 0);
            return error.message;
        }
        return "<no error>";
    }

    Ref<Environment> globals;
    FakeCaller caller;
};

Value ints(std::initializer_list<int64_t> values) {
    ValueVector items;
    for (int64_t v : values) items.emplace_back(v);
    return Value::newList(std::move(items));
}

TEST_F(BuiltinsTest, RegistryHoldsEveryBuiltinOnceInOrder) {
    const auto table = builtinTable();
    ASSERT_EQ(table.size(), 78u);
    EXPECT_STREQ(table.front().name, "print");
    EXPECT_STREQ(table[32].name, "char");
    EXPECT_STREQ(table[49].name, "float");
    EXPECT_STREQ(table.back().name, "clock");
    std::set<std::string> names;
    for (const BuiltinInfo& info : table) {
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        EXPECT_NE(info.fn, nullptr) << info.name;
        EXPECT_NE(globals->lookup(info.name), nullptr) << info.name;
    }
    EXPECT_EQ(globals->vars.size(), 80u);
    EXPECT_EQ(toText(*globals->lookup("PI")), "3.141592653589793");
    EXPECT_EQ(toText(*globals->lookup("E")), "2.718281828459045");
}

TEST_F(BuiltinsTest, HasAndContainsShareOneFunctionButNotOneObject) {
    const Value has = *globals->lookup("has");
    const Value contains = *globals->lookup("contains");
    EXPECT_EQ(has.asNative().fn, contains.asNative().fn);
    EXPECT_FALSE(valuesEqual(has, contains));
    EXPECT_EQ(toText(contains), "<native function contains>");
    EXPECT_EQ(errorOf("contains", {Value(int64_t{5}), Value(int64_t{1})}), "has: cannot search in number");
}

TEST_F(BuiltinsTest, ArityMessagesUseTheThreeForms) {
    EXPECT_EQ(arityMessage(globals->lookup("push")->asNative(), 0), "push() expects 1+ argument(s), got 0");
    EXPECT_EQ(arityMessage(globals->lookup("range")->asNative(), 4), "range() expects 1-3 argument(s), got 4");
    EXPECT_EQ(arityMessage(globals->lookup("type")->asNative(), 0), "type() expects 1 argument(s), got 0");
    EXPECT_EQ(arityMessage(globals->lookup("random")->asNative(), 1), "random() expects 0 argument(s), got 1");
    EXPECT_FALSE(arityAccepts(globals->lookup("random")->asNative(), 1));
    EXPECT_TRUE(arityAccepts(globals->lookup("print")->asNative(), 200));
}

TEST(IntegerRule, TruncatesTowardZeroAndSendsTheUnrepresentableToTheMinimum) {
    EXPECT_EQ(truncateToInt64(2.9), 2);
    EXPECT_EQ(truncateToInt64(-2.9), -2);
    EXPECT_EQ(truncateToInt64(-9223372036854775808.0), INT64_MIN);
    EXPECT_EQ(truncateToInt64(9223372036854774784.0), 9223372036854774784);
    EXPECT_EQ(truncateToInt64(9223372036854775808.0), INT64_MIN);
    EXPECT_EQ(truncateToInt64(-1e300), INT64_MIN);
    EXPECT_EQ(truncateToInt64(std::numeric_limits<double>::infinity()), INT64_MIN);
    EXPECT_EQ(truncateToInt64(std::nan("")), INT64_MIN);
    EXPECT_EQ(truncateToInt32(2147483647.9), 2147483647);
    EXPECT_EQ(truncateToInt32(-2147483648.9), INT32_MIN);
    EXPECT_EQ(truncateToInt32(2147483648.0), INT32_MIN);
    EXPECT_EQ(truncateToInt32(-7.5), -7);
    EXPECT_EQ(truncateToInt32(std::nan("")), INT32_MIN);
}

TEST_F(BuiltinsTest, IntegerArgumentsKeepTheirExactValue) {
    const int64_t big = (int64_t{1} << 53) + 1;
    EXPECT_EQ(call("hex", {Value(big)}).asString(), "0x20000000000001");
    EXPECT_EQ(call("hex", {Value(INT64_MIN)}).asString(), "-0x8000000000000000");
    EXPECT_EQ(call("bin", {Value(std::nan(""))}).asString(), "-0b1" + std::string(63, '0'));
    EXPECT_EQ(call("floor", {Value(big)}).asInt(), big);
    EXPECT_EQ(call("int", {Value(big)}).asInt(), big);
    EXPECT_EQ(call("clamp", {Value(big), Value(int64_t{0}), Value(big + 1)}).asInt(), big);
    EXPECT_EQ(call("abs", {Value(INT64_MIN)}).asInt(), INT64_MIN);
    EXPECT_EQ(call("abs", {Value(-big)}).asInt(), big);
    const Value range = call("range", {Value(big), Value(big + 3)});
    ASSERT_EQ(range.listItems().size(), 3u);
    EXPECT_EQ(range.listItems()[2].asInt(), big + 2);
}

TEST_F(BuiltinsTest, IntegerArithmeticWrapsWithoutOverflow) {
    EXPECT_EQ(call("sum", {ints({INT64_MAX, 1})}).asInt(), INT64_MIN);
    const Value full = call("range", {Value(INT64_MAX - 2), Value(INT64_MAX)});
    EXPECT_EQ(toText(full), "[9223372036854775805, 9223372036854775806]");
    const Value down = call("range", {Value(INT64_MIN + 2), Value(INT64_MIN), Value(INT64_MIN)});
    EXPECT_EQ(toText(down), "[-9223372036854775806]");
    // The whole 64-bit range is one of the randint cases with a span of zero.
    const Value drawn = call("randint", {Value(INT64_MIN), Value(INT64_MAX)});
    EXPECT_TRUE(drawn.isInt());
    EXPECT_EQ(call("randint", {Value(INT64_MAX), Value(INT64_MAX)}).asInt(), INT64_MAX);
}

TEST_F(BuiltinsTest, RandintCoversItsBoundsAndNothingElse) {
    std::set<int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int64_t value = call("randint", {Value(int64_t{-2}), Value(int64_t{3})}).asInt();
        EXPECT_GE(value, -2);
        EXPECT_LE(value, 3);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 6u);
    for (int i = 0; i < 1000; ++i) {
        const double value = call("random", {}).asFloat();
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 1.0);
    }
}

TEST_F(BuiltinsTest, HugeResultsFailBeforeAllocating) {
    EXPECT_EQ(errorOf("repeat", {Value("x"), Value(int64_t{1'000'000'000'000'000})}), "repeat: result too large");
    EXPECT_EQ(errorOf("repeat", {ints({1}), Value(int64_t{1'000'000'000'000})}), "repeat: result too large");
    EXPECT_EQ(errorOf("repeat", {Value("xy"), Value(INT64_MAX)}), "repeat: result too large");
    EXPECT_EQ(errorOf("range", {Value(int64_t{0}), Value(int64_t{10'000'000'000'000})}), "range: result too large");
    EXPECT_EQ(errorOf("range", {Value(INT64_MIN), Value(INT64_MAX)}), "range: result too large");
    EXPECT_EQ(errorOf("range", {Value(0.0), Value(std::numeric_limits<double>::infinity())}),
              "range: result too large");
    // A step that rounding swallows would never reach the stop.
    EXPECT_EQ(errorOf("range", {Value(1e17), Value(1e17 + 64), Value(int64_t{1})}), "range: result too large");
    EXPECT_EQ(call("repeat", {Value(""), Value(INT64_MAX)}).asString(), "");
}

TEST_F(BuiltinsTest, AHarnessCanLowerTheSizeCap) {
    struct RestoreCap {
        std::size_t saved = executionLimits().maxContainerSize;
        ~RestoreCap() { executionLimits().maxContainerSize = saved; }
    } restore;
    executionLimits().maxContainerSize = 10;
    EXPECT_EQ(call("range", {Value(int64_t{10})}).listItems().size(), 10u);
    EXPECT_EQ(errorOf("range", {Value(int64_t{11})}), "range: result too large");
    EXPECT_EQ(errorOf("range", {Value(0.5), Value(int64_t{11})}), "range: result too large");
    EXPECT_EQ(call("repeat", {Value("ab"), Value(int64_t{5})}).asString(), "ababababab");
    EXPECT_EQ(errorOf("repeat", {Value("ab"), Value(int64_t{6})}), "repeat: result too large");
    EXPECT_EQ(errorOf("join", {Value::newList({Value("abcdef"), Value("ghijkl")})}), "join: result too large");
    EXPECT_EQ(errorOf("replace", {Value("aaaa"), Value("a"), Value("xyz")}), "replace: result too large");
    // Exactly at the cap is allowed; one past it, even by the text after the last match, is not.
    EXPECT_EQ(call("join", {Value::newList({Value("abcd"), Value("efgh")}), Value("--")}).asString(), "abcd--efgh");
    EXPECT_EQ(errorOf("join", {Value::newList({Value("abcd"), Value("efgh")}), Value("---")}),
              "join: result too large");
    EXPECT_EQ(call("replace", {Value("a.b.c.d.e."), Value("."), Value("!")}).asString(), "a!b!c!d!e!");
    EXPECT_EQ(call("replace", {Value("xaaaa"), Value("a"), Value("bb")}).asString(), "xbbbbbbbb");
    EXPECT_EQ(errorOf("replace", {Value("aaaaxxx"), Value("a"), Value("bb")}), "replace: result too large");
    EXPECT_EQ(call("split", {Value("a,b,c,d,e"), Value(",")}).listItems().size(), 5u);
    EXPECT_EQ(call("split", {Value(",,,,,,,,,"), Value(",")}).listItems().size(), 10u);
    EXPECT_EQ(errorOf("split", {Value(",,,,,,,,,,"), Value(",")}), "split: result too large");
    const Value list = call("range", {Value(int64_t{9})});
    // (Not compared through toText: a text form is a string, held to the same cap.)
    const Value pushed = call("push", {list, Value(int64_t{9})});
    ASSERT_EQ(pushed.listItems().size(), 10u);
    EXPECT_EQ(pushed.listItems()[9].asInt(), 9);
    EXPECT_EQ(errorOf("push", {list, Value(int64_t{10})}), "push: result too large");
    EXPECT_EQ(errorOf("insert", {list, Value(int64_t{0}), Value(int64_t{10})}), "insert: result too large");
    EXPECT_EQ(list.listItems().size(), 10u);
}

bool isPermutationOfInput(const ValueVector& sorted, int count) {
    std::vector<int64_t> values;
    for (const Value& v : sorted) values.push_back(v.asInt());
    std::sort(values.begin(), values.end());
    for (int i = 0; i < count; ++i) {
        if (values.size() != static_cast<std::size_t>(count) || values[i] != i) return false;
    }
    return true;
}

ValueVector shuffled(int count, unsigned seed) {
    ValueVector items;
    for (int i = 0; i < count; ++i) items.emplace_back(int64_t{i});
    std::shuffle(items.begin(), items.end(), std::mt19937(seed));
    return items;
}

TEST(MergeSort, BadComparatorsNeverLoseOrDuplicateElements) {
    std::mt19937 coin(7);
    for (int count : {0, 1, 2, 11, 12, 13, 25, 100, 1000}) {
        ValueVector items = shuffled(count, 1);
        stableMergeSort(items, [&](const Value&, const Value&) { return coin() % 2 == 0; });
        EXPECT_TRUE(isPermutationOfInput(items, count)) << "random, " << count;
        items = shuffled(count, 2);
        stableMergeSort(items, [](const Value&, const Value&) { return true; });
        EXPECT_TRUE(isPermutationOfInput(items, count)) << "always true, " << count;
        items = shuffled(count, 3);
        stableMergeSort(items, [](const Value& a, const Value& b) { return a.asInt() <= b.asInt(); });
        EXPECT_TRUE(isPermutationOfInput(items, count)) << "non-strict, " << count;
    }
}

TEST(MergeSort, SortsAndKeepsEqualElementsInInputOrder) {
    // Pairs (key, position): sorted by key only, positions must stay increasing within a key.
    ValueVector items;
    std::mt19937 random(11);
    for (int i = 0; i < 500; ++i) items.push_back(Value::newList({Value(int64_t(random() % 7)), Value(int64_t{i})}));
    stableMergeSort(items,
                    [](const Value& a, const Value& b) { return a.listItems()[0].asInt() < b.listItems()[0].asInt(); });
    for (std::size_t i = 1; i < items.size(); ++i) {
        const auto& previous = items[i - 1].listItems();
        const auto& current = items[i].listItems();
        ASSERT_LE(previous[0].asInt(), current[0].asInt());
        if (previous[0].asInt() == current[0].asInt()) {
            ASSERT_LT(previous[1].asInt(), current[1].asInt());
        }
    }
}

TEST_F(BuiltinsTest, SortPropagatesComparatorErrorsAndLeavesTheInputAlone) {
    const Value list = ints({3, 1, 2});
    caller.handler = [](std::vector<Value>&) -> Value { throw RuntimeError("boom"); };
    EXPECT_EQ(errorOf("sort", {list, Value("less")}), "boom");
    EXPECT_EQ(toText(list), "[3, 1, 2]");
    // A comparator that empties the input list cannot disturb the copy being sorted.
    caller.handler = [&](std::vector<Value>& args) {
        list.listItems().clear();
        return Value(args[0].asInt() < args[1].asInt());
    };
    EXPECT_EQ(toText(call("sort", {list, Value("less")})), "[1, 2, 3]");
}

TEST_F(BuiltinsTest, DefaultOrderPutsNanLast) {
    const double nan = std::nan("");
    const Value sorted =
        call("sort", {Value::newList({Value(3.0), Value(nan), Value(int64_t{1}), Value(nan), Value(2.5)})});
    EXPECT_EQ(toText(sorted), "[1, 2.5, 3.0, nan, nan]");
}

// The default order has fast paths for lists of numbers only and of strings
// only; they must place every element exactly where the general merge sort
// with defaultLess places it: equal keys of different kinds (1 and 1.0, 0 and
// -0.0, Ints above 2^53 that round alike) keep their input order, NaN goes last.
TEST_F(BuiltinsTest, DefaultOrderFastPathsAgreeWithTheGeneralSort) {
    std::mt19937 random(5);
    const double nan = std::nan("");
    std::function<Value()> randomNumber = [&]() -> Value {
        switch (random() % 6) {
        case 0: return Value(int64_t(random() % 20));
        case 1: return Value(static_cast<double>(random() % 20));
        case 2: return Value(random() % 2 ? 0.0 : -0.0);
        case 3: return Value(nan);
        case 4: return Value(int64_t{9007199254740992} + int64_t(random() % 3));  // 2^53 .. 2^53 + 2
        default: return Value(static_cast<double>(random() % 2000) / 7.0 - 100.0);
        }
    };
    std::function<Value()> randomString = [&]() -> Value {
        std::string text;
        for (std::size_t length = random() % 4; length > 0; --length) text += "aAb\xff"[random() % 4];
        return Value(text);
    };
    // Kind and payload, so that 1 and 1.0 or 0.0 and -0.0 in the wrong places show.
    auto spell = [](const ValueVector& items) {
        std::string text;
        for (const Value& item : items) {
            text += item.isInt() ? "i" : item.isFloat() ? (std::signbit(item.asFloat()) ? "-f" : "f") : "s";
            text += toRepr(item) + " ";
        }
        return text;
    };
    for (int count : {0, 1, 5, 12, 13, 40, 300, 2000}) {
        for (const auto& make : {randomNumber, randomString}) {
            ValueVector items;
            for (int i = 0; i < count; ++i) items.push_back(make());
            ValueVector expected = items;
            stableMergeSort(expected, defaultLess);
            const Value sorted = call("sort", {Value::newList(items)});
            EXPECT_EQ(spell(sorted.listItems()), spell(expected)) << count;
        }
    }
}

TEST_F(BuiltinsTest, CallbacksThatChangeTheWalkedListStayInBounds) {
    const Value list = ints({1, 2, 3, 4});
    caller.handler = [&](std::vector<Value>& args) {
        list.listItems().pop_back();
        return args[0];
    };
    EXPECT_EQ(toText(call("map", {Value("f"), list})), "[1, 2]");
    const Value growing = ints({1, 2});
    caller.handler = [&](std::vector<Value>& args) {
        if (growing.listItems().size() < 5) growing.listItems().push_back(Value(int64_t{9}));
        return Value(args[0].asInt() > 1);
    };
    EXPECT_EQ(toText(call("filter", {Value("f"), growing})), "[2, 9, 9, 9]");
    const Value shrinking = ints({1, 2, 3});
    caller.handler = [&](std::vector<Value>& args) {
        shrinking.listItems().clear();
        return Value(args[0].asInt() + args[1].asInt());
    };
    EXPECT_EQ(call("reduce", {Value("f"), shrinking}).asInt(), 3);
}

TEST_F(BuiltinsTest, NumberReadingsFollowTheCRules) {
    EXPECT_EQ(toRepr(call("num", {Value(" 12")})), "12");
    EXPECT_EQ(toRepr(call("num", {Value("12 ")})), "12.0");
    EXPECT_EQ(toRepr(call("num", {Value("0x1A")})), "26.0");
    EXPECT_EQ(errorOf("num", {Value("99999999999999999999")}),
              "num: cannot convert \"99999999999999999999\" to a number");
    EXPECT_EQ(errorOf("num", {Value("inf")}), "num: cannot convert \"inf\" to a number");
    EXPECT_EQ(toRepr(call("num", {Value(std::string("7\0x", 3))})), "7.0");
    EXPECT_EQ(errorOf("parse_int", {Value(std::string("7\0", 2))}),
              "parse_int: invalid integer \"7" + std::string(1, '\0') + "\"");
    EXPECT_EQ(errorOf("parse_int", {Value("12"), Value(int64_t{1})}), "parse_int: invalid integer \"12\"");
    EXPECT_EQ(errorOf("parse_int", {Value("12"), Value(int64_t{37})}), "parse_int: invalid integer \"12\"");
    EXPECT_EQ(call("parse_int", {Value("0x1f"), Value(int64_t{0})}).asInt(), 31);
    EXPECT_EQ(call("parse_int", {Value("-9223372036854775808")}).asInt(), INT64_MIN);
    EXPECT_EQ(errorOf("int", {Value("9223372036854775808")}),
              "int: cannot convert \"9223372036854775808\" to an integer");
    EXPECT_EQ(errorOf("float", {Value("1e999")}), "float: cannot convert \"1e999\" to a float");
}

TEST_F(BuiltinsTest, RoundWithDigitsNeverInventsNan) {
    EXPECT_EQ(toRepr(call("round", {Value(3.14159), Value(int64_t{2})})), "3.14");
    EXPECT_EQ(toRepr(call("round", {Value(3.14159), Value(int64_t{400})})), "3.14159");
    EXPECT_EQ(toRepr(call("round", {Value(1e300), Value(int64_t{20})})), "1e+300");
    EXPECT_EQ(toRepr(call("round", {Value(1234.0), Value(int64_t{-400})})), "0.0");
    EXPECT_EQ(toRepr(call("round", {Value(-1234.0), Value(INT64_MIN)})), "-0.0");
    // Left of the point the power of ten divides, exactly: no 1199.9999999999998.
    EXPECT_EQ(toRepr(call("round", {Value(int64_t{1234}), Value(int64_t{-2})})), "1200.0");
    EXPECT_EQ(toRepr(call("round", {Value(int64_t{-1250}), Value(int64_t{-2})})), "-1300.0");
    EXPECT_EQ(toRepr(call("round", {Value(123456.789), Value(int64_t{-3})})), "123000.0");
    EXPECT_EQ(toRepr(call("round", {Value(1e300)})), "0");
    EXPECT_EQ(toRepr(call("round", {Value(-2.5)})), "-3");
}

// The string builtins against plain byte-by-byte references, over random
// texts of few distinct bytes (so that separators match often, overlap and
// sit side by side), bytes above 127, empty texts and separators, and texts
// long enough for the word-at-a-time scans, at every alignment.
TEST_F(BuiltinsTest, StringBuiltinsAgreeWithPlainReferences) {
    std::mt19937 random(77);
    // (\x7f and \xff differ only in the top bit; \b and ! border the white-space bytes.)
    const std::string alphabet = std::string("aAb ,\xff\x7f\t.\n\v\f\r\b!", 15) + '\0';
    auto randomText = [&](std::size_t most) {
        std::string text;
        const std::size_t length = random() % 4 == 0 ? random() % (most + 1) : random() % 12;
        for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        return text;
    };
    auto matchesAt = [](const std::string& text, std::size_t i, const std::string& pattern) {
        return text.compare(i, pattern.size(), pattern) == 0;
    };
    auto referenceSplit = [&](const std::string& text, const std::string& separator) {
        std::vector<std::string> pieces(1);
        if (separator.empty()) {
            pieces.clear();
            std::string word;
            for (char c : text + " ") {
                if (std::string(" \t\n\v\f\r").find(c) == std::string::npos) {
                    word += c;
                } else if (!word.empty()) {
                    pieces.push_back(word);
                    word.clear();
                }
            }
            return pieces;
        }
        for (std::size_t i = 0; i < text.size();) {
            if (matchesAt(text, i, separator)) {
                pieces.emplace_back();
                i += separator.size();
            } else {
                pieces.back() += text[i++];
            }
        }
        return pieces;
    };
    auto referenceReplace = [&](const std::string& text, const std::string& oldText, const std::string& newText) {
        if (oldText.empty()) return text;
        std::string result;
        for (std::size_t i = 0; i < text.size();) {
            if (matchesAt(text, i, oldText)) {
                result += newText;
                i += oldText.size();
            } else {
                result += text[i++];
            }
        }
        return result;
    };
    auto referenceCase = [](std::string text, bool upper, std::size_t end) {
        for (std::size_t i = 0; i < std::min(end, text.size()); ++i) {
            if (upper && text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 32);
            if (!upper && text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] + 32);
        }
        return text;
    };
    auto pieces = [](const Value& list) {
        std::vector<std::string> out;
        for (const Value& item : list.listItems()) out.emplace_back(item.asString());
        return out;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = randomText(round % 16 == 0 ? 5000 : 300);
        std::string pattern = randomText(3).substr(0, 1 + random() % 3);
        if (random() % 8 == 0) pattern.clear();
        const std::string replacement = randomText(2).substr(0, random() % 3);
        const Value textValue(text);
        // Offsets into a longer string, so that the scans start at every alignment.
        const std::size_t skip = random() % 8;
        const std::string shifted = text.substr(std::min(skip, text.size()));
        EXPECT_EQ(pieces(call("split", {Value(shifted), Value(pattern)})), referenceSplit(shifted, pattern))
            << quoteString(shifted) << " " << quoteString(pattern);
        EXPECT_EQ(pieces(call("split", {textValue})), referenceSplit(text, "")) << quoteString(text);
        EXPECT_EQ(call("replace", {Value(shifted), Value(pattern), Value(replacement)}).asString(),
                  referenceReplace(shifted, pattern, replacement))
            << quoteString(shifted) << " " << quoteString(pattern) << " " << quoteString(replacement);
        const Value parts = call("split", {textValue, Value(pattern)});
        std::string joined;
        for (std::size_t i = 0; i < parts.listItems().size(); ++i) {
            if (i > 0) joined += pattern;
            joined += parts.listItems()[i].asString();
        }
        EXPECT_EQ(call("join", {parts, Value(pattern)}).asString(), joined) << quoteString(text);
        if (!pattern.empty()) {
            EXPECT_EQ(joined, text);
        }
        EXPECT_EQ(call("upper", {textValue}).asString(), referenceCase(text, true, text.size()));
        EXPECT_EQ(call("lower", {textValue}).asString(), referenceCase(text, false, text.size()));
        EXPECT_EQ(call("capitalize", {textValue}).asString(), referenceCase(text, true, 1));
        const uint64_t bits = (uint64_t{random()} << 32 | random()) >> (random() % 64);
        const int64_t number = static_cast<int64_t>(random() % 2 ? bits : ~bits);
        for (const int64_t n : {number, INT64_MIN, INT64_MAX, int64_t{0}, int64_t{-7}}) {
            EXPECT_EQ(call("str", {Value(n)}).asString(), std::to_string(n));
        }
    }
}

// Every builtin but the two that touch the console, fed arbitrary arguments
// (extreme numbers, NaN, NUL bytes, nested and self-containing containers) and
// callbacks that answer anything: only the language's own errors may leave.
TEST_F(BuiltinsTest, ArbitraryArgumentsRaiseOnlyLanguageErrors) {
    struct RestoreCap {
        std::size_t saved = executionLimits().maxContainerSize;
        ~RestoreCap() { executionLimits().maxContainerSize = saved; }
    } restore;
    executionLimits().maxContainerSize = 4096;

    const Value selfList = ints({1, 2});
    selfList.listItems().push_back(selfList);
    const Value map = Value::newMap();
    map.asMap().set(Value("k"), Value(int64_t{1}));
    map.asMap().set(Value(2.5), ints({3}));
    std::vector<Value> pool = {Value(),
                               Value(true),
                               Value(int64_t{0}),
                               Value(int64_t{-1}),
                               Value(int64_t{7}),
                               Value(int64_t{300}),
                               Value(INT64_MIN),
                               Value(INT64_MAX),
                               Value(0.5),
                               Value(-2.5),
                               Value(1e300),
                               Value(std::nan("")),
                               Value(std::numeric_limits<double>::infinity()),
                               Value(""),
                               Value(" 12 "),
                               Value(std::string("a\0b", 3)),
                               Value("0x1f"),
                               Value("\xff\t"),
                               Value::newList(),
                               ints({3, 1, 2}),
                               Value::newList({Value("b"), Value("a")}),
                               selfList,
                               Value::newMap(),
                               map,
                               *globals->lookup("len")};
    std::mt19937 random(2024);
    caller.handler = [&](std::vector<Value>&) { return pool[random() % pool.size()]; };
    for (const BuiltinInfo& info : builtinTable()) {
        const std::string name = info.name;
        if (name == "print" || name == "input") continue;
        const int32_t most = info.maxArity < 0 ? info.minArity + 3 : info.maxArity;
        for (int round = 0; round < 400; ++round) {
            const int32_t count = info.minArity + static_cast<int32_t>(random() % (most - info.minArity + 1));
            std::vector<Value> args;
            for (int32_t i = 0; i < count; ++i) args.push_back(pool[random() % pool.size()]);
            try {
                info.fn(caller, args);
            } catch (const RuntimeError&) {
            } catch (const ThrownValue&) {
                EXPECT_EQ(name, "error");
            } catch (const std::exception& failure) {
                ADD_FAILURE() << name << " let escape: " << failure.what();
            }
        }
    }
    // push and insert may have tied the containers into cycles; untie them so they are freed.
    for (Value& value : pool) {
        if (value.isList()) value.listItems().clear();
        if (value.isMap()) value.asMap().clear();
    }
}

}  // namespace
}  // namespace velmor
