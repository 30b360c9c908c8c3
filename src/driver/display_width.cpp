#include "driver/display_width.h"

#include <algorithm>
#include <iterator>

namespace velmor {

namespace {

struct WidthRange {
    char32_t first;
    char32_t last;
    int width;
};

constexpr WidthRange kWidthRanges[] = {
#include "driver/display_width_table.inc"
};

constexpr bool rangesAreOrdered() {
    for (std::size_t i = 1; i < std::size(kWidthRanges); ++i) {
        if (kWidthRanges[i].first <= kWidthRanges[i - 1].last) return false;
    }
    return true;
}
static_assert(rangesAreOrdered(), "the width table's ranges are sorted and apart");

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

int codePointWidth(char32_t codePoint) {
    if (codePoint >= 0x20 && codePoint < 0x7F) return 1;
    // The first range that ends at or after the code point.
    const WidthRange* range = std::lower_bound(std::begin(kWidthRanges), std::end(kWidthRanges), codePoint,
                                               [](const WidthRange& r, char32_t c) { return r.last < c; });
    return range != std::end(kWidthRanges) && range->first <= codePoint ? range->width : 1;
}

TextCharacter measureCharacter(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return TextCharacter{1, codePointWidth(lead)};
    // Well-formed sequences only: the second byte's range excludes overlong
    // forms, surrogates and code points past U+10FFFF.
    std::size_t following = 0;
    char32_t codePoint = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return TextCharacter{};
    }
    if (text.size() - at <= following) return TextCharacter{};
    for (std::size_t i = 1; i <= following; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (byte < low || byte > high) return TextCharacter{};
        low = 0x80;
        high = 0xBF;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return TextCharacter{following + 1, codePointWidth(codePoint)};
}

std::size_t previousCharacterStart(std::string_view text, std::size_t at) {
    // Every byte that is no continuation byte starts a character, so the
    // candidate is the nearest such byte at most three continuations back.
    std::size_t start = at - 1;
    while (start > 0 && at - start < 4 && isContinuation(static_cast<unsigned char>(text[start]))) --start;
    return measureCharacter(text, start).length == at - start ? start : at - 1;
}

int displayWidth(std::string_view text) {
    int width = 0;
    for (std::size_t at = 0; at < text.size();) {
        const TextCharacter character = measureCharacter(text, at);
        width += character.width;
        at += character.length;
    }
    return width;
}

}  // namespace velmor
