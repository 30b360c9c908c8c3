#pragma once

#include <string_view>
#include <vector>

#include "ast.h"
#include "lexer/token.h"

namespace velmor {

// Parses a whole program. Throws a ParseError (or, from interpolation code,
// a LexError) at the first error.
StmtList parseProgram(std::vector<Token> tokens);

// tokenize + parseProgram.
StmtList parseSource(std::string_view source);

}  // namespace velmor
