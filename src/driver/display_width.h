#pragma once

// How many columns text takes at a terminal, for the line editor's drawing.
//
// A code point's width is utf8proc's (utf8proc_charwidth), carried as a
// generated table of ranges (display_width_table.inc), so the program needs
// no library for it. What those widths mean at a terminal:
// - East Asian Wide and Fullwidth characters take 2 columns, and so do the
//   emoji presented as emoji by default (Unicode lists them as Wide).
// - Combining marks, variation selectors, the zero-width joiner and other
//   format characters take none: they join the character before them.
//   Control characters take none either (the editor never draws one).
// - East Asian Ambiguous characters take 1 column, as on a terminal not set
//   up for a CJK locale.
// - Emoji sequences are not joined: an emoji of text presentation followed
//   by U+FE0F counts 1 column, a skin-tone modifier counts 2 of its own, a
//   pair of regional indicators (a flag) counts 1 each, and each part of a
//   zero-width-joiner sequence counts alone. Terminals disagree among
//   themselves about these; utf8proc's answer is the one taken.
// - A byte that starts no well-formed UTF-8 character (a stray continuation
//   byte, an overlong or surrogate form, a cut sequence) takes 1 column, as
//   the replacement character a terminal shows for it.

#include <cstddef>
#include <string_view>

namespace velmor {

// 0, 1 or 2 columns.
int codePointWidth(char32_t codePoint);

// One character of UTF-8 text, or one byte that starts none.
struct TextCharacter {
    std::size_t length = 1;  // bytes
    int width = 1;           // columns
};

// The character that begins at `at` (< text.size()).
TextCharacter measureCharacter(std::string_view text, std::size_t at);

// Where the character that ends at `at` (> 0) begins.
std::size_t previousCharacterStart(std::string_view text, std::size_t at);

int displayWidth(std::string_view text);

}  // namespace velmor
