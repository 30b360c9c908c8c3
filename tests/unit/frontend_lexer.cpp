#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "error.h"
#include "lexer/lexer.h"

using namespace velmor;

namespace {

// One line per token in the form of the token dump, which makes a whole
// stream comparable at a glance.
std::string dump(std::string_view source) {
    std::string out;
    for (const Token& token : tokenize(source)) {
        out += tokenKindName(token.kind);
        out += " '" + token.text + "' @" + std::to_string(token.line) + ":" + std::to_string(token.column) + "\n";
    }
    return out;
}

std::vector<TokenKind> kinds(std::string_view source) {
    std::vector<TokenKind> result;
    for (const Token& token : tokenize(source)) result.push_back(token.kind);
    return result;
}

struct LexFailure {
    std::string message;
    int32_t line = 0;
    int32_t column = 0;
};

LexFailure lexFailure(std::string_view source) {
    try {
        tokenize(source);
    } catch (const LexError& error) {
        EXPECT_EQ(error.label, "SyntaxError (lexing)");
        return {error.message, error.line, error.column};
    }
    ADD_FAILURE() << "no LexError for: " << source;
    return {};
}

Token single(std::string_view source) {
    std::vector<Token> tokens = tokenize(source);
    EXPECT_EQ(tokens.size(), 2u) << source;
    return tokens.front();
}

using K = TokenKind;

}  // namespace

TEST(Lexer, EmptyTextIsOneEndOfFileAtOneOne) { EXPECT_EQ(dump(""), "end of file '' @1:1\n"); }

TEST(Lexer, EndOfLineAndEndOfFileTakeThePositionOfTheTokenBefore) {
    EXPECT_EQ(dump("let x = 1\n"), "token 'let' @1:1\n"
                                   "name 'x' @1:5\n"
                                   "token '=' @1:7\n"
                                   "number '1' @1:9\n"
                                   "end of line '\\n' @1:9\n"
                                   "end of file '' @1:9\n");
    // Blank and comment-only lines still give a token each, carrying the last real token's start.
    EXPECT_EQ(dump("ab\n\n# note\n  cd"), "name 'ab' @1:1\n"
                                          "end of line '\\n' @1:1\n"
                                          "end of line '\\n' @1:1\n"
                                          "end of line '\\n' @1:1\n"
                                          "name 'cd' @4:3\n"
                                          "end of file '' @4:3\n");
    EXPECT_EQ(dump("\n"), "end of line '\\n' @1:1\nend of file '' @1:1\n");
}

TEST(Lexer, ByteOrderMarkIsDropped) {
    EXPECT_EQ(dump("\xEF\xBB\xBFx = 1"), dump("x = 1"));
    // Only at the start, and only the whole mark.
    EXPECT_EQ(lexFailure("x\xEF\xBB\xBF").message, "unexpected character '\xEF'");
    EXPECT_EQ(lexFailure("\xEF\xBB").message, "unexpected character '\xEF'");
}

TEST(Lexer, CarriageReturnIsBlankAndCountsAColumn) {
    EXPECT_EQ(dump("a\r\nb\r\n"), "name 'a' @1:1\n"
                                  "end of line '\\n' @1:1\n"
                                  "name 'b' @2:1\n"
                                  "end of line '\\n' @2:1\n"
                                  "end of file '' @2:1\n");
    EXPECT_EQ(tokenize("\t\r x")[0].column, 4);
}

TEST(Lexer, SlashOperatorsTakeTheLongestMatch) {
    EXPECT_EQ(kinds("a//b"), (std::vector{K::Name, K::SlashSlash, K::Name, K::Eof}));
    EXPECT_EQ(kinds("a/ /b"), (std::vector{K::Name, K::Slash, K::Slash, K::Name, K::Eof}));
    EXPECT_EQ(kinds("x//=2"), (std::vector{K::Name, K::SlashSlashAssign, K::Number, K::Eof}));
    EXPECT_EQ(kinds("x/=2"), (std::vector{K::Name, K::SlashAssign, K::Number, K::Eof}));
    EXPECT_EQ(kinds("a///b"), (std::vector{K::Name, K::SlashSlash, K::Slash, K::Name, K::Eof}));
    EXPECT_EQ(kinds("a= =b"), (std::vector{K::Name, K::Assign, K::Assign, K::Name, K::Eof}));
    EXPECT_EQ(kinds("<==>="), (std::vector{K::LessEqual, K::Assign, K::GreaterEqual, K::Eof}));
}

TEST(Lexer, EveryOperatorAndKeywordLexesAloneToItsKind) {
    for (int number = 4; number <= kLastKeyword; ++number) {
        auto kind = static_cast<TokenKind>(number);
        std::string spelling = tokenKindSpelling(kind);
        ASSERT_FALSE(spelling.empty()) << number;
        Token token = single(spelling);
        EXPECT_EQ(token.kind, kind) << spelling;
        EXPECT_EQ(token.text, spelling);
        EXPECT_FALSE(token.isInteger);
    }
}

TEST(Lexer, KeywordsAreCaseSensitiveWholeWords) {
    EXPECT_EQ(single("If").kind, K::Name);
    EXPECT_EQ(single("END").kind, K::Name);
    EXPECT_EQ(single("endx").kind, K::Name);
    EXPECT_EQ(single("_end").kind, K::Name);
    EXPECT_EQ(single("functions").kind, K::Name);
    EXPECT_EQ(single("a_1B").text, "a_1B");
    EXPECT_EQ(kinds("notnot not"), (std::vector{K::Name, K::Not, K::Eof}));
}

TEST(Lexer, PrintedNamesOfKinds) {
    EXPECT_STREQ(tokenKindName(K::Number), "number");
    EXPECT_STREQ(tokenKindName(K::String), "string");
    EXPECT_STREQ(tokenKindName(K::InterpString), "interp-string");
    EXPECT_STREQ(tokenKindName(K::Name), "name");
    EXPECT_STREQ(tokenKindName(K::SlashSlashAssign), "token");
    EXPECT_STREQ(tokenKindName(K::Catch), "token");
    EXPECT_STREQ(tokenKindName(K::Newline), "end of line");
    EXPECT_STREQ(tokenKindName(K::Eof), "end of file");
    EXPECT_STREQ(tokenKindSpelling(K::Name), "");
}

TEST(Lexer, NumberForms) {
    Token integer = single("42");
    EXPECT_TRUE(integer.isInteger);
    EXPECT_EQ(integer.number, 42.0);

    Token scaled = single("1.5e3");
    EXPECT_FALSE(scaled.isInteger);
    EXPECT_EQ(scaled.number, 1500.0);
    EXPECT_EQ(scaled.text, "1.5e3");

    EXPECT_EQ(single("1E-2").number, 0.01);
    EXPECT_FALSE(single("1E-2").isInteger);
    EXPECT_FALSE(single("3e+0").isInteger);
    EXPECT_EQ(single(".5").number, 0.5);
    EXPECT_FALSE(single(".5").isInteger);
    EXPECT_EQ(single("007").number, 7.0);
    EXPECT_TRUE(single("007").isInteger);
}

TEST(Lexer, DotsAndLettersAfterNumbersAreSeparateTokens) {
    EXPECT_EQ(dump("1..2"), "number '1' @1:1\n"
                            "token '.' @1:2\n"
                            "number '.2' @1:3\n"
                            "end of file '' @1:3\n");
    EXPECT_EQ(kinds("5."), (std::vector{K::Number, K::Dot, K::Eof}));
    EXPECT_EQ(kinds("0x10"), (std::vector{K::Number, K::Name, K::Eof}));
    EXPECT_EQ(tokenize("0x10")[1].text, "x10");
    EXPECT_EQ(kinds("a.b"), (std::vector{K::Name, K::Dot, K::Name, K::Eof}));
    EXPECT_EQ(kinds("x.5"), (std::vector{K::Name, K::Number, K::Eof}));
}

TEST(Lexer, ExponentWithoutDigitsFailsAtTheNumber) {
    for (const char* source : {"2e", "2else", "1e+", "1.5E-x"}) {
        LexFailure failure = lexFailure(std::string("x = ") + source);
        EXPECT_EQ(failure.message, "malformed number: exponent has no digits") << source;
        EXPECT_EQ(failure.line, 1);
        EXPECT_EQ(failure.column, 5) << source;
    }
}

TEST(Lexer, NumbersBeyondTheDoubleRangeDoNotFail) {
    Token huge = single("1e400");
    EXPECT_TRUE(std::isinf(huge.number));
    EXPECT_GT(huge.number, 0);
    EXPECT_EQ(single("1e-400").number, 0.0);
    Token longInteger = single(std::string(400, '9'));
    EXPECT_TRUE(longInteger.isInteger);
    EXPECT_TRUE(std::isinf(longInteger.number));
}

TEST(Lexer, StringEscapesAndQuotes) {
    Token token = single(R"("a\nb\tc\rd\0e\\f\"g\'h\$i")");
    EXPECT_EQ(token.kind, K::String);
    EXPECT_EQ(token.text, std::string("a\nb\tc\rd\0e\\f\"g'h$i", 17));
    EXPECT_EQ(single(R"('it\'s "x"')").text, "it's \"x\"");
    EXPECT_EQ(single("'a # b'").text, "a # b");
    EXPECT_EQ(single("\"\"").text, "");
    EXPECT_EQ(kinds("x # \"not a string\n"), (std::vector{K::Name, K::Newline, K::Eof}));
}

TEST(Lexer, InterpolationOnlyInDoubleQuotes) {
    Token plain = single("'${x}'");
    EXPECT_EQ(plain.kind, K::String);
    EXPECT_EQ(plain.text, "${x}");

    Token interp = single("\"a${x}\"");
    EXPECT_EQ(interp.kind, K::InterpString);
    EXPECT_EQ(interp.text, "");
    ASSERT_EQ(interp.parts.size(), 2u);
    EXPECT_FALSE(interp.parts[0].isCode);
    EXPECT_EQ(interp.parts[0].text, "a");
    EXPECT_TRUE(interp.parts[1].isCode);
    EXPECT_EQ(interp.parts[1].text, "x");

    Token escaped = single(R"("\${x}")");
    EXPECT_EQ(escaped.kind, K::String);
    EXPECT_EQ(escaped.text, "${x}");
    EXPECT_EQ(single("\"$ {x} $\"").kind, K::String);
}

TEST(Lexer, InterpolationPartsInOrderWithEscapesOnlyInLiterals) {
    Token token = single(R"("\t${a}${ b }x\n${c}")");
    ASSERT_EQ(token.parts.size(), 5u);
    EXPECT_EQ(token.parts[0].text, "\t");
    EXPECT_EQ(token.parts[1].text, "a");
    EXPECT_EQ(token.parts[2].text, " b ");
    EXPECT_EQ(token.parts[3].text, "x\n");
    EXPECT_FALSE(token.parts[3].isCode);
    EXPECT_EQ(token.parts[4].text, "c");
    EXPECT_TRUE(token.parts[4].isCode);
}

TEST(Lexer, InterpolationCodeKeepsNestedBracesAndQuotesRaw) {
    Token token = single(R"("v=${ {"k": "}", 'q': '{'}["k"] }!")");
    ASSERT_EQ(token.parts.size(), 3u);
    EXPECT_EQ(token.parts[1].text, R"( {"k": "}", 'q': '{'}["k"] )");
    EXPECT_EQ(token.parts[2].text, "!");

    // An escaped quote does not end the nested string, and escapes stay unprocessed.
    Token escaped = single(R"("${f("a\"}\n")}")");
    ASSERT_EQ(escaped.parts.size(), 1u);
    EXPECT_EQ(escaped.parts[0].text, R"(f("a\"}\n"))");

    // A nested interpolated string is copied whole, to be lexed again later.
    Token nested = single(R"("${"in${x}"}")");
    ASSERT_EQ(nested.parts.size(), 1u);
    EXPECT_EQ(nested.parts[0].text, R"("in${x}")");
}

TEST(Lexer, StringPositionIsTheOpeningQuote) {
    std::vector<Token> tokens = tokenize("x = \"a${b}\" + 'c'");
    EXPECT_EQ(tokens[2].column, 5);
    EXPECT_EQ(tokens[3].column, 13);
    EXPECT_EQ(tokens[4].column, 15);
}

TEST(Lexer, StringErrorsAndTheirPositions) {
    LexFailure open = lexFailure("x = 1\ny = \"abc");
    EXPECT_EQ(open.message, "unterminated string literal");
    EXPECT_EQ(open.line, 2);
    EXPECT_EQ(open.column, 5);

    LexFailure spansLines = lexFailure("'ab\ncd'");
    EXPECT_EQ(spansLines.message, "unterminated string literal");
    EXPECT_EQ(spansLines.column, 1);

    // A backslash cannot continue a string on the next line.
    LexFailure trailingBackslash = lexFailure("  \"ab\\\nc\"");
    EXPECT_EQ(trailingBackslash.message, "unterminated string literal");
    EXPECT_EQ(trailingBackslash.line, 1);
    EXPECT_EQ(trailingBackslash.column, 3);
    EXPECT_EQ(lexFailure("\"ab\\").message, "unterminated string literal");

    LexFailure code = lexFailure("s = \"a${x");
    EXPECT_EQ(code.message, "unterminated ${...} in string");
    EXPECT_EQ(code.column, 5);
    EXPECT_EQ(lexFailure("s = \"a${ {x} \"").message, "unterminated ${...} in string");
    EXPECT_EQ(lexFailure("\"${'}\n'}\"").message, "unterminated ${...} in string");
    EXPECT_EQ(lexFailure("\"${x\n}\"").message, "unterminated ${...} in string");
}

TEST(Lexer, UnknownEscapeStandsJustAfterTheByte) {
    LexFailure failure = lexFailure("x = \"ab\\qc\"");
    EXPECT_EQ(failure.message, "unknown escape sequence '\\q'");
    EXPECT_EQ(failure.line, 1);
    EXPECT_EQ(failure.column, 10);
    EXPECT_EQ(lexFailure("'\\x41'").message, "unknown escape sequence '\\x'");
    EXPECT_EQ(lexFailure("'\\\xC3\xA9'").message, "unknown escape sequence '\\\xC3'");
}

TEST(Lexer, StrayCharacters) {
    LexFailure bang = lexFailure("if !x then");
    EXPECT_EQ(bang.message, "'!' must be followed by '=' (did you mean 'not'?)");
    EXPECT_EQ(bang.column, 4);
    EXPECT_EQ(lexFailure("!").message, "'!' must be followed by '=' (did you mean 'not'?)");

    LexFailure semicolon = lexFailure("a ; b");
    EXPECT_EQ(semicolon.message, "unexpected character ';'");
    EXPECT_EQ(semicolon.column, 3);

    for (const char* bad : {"&", "|", "~", "?", "@", "$", "`", "\\", "\x01", "\x7F", "\xC3\xA9"}) {
        std::string source = std::string("x ") + bad;
        LexFailure failure = lexFailure(source);
        EXPECT_EQ(failure.message, std::string("unexpected character '") + bad[0] + "'");
        EXPECT_EQ(failure.column, 3);
    }
    EXPECT_EQ(lexFailure(std::string_view("a\0", 2)).message, std::string("unexpected character '\0'", 24));
}

TEST(Lexer, ColumnsCountBytes) {
    std::vector<Token> tokens = tokenize("'\xC3\xA9t\xC3\xA9' x");
    EXPECT_EQ(tokens[1].column, 9);
    EXPECT_EQ(tokenize("\"${a}\" x")[1].column, 8);
}
