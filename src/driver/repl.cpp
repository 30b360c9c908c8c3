// The interactive prompt: collects lines until they parse, runs each fragment
// on one long-lived tree-walker and echoes the value of a final expression.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "driver.h"
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

}  // namespace

bool isIncomplete(std::string_view buffer) {
    std::vector<Token> tokens;
    try {
        tokens = tokenize(buffer);
    } catch (const VelmorError&) {
        return false;  // a lexical error is reported at once, never continued
    }
    int depth = 0;
    for (const Token& token : tokens) {
        switch (token.kind) {
        case TokenKind::LeftParen:
        case TokenKind::LeftBracket:
        case TokenKind::LeftBrace:
        case TokenKind::Function:
        case TokenKind::If:
        case TokenKind::While:
        case TokenKind::For:
        case TokenKind::Try:
            ++depth;
            break;
        case TokenKind::RightParen:
        case TokenKind::RightBracket:
        case TokenKind::RightBrace:
        case TokenKind::End:
            --depth;
            break;
        default:
            break;
        }
    }
    return depth > 0;
}

int startRepl() {
    // Tree-walker functions point into the tree that defined them, so every
    // parsed input lives as long as the interpreter; declared first, the trees
    // are destroyed last.
    std::vector<StmtList> keptInputs;
    Interpreter interpreter;
    std::cout << "Velmor " << kVersion << "  --  type Ctrl-D (or 'exit') to quit\n";

    std::string buffer;
    const char* prompt = kPrimaryPrompt;
    std::string line;
    for (;;) {
        std::cout << prompt << std::flush;
        if (!std::getline(std::cin, line)) {
            std::cout << "\n" << std::flush;
            return 0;
        }
        // Input piped from a Windows file keeps its CR; the language treats it as blank space anyway.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (buffer.empty() && (line == "exit" || line == "quit")) return 0;
        if (buffer.empty()) {
            buffer = line;
        } else {
            buffer += '\n';
            buffer += line;
        }

        StmtList statements;
        try {
            statements = parseSource(buffer);
        } catch (const VelmorError& error) {
            if (isIncomplete(buffer)) {
                prompt = kContinuationPrompt;
                continue;
            }
            reportError(error, buffer, kReplSourceName);
            buffer.clear();
            prompt = kPrimaryPrompt;
            continue;
        } catch (const std::exception& failure) {
            reportSystemFailure(failure);
            buffer.clear();
            prompt = kPrimaryPrompt;
            continue;
        }
        buffer.clear();
        prompt = kPrimaryPrompt;
        keptInputs.push_back(std::move(statements));

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
