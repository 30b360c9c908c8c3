#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "driver/display_width.h"

namespace velmor {
namespace {

std::string encode(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The scalar value whose encoding `bytes` is, if it is one: the bits read
// without any check, then encoded again, which an overlong form, a surrogate
// or a value past U+10FFFF does not survive.
std::optional<char32_t> scalarEncodedAs(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    char32_t value = bytes.size() == 1 ? lead : lead & (0x7F >> bytes.size());
    for (std::size_t i = 1; i < bytes.size(); ++i) value = (value << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    if (value > 0x10FFFF || isSurrogate(value) || encode(value) != bytes) return std::nullopt;
    return value;
}

// Bytes at the edges of the ranges UTF-8 gives each position.
const std::vector<unsigned char> kEdgeBytes = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                               0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                               0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFE, 0xFF};

TEST(DisplayWidth, MeasuresWellFormedCharactersAndEveryOtherByteAsOneColumn) {
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (isSurrogate(codePoint)) continue;
        const std::string bytes = encode(codePoint);
        const TextCharacter character = measureCharacter(bytes, 0);
        ASSERT_EQ(character.length, bytes.size()) << std::hex << "U+" << static_cast<std::uint32_t>(codePoint);
        ASSERT_EQ(character.width, codePointWidth(codePoint))
            << std::hex << "U+" << static_cast<std::uint32_t>(codePoint);
    }
    // Every run of four edge bytes: the longest well-formed start, or one byte of one column.
    const std::size_t count = kEdgeBytes.size();
    for (std::size_t index = 0; index < count * count * count * count; ++index) {
        std::string bytes;
        for (std::size_t rest = index, i = 0; i < 4; ++i, rest /= count)
            bytes += static_cast<char>(kEdgeBytes[rest % count]);
        TextCharacter expected;
        for (std::size_t length = 1; length <= 4; ++length) {
            if (const auto value = scalarEncodedAs(std::string_view(bytes).substr(0, length)))
                expected = TextCharacter{length, codePointWidth(*value)};
        }
        const TextCharacter character = measureCharacter(bytes, 0);
        ASSERT_EQ(character.length, expected.length) << ::testing::PrintToString(bytes);
        ASSERT_EQ(character.width, expected.width) << ::testing::PrintToString(bytes);
        // A character cut short is bytes of one column each, whatever lies past the end.
        for (std::size_t cut = 1; cut < expected.length; ++cut)
            ASSERT_EQ(measureCharacter(std::string_view(bytes).substr(0, cut), 0).length, 1u)
                << ::testing::PrintToString(bytes);
    }
}

TEST(DisplayWidth, StepsBackToWhereEachCharacterBegins) {
    std::mt19937 random(5);
    std::vector<std::string> pieces;
    for (unsigned char byte : kEdgeBytes) pieces.emplace_back(1, static_cast<char>(byte));
    for (char32_t c : {U'\u00e9', U'\u0301', U'\u65e5', U'\U0001F600', U'\U0010FFFF', U'\uFFFD'})
        pieces.push_back(encode(c));
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(1, 12)(random);
        for (int i = 0; i < length; ++i)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        std::vector<std::size_t> starts;
        int width = 0;
        for (std::size_t at = 0; at < text.size(); at += measureCharacter(text, at).length) {
            starts.push_back(at);
            width += measureCharacter(text, at).width;
        }
        EXPECT_EQ(displayWidth(text), width);
        std::size_t at = text.size();
        for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
            at = previousCharacterStart(text, at);
            ASSERT_EQ(at, *start) << ::testing::PrintToString(text);
        }
    }
}

TEST(DisplayWidth, CountsTheColumnsATerminalGives) {
    // Wide CJK, an emoji, a combining accent after its letter, and bytes that are no UTF-8.
    EXPECT_EQ(displayWidth("print(\"\u65e5\u672c\u8a9e\U0001F600e\u0301\")"), 7 + 6 + 2 + 1 + 2);
    EXPECT_EQ(displayWidth("\xff\xc3(\xed\xa0\x80"), 6);
    EXPECT_EQ(displayWidth("\uff21\u3000\u200b\ufe0f"), 4);  // fullwidth A, ideographic space, zero-width ones
}

}  // namespace
}  // namespace velmor
