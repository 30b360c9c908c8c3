#include <gtest/gtest.h>

#include <string>

#include "lsp/text_index.h"

using velmor::lsp::Position;
using velmor::lsp::TextIndex;

namespace {

// Offsets at character boundaries map to a position and back unchanged.
void expectRoundTrips(const std::string& text) {
    TextIndex index(text);
    for (size_t offset = 0; offset <= text.size(); ++offset) {
        int units = 1;
        if (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) {
            // Inside a character: stands for that character.
            continue;
        }
        Position position = index.toPosition(offset);
        // A "\r\n" pair is one line break: the offset of its "\n" is the end of the line too.
        if (offset > 0 && offset < text.size() && text[offset] == '\n' && text[offset - 1] == '\r') continue;
        EXPECT_EQ(index.toOffset(position), offset) << "offset " << offset << " of " << testing::PrintToString(text);
        (void)units;
    }
}

}  // namespace

TEST(LspPositions, Utf16UnitsBothWays) {
    // "é" is two bytes and one unit; "😀" four bytes and two units (a surrogate pair).
    std::string text = "let é = \"😀x\"\nnext";
    TextIndex index(text);
    size_t x = text.find('x');
    EXPECT_EQ(index.toPosition(x), (Position{0, 11}));
    EXPECT_EQ(index.toOffset(Position{0, 11}), x);
    EXPECT_EQ(index.toPosition(text.find("next")), (Position{1, 0}));
    // Inside the surrogate pair: the character's first byte.
    size_t smiley = text.find("😀");
    EXPECT_EQ(index.toOffset(Position{0, 9}), smiley);
    EXPECT_EQ(index.toOffset(Position{0, 10}), smiley);
    // Inside a multi-byte character's bytes: that character.
    EXPECT_EQ(index.toPosition(smiley + 2), (Position{0, 9}));
    expectRoundTrips(text);
}

TEST(LspPositions, LineBreaksOfEveryKind) {
    // The editor breaks lines at "\n", "\r\n" and a lone "\r"; Velmor only at "\n".
    std::string text = "a\r\nb\rc\nd";
    TextIndex index(text);
    EXPECT_EQ(index.toPosition(text.find('b')), (Position{1, 0}));
    EXPECT_EQ(index.toPosition(text.find('c')), (Position{2, 0}));
    EXPECT_EQ(index.toPosition(text.find('d')), (Position{3, 0}));
    EXPECT_EQ(index.toOffset(Position{2, 0}), text.find('c'));
    // The end of a line stops before its break, whatever the character asked.
    EXPECT_EQ(index.toOffset(Position{0, 99}), 1u);
    EXPECT_EQ(index.toOffset(Position{1, 99}), text.find('\r', 3));
    // Velmor's own lines: "b\rc" is line 2, the CR is a blank byte of it.
    EXPECT_EQ(index.offsetOfSource(2, 3), text.find('c'));
    EXPECT_EQ(index.offsetOfSource(3, 1), text.find('d'));
    expectRoundTrips(text);
}

TEST(LspPositions, PastTheEndClamps) {
    std::string text = "ab\ncd";
    TextIndex index(text);
    EXPECT_EQ(index.toOffset(Position{7, 0}), text.size());
    EXPECT_EQ(index.toOffset(Position{-1, 3}), 0u);
    EXPECT_EQ(index.toPosition(100), (Position{1, 2}));
    EXPECT_EQ(index.offsetOfSource(9, 9), text.size());
    EXPECT_EQ(index.offsetOfSource(0, 0), 0u);
    TextIndex empty("");
    EXPECT_EQ(empty.toPosition(0), (Position{0, 0}));
    EXPECT_EQ(empty.toOffset(Position{3, 3}), 0u);
}

TEST(LspPositions, InvalidUtf8CountsOneUnitPerByte) {
    // A lone continuation byte, a truncated sequence, an overlong form and a surrogate.
    std::string text = "\x80x\xE2\x82y\xC0\xAFz\xED\xA0\x80w";
    TextIndex index(text);
    EXPECT_EQ(index.toPosition(text.find('x')), (Position{0, 1}));
    EXPECT_EQ(index.toPosition(text.find('y')), (Position{0, 4}));
    EXPECT_EQ(index.toPosition(text.find('z')), (Position{0, 7}));
    EXPECT_EQ(index.toPosition(text.find('w')), (Position{0, 11}));
    expectRoundTrips(text);
}

TEST(LspPositions, ByteOrderMarkIsBeforeVelmorsFirstColumn) {
    std::string text = "\xEF\xBB\xBFlet x\r\nlet y";
    TextIndex index(text);
    EXPECT_EQ(index.offsetOfSource(1, 1), 3u);
    EXPECT_EQ(index.offsetOfSource(2, 5), text.find('y'));
    // The mark is one UTF-16 unit of the editor's first line.
    EXPECT_EQ(index.toPosition(3), (Position{0, 1}));
}
