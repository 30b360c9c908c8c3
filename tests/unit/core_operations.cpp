#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "operations.h"
#include "value.h"

using namespace velmor;

namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// The message an engine raises for a failed rule, or "" when it succeeds.
std::string failure(OperationError error, const Value& first, const Value& second, Wording wording = Wording::Vm,
                    BinaryOp op = BinaryOp::Sub) {
    return error == OperationError::None ? "" : operationMessage(error, first, second, wording, op);
}

Value list(ValueVector items) { return Value::newList(std::move(items)); }

// elementAt as a rule with a result, like the others.
OperationError readElement(const Value& object, const Value& key, Value& element) {
    OperationError error = OperationError::None;
    const Value* found = elementAt(object, key, error);
    if (found) element = *found;
    return found ? OperationError::None : error;
}

}  // namespace

TEST(IntArithmetic, FloorsDivisionTruncatesRemainderAndWraps) {
    struct Case {
        int64_t a, b, floor, remainder;
    };
    const Case cases[] = {
        {7, 2, 3, 1}, {-7, 2, -4, -1}, {7, -2, -4, 1},      {-7, -2, 3, -1},
        {6, 3, 2, 0}, {-6, 3, -2, 0},  {kMin, -1, kMin, 0}, {kMax, -1, -kMax, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(floorDivide(c.a, c.b), c.floor) << c.a << " // " << c.b;
        EXPECT_EQ(truncatedRemainder(c.a, c.b), c.remainder) << c.a << " % " << c.b;
    }
    EXPECT_EQ(wrappingAdd(kMax, 1), kMin);
    EXPECT_EQ(wrappingSub(kMin, 1), kMax);
    EXPECT_EQ(wrappingMul(int64_t{1} << 62, 2), kMin);
    EXPECT_EQ(wrappingPower(2, 10), 1024);
    EXPECT_EQ(wrappingPower(2, 63), kMin);
    EXPECT_EQ(wrappingPower(2, 64), 0);
    EXPECT_EQ(wrappingPower(0, 0), 1);
    EXPECT_EQ(wrappingPower(-3, 3), -27);
}

TEST(Arithmetic, KindsOfResultsAndZeroDivisors) {
    Value result;
    ASSERT_EQ(arithmetic(BinaryOp::Div, Value(int64_t{6}), Value(int64_t{3}), result), OperationError::None);
    EXPECT_TRUE(result.isFloat());
    EXPECT_EQ(result.asFloat(), 2.0);
    ASSERT_EQ(arithmetic(BinaryOp::Pow, Value(int64_t{2}), Value(int64_t{-1}), result), OperationError::None);
    EXPECT_EQ(result.asFloat(), 0.5);
    ASSERT_EQ(arithmetic(BinaryOp::FloorDiv, Value(7.5), Value(int64_t{2}), result), OperationError::None);
    EXPECT_EQ(result.asFloat(), 3.0);
    ASSERT_EQ(arithmetic(BinaryOp::Mod, Value(-7.5), Value(int64_t{2}), result), OperationError::None);
    EXPECT_EQ(result.asFloat(), -1.5);

    const Value one(int64_t{1});
    EXPECT_EQ(failure(arithmetic(BinaryOp::Div, one, Value(-0.0), result), one, Value(-0.0)), "division by zero");
    EXPECT_EQ(failure(arithmetic(BinaryOp::FloorDiv, one, Value(int64_t{0}), result), one, one),
              "floor division by zero");
    EXPECT_EQ(failure(arithmetic(BinaryOp::Mod, one, Value(0.0), result), one, one), "modulo by zero");
    EXPECT_EQ(failure(arithmetic(BinaryOp::Div, one, Value(std::nan("")), result), one, one), "");
}

TEST(Arithmetic, TheEnginesWordANonNumberOperandEachTheirOwnWay) {
    Value result;
    const Value text("a");
    const Value one(int64_t{1});
    const OperationError error = arithmetic(BinaryOp::FloorDiv, text, one, result);
    EXPECT_EQ(failure(error, text, one, Wording::TreeWalker, BinaryOp::FloorDiv),
              "operator '//' needs numbers, got string and number");
    EXPECT_EQ(failure(error, text, one, Wording::Vm, BinaryOp::FloorDiv),
              "arithmetic needs numbers, got string and number");
    EXPECT_EQ(failure(add(text, one, result), text, one), "cannot add string and number");
    ASSERT_EQ(add(list({one}), list({text}), result), OperationError::None);
    EXPECT_EQ(toRepr(result), "[1, \"a\"]");
}

TEST(Compare, NumbersAsDoublesStringsBytewise) {
    bool result = true;
    ASSERT_EQ(compare(BinaryOp::Less, Value("ab"), Value("abc"), result), OperationError::None);
    EXPECT_TRUE(result);
    ASSERT_EQ(compare(BinaryOp::Less, Value("Z"), Value("a"), result), OperationError::None);
    EXPECT_TRUE(result);
    ASSERT_EQ(compare(BinaryOp::Greater, Value("\xff"), Value("a"), result), OperationError::None);
    EXPECT_TRUE(result);
    ASSERT_EQ(compare(BinaryOp::GreaterEq, Value(std::nan("")), Value(1.0), result), OperationError::None);
    EXPECT_FALSE(result);
    EXPECT_EQ(failure(compare(BinaryOp::Less, Value(int64_t{1}), Value("2"), result), Value(int64_t{1}), Value("2")),
              "cannot compare number and string");
}

TEST(Elements, PositionsCountFromTheEndAndReportTheKeyAsWritten) {
    const Value items = list({Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{3})});
    Value element;
    ASSERT_EQ(readElement(items, Value(int64_t{-1}), element), OperationError::None);
    EXPECT_EQ(element.asInt(), 3);
    struct Case {
        Value object;
        Value key;
        const char* message;
    };
    const Case cases[] = {
        {items, Value(int64_t{-4}), "list index -4 out of range (len 3)"},
        {items, Value(int64_t{3}), "list index 3 out of range (len 3)"},
        {items, Value(1.0), "list index must be an integer, got number"},
        {Value("abc"), Value(int64_t{3}), "string index out of range"},
        {Value("abc"), Value("x"), "string index must be an integer, got string"},
        {Value(int64_t{5}), Value("x"), "cannot index number"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(failure(readElement(c.object, c.key, element), c.object, c.key), c.message);
    }
    ASSERT_EQ(readElement(Value("abc"), Value(int64_t{1}), element), OperationError::None);
    EXPECT_EQ(element.asString(), "b");
    ASSERT_EQ(readElement(Value::newMap(), Value(int64_t{1}), element), OperationError::None);
    EXPECT_TRUE(element.isNil());
}

TEST(Elements, StoresChangeListsAndMapsOnly) {
    const Value items = list({Value(int64_t{1})});
    ASSERT_EQ(storeElement(items, Value(int64_t{-1}), Value("x")), OperationError::None);
    EXPECT_EQ(toRepr(items), "[\"x\"]");
    EXPECT_EQ(failure(storeElement(items, Value(int64_t{1}), Value()), items, Value(int64_t{1})),
              "list index 1 out of range (len 1)");
    const Value map = Value::newMap();
    EXPECT_EQ(failure(storeElement(map, Value(true), Value()), map, Value(true)),
              "map key must be a string or number, got bool");
    EXPECT_EQ(failure(storeElement(Value("abc"), Value(int64_t{0}), Value()), Value("abc"), Value()),
              "cannot assign into string");
}

TEST(ForIn, ItemsAreASnapshot) {
    const Value items = list({Value(int64_t{1}), Value(int64_t{2})});
    ValueVector visited;
    ASSERT_EQ(forInItems(items, visited), OperationError::None);
    items.listItems().clear();
    EXPECT_EQ(visited.size(), 2u);
    visited.clear();
    ASSERT_EQ(forInItems(Value("hi"), visited), OperationError::None);
    ASSERT_EQ(visited.size(), 2u);
    EXPECT_EQ(visited[1].asString(), "i");
    EXPECT_EQ(failure(forInItems(Value(), visited), Value(), Value()), "cannot iterate over nil");
}

TEST(Arity, OneMessageForFunctionsAndBuiltins) {
    EXPECT_EQ(arityMessage("f", "2", 3), "f() expects 2 argument(s), got 3");
    EXPECT_EQ(arityMessage("range", "1-3", 0), "range() expects 1-3 argument(s), got 0");
}

// The shared number rules on pairs of boundary values: the forms that the
// fast paths take (in place, on operands known to be numbers, Ints without
// converting) give what the general form gives, bit for bit, for every
// arithmetic and comparison operator.
TEST(NumberRules, EveryFormAgreesOnBoundaryValues) {
    const int64_t p53 = int64_t{1} << 53;
    const std::vector<int64_t> ints = {kMin, kMin + 1, -p53 - 1, -p53, -1,      0,        1,
                                       2,    7,        p53 - 1,  p53,  p53 + 1, kMax - 1, kMax};
    std::vector<Value> numbers;
    for (const int64_t i : ints) numbers.emplace_back(i);
    for (const double d : {0.0, -0.0, 0.5, -2.75, 9007199254740993.0, std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), std::nan("")})
        numbers.emplace_back(d);
    // Same kind and same bits: -0.0 is not 0.0.
    const auto same = [](const Value& x, const Value& y) {
        if (x.kind() != y.kind()) return false;
        if (x.isInt()) return x.asInt() == y.asInt();
        const double dx = x.asFloat(), dy = y.asFloat();
        return std::memcmp(&dx, &dy, sizeof dx) == 0;
    };
    const BinaryOp arithmeticOps[] = {BinaryOp::Add,      BinaryOp::Sub, BinaryOp::Mul, BinaryOp::Div,
                                      BinaryOp::FloorDiv, BinaryOp::Mod, BinaryOp::Pow};
    const BinaryOp comparisonOps[] = {BinaryOp::Eq,     BinaryOp::NotEq,   BinaryOp::Less,
                                      BinaryOp::LessEq, BinaryOp::Greater, BinaryOp::GreaterEq};
    for (const Value& a : numbers) {
        for (const Value& b : numbers) {
            const std::string pair = toRepr(a) + ", " + toRepr(b);
            for (const BinaryOp op : arithmeticOps) {
                Value general;
                const bool computed = numberArithmetic(op, a, b, general);
                Value known;
                EXPECT_EQ(numberArithmetic<Operands::Numbers>(op, a, b, known), computed) << pair;
                Value inPlace = a;
                EXPECT_EQ(numberArithmeticInPlace(op, inPlace, b), computed) << pair;
                Value slow;
                EXPECT_EQ(arithmetic(op, a, b, slow) == OperationError::None, computed) << pair;
                if (!computed) continue;
                EXPECT_TRUE(same(known, general)) << operatorSpelling(op) << " " << pair;
                EXPECT_TRUE(same(inPlace, general)) << operatorSpelling(op) << " " << pair;
                EXPECT_TRUE(same(slow, general)) << operatorSpelling(op) << " " << pair;
                EXPECT_EQ(general.isInt(),
                          a.isInt() && b.isInt() && op != BinaryOp::Div && (op != BinaryOp::Pow || b.asInt() >= 0))
                    << operatorSpelling(op) << " " << pair;
            }
            for (const BinaryOp op : comparisonOps) {
                const bool answer = compareNumbers(op, a, b);
                EXPECT_EQ(answer, compareDoubles(op, asDouble(a), asDouble(b))) << pair;
                if (a.isInt() && b.isInt()) {
                    EXPECT_EQ(compareIntsAsDoubles(op, a.asInt(), b.asInt()), answer)
                        << operatorSpelling(op) << " " << pair;
                }
                if (op == BinaryOp::Eq) {
                    EXPECT_EQ(valuesEqual(a, b), answer) << pair;
                }
            }
        }
    }
    // Past 2^53 distinct Ints can be one double, and then they are equal.
    EXPECT_TRUE(compareIntsAsDoubles(BinaryOp::Eq, p53, p53 + 1));
    EXPECT_FALSE(compareIntsAsDoubles(BinaryOp::Less, p53, p53 + 1));
    EXPECT_TRUE(compareIntsAsDoubles(BinaryOp::Less, p53 - 1, p53));
}
