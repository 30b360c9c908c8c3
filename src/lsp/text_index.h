#pragma once

// Positions in a document, three ways: byte offsets (what the front end
// records), Velmor's own line and column (lines end at line feeds only,
// columns count bytes from 1, after a byte-order mark), and the editor's
// (lines end at "\n", "\r\n" or a lone "\r", 0-based, characters counted in
// UTF-16 code units). Invalid UTF-8 counts one unit per byte, as the
// replacement character it decodes to.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmor::lsp {

struct Position {
    int64_t line = 0;
    int64_t character = 0;
    bool operator==(const Position&) const = default;
};

class TextIndex {
public:
    // The text must outlive the index.
    explicit TextIndex(std::string_view text);

    // The editor position of a byte offset; offsets past the end clamp to it,
    // and an offset inside a multi-byte character stands for that character.
    Position toPosition(size_t offset) const;

    // The byte offset of an editor position. A line past the last gives the
    // end of the text; a character past the line's end gives the line's end
    // (before its line break); one inside a surrogate pair gives the
    // character's first byte.
    size_t toOffset(Position position) const;

    // The byte offset of a Velmor line and column, clamped to the text.
    size_t offsetOfSource(int32_t line, int32_t column) const;

    // The Velmor line that holds a byte offset (offsets past the end: the last line).
    int32_t sourceLineOf(size_t offset) const;

    std::string_view text() const { return text_; }

private:
    std::string_view text_;
    std::vector<size_t> lineStarts_;        // editor lines
    std::vector<size_t> sourceLineStarts_;  // Velmor lines
};

// Bytes of the UTF-8 sequence starting at `at`, or 1 for a byte that does not
// start a valid sequence; `units` receives its length in UTF-16 code units.
size_t utf8SequenceLength(std::string_view text, size_t at, int& units);

}  // namespace velmor::lsp
