// String builtins. All of them work on bytes; case mapping touches only the
// ASCII letters.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "support.h"

namespace velmor {

namespace {

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// (One comparison for most bytes: every white-space byte is at most ' '.)
bool isWhiteSpace(char c) {
    constexpr uint64_t kWhiteSpace = uint64_t{1} << ' ' | uint64_t{1} << '\t' | uint64_t{1} << '\n' |
                                     uint64_t{1} << '\v' | uint64_t{1} << '\f' | uint64_t{1} << '\r';
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' && (kWhiteSpace >> byte & 1) != 0;
}

char upperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lowerByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The text of `argument` with `change` applied to the bytes from `first` up to `end`.
template <class Change>
Value mapBytes(const Value& argument, std::size_t first, std::size_t end, Change change) {
    const TextArgument text(argument);
    const std::string_view source = text.view();
    end = std::min(end, source.size());
    first = std::min(first, end);
    return Value::newString(source.size(), [&](char* bytes) {
        // One pass over the changed bytes instead of a copy and a second pass.
        std::memcpy(bytes, source.data(), first);
        for (std::size_t i = first; i < end; ++i) bytes[i] = change(source[i]);
        std::memcpy(bytes + end, source.data() + end, source.size() - end);
    });
}

// Where `pattern` (not empty) next occurs in `text` at or after `from`, or npos.
// A one-byte pattern, the common separator, goes straight to memchr.
inline std::size_t findFrom(std::string_view text, std::string_view pattern, std::size_t from) {
    if (pattern.size() == 1) {
        if (from >= text.size()) return std::string_view::npos;
        const void* at = std::memchr(text.data() + from, pattern[0], text.size() - from);
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : std::string_view::npos;
    }
    return text.find(pattern, from);
}

// The number of matches of `pattern` (not empty) that findFrom steps through
// from the front, each search starting after the previous match.
std::size_t countMatches(std::string_view text, std::string_view pattern) {
    const std::size_t first = findFrom(text, pattern, 0);
    if (first == std::string_view::npos) return 0;  // (the common case of replace, by memchr alone)
    std::size_t count = 1;
    if (pattern.size() == 1) {
        // The rest eight bytes at a time: a byte of `word` is zero where the
        // text has the pattern's byte; each such byte leaves a 1 in `zeros`,
        // summed by the multiplication into the top byte.
        constexpr uint64_t kOnes = 0x0101010101010101;
        constexpr uint64_t kLow7 = 0x7f7f7f7f7f7f7f7f;
        const uint64_t spread = kOnes * static_cast<unsigned char>(pattern[0]);
        std::size_t i = first + 1;
        for (; i + 8 <= text.size(); i += 8) {
            uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            word ^= spread;
            const uint64_t zeros = ~(((word & kLow7) + kLow7) | word) >> 7 & kOnes;
            count += static_cast<std::size_t>((zeros * kOnes) >> 56);
        }
        for (; i < text.size(); ++i) count += text[i] == pattern[0] ? 1 : 0;
        return count;
    }
    for (std::size_t at = findFrom(text, pattern, first + pattern.size()); at != std::string_view::npos;
         at = findFrom(text, pattern, at + pattern.size()))
        ++count;
    return count;
}

}  // namespace

// (Lambdas rather than the functions themselves, so that the byte loop inlines them.)
Value nativeUpper(Caller&, std::span<Value> args) {
    return mapBytes(args[0], 0, std::string_view::npos, [](char c) { return upperByte(c); });
}

Value nativeLower(Caller&, std::span<Value> args) {
    return mapBytes(args[0], 0, std::string_view::npos, [](char c) { return lowerByte(c); });
}

Value nativeCapitalize(Caller&, std::span<Value> args) {
    return mapBytes(args[0], 0, 1, [](char c) { return upperByte(c); });
}

Value nativeTrim(Caller&, std::span<Value> args) {
    const TextArgument argument(args[0]);
    std::string_view text = argument.view();
    while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
    return Value(text);
}

Value nativeSplit(Caller&, std::span<Value> args) {
    if (!args[0].isString()) throw RuntimeError(std::string("split: expected a string, got ") + typeName(args[0]));
    const std::string_view text = args[0].asString();
    ValueVector pieces;
    if (args.size() > 1 && args[1].isString() && !args[1].asString().empty()) {
        const std::string_view separator = args[1].asString();
        reserveResult(pieces, countMatches(text, separator) + 1, maxListLength(), "split");
        std::size_t position = 0;
        for (;;) {
            const std::size_t at = findFrom(text, separator, position);
            if (at == std::string_view::npos) break;
            pieces.emplace_back(text.substr(position, at - position));
            position = at + separator.size();
        }
        pieces.emplace_back(text.substr(position));
    } else {
        std::size_t position = 0;
        while (position < text.size()) {
            while (position < text.size() && isWhiteSpace(text[position])) ++position;
            const std::size_t wordStart = position;
            while (position < text.size() && !isWhiteSpace(text[position])) ++position;
            if (position > wordStart) pieces.emplace_back(text.substr(wordStart, position - wordStart));
        }
    }
    return Value::newList(std::move(pieces));
}

Value nativeJoin(Caller&, std::span<Value> args) {
    if (!args[0].isList()) {
        throw RuntimeError(std::string("join: first argument must be a list, got ") + typeName(args[0]));
    }
    std::string separator;
    if (args.size() > 1) appendText(separator, args[1]);
    const ValueVector& items = args[0].listItems();
    // Strings only: measured first and copied once.
    std::size_t length = items.empty() ? 0 : separator.size() * (items.size() - 1);
    bool allStrings = length <= maxStringLength();
    for (std::size_t i = 0; allStrings && i < items.size(); ++i) {
        allStrings = items[i].isString() && (length += items[i].asString().size()) <= maxStringLength();
    }
    if (allStrings) {
        // One loop per kind of separator, so that an empty or one-byte
        // separator (the common cases) costs no call per item.
        auto write = [&](auto writeSeparator) {
            return Value::newString(length, [&](char* bytes) {
                for (std::size_t i = 0; i < items.size(); ++i) {
                    if (i > 0) writeSeparator(bytes);
                    const std::string_view item = items[i].asString();
                    bytes = std::copy(item.begin(), item.end(), bytes);
                }
            });
        };
        if (separator.empty()) return write([](char*&) {});
        if (separator.size() == 1) return write([byte = separator[0]](char*& bytes) { *bytes++ = byte; });
        return write([&](char*& bytes) { bytes = std::copy(separator.begin(), separator.end(), bytes); });
    }
    std::string result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) result += separator;
        appendText(result, items[i]);
        if (result.size() > maxStringLength()) throwResultTooLarge("join");
    }
    return Value(std::move(result));
}

Value nativeReplace(Caller&, std::span<Value> args) {
    const TextArgument textArgument(args[0]);
    const TextArgument oldArgument(args[1]);
    const TextArgument newArgument(args[2]);
    const std::string_view text = textArgument.view();
    const std::string_view oldText = oldArgument.view();
    const std::string_view newText = newArgument.view();
    if (oldText.empty()) return args[0].isString() ? args[0] : Value(text);
    // Counted first, so that the result is measured, checked and written once.
    const std::size_t count = countMatches(text, oldText);
    if (count == 0) return args[0].isString() ? args[0] : Value(text);
    const std::size_t kept = text.size() - count * oldText.size();
    const std::size_t cap = maxStringLength();
    if (kept > cap || (!newText.empty() && count > (cap - kept) / newText.size())) throwResultTooLarge("replace");
    return Value::newString(kept + count * newText.size(), [&](char* bytes) {
        std::size_t position = 0;
        for (std::size_t at = findFrom(text, oldText, 0); at != std::string_view::npos;
             at = findFrom(text, oldText, position)) {
            bytes = std::copy(text.begin() + position, text.begin() + at, bytes);
            bytes = std::copy(newText.begin(), newText.end(), bytes);
            position = at + oldText.size();
        }
        std::copy(text.begin() + position, text.end(), bytes);
    });
}

Value nativeStartsWith(Caller&, std::span<Value> args) {
    const TextArgument text(args[0]);
    const TextArgument prefix(args[1]);
    return Value(text.view().starts_with(prefix.view()));
}

Value nativeEndsWith(Caller&, std::span<Value> args) {
    const TextArgument text(args[0]);
    const TextArgument suffix(args[1]);
    return Value(text.view().ends_with(suffix.view()));
}

}  // namespace velmor
