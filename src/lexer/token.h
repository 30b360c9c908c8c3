#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor {

// X(enumerator, number, spelling, printed name). The spelling is the
// keyword or operator text (empty for literal kinds).
#define VELMOR_TOKENS(X)                    \
    X(Number, 0, "", "number")              \
    X(String, 1, "", "string")              \
    X(InterpString, 2, "", "interp-string") \
    X(Name, 3, "", "name")                  \
    X(LeftParen, 4, "(", "token")           \
    X(RightParen, 5, ")", "token")          \
    X(LeftBracket, 6, "[", "token")         \
    X(RightBracket, 7, "]", "token")        \
    X(LeftBrace, 8, "{", "token")           \
    X(RightBrace, 9, "}", "token")          \
    X(Comma, 10, ",", "token")              \
    X(Colon, 11, ":", "token")              \
    X(Dot, 12, ".", "token")                \
    X(Plus, 13, "+", "token")               \
    X(Minus, 14, "-", "token")              \
    X(Star, 15, "*", "token")               \
    X(Slash, 16, "/", "token")              \
    X(SlashSlash, 17, "//", "token")        \
    X(Percent, 18, "%", "token")            \
    X(Caret, 19, "^", "token")              \
    X(Assign, 20, "=", "token")             \
    X(EqualEqual, 21, "==", "token")        \
    X(BangEqual, 22, "!=", "token")         \
    X(Less, 23, "<", "token")               \
    X(LessEqual, 24, "<=", "token")         \
    X(Greater, 25, ">", "token")            \
    X(GreaterEqual, 26, ">=", "token")      \
    X(PlusAssign, 27, "+=", "token")        \
    X(MinusAssign, 28, "-=", "token")       \
    X(StarAssign, 29, "*=", "token")        \
    X(SlashAssign, 30, "/=", "token")       \
    X(SlashSlashAssign, 31, "//=", "token") \
    X(PercentAssign, 32, "%=", "token")     \
    X(CaretAssign, 33, "^=", "token")       \
    X(Let, 34, "let", "token")              \
    X(Function, 35, "function", "token")    \
    X(Return, 36, "return", "token")        \
    X(If, 37, "if", "token")                \
    X(Then, 38, "then", "token")            \
    X(Elif, 39, "elif", "token")            \
    X(Else, 40, "else", "token")            \
    X(While, 41, "while", "token")          \
    X(For, 42, "for", "token")              \
    X(In, 43, "in", "token")                \
    X(Do, 44, "do", "token")                \
    X(End, 45, "end", "token")              \
    X(Break, 46, "break", "token")          \
    X(Continue, 47, "continue", "token")    \
    X(And, 48, "and", "token")              \
    X(Or, 49, "or", "token")                \
    X(Not, 50, "not", "token")              \
    X(True, 51, "true", "token")            \
    X(False, 52, "false", "token")          \
    X(Nil, 53, "nil", "token")              \
    X(Try, 54, "try", "token")              \
    X(Catch, 55, "catch", "token")          \
    X(Newline, 56, "", "end of line")       \
    X(Eof, 57, "", "end of file")

enum class TokenKind : int32_t {
#define VELMOR_TOKEN_ENUM(name, number, spelling, printed) name = number,
    VELMOR_TOKENS(VELMOR_TOKEN_ENUM)
#undef VELMOR_TOKEN_ENUM
};

inline constexpr int kTokenKindCount = 58;
inline constexpr int kFirstKeyword = 34;  // "let"
inline constexpr int kLastKeyword = 55;   // "catch"

struct StringPart {
    bool isCode = false;  // true: raw code between "${" and "}"; false: literal text, escapes applied
    std::string text;
    // Where a code part's first byte stands in the file, so that its tokens,
    // errors and nodes carry file positions although the code is lexed apart.
    int32_t line = 1;
    int32_t column = 1;
    uint32_t offset = 0;  // byte offset of the code's first byte in the file
};

struct Token {
    TokenKind kind = TokenKind::Eof;
    std::string text;
    double number = 0;
    bool isInteger = false;
    std::vector<StringPart> parts;
    int32_t line = 1;
    int32_t column = 1;
    // Byte offset in the file and length of the token's spelling, for editor
    // tooling; an end of line covers its line feed, end of input is empty.
    uint32_t offset = 0;
    uint32_t length = 0;
};

// A "#" comment, which the token list leaves out: where it starts (the "#")
// and how many bytes it spans, up to but not including its line feed.
struct Comment {
    int32_t line = 1;
    int32_t column = 1;
    uint32_t offset = 0;
    uint32_t length = 0;
};

// The printed name of a kind, as the token dump shows it.
const char* tokenKindName(TokenKind kind);
// The keyword or operator spelling of a kind; empty for the literal kinds.
const char* tokenKindSpelling(TokenKind kind);

}  // namespace velmor
