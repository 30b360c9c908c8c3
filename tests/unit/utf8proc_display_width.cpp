// The width table the program carries against the utf8proc library it was
// generated from, for every code point. Built only where the library's
// development files are installed; a difference means the table is stale
// for this utf8proc: tools/gen_display_width.py makes it anew.

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>

#include <utf8proc.h>

#include "driver/display_width.h"

namespace velmor {
namespace {

TEST(DisplayWidthTable, GivesUtf8procsWidthForEveryCodePoint) {
    int differences = 0;
    std::ostringstream shown;
    for (std::int32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        const int expected = utf8proc_charwidth(codePoint);
        const int actual = codePointWidth(static_cast<char32_t>(codePoint));
        if (actual == expected) continue;
        if (++differences <= 20) {
            shown << "  U+" << std::hex << std::uppercase << std::setw(4) << std::setfill('0') << codePoint << std::dec
                  << ": table " << actual << ", utf8proc " << expected << "\n";
        }
    }
    EXPECT_EQ(differences, 0) << "the table differs from utf8proc " << utf8proc_version() << " (Unicode "
                              << utf8proc_unicode_version() << "), first differences:\n"
                              << shown.str() << "regenerate it with tools/gen_display_width.py";
}

}  // namespace
}  // namespace velmor
