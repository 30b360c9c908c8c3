#pragma once

#include <string_view>
#include <vector>

#include "token.h"

namespace velmor {

// Lexes a whole source text, ending with an end-of-input token. Throws a
// LexError at the first error.
std::vector<Token> tokenize(std::string_view source);

}  // namespace velmor
