#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <utility>

#include "execution_limits.h"
#include "value.h"

using namespace velmor;

TEST(FormatNumber, ShortestDigitsAndNotation) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {3.0, "3.0"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1.0 / 3.0, "0.3333333333333333"},
        {12345.0, "12345.0"},
        {100000.0, "1e+05"},
        {12000000.0, "1.2e+07"},
        {4500000000000000.0, "4.5e+15"},
        {0.001, "0.001"},
        {0.0001, "1e-04"},
        {0.00012, "0.00012"},
        {1e21, "1e+21"},
        {1e100, "1e+100"},
        {-0.0, "-0.0"},
        {0.0, "0.0"},
        {std::pow(2.0, 60), "1152921504606846976.0"},
        {std::pow(2.0, 70), "1180591620717411303424.0"},
        {2.5, "2.5"},
        {-1.5, "-1.5"},
        {123456.0, "123456.0"},
        {1234567.0, "1234567.0"},
        {1.5e300, "1.5e+300"},
        {5e-324, "5e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatNumber(c.value), c.text) << c.text;
}

TEST(FormatNumber, SpecialValues) {
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(formatNumber(std::nan("")), "nan");
    EXPECT_EQ(formatNumber(-std::nan("")), "nan");
}

TEST(TextForms, PlainAndQuoted) {
    EXPECT_EQ(toText(Value(int64_t{3})), "3");
    EXPECT_EQ(toText(Value(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
    EXPECT_EQ(toText(Value()), "nil");
    EXPECT_EQ(toText(Value(true)), "true");
    EXPECT_EQ(toText(Value("a\tb")), "a\tb");
    EXPECT_EQ(toRepr(Value("t\"\\\t\n\r\x01\xe9")), "\"t\\\"\\\\\\t\\n\\r\x01\xe9\"");

    Value inner = Value::newList({Value(2.5)});
    Value list = Value::newList({Value(int64_t{1}), Value("a b"), Value(), inner});
    EXPECT_EQ(toText(list), "[1, \"a b\", nil, [2.5]]");
    EXPECT_EQ(toText(Value::newList({Value("")})), "[\"\"]");

    Value map = Value::newMap();
    map.asMap().set(Value("k"), Value("v"));
    map.asMap().set(Value(int64_t{1}), Value(true));
    map.asMap().set(Value(2.0), Value(1.5));
    EXPECT_EQ(toText(map), "{\"k\": \"v\", 1: true, 2.0: 1.5}");
    EXPECT_EQ(toText(Value::newMap()), "{}");
}

TEST(TextForms, SelfContainingContainersPrintFinitely) {
    Value list = Value::newList();
    list.listItems().push_back(Value(int64_t{1}));
    list.listItems().push_back(list);
    EXPECT_EQ(toText(list), "[1, [...]]");

    Value map = Value::newMap();
    map.asMap().set(Value("self"), map);
    map.asMap().set(Value("l"), Value::newList({map}));
    EXPECT_EQ(toText(map), "{\"self\": {...}, \"l\": [{...}]}");

    // A container met twice side by side is not a cycle.
    Value shared = Value::newList({Value(int64_t{7})});
    EXPECT_EQ(toText(Value::newList({shared, shared})), "[[7], [7]]");

    list.listItems().clear();  // break the cycles so the sanitizers see no leak
    map.asMap().clear();
}

TEST(Equality, ValuesEqual) {
    EXPECT_TRUE(valuesEqual(Value(int64_t{1}), Value(1.0)));
    EXPECT_FALSE(valuesEqual(Value(true), Value(int64_t{1})));
    EXPECT_FALSE(valuesEqual(Value(), Value(false)));
    EXPECT_FALSE(valuesEqual(Value("1"), Value(int64_t{1})));
    EXPECT_TRUE(valuesEqual(Value(0.0), Value(-0.0)));
    EXPECT_FALSE(valuesEqual(Value(std::nan("")), Value(std::nan(""))));
    EXPECT_TRUE(valuesEqual(Value(), Value()));
    EXPECT_TRUE(valuesEqual(Value("ab"), Value("ab")));
    // Distinct Ints above 2^53 that round to one double compare equal.
    EXPECT_TRUE(valuesEqual(Value(int64_t{(1LL << 53) + 1}), Value(int64_t{1LL << 53})));

    Value a = Value::newList({Value(int64_t{1})});
    Value b = Value::newList({Value(int64_t{1})});
    Value alias = a;
    EXPECT_FALSE(valuesEqual(a, b));
    EXPECT_TRUE(valuesEqual(a, alias));
    EXPECT_FALSE(valuesEqual(Value::newMap(), Value::newMap()));
}

TEST(Equality, KeysEqual) {
    EXPECT_TRUE(keysEqual(Value(int64_t{1}), Value(1.0)));
    EXPECT_FALSE(keysEqual(Value("1"), Value(int64_t{1})));
    EXPECT_FALSE(keysEqual(Value(std::nan("")), Value(std::nan(""))));
    Value list = Value::newList();
    EXPECT_FALSE(keysEqual(list, list));  // references never match as keys
    EXPECT_TRUE(keysEqual(Value(), Value()));
    EXPECT_TRUE(keysEqual(Value(false), Value(false)));
    EXPECT_FALSE(keysEqual(Value(false), Value()));
}

TEST(MapStorage, KeepsFirstKeyAndOrder) {
    MapData map;
    map.set(Value(int64_t{1}), Value("a"));
    map.set(Value("x"), Value("first"));
    map.set(Value(1.0), Value("b"));
    ASSERT_EQ(map.size(), 2u);
    EXPECT_TRUE(map.begin()->key.isInt());  // the key first stored is kept
    EXPECT_EQ(map.begin()->value.asString(), "b");
    EXPECT_EQ(map.find(Value("x"))->asString(), "first");
    EXPECT_EQ(map.find(Value(int64_t{2})), nullptr);
    EXPECT_EQ(map.find(Value::newList()), nullptr);

    map.set(Value(std::nan("")), Value(int64_t{1}));
    map.set(Value(std::nan("")), Value(int64_t{2}));
    EXPECT_EQ(map.size(), 4u);  // NaN keys are never found, so each store appends
    EXPECT_EQ(map.find(Value(std::nan(""))), nullptr);

    EXPECT_TRUE(map.remove(Value("x")));
    EXPECT_FALSE(map.remove(Value("x")));
    EXPECT_EQ(map.size(), 3u);
    EXPECT_TRUE(std::next(map.begin())->key.isFloat());
}

TEST(Values, KindsTruthinessAndSharing) {
    EXPECT_EQ(sizeof(Value), 16u);
    EXPECT_STREQ(typeName(Value(int64_t{1})), "number");
    EXPECT_STREQ(typeName(Value(1.5)), "number");
    EXPECT_STREQ(typeName(Value::newMap()), "map");
    EXPECT_FALSE(isTruthy(Value()));
    EXPECT_FALSE(isTruthy(Value(false)));
    EXPECT_TRUE(isTruthy(Value(int64_t{0})));
    EXPECT_TRUE(isTruthy(Value(0.0)));
    EXPECT_TRUE(isTruthy(Value("")));
    EXPECT_TRUE(isTruthy(Value::newList()));

    Value a = Value::newList();
    Value b = a;
    b.listItems().push_back(Value(int64_t{5}));
    EXPECT_EQ(a.listItems().size(), 1u);

    Value moved = std::move(a);
    EXPECT_TRUE(a.isNil());  // NOLINT(bugprone-use-after-move): a moved-from Value is nil
    EXPECT_EQ(moved.asObject()->refCount, 2u);
}

TEST(MapStorage, LargeMapsAnswerLikeTheScan) {
    MapData map;
    for (int i = 0; i < 1000; ++i) map.set(Value("k" + std::to_string(i)), Value(int64_t{i}));
    for (int i = 0; i < 200; ++i) map.set(Value(int64_t{i}), Value("int"));
    ASSERT_EQ(map.size(), 1200u);
    EXPECT_EQ(map.find(Value("k999"))->asInt(), 999);
    EXPECT_EQ(map.find(Value("nope")), nullptr);

    // An Int and a Float of equal value name one entry; the first key stays.
    map.set(Value(5.0), Value("float"));
    EXPECT_EQ(map.size(), 1200u);
    EXPECT_TRUE(std::next(map.begin(), 1005)->key.isInt());
    EXPECT_EQ(map.find(Value(int64_t{5}))->asString(), "float");
    EXPECT_EQ(map.find(Value(-0.0))->asString(), "int");  // -0.0 finds the key 0

    // Ints that round to one double are one key, as in the scan.
    map.set(Value(int64_t{1LL << 53}), Value("big"));
    EXPECT_EQ(map.find(Value(int64_t{(1LL << 53) + 1}))->asString(), "big");

    // NaN keys are never found and always appended.
    map.set(Value(std::nan("")), Value(int64_t{1}));
    map.set(Value(std::nan("")), Value(int64_t{2}));
    EXPECT_EQ(map.size(), 1203u);
    EXPECT_EQ(map.find(Value(std::nan(""))), nullptr);

    // Removing keeps the order of the rest and lookups stay right.
    EXPECT_TRUE(map.remove(Value("k0")));
    EXPECT_EQ(map.begin()->key.asString(), "k1");
    EXPECT_EQ(map.find(Value("k500"))->asInt(), 500);

    // Entries appended directly are seen by later lookups.
    map.append(Value("direct"), Value(true));
    EXPECT_TRUE(map.find(Value("direct"))->asBool());
    EXPECT_EQ(map.find(Value::newList()), nullptr);
}

TEST(MapStorage, AgreesWithAnAssociationListUnderRandomSetsAndRemoves) {
    // Each round grows the map to about `target` entries and then mostly
    // removes, so sizes cross the index threshold and removals cross the
    // points where holes take over half the positions, in both directions.
    // Keys are Ints, equal Floats and strings, so first-kept keys and both
    // kinds of lookup are covered, and nil, which the storage itself does not
    // refuse and which must never match a hole.
    uint64_t state = 2024;
    auto next = [&](uint64_t bound) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % bound;
    };
    for (const std::size_t target : {6u, 15u, 16u, 17u, 31u, 33u, 64u, 120u}) {
        std::vector<Value> pool{Value()};
        for (std::size_t i = 0; i < target * 2; ++i) {
            const auto number = static_cast<int64_t>(i / 3);
            if (i % 3 == 0) pool.emplace_back(number);
            if (i % 3 == 1) pool.emplace_back(static_cast<double>(number));
            if (i % 3 == 2) pool.emplace_back("k" + std::to_string(i));
        }
        Value holder = Value::newMap();
        MapData& map = holder.asMap();
        std::vector<MapEntry> model;
        auto modelFind = [&](const Value& key) {
            return std::find_if(model.begin(), model.end(), [&](const MapEntry& e) { return keysEqual(e.key, key); });
        };
        for (int round = 0; round < 4; ++round) {
            for (int growing = 1; growing >= 0; --growing) {
                for (int step = 0; step < static_cast<int>(target) * 4; ++step) {
                    if (growing && model.size() >= target) break;
                    if (!growing && model.size() <= target / 4) break;
                    const Value& key = pool[next(pool.size())];
                    if (next(4) < (growing ? 3u : 1u)) {
                        const Value value(static_cast<int64_t>(step));
                        map.set(key, value);
                        if (auto found = modelFind(key); found != model.end()) {
                            found->value = value;
                        } else {
                            model.push_back(MapEntry{key, value});
                        }
                    } else {
                        const auto found = modelFind(key);
                        ASSERT_EQ(map.remove(key), found != model.end()) << target << " " << toRepr(key);
                        if (found != model.end()) model.erase(found);
                    }
                    ASSERT_EQ(map.size(), model.size());
                    const Value& probe = pool[next(pool.size())];
                    const auto expected = modelFind(probe);
                    const Value* stored = map.find(probe);
                    ASSERT_EQ(stored != nullptr, expected != model.end()) << target << " " << toRepr(probe);
                    if (stored) {
                        ASSERT_EQ(stored->asInt(), expected->value.asInt());
                    }

                    // The live entries, in order, and the text form that walks them
                    // (in the large map not after every step, for time).
                    if (target > 64 && step % 16 != 0) continue;
                    std::string text = "{";
                    std::size_t at = 0;
                    for (const MapEntry& entry : std::as_const(map)) {
                        ASSERT_LT(at, model.size());
                        ASSERT_EQ(toRepr(entry.key), toRepr(model[at].key)) << target << " at " << at;
                        ASSERT_EQ(entry.value.asInt(), model[at].value.asInt());
                        // Holes never make up more than half the positions.
                        const std::ptrdiff_t position = map.indexOf(entry.key);
                        ASSERT_LT(static_cast<std::size_t>(position),
                                  std::max(2 * map.size(), MapData::kIndexThreshold));
                        text += (at++ ? ", " : "") + toRepr(entry.key) + ": " + toRepr(entry.value);
                    }
                    ASSERT_EQ(at, model.size());
                    ASSERT_EQ(toText(holder), text + "}");
                }
            }
        }
        Value copied = Value::newMap();
        copied.asMap().assign(map);
        EXPECT_EQ(toText(copied), toText(holder));
    }
}

TEST(Values, DeepNestingIsFreedAndPrintedWithoutRecursion) {
    Value innermost = Value::newList();
    Value list = innermost;
    for (int i = 0; i < 1000000; ++i) list = Value::newList({list});
    list = Value();  // frees a million nested lists

    Value shallow = Value::newList();
    for (int i = 0; i < 100000; ++i) shallow = Value::newList({shallow});
    std::string text = toText(shallow);
    EXPECT_EQ(text.size(), 200002u);
    EXPECT_EQ(text.substr(0, 3), "[[[");

    // A cycle far below the top is still caught, and siblings are not cycles.
    Value top = Value::newList();
    Value cursor = top;
    for (int i = 0; i < 100; ++i) {
        Value next = Value::newList();
        cursor.listItems().push_back(next);
        cursor = next;
    }
    cursor.listItems().push_back(top);
    cursor.listItems().push_back(Value::newMap());
    EXPECT_EQ(toText(top), std::string(101, '[') + "[...], {}" + std::string(101, ']'));
    cursor.listItems().clear();
}

TEST(Values, ConcatenationRefusesResultsPastTheCap) {
    ExecutionLimits& limits = executionLimits();
    const std::size_t saved = limits.maxContainerSize;
    limits.maxContainerSize = 4;
    Value result;
    EXPECT_TRUE(concatenate(Value("ab"), Value("cd"), result));
    EXPECT_EQ(result.asString(), "abcd");
    EXPECT_FALSE(concatenate(Value("ab"), Value("cde"), result));
    EXPECT_EQ(result.asString(), "abcd");  // unchanged when refused
    Value two = Value::newList({Value(int64_t{1}), Value(int64_t{2})});
    EXPECT_TRUE(concatenate(two, two, result));
    EXPECT_EQ(result.listItems().size(), 4u);
    EXPECT_FALSE(concatenate(result, two, result));
    limits.maxContainerSize = saved;
    // Lists stop far below the string cap: an element is 16 bytes.
    EXPECT_EQ(maxListLength(), kMaxListLength);
    EXPECT_GT(maxStringLength(), maxListLength());
}

TEST(Values, TheAllocationBudgetCountsNewStringsAndListsUntilSpent) {
    ExecutionLimits& limits = executionLimits();
    const ExecutionLimits saved = limits;
    limits.stepsEnabled = true;
    limits.allocationLeft = 40;
    const Value four = Value::newList({Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{3}), Value(int64_t{4})});
    Value result;
    EXPECT_TRUE(concatenate(four, four, result));
    EXPECT_EQ(limits.allocationLeft, 28u);
    // A string is charged for the room it is given, not only its length.
    const Value text("abcdefghijklmnopqrst");
    EXPECT_LE(limits.allocationLeft, 8u);
    const uint64_t left = limits.allocationLeft;
    bool exhausted = false;
    try {
        concatenate(text, text, result);
    } catch (const BudgetExhausted&) {
        exhausted = true;
    }
    EXPECT_TRUE(exhausted);
    EXPECT_EQ(limits.allocationLeft, left);  // nothing charged for what was refused
    EXPECT_EQ(result.listItems().size(), 8u);
    limits = saved;
    // Off, nothing is counted.
    limits.allocationLeft = 0;
    EXPECT_TRUE(concatenate(text, text, result));
    limits = saved;
}

TEST(Values, StringsOfEveryPooledSizeKeepTheirBytes) {
    // Lengths around every 16-byte size class and past the largest pooled
    // block, made and freed in an interleaved order, so that reused blocks
    // would show a stale or overrun byte.
    std::vector<Value> kept;
    for (std::size_t length = 0; length <= kLargestPooledObject + 40; ++length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>('a' + (i * 7 + length) % 26));
        Value made(text);
        ASSERT_EQ(made.asString(), text);
        EXPECT_EQ(made.asStringObj().bytes()[length], '\0');  // the C text routines rely on it
        if (length % 3 == 0) kept.push_back(made);
        Value doubled;
        ASSERT_TRUE(concatenate(made, made, doubled));
        EXPECT_EQ(doubled.asString(), text + text);
    }
    for (const Value& value : kept) {
        const std::string_view text = value.asString();
        for (std::size_t i = 0; i < text.size(); ++i)
            ASSERT_EQ(text[i], static_cast<char>('a' + (i * 7 + text.size()) % 26));
    }
    EXPECT_EQ(Value(std::string("with\0nul", 8)).asString().size(), 8u);
}

TEST(Values, ObjectsFreedWhileFreeingAnotherAreFreedToo) {
    // Each level is freed from the queue that the outermost free drains;
    // the string shows, by its count, that the innermost list let go of it.
    const Value text("kept");
    Value nested = Value::newList({text});
    for (int i = 0; i < 5; ++i) nested = Value::newList({nested, Value::newMap()});
    EXPECT_EQ(text.asObject()->refCount, 2u);
    nested = Value();
    EXPECT_EQ(text.asObject()->refCount, 1u);
}

TEST(Values, OneByteStringsAreSharedAndHoldTheirByte) {
    for (int code = 0; code < 256; ++code) {
        const auto byte = static_cast<unsigned char>(code);
        const Value& shared = byteString(byte);
        ASSERT_TRUE(shared.isString());
        EXPECT_EQ(shared.asString(), std::string(1, static_cast<char>(code))) << code;
        EXPECT_EQ(shared.asStringObj().bytes()[1], '\0');
        EXPECT_EQ(&byteString(byte), &shared);
    }
}

TEST(ValueVector, KeepsItsItemsAcrossTheShortListsPooledBlocks) {
    // Short lists take their blocks from the object pool and longer ones
    // from the general allocator: every length around the change, reached
    // by pushes, by a reservation and by a copy, keeps its items and their
    // counts, and gives every reference back when it goes.
    const Value text(std::string(40, 'x'));
    for (std::size_t length = 0; length <= 40; ++length) {
        {
            ValueVector pushed;
            ValueVector reserved;
            reserved.reserve(length);
            for (std::size_t i = 0; i < length; ++i) {
                pushed.push_back(i % 2 ? text : Value(static_cast<int64_t>(i)));
                reserved.push_back(pushed.back());
            }
            ValueVector copied(pushed);
            ASSERT_EQ(text.asObject()->refCount, 1 + 3 * (length / 2)) << length;
            for (const ValueVector* items : {&pushed, &reserved, &copied}) {
                ASSERT_EQ(items->size(), length);
                for (std::size_t i = 0; i < length; ++i) {
                    if (i % 2)
                        EXPECT_EQ((*items)[i].asObject(), text.asObject()) << length << " " << i;
                    else
                        EXPECT_EQ((*items)[i].asInt(), static_cast<int64_t>(i)) << length << " " << i;
                }
            }
        }
        EXPECT_EQ(text.asObject()->refCount, 1u) << length;
    }
}

TEST(ValueVector, AgreesWithAStandardVectorUnderRandomEdits) {
    // Strings carry reference counts, so a relocation that copied or dropped
    // an item shows in the counts as well as in the contents.
    std::vector<Value> pool;
    for (int i = 0; i < 6; ++i) pool.emplace_back(std::string(40, static_cast<char>('a' + i)));
    pool.emplace_back(int64_t{7});
    pool.emplace_back(2.5);
    std::vector<uint32_t> countsBefore;
    for (const Value& value : pool) countsBefore.push_back(value.isObject() ? value.asObject()->refCount : 0);

    uint64_t state = 12345;
    auto next = [&](uint64_t bound) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % bound;
    };
    {
        ValueVector items;
        std::vector<Value> model;
        for (int step = 0; step < 20000; ++step) {
            const Value& pick = pool[next(pool.size())];
            switch (next(8)) {
            case 0:
            case 1:
            case 2:
                items.push_back(pick);
                model.push_back(pick);
                break;
            case 3:
                if (!items.empty()) {
                    // An item of the vector itself, pushed while it may be full.
                    const std::size_t at = next(items.size());
                    items.push_back(items[at]);
                    model.push_back(model[at]);
                }
                break;
            case 4: {
                const std::size_t at = next(items.size() + 1);
                items.insert(items.begin() + at, pick);
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), pick);
                break;
            }
            case 5:
                if (!items.empty()) {
                    const std::size_t at = next(items.size());
                    const std::size_t count = next(std::min<std::size_t>(4, items.size() - at) + 1);
                    items.erase(items.begin() + at, items.begin() + at + count);
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(at),
                                model.begin() + static_cast<std::ptrdiff_t>(at + count));
                }
                break;
            case 6:
                if (!items.empty()) {
                    items.pop_back();
                    model.pop_back();
                }
                break;
            case 7:
                if (next(50) == 0) {
                    ValueVector copy(items.rbegin(), items.rend());
                    items = ValueVector(copy.rbegin(), copy.rend());
                } else if (next(100) == 0) {
                    items.clear();
                    model.clear();
                }
                break;
            }
            ASSERT_EQ(items.size(), model.size()) << step;
            if (step % 97 == 0 || step > 19900) {
                for (std::size_t i = 0; i < model.size(); ++i) ASSERT_TRUE(valuesEqual(items[i], model[i])) << step;
                for (std::size_t i = 0; i < pool.size(); ++i) {
                    if (!pool[i].isObject()) continue;
                    const auto uses =
                        static_cast<uint32_t>(std::count_if(model.begin(), model.end(), [&](const Value& v) {
                            return v.isObject() && v.asObject() == pool[i].asObject();
                        }));
                    ASSERT_EQ(pool[i].asObject()->refCount, countsBefore[i] + 2 * uses) << step;
                }
            }
        }
    }
    for (std::size_t i = 0; i < pool.size(); ++i) {
        if (pool[i].isObject()) {
            EXPECT_EQ(pool[i].asObject()->refCount, countsBefore[i]);
        }
    }
}
