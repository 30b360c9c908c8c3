// The builtin registry: the one table of every builtin's name, function and
// argument bounds, in registration order, and the helpers every family shares.

#include <array>
#include <cmath>

#include "../environment.h"
#include "../operations.h"
#include "support.h"

namespace velmor {

namespace {

constexpr int32_t kUnbounded = -1;

// name, function, least and most arguments (-1: no upper bound)
constexpr std::array<BuiltinInfo, 78> kBuiltins = {{
    {"print", nativePrint, 0, kUnbounded},
    {"input", nativeInput, 0, 1},
    {"type", nativeType, 1, 1},
    {"str", nativeStr, 1, 1},
    {"repr", nativeRepr, 1, 1},
    {"num", nativeNum, 1, 1},
    {"int", nativeInt, 1, 1},
    {"bool", nativeBool, 1, 1},
    {"len", nativeLen, 1, 1},
    {"push", nativePush, 1, kUnbounded},
    {"pop", nativePop, 1, 1},
    {"range", nativeRange, 1, 3},
    {"keys", nativeKeys, 1, 1},
    {"values", nativeValues, 1, 1},
    {"has", nativeHas, 2, 2},
    {"slice", nativeSlice, 1, 3},
    {"map", nativeMap, 2, 2},
    {"filter", nativeFilter, 2, 2},
    {"reduce", nativeReduce, 2, 3},
    {"sort", nativeSort, 1, 2},
    {"reverse", nativeReverse, 1, 1},
    {"find", nativeFind, 2, 2},
    {"sum", nativeSum, 1, 1},
    {"count", nativeCount, 2, 2},
    {"upper", nativeUpper, 1, 1},
    {"lower", nativeLower, 1, 1},
    {"split", nativeSplit, 1, 2},
    {"join", nativeJoin, 1, 2},
    {"trim", nativeTrim, 1, 1},
    {"replace", nativeReplace, 3, 3},
    {"starts_with", nativeStartsWith, 2, 2},
    {"ends_with", nativeEndsWith, 2, 2},
    {"char", nativeChar, 1, 1},
    {"ord", nativeOrd, 1, 1},
    {"floor", nativeFloor, 1, 1},
    {"ceil", nativeCeil, 1, 1},
    {"abs", nativeAbs, 1, 1},
    {"sqrt", nativeSqrt, 1, 1},
    {"min", nativeMin, 1, kUnbounded},
    {"max", nativeMax, 1, kUnbounded},
    {"round", nativeRound, 1, 2},
    {"pow", nativePow, 2, 2},
    {"sin", nativeSin, 1, 1},
    {"cos", nativeCos, 1, 1},
    {"tan", nativeTan, 1, 1},
    {"log", nativeLog, 1, 2},
    {"exp", nativeExp, 1, 1},
    {"random", nativeRandom, 0, 0},
    {"randint", nativeRandint, 2, 2},
    {"float", nativeFloat, 1, 1},
    {"hex", nativeHex, 1, 1},
    {"bin", nativeBin, 1, 1},
    {"oct", nativeOct, 1, 1},
    {"parse_int", nativeParseInt, 1, 2},
    {"chars", nativeChars, 1, 1},
    {"is_number", nativeIsNumber, 1, 1},
    {"is_string", nativeIsString, 1, 1},
    {"is_list", nativeIsList, 1, 1},
    {"is_map", nativeIsMap, 1, 1},
    {"is_nil", nativeIsNil, 1, 1},
    {"is_bool", nativeIsBool, 1, 1},
    {"is_function", nativeIsFunction, 1, 1},
    {"clamp", nativeClamp, 3, 3},
    {"sign", nativeSign, 1, 1},
    {"copy", nativeCopy, 1, 1},
    {"zip", nativeZip, 2, 2},
    {"enumerate", nativeEnumerate, 1, 1},
    {"insert", nativeInsert, 3, 3},
    {"remove_at", nativeRemoveAt, 2, 2},
    {"get", nativeGet, 2, 3},
    {"contains", nativeHas, 2, 2},  // one function with has; its messages say "has"
    {"repeat", nativeRepeat, 2, 2},
    {"capitalize", nativeCapitalize, 1, 1},
    {"items", nativeItems, 1, 1},
    {"delete", nativeDelete, 2, 2},
    {"assert", nativeAssert, 1, 2},
    {"error", nativeError, 0, 1},
    {"clock", nativeClock, 0, 0},
}};

}  // namespace

std::span<const BuiltinInfo> builtinTable() { return kBuiltins; }

void defineNative(Environment& globals, const std::string& name, NativeFn fn, int32_t minArity, int32_t maxArity) {
    globals.define(name, Value(makeRef<NativeObj>(name, fn, minArity, maxArity)));
}

void registerBuiltins(Environment& globals) {
    for (const BuiltinInfo& builtin : kBuiltins) {
        defineNative(globals, builtin.name, builtin.fn, builtin.minArity, builtin.maxArity);
    }
    globals.define("PI", Value(3.141592653589793));
    globals.define("E", Value(2.718281828459045));
}

std::string arityMessage(const NativeObj& native, std::size_t count) {
    std::string expected = std::to_string(native.minArity);
    if (native.maxArity < 0) {
        expected += "+";
    } else if (native.maxArity != native.minArity) {
        expected.append("-").append(std::to_string(native.maxArity));
    }
    return arityMessage(native.nativeName, expected, count);
}

double toNumber(const Value& value, const char* name) {
    if (value.isInt()) return static_cast<double>(value.asInt());
    if (value.isFloat()) return value.asFloat();
    throw RuntimeError(std::string(name) + ": expected a number, got " + typeName(value));
}

int64_t truncateToInt64(double value) {
    // The comparisons are false for NaN; 2^63 itself is already out of range.
    if (value >= -9223372036854775808.0 && value < 9223372036854775808.0) return static_cast<int64_t>(value);
    return INT64_MIN;
}

int32_t truncateToInt32(double value) {
    if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int32_t>(value);
    return INT32_MIN;
}

void throwResultTooLarge(const char* name) { throw RuntimeError(std::string(name) + ": result too large"); }

}  // namespace velmor
