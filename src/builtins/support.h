#pragma once

// Helpers shared by the builtin families, and the declarations of every
// native function, which registry.cpp binds under their names.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../error.h"
#include "../execution_limits.h"
#include "native.h"
#include "stable_sort.h"

namespace velmor {

// Results are refused before allocation beyond these sizes, so that a request
// such as repeat("x", 10^15) ends in a RuntimeError instead of exhausting
// memory. A harness may lower the cap through the execution limits.
// (The caps themselves, maxStringLength and maxListLength, are shared with
// the engines' "+" in execution_limits.h.)

// Float to integer conversion: truncation toward zero; NaN, infinities and
// values outside the target width give the most negative integer of that width.
int64_t truncateToInt64(double value);
int32_t truncateToInt32(double value);

// A numeric argument as a 64-bit integer. An Int keeps its exact value (a
// detour through a double would change integers above 2^53); a Float is
// truncated; anything else fails with the toNumber message.
inline int64_t integerArgument(const Value& value, const char* name) {
    if (value.isInt()) return value.asInt();
    return truncateToInt64(toNumber(value, name));
}

[[noreturn]] void throwResultTooLarge(const char* name);

// Reserve room for `count` elements, failing with "<name>: result too large"
// above the cap or when the allocation itself fails.
template <class Container>
void reserveResult(Container& container, std::size_t count, std::size_t cap, const char* name) {
    if (count > cap) throwResultTooLarge(name);
    try {
        container.reserve(count);
    } catch (const std::bad_alloc&) {
        throwResultTooLarge(name);
    }
}

// The display text of a value without copying when it already is a string.
class TextArgument {
public:
    explicit TextArgument(const Value& value) {
        if (value.isString()) {
            view_ = value.asString();
        } else {
            appendText(storage_, value);
            view_ = storage_;
        }
    }
    std::string_view view() const { return view_; }

private:
    std::string storage_;
    std::string_view view_;
};

// The order of sort without a comparator: numbers by value, NaN after every
// other number; strings byte-wise; any other pair is an error.
bool defaultLess(const Value& a, const Value& b);

// Every builtin, by family. Conversions, kinds, console and errors:
Value nativePrint(Caller&, std::span<Value>);
Value nativeInput(Caller&, std::span<Value>);
Value nativeType(Caller&, std::span<Value>);
Value nativeStr(Caller&, std::span<Value>);
Value nativeRepr(Caller&, std::span<Value>);
Value nativeNum(Caller&, std::span<Value>);
Value nativeInt(Caller&, std::span<Value>);
Value nativeBool(Caller&, std::span<Value>);
Value nativeChar(Caller&, std::span<Value>);
Value nativeOrd(Caller&, std::span<Value>);
Value nativeFloat(Caller&, std::span<Value>);
Value nativeHex(Caller&, std::span<Value>);
Value nativeBin(Caller&, std::span<Value>);
Value nativeOct(Caller&, std::span<Value>);
Value nativeParseInt(Caller&, std::span<Value>);
Value nativeChars(Caller&, std::span<Value>);
Value nativeIsNumber(Caller&, std::span<Value>);
Value nativeIsString(Caller&, std::span<Value>);
Value nativeIsList(Caller&, std::span<Value>);
Value nativeIsMap(Caller&, std::span<Value>);
Value nativeIsNil(Caller&, std::span<Value>);
Value nativeIsBool(Caller&, std::span<Value>);
Value nativeIsFunction(Caller&, std::span<Value>);
Value nativeAssert(Caller&, std::span<Value>);
Value nativeError(Caller&, std::span<Value>);

// Lists and maps:
Value nativeLen(Caller&, std::span<Value>);
Value nativePush(Caller&, std::span<Value>);
Value nativePop(Caller&, std::span<Value>);
Value nativeRange(Caller&, std::span<Value>);
Value nativeKeys(Caller&, std::span<Value>);
Value nativeValues(Caller&, std::span<Value>);
Value nativeHas(Caller&, std::span<Value>);
Value nativeSlice(Caller&, std::span<Value>);
Value nativeMap(Caller&, std::span<Value>);
Value nativeFilter(Caller&, std::span<Value>);
Value nativeReduce(Caller&, std::span<Value>);
Value nativeSort(Caller&, std::span<Value>);
Value nativeReverse(Caller&, std::span<Value>);
Value nativeFind(Caller&, std::span<Value>);
Value nativeSum(Caller&, std::span<Value>);
Value nativeCount(Caller&, std::span<Value>);
Value nativeCopy(Caller&, std::span<Value>);
Value nativeZip(Caller&, std::span<Value>);
Value nativeEnumerate(Caller&, std::span<Value>);
Value nativeInsert(Caller&, std::span<Value>);
Value nativeRemoveAt(Caller&, std::span<Value>);
Value nativeGet(Caller&, std::span<Value>);
Value nativeRepeat(Caller&, std::span<Value>);
Value nativeItems(Caller&, std::span<Value>);
Value nativeDelete(Caller&, std::span<Value>);

// Strings:
Value nativeUpper(Caller&, std::span<Value>);
Value nativeLower(Caller&, std::span<Value>);
Value nativeSplit(Caller&, std::span<Value>);
Value nativeJoin(Caller&, std::span<Value>);
Value nativeTrim(Caller&, std::span<Value>);
Value nativeReplace(Caller&, std::span<Value>);
Value nativeStartsWith(Caller&, std::span<Value>);
Value nativeEndsWith(Caller&, std::span<Value>);
Value nativeCapitalize(Caller&, std::span<Value>);

// Math, random and time:
Value nativeFloor(Caller&, std::span<Value>);
Value nativeCeil(Caller&, std::span<Value>);
Value nativeAbs(Caller&, std::span<Value>);
Value nativeSqrt(Caller&, std::span<Value>);
Value nativeMin(Caller&, std::span<Value>);
Value nativeMax(Caller&, std::span<Value>);
Value nativeRound(Caller&, std::span<Value>);
Value nativePow(Caller&, std::span<Value>);
Value nativeSin(Caller&, std::span<Value>);
Value nativeCos(Caller&, std::span<Value>);
Value nativeTan(Caller&, std::span<Value>);
Value nativeLog(Caller&, std::span<Value>);
Value nativeExp(Caller&, std::span<Value>);
Value nativeRandom(Caller&, std::span<Value>);
Value nativeRandint(Caller&, std::span<Value>);
Value nativeClamp(Caller&, std::span<Value>);
Value nativeSign(Caller&, std::span<Value>);
Value nativeClock(Caller&, std::span<Value>);

}  // namespace velmor
