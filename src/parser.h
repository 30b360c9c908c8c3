#pragma once

#include <string_view>
#include <vector>

#include "ast.h"
#include "error.h"
#include "lexer/token.h"

namespace velmor {

// Parses a whole program. Throws a ParseError (or, from interpolation code,
// a LexError) at the first error.
StmtList parseProgram(std::vector<Token> tokens);

// tokenize + parseProgram.
StmtList parseSource(std::string_view source);

// A tolerant parse, for editor tooling: every lexical and syntax error is
// collected and parsing recovers at statement level (see parser.cpp). The
// first error is always the one a strict parse would throw.
struct TolerantParse {
    // The file's tokens with their offsets. The texts of names and strings
    // have moved into the tree; kinds, positions and offsets are intact.
    std::vector<Token> tokens;
    StmtList program;                 // every statement that parsed
    std::vector<VelmorError> errors;  // lexical errors first, then the rest in parse order
    std::vector<Comment> comments;    // every comment, in source order
    // The code of each "${...}" that was parsed: where it stands in the file,
    // and its tokens (in source order, ends of line and input left out).
    struct CodeSpan {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    std::vector<CodeSpan> codeSpans;
    std::vector<Token> codeTokens;
};
TolerantParse parseTolerant(std::string_view source);

}  // namespace velmor
