#pragma once

#include <string_view>
#include <vector>

#include "token.h"

namespace velmor {

// Lexes a whole source text, ending with an end-of-input token. Throws a
// LexError at the first error.
std::vector<Token> tokenize(std::string_view source);

// Lexes the code of one "${...}" whose first byte stands at (line, column) of
// its file: every token and error carries its position in the file.
std::vector<Token> tokenizeCode(std::string_view code, int32_t line, int32_t column);

}  // namespace velmor
