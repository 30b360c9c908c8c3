// The interactive prompt: collects lines until they parse, runs each fragment
// on one long-lived tree-walker and echoes the value of a final expression.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "driver.h"
#include "driver/repl.h"
#include "driver/reporting.h"
#include "error.h"
#include "interpreter.h"
#include "lexer/lexer.h"
#include "parser.h"

namespace velmor {

namespace {

constexpr const char* kReplSourceName = "<repl>";
constexpr const char* kPrimaryPrompt = ">> ";
constexpr const char* kContinuationPrompt = ".. ";
// A file's byte order mark: the lexer drops it at the start of the text only.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

int openerBalance(const std::vector<Token>& tokens) {
    int balance = 0;
    for (const Token& token : tokens) {
        switch (token.kind) {
        case TokenKind::LeftParen:
        case TokenKind::LeftBracket:
        case TokenKind::LeftBrace:
        case TokenKind::Function:
        case TokenKind::If:
        case TokenKind::While:
        case TokenKind::For:
        case TokenKind::Try: ++balance; break;
        case TokenKind::RightParen:
        case TokenKind::RightBracket:
        case TokenKind::RightBrace:
        case TokenKind::End: --balance; break;
        default: break;
        }
    }
    return balance;
}

bool isIncomplete(std::string_view buffer) {
    std::vector<Token> tokens;
    try {
        tokens = tokenize(buffer);
    } catch (const VelmorError&) {
        return false; // a lexical error is reported at once, never continued
    }
    return openerBalance(tokens) > 0;
}

FragmentBuffer::State FragmentBuffer::addLine(std::string_view line) {
    const bool firstLine = text_.empty();
    if (!firstLine) text_ += '\n';
    text_ += line;
    if (linesTokenized_ && !(!firstLine && line.starts_with(kByteOrderMark))) {
        try {
            balance_ += openerBalance(tokenize(line));
        } catch (const VelmorError&) {
            linesTokenized_ = false; // the whole text fails to tokenize: parseWhole reports it
        }
    } else {
        linesTokenized_ = false;
    }
    if (linesTokenized_ && balance_ > 0) return State::Open;
    return parseWhole();
}

FragmentBuffer::State FragmentBuffer::parseWhole() {
    try {
        statements_ = parseSource(text_);
    } catch (const VelmorError& error) {
        if (isIncomplete(text_)) return State::Open;
        report_ = formatReport(error, text_, sourceName_);
        clear();
        return State::Failed;
    }
    clear();
    return State::Complete;
}

void FragmentBuffer::clear() {
    text_.clear();
    balance_ = 0;
    linesTokenized_ = true;
}

int startRepl() {
    // Tree-walker functions point into the tree that defined them, so every
    // parsed input lives as long as the interpreter; declared first, the trees
    // are destroyed last.
    std::vector<StmtList> keptInputs;
    Interpreter interpreter;
    std::cout << "Velmor " << kVersion << "  --  type Ctrl-D (or 'exit') to quit\n";

    FragmentBuffer fragment(kReplSourceName);
    std::string line;
    for (;;) {
        std::cout << (fragment.empty() ? kPrimaryPrompt : kContinuationPrompt) << std::flush;
        if (!std::getline(std::cin, line)) {
            std::cout << "\n" << std::flush;
            return 0;
        }
        // Input piped from a Windows file keeps its CR; the language treats it as blank space anyway.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (fragment.empty() && (line == "exit" || line == "quit")) return 0;

        FragmentBuffer::State state;
        try {
            state = fragment.addLine(line);
        } catch (const std::exception& failure) {
            reportSystemFailure(failure);
            fragment.clear();
            continue;
        }
        if (state == FragmentBuffer::State::Open) continue;
        if (state == FragmentBuffer::State::Failed) {
            std::cout.flush();
            std::cerr << fragment.report() << "\n";
            continue;
        }
        keptInputs.push_back(fragment.takeStatements());

        try {
            Value result = interpreter.runRepl(keptInputs.back());
            if (!result.isNil()) std::cout << toRepr(result) << "\n";
        } catch (const VelmorError& error) {
            reportError(error, "", kReplSourceName);
        } catch (const ThrownValue& thrown) {
            reportThrownValue(thrown);
        } catch (const std::exception& failure) {
            reportSystemFailure(failure);
        } catch (...) {
            reportUnknownFailure();
        }
    }
}

}  // namespace velmor
