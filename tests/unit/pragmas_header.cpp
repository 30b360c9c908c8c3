#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "pragmas/pragmas.h"

namespace velmor {
namespace {

TEST(VersionAtLeast, ComparesPiecesInOrder) {
    EXPECT_TRUE(versionAtLeast("6", "6"));
    EXPECT_TRUE(versionAtLeast("6", "5.9"));
    EXPECT_TRUE(versionAtLeast("6", "0.5.0"));
    EXPECT_TRUE(versionAtLeast("6", "6.0.0"));
    EXPECT_FALSE(versionAtLeast("6", "6.1"));
    EXPECT_FALSE(versionAtLeast("6", "7"));
    EXPECT_FALSE(versionAtLeast("6.2", "6.10"));
    EXPECT_TRUE(versionAtLeast("6.10", "6.9"));
}

TEST(VersionAtLeast, ReadsPiecesTheWayAtoiDoes) {
    EXPECT_FALSE(versionAtLeast("6", "6.x.1"));  // "x" reads as 0, then 1 > 0
    EXPECT_TRUE(versionAtLeast("6", "6.x"));
    EXPECT_TRUE(versionAtLeast("6", "6beta"));
    EXPECT_FALSE(versionAtLeast("6", "7beta"));
    EXPECT_TRUE(versionAtLeast("6", " 6"));
    EXPECT_TRUE(versionAtLeast("6", "-1"));
    EXPECT_FALSE(versionAtLeast("6", "+7"));
    EXPECT_TRUE(versionAtLeast("6", "6..0"));  // an empty piece is 0
    EXPECT_FALSE(versionAtLeast("6", "6..1"));
    EXPECT_TRUE(versionAtLeast("6", "6."));  // a final dot adds no piece
    EXPECT_TRUE(versionAtLeast("6", "beta"));
    EXPECT_FALSE(versionAtLeast("6", "99999999999999999999"));  // no overflow
    EXPECT_TRUE(versionAtLeast("6", "-99999999999999999999"));
}

TEST(ReadPragmaHeader, RecordsEveryPragmaOfTheHeaderWhereItStands) {
    struct Case {
        const char* text;
        const char* expected;  // "name=value@line:column", in file order
    };
    const Case cases[] = {
        {"", ""},
        {"#pragma version 7", "version=7@1:1"},
        // A byte-order mark is not a column; a later one is just code.
        {"\xEF\xBB\xBF#pragma version 7\n", "version=7@1:1"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF#pragma version 7\n", ""},
        // Blank and comment lines belong to the header; indentation counts in bytes.
        {"\n# note\n \t\r\n\v\f  #pragma\tfast  on \r\n#pragma watch\n", "fast=on@4:5; watch=@5:1"},
        // The first line of code ends the header, whatever follows it.
        {"#pragma a\nprint(1) # #pragma b\n#pragma c\n", "a=@1:1"},
        {"#pragma a\n  x\n#pragma b\n", "a=@1:1"},
        // The word must stand alone; the name is taken as written.
        {"#pragmatic\n#pragma\n#pragma Version 9\n#pragma version9 x\n#pragma\rversion 2\n",
         "=@2:1; Version=9@3:1; version9=x@4:1; version=2@5:1"},
    };
    for (const Case& test : cases) {
        std::string found;
        for (const PragmaEntry& entry : readPragmaHeader(test.text)) {
            if (!found.empty()) found += "; ";
            found +=
                entry.name + "=" + entry.value + "@" + std::to_string(entry.line) + ":" + std::to_string(entry.column);
        }
        EXPECT_EQ(found, test.expected) << test.text;
    }
}

TEST(ScanPragmas, TheLastVersionPragmaDecidesAndIsPlaced) {
    const PragmaInfo info =
        scanPragmas("#pragma version 9\n  #pragma version 99\n#pragma versions\nx\n#pragma version 1\n");
    EXPECT_EQ(info.requiredVersion, "99");
    EXPECT_EQ(info.versionLine, 2);
    EXPECT_EQ(info.versionColumn, 3);
    EXPECT_EQ(scanPragmas("print(1)\n").versionLine, 0);
}

TEST(ScanPragmas, ReadsOnlyTheHeader) {
    const PragmaInfo info = scanPragmas("\xEF\xBB\xBF\n"
                                        "# a comment\n"
                                        "   \t\n"
                                        "  #pragma version 5.9\n"
                                        "#pragma\tfast  on  \r\n"
                                        "#pragmatic is a comment\n"
                                        "#pragma\n"
                                        "print(1)\n"
                                        "#pragma late\n");
    EXPECT_EQ(info.requiredVersion, "5.9");
    ASSERT_EQ(info.unknown.size(), 2u);
    EXPECT_EQ(info.unknown[0].name, "fast");
    EXPECT_EQ(info.unknown[0].value, "on");
    EXPECT_EQ(info.unknown[0].line, 5);
    EXPECT_EQ(info.unknown[1].name, "");
    EXPECT_EQ(info.unknown[1].line, 7);
    EXPECT_FALSE(info.watch);
}

TEST(ScanPragmas, LaterVersionReplacesEarlierAndEmptyRemovesIt) {
    EXPECT_EQ(scanPragmas("#pragma version 9\n#pragma version 5\n").requiredVersion, "5");
    EXPECT_EQ(scanPragmas("#pragma version 9\n#pragma version\r\n").requiredVersion, "");
    EXPECT_EQ(scanPragmas("#pragma version 7").requiredVersion, "7");  // no final line feed
    EXPECT_EQ(scanPragmas("#pragma version   6.1 \t\r").requiredVersion, "6.1");
}

TEST(ScanPragmas, WatchAndHotreloadAreKnown) {
    EXPECT_TRUE(scanPragmas("#pragma watch\n").watch);
    const PragmaInfo info = scanPragmas("#pragma hotreload now\n#pragma watching\n");
    EXPECT_TRUE(info.watch);
    ASSERT_EQ(info.unknown.size(), 1u);
    EXPECT_EQ(info.unknown[0].name, "watching");
}

TEST(ScanPragmas, NothingBeforeCodeMeansNothing) {
    const PragmaInfo info = scanPragmas("let x = 1 #pragma version 99\n#pragma version 99\n");
    EXPECT_EQ(info.requiredVersion, "");
    EXPECT_TRUE(info.unknown.empty());
    EXPECT_EQ(scanPragmas("").requiredVersion, "");
}

TEST(CheckPragmas, WarnsInOrderThenReportsTheVersion) {
    PragmaInfo info = scanPragmas("#pragma a\n\n#pragma b 1\n#pragma version 6.1\n");
    std::ostringstream errors;
    EXPECT_FALSE(checkPragmas(info, "demo.vlm", errors));
    EXPECT_EQ(errors.str(), "velmor: warning: unknown pragma 'a' at demo.vlm:1\n"
                            "velmor: warning: unknown pragma 'b' at demo.vlm:3\n"
                            "velmor: demo.vlm requires Velmor >= 6.1 (this is 6)\n");
}

TEST(CheckPragmas, SatisfiedOrAbsentVersionRuns) {
    std::ostringstream errors;
    EXPECT_TRUE(checkPragmas(scanPragmas("#pragma version 6\n"), "demo.vlm", errors));
    EXPECT_TRUE(checkPragmas(scanPragmas("print(1)\n"), "demo.vlm", errors));
    EXPECT_EQ(errors.str(), "");
}

}  // namespace
}  // namespace velmor
