#include "lsp/text_index.h"

#include <algorithm>

namespace velmor::lsp {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t utf8SequenceLength(std::string_view text, size_t at, int& units) {
    units = 1;
    auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // bounds of the second byte, which rule out overlong forms and surrogates
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    if (at + length > text.size()) return 1;
    auto second = static_cast<unsigned char>(text[at + 1]);
    if (second < low || second > high) return 1;
    for (size_t i = 2; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[at + i]))) return 1;
    }
    if (length == 4) units = 2;
    return length;
}

TextIndex::TextIndex(std::string_view text) : text_(text) {
    lineStarts_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            lineStarts_.push_back(i + 1);
        } else if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lineStarts_.push_back(i + 1);
        }
    }
    size_t first = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    sourceLineStarts_.push_back(first);
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] == '\n') sourceLineStarts_.push_back(i + 1);
    }
}

Position TextIndex::toPosition(size_t offset) const {
    offset = std::min(offset, text_.size());
    auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    size_t line = static_cast<size_t>(after - lineStarts_.begin()) - 1;
    size_t at = lineStarts_[line];
    int64_t character = 0;
    while (at < offset) {
        int units = 1;
        size_t length = utf8SequenceLength(text_, at, units);
        if (at + length > offset) break;
        at += length;
        character += units;
    }
    return Position{static_cast<int64_t>(line), character};
}

size_t TextIndex::toOffset(Position position) const {
    if (position.line < 0) return 0;
    if (static_cast<size_t>(position.line) >= lineStarts_.size()) return text_.size();
    size_t at = lineStarts_[static_cast<size_t>(position.line)];
    int64_t character = 0;
    while (at < text_.size() && character < position.character && text_[at] != '\n' && text_[at] != '\r') {
        int units = 1;
        size_t length = utf8SequenceLength(text_, at, units);
        if (character + units > position.character) break;
        at += length;
        character += units;
    }
    return at;
}

size_t TextIndex::offsetOfSource(int32_t line, int32_t column) const {
    if (line < 1) return sourceLineStarts_.front();
    size_t index = std::min(static_cast<size_t>(line - 1), sourceLineStarts_.size() - 1);
    size_t offset = sourceLineStarts_[index] + static_cast<size_t>(std::max(column, 1) - 1);
    return std::min(offset, text_.size());
}

int32_t TextIndex::sourceLineOf(size_t offset) const {
    auto after = std::upper_bound(sourceLineStarts_.begin(), sourceLineStarts_.end(), offset);
    return std::max<int32_t>(1, static_cast<int32_t>(after - sourceLineStarts_.begin()));
}

}  // namespace velmor::lsp
