#include "parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "error.h"
#include "lexer/lexer.h"
#include "native_stack.h"

namespace velmor {

namespace {

// Deeper nesting than this ends parsing with an error instead of exhausting
// the stack. Only what really nests counts: a parenthesis, bracket or brace
// (grouping, call arguments, index, list, map, computed key), a unary
// operator, a statement that holds a block, a function literal and the code
// of an interpolation. Chains of any length, such as "a + b + c", "a ^ b ^ c",
// "x.a.b" or "f()()()", are parsed by loops here, and neither engine nor the
// tree's destructor recurses on a chain's length, so they count no level:
// the recursion of every walk over the tree is bounded by this nesting times
// the few precedence levels between two nested constructs. On a small
// native stack the same error comes earlier: every level also checks that
// the stack has not reached the thread's floor (native_stack.h), as the
// later passes over the tree do on their own.
constexpr int kMaxNesting = 200;

// 2^63: the first integer literal that a signed 64-bit integer cannot hold.
constexpr double kIntegerLiteralLimit = 9223372036854775808.0;

// What a token means after an operand, found by spelling in the operator
// table: a binary operator, or an assignment ("=", or an arithmetic operator
// followed by "=" for a compound assignment).
struct TokenOperator {
    std::optional<BinaryOp> binary;
    bool assignment = false;
    std::optional<BinaryOp> compound;
};

constexpr std::array<TokenOperator, kTokenKindCount> kTokenOperators = [] {
    struct Spelled {
        int kind;
        std::string_view spelling;
    };
    constexpr Spelled tokens[] = {
#define VELMOR_TOKEN_SPELLING(name, number, spelling, printed) {number, spelling},
        VELMOR_TOKENS(VELMOR_TOKEN_SPELLING)
#undef VELMOR_TOKEN_SPELLING
    };
    std::array<TokenOperator, kTokenKindCount> table{};
    for (const Spelled& token : tokens) {
        if (token.spelling.empty()) continue;
        TokenOperator& entry = table[static_cast<size_t>(token.kind)];
        entry.binary = binaryOpFromSpelling(token.spelling);
        if (token.spelling.ends_with('=')) {
            entry.compound = compoundOpFromSpelling(token.spelling.substr(0, token.spelling.size() - 1));
            entry.assignment = entry.compound.has_value();
        }
    }
    table[static_cast<size_t>(TokenKind::Assign)].assignment = true;
    return table;
}();

constexpr const TokenOperator& tokenOperator(TokenKind kind) { return kTokenOperators[static_cast<size_t>(kind)]; }

// Every operator has its token, and every arithmetic one its compound assignment.
static_assert([] {
    size_t binary = 0;
    size_t compound = 0;
    for (const TokenOperator& entry : kTokenOperators) {
        binary += entry.binary.has_value();
        compound += entry.compound.has_value();
    }
    size_t arithmetic = 0;
    for (const BinaryOperatorInfo& info : kBinaryOperators) arithmetic += info.kind == OperatorKind::Arithmetic;
    return binary == std::size(kBinaryOperators) && compound == arithmetic;
}());

bool endsStatement(TokenKind kind) {
    switch (kind) {
    case TokenKind::Newline:
    case TokenKind::Eof:
    case TokenKind::Elif:
    case TokenKind::Else:
    case TokenKind::End:
    case TokenKind::Catch: return true;
    default: return false;
    }
}

bool endsBlock(TokenKind kind) { return kind != TokenKind::Newline && endsStatement(kind); }

std::string describe(const Token& token) {
    if (token.kind == TokenKind::Eof) return "end of file";
    if (token.kind == TokenKind::Newline) return "end of line";
    return "'" + token.text + "'";
}

// Tolerant parsing, for editor tooling (the engines never use it): errors are
// collected instead of thrown, and parsing recovers at statement level. A
// statement that fails is left out and the tokens up to its end are skipped;
// a broken block header (an if, elif, while or for condition, a parameter
// list, a catch variable) is skipped to its line's end and the block under it
// is still parsed; a missing "end" is reported and taken as read. Up to the
// first error a tolerant parse does exactly what a strict one does, so its
// first error is the strict parser's. An error in a statement that holds a
// lexical error is not reported again: the lexical error explains it.
struct Tolerance {
    std::vector<VelmorError>* errors;
    std::vector<size_t> spoiledTokens;  // indices of tokens made just after a lexical error, ascending
    TolerantParse* parse = nullptr;     // where the code of interpolations is recorded
};

class Parser {
public:
    Parser(std::vector<Token> tokens, int depth, Tolerance* tolerance = nullptr)
        : tokens_(std::move(tokens)), depth_(depth), tolerance_(tolerance), stackFloor_(nativeStackFloor()) {
        if (tokens_.empty() || tokens_.back().kind != TokenKind::Eof) {
            Token& end = tokens_.emplace_back();
            if (tokens_.size() > 1) {
                end.line = tokens_[tokens_.size() - 2].line;
                end.column = tokens_[tokens_.size() - 2].column;
            }
        }
    }

    // program -> block EOF
    StmtList parseProgram() {
        StmtList program = parseBlock();
        if (peek().kind != TokenKind::Eof) {
            if (tolerance_ == nullptr) failUnexpected("");
            parseRestTolerantly(program);
        }
        return program;
    }

    std::vector<Token>& tokens() { return tokens_; }

    // interpolation code -> expression EOF
    ExprPtr parseInterpolationCode() {
        ExprPtr expression = parseExpression(0);
        if (peek().kind != TokenKind::Eof) failUnexpected(" in ${...} interpolation");
        return expression;
    }

private:
    // One level of nesting, held while the construct is parsed. Made while
    // the construct's first token is current, which the error then names.
    class NestingGuard {
    public:
        explicit NestingGuard(Parser& parser) : parser_(parser) {
            // Checked before the level is taken: a tolerant parse goes on after the error.
            if (parser_.depth_ >= kMaxNesting || currentStackAddress() < parser_.stackFloor_) [[unlikely]]
                parser_.failTooDeep();
            ++parser_.depth_;
        }
        ~NestingGuard() { --parser_.depth_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        Parser& parser_;
    };

    [[noreturn, gnu::noinline, gnu::cold]] void failTooDeep() const { fail(kNestedTooDeeply); }

    const Token& peek() const { return tokens_[index_]; }
    const Token& peekNext() const { return tokens_[index_ + 1 < tokens_.size() ? index_ + 1 : index_]; }
    bool check(TokenKind kind) const { return peek().kind == kind; }

    // Consuming the end-of-input token leaves the parser on it.
    Token& advance() {
        Token& token = tokens_[index_];
        if (token.kind != TokenKind::Eof) ++index_;
        return token;
    }

    bool match(TokenKind kind) {
        if (!check(kind)) return false;
        advance();
        return true;
    }

    Token& expect(TokenKind kind, const char* what) {
        if (!check(kind)) failExpected(what);
        return advance();
    }

    void skipNewlines() {
        while (check(TokenKind::Newline)) advance();
    }

    // Failing paths stay out of line: the parse functions recurse, and every
    // byte of their frames counts towards the stack that deep nesting needs.
    [[noreturn, gnu::noinline, gnu::cold]] void fail(std::string message) const {
        throw ParseError(std::move(message), peek().line, peek().column);
    }

    [[noreturn, gnu::noinline, gnu::cold]] void failExpected(const char* what) const {
        fail(std::string("expected ") + what + ", got " + describe(peek()));
    }

    // "unexpected <token>" followed by `where`.
    [[noreturn, gnu::noinline, gnu::cold]] void failUnexpected(const char* where) const {
        fail("unexpected " + describe(peek()) + where);
    }

    // ---- tolerant parsing (see Tolerance)

    static ExprPtr placeholder(int32_t line, int32_t column) {
        return std::make_unique<LiteralExpr>(Value(), line, column);
    }

    // Keeps an error unless a lexical error lies in the statement that starts
    // at token `start` and has reached the current token.
    void record(VelmorError error, size_t start) {
        const std::vector<size_t>& spoiled = tolerance_->spoiledTokens;
        auto found = std::lower_bound(spoiled.begin(), spoiled.end(), start);
        if (found != spoiled.end() && *found <= index_) return;
        tolerance_->errors->push_back(std::move(error));
    }

    // "end" closing a block; tolerantly, a missing one is reported and taken
    // as read. The offset of the token that stands there either way.
    uint32_t expectEnd(const char* what) {
        uint32_t offset = peek().offset;
        if (tolerance_ != nullptr && !check(TokenKind::End)) {
            record(
                ParseError(std::string("expected ") + what + ", got " + describe(peek()), peek().line, peek().column),
                index_);
            return offset;
        }
        expect(TokenKind::End, what);
        return offset;
    }

    // Runs the parse of a block header. Tolerantly, a failure is recorded and
    // the rest of the header is skipped: up to the end of the line, or past
    // `closer` ("then", "do" or ")") when it comes first on that line.
    // The header is parsed inline either way, so the strict parser is as tight as it was.
    template <class ParseHeader>
    [[gnu::always_inline]] void recoverHeader(TokenKind closer, ParseHeader parseHeader) {
        if (tolerance_ == nullptr) {
            parseHeader();
            return;
        }
        size_t start = index_;
        try {
            parseHeader();
        } catch (VelmorError& error) {
            record(std::move(error), start);
            while (!check(TokenKind::Newline) && !check(TokenKind::Eof)) {
                if (advance().kind == closer) break;
            }
        }
    }

    // Parses one statement and what must follow it; on an error records it,
    // skips to the end of the statement and gives nothing.
    [[gnu::noinline]] StmtPtr parseStatementTolerantly() {
        size_t start = index_;
        StmtPtr statement;
        try {
            statement = parseStatement();
            // A statement that recovered inside may stop where the next line begins.
            if (endsStatement(peek().kind) || atLineStartOfStatement()) return statement;
            failExpected("end of statement");
        } catch (VelmorError& error) {
            record(std::move(error), start);
        }
        synchronize(start);
        return statement;
    }

    // Skips to where the statement that began at token `start` ends: an end
    // of line or a block terminator outside the lists, maps and blocks it
    // opened (parentheses never span lines). A line that starts with a
    // statement keyword cannot continue a list or map, so it ends the skip too.
    void synchronize(size_t start) {
        int brackets = 0;
        int blocks = 0;
        auto count = [&](size_t at) {
            switch (tokens_[at].kind) {
            case TokenKind::LeftBracket:
            case TokenKind::LeftBrace: ++brackets; break;
            case TokenKind::RightBracket:
            case TokenKind::RightBrace: --brackets; break;
            case TokenKind::If:
            case TokenKind::While:
            case TokenKind::For:
            case TokenKind::Try: ++blocks; break;
            case TokenKind::Function:
                if (at + 1 < tokens_.size() &&
                    (tokens_[at + 1].kind == TokenKind::Name || tokens_[at + 1].kind == TokenKind::LeftParen)) {
                    ++blocks;
                }
                break;
            case TokenKind::End: --blocks; break;
            default: break;
            }
        };
        for (size_t at = start; at < index_; ++at) count(at);
        for (;;) {
            TokenKind kind = peek().kind;
            if (kind == TokenKind::Eof) return;
            if (blocks <= 0) {
                if (endsBlock(kind)) return;
                if (kind == TokenKind::Newline && brackets <= 0) return;
                if (index_ > start && atLineStartOfStatement()) return;
            }
            count(index_);
            advance();
        }
    }

    // Whether the current token starts a line and can only start a statement.
    bool atLineStartOfStatement() const {
        if (index_ == 0 || tokens_[index_ - 1].kind != TokenKind::Newline) return false;
        switch (peek().kind) {
        case TokenKind::Let:
        case TokenKind::Return:
        case TokenKind::If:
        case TokenKind::While:
        case TokenKind::For:
        case TokenKind::Try:
        case TokenKind::Break:
        case TokenKind::Continue: return true;
        case TokenKind::Function: return peekNext().kind == TokenKind::Name;
        default: return false;
        }
    }

    // Stray tokens after the top-level block (an "end" too many, a lone
    // "else"): each is reported and skipped, and parsing goes on.
    void parseRestTolerantly(StmtList& program) {
        while (!check(TokenKind::Eof)) {
            record(ParseError("unexpected " + describe(peek()), peek().line, peek().column), index_);
            advance();
            StmtList more = parseBlock();
            for (StmtPtr& statement : more) program.push_back(std::move(statement));
        }
    }

    // The expression of one "${...}", lexed tolerantly. Its lexical errors
    // are recorded in place; code that has any is not parsed.
    ExprPtr parseCodeTolerantly(const StringPart& part) {
        LexErrorList lexical;
        std::vector<Token> tokens = tokenizeCodeTolerant(part.text, part.line, part.column, part.offset, lexical);
        if (!lexical.errors.empty()) {
            for (LexError& error : lexical.errors) tolerance_->errors->push_back(std::move(error));
            return placeholder(part.line, part.column);
        }
        Parser inner(std::move(tokens), depth_);
        ExprPtr code = inner.parseInterpolationCode();
        if (TolerantParse* parse = tolerance_->parse) {
            parse->codeSpans.push_back(TolerantParse::CodeSpan{part.offset, static_cast<uint32_t>(part.text.size())});
            for (Token& token : inner.tokens()) {
                if (token.kind != TokenKind::Newline && token.kind != TokenKind::Eof)
                    parse->codeTokens.push_back(std::move(token));
            }
        }
        return code;
    }

    // block -> (NEWLINE* statement (NEWLINE | <before a block terminator>))* NEWLINE*
    StmtList parseBlock() {
        StmtList block;
        for (;;) {
            skipNewlines();
            if (endsBlock(peek().kind)) return block;
            if (tolerance_ != nullptr) {
                if (StmtPtr statement = parseStatementTolerantly()) block.push_back(std::move(statement));
                continue;
            }
            block.push_back(parseStatement());
            if (!endsStatement(peek().kind)) failExpected("end of statement");
        }
    }

    // statement -> letStmt | functionDecl | returnStmt | ifStmt | whileStmt | forStmt
    //            | "break" | "continue" | tryStmt | expressionStmt
    StmtPtr parseStatement() {
        const Token& first = peek();
        int32_t line = first.line;
        int32_t column = first.column;
        switch (first.kind) {
        case TokenKind::Let: return parseLet();
        case TokenKind::Function:
            if (peekNext().kind == TokenKind::Name) return parseFunctionDecl();
            return parseExpressionStatement();
        case TokenKind::Return: return parseReturn();
        case TokenKind::If: return parseIf();
        case TokenKind::While: return parseWhile();
        case TokenKind::For: return parseFor();
        case TokenKind::Break: advance(); return std::make_unique<BreakStmt>(line, column);
        case TokenKind::Continue: advance(); return std::make_unique<ContinueStmt>(line, column);
        case TokenKind::Try: return parseTry();
        default: return parseExpressionStatement();
        }
    }

    // letStmt -> "let" NAME "=" expression
    [[gnu::noinline]] StmtPtr parseLet() {
        const Token& let = advance();
        int32_t line = let.line;
        int32_t column = let.column;
        size_t start = index_ - 1;
        Token& nameToken = expect(TokenKind::Name, "a variable name after 'let'");
        uint32_t nameOffset = nameToken.offset;
        std::string name = std::move(nameToken.text);
        expect(TokenKind::Assign, "'=' in let declaration");
        ExprPtr init;
        if (tolerance_ == nullptr) {
            init = parseExpression(0);
        } else {
            // The variable stays declared when its initializer is broken.
            try {
                init = parseExpression(0);
            } catch (VelmorError& error) {
                record(std::move(error), start);
                synchronize(start);
                init = placeholder(line, column);
            }
        }
        auto statement = std::make_unique<LetStmt>(std::move(name), std::move(init), line, column);
        statement->nameOffset = nameOffset;
        return statement;
    }

    // functionDecl -> "function" NAME parameters block "end"
    [[gnu::noinline]] StmtPtr parseFunctionDecl() {
        NestingGuard guard(*this);
        const Token& function = advance();
        int32_t line = function.line;
        int32_t column = function.column;
        Token& nameToken = advance();
        uint32_t nameOffset = nameToken.offset;
        std::string name = std::move(nameToken.text);
        std::vector<uint32_t> paramOffsets;
        std::vector<std::string> params = parseParameters(paramOffsets);
        StmtList body = parseBlock();
        uint32_t endOffset = expectEnd("'end' to close function");
        auto declaration =
            std::make_unique<FunctionDeclStmt>(std::move(name), std::move(params), std::move(body), line, column);
        declaration->nameOffset = nameOffset;
        declaration->paramOffsets = std::move(paramOffsets);
        declaration->endOffset = endOffset;
        return declaration;
    }

    // parameters -> "(" (NAME ("," NAME)*)? ")"
    std::vector<std::string> parseParameters(std::vector<uint32_t>& offsets) {
        std::vector<std::string> params;
        recoverHeader(
            TokenKind::RightParen, [&]() __attribute__((always_inline)) {
                expect(TokenKind::LeftParen, "'(' before parameters");
                if (match(TokenKind::RightParen)) return;
                do {
                    Token& param = expect(TokenKind::Name, "a parameter name");
                    // Only editor tooling needs them, and it always parses tolerantly.
                    if (tolerance_ != nullptr) offsets.push_back(param.offset);
                    params.push_back(std::move(param.text));
                } while (match(TokenKind::Comma));
                expect(TokenKind::RightParen, "')' after parameters");
            });
        return params;
    }

    // returnStmt -> "return" expression?   (no expression before the end of a statement)
    [[gnu::noinline]] StmtPtr parseReturn() {
        const Token& keyword = advance();
        int32_t line = keyword.line;
        int32_t column = keyword.column;
        ExprPtr value;
        if (!endsStatement(peek().kind)) value = parseExpression(0);
        return std::make_unique<ReturnStmt>(std::move(value), line, column);
    }

    // ifStmt -> "if" expression "then" block ("elif" expression "then" block)* ("else" block)? "end"
    [[gnu::noinline]] StmtPtr parseIf() {
        NestingGuard guard(*this);
        const Token& keyword = advance();
        int32_t line = keyword.line;
        int32_t column = keyword.column;
        std::vector<IfBranch> branches;
        const char* thenText = "'then' after if condition";
        do {
            ExprPtr cond;
            recoverHeader(
                TokenKind::Then, [&]() __attribute__((always_inline)) {
                    cond = parseExpression(0);
                    expect(TokenKind::Then, thenText);
                });
            if (!cond) cond = placeholder(line, column);
            branches.push_back(IfBranch{std::move(cond), parseBlock()});
            branches.back().endOffset = peek().offset;
            thenText = "'then' after elif condition";
        } while (match(TokenKind::Elif));
        if (match(TokenKind::Else)) {
            branches.push_back(IfBranch{nullptr, parseBlock()});
            branches.back().endOffset = peek().offset;
        }
        expectEnd("'end' to close if");
        return std::make_unique<IfStmt>(std::move(branches), line, column);
    }

    // whileStmt -> "while" expression "do" block "end"
    [[gnu::noinline]] StmtPtr parseWhile() {
        NestingGuard guard(*this);
        const Token& keyword = advance();
        int32_t line = keyword.line;
        int32_t column = keyword.column;
        ExprPtr cond;
        recoverHeader(
            TokenKind::Do, [&]() __attribute__((always_inline)) {
                cond = parseExpression(0);
                expect(TokenKind::Do, "'do' after while condition");
            });
        if (!cond) cond = placeholder(line, column);
        StmtList body = parseBlock();
        uint32_t endOffset = expectEnd("'end' to close while");
        auto loop = std::make_unique<WhileStmt>(std::move(cond), std::move(body), line, column);
        loop->endOffset = endOffset;
        return loop;
    }

    // forStmt -> "for" NAME "=" expression "," expression ("," expression)? "do" block "end"
    //          | "for" NAME "in" expression "do" block "end"
    [[gnu::noinline]] StmtPtr parseFor() {
        NestingGuard guard(*this);
        const Token& keyword = advance();
        int32_t line = keyword.line;
        int32_t column = keyword.column;
        std::string var;
        uint32_t varOffset = kNoOffset;
        bool numeric = false;
        ExprPtr start, end, step, iterable;
        recoverHeader(
            TokenKind::Do, [&]() __attribute__((always_inline)) {
                Token& name = expect(TokenKind::Name, "a loop variable after 'for'");
                varOffset = name.offset;
                var = std::move(name.text);
                if (match(TokenKind::Assign)) {
                    numeric = true;
                    start = parseExpression(0);
                    expect(TokenKind::Comma, "',' after the numeric-for start value");
                    end = parseExpression(0);
                    if (match(TokenKind::Comma)) step = parseExpression(0);
                    expect(TokenKind::Do, "'do' after numeric-for header");
                } else if (match(TokenKind::In)) {
                    iterable = parseExpression(0);
                    expect(TokenKind::Do, "'do' after for-in header");
                } else {
                    fail("expected '=' or 'in' in for loop");
                }
            });
        StmtList body = parseBlock();
        uint32_t endOffset = expectEnd("'end' to close for");
        if (numeric && start && end) {
            auto loop = std::make_unique<NumericForStmt>(std::move(var), std::move(start), std::move(end),
                                                         std::move(step), std::move(body), line, column);
            loop->varOffset = varOffset;
            loop->endOffset = endOffset;
            return loop;
        }
        // Only a tolerant parse gets here with a broken header.
        if (!iterable) iterable = placeholder(line, column);
        auto loop = std::make_unique<ForInStmt>(std::move(var), std::move(iterable), std::move(body), line, column);
        loop->varOffset = varOffset;
        loop->endOffset = endOffset;
        return loop;
    }

    // tryStmt -> "try" block "catch" NAME block "end"
    [[gnu::noinline]] StmtPtr parseTry() {
        NestingGuard guard(*this);
        const Token& keyword = advance();
        int32_t line = keyword.line;
        int32_t column = keyword.column;
        StmtList body = parseBlock();
        uint32_t catchOffset = peek().offset;
        std::string catchVar;
        uint32_t catchVarOffset = kNoOffset;
        StmtList handler;
        if (tolerance_ != nullptr && !check(TokenKind::Catch)) {
            // A try without its catch part: the body alone is kept.
            record(ParseError("expected 'catch' after try body, got " + describe(peek()), peek().line, peek().column),
                   index_);
        } else {
            recoverHeader(
                TokenKind::Newline, [&]() __attribute__((always_inline)) {
                    expect(TokenKind::Catch, "'catch' after try body");
                    Token& name = expect(TokenKind::Name, "a variable name after 'catch'");
                    catchVarOffset = name.offset;
                    catchVar = std::move(name.text);
                });
            handler = parseBlock();
        }
        uint32_t endOffset = expectEnd("'end' to close try");
        auto attempt =
            std::make_unique<TryStmt>(std::move(body), std::move(catchVar), std::move(handler), line, column);
        attempt->catchOffset = catchOffset;
        attempt->catchVarOffset = catchVarOffset;
        attempt->endOffset = endOffset;
        return attempt;
    }

    // expressionStmt -> expression (("=" | "+=" | "-=" | "*=" | "/=" | "//=" | "%=" | "^=") expression)?
    StmtPtr parseExpressionStatement() {
        ExprPtr expression = parseExpression(0);
        const TokenOperator& assignment = tokenOperator(peek().kind);
        if (!assignment.assignment) {
            int32_t line = expression->line;
            int32_t column = expression->column;
            return std::make_unique<ExprStmt>(std::move(expression), line, column);
        }
        ExprKind targetKind = expression->kind;
        if (targetKind != ExprKind::Name && targetKind != ExprKind::Index && targetKind != ExprKind::Get) {
            fail("invalid assignment target");
        }
        const Token& assign = advance();
        int32_t line = assign.line;
        int32_t column = assign.column;
        ExprPtr value = parseExpression(0);
        std::string op = assignment.compound ? std::string(operatorSpelling(*assignment.compound)) : std::string();
        return std::make_unique<AssignStmt>(std::move(expression), std::move(value), std::move(op), line, column);
    }

    // expression -> unary (binaryOperator unary)*   by precedence climbing from `minimum`
    // A left-associative operator's right operand holds only operators that
    // bind tighter, so the recursion is as deep as the precedence levels, not
    // as long as the chain.
    ExprPtr parseExpression(int minimum) {
        ExprPtr left = parseUnary();
        for (;;) {
            const std::optional<BinaryOp> op = tokenOperator(peek().kind).binary;
            if (!op) return left;
            const BinaryOperatorInfo& info = operatorInfo(*op);
            if (info.precedence < minimum) return left;
            if (info.associativity == Associativity::Right) {
                left = parseRightChain(std::move(left), *op);
                continue;
            }
            const Token& token = advance();
            int32_t line = token.line;
            int32_t column = token.column;
            ExprPtr right = parseExpression(info.precedence + 1);
            left = std::make_unique<BinaryExpr>(std::string(info.spelling), std::move(left), std::move(right), line,
                                                column);
        }
    }

    // rightChain -> operand (op operand)+   grouped from the right: a ^ (b ^ c)
    // The operands, which hold only operators that bind tighter, are
    // collected by a loop and joined from the right, so a long chain takes
    // no recursion.
    [[gnu::noinline]] ExprPtr parseRightChain(ExprPtr first, BinaryOp op) {
        struct Link {
            ExprPtr operand;
            int32_t line;
            int32_t column;
        };
        const BinaryOperatorInfo& info = operatorInfo(op);
        std::vector<Link> links;
        links.push_back(Link{std::move(first), 0, 0});
        while (tokenOperator(peek().kind).binary == op) {
            const Token& token = advance();
            int32_t line = token.line;
            int32_t column = token.column;
            links.push_back(Link{parseExpression(info.precedence + 1), line, column});
        }
        // links[i] joins operand i - 1 to everything after it, at its operator.
        ExprPtr right = std::move(links.back().operand);
        for (size_t i = links.size() - 1; i > 0; --i) {
            right = std::make_unique<BinaryExpr>(std::string(info.spelling), std::move(links[i - 1].operand),
                                                 std::move(right), links[i].line, links[i].column);
        }
        return right;
    }

    // unary -> ("-" | "not") unary | postfix
    ExprPtr parseUnary() {
        if (check(TokenKind::Minus) || check(TokenKind::Not)) {
            NestingGuard guard(*this);
            const Token& op = advance();
            int32_t line = op.line;
            int32_t column = op.column;
            std::string spelling = op.kind == TokenKind::Minus ? "-" : "not";
            ExprPtr operand = parseUnary();
            return std::make_unique<UnaryExpr>(std::move(spelling), std::move(operand), line, column);
        }
        return parsePostfix(parsePrimary());
    }

    // postfix -> primary ("(" arguments ")" | "[" expression "]" | "." NAME)*
    [[gnu::noinline]] ExprPtr parsePostfix(ExprPtr expression) {
        for (;;) {
            const Token& token = peek();
            int32_t line = token.line;
            int32_t column = token.column;
            if (check(TokenKind::LeftParen)) {
                NestingGuard guard(*this);
                advance();
                std::vector<ExprPtr> args = parseArguments();
                expression = std::make_unique<CallExpr>(std::move(expression), std::move(args), line, column);
            } else if (check(TokenKind::LeftBracket)) {
                NestingGuard guard(*this);
                advance();
                ExprPtr index = parseExpression(0);
                expect(TokenKind::RightBracket, "']' after index");
                expression = std::make_unique<IndexExpr>(std::move(expression), std::move(index), line, column);
            } else if (match(TokenKind::Dot)) {
                std::string name = std::move(expect(TokenKind::Name, "a field name after '.'").text);
                expression = std::make_unique<GetExpr>(std::move(expression), std::move(name), line, column);
            } else {
                return expression;
            }
        }
    }

    // arguments -> (expression ("," expression)*)?
    std::vector<ExprPtr> parseArguments() {
        std::vector<ExprPtr> args;
        if (!match(TokenKind::RightParen)) {
            do {
                args.push_back(parseExpression(0));
            } while (match(TokenKind::Comma));
            expect(TokenKind::RightParen, "')' after arguments");
        }
        return args;
    }

    // primary -> NUMBER | STRING | INTERP_STRING | NAME | "(" expression ")" | list | map
    //          | "function" parameters block "end" | "true" | "false" | "nil"
    ExprPtr parsePrimary() {
        Token& token = tokens_[index_];
        int32_t line = token.line;
        int32_t column = token.column;
        switch (token.kind) {
        case TokenKind::Number: advance(); return std::make_unique<LiteralExpr>(numberValue(token), line, column);
        case TokenKind::String:
            advance();
            return std::make_unique<LiteralExpr>(Value(std::move(token.text)), line, column);
        case TokenKind::InterpString: {
            NestingGuard guard(*this);
            advance();
            return parseInterpolation(token);
        }
        case TokenKind::Name: advance(); return std::make_unique<NameExpr>(std::move(token.text), line, column);
        case TokenKind::LeftParen: {
            NestingGuard guard(*this);
            advance();
            ExprPtr inner = parseExpression(0);
            expect(TokenKind::RightParen, "')' to close grouping");
            return inner;
        }
        case TokenKind::LeftBracket: return parseList();
        case TokenKind::LeftBrace: return parseMap();
        case TokenKind::Function: return parseFunctionLiteral();
        case TokenKind::True: advance(); return std::make_unique<LiteralExpr>(Value(true), line, column);
        case TokenKind::False: advance(); return std::make_unique<LiteralExpr>(Value(false), line, column);
        case TokenKind::Nil: advance(); return std::make_unique<LiteralExpr>(Value(), line, column);
        default: failUnexpected(" in expression");
        }
    }

    // functionLiteral -> "function" parameters block "end"
    [[gnu::noinline]] ExprPtr parseFunctionLiteral() {
        NestingGuard guard(*this);
        const Token& keyword = advance();
        int32_t line = keyword.line;
        int32_t column = keyword.column;
        std::vector<uint32_t> paramOffsets;
        std::vector<std::string> params = parseParameters(paramOffsets);
        StmtList body = parseBlock();
        uint32_t endOffset = expectEnd("'end' to close function");
        auto function = std::make_unique<FunctionExpr>("<anonymous>", std::move(params), std::move(body), line, column);
        function->paramOffsets = std::move(paramOffsets);
        function->endOffset = endOffset;
        return function;
    }

    // An integer literal too large for a signed 64-bit integer stays a float,
    // so that converting it is always defined.
    static Value numberValue(const Token& token) {
        if (token.isInteger && token.number < kIntegerLiteralLimit) {
            return Value(static_cast<int64_t>(token.number));
        }
        return Value(token.number);
    }

    // The shared shape of list and map literals: after the opening bracket,
    // items separated by commas, newlines allowed after the bracket, after
    // each comma and before the closing bracket, and a trailing comma.
    template <class Item, class ParseItem>
    std::vector<Item> parseBracketed(TokenKind close, const char* closeText, ParseItem parseItem) {
        std::vector<Item> items;
        skipNewlines();
        if (!check(close)) {
            for (;;) {
                items.push_back(parseItem());
                if (!match(TokenKind::Comma)) break;
                skipNewlines();
                if (check(close)) break;
            }
        }
        skipNewlines();
        expect(close, closeText);
        return items;
    }

    // list -> "[" NEWLINE* (expression ("," NEWLINE* expression)* ","?)? NEWLINE* "]"
    [[gnu::noinline]] ExprPtr parseList() {
        NestingGuard guard(*this);
        const Token& open = advance();
        const int32_t line = open.line;
        const int32_t column = open.column;
        auto elements = parseBracketed<ExprPtr>(TokenKind::RightBracket, "']' to close list",
                                                [this] { return parseExpression(0); });
        return std::make_unique<ListLitExpr>(std::move(elements), line, column);
    }

    // map -> "{" NEWLINE* (entry ("," NEWLINE* entry)* ","?)? NEWLINE* "}"
    [[gnu::noinline]] ExprPtr parseMap() {
        NestingGuard guard(*this);
        const Token& open = advance();
        const int32_t line = open.line;
        const int32_t column = open.column;
        auto entries =
            parseBracketed<MapEntryExpr>(TokenKind::RightBrace, "'}' to close map", [this] { return parseMapEntry(); });
        return std::make_unique<MapLitExpr>(std::move(entries), line, column);
    }

    // entry -> (NAME | "[" expression "]" | primary) ":" expression
    [[gnu::noinline]] MapEntryExpr parseMapEntry() {
        MapEntryExpr entry;
        Token& token = tokens_[index_];
        if (token.kind == TokenKind::Name) {
            advance();
            entry.key = std::make_unique<LiteralExpr>(Value(std::move(token.text)), token.line, token.column);
        } else if (check(TokenKind::LeftBracket)) {
            NestingGuard guard(*this);
            advance();
            entry.key = parseExpression(0);
            expect(TokenKind::RightBracket, "']' after computed map key");
        } else {
            entry.key = parsePrimary();
        }
        expect(TokenKind::Colon, "':' between map key and value");
        entry.value = parseExpression(0);
        return entry;
    }

    // "a${x}b" becomes ("a" + str(x)) + "b"; the nodes added here stand at the string.
    // The code of every part nests one level below the string.
    [[gnu::noinline]] ExprPtr parseInterpolation(Token& token) {
        int32_t line = token.line;
        int32_t column = token.column;
        ExprPtr result;
        for (StringPart& part : token.parts) {
            ExprPtr piece;
            if (part.isCode) {
                // The code's tokens carry their positions in the file, so its
                // errors and nodes point at the right line and column.
                std::vector<ExprPtr> args;
                if (tolerance_ == nullptr) {
                    Parser inner(tokenizeCode(part.text, part.line, part.column, part.offset), depth_);
                    args.push_back(inner.parseInterpolationCode());
                } else {
                    args.push_back(parseCodeTolerantly(part));
                }
                piece = std::make_unique<CallExpr>(std::make_unique<NameExpr>("str", line, column), std::move(args),
                                                   line, column);
            } else {
                piece = std::make_unique<LiteralExpr>(Value(std::move(part.text)), line, column);
            }
            if (!result) {
                result = std::move(piece);
            } else {
                result = std::make_unique<BinaryExpr>("+", std::move(result), std::move(piece), line, column);
            }
        }
        return result;
    }

    std::vector<Token> tokens_;
    size_t index_ = 0;
    int depth_ = 0;
    Tolerance* tolerance_ = nullptr;
    std::uintptr_t stackFloor_;
};

}  // namespace

StmtList parseProgram(std::vector<Token> tokens) { return Parser(std::move(tokens), 0).parseProgram(); }

StmtList parseSource(std::string_view source) { return parseProgram(tokenize(source)); }

TolerantParse parseTolerant(std::string_view source) {
    TolerantParse result;
    LexErrorList lexical;
    std::vector<Token> tokens = tokenizeTolerant(source, lexical, &result.comments);
    // Lexing finishes before parsing starts, so lexical errors come first, as in a strict run.
    for (LexError& error : lexical.errors) result.errors.push_back(std::move(error));
    Tolerance tolerance{&result.errors, std::move(lexical.tokenIndices), &result};
    Parser parser(std::move(tokens), 0, &tolerance);
    result.program = parser.parseProgram();
    result.tokens = std::move(parser.tokens());
    return result;
}

}  // namespace velmor
