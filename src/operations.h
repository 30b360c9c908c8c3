#pragma once

// The rules of the language's operators on values, shared by both engines:
// wrapping Int arithmetic, the arithmetic of "+" and the other arithmetic
// operators, comparison, element reads and stores, the items a for-in loop
// visits, and the messages of their errors.
//
// A rule that fails returns an OperationError and changes nothing; the engine
// raises it as a RuntimeError at its own position (the tree-walker at the
// node's line and column, the VM at the instruction's line and column 0),
// with the message that operationMessage builds. The engines keep their fast
// paths inline and call these for everything else.

#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "operators.h"
#include "value.h"

namespace velmor {

// ---------------------------------------------------------------------------
// Number arithmetic and comparison
//
// The rules below are written here once. The engines' fast paths, their slow
// paths (arithmetic, compare) and the sorts all run them; they are inline,
// and with the operator a constant where they are called, their switches
// fold away and what remains is the instruction the rule comes to.
//
// An Int with an Int gives an Int, wrapping in 64-bit two's complement; any
// other pair of numbers is computed in doubles and gives a Float. "/" always
// gives a Float, and so does "^" with a negative Int exponent. Numbers
// compare as doubles, equality included: distinct Ints past 2^53 that round
// to one double are equal.

// Int arithmetic wraps. Unsigned arithmetic gives that without undefined
// behaviour.
inline int64_t wrappingAdd(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
inline int64_t wrappingSub(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
inline int64_t wrappingMul(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}

// a // b rounded toward negative infinity; b is not 0. The one quotient that
// does not fit, the smallest Int by -1, wraps to itself.
inline int64_t floorDivide(int64_t a, int64_t b) {
    if (b == -1) return wrappingSub(0, a);
    int64_t quotient = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --quotient;
    return quotient;
}

// a % b truncated toward zero, with the sign of a; b is not 0. The smallest
// Int by -1 would trap in hardware; its remainder is 0.
inline int64_t truncatedRemainder(int64_t a, int64_t b) { return b == -1 ? 0 : a % b; }

// The product of `exponent` factors `base` (1 for none), wrapping; exponent
// is not negative. Squaring gives the same product as repeated
// multiplication, in time that does not grow with the exponent.
int64_t wrappingPower(int64_t base, int64_t exponent);

// The rules take and answer scalars only. Inlined into an engine's dispatch
// function, a local whose address is taken (an out-parameter, an optional, a
// lambda) keeps a stack slot of its own in that function's frame, with red
// zones in instrumented builds, and the frame is paid at every nested call of
// the engine.

// Whether x op y for two Ints and an arithmetic operator gives an Int: not
// for "/", "^" with a negative exponent, a zero divisor of "//" or "%", or an
// operator that is not arithmetic.
[[gnu::always_inline]] constexpr bool intArithmeticGivesInt(BinaryOp op, int64_t y) {
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Sub:
    case BinaryOp::Mul: return true;
    case BinaryOp::FloorDiv:
    case BinaryOp::Mod: return y != 0;
    case BinaryOp::Pow: return y >= 0;
    default: return false;
    }
}

// x op y for two Ints where intArithmeticGivesInt holds, wrapping.
[[gnu::always_inline]] inline int64_t intArithmetic(BinaryOp op, int64_t x, int64_t y) {
    switch (op) {
    case BinaryOp::Add: return wrappingAdd(x, y);
    case BinaryOp::Sub: return wrappingSub(x, y);
    case BinaryOp::Mul: return wrappingMul(x, y);
    case BinaryOp::FloorDiv: return floorDivide(x, y);
    case BinaryOp::Mod:
        // One test sets apart y of -1, where the division could trap on the least Int.
        if (y == -1) [[unlikely]]
            return truncatedRemainder(x, y);
        return x % y;
    default: return wrappingPower(x, y);
    }
}

// Whether x op y in doubles is defined for an arithmetic operator: not for a
// zero divisor (0.0 or -0.0) of "/", "//" or "%", nor for an operator that is
// not arithmetic. A NaN divisor is no zero.
[[gnu::always_inline]] constexpr bool floatArithmeticDefined(BinaryOp op, double y) {
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Sub:
    case BinaryOp::Mul:
    case BinaryOp::Pow: return true;
    case BinaryOp::Div:
    case BinaryOp::FloorDiv:
    case BinaryOp::Mod: return y != 0.0;
    default: return false;
    }
}

// x op y in doubles where floatArithmeticDefined holds.
[[gnu::always_inline]] inline double floatArithmetic(BinaryOp op, double x, double y) {
    switch (op) {
    case BinaryOp::Add: return x + y;
    case BinaryOp::Sub: return x - y;
    case BinaryOp::Mul: return x * y;
    case BinaryOp::Div: return x / y;
    case BinaryOp::FloorDiv: return std::floor(x / y);
    // Truncated toward zero, with the sign of x, as for Ints: -7.5 % 2 is -1.5.
    case BinaryOp::Mod: return std::fmod(x, y);
    default: return std::pow(x, y);
    }
}

// What a caller of the arithmetic below knows of its operands: nothing, or
// that both are numbers (a fast path that has checked their kinds already
// spares the second look).
enum class Operands : uint8_t { Any, Numbers };

// What a op b comes to for an arithmetic operator: an Int (intArithmetic of
// the two Ints), a Float (floatArithmetic of their doubles), or no number,
// for an operand that is no number or a zero divisor.
enum class ArithmeticResult : uint8_t { None, Int, Float };

template <Operands operands = Operands::Any>
[[gnu::always_inline]] inline ArithmeticResult arithmeticResultOf(BinaryOp op, const Value& a, const Value& b) {
    if (a.isInt() && b.isInt()) {
        if (intArithmeticGivesInt(op, b.asInt())) return ArithmeticResult::Int;
        // Only these leave the Ints; otherwise a divisor was 0 or the operator is no arithmetic.
        if (op != BinaryOp::Div && (op != BinaryOp::Pow || b.asInt() >= 0)) return ArithmeticResult::None;
    } else if constexpr (operands == Operands::Any) {
        if (!a.isNumber() || !b.isNumber()) return ArithmeticResult::None;
    }
    return floatArithmeticDefined(op, asDouble(b)) ? ArithmeticResult::Float : ArithmeticResult::None;
}

// a op b for an arithmetic operator into `result`: true when both are numbers
// and no divisor is zero; false, writing nothing, otherwise (arithmetic then
// tells which error it is). `result` is overwritten without letting go of
// what it held, so it must hold no reference: a number, nil, or an operand.
template <Operands operands = Operands::Any>
[[gnu::always_inline]] inline bool numberArithmetic(BinaryOp op, const Value& a, const Value& b, Value& result) {
    switch (arithmeticResultOf<operands>(op, a, b)) {
    case ArithmeticResult::Int: new (&result) Value(intArithmetic(op, a.asInt(), b.asInt())); return true;
    case ArithmeticResult::Float: new (&result) Value(floatArithmetic(op, asDouble(a), asDouble(b))); return true;
    default: return false;
    }
}

// a = a op b as numberArithmetic computes it: an Int result of an Int a
// rewrites only the payload, the kind being Int already.
template <Operands operands = Operands::Any>
[[gnu::always_inline]] inline bool numberArithmeticInPlace(BinaryOp op, Value& a, const Value& b) {
    switch (arithmeticResultOf<operands>(op, a, b)) {
    case ArithmeticResult::Int: a.intRef() = intArithmetic(op, a.asInt(), b.asInt()); return true;
    case ArithmeticResult::Float: new (&a) Value(floatArithmetic(op, asDouble(a), asDouble(b))); return true;
    default: return false;
    }
}

// x op y for a comparison operator ("==", "!=", "<", "<=", ">", ">=") on
// doubles: every comparison with a NaN is false, "!=" true.
[[gnu::always_inline]] constexpr bool compareDoubles(BinaryOp op, double x, double y) {
    switch (op) {
    case BinaryOp::Eq: return x == y;
    case BinaryOp::NotEq: return x != y;
    case BinaryOp::Less: return x < y;
    case BinaryOp::LessEq: return x <= y;
    case BinaryOp::Greater: return x > y;
    default: return x >= y;
    }
}

// compareDoubles of the doubles of two Ints, mostly without converting them:
// conversion never reverses an order, so the Ints decide, except where two
// distinct Ints (both past 2^53) become the same double.
[[gnu::always_inline]] constexpr bool compareIntsAsDoubles(BinaryOp op, int64_t x, int64_t y) {
    switch (op) {
    case BinaryOp::Eq: return x == y || static_cast<double>(x) == static_cast<double>(y);
    case BinaryOp::NotEq: return x != y && static_cast<double>(x) != static_cast<double>(y);
    case BinaryOp::Less: return x < y && static_cast<double>(x) != static_cast<double>(y);
    case BinaryOp::LessEq: return x <= y || static_cast<double>(x) == static_cast<double>(y);
    case BinaryOp::Greater: return x > y && static_cast<double>(x) != static_cast<double>(y);
    default: return x >= y || static_cast<double>(x) == static_cast<double>(y);
    }
}

// a op b for a comparison operator on two numbers.
[[gnu::always_inline]] inline bool compareNumbers(BinaryOp op, const Value& a, const Value& b) {
    return compareDoubles(op, asDouble(a), asDouble(b));
}

// The order of two strings (negative, zero or positive): bytes as unsigned,
// a proper prefix the smaller. The first bytes decide most pairs, so they
// are looked at before the library call.
inline int stringOrder(std::string_view x, std::string_view y) {
    if (!x.empty() && !y.empty() && x[0] != y[0])
        return static_cast<unsigned char>(x[0]) < static_cast<unsigned char>(y[0]) ? -1 : 1;
    return x.compare(y);
}

// x op y for a comparison operator on two strings, in that order.
inline bool compareStrings(BinaryOp op, std::string_view x, std::string_view y) {
    switch (op) {
    case BinaryOp::Eq: return x == y;
    case BinaryOp::NotEq: return x != y;
    case BinaryOp::Less: return stringOrder(x, y) < 0;
    case BinaryOp::LessEq: return stringOrder(x, y) <= 0;
    case BinaryOp::Greater: return stringOrder(x, y) > 0;
    default: return stringOrder(x, y) >= 0;
    }
}

// ---------------------------------------------------------------------------
// Errors

enum class OperationError : uint8_t {
    None,
    CannotAdd,     // "+" of anything but two numbers, strings or lists
    NeedsNumbers,  // another arithmetic operator on a non-number: worded per engine
    DivisionByZero,
    FloorDivisionByZero,
    ModuloByZero,
    ResultTooLarge,  // a concatenation longer than a string or list may be
    CannotCompare,   // "<" and the like on anything but two numbers or two strings
    ListIndexNotInteger,
    ListIndexOutOfRange,
    StringIndexNotInteger,
    StringIndexOutOfRange,
    CannotIndex,
    MapKeyNotStringOrNumber,  // storing into a map
    CannotAssignInto,
    CannotIterate,
    UnknownOperator,  // arithmetic with an operator that is not arithmetic
};

// The engines word one error differently: an arithmetic operator other than
// "+" on a non-number.
enum class Wording : uint8_t { TreeWalker, Vm };

namespace wording {

// "operator '" + op + "' needs numbers, got " + T + " and " + T
inline constexpr const char* kTreeWalkerNeedsNumbersBefore = "operator '";
inline constexpr const char* kTreeWalkerNeedsNumbersAfter = "' needs numbers, got ";
// "arithmetic needs numbers, got " + T + " and " + T
inline constexpr const char* kVmNeedsNumbers = "arithmetic needs numbers, got ";

// The numeric for loop: the tree-walker checks its bounds and step once,
// compiled code checks at every test.
inline constexpr const char* kTreeWalkerForBounds = "numeric for-loop bounds must be numbers";
inline constexpr const char* kTreeWalkerForStep = "for step must be a number";
inline constexpr const char* kTreeWalkerForZeroStep = "for-loop step cannot be 0";
inline constexpr const char* kVmForNumbers = "numeric for-loop needs numbers";

}  // namespace wording

// The message of `error`, raised by a rule applied to `first` and `second`
// (the operands; or the object and the key of an element access; or the
// iterated value and anything), for the engine that words it and the
// operator it applied.
std::string operationMessage(OperationError error, const Value& first, const Value& second, Wording wording,
                             BinaryOp op);

// Message fragments both engines raise outside the rules above.
inline constexpr const char* kCallStackOverflow = "call stack overflow (too much recursion)";
inline constexpr const char* kResultTooLarge = "result too large";
inline constexpr const char* kUnaryMinusPrefix = "unary '-': expected a number, got ";
inline constexpr const char* kMapLiteralKeyPrefix = "map keys must be string or number, got ";
inline constexpr const char* kNotCallableSuffix = " is not callable";
inline constexpr const char* kUndefinedVariablePrefix = "undefined variable '";
inline constexpr const char* kUndefinedAssignmentPrefix = "cannot assign to undefined variable '";
inline constexpr const char* kUndefinedAssignmentSuffix = "' (use 'let' to declare it)";

// name + "() expects " + expected + " argument(s), got " + given: the one
// arity message of Velmor functions and builtins alike.
std::string arityMessage(std::string_view name, std::string_view expected, std::size_t given);

// ---------------------------------------------------------------------------
// Operators on values

// "+": two Ints add wrapping, other numbers as doubles; two strings or two
// lists concatenate into a new value.
OperationError add(const Value& a, const Value& b, Value& result);

// Appends that reuse the left string or list. Strings are values, so a
// string that no one else holds may grow where it is: no one can tell, and
// building a string piece by piece then costs time in proportion to its
// length. A list that no one else holds is the same: "+" makes a new list,
// but one that nothing else can reach may be the old one grown.
//
// Two strings or two lists: what these appends apply to.
inline bool isAppendable(const Value& left, const Value& tail) {
    return (left.isString() && tail.isString()) || (left.isList() && tail.isList());
}
// target += tail (a compound assignment): true when target's string is held
// by target alone, tail is a string and the append fitted under the size
// cap; false, changing nothing, otherwise (the caller then adds as usual).
inline bool appendToOwnString(Value& target, const Value& tail) {
    return target.isString() && tail.isString() && target.asObject()->refCount == 1 &&
           appendToString(target, tail.asString());
}
// The same for a string or a list.
inline bool appendToOwn(Value& target, const Value& tail) {
    if (target.isList()) {
        return tail.isList() && target.asObject()->refCount == 1 && appendToList(target, tail.listItems());
    }
    return appendToOwnString(target, tail);
}
// holder = sum + tail (an assignment of a sum), with `sum` the left operand
// already evaluated: when sum is the string or list that holder holds, and
// only holder and sum hold it, holder lets go of it so that sum grows in
// place, and both hold the result. True when that was done; false, changing
// nothing, when it does not apply or the result would pass the size cap. If
// the append throws (out of memory), holder gets its value back unchanged.
//
// holder = sum + tail + "k"...: `spare` is the length of the string
// constants that the adds right after this one append. Their room is made
// now, so that they cannot fail, and on success the result is left to sum
// alone, for them to grow it in place; the store after them gives it back
// to holder. Nothing runs in between that could see holder empty.
bool appendInPlace(Value& holder, Value& sum, const Value& tail, std::size_t spare = 0);

// Any arithmetic operator on two numbers (NeedsNumbers otherwise): the
// result of numberArithmetic, or the error of a zero divisor. "+" is here
// for compound assignment of numbers; its other operands are add's.
OperationError arithmetic(BinaryOp op, const Value& a, const Value& b, Value& result);

// "<", "<=", ">" or ">=": compareNumbers on numbers, compareStrings on
// strings, CannotCompare otherwise.
OperationError compare(BinaryOp op, const Value& a, const Value& b, bool& result);

// Turns an Int index into a position among `size` elements, a negative index
// counting from the end; false when it is out of range.
inline bool toPosition(int64_t& index, std::size_t size) {
    if (index < 0) index += static_cast<int64_t>(size);
    return static_cast<uint64_t>(index) < size;
}

// The nil that a missing map key reads.
extern const Value kMissingElement;

// The element that object[key] names in a list, string or map: the list
// element, the one-byte string, the map entry's value or kMissingElement;
// null, with `error` set, when there is none. The pointer is good until the
// object changes. Inline: both engines read elements on their hot paths.
inline const Value* elementAt(const Value& object, const Value& key, OperationError& error) {
    switch (object.kind()) {
    case ValueKind::List: {
        if (!key.isInt()) {
            error = OperationError::ListIndexNotInteger;
            return nullptr;
        }
        const ValueVector& items = object.listItems();
        int64_t index = key.asInt();
        if (!toPosition(index, items.size())) {
            error = OperationError::ListIndexOutOfRange;
            return nullptr;
        }
        return &items[static_cast<std::size_t>(index)];
    }
    case ValueKind::Map: {
        const Value* found = object.asMap().find(key);
        return found ? found : &kMissingElement;
    }
    case ValueKind::String: {
        if (!key.isInt()) {
            error = OperationError::StringIndexNotInteger;
            return nullptr;
        }
        const std::string_view text = object.asString();
        int64_t index = key.asInt();
        if (!toPosition(index, text.size())) {
            error = OperationError::StringIndexOutOfRange;
            return nullptr;
        }
        return &byteString(static_cast<unsigned char>(text[static_cast<std::size_t>(index)]));
    }
    default: error = OperationError::CannotIndex; return nullptr;
    }
}

// object[key] = value for a list element or a map entry. Lists never grow.
OperationError storeElement(const Value& object, const Value& key, Value value);
// The list element or map entry value that storeElement(object, key, ...)
// would replace, or nullptr when there is none (an error, a missing key, a
// string). Good until the object changes.
Value* storedElement(const Value& object, const Value& key);

// What a for-in loop visits, fixed when it starts: a list's elements, a
// string's bytes as one-byte strings, a map's keys, in order.
OperationError forInItems(const Value& iterable, ValueVector& items);

}  // namespace velmor
