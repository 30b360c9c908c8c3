#pragma once

// The canonical layout of Velmor source, for `velmor --format` and the
// language server's formatting requests.
//
// The layout is decided per line, from the tokens (with the comments the
// lexer keeps beside them): every line break of the source stays where it
// is, runs of blank lines shrink to one, and each line is re-indented and
// re-spaced.
// - A line's indentation is one level (two spaces) deeper than the line on
//   which the innermost construct still open at its start was opened: a
//   block (function, if, while, for, try) or a bracket ("(", "[", "{"). A
//   line that starts by closing that construct ("end", ")", "]", "}") or by
//   continuing its block ("elif", "else", "catch") takes the opener line's
//   indentation.
// - One space around binary operators, assignment operators and keywords,
//   one after "," and ":"; none inside brackets, around ".", after a unary
//   "-", or before the "(" of a call or the "[" of an index.
// - A comment keeps its line; a trailing comment keeps the white space
//   before it (at least one space).
// - Literals are copied as written; the pragma header (the leading blank,
//   comment and "#pragma" lines, up to the last pragma) is copied byte for
//   byte.
// Source that does not lex or parse is never formatted.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// One line of formatted output and the source line (1-based) it came from.
struct FormattedLine {
    int32_t sourceLine = 0;
    std::string text;  // without its line feed
};

// The formatted lines of `source`, in order. Source lines left out (blank
// lines beyond the first of a run, and leading and trailing blank lines) have
// no entry. Throws the LexError or ParseError that a strict parse throws.
std::vector<FormattedLine> formatLines(std::string_view source);

// The whole formatted text: the lines of formatLines, each ended by a line
// feed (an empty program gives an empty text). Throws as formatLines does.
std::string formatSource(std::string_view source);

// Replacing the bytes [begin, end) of a text with `text`.
struct TextEdit {
    size_t begin = 0;
    size_t end = 0;
    std::string text;
};

// The edit that formats the source lines `firstLine` to `lastLine` (1-based,
// inclusive, clamped to the text) as formatSource lays them out in the whole
// text, leaving every other line and a byte-order mark as they are. Throws
// as formatLines does.
TextEdit formatLineRange(std::string_view source, int32_t firstLine, int32_t lastLine);

}  // namespace velmor
