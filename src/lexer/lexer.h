#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "error.h"
#include "token.h"

namespace velmor {

// A byte that may stand in a name after its first: an ASCII letter, a digit or "_".
inline bool isNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Lexes a whole source text, ending with an end-of-input token. Throws a
// LexError at the first error.
std::vector<Token> tokenize(std::string_view source);

// The same tokens, and every comment of the text in source order beside them
// (for tools that rewrite the text and must keep its comments).
std::vector<Token> tokenize(std::string_view source, std::vector<Comment>& comments);

// A whole text whose first line counts as line `firstLine` (the prompt gives
// each input lines of its own, so that a position names the input it is in).
std::vector<Token> tokenizeFromLine(std::string_view source, int32_t firstLine);

// Lexes the code of one "${...}" whose first byte stands at (line, column) and
// at byte `offset` of its file: every token and error carries its position in
// the file.
std::vector<Token> tokenizeCode(std::string_view code, int32_t line, int32_t column, uint32_t offset);

// The errors of a tolerant lexing, in source order, each with the number of
// tokens made before it (so a parser can tell which statement it spoiled).
struct LexErrorList {
    std::vector<LexError> errors;
    std::vector<size_t> tokenIndices;
};

// Tolerant forms for editor tooling, which the engines never use: every
// lexical error is appended to `errors` and lexing recovers and goes on, so
// the token list always ends with end of input.
// With `comments`, the comments of the text are kept there too.
std::vector<Token> tokenizeTolerant(std::string_view source, LexErrorList& errors,
                                    std::vector<Comment>* comments = nullptr);
std::vector<Token> tokenizeCodeTolerant(std::string_view code, int32_t line, int32_t column, uint32_t offset,
                                        LexErrorList& errors);

}  // namespace velmor
