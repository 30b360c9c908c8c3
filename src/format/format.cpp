#include "format/format.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "lexer/lexer.h"
#include "parser.h"
#include "pragmas/pragmas.h"

namespace velmor {

namespace {

constexpr size_t kIndentWidth = 2;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Tokens after which a "(" or "[" is a call or an index, and a "-" is binary.
bool endsOperand(TokenKind kind) {
    switch (kind) {
    case TokenKind::Number:
    case TokenKind::String:
    case TokenKind::InterpString:
    case TokenKind::Name:
    case TokenKind::RightParen:
    case TokenKind::RightBracket:
    case TokenKind::RightBrace:
    case TokenKind::True:
    case TokenKind::False:
    case TokenKind::Nil:
    case TokenKind::End:  // of a function expression: a statement's "end" ends its line
        return true;
    default: return false;
    }
}

bool opensConstruct(TokenKind kind) {
    switch (kind) {
    case TokenKind::Function:
    case TokenKind::If:
    case TokenKind::While:
    case TokenKind::For:
    case TokenKind::Try:
    case TokenKind::LeftParen:
    case TokenKind::LeftBracket:
    case TokenKind::LeftBrace: return true;
    default: return false;
    }
}

bool closesConstruct(TokenKind kind) {
    return kind == TokenKind::End || kind == TokenKind::RightParen || kind == TokenKind::RightBracket ||
           kind == TokenKind::RightBrace;
}

bool continuesBlock(TokenKind kind) {
    return kind == TokenKind::Elif || kind == TokenKind::Else || kind == TokenKind::Catch;
}

// Whether one space separates `next` from `previous` on a line; `previousIsUnary`
// tells a sign from a subtraction.
bool spaceBetween(TokenKind previous, bool previousIsUnary, TokenKind next) {
    if (previousIsUnary) return false;
    switch (previous) {
    case TokenKind::LeftParen:
    case TokenKind::LeftBracket:
    case TokenKind::LeftBrace:
    case TokenKind::Dot: return false;
    default: break;
    }
    switch (next) {
    case TokenKind::RightParen:
    case TokenKind::RightBracket:
    case TokenKind::RightBrace:
    case TokenKind::Comma:
    case TokenKind::Colon:
    case TokenKind::Dot: return false;
    case TokenKind::LeftParen:
    case TokenKind::LeftBracket:
        // A call, an index, or the parameters of a function expression.
        return !endsOperand(previous) && previous != TokenKind::Function;
    default: return true;
    }
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimEnd(std::string_view text) {
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

class Formatter {
public:
    Formatter(std::string_view source, const std::vector<Token>& tokens, const std::vector<Comment>& comments)
        : source_(source), tokens_(tokens), comments_(comments) {
        const std::vector<PragmaEntry> pragmas = readPragmaHeader(source);
        if (!pragmas.empty()) headerEnd_ = pragmas.back().line;
        keepByteOrderMark_ = headerEnd_ == 0 && source.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    }

    std::vector<FormattedLine> run() {
        size_t index = 0;
        size_t commentIndex = 0;
        size_t lineStart = 0;
        for (int32_t line = 1;; ++line) {
            const size_t begin = index;
            while (tokens_[index].kind != TokenKind::Newline && tokens_[index].kind != TokenKind::Eof) ++index;
            const Comment* comment = nullptr;
            if (commentIndex < comments_.size() && comments_[commentIndex].line == line) {
                comment = &comments_[commentIndex++];
            }
            if (line <= headerEnd_) {
                const size_t lineEnd = tokens_[index].offset;
                emit(line, std::string(source_.substr(lineStart, lineEnd - lineStart)));
            } else {
                formatLine(line, begin, index, comment);
            }
            if (tokens_[index].kind == TokenKind::Eof) break;
            lineStart = tokens_[index].offset + 1;
            ++index;
        }
        return std::move(lines_);
    }

private:
    std::string_view spelling(const Token& token) const { return source_.substr(token.offset, token.length); }

    // tokens_[begin, end) are the tokens of `line`, and `comment` its comment if it has one.
    void formatLine(int32_t line, size_t begin, size_t end, const Comment* comment) {
        if (begin == end && comment == nullptr) {
            if (!lines_.empty() && blankLine_ == 0) blankLine_ = line;
            return;
        }
        const size_t indent = lineIndent(begin == end ? TokenKind::Eof : tokens_[begin].kind);
        std::string text(indent * kIndentWidth, ' ');
        bool previousIsUnary = false;
        for (size_t i = begin; i < end; ++i) {
            const Token& token = tokens_[i];
            if (i > begin && spaceBetween(tokens_[i - 1].kind, previousIsUnary, token.kind)) text += ' ';
            text += spelling(token);
            previousIsUnary = token.kind == TokenKind::Minus && (i == begin || !endsOperand(tokens_[i - 1].kind));
            if (opensConstruct(token.kind)) {
                openers_.push_back(indent);
            } else if (closesConstruct(token.kind) && !openers_.empty()) {
                openers_.pop_back();
            }
        }
        if (comment != nullptr) {
            if (begin != end) {
                const Token& last = tokens_[end - 1];
                const size_t gap = comment->offset - (last.offset + last.length);
                text.append(std::max<size_t>(gap, 1), ' ');
            }
            text += trimEnd(source_.substr(comment->offset, comment->length));
        }
        emit(line, std::move(text));
    }

    // The indentation level of a line that starts with a token of `first`
    // (end of input for a line holding only a comment).
    size_t lineIndent(TokenKind first) const {
        if (openers_.empty()) return 0;
        if (closesConstruct(first) || continuesBlock(first)) return openers_.back();
        return openers_.back() + 1;
    }

    void emit(int32_t line, std::string text) {
        if (blankLine_ != 0) lines_.push_back({blankLine_, std::string()});
        blankLine_ = 0;
        if (lines_.empty() && keepByteOrderMark_) text.insert(0, kByteOrderMark);
        lines_.push_back({line, std::move(text)});
    }

    std::string_view source_;
    const std::vector<Token>& tokens_;
    const std::vector<Comment>& comments_;
    int32_t headerEnd_ = 0;  // last line of the pragma header, copied as it stands; 0 without one
    bool keepByteOrderMark_ = false;
    // For each construct still open, the indentation level of the line that opened it.
    std::vector<size_t> openers_;
    int32_t blankLine_ = 0;  // first line of the run of blank lines before the next output line; 0 for none
    std::vector<FormattedLine> lines_;
};

// Whether two texts say the same: every token but the line ends, as spelt,
// and every comment's text, in order.
bool sameSubstance(std::string_view before, const std::vector<Token>& beforeTokens,
                   const std::vector<Comment>& beforeComments, std::string_view after,
                   const std::vector<Token>& afterTokens, const std::vector<Comment>& afterComments) {
    if (beforeComments.size() != afterComments.size()) return false;
    for (size_t i = 0; i < beforeComments.size(); ++i) {
        const Comment& a = beforeComments[i];
        const Comment& b = afterComments[i];
        if (trimEnd(before.substr(a.offset, a.length)) != trimEnd(after.substr(b.offset, b.length))) return false;
    }
    size_t j = 0;
    for (const Token& token : beforeTokens) {
        if (token.kind == TokenKind::Newline) continue;
        while (j < afterTokens.size() && afterTokens[j].kind == TokenKind::Newline) ++j;
        if (j == afterTokens.size()) return false;
        const Token& other = afterTokens[j++];
        if (other.kind != token.kind ||
            before.substr(token.offset, token.length) != after.substr(other.offset, other.length)) {
            return false;
        }
    }
    while (j < afterTokens.size() && afterTokens[j].kind == TokenKind::Newline) ++j;
    return j == afterTokens.size();
}

// The lexed source, kept for the check of the result.
struct Lexed {
    std::vector<Token> tokens;
    std::vector<Comment> comments;
};

std::vector<FormattedLine> formatLexed(std::string_view source, Lexed& lexed) {
    lexed.tokens = tokenize(source, lexed.comments);
    parseProgram(lexed.tokens);  // only source that parses is formatted
    return Formatter(source, lexed.tokens, lexed.comments).run();
}

}  // namespace

std::vector<FormattedLine> formatLines(std::string_view source) {
    Lexed lexed;
    return formatLexed(source, lexed);
}

TextEdit formatLineRange(std::string_view source, int32_t firstLine, int32_t lastLine) {
    const std::vector<FormattedLine> lines = formatLines(source);
    // Where each line starts; lines end at line feeds.
    std::vector<size_t> starts{0};
    for (size_t at = source.find('\n'); at != std::string_view::npos; at = source.find('\n', at + 1)) {
        starts.push_back(at + 1);
    }
    const auto lineCount = static_cast<int32_t>(starts.size());
    firstLine = std::clamp<int32_t>(firstLine, 1, lineCount);
    lastLine = std::clamp<int32_t>(lastLine, firstLine, lineCount);
    TextEdit edit;
    edit.begin = starts[firstLine - 1];
    edit.end = lastLine < lineCount ? starts[lastLine] : source.size();
    const bool byteOrderMark = source.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (byteOrderMark && edit.begin == 0) edit.begin = kByteOrderMark.size();
    for (const FormattedLine& line : lines) {
        if (line.sourceLine < firstLine || line.sourceLine > lastLine) continue;
        std::string_view text = line.text;
        if (byteOrderMark && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            text.remove_prefix(kByteOrderMark.size());
        }
        edit.text += text;
        edit.text += '\n';
    }
    return edit;
}

std::string formatSource(std::string_view source) {
    Lexed before;
    std::string text;
    text.reserve(source.size() + source.size() / 8);
    for (const FormattedLine& line : formatLexed(source, before)) {
        text += line.text;
        text += '\n';
    }
    // The layout must never change what the program says: the same tokens
    // and comments, in the same order.
    Lexed after;
    after.tokens = tokenize(text, after.comments);
    if (!sameSubstance(source, before.tokens, before.comments, text, after.tokens, after.comments)) {
        throw std::logic_error("formatting would change the program's tokens");
    }
    return text;
}

}  // namespace velmor
