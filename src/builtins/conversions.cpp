// Conversion, kind-test, console and error builtins.

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "read_line.h"
#include "support.h"

namespace velmor {

namespace {

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The strtod and strtoll readings, with the end of what they consumed. A
// string's bytes are followed by a NUL, so both stop at the string's end or
// at an embedded NUL byte.
struct FloatReading {
    bool ok;
    double value;
    std::size_t consumed;
};

FloatReading readFloat(const StringObj& text) {
    const char* begin = text.bytes();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(begin, &end);
    // strtod reports a result in the subnormal range as out of range too, but
    // a nonzero one is the number itself (the text form of such a float reads
    // back to it). Overflow to infinity and underflow to zero stay failures.
    const bool outOfRange = errno == ERANGE && (value == 0 || !std::isfinite(value));
    const bool ok = end != begin && !outOfRange;
    return {ok, value, static_cast<std::size_t>(end - begin)};
}

struct IntegerReading {
    bool ok;
    int64_t value;
    std::size_t consumed;
};

IntegerReading readInteger(const StringObj& text, int base) {
    if (base != 0 && (base < 2 || base > 36)) return {false, 0, 0};
    const char* begin = text.bytes();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, base);
    const bool ok = end != begin && errno != ERANGE;
    return {ok, static_cast<int64_t>(value), static_cast<std::size_t>(end - begin)};
}

Value formatInBase(int64_t number, unsigned base, const char* prefix) {
    if (number == 0) return Value(std::string(prefix) + "0");
    uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    char digits[64];
    std::size_t count = 0;
    while (magnitude != 0) {
        digits[count++] = "0123456789abcdef"[magnitude % base];
        magnitude /= base;
    }
    std::string text;
    text.reserve(count + 3);
    if (number < 0) text += '-';
    text += prefix;
    while (count > 0) text += digits[--count];
    return Value(std::move(text));
}

}  // namespace

Value kindName(const Value& value) {
    // Cached, since type() is a common test in loops; per thread, since
    // the strings' counts are not atomic.
    thread_local const Value names[] = {Value("nil"),  Value("bool"), Value("number"),   Value("string"),
                                        Value("list"), Value("map"),  Value("function"), Value("unknown")};
    switch (value.kind()) {
    case ValueKind::Nil: return names[0];
    case ValueKind::Bool: return names[1];
    case ValueKind::Int:
    case ValueKind::Float: return names[2];
    case ValueKind::String: return names[3];
    case ValueKind::List: return names[4];
    case ValueKind::Map: return names[5];
    case ValueKind::Function:
    case ValueKind::Native:
    case ValueKind::Closure: return names[6];
    }
    return names[7];
}

Value nativePrint(Caller& caller, std::span<Value> args) {
    std::string line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) line += ' ';
        appendText(line, args[i]);
    }
    line += '\n';
    if (Console* console = caller.console()) {
        console->write(line);
    } else {
        std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    return Value();
}

Value nativeInput(Caller& caller, std::span<Value> args) {
    Console* console = caller.console();
    if (!args.empty()) {
        const TextArgument prompt(args[0]);
        if (console) {
            console->write(prompt.view());
        } else {
            std::cout.write(prompt.view().data(), static_cast<std::streamsize>(prompt.view().size()));
        }
    }
    std::string line;
    if (console) {
        if (!console->readLine(line)) return Value();
    } else {
        std::cout.flush();
        if (!readLine(std::cin, line)) return Value();
    }
    return Value(std::move(line));
}

Value nativeType(Caller&, std::span<Value> args) { return kindName(args[0]); }

Value nativeStr(Caller&, std::span<Value> args) {
    if (args[0].isString()) return args[0];
    if (args[0].isInt()) return intString(args[0].asInt());
    return Value(toText(args[0]));
}

Value nativeRepr(Caller&, std::span<Value> args) { return Value(toRepr(args[0])); }

Value nativeBool(Caller&, std::span<Value> args) { return Value(isTruthy(args[0])); }

Value nativeNum(Caller&, std::span<Value> args) {
    const Value& value = args[0];
    if (value.isBool()) return Value(int64_t{value.asBool() ? 1 : 0});
    if (value.isNumber()) return value;
    if (!value.isString()) throw RuntimeError(std::string("num: cannot convert ") + typeName(value) + " to a number");
    const std::string_view text = value.asString();
    auto fail = [&]() -> Value { throw RuntimeError("num: cannot convert \"" + std::string(text) + "\" to a number"); };
    if (!text.empty() && text.find_first_of(".eE") != std::string_view::npos) {
        const FloatReading reading = readFloat(value.asStringObj());
        return reading.ok ? Value(reading.value) : fail();
    }
    const IntegerReading integer = readInteger(value.asStringObj(), 10);
    if (!integer.ok) return fail();
    if (integer.consumed == text.size()) return Value(integer.value);
    const FloatReading reading = readFloat(value.asStringObj());
    return reading.ok ? Value(reading.value) : fail();
}

Value nativeInt(Caller&, std::span<Value> args) {
    const Value& value = args[0];
    if (value.isBool()) return Value(int64_t{value.asBool() ? 1 : 0});
    if (value.isInt()) return value;
    if (value.isFloat()) return Value(truncateToInt64(value.asFloat()));
    if (!value.isString()) {
        throw RuntimeError(std::string("int: cannot convert ") + typeName(value) + " to an integer");
    }
    const IntegerReading reading = readInteger(value.asStringObj(), 10);
    if (!reading.ok) throw RuntimeError("int: cannot convert \"" + std::string(value.asString()) + "\" to an integer");
    return Value(reading.value);
}

Value nativeFloat(Caller&, std::span<Value> args) {
    const Value& value = args[0];
    if (value.isBool()) return Value(value.asBool() ? 1.0 : 0.0);
    if (value.isInt()) return Value(static_cast<double>(value.asInt()));
    if (value.isFloat()) return value;
    if (!value.isString()) throw RuntimeError(std::string("float: cannot convert ") + typeName(value) + " to a float");
    const FloatReading reading = readFloat(value.asStringObj());
    if (!reading.ok) throw RuntimeError("float: cannot convert \"" + std::string(value.asString()) + "\" to a float");
    return Value(reading.value);
}

Value nativeParseInt(Caller&, std::span<Value> args) {
    if (!args[0].isString()) throw RuntimeError("parse_int: first argument must be a string");
    const std::string_view text = args[0].asString();
    const int32_t base = args.size() > 1 ? truncateToInt32(toNumber(args[1], "parse_int")) : 10;
    const IntegerReading reading = readInteger(args[0].asStringObj(), base);
    bool valid = reading.ok;
    for (std::size_t i = reading.consumed; valid && i < text.size(); ++i) valid = isCSpace(text[i]);
    if (!valid) throw RuntimeError("parse_int: invalid integer \"" + std::string(text) + "\"");
    return Value(reading.value);
}

Value nativeHex(Caller&, std::span<Value> args) { return formatInBase(integerArgument(args[0], "hex"), 16, "0x"); }
Value nativeBin(Caller&, std::span<Value> args) { return formatInBase(integerArgument(args[0], "bin"), 2, "0b"); }
Value nativeOct(Caller&, std::span<Value> args) { return formatInBase(integerArgument(args[0], "oct"), 8, "0o"); }

Value nativeChar(Caller&, std::span<Value> args) {
    const int64_t code = integerArgument(args[0], "char");
    if (code < 0 || code > 255) throw RuntimeError("char: code must be between 0 and 255");
    return byteString(static_cast<unsigned char>(code));
}

Value nativeOrd(Caller&, std::span<Value> args) {
    if (!args[0].isString() || args[0].asString().empty()) throw RuntimeError("ord: expected a non-empty string");
    return Value(int64_t{static_cast<unsigned char>(args[0].asString()[0])});
}

Value nativeChars(Caller&, std::span<Value> args) {
    if (!args[0].isString()) throw RuntimeError("chars: expected a string");
    const std::string_view text = args[0].asString();
    ValueVector items;
    reserveResult(items, text.size(), maxListLength(), "chars");
    for (char c : text) items.push_back(byteString(static_cast<unsigned char>(c)));
    return Value::newList(std::move(items));
}

Value nativeIsNumber(Caller&, std::span<Value> args) { return Value(args[0].isNumber()); }
Value nativeIsString(Caller&, std::span<Value> args) { return Value(args[0].isString()); }
Value nativeIsList(Caller&, std::span<Value> args) { return Value(args[0].isList()); }
Value nativeIsMap(Caller&, std::span<Value> args) { return Value(args[0].isMap()); }
Value nativeIsNil(Caller&, std::span<Value> args) { return Value(args[0].isNil()); }
Value nativeIsBool(Caller&, std::span<Value> args) { return Value(args[0].isBool()); }
Value nativeIsFunction(Caller&, std::span<Value> args) { return Value(args[0].isCallable()); }

Value nativeAssert(Caller&, std::span<Value> args) {
    if (isTruthy(args[0])) return args[0];
    throw RuntimeError(args.size() > 1 ? toText(args[1]) : std::string("assertion failed"));
}

Value nativeError(Caller&, std::span<Value> args) { throw ThrownValue{args.empty() ? Value("error") : args[0]}; }

}  // namespace velmor
