#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "text_encoding.h"

namespace velmor::setup {
namespace {

std::u16string codePointUnits(char32_t code) {
    if (code < 0x10000) {
        return std::u16string(1, static_cast<char16_t>(code));
    }
    code -= 0x10000;
    return {static_cast<char16_t>(0xD800 | (code >> 10)), static_cast<char16_t>(0xDC00 | (code & 0x3FF))};
}

// The compiler's own UTF-8 literals are the reference for valid text.
TEST(TextEncoding, ValidTextIsStandardUtf8) {
    const std::u16string texts[] = {u"C:\\Tools", u"C:\\Пути\\бин",
                                    u"C:\\café",  u"D:\\工具\\bin",
                                    u"E:\\🚀",     u"\u007f\u0080\u07ff\u0800\uffff\U00010000\U0010ffff"};
    const char8_t* expected[] = {u8"C:\\Tools", u8"C:\\Пути\\бин",
                                 u8"C:\\café",  u8"D:\\工具\\bin",
                                 u8"E:\\🚀",     u8"\u007f\u0080\u07ff\u0800\uffff\U00010000\U0010ffff"};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::string utf8(reinterpret_cast<const char*>(expected[i]));
        EXPECT_EQ(utf8FromUtf16(texts[i]), utf8) << i;
        EXPECT_EQ(utf16FromUtf8(utf8), texts[i]) << i;
    }
}

// Every code point, and every surrogate on its own, comes back unchanged.
TEST(TextEncoding, EveryCodePointRoundTrips) {
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        const std::u16string units = codePointUnits(code);
        const std::string bytes = utf8FromUtf16(units);
        const std::size_t expectedLength = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        ASSERT_EQ(bytes.size(), expectedLength) << std::hex << static_cast<unsigned>(code);
        ASSERT_EQ(utf16FromUtf8(bytes), units) << std::hex << static_cast<unsigned>(code);
    }
}

// What the registry may hold need not be valid UTF-16: lone and reversed
// surrogates, NULs and everything else survive in any order.
TEST(TextEncoding, ArbitraryUnitsRoundTrip) {
    std::mt19937 generator(16);
    const char16_t interesting[] = {0,      ';',    ' ',    'a',    'Z',    0x7F,   0x80,   0x7FF, 0x800,
                                    0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFD, 0xFFFF};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(interesting)));
    std::uniform_int_distribution<int> anyUnit(0, 0xFFFF);
    std::uniform_int_distribution<int> length(0, 12);
    for (int round = 0; round < 20000; ++round) {
        std::u16string units;
        for (int i = length(generator); i > 0; --i) {
            const int choice = pick(generator);
            units += choice == static_cast<int>(std::size(interesting)) ? static_cast<char16_t>(anyUnit(generator))
                                                                        : interesting[choice];
        }
        const std::string bytes = utf8FromUtf16(units);
        ASSERT_EQ(utf16FromUtf8(bytes), units) << ::testing::PrintToString(bytes);
        // ASCII bytes stand only for themselves, so the Path edits may look for them.
        std::size_t ascii = 0;
        for (char16_t unit : units) {
            ascii += unit < 0x80;
        }
        ASSERT_EQ(static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(),
                                                         [](char c) { return static_cast<unsigned char>(c) < 0x80; })),
                  ascii);
    }
}

TEST(TextEncoding, BytesThatStartNoSequenceBecomeReplacements) {
    EXPECT_EQ(utf16FromUtf8("a\x80z"), u"a\ufffdz");
    EXPECT_EQ(utf16FromUtf8("\xC0\xAF"), u"\ufffd\ufffd");                      // overlong "/"
    EXPECT_EQ(utf16FromUtf8("\xE0\x80\xAF"), u"\ufffd\ufffd\ufffd");            // overlong "/"
    EXPECT_EQ(utf16FromUtf8("\xF4\x90\x80\x80"), u"\ufffd\ufffd\ufffd\ufffd");  // beyond U+10FFFF
    EXPECT_EQ(utf16FromUtf8("x\xE4\xB8"), u"x\ufffd\ufffd");                    // cut short
    EXPECT_EQ(utf16FromUtf8("\xFF;"), u"\ufffd;");
}

}  // namespace
}  // namespace velmor::setup
