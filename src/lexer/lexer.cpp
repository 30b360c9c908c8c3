#include "lexer/lexer.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "error.h"

namespace velmor {

namespace {

#define VELMOR_TOKEN_NAME(name, number, spelling, printed) printed,
constexpr const char* kTokenNames[] = {VELMOR_TOKENS(VELMOR_TOKEN_NAME)};
#undef VELMOR_TOKEN_NAME

#define VELMOR_TOKEN_SPELLING(name, number, spelling, printed) spelling,
constexpr const char* kTokenSpellings[] = {VELMOR_TOKENS(VELMOR_TOKEN_SPELLING)};
#undef VELMOR_TOKEN_SPELLING

#define VELMOR_TOKEN_NUMBER(name, number, spelling, printed) number,
constexpr int kTokenNumbers[] = {VELMOR_TOKENS(VELMOR_TOKEN_NUMBER)};
#undef VELMOR_TOKEN_NUMBER

// The tables are indexed by kind number, so the X-macro must list the kinds in order.
constexpr bool kindsAreInOrder() {
    for (int index = 0; index < kTokenKindCount; ++index) {
        if (kTokenNumbers[index] != index) return false;
    }
    return true;
}
static_assert(kindsAreInOrder(), "token kinds must be listed in numeric order");
static_assert(sizeof(kTokenNames) / sizeof(kTokenNames[0]) == kTokenKindCount);

// Keywords are lower case and at most eight bytes long; any other name skips
// the hash lookup.
constexpr size_t kLongestKeyword = 8;

const std::unordered_map<std::string_view, TokenKind>& keywordTable() {
    static const std::unordered_map<std::string_view, TokenKind> table = [] {
        std::unordered_map<std::string_view, TokenKind> map;
#define VELMOR_TOKEN_KEYWORD(name, number, spelling, printed) \
    if (number >= kFirstKeyword && number <= kLastKeyword) map.emplace(spelling, TokenKind::name);
        VELMOR_TOKENS(VELMOR_TOKEN_KEYWORD)
#undef VELMOR_TOKEN_KEYWORD
        return map;
    }();
    return table;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

double convertNumber(const std::string& text) {
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched on overflow and underflow; strtod
        // gives the rounded result instead: infinity for a literal beyond the
        // double range, zero or a subnormal for one below it.
        value = std::strtod(text.c_str(), nullptr);
    }
    return value;
}

// Where the lexed text comes from: a whole file, or the code of a "${...}" inside a line.
enum class TextOrigin { WholeFile, InsideLine };

class Lexer {
public:
    // `line` and `column` are the position of the text's first byte. A
    // leading byte-order mark is dropped; in a whole file the byte after it
    // is 1:1, while code inside a line keeps counting the mark's bytes.
    // `offset` is the byte offset of the text's first byte in its file.
    // With `errors`, lexing is tolerant: each error is appended there and
    // lexing goes on after it (see runTolerant); without, the first throws.
    Lexer(std::string_view source, int32_t line, int32_t column, uint32_t offset, TextOrigin origin,
          LexErrorList* errors = nullptr, std::vector<Comment>* comments = nullptr)
        : source_(source), line_(line), column_(column), base_(offset), errors_(errors), comments_(comments) {
        if (source_.size() >= 3 && source_.substr(0, 3) == "\xEF\xBB\xBF") {
            source_.remove_prefix(3);
            base_ += 3;
            if (origin == TextOrigin::InsideLine) column_ += 3;
        }
        startLine_ = line_;
        startColumn_ = column_;
        // About one token per four bytes of typical code: this spares most regrowth
        // (which moves every token) without reserving much beyond the need.
        tokens_.reserve(source_.size() / 4 + 16);
    }

    std::vector<Token> run() {
        while (position_ < source_.size()) lexNext(source_[position_]);
        return finish();
    }

    // Recovers from each error so that one mistake yields one error: a broken
    // string or interpolation becomes a string token up to the end of its
    // line, a number keeps what it consumed, and a stray byte (a whole UTF-8
    // character) or a lone "!" is dropped. Unknown escapes never stop a
    // string here (see escapeValue).
    std::vector<Token> runTolerant() {
        while (position_ < source_.size()) {
            char c = source_[position_];
            try {
                lexNext(c);
            } catch (LexError& error) {
                errors_->errors.push_back(std::move(error));
                errors_->tokenIndices.push_back(tokens_.size());
                recover(c);
            }
        }
        return finish();
    }

private:
    std::vector<Token> finish() {
        Token& end = addPositioned(TokenKind::Eof, "", startLine_, startColumn_);
        end.offset = base_ + static_cast<uint32_t>(source_.size());
        end.length = 0;
        return std::move(tokens_);
    }

    void recover(char first) {
        if (first == '"' || first == '\'') {
            while (!atEnd() && peek() != '\n') advance();
            add(TokenKind::String, "");
        } else if (isDigit(first) || first == '.') {
            std::string text(source_.substr(startOffset_ - base_, position_ - (startOffset_ - base_)));
            Token& token = add(TokenKind::Number, text);
            token.number = std::strtod(token.text.c_str(), nullptr);
        } else {
            while (!atEnd() && (static_cast<unsigned char>(peek()) & 0xC0) == 0x80) advance();
        }
    }

    // One step of the loop: a token, or blank space or a comment skipped. Inlined into
    // both loops, so the strict one is as tight as it was.
    [[gnu::always_inline]] void lexNext(char c) {
        {
            switch (c) {
            case '\n': {
                Token& token = addPositioned(TokenKind::Newline, "\\n", startLine_, startColumn_);
                token.offset = base_ + static_cast<uint32_t>(position_);
                token.length = 1;
                ++position_;
                ++line_;
                column_ = 1;
                break;
            }
            case ' ':
            case '\t':
            case '\r': advance(); break;
            case '#': skipComment(); break;
            case '"':
            case '\'':
                markStart();
                lexString(c);
                break;
            default:
                markStart();
                if (isDigit(c) || (c == '.' && isDigit(peek(1)))) {
                    lexNumber();
                } else if (isLetter(c) || c == '_') {
                    lexName();
                } else {
                    lexOperator(c);
                }
                break;
            }
        }
    }

    bool atEnd() const { return position_ >= source_.size(); }
    char peek(size_t ahead = 0) const {
        size_t at = position_ + ahead;
        return at < source_.size() ? source_[at] : '\0';
    }

    char advance() {
        char c = source_[position_++];
        if (c == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
        return c;
    }

    void markStart() {
        startLine_ = line_;
        startColumn_ = column_;
        startOffset_ = base_ + static_cast<uint32_t>(position_);
    }

    Token& addPositioned(TokenKind kind, std::string&& text, int32_t line, int32_t column) {
        Token& token = tokens_.emplace_back();
        token.kind = kind;
        token.text = std::move(text);
        token.line = line;
        token.column = column;
        return token;
    }

    // A token from the latest start up to the current byte.
    Token& add(TokenKind kind, std::string text) {
        Token& token = addPositioned(kind, std::move(text), startLine_, startColumn_);
        token.offset = startOffset_;
        token.length = base_ + static_cast<uint32_t>(position_) - startOffset_;
        return token;
    }

    [[noreturn]] void failAtStart(std::string message) const {
        throw LexError(std::move(message), startLine_, startColumn_);
    }

    void skipComment() {
        if (comments_ != nullptr) {
            Comment& comment = comments_->emplace_back();
            comment.line = line_;
            comment.column = column_;
            comment.offset = base_ + static_cast<uint32_t>(position_);
        }
        const size_t begin = position_;
        while (!atEnd() && source_[position_] != '\n') {
            ++position_;
            ++column_;
        }
        if (comments_ != nullptr) comments_->back().length = static_cast<uint32_t>(position_ - begin);
    }

    // Consumes bytes while they satisfy the predicate; none of them may be a line feed.
    template <typename Predicate>
    void consumeWhile(Predicate predicate) {
        while (!atEnd() && predicate(source_[position_])) {
            ++position_;
            ++column_;
        }
    }

    // number -> digits? ("." digits)? (("e" | "E") ("+" | "-")? digits)?
    [[gnu::always_inline]] void lexNumber() {
        size_t begin = position_;
        bool isInteger = true;
        consumeWhile(isDigit);
        if (peek() == '.' && isDigit(peek(1))) {
            isInteger = false;
            advance();
            consumeWhile(isDigit);
        }
        if (peek() == 'e' || peek() == 'E') {
            isInteger = false;
            advance();
            if (peek() == '+' || peek() == '-') advance();
            if (!isDigit(peek())) failAtStart("malformed number: exponent has no digits");
            consumeWhile(isDigit);
        }
        Token& token = add(TokenKind::Number, std::string(source_.substr(begin, position_ - begin)));
        token.number = convertNumber(token.text);
        token.isInteger = isInteger;
    }

    void lexName() {
        size_t begin = position_;
        consumeWhile(isNameByte);
        std::string_view text = source_.substr(begin, position_ - begin);
        TokenKind kind = TokenKind::Name;
        if (text.size() <= kLongestKeyword && text[0] >= 'a' && text[0] <= 'z') {
            const auto& keywords = keywordTable();
            if (auto found = keywords.find(text); found != keywords.end()) kind = found->second;
        }
        add(kind, std::string(text));
    }

    // string -> quote (byte | escape | "${" code "}")* quote; single-quoted strings have no interpolation
    void lexString(char quote) {
        advance();
        std::string buffer;
        std::vector<StringPart> parts;
        for (;;) {
            if (atEnd() || peek() == '\n') failAtStart("unterminated string literal");
            char c = peek();
            if (c == '\\') {
                advance();
                // A backslash cannot carry a string over a line end either.
                if (atEnd() || peek() == '\n') failAtStart("unterminated string literal");
                char escaped = advance();
                buffer.push_back(escapeValue(escaped));
            } else if (quote == '"' && c == '$' && peek(1) == '{') {
                if (!buffer.empty()) parts.push_back(StringPart{false, std::move(buffer)});
                buffer.clear();
                advance();
                advance();
                const int32_t codeLine = line_;
                const int32_t codeColumn = column_;
                const uint32_t codeOffset = base_ + static_cast<uint32_t>(position_);
                parts.push_back(StringPart{true, collectCode(), codeLine, codeColumn, codeOffset});
            } else if (c == quote) {
                advance();
                break;
            } else {
                advance();
                buffer.push_back(c);
            }
        }
        if (parts.empty()) {
            add(TokenKind::String, std::move(buffer));
            return;
        }
        if (!buffer.empty()) parts.push_back(StringPart{false, std::move(buffer)});
        add(TokenKind::InterpString, "").parts = std::move(parts);
    }

    // Called just after the escape byte was consumed, so the error stands right after it.
    char escapeValue(char escaped) const {
        switch (escaped) {
        case 'n': return '\n';
        case 't': return '\t';
        case 'r': return '\r';
        case '0': return '\0';
        case '\\': return '\\';
        case '"': return '"';
        case '\'': return '\'';
        case '$': return '$';
        default: {
            LexError error(std::string("unknown escape sequence '\\") + escaped + "'", line_, column_);
            if (errors_ == nullptr) throw error;
            // Tolerantly the string goes on, the byte standing for itself.
            errors_->errors.push_back(std::move(error));
            errors_->tokenIndices.push_back(tokens_.size());
            return escaped;
        }
        }
    }

    // The raw code of one "${...}", up to its matching "}". Braces inside
    // nested string literals do not count; the code is lexed later on its own.
    std::string collectCode() {
        std::string code;
        int depth = 1;
        for (;;) {
            if (atEnd() || peek() == '\n') failAtStart("unterminated ${...} in string");
            char c = advance();
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0) return code;
            } else if (c == '"' || c == '\'') {
                code.push_back(c);
                for (;;) {
                    if (atEnd() || peek() == '\n') failAtStart("unterminated ${...} in string");
                    char inner = advance();
                    if (inner == c) break;
                    code.push_back(inner);
                    if (inner == '\\') {
                        if (atEnd() || peek() == '\n') failAtStart("unterminated ${...} in string");
                        code.push_back(advance());
                    }
                }
            }
            code.push_back(c);
        }
    }

    [[gnu::always_inline]] void lexOperator(char c) {
        advance();
        TokenKind kind;
        switch (c) {
        case '(': kind = TokenKind::LeftParen; break;
        case ')': kind = TokenKind::RightParen; break;
        case '[': kind = TokenKind::LeftBracket; break;
        case ']': kind = TokenKind::RightBracket; break;
        case '{': kind = TokenKind::LeftBrace; break;
        case '}': kind = TokenKind::RightBrace; break;
        case ',': kind = TokenKind::Comma; break;
        case ':': kind = TokenKind::Colon; break;
        case '.': kind = TokenKind::Dot; break;
        case '+': kind = withEquals(TokenKind::Plus, TokenKind::PlusAssign); break;
        case '-': kind = withEquals(TokenKind::Minus, TokenKind::MinusAssign); break;
        case '*': kind = withEquals(TokenKind::Star, TokenKind::StarAssign); break;
        case '%': kind = withEquals(TokenKind::Percent, TokenKind::PercentAssign); break;
        case '^': kind = withEquals(TokenKind::Caret, TokenKind::CaretAssign); break;
        case '=': kind = withEquals(TokenKind::Assign, TokenKind::EqualEqual); break;
        case '<': kind = withEquals(TokenKind::Less, TokenKind::LessEqual); break;
        case '>': kind = withEquals(TokenKind::Greater, TokenKind::GreaterEqual); break;
        case '/':
            if (peek() == '/') {
                advance();
                kind = withEquals(TokenKind::SlashSlash, TokenKind::SlashSlashAssign);
            } else {
                kind = withEquals(TokenKind::Slash, TokenKind::SlashAssign);
            }
            break;
        case '!':
            if (peek() != '=') failAtStart("'!' must be followed by '=' (did you mean 'not'?)");
            advance();
            kind = TokenKind::BangEqual;
            break;
        default: failAtStart(std::string("unexpected character '") + c + "'");
        }
        add(kind, kTokenSpellings[static_cast<int>(kind)]);
    }

    TokenKind withEquals(TokenKind alone, TokenKind withEqualsSign) {
        if (peek() != '=') return alone;
        advance();
        return withEqualsSign;
    }

    std::string_view source_;
    size_t position_ = 0;
    int32_t line_ = 1;
    int32_t column_ = 1;
    // Start of the latest token other than an end of line; end-of-line and
    // end-of-input tokens take this position.
    int32_t startLine_ = 1;
    int32_t startColumn_ = 1;
    uint32_t base_ = 0;  // file offset of source_'s first byte
    uint32_t startOffset_ = 0;
    LexErrorList* errors_ = nullptr;
    std::vector<Comment>* comments_ = nullptr;  // where comments are kept, when they are wanted
    std::vector<Token> tokens_;
};

}  // namespace

const char* tokenKindName(TokenKind kind) {
    auto index = static_cast<size_t>(kind);
    return index < std::size(kTokenNames) ? kTokenNames[index] : "token";
}

const char* tokenKindSpelling(TokenKind kind) {
    auto index = static_cast<size_t>(kind);
    return index < std::size(kTokenSpellings) ? kTokenSpellings[index] : "";
}

std::vector<Token> tokenize(std::string_view source) { return Lexer(source, 1, 1, 0, TextOrigin::WholeFile).run(); }

std::vector<Token> tokenize(std::string_view source, std::vector<Comment>& comments) {
    return Lexer(source, 1, 1, 0, TextOrigin::WholeFile, nullptr, &comments).run();
}

std::vector<Token> tokenizeFromLine(std::string_view source, int32_t firstLine) {
    return Lexer(source, firstLine, 1, 0, TextOrigin::WholeFile).run();
}

std::vector<Token> tokenizeCode(std::string_view code, int32_t line, int32_t column, uint32_t offset) {
    return Lexer(code, line, column, offset, TextOrigin::InsideLine).run();
}

std::vector<Token> tokenizeTolerant(std::string_view source, LexErrorList& errors, std::vector<Comment>* comments) {
    return Lexer(source, 1, 1, 0, TextOrigin::WholeFile, &errors, comments).runTolerant();
}

std::vector<Token> tokenizeCodeTolerant(std::string_view code, int32_t line, int32_t column, uint32_t offset,
                                        LexErrorList& errors) {
    return Lexer(code, line, column, offset, TextOrigin::InsideLine, &errors).runTolerant();
}

}  // namespace velmor
