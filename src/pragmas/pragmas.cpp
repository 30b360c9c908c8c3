#include "pragmas/pragmas.h"

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kPragmaWord = "#pragma";

bool isLineSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
    return text;
}

// The decimal reading of atoi: blanks, an optional sign, digits; 0 without
// digits. Saturates instead of overflowing.
int64_t leadingInteger(std::string_view piece) {
    std::size_t i = 0;
    while (i < piece.size() && isLineSpace(piece[i])) ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
        negative = piece[i] == '-';
        ++i;
    }
    constexpr int64_t kLimit = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
        value = value * 10 + (piece[i] - '0');
        if (value > kLimit) value = kLimit;
    }
    return negative ? -value : value;
}

// Pieces between dots; an empty text has none and a final dot adds none.
std::vector<int64_t> versionPieces(std::string_view version) {
    std::vector<int64_t> pieces;
    std::size_t start = 0;
    while (start < version.size()) {
        std::size_t dot = version.find('.', start);
        if (dot == std::string_view::npos) dot = version.size();
        pieces.push_back(leadingInteger(version.substr(start, dot - start)));
        start = dot + 1;
    }
    return pieces;
}

}  // namespace

std::vector<PragmaEntry> readPragmaHeader(std::string_view text) {
    std::vector<PragmaEntry> pragmas;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());

    int32_t lineNumber = 0;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        ++lineNumber;

        std::size_t indent = 0;
        while (indent < line.size() && isLineSpace(line[indent])) ++indent;
        line.remove_prefix(indent);
        if (line.empty()) continue;
        const bool isPragma = line.starts_with(kPragmaWord) &&
                              (line.size() == kPragmaWord.size() || isLineSpace(line[kPragmaWord.size()]));
        if (!isPragma) {
            if (line.front() == '#') continue;
            break;  // the first line of code ends the header
        }

        std::string_view body = trim(line.substr(kPragmaWord.size()));
        const std::size_t nameEnd = body.find_first_of(" \t");
        std::string_view name = body.substr(0, nameEnd);
        std::string_view value = nameEnd == std::string_view::npos ? std::string_view() : trim(body.substr(nameEnd));
        pragmas.push_back(
            PragmaEntry{std::string(name), std::string(value), lineNumber, static_cast<int32_t>(indent) + 1});
    }
    return pragmas;
}

PragmaInfo scanPragmas(std::string_view text) {
    PragmaInfo info;
    for (PragmaEntry& entry : readPragmaHeader(text)) {
        if (entry.name == "version") {
            info.requiredVersion = std::move(entry.value);
            info.versionLine = entry.line;
            info.versionColumn = entry.column;
        } else if (entry.name == "watch" || entry.name == "hotreload") {
            info.watch = true;
        } else {
            info.unknown.push_back(std::move(entry));
        }
    }
    return info;
}

bool checkPragmas(const PragmaInfo& info, std::string_view fileName, std::ostream& errors) {
    for (const PragmaEntry& entry : info.unknown) {
        errors << "velmor: warning: " << unknownPragmaText(entry) << " at " << fileName << ":" << entry.line << "\n";
    }
    if (versionSatisfied(info)) return true;
    errors << "velmor: " << fileName << " " << unmetVersionText(info) << "\n";
    return false;
}

bool versionSatisfied(const PragmaInfo& info) {
    return info.requiredVersion.empty() || versionAtLeast(kVersion, info.requiredVersion);
}

std::string unknownPragmaText(const PragmaEntry& entry) { return "unknown pragma '" + entry.name + "'"; }

std::string unmetVersionText(const PragmaInfo& info) {
    return "requires Velmor >= " + info.requiredVersion + " (this is " + kVersion + ")";
}

bool versionAtLeast(std::string_view have, std::string_view need) {
    const std::vector<int64_t> held = versionPieces(have);
    const std::vector<int64_t> needed = versionPieces(need);
    for (std::size_t i = 0; i < needed.size(); ++i) {
        const int64_t piece = i < held.size() ? held[i] : 0;
        if (piece != needed[i]) return piece > needed[i];
    }
    return true;
}

}  // namespace velmor
