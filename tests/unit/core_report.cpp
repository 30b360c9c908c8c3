#include <gtest/gtest.h>

#include "error.h"

using namespace velmor;

TEST(FormatReport, ExcerptAndCaret) {
    ParseError error("unexpected '=' in expression", 3, 9);
    std::string source = "let a = 1\nlet b = 2\nlet x = = 2\n";
    EXPECT_EQ(formatReport(error, source, "demo.vlm"), "SyntaxError: unexpected '=' in expression\n"
                                                       "  --> demo.vlm:3:9\n"
                                                       "3 | let x = = 2\n"
                                                       "            ^");
}

TEST(FormatReport, NoPositionGivesOneLine) {
    EXPECT_EQ(formatReport(compileError("too many constants"), "x", "f.vlm"), "CompileError: too many constants");
    EXPECT_EQ(formatReport(RuntimeError("pop: list is empty"), "x", "f.vlm"), "RuntimeError: pop: list is empty");
}

TEST(FormatReport, EmptySourceHasNoExcerpt) {
    EXPECT_EQ(formatReport(RuntimeError("boom", 1, 5), "", "<repl>"), "RuntimeError: boom\n  --> <repl>:1:5");
}

TEST(FormatReport, ColumnZeroPutsCaretUnderFirstByte) {
    EXPECT_EQ(formatReport(RuntimeError("boom", 2, 0), "a\nbcd", "<-c>"),
              "RuntimeError: boom\n  --> <-c>:2:0\n2 | bcd\n    ^");
}

TEST(FormatReport, LinesPastTheEndAndTheEmptyLastLine) {
    EXPECT_EQ(formatReport(RuntimeError("boom", 5, 1), "a\nb", "f"), "RuntimeError: boom\n  --> f:5:1");
    // A text with n line feeds has n + 1 lines; the last may be empty.
    EXPECT_EQ(formatReport(ParseError("e", 2, 1), "a\n", "f"), "SyntaxError: e\n  --> f:2:1\n2 | \n    ^");
    EXPECT_EQ(formatReport(ParseError("e", 3, 1), "a\n", "f"), "SyntaxError: e\n  --> f:3:1");
}

TEST(FormatReport, DropsCarriageReturnsKeepsTabs) {
    EXPECT_EQ(formatReport(LexError("x", 1, 3), "\tab\r\r\nz", "f"),
              "SyntaxError (lexing): x\n  --> f:1:3\n1 | \tab\n      ^");
}

TEST(FormatReport, WideGutterMovesCaret) {
    std::string source;
    for (int i = 1; i <= 12; ++i) source += "line" + std::to_string(i) + "\n";
    EXPECT_EQ(formatReport(RuntimeError("boom", 12, 2), source, "f"),
              "RuntimeError: boom\n  --> f:12:2\n12 | line12\n      ^");
}
